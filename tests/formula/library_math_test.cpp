// Mathematical, logical and lookup functions through typed formulas.
#include "library_fixture.h"

namespace {

using Math = LibraryTest;

TEST_F(Math, Rounding) {
    check_numbers({
        {"=ROUND(2.5)", {3}},
        {"=ROUND(-2.5,0)", {-3}},
        {"=ROUND(0.499999999999999,0)", {1}},
        {"=ROUND(0.49999999999999,0)", {0}},
        {"=ROUND(1.005,2)", {1.01}},
        {"=ROUNDDOWN(15,-1)", {10}},
        {"=ROUNDUP(15,-1)", {20}},
        {"=TRUNC(-3.7)", {-3}},
        {"=ROUND(\"x\",1)", {0, kTValue}},
        {"=ROUND(1,NA())", {0, kNA}},
        {"=CEILING(7,2)", {8}},
        {"=FLOOR(7,2)", {6}},
        {"=CEILING(-7,2)", {0, kNum}},
        {"=FLOOR(0.3,0.1)", {0.3}},
        {"=CEILING(5,0)", {0, kDiv0}},
        {"=ODD(2)", {3}},
        {"=ODD(-2)", {-3}},
        {"=ODD(0)", {1}},
        {"=EVEN(3)", {4}},
        {"=EVEN(-1)", {-2}},
    });
}

TEST_F(Math, RoundingTextForms) {
    Value v = eval("=FIXED(1234.567,2)");
    EXPECT_GT(v.type, 0);
    EXPECT_NE(v.text.find("1234.57"), std::string::npos) << v.text;
    v = eval("=FIXED(NA(),2)");
    EXPECT_EQ(v.error(), kNA);
}

// The text forms show the currency sign of their format and, when asked,
// thousands separators.
TEST_F(Math, RoundingTextFormsCurrencyAndThousands) {
    const struct {
        const char* formula;
        const char* text;
    } cases[] = {
        {"=FIXED(1234.567,1)", "1234.6"},
        {"=FIXED(1234.567,1,1)", "1,234.6"},
        {"=FIXED(-1234567.891,2,1)", "-1,234,567.89"},
        {"=FIXED(1234.567,1,0)", "1234.6"},
        {"=DOLLAR(1234.5,2)", "$1234.50"},
        {"=DOLLAR(1234.5,2,1)", "$1,234.50"},
        {"=DOLLAR(-1234.5,0,1)", "-$1,235"},
        {"=YEN(1234.5)", "\xB4" "1235"},
        {"=YEN(1234567,0,1)", "\xB4" "1,234,567"},
    };
    for (const auto& c : cases) {
        Value v = eval(c.formula);
        EXPECT_GT(v.type, 0) << c.formula;
        EXPECT_EQ(v.text, c.text) << c.formula;
    }
}

TEST_F(Math, FactorialCombinationsAngle) {
    const double pi = 3.14159265358979323846;
    check_numbers({
        {"=FACT(0)", {1}},
        {"=FACT(3.5)", {24}},
        {"=FACT(-1)", {0, kValue}},
        {"=FACT(\"x\")", {0, kValue}},
        {"=COMBIN(5,2)", {10}},
        {"=COMBIN(5,5)", {1}},
        {"=COMBIN(5,0)", {1}},
        {"=PERMUT(5,2)", {20}},
        {"=PERMUT(5,5)", {120}},
        {"=COMBIN(5,6)", {0, kValue}},
        {"=ATAN2(-1,0)", {pi}},
        {"=ATAN2(0,-1)", {-pi / 2}},
        {"=ATAN2(0,0)", {0, kDiv0}},
    });
}

TEST_F(Math, ExtremesCountsAndSums) {
    put_column(0, {1, 5});
    put_text(2, 0, "x");
    put_formula_result(3, 0, N_AN(kNA));
    check_numbers({
        {"=MAX(A1:A2)", {5}},
        {"=MIN(A1:A3,0)", {0}},
        {"=MAX(1,A4,5)", {0, kNA}},
        {"=MAX(\"x\")", {0}},
        {"=COUNT(\"x\",5)", {1}},
        {"=COUNT(\"x\")", {0}},
        {"=COUNT(A1:A4)", {2}},
        {"=COUNTA(A1:A4)", {4}},
        {"=COUNTA(A1:A4,\"y\",3)", {6}},
        {"=SUM(A1:A3,\"x\",2)", {8}},
        {"=SUM(A1:A4)", {0, kNA}},
        {"=PRODUCT(A1:A3,\"x\",2)", {10}},
        {"=SUMSQ(A1:A2,3)", {35}},
    });
}

TEST_F(Math, ConditionalsAndLogic) {
    put_column(0, {1, 0, 2});
    check_numbers({
        {"=IF(1,2,3)", {2}},
        {"=IF(0,2,3)", {3}},
        {"=IF(0,2)", {0}},
        {"=IF(NA(),2,3)", {0, kNA}},
        {"=AND(1,\"x\",0)", {0, kTValue}},
        {"=AND(2,3)", {1}},
        {"=AND(A1:A3)", {0}},
        {"=OR(A1:A3)", {1}},
        {"=OR(0,0)", {0}},
        {"=AND(A10:A12)", {0, kValue}},
        {"=OR(A10:A12,1)", {1}},
        {"=CHOOSE(2.5,10,20,30)", {30}},
        {"=CHOOSE(0,10,20)", {0, kRef}},
    });
    check_texts({{"=IF(1,\"yes\",\"no\")", "yes"}, {"=CHOOSE(2,1,\"b\")", "b"}});
}

TEST_F(Math, CellsByPositionAndAddress) {
    put_column(1, {10, 20, 30});
    put_text(0, 2, "t");
    check_numbers({
        {"=CELL(2,2)", {20}},
        {"=CELL(1,3,2)", {30}},
        {"=CELL(2,\"x\")", {0, kTValue}},
        {"=CELL(0,1)", {0, kRef}},
        {"=CELL(2,1,1)", {0, kRef}},  // no second layer
        {"=INDEX(B1:C3,3,1)", {30}},
        {"=INDEX(B1:C3,4,1)", {0, kRef}},
        {"=INDEX(B1:C3,NA(),1)", {0, kNA}},
        {"=SUM(OFFSET(B1,1,0,2,1))", {50}},
        {"=OFFSET(A1,0,1)", {10}},
        {"=OFFSET(A1,-1,0)", {0, kRef}},
        {"=OFFSET(A1,0,1,NA())", {0, kNA}},
        {"=SUM(OFFSET(B1:B2,1,0))", {50}},
        {"=SUM(OFFSET(B1,0,0,3))", {60}},
        {"=OFFSET(B1,0,0,0)", {0, kRef}},
        {"=OFFSET(5,0,0)", {0, kRef}},
        {"=INDIRECT(\"b2\")", {20}},
        {"=SUM(INDIRECT(\"B1:B3\"))", {60}},  // the whole range, not its first cell
        {"=COUNT(INDIRECT(\"B1:B3\"),1)", {4}},
        {"=MAX(INDIRECT(\"b1:b3\"))", {30}},
        {"=INDIRECT(\"no such\")", {0, kRef}},
        {"=INDIRECT(5)", {0, kRef}},
        {"=ADDRESS(0,1)", {0, kRef}},
        {"=ADDRESS(1,1,1,5)", {0, kTValue}},
    });
    check_texts({
        {"=CELL(1,3)", "t"},
        {"=ADDRESS(2,3)", "$C$2"},
        {"=ADDRESS(2,3,2)", "C$2"},
        {"=ADDRESS(2,3,3)", "$C2"},
        {"=ADDRESS(2,3,4)", "C2"},
        {"=ADDRESS(2,3,1,\"Sheet:\")", "Sheet:$C$2"},
        {"=INDIRECT(\"C1\")", "t"},
    });
}

TEST_F(Math, Lookups) {
    put_column(0, {1, 7, 4, 9});
    put_column(1, {10, 70, 40, 90});
    put_column(3, {1, 4, 7, 2});
    put_column(4, {100, 400, 700, 200});
    put_text(0, 5, "apple");
    put_text(1, 5, "kiwi");
    put_text(2, 5, "pear");
    put_column(6, {1, 2, 3});
    check_numbers({
        {"=VLOOKUP(5,A1:B4,2)", {40}},          // unsorted: the largest below
        {"=VLOOKUP(7,A1:B4,2,0)", {70}},
        {"=VLOOKUP(5,A1:B4,2,0)", {0, kNA}},
        {"=VLOOKUP(0,A1:B4,2)", {0, kNA}},
        {"=VLOOKUP(5,A1:B4,3)", {0, kRef}},
        {"=VLOOKUP(5,A1:B4,0)", {0, kValue}},
        {"=VLOOKUP(\"kiwi\",F1:G3,2,0)", {2}},
        {"=VLOOKUP(\"banana\",F1:G3,2)", {1}},
        {"=HLOOKUP(5,D1:E1,1)", {1}},
        {"=HLOOKUP(0,D1:E1,1)", {0, kNA}},
        {"=LOOKUP(5,D1:D4,E1:E4)", {400}},       // the search stops at 7
        {"=LOOKUP(0,D1:D2)", {0, kNA}},
        {"=LOOKUP(9,D1:E4)", {200}},
        {"=LOOKUP(\"orange\",F1:F3,G1:G3)", {2}},
        {"=LOOKUP(9,D1:D4,E1:E2)", {0, kRef}},   // the offset is past the result range
    });
}

// The searches walk only stored cells: empty and format-only cells, rows
// with cells in other columns only, and a table on another layer.
TEST_F(Math, LookupsPassOverCellsWithoutValues) {
    put_number(1, 0, 2);
    put_cell(2, 0, kCellFormatOnly, {}, {}, 0);
    put_number(3, 0, 6);
    put_number(4, 2, 99);  // beside the table only
    put_number(5, 0, 4);
    for (int16_t row = 0; row < 6; ++row) put_number(row, 1, (row + 1) * 10);
    put_number(0, 5, 3), put_number(0, 7, 8);  // F1 and H1, G1 empty
    MemoryRef second = add_layer(workbook);
    put_number(2, 0, 5, second);
    put_number(2, 1, 55, second);
    check_numbers({
        {"=VLOOKUP(5,A1:B6,2)", {60}},           // the largest below: 4 on row 6
        {"=VLOOKUP(6,A1:B6,2,0)", {40}},
        {"=VLOOKUP(0,A1:B6,2)", {0, kNA}},       // empty cells are not zeros
        {"=HLOOKUP(8,F1:H1,1,0)", {8}},
        {"=HLOOKUP(5,F1:H1,1)", {3}},
        {"=LOOKUP(3,A1:A6,B1:B6)", {20}},        // stops at 6, past the empty first cell
        {"=LOOKUP(1,A1:A6,B1:B6)", {0, kRef}},   // larger than 1, but not the very first cell
        {"=LOOKUP(1,F1:H1)", {0, kNA}},
        {"=VLOOKUP(5,2:A1:B9,2,0)", {55}},
    });
}

TEST_F(Math, ConditionalSumAndCount) {
    put_column(0, {1, 3, 5});
    put_text(3, 0, "x");
    put_column(1, {10, 30, 50, 70});
    check_numbers({
        {"=COUNTIF(A1:A4,\">=3\")", {2}},
        {"=COUNTIF(A1:A4,\"<>3\")", {3}},
        {"=COUNTIF(A1:A4,\"x\")", {1}},
        {"=COUNTIF(A1:A4,\"< 4\")", {2}},
        {"=COUNTIF(A1:A4,3)", {1}},
        {"=COUNTIF(A1:A4,\"a1\")", {1}},        // the criterion names a cell holding 1
        {"=COUNTIF(A1,1)", {1}},
        {"=COUNTIF(A1:A4,NA())", {0}},
        {"=COUNTIF(A1:A4,\"1e999\")", {0, kNum}},
        {"=SUMIF(A1:A4,\">2\",B1:B4)", {80}},
        {"=SUMIF(A1:A4,\">2\",B1)", {80}},       // the sum range takes the criteria's extent
        {"=SUMIF(A1:A4,\"x\",B1:B4)", {70}},
        {"=SUMIF(A1:A4,\">9\",B1:B4)", {0}},
        {"=SUMIF(A1:A4,\">2\",5)", {0, kRef}},
    });
}

TEST_F(Math, EmptyCriterionCountsZeros) {
    put_column(0, {0, 1, 0});
    check_numbers({{"=COUNTIF(A1:A3,B9)", {2}}});
}

}  // namespace

namespace {

TEST_F(Math, FunctionsOverSeveralLayers) {
    MemoryRef second = add_layer(workbook);
    ASSERT_NE(second, nullptr);
    put_column(0, {1, 5});
    put_column(1, {10, 20});
    put_number(0, 0, 5, second);
    put_number(1, 0, 1, second);
    put_number(0, 1, 30, second);
    put_number(1, 1, 40, second);
    check_numbers({
        {"=CELL(2,1,1)", {5}},  // the formula's own workbook, second layer
        {"=CELL(2,2,2)", {40}},
        {"=CELL(3,1,1)", {0, kRef}},
        {"=SUMIF(1:2:A1:A2,5,1:2:B1:B2)", {50}},
        {"=COUNTIF(1:2:A1:A2,\"<5\")", {2}},
        {"=MEDIAN(1:2:A1:B2)", {7.5}},
        {"=RANK(20,1:2:B1:B2,1)", {2}},
    });
}

}  // namespace
