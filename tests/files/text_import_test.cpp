// Reading tab and comma-separated text: fields and quoting, line ends, the
// kinds of entries, encodings and the limits of a layer.
#include <filesystem>
#include <string>

#include "core/invariant_checks.h"
#include "files/entry_script.h"
#include "formula/typed_entry.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/cell_letters.h"
#include "model/cell_store.h"
#include "model/layer_use.h"
#include "model/record_bytes.h"
#include "platform/text/scripts.h"
#include "tests/files/text_fixture.h"
#include "tests/support/platform_stand_ins.h"

namespace {

using TextImportTest = TextTest;

std::string text_of(const CellView& c) { return c.text; }

TEST_F(TextImportTest, QuotedFieldsFollowCsvRules) {
    MemoryRef read = read_text("a,\"b,c\",d\r\n\"say \"\"hi\"\"\",\"two\nlines\",\"\"\r\n", kCommaSeparator);
    auto cells = cells_of(read);
    ASSERT_EQ(cells.size(), 5u);  // the empty quoted field makes no cell
    EXPECT_EQ(text_of(at(cells, 0, 1)), "b,c");
    EXPECT_EQ(text_of(at(cells, 0, 2)), "d");
    EXPECT_EQ(text_of(at(cells, 1, 0)), "say \"hi\"");
    EXPECT_EQ(text_of(at(cells, 1, 1)), "two\nlines");
    // With a semicolon a doubled quote is one quote too; with tab quotes are plain characters.
    EXPECT_EQ(text_of(cell(read_text("\"a\"\"b\";c", kSemicolonSeparator), 0, 0)), "a\"b");
    MemoryRef tabbed = read_text("\"a,b\"\t\"c\"\"\"\r\n", kTabSeparator);
    EXPECT_EQ(text_of(cell(tabbed, 0, 0)), "\"a,b\"");
    EXPECT_EQ(text_of(cell(tabbed, 0, 1)), "\"c\"\"\"");
    // A quote that opens no field is kept; an unclosed one runs to the end.
    EXPECT_EQ(text_of(cell(read_text("ab\"c,d", kCommaSeparator), 0, 0)), "ab\"c");
    EXPECT_EQ(text_of(cell(read_text("\"open,\r\nrest", kCommaSeparator), 0, 0)), "open,\r\nrest");
}

TEST_F(TextImportTest, EveryKindOfLineEndIsOneLineEnd) {
    MemoryRef read = read_text("a\r\nb\nc\rd\r\n\r\nf\r\n", kTabSeparator);
    auto cells = cells_of(read);
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_EQ(text_of(at(cells, 3, 0)), "d");
    EXPECT_EQ(text_of(at(cells, 5, 0)), "f");  // the empty line keeps its row
    std::string store;
    CellRange range{{0, 2}, {0, 2}};
    EXPECT_EQ(read_text_cells("x\ty\r\n", kTabSeparator, 2, layer, store, &range, nullptr), 0);
    EXPECT_EQ(range, (CellRange{{0, 2}, {0, 3}}));
    EXPECT_EQ(read_text_cells("", kTabSeparator, 0, layer, store = "", &range, nullptr), 0);
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(range.botRight.v, 0);
}

TEST_F(TextImportTest, FieldsBecomeNumbersDatesFormulasOrTexts) {
    MemoryRef read = read_text("12.5,1/2/2024,3 1/2,=A1*2,=SUM(A1,,word,12.5%,-7e3\r\n", kCommaSeparator);
    recalculate(read);
    auto cells = cells_of(read);
    EXPECT_EQ(at(cells, 0, 0).type, kCellConstant);
    EXPECT_EQ(at(cells, 0, 0).number, 12.5);
    EXPECT_EQ(at(cells, 0, 1).type, kCellConstant);  // a date serial
    EXPECT_GT(at(cells, 0, 1).number, 40000);
    EXPECT_EQ(at(cells, 0, 2).number, 3.5);
    EXPECT_EQ(uint8_t(at(cells, 0, 2).format[3]), 'J');
    EXPECT_EQ(at(cells, 0, 3).type, kCellFormula);
    EXPECT_EQ(at(cells, 0, 3).formula, "=A1*2");
    EXPECT_EQ(at(cells, 0, 3).number, 25);
    EXPECT_EQ(at(cells, 0, 4).type, kCellText);  // a formula that does not parse keeps its text
    EXPECT_EQ(at(cells, 0, 4).text, "=SUM(A1");
    EXPECT_EQ(at(cells, 0, 5).type, 0);
    EXPECT_EQ(at(cells, 0, 6).text, "word");
    EXPECT_DOUBLE_EQ(at(cells, 0, 7).number, 0.125);
    EXPECT_EQ(uint8_t(at(cells, 0, 7).format[3]), 'I');
    EXPECT_EQ(at(cells, 0, 8).number, -7000);
    // "=" alone or with spaces after it is no formula.
    MemoryRef bare = read_text("=\t= \t=   \r\n", kTabSeparator);
    for (int column = 0; column < 3; ++column) EXPECT_EQ(cell(bare, 0, column).type, kCellText) << column;
    EXPECT_EQ(cell(bare, 0, 1).text, "= ");
    // A field of 300 digits is too long to be a number.
    MemoryRef long_field = read_text(std::string(300, '9'), kTabSeparator);
    EXPECT_EQ(cell(long_field, 0, 0).type, kCellText);
    EXPECT_EQ(cell(long_field, 0, 0).text.size(), 300u);
}

TEST_F(TextImportTest, EncodingsAreDetectedAndLossReported) {
    ImportReport report;
    // UTF-8 with a byte-order mark, UTF-8 without, and Mac Roman bytes that are no UTF-8.
    EXPECT_EQ(text_of(cell(read_text("\xEF\xBB\xBFna\xC3\xAFve", kTabSeparator, &report), 0, 0)), "na\x95ve");
    EXPECT_EQ(text_of(cell(read_text("caf\xC3\xA9", kTabSeparator), 0, 0)), "caf\x8E");
    EXPECT_EQ(text_of(cell(read_text("caf\x8E", kTabSeparator), 0, 0)), "caf\x8E");
    EXPECT_EQ(report.replaced_characters, 0);
    // UTF-16 with and without a byte-order mark.
    EXPECT_EQ(text_of(cell(read_text(std::string("\xFF\xFE" "a\0\xE9\0", 6), kTabSeparator), 0, 0)), "a\x8E");
    EXPECT_EQ(text_of(cell(read_text(std::string("\0x\0y", 4), kTabSeparator), 0, 0)), "xy");
    // A character no installed script spells (Thai) becomes "?" and is counted.
    EXPECT_EQ(text_of(cell(read_text("a\xE0\xB8\x97" "b", kTabSeparator, &report), 0, 0)), "a?b");
    EXPECT_EQ(report.replaced_characters, 1);
}

// A letter beyond ASCII is found wherever it falls among the bytes the
// decoder looks at eight at a time, the last byte of the text too; every NUL
// is one lost character.
TEST_F(TextImportTest, LettersBeyondAsciiAreFoundAtEveryPlace) {
    const std::string plain(21, 'x');
    for (size_t at = 0; at <= plain.size(); ++at) {
        const std::string utf8 = plain.substr(0, at) + "\xC3\xA9" + plain.substr(at);
        EXPECT_EQ(text_of(cell(read_text(utf8, kTabSeparator), 0, 0)), plain.substr(0, at) + "\x8E" + plain.substr(at))
            << at;
    }
    ImportReport report;
    EXPECT_EQ(text_of(cell(read_text(std::string("a\0bcdefghij\0k\xC3\xA9", 15), kTabSeparator, &report), 0, 0)),
              "a?bcdefghij?k\x8E");
    EXPECT_EQ(report.replaced_characters, 2);
}

uint16_t font_of(const CellView& c) { return uint16_t(uint8_t(c.format[0]) | uint8_t(c.format[1]) << 8); }

// Each field is kept in the script that spells it, its cell set in that
// script's font; Roman fields beside them keep the default font.
TEST_F(TextImportTest, FieldsOfOtherScriptsKeepTheirTextInTheirScriptsFont) {
    ImportReport report;
    MemoryRef read = read_text("東京,Ελλάδα,café\r\n서울 ไทย,12,Москва\r\n", kCommaSeparator, &report);
    const CellMap cells = cells_of(read);
    EXPECT_EQ(text_of(at(cells, 0, 0)), "\x93\x8C\x8B\x9E");
    EXPECT_EQ(font_of(at(cells, 0, 0)), pf::script_font(pf::kScriptJapanese));
    EXPECT_EQ(pf::script_to_utf8(text_of(at(cells, 0, 1)), pf::kScriptGreek), "Ελλάδα");
    EXPECT_EQ(font_of(at(cells, 0, 1)), pf::script_font(pf::kScriptGreek));
    EXPECT_EQ(text_of(at(cells, 0, 2)), "caf\x8E");
    EXPECT_EQ(font_of(at(cells, 0, 2)), kDefaultFontNumber);
    EXPECT_EQ(at(cells, 1, 1).number, 12);
    EXPECT_EQ(font_of(at(cells, 1, 1)), kDefaultFontNumber);
    EXPECT_EQ(pf::script_to_utf8(text_of(at(cells, 1, 2)), pf::kScriptCyrillic), "Москва");
    // Only the Thai characters, which no script spells, are lost.
    EXPECT_EQ(pf::script_to_utf8(text_of(at(cells, 1, 0)), pf::kScriptKorean), "서울 ???");
    EXPECT_EQ(font_of(at(cells, 1, 0)), pf::script_font(pf::kScriptKorean));
    EXPECT_EQ(report.replaced_characters, 3);
}

// Checked builds check a cell read from a file where its block becomes the
// layer's store: one whose font was changed after it was built, so that it
// reads as other letters, is caught there.
TEST_F(TextImportTest, ACellThatNoLongerReadsAsReadIsCaughtWhereItsBlockIsStored) {
    if (!invariants_checked()) GTEST_SKIP() << "a build that checks no invariants";
    uint8_t header[kCellHeaderSize];
    GetDefaultFormat(header);
    const auto install = [&](int16_t font) {
        EntryCell entry{CellPoint{2, 1}, header, "caf\x8E", {}};
        entry.script = pf::kScriptRoman;
        entry.text = true;
        std::string cell;
        append_entry_cell(cell, entry, layer);
        store_u16(reinterpret_cast<uint8_t*>(cell.data()) + kFmtFont, uint16_t(font));
        CellBlockRows rows;
        rows.append(2, cell);
        rows.install(layer);
    };
    install(pf::script_font(pf::kScriptRoman));
    EXPECT_EQ(cell_shown_unicode(layer, CellPoint{2, 1}), "caf\u00e9");
    EXPECT_DEATH(install(pf::script_font(pf::kScriptCyrillic)), "does not read back");
}

// A field mixing letters of scripts no one script spells together is kept as
// typed text is, in runs of the scripts that spell its words; nothing is lost
// and the cell's own font stays.
TEST_F(TextImportTest, FieldsOfSeveralScriptsKeepEveryLetterInRuns) {
    const std::vector<std::string> fields = {"ö 東京", "naïve Москва", "ÜÖ Ñ 東京", "mixed 日本 Ελλάδα"};
    for (uint8_t separator : {kCommaSeparator, kTabSeparator}) {
        std::string line;
        for (const std::string& field : fields) line += (line.empty() ? "" : std::string(1, char(separator))) + field;
        ImportReport report;
        MemoryRef read = read_text(line + "\r\n", separator, &report);
        EXPECT_EQ(report.replaced_characters, 0);
        MemoryRef cells = GetSpreadSheetCells(read);
        const auto* row = static_cast<const uint8_t*>(UseMemory(cells));
        size_t i = 0;
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell), ++i) {
            ASSERT_LT(i, fields.size());
            EXPECT_EQ(_cellType_(cell), kCellText);
            EXPECT_GT(_styleLength_(cell), 0) << fields[i];
            EXPECT_EQ(format_font(cell), kDefaultFontNumber) << fields[i];
            const std::string_view text(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
            EXPECT_EQ(cell_field_utf8(cell, text, Get_Default_Font(read)), fields[i]);
        }
        EXPECT_EQ(i, fields.size());
        UnuseMemory(cells);
    }
}

// A formula whose texts one script spells stays a formula, set in that
// script's font; one whose texts need several scripts would read them in one
// and lose letters, so it is kept as a text cell holding it as written, and
// counted for the note. A text of several scripts that is no formula is not.
TEST_F(TextImportTest, AFormulaOfSeveralScriptsIsKeptAsWrittenAndCounted) {
    const std::vector<std::string> fields = {"=\"東京\"&\"駅\"", "=\"Москва\"&A1", "=\"東京\"&\"ü\"",
                                             "=\"Αθήνα東京\"", "=A1&\"ö\"&\"東京\"", "ö 東京"};
    for (uint8_t separator : {kCommaSeparator, kTabSeparator}) {
        std::string line;
        for (const std::string& field : fields) line += (line.empty() ? "" : std::string(1, char(separator))) + field;
        ImportReport report;
        MemoryRef read = read_text(line + "\r\n", separator, &report);
        const CellMap cells = cells_of(read);
        EXPECT_EQ(at(cells, 0, 0).type, kCellFormula);
        EXPECT_EQ(font_of(at(cells, 0, 0)), pf::script_font(pf::kScriptJapanese));
        EXPECT_EQ(letters(read, 0, 0).substr(0, fields[0].size()), fields[0]);
        EXPECT_EQ(at(cells, 0, 1).type, kCellFormula);
        EXPECT_EQ(font_of(at(cells, 0, 1)), pf::script_font(pf::kScriptCyrillic));
        EXPECT_EQ(letters(read, 0, 1).substr(0, fields[1].size()), fields[1]);
        for (int column = 2; column < int(fields.size()); ++column) {
            EXPECT_EQ(at(cells, 0, column).type, kCellText) << fields[size_t(column)];
            EXPECT_EQ(letters(read, 0, column), fields[size_t(column)]);
        }
        EXPECT_EQ(report.formulas_in_scripts, 3);
        EXPECT_EQ(report.replaced_characters, 0);
        EXPECT_EQ(report.unconverted_formulas, 0);
        EXPECT_TRUE(import_lost_anything(report));
        const std::vector<ImportNote> notes = text_import_notes(report);
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].index, kFormulasInScripts);
        EXPECT_EQ(notes[0].figures, std::vector<std::string>{"3"});
    }
}

// The letters a stored cell stands for.
std::string letters_at(MemoryRef of, int row, int column) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    const CellPoint where{int16_t(row), int16_t(column)};
    return get_cell_ptr(&cell, &length, where, of) ? cell_unicode_text(cell, where, of) : std::string();
}

// Whatever script the layer's default font is of (the Layout's, or the
// preferences' that a new document takes), a UTF-8 file's fields read as
// written: those Mac Roman spells too, whose bytes the default font would
// read as other letters, and those of other scripts.
TEST_F(TextImportTest, FieldsReadAsWrittenUnderADefaultFontOfAnyScript) {
    const std::vector<std::string> fields = {"Zürich café", "Åsa", "crème", "Москва", "plain"};
    for (int16_t script : {pf::kScriptRoman, pf::kScriptJapanese, pf::kScriptCyrillic, pf::kScriptGreek,
                           pf::kScriptCentralEuro})
        for (uint8_t separator : {kCommaSeparator, kTabSeparator}) {
            std::string line;
            for (const std::string& field : fields) line += (line.empty() ? "" : std::string(1, char(separator))) + field;
            MemoryRef into = fresh_layer();
            LayerUse(into)->font = pf::script_font(script);
            ASSERT_EQ(read_text_bytes(line + "\r\n", separator, into, nullptr), 0);
            for (size_t i = 0; i < fields.size(); ++i)
                EXPECT_EQ(letters_at(into, 0, int(i)), fields[i]) << "default of script " << script;
            // Without Москва the file reads as Mac Roman, each field as before.
            MemoryRef roman = fresh_layer();
            LayerUse(roman)->font = pf::script_font(script);
            ASSERT_EQ(read_text_bytes("Zürich café,Åsa\r\n", kCommaSeparator, roman, nullptr), 0);
            EXPECT_EQ(letters_at(roman, 0, 0), "Zürich café") << "default of script " << script;
            EXPECT_EQ(letters_at(roman, 0, 1), "Åsa") << "default of script " << script;
        }
}

TEST_F(TextImportTest, AStrayNulIsOneLostCharacterNotASignOfUtf16) {
    ImportReport report;
    MemoryRef read = read_text(std::string("x,1\r\nca\0t,caf\xC3\xA9\r\n", 17), kCommaSeparator, &report);
    EXPECT_EQ(text_of(cell(read, 0, 0)), "x");
    EXPECT_EQ(cell(read, 0, 1).number, 1);
    EXPECT_EQ(text_of(cell(read, 1, 0)), "ca?t");
    EXPECT_EQ(text_of(cell(read, 1, 1)), "caf\x8E");
    EXPECT_EQ(report.replaced_characters, 1);
    // Even-length 8-bit text with a NUL or two is still 8-bit text.
    report = {};
    EXPECT_EQ(text_of(cell(read_text(std::string("ab\0defgh", 8), kTabSeparator, &report), 0, 0)), "ab?defgh");
    EXPECT_EQ(report.replaced_characters, 1);
    // UTF-16 without a mark holding a NUL of its own.
    EXPECT_EQ(text_of(cell(read_text(std::string("a\0\0\0b\0c\0", 8), kTabSeparator), 0, 0)), "a?bc");
}

TEST_F(TextImportTest, LinesAndFieldsPastTheGridAreCutAndReported) {
    ImportReport report;
    std::string wide;
    for (int i = 0; i < 32005; ++i) wide += "1,";
    wide += "2\r\nnext\r\n";
    MemoryRef read = read_text(wide, kCommaSeparator, &report);
    EXPECT_EQ(report.fields_cut, 6);
    EXPECT_EQ(cell(read, 0, kLastCell).number, 1);
    EXPECT_EQ(cell(read, 1, 0).text, "next");
    EXPECT_TRUE(store_is_sound(read));

    std::string tall;
    for (int i = 0; i < 32003; ++i) tall += "r" + std::to_string(i) + "\n";
    tall += "\n\n";
    report = {};
    read = read_text(tall, kTabSeparator, &report);
    EXPECT_EQ(report.rows_cut, 3);
    EXPECT_EQ(cell(read, kLastCell, 0).text, "r31999");
}

TEST_F(TextImportTest, FilesAreReadByTheirKind) {
    write_bytes("a.csv", {'1', ',', '2', '\n'});
    MemoryRef csv = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("a.csv"), nullptr, csv, kCsvFileType), 0);
    EXPECT_EQ(cell(csv, 0, 1).number, 2);
    MemoryRef tab = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("a.csv"), nullptr, tab, kTabFileType), 0);
    EXPECT_EQ(cell(tab, 0, 0).text, "1,2");
    // A file that begins "ID;" is SYLK whatever its kind.
    std::string sylk = "ID;PTEST\r\nC;Y1;X1;K7\r\nE\r\n";
    write_bytes("b.txt", std::vector<uint8_t>(sylk.begin(), sylk.end()));
    MemoryRef read = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("b.txt"), nullptr, read, kCsvFileType), 0);
    EXPECT_EQ(cell(read, 0, 0).number, 7);
    // Lost characters are told; a missing file is an error shown.
    write_bytes("c.txt", {0xE0, 0xB8, 0x97});  // Thai, which no script spells
    EXPECT_EQ(ReadTextFile(spec("c.txt"), nullptr, fresh_layer(), kTabFileType), 0);
    EXPECT_EQ(prompts_log::seen.back(), "tell 170/1");
    EXPECT_NE(ReadTextFile(spec("missing.txt"), nullptr, fresh_layer(), kTabFileType), 0);
    EXPECT_EQ(prompts_log::seen.back(), "error -43");
    // A file past the reader's limit is refused with its own error, unread.
    write_bytes("huge.txt", {'1'});
    std::filesystem::resize_file(path("huge.txt"), std::uintmax_t(300) << 20);
    EXPECT_EQ(ReadTextFile(spec("huge.txt"), nullptr, fresh_layer(), kTabFileType), pf::kFileTooLongErr);
    EXPECT_EQ(prompts_log::seen.back(), "error -1309");
}

TEST_F(TextImportTest, PastedTextBecomesACellBlockAtTheStartColumn) {
    const std::string text = "1\t2\r3";
    MemoryRef block = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
    MemoryRef cells = nullptr;
    CellRange range{{0, 4}, {0, 4}};
    bool progress = false;
    ASSERT_EQ(InputTextData(&progress, kTabSeparator, block, nullptr, &cells, &range, layer), 0);
    EXPECT_EQ(range, (CellRange{{0, 4}, {1, 5}}));
    ASSERT_NE(cells, nullptr);
    EXPECT_GT(GetByteSize(cells), 3 * kCellHeaderSize);
    DisposeMemory(cells);
    DisposeMemory(block);
}

}  // namespace

namespace {

TEST_F(TextImportTest, CommandPeriodStopsALongRead) {
    std::string text, sylk = "ID;P\r\n";
    for (int i = 0; i < 5000; ++i) {
        text += std::to_string(i) + ",x\r\n";
        sylk += "C;Y" + std::to_string(i + 1) + ";X1;K" + std::to_string(i) + "\r\n";
    }
    MemoryRef filled = read_text("1,2\r\n3,4\r\n", kCommaSeparator);
    const CellMap before = cells_of(filled);
    stand_in::hold_command_period(true);
    MemoryRef stopped = fresh_layer();
    EXPECT_EQ(read_text_bytes(text, kCommaSeparator, stopped, nullptr), kTextCancelled);
    EXPECT_TRUE(cells_of(stopped).empty());
    // A layer read into before keeps the cells it had.
    EXPECT_EQ(read_text_bytes(text, kCommaSeparator, filled, nullptr), kTextCancelled);
    EXPECT_EQ(cells_of(filled), before);
    MemoryRef partly = fresh_layer();
    EXPECT_EQ(read_sylk_bytes(sylk, partly), 1);
    const size_t kept = cells_of(partly).size();
    stand_in::hold_command_period(false);
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 5000u);
    EXPECT_EQ(read_text_bytes(text, kCommaSeparator, stopped, nullptr), 0);
}

}  // namespace

TEST_F(TextImportTest, ATimeFormulaKeepsOnlyATimeFormat) {
    uint8_t header[32];
    GetDefaultFormat(header);
    auto code_after = [&](uint8_t code) {
        header[kFmtCode] = code;
        std::string row;
        append_entry_cell(row, EntryCell{CellPoint{0, 0}, header, "=TIMEVALUE(\"1:30\")", {}}, layer);
        return uint8_t(row[kFmtCode]);
    };
    EXPECT_EQ(code_after(29), 29);  // the last time format stays
    EXPECT_EQ(code_after(30), 21);  // past it, the first time format
    EXPECT_EQ(code_after(40), 21);
}

// Entries with no digit and no "=" are kept as text without the parser: in
// every cell format and every system setting of separators, currency and
// date order, the parser too finds each of these near-numbers, near-dates and
// near-formulas text, and the cell is the one a text field makes.
TEST_F(TextImportTest, EntriesWithoutDigitOrEqualsSignAreTheTextCellsTheParserWouldMake) {
    const std::vector<std::string> entries = {
        "$", "-", "+", ".", ",", "(", ")", "()", "%", "-%", ".%", " ", "  ", "e", "E", "-e", ".e", "e+", "e-",
        "/", "//", ":", "::", " : ", "/ :", ":/", "-.", "+.", "$.", "-$", "($)", "$-", "'", "'.", "\xA3", "\xB4",
        "\xDB", "\xA3.", "-\xB4", "TRUE", "FALSE", "true", "#N/A", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!",
        "#NULL!", "Jan", "March", "Dec-", "PM", "AM", "a.m.", "inf", "-inf", "infinity", "nan", "NaN", "noon",
        "today", "now", "+A", "-B", "@SUM", "(a)", "\"x\"", "apple", "-e-", "e/e", "i"};
    struct Setting {
        unsigned char decimal, thousands, date, currency;
        int16_t order;
    };
    const Setting settings[] = {{'.', ',', '/', '$', 0}, {',', '.', '.', 0xDB, 1}, {',', ' ', '-', 0xA3, 2},
                                {'.', '\'', '.', 0xB4, 5}, {'.', ',', ':', '-', 0}};
    const unsigned char saved[] = {decimalPt, thousSep, dateSep, currSym1};
    const int16_t saved_order = dateOrder;
    int differences = 0;
    for (const Setting& setting : settings) {
        decimalPt = setting.decimal, thousSep = setting.thousands, dateSep = setting.date;
        currSym1 = setting.currency, dateOrder = setting.order;
        for (int code = 0; code < 256; ++code) {
            uint8_t header[kCellHeaderSize];
            GetDefaultFormat(header);
            header[kFmtCode] = uint8_t(code);
            for (const std::string& entry : entries) {
                uint8_t settled_header[kCellHeaderSize];
                std::memcpy(settled_header, header, kCellHeaderSize);
                const SettledEntry settled = settle_typed_entry(entry, CellPoint{0, 0}, layer, settled_header);
                std::string cell, text_cell;
                append_entry_cell(cell, EntryCell{CellPoint{0, 0}, header, entry, {}}, layer);
                append_text_cell(text_cell, header, 0, entry);
                const bool same = settled.outcome == EntryOutcome::text &&
                                  std::memcmp(settled_header, header, kCellHeaderSize) == 0 && cell == text_cell;
                if (!same && differences++ < 5)
                    ADD_FAILURE() << "'" << entry << "' in format " << code << " with decimal '" << setting.decimal
                                  << "' and date separator '" << setting.date << "'";
            }
        }
    }
    decimalPt = saved[0], thousSep = saved[1], dateSep = saved[2], currSym1 = saved[3];
    dateOrder = saved_order;
    EXPECT_EQ(differences, 0);
}

TEST_F(TextImportTest, ANumberCellRecordHoldsItsSlotAfterLabelAndNoteAndItsTypedTextAfterTheSlot) {
    uint8_t header[kCellHeaderSize];
    GetDefaultFormat(header);
    std::string row;
    append_cell_record(row, CellRecordParts{.header = header,
                                            .column = 3,
                                            .type = kCellConstant,
                                            .label_note = "labnote",
                                            .label_length = 3,
                                            .number = 2.5,
                                            .body = "2.50",
                                            .tail = {},
                                            .tail_is_style = false,
                                            .result_type = kResultNumber});
    const auto* cell = reinterpret_cast<const uint8_t*>(row.data());
    ASSERT_EQ(row.size(), kCellHeaderSize + 7 + kNumberSlotSize + 4);
    EXPECT_EQ(size_t(_cellLength_(cell)), row.size());
    EXPECT_EQ(_cellID_(cell), 3);
    EXPECT_EQ(_labelLength_(cell), 3);
    EXPECT_EQ(_noteLength_(cell), 4);
    EXPECT_EQ(_formulaLength_(cell), kNumberSlotSize + 4);
    EXPECT_EQ(load_f64(_formulaPtr_(cell)), 2.5);
    EXPECT_EQ(_formulaPtr_(cell)[8], 0);  // the slot's two bytes past the double
    EXPECT_EQ(_formulaPtr_(cell)[9], 0);
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(_constTextPtr_(cell)), 4), "2.50");
    EXPECT_EQ(std::memcmp(cell + kFmtFont, header + kFmtFont, 2), 0);  // the format is the header's
    // A number read from a file keeps at most 255 bytes of its text; the
    // header may be a cell of the row being written.
    const std::string digits(300, '1');
    const size_t first_length = row.size();  // the appends move the row
    for (int i = 0; i < 40; ++i)
        append_number_cell(row, reinterpret_cast<const uint8_t*>(row.data()), int16_t(4 + i), 1.0, digits);
    cell = reinterpret_cast<const uint8_t*>(row.data()) + first_length;
    EXPECT_EQ(_cellID_(cell), 4);
    EXPECT_EQ(_noteLength_(cell), 0);
    EXPECT_EQ(_formulaLength_(cell), kNumberSlotSize + 255);
    EXPECT_EQ(load_f64(_formulaPtr_(cell)), 1.0);
    EXPECT_EQ(row.size(), size_t(_cellLength_(cell)) * 40 + kCellHeaderSize + 7 + kNumberSlotSize + 4);
}
