// Drawing objects: records, the layer's lists and the properties by tag.
#include "objects/object_records.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <set>

#include "model/layer.h"
#include "model/undo_record.h"
#include "model/layer_use.h"
#include "objects/object_kinds.h"
#include "objects/object_undo.h"
#include "objects/text_box_editing.h"

namespace {

constexpr int32_t kListExtend = 8;
constexpr uint8_t kDefaultLineSize = 1, kDefaultLinePattern = 4, kDefaultFrame = 1;
constexpr int16_t kDefaultSide = 20;
// Positions in the colour table: lines drawn black, fills white.
// Colour values: entry value - 1 of the colour table.
constexpr uint8_t kBlackValue = 2, kWhiteValue = 1;

MemoryRef layer_list(MemoryRef layer, bool selected) {
    LayerUse sheet(layer);
    MemoryRef list = selected ? sheet->selected_objects : sheet->objects;
    return list;
}

int16_t next_object_id(MemoryRef layer) {
    LayerUse sheet(layer);
    int16_t id = ++sheet->next_object_id;
    return id;
}

void remove_from_list(MemoryRef list, MemoryRef entry) {
    if (int32_t at = object_in_list(list, entry)) DeleteMemory(list, at - 1, 1);
}

MemoryRef copy_block(MemoryRef block, bool* failed) {
    if (!block) return nullptr;
    MemoryRef copy = MemoryDuplicate(block);
    if (!copy) *failed = true;
    return copy;
}

// A copy of one object's record and its blocks, unlinked; none when memory failed.
MemoryRef duplicate_one(MemoryRef object) {
    ObjectRecord copy = *ObjectUse(object).get();
    bool failed = false;
    copy.region = nullptr;
    copy.link = nullptr;
    copy.data = copy_block(copy.data, &failed);
    copy.picture = copy_block(copy.picture, &failed);
    copy.points = copy_block(copy.points, &failed);
    copy.chart = copy_block(copy.chart, &failed);
    MemoryRef result = failed ? nullptr : Bytes2Memory(GetMemoryGlobals(object), &copy, sizeof copy, 1);
    if (!result) {
        for (MemoryRef block : {copy.data, copy.picture, copy.points, copy.chart}) DisposeNonNilMemory(block);
        return nullptr;
    }
    ObjectUse(result)->self = result;
    return result;
}

bool line_kind(pf::FourCC kind) { return kind == kLineObject || kind == kArrowObject || kind == kDoubleArrowObject; }

bool being_edited(const ObjectRecord& record) {
    if (!record.owner) return false;
    return LayerUse(record.owner)->edited_object == record.self;
}

void set_flag(ObjectRecord& record, uint32_t flag, intptr_t on) {
    record.flags = on ? record.flags | flag : record.flags & ~flag;
}

}  // namespace

ObjectRecord* use_object(MemoryRef object) { return static_cast<ObjectRecord*>(UseMemoryOrFail(object)); }
void release_object(MemoryRef object) { UnuseMemory(object); }

MemoryRef make_object(pf::FourCC kind, MemoryRef layer) {
    ObjectRecord record{};
    record.kind = kind;
    record.line_size = kDefaultLineSize;
    record.line_pattern = kDefaultLinePattern;
    record.frame = kDefaultFrame;
    record.pen_fore = record.fill_fore = kBlackValue;
    record.pen_back = record.fill_back = kWhiteValue;
    record.height = record.width = kDefaultSide;
    record.owner = layer;
    MemoryRef object = Bytes2Memory(layer ? GetMemoryGlobals(layer) : &mem_globals, &record, sizeof record, 1);
    if (!object) return nullptr;
    ObjectUse made(object);
    made->self = object;
    made->id = layer ? next_object_id(layer) : 0;
    return object;
}

int16_t NewObject(pf::FourCC kind, MemoryRef* object, int16_t undo, MemoryRef layer) {
    *object = make_object(kind, layer);
    if (!*object) return 0;
    add_object(layer, *object);
    if (undo) record_added_objects(kUndoNewObject, *object, layer);
    return 1;
}

void add_to_list(MemoryRef list, MemoryRef entry) { PtrAndMemory(&entry, list, 1); }

int32_t object_in_list(MemoryRef list, MemoryRef entry) {
    if (!list) return 0;
    int32_t count = GetMemorySize(list), found = 0;
    MemoryUse<MemoryRef> entries(list);
    for (int32_t i = 0; i < count && !found; ++i)
        if (entries[i] == entry) found = i + 1;
    return found;
}

MemoryRef GetIndObject(MemoryRef list, int32_t index) {
    if (!list || index < 1 || index > GetMemorySize(list)) return nullptr;
    MemoryRef entry;
    GetMemoryRecord(list, index - 1, &entry);
    return entry;
}

void switch_objects(MemoryRef list, MemoryRef from, MemoryRef to) {
    int32_t at = object_in_list(list, from);
    if (!at) return;
    MemoryUse<MemoryRef>(list).get()[at - 1] = to;
}

void add_object(MemoryRef layer, MemoryRef object) { add_to_list(layer_list(layer, false), object); }
int32_t num_objects(MemoryRef layer) {
    MemoryRef list = layer_list(layer, false);
    return list ? GetMemorySize(list) : 0;
}
MemoryRef find_object_item(MemoryRef layer, int32_t index) { return GetIndObject(layer_list(layer, false), index); }

std::vector<MemoryRef> layer_objects(MemoryRef layer) {
    std::vector<MemoryRef> list;
    for (int32_t i = 1; MemoryRef object = find_object_item(layer, i); ++i) list.push_back(object);
    return list;
}

MemoryRef find_object_id(MemoryRef layer, int16_t id) {
    for (int32_t i = 1; MemoryRef object = find_object_item(layer, i); ++i) {
        bool match = ObjectUse(object)->id == id;
        if (match) return object;
    }
    return nullptr;
}

void removeobject(MemoryRef layer, MemoryRef object) {
    if (GetObjEditor(layer, nullptr) == object) end_text_editing(layer, false);
    remove_from_list(layer_list(layer, false), object);
    RemoveSelected(layer, object);
}

void add_selected(MemoryRef layer, MemoryRef object) {
    MemoryRef list = layer_list(layer, true);
    if (!object_in_list(list, object)) add_to_list(list, object);
}
void RemoveSelected(MemoryRef layer, MemoryRef object) { remove_from_list(layer_list(layer, true), object); }
int32_t is_object_selected(MemoryRef layer, MemoryRef object) { return object_in_list(layer_list(layer, true), object); }
MemoryRef get_selected_object(MemoryRef layer, int32_t index) { return GetIndObject(layer_list(layer, true), index); }
void clear_selected_objects(MemoryRef layer) {
    if (MemoryRef list = layer_list(layer, true)) SetMemorySize(list, 0);
}

void ClobberObject(MemoryRef object) {
    if (!object) return;
    ObjectUse record(object);
    for (MemoryRef block : {record->region, record->data, record->picture, record->points, record->chart})
        DisposeNonNilMemory(block);
    record.release();
    DisposeMemory(object);
}

void ClobberObjList(MemoryRef chain) {
    while (chain) {
        MemoryRef next = ObjectUse(chain)->link;
        ClobberObject(chain);
        chain = next;
    }
}

void ClobberAllObjects(MemoryRef layer) {
    end_text_editing(layer, false);
    clear_selected_objects(layer);
    MemoryRef list = layer_list(layer, false);
    if (!list) return;
    while (int32_t count = GetMemorySize(list)) {
        MemoryRef object = GetIndObject(list, count);
        DeleteMemory(list, count - 1, 1);
        ClobberObject(object);
    }
}

MemoryRef DuplicateObject(int16_t only_one, MemoryRef object) {
    MemoryRef first = nullptr, last = nullptr;
    for (MemoryRef from = object; from;) {
        MemoryRef copy = duplicate_one(from);
        if (!copy) {
            ClobberObjList(first);
            return nullptr;
        }
        if (last) {
            ObjectUse(last)->link = copy;
        } else {
            first = copy;
        }
        last = copy;
        if (only_one) break;
        MemoryRef next = ObjectUse(from)->link;
        from = next;
    }
    return first;
}

void copy_layer_objects(MemoryRef from, MemoryRef to) {
    for (int32_t i = 1; MemoryRef object = find_object_item(from, i); ++i) {
        MemoryRef copy = DuplicateObject(1, object);
        if (!copy) return;
        ObjectUse(copy)->owner = to;
        add_object(to, copy);
    }
    LayerUse(to)->next_object_id = LayerUse(from)->next_object_id;
}

void ResetObjectID(MemoryRef chain, MemoryRef layer) {
    for (MemoryRef object = chain; object;) {
        ObjectRecord* record = use_object(object);
        record->id = next_object_id(layer);
        record->owner = layer;
        MemoryRef next = record->link;
        release_object(object);
        object = next;
    }
}

void settle_object_ids(MemoryRef layer) {
    const std::vector<MemoryRef> objects = layer_objects(layer);
    int16_t highest = LayerUse(layer)->next_object_id;
    for (MemoryRef object : objects) {
        MemoryUse<const ObjectRecord> record(object);
        highest = std::max({highest, record->id, record->group});
    }
    LayerUse(layer)->next_object_id = highest;
    std::set<int16_t> taken;
    for (MemoryRef object : objects) {
        ObjectUse record(object);
        const int16_t id = record->id;
        record.release();
        if (id > 0 && taken.insert(id).second) continue;
        const int16_t fresh = next_object_id(layer);
        ObjectUse(object)->id = fresh;
        taken.insert(fresh);
    }
}

MemoryRef create_id_list(MemoryRef objects) {
    int32_t count = objects ? GetMemorySize(objects) : 0;
    MemoryRef ids = pgAllocateNewRef(GetMemoryGlobals(objects), sizeof(int16_t), 0, kListExtend, true);
    if (!ids) return nullptr;
    for (int32_t i = 1; i <= count; ++i) {
        MemoryRef object = GetIndObject(objects, i);
        int16_t id = ObjectUse(object)->id;
        PtrAndMemory(&id, ids, 1);
    }
    return ids;
}

MemoryRef layer_object_ids(MemoryRef layer) {
    LayerUse sheet(layer);
    MemoryRef objects = sheet->objects;
    sheet.release();
    return objects ? create_id_list(objects) : nullptr;
}

MemoryRef create_obj_list(MemoryRef ids, MemoryRef layer) {
    MemoryRef list = pgAllocateNewRef(GetMemoryGlobals(layer), sizeof(MemoryRef), 0, kListExtend, true);
    if (!list) return nullptr;
    int32_t count = ids ? GetMemorySize(ids) : 0;
    for (int32_t i = 0; i < count; ++i) {
        int16_t id;
        GetMemoryRecord(ids, i, &id);
        if (MemoryRef object = find_object_id(layer, id)) add_to_list(list, object);
    }
    return list;
}

int16_t object_line_size(MemoryRef object) { return int16_t(GetObj_info(object, pf::four_cc("lsiz"))); }

intptr_t GetObj_info(MemoryRef object, pf::FourCC tag) {
    const ObjectRecord record = *ObjectUse(object).get();
    switch (tag) {
        case pf::four_cc("type"): return record.kind;
        case pf::four_cc("id  "): return record.id;
        case pf::four_cc("link"): return reinterpret_cast<intptr_t>(record.link);
        case pf::four_cc("prot"): return (record.flags & kObjectProtected) != 0;
        case pf::four_cc("updt"): return (record.flags & kObjectUpdate) != 0;
        case pf::four_cc("isch"): return added_kind_of(record) != nullptr;
        case pf::four_cc("chrt"): return reinterpret_cast<intptr_t>(record.chart);
        case pf::four_cc("pict"): return reinterpret_cast<intptr_t>(record.picture);
        case pf::four_cc("data"): return reinterpret_cast<intptr_t>(record.data);
        case pf::four_cc("isln"): return line_kind(record.kind);
        case pf::four_cc("islt"): return line_kind(record.kind) || record.kind == kFreehandObject;
        case pf::four_cc("ised"): return being_edited(record);
        case pf::four_cc("fcol"): return record.fill_fore;
        case pf::four_cc("bcol"): return record.fill_back;
        case pf::four_cc("lfcl"): return record.pen_fore;
        case pf::four_cc("bfcl"): return record.pen_back;
        case pf::four_cc("pat "): return record.fill_pattern;
        case pf::four_cc("lpat"): return record.line_pattern;
        case pf::four_cc("lsiz"): return record.line_size;
        case pf::four_cc("fram"): return record.frame;
        case pf::four_cc("info"): return record.info;
        default: return 0;
    }
}

void SetObj_info(MemoryRef object, pf::FourCC tag, intptr_t value) {
    ObjectRecord& record = *use_object(object);
    const auto byte = uint8_t(value);
    switch (tag) {
        case pf::four_cc("type"): record.kind = pf::FourCC(value); break;
        case pf::four_cc("id  "): record.id = int16_t(value); break;
        case pf::four_cc("link"): record.link = reinterpret_cast<MemoryRef>(value); break;
        case pf::four_cc("prot"): set_flag(record, kObjectProtected, value); break;
        case pf::four_cc("updt"): set_flag(record, kObjectUpdate, value); break;
        case pf::four_cc("chrt"): record.chart = reinterpret_cast<MemoryRef>(value); break;
        case pf::four_cc("pict"): record.picture = reinterpret_cast<MemoryRef>(value); break;
        case pf::four_cc("data"): record.data = reinterpret_cast<MemoryRef>(value); break;
        case pf::four_cc("fcol"): record.fill_fore = byte; break;
        case pf::four_cc("bcol"): record.fill_back = byte; break;
        case pf::four_cc("lfcl"): record.pen_fore = byte; break;
        case pf::four_cc("bfcl"): record.pen_back = byte; break;
        case pf::four_cc("pat "): record.fill_pattern = byte; break;
        case pf::four_cc("lpat"): record.line_pattern = byte; break;
        case pf::four_cc("lsiz"): record.line_size = byte; break;
        case pf::four_cc("fram"): record.frame = byte; break;
        case pf::four_cc("info"): record.info = byte; break;
        default: break;
    }
    release_object(object);
}
