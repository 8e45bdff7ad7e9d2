// Decoded formula programs: which stored formulas decode, that a program's
// result is the evaluator's to the bit whatever the cells it reads hold, and
// that a pass finishing the layer on its own does so only when nothing it
// read could still change.
#include <cstring>
#include <string>
#include <vector>

#include "formula/cell_values.h"
#include "formula/evaluator.h"
#include "formula/formula_program.h"
#include "recalc_fixture.h"

namespace {

class FormulaProgramTest : public RecalcTest {
protected:
    void SetUp() override {
        RecalcTest::SetUp();
        forget_formula_programs();
    }

    bool decodes(const std::string& text) {
        Parsed parsed = parse(text, CellPoint{5, 5});
        EXPECT_EQ(parsed.result, 0) << text;
        return has_formula_program(parsed.bytes.data(), int32_t(parsed.bytes.size()));
    }

    // The bits of the evaluator's value for the formula stored at a cell.
    uint64_t evaluated_bits(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer)) {
            ADD_FAILURE() << "no cell at " << row << "," << column;
            return 0;
        }
        std::vector<uint8_t> formula(_formulaPtr_(cell), _formulaPtr_(cell) + _formulaLength_(cell));
        g_calcSheet = layer;
        g_calcWork = GetWorkSheet(layer);
        g_calcCell = CellPoint{row, column};
        Calculate(formula.data(), int32_t(formula.size()));
        EXPECT_EQ(g_resultType, kValueNumber);
        g_calcSheet = nullptr;
        g_calcWork = nullptr;
        return bits(g_value);
    }

    uint64_t stored_bits(int16_t row, int16_t column) { return bits(result(row, column)); }

    static uint64_t bits(double value) {
        uint64_t out = 0;
        std::memcpy(&out, &value, sizeof out);
        return out;
    }

    // Row 0 holds what the formulas read: numbers, an empty cell, a text, a
    // number text, an error, a negative zero and a formula result.
    void put_operands() {
        put_number(0, 0, 3);
        // (0, 1) stays empty
        put_text(0, 2, "abc");
        put_text(0, 3, "12");
        put_formula(0, 4, "=1/0");
        put_number(0, 5, -0.0);
        put_formula(0, 6, "=2.5*2");
        put_number(1, 0, 1e300);
        put_number(1, 1, -7);
    }
};

TEST_F(FormulaProgramTest, ArithmeticAndSumsOfTheLayerDecodeAndAllElseIsLeftToTheEvaluator) {
    for (const char* text : {"=A1+1", "=-A1", "=2*-A1^2", "=(A1-B1)/C1", "=2^-A1", "=SUM(A1:B3)",
                             "=SUM(A1,B2:C3,$D$4)*2", "=-2^2+A1", "=A1-1.5E3"})
        EXPECT_TRUE(decodes(text)) << text;
    // A lone value keeps its own type; texts, joins, comparisons, percentages,
    // other functions and SUM of anything but references are the evaluator's.
    for (const char* text : {"=A1", "=5", "=-5", "=(A1)", "=A1&B1", "=A1<B1", "=A1%", "=\"1\"+A1", "=MAX(A1:B2)",
                             "=SUM(A1:B2,1)", "=SUM(A1+1)", "=IF(A1,1,2)"})
        EXPECT_FALSE(decodes(text)) << text;
}

// Every formula's program comes to the evaluator's bits: signs bound as the
// evaluator binds them, empty cells, texts (a number text and one that is
// none), errors on either side, overflow and a negative zero.
TEST_F(FormulaProgramTest, ProgramsComeToTheEvaluatorsBitsWhateverTheCellsHold) {
    put_operands();
    const std::vector<std::string> formulas = {
        "=A1+1",           "=-A1*2",      "=-2^3+A1*0",    "=-3-A1",         "=2*-A1^2",    "=2^-A1",
        "=A1^-2^2",        "=B1*5+1",     "=C1+1",         "=D1*2",          "=E1+A1",      "=A1+E1",
        "=E1*0+G1",        "=F1*1",       "=-F1+0",        "=A2*A2",         "=A2*-A2",     "=B2/B1",
        "=(A1-B2)/(B1+0)", "=SUM(A1:G1)", "=SUM(A1:B2)+1", "=SUM(B1,C1,D1)", "=SUM(E1:G1)", "=SUM(A1:A2,F1)",
        "=-SUM(B2:G2)",    "=SUM(C1:D1)", "=1-2-3*4/5^2",  "=A1/0",          "=(((A1)))-1",
    };
    for (size_t i = 0; i < formulas.size(); ++i) put_formula(int16_t(3 + i), 0, formulas[i]);
    calculate_now();
    for (size_t i = 0; i < formulas.size(); ++i)
        EXPECT_EQ(stored_bits(int16_t(3 + i), 0), evaluated_bits(int16_t(3 + i), 0)) << formulas[i];
}

// A formula reading a formula cell after its own (a cell, a range, itself
// in a range is a circle) cannot be final after the first pass: the passes
// after it bring it to its value.
TEST_F(FormulaProgramTest, FormulasReadingLaterFormulaCellsComeToTheirValues) {
    put_formula(0, 0, "=B1+1");        // B1 comes after it in the same row
    put_formula(0, 1, "=A2*2");        // A2 is a row further down
    put_formula(1, 0, "=SUM(B2:C3)");  // the range holds formulas still to come
    put_formula(1, 1, "=C3+0.5");
    put_formula(2, 2, "=D3-1");
    put_number(2, 3, 10);
    calculate_now();
    EXPECT_EQ(result(2, 2), 9);
    EXPECT_EQ(result(1, 1), 9.5);
    EXPECT_EQ(result(1, 0), 18.5);
    EXPECT_EQ(result(0, 1), 37);
    EXPECT_EQ(result(0, 0), 38);
}

// Formulas that read only cells before their own are final after one pass:
// the layer is finished at once, with the values every pass would confirm,
// and a changed formula (other bytes, another program) is followed.
TEST_F(FormulaProgramTest, APassReadingOnlyEarlierCellsFinishesTheLayer) {
    put_number(0, 0, 1);
    for (int16_t row = 1; row < 50; ++row) put_formula(row, 0, "=A" + std::to_string(row) + "*2+1");
    put_formula(50, 0, "=SUM(A1:A50)");
    calculate_now();
    EXPECT_EQ(GetSpreadSheetCalcCycle(layer), kCycleDone);
    EXPECT_EQ(result(49, 0), std::pow(2.0, 50) - 1);
    EXPECT_EQ(result(50, 0), std::pow(2.0, 51) - 52);
    put_formula(10, 0, "=A10-1");
    calculate_now();
    EXPECT_EQ(result(10, 0), std::pow(2.0, 10) - 2);
    EXPECT_EQ(result(11, 0), std::pow(2.0, 11) - 3);
}

// Formulas that read only cells after their own (an upward chain) are final
// after the pass from the bottom up; one that reads a cell before its own is
// calculated in that pass ahead of what it reads, and the passes after it
// bring it to its value.
TEST_F(FormulaProgramTest, APassFromTheBottomUpFinishesTheLayerOnlyWhenItReadNothingBefore) {
    for (int16_t row = 0; row < 3; ++row) put_formula(row, 0, "=A" + std::to_string(row + 2) + "+1");
    put_number(3, 0, 1);
    calculate_now();
    EXPECT_EQ(GetSpreadSheetCalcCycle(layer), kCycleDone);
    EXPECT_EQ(result(0, 0), 4);
    put_formula(3, 1, "=A1*10");
    calculate_now();
    EXPECT_EQ(result(0, 0), 4);
    EXPECT_EQ(result(3, 1), 40);
    put_number(3, 0, 5);
    calculate_now();
    EXPECT_EQ(result(0, 0), 8);
    EXPECT_EQ(result(3, 1), 80);
}

// A recalculation started at a cell past the first does not cover the cells
// before it: the passes after it still do.
TEST_F(FormulaProgramTest, APassStartedPastTheFirstCellLeavesTheEarlierCellsToTheNextPasses) {
    put_formula(0, 0, "=1+1");
    put_formula(3, 0, "=A1*3");
    ResetCalc(CellPoint{2, 0}, window());
    run_until_rest();
    EXPECT_EQ(result(0, 0), 2);
    EXPECT_EQ(result(3, 0), 6);
}

}  // namespace
