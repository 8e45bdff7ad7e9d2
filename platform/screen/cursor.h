// The cursor: a 16x16 one-bit image with mask and hot spot (the shape of a
// CURS resource), shown, hidden (nesting) or obscured until the mouse moves;
// and the beep.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <cstdint>

namespace pf {

struct Cursor {
    uint16_t data[16] = {};  // row bits, leftmost pixel in the high bit; 1 = black
    uint16_t mask[16] = {};  // 1 = the pixel is drawn
    Point hot_spot{};        // (v, h) within the image
};

// Reads a CURS resource (68 bytes, big-endian: data, mask, hot spot v, h).
// False when it is too short.
bool cursor_from_curs(const void* bytes, size_t size, Cursor& cursor);

void set_cursor(const Cursor& cursor);
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

// An alert sound; `duration` in ticks as the callers give it (the host decides).
void sys_beep(int duration);
// Beeps since start (tests).
int beep_count();

}  // namespace pf
