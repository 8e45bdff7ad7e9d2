// Drawing objects on the sheet: where an object lies in a pane, drawing the
// objects of a pane with the handles of the selected ones, and finding the
// object and handle under a point.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "platform/types.h"
#include "window/text_boxes.h"

constexpr int16_t kHandleSize = 5;
// A text box's text is in the application font at this size.
constexpr int16_t kTextBoxSize = 12;
// The info byte of a line: the corner it was drawn from, the bottom one
// (kLineFromBottom) or the right one (kLineFromRight); an arrow's head is at
// the other end. Bytes 0 and 3 fall from left to right, 1 and 2 rise.
constexpr uint8_t kLineFromBottom = 0x1, kLineFromRight = 0x2;
// The info byte of a line drawn from one point to another.
uint8_t line_direction(pf::Point from, pf::Point to);
// The ends of a line in its rectangle: where it was drawn from, and to.
void line_ends(uint8_t direction, const pf::Rect& rect, pf::Point* from, pf::Point* to);

// The object's rectangle in the pane's pixels, from its anchor cell's top
// left, its offsets and its size (it may lie outside the pane).
pf::Rect object_rect(MemoryRef object, int16_t pane, MemoryRef layer);
// Non-zero, with the object's rectangle, when the object shows in the pane.
int16_t ObjectOnScreen(int16_t pane, int16_t mode, pf::Rect* rect, MemoryRef object, MemoryRef layer);

// The sizing handles of an object's rectangle: corners and side middles
// (numbered 1 to 8 from the top left, clockwise); a line has its two ends.
std::vector<pf::Rect> object_handles(MemoryRef object, const pf::Rect& rect);

// Draws one object into its rectangle in the current port.
void draw_object(MemoryRef object, const pf::Rect& rect);
// Draws every object of the layer that shows in the pane, in list order (the
// last on top), and the handles of the selected ones, clipped to the pane and
// the clip already set.
void draw_pane_objects(int16_t pane, MemoryRef layer);

// The topmost object under the point of a pane, or none, with its rectangle
// and the number of the handle under the point (0 for none) of a selected one.
MemoryRef MouseinObject(pf::Rect* rect, pf::Point where, int16_t* handle, int16_t pane, MemoryRef layer);
