// What the parser and the formula text read of the worksheet functions.
#include "formula/function_table.h"

#include <cstring>

#include "model/compiled_formula.h"
#include "formula/parser.h"
#include "model/calc_globals.h"

// Length and first letter are compared before the rest: most identifiers met
// are cell references, which few names share both with.
int function_number_of(const unsigned char* name) {
    const uint8_t length = name[0];
    if (length == 0 || length >= kFunctionNameSize) return 0;
    for (int i = 0; i < kFunctionCount; ++i) {
        const uint8_t* entry = WordArray[i];
        if (entry[0] == length && entry[1] == name[1] && std::memcmp(entry + 2, name + 2, length - 1u) == 0)
            return i + 1;
    }
    return 0;
}

const unsigned char* function_name(int number) {
    static const unsigned char kNone[1] = {0};
    if (number < 1 || number > kFunctionCount) return kNone;
    return WordArray[number - 1];
}

FunctionArity function_arity(int number) {
    const WorksheetFunction* row = worksheet_function(number);
    return row ? row->arity : FunctionArity{};
}

int16_t function_entry_kind(int number) {
    const WorksheetFunction* row = worksheet_function(number);
    return row ? row->entry_kind : int16_t(0);
}

bool function_takes_no_arguments(int number) {
    const WorksheetFunction* row = worksheet_function(number);
    return row && row->arity.max == 0;
}
