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

// Printing: recomputes the page breaks; recomputes the pane rectangles
// (non-zero when they changed).
void reset_page(MemoryRef layer);
// The printed page that holds a cell (row in the low half, column in the high).
int16_t pageNumber(MemoryRef layer, int32_t cell);
int16_t SetActiveRects(MemoryRef layer);

// Row and column insertion: adjusts references to other layers for the
// deletion (deleting non-zero) or the move of a layer.
void ResetLayers(int16_t deleting, int16_t source, int16_t target, MemoryRef workbook);

// Formula text: the text of a stored formula as a new block of bytes (no
// length prefix). `where` holds the formula's row in the low half and its
// column in the high half.
MemoryRef Interpret(int32_t where, const uint8_t* first, const uint8_t* end, MemoryRef layer,
                    MemoryGlobals* globals);

// Format commands: the Format menu and its Date, Time, Currency, format
// options and precision submenus.
void DoFormatMenu(MemoryRef window_record, int16_t item);
void DoDateMenu(MemoryRef window_record, int16_t item);
void DoTimeMenu(MemoryRef window_record, int16_t item);
void DoCurrencyMenu(MemoryRef window_record, int16_t item);
void DoFormatOptionMenu(MemoryRef window_record, int16_t item);
void DoPrecisionMenu(MemoryRef window_record, int16_t item);
