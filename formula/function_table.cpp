// What the parser and the formula text read of the worksheet functions.
#include "formula/function_table.h"

#include <cstring>

#include "model/compiled_formula.h"
#include "formula/parser.h"
#include "model/calc_globals.h"

int function_number_of(const unsigned char* name) {
    if (name[0] == 0 || name[0] >= kFunctionNameSize) return 0;
    for (int i = 0; i < kFunctionCount; ++i)
        if (WordArray[i][0] == name[0] && std::memcmp(WordArray[i] + 1, name + 1, name[0]) == 0) return i + 1;
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
