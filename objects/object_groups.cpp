// Groups of drawing objects.
#include "objects/object_groups.h"

#include <algorithm>
#include <map>

#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_commands.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"

namespace {

int16_t group_of(MemoryRef object) {
    return ObjectUse(object)->group;
}

void set_group(MemoryRef object, int16_t group) {
    ObjectUse(object)->group = group;
}

// A number no object of the layer uses as its id or group.
int16_t fresh_group(MemoryRef layer) {
    LayerUse sheet(layer);
    const int16_t group = ++sheet->next_object_id;
    return group;
}

int32_t distinct_groups_selected(MemoryRef layer) {
    int32_t units = 0;
    std::vector<int16_t> seen;
    for (MemoryRef object : selected_objects(layer)) {
        const int16_t group = group_of(object);
        if (group && std::find(seen.begin(), seen.end(), group) != seen.end()) continue;
        if (group) seen.push_back(group);
        ++units;
    }
    return units;
}

// Records the change of group numbers of the objects and makes it.
int16_t regroup(const std::vector<MemoryRef>& objects, int16_t group, MemoryRef layer) {
    std::vector<MemoryRef> changing;
    for (MemoryRef object : objects)
        if (group_of(object) != group) changing.push_back(object);
    if (changing.empty()) return 0;
    record_object_attributes(changing, layer);
    for (MemoryRef object : changing) set_group(object, group);
    DrawAllObjects(layer);
    return 1;
}

}  // namespace

std::vector<MemoryRef> group_members(MemoryRef object, MemoryRef layer) {
    const int16_t group = group_of(object);
    if (!group) return {object};
    std::vector<MemoryRef> members;
    for (MemoryRef other : layer_objects(layer))
        if (group_of(other) == group) members.push_back(other);
    return members;
}

void select_with_group(MemoryRef layer, MemoryRef object) {
    for (MemoryRef member : group_members(object, layer)) add_selected(layer, member);
}

void deselect_with_group(MemoryRef layer, MemoryRef object) {
    for (MemoryRef member : group_members(object, layer)) RemoveSelected(layer, member);
}

bool can_group(MemoryRef layer) { return distinct_groups_selected(layer) >= 2; }

bool can_ungroup(MemoryRef layer) {
    for (MemoryRef object : selected_objects(layer))
        if (group_of(object)) return true;
    return false;
}

int16_t group_selected_objects(MemoryRef layer) {
    if (!can_group(layer)) return 0;
    return regroup(selected_objects(layer), fresh_group(layer), layer);
}

int16_t ungroup_selected_objects(MemoryRef layer) { return regroup(selected_objects(layer), 0, layer); }

void renumber_groups(MemoryRef chain, MemoryRef layer) {
    std::map<int16_t, int16_t> fresh;
    for (MemoryRef object = chain; object;) {
        const int16_t group = group_of(object);
        if (group) {
            if (!fresh.count(group)) fresh[group] = fresh_group(layer);
            set_group(object, fresh[group]);
        }
        object = reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("link")));
    }
}
