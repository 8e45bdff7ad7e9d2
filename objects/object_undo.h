// Undo and redo of the changes to drawing objects (undo kinds 23 to 39):
// each undo puts the layer's objects back and leaves in the redo record what
// a redo needs; each redo makes the change again and pushes a fresh undo record.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "model/undo_record.h"

// Undoes the object change of `undone` on the layer and fills `redo` with
// what its redo needs. Blocks the layer takes over are cleared in `undone`.
void undo_object_step(UndoRecord& undone, UndoRecord& redo, MemoryRef layer);
// Redoes the object change of `redone`, pushing its undo record. Blocks the
// layer takes over are cleared in `redone`.
void redo_object_step(UndoRecord& redone, MemoryRef layer);

// Takes the objects out of the layer (and its selection) in the given order,
// after pushing an undo record of `kind` (23 clear, 24 cut) that keeps them
// linked through "link"; without a record the objects are freed. Answers
// how many went.
int32_t remove_objects_with_undo(int16_t kind, const std::vector<MemoryRef>& objects, MemoryRef layer);
// Pushes an undo record of kind 30 (or 39, a chart edited) that keeps copies
// of the objects as they are now; 1 when recorded.
int16_t record_object_attributes(const std::vector<MemoryRef>& objects, MemoryRef layer,
                                 int16_t kind = kUndoObjectAttributes);
// Pushes an undo record of kind 33 that keeps the chart object's data range
// and source layer as they are now; 1 when recorded.
int16_t record_chart_range(MemoryRef chart_object, MemoryRef layer);
// The data range and source layer of the chart with the first id of a list;
// false when the layer has no such chart.
bool keep_chart_data(MemoryRef ids, CellRange* range, int16_t* source, MemoryRef layer);
// Pushes an undo record of kind 25 (added) or 26 (new) for the objects of a
// chain that have just joined the layer; 1 when recorded.
int16_t record_added_objects(int16_t kind, MemoryRef chain, MemoryRef layer);

// The ids along a chain linked through "link"; the ids of a placement list.
MemoryRef create_id_linklist(MemoryRef chain, MemoryRef layer);
MemoryRef create_id_movelist(MemoryRef placements, MemoryRef layer);

// What a change to drawing objects keeps in its undo record: `list` is the
// caller's id list and `chain` its object chain; the record adopts both.
void record_object_change(UndoRecord* fields, MemoryRef list, MemoryRef chain, MemoryRef layer);
// The objects a deletion took out and their id list, kept in the last undo record.
void keep_deleted_objects_for_undo(MemoryRef objects, MemoryRef ids, MemoryRef layer);
