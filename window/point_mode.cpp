// Keyboard point mode.
#include "window/point_mode.h"

#include <algorithm>

#include "platform/events/events.h"
#include "styledtext/styled_text.h"
#include "window/entry_line.h"
#include "window/keyboard_navigation.h"
#include "window/selection_highlight.h"
#include "window/window_commands.h"

namespace {

int16_t step_down(int16_t value) { return std::max<int16_t>(int16_t(value - 1), 0); }
int16_t step_up(int16_t value) { return std::min<int16_t>(int16_t(value + 1), kLastCell); }

// One axis of a shifted step: `low` and `high` are the range's edges, `at` the point cell's.
void stretch_toward_low(int16_t at, int16_t& low, int16_t& high) {
    if (at == low && low < high) --high;
    else low = step_down(low);
}

void stretch_toward_high(int16_t at, int16_t& low, int16_t& high) {
    if (at != low) ++low;
    else high = step_up(high);
}

// Keyboard point mode lasts from the first arrow until another key, a click
// or the end of the entry: the reference it wrote stays selected in the entry
// line, so that each arrow replaces it.
struct PointState {
    bool live = false;
    MemoryRef layer = nullptr;
    CellPoint cell{};
    CellRange reference{};
    int32_t start = 0;
    int32_t end = 0;
};
PointState point;

void write_reference(bool with_key) {
    if (point.live) WESetSelection(point.start, point.end, WEList.instance);
    add_range_text(1, point.reference, 0, point.layer);
    WEGetSelection(&point.start, &point.end, WEList.instance);
    if (with_key) WESetSelection(point.end, point.end, WEList.instance);
    point.live = true;
}

}  // namespace

CellRange CelltoRect(CellPoint cell) { return CellRange{cell, cell}; }

void step_reference(CellPoint* cell, unsigned char key, bool shift, CellRange* r) {
    if (!shift) {
        switch (key) {
            case kKeyLeft: cell->h = step_down(cell->h); break;
            case kKeyRight: cell->h = step_up(cell->h); break;
            case kKeyUpArrow: cell->v = step_down(cell->v); break;
            default: cell->v = step_up(cell->v); break;
        }
        *r = CelltoRect(*cell);
        return;
    }
    switch (key) {
        case kKeyLeft: stretch_toward_low(cell->h, r->topLeft.h, r->botRight.h); break;
        case kKeyRight: stretch_toward_high(cell->h, r->topLeft.h, r->botRight.h); break;
        case kKeyUpArrow: stretch_toward_low(cell->v, r->topLeft.v, r->botRight.v); break;
        default: stretch_toward_high(cell->v, r->topLeft.v, r->botRight.v); break;
    }
}

int16_t FakeMouse(unsigned char key, CellPoint top_left, CellPoint bottom_right, MemoryRef layer) {
    return point_mode_key(key, pf::current_modifiers(), top_left, bottom_right, layer);
}

int16_t point_mode_key(unsigned char key, uint16_t modifiers, CellPoint top_left, CellPoint bottom_right,
                       MemoryRef layer) {
    const int16_t formula = CheckFormula();
    if (!formula) {
        end_point_mode();
        return 0;
    }
    if (!point.live || point.layer != layer || !key) {
        point.live = false;
        point.layer = layer;
        point.cell = top_left;
        point.reference = CellRange{top_left, bottom_right};
    }
    if (key) {
        step_reference(&point.cell, key, modifiers & pf::kShiftKey, &point.reference);
        SheetAutoScroll(layer, point.cell, 0);
    }
    write_reference(key != 0);
    AntRect(layer, point.reference.topLeft, point.reference.botRight);
    return formula;
}

bool point_mode_live() { return point.live; }
void end_point_mode() { point.live = false; }

void blink_point_reference(MemoryRef layer) {
    if (point.live && point.layer == layer) AntRect(layer, point.reference.topLeft, point.reference.botRight);
}

void FakeMouse(MemoryRef record, const CellRange* range) {
    if (MemoryRef layer = record ? doc_window_layer(record) : nullptr)
        point_mode_key(0, 0, range->topLeft, range->botRight, layer);
}
