// Formula cells of Excel workbooks that keep Excel's values: array formulas,
// text results that follow the records of a shared formula, and functions
// whose Excel meaning differs from this program's function of that name.
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
    Sheet sheet{"S", {{0x0204, Body().cell(0, 0).text8("a").v}, biff::formula_marked(0, 1, formula_of_range(0, 1), 0, 0),
                      shrfmla, string_result("ax")}};
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(formula_at(0, 0, 1), "=A1&\"x\"");
    EXPECT_EQ(text_at(0, 0, 1), "ax");  // before any recalculation
}

}  // namespace
