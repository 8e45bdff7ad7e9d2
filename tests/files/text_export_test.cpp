// Writing cells as tab and comma-separated text: the shape of a range, CSV
// quoting, what each field shows, files, and round trips through the reader.
#include <string>
#include <utility>
#include <vector>

#include "tests/files/text_fixture.h"

namespace {

class TextExportTest : public TextTest {
protected:
    // The range as the clipboard gets it: Mac Roman, lines ending CR.
    std::string copy(CellPoint top_left, CellPoint bottom_right, uint8_t separator = kTabSeparator,
                     int16_t formulas = 0, int16_t displayed = 0) {
        MemoryRef out = nullptr;
        EXPECT_EQ(WriteTextData(&quorvin_rsrv, formulas, displayed, separator, GetSpreadSheetCells(layer), &out,
                                nullptr, top_left, bottom_right, nullptr, layer, false),
                  0);
        std::string text(static_cast<const char*>(UseMemory(out)), size_t(GetByteSize(out)));
        UnuseMemory(out);
        DisposeMemory(out);
        return text;
    }

    std::string saved(int16_t code) {
        MemoryRef into = find_SpreadSheet_item(book, 0);
        EXPECT_EQ(save_workbook_file(into, kWholeWorkbook, spec("out.txt"), code, exists("out.txt"), false), 0);
        std::vector<uint8_t> b = bytes_of("out.txt");
        return std::string(b.begin(), b.end());
    }
};

TEST_F(TextExportTest, RangesGiveLinesAndFieldsWithoutTrailingSeparators) {
    type_entries(layer, {{{1, 0}, "a"}, {{1, 3}, "b"}, {{3, 1}, "c"}});
    EXPECT_EQ(copy({1, 0}, {1, 0}), "a");  // one cell: no line end
    EXPECT_EQ(copy({0, 0}, {3, 3}), "\ra\t\t\tb\r\r\tc\r");
    EXPECT_EQ(copy({1, 1}, {1, 2}), "\r");
    // Whole columns stop after the last stored row.
    EXPECT_EQ(copy({0, 0}, {kLastCell, 1}), "\ra\r\r\tc\r");
}

TEST_F(TextExportTest, ASingleStyledTextCellHandsOutItsStyleRuns) {
    sample::Bytes store;
    sample::append_row(store, 2, {sample::text_cell(1, "Styled", 2), sample::text_cell(2, "plain")});
    sample::install_cells(layer, store);
    auto copy_style = [&](CellPoint from, CellPoint to) {
        MemoryRef out = nullptr;
        pf::Handle style = nullptr;
        EXPECT_EQ(WriteTextData(&quorvin_rsrv, 0, 0, kTabSeparator, GetSpreadSheetCells(layer), &out, &style, from, to,
                                nullptr, layer, false),
                  0);
        DisposeNonNilMemory(out);
        return style;
    };
    pf::Handle style = copy_style({2, 1}, {2, 1});
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(pf::get_handle_size(style), 2 + 2 * 20);
    pf::dispose_handle(style);
    EXPECT_EQ(copy_style({2, 2}, {2, 2}), nullptr);  // no runs
    EXPECT_EQ(copy_style({2, 1}, {2, 2}), nullptr);  // more than one cell
}

TEST_F(TextExportTest, CsvFieldsAreQuotedWhenTheyMustBe) {
    std::string out;
    WriteCSVCell("plain", ',', out);
    WriteCSVCell("a,\"b\"", ',', out);
    WriteCSVCell("say \"x\"", ',', out);
    WriteCSVCell("two\nlines", ',', out);
    WriteCSVCell("semi;colon", ';', out);
    EXPECT_EQ(out, "plain\"a,\"\"b\"\"\"\"say \"\"x\"\"\"\"two\nlines\"\"semi;colon\"");
    // Formulas holding commas are quoted too, so that the line keeps its fields.
    type_entries(layer, {{{0, 0}, "1"}, {{0, 1}, "=SUM(A1,2)"}, {{0, 2}, "x,y"}});
    EXPECT_EQ(copy({0, 0}, {0, 2}, ',', 1), "1,\"=SUM(A1,2)\",\"x,y\"\r");
}

TEST_F(TextExportTest, EachFieldShowsWhatItsModeAsks) {
    type_entries(layer, {{{0, 0}, "0.1"}, {{0, 1}, "=A1/3"}, {{0, 2}, "=1/0"}, {{0, 3}, "=\"t\"&\"u\""},
                         {{0, 4}, "txt"}, {{0, 5}, "1/2/2024"}});
    recalculate(layer);
    const std::string serial = std::to_string(int(cell(layer, 0, 5).number));
    EXPECT_EQ(copy({0, 0}, {0, 5}, kTabSeparator, 1), "0.1\t=A1/3\t=1/0\t=\"t\"&\"u\"\ttxt\t1/2/2024\r");
    EXPECT_EQ(copy({0, 0}, {0, 5}, kTabSeparator, 0, 1), "0.1\t0.033333333333333\t#DIV/0!\ttu\ttxt\t1/2/24\r");
    EXPECT_EQ(copy({0, 0}, {0, 5}), "0.1\t0.033333333333333\t#DIV/0!\ttu\ttxt\t1/2/2024\r");
    EXPECT_EQ(layer_text(layer, FieldSource::exact_values, ','),
              "0.1,0.03333333333333333,#DIV/0!,tu,txt," + serial + "\r\n");
}

TEST_F(TextExportTest, FilesAreUtf8WithCrLfLineEnds) {
    type_entries(layer, {{{0, 0}, "caf\x8E"}, {{0, 1}, "2"}, {{1, 0}, "=B1*2"}});
    recalculate(layer);
    EXPECT_EQ(saved(kFormatCsv), "caf\xC3\xA9,2\r\n=B1*2\r\n");
    EXPECT_EQ(saved(kFormatTabValues), "caf\xC3\xA9\t2\r\n4\r\n");
    EXPECT_EQ(saved(kFormatTabDisplayed), "caf\xC3\xA9\t2\r\n4\r\n");
}

TEST_F(TextExportTest, WrittenTextReadsBackAsTheSameCells) {
    type_entries(layer, {{{0, 0}, "12.5"},
                         {{0, 1}, "-3e-7"},
                         {{0, 2}, "1/2/2024"},
                         {{0, 3}, "3 1/4"},
                         {{0, 5}, "with, comma"},
                         {{0, 6}, "quote \" inside"},
                         {{1, 0}, "=A1*2+SUM($B$1:B1)"},
                         {{1, 1}, "=IF(A1>3,\"big, very\",\"small\")"},
                         {{1, 2}, "=A1/0"},
                         {{2, 4}, "two\nlines"},
                         {{4, 0}, "last"}});
    recalculate(layer);
    const CellMap before = cells_of(layer);
    for (auto [code, separator] : {std::pair{kFormatCsv, kCommaSeparator}, std::pair{kFormatTabFormulas, kTabSeparator}}) {
        std::string text = saved(code);
        if (separator == kTabSeparator) continue;  // tab text does not quote a line break
        MemoryRef read = read_text(text, separator);
        recalculate(read);
        EXPECT_EQ(cells_of(read), before) << text;
    }
}

// The progress a text save reports ends at the whole, which is what tells the
// program to give the message area back to the active cell.
std::vector<std::pair<int32_t, int32_t>> progress_reports;
void record_progress(MemoryRef, int32_t, int32_t done, int32_t total) { progress_reports.push_back({done, total}); }

TEST_F(TextExportTest, SavingTextReportsProgressUpToTheWhole) {
    type_entries(layer, {{{0, 0}, "a"}, {{2, 1}, "b"}, {{5, 0}, "c"}});
    const auto kept = quorvin_rsrv.wait;
    quorvin_rsrv.wait = record_progress;
    for (int16_t code : {kFormatCsv, kFormatTabValues, kFormatTabDisplayed}) {
        progress_reports.clear();
        EXPECT_EQ(saved(code), code == kFormatCsv ? "a\r\n\r\n,b\r\n\r\n\r\nc\r\n" : "a\r\n\r\n\tb\r\n\r\n\r\nc\r\n");
        ASSERT_FALSE(progress_reports.empty());
        for (size_t i = 1; i < progress_reports.size(); ++i)
            EXPECT_LE(progress_reports[i - 1].first, progress_reports[i].first);
        EXPECT_EQ(progress_reports.back().first, progress_reports.back().second) << "format " << code;
    }
    quorvin_rsrv.wait = kept;
}

}  // namespace

namespace {

// A date goes out as a user types it, whatever the workbook's date system and
// however the cell got it: a typed date as typed, a date read from a file and
// a formula's date result in the standard form, which reads back as the same
// serial.
TEST_F(TextExportTest, DatesAreWrittenAsTheSameDayInEitherDateSystem) {
    const std::string sylk =
        "ID;PTEST\r\nP;Pm/d/yy\r\nF;P0;FG0G;Y1;X1\r\nC;K45366\r\n"
        "F;P0;FG0G;X2\r\nC;K45366.5;ERC[-1]+0.5\r\nE\r\n";
    // Read into layers added to workbooks of each system, which keep theirs.
    MemoryRef in_1904 = sample::new_layer(GetWorkSheet(fresh_layer()));
    ASSERT_EQ(read_sylk_bytes(sylk, in_1904), 0);
    ASSERT_FALSE(Get_1900Date_Flag(GetWorkSheet(in_1904)));
    MemoryRef in_1900 = sample::new_layer(GetWorkSheet(fresh_layer()));
    Set_1900Date_Flag(GetWorkSheet(in_1900), true);
    ASSERT_EQ(read_sylk_bytes(sylk, in_1900), 0);
    for (MemoryRef read : {in_1904, in_1900}) {
        EXPECT_EQ(layer_text(read, FieldSource::values, kCommaSeparator), "3/15/2024,3/15/2024 12:00\r\n");
        EXPECT_EQ(layer_text(read, FieldSource::values, kTabSeparator), "3/15/2024\t3/15/2024 12:00\r\n");
    }
    MemoryRef back = read_text(layer_text(in_1904, FieldSource::values, kCommaSeparator), kCommaSeparator);
    EXPECT_EQ(cell(back, 0, 0).number, cell(in_1904, 0, 0).number);
    EXPECT_EQ(cell(back, 0, 1).number, cell(in_1904, 0, 1).number);
    // A typed date keeps the form it was typed in.
    type_entries(layer, {{{0, 0}, "3/15/24"}});
    EXPECT_EQ(layer_text(layer, FieldSource::values, kCommaSeparator), "3/15/24\r\n");
}

// A file of one layer reads back as a workbook's first layer, so a formula
// that refers to any other layer is written as its value and counted, and a
// reference to its own layer goes without the layer; the save says so once.
TEST_F(TextExportTest, FormulasOfOtherLayersGoToAFileOfOneLayerAsValues) {
    MemoryRef second = sample::new_layer(book);
    type_entries(layer, {{{0, 0}, "100"}, {{0, 1}, "=1:A1*2"}});
    type_entries(second, {{{0, 0}, "5"}, {{0, 1}, "=1:A1+A1"}, {{0, 2}, "=SUM(1:A1:B1)+A1"}, {{0, 3}, "=A1*3"},
                          {{0, 4}, "=2:A1*4"}});
    recalculate(second);
    ExportReport losses;
    std::string text;
    ASSERT_EQ(layer_text(second, FieldSource::formulas, kCommaSeparator, TextFileForm{}, text, &losses), 0);
    EXPECT_EQ(text, "5,105,305,=A1*3,=A1*4\r\n");
    EXPECT_EQ(losses.formulas_kept_as_values, 2);
    ExportReport first_losses;
    ASSERT_EQ(layer_text(layer, FieldSource::formulas, kCommaSeparator, TextFileForm{}, text, &first_losses), 0);
    EXPECT_EQ(text, "100,=A1*2\r\n");
    EXPECT_EQ(first_losses.formulas_kept_as_values, 0);
    // Saved, the values read back as they were, and the note tells how many.
    for (int16_t code : {kFormatCsv, kFormatTabFormulas, kFormatSylk}) {
        prompts_log::seen.clear();
        ASSERT_EQ(save_workbook_file(second, 1, spec("one.txt"), code, exists("one.txt"), false), 0);
        EXPECT_EQ(prompts_log::seen, std::vector<std::string>{"tell 130/14"}) << code;
        EXPECT_EQ(prompts_log::figures, std::vector<std::string>{"2"}) << code;
        MemoryRef back = fresh_layer();
        ASSERT_EQ(ReadTextFile(spec("one.txt"), nullptr, back, code == kFormatCsv ? kCsvFileType : kTextType), 0);
        recalculate(back);
        EXPECT_EQ(cell(back, 0, 1).number, 105) << code;
        EXPECT_EQ(cell(back, 0, 2).number, 305) << code;
        EXPECT_EQ(cell(back, 0, 3).number, 15) << code;
        EXPECT_EQ(cell(back, 0, 4).number, 20) << code;
    }
}

// A linked document's layers and names are its own, found again from the
// file: a formula over them stays a formula, its layer written whichever it is.
TEST_F(TextExportTest, ALinkedDocumentsLayersAndNamesStayInTheFormula) {
    MemoryRef second = sample::new_layer(book);
    sample::Bytes f = sample::formula({'=', '!'});
    sample::add16(f, 1);
    for (int b : {'@', 'R', '#'}) f.push_back(uint8_t(b));
    sample::add16(f, 1), sample::add16(f, 1);  // its second layer, as this one is
    f.push_back('#'), sample::add16(f, 0), sample::add16(f, 0);
    for (int b : {'+', '!'}) f.push_back(uint8_t(b));
    sample::add16(f, 1);
    for (int b : {int('@'), int('&'), 3, int('T'), int('a'), int('x')}) f.push_back(uint8_t(b));
    sample::Bytes store;
    sample::append_row(store, 0, {sample::formula_number_cell(0, f, 7)});
    sample::install_cells(second, store);
    sample::Bytes link = sample::link_record(1, "Rates", "/home/a/Rates.qrv");
    SpreadSheet* sheet = use_layer(second);
    sheet->links = sample::block_of(link.data(), kLinkRecordSize, 1);
    release_layer(second);
    ExportReport losses;
    std::string text;
    ASSERT_EQ(layer_text(second, FieldSource::formulas, kCommaSeparator, TextFileForm{}, text, &losses), 0);
    EXPECT_EQ(losses.formulas_kept_as_values, 0);
    EXPECT_EQ(text, "='Rates'!$2:$A$1+'Rates'!Tax\r\n");
}

}  // namespace
