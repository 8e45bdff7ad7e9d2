#include <cfenv>
#include <cmath>

#include "formula/cell_values.h"
#include "formula_fixture.h"
#include "model/date_serials.h"

namespace {

using Evaluator = FormulaTest;

TEST_F(Evaluator, OperatorsAndPrecedence) {
    EXPECT_EQ(number("=1+2*3"), 7);
    EXPECT_EQ(number("=(1+2)*3"), 9);
    EXPECT_EQ(number("=-2^2"), 4);
    EXPECT_EQ(number("=-(2)^2"), -4);
    EXPECT_EQ(number("=2^3^2"), 64);
    EXPECT_EQ(number("=2^-1"), 0.5);
    EXPECT_EQ(number("=2*-3"), -6);
    EXPECT_EQ(number("=10-4-3"), 3);
    EXPECT_EQ(number("=12/4/3"), 1);
    EXPECT_EQ(number("=50%"), 0.5);
    EXPECT_EQ(number("=(1+1)%"), 0.02);
    EXPECT_EQ(number("=1.5E3+.5"), 1500.5);
    put_number(0, 0, 3);
    EXPECT_EQ(number("=-A1^2", {5, 5}), -9);
}

TEST_F(Evaluator, ComparisonsNeverYieldErrors) {
    EXPECT_EQ(number("=1<\"a\""), 1);
    EXPECT_EQ(number("=\"b\">\"a\""), 1);
    EXPECT_EQ(number("=1=\"1\""), 0);
    EXPECT_EQ(number("=1<>\"1\""), 1);
    EXPECT_EQ(number("=0/0=0/0"), 0);
    EXPECT_EQ(number("=1/0=1/0"), 1);
    EXPECT_EQ(number("=1/0<>1"), 1);
    EXPECT_EQ(number("=NA()<1"), 0);
    EXPECT_EQ(number("=2>=2"), 1);
    EXPECT_EQ(number("=1=1&\"\""), 0);  // 1 = (1 & "") compares a number with a text
}

TEST_F(Evaluator, TextIsCoercedWhereNumbersAreNeeded) {
    EXPECT_EQ(number("=\"3\"+1"), 4);
    EXPECT_EQ(error_of("=\"abc\"+1"), kErrTextValue);
    EXPECT_EQ(error_of("=\"\"+1"), kErrTextValue);
    EXPECT_EQ(number("=\"1/2/1904\"+0"), 1.0);
    put_text(0, 0, "12");
    put_text(0, 1, "abc");
    Value v = eval("=A1", {3, 3});
    EXPECT_EQ(v.type, kValueText);
    EXPECT_EQ(v.text, "12");
    EXPECT_EQ(number("=A1*2", {3, 3}), 24);
    EXPECT_EQ(error_of("=B1*2"), kErrTextValue);
}

TEST_F(Evaluator, ConcatenationMakesText) {
    EXPECT_EQ(text("=\"a\"&1"), "a1");
    EXPECT_EQ(text("=1&2"), "12");
    EXPECT_EQ(text("=0.5&\"\""), "0.5");
    EXPECT_EQ(error_of("=1/0&\"x\""), kErrDivZero);
    EXPECT_EQ(error_of("=\"x\"&1/0"), kErrDivZero);
    // An error on the left stops the whole formula, even inside a test of errors.
    EXPECT_EQ(error_of("=ISERROR((1/0)&\"x\")"), kErrDivZero);
    EXPECT_EQ(text("=\"x\"&A9"), "x");  // an empty cell joins as nothing
}

TEST_F(Evaluator, TheLeftErrorWinsWhenBothOperandsAreErrors) {
    for (const char* op : {"+", "-", "*", "/", "^"}) {
        EXPECT_EQ(error_of(std::string("=NA()") + op + "ERR()"), kErrNA) << op;
        EXPECT_EQ(error_of(std::string("=ERR()") + op + "NA()"), kErrValue) << op;
        EXPECT_EQ(error_of(std::string("=\"x\"") + op + "NA()"), kErrTextValue) << op;
    }
    // pow(1, NaN) would be 1 and pow(NaN, 0) 1: the error stays.
    EXPECT_EQ(error_of("=1^NA()"), kErrNA);
    EXPECT_EQ(error_of("=NA()^0"), kErrNA);
}

TEST_F(Evaluator, InfinitiesAreErrorsAndSubnormalsNumbers) {
    EXPECT_EQ(error_of("=1/0"), kErrDivZero);
    EXPECT_EQ(error_of("=1E308*10"), kErrDivZero);
    EXPECT_EQ(number("=1E-310"), 1e-310);
    EXPECT_EQ(number("=1E-300/1E10"), 1e-310);
    EXPECT_EQ(number("=EXP(-710)"), std::exp(-710.0));
    EXPECT_EQ(number("=EXP(-746)"), 0);
    EXPECT_EQ(error_of("=EXP(11357)"), kErrValue);
}

TEST_F(Evaluator, ReferencesReadTheirCells) {
    put_number(0, 0, 1);
    put_number(1, 0, 2);
    put_formula_result(2, 0, 40);
    put_cell(3, 0, kCellFormula, Bytes().s("=I").i16(0).v, {}, 0);  // not calculated yet
    EXPECT_EQ(number("=A1+A2+A3", {9, 9}), 43);
    EXPECT_EQ(number("=A4+1", {9, 9}), 1);
    Value empty = eval("=Z99");
    EXPECT_EQ(empty.number, 0);
    EXPECT_EQ(empty.type, kValueEmpty);
    // A relative reference that has left the sheet.
    auto stored = parse("=A1", {1, 1}).bytes;
    EXPECT_EQ(calculate(stored, {0, 0}).error(), kErrRef);
    EXPECT_EQ(calculate(stored, {2, 1}).number, 2);  // the same bytes one row down read A2
}

TEST_F(Evaluator, NamesAreLookedUpAtEveryEvaluation) {
    put_number(0, 0, 5);
    put_number(1, 1, 7);
    define_name("Rate", {{0, 0}, {0, 0}});
    auto stored = parse("=RATE*2", {4, 4}).bytes;
    EXPECT_EQ(calculate(stored, {4, 4}).number, 10);
    uint8_t* record = static_cast<uint8_t*>(UseMemory(Get_rangeinfo(layer)));
    unsigned char name[32];
    pstr(name, "Rate");
    set_named_range(record, name, {{1, 1}, {1, 1}});
    UnuseMemory(Get_rangeinfo(layer));
    EXPECT_EQ(calculate(stored, {4, 4}).number, 14);
    Set_rangeinfo(layer, nullptr);
    EXPECT_EQ(calculate(stored, {4, 4}).error(), kErrRef);
}

TEST_F(Evaluator, LayersAndDeletedLayers) {
    MemoryRef second = add_layer(workbook);
    ASSERT_NE(second, nullptr);
    put_number(0, 0, 8, second);
    EXPECT_EQ(number("=2:A1+1"), 9);
    EXPECT_EQ(eval("=5:A1").number, 0);  // a layer the workbook does not have reads empty
    auto stored = parse("=2:A1").bytes;
    // The deletion rewrite: both-relative layers land on layer 65534.
    std::vector<uint8_t> deleted = stored;
    store_i16(deleted.data() + 4, int16_t(65534));
    store_i16(deleted.data() + 6, int16_t(65534));
    EXPECT_EQ(calculate(deleted).error(), kErrRef);
}

TEST_F(Evaluator, SumsOverRangesAndLists) {
    put_number(0, 0, 1);
    put_number(1, 0, 2);
    put_text(2, 0, "7");
    EXPECT_EQ(number("=SUMSQ(2,A1:A2)", {5, 5}), 9);
    EXPECT_EQ(number("=SUM(A1:A3)", {5, 5}), 10);  // a text that spells a number counts in a range
    EXPECT_EQ(number("=SUM(A1:A2,\"5\",10)", {5, 5}), 13);  // a text argument adds nothing
    EXPECT_EQ(number("=PRODUCT(A1:A2,3)", {5, 5}), 6);
    EXPECT_EQ(number("=SUM(1,,2)"), 3);  // the empty argument is empty, not the one before
    put_number(3, 0, NAN);
    EXPECT_EQ(error_of("=SUM(A1:A4)"), kErrDivZero);
    EXPECT_EQ(number("=SUM(C1:C5)"), 0);
    EXPECT_EQ(number("=PRODUCT(C1:C5)"), 1);
}

TEST_F(Evaluator, FunctionsComputedInline) {
    EXPECT_EQ(number("=INT(-1.5)"), -2);
    EXPECT_EQ(number("=ABS(-3)"), 3);
    EXPECT_EQ(number("=MOD(-7,3)"), 2);
    EXPECT_EQ(error_of("=MOD(1,0)"), kErrDivZero);
    EXPECT_NEAR(number("=PI"), 3.14159265358979, 1e-14);
    EXPECT_EQ(error_of("=SIN(134217728)"), kErrNum);
    EXPECT_EQ(error_of("=SQRT(-1)"), kErrNum);
    EXPECT_EQ(number("=SIGN(-0.1)"), -1);
    EXPECT_EQ(number("=NOT(0)"), 1);
    EXPECT_EQ(number("=ISNA(NA())") + number("=ISERROR(ERR())") + number("=ISERR(NA())"), 2);
    EXPECT_EQ(number("=ISERR(\"x\")"), 0);
    EXPECT_EQ(number("=ISBLANK(Z9)"), 1);
    EXPECT_EQ(number("=ISNUMBER(1/0)"), 0);
    EXPECT_EQ(number("=ISTEXT(\"x\")"), 1);
    EXPECT_EQ(number("=TYPE(\"x\")") * 100 + number("=TYPE(NA())"), 216);
    EXPECT_EQ(number("=LOG(8,2)"), 3);
    EXPECT_EQ(error_of("=LOG(8,0)"), kErrNum);
    EXPECT_EQ(error_of("=ATANH(2)"), kErrValue);
    EXPECT_EQ(error_of("=GAMMALN(0)"), kErrTextValue);
    EXPECT_EQ(number("=ODD(2)") * 10 + number("=EVEN(-1)"), 28);
    EXPECT_EQ(number("=POWER(2,10)"), 1024);
    EXPECT_EQ(number("=NARGS(1,\"a\",A1)"), 3);
    EXPECT_EQ(number("=N(\"12\")"), 12);
    EXPECT_EQ(error_of("=N(\"abc\")"), kErrTextValue);
    EXPECT_EQ(number("=CODE(\"A\")"), 65);
    EXPECT_EQ(text("=CHAR(66)"), "B");
    EXPECT_EQ(error_of("=CHAR(300)"), kErrValue);
    EXPECT_EQ(text("=UPPER(\"ab\")&LOWER(\"CD\")"), "ABcd");
    EXPECT_EQ(text("=T(1)&T(\"x\")"), "x");
    EXPECT_EQ(number("=ANNUITY(0,5)"), 5);
    EXPECT_EQ(error_of("=COMPOUND(0,1)"), kErrNum);
}

TEST_F(Evaluator, AnErrorInsideAnArgumentListLetsTheCallReadOn) {
    EXPECT_EQ(number("=NARGS(SQRT(-1),2,3)"), 3);
    EXPECT_EQ(error_of("=SUM(SQRT(-1),2)+1"), kErrNum);
    EXPECT_EQ(number("=ISERROR(SQRT(-1))+1"), 2);
}

TEST_F(Evaluator, PositionsAndSizesOfReferences) {
    EXPECT_EQ(number("=ROW()", {4, 2}), 5);
    EXPECT_EQ(number("=COLUMN()", {4, 2}), 3);
    EXPECT_EQ(number("=ROW(B7:C9)"), 7);
    EXPECT_EQ(number("=COLUMN(C2)"), 3);
    EXPECT_EQ(number("=ROWS(B7:C9)") * 10 + number("=COLUMNS(B7:C9)"), 32);
    EXPECT_EQ(number("=ROWS(A1)"), 1);
}

TEST_F(Evaluator, UnknownFunctionNumbersLeaveTheValue) {
    // 87 and numbers past the table read nothing; the evaluation goes on behind them.
    auto bytes = Bytes().s("=I").i16(5).s("+").b(0xC4).b(87).s("(I").i16(1).s(",\"(\")").v;
    EXPECT_EQ(calculate(bytes).number, 10);
    auto past = Bytes().s("=").b(0xC4).b(200).s("(I").i16(1).s(")*I").i16(2).v;
    EXPECT_EQ(calculate(past).type, kValueNumber);
    // A stored formula cut short never reads past its end and is no number.
    auto cut = Bytes().s("=I").i16(2).s("+@r#").v;
    EXPECT_EQ(calculate(cut).error(), kErrRef);
}

TEST_F(Evaluator, RandomNumbersOnlyInTheFirstCycle) {
    SetSpreadSheetCalcCycle(layer, 1);
    double r = number("=RAND");
    EXPECT_GT(r, 0);
    EXPECT_LT(r, 1);
    EXPECT_EQ(g_AccessError, 0);
    SetSpreadSheetCalcCycle(layer, 2);
    eval("=RAND");
    EXPECT_EQ(g_AccessError, 1);
}

TEST_F(Evaluator, NothingSurvivesIntoTheNextFormula) {
    eval("=\"abc\"");
    Value v = eval("=");
    EXPECT_EQ(v.number, 0);
    EXPECT_EQ(v.type, kValueEmpty);
    EXPECT_EQ(v.text, "");
}

TEST_F(Evaluator, UnitConversion) {
    EXPECT_NEAR(number("=CONVERT(1,\"mi\",\"m\")"), 5280 * 0.30480060960121924, 1e-9);
    EXPECT_NEAR(number("=CONVERT(100,\"C\",\"F\")"), 212, 1e-12);
    EXPECT_NEAR(number("=CONVERT(100,\"c\",\"K\")"), 373.15, 1e-12);
    EXPECT_NEAR(number("=CONVERT(1,\"kl\",\"M3\")"), 1, 1e-12);
    EXPECT_NEAR(number("=CONVERT(2,\"km\",\"m\")"), 2000, 1e-9);
    EXPECT_DOUBLE_EQ(number("=CONVERT(1,\"LBM\",\"g\")"), 16 / 0.03527314285714286);
    EXPECT_EQ(error_of("=CONVERT(1,\"m2\",\"m\")"), kErrNA);
    EXPECT_EQ(error_of("=CONVERT(1,\"yr\",\"day\")"), kErrNA);
    EXPECT_EQ(error_of("=CONVERT(1,\"kC\",\"C\")"), kErrNA);
    EXPECT_EQ(error_of("=CONVERT(1,\"parsec\",\"m\")"), kErrNA);
}

}  // namespace

namespace {

TEST_F(Evaluator, FloatingPointTrapsAreHeldDuringAnEvaluation) {
    feenableexcept(FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID);
    int16_t code = error_of("=1/0+1E308*10+SQRT(-1)");
    int traps = fegetexcept();
    fedisableexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(code, kErrDivZero);
    EXPECT_EQ(traps, FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID);
}

}  // namespace

namespace {

TEST_F(Evaluator, FetchesInAnyOrderFindTheirRowsWithOrWithoutTheRowCache) {
    for (int16_t row = 0; row < 20; row += 2) put_number(row, 0, row);
    for (bool cached : {false, true}) {
        if (cached) CalcRowPtr(layer);
        for (int16_t row : {10, 4, 18, 0, 7, 6, 30})
            EXPECT_EQ(eval("=$A$" + std::to_string(row + 1)).number, row % 2 == 0 && row < 20 ? row : 0)
                << row << (cached ? " cached" : "");
        if (cached) ReleaseCache(layer);
    }
    eval("=$A$11");
    put_number(9, 0, 99);  // a new row before the cursor's
    EXPECT_EQ(eval("=$A$10").number, 99);
    EXPECT_EQ(eval("=$A$11").number, 10);
}

}  // namespace

namespace {

TEST_F(Evaluator, CellValueAnswersOnlyNumbers) {
    put_number(0, 0, 5);
    put_text(0, 1, "12");
    put_formula_result(0, 2, 7);
    double value = -1;
    EXPECT_EQ(CellValue(layer, {0, 0}, &value), 1);
    EXPECT_EQ(value, 5);
    value = -1;
    EXPECT_EQ(CellValue(layer, {0, 1}, &value), 0);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(CellValue(layer, {0, 2}, &value), 1);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(CellValue(layer, {9, 9}, &value), 0);
}

}  // namespace

namespace {

TEST_F(Evaluator, EuropeanSettingsReadAndWriteTheirDecimalComma) {
    use_system_settings(',', '.', ';', '.', 1);
    EXPECT_EQ(number("=1,5*2"), 3);
    EXPECT_EQ(text("=0,5&\"\""), "0,5");
    EXPECT_EQ(number("=\"1,5\"+1"), 2.5);
    EXPECT_EQ(number("=ROUND(2,5;0)+MOD(7;4)"), 6);
}

}  // namespace
