// Stand-ins for the palettes not built yet: an empty palette window.

#include "shell/shell_pending.h"

WindowRef make_empty_palette(const char* title, int position_index, int16_t offset) {
    if (WindowRef open = find_empty_palette(title)) return open;
    return make_palette_window(title, position_index, offset, 120, 60, {.key = pass_key_to_document});
}
