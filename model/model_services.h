// Services of the window, drawing-object and printing subsystems, and of the
// row and column insertion of this subsystem, that the layer and cell store
// call. Declared here with the signatures their owners keep.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Window: invalidates the rows of a range in every shown pane of the layer's
// window; inverts the selection highlight; the cell under a pane's pixel point.
void DrawCells(const CellRange* range, MemoryRef layer);
void InvertCells(MemoryRef layer);
void PtinCell(CellPoint* cell, pf::Point where, int16_t pane, MemoryRef layer);

// Drawing objects: marks the charts whose data meet the range; removes and
// frees every drawing object of a layer; ends the text editing of an object.
void CheckHotLinks(int16_t mode, CellPoint top_left, CellPoint bottom_right, MemoryRef layer);
void ClobberAllObjects(MemoryRef layer);
void ClobberObjectEditor(MemoryRef layer);
// Recomputes the location of every object of a layer; a new list of the ids
// of the objects of a list, in list order.
void Reset_Positions(MemoryRef layer);
MemoryRef create_id_list(MemoryRef objects);

// Editing: the undo record of a change (the record takes over the five
// blocks); the drawing objects' positions before a change, moving those at
// or past the range's first row or column by the counts (rows in the low
// half, columns in the high half); the objects inside a range taken out
// (kept, chained, when asked); the objects and their id list kept in the
// last undo record.
int16_t WriteMemUndo(int16_t kind, int16_t sub_kind, const CellRange* range_a, const CellRange* range_b, MemoryRef block1,
                     MemoryRef block2, MemoryRef block3, MemoryRef block4, MemoryRef block5, MemoryRef layer);
MemoryRef GetObjectOffset(int32_t counts, const CellRange* range, MemoryRef layer);
MemoryRef Delete_Objects(int16_t keep, const CellRange* range, MemoryRef layer);
void keep_deleted_objects_for_undo(MemoryRef objects, MemoryRef ids, MemoryRef layer);

// Printing: recomputes the page breaks; recomputes the pane rectangles
// (non-zero when they changed).
void reset_page(MemoryRef layer);
// The printed page that holds a cell (row in the low half, column in the high).
int16_t pageNumber(MemoryRef layer, int32_t cell);
int16_t SetActiveRects(MemoryRef layer);
// The printable rectangle of the layer's page inside its margins, in points.
void Page_Setup(MemoryRef layer, pf::Rect* printable);

// Row and column insertion: adjusts references to other layers for the
// deletion (deleting non-zero) or the move of a layer.
void ResetLayers(int16_t deleting, int16_t source, int16_t target, MemoryRef workbook);

// Formula text: the text of a stored formula as a new block of bytes (no
// length prefix). `where` holds the formula's row in the low half and its
// column in the high half.
MemoryRef Interpret(int32_t where, const uint8_t* first, const uint8_t* end, MemoryRef layer,
                    MemoryGlobals* globals);

// Formula engine: forgets a workbook or layer that is being disposed, so no
// later calculation reads it as its context.
void forget_calculation_context(MemoryRef disposed);
