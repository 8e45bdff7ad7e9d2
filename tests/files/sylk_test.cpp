// SYLK: the records read into a layer, what the writer writes, the ways other
// spreadsheets write SYLK, and round trips of every cell kind, format code
// and function.
#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "files/sylk.h"
#include "files/sylk_format.h"
#include "model/compiled_formula.h"
#include "formula/error_values.h"
#include "model/cell_store.h"
#include "formula/function_table.h"
#include "model/cell_formats.h"
#include "model/display_text.h"
#include "model/named_ranges.h"
#include "model/model_services.h"
#include "platform/fonts/classic_fonts.h"
#include "tests/files/text_fixture.h"

namespace {

// Arguments a call of function n parses with: references where it needs them.
std::string arguments_of(int n) {
    if (function_takes_no_arguments(n)) return "()";
    const FunctionArity arity = function_arity(n);
    std::string out = "(";
    for (int i = 0; i < std::max<int>(arity.min, 1); ++i) {
        if (i) out += ",";
        out += arity.reference_argument(i) ? "A1:B3" : std::to_string(i + 1);
    }
    return out + ")";
}

class SylkTest : public TextTest {
protected:
    MemoryRef read(const std::string& records) { return read_sylk("ID;PTEST\r\n" + records + "E\r\n"); }

    // The lines of the writer's text that begin with `type`.
    std::vector<std::string> lines_of(MemoryRef of, const std::string& type) {
        std::vector<std::string> out;
        std::string text = sylk_layer_text(of);
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find("\r\n", at);
            std::string line = text.substr(at, end - at);
            if (line.compare(0, type.size(), type) == 0) out.push_back(line);
            at = end + 2;
        }
        return out;
    }

    uint8_t* format_of(MemoryRef of, int row, int column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        get_cell_ptr(&cell, &length, CellPoint{int16_t(row), int16_t(column)}, of);
        return cell;
    }

    int16_t column_width(MemoryRef of, int16_t column) {
        MemoryRef array = GetSpreadSheetColumnFormats(of);
        uint8_t* record = FindColumnFormatID(array, column);
        if (!record) return -1;
        int16_t width = format_extent(record);
        UnuseMemory(array);
        return width;
    }
};

TEST_F(SylkTest, CellsFormatsAndLayerSettingsAreRead) {
    MemoryRef l = read(
        "C;Y2;X3;K42\r\nC;X1;K\"a;;b\"\r\nC;Y1;X2;K0;ER1C1+R[1]C[-1]\r\n"
        "F;FF2R;Y3;X1\r\nC;K1.5\r\nF;W2 4 10\r\nF;M300;R5\r\nF;M260\r\nF;G;H\r\n"
        "NN;NTotal;ER1C1:R3C2\r\nNN;N1bad;ER1C1\r\nC;X9;K\"=x\"\r\n");
    EXPECT_EQ(cell(l, 1, 2).number, 42);
    EXPECT_EQ(cell(l, 1, 0).text, "a;b");
    EXPECT_EQ(cell(l, 0, 1).formula, "=$A$1+A2");
    const uint8_t* a3 = format_of(l, 2, 0);
    ASSERT_NE(a3, nullptr);
    EXPECT_EQ(load_f64(_formulaPtr_(a3)), 1.5);
    EXPECT_EQ(a3[kFmtCode], 'G');
    EXPECT_TRUE(a3[kFmtFlagsB] & kFlagBFixedDecimals);
    EXPECT_EQ(a3[kFmtDecimals], 2);
    EXPECT_EQ(a3[kFmtAlign] & 7, 3);
    EXPECT_EQ(column_width(l, 1), 80);
    EXPECT_EQ(column_width(l, 3), 80);
    EXPECT_EQ(column_width(l, 4), -1);
    MemoryRef rows = GetSpreadSheetRowFormats(l);
    uint8_t* row5 = FindRowFormatID(rows, 4);
    ASSERT_NE(row5, nullptr);
    EXPECT_EQ(format_extent(row5), 15);
    UnuseMemory(rows);
    EXPECT_EQ(use_layer(l)->row_height, 13);
    release_layer(l);
    EXPECT_EQ(GetSheetFlags(l) & (kLayerGridLines | kLayerHeadings), 0u);
    CellRange total{};
    EXPECT_EQ(find_named_range(Get_rangeinfo(l), reinterpret_cast<const unsigned char*>("\x05Total"), &total), 1);
    EXPECT_EQ(total, (CellRange{{0, 0}, {2, 1}}));
    EXPECT_EQ(GetMemorySize(Get_rangeinfo(l)), 1);
    EXPECT_EQ(cell(l, 2, 8).text, "=x");
    // A cell before any row is given stores nothing.
    EXPECT_TRUE(cells_of(read("C;X1;K5\r\n")).empty());
}

TEST_F(SylkTest, EscapesStandForTheirCharacters) {
    MemoryRef l = read("C;Y1;X1;K\"\x1BNHu\x1BNBe\x1BNAa\x1BN{\"\r\nC;X2;K\"a\x1B :b\x1B =c\x1B!2d\"\r\n");
    EXPECT_EQ(cell(l, 0, 0).text, "\x9F\x8E\x88\xA7");
    EXPECT_EQ(cell(l, 0, 1).text, "a\nb\rc\x12" "d");
    // Written back, each becomes its escape again, and ";" is doubled.
    // A tab stays as it is, as other programs write it.
    type_entries(layer, {{{0, 0}, "\x9F;\x8E"}, {{0, 1}, "two\nlines\tand tab"}});
    EXPECT_EQ(lines_of(layer, "C;")[0], "C;Y1;X1;K\"\x1BNHu;;\x1BNBe\"");
    EXPECT_EQ(lines_of(layer, "C;")[1], "C;X2;K\"two\x1B :lines\tand tab\"");
    // Control characters in a text cell: every one is escaped and read back.
    std::string controls;
    for (int c = 1; c < 32; ++c) controls += char(c);
    std::string store;
    uint8_t header[32];
    GetDefaultFormat(header);
    append_text_cell(store, header, 0, controls);
    append_text_cell(store, header, 1, "");
    std::string row;
    append_row_record(row, 0, store);
    set_layer_cells(layer, row);
    MemoryRef back = read_sylk(sylk_layer_text(layer));
    EXPECT_EQ(cell(back, 0, 0).text, controls);
    // An empty text stays a text.
    EXPECT_EQ(cell(back, 0, 1).type, kCellText);
}

// Lines end at a carriage return, a line feed or both, wherever they stand
// in the text; a tab or another byte below a line break's is no line end.
TEST_F(SylkTest, LinesOfEveryLengthEndAtTheirBreaksOnly) {
    const char* const kEnds[] = {"\r\n", "\n", "\r"};
    std::string text = "ID;PQUORVIN\r\n";
    std::vector<std::string> values;
    for (int n = 0; n < 40; ++n) {
        values.push_back(std::string(size_t(n), 'a') + (n % 2 ? "\t" : "\x0B") + std::string(size_t(n % 9), '\xA5'));
        text += "C;Y" + std::to_string(n + 1) + ";X1;K\"" + values.back() + "\"" + kEnds[n % 3];
    }
    MemoryRef l = read_sylk(text + "E\r\n");
    ASSERT_EQ(cells_of(l).size(), values.size());
    for (int n = 0; n < 40; ++n) {
        std::string expected = values[size_t(n)];
        if (n % 2 == 0) expected.erase(size_t(n), 1);  // a control other than a tab is dropped
        EXPECT_EQ(cell(l, n, 0).text, expected) << n;
    }
}

TEST_F(SylkTest, OtherSpreadsheetsFilesAreReadTheirWay) {
    // Formats before their cells, pictures counted from 0, fonts counted from 0 without 4.
    MemoryRef l = read(
        "P;PGeneral\r\nP;P0.00%\r\nP;Pm/d/yy\r\nP;FHelvetica;M200\r\nP;FHelvetica;M200;SB\r\n"
        "P;FHelvetica;M200;SI\r\nP;FHelvetica;M200;SBI\r\nP;FTimes;M280;SOH\r\n"
        "F;P1;SM5;Y1;X1\r\nF;P2;X2\r\nF;P0;FG+3L;X3\r\n"
        "C;Y1;X1;K0.5\r\nC;X2;K36000\r\nC;X3;K7\r\nC;X4;K\"00123\"\r\nC;X5;K00123\r\n"
        "C;X6;K#DIV/0!;E1/0\r\nC;X7;K0.1000000000000000055511151231257827\r\nC;X8;K\"two\r\nlines\"\r\n");
    auto cells = cells_of(l);
    EXPECT_EQ(cells.size(), 8u);  // no duplicates of the formatted cells
    EXPECT_EQ(at(cells, 0, 7).text, "two\nlines");  // a line break written as it is
    const uint8_t* a1 = format_of(l, 0, 0);
    EXPECT_EQ(a1[kFmtCode], 'I');
    EXPECT_EQ(format_font(a1), uint16_t(pf::kTimesFont));
    EXPECT_EQ(a1[kFmtSize], 14);
    EXPECT_EQ(a1[kFmtFace], 8 | 16);
    EXPECT_EQ(format_of(l, 0, 1)[kFmtCode], 0);
    // Decimals with a plus sign are refused; the alignment is still taken.
    EXPECT_EQ(format_of(l, 0, 2)[kFmtDecimals], 2);
    EXPECT_EQ(format_of(l, 0, 2)[kFmtAlign] & 7, 1);
    EXPECT_EQ(at(cells, 0, 3).type, kCellText);
    EXPECT_EQ(at(cells, 0, 3).text, "00123");
    EXPECT_EQ(at(cells, 0, 4).number, 123);
    const double error = at(cells, 0, 5).number;
    EXPECT_EQ(checkValue(&error), kErrDivZero);
    EXPECT_EQ(at(cells, 0, 6).number, 0.1);
    // Dates read into a layer added to a workbook move into the workbook's
    // date system, times alone as they are.
    const std::string dates = "P;Pm/d/yy\r\nP;Ph:mm\r\nF;P0;FG0G;Y1;X1\r\nC;K45293\r\nF;P1;FG0G;X2\r\nC;K0.5\r\n";
    ASSERT_FALSE(Get_1900Date_Flag(book));
    MemoryRef added = sample::new_layer(book);
    ASSERT_EQ(read_sylk_bytes("ID;PTEST\r\nO;L;V0\r\n" + dates + "E\r\n", added), 0);
    EXPECT_EQ(cell(added, 0, 0).number, 45293 - 1462);
    EXPECT_EQ(cell(added, 0, 1).number, 0.5);
    EXPECT_FALSE(Get_1900Date_Flag(book));
    MemoryRef in_1900 = fresh_layer();
    Set_1900Date_Flag(GetWorkSheet(in_1900), true);
    MemoryRef added_1900 = sample::new_layer(GetWorkSheet(in_1900));
    ASSERT_EQ(read_sylk_bytes("ID;P\r\nO;V4\r\n" + dates + "E\r\n", added_1900), 0);
    EXPECT_EQ(cell(added_1900, 0, 0).number, 45293 + 1462);
}

// A document read from SYLK counts its dates in the system the options
// record names; a file without one that another program wrote counts from
// 1900, one of this program's from the workbook's own system.
TEST_F(SylkTest, ADocumentTakesTheDateSystemOfItsFile) {
    struct Case {
        std::string text;
        bool in_1900;
        double year;
    };
    const std::string cells = "C;Y3;X2;K45366\r\nC;X3;K0;EYEAR(R3C2)\r\nE\r\n";
    const Case cases[] = {
        // As Gnumeric writes it.
        {"ID;PGnumeric;N;E\r\nP;PGeneral\r\nF;P0;DG0G10;M320\r\nB;Y3;X3;D0 0 2 2\r\nO;L;D;V0;K47;G100 0.001\r\n" +
             cells,
         true, 2024},
        // As LibreOffice writes it: no options record.
        {"ID;PCALCOOO32\r\nP;PGeneral\r\nF;P0;DG0G10;M255\r\nB;Y3;X3;D0 0 2 2\r\n" + cells, true, 2024},
        {"ID;PTEST\r\nO;V4\r\n" + cells, false, 2028},
        {"ID;PQUORVIN;N;E\r\n" + cells, false, 2028},
        // This program's own, naming the workbook's system apart from its
        // serials': in the ID record, or in the options record as before.
        {"ID;PQUORVIN;N;E;B4\r\nO;L;D;V0;K47;G100 0.001\r\n" + cells, false, 2028},
        {"ID;PQUORVIN;N;E;B0\r\nO;L;D;V0;K47;G100 0.001\r\n" + cells, true, 2024},
        {"ID;PQUORVIN;N;E\r\nO;L;D;V0;K47;G100 0.001;B4\r\n" + cells, false, 2028},
    };
    for (const Case& c : cases) {
        MemoryRef into = read_sylk(c.text);
        recalculate(into);
        EXPECT_EQ(Get_1900Date_Flag(GetWorkSheet(into)) != 0, c.in_1900) << c.text;
        EXPECT_EQ(cell(into, 2, 1).number, 45366) << c.text;
        EXPECT_EQ(cell(into, 2, 2).number, c.year) << c.text;
    }
}

// A peer's dates the calendar here cannot show (before 1904, before 1900,
// after 2040) keep their date format, which shows their numbers, counted for
// the notes, never another date; 1 January 1904 (1,462 in the 1900 system)
// shows as itself; in order or not, and in a workbook of either system.
// Written to SYLK again, the cells keep the format the peers show as dates.
TEST_F(SylkTest, DatesTheCalendarCannotShowShowTheirNumbers) {
    const double serials[] = {61, 900, 1461, 1462, 1463, -100, 46000, 60000};
    std::string in_order = "ID;PWXL;N;E\r\nP;Pm/d/yyyy\r\n", out_of_order = in_order;
    for (int row = 0; row < 8; ++row) {
        const std::string y = std::to_string(row + 1);
        const std::string number = file_number_text(serials[row]);
        in_order += "F;P0;FG0G;Y" + y + ";X1\r\nC;K" + number + "\r\n";
        out_of_order += "C;Y" + y + ";X1;K" + number + "\r\nF;P0;FG0G;Y" + y + ";X1\r\n";
    }
    for (const std::string& text : {in_order, out_of_order}) {
        ImportReport report;
        MemoryRef l = fresh_layer();
        ASSERT_EQ(read_text_bytes(text + "E\r\n", kCommaSeparator, l, &report), 0);
        EXPECT_TRUE(Get_1900Date_Flag(GetWorkSheet(l)));
        EXPECT_EQ(report.dates_shown_as_numbers, 5);
        const std::string shown = layer_text(l, FieldSource::displayed, kTabSeparator);
        for (int row = 0; row < 8; ++row) EXPECT_NE(format_of(l, row, 0)[kFmtCode], kFormatGeneral) << row;
        EXPECT_EQ(shown, "61\r\n900\r\n1461\r\n1/1/1904\r\n1/2/1904\r\n-100\r\n12/9/2025\r\n60000\r\n");
        EXPECT_EQ(text_import_notes(report).back().index, kDatesShownAsNumbers);
        std::vector<std::string> formats = lines_of(l, "F;P");
        formats.erase(formats.begin());  // the layer's defaults
        ASSERT_EQ(formats.size(), 8u);
        for (const std::string& format : formats)
            EXPECT_EQ(format.substr(0, format.find(";Y")), formats[0].substr(0, formats[0].find(";Y"))) << format;
    }
    // Read into a workbook counting from 1904, a serial of the 1900 system
    // before 1904 moves below zero and shows its number too; 1 January 1904
    // is that system's first day.
    MemoryRef added = sample::new_layer(book);
    ImportReport report;
    ASSERT_EQ(read_text_bytes(in_order + "E\r\n", kCommaSeparator, added, &report), 0);
    EXPECT_EQ(report.dates_shown_as_numbers, 5);
    EXPECT_EQ(format_of(added, 0, 0)[kFmtCode], format_of(added, 3, 0)[kFmtCode]);
    EXPECT_EQ(cell(added, 0, 0).number, 61 - 1462);
    EXPECT_EQ(cell(added, 4, 0).number, 1);
}

// The format code of a picture of the SYLK picture list.
uint8_t code_of_picture_text(const std::string& picture) {
    for (int16_t item = 1; item <= picture_count(); ++item)
        if (pf::get_indexed_string(kSylkPictureStrings, item) == picture) return uint8_t(code_of_picture(item));
    return 0;
}

// Amounts in a currency with their decimals and thousands separators, as a
// peer's workbook gives them, show the same read back from this program's
// SYLK, which is written the same the second time.
TEST_F(SylkTest, CurrenciesAndSeparatorsComeBackAsShown) {
    type_entries(layer, {{{0, 0}, "2.5"}, {{0, 1}, "1.8"}, {{0, 2}, "1200"}, {{0, 3}, "1256.4"}});
    const uint8_t codes[] = {code_of_picture_text("\xDB#,##0.00"), code_of_picture_text("\xA3#,##0.00"),
                             code_of_picture_text("\xB4#,##0.00"), kFormatGeneral};
    for (int column = 0; column < 4; ++column) {
        ASSERT_NE(codes[column], 0) << column;
        uint8_t* f = format_of(layer, 0, column);
        f[kFmtCode] = codes[column];
        f[kFmtDecimals] = 2;
        f[kFmtFlagsA] |= kFlagAThousands;
        f[kFmtFlagsB] |= kFlagBFixedDecimals;
    }
    const std::string shown = "\xE2\x82\xAC" "2.50\t\xC2\xA3" "1.80\t\xC2\xA5" "1,200.00\t1,256.40\r\n";
    ASSERT_EQ(layer_text(layer, FieldSource::displayed, kTabSeparator), shown);
    const std::string once = sylk_layer_text(layer);
    MemoryRef back = read_sylk(once);
    EXPECT_EQ(layer_text(back, FieldSource::displayed, kTabSeparator), shown);
    EXPECT_EQ(cells_of(back), cells_of(layer));
    EXPECT_EQ(sylk_layer_text(back), once);
}

// Through SYLK and back every value stays what it was, in either date
// system: a date, a plain number and formulas that mix them.
TEST_F(SylkTest, ARoundTripKeepsEveryValueInEitherDateSystem) {
    for (bool in_1900 : {true, false}) {
        MemoryRef source = fresh_layer();
        Set_1900Date_Flag(GetWorkSheet(source), in_1900);
        type_entries(source, {{{0, 0}, "3/15/2024"}, {{0, 1}, "=A1-45000"}, {{0, 2}, "45366"}, {{0, 3}, "=C1+1"}});
        recalculate(source);
        MemoryRef back = read_sylk(sylk_layer_text(source));
        recalculate(back);
        EXPECT_EQ(Get_1900Date_Flag(GetWorkSheet(back)) != 0, in_1900);
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(cell(back, 0, column).number, cell(source, 0, column).number) << in_1900 << " " << column;
    }
}

TEST_F(SylkTest, WriterLinesFollowTheFormat) {
    // An empty layer: the ID, the pictures, four fonts, the defaults, the options and E.
    // The workbook's own date system rides in the ID record, where other
    // programs pass over it.
    std::string empty = sylk_layer_text(layer);
    EXPECT_EQ(empty.substr(0, 20), "ID;PQUORVIN;N;E;B4\r\n");
    EXPECT_EQ(lines_of(layer, "P;P").size(), size_t(picture_count()));
    EXPECT_EQ(lines_of(layer, "P;F").size(), 4u);
    EXPECT_EQ(lines_of(layer, "F;").size(), 1u);
    EXPECT_EQ(lines_of(layer, "O;"), std::vector<std::string>{"O;L;D;V0;K47;G100 0.001"});
    EXPECT_EQ(empty.substr(empty.size() - 3), "E\r\n");

    type_entries(layer, {{{0, 0}, "1"}, {{0, 1}, "2"}, {{1, 1}, "=A1*2"}, {{2, 0}, "b"}, {{2, 1}, "c"}, {{3, 0}, "0.1"}});
    recalculate(layer);
    uint8_t* bold = format_of(layer, 2, 0);
    bold[kFmtFace] = 1;
    uint8_t* top = format_of(layer, 2, 1);
    store_u16(top + kFmtBorderStyles, 0x0200);
    SetColumnSize(0, 0, 100, nullptr);
    InputColumnFormat(layer, 0);
    SetColumnSize(0, 0, 100, GetSpreadSheetColumnFormats(layer));
    EXPECT_EQ(lines_of(layer, "P;F").back(), "P;F" + model_services.name_of_font_number(pf::kApplFont) + ";M240;SB");
    EXPECT_EQ(lines_of(layer, "F;W"), std::vector<std::string>{"F;W1 1 12"});
    const std::vector<std::string> cells = lines_of(layer, "C;"), formats = lines_of(layer, "F;S");
    EXPECT_EQ(cells[0], "C;Y1;X1;K1");
    EXPECT_EQ(cells[1], "C;X2;K2");
    EXPECT_EQ(cells[2], "C;Y2;K2;ER[-1]C[-1]*2");
    EXPECT_EQ(formats, (std::vector<std::string>{"F;SDM5;Y3;X1", "F;STM0;X2"}));
    EXPECT_EQ(cells[5], "C;Y4;X1;K0.1");
}

TEST_F(SylkTest, NumbersAreWrittenInFullWithAPoint) {
    pf::IntlSettings european = pf::us_international_settings();
    european.decimal_point = ',';
    european.thousands_separator = '.';
    type_entries(layer, {{{0, 0}, "=1/3"}, {{0, 1}, "=2/3*1E300"}});
    recalculate(layer);
    pf::set_international_settings(european);
    Init_Quorvin_Globals();
    std::vector<std::string> cells = lines_of(layer, "C;");
    EXPECT_EQ(cells[0], "C;Y1;X1;K0.3333333333333333;E1/3");
    MemoryRef back = read_sylk(sylk_layer_text(layer));
    EXPECT_EQ(cells_of(back), cells_of(layer));
}

TEST_F(SylkTest, EveryFormatCodeComesBack) {
    const uint8_t codes[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,   10,  11,  12,  13,  14,  15,  16,  17,  18,
                             19, 20, 21, 22, 23, 24, 25, 26, 27, 28,  29,  31,  32,  33,  34,  36,  37,  38,  39,
                             45, 46, 47, 48, 49, 50, 'B', 'F', 'G', 'I', 'J', 'S', 'f', 110, 111, 112, 113, 114, 115,
                             116, 120};
    std::map<std::pair<int, int>, std::string> entries;
    for (size_t i = 0; i < sizeof codes; ++i) entries[{int(i), 0}] = std::to_string(i + 1);
    type_entries(layer, entries);
    for (size_t i = 0; i < sizeof codes; ++i) {
        uint8_t* f = format_of(layer, int(i), 0);
        f[kFmtCode] = codes[i];
        f[kFmtDecimals] = uint8_t(int8_t(int(i % 13) - 3));  // rounding left of the point too
        f[kFmtAlign] = uint8_t(i % 4);
        f[kFmtFace] = uint8_t(i % 32);
        if (codes[i] == 'G') f[kFmtFlagsB] = kFlagBFixedDecimals;
    }
    MemoryRef back = read_sylk(sylk_layer_text(layer));
    const CellMap before = cells_of(layer), after = cells_of(back);
    for (size_t i = 0; i < sizeof codes; ++i)
        EXPECT_EQ(at(after, int(i), 0), at(before, int(i), 0)) << "format code " << int(codes[i]);
}

TEST_F(SylkTest, EveryKindOfCellAndEveryFunctionComesBack) {
    std::map<std::pair<int, int>, std::string> entries = {
        {{0, 0}, "12.75"}, {{0, 1}, "text; with \"quotes\""}, {{0, 2}, "=A1*2+SUM($A$1:A1)"},
        {{0, 3}, "=\"a;b\"&B1"}, {{0, 4}, "=1/0"}, {{0, 5}, "1/2/2024"}, {{0, 6}, "3 1/4"},
        {{0, 7}, "=A$1+$A1-A1"}, {{0, 8}, "=SUM(B2:C3)"}};
    for (int n = 1; n <= kFunctionCount; ++n) {
        const unsigned char* name = function_name(n);
        std::string call(reinterpret_cast<const char*>(name + 1), name[0]);
        entries[{n, 0}] = "=" + call + arguments_of(n);
    }
    type_entries(layer, entries);
    recalculate(layer);
    const CellMap before = cells_of(layer);
    for (int n = 1; n <= kFunctionCount; ++n) ASSERT_EQ(at(before, n, 0).type, kCellFormula) << entries[{n, 0}];
    MemoryRef back = read_sylk(sylk_layer_text(layer));
    const CellMap after = cells_of(back);
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [where, view] : before) EXPECT_EQ(at(after, where.first, where.second), view) << entries[where];
    // And through CSV with formulas as text, recalculated.
    MemoryRef csv = read_text(layer_text(layer, FieldSource::formulas, kCommaSeparator), kCommaSeparator);
    recalculate(csv);
    const CellMap from_csv = cells_of(csv);
    for (const auto& [where, view] : before) {
        if (view.type == kCellFormula) EXPECT_EQ(at(from_csv, where.first, where.second).formula, view.formula);
    }
}

// A text the read may give back as it goes reads as one it must keep: values
// with escapes, doubled semicolons and line breaks across the points where
// pages go back, over many pages.
TEST_F(SylkTest, ATextGivenBackAsItIsReadReadsTheSame) {
    std::string text = "ID;PTEST\r\n";
    for (int r = 1; r <= 3000; ++r) {
        text += "C;Y" + std::to_string(r) + ";X1;K" + std::to_string(r * 7) + "\r\n";
        text += "C;X2;K\"a;;b\x1bNAe\"\r\n";
        text += "C;X3;K\"first\r\nsecond " + std::to_string(r) + "\"\r\n";
        text += "C;X4;K0.5;E" + std::string(r % 2 ? "R[-1]C+1" : "RC[-3]*2") + "\r\n";
    }
    text += "E\r\n";
    MemoryRef kept = fresh_layer(), given_back = fresh_layer();
    ASSERT_EQ(read_sylk_text(text, kept, nullptr), 0);
    std::string consumed = text;
    ASSERT_EQ(read_sylk_text_letting_go(consumed, given_back, nullptr), 0);
    const CellMap expected = cells_of(kept);
    EXPECT_EQ(expected.size(), 12000u);
    EXPECT_EQ(cells_of(given_back), expected);
    EXPECT_EQ(cell(given_back, 2999, 2).text, "first\nsecond 3000");
    EXPECT_EQ(consumed.find("C;Y100;X1"), std::string::npos);  // its pages went back
}

TEST_F(SylkTest, LongRecordsAreReadWhole) {
    std::string long_text(70000, 'x');
    MemoryRef l = read("C;Y1;X1;K\"" + long_text + "\"\r\nC;Y2;X1;K5\r\n");
    EXPECT_EQ(cell(l, 0, 0).text.size(), size_t(kMaxCellText));
    EXPECT_EQ(cell(l, 1, 0).number, 5);
    std::string long_formula = "=" + std::string(300, '1');
    EXPECT_EQ(cell(read("C;Y1;X1;E" + long_formula + "\r\n"), 0, 0).text, "'" + long_formula);
}

}  // namespace

namespace {

TEST_F(SylkTest, LayersAndNamesInFormulasComeBack) {
    MemoryRef other = sample::new_layer(book);
    SetSheetName(reinterpret_cast<const unsigned char*>("\x0bOther Layer"), other);
    SetSheetName(reinterpret_cast<const unsigned char*>("\x05" "First"), layer);
    uint8_t names[kNamedRangeSize] = {};
    set_named_range(names, reinterpret_cast<const unsigned char*>("\x04Rate"), CellRange{{0, 0}, {0, 0}});
    Set_rangeinfo(layer, Bytes2Memory(&mem_globals, names, kNamedRangeSize, 1));
    type_entries(layer, {{{1, 1}, "=2:B3+1"}, {{1, 2}, "=1:2:A1"}, {{1, 3}, "=Rate*2"}});
    const std::vector<std::string> cells = lines_of(layer, "C;");
    EXPECT_NE(cells[0].find(";E'Other Layer'!R[+1]C+1"), std::string::npos) << cells[0];
    EXPECT_NE(cells[1].find(";E'First:Other Layer'!R[-1]C[-2]"), std::string::npos) << cells[1];
    EXPECT_NE(cells[2].find(";ERate*2"), std::string::npos) << cells[2];
    // Read into a layer of the same workbook, the layers are found by name.
    MemoryRef again = sample::new_layer(book);
    ASSERT_EQ(read_sylk_bytes(sylk_layer_text(layer), again), 0);
    Set_rangeinfo(again, Bytes2Memory(&mem_globals, names, kNamedRangeSize, 1));
    EXPECT_EQ(cell(again, 1, 1).formula, "=2:B3+1");
    EXPECT_EQ(cell(again, 1, 2).formula, "=1:2:A1");
    EXPECT_EQ(GetMemorySize(Get_rangeinfo(again)), 1);
}

}  // namespace

namespace {

void name_layer(MemoryRef of, const std::string& name) {
    unsigned char pname[32];
    pname[0] = uint8_t(name.size());
    std::memcpy(pname + 1, name.data(), name.size());
    SetSheetName(pname, of);
}

// References to other layers go out by name, quoted where a reader would
// take the name for a cell, a number or a function; the own layer's without
// a layer part; a layer without a name cannot be named, so its formula goes
// out as its value, counted. Read into the same workbook every formula and
// value comes back; read alone, each other layer's formula keeps its value.
TEST_F(SylkTest, LayerReferencesComeBackWhateverTheLayersAreCalled) {
    const std::vector<std::string> names = {"Q1", "FY24", "ATan2", "R1C1", "It's Q 3", "Sheet2", "", "Q2"};
    std::vector<MemoryRef> layers = {layer};
    while (layers.size() < names.size()) layers.push_back(sample::new_layer(book));
    for (size_t i = 0; i < names.size(); ++i) {
        if (!names[i].empty()) name_layer(layers[i], names[i]);
        type_entries(layers[i], {{{0, 0}, std::to_string(100 * (i + 1))}});
    }
    MemoryRef home = layers.back();  // Q2, the eighth layer
    std::map<std::pair<int, int>, std::string> entries{{{0, 0}, "5"}, {{0, 1}, "=1:A1+A1"}, {{0, 2}, "=SUM(1:A1:B1)+B1"}};
    for (int i = 2; i <= 8; ++i) entries[{1, i - 2}] = "=" + std::to_string(i) + ":A1*2";
    type_entries(home, entries);
    recalculate(home);
    ASSERT_EQ(cell(home, 0, 1).number, 105);
    ASSERT_EQ(cell(home, 0, 2).number, 205);
    const CellMap before = cells_of(home);

    ExportReport losses;
    const std::string text = sylk_layer_text(home, SylkVariant::own, &losses);
    EXPECT_EQ(losses.formulas_kept_as_values, 1);
    for (const char* written : {";K105;E'Q1'!RC[-1]+RC[-1]\r\n", ";K205;ESUM('Q1'!RC[-2]:RC[-1])+RC[-1]\r\n",
                                ";K400;E'FY24'!R[-1]C*2\r\n", ";K600;E'ATan2'!R[-1]C[-1]*2\r\n",
                                ";K800;E'R1C1'!R[-1]C[-2]*2\r\n", ";K1000;E'It''s Q 3'!R[-1]C[-3]*2\r\n",
                                ";K1200;ESheet2!R[-1]C[-4]*2\r\n", ";X6;K1400\r\n", ";K10;ER[-1]C[-6]*2\r\n"})
        EXPECT_NE(text.find(written), std::string::npos) << written << "\n" << text;

    MemoryRef again = sample::new_layer(book);
    ASSERT_EQ(read_sylk_bytes(text, again), 0);
    recalculate(again);
    CellMap expected = before;
    expected[{1, 5}] = CellView{kCellConstant, 1400, "", "", before.at({1, 5}).format};
    expected[{1, 6}].formula = "=A1*2";
    EXPECT_EQ(cells_of(again), expected);

    ImportReport report;
    MemoryRef alone = fresh_layer();
    ASSERT_EQ(read_sylk_bytes(text, alone, &report), 0);
    recalculate(alone);
    EXPECT_EQ(report.unconverted_formulas, 7);
    for (int column = 0; column < 7; ++column) EXPECT_EQ(cell(alone, 1, column).number, before.at({1, column}).number);
    EXPECT_EQ(cell(alone, 0, 1).type, kCellConstant);
    EXPECT_EQ(cell(alone, 0, 1).number, 105);
    EXPECT_EQ(cell(alone, 0, 2).number, 205);
    EXPECT_EQ(cell(alone, 1, 6).formula, "=A1*2");
}

// A name before "!" is a layer's, quoted or not, even one that reads as a
// cell: another program's file naming layers this workbook lacks keeps its
// values, each formula counted.
TEST_F(SylkTest, NamesBeforeAnExclamationMarkAreLayers) {
    ImportReport report;
    MemoryRef l = fresh_layer();
    ASSERT_EQ(read_sylk_bytes("ID;PTEST\r\nC;Y1;X1;K5\r\nC;X2;K105;EQ1!RC[-1]+RC[-1]\r\nC;X3;K7;E'FY24'!R1C1\r\n"
                              "C;X4;K8;ER1C1!R1C1\r\nC;X5;K9;EATan2!R1C1\r\nE\r\n",
                              l, &report),
              0);
    recalculate(l);
    EXPECT_EQ(report.unconverted_formulas, 4);
    for (auto [column, value] : std::vector<std::pair<int, double>>{{1, 105}, {2, 7}, {3, 8}, {4, 9}}) {
        EXPECT_EQ(cell(l, 0, column).type, kCellConstant) << column;
        EXPECT_EQ(cell(l, 0, column).number, value) << column;
    }
    // Read into a workbook that has the layers, they are found.
    name_layer(layer, "R1C1");
    MemoryRef second = sample::new_layer(book);
    name_layer(second, "Q1");
    MemoryRef into = sample::new_layer(book);
    ASSERT_EQ(read_sylk_bytes("ID;PTEST\r\nC;Y1;X2;EQ1!RC[-1]+R1C1!R1C1\r\nE\r\n", into), 0);
    EXPECT_EQ(cell(into, 0, 1).formula, "=2:A1+1:$A$1");
}

// The comparisons and the division sign beyond ASCII (Mac Roman's bytes, or
// UTF-8's characters) are operators after a reference and before one, as in
// a typed formula; the formulas come back and write the same file again.
TEST_F(SylkTest, ComparisonSignsBeyondAsciiJoinReferences) {
    const std::string utf8_records =
        "C;Y1;X1;K1\r\nC;X2;K2\r\n"
        "C;Y2;X1;ER[-1]C\u2264R[-1]C[+1]\r\n"
        "C;X2;ER[-1]C[-1]\u2265R[-1]C\r\n"
        "C;X3;ER[-1]C[-2]\u2260R[-1]C[-1]\r\n"
        "C;X4;ER[-1]C[-3]\u00F7R[-1]C[-2]\r\n";
    const std::string roman_records =
        "C;Y1;X1;K1\r\nC;X2;K2\r\n"
        "C;Y2;X1;ER[-1]C\xB2R[-1]C[+1]\r\n"
        "C;X2;ER[-1]C[-1]\xB3R[-1]C\r\n"
        "C;X3;ER[-1]C[-2]\xADR[-1]C[-1]\r\n"
        "C;X4;ER[-1]C[-3]\xD6R[-1]C[-2]\r\n";
    for (const std::string& records : {utf8_records, roman_records}) {
        ImportReport report;
        MemoryRef l = fresh_layer();
        ASSERT_EQ(read_sylk_bytes("ID;PTEST\r\n" + records + "E\r\n", l, &report), 0);
        recalculate(l);
        EXPECT_EQ(report.unconverted_formulas, 0);
        EXPECT_EQ(cell(l, 1, 0).formula, "=A1\xB2" "B1");
        EXPECT_EQ(cell(l, 1, 0).number, 1);
        EXPECT_EQ(cell(l, 1, 1).formula, "=A1\xB3" "B1");
        EXPECT_EQ(cell(l, 1, 1).number, 0);
        EXPECT_EQ(cell(l, 1, 2).formula, "=A1\xAD" "B1");
        EXPECT_EQ(cell(l, 1, 2).number, 1);
        EXPECT_EQ(cell(l, 1, 3).formula, "=A1\xD6" "B1");
        EXPECT_EQ(cell(l, 1, 3).number, 0.5);
        const std::string written = sylk_layer_text(l);
        EXPECT_NE(written.find(";ER[-1]C\u2264R[-1]C[+1]\r\n"), std::string::npos) << written;
        EXPECT_EQ(sylk_layer_text(read_sylk(written)), written);
    }
}

}  // namespace

namespace {

// A range of one cell stays a range: functions that take a range read it back.
TEST_F(SylkTest, OneCellRangesStayRanges) {
    type_entries(layer, {{{0, 0}, "4"}, {{0, 1}, "=LOOKUP(4,A1:A1)"}, {{0, 2}, "=INDEX($A$1:$A$1,1,1)"}});
    recalculate(layer);
    const std::vector<std::string> cells = lines_of(layer, "C;");
    EXPECT_NE(cells[1].find(";ELOOKUP(4,RC[-1]:RC[-1])"), std::string::npos) << cells[1];
    MemoryRef back = read_sylk(sylk_layer_text(layer));
    recalculate(back);
    EXPECT_EQ(cell(back, 0, 1).formula, "=LOOKUP(4,A1:A1)");
    EXPECT_EQ(cell(back, 0, 1).number, 4);
    EXPECT_EQ(cell(back, 0, 2).formula, "=INDEX($A$1:$A$1,1,1)");
    EXPECT_EQ(cell(back, 0, 2).number, 4);
}

std::vector<int32_t> progress_reports;
void record_progress(MemoryRef, int32_t kind, int32_t done, int32_t) {
    if (kind == 0) progress_reports.push_back(done);
}

// Progress comes every hundredth of a text of 10,000 bytes and more, every
// quarter of a shorter one.
TEST_F(SylkTest, ProgressStepsFollowTheTextsLength) {
    const WaitProc saved = quorvin_rsrv.wait;
    quorvin_rsrv.wait = record_progress;
    auto reports_for = [&](size_t records) {
        std::string text = "ID;PTEST\r\n";
        for (size_t i = 0; i < records; ++i) text += "C;Y1;X1;K12345\r\n";  // 16 bytes a record
        text += "E\r\n";
        progress_reports.clear();
        read_sylk(text);
        return progress_reports.size();
    };
    const size_t short_text = reports_for(560), long_text = reports_for(1250);
    quorvin_rsrv.wait = saved;
    EXPECT_LE(short_text, 2u + 4u);  // 9,000 bytes: a quarter at a time
    EXPECT_GE(long_text, 2u + 90u);  // 20,000 bytes: a hundredth at a time
    EXPECT_LE(long_text, 2u + 100u);
}

}  // namespace

namespace {

// A format record may come before or after its cell's record: either way the
// cell keeps its value and takes the format; a date format given after the
// value still moves the serial into the workbook's system.
TEST_F(SylkTest, FormatsAndValuesOfOneCellCombineInEitherOrder) {
    MemoryRef after = read("C;Y1;X1;K5\r\nF;P0;FF2G;Y1;X1\r\n");
    EXPECT_EQ(cell(after, 0, 0).type, kCellConstant);
    EXPECT_EQ(cell(after, 0, 0).number, 5);
    EXPECT_TRUE(format_of(after, 0, 0)[kFmtFlagsB] & kFlagBFixedDecimals);
    MemoryRef before = read("F;P0;FF2G;Y1;X1\r\nC;Y1;X1;K5\r\n");
    EXPECT_EQ(cells_of(before), cells_of(after));
    // A number format and a style in two records after the cell both apply.
    MemoryRef both = read("C;Y1;X1;K5\r\nF;FF2G;Y1;X1\r\nF;SD;Y1;X1\r\nC;Y2;X1;K6\r\n");
    EXPECT_EQ(cell(both, 0, 0).number, 5);
    EXPECT_TRUE(format_of(both, 0, 0)[kFmtFlagsB] & kFlagBFixedDecimals);
    EXPECT_EQ(format_of(both, 0, 0)[kFmtFace], 1);
    EXPECT_EQ(cell(both, 1, 0).number, 6);
    ASSERT_FALSE(Get_1900Date_Flag(book));
    MemoryRef date = read("P;Pm/d/yy\r\nC;Y1;X1;K45293\r\nF;P0;FG0G;Y1;X1\r\n");
    EXPECT_EQ(cell(date, 0, 0).number, 45293);
    // The entry line shows the date as a user types it, not its serial.
    const uint8_t* a1 = format_of(date, 0, 0);
    EXPECT_EQ(bytes(_constTextPtr_(a1), _formulaLength_(a1) - kNumberSlotSize), "1/2/2024");
}

}  // namespace

namespace {

// A cell that follows the layer's default font, size or face keeps following
// it through a round trip, whatever the defaults of the layer read into; a
// font of its own stays its own.
TEST_F(SylkTest, CellsWithoutAFontOfTheirOwnKeepNone) {
    SpreadSheet* sheet = use_layer(layer);
    const std::string times = "Times";
    sheet->size = 10;
    sheet->font_name[0] = uint8_t(times.size());
    std::memcpy(sheet->font_name + 1, times.data(), times.size());
    release_layer(layer);
    type_entries(layer, {{{0, 0}, "bold"}, {{0, 1}, "plain"}, {{0, 2}, "small"}, {{0, 3}, "courier"}});
    format_of(layer, 0, 0)[kFmtFace] = 1;
    format_of(layer, 0, 2)[kFmtSize] = 9;
    store_u16(format_of(layer, 0, 3) + kFmtFont, uint16_t(pf::kCourierFont));
    format_of(layer, 0, 3)[kFmtSize] = 14;
    MemoryRef back = read_sylk(sylk_layer_text(layer));
    EXPECT_NE(use_layer(back)->size, 12);
    release_layer(back);
    EXPECT_EQ(cells_of(back), cells_of(layer));
    const uint8_t* bold = format_of(back, 0, 0);
    EXPECT_EQ(format_font(bold), kDefaultFontNumber);
    EXPECT_EQ(bold[kFmtSize], kLayerDefaultSize);
    EXPECT_EQ(bold[kFmtFace], 1);
}

// A bold cell in a row of no height, and a cell whose own size is the
// layer's, follow the layer's size after a round trip, whatever that size.
TEST_F(SylkTest, CellsOfTheLayersSizeFollowItInRowsOfNoHeightToo) {
    for (int size : {10, 12}) {
        MemoryRef book = sample::new_workbook();
        MemoryRef own = sample::new_layer(book);
        use_layer(own)->size = int16_t(size);
        release_layer(own);
        InputRowFormat(own, int32_t(1) << 16 | 1);
        SetRowSize(1, 1, 0, GetSpreadSheetRowFormats(own));
        type_entries(own, {{{1, 0}, "bold"}, {{2, 0}, "same"}});
        format_of(own, 1, 0)[kFmtFace] = 1;
        format_of(own, 2, 0)[kFmtSize] = uint8_t(size);
        MemoryRef back = read_sylk(sylk_layer_text(own));
        EXPECT_EQ(format_of(back, 1, 0)[kFmtSize], kLayerDefaultSize) << size;
        EXPECT_EQ(format_of(back, 1, 0)[kFmtFace], 1) << size;
        EXPECT_EQ(format_of(back, 2, 0)[kFmtSize], kLayerDefaultSize) << size;
        EXPECT_EQ(sylk_layer_text(back), sylk_layer_text(read_sylk(sylk_layer_text(back)))) << size;
    }
}

// A cell keeps its own font, size and face in a row or column formatted
// otherwise: a plain cell in a bold row of no height, and a cell that follows
// the layer's size in a column of another size, stay so after a round trip;
// the row's and the column's formats come back with their fonts.
TEST_F(SylkTest, CellsKeepTheirOwnStyleInStyledRowsAndColumns) {
    MemoryRef own = fresh_layer();
    use_layer(own)->size = 10;
    release_layer(own);
    InputRowFormat(own, int32_t(1) << 16 | 1);
    SetRowSize(1, 1, 0, GetSpreadSheetRowFormats(own));
    SetRowByte(1, 1, kFmtFace, 0, false, GetSpreadSheetRowFormats(own));
    InputColumnFormat(own, int32_t(2) << 16 | 2);
    SetColumnByte(2, 2, kFmtSize, 18, true, GetSpreadSheetColumnFormats(own));
    type_entries(own, {{{1, 0}, "bold"}, {{1, 1}, "plain"}, {{1, 2}, "same"}, {{3, 2}, "layer's"}, {{4, 2}, "18"}});
    format_of(own, 1, 0)[kFmtFace] = 1;
    format_of(own, 1, 2)[kFmtSize] = 10;
    format_of(own, 4, 2)[kFmtSize] = 18;
    MemoryRef back = read_sylk(sylk_layer_text(own));
    EXPECT_EQ(format_of(back, 1, 0)[kFmtFace], 1);
    for (auto [row, column] : {std::pair{1, 1}, {1, 2}, {3, 2}}) {
        EXPECT_EQ(format_of(back, row, column)[kFmtFace], 0) << row << "," << column;
        EXPECT_EQ(format_of(back, row, column)[kFmtSize], kLayerDefaultSize) << row << "," << column;
    }
    EXPECT_EQ(format_of(back, 4, 2)[kFmtSize], 18);
    MemoryRef rows = GetSpreadSheetRowFormats(back);
    const uint8_t* bold_row = FindRowFormatID(rows, 1);
    ASSERT_NE(bold_row, nullptr);
    EXPECT_EQ(bold_row[kFmtFace], 1);
    EXPECT_EQ(format_extent(bold_row), 0);
    UnuseMemory(rows);
    MemoryRef columns = GetSpreadSheetColumnFormats(back);
    const uint8_t* sized_column = FindColumnFormatID(columns, 2);
    ASSERT_NE(sized_column, nullptr);
    EXPECT_EQ(sized_column[kFmtSize], 18);
    UnuseMemory(columns);
    EXPECT_EQ(sylk_layer_text(back), sylk_layer_text(read_sylk(sylk_layer_text(back))));
}

}  // namespace

namespace {

// A formula that does not convert here (a layer or a name the workbook
// lacks, a function this system does not have) keeps the value the file
// stored, or its text when the file stored none; the file gets one note.
TEST_F(SylkTest, FormulasThatDoNotConvertKeepTheirStoredValues) {
    const std::string records =
        "C;Y1;X1;K14\r\nC;Y7;X1;K14;ESheet2!R[-6]C*2\r\nC;Y8;X1;K3;EFOO+1\r\nC;X2;K\"x\";EZORBLAX(1)\r\n"
        "C;X3;K#N/A;EZORBLAX(2)\r\nC;X4;ENOPE(2)\r\nC;X5;E'Sh\x1BNHuet'!R1C1\r\n";
    ImportReport report;
    MemoryRef l = fresh_layer();
    ASSERT_EQ(read_text_bytes("ID;PTEST\r\n" + records + "E\r\n", kCommaSeparator, l, &report), 0);
    EXPECT_EQ(report.unconverted_formulas, 6);
    EXPECT_EQ(cell(l, 6, 0).type, kCellConstant);
    EXPECT_EQ(cell(l, 6, 0).number, 14);
    EXPECT_EQ(cell(l, 7, 0).number, 3);
    EXPECT_EQ(cell(l, 7, 1).text, "x");
    const double na = cell(l, 7, 2).number;
    EXPECT_EQ(checkValue(&na), kErrNA);
    EXPECT_EQ(cell(l, 7, 3).text, "'=NOPE(2)");
    // Escapes in a layer's name are decoded, in the kept text too.
    EXPECT_EQ(cell(l, 7, 4).text, "'=Sh\237et:$A$1");
    // A layer of that name in the workbook read into makes it a formula.
    SetSheetName(reinterpret_cast<const unsigned char*>("\x05Sh\237et"), layer);
    MemoryRef same_book = sample::new_layer(book);
    ASSERT_EQ(read_sylk_bytes("ID;PTEST\r\nC;Y1;X1;E'Sh\x1BNHuet'!R1C1\r\nE\r\n", same_book), 0);
    EXPECT_EQ(cell(same_book, 0, 0).formula, "=1:$A$1");
    // Read from a file, the note is shown once.
    const std::string file = "ID;PTEST\r\n" + records + "E\r\n";
    write_bytes("u.slk", std::vector<uint8_t>(file.begin(), file.end()));
    prompts_log::seen.clear();
    EXPECT_EQ(ReadTextFile(spec("u.slk"), nullptr, fresh_layer(), kTextType), 0);
    EXPECT_EQ(prompts_log::seen, std::vector<std::string>{"tell 170/6"});
}

}  // namespace

namespace {

// Every number of a date, a time, a date and time, a duration (a time over
// a day) or a plain number comes back exactly, with its format, through
// either kind of SYLK in either date system, and the file read back writes
// the same file again. Serials go out in the 1900 system, which other
// programs read as the same day and time: a 1900-system workbook's as they
// are, a 1904-system workbook's that count days 1,462 days larger.
TEST_F(SylkTest, SerialsComeBackExactlyInEitherDateSystemAndKind) {
    struct Kind {
        uint8_t code;
        bool moves_in_1904;     // every number moves
        bool moves_from_one;    // numbers of 1 or more move
    };
    const Kind kinds[] = {{6, true, true}, {21, false, true}, {25, true, true}, {22, false, true}, {'G', false, false}};
    const double serials[] = {0, 0.5, 1, 1.5, 1461.5, 1462, 1462.5, 45000.25};
    for (bool in_1900 : {true, false}) {
        MemoryRef source = fresh_layer();
        Set_1900Date_Flag(GetWorkSheet(source), in_1900);
        std::string store;
        std::vector<std::string> written;  // the "K" fields, row by row
        for (int row = 0; row < 8; ++row) {
            std::string cells;
            for (int column = 0; column < 5; ++column) {
                uint8_t header[32];
                GetDefaultFormat(header);
                header[kFmtCode] = kinds[column].code;
                append_number_cell(cells, header, int16_t(column), serials[row], file_number_text(serials[row]));
                const bool moves = !in_1900 && (kinds[column].moves_in_1904 ||
                                                (kinds[column].moves_from_one && serials[row] >= 1));
                written.push_back(file_number_text(serials[row] + (moves ? 1462 : 0)));
            }
            append_row_record(store, int16_t(row), cells);
        }
        set_layer_cells(source, store);
        for (SylkVariant variant : {SylkVariant::own, SylkVariant::other_spreadsheets}) {
            const std::string first = sylk_layer_text(source, variant);
            std::vector<std::string> numbers;
            for (size_t at = first.find("\r\nC;"); at != std::string::npos; at = first.find("\r\nC;", at + 1)) {
                const size_t k = first.find(";K", at);
                numbers.push_back(first.substr(k + 2, first.find("\r\n", k) - k - 2));
            }
            EXPECT_EQ(numbers, written) << in_1900;
            ImportReport report;
            MemoryRef back = fresh_layer();
            ASSERT_EQ(read_sylk_bytes(first, back, &report), 0);
            EXPECT_EQ(Get_1900Date_Flag(GetWorkSheet(back)) != 0, in_1900);
            EXPECT_EQ(report.dates_shown_as_numbers, 0);
            EXPECT_EQ(cells_of(back), cells_of(source)) << in_1900;
            EXPECT_EQ(sylk_layer_text(back, variant), first) << in_1900;
            // The entry line shows a date the calendar shows, else the number.
            auto typed = [&](int row, int column) {
                const uint8_t* c = format_of(back, row, column);
                return std::string(reinterpret_cast<const char*>(_constTextPtr_(c)),
                                   size_t(_formulaLength_(c) - kNumberSlotSize));
            };
            EXPECT_EQ(typed(6, 0), in_1900 ? "1/1/1904 12:00" : "1/2/1908 12:00");
            EXPECT_EQ(typed(3, 3), in_1900 ? "1.5" : "1/2/1904 12:00");
        }
    }
}

// Serials move between the date systems digit by digit, so that moving back
// gives the number's own text: across zero, with fractions a double's sum
// would round, and not at all for a text in exponent form.
TEST_F(SylkTest, SerialsMoveDigitByDigit) {
    EXPECT_EQ(decimal_moved_by_days("0", 1462), "1462");
    EXPECT_EQ(decimal_moved_by_days("-0.5", 1462), "1461.5");
    EXPECT_EQ(decimal_moved_by_days("1461.5", -1462), "-0.5");
    EXPECT_EQ(decimal_moved_by_days("-2000.25", 1462), "-538.25");
    EXPECT_EQ(decimal_moved_by_days("0.1", 1462), "1462.1");
    EXPECT_EQ(decimal_moved_by_days("1462.1", -1462), "0.1");
    EXPECT_EQ(decimal_moved_by_days("0.30000000000000004", 1462), "1462.30000000000000004");
    EXPECT_EQ(decimal_moved_by_days("1e-07", 1462), "");
    EXPECT_EQ(decimal_moved_by_days("#DIV/0!", 1462), "");
    // A 1904-system date of a fraction a double's sum would round comes back
    // exactly, as a number and as a formula's result.
    MemoryRef source = fresh_layer();
    type_entries(source, {{{0, 0}, "0.1"}, {{0, 1}, "=A1"}});
    for (int column : {0, 1}) format_of(source, 0, column)[kFmtCode] = 6;
    recalculate(source);
    const std::string once = sylk_layer_text(source);
    MemoryRef back = read_sylk(once);
    EXPECT_EQ(cell(back, 0, 0).number, 0.1);
    EXPECT_EQ(cell(back, 0, 1).number, 0.1);
    EXPECT_EQ(sylk_layer_text(back), once);
}

// A cell that shows its number because the calendar cannot show its date
// keeps its column's date format; the column's number format is written
// too, so the next read gives the same layer and the same file.
TEST_F(SylkTest, AColumnsNumberFormatComesBackWithTheCellsThatDifferFromIt) {
    MemoryRef first = read_sylk("ID;PQRV;B1\r\nP;Pd-mmm\r\nF;P0;C1\r\nC;Y6;X1;K2\r\nC;Y7;X1;K45000\r\nE\r\n");
    EXPECT_NE(format_of(first, 5, 0)[kFmtCode], kFormatGeneral);
    EXPECT_EQ(format_of(first, 6, 0)[kFmtCode], format_of(first, 5, 0)[kFmtCode]);
    const std::string once = sylk_layer_text(first);
    MemoryRef second = read_sylk(once);
    EXPECT_EQ(cells_of(second), cells_of(first));
    EXPECT_EQ(sylk_layer_text(second), once);
}

// A cell of a format alone takes what its record leaves open from its
// column or row, as a cell with a value does, wherever its record stands.
TEST_F(SylkTest, AFormatOnlyCellTakesItsColumnsOrRowsNumberFormat) {
    MemoryRef first = read("F;FF2D;C1\r\nF;F$2D;M300;R3\r\nF;SD;Y1;X1\r\nF;SI;Y3;X2\r\n"
                           "C;Y1;X3;K4\r\nC;Y2;X1;K5\r\nC;Y3;X3;K6\r\n");
    // Beside each, a cell with a value in the same column or row.
    for (auto [row, column, beside_row, beside_column] : {std::array{0, 0, 1, 0}, std::array{2, 1, 2, 2}}) {
        const uint8_t* only = format_of(first, row, column);
        const uint8_t* valued = format_of(first, beside_row, beside_column);
        ASSERT_NE(only, nullptr);
        EXPECT_EQ(_cellType_(only), kCellFormatOnly);
        for (int field : {kFmtCode, kFmtDecimals, kFmtFlagsB}) EXPECT_EQ(only[field], valued[field]) << row << " " << field;
        EXPECT_NE(only[kFmtFace], 0) << row;
    }
    const std::string once = sylk_layer_text(first);
    EXPECT_EQ(sylk_layer_text(read_sylk(once)), once);
}

// A time of day typed keeps the date it was typed on: it goes out as the
// serial of that date and time in the 1900 system, and comes back the same.
TEST_F(SylkTest, ATimeOfDayKeepsItsDate) {
    type_entries(layer, {{{0, 0}, "14:20"}});
    const double typed = cell(layer, 0, 0).number;
    ASSERT_GT(typed, 40000);
    EXPECT_EQ(lines_of(layer, "C;").front(), "C;K" + file_number_text(typed + 1462));
    EXPECT_EQ(cell(read_sylk(sylk_layer_text(layer)), 0, 0).number, typed);
}

}  // namespace

namespace {

// Cells given in any order, some given twice (the last one counts), with
// formats given for other positions among them and for cells after them,
// make the store that the same cells given once each, in order, make.
TEST_F(SylkTest, RecordsInAnyOrderMakeTheStoreOfOrderedOnes) {
    std::mt19937 random(7);
    auto position = [](int row, int column) { return ";Y" + std::to_string(row) + ";X" + std::to_string(column); };
    for (int round = 0; round < 20; ++round) {
        std::map<std::pair<int, int>, int> last_value;
        std::vector<std::string> records;
        for (int i = 0; i < 150; ++i) {
            const int row = int(random() % 40) + 1, column = int(random() % 12) + 1;
            const int value = int(random() % 1000);
            records.push_back("C" + position(row, column) + ";K" + std::to_string(value) + "\r\n");
            last_value[{row, column}] = value;
        }
        std::string ordered, formats_after;
        for (int row = 1; row <= 40; ++row) {
            for (int column = 1; column <= 12; ++column) {
                if (random() % 5) continue;
                const std::string format = "F;FF2G" + position(row, column) + "\r\n";
                if (last_value.count({row, column})) formats_after += format;
                else records.insert(records.begin() + random() % (records.size() + 1), format);
                ordered += format;
            }
        }
        for (auto [where, value] : last_value)
            ordered += "C" + position(where.first, where.second) + ";K" + std::to_string(value) + "\r\n";
        std::string shuffled;
        for (const std::string& record : records) shuffled += record;
        MemoryRef from_shuffled = read(shuffled + formats_after), from_ordered = read(ordered);
        ASSERT_TRUE(store_is_sound(from_shuffled));
        EXPECT_EQ(cells_of(from_shuffled), cells_of(from_ordered)) << "round " << round;
    }
}

}  // namespace

namespace {

// Colours of cells, columns and rows come back through SYLK: an empty cell
// with only a fill colour stays, and so do the colours of a text.
TEST_F(SylkTest, ColoursComeBackAndAnEmptyFilledCellStays) {
    MemoryRef source = read("F;SS;Y1;X2\r\nC;Y2;X1;K\"red\"\r\nF;SD;C3\r\nF;SI;M240;R4\r\n");
    uint8_t* filled = format_of(source, 0, 1);
    ASSERT_NE(filled, nullptr);
    filled[kFmtPattern] = 0, filled[kFmtPatternFore] = 5;  // a solid fill as an Excel file gives it
    format_of(source, 1, 0)[kFmtTextColour] = 3;
    MemoryRef columns = GetSpreadSheetColumnFormats(source);
    FindColumnFormatID(columns, 2)[kFmtPatternFore] = 6;
    UnuseMemory(columns);
    MemoryRef rows = GetSpreadSheetRowFormats(source);
    FindRowFormatID(rows, 3)[kFmtBorderColours + 1] = 7;
    UnuseMemory(rows);

    MemoryRef back = read_sylk(sylk_layer_text(source));
    const uint8_t* cell_back = format_of(back, 0, 1);
    ASSERT_NE(cell_back, nullptr);
    EXPECT_EQ(_cellType_(cell_back), kCellFormatOnly);
    EXPECT_EQ(cell_back[kFmtPatternFore], 5);
    EXPECT_EQ(cell_back[kFmtPattern], 0);
    EXPECT_EQ(format_of(back, 1, 0)[kFmtTextColour], 3);
    EXPECT_EQ(cell(back, 1, 0).text, "red");
    MemoryRef columns_back = GetSpreadSheetColumnFormats(back);
    EXPECT_EQ(FindColumnFormatID(columns_back, 2)[kFmtPatternFore], 6);
    UnuseMemory(columns_back);
    MemoryRef rows_back = GetSpreadSheetRowFormats(back);
    EXPECT_EQ(FindRowFormatID(rows_back, 3)[kFmtBorderColours + 1], 7);
    UnuseMemory(rows_back);
    EXPECT_EQ(cells_of(back), cells_of(source));
}

// The colours and number flags of a format travel in fields of this
// program's own, which other spreadsheets warn of: SYLK for them leaves those
// fields out and keeps the rest of each format and every value.
TEST_F(SylkTest, FieldsOfOurOwnStayOutOfSylkForOtherSpreadsheets) {
    MemoryRef source = read("F;SD;C3\r\n");
    type_entries(source, {{{0, 0}, "1200"}, {{0, 1}, "-3"}});
    uint8_t* thousands = format_of(source, 0, 0);
    thousands[kFmtFlagsA] |= kFlagAThousands;
    format_of(source, 0, 1)[kFmtTextColour] = 3;
    MemoryRef columns = GetSpreadSheetColumnFormats(source);
    FindColumnFormatID(columns, 2)[kFmtPatternFore] = 6;
    UnuseMemory(columns);

    const std::string own = sylk_layer_text(source);
    EXPECT_NE(own.find(";U2 0"), std::string::npos) << own;
    EXPECT_NE(own.find(";Q3 0"), std::string::npos) << own;
    EXPECT_NE(own.find(";Q0 0 6"), std::string::npos) << own;
    const std::string others = sylk_layer_text(source, SylkVariant::other_spreadsheets);
    EXPECT_EQ(others.find(";U"), std::string::npos) << others;
    EXPECT_EQ(others.find(";Q"), std::string::npos) << others;
    EXPECT_NE(others.find("F;SDM5;C3\r\n"), std::string::npos) << others;
    MemoryRef back = read_sylk(others);
    EXPECT_EQ(cell(back, 0, 0).number, 1200);
    EXPECT_EQ(cell(back, 0, 1).number, -3);
}

}  // namespace
