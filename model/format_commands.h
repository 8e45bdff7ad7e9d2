// Format commands: one field of the CellFormat changed over the selection of a
// layer, with the protection checks, one undo record and the row, column and
// cell records the change needs; the Clear command's two partial clears; the
// custom label and note of the selected cells; the codes of the Date and Time
// menu items.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Codes of the calculation library's alert procedure used here.
constexpr int32_t kLockedCellsAlert = 1;
constexpr int32_t kProtectedWorkbookAlert = 6;
constexpr int32_t kManyCellsAlert = 8;     // the count in the high 16 bits
constexpr int32_t kManyColumnsAlert = 9;
constexpr int32_t kManyRowsAlert = 10;
constexpr int32_t kFormatMemoryAlert = 25;

// Above these counts of records to make, the user is asked first.
constexpr int32_t kMissingCellsAsked = 1000;
constexpr int32_t kMissingRecordsAsked = 200;

// Undo kinds of format changes: a format, a table format, a font.
constexpr int16_t kFormatUndoKind = 9;
constexpr int16_t kFormatTableUndoKind = 16;
constexpr int16_t kFontUndoKind = 17;

// Undo sub-kinds (the format arrays a record keeps).
constexpr int16_t kFormatUndoBlock = 0;
constexpr int16_t kFormatUndoTable = 1;
constexpr int16_t kFormatUndoRows = 2;
constexpr int16_t kFormatUndoColumns = 3;

// Sets `field` to `value` over the selection (field numbers and values as
// SetFormatByte takes them): 1 when done, 0 when refused or cancelled. Field
// -1 with create runs the checks, writes the undo record and makes the
// records only.
int16_t Format_Sheet(int16_t undo_kind, int16_t field, int16_t value, bool clear, bool create, bool force,
                     MemoryRef layer);
// Sets a field over a range, without checks or undo, and redraws it.
void SetBits(int16_t field, int16_t value, const CellRange* range, bool clear, bool create, bool force,
             MemoryRef layer);
// Makes `font` the layer's default font, every cell keeping its letters: a
// cell in the default font that the new default would read as other letters
// is set in the new default as the Font menu sets a font (the words its
// script spells take it, spelled in that script; the others keep the old
// default font).
void set_layer_default_font(MemoryRef layer, int16_t font);
// Asks about many missing records, makes the cells of a block and writes the
// undo record: 0 to go on, -1 when declined or out of memory.
int16_t formatUndo(int16_t undo_kind, CellPoint top_left, CellPoint bottom_right, MemoryRef layer);
// Gives every address of the selection a cell record; `old_cells` receives
// the cells as they were. 0, -128 when the user stopped it, else the error.
int16_t input_cell_formats(MemoryRef* old_cells, MemoryRef layer);
// 1 when an existing cell of the range is locked.
int16_t check_protected(const CellRange* range, MemoryRef layer);

// The Clear command's partial clears over the selection; `cells` is a copy of
// the selection's cells. ClearCellFormat keeps contents under the default
// format (labels go, and style runs where every letter reads the same
// without them; notes stay, format-only cells go);
// ClearFormulas keeps formats, labels and notes. 0, or the error of storing.
int16_t ClearCellFormat(MemoryRef cells, MemoryRef layer);
int16_t ClearFormulas(MemoryRef cells, MemoryRef layer);
// Sets the custom label (which 0) or the note (which 1) of every cell of the
// selection to a length-prefixed text; an empty text removes it.
void AddCustomLabel(MemoryRef layer, const unsigned char* text, int16_t which);

// The Date menu (16 items: 11 date codes, three more, a separator, Custom)
// and the Time menu (7 items: five times, date and time, minutes and seconds).
constexpr int16_t kDateMenuItems = 16;
constexpr int16_t kTimeMenuItems = 7;
// The format code of a Date or Time menu item, -1 for none.
int16_t date_verb(int16_t item);
int16_t time_verb(int16_t item);
// The Date menu item of a format code, -1 for none; likewise for the Time menu.
int16_t format_to_dateitem(int16_t code);
int16_t format_to_timeitem(int16_t code);
