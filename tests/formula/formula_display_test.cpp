// Formulas shown by the "f" display format: the stored formula written back
// as text, which parses to the same stored bytes.
#include <string>

#include "model/display_text.h"
#include "recalc_fixture.h"

namespace {

class FormulaDisplayTest : public RecalcTest {
protected:
    std::string shown(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        EXPECT_TRUE(get_cell_ptr(&cell, &length, CellPoint{row, column}, layer));
        CellInfoRecord info{};
        std::memcpy(info.format.bytes, cell, kCellFormatSize);
        info.format.bytes[kFmtCode] = kFormatShowFormula;
        info.cell = cell;
        info.where = CellPoint{row, column};
        info.layer = layer;
        info.memory = &mem_globals;
        CellString(&info);
        EXPECT_EQ(info.format.bytes[kFmtCellType], kCellText);
        return text_of(info.text);
    }
};

TEST_F(FormulaDisplayTest, ShownFormulasParseBackToTheSameBytes) {
    const char* formulas[] = {"=SUM(A1:B2)*2", "=$A$1+B$3-$C4", "=IF(A1>2,\"big\",\"small\")", "=2:A1+$1:$B$2",
                              "=ROW(D7)", "=ROUND(1.25,1)"};
    int16_t row = 10;
    for (const char* typed : formulas) {
        put_formula(row, 3, typed);
        std::string text = shown(row, 3);
        EXPECT_EQ(text, typed);
        Parsed again = parse(text, CellPoint{row, 3});
        Parsed first = parse(typed, CellPoint{row, 3});
        EXPECT_EQ(again.bytes, first.bytes) << typed;
        ++row;
    }
}

TEST_F(FormulaDisplayTest, TextResultsShowUnlessFormulasAreAsked) {
    put_formula(0, 0, "=\"ab\"&\"cd\"");
    calculate_now();
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer));
    CellInfoRecord info{};
    std::memcpy(info.format.bytes, cell, kCellFormatSize);
    info.cell = cell;
    info.layer = layer;
    CellString(&info);
    EXPECT_EQ(text_of(info.text), "abcd");
    EXPECT_EQ(info.text_length, 4);
    EXPECT_EQ(shown(0, 0), "=\"ab\"&\"cd\"");
}

}  // namespace
