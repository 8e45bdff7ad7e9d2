// What a workbook says beside its values: currencies of number formats,
// cell comments, sheet names of other scripts and line breaks in texts. Each
// is kept where this program can hold it, and otherwise counted and named in
// the notes, never turned into something else.
#include "files/sylk.h"
#include "files/text_exchange.h"
#include "tests/excel/excel_fixture.h"

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;

constexpr uint16_t kFormat = 0x041E, kNote = 0x001C, kObj = 0x005D, kTxo = 0x01B6;

Record font() {
    return {0x0031, Body().u16(200).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0).text8("Arial", true).v};
}
Record xf(uint16_t number_format) {
    return {0x00E0, Body().u16(0).u16(number_format).u16(0x0001).u8(0).u8(0).u8(0).u8(0).u32(0).u32(0).u16(0).v};
}
Record format(uint16_t index, const std::u16string& text) { return {kFormat, Body().u16(index).wide8(text).v}; }

// The records of a BIFF8 comment: its OBJ, its text object with the text in
// a CONTINUE record (UTF-16 when `wide`), and the NOTE that ties it to a cell.
std::vector<Record> comment_objects(uint16_t id, const std::u16string& text, bool wide) {
    Body object;
    object.u16(0x15).u16(0x12).u16(0x19).u16(id).u16(0).raw(std::string(12, '\0')).u32(0);
    Body characters;
    characters.u8(wide ? 1 : 0);
    for (char16_t c : text) wide ? characters.u16(c) : characters.u8(uint8_t(c));
    return {{kObj, object.v},
            {kTxo, Body().u16(0x0212).u16(0).raw(std::string(6, '\0')).u16(uint16_t(text.size())).u16(16).u32(0).v},
            {biff::kContinue, characters.v},
            {biff::kContinue, Body().u16(0).u16(0).u32(0).u16(uint16_t(text.size())).u16(0).u32(0).v}};
}
Record note(uint16_t row, uint16_t column, uint16_t id) {
    return {kNote, Body().u16(row).u16(column).u16(0).u16(id).text8("A").u8(0).v};
}

using ExcelTextsTest = ExcelTest;

TEST(ExcelNumberFormats, CurrenciesAreThoseOfTheirSigns) {
    struct Case {
        const char* format;
        uint8_t code;
        bool left_out;
    } cases[] = {
        {"#,##0.00\\ [$\u20ac-407]", 50, false},  // LibreOffice's and Gnumeric's "2.50 €"
        {"#,##0.00\\ \"\u20ac\"", 50, false},      {"\"EUR \"#,##0.00", 50, false},
        {"[$\u00a3-809]#,##0.00", 46, false},      {"\u00a5#,##0.00", 31, false},
        {"[$$-409]#,##0.00", 36, false},           {"$#,##0.00_);($#,##0.00)", 36, false},
        {"#,##0.00\\ [$z\u0142-415]", kFormatFixed, true},  // no format here shows zloty
        {"[$R$-416]\\ #,##0.00", kFormatFixed, true},        // a real is no dollar
        {"[$CHF]\\ #,##0.00", kFormatFixed, true},
        {"[$-409]#,##0.00", kFormatFixed, false},  // a language, no currency
        {"#,##0.00\\ \"kg\"", kFormatFixed, false},
    };
    for (const Case& c : cases) {
        const NumberFormatMatch match = match_number_format(c.format);
        EXPECT_EQ(match.code, c.code) << c.format;
        EXPECT_EQ(match.decimals, 2) << c.format;
        EXPECT_TRUE(match.fixed_decimals) << c.format;
        EXPECT_EQ(match.currency_left_out, c.left_out) << c.format;
    }
}

// The cells show euros and pounds as such; an amount in zloty shows its
// number with its decimals, named in the note; nothing becomes dollars.
TEST_F(ExcelTextsTest, AmountsKeepTheirCurrencyOrShowTheirDecimals) {
    std::vector<Record> globals = {font(), format(164, u"#,##0.00\\ [$\u20ac-407]"),
                                   format(165, u"#,##0.00\\ [$z\u0142-415]"), format(166, u"[$\u00a3-809]#,##0.00"),
                                   xf(0), xf(164), xf(165), xf(166)};
    Sheet sheet{"Prices", {biff::number(0, 0, 2.5, 1), biff::number(0, 1, 3.25, 2), biff::number(0, 2, 4.75, 3),
                           biff::number(1, 1, 1234.5, 2)}};
    ASSERT_EQ(import8(globals, {sheet}), 0);
    EXPECT_EQ(layer_text(layer_at(0), FieldSource::displayed, '\t'), "€2.50\t3.25\t£4.75\r\n\t1,234.50\r\n");
    EXPECT_EQ(notes.currencies_left_out, 2);
    EXPECT_EQ(notes.currency_cells, (std::vector<std::string>{"B1", "B2"}));
    EXPECT_EQ(notes.replaced_characters, 0);  // the format's letters are no cell's
    EXPECT_TRUE(import_lost_anything(notes));
}

// Durations in hours, minutes and seconds show their hours past a day and go
// to other programs' SYLK as durations, which read back the same; one in
// another elapsed form shows its number of days, named in the note.
TEST_F(ExcelTextsTest, DurationsShowTheirHoursOrTheirNumbers) {
    std::vector<Record> globals = {font(), format(164, u"[HH]:MM:SS"), format(165, u"[mm]:ss"),
                                   xf(0), xf(46), xf(164), xf(165)};
    Sheet sheet{"Times", {biff::number(0, 0, 1.5, 1), biff::number(0, 1, 62.5, 2), biff::number(0, 2, 0.75, 3)}};
    ASSERT_EQ(import8(globals, {sheet}), 0);
    EXPECT_EQ(layer_text(layer_at(0), FieldSource::displayed, '\t'), "36:00:00\t1500:00:00\t0.75\r\n");
    EXPECT_EQ(notes.durations_left_out, 1);
    EXPECT_EQ(notes.duration_cells, std::vector<std::string>{"C1"});
    EXPECT_TRUE(import_lost_anything(notes));

    const std::string sylk = sylk_layer_text(layer_at(0), SylkVariant::other_spreadsheets);
    EXPECT_NE(sylk.find("P;P[h]:mm:ss\r\n"), std::string::npos);
    EXPECT_NE(sylk.find("F;P33;"), std::string::npos) << "the cells name the duration picture";
    ASSERT_EQ(read_sylk_bytes(sylk, layer), 0);
    EXPECT_EQ(layer_text(layer, FieldSource::displayed, '\t'), "36:00:00\t1500:00:00\t0.75\r\n");
}

// Another program's SYLK names the duration picture in its own words.
TEST_F(ExcelTextsTest, ASylkDurationPictureIsRead) {
    ASSERT_EQ(read_sylk_bytes("ID;PCALCOOO32\r\nP;PGeneral\r\nP;P[h]:mm:ss\r\nC;Y1;X1;K1.5\r\nF;P1;FG0G;Y1;X1\r\n"
                              "C;Y2;X1;K62.5\r\nF;P1;FG0G;Y2;X1\r\nE\r\n",
                              layer),
              0);
    EXPECT_EQ(layer_text(layer, FieldSource::displayed, '\t'), "36:00:00\r\n1500:00:00\r\n");
}

// Comments a note holds (Roman, 255 characters at most) become the notes of
// their cells, a cell of its own where the comment's cell is empty; the
// others are counted and named.
TEST_F(ExcelTextsTest, CommentsBecomeCellNotesWhereANoteHoldsThem) {
    Sheet sheet{"S", {biff::number(0, 0, 5), biff::number(1, 1, 6), biff::number(4, 0, 8)}};
    auto add = [&sheet](const std::vector<Record>& records) {
        sheet.records.insert(sheet.records.end(), records.begin(), records.end());
    };
    add(comment_objects(1, u"check the price", false));
    add(comment_objects(2, u"Kommentar: \u043f\u0440\u043e\u0432\u0435\u0440\u0438\u0442\u044c", true));
    add(comment_objects(3, u"caf\u00e9\nsecond line", true));
    add(comment_objects(4, std::u16string(300, u'x'), false));
    add({note(0, 0, 1), note(1, 1, 2), note(2, 2, 3), note(4, 0, 4), note(5, 0, 9)});  // 9: no such object
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(note_at(0, 0, 0), "check the price");
    EXPECT_EQ(number_at(0, 0, 0), 5);
    EXPECT_EQ(note_at(0, 1, 1), "");
    EXPECT_EQ(number_at(0, 1, 1), 6);
    EXPECT_EQ(note_at(0, 2, 2), "caf\x8e\nsecond line");  // on a cell of its own
    EXPECT_EQ(note_at(0, 4, 0), "");
    EXPECT_EQ(notes.comments_left_out, 3);
    EXPECT_EQ(notes.comment_cells, (std::vector<std::string>{"B2", "A5"}));
    EXPECT_EQ(check_access(layer_at(0)), 0);
}

// BIFF5 keeps a comment's text in its NOTE records, through the code page,
// a long one going on in NOTE records of row 0xFFFF.
TEST_F(ExcelTextsTest, Biff5CommentsComeFromTheirNoteRecords) {
    Record code_page{0x0042, Body().u16(1252).v};
    const std::string first = "caf\xe9 ", rest = "au lait";
    Sheet sheet{"S", {biff::number(0, 0, 1),
                      {kNote, Body().u16(0).u16(0).u16(uint16_t(first.size() + rest.size())).raw(first).v},
                      {kNote, Body().u16(0xFFFF).u16(0).u16(uint16_t(rest.size())).raw(rest).v}}};
    ASSERT_EQ(import(biff::compound_file(biff::workbook(false, {code_page}, {sheet}), "Book")), 0);
    EXPECT_EQ(note_at(0, 0, 0), "caf\x8e au lait");
    EXPECT_EQ(notes.comments_left_out, 0);
}

// A sheet name that Mac Roman cannot spell becomes "Sheet" and the sheet's
// place, told in the note; references to the sheet still find its layer.
TEST_F(ExcelTextsTest, ASheetNameOfAnotherScriptIsNamedAfterItsPlace) {
    std::vector<Record> globals = {{0x01AE, Body().u16(3).u16(0x0401).v},
                                   {0x0017, Body().u16(1).u16(0).u16(2).u16(2).v}};
    std::vector<uint8_t> tokens = Body().u8(0x3A).u16(0).u16(0).u16(0).v;  // the first cell of sheet 3
    Sheet first{"Prices", {biff::formula(0, 0, tokens, 7)}};
    Sheet chart{"Chart", {}, 2};
    Sheet third{"", {biff::number(0, 0, 7)}, 0, u"\u0426\u0435\u043d\u044b"};
    ASSERT_EQ(import8(globals, {first, chart, third}), 0);
    ASSERT_EQ(layers(), 2);
    EXPECT_EQ(layer_name(0), "Prices");
    EXPECT_EQ(layer_name(1), "Sheet 3");
    EXPECT_EQ(notes.renamed_sheets, std::vector<std::string>{"Sheet 3"});
    EXPECT_EQ(notes.replaced_characters, 0);
    recalculate();
    EXPECT_EQ(number_at(0, 0, 0), 7);
}

// A font named in Japanese (as Japanese workbooks name theirs) names no font
// here: no letter of the workbook's texts was replaced, and no note says so.
TEST_F(ExcelTextsTest, FontNamesOfOtherScriptsReplaceNoCharacters) {
    Record japanese_font{0x0031, Body().u16(220).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0x80).u8(0).u8(0)
                                     .wide8(u"\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af", true).v};
    Sheet sheet{"S", {biff::number(0, 0, 1, 1)}};
    ASSERT_EQ(import8({font(), japanese_font, xf(0), {0x00E0, Body().u16(1).u16(0).u16(1).u8(0).u8(0).u8(0).u8(0)
                                                           .u32(0).u32(0).u16(0).v}},
                      {sheet}),
              0);
    EXPECT_EQ(number_at(0, 0, 0), 1);
    EXPECT_EQ(notes.replaced_characters, 0);
    EXPECT_FALSE(import_lost_anything(notes));
}

// A line break in a text, a line feed alone or after a carriage return, is
// kept as read: the text functions find the line feed, and a text written
// out holds it as the workbook did.
TEST_F(ExcelTextsTest, LineBreaksOfTextsStayAsRead) {
    Body strings;
    strings.u32(2).u32(2).text8("line one\nline two").text8("a\r\nb");
    Sheet sheet{"S", {biff::label_sst(0, 0, 0), biff::label_sst(1, 0, 1),
                      {0x0204, Body().cell(2, 0).text8("label\nbreak").v}}};
    ASSERT_EQ(import8({{biff::kSst, strings.v}}, {sheet}), 0);
    EXPECT_EQ(text_at(0, 0, 0), "line one\nline two");
    EXPECT_EQ(text_at(0, 1, 0), "a\r\nb");
    EXPECT_EQ(text_at(0, 2, 0), "label\nbreak");
    EXPECT_EQ(number("=FIND(CHAR(10),A1)"), 9);
    EXPECT_EQ(number("=CODE(MID(A3,6,1))"), 10);
    EXPECT_EQ(text("=SUBSTITUTE(A1,CHAR(10),\"/\")"), "line one/line two");
    EXPECT_EQ(number("=FIND(CHAR(13)&CHAR(10),A2)"), 2);
    EXPECT_EQ(layer_text(layer_at(0), FieldSource::values, ','),
              "\"line one\nline two\"\r\n\"a\r\nb\"\r\n\"label\nbreak\"\r\n");
}

}  // namespace
