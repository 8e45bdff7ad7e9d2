// Argument counts of the worksheet functions as the evaluator reads them.
#include "formula/function_table.h"

#include <cstring>

#include "formula/compiled_formula.h"
#include "formula/parser.h"
#include "model/calc_globals.h"

namespace {

constexpr int kMaxGroupSize = 20;

struct ArityGroup {
    FunctionArity arity;
    int numbers[kMaxGroupSize];  // ends at the first 0
};

constexpr uint8_t kAny = kUnlimitedArguments;

// Every function not listed takes exactly one argument. The counts are those
// the evaluator reads, so that no argument is dropped unread.
const ArityGroup kGroups[] = {
    {{0, 0, 0, 0, false}, {11, 36, 37, 38, 39, 40, 54, 66, 80}},
    {{1, 2, 3, 0, false}, {2, 51, 83, 85, 102, 139}},
    {{1, 3, 3, 0, false}, {95, 117, 124}},
    {{2, 3, kParseMissingClose, 0, false}, {4, 103, 104, 120, 131, 135, 136}},
    {{2, 3, 3, 0, false}, {1, 71, 92}},
    {{2, 2, 3, 0, false}, {7, 17, 45, 46, 65, 69, 73, 82, 93, 96, 114, 115, 121, 122, 128, 133, 143}},
    {{3, 3, 3, 0, false}, {78, 98, 101, 118, 142}},
    {{4, 4, 3, 0, false}, {99, 140, 141}},
    {{1, kAny, 3, 0, false}, {6, 8, 9, 10, 13, 43, 44, 52, 53, 76, 111, 125, 129, 134, 137}},
    {{2, kAny, 3, 0, false}, {12, 50}},
    {{3, 5, 3, 0, false}, {47, 48, 49}},
    {{4, 5, 3, 0, false}, {97, 100}},
    {{3, 4, 3, 0, false}, {132}},
    {{2, 4, 3, 0, false}, {138}},
    {{3, 5, 3, 0, false}, {126}},
    {{1, 7, 3, 0, false}, {63}},
    {{0, 1, 3, 0b1, true}, {55, 56}},
    {{1, 1, 3, 0b1, true}, {90, 91}},
    {{3, 3, 3, 0b1, false}, {60}},
    {{3, 4, 3, 0b10, false}, {61, 62}},
    {{2, 3, kParseMissingClose, 0b110, false}, {77}},
};

}  // namespace

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
    for (const ArityGroup& group : kGroups)
        for (int i = 0; i < kMaxGroupSize && group.numbers[i]; ++i)
            if (group.numbers[i] == number) return group.arity;
    return FunctionArity{};
}

int16_t function_entry_kind(int number) {
    switch (number) {
    case 54: case 63: case 78: case 79: case 80: case 138: return kKindDateFormula;
    case 119: return kKindTimeFormula;
    default: return 0;
    }
}
