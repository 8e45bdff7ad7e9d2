// The worksheet functions, one row each: the number a stored formula keeps,
// the name, how many arguments the parser accepts and which must be
// references, the kind of entry a call makes, and the routine the evaluator
// calls. The typed and shown names are the string list loaded into WordArray
// (function n is entry n - 1), which spells each row's name.
#pragma once

#include <cstdint>
#include <span>

constexpr int kUnlimitedArguments = 255;

struct FunctionArity {
    uint8_t min = 1;
    uint8_t max = 1;
    int16_t too_few_code = 3;       // the parser's code for a missing argument
    uint8_t reference_mask = 0;     // bit i: argument i must be a reference
    bool position_only = false;     // 55, 56, 90, 91: the reference's position is used
    bool reference_argument(int index) const { return index < 8 && (reference_mask >> index) & 1; }
};

// Evaluates a call whose "(" (if any) is the current character; given the
// function's number, for routines that serve several.
using FunctionRoutine = void (*)(int16_t number);

struct WorksheetFunction {
    int16_t number;
    const char* name;  // "" for a number that names no function
    FunctionArity arity;
    int16_t entry_kind;        // the entry kind a completed call sets ('E' date, 'H' time), or 0
    FunctionRoutine evaluate;  // null: the call is passed over unevaluated
};

// Every row, function 1 first; row i holds function i + 1.
std::span<const WorksheetFunction> worksheet_functions();
// The row of function n; null for a number past the table.
const WorksheetFunction* worksheet_function(int number);

// The number of the function of that (upper-case) name, 0 when none.
int function_number_of(const unsigned char* name);
// The name of function n (an empty text for an unknown number).
const unsigned char* function_name(int number);

FunctionArity function_arity(int number);
// The entry kind a completed call sets ('E' date, 'H' time), or 0.
int16_t function_entry_kind(int number);
// Called with no parentheses: a "()" after the name is read with it.
bool function_takes_no_arguments(int number);
