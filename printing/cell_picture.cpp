#include "printing/cell_picture.h"

#include <algorithm>

#include "model/layer.h"
#include "platform/draw/bits.h"
#include "printing/page_breaks.h"
#include "printing/print_render.h"
#include "window/cell_geometry.h"
#include "window/sheet_frame.h"

namespace {

constexpr uint32_t kPictureKept = kLayerGridLines | kLayerPrintColours;

// The selection, whole rows and columns cut at the last row and column holding a cell.
CellRange pictured_range(MemoryRef layer) {
    const SpreadSheet* sheet = use_layer(layer);
    CellRange range = sheet->selection;
    release_layer(layer);
    const CellRange used = printed_range(layer);
    if (range.botRight.v == kLastCell) range.botRight.v = std::max(range.topLeft.v, used.botRight.v);
    if (range.botRight.h == kLastCell) range.botRight.h = std::max(range.topLeft.h, used.botRight.h);
    return range;
}

pf::Point range_size(MemoryRef layer, const CellRange& range) {
    SheetAxes axes(layer);
    auto span = [](const AxisSizes& axis, int16_t first, int16_t last) {
        return int16_t(std::clamp<int32_t>(axis.span(first, int16_t(last + 1)), 1, 16000));
    };
    return pf::Point{span(axes.rows, range.topLeft.v, range.botRight.v),
                     span(axes.columns, range.topLeft.h, range.botRight.h)};
}

}  // namespace

void Image_List(pf::PicHandle* picture, MemoryRef layer) {
    *picture = nullptr;
    const CellRange range = pictured_range(layer);
    if (!cell_in_grid(range.topLeft.v, range.topLeft.h) || range.botRight.v < range.topLeft.v ||
        range.botRight.h < range.topLeft.h)
        return;
    const pf::Point size = range_size(layer, range);
    const pf::Rect frame{0, 0, size.v, size.h};
    pf::GWorldPtr world = nullptr;
    if (pf::new_gworld(&world, 32, frame, 0) != pf::noErr) return;
    {
        pf::PortScope scope(&world->port);
        *picture = pf::open_picture(frame);
        const CellLook look{(GetSheetFlags(layer) & kPictureKept) | kLayerPictureDrawing, false};
        draw_cells(layer, range, look, pf::Point{0, 0}, size);
        pf::close_picture();
    }
    pf::dispose_gworld(world);
}
