#include "platform/screen/cursor.h"

#include "platform/host/host.h"

#include <optional>

namespace pf {

namespace {

struct CursorState {
    std::optional<Cursor> image;  // none: the arrow
    int hide_level = 0;
    bool obscured = false;
    int beeps = 0;
};

CursorState state;

void apply() { host_apply_cursor(current_cursor(), cursor_visible()); }

uint16_t big_endian_16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

}  // namespace

bool cursor_from_curs(const void* bytes, size_t size, Cursor& cursor) {
    constexpr size_t kCursSize = 68;
    if (!bytes || size < kCursSize) return false;
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    for (int row = 0; row < 16; ++row) {
        cursor.data[row] = big_endian_16(p + 2 * row);
        cursor.mask[row] = big_endian_16(p + 32 + 2 * row);
    }
    cursor.hot_spot = Point{int16_t(big_endian_16(p + 64)), int16_t(big_endian_16(p + 66))};
    return true;
}

void set_cursor(const Cursor& cursor) {
    state.image = cursor;
    apply();
}

void set_arrow_cursor() {
    state.image.reset();
    apply();
}

void hide_cursor() {
    ++state.hide_level;
    apply();
}

void show_cursor() {
    if (state.hide_level > 0) --state.hide_level;
    state.obscured = false;
    apply();
}

void obscure_cursor() {
    state.obscured = true;
    apply();
}

void cursor_mouse_moved() {
    if (!state.obscured) return;
    state.obscured = false;
    apply();
}

bool cursor_visible() { return state.hide_level == 0 && !state.obscured; }

const Cursor* current_cursor() { return state.image ? &*state.image : nullptr; }

void sys_beep(int) {
    ++state.beeps;
    host_beep();
}

int beep_count() { return state.beeps; }

}  // namespace pf
