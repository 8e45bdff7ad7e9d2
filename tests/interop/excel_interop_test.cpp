// Excel workbooks written by LibreOffice (BIFF8) and Gnumeric (BIFF8 and
// BIFF7) from sources this test writes, read back: values, formulas and their
// results, dates in both systems, several sheets, long and non-Roman texts.
// Skipped where the other spreadsheets are not installed (make test-interop
// installs them).
#include "platform/text/scripts.h"
#include "files/sylk.h"
#include "files/text_exchange.h"
#include "tests/excel/excel_fixture.h"
#include "tests/files/sample_workbook.h"
#include "tests/interop/peer_support.h"

namespace {

std::vector<uint8_t> bytes_of_file(const std::string& path) {
    std::string bytes = peer::read_file(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

const std::string kLongText = std::string(300, 'L') + "|" + std::string(9000, 'w');  // runs on into CONTINUE records

// A flat OpenDocument spreadsheet: the sheets Values and Second.
std::string flat_document(bool dates_1904) {
    std::string null_date = dates_1904 ? R"x(<table:calculation-settings><table:null-date table:date-value="1904-01-01"/></table:calculation-settings>)x" : "";
    return R"x(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles>
 <number:date-style style:name="N1"><number:year number:style="long"/><number:text>-</number:text><number:month number:style="long"/><number:text>-</number:text><number:day number:style="long"/></number:date-style>
 <style:style style:name="ce1" style:family="table-cell" style:data-style-name="N1"/>
</office:automatic-styles>
<office:body><office:spreadsheet>)x" + null_date + R"x(
<table:table table:name="Values">
<table:table-row><table:table-cell office:value-type="float" office:value="1.5"/><table:table-cell table:formula="of:=[.A1]*2" office:value-type="float" office:value="3"/></table:table-row>
<table:table-row><table:table-cell office:value-type="string"><text:p>café ünïcode Ελλάδα</text:p></table:table-cell><table:table-cell table:formula="of:=SUM([.A1];[.B1])" office:value-type="float" office:value="4.5"/></table:table-row>
<table:table-row><table:table-cell table:style-name="ce1" office:value-type="date" office:date-value="2024-02-29"/><table:table-cell table:formula="of:=IF([.A1]&gt;1;&quot;big&quot;;&quot;small&quot;)" office:value-type="string" office:string-value="big"/></table:table-row>
<table:table-row><table:table-cell table:formula="of:=[$Second.A1]+1" office:value-type="float" office:value="8"/><table:table-cell table:formula="of:=ROMAN(4)" office:value-type="string" office:string-value="IV"/></table:table-row>
<table:table-row><table:table-cell office:value-type="string"><text:p>)x" + kLongText + R"x(</text:p></table:table-cell><table:table-cell table:formula="of:=SUM(Total)" office:value-type="float" office:value="4.5"/></table:table-row>
</table:table>
<table:table table:name="Second">
<table:table-row><table:table-cell office:value-type="float" office:value="7"/></table:table-row>
</table:table>
<table:named-expressions><table:named-range table:name="Total" table:base-cell-address="$Values.$A$1" table:cell-range-address="$Values.$A$1:.$B$1"/></table:named-expressions>
</office:spreadsheet></office:body></office:document>
)x";
}

// The same for Gnumeric, whose own file format it reads.
const char kGnumericWorkbook[] = R"x(<?xml version="1.0" encoding="UTF-8"?>
<gnm:Workbook xmlns:gnm="http://www.gnumeric.org/v10.dtd">
  <gnm:SheetNameIndex><gnm:SheetName>Values</gnm:SheetName><gnm:SheetName>Second</gnm:SheetName></gnm:SheetNameIndex>
  <gnm:Sheets>
    <gnm:Sheet>
      <gnm:Name>Values</gnm:Name><gnm:MaxCol>2</gnm:MaxCol><gnm:MaxRow>4</gnm:MaxRow>
      <gnm:Cells>
        <gnm:Cell Row="0" Col="0" ValueType="40">1.5</gnm:Cell>
        <gnm:Cell Row="0" Col="1">=A1*2</gnm:Cell>
        <gnm:Cell Row="1" Col="0" ValueType="60">café Ελλάδα</gnm:Cell>
        <gnm:Cell Row="1" Col="1">=SUM(A1,B1)</gnm:Cell>
        <gnm:Cell Row="2" Col="0" ValueType="40" ValueFormat="yyyy-mm-dd">45351</gnm:Cell>
        <gnm:Cell Row="2" Col="1">=IF(A1&gt;1,"big","small")</gnm:Cell>
        <gnm:Cell Row="3" Col="0">=Second!A1+1</gnm:Cell>
        <gnm:Cell Row="3" Col="1">=ROMAN(4)</gnm:Cell>
      </gnm:Cells>
    </gnm:Sheet>
    <gnm:Sheet>
      <gnm:Name>Second</gnm:Name><gnm:MaxCol>1</gnm:MaxCol><gnm:MaxRow>1</gnm:MaxRow>
      <gnm:Cells><gnm:Cell Row="0" Col="0" ValueType="40">7</gnm:Cell></gnm:Cells>
    </gnm:Sheet>
  </gnm:Sheets>
</gnm:Workbook>
)x";

constexpr double kLeapDay1900 = 45351;  // 29 February 2024 in the 1900 date system

class ExcelInteropTest : public ExcelTest {
protected:
    TempFolder folder;

    std::string path(const std::string& name) const { return folder.path + "/" + name; }

    // The workbook LibreOffice writes from the flat document; empty on failure.
    std::vector<uint8_t> from_libreoffice(bool dates_1904) { return libreoffice_workbook(flat_document(dates_1904)); }
    std::vector<uint8_t> libreoffice_workbook(const std::string& document) {
        peer::write_file(path("book.fods"), document);
        std::string command = "soffice -env:UserInstallation=" + peer::quoted("file://" + path("office-profile")) +
                              " --headless --norestore --convert-to xls --outdir " + peer::quoted(path("out")) + " " +
                              peer::quoted(path("book.fods"));
        if (peer::run(command, path("log.txt")) != 0) return {};
        return bytes_of_file(path("out/book.xls"));
    }

    // The workbook Gnumeric writes in the given version ("excel_biff8", "excel_biff7").
    std::vector<uint8_t> from_gnumeric(const char* version, const char* workbook = kGnumericWorkbook) {
        peer::write_file(path("book.gnumeric"), workbook);
        std::string command = std::string("ssconvert --export-type=Gnumeric_Excel:") + version + " " +
                              peer::quoted(path("book.gnumeric")) + " " + peer::quoted(path("book.xls"));
        if (peer::run(command, path("log.txt")) != 0) return {};
        return bytes_of_file(path("book.xls"));
    }

    // What both writers put in the sheets, after a recalculation here.
    void expect_common_contents() {
        ASSERT_EQ(layers(), 2);
        EXPECT_EQ(layer_name(0), "Values");
        EXPECT_EQ(layer_name(1), "Second");
        EXPECT_EQ(number_at(0, 0, 0), 1.5);
        EXPECT_EQ(formula_at(0, 0, 1), "=A1*2");
        EXPECT_EQ(text_at(0, 1, 0).substr(0, 5), "caf\x8e ");
        // Mac Greek spells the accented letters and the Greek ones: the text is kept whole,
        // unless the writer's own code page had no Greek letters (BIFF7) and wrote "?".
        const std::string text = pf::script_to_utf8(text_at(0, 1, 0), pf::kScriptGreek);
        const std::string greek = "Ελλάδα";
        EXPECT_TRUE(text.ends_with(greek) || text.ends_with("??????")) << text;
        EXPECT_TRUE(is_date_format(format_code_at(0, 2, 0)));
        EXPECT_EQ(number_at(1, 0, 0), 7);
        recalculate();
        EXPECT_EQ(number_at(0, 0, 1), 3);
        EXPECT_EQ(number_at(0, 1, 1), 4.5);
        EXPECT_EQ(text_at(0, 2, 1), "big");
        EXPECT_EQ(number_at(0, 3, 0), 8);  // a reference to the second sheet
    }
};

TEST_F(ExcelInteropTest, LibreOfficeWorkbookIn1904Dates) {
    if (!peer::on_path("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    std::vector<uint8_t> file = from_libreoffice(true);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(import(file), 0);
    EXPECT_EQ(Get_1900Date_Flag(workbook), 0);
    EXPECT_EQ(number_at(0, 2, 0), kLeapDay1900 - 1462);
    // Written as text, the date is the same day for other programs.
    peer::Table csv = peer::parse_csv(layer_text(layer_at(0), FieldSource::values, kCommaSeparator));
    ASSERT_GE(csv.size(), 3u);
    ASSERT_GE(csv[2].size(), 1u);
    EXPECT_EQ(csv[2][0], "2/29/2024");
    EXPECT_EQ(text_at(0, 1, 0).substr(0, 12), "caf\x8e \x9fn\x95" "code");
    EXPECT_EQ(text_at(0, 4, 0), kLongText);
    EXPECT_EQ(formula_at(0, 3, 1), "");  // ROMAN is not a function here
    EXPECT_EQ(notes.unconverted_formulas, 1);
    EXPECT_EQ(notes.unconverted_formula_cells, std::vector<std::string>{"Values!B4: ROMAN"});
    EXPECT_EQ(formula_at(0, 4, 1), "=SUM(Total)");
    expect_common_contents();
    EXPECT_EQ(number_at(0, 4, 1), 4.5);
}

TEST_F(ExcelInteropTest, LibreOfficeWorkbookIn1900Dates) {
    if (!peer::on_path("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    std::vector<uint8_t> file = from_libreoffice(false);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(import(file), 0);
    EXPECT_EQ(Get_1900Date_Flag(workbook), 1);
    EXPECT_EQ(number_at(0, 2, 0), kLeapDay1900);
    expect_common_contents();
}

// Sheets named like cells, the second's formulas referring to the first, as
// LibreOffice writes them: the second layer's SYLK names the first between
// quotes, and read back into the workbook its formulas and values return.
const char kQuartersDocument[] = R"x(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet>
<table:table table:name="Q1">
<table:table-row><table:table-cell office:value-type="float" office:value="100"/><table:table-cell office:value-type="float" office:value="7"/></table:table-row>
</table:table>
<table:table table:name="Q2">
<table:table-row><table:table-cell office:value-type="float" office:value="5"/><table:table-cell table:formula="of:=[$Q1.A1]+[.A1]"/><table:table-cell table:formula="of:=SUM([$Q1.A1:.B1])"/></table:table-row>
</table:table>
</office:spreadsheet></office:body></office:document>
)x";

TEST_F(ExcelInteropTest, ALayerNamedLikeACellComesBackThroughSylk) {
    if (!peer::on_path("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    std::vector<uint8_t> file = libreoffice_workbook(kQuartersDocument);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(import(file), 0);
    ASSERT_EQ(layers(), 2);
    recalculate();
    ASSERT_EQ(number_at(1, 0, 1), 105);
    ASSERT_EQ(number_at(1, 0, 2), 107);
    const std::string text = sylk_layer_text(layer_at(1));
    EXPECT_NE(text.find(";K105;E'Q1'!RC[-1]+RC[-1]\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(";K107;ESUM('Q1'!RC[-2]:RC[-1])\r\n"), std::string::npos) << text;
    MemoryRef again = sample::new_layer(workbook);
    ASSERT_EQ(read_sylk_bytes(text, again), 0);
    recalculate();
    const int back = layers() - 1;
    EXPECT_EQ(formula_at(back, 0, 1), "=1:A1+A1");
    EXPECT_EQ(formula_at(back, 0, 2), "=SUM(1:A1:B1)");
    EXPECT_EQ(number_at(back, 0, 1), 105);
    EXPECT_EQ(number_at(back, 0, 2), 107);
}

TEST_F(ExcelInteropTest, GnumericWorkbookInBiff8) {
    if (!peer::on_path("ssconvert")) GTEST_SKIP() << "Gnumeric is not installed";
    std::vector<uint8_t> file = from_gnumeric("excel_biff8");
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(import(file), 0);
    EXPECT_EQ(number_at(0, 2, 0), kLeapDay1900);
    EXPECT_EQ(text_at(0, 3, 1), "IV");  // ROMAN is not a function here: the value written stays
    EXPECT_EQ(notes.unconverted_formulas, 1);
    expect_common_contents();
}

TEST_F(ExcelInteropTest, GnumericWorkbookInBiff7) {
    if (!peer::on_path("ssconvert")) GTEST_SKIP() << "Gnumeric is not installed";
    std::vector<uint8_t> file = from_gnumeric("excel_biff7");
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(import(file), 0);
    EXPECT_EQ(text_at(0, 3, 1), "IV");
    EXPECT_EQ(notes.unconverted_formulas, 1);
    expect_common_contents();
}

// Prices in euros, zloty and pounds, a text of two lines, comments of two
// scripts and a sheet named in Cyrillic, as each peer writes them.
const char kPricesDocument[] = R"x(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" xmlns:dc="http://purl.org/dc/elements/1.1/" office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles>
 <number:currency-style style:name="N1"><number:number number:decimal-places="2" number:min-integer-digits="1" number:grouping="true"/><number:text> </number:text><number:currency-symbol number:language="de" number:country="DE">€</number:currency-symbol></number:currency-style>
 <number:currency-style style:name="N2"><number:number number:decimal-places="2" number:min-integer-digits="1" number:grouping="true"/><number:text> </number:text><number:currency-symbol number:language="pl" number:country="PL">zł</number:currency-symbol></number:currency-style>
 <number:currency-style style:name="N3"><number:currency-symbol number:language="en" number:country="GB">£</number:currency-symbol><number:number number:decimal-places="2" number:min-integer-digits="1" number:grouping="true"/></number:currency-style>
 <style:style style:name="ce1" style:family="table-cell" style:data-style-name="N1"/>
 <style:style style:name="ce2" style:family="table-cell" style:data-style-name="N2"/>
 <style:style style:name="ce3" style:family="table-cell" style:data-style-name="N3"/>
</office:automatic-styles>
<office:body><office:spreadsheet>
<table:table table:name="Prices">
<table:table-row><table:table-cell table:style-name="ce1" office:value-type="currency" office:currency="EUR" office:value="2.5"/><table:table-cell table:style-name="ce2" office:value-type="currency" office:currency="PLN" office:value="3.25"/><table:table-cell table:style-name="ce3" office:value-type="currency" office:currency="GBP" office:value="4.75"/></table:table-row>
<table:table-row><table:table-cell office:value-type="string"><text:p>line one</text:p><text:p>line two</text:p></table:table-cell></table:table-row>
<table:table-row><table:table-cell office:value-type="float" office:value="5"><office:annotation><dc:creator>A</dc:creator><text:p>check the price</text:p></office:annotation></table:table-cell><table:table-cell office:value-type="float" office:value="6"><office:annotation><dc:creator>A</dc:creator><text:p>Kommentar: проверить</text:p></office:annotation></table:table-cell></table:table-row>
</table:table>
<table:table table:name="Цены">
<table:table-row><table:table-cell office:value-type="float" office:value="7"/></table:table-row>
</table:table>
</office:spreadsheet></office:body></office:document>
)x";

const char kPricesWorkbook[] = R"x(<?xml version="1.0" encoding="UTF-8"?>
<gnm:Workbook xmlns:gnm="http://www.gnumeric.org/v10.dtd">
  <gnm:SheetNameIndex><gnm:SheetName>Prices</gnm:SheetName><gnm:SheetName>Цены</gnm:SheetName></gnm:SheetNameIndex>
  <gnm:Sheets>
    <gnm:Sheet>
      <gnm:Name>Prices</gnm:Name><gnm:MaxCol>3</gnm:MaxCol><gnm:MaxRow>3</gnm:MaxRow>
      <gnm:Objects>
        <gnm:CellComment ObjectBound="A3" Author="A" Text="check the price"/>
        <gnm:CellComment ObjectBound="B3" Author="A" Text="Kommentar: проверить"/>
      </gnm:Objects>
      <gnm:Cells>
        <gnm:Cell Row="0" Col="0" ValueType="40" ValueFormat="#,##0.00\ &quot;€&quot;">2.5</gnm:Cell>
        <gnm:Cell Row="0" Col="1" ValueType="40" ValueFormat="[$zł-415]\ #,##0.00">3.25</gnm:Cell>
        <gnm:Cell Row="0" Col="2" ValueType="40" ValueFormat="[$£-809]#,##0.00">4.75</gnm:Cell>
        <gnm:Cell Row="1" Col="0" ValueType="60">line one
line two</gnm:Cell>
        <gnm:Cell Row="2" Col="0" ValueType="40">5</gnm:Cell>
        <gnm:Cell Row="2" Col="1" ValueType="40">6</gnm:Cell>
      </gnm:Cells>
    </gnm:Sheet>
    <gnm:Sheet>
      <gnm:Name>Цены</gnm:Name><gnm:MaxCol>1</gnm:MaxCol><gnm:MaxRow>1</gnm:MaxRow>
      <gnm:Cells><gnm:Cell Row="0" Col="0" ValueType="40">7</gnm:Cell></gnm:Cells>
    </gnm:Sheet>
  </gnm:Sheets>
</gnm:Workbook>
)x";

class ExcelPricesInterop : public ExcelInteropTest {
protected:
    // Euros and pounds shown as such, zloty as the number with its decimals
    // (named in the note), the line break as read, the Roman comment a note and
    // the second sheet read, in every kind of workbook.
    void expect_amounts_break_and_note() {
        ASSERT_EQ(layers(), 2);
        const std::string shown = layer_text(layer_at(0), FieldSource::displayed, '\t');
        EXPECT_EQ(shown.substr(0, shown.find("\r\n")), "€2.50\t3.25\t£4.75");
        EXPECT_EQ(notes.currency_cells, std::vector<std::string>{"Prices!B1"});
        EXPECT_EQ(text_at(0, 1, 0), "line one\nline two");
        EXPECT_EQ(note_at(0, 2, 0), "check the price");
        EXPECT_EQ(number_at(1, 0, 0), 7);
    }
    // Those, with the Cyrillic comment counted and the Cyrillic sheet named
    // after its place.
    void expect_prices() {
        expect_amounts_break_and_note();
        EXPECT_EQ(note_at(0, 2, 1), "");
        EXPECT_EQ(notes.comment_cells, std::vector<std::string>{"Prices!B3"});
        EXPECT_EQ(layer_name(1), "Sheet 2");
        EXPECT_EQ(notes.renamed_sheets, std::vector<std::string>{"Sheet 2"});
        EXPECT_EQ(notes.replaced_characters, 0);
    }
};

TEST_F(ExcelPricesInterop, LibreOfficeWorkbook) {
    if (!peer::on_path("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    std::vector<uint8_t> file = libreoffice_workbook(kPricesDocument);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(import(file), 0);
    expect_prices();
}

// BIFF7 keeps comments in NOTE records and texts in the Windows code page,
// in which Gnumeric spells the Cyrillic letters of the comment and the sheet
// name as "?": those are kept as written.
TEST_F(ExcelPricesInterop, GnumericWorkbookInBiff7) {
    if (!peer::on_path("ssconvert")) GTEST_SKIP() << "Gnumeric is not installed";
    std::vector<uint8_t> file = from_gnumeric("excel_biff7", kPricesWorkbook);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(import(file), 0);
    expect_amounts_break_and_note();
    EXPECT_EQ(note_at(0, 2, 1), "Kommentar: ?????????");
    EXPECT_EQ(notes.comments_left_out, 0);
}

TEST_F(ExcelPricesInterop, GnumericWorkbookInBiff8) {
    if (!peer::on_path("ssconvert")) GTEST_SKIP() << "Gnumeric is not installed";
    std::vector<uint8_t> file = from_gnumeric("excel_biff8", kPricesWorkbook);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(import(file), 0);
    expect_prices();
}

}  // namespace

namespace {

using ExcelDatesInterop = peer::PeerTest;
using peer::Peer;

// Dates of a peer's workbook before 1 January 1904 (before 1900 too) show as
// their numbers, named in a note, never as other dates; later ones show as
// the same days. The shown text is what a text export writes. YEAR, MONTH,
// DAY and WEEKDAY give the parts of each date as the peer does, shown or
// not; a date before 1900 has none in the 1900 system.
TEST_P(ExcelDatesInterop, DatesBeyondTheCalendarShowAsTheirNumbers) {
    const std::vector<std::string> dates = {"1900-03-01", "1902-06-15", "1903-12-31", "1904-01-01",
                                            "1850-05-01", "1904-01-02", "2024-03-15"};
    const std::vector<std::string> weekdays = {"5", "1", "5", "6", "", "7", "6"};
    std::string source;
    for (size_t i = 0; i < dates.size(); ++i) {
        const std::string a = "(A" + std::to_string(i + 1) + ")";
        source += dates[i] + ",=YEAR" + a + ",=MONTH" + a + ",=DAY" + a + ",=WEEKDAY" + a + "\r\n";
    }
    peer::write_file(path("source.csv"), source);
    ASSERT_TRUE(convert("source.csv", "theirs.xls"));
    ASSERT_TRUE(sheetconv("--shown", "theirs.xls", "shown.txt"));
    const std::string note = peer::read_file(log);
    ASSERT_TRUE(ours("theirs.xls", "values.csv", true));
    const peer::Table shown = peer::parse_csv(peer::read_file(path("shown.txt")));
    const peer::Table values = peer::parse_csv(peer::read_file(path("values.csv")));
    ASSERT_EQ(shown.size(), dates.size());
    ASSERT_EQ(values.size(), dates.size());
    for (size_t i = 0; i < dates.size(); ++i) {
        const std::string year = dates[i].substr(0, 4);
        const std::string date_shown = shown[i][0].substr(0, shown[i][0].find('\t'));
        const bool as_number = date_shown == values[i][0];
        if (i < 3 || i == 4) {
            EXPECT_TRUE(as_number || date_shown == dates[i]) << date_shown;  // or kept as the text written
        } else {
            EXPECT_FALSE(as_number) << date_shown;
            EXPECT_NE(date_shown.find(year), std::string::npos) << date_shown;
        }
        ASSERT_EQ(values[i].size(), 5u) << i;
        if (weekdays[i].empty()) {
            EXPECT_EQ(values[i][1], "#VALUE!") << dates[i];
            continue;
        }
        EXPECT_EQ(values[i][1], year) << dates[i];
        EXPECT_EQ(values[i][2], std::to_string(std::stoi(dates[i].substr(5, 2)))) << dates[i];
        EXPECT_EQ(values[i][3], std::to_string(std::stoi(dates[i].substr(8, 2)))) << dates[i];
        EXPECT_EQ(values[i][4], weekdays[i]) << dates[i];
    }
    EXPECT_NE(note.find("(A1, A2, A3, A5"), std::string::npos) << note;
}

INSTANTIATE_TEST_SUITE_P(Peers, ExcelDatesInterop, ::testing::Values(Peer::office, Peer::gnumeric), peer::peer_name);

}  // namespace
