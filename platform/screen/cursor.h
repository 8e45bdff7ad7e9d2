// The cursor: a 16x16 one-bit image with mask and hot spot (the shape of a
// CURS resource), shown, hidden (nesting) or obscured until the mouse moves;
// and the beep.
#pragma once

#include "platform/types.h"

#include <array>
#include <cstdint>

namespace pf {

// A cursor image, as decode_cursor of platform/resources gives it from a CURS
// resource: rows of 16 bits, leftmost pixel in the high bit; data 1 = black,
// mask 1 = drawn; the hot spot (v, h) within the image.
struct Cursor {
    std::array<uint16_t, 16> data{};
    std::array<uint16_t, 16> mask{};
    Point hot_spot{};
};

void set_cursor(const Cursor& cursor);
// Sets the cursor of CURS resource `id`; false (the cursor unchanged) when the
// resource is missing or damaged.
bool set_cursor_resource(int16_t id);
void set_arrow_cursor();
// Hiding nests: the cursor shows again after as many show_cursor calls.
void hide_cursor();
void show_cursor();
// Hides the cursor until the mouse next moves.
void obscure_cursor();
// The mouse moved: an obscured cursor shows again (hosts and input call this).
void cursor_mouse_moved();

// What the host shows now: whether the cursor is visible and which image (null: the arrow).
bool cursor_visible();
const Cursor* current_cursor();
// The CURS id of the cursor shown: 0 the arrow, -1 an image set directly.
int16_t current_cursor_resource();

// An alert sound; `duration` in ticks as the callers give it (the host decides).
void sys_beep(int duration);
// Beeps since start (tests).
int beep_count();

}  // namespace pf
