// Excel's parsed formulas (token streams in reverse Polish order) turned back
// into formula text this program's parser reads: references as A1, $B$2,
// A1:C4, with a layer prefix "$2:" for other sheets; functions by name; the
// parentheses this program's precedence needs. A formula that cannot be
// written for this program (an unknown function, an array, an external
// reference...) gives the empty text; a token stream cut short throws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "excel/excel_book.h"

struct FormulaContext {
    const ExcelBook* book = nullptr;
    int sheet = -1;       // the sheet of the formula
    uint16_t row = 0;     // the cell the formula belongs to, for the relative
    uint16_t column = 0;  // references of shared formulas
    // The layer number (0-based) of each sheet of the workbook, -1 for none.
    const std::vector<int>* layer_of_sheet = nullptr;
    // The tokens of the shared formula each cell of a range refers to.
    const std::vector<SharedFormula>* shared = nullptr;
};

struct ConvertedFormula {
    // "=...", in UTF-8 as a formula is typed; empty when the formula cannot be
    // written here.
    std::string text;
    // The same for every cell whose formula differs only in references
    // relative to the cell: such formulas are stored alike.
    std::string key;
    // With no text: the function that stopped the conversion, when one did.
    std::string stopping_function;
};
ConvertedFormula excel_formula_text(const uint8_t* tokens, size_t length, const FormulaContext& context);

// The Excel name of a built-in function by its index, with the number of its
// arguments (-1 when it takes a variable number); null when unknown.
const char* excel_function_name(uint16_t index, int* fixed_arguments);

// Whether a call with these argument texts means in this program what it
// means in Excel, the arguments made what this program's function needs for
// that meaning where they differ; a call that does not is not converted.
bool excel_call_converts(const char* name, std::vector<std::string>& arguments);
