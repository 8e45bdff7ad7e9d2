// Undo and redo of the changes to drawing objects.
#include "objects/object_undo.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "model/undo_write.h"
#include "model/workbook.h"
#include "model/layer.h"
#include "objects/object_kinds.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"

namespace {

constexpr int32_t kListExtend = 8;

MemoryRef new_id_list(MemoryRef layer) {
    return pgAllocateNewRef(GetMemoryGlobals(layer), sizeof(int16_t), 0, kListExtend, true);
}

MemoryRef next_in_chain(MemoryRef object) {
    return ObjectUse(object)->link;
}

void link_in_order(const std::vector<MemoryRef>& objects) {
    for (size_t i = 0; i < objects.size(); ++i)
        SetObj_info(objects[i], pf::four_cc("link"),
                    reinterpret_cast<intptr_t>(i + 1 < objects.size() ? objects[i + 1] : nullptr));
}

std::vector<MemoryRef> objects_of_ids(MemoryRef ids, MemoryRef layer) {
    std::vector<MemoryRef> objects;
    int32_t count = ids ? GetMemorySize(ids) : 0;
    for (int32_t i = 0; i < count; ++i) {
        int16_t id;
        GetMemoryRecord(ids, i, &id);
        if (MemoryRef object = find_object_id(layer, id)) objects.push_back(object);
    }
    return objects;
}

// The objects with the ids taken out of the layer, linked in the ids' order.
MemoryRef take_out_objects(MemoryRef ids, MemoryRef layer) {
    std::vector<MemoryRef> objects = objects_of_ids(ids, layer);
    link_in_order(objects);
    for (MemoryRef object : objects) removeobject(layer, object);
    return objects.empty() ? nullptr : objects.front();
}

// The live object and its kept copy change what they hold: everything but
// the references that tie the live one to its layer and chain.
void exchange_attributes(MemoryRef live, MemoryRef copy) {
    ObjectUse a(live);
    ObjectUse b(copy);
    const ObjectRecord was_live = *a, was_copy = *b;
    *a = was_copy;
    a->self = was_live.self, a->owner = was_live.owner, a->link = was_live.link, a->region = nullptr;
    *b = was_live;
    b->self = was_copy.self, b->owner = was_copy.owner, b->link = was_copy.link, b->region = nullptr;
    b.release();
    a.release();
    DisposeNonNilMemory(was_live.region);
}

// Every kept copy of a chain changes place with the live object of its id.
void exchange_chain_attributes(MemoryRef chain, MemoryRef layer) {
    for (MemoryRef copy = chain; copy; copy = next_in_chain(copy)) {
        const auto id = int16_t(GetObj_info(copy, pf::four_cc("id  ")));
        if (MemoryRef live = find_object_id(layer, id)) exchange_attributes(live, copy);
    }
}

void set_locks(MemoryRef ids, bool locked, MemoryRef layer) {
    for (MemoryRef object : objects_of_ids(ids, layer)) SetObj_info(object, pf::four_cc("prot"), locked);
}

bool moves_objects(int16_t kind) {
    return kind == kUndoObjectsMoved || kind == kUndoObjectResized || kind == kUndoObjectsScaled ||
           kind == kUndoObjectsAligned;
}

bool restacks_objects(int16_t kind) { return kind >= kUndoObjectsToBack && kind <= kUndoObjectsForward; }

// Kinds whose records keep copies of the objects as they were.
bool keeps_copies(int16_t kind) { return kind == kUndoObjectAttributes || kind == kUndoChartEdited; }

int16_t first_id(MemoryRef ids) {
    int16_t id = 0;
    if (ids && GetMemorySize(ids) > 0) GetMemoryRecord(ids, 0, &id);
    return id;
}

// The chart of the first id gets a data range and source layer; its former
// ones are answered.
void exchange_chart_data(MemoryRef ids, CellRange* range, int16_t* source, MemoryRef layer) {
    CellRange was{};
    int16_t was_source = -1;
    if (!keep_chart_data(ids, &was, &was_source, layer)) return;
    MemoryRef object = find_object_id(layer, first_id(ids));
    added_kind_of(object)->set_data_source(object, *range, *source);
    *range = was, *source = was_source;
}

int16_t push_object_record(int16_t kind, MemoryRef list, MemoryRef chain, MemoryRef layer) {
    return WriteUndo(kind, 0, nullptr, nullptr, list, nullptr, nullptr, nullptr, chain, nullptr, layer);
}

}  // namespace

MemoryRef create_id_linklist(MemoryRef chain, MemoryRef layer) {
    MemoryRef ids = new_id_list(layer);
    if (!ids) return nullptr;
    for (MemoryRef object = chain; object; object = next_in_chain(object)) {
        auto id = int16_t(GetObj_info(object, pf::four_cc("id  ")));
        PtrAndMemory(&id, ids, 1);
    }
    return ids;
}

MemoryRef create_id_movelist(MemoryRef placements, MemoryRef layer) {
    MemoryRef ids = new_id_list(layer);
    int32_t count = placements && ids ? GetMemorySize(placements) : 0;
    for (int32_t i = 0; i < count; ++i) {
        ObjectPlacement placement;
        GetMemoryRecord(placements, i, &placement);
        PtrAndMemory(&placement.id, ids, 1);
    }
    return ids;
}

int32_t remove_objects_with_undo(int16_t kind, const std::vector<MemoryRef>& objects, MemoryRef layer) {
    if (objects.empty()) return 0;
    if (std::find(objects.begin(), objects.end(), GetObjEditor(layer, nullptr)) != objects.end())
        ClobberObjectEditor(layer);
    link_in_order(objects);
    // Written while the objects are still listed, so that the record keeps their order.
    const bool kept = push_object_record(kind, nullptr, objects.front(), layer) == 1;
    for (MemoryRef object : objects) removeobject(layer, object);
    if (!kept) ClobberObjList(objects.front());
    DrawAllObjects(layer);
    return int32_t(objects.size());
}

int16_t record_object_attributes(const std::vector<MemoryRef>& objects, MemoryRef layer, int16_t kind) {
    MemoryRef first = nullptr, last = nullptr;
    for (MemoryRef object : objects) {
        MemoryRef copy = DuplicateObject(1, object);
        if (!copy) {
            ClobberObjList(first);
            return 0;
        }
        if (last) SetObj_info(last, pf::four_cc("link"), reinterpret_cast<intptr_t>(copy));
        else first = copy;
        last = copy;
    }
    if (!first) return 0;
    if (push_object_record(kind, nullptr, first, layer)) return 1;
    ClobberObjList(first);
    return 0;
}

bool keep_chart_data(MemoryRef ids, CellRange* range, int16_t* source, MemoryRef layer) {
    MemoryRef object = find_object_id(layer, first_id(ids));
    if (!object) return false;
    const ObjectKindProcs* kind = added_kind_of(object);
    return kind && kind->data_source(object, range, source);
}

int16_t record_chart_range(MemoryRef chart_object, MemoryRef layer) {
    MemoryRef ids = new_id_list(layer);
    if (!ids) return 0;
    auto id = int16_t(GetObj_info(chart_object, pf::four_cc("id  ")));
    PtrAndMemory(&id, ids, 1);
    return push_object_record(kUndoChartRange, ids, nullptr, layer);
}

int16_t record_added_objects(int16_t kind, MemoryRef chain, MemoryRef layer) {
    MemoryRef ids = create_id_linklist(chain, layer);
    return ids ? push_object_record(kind, ids, nullptr, layer) : 0;
}

void undo_object_step(UndoRecord& f, UndoRecord& redo, MemoryRef layer) {
    end_text_editing(layer, false);
    const int16_t kind = f.kind;
    if (moves_objects(kind)) {
        MemoryRef ids = create_id_movelist(f.move_list, layer);
        redo.move_list = placements_of_ids(ids, layer);
        DisposeNonNilMemory(ids);
        restore_placements(f.move_list, layer);
    } else if (kind == kUndoObjectsLocked || kind == kUndoObjectsUnlocked) {
        redo.id_list = DuplicateNonNilMemory(f.id_list);
        set_locks(f.id_list, kind == kUndoObjectsUnlocked, layer);
    } else if (restacks_objects(kind)) {
        redo.id_list = layer_object_ids(layer);
        reorder_objects(f.id_list, layer);
    } else if (kind == kUndoClearObjects || kind == kUndoCutObjects) {
        redo.id_list = create_id_linklist(f.objects, layer);
        restore_removed_objects(f.objects, f.id_list, layer);
        f.objects = nullptr;  // the layer's again
    } else if (kind == kUndoObjectsAdded || kind == kUndoNewObject) {
        redo.id_list = layer_object_ids(layer);
        redo.objects = take_out_objects(f.id_list, layer);
    } else if (keeps_copies(kind)) {
        exchange_chain_attributes(f.objects, layer);
        redo.objects = std::exchange(f.objects, nullptr);
    } else if (kind == kUndoChartRange) {
        redo.id_list = DuplicateNonNilMemory(f.id_list);
        redo.range_b = f.range_b, redo.range_a.topLeft.h = f.range_a.topLeft.h;
        exchange_chart_data(f.id_list, &redo.range_b, &redo.range_a.topLeft.h, layer);
    }
    DrawAllObjects(layer);
}

void redo_object_step(UndoRecord& f, MemoryRef layer) {
    end_text_editing(layer, false);
    const int16_t kind = f.kind;
    if (moves_objects(kind)) {
        push_object_record(kind, create_id_movelist(f.move_list, layer), nullptr, layer);
        restore_placements(f.move_list, layer);
    } else if (kind == kUndoObjectsLocked || kind == kUndoObjectsUnlocked) {
        push_object_record(kind, DuplicateNonNilMemory(f.id_list), nullptr, layer);
        set_locks(f.id_list, kind == kUndoObjectsLocked, layer);
    } else if (restacks_objects(kind)) {
        push_object_record(kind, nullptr, nullptr, layer);
        reorder_objects(f.id_list, layer);
    } else if (kind == kUndoClearObjects || kind == kUndoCutObjects) {
        const std::vector<MemoryRef> going = objects_of_ids(f.id_list, layer);
        if (going.empty()) push_object_record(kind, nullptr, nullptr, layer);
        else remove_objects_with_undo(kind, going, layer);
    } else if (kind == kUndoObjectsAdded || kind == kUndoNewObject) {
        MemoryRef chain = std::exchange(f.objects, nullptr);
        MemoryRef added = create_id_linklist(chain, layer);
        restore_removed_objects(chain, f.id_list, layer);
        if (added) push_object_record(kind, added, nullptr, layer);
    } else if (keeps_copies(kind)) {
        exchange_chain_attributes(f.objects, layer);
        if (!push_object_record(kind, nullptr, f.objects, layer)) ClobberObjList(f.objects);
        f.objects = nullptr;
    } else if (kind == kUndoChartRange && f.id_list) {
        // The record keeps the range the chart has now; the chart takes the redone one.
        MemoryRef ids = std::exchange(f.id_list, nullptr);
        const int16_t id = first_id(ids);
        push_object_record(kind, ids, nullptr, layer);
        MemoryRef chart = find_object_id(layer, id);
        const ObjectKindProcs* chart_kind = chart ? added_kind_of(chart) : nullptr;
        if (chart_kind) chart_kind->set_data_source(chart, f.range_b, f.range_a.topLeft.h);
    } else {
        push_object_record(kind, nullptr, nullptr, layer);
    }
    DrawAllObjects(layer);
}

void record_object_change(UndoRecord* fields, MemoryRef list, MemoryRef chain, MemoryRef layer) {
    switch (fields->kind) {
        case kUndoClearObjects:
        case kUndoCutObjects:
            fields->objects = chain;
            fields->id_list = layer_object_ids(layer);
            break;
        case kUndoObjectsAdded:
        case kUndoNewObject:
            fields->id_list = list;
            break;
        case kUndoObjectAttributes:
        case kUndoChartEdited:
            fields->objects = chain;
            break;
        case kUndoObjectsMoved:
        case kUndoObjectResized:
        case kUndoObjectsScaled:
        case kUndoObjectsAligned:
            fields->move_list = placements_of_ids(list, layer);
            DisposeNonNilMemory(list);
            break;
        case kUndoObjectsLocked:
        case kUndoObjectsUnlocked:
            fields->id_list = list;
            break;
        case kUndoChartRange:
            if (list && GetMemorySize(list) > 1) SetMemorySize(list, 1);
            fields->id_list = list;
            keep_chart_data(list, &fields->range_b, &fields->range_a.topLeft.h, layer);
            break;
        case kUndoObjectsToBack:
        case kUndoObjectsToFront:
        case kUndoObjectsBackward:
        case kUndoObjectsForward:
            fields->id_list = layer_object_ids(layer);
            break;
        default:
            DisposeNonNilMemory(list);
            break;
    }
}

// The objects a deletion of rows or columns took out, and the layer's object
// order before it, go with the record the deletion has just pushed.
void keep_deleted_objects_for_undo(MemoryRef objects, MemoryRef ids, MemoryRef layer) {
    MemoryRef undo = pg_GetMultUndo(workbook_undo_list(GetWorkSheet(layer)), -1);
    if (!undo) {
        if (objects) ClobberObjList(objects);
        DisposeNonNilMemory(ids);
        return;
    }
    UndoRecord fields = read_undo(undo);
    fields.objects = objects;
    fields.id_list = ids;
    write_undo_fields(undo, fields);
}
