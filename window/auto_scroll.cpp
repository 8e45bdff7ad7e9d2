// Bringing a cell into view, and scrolling while a selection or something
// else is dragged past a pane's edge.
#include <algorithm>
#include <cstdlib>

#include "model/layer.h"
#include "model/layer_use.h"
#include "platform/draw/port.h"
#include "window/doc_window.h"
#include "window/scrolling.h"
#include "window/sheet_mouse.h"
#include "window/window_commands.h"

namespace {

struct PaneView {
    bool used = false;
    CellRange visible{};
};

struct Panes {
    PaneView pane[kPaneCount];
    bool frozen = false;
};

Panes read_panes(MemoryRef layer) {
    Panes panes;
    LayerUse sheet(layer);
    panes.frozen = (sheet->flags & kLayerFrozenTitles) != 0;
    for (int p = 0; p < kPaneCount; ++p)
        panes.pane[p] = PaneView{sheet->pane_rects[p].left != -1, sheet->visible_ranges[p]};
    return panes;
}

// Whether the cell lies in a pane, its last row and column (perhaps cut) left out.
bool shown_in(const Panes& panes, int p, CellPoint cell) {
    const CellRange& r = panes.pane[p].visible;
    const bool whole_edges = panes.frozen && p != 1;
    const int16_t bottom = whole_edges ? r.botRight.v : int16_t(r.botRight.v - 1);
    const int16_t right = whole_edges ? r.botRight.h : int16_t(r.botRight.h - 1);
    return cell.v >= r.topLeft.v && cell.v <= bottom && cell.h >= r.topLeft.h && cell.h <= right;
}

bool candidate(const Panes& panes, int p) {
    if (!panes.pane[p].used) return false;
    if (panes.frozen && p == 0) return false;
    if (panes.frozen && p == 2 && panes.pane[1].used) return false;
    return true;
}

// The signed scroll that brings `index` into [first, last) of one axis: to the
// first place with `to_start`, else as little as possible.
int16_t distance(int16_t index, int16_t first, int16_t last, bool to_start) {
    if (to_start) return index < first || index >= last ? int16_t(index - first) : int16_t(0);
    if (index < first) return int16_t(index - first);
    if (index >= last) return int16_t(index - last + (last - first > 1 ? 1 : 0));
    return 0;
}

struct Choice {
    int pane = -1;
    int16_t rows = 0, columns = 0;
};

}  // namespace

void SheetAutoScroll(MemoryRef layer, CellPoint cell, int16_t scroll_to) {
    if (!layer) return;
    const Panes panes = read_panes(layer);
    for (int p = 0; p < kPaneCount; ++p)
        if (panes.pane[p].used && shown_in(panes, p, cell)) return;
    const bool to_start = scroll_to == 1;
    Choice best;
    bool best_narrow = false;
    for (int p = 0; p < kPaneCount; ++p) {
        if (!candidate(panes, p)) continue;
        const CellRange& r = panes.pane[p].visible;
        Choice here{p, distance(cell.v, r.topLeft.v, r.botRight.v, to_start),
                    distance(cell.h, r.topLeft.h, r.botRight.h, to_start)};
        const bool narrow = r.botRight.v - r.topLeft.v < 2;
        const auto key = [](const Choice& c) { return std::make_pair(std::abs(c.rows), std::abs(c.columns)); };
        if (best.pane < 0 || best_narrow || key(here) <= key(best)) {
            best = here;
            best_narrow = narrow;
        }
    }
    if (best.pane >= 0 && (best.rows || best.columns)) Scroll_Sheet(int16_t(best.pane), best.rows, best.columns, layer);
}

int16_t ClickLoop(void* window_record, int16_t pane, pf::Point where) {
    MemoryRef record = static_cast<MemoryRef>(window_record);
    MemoryRef layer = doc_window_layer(record);
    if (!layer || pane < 0 || pane >= kPaneCount) return 0;
    pf::Rect frame;
    GetPaneRect(&frame, pane, layer);
    if (frame.left == -1) return 0;
    const int16_t columns = where.h >= frame.right ? 1 : where.h < frame.left ? -1 : 0;
    const int16_t rows = where.v >= frame.bottom ? 1 : where.v < frame.top ? -1 : 0;
    if (!rows && !columns) return 0;
    pf::Port* port = pf::get_port();
    const pf::Point pen_size = port ? port->pen_size : pf::Point{1, 1};
    const int16_t pen_mode = port ? port->pen_mode : int16_t(pf::kPatCopy);
    const pf::Pattern pen_pat = port ? port->pen_pat : pf::kBlackPattern;
    pf::pen_normal();
    Scroll_Sheet(pane, rows, columns, layer);
    pf::set_port(port);
    if (port) {
        port->pen_size = pen_size;
        port->pen_mode = pen_mode;
        port->pen_pat = pen_pat;
    }
    return 1;
}

namespace {

// One step of the pane along an axis towards the pointer; the tracked index
// follows when the pane moved. Moving back first brings the index to the
// pane's first row (column).
void follow_pointer(MemoryRef layer, int16_t pane, int axis, int16_t before, int16_t after, int16_t along,
                    int16_t* index) {
    const auto first = [&] {
        const CellRange visible = read_panes(layer).pane[pane].visible;
        return axis == 0 ? visible.topLeft.v : visible.topLeft.h;
    };
    const int16_t rows = axis == 0 ? 1 : 0, columns = axis == 0 ? 0 : 1;
    if (along >= after && *index < kLastCell) {
        const int16_t was = first();
        Scroll_Sheet(pane, rows, columns, layer);
        if (first() != was) ++*index;
    } else if (along < before) {
        *index = first();
        if (*index <= 0) return;
        const int16_t was = first();
        Scroll_Sheet(pane, int16_t(-rows), int16_t(-columns), layer);
        if (first() != was) --*index;
    }
}

}  // namespace

void CheckMouse(pf::Point where, bool horizontal, bool vertical, CellPoint* cell, int16_t pane, MemoryRef layer) {
    if (!layer || !cell || pane < 0 || pane >= kPaneCount) return;
    pf::Rect frame;
    GetPaneRect(&frame, pane, layer);
    if (frame.left == -1) return;
    if (vertical) follow_pointer(layer, pane, 0, frame.top, frame.bottom, where.v, &cell->v);
    if (horizontal) follow_pointer(layer, pane, 1, frame.left, frame.right, where.h, &cell->h);
}
