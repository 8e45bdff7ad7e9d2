// Stand-ins for the menus, palettes and dialogs not built yet: empty palettes
// and menu handlers that do nothing.

#include "core/app_menus.h"
#include "core/screen_geometry.h"
#include "core/string_utils.h"
#include "formula/recalc.h"
#include "platform/menus/menus.h"
#include "shell/shell_pending.h"
#include "shell/shell_commands.h"
#include "shell/button_states.h"

WindowRef make_empty_palette(const char* title, int position_index, int16_t offset) {
    if (WindowRef open = find_empty_palette(title)) return open;
    return make_palette_window(title, position_index, offset, 120, 60, {.key = pass_key_to_document});
}

void MakeToolWindow() { make_empty_palette("Tools", kToolPalettePosition, 110); }
void MakeGridWindow() { make_empty_palette("Borders", kGridPalettePosition, 270); }
void MakeOpWindow() { make_empty_palette("Options", kOptionsWindowPosition, 350); }

// The options menu carries no marks until its commands are built.
void set_option_menu(MemoryRef) {}

// The tool and border menus draw as plain lists until their pictures exist.
void PaletteMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params) {
    pf::standard_menu_definition(message, menu, menu_rect, params);
}

// The tool palette's menu does nothing until the palette is built.
void DoToolMenu(MemoryRef, int16_t) {}
