// The dialogs that set up a selection or a command on the front layer: Select
// (a part of the layer by shape, page or two cells), Fill Series and Sort.
// Typed values are checked on OK; a bad one is said and the dialog stays open.
#pragma once

#include <cstdint>

#include "ui/dialog_items.h"
#include "core/memory_manager.h"
#include "editing/sort.h"
#include "model/cell_range.h"

// Select: the chosen radio item (3 to 8) after OK and the selection made, or 0.
int16_t SelectDialog(MemoryRef layer);
// The used part of the layer for the Select radios 3 (whole layer), 4 (used
// rows), 5 (used columns) and 6 (used area); A1 for 4 to 6 on an empty layer.
CellRange used_part_of_layer(MemoryRef layer, int16_t radio);
// Why the two cell texts of the Select dialog were refused: 0 when the range
// from the first's top-left to the second's bottom-right is good.
enum class SelectRefusal : int16_t { kNone, kFirstCell, kSecondCell, kWrongWayRound };
SelectRefusal check_select_cells(const unsigned char* first, const unsigned char* last, MemoryRef layer,
                                 CellRange* range);

// Fill Series: on OK the fill runs on the selection; 1 when OK was pressed.
int16_t series_dialog(MemoryRef layer);
// The step and stop texts of the linear and growth kinds: a number each, the
// stop may be empty (none).
enum class SeriesRefusal : int16_t { kNone, kStep, kStop };
SeriesRefusal check_series_values(const unsigned char* step_text, const unsigned char* stop_text, double* step,
                                  double* stop, bool* has_stop);

// Sort: up to three keys (kNoSortKey for none, preset by the caller), their
// ascending flags and whether the keys are columns (rows sorted). 1 when a
// first key was given, 0 on Cancel or when none was.
int16_t sort_dialog(int16_t keys[kSortKeys], uint16_t ascending[kSortKeys], uint16_t* by_columns,
                    const CellRange* range);

// User items drawing the direction pictures.
void Draw_series_item(DialogRef dialog, int16_t item);
void Draw_RowPict_item(DialogRef dialog, int16_t item);
