// Drawing objects anchored to cells.
#include "objects/object_placement.h"

#include <algorithm>

#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_kinds.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "platform/windows/windows.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"

namespace {

constexpr int32_t kListExtend = 8;

// The line reached `span` pixels past the start of `first` (its last pixel).
int16_t line_reached(int16_t first, int32_t span, bool rows, MemoryRef layer) {
    int16_t line = first;
    for (;;) {
        int16_t size = rows ? GetRowSize(line, layer) : GetColumnSize(line, layer);
        if (span < size || line >= kLastCell) return line;
        span -= size;
        ++line;
    }
}

ObjectPlacement placement_of(const ObjectRecord& r) {
    ObjectPlacement p{r.id, r.anchor_row, r.anchor_column, r.end_row, r.end_column,
                      r.v_offset, r.h_offset, r.height, r.width, {}, 0, 0};
    if (r.chart) added_kind_of(r)->keep_part_placement(r.chart, &p.chart_data, &p.name_column, &p.name_row);
    return p;
}

void take_placement(ObjectRecord& r, const ObjectPlacement& p) {
    r.anchor_row = p.anchor_row, r.anchor_column = p.anchor_column, r.end_row = p.end_row;
    r.end_column = p.end_column, r.v_offset = p.v_offset, r.h_offset = p.h_offset;
    r.height = p.height, r.width = p.width;
    if (r.chart) added_kind_of(r)->restore_part_placement(r.chart, p.chart_data, p.name_column, p.name_row);
}

void shift_object(ObjectRecord& r, int16_t rows, int16_t columns, CellPoint at, MemoryRef layer) {
    const ObjectKindProcs* added = r.chart ? added_kind_of(r) : nullptr;
    if (added && added->part_reads_layer(r.chart, layer, layer))
        added->shift_part_data(r.chart, rows != 0, rows ? at.v : at.h, rows ? rows : columns);
    if (rows) {
        r.end_row = int16_t(r.end_row + shifted_line(r.anchor_row, at.v, rows) - r.anchor_row);
        r.anchor_row = shifted_line(r.anchor_row, at.v, rows);
    } else {
        r.end_column = int16_t(r.end_column + shifted_line(r.anchor_column, at.h, columns) - r.anchor_column);
        r.anchor_column = shifted_line(r.anchor_column, at.h, columns);
    }
}

bool inside(const CellRange& location, const CellRange& range) {
    return location.topLeft.v >= range.topLeft.v && location.topLeft.h >= range.topLeft.h &&
           location.botRight.v <= range.botRight.v && location.botRight.h <= range.botRight.h;
}

void set_link(MemoryRef object, MemoryRef next) {
    ObjectUse(object)->link = next;
}

}  // namespace

int16_t shifted_line(int16_t line, int16_t first, int16_t count) {
    if (line < first || count == 0) return line;
    if (count < 0 && line < first - count) return first;
    return int16_t(std::clamp<int32_t>(line + count, 0, kLastCell));
}

namespace {

// An anchor line and a pixel offset into it made whole again: the anchor
// moves into the neighbouring lines while the offset passes their edges, and
// stops at the grid's edges.
int16_t settle(int16_t* line, int32_t offset, bool rows, MemoryRef layer) {
    auto size_of = [&](int16_t at) { return int32_t(rows ? GetRowSize(at, layer) : GetColumnSize(at, layer)); };
    while (offset < 0 && *line > 0) offset += size_of(--*line);
    while (offset > 0 && offset >= size_of(*line) && *line < kLastCell) offset -= size_of((*line)++);
    return int16_t(std::max<int32_t>(offset, 0));
}

}  // namespace

void nudge_object(MemoryRef object, int16_t dv, int16_t dh, MemoryRef layer) {
    ObjectRecord r = *ObjectUse(object).get();
    const int16_t v = settle(&r.anchor_row, r.v_offset + dv, true, layer);
    const int16_t h = settle(&r.anchor_column, r.h_offset + dh, false, layer);
    ObjectUse held(object);
    held->anchor_row = r.anchor_row, held->anchor_column = r.anchor_column;
    held->v_offset = v, held->h_offset = h;
    held.release();
    ObjectLocation(object, layer);
}

void ObjectLocation(MemoryRef object, MemoryRef layer) {
    ObjectRecord record = *ObjectUse(object).get();
    record.end_row = line_reached(record.anchor_row, record.v_offset + std::max<int32_t>(record.height, 1) - 1, true, layer);
    record.end_column =
        line_reached(record.anchor_column, record.h_offset + std::max<int32_t>(record.width, 1) - 1, false, layer);
    ObjectUse held(object);
    held->end_row = record.end_row, held->end_column = record.end_column;
}

void add_brought_in_object(MemoryRef layer, MemoryRef object) {
    SetObj_info(object, pf::four_cc("link"), 0);
    add_object(layer, object);
    add_selected(layer, object);
    ObjectLocation(object, layer);
}

CellRange GetObj_Location(MemoryRef object) {
    const ObjectRecord r = *ObjectUse(object).get();
    return CellRange{{r.anchor_row, r.anchor_column}, {r.end_row, r.end_column}};
}

int16_t GetObjectAnchor(MemoryRef object, CellRange* anchor) {
    if (!object) return 0;
    *anchor = GetObj_Location(object);
    return 1;
}

void DrawAllObjects(MemoryRef layer) {
    if (WindowRef window = layer_window(layer)) pf::inval_window_rect(window, pf::window_port(window)->port_rect);
}

void Reset_Positions(MemoryRef layer) {
    for (int32_t i = 1; MemoryRef object = find_object_item(layer, i); ++i) ObjectLocation(object, layer);
    if (num_objects(layer)) DrawAllObjects(layer);
}

MemoryRef GetObjectOffset(int32_t counts, const CellRange* range, MemoryRef layer) {
    const auto rows = int16_t(counts & 0xFFFF), columns = int16_t(counts >> 16);
    MemoryRef list = pgAllocateNewRef(GetMemoryGlobals(layer), sizeof(ObjectPlacement), 0, kListExtend, true);
    if (!list) return nullptr;
    for (int32_t i = 1; MemoryRef object = find_object_item(layer, i); ++i) {
        ObjectUse record(object);
        ObjectPlacement before = placement_of(*record);
        shift_object(*record, rows, columns, range->topLeft, layer);
        record.release();
        PtrAndMemory(&before, list, 1);
    }
    for (const ObjectKindProcs& kind : added_object_kinds())
        kind.shift_other_layers(list, rows != 0, rows ? range->topLeft.v : range->topLeft.h, rows ? rows : columns, layer);
    if (GetMemorySize(list) > 0) return list;
    DisposeMemory(list);
    return nullptr;
}

MemoryRef Delete_Objects(int16_t keep, const CellRange* range, MemoryRef layer) {
    MemoryRef first = nullptr, last = nullptr;
    for (int32_t i = 1; MemoryRef object = find_object_item(layer, i);) {
        if (!inside(GetObj_Location(object), *range)) {
            ++i;
            continue;
        }
        removeobject(layer, object);
        set_link(object, nullptr);
        if (!keep) {
            ClobberObject(object);
            continue;
        }
        if (last) set_link(last, object);
        else first = object;
        last = object;
    }
    return first;
}

MemoryRef placements_of_ids(MemoryRef ids, MemoryRef layer) {
    MemoryRef list = pgAllocateNewRef(GetMemoryGlobals(layer), sizeof(ObjectPlacement), 0, kListExtend, true);
    int32_t count = ids ? GetMemorySize(ids) : 0;
    for (int32_t i = 0; i < count; ++i) {
        int16_t id;
        GetMemoryRecord(ids, i, &id);
        MemoryRef object = find_object_id(layer, id);
        if (!object) continue;
        ObjectPlacement placement = placement_of(*ObjectUse(object).get());
        PtrAndMemory(&placement, list, 1);
    }
    return list;
}

void restore_placements(MemoryRef placements, MemoryRef layer) {
    int32_t count = placements ? GetMemorySize(placements) : 0;
    for (int32_t i = 0; i < count; ++i) {
        ObjectPlacement saved;
        GetMemoryRecord(placements, i, &saved);
        MemoryRef object = saved.id >= 0 ? find_object_id(layer, saved.id) : nullptr;
        if (object) {
            take_placement(*ObjectUse(object).get(), saved);
        }
    }
    for (const ObjectKindProcs& kind : added_object_kinds()) kind.restore_other_layers(placements, layer);
}

void restore_objects_of_rows_columns(MemoryRef placements, MemoryRef chain, MemoryRef ids, MemoryRef layer) {
    restore_placements(placements, layer);
    restore_removed_objects(chain, ids, layer);
}

void restore_removed_objects(MemoryRef chain, MemoryRef ids, MemoryRef layer) {
    for (MemoryRef object = chain; object;) {
        MemoryRef next = ObjectUse(object)->link;
        set_link(object, nullptr);
        add_object(layer, object);
        object = next;
    }
    if (chain) reorder_objects(ids, layer);
}

void reorder_objects(MemoryRef ids, MemoryRef layer) {
    if (!ids) return;
    MemoryRef ordered = create_obj_list(ids, layer);
    if (!ordered) return;
    LayerUse sheet(layer);
    MemoryRef former = sheet->objects;
    bool whole = GetMemorySize(ordered) == GetMemorySize(former);
    if (whole) sheet->objects = ordered;
    sheet.release();
    DisposeMemory(whole ? former : ordered);
}
