// The formula parser: decides whether an entry is a number, a date or time, a
// formula or plain text, and for a formula checks the syntax and writes the
// stored form in one pass (a recursive-descent recognizer over one byte of
// look-ahead). The reading state is shared with the evaluator.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "resource_ids.h"

// Symbol kinds (Sy).
enum SymbolKind : int16_t {
    kSyPower = 0,
    kSyMultiply = 1,  // "*" or a division sign
    kSyAdd = 2,       // "+" or "-"
    kSyCompare = 3,
    kSyConcat = 4,
    kSyOpen = 5,
    kSyClose = 6,
    kSyArgument = 7,  // start of a function argument
    kSyText = 8,
    kSyNumber = 9,
    kSyFunction = 10,
    kSySeparator = 11,
    kSyReference = 12,
    kSyEnd = 13,
    kSyUnknown = 14,
};

// Operators (Op).
enum OperatorCode : int16_t {
    kOpNone = 0,
    kOpMultiply = 1,
    kOpAdd = 2,
    kOpSubtract = 3,
    kOpDivide = 4,
    kOpEqual = 5,
    kOpNotEqual = 6,
    kOpLessThan = 7,
    kOpGreaterThan = 8,
    kOpLessEqual = 9,
    kOpGreaterEqual = 10,
};

// Parser error codes (items of the parser's error string list).
constexpr int16_t kParseNoOpenParen = 1;
constexpr int16_t kParseMissingSeparator = 3;
constexpr int16_t kParseOperandFollows = 4;
constexpr int16_t kParseMissingClose = 5;
constexpr int16_t kParseUnknownSymbol = 6;
constexpr int16_t kParseNotReference = 8;
constexpr int16_t kParseOpenDocName = 11;
constexpr int16_t kParseOpenText = 12;
constexpr int16_t kParseCircular = 14;

// Entry kinds (ParserCellType).
constexpr int16_t kKindNumber = 'C';
constexpr int16_t kKindDate = 'D';
constexpr int16_t kKindDateFormula = 'E';
constexpr int16_t kKindFormula = 'F';
constexpr int16_t kKindFraction = 'G';
constexpr int16_t kKindTimeFormula = 'H';
constexpr int16_t kKindNumberInDateCell = 'I';

// Reading state.
extern uint8_t Ch;
extern const uint8_t* g_formulaPtr;
extern const uint8_t* g_endPtr;
extern MemoryRef ParserReturn;
extern int16_t Sy;
extern int16_t Op;
extern int16_t ParserError;
extern int16_t ParserCellType;
extern int16_t g_functionNum;

// Reading routines.
// The next byte of the formula into Ch (0 past its end).
inline void AdvPChar() {
    Ch = g_formulaPtr < g_endPtr ? *g_formulaPtr : 0;
    ++g_formulaPtr;
}
void NextPChar();

// Points the reader at a text block for the cell of a layer. The block stays
// in use until the caller releases it after ParseText.
void InitParser(CellPoint cell, MemoryRef text, MemoryRef layer);
// Parses the entry; see parser.cpp for the kinds and codes. 0 success, 1 plain
// text, else a parser error code.
int16_t ParseText(unsigned char* text, MemoryRef* formula, int16_t* kind, uint8_t format,
                  MemoryGlobals* memory);

// Whether a text is a number; flag 1 from the parser, 0 from the evaluator.
// The number goes to g_value.
int16_t validConstant(unsigned char* text, int16_t flag);

// The reading position where parsing stopped: the offset from the start of
// the text of the byte at which the error lies.
int32_t parser_error_offset();

// Parses a formula text (with or without "=") typed into `cell` of `layer`
// into a new block, for code that has the text at hand. Answers the result of
// ParseText; the block is null unless a formula was parsed. With
// `parsed_text`, the text as the parser left it is copied there (256 bytes).
int16_t parse_formula_text(const unsigned char* text, CellPoint cell, MemoryRef layer,
                           MemoryRef* formula, int16_t* kind, int32_t* error_offset,
                           uint8_t format = 'G', unsigned char* parsed_text = nullptr);

// A typed percentage ("12.5%"): the number text before the "%" and how many
// decimals it was written with (at most 9). False for any other text,
// formulas included; whether the number text is a number is the caller's to
// parse.
bool split_percent_entry(std::string_view text, std::string_view* number, uint8_t* decimals);
