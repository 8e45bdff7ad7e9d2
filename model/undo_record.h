// Undo records of the changes to a workbook: making them and the workbook's
// undo list and redo slot.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_format.h"
#include "model/cell_range.h"
#include "model/undo_fields.h"
#include "model/undo_kinds.h"

// The kinds of changes to cells and their formats (row heights and column
// widths among them), and those that save and restore a range of cells.
bool is_cell_kind(int16_t kind);
bool keeps_cells(int16_t kind);
bool is_move_kind(int16_t kind);
bool is_object_kind(int16_t kind);
bool saves_column_formats(int16_t extent);
bool saves_row_formats(int16_t extent);

// A new cleared record in the layer's memory (failures go to the caller's handler).
MemoryRef new_undo_record(MemoryRef layer);
// The fields of a record of a change: its kind and extent, the ranges (zeros
// when absent), the layer's id and its default formats; no blocks.
UndoRecord describe_change(int16_t kind, int16_t extent, const CellRange* range_a, const CellRange* range_b,
                           MemoryRef layer);
// The layer of the workbook with the id, or none.
MemoryRef find_layer_by_id(MemoryRef workbook, int16_t id);

// The workbook's undo list and redo slot.
MemoryRef workbook_undo_list(MemoryRef workbook);
MemoryRef workbook_redo(MemoryRef workbook);
// Puts a record (or none) in the redo slot and answers the one it held.
MemoryRef exchange_redo(MemoryRef workbook, MemoryRef redo);
// Takes the newest record off the list without disposing it.
void remove_newest_undo(MemoryRef workbook);
// Takes back and disposes of the record a change of the layer pushed before it failed.
void take_back_newest_undo(MemoryRef layer);
// The records renumbered for a layer deleted (`deleting`: the records of the
// `source` layer go) or moved from `source` to `target`.
void follow_layer_in_undo(MemoryRef workbook, bool deleting, int16_t source, int16_t target);
// Pushes a record: the redo record goes, the oldest beyond the depth goes,
// the change counter counts one more.
void push_undo(MemoryRef undo, MemoryRef layer);

// Brings in every block of a record and keeps it in; false when one cannot
// come back (nothing is then held). release_undo_blocks lets them go.
bool hold_undo_blocks(const UndoRecord& fields);
void release_undo_blocks(const UndoRecord& fields);

// Alerts of the calculation library, through the layer's machine record.
constexpr int32_t kLayerGoneAlert = 5;
constexpr int32_t kMemoryAlert = 25;
int16_t layer_alert(MemoryRef layer, int32_t code);
int16_t workbook_alert(MemoryRef workbook, int32_t code);
