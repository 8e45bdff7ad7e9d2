// What the worksheet functions share on top of the argument protocol: reading
// numbers and texts from the value registers, keeping an argument while the
// next is read, and ending a call with a number, a text or a fetched value.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "formula/functions_text.h"
#include "model/cell_range.h"

// A copy of the registers' value, for use after the next argument is read.
struct HeldValue {
    double value = 0;
    int16_t type = 0;  // -1 number, 0 empty, 1 text
    TextBuffer text = {0};
    int16_t script = 0;  // the text's
};
HeldValue hold_value();
// The registers take the held value back; the call's result gets its type.
void restore_value(const HeldValue& held);

// A reference argument: its cells, the layers it spans and their workbook.
struct HeldRange {
    bool is_range = false;  // false for a single value
    CellRange rect{};
    int16_t first_layer = 0;
    int16_t last_layer = 0;
    MemoryRef workbook = nullptr;
};
HeldRange hold_range();
// The registers describe the range again (for a walk).
void select_range(const HeldRange& range);

// Ends the call with a number, an error or a text (the symbol after the call
// is read).
void number_result(double value);
void error_result(int16_t code);
void text_result(const unsigned char* text, int16_t script);
// Ends a call that hands on a value: the result type is the value's own.
void held_result(const HeldValue& held);

// The current argument as text for a text function: a text as it is, an
// empty value as the empty text, a number in the general format with all
// significant digits. False, with *error set, for an error number.
bool argument_text(unsigned char* text, double* error);
// The script of the text argument_text gives for the current argument.
int16_t argument_text_script();

// The numbers of the next `count` arguments, the first read by GetNextValue
// when `first` is true.
void read_numbers(double* values, int count, bool first);
// The next argument's number when one is given, else the default.
double optional_number(double fallback);

// Reads the first (or the next) argument like GetNextValue (AdvValue) and
// tells whether it begins with a reference. A reference to a single cell then
// has the cell as both corners of g_rangeRect.
bool read_argument_noting_reference(bool first);

// Two texts joined in the registers' place (join_texts), what no one script
// spells noted against the cell being calculated.
void join_register_texts(const unsigned char* left, int16_t left_script, const unsigned char* right,
                         int16_t right_script, unsigned char* out, int16_t* script);
// Characters that became "?" where the formula being calculated read or
// joined texts no one script spells, noted against its cell (its most at once).
void note_unspelled_characters(int32_t count);
// The characters that became "?" where formulas joined texts no one script
// spells, counted once for each formula cell, since the count was cleared.
int32_t unspelled_join_characters();
// Forgets the count and the causes taken.
void clear_unspelled_joins();
// The same counted only for the causes (a formula cell and what it lost) not
// taken before, which are remembered: each cause is told once. Clears the
// count.
int32_t take_untold_unspelled_joins();

// The text in the registers copied out.
void copy_register_text(unsigned char* text);

// The current argument is a number, error values included.
bool argument_is_number();
