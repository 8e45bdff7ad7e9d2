// A picture of the selected cells: drawn as the window shows them (grid lines
// when the layer shows them, fills, borders and text, no headings), in the
// layer's colours, its frame the size of the cells from (0, 0).
#pragma once

#include "core/memory_manager.h"
#include "platform/draw/picture.h"

// The picture, or none when nothing is selected on the grid. Whole rows or
// columns are taken as far as the layer's cells reach.
void Image_List(pf::PicHandle* picture, MemoryRef layer);
