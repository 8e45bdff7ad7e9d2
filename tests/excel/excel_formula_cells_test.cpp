// Formula cells of Excel workbooks that keep Excel's values: array formulas,
// text results that follow the records of a shared formula, and functions
// whose Excel meaning differs from this program's function of that name.
#include <map>
#include <set>

#include "excel/formula_tokens.h"
#include "formula/function_table.h"
#include "tests/excel/excel_fixture.h"

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;
using biff::Tokens;

// The first cell's formula of a range: a reference to the cell that holds it.
std::vector<uint8_t> formula_of_range(uint16_t row, uint16_t column) { return Body().u8(0x01).u16(row).u16(column).v; }

Record array_record(uint16_t first_row, uint16_t last_row, uint8_t first_column, uint8_t last_column,
                    const std::vector<uint8_t>& tokens) {
    return {0x0221, Body().u16(first_row).u16(last_row).u8(first_column).u8(last_column).u16(0).u32(0)
                        .u16(uint16_t(tokens.size())).raw(tokens).v};
}

Record string_result(const std::string& text) { return {0x0207, Body().text8(text).v}; }

TEST_F(ExcelTest, EveryCellOfAnArrayFormulaKeepsItsStoredValueTextIncluded) {
    // A1:B1 = {"top", 5}: the top-left text comes after the ARRAY record.
    std::vector<uint8_t> array_tokens = Tokens().str("top").v();
    Sheet sheet{"A", {biff::formula_marked(0, 0, formula_of_range(0, 0), 0, 0), array_record(0, 0, 0, 1, array_tokens),
                      string_result("top"), biff::formula(0, 1, formula_of_range(0, 0), 5),
                      biff::formula(1, 0, Tokens().ref(0, 0).str("top").op(0x0B).v(), 1)}};  // =A1="top"
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(text_at(0, 0, 0), "top");
    EXPECT_EQ(number_at(0, 0, 1), 5);
    EXPECT_EQ(notes.unconverted_formulas, 2);
    recalculate();
    EXPECT_EQ(number_at(0, 1, 0), 1);
}

TEST_F(ExcelTest, ASharedFormulaKeepsTheTextResultOfItsFirstCell) {
    std::vector<uint8_t> shared = Body().u8(0x2C).u16(0).u16(uint16_t(0xC000 | 0xFF)).u8(0x17).u8(1).u8(0).raw("x")
                                      .u8(0x08).v;  // =A1&"x" by offsets
    Record shrfmla{0x04BC, Body().u16(0).u16(1).u8(1).u8(1).u16(0).u16(uint16_t(shared.size())).raw(shared).v};
    Sheet sheet{"S", {{0x0204, Body().cell(0, 0).text8("a").v},
                      biff::formula_marked(0, 1, formula_of_range(0, 1), 0, 0), shrfmla, string_result("ax")}};
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(formula_at(0, 0, 1), "=A1&\"x\"");
    EXPECT_EQ(text_at(0, 0, 1), "ax");  // before any recalculation
}

// ---- The function map ----------------------------------------------------------

// The Excel functions this program has under the same name, and how far
// their calls are converted: every call, up to a number of arguments, or
// none (-1), checked against the definitions of this program's functions.
constexpr int kEveryCall = 255;
const std::map<std::string, int> kConvertedCalls = {
    {"CELL", -1}, {"FIXED", -1}, {"YEN", -1}, {"DOLLAR", 2}, {"INDIRECT", 2},
};
const std::set<std::string> kSameMeaning = {
    "COUNT", "IF", "ISNA", "ISERROR", "SUM", "AVERAGE", "MIN", "MAX", "ROW", "COLUMN", "NA", "NPV", "STDEV",
    "SIN", "COS", "TAN", "ATAN", "PI", "SQRT", "EXP", "LN", "LOG10", "ABS", "INT", "SIGN", "ROUND", "LOOKUP",
    "INDEX", "REPT", "MID", "LEN", "TRUE", "FALSE", "AND", "OR", "NOT", "MOD", "VAR", "IRR", "RAND", "DATE",
    "TIME", "DAY", "MONTH", "YEAR", "WEEKDAY", "HOUR", "MINUTE", "SECOND", "NOW", "ROWS", "COLUMNS", "OFFSET",
    "SEARCH", "TYPE", "ATAN2", "ASIN", "ACOS", "CHOOSE", "HLOOKUP", "VLOOKUP", "LOG", "CHAR", "LOWER", "UPPER",
    "PROPER", "LEFT", "RIGHT", "EXACT", "TRIM", "REPLACE", "SUBSTITUTE", "CODE", "FIND", "ISERR", "ISTEXT",
    "ISNUMBER", "ISBLANK", "T", "N", "DATEVALUE", "SLN", "SYD", "DDB", "CLEAN", "COUNTA", "PRODUCT", "FACT",
    "ISNONTEXT", "TRUNC", "FINDB", "SEARCHB", "REPLACEB", "LEFTB", "RIGHTB", "MIDB", "LENB", "ROUNDUP",
    "ROUNDDOWN", "RANK", "ADDRESS", "DAYS360", "TODAY", "MEDIAN", "SINH", "COSH", "TANH", "ASINH", "ACOSH",
    "ATANH", "DB", "GAMMALN", "COMBIN", "EVEN", "FLOOR", "CEILING", "ODD", "PERMUT", "SUMSQ", "CONCATENATE",
    "POWER", "RADIANS", "DEGREES", "SUMIF", "COUNTIF", "TIMEVALUE", "PV", "FV", "PMT",
};

bool is_own_function(const std::string& name) {
    unsigned char pascal[32];
    pascal[0] = uint8_t(name.size());
    name.copy(reinterpret_cast<char*>(pascal + 1), name.size());
    return name.size() < 31 && function_number_of(pascal) != 0;
}

class ExcelFunctionMap : public ExcelTest {
protected:
    // Whether a call of the function at `index` with `count` number arguments converts.
    bool converts(uint16_t index, int fixed, int count) {
        Tokens tokens;
        for (int i = 0; i < count; ++i) tokens.integer(uint16_t(i + 1));
        fixed < 0 ? tokens.funcvar(index, uint8_t(count)) : tokens.func(index);
        ExcelBook book;
        std::vector<int> layers{0};
        FormulaContext context;
        context.book = &book;
        context.sheet = 0;
        context.layer_of_sheet = &layers;
        std::vector<uint8_t> bytes = tokens.v();
        return !excel_formula_text(bytes.data(), bytes.size(), context).text.empty();
    }
};

TEST_F(ExcelFunctionMap, EveryMappedNameConvertsOnlyWhereItsMeaningIsOurs) {
    int mapped = 0;
    for (uint16_t index = 0; index < 1024; ++index) {
        int fixed = 0;
        const char* found = excel_function_name(index, &fixed);
        if (!found) continue;
        ++mapped;
        std::string name = found;
        bool ours = is_own_function(name);
        EXPECT_EQ(ours, kSameMeaning.count(name) + kConvertedCalls.count(name) == 1) << name << " is not audited";
        int most = !ours ? -1 : kConvertedCalls.count(name) ? kConvertedCalls.at(name) : kEveryCall;
        std::vector<int> counts = fixed >= 0 ? std::vector<int>{fixed} : std::vector<int>{1, 2, 3, 4, 5};
        for (int count : counts) EXPECT_EQ(converts(index, fixed, count), count <= most) << name << "/" << count;
    }
    EXPECT_GT(mapped, 200);
}

// Calls that convert give the values Excel calculated for them.
TEST_F(ExcelFunctionMap, ConvertedCallsGiveExcelsValues) {
    struct Case {
        Tokens tokens;
        double excel;
    };
    auto call = [](uint16_t index, std::initializer_list<double> arguments) {
        Tokens tokens;
        for (double argument : arguments) tokens.num(argument);
        return tokens.funcvar(index, uint8_t(arguments.size()));
    };
    std::vector<Case> cases = {
        {call(27, {2.5, 0}), 3},                    {call(213, {-2.7, 0}), -2},
        {call(212, {2.1, 0}), 3},                   {call(197, {-2.7}), -2},
        {call(39, {-7, 3}), 2},                     {call(25, {-2.5}), -3},
        {call(57, {0.1, 2, -100}), 210},            {call(56, {0.1, 2, -100}), 173.55371900826447},
        {call(59, {0.1, 2, 1000}), -576.19047619047619},  {call(11, {0.1, 100, 100}), 173.55371900826447},
        {call(142, {1000, 100, 5}), 180},           {call(143, {1000, 100, 5, 1}), 300},
        {call(144, {1000, 100, 5, 1}), 400},        {call(247, {1000, 100, 5, 1}), 369},
        {call(285, {7, 2}), 6},                     {call(288, {7, 2}), 8},
        {call(298, {2}), 3},                        {call(279, {3}), 4},
        {call(97, {1, 1}), 0.78539816339744828},    {call(276, {5, 2}), 10},
        {call(299, {5, 2}), 20},                    {call(184, {5}), 120},
        {call(70, {45366}), 6},                     {call(69, {45366}), 2024},
        {call(65, {2024, 3, 15}), 45366},           {call(66, {18, 0, 0}), 0.75},
        {call(220, {45292, 45366}), 74},            {call(321, {3, 4}), 25},
        {call(337, {2, 10}), 1024},                 {call(183, {2, 3, 4}), 24},
        {call(5, {1, 2, 3, 4}), 2.5},               {call(227, {4, 1, 3, 2}), 2.5},
        {call(12, {1, 2, 3, 4}), 1.2909944487358056}, {call(46, {1, 2, 3, 4}), 1.6666666666666667},
        {call(109, {100, 10}), 2},                  {call(271, {4}), 1.791759469228055},
        {Tokens().str("abcb").func(32), 4},
        {Tokens().str("b").str("abcb").integer(3).funcvar(124, 3), 4},
        {Tokens().str("B").str("abcb").funcvar(82, 2), 2},
        {call(57, {0.1, 2, -100, -1000}), 1420},    {call(57, {0.1, 2, -100, -1000, 1}), 1441},
        {call(56, {0.1, 2, -100, 1000}), -652.89256198347107},
        {call(56, {0.1, 2, -100, 1000, 1}), -635.53719008264461},
        {call(59, {0.1, 2, 1000, 100}), -623.80952380952385},
        {call(59, {0.1, 2, 1000, 100, 1}), -567.09956709956714},
        {Tokens().str("14:20").func(141), 0.59722222222222221},
    };
    Sheet sheet{"F", {}};
    for (size_t i = 0; i < cases.size(); ++i)  // a stored result only recalculation replaces
        sheet.records.push_back(biff::formula(uint16_t(i), 0, cases[i].tokens.v(), -12345));
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(notes.unconverted_formulas, 0);
    recalculate();
    for (size_t i = 0; i < cases.size(); ++i) {
        double excel = cases[i].excel;
        EXPECT_NEAR(number_at(0, int16_t(i), 0), excel, 1e-12 * std::max(1.0, std::fabs(excel)))
            << formula_at(0, int16_t(i), 0);
    }
}

// A call whose meaning differs keeps Excel's value, text included.
TEST_F(ExcelFunctionMap, CallsOfAnotherMeaningKeepExcelsValues) {
    std::vector<uint8_t> cell_format = Tokens().str("format").ref(11, 0).funcvar(125, 2).v();
    std::vector<uint8_t> fixed = Tokens().num(1234.5).integer(1).funcvar(14, 2).v();
    std::vector<uint8_t> r1c1 = Tokens().str("R1C3").op(0x1D).op(0).funcvar(148, 2).v();  // INDIRECT("R1C3", FALSE)
    // DOLLAR of a number that may be negative: Excel puts it in parentheses.
    std::vector<uint8_t> dollar = Tokens().ref(0, 2).integer(1).funcvar(13, 2).v();
    Sheet sheet{"F", {biff::formula_marked(0, 0, cell_format, 0, 0), string_result("P2"),
                      biff::formula_marked(1, 0, fixed, 0, 0), string_result("1,234.5"),
                      biff::formula(2, 0, r1c1, 7), biff::number(0, 2, -8),
                      biff::formula_marked(3, 0, dollar, 0, 0), string_result("($8.0)")}};
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(notes.unconverted_formulas, 4);
    recalculate();
    EXPECT_EQ(text_at(0, 0, 0), "P2");
    EXPECT_EQ(text_at(0, 1, 0), "1,234.5");
    EXPECT_EQ(number_at(0, 2, 0), 7);
    EXPECT_EQ(text_at(0, 3, 0), "($8.0)");
}

// DOLLAR and INDIRECT calls whose Excel meaning this program's functions
// have once their arguments say it convert, and give the values Excel stored.
TEST_F(ExcelFunctionMap, CallsThatMeanTheSameWithTheirArgumentsConvert) {
    auto dollar = [](double x, std::initializer_list<uint16_t> digits) {
        Tokens tokens;
        tokens.num(x);
        for (uint16_t d : digits) tokens.integer(d);
        return tokens.funcvar(13, uint8_t(1 + digits.size())).v();
    };
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> texts = {
        {dollar(1234.5, {1}), "$1,234.5"}, {dollar(1234.5, {}), "$1,234.50"}, {dollar(12.5, {1}), "$12.5"},
    };
    Sheet sheet{"F", {biff::number(0, 2, 8)}};
    for (size_t i = 0; i < texts.size(); ++i) {
        sheet.records.push_back(biff::formula_marked(uint16_t(i), 0, texts[i].first, 0, 0));
        sheet.records.push_back(string_result("stored"));
    }
    const uint16_t indirect_row = uint16_t(texts.size());
    sheet.records.push_back(biff::formula(indirect_row, 0, Tokens().str("C1").op(0x1D).op(1).funcvar(148, 2).v(), 8));
    sheet.records.push_back(biff::formula(indirect_row + 1, 0, Tokens().str("C1").integer(1).funcvar(148, 2).v(), 8));
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(notes.unconverted_formulas, 0);
    EXPECT_EQ(formula_at(0, 0, 0), "=DOLLAR(1234.5,1,1)");
    EXPECT_EQ(formula_at(0, int16_t(indirect_row), 0), "=INDIRECT(\"C1\")");
    recalculate();
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(text_at(0, int16_t(i), 0), texts[i].second) << i;
    EXPECT_EQ(number_at(0, int16_t(indirect_row), 0), 8);
    EXPECT_EQ(number_at(0, int16_t(indirect_row + 1), 0), 8);
}

}  // namespace
