// Keeping the caret of a text object's editor in view: the pane that holds
// the editor scrolls to the object and then by whole rows and columns until
// the character's point lies inside it.
#include <algorithm>

#include "model/layer.h"
#include "model/layer_use.h"
#include "styledtext/styled_text.h"
#include "window/cell_geometry.h"
#include "window/scrolling.h"
#include "window/window_services.h"

namespace {

using SizeOf = int16_t (*)(int16_t index, MemoryRef layer);

// The number of rows (columns) from `first` on, stepping by `direction`,
// whose sizes together reach `overshoot`; never past 0 or 31999.
int16_t steps_to_cover(int32_t overshoot, int16_t first, int16_t direction, SizeOf size, MemoryRef layer) {
    int16_t count = 0;
    int32_t covered = 0;
    for (int32_t index = first; covered < overshoot && index >= 0 && index <= kLastCell; index += direction) {
        covered += size(int16_t(index), layer);
        ++count;
    }
    return int16_t(direction * count);
}

// The signed count that brings `point` (with its extent) inside [low, high).
int16_t scroll_to_point(int32_t point, int32_t extent, int16_t low, int16_t high, int16_t first_visible,
                        int16_t last_visible, SizeOf size, MemoryRef layer) {
    if (point + extent > high) return steps_to_cover(point + extent - high, int16_t(last_visible + 1), 1, size, layer);
    if (point < low) return steps_to_cover(low - point, int16_t(first_visible - 1), -1, size, layer);
    return 0;
}

// Rows and columns that bring the object's cells into the pane when they lie
// wholly outside it.
CellPoint scroll_to_object(MemoryRef object, const CellRange& visible) {
    CellRange anchor;
    CellPoint step{0, 0};
    if (!window_services.object_anchor(object, &anchor)) return step;
    if (anchor.topLeft.v > visible.botRight.v || anchor.botRight.v < visible.topLeft.v)
        step.v = int16_t(anchor.topLeft.v - visible.topLeft.v);
    if (anchor.topLeft.h > visible.botRight.h || anchor.botRight.h < visible.topLeft.h)
        step.h = int16_t(anchor.topLeft.h - visible.topLeft.h);
    return step;
}

}  // namespace

void ShowSelect(int32_t offset, MemoryRef layer) {
    TextEditor text = nullptr;
    MemoryRef object = layer ? GetObjEditor(layer, &text) : nullptr;
    if (!object || !text) return;
    WEReference editor = static_cast<WEReference>(text);
    LayerUse sheet(layer);
    const int16_t pane = sheet->edited_object_pane;
    sheet.release();
    CellRange visible;
    GetVisibleCells(&visible, pane, layer);
    const CellPoint to_object = scroll_to_object(object, visible);
    if (to_object.v || to_object.h) Scroll_Sheet(pane, to_object.v, to_object.h, layer);
    if (offset < 1) return;
    LongPoint point;
    int16_t line_height = 0;
    WEGetPoint(offset, point, &line_height, editor);
    pf::Rect rect;
    GetPaneRect(&rect, pane, layer);
    GetVisibleCells(&visible, pane, layer);
    const int16_t rows = scroll_to_point(point.v, line_height, rect.top, rect.bottom, visible.topLeft.v,
                                         visible.botRight.v, GetRowSize, layer);
    const int16_t columns = scroll_to_point(point.h, 1, rect.left, rect.right, visible.topLeft.h, visible.botRight.h,
                                            GetColumnSize, layer);
    if (rows || columns) Scroll_Sheet(pane, rows, columns, layer);
}
