// Reading BIFF8, BIFF5 and BIFF4 workbooks made by the test into layers:
// values of every kind, shared strings across CONTINUE records, sheets,
// dates in both systems, formulas and what cannot be converted.
#include "platform/text/scripts.h"
#include "tests/excel/excel_fixture.h"
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "model/text_runs.h"

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;
using biff::Tokens;

Record sst(const std::vector<std::string>& strings) {
    Body body;
    body.u32(uint32_t(strings.size())).u32(uint32_t(strings.size()));
    for (const std::string& s : strings) body.text8(s);
    return {biff::kSst, body.v};
}

Record date_mode(bool on_1904) { return {0x0022, Body().u16(on_1904 ? 1 : 0).v}; }

// Cell formats: XF 0 general, XF 1 with number format `format`.
std::vector<Record> cell_formats(uint16_t format) {
    Record font{0x0031, Body().u16(200).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0).text8("Arial", true).v};
    auto xf = [](uint16_t number_format) {
        return Record{0x00E0, Body().u16(0).u16(number_format).u16(0x0001).u8(0).u8(0).u8(0).u8(0).u32(0).u32(0).u16(0).v};
    };
    return {font, xf(0), xf(format)};
}

TEST_F(ExcelTest, ValuesOfEveryKindLandInTheirCells) {
    Sheet sheet{"Values", {
        biff::number(0, 0, 1.5),
        biff::rk(1, 0, (123u << 2) | 0x02),             // integer 123
        biff::rk(2, 0, (12345u << 2) | 0x03),           // 123.45, an integer divided by 100
        {0x00BD, Body().u16(3).u16(0).u16(0).u32((7u << 2) | 2).u16(0).u32((8u << 2) | 2).u16(1).v},  // MULRK
        biff::label_sst(4, 0, 1),
        biff::boolerr(5, 0, 1, false),
        biff::boolerr(6, 0, 0x07, true),
        {0x0204, Body().cell(7, 0).text8("plain label").v},
    }};
    ASSERT_EQ(import8({sst({"zero", "one"})}, {sheet}), 0);
    EXPECT_EQ(layer_name(0), "Values");
    EXPECT_EQ(number_at(0, 0, 0), 1.5);
    EXPECT_EQ(number_at(0, 1, 0), 123);
    EXPECT_DOUBLE_EQ(number_at(0, 2, 0), 123.45);
    EXPECT_EQ(number_at(0, 3, 0), 7);
    EXPECT_EQ(number_at(0, 3, 1), 8);
    EXPECT_EQ(text_at(0, 4, 0), "one");
    EXPECT_EQ(number_at(0, 5, 0), 1);
    EXPECT_EQ(format_code_at(0, 5, 0), kFormatBoolean);
    double error = number_at(0, 6, 0);
    EXPECT_EQ(checkValue(&error), kErrDivZero);
    EXPECT_EQ(text_at(0, 7, 0), "plain label");
    const uint8_t* number = cell_at(0, 2, 0);  // the entry line shows the typed text
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_constTextPtr_(number)),
                          size_t(_formulaLength_(number) - kNumberSlotSize)),
              "123.45");
}

TEST_F(ExcelTest, SharedStringsRunOnIntoContinueRecordsWithTheirOwnOptionByte) {
    // "ab" + "cd" split after "a", the rest continued in UTF-16; then a
    // string that starts in the CONTINUE record.
    Body head;
    head.u32(2).u32(2).u16(4).u8(0).raw("a");
    Body rest;
    rest.u8(1).u16('b').u16(0x00E9).u16(0x0E17);  // b, e acute, a Thai character
    rest.text8("next");
    Sheet sheet{"S", {biff::label_sst(0, 0, 0), biff::label_sst(0, 1, 1)}};
    ASSERT_EQ(import8({{biff::kSst, head.v}, {biff::kContinue, rest.v}}, {sheet}), 0);
    // No script spells the Thai character: Roman keeps the rest.
    EXPECT_EQ(text_at(0, 0, 0), "ab\x8e?");
    EXPECT_EQ(text_at(0, 0, 1), "next");
    EXPECT_EQ(notes.replaced_characters, 1);
}

TEST_F(ExcelTest, TextsOfOtherScriptsKeepTheirCharactersInTheScriptsFont) {
    Body strings;
    strings.u32(2).u32(2).u16(2).u8(1).u16(0x6771).u16(0x4EAC);  // Tokyo
    strings.text8("plain");
    Sheet sheet{"S", {biff::label_sst(0, 0, 0), biff::label_sst(0, 1, 1)}};
    ASSERT_EQ(import8({{biff::kSst, strings.v}}, {sheet}), 0);
    EXPECT_EQ(text_at(0, 0, 0), "\x93\x8C\x8B\x9E");  // Shift_JIS
    EXPECT_EQ(format_font(cell_at(0, 0, 0)), pf::script_font(pf::kScriptJapanese));
    EXPECT_EQ(text_at(0, 0, 1), "plain");
    EXPECT_NE(format_font(cell_at(0, 0, 1)), pf::script_font(pf::kScriptJapanese));
    EXPECT_EQ(notes.replaced_characters, 0);
}

// A text of letters no one script spells together is kept as typed text is,
// in runs of the scripts that spell its words, set in the cell's size.
TEST_F(ExcelTest, TextsOfSeveralScriptsKeepEveryLetterInRuns) {
    Body strings;
    strings.u32(1).u32(1).u16(4).u8(1).u16(0x00F6).u16(' ').u16(0x6771).u16(0x4EAC);  // "ö 東京"
    Sheet sheet{"S", {biff::label_sst(0, 0, 0)}};
    ASSERT_EQ(import8({{biff::kSst, strings.v}}, {sheet}), 0);
    const uint8_t* cell = cell_at(0, 0, 0);
    ASSERT_GT(_styleLength_(cell), 0);
    const std::string_view text(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
    const std::string_view runs(reinterpret_cast<const char*>(_stylePtr_(cell)), size_t(_styleLength_(cell)));
    EXPECT_EQ(styled_text_utf8(text, runs, pf::script_font(pf::kScriptRoman)), "\u00F6 \u6771\u4EAC");
    for (const TextRun& run : text_runs(runs, text.size()))
        EXPECT_GT(load_i16(run.entry + kRunFontSize), 0) << "a size the entry line can take the runs in";
    EXPECT_EQ(notes.replaced_characters, 0);
}

TEST_F(ExcelTest, EveryWorksheetBecomesALayerAndChartsAreLeftOut) {
    Sheet first{"First", {biff::number(0, 0, 1)}};
    Sheet chart{"Chart", {}, 2};
    Sheet second{"Second", {biff::number(2, 3, 2)}};
    ASSERT_EQ(import8({}, {first, chart, second}), 0);
    ASSERT_EQ(layers(), 2);
    EXPECT_EQ(layer_name(1), "Second");
    EXPECT_EQ(number_at(1, 2, 3), 2);
}

TEST_F(ExcelTest, DateSystemAndDateFormatsFollowTheWorkbook) {
    Sheet sheet{"D", {biff::number(0, 0, 40000, 1)}};
    ASSERT_EQ(import8([] {
                  std::vector<Record> globals = cell_formats(14);
                  globals.push_back(date_mode(false));
                  return globals;
              }(), {sheet}),
              0);
    EXPECT_EQ(Get_1900Date_Flag(workbook), 1);
    EXPECT_TRUE(is_date_format(format_code_at(0, 0, 0)));
    EXPECT_EQ(number_at(0, 0, 0), 40000);  // the serial keeps its meaning in the 1900 system
}

TEST_F(ExcelTest, A1904WorkbookClearsThe1900Flag) {
    Set_1900Date_Flag(workbook, true);
    ASSERT_EQ(import8({date_mode(true)}, {Sheet{"D", {biff::number(0, 0, 1)}}}), 0);
    EXPECT_EQ(Get_1900Date_Flag(workbook), 0);
}

TEST_F(ExcelTest, FormulasAreWrittenForThisParserAndRecalculate) {
    Sheet sheet{"F", {
        biff::number(0, 0, 2), biff::number(1, 0, 3), biff::number(2, 0, 4),
        biff::formula(0, 1, Tokens().area(0, 0, 2, 0).funcvar(4, 1).integer(2).op(0x05).v(), 18),  // SUM(A1:A3)*2
        biff::formula(1, 1, Tokens().integer(1).integer(2).op(0x03).op(0x15).integer(3).op(0x05).v(), 9),
        biff::formula(2, 1, Tokens().ref(0, 0).ref(1, 0).ref(2, 0).op(0x04).op(0x15).op(0x04).v(), 3),  // A1-(A2-A3)
        biff::formula(3, 1, Tokens().ref(0, 0).op(0x13).integer(2).op(0x07).v(), 4),  // -A1^2 is (-A1)^2
        biff::formula(4, 1, Tokens().ref(0, 0).integer(2).op(0x0B).v(), 1),           // A1=2
        biff::formula(5, 1, Tokens().ref(0, 0).integer(1).op(0x09).str("yes").str("no").funcvar(1, 3).v(), 0),
        biff::formula(6, 1, Tokens().num(0.5).ref(0, 0, true).op(0x05).v(), 1),  // 0.5*$A$1
    }};
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(formula_at(0, 0, 1), "=SUM(A1:A3)*2");
    EXPECT_EQ(formula_at(0, 6, 1), "=0.5*$A$1");
    EXPECT_EQ(notes.unconverted_formulas, 0);
    recalculate();
    EXPECT_EQ(number_at(0, 0, 1), 18);
    EXPECT_EQ(number_at(0, 1, 1), 9);
    EXPECT_EQ(number_at(0, 2, 1), 3);
    EXPECT_EQ(number_at(0, 3, 1), 4);
    EXPECT_EQ(number_at(0, 4, 1), 1);
    EXPECT_EQ(text_at(0, 5, 1), "no");
    EXPECT_EQ(number_at(0, 6, 1), 1);
}

TEST_F(ExcelTest, FormulasAlikeButForRelativeReferencesEachReferToTheirOwnRow) {
    Sheet sheet{"F", {biff::number(0, 0, 1), biff::number(4, 0, 5),
                      biff::formula(0, 1, Tokens().ref(0, 0).integer(2).op(0x05).v(), 0),        // =A1*2
                      biff::formula(4, 1, Tokens().ref(4, 0).integer(2).op(0x05).v(), 0),        // =A5*2
                      biff::formula(5, 1, Tokens().ref(0, 0, true).integer(2).op(0x05).v(), 0),  // =$A$1*2
                      biff::formula(6, 1, Tokens().ref(4, 0, true).integer(2).op(0x05).v(), 0)}};  // =$A$5*2
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(formula_at(0, 4, 1), "=A5*2");
    EXPECT_EQ(formula_at(0, 6, 1), "=$A$5*2");
    recalculate();
    EXPECT_EQ(number_at(0, 0, 1), 2);
    EXPECT_EQ(number_at(0, 4, 1), 10);
    EXPECT_EQ(number_at(0, 5, 1), 2);
    EXPECT_EQ(number_at(0, 6, 1), 10);
}

TEST_F(ExcelTest, AComparisonOfConcatenationsKeepsExcelsOrder) {
    // A1="a"&"b": Excel concatenates first; this parser compares first.
    Sheet sheet{"F", {{0x0204, Body().cell(0, 0).text8("ab").v},
                      biff::formula(0, 1, Tokens().ref(0, 0).str("a").str("b").op(0x08).op(0x0B).v(), 1)}};
    ASSERT_EQ(import8({}, {sheet}), 0);
    recalculate();
    EXPECT_EQ(number_at(0, 0, 1), 1);
}

TEST_F(ExcelTest, FormulasThisProgramCannotHoldKeepExcelsValues) {
    Sheet sheet{"F", {
        biff::formula(0, 0, Tokens().integer(4).func(198 /* ISLOGICAL */).v(), 0),  // no such function here
        biff::formula_marked(1, 0, Tokens().integer(4).funcvar(354 /* ROMAN */, 1).v(), 0, 0),
        {0x0207, Body().text8("IV").v},                                             // its text result
        biff::formula(2, 0, Tokens().integer(1).integer(2).op(0x11).v(), 7),      // a range operator
    }};
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(notes.unconverted_formulas, 3);
    EXPECT_EQ(formula_at(0, 0, 0), "");
    EXPECT_EQ(number_at(0, 0, 0), 0);
    EXPECT_EQ(text_at(0, 1, 0), "IV");
    EXPECT_EQ(number_at(0, 2, 0), 7);
    // The note names the cells, with the function that stopped each where one did.
    EXPECT_EQ(notes.unconverted_formula_cells, (std::vector<std::string>{"A1: ISLOGICAL", "A2: ROMAN", "A3"}));
}

// A function newer than the file format is called through an add-in name
// ("_xlfn.DAYS"): the note names it as the function; only the first five
// cells are named.
TEST_F(ExcelTest, TheNoteNamesTheAddInFunctionOfAFormulaAndOnlyTheFirstCells) {
    const std::vector<uint8_t> days = Body().u8(0x39).u16(1).u16(1).u16(0).u8(0x1E).u16(5).u8(0x1E).u16(3)
                                          .u8(0x22).u8(3).u16(255).v;
    Sheet sheet{"F", {}};
    for (uint16_t row = 0; row < 7; ++row) sheet.records.push_back(biff::formula(row, 5, days, 2));
    const std::vector<Record> globals = {
        {0x01AE, Body().u16(1).u16(0x0401).v},                // this workbook
        {0x01AE, Body().u16(1).u16(0x3A01).v},                // add-in functions
        {0x0023, Body().u16(0).u16(0).u16(0).text8("_xlfn.DAYS", true).v},
        {0x0017, Body().u16(2).u16(0).u16(0).u16(0).u16(1).u16(0xFFFE).u16(0xFFFE).v},
    };
    ASSERT_EQ(import8(globals, {sheet}), 0);
    EXPECT_EQ(notes.unconverted_formulas, 7);
    EXPECT_EQ(number_at(0, 6, 5), 2);
    EXPECT_EQ(notes.unconverted_formula_cells,
              (std::vector<std::string>{"F1: DAYS", "F2: DAYS", "F3: DAYS", "F4: DAYS", "F5: DAYS"}));
}

// Dates the calendar here cannot show as themselves (before 1 January 1904
// in a 1900-system workbook, before 1900 as negative serials, after 2040)
// keep their numbers and their date format, which shows the numbers, and are
// named in a note; 1 January 1904 (1,462) and later show as dates.
TEST_F(ExcelTest, DatesBeyondTheCalendarShowTheirNumbersWithANote) {
    const double serials[] = {61, 898, 1461, 1462, -108393, 1463, 45366, 60000};
    Sheet sheet{"D", {}};
    for (uint16_t row = 0; row < std::size(serials); ++row) sheet.records.push_back(biff::number(row, 0, serials[row], 1));
    sheet.records.push_back(biff::formula(8, 0, Tokens().integer(61).v(), 61));
    sheet.records.back().body[4] = 1;  // the formula cell in the date format too
    std::vector<Record> globals = cell_formats(14);
    globals.push_back(date_mode(false));
    ASSERT_EQ(import8(globals, {sheet}), 0);
    for (uint16_t row = 0; row < std::size(serials); ++row) {
        EXPECT_EQ(number_at(0, int16_t(row), 0), serials[row]) << row;
        EXPECT_TRUE(is_date_format(format_code_at(0, int16_t(row), 0))) << row;
    }
    EXPECT_TRUE(is_date_format(format_code_at(0, 8, 0)));
    EXPECT_EQ(notes.dates_shown_as_numbers, 6);
    EXPECT_EQ(notes.date_number_cells, (std::vector<std::string>{"A1", "A2", "A3", "A5", "A8"}));
    EXPECT_TRUE(import_lost_anything(notes));
}

TEST_F(ExcelTest, SharedFormulasAreReadAtEachCellOfTheirRange) {
    // B1:B3 = A1*10 shared, written by offsets (row 0, column -1).
    std::vector<uint8_t> shared = Body().u8(0x2C).u16(0).u16(uint16_t(0xC000 | 0xFF)).u8(0x1E).u16(10).u8(0x05).v;
    std::vector<uint8_t> exp = Body().u8(0x01).u16(0).u16(1).v;
    Record shrfmla{0x04BC, Body().u16(0).u16(2).u8(1).u8(1).u16(0).u16(uint16_t(shared.size())).raw(shared).v};
    Sheet sheet{"S", {biff::number(0, 0, 1), biff::number(1, 0, 2), biff::number(2, 0, 3), biff::formula(0, 1, exp, 0),
                      shrfmla, biff::formula(1, 1, exp, 0), biff::formula(2, 1, exp, 0)}};
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(formula_at(0, 2, 1), "=A3*10");
    recalculate();
    EXPECT_EQ(number_at(0, 0, 1), 10);
    EXPECT_EQ(number_at(0, 2, 1), 30);
}

TEST_F(ExcelTest, ReferencesToOtherSheetsNameTheirLayers) {
    Record supbook{0x01AE, Body().u16(2).u16(0x0401).v};
    Record externsheet{0x0017, Body().u16(1).u16(0).u16(1).u16(1).v};
    std::vector<uint8_t> tokens = Body().u8(0x3A).u16(0).u16(0).u16(0xC000).u8(0x1E).u16(1).u8(0x03).v;
    Sheet first{"One", {biff::formula(0, 0, tokens, 6)}};
    Sheet second{"Two", {biff::number(0, 0, 5)}};
    ASSERT_EQ(import8({supbook, externsheet}, {first, second}), 0);
    EXPECT_EQ(notes.unconverted_formulas, 0);
    recalculate();
    EXPECT_EQ(number_at(0, 0, 0), 6);
}

TEST_F(ExcelTest, APasswordProtectedWorkbookOpensNothing) {
    int16_t result = import8({{0x002F, Body().u16(1).v}}, {Sheet{"S", {biff::number(0, 0, 1)}}});
    EXPECT_EQ(result, kExcelPasswordNote);
    EXPECT_EQ(layers(), 1);
    EXPECT_EQ(cell_at(0, 0, 0), nullptr);
}

TEST_F(ExcelTest, NamesOfSingleRangesBecomeNamedRangesThatFormulasUse) {
    const std::vector<Record> name =
        biff::name_of_range(1, "Total", Body().u8(0x3B).u16(0).u16(0).u16(2).u16(0).u16(0).v);
    std::vector<uint8_t> sum_of_name = Body().u8(0x23).u16(1).u16(0).u8(0x22).u8(1).u16(4).v;
    Sheet sheet{"S", {biff::number(0, 0, 1), biff::number(1, 0, 2), biff::formula(0, 1, sum_of_name, 0)}};
    ASSERT_EQ(import8(name, {sheet}), 0);
    EXPECT_EQ(formula_at(0, 0, 1), "=SUM(Total)");
    recalculate();
    EXPECT_EQ(number_at(0, 0, 1), 3);
    unsigned char text[32];
    pstr(text, "TOTAL");
    CellRange found{};
    EXPECT_EQ(find_named_range(Get_rangeinfo(layer_at(0)), text, &found), 1);
    EXPECT_EQ(found, (CellRange{{0, 0}, {2, 0}}));
}

// A name's range must fit the grid at both corners, its first corner before
// its last: a name that does not is left out, and told.
TEST_F(ExcelTest, NamesOfInvertedOrOutlyingRangesAreLeftOutWithANote) {
    Record supbook{0x01AE, Body().u16(1).u16(0x0401).v};
    Record externsheet{0x0017, Body().u16(1).u16(0).u16(0).u16(0).v};
    auto name = [](const std::string& text, uint16_t r1, uint16_t r2, uint16_t c1, uint16_t c2) {
        std::vector<uint8_t> range = Body().u8(0x3B).u16(0).u16(r1).u16(r2).u16(c1).u16(c2).v;
        return Record{0x0018, Body().u16(0).u8(0).u8(uint8_t(text.size())).u16(uint16_t(range.size())).u16(0).u16(0)
                                  .u32(0).u8(0).raw(text).raw(range).v};
    };
    std::vector<Record> globals{supbook, externsheet, name("Rows", 5, 2, 0, 0), name("Columns", 0, 0, 3, 1),
                                name("Far", 40000, 3, 0, 0), name("Fine", 0, 1, 0, 0)};
    std::vector<uint8_t> sum_of_rows = Body().u8(0x23).u16(1).u16(0).u8(0x22).u8(1).u16(4).v;
    Sheet sheet{"S", {biff::number(0, 0, 1), biff::formula(0, 1, sum_of_rows, 9)}};
    ASSERT_EQ(import8(globals, {sheet}), 0);
    EXPECT_EQ(notes.names_dropped, 3);
    EXPECT_EQ(GetMemorySize(Get_rangeinfo(layer_at(0))), 1);
    EXPECT_EQ(formula_at(0, 0, 1), "");  // the formula of a name left out keeps Excel's value
    EXPECT_EQ(number_at(0, 0, 1), 9);
}

TEST_F(ExcelTest, MergedRangesKeepTheirTopLeftValue) {
    Sheet sheet{"M", {biff::number(0, 0, 1), biff::number(0, 1, 2), biff::number(1, 0, 3),
                      {0x00E5, Body().u16(1).u16(0).u16(1).u16(0).u16(1).v}}};
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(number_at(0, 0, 0), 1);
    EXPECT_EQ(cell_at(0, 0, 1), nullptr);
    EXPECT_EQ(cell_at(0, 1, 0), nullptr);
}

TEST_F(ExcelTest, ColumnWidthsAndRowHeightsBecomeFormats) {
    Sheet sheet{"W", {{0x0055, Body().u16(8).v},  // 8 characters of 7 pixels and a margin of 5
                      {0x007D, Body().u16(1).u16(2).u16(20 * 256).u16(0).u16(0).u16(0).v},
                      {0x0208, Body().u16(3).u16(0).u16(1).u16(600).u16(0).u16(0).u32(0).v},
                      biff::number(3, 1, 1)}};
    ASSERT_EQ(import8({}, {sheet}), 0);
    MemoryRef columns = GetSpreadSheetColumnFormats(layer_at(0));
    const uint8_t* column = FindColumnFormatID(columns, 2);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(format_extent(column), 140);  // 20 characters of 7 pixels
    UnuseMemory(columns);
    MemoryRef rows = GetSpreadSheetRowFormats(layer_at(0));
    const uint8_t* row = FindRowFormatID(rows, 3);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(format_extent(row), 30);  // 600 twips
    UnuseMemory(rows);
    EXPECT_EQ(format_extent(use_layer(layer_at(0))->default_column_format), 61);
    release_layer(layer_at(0));
}

// Excel's automatic heights follow its own smaller fonts: rows that only
// follow them keep the layer's height unless they are taller; heights set
// by hand stand as they are.
TEST_F(ExcelTest, RowHeightsFollowingExcelFontsDoNotShrinkRows) {
    Sheet sheet{"H", {biff::row(0, 255, 0, 1, false), biff::row(1, 600, 0, 1, false), biff::row(2, 200, 0, 1),
                      biff::number(0, 0, 1), biff::number(1, 0, 2), biff::number(2, 0, 3)}};
    ASSERT_EQ(import8({}, {sheet}), 0);
    MemoryRef rows = GetSpreadSheetRowFormats(layer_at(0));
    EXPECT_EQ(FindRowFormatID(rows, 0), nullptr);
    const uint8_t* taller = FindRowFormatID(rows, 1);
    ASSERT_NE(taller, nullptr);
    EXPECT_EQ(format_extent(taller), 30);
    const uint8_t* by_hand = FindRowFormatID(rows, 2);
    ASSERT_NE(by_hand, nullptr);
    EXPECT_EQ(format_extent(by_hand), 10);
    UnuseMemory(rows);
}

TEST_F(ExcelTest, CellsBeyondTheGridAreLeftOutAndCounted) {
    ASSERT_EQ(import8({}, {Sheet{"G", {biff::number(40000, 0, 1), biff::number(0, 0, 2)}}}), 0);
    EXPECT_EQ(notes.cells_beyond_grid, 1);
    EXPECT_EQ(number_at(0, 0, 0), 2);
}

// ---- Older versions -----------------------------------------------------------

TEST_F(ExcelTest, Biff5TextsComeThroughTheirCodePage) {
    Record code_page{0x0042, Body().u16(1251).v};
    std::vector<uint8_t> tokens = Body().u8(0x24).u16(0xC000).u8(0).u8(0x1E).u16(1).u8(0x03).v;  // A1+1
    Sheet sheet{"Лист", {{0x0204, Body().cell(0, 1).text5("\xcf\xf0\xe8").v},  // Cyrillic, no Mac Roman equivalent
                            biff::number(0, 0, 4), biff::formula(1, 0, tokens, 5)}};
    std::vector<uint8_t> stream = biff::workbook(false, {code_page}, {sheet});
    ASSERT_EQ(import(biff::compound_file(stream, "Book")), 0);
    // The cell's text is kept in the Cyrillic script; the layer's name has no
    // script of its own and is named after the sheet's place.
    std::string cyrillic;
    ASSERT_TRUE(pf::utf8_to_script("При", pf::kScriptCyrillic, cyrillic));
    EXPECT_EQ(text_at(0, 0, 1), cyrillic);
    EXPECT_EQ(format_font(cell_at(0, 0, 1)), pf::script_font(pf::kScriptCyrillic));
    EXPECT_EQ(layer_name(0), "Sheet 1");
    EXPECT_EQ(notes.replaced_characters, 0);
    EXPECT_EQ(formula_at(0, 1, 0), "=A1+1");
    recalculate();
    EXPECT_EQ(number_at(0, 1, 0), 5);
}

TEST_F(ExcelTest, Biff5InTheWindowsCodePageKeepsAccents) {
    Record code_page{0x0042, Body().u16(1252).v};
    Sheet sheet{"S", {{0x0204, Body().cell(0, 0).text5("caf\xe9").v}}};
    ASSERT_EQ(import(biff::compound_file(biff::workbook(false, {code_page}, {sheet}), "Book")), 0);
    EXPECT_EQ(text_at(0, 0, 0), "caf\x8e");
}

// A BIFF5 text longer than its record goes on in CONTINUE records, byte for
// byte; a text longer than a cell holds is cut and told.
TEST_F(ExcelTest, Biff5TextsGoOnInContinueRecords) {
    auto continued = [](uint16_t type, Body head, const std::string& text, size_t first_part) {
        std::vector<Record> records{{type, head.u16(uint16_t(text.size())).raw(text.substr(0, first_part)).v}};
        for (size_t at = first_part; at < text.size(); at += 2080)
            records.push_back({biff::kContinue, Body().raw(text.substr(at, 2080)).v});
        return records;
    };
    std::string long_text = std::string(3000, 'x') + "y";
    std::string huge_text(40000, 'h');
    std::vector<Record> records = continued(0x0204, Body().cell(0, 1), long_text, 2072);
    records.push_back(biff::formula_marked(1, 0, Body().u8(0x17).u8(1).raw("t").v, 0, 0));  // ="t", stored longer
    for (Record& record : continued(0x0207, Body(), long_text, 2078)) records.push_back(record);
    for (Record& record : continued(0x0204, Body().cell(2, 0), huge_text, 2072)) records.push_back(record);
    records.push_back(biff::number(3, 0, 7));
    ASSERT_EQ(import(biff::compound_file(biff::workbook(false, {}, {Sheet{"S", records}}), "Book")), 0);
    EXPECT_EQ(text_at(0, 0, 1), long_text);
    EXPECT_EQ(text_at(0, 1, 0), long_text);
    EXPECT_EQ(text_at(0, 2, 0), huge_text.substr(0, 32000));
    EXPECT_EQ(number_at(0, 3, 0), 7);
    EXPECT_EQ(notes.texts_cut, 1);
}

// Cells written in order or not, and a cell written twice: the last one
// written stays; a ROW record per row gives each row its height.
TEST_F(ExcelTest, CellsInAnyOrderKeepTheLastWrittenAndRowsTheirHeights) {
    for (bool in_order : {true, false}) {
        const double base = in_order ? 0 : 100;  // each pass writes values of its own
        std::vector<Record> records{biff::row(0, 300), biff::row(1, 400), biff::row(2, 0x8000 | 255)};
        if (in_order) {
            for (uint16_t r = 0; r < 3; ++r) records.push_back(biff::number(r, 0, base + r));
            records.push_back(biff::number(2, 0, base + 9));
        } else {
            records.push_back(biff::number(2, 0, base + 2));
            records.push_back(biff::number(0, 0, base));
            records.push_back(biff::number(2, 0, base + 9));
            records.push_back(biff::number(1, 0, base + 1));
        }
        ASSERT_EQ(import(biff::compound_file(biff::workbook(true, {}, {Sheet{"S", records}}))), 0);
        EXPECT_EQ(number_at(0, 0, 0), base);
        EXPECT_EQ(number_at(0, 1, 0), base + 1);
        EXPECT_EQ(number_at(0, 2, 0), base + 9) << (in_order ? "in order" : "out of order");
        MemoryRef rows = GetSpreadSheetRowFormats(layer_at(0));
        ASSERT_NE(rows, nullptr);
        EXPECT_EQ(GetMemorySize(rows), 2);  // the default height needs no record
        uint8_t* second = FindRowFormatID(rows, 1);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(format_extent(second), 20);
        UnuseMemory(rows);
    }
}

TEST_F(ExcelTest, ABareBiff4WorksheetIsReadWithoutAContainer) {
    std::vector<uint8_t> stream;
    biff::append(stream, {0x0409, Body().u16(0).u16(0x0010).u16(0).v});
    biff::append(stream, biff::number(0, 0, 2.5));
    biff::append(stream, {0x0204, Body().cell(1, 0).text5("four").v});
    biff::append(stream, {biff::kEof, {}});
    ASSERT_EQ(import(stream), 0);
    EXPECT_EQ(number_at(0, 0, 0), 2.5);
    EXPECT_EQ(text_at(0, 1, 0), "four");
}

TEST_F(ExcelTest, ABareBiff8StreamIsReadWithoutAContainer) {
    ASSERT_EQ(import(biff::workbook(true, {}, {Sheet{"Bare", {biff::number(0, 0, 4)}}})), 0);
    EXPECT_EQ(layer_name(0), "Bare");
    EXPECT_EQ(number_at(0, 0, 0), 4);
}

// Storages and streams the import does not read, such as the pivot-table
// caches beside the workbook, are passed over; the workbook stream is found
// in any case of its name, and what its formulas hold that the function map
// does not know leaves a formula unconverted rather than the file unread.
TEST_F(ExcelTest, StoragesBesideTheWorkbookAreSkipped) {
    biff::Storage caches{"_SX_DB_CUR", {{"0001", std::vector<uint8_t>(5000, 0x11)}}};
    for (int i = 2; i < 12; ++i) caches.streams.push_back({"000" + std::to_string(i), {1, 2, 3}});
    std::vector<biff::Storage> storages{caches, {"_VBA_PROJECT_CUR", {{"dir", {4, 5}}}}};
    Sheet sheet{"Pivot", {}};
    for (uint16_t row = 0; row < 600; ++row) sheet.records.push_back(biff::number(row, 0, row));
    sheet.records.push_back(biff::formula(0, 1, Tokens().integer(1).func(4).v(), 1));  // SUM in the fixed form
    std::vector<uint8_t> stream = biff::workbook(true, {}, {sheet});
    ASSERT_EQ(import(biff::compound_file(stream, "WorkBook", storages)), 0);
    EXPECT_EQ(number_at(0, 599, 0), 599);
    EXPECT_EQ(number_at(0, 0, 1), 1);
    EXPECT_EQ(notes.unconverted_formulas, 1);
}

TEST_F(ExcelTest, OtherFilesAreNotTakenForWorkbooks) {
    const unsigned char text[] = "ID;PWXL;N;E\n";
    EXPECT_FALSE(is_excel_head(text, sizeof text - 1));
    std::vector<uint8_t> container = biff::compound_file({1, 2, 3}, "Other");
    EXPECT_TRUE(is_excel_head(container.data(), container.size()));
    EXPECT_EQ(import(container), kExcelUnreadableErr);  // a compound file without a workbook
}

}  // namespace

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;

Record font_record(uint16_t height, uint16_t weight, uint16_t options, const std::string& name,
                   uint16_t colour = 0x7FFF) {
    return {0x0031, Body().u16(height).u16(options).u16(colour).u16(weight).u16(0).u8(0).u8(0).u8(0).u8(0)
                        .text8(name, true).v};
}

// A BIFF8 XF: font, number format, locked, horizontal alignment, border line
// styles, fill pattern and the palette index of its foreground.
Record xf_record(uint16_t font, uint16_t format, bool locked, uint8_t align, uint32_t borders,
                 uint8_t fill_pattern = 0, uint16_t fill_colour = 64) {
    return {0x00E0, Body().u16(font).u16(format).u16(locked ? 1 : 0).u8(align).u8(0).u8(0).u8(0).u32(borders)
                        .u32(uint32_t(fill_pattern) << 26).u16(fill_colour).v};
}

TEST(ExcelNumberFormats, MapToTheNearestFormatOfThisProgram) {
    struct Case {
        const char* format;
        uint8_t code;
        int8_t decimals;
        bool thousands;
    } cases[] = {
        {"General", kFormatGeneral, 2, false}, {"0", kFormatFixed, 0, false},
        {"#,##0.00", kFormatFixed, 2, true},   {"0.0%", kFormatPercent, 1, false},
        {"0.00E+00", kFormatScientific, 2, false}, {"# ?/?", kFormatFraction, 2, false},
        {"\"$\"#,##0.00_);(\"$\"#,##0.00)", 36, 2, true},  // a quoted sign
        {"$#,##0.00", 36, 2, true},             {"[Red]0.000", kFormatFixed, 3, false},
        {"m/d/yyyy", 6, 0, false},              {"d-mmm-yy", 9, 0, false},
        {"mmm-yy", 8, 0, false},                {"yyyy-mm-dd", 5, 0, false},
        {"h:mm AM/PM", 23, 0, false},           {"[h]:mm:ss", 30, 0, false},
        {"[$-409][h]:mm:ss", 30, 0, false},     {"[$-409]m/d/yyyy", 6, 0, false},
        {"mm:ss", 29, 0, false},                {"m/d/yyyy h:mm", 25, 0, false},
        {"@", kFormatGeneral, 2, false},
    };
    for (const Case& c : cases) {
        NumberFormatMatch match = match_number_format(c.format);
        EXPECT_EQ(match.code, c.code) << c.format;
        EXPECT_EQ(match.decimals, c.decimals) << c.format;
        EXPECT_EQ(match.thousands, c.thousands) << c.format;
    }
}

TEST_F(ExcelTest, CellFormatsCarryFontsAlignmentBordersAndEmptyFormattedCells) {
    std::vector<Record> globals = {font_record(200, 400, 0, "Arial"), font_record(280, 700, 0x02, "Times")};
    globals.push_back(xf_record(0, 0, true, 0, 0));
    globals.push_back(xf_record(1, 2, true, 3, 0x2001));  // Times 14 bold italic, 0.00, right, thin left, medium bottom
    Sheet sheet{"F", {biff::number(0, 0, 1.5, 1), biff::number(0, 1, 2, 0),
                      {0x00BE, Body().u16(2).u16(0).u16(1).u16(0).u16(1).v}}};  // two empty cells, one formatted
    ASSERT_EQ(import8(globals, {sheet}), 0);
    const uint8_t* styled = cell_at(0, 0, 0);
    ASSERT_NE(styled, nullptr);
    EXPECT_EQ(styled[kFmtCode], kFormatFixed);
    EXPECT_EQ(styled[kFmtDecimals], 2);
    EXPECT_EQ(styled[kFmtSize], 14);
    EXPECT_EQ(styled[kFmtFace], 0x03);
    EXPECT_EQ(styled[kFmtAlign], 3);
    EXPECT_EQ(format_border_styles(styled), 0x2004);  // thin left, thick bottom
    EXPECT_EQ(format_font(cell_at(0, 0, 1)), kDefaultFontNumber);  // the workbook's own font stays the default
    const uint8_t* empty = cell_at(0, 2, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(_cellType_(empty), kCellFormatOnly);
    EXPECT_EQ(cell_at(0, 2, 1), nullptr);  // nothing to show
    EXPECT_EQ(check_access(layer_at(0)), 0);
}

// The 8-bit colour, 0xRRGGBB, of a cell's text colour code.
uint32_t text_colour_of(const uint8_t* cell) {
    if (cell[kFmtTextColour] == 0) return 0;
    const pf::Resource* resource = pf::get_resource(pf::kColorTableType, 129);
    pf::ColorTableResource table;
    if (!resource || !pf::decode_color_table(resource->bytes, table)) return 0xFFFFFFFF;
    const pf::ColorTableEntry& entry = table.entries.at(cell[kFmtTextColour] - 1u);
    return uint32_t(entry.red >> 8) << 16 | uint32_t(entry.green >> 8) << 8 | uint32_t(entry.blue >> 8);
}

// A workbook that sets its Japanese texts in a font of their own at its
// standard size shows them at the size of its other cells; a larger font
// stays larger.
TEST_F(ExcelTest, TextsInAFontOfTheirOwnKeepTheWorkbooksSize) {
    std::vector<Record> globals = {font_record(200, 400, 0, "Liberation Sans"),
                                   font_record(200, 400, 0, "Noto Sans CJK JP"),
                                   font_record(280, 400, 0, "Noto Sans CJK JP")};
    for (uint16_t font : {0, 1, 2}) globals.push_back(xf_record(font, 0, true, 0, 0));
    Body strings;
    strings.u32(2).u32(2).text8("plain").u16(2).u8(1).u16(0x6771).u16(0x4EAC);  // Tokyo
    globals.push_back({biff::kSst, strings.v});
    Sheet sheet{"S", {biff::label_sst(0, 0, 0, 0), biff::label_sst(0, 1, 1, 1), biff::label_sst(0, 2, 1, 2)}};
    ASSERT_EQ(import8(globals, {sheet}), 0);
    const uint8_t* latin = cell_at(0, 0, 0);
    const uint8_t* same_size = cell_at(0, 0, 1);
    const uint8_t* larger = cell_at(0, 0, 2);
    ASSERT_TRUE(latin && same_size && larger);
    EXPECT_EQ(format_font(same_size), pf::script_font(pf::kScriptJapanese));
    EXPECT_EQ(same_size[kFmtSize], latin[kFmtSize]);
    EXPECT_EQ(larger[kFmtSize], 14);
}

// Font colours come from Excel's palette, or from the workbook's own palette
// where it has one, as the nearest colour of the program's table.
TEST_F(ExcelTest, FontColoursBecomeTextColours) {
    for (bool own_palette : {false, true}) {
        std::vector<Record> globals = {font_record(200, 400, 0, "Arial"), font_record(200, 700, 0, "Arial", 10),
                                       font_record(200, 400, 0, "Arial", 12), font_record(200, 400, 0, "Arial", 8)};
        if (own_palette) {  // index 12 becomes green
            Body palette = Body().u16(56);
            for (int i = 8; i < 64; ++i) palette.u32(i == 12 ? 0x0000FF00 : 0);
            globals.push_back({0x0092, palette.v});
        }
        globals.push_back(xf_record(0, 0, true, 0, 0));
        for (uint16_t font : {1, 2, 3}) globals.push_back(xf_record(font, 0, true, 0, 0));
        Sheet sheet{"C", {biff::number(0, 0, 1, 1), biff::number(0, 1, 2, 2), biff::number(0, 2, 3, 3),
                          biff::number(0, 3, 4, 0)}};
        ASSERT_EQ(import8(globals, {sheet}), 0);
        EXPECT_EQ(text_colour_of(cell_at(0, 0, 0)), own_palette ? 0u : 0xFF0000u);
        EXPECT_EQ(text_colour_of(cell_at(0, 0, 1)), own_palette ? 0x00FF00u : 0x0000FFu);
        EXPECT_EQ(cell_at(0, 0, 2)[kFmtTextColour], 0);  // black
        EXPECT_EQ(cell_at(0, 0, 3)[kFmtTextColour], 0);  // the automatic colour
    }
}

// Solid fills become fill colours; white and patterned fills show none.
TEST_F(ExcelTest, SolidFillsBecomeFillColours) {
    std::vector<Record> globals = {font_record(200, 400, 0, "Arial"), xf_record(0, 0, true, 0, 0),
                                   xf_record(0, 0, true, 0, 0, 1, 13), xf_record(0, 0, true, 0, 0, 1, 8),
                                   xf_record(0, 0, true, 0, 0, 1, 9), xf_record(0, 0, true, 0, 0, 2, 13)};
    Sheet sheet{"F", {{0x00BE, Body().u16(0).u16(0).u16(1).u16(2).u16(3).u16(4).u16(3).v}}};
    ASSERT_EQ(import8(globals, {sheet}), 0);
    const uint8_t* yellow = cell_at(0, 0, 0);
    ASSERT_NE(yellow, nullptr);
    EXPECT_EQ(_cellType_(yellow), kCellFormatOnly);
    uint8_t as_text[kCellFormatSize] = {};
    as_text[kFmtTextColour] = yellow[kFmtPatternFore];
    EXPECT_EQ(text_colour_of(as_text), 0xFFFF00u);
    EXPECT_EQ(yellow[kFmtPattern], 0);  // solid
    ASSERT_NE(cell_at(0, 0, 1), nullptr);
    EXPECT_EQ(cell_at(0, 0, 1)[kFmtPatternFore], 2);  // black
    EXPECT_EQ(cell_at(0, 0, 2), nullptr);             // white: nothing to show
    EXPECT_EQ(cell_at(0, 0, 3), nullptr);             // a pattern this program does not take
}

TEST_F(ExcelTest, AProtectedSheetProtectsTheWorkbookAndLocksOnlyItsLockedCells) {
    std::vector<Record> globals = {xf_record(0, 0, true, 0, 0), xf_record(0, 0, false, 0, 0)};
    Sheet guarded{"Guarded", {biff::number(0, 0, 1, 0), biff::number(0, 1, 2, 1), {0x0012, Body().u16(1).v}}};
    Sheet open{"Open", {biff::number(0, 0, 3, 0)}};
    ASSERT_EQ(import8(globals, {guarded, open}), 0);
    EXPECT_EQ(check_access(layer_at(0)), 1);
    EXPECT_TRUE(cell_at(0, 0, 0)[kFmtFlagsA] & kFlagLocked);
    EXPECT_FALSE(cell_at(0, 0, 1)[kFmtFlagsA] & kFlagLocked);
    EXPECT_FALSE(cell_at(1, 0, 0)[kFmtFlagsA] & kFlagLocked);
}

}  // namespace
