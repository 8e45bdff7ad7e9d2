// A gray band dragged along one axis with the mouse, drawn in inverting mode
// so that drawing it twice leaves the window as it was.
#pragma once

#include <cstdint>

#include "platform/types.h"

struct LineDrag {
    pf::Rect band;       // the band's rectangle where the drag starts
    bool vertical_move;  // the band follows the mouse's vertical
    int16_t low, high;   // the band's leading edge stays within [low, high]
};

// Inverts a band in the current port with a gray pattern.
void invert_band(const pf::Rect& band);
// The band moved so that its leading edge is at `edge`.
pf::Rect band_at(const LineDrag& drag, int16_t edge);
// What a drag asks of its owner: `moved` sees the leading edge on each pass;
// `scroll` (when the mouse has moved) may scroll the content under the band
// and answers by how many pixels that moved it (negative: up or left), 0 for
// no scroll. Both optional.
struct DragHooks {
    void (*moved)(int16_t edge, void* user) = nullptr;
    int16_t (*scroll)(pf::Point mouse, void* user) = nullptr;
    void* user = nullptr;
};

// Follows the mouse until release; answers the final leading edge. `start`
// is the mouse-down point (local). The band follows the mouse; its bounds
// move with the scrolled content.
int16_t track_band(LineDrag drag, pf::Point start, const DragHooks& hooks = {});
