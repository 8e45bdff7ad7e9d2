#include "printing/cell_picture.h"

#include <algorithm>
#include <vector>

#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_commands.h"
#include "objects/object_drawing.h"
#include "platform/controls/control_look.h"
#include "platform/draw/bits.h"
#include "platform/draw/rects.h"
#include "printing/page_breaks.h"
#include "printing/print_render.h"
#include "window/cell_geometry.h"
#include "window/sheet_frame.h"

namespace {

constexpr uint32_t kPictureKept = kLayerGridLines | kLayerPrintColours;

// The selection, whole rows and columns cut at the last row and column holding a cell.
CellRange pictured_range(MemoryRef layer) {
    ConstLayerUse sheet(layer);
    CellRange range = sheet->selection;
    sheet.release();
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

// A picture of the selected objects as they lie on the sheet, from the top
// left of their bounding box; none when no object is selected.
pf::PicHandle objects_picture(MemoryRef layer) {
    const std::vector<MemoryRef> objects = selected_objects(layer);
    if (objects.empty()) return nullptr;
    std::vector<pf::Rect> boxes;
    pf::Rect bounds{};
    for (MemoryRef object : objects) {
        boxes.push_back(object_rect(object, 0, layer));
        bounds = boxes.size() == 1 ? boxes.back() : pf::union_rect(bounds, boxes.back());
    }
    const pf::Rect frame{0, 0, int16_t(bounds.height()), int16_t(bounds.width())};
    if (frame.empty()) return nullptr;
    pf::GWorldPtr world = nullptr;
    if (pf::new_gworld(&world, 32, frame, 0) != pf::noErr) return nullptr;
    pf::PicHandle picture = nullptr;
    {
        pf::PortScope scope(&world->port);
        picture = pf::open_picture(frame);
        for (size_t i = 0; i < objects.size(); ++i)
            draw_object(objects[i], pf::offset_rect(boxes[i], -bounds.left, -bounds.top));
        pf::close_picture();
    }
    pf::dispose_gworld(world);
    return picture;
}

}  // namespace

void Image_List(pf::PicHandle* picture, MemoryRef layer) {
    *picture = objects_picture(layer);
    if (*picture) return;
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
