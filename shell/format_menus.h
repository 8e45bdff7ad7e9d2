// The number-format menus: Format (131), Precision (149), Currency (139),
// Date (137), Time (138) and format options (148), applied to the front
// document's selection, and their marks for the active cell's format.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_format.h"

void DoFormatMenu(MemoryRef window_record, int16_t item);
void DoPrecisionMenu(MemoryRef window_record, int16_t item);
void DoCurrencyMenu(MemoryRef window_record, int16_t item);
void DoDateMenu(MemoryRef window_record, int16_t item);
void DoTimeMenu(MemoryRef window_record, int16_t item);
void DoFormatOptionMenu(MemoryRef window_record, int16_t item);
// Enables and checks the format menus for the layer's active cell.
void set_format_menu(MemoryRef layer);

// A format code as the menus read it: a code outside the table of formats
// (a damaged document or preferences file) reads as general.
uint8_t menu_format_code(uint8_t code);

// Sets a field over the layer's selection through Format_Sheet (create and
// force on): 1 when it changed.
int16_t format_selection(MemoryRef layer, int16_t undo_kind, int16_t field, int16_t value, bool clear);
// Toggles a bit over the selection against the active cell's format `f`
// (`value` is the bit as SetFormatByte takes it for `field`): true when the
// change was made and left the bit set.
bool toggle_selection_bit(MemoryRef layer, const CellFormat& f, int16_t field, int16_t value, int16_t bit);
// Sets or clears companion bits over the selection, without undo.
void selection_bits(MemoryRef layer, int16_t field, int16_t value, bool clear);

// A choice of the command bar's currency or fixed-decimals pop-up: its code,
// decimals and bits set over the selection as one undoable change; nothing
// more when the first of them is refused.
struct FormatChange;
void apply_format_change(MemoryRef layer, const FormatChange& change);
