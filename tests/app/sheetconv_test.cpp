// The converter program: documents opened and written through the
// application's own reader and writer, its input never touched.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "ui/alerts.h"
#include "core/number_text.h"
#include "files/entry_cells.h"
#include "files/file_formats.h"
#include "model/cell_store.h"
#include "model/format_commands.h"
#include "model/model_services.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/text/scripts.h"
#include "platform/resources/resources.h"
#include "tests/files/document_builder.h"
#include "tests/excel/excel_samples.h"
#include "tests/files/document_fixture.h"

namespace {

class SheetconvTest : public DocumentTest {
protected:
    std::string errors;
    std::string kept_config = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";

    // The converter keeps its notes in a preferences folder of the test's own.
    void SetUp() override {
        DocumentTest::SetUp();
        setenv("XDG_CONFIG_HOME", path("config").c_str(), 1);
    }
    void TearDown() override {
        if (kept_config.empty()) unsetenv("XDG_CONFIG_HOME");
        else setenv("XDG_CONFIG_HOME", kept_config.c_str(), 1);
        DocumentTest::TearDown();
    }

    // Runs sheetconv with its address space limited to `megabytes`; answers
    // its exit status, -1 when a signal ended it.
    int run_limited(int megabytes, const std::string& in, const std::string& out) {
        return run_limited_kb(megabytes * 1024, in, out);
    }
    int run_limited_kb(int kilobytes, const std::string& in, const std::string& out) {
        std::string log = path("stderr.txt");
        std::string command = "ulimit -v " + std::to_string(kilobytes) + "; exec " + SHEETCONV_PATH + " '" + in +
                              "' '" + out + "' 2>'" + log + "'";
        int status = std::system(command.c_str());
        std::ifstream read(log);
        errors.assign(std::istreambuf_iterator<char>(read), {});
        if (WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) > 128)) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The entries typed into the first row of the layer, from A1 on.
    static void fill_row(MemoryRef layer, const std::vector<std::string>& entries) {
        uint8_t header[32];
        GetDefaultFormat(header);
        std::string row, store;
        for (size_t column = 0; column < entries.size(); ++column)
            append_entry_cell(row, EntryCell{CellPoint{0, int16_t(column)}, header, entries[column], {}}, layer);
        append_row_record(store, 0, row);
        set_layer_cells(layer, store);
    }

    // The text of a file of the test's folder.
    std::string text_of(const std::string& name) {
        const std::vector<uint8_t> bytes = bytes_of(name);
        return std::string(bytes.begin(), bytes.end());
    }

    // Runs sheetconv (with `options`); answers its exit status and keeps what
    // it wrote to stderr.
    int run(const std::string& in, const std::string& out, const std::string& options = "") {
        std::string log = path("stderr.txt");
        std::string command =
            std::string(SHEETCONV_PATH) + " " + options + " '" + in + "' '" + out + "' 2>'" + log + "'";
        int status = std::system(command.c_str());
        std::ifstream read(log);
        errors.assign(std::istreambuf_iterator<char>(read), {});
        std::filesystem::remove(log);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(SheetconvTest, NativeToNativeIsStableOnceResultsAreCurrent) {
    // The sample's formula cells hold made-up results; the first conversion recalculates them.
    MemoryRef book = sample::rich_workbook(3);
    ASSERT_EQ(save(book, "In.qrv"), 0);
    EXPECT_EQ(run(path("In.qrv"), path("Out.qrv")), 0) << errors;
    EXPECT_EQ(run(path("Out.qrv"), path("Again.qrv")), 0) << errors;
    EXPECT_EQ(bytes_of("Again.qrv"), bytes_of("Out.qrv"));
    MemoryRef out = open("Out.qrv");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(num_SpreadSheets(out), 3);
    // A document is known by its contents whatever its name.
    write_bytes("Budget.dat", bytes_of("Out.qrv"));
    EXPECT_EQ(run(path("Budget.dat"), path("Third.qrv")), 0) << errors;
    EXPECT_EQ(bytes_of("Third.qrv"), bytes_of("Out.qrv"));
}

TEST_F(SheetconvTest, OlderDocumentsAreConvertedWithoutTouchingTheInput) {
    std::vector<uint8_t> old = built::document(1027, {built::simple_layer("A")});
    write_bytes("Old.qrv", old);
    EXPECT_EQ(run(path("Old.qrv"), path("New.qrv")), 0) << errors;
    EXPECT_EQ(bytes_of("Old.qrv"), old);
    EXPECT_FALSE(exists("Old.qrv(4.x)"));
    std::vector<uint8_t> converted = bytes_of("New.qrv");
    ASSERT_GT(converted.size(), 4u);
    EXPECT_EQ(converted[2] << 8 | converted[3], 1029);
}

TEST_F(SheetconvTest, TheOutputHasExactlyTheNameGiven) {
    MemoryRef book = sample::rich_workbook(1);
    ASSERT_EQ(save(book, "In.qrv"), 0);
    const std::string name = "\u65E5\u672C\u8A9E \u20AC out.qrv";
    EXPECT_EQ(run(path("In.qrv"), path(name)), 0) << errors;
    EXPECT_TRUE(exists(name));
    EXPECT_FALSE(exists("??? \u20AC out.qrv"));
    // Written again over the file now there.
    EXPECT_EQ(run(path("In.qrv"), path(name)), 0) << errors;
    EXPECT_FALSE(bytes_of(name).empty());
}

TEST_F(SheetconvTest, RecalculationUsesTheProgramsErrorValues) {
    MemoryRef book = sample::new_workbook();
    sample::Bytes store;
    constexpr uint8_t kFunction = 0xC4, kValueErrorFunction = 39;
    sample::append_row(store, 0, {sample::formula_number_cell(0, sample::formula({'=', kFunction, kValueErrorFunction}), 5)});
    sample::install_cells(sample::new_layer(book), store);
    ASSERT_EQ(save(book, "In.qrv"), 0);
    EXPECT_EQ(run(path("In.qrv"), path("Out.qrv")), 0) << errors;
    MemoryRef out = open("Out.qrv");
    ASSERT_NE(out, nullptr);
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, find_SpreadSheet_item(out, 0)));
    double result = load_f64(_resultPtr_(cell));
    constexpr int16_t kValueError = 21;
    EXPECT_TRUE(std::isnan(result));
    EXPECT_EQ(checkValue(&result), kValueError);
}

TEST_F(SheetconvTest, TheTemporaryFolderIsTakenFromTMPDIRAndErrorsAreWorded) {
    MemoryRef book = sample::rich_workbook(1);
    ASSERT_EQ(save(book, "In.qrv"), 0);
    std::filesystem::create_directory(path("tmp"));
    setenv("TMPDIR", "/nonexistent-folder", 1);
    EXPECT_EQ(run(path("In.qrv"), path("Out.qrv")), 1);  // no temporary folder to copy into
    setenv("TMPDIR", path("tmp").c_str(), 1);
    EXPECT_EQ(run(path("In.qrv"), path("Out.qrv")), 0) << errors;
    unsetenv("TMPDIR");
    EXPECT_TRUE(std::filesystem::is_empty(path("tmp")));  // used, then cleared
    write_bytes("Torn.qrv", std::vector<uint8_t>{0xFF, 0xFF, 0x04, 0x05, 0});
    EXPECT_EQ(run(path("Torn.qrv"), path("Out2.qrv")), 1);
    EXPECT_NE(errors.find("The file is damaged or of a kind Quorvin cannot read."), std::string::npos) << errors;
}

TEST_F(SheetconvTest, RefusalsAreReportedAndWriteNothing) {
    MemoryRef book = sample::rich_workbook(1);
    ASSERT_EQ(save(book, "In.qrv"), 0);
    EXPECT_EQ(run(path("In.qrv"), path("Out.xls")), 1);
    EXPECT_NE(errors.find("unknown output format"), std::string::npos);
    EXPECT_FALSE(exists("Out.xls"));
    std::vector<uint8_t> torn = bytes_of("In.qrv");
    torn.resize(torn.size() / 2);
    write_bytes("Torn.qrv", torn);
    EXPECT_EQ(run(path("Torn.qrv"), path("Out.qrv")), 1);
    EXPECT_NE(errors.find("file error -1"), std::string::npos);
    EXPECT_FALSE(exists("Out.qrv"));
    EXPECT_EQ(run(path("Missing.qrv"), path("Out.qrv")), 1);
    EXPECT_EQ(run(path("In.qrv"), ""), 2);
}

// A text whose kind does not tell its separator is read with the separator
// the program's question offers first: the one the text shows, tab for a
// list of one column. A CSV keeps the semicolons it was read with.
TEST_F(SheetconvTest, ATextIsReadWithTheSeparatorItShows) {
    const std::pair<const char*, std::string> texts[] = {
        {"Column.txt", "12\n7.5\n"}, {"Commas.txt", "a,b\n1,2\n"}, {"Semicolons.txt", "a;b\n1;2\n"},
        {"Misnamed.slk", "a,b\n1,2\n"}};
    const std::string expected[] = {"12\n7.5\n", "a,b\n1,2\n", "a;b\n1;2\n", "a,b\n1,2\n"};
    for (size_t i = 0; i < std::size(texts); ++i) {
        write_bytes(texts[i].first, std::vector<uint8_t>(texts[i].second.begin(), texts[i].second.end()));
        EXPECT_EQ(run(path(texts[i].first), path("Out.csv"), "--values"), 0) << texts[i].first << errors;
        const std::vector<uint8_t> written = bytes_of("Out.csv");
        EXPECT_EQ(std::string(written.begin(), written.end()), expected[i]) << texts[i].first;
    }
}

// A date of another program's SYLK that the calendar cannot show keeps the
// number text the file gave it, not a shorter spelling of the same number.
TEST_F(SheetconvTest, ANumberShownForADateKeepsItsText) {
    const std::string sylk = "ID;PWXL;N;E\r\nP;Pm/d/yy\r\nF;P0;FG0G;Y1;X1\r\nC;Y1;X1;K100000\r\nE\r\n";
    write_bytes("Late.slk", std::vector<uint8_t>(sylk.begin(), sylk.end()));
    EXPECT_EQ(run(path("Late.slk"), path("Out.csv")), 0) << errors;
    const std::vector<uint8_t> written = bytes_of("Out.csv");
    EXPECT_EQ(std::string(written.begin(), written.end()), "100000\r\n");
}

// A SYLK running past the last row is written as far as the layer holds it;
// the exit status tells that partial conversion from a whole one.
TEST_F(SheetconvTest, AnImportThatLeftCellsOutExitsWithThree) {
    auto sylk = [](int rows) {
        std::string text = "ID;PWXL;N;E\r\n";
        for (int r = 1; r <= rows; ++r) text += "C;Y" + std::to_string(r) + ";X1;K" + std::to_string(r) + "\r\n";
        text += "E\r\n";
        return std::vector<uint8_t>(text.begin(), text.end());
    };
    write_bytes("Whole.slk", sylk(kLastCell + 1));
    EXPECT_EQ(run(path("Whole.slk"), path("Whole.csv")), 0) << errors;
    EXPECT_EQ(errors, "");
    write_bytes("Long.slk", sylk(kLastCell + 11));
    EXPECT_EQ(run(path("Long.slk"), path("Long.csv")), 3);
    EXPECT_NE(errors.find("10"), std::string::npos) << errors;
    std::vector<uint8_t> written = bytes_of("Long.csv");
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), kLastCell + 1);
}

// A layer chosen from a workbook goes to a text of one layer with the
// formulas that refer to another layer as their values: read back, the text
// shows what the layer showed. The converter says so and exits with 3.
TEST_F(SheetconvTest, FormulasOfOtherLayersGoToATextAsValuesAndExitWithThree) {
    MemoryRef book = sample::new_workbook();
    fill_row(sample::new_layer(book), {"100"});
    fill_row(sample::new_layer(book), {"5", "=1:A1+A1", "=1:A1*2+A1", "=A1*3"});
    ASSERT_EQ(save(book, "Q.qrv"), 0);
    EXPECT_EQ(run(path("Q.qrv"), path("Q2.csv"), "--layer 2"), 3) << errors;
    EXPECT_NE(errors.find("saved as their values: 2 in all"), std::string::npos) << errors;
    EXPECT_EQ(text_of("Q2.csv"), "5,105,205,=A1*3\r\n");
    EXPECT_EQ(run(path("Q.qrv"), path("Q1.csv"), "--layer 1"), 0) << errors;
}

// A text of one layer holds no names: a formula over a range name goes to it
// as its value, counted in the note. A reference that names the formula's own
// layer goes without its layer part, so that the text reads back to the same
// values whichever layer it was.
TEST_F(SheetconvTest, FormulasOverNamesGoToATextAsValuesAndTheOwnLayerGoesUnnamed) {
    MemoryRef book = sample::new_workbook();
    MemoryRef first = sample::new_layer(book);
    sample::add_named_range(first, "Tax", CellRange{{0, 1}, {0, 1}});
    fill_row(first, {"100", "0.2", "=A1*Tax", "=A1*2", "=1:A1+1"});
    fill_row(sample::new_layer(book), {"5", "=2:A1*2", "=1:A1+A1", "=2:A1+B1"});
    ASSERT_EQ(save(book, "Q.qrv"), 0);
    const std::pair<const char*, const char*> layers[] = {
        {"1", "100,0.2,20,=A1*2,=A1+1\r\n"}, {"2", "5,=A1*2,105,=A1+B1\r\n"}};
    const char* read_back[] = {"100,0.2,20,200,101\r\n", "5,10,105,15\r\n"};
    for (size_t i = 0; i < std::size(layers); ++i) {
        EXPECT_EQ(run(path("Q.qrv"), path("Q.csv"), std::string("--layer ") + layers[i].first), 3) << errors;
        EXPECT_NE(errors.find("saved as their values: 1 in all"), std::string::npos) << errors;
        EXPECT_EQ(text_of("Q.csv"), layers[i].second) << "layer " << layers[i].first;
        // Read back, the text shows the values the layer showed.
        EXPECT_EQ(run(path("Q.csv"), path("Back.csv"), "--values"), 0) << errors;
        EXPECT_EQ(text_of("Back.csv"), read_back[i]) << "layer " << layers[i].first;
    }
    // SYLK holds the layer's names: the formula over one stays a formula.
    EXPECT_EQ(run(path("Q.qrv"), path("Q.slk"), "--layer 1"), 0) << errors;
    EXPECT_EQ(run(path("Q.slk"), path("Back.csv"), "--values"), 0) << errors;
    EXPECT_EQ(text_of("Back.csv"), read_back[0]);
}

// A workbook's one font (Arial, 10 points) and a cell style of the given
// number format, for the workbooks these tests write.
biff::Record arial_font() {
    return {0x0031, biff::Body().u16(200).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0)
                        .text8("Arial", true).v};
}
biff::Record number_style(uint16_t number_format) {
    return {0x00E0, biff::Body().u16(0).u16(number_format).u16(1).u8(0).u8(0).u8(0).u8(0).u32(0).u32(0).u16(0).v};
}

// Another spreadsheet's workbook, one layer of it to a text: a formula naming
// its own layer loses the layer part and stays a formula; one over a name is
// written as its value, said in the note.
TEST_F(SheetconvTest, APeerWorkbooksLayerKeepsItsOwnReferencesAndGivesNamesAsValues) {
    using biff::Body;
    const biff::Record font = arial_font();
    const biff::Record xf = number_style(0);
    const biff::Record supbook{0x01AE, Body().u16(2).u16(0x0401).v};
    const biff::Record externsheet{0x0017, Body().u16(2).u16(0).u16(0).u16(0).u16(0).u16(1).u16(1).v};
    const std::vector<uint8_t> tax_cell = Body().u8(0x3B).u16(0).u16(0).u16(0).u16(1).u16(1).v;  // First!B1
    const biff::Record tax{0x0018, Body().u16(0).u8(0).u8(3).u16(uint16_t(tax_cell.size())).u16(0).u16(0).u32(0)
                                       .u8(0).raw("Tax").raw(tax_cell).v};
    const std::vector<uint8_t> times_tax = Body().u8(0x24).u16(0).u16(0xC000).u8(0x23).u16(1).u16(0).u8(0x05).v;
    const std::vector<uint8_t> own_twice = Body().u8(0x3A).u16(1).u16(0).u16(0xC000).u8(0x1E).u16(2).u8(0x05).v;
    biff::Sheet first{"First", {biff::number(0, 0, 100), biff::number(0, 1, 0.2), biff::formula(0, 2, times_tax, 20)}};
    biff::Sheet second{"Second", {biff::number(0, 0, 5), biff::formula(0, 1, own_twice, 10)}};
    write_bytes("Peer.xls",
                biff::compound_file(biff::workbook(true, {font, xf, supbook, externsheet, tax}, {first, second})));
    EXPECT_EQ(run(path("Peer.xls"), path("Second.csv"), "--layer 2"), 0) << errors;
    EXPECT_EQ(text_of("Second.csv"), "5,=A1*2\r\n");
    EXPECT_EQ(run(path("Peer.xls"), path("First.csv"), "--layer 1"), 3) << errors;
    EXPECT_NE(errors.find("saved as their values: 1 in all"), std::string::npos) << errors;
    EXPECT_EQ(text_of("First.csv"), "100,0.2,20\r\n");
}

// A duration written with a language part, as another spreadsheet writes a
// format that carries a language, shows its hours as the plain duration
// format does, and no note calls it a format this program lacks.
TEST_F(SheetconvTest, ExcelDurationsWithALanguagePartShowTheirHours) {
    using biff::Body;
    const biff::Record font = arial_font();
    const auto xf = number_style;
    auto format = [](uint16_t index, const std::u16string& text) {
        return biff::Record{0x041E, Body().u16(index).wide8(text).v};
    };
    biff::Sheet sheet{"Times", {biff::number(0, 0, 1.5, 1), biff::number(1, 0, 0.75, 2), biff::number(2, 0, 2.25, 3)}};
    write_bytes("Times.xls", biff::compound_file(biff::workbook(
                                 true, {font, format(164, u"[$-409][h]:mm:ss"), format(165, u"[h]:mm:ss"),
                                        format(166, u"[$-409][h]:mm:ss;@"), xf(0), xf(164), xf(165), xf(166)},
                                 {sheet})));
    EXPECT_EQ(run(path("Times.xls"), path("Times.txt"), "--shown"), 0) << errors;
    EXPECT_EQ(errors, "");
    EXPECT_EQ(text_of("Times.txt"), "36:00:00\r\n18:00:00\r\n54:00:00\r\n");
}

// An Excel workbook's dates before 1 January 1904 (in its 1900 system) and
// before 1900 show as their numbers, and the text written of them is that
// number, never another date; the note names their cells. Later dates show
// as themselves.
TEST_F(SheetconvTest, ExcelDatesTheCalendarCannotShowShowTheirNumbers) {
    using biff::Body;
    const biff::Record font = arial_font();
    const auto xf = number_style;
    const double serials[] = {61, 898, 1461, 1462, -108393, 1463, 45366};  // 1 March 1900 ... 15 March 2024
    biff::Sheet sheet{"Dates", {}};
    for (uint16_t row = 0; row < std::size(serials); ++row) sheet.records.push_back(biff::number(row, 0, serials[row], 1));
    const biff::Record dates_1900{0x0022, Body().u16(0).v};
    write_bytes("Dates.xls", biff::compound_file(biff::workbook(true, {font, xf(0), xf(14), dates_1900}, {sheet})));
    EXPECT_EQ(run(path("Dates.xls"), path("Dates.txt"), "--shown"), 3) << errors;
    EXPECT_NE(errors.find("(A1, A2, A3, A5)"), std::string::npos) << errors;
    const std::vector<uint8_t> written = bytes_of("Dates.txt");
    std::istringstream lines(std::string(written.begin(), written.end()));
    std::vector<std::string> shown;
    for (std::string line; std::getline(lines, line);) shown.push_back(line.substr(0, line.find('\r')));
    EXPECT_EQ(shown, (std::vector<std::string>{"61", "898", "1461", "1/1/1904", "-108393", "1/2/1904", "3/15/2024"}));
}

// CSV rows of the installed scripts but Roman.
const std::string kRowsOfEveryScript =
    "東京,日本語のテキスト\r\n"
    "北京,简体中文\r\n"
    "臺北,說話\r\n"
    "서울,한국어\r\n"
    "Αθήνα,Ελλάδα\r\n"
    "Москва,Россия\r\n"
    "Praha,Příliš žluťoučký kůň\r\n";

// Text of every installed script goes through a document and back unchanged;
// what no script spells is the only loss, and is reported.
TEST_F(SheetconvTest, TextOfEveryScriptRoundTripsThroughADocument) {
    const std::string csv = "city,note\r\n" + kRowsOfEveryScript + "Zürich,42\r\n";
    write_bytes("World.csv", std::vector<uint8_t>(csv.begin(), csv.end()));
    EXPECT_EQ(run(path("World.csv"), path("World.qrv")), 0) << errors;
    EXPECT_EQ(run(path("World.qrv"), path("Back.csv")), 0) << errors;
    const std::vector<uint8_t> back = bytes_of("Back.csv");
    EXPECT_EQ(std::string(back.begin(), back.end()), csv);
    // The values export converts the same way.
    EXPECT_EQ(run(path("World.qrv"), path("Values.tab")), 0) << errors;
    const std::vector<uint8_t> tab = bytes_of("Values.tab");
    EXPECT_NE(std::string(tab.begin(), tab.end()).find("서울\t한국어"), std::string::npos);

    const std::string thai = "a,ไทย\r\n";
    write_bytes("Thai.csv", std::vector<uint8_t>(thai.begin(), thai.end()));
    EXPECT_EQ(run(path("Thai.csv"), path("Thai.qrv")), 3);
    EXPECT_NE(errors.find('3'), std::string::npos) << errors;
}

// A file that is not UTF-8 throughout is Mac Roman throughout: no run of its
// bytes is taken for a UTF-8 byte-order mark or character on the way.
TEST_F(SheetconvTest, AFileThatIsNotUtf8IsReadAsMacRomanWhole) {
    const std::string roman = "a\xFF\xBB\xBF,b\xF5\x80\x81\r\n";
    write_bytes("Roman.csv", std::vector<uint8_t>(roman.begin(), roman.end()));
    run(path("Roman.csv"), path("Back.csv"));
    const std::vector<uint8_t> back = bytes_of("Back.csv");
    EXPECT_EQ(std::string(back.begin(), back.end()), "a\u02C7\u00AA\u00F8,b\u0131\u00C4\u00C5\r\n") << errors;
}

// A UTF-8 SYLK of every installed script goes through a document and comes
// back as the same SYLK and the same CSV.
TEST_F(SheetconvTest, ASylkOfEveryScriptRoundTripsThroughADocument) {
    const std::string csv = kRowsOfEveryScript + "Zürich;x,\"=\"\"東京\"\"&\"\"駅\"\"\"\r\n";
    write_bytes("World.csv", std::vector<uint8_t>(csv.begin(), csv.end()));
    ASSERT_EQ(run(path("World.csv"), path("World.slk")), 0) << errors;
    const std::vector<uint8_t> sylk = bytes_of("World.slk");
    const std::string text(sylk.begin(), sylk.end());
    EXPECT_NE(text.find("K\"日本語のテキスト\""), std::string::npos) << text;
    EXPECT_NE(text.find("E\"東京\"&\"駅\""), std::string::npos) << text;

    EXPECT_EQ(run(path("World.slk"), path("World.qrv")), 0) << errors;
    EXPECT_EQ(run(path("World.qrv"), path("Back.slk")), 0) << errors;
    EXPECT_EQ(bytes_of("Back.slk"), sylk);
    EXPECT_EQ(run(path("World.qrv"), path("Back.csv")), 0) << errors;
    const std::vector<uint8_t> back = bytes_of("Back.csv");
    EXPECT_EQ(std::string(back.begin(), back.end()), csv);
}

// A text of another script in the default font of a layer set in that
// script's font, and in a cell's own font of the script, is read in its
// script: the converter knows the scripts' fonts by name as the program does.
TEST_F(SheetconvTest, TextsInFontsOfOtherScriptsAreReadInTheirScripts) {
    const std::pair<int16_t, std::string> texts[] = {{pf::kScriptCyrillic, "Москва"},
                                                     {pf::kScriptJapanese, "東京"},
                                                     {pf::kScriptGreek, "Αθήνα"},
                                                     {pf::kScriptCentralEuro, "Příliš žluťoučký"}};
    for (const auto& [script, text] : texts) {
        SCOPED_TRACE(text);
        const pf::ScriptText spelled = pf::spell_in_script(text, script);
        ASSERT_EQ(spelled.unmapped, 0);
        uint8_t header[32];
        GetDefaultFormat(header);
        MemoryRef book = sample::new_workbook();
        MemoryRef in_default = sample::new_layer(book), in_own = sample::new_layer(book);
        set_layer_default_font(in_default, pf::script_font(script));
        for (MemoryRef layer : {in_default, in_own}) {
            std::string row, store;
            EntryCell entry{CellPoint{0, 0}, header, spelled.bytes, {}};
            entry.script = script;
            append_entry_cell(row, entry, layer);
            append_row_record(store, 0, row);
            set_layer_cells(layer, store);
        }
        uint8_t* cell = nullptr;
        int16_t length = 0;
        ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, in_default));
        ASSERT_EQ(load_u16(cell + kFmtFont), kDefaultFontNumber);
        ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, in_own));
        ASSERT_EQ(load_u16(cell + kFmtFont), uint16_t(pf::script_font(script)));
        ASSERT_EQ(save(book, "In.qrv"), 0);

        EXPECT_EQ(run(path("In.qrv"), path("Default.csv"), "--layer 1"), 0) << errors;
        EXPECT_EQ(text_of("Default.csv"), text + "\r\n");
        EXPECT_EQ(run(path("In.qrv"), path("Own.csv"), "--layer 2"), 0) << errors;
        EXPECT_EQ(text_of("Own.csv"), text + "\r\n");
        EXPECT_EQ(run(path("In.qrv"), path("Shown.txt"), "--shown --layer 1"), 0) << errors;
        EXPECT_EQ(text_of("Shown.txt"), text + "\r\n");
        // A SYLK names the fonts and reads back in them.
        for (const char* layer : {"1", "2"}) {
            EXPECT_EQ(run(path("In.qrv"), path("Out.slk"), std::string("--layer ") + layer), 0) << errors;
            EXPECT_NE(text_of("Out.slk").find("K\"" + text + "\""), std::string::npos) << text_of("Out.slk");
            EXPECT_EQ(run(path("Out.slk"), path("Back.csv")), 0) << errors;
            EXPECT_EQ(text_of("Back.csv"), text + "\r\n");
        }
        EXPECT_NE(text_of("Out.slk").find(pf::script_font_of(pf::script_font(script))->name), std::string::npos)
            << text_of("Out.slk");
    }
}

// A workbook whose cells are set in the fonts of several scripts converts to
// what the program itself saves of it, fonts named and all.
TEST_F(SheetconvTest, AWorkbookInFontsOfEveryScriptConvertsAsTheProgramSavesIt) {
    const std::filesystem::path sample = std::filesystem::path(QUORVIN_SOURCE_DIR) / "tests/app/data/scripts_in_fonts.xls";
    std::filesystem::copy_file(sample, path("Fonts.xls"));
    // A workbook made as the converter makes one, under the converter's
    // preferred cell format (an earlier program of this process may have set its own).
    struct ConverterFormat {
        const ModelServices kept = model_services;
        ConverterFormat() { model_services.preferred_cell_format = headless_model_services().preferred_cell_format; }
        ~ConverterFormat() { model_services = kept; }
    } converter_format;
    CellFormat settings;
    GetDefaultFormat(settings.bytes);
    settings.bytes[kFmtSize] = 12;
    settings.bytes[kFmtCellType] = 0;
    const pf::FileSpec from = spec("Fonts.xls");
    MemoryRef book = New_WorkSheet(&quorvin_rsrv, NewFileRec(&from), settings.bytes);
    ASSERT_EQ(read_in_format(*format_of_file(from), book, from, kLayerGridLines | kLayerHeadings), 0);
    ASSERT_EQ(save_workbook_file(find_SpreadSheet_item(book, 0), 0, spec("Program.slk"), kFormatSylk, false, true), 0);
    EXPECT_EQ(run(path("Fonts.xls"), path("Converted.slk")), 3) << errors;  // a formula Excel alone reads
    // The fonts, the cells' formats and the cells themselves.
    const auto fonts_and_cells = [this](const std::string& name) {
        std::istringstream in(text_of(name));
        std::string line, kept;
        while (std::getline(in, line))
            if (line.starts_with("P;F") || line.starts_with("F;") || line.starts_with("C;")) kept += line + "\n";
        return kept;
    };
    EXPECT_EQ(fonts_and_cells("Converted.slk"), fonts_and_cells("Program.slk"));
    EXPECT_NE(text_of("Converted.slk").find("P;FDejaVu Sans Cyrillic;"), std::string::npos);
}

// A converter killed before it removed its private copy of the input leaves
// that copy for the next conversion to remove; live conversions keep theirs.
TEST_F(SheetconvTest, TheCopiesOfConversionsThatWereKilledAreRemoved) {
    pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    const std::string temp = std::filesystem::temp_directory_path().string();
    const std::string abandoned = temp + "/sheetconv-" + std::to_string(gone) + "-test01";
    const std::string live = temp + "/sheetconv-" + std::to_string(getpid()) + "-test02";
    for (const std::string& folder : {abandoned, live}) {
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/Big.qrv") << "copy";
    }
    MemoryRef book = sample::rich_workbook(1);
    ASSERT_EQ(save(book, "In.qrv"), 0);
    EXPECT_EQ(run(path("In.qrv"), path("Out.qrv")), 0) << errors;
    EXPECT_FALSE(std::filesystem::exists(abandoned));
    EXPECT_TRUE(std::filesystem::exists(live + "/Big.qrv"));
    std::filesystem::remove_all(live);
}

// Under an address-space limit the converter ends by its own exit at every
// limit, never by a signal; where reading a large text or Excel file runs out
// of memory it says so, not a file error of its swap file; so does reading
// a large SYLK file.
TEST_F(SheetconvTest, RunningOutOfMemoryWhileReadingIsSaidNeverASignal) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address checker reserves more address space than any limit";
#endif
    std::string text;
    for (int row = 0; row < 31250; ++row) {
        for (int column = 0; column < 32; ++column) text += std::to_string(row * 32 + column) + ",";
        text.back() = '\n';
    }
    write_bytes("Large.csv", std::vector<uint8_t>(text.begin(), text.end()));
    std::string sylk = "ID;PTEST\r\n";
    for (int row = 0; row < 31250; ++row) {
        sylk += "C;Y" + std::to_string(row + 1) + ";X1;K" + std::to_string(row * 32) + "\r\n";
        for (int column = 1; column < 32; ++column)
            sylk += "C;X" + std::to_string(column + 1) + ";K" + std::to_string(row * 32 + column) + "\r\n";
    }
    write_bytes("Large.slk", std::vector<uint8_t>(sylk.begin(), sylk.end()));
    write_bytes("Large.xls", biff::number_grid(31250, 32));
    write_bytes("Small.csv", std::vector<uint8_t>{'1', ',', '2', '\n'});
    const std::string memory_text = pf::get_indexed_string(kErrorStrings, file_error_string_index(kNoMemoryErr));
    // The least address space in which the converter converts a small file.
    int floor = 16;
    while (floor < 1024 && run_limited(floor, path("Small.csv"), path("Small.tab")) != 0) floor += 8;
    ASSERT_LT(floor, 1024) << errors;
    for (const char* input : {"Large.csv", "Large.xls", "Large.slk"}) {
        bool told = false;
        for (int megabytes = floor; megabytes < floor + 600; megabytes += 4) {
            const int status = run_limited(megabytes, path(input), path("Large.tab"));
            ASSERT_NE(status, -1) << input << " under " << megabytes << " MB: " << errors;
            EXPECT_EQ(errors.find("file error 258"), std::string::npos) << errors;
            if (status == 0) break;
            told = told || errors.find(memory_text) != std::string::npos;
        }
        EXPECT_TRUE(told) << input;
    }
}

// From the least address space in which the converter is loaded at all, in
// steps of a quarter megabyte: starting up, and reading a text or an Excel
// workbook (its container through the compound-file library), each limit ends
// with the converter's own exit status and a message, never by a signal.
TEST_F(SheetconvTest, BarelyEnoughMemoryToStartEndsWithAMessageNeverASignal) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address checker reserves more address space than any limit";
#endif
    constexpr int kNotLoaded = 127;  // the loader's own status: a library could not be mapped
    write_bytes("Small.csv", std::vector<uint8_t>{'1', ',', '2', '\n'});
    write_bytes("Small.xls", biff::number_grid(40, 8));
    int floor = 16 * 1024;
    while (floor < 1024 * 1024 && run_limited_kb(floor, path("Small.csv"), path("Small.tab")) == kNotLoaded)
        floor += 256;
    ASSERT_LT(floor, 1024 * 1024) << errors;
    for (int kilobytes = floor; kilobytes < floor + 6 * 1024; kilobytes += 256)
        for (const char* input : {"Small.csv", "Small.xls"}) {
            const int status = run_limited_kb(kilobytes, path(input), path("Small.tab"));
            ASSERT_NE(status, -1) << input << " under " << kilobytes << " KB: " << errors;
            if (status != 0)
                EXPECT_NE(errors.find("sheetconv: "), std::string::npos) << input << " under " << kilobytes << " KB";
        }
}

// A converter killed while saving over a file leaves its temporary file and
// its note; the next converter to start removes both. A whole save leaves no note.
TEST_F(SheetconvTest, WhatAKilledSaveLeftIsRemovedAtTheNextStart) {
    MemoryRef book = sample::rich_workbook(1);
    ASSERT_EQ(save(book, "In.qrv"), 0);
    ASSERT_EQ(run(path("In.qrv"), path("Out.qrv")), 0) << errors;
    const std::string notes = path("config") + "/Quorvin";
    auto notes_left = [&] {
        std::error_code none;
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(notes, none))
            count += entry.path().filename().string().rfind("Quorvin Saving", 0) == 0;
        return count;
    };
    ASSERT_EQ(run(path("In.qrv"), path("Out.qrv")), 0) << errors;  // over the file now there
    EXPECT_EQ(notes_left(), 0);

    pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    std::filesystem::create_directories(notes);
    std::ofstream(notes + "/Quorvin Saving " + std::to_string(gone)) << path("Out.qrv");
    write_bytes(".Out.qrv.saving", {1, 2, 3});
    EXPECT_EQ(run(path("In.qrv"), path("Other.qrv")), 0) << errors;
    EXPECT_FALSE(exists(".Out.qrv.saving"));
    EXPECT_TRUE(exists("Out.qrv"));
    EXPECT_EQ(notes_left(), 0);
}

// A text file whose save was killed while it was written over in place (it
// has a second name) is finished from the complete copy before it is read,
// under both names, and the converter says so.
TEST_F(SheetconvTest, AKilledSaveOfAFileWithTwoNamesIsFinishedBeforeItIsRead) {
    const std::string whole = "1,2\n3,4\n5,6\n";
    write_bytes("Budget.csv", {'1', ',', '2', '\n', '9', ',', '9', '\n', '9'});
    ASSERT_EQ(link(path("Budget.csv").c_str(), path("Budget copy.csv").c_str()), 0);
    write_bytes(".Budget.csv.saved", std::vector<uint8_t>(whole.begin(), whole.end()));
    write_bytes(".Budget.csv.old", {'7', ',', '8', '\n'});
    ASSERT_EQ(run(path("Budget.csv"), path("Out.txt")), 0) << errors;
    EXPECT_NE(errors.find("\"Budget.csv\" was cut short"), std::string::npos) << errors;
    for (const char* name : {"Budget.csv", "Budget copy.csv"})
        EXPECT_EQ(bytes_of(name), std::vector<uint8_t>(whole.begin(), whole.end())) << name;
    EXPECT_FALSE(exists(".Budget.csv.saved"));
    EXPECT_FALSE(exists(".Budget.csv.old"));
    const std::vector<uint8_t> out = bytes_of("Out.txt");
    EXPECT_EQ(std::string(out.begin(), out.end()), "1\t2\n3\t4\n5\t6\n");
}

}  // namespace
