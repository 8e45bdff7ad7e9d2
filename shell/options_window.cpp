// The options window: a floating palette of fifteen buttons, three to a row,
// each showing the icon of the command-bar button record 196 + n and sending
// its command code when clicked.
#include "platform/resources/resources.h"
#include "platform/screen/cursor.h"
#include "ui/app_prefs.h"
#include "shell/button_bars.h"
#include "shell/command_bar.h"
#include "shell/document_facts.h"
#include "shell/palette_grid.h"
#include "shell/palette_windows.h"
#include "shell/shell_commands.h"
#include "window/floating_palette.h"

WindowRef OpPalette = nullptr;

namespace {

constexpr int16_t kOptionsWindowTop = 540;
constexpr int16_t kFirstButton = 196;
constexpr int16_t kOptionButtons = 15;
constexpr int16_t kColourDepth = 8;

// The button record of cell n; false when the resource is missing.
bool option_button(int16_t cell, ButtonRecord* button) {
    const pf::Resource* resource = pf::get_resource(pf::four_cc("butn"), int16_t(kFirstButton + cell));
    if (!resource || resource->bytes.size() < kButtonRecordSize) return false;
    ByteSwapButton(resource->bytes.data(), button);
    return true;
}

int32_t update_op_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (!OpPalette) return 1;
    PushWindowPort(OpPalette);
    paint_palette_face(kLongPaletteRows);
    for (int16_t cell = 1; cell <= kOptionButtons; ++cell) {
        ButtonRecord button;
        pf::Rect box;
        FindToolBox(kLongPaletteRows, cell, &box);
        if (option_button(cell, &button)) draw_ics8(button.icon, kButtonEnabled, box, kColourDepth);
    }
    PopPort();
    return 1;
}

int32_t close_op_proc(EventRecord* event, uintptr_t, uintptr_t) {
    close_palette_window(OpPalette, kOptionsWindowPosition, kPrefOptionsPalette, event);
    return 1;
}

int32_t click_op_proc(EventRecord*, uintptr_t, uintptr_t) {
    const int16_t cell = chosen_palette_item(OpPalette, kLongPaletteRows);
    ButtonRecord button;
    if (cell < 1 || !option_button(cell, &button)) return 1;
    DoCommand(button.command);
    app_prefs.options2 |= kPrefRefreshButtons;
    pf::show_cursor();
    return 1;
}

}  // namespace

void MakeOpWindow() {
    if (OpPalette) return;
    place_palette(kOptionsWindowPosition, kOptionsWindowTop);
    OpPalette = make_palette_window("Options", kOptionsWindowPosition, 0, palette_width(),
                                    palette_height(kLongPaletteRows),
                                    {.update = update_op_proc,
                                     .idle = palette_idle_proc,
                                     .click = click_op_proc,
                                     .key = pass_key_to_document,
                                     .close = close_op_proc});
}
