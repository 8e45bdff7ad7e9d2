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
#include "platform/screen/cursor.h"

namespace {

constexpr int kBeepTicks = 9;
void beep() { pf::sys_beep(kBeepTicks); }

}  // namespace

WindowRef make_empty_palette(const char* title, int position_index, int16_t offset) {
    if (WindowRef open = find_empty_palette(title)) return open;
    return make_palette_window(title, position_index, offset, 120, 60, {.key = pass_key_to_document});
}

void get_app_prefs(int16_t) { beep(); }
int16_t customize_commandbar() {
    beep();
    return 0;
}
int16_t command_dialog(int16_t) {
    beep();
    return 0;
}

// Commands not built yet answer with a beep.
void DoPrefsMenu(MemoryRef, int16_t) { beep(); }
