// The hit test of the selection's fill handle and border, and the fill-handle drag.
#include "editing/sheet_drag.h"

#include "ui/system_info.h"
#include "editing/cell_blocks.h"
#include "editing/clipboard.h"
#include "editing/fill.h"
#include "model/undo_record.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/draw/rects.h"
#include "platform/events/events.h"
#include "window/cell_geometry.h"
#include "window/selection_highlight.h"
#include "window/selection_tracking.h"
#include "window/sheet_mouse.h"

namespace {

constexpr int16_t kNearSide = 2;

bool near(int16_t a, int16_t b) { return a >= b - kNearSide && a <= b + kNearSide; }

bool inside_rows(const CellRange& r, int16_t row) { return row >= r.topLeft.v && row <= r.botRight.v; }
bool inside_columns(const CellRange& r, int16_t column) { return column >= r.topLeft.h && column <= r.botRight.h; }

bool objects_selected(MemoryRef layer) {
    const CellRange selection = current_selection(layer);
    return selection.topLeft.v < 0 || selection.topLeft.h < 0;
}

}  // namespace

int16_t pt_in_drag(pf::Point where, int16_t pane, MemoryRef layer) {
    if (objects_selected(layer)) return 0;
    const CellRange selection = current_selection(layer);
    pf::Rect r{};
    Range_Location(pane, &r, 0, &selection, layer);
    if (!near(where.v, r.top) && !near(where.v, r.bottom) && !near(where.h, r.left) && !near(where.h, r.right))
        return 0;
    const pf::Rect handle{int16_t(r.bottom - 2), int16_t(r.right - 2), int16_t(r.bottom + 2), int16_t(r.right + 3)};
    if (pf::pt_in_rect(where, handle)) return kOnFillHandle;
    if (!(g_system.flags & kSysDragInUse)) return 0;
    const pf::Rect grown{int16_t(r.top - kNearSide), int16_t(r.left - kNearSide), int16_t(r.bottom + kNearSide),
                         int16_t(r.right + kNearSide)};
    return pf::pt_in_rect(where, grown) ? kOnSelectionBorder : 0;
}

CellPoint fill_handle_cell(FillHandleTrack& track, CellPoint cell) {
    const CellRange& s = track.selection;
    const bool rows_inside = inside_rows(s, cell.v), columns_inside = inside_columns(s, cell.h);
    if (rows_inside && columns_inside) {
        track.direction = FillDirection::kNone;
        return s.botRight;
    }
    if (track.direction == FillDirection::kNone)
        track.direction = columns_inside ? FillDirection::kVertical : FillDirection::kHorizontal;
    if (track.direction == FillDirection::kVertical) cell.h = s.botRight.h;
    else cell.v = s.botRight.v;
    return cell;
}

void drag_fill_handle(MemoryRef layer, int16_t pane) {
    FillHandleTrack track{current_selection(layer), FillDirection::kNone};
    const CellRange anchor = track.selection;
    CellRange dragged = anchor;
    CellPoint last = anchor.botRight, tracked = anchor.botRight;
    AntRect(layer, dragged.topLeft, dragged.botRight);
    for (bool down = true; down;) {
        down = pf::still_down();
        tracked = cell_under_mouse(layer, pane, tracked);
        const CellPoint snapped = fill_handle_cell(track, tracked);
        if (!(snapped == last)) GhostIt(layer, &last, snapped, &dragged, &anchor);
        AntRect(layer, dragged.topLeft, dragged.botRight);
    }
    if (refuse_protected_change(layer, dragged)) return;
    if (int16_t error = FillSeries(layer, &dragged, 0, kSeriesAutomatic, 0, nullptr, nullptr)) layer_alert(layer, error);
}
