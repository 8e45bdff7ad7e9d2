// What the parser knows of each of the 143 worksheet functions: its number by
// name (the names are the string list loaded into WordArray; function n is
// entry n - 1), how many arguments it takes, which must be references, and
// the kind of entry a call makes.
#pragma once

#include <cstdint>

constexpr int kUnlimitedArguments = 255;

struct FunctionArity {
    uint8_t min = 1;
    uint8_t max = 1;
    int16_t too_few_code = 3;       // the parser's code for a missing argument
    uint8_t reference_mask = 0;     // bit i: argument i must be a reference
    bool position_only = false;     // 55, 56, 90, 91: the reference's position is used
    bool reference_argument(int index) const { return index < 8 && (reference_mask >> index) & 1; }
};

// The number of the function of that (upper-case) name, 0 when none.
int function_number_of(const unsigned char* name);
// The name of function n (an empty text for an unknown number).
const unsigned char* function_name(int number);

FunctionArity function_arity(int number);
// The entry kind a completed call sets ('E' date, 'H' time), or 0.
int16_t function_entry_kind(int number);
