// The Palettes menu: open every palette, close every palette, or open or close
// one; an open palette has its start-up bit set so that it opens again next time.
#include "charts/charts.h"
#include "window/floating_palette.h"
#include "shell/shell_commands.h"
#include "platform/menus/menus.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {


struct Palette {
    int16_t item;
    uint32_t start_up_bit;
    void (*make)();
    const char* title;
};

// In the order Open All opens them.
constexpr Palette kPalettes[] = {
    {6, kPrefToolPalette, MakeToolWindow, "Tools"},     {5, kPrefColorPalette, MakeColorWindow, "Colors"},
    {7, kPrefChartPalette, MakeChartWindow, "Charts"},  {8, kPrefGridPalette, MakeGridWindow, "Borders"},
    {4, kPrefSheetTabs, MakeTabWindow, "Sheets"},       {9, kPrefOptionsPalette, MakeOpWindow, "Options"},
};

void open_palette(const Palette& palette) {
    app_prefs.options |= palette.start_up_bit;
    if (!find_palette(palette.title)) palette.make();
}

void close_palette(const Palette& palette) {
    app_prefs.options &= ~palette.start_up_bit;
    if (WindowRef window = find_palette(palette.title)) CloseTaskFromWindow(window);
}

}  // namespace

void DoPaletteMenu(MemoryRef, int16_t item) {
    for (const Palette& palette : kPalettes) {
        if (item == kPalettesOpenAllItem) open_palette(palette);
        else if (item == kPalettesCloseAllItem) close_palette(palette);
        else if (item == palette.item && find_palette(palette.title)) close_palette(palette);
        else if (item == palette.item) open_palette(palette);
    }
}

void set_palette_menu() {
    pf::MenuRef menu = pf::get_menu_handle(kPaletteMenu);
    if (!menu) return;
    for (const Palette& palette : kPalettes)
        pf::check_menu_item(menu, palette.item, find_palette(palette.title) != nullptr);
}
