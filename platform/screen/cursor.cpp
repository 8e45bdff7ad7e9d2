#include "platform/screen/cursor.h"

#include "platform/host/host.h"
#include "platform/resources/resource_templates.h"
#include "platform/resources/resources.h"

#include <optional>

namespace pf {

namespace {

struct CursorState {
    std::optional<Cursor> image;  // none: the arrow
    int16_t resource = 0;
    int hide_level = 0;
    bool obscured = false;
    int beeps = 0;
};

CursorState state;

void apply() { host_apply_cursor(current_cursor(), cursor_visible()); }

}  // namespace

namespace {

void show_image(const Cursor& cursor, int16_t resource) {
    state.image = cursor;
    state.resource = resource;
    apply();
}

}  // namespace

void set_cursor(const Cursor& cursor) { show_image(cursor, -1); }

bool set_cursor_resource(int16_t id) {
    const Resource* resource = get_resource(four_cc("CURS"), id);
    CursorImage image;
    if (!resource || !decode_cursor(resource->bytes, image)) return false;
    Cursor cursor;
    cursor.data = image.data;
    cursor.mask = image.mask;
    cursor.hot_spot = image.hot_spot;
    show_image(cursor, id);
    return true;
}

void set_arrow_cursor() {
    state.image.reset();
    state.resource = 0;
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

int16_t current_cursor_resource() { return state.resource; }

void sys_beep(int) {
    ++state.beeps;
    host_beep();
}

int beep_count() { return state.beeps; }

}  // namespace pf
