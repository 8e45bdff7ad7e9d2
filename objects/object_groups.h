// Groups of drawing objects: objects grouped together are selected, moved
// and copied as one; grouping and ungrouping are undone as a change of the
// objects' attributes (kind 30).
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"

// The objects of the layer in the object's group, in list order (the object
// alone when it is in none).
std::vector<MemoryRef> group_members(MemoryRef object, MemoryRef layer);
// Adds the object and the rest of its group to the selection; takes them out.
void select_with_group(MemoryRef layer, MemoryRef object);
void deselect_with_group(MemoryRef layer, MemoryRef object);

// Whether the selection holds at least two objects or groups (Group), and
// whether it holds a group (Ungroup).
bool can_group(MemoryRef layer);
bool can_ungroup(MemoryRef layer);
// Makes the selected objects one group (a group within them is merged);
// takes the selected objects out of their groups. 1 when anything changed.
int16_t group_selected_objects(MemoryRef layer);
int16_t ungroup_selected_objects(MemoryRef layer);
// Fresh group numbers of the layer for the groups of a chain of copies
// (copies of one group stay together).
void renumber_groups(MemoryRef chain, MemoryRef layer);
