// The table of worksheet functions: every row complete and in number order,
// and every name typed, stored by its number and shown again.
#include <string>

#include "model/compiled_formula.h"
#include "formula/formula_text.h"
#include "formula/function_table.h"
#include "formula/parser.h"
#include "formula_fixture.h"
#include "model/calc_globals.h"

namespace {

class FunctionTable : public FormulaTest {
protected:
    std::string shown(const std::vector<uint8_t>& bytes) {
        MemoryRef text = Interpret(0, bytes.data(), bytes.data() + bytes.size(), layer, nullptr);
        auto out = bytes_of(text);
        DisposeMemory(text);
        return std::string(out.begin(), out.end());
    }
};

// The shortest call the parser accepts: references where references are due.
std::string shortest_call(const WorksheetFunction& row) {
    std::string call = row.name;
    if (row.arity.max == 0) return call;
    call += "(";
    int count = row.arity.min > 0 ? row.arity.min : 1;
    for (int i = 0; i < count; ++i) call += std::string(i ? "," : "") + (row.arity.reference_argument(i) ? "A1" : "1");
    return call + ")";
}

TEST(FunctionRows, EveryRowIsCompleteAndInNumberOrder) {
    auto rows = worksheet_functions();
    ASSERT_EQ(rows.size(), size_t(kFunctionCount));
    int unnamed = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const WorksheetFunction& row = rows[i];
        EXPECT_EQ(row.number, int(i + 1));
        EXPECT_EQ(worksheet_function(row.number), &row);
        std::string name = row.name;
        EXPECT_LE(name.size(), size_t(kFunctionNameSize - 1)) << name;
        // A name and a routine come together: a slot without one is passed over.
        EXPECT_EQ(name.empty(), row.evaluate == nullptr) << row.number;
        unnamed += name.empty();
        EXPECT_LE(row.arity.min, row.arity.max) << name;
        EXPECT_TRUE(row.entry_kind == 0 || row.entry_kind == kKindDateFormula || row.entry_kind == kKindTimeFormula);
    }
    EXPECT_EQ(unnamed, 1);
    EXPECT_EQ(worksheet_function(0), nullptr);
    EXPECT_EQ(worksheet_function(kFunctionCount + 1), nullptr);
}

TEST_F(FunctionTable, EveryNameRoundTripsThroughItsNumber) {
    for (const WorksheetFunction& row : worksheet_functions()) {
        std::string name = row.name;
        EXPECT_EQ(text_of(function_name(row.number)), name) << "the bundle's name list spells row " << row.number;
        if (name.empty()) continue;
        unsigned char typed[kFunctionNameSize];
        pstr(typed, name);
        EXPECT_EQ(function_number_of(typed), row.number) << name;

        std::string formula = "=" + shortest_call(row);
        Parsed parsed = parse(formula);
        ASSERT_EQ(parsed.result, 0) << formula;
        ASSERT_GE(parsed.bytes.size(), 3u);
        EXPECT_EQ(parsed.bytes[1], kTokFunction) << formula;  // after the "="
        EXPECT_EQ(parsed.bytes[2], row.number) << formula;
        EXPECT_EQ(shown(parsed.bytes), formula);
    }
}

}  // namespace
