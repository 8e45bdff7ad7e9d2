// The Arrange menu's placements of the document windows inside the limit
// rectangle: stack, cascade, tiles one above the other and side by side.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "platform/draw/draw.h"

enum ArrangeItem : int16_t {
    kArrangeStack = 1,
    kArrangeCascade = 2,
    kArrangeTileRows = 3,
    kArrangeTileColumns = 4,
};

// The content rectangles of `count` windows in the order they are placed:
// back to front for stack and cascade, front to back for the tiles. Empty
// for no windows, an unknown item or a limit with no room at all; a limit too
// small for the arrangement still gives every window a usable size.
std::vector<pf::Rect> arrange_rects(int16_t item, const pf::Rect& limit, int count, int16_t title_bar);
