// The mouse on drawing objects: a click selects an object (Shift adds or
// takes it out) and a drag moves the selected objects or resizes one by a
// handle.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/types.h"

// A mouse-down at a point of a pane: 1 when an object took it (selected,
// then moved or resized until release); 0 when no object is there, after
// the objects were deselected.
int16_t ClickinObject(MemoryRef layer, pf::Point where, uint16_t modifiers, int16_t pane);
// The objects let go, as a click on the headings does: the text box being
// typed in is closed and the selection cleared.
void deselect_objects(MemoryRef layer);
// The cursor (window/sheet_cursor.h) over the object at a point of a pane:
// a handle's, a chart's, a text box's text inside a selected one, or 0 when
// no object is there or it is not selected.
int16_t object_cursor(MemoryRef layer, pf::Point where, int16_t pane);

// A rectangle with handle `handle` (1 to 8 clockwise from the top left)
// dragged by (dv, dh), never turned inside out.
pf::Rect resized_rect(const pf::Rect& rect, int16_t handle, int16_t dv, int16_t dh);
// A line's rectangle and its info byte (object_drawing.h) with end `handle`
// (1 where it was drawn from, 2 where to) dragged by (dv, dh).
pf::Rect resized_line(const pf::Rect& rect, uint8_t* direction, int16_t handle, int16_t dv, int16_t dh);
// Anchors the object to the cell under its new pixel rectangle's top left.
void move_object_to(MemoryRef object, const pf::Rect& rect, int16_t pane, MemoryRef layer);
