// SYLK files of other scripts than Roman: a UTF-8 file's cells are kept in
// the scripts that spell them and written back in UTF-8; Mac Roman files read
// as they always did.
#include <string>

#include "files/import_report.h"
#include "files/sylk.h"
#include "files/sylk_format.h"
#include "files/sylk_text.h"
#include "model/cell_format.h"
#include "model/cell_letters.h"
#include "model/cell_store.h"
#include "model/layer_use.h"
#include "model/record_bytes.h"
#include "platform/text/text.h"
#include "tests/files/text_fixture.h"

namespace {

class SylkScriptsTest : public TextTest {
protected:
    MemoryRef read(const std::string& records, ImportReport* report = nullptr) {
        MemoryRef into = fresh_layer();
        EXPECT_EQ(read_sylk_bytes("ID;PTEST\r\n" + records + "E\r\n", into, report), 0);
        return into;
    }

    uint16_t font_at(MemoryRef of, int row, int column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{int16_t(row), int16_t(column)}, of)) return 0;
        return format_font(cell);
    }

    static std::string in_script(const std::string& utf8, int16_t script) {
        std::string bytes;
        EXPECT_TRUE(pf::utf8_to_script(utf8, script, bytes)) << utf8;
        return bytes;
    }

    // The C records of the writer's text.
    std::string cell_lines(MemoryRef of) {
        std::string text = sylk_layer_text(of), out;
        for (size_t at = 0; at < text.size();) {
            const size_t end = text.find("\r\n", at);
            if (text.compare(at, 2, "C;") == 0) out += text.substr(at, end - at) + "\n";
            at = end + 2;
        }
        return out;
    }
};

TEST_F(SylkScriptsTest, CellsOfAUtf8FileKeepTheirScriptsAndGoBackAsTheyCame) {
    const std::string records =
        "C;Y1;X1;K\"東京\"\r\n"
        "C;X2;K\"Ελλάδα\"\r\n"
        "C;X3;K\"서울\"\r\n"
        "C;X4;K\"Příliš\"\r\n"
        "C;X5;K\"Zürich\"\r\n"
        "C;X6;K\"a;;b\"\r\n";
    MemoryRef l = read(records);
    EXPECT_EQ(cell(l, 0, 0).text, in_script("東京", pf::kScriptJapanese));
    EXPECT_EQ(font_at(l, 0, 0), uint16_t(pf::script_font(pf::kScriptJapanese)));
    EXPECT_EQ(cell(l, 0, 1).text, in_script("Ελλάδα", pf::kScriptGreek));
    EXPECT_EQ(font_at(l, 0, 1), uint16_t(pf::script_font(pf::kScriptGreek)));
    EXPECT_EQ(font_at(l, 0, 2), uint16_t(pf::script_font(pf::kScriptKorean)));
    EXPECT_EQ(font_at(l, 0, 3), uint16_t(pf::script_font(pf::kScriptCentralEuro)));
    // Text Mac Roman spells stays Roman, in the layer's font.
    EXPECT_EQ(cell(l, 0, 4).text, "Z\x9Frich");
    EXPECT_EQ(font_at(l, 0, 4), kDefaultFontNumber);
    EXPECT_EQ(cell(l, 0, 5).text, "a;b");

    const std::string written = cell_lines(l);
    EXPECT_NE(written.find(";K\"東京\"\n"), std::string::npos) << written;
    EXPECT_NE(written.find(";K\"Ελλάδα\"\n"), std::string::npos) << written;
    EXPECT_NE(written.find(";K\"Příliš\"\n"), std::string::npos) << written;
    // (Their cells' formats carry the addresses.) Roman text keeps the escapes
    // older readers know; ";" is doubled in either.
    EXPECT_NE(written.find("C;X5;K\"Z\x1BNHurich\"\n"), std::string::npos) << written;
    EXPECT_NE(written.find("C;X6;K\"a;;b\"\n"), std::string::npos) << written;
    EXPECT_EQ(sylk_layer_text(read_sylk(sylk_layer_text(l))), sylk_layer_text(l));
}

// For other spreadsheets each line goes in Windows-1252, without the escapes
// of accented letters they do not all read; a line whose bytes would read as
// UTF-8 stays UTF-8. This program reads that file back to the same cells.
TEST_F(SylkScriptsTest, SylkForOtherSpreadsheetsSpellsItsLinesInWindowsLatin) {
    MemoryRef l = read(
        "C;Y1;X1;K\"Krak\x1BNBow\"\r\n"
        "C;X2;K\"Z\x1BNHurich;;caf\x1BNBe\"\r\n"
        "C;X4;K\"two\x1B :lines\"\r\nC;X5;K\"\xE2\x82\xAC 5\"\r\n"
        "C;X6;K0;E\"à\"&R1C1\r\nC;X7;K\"Ã©\"\r\n");
    ExportReport losses;
    const std::string own = sylk_layer_text(l),
                      others = sylk_layer_text(l, SylkVariant::other_spreadsheets, &losses);
    for (const char* spelled : {"K\"Krak\xF3w\"", "K\"Z\xFCrich;;caf\xE9\"", "K\"two\x1B :lines\"", "K\"\x80 5\"",
                                "E\"\xE0\"&R1C1", "K\"Ã©\""})
        EXPECT_NE(others.find(spelled), std::string::npos) << spelled << "\n" << others;
    EXPECT_EQ(others.find("\x1BN"), std::string::npos);
    EXPECT_EQ(losses.letters_written_as_marks, 0);
    // This program's own file keeps its escapes.
    EXPECT_NE(own.find("K\"Krak\x1BNBow\""), std::string::npos);
    EXPECT_EQ(sylk_layer_text(read_sylk(others)), own);
    EXPECT_EQ(sylk_layer_text(read_sylk(others), SylkVariant::other_spreadsheets), others);
}

// A letter Windows-1252 lacks goes into that file as "?", counted for the
// note; no UTF-8 byte is left among the Windows-1252 ones, and the document's
// own file keeps every letter.
TEST_F(SylkScriptsTest, LettersWindowsLatinLacksAreWrittenAsMarksAndCounted) {
    MemoryRef l = read("C;Y1;X1;K\"Příliš\"\r\nC;X2;K\"Ελλάδα\"\r\nC;X3;K\"東京 café\"\r\nC;X4;K\"Zürich\"\r\n");
    ExportReport losses;
    const std::string others = sylk_layer_text(l, SylkVariant::other_spreadsheets, &losses);
    for (const char* marked : {"K\"P?\xEDli\x9A\"", "K\"??????\"", "K\"?? caf\xE9\"", "K\"Z\xFCrich\""})
        EXPECT_NE(others.find(marked), std::string::npos) << marked << "\n" << others;
    EXPECT_EQ(losses.letters_written_as_marks, 1 + 6 + 2);
    for (const char* utf8 : {"ř", "λ", "東"}) EXPECT_EQ(others.find(utf8), std::string::npos) << utf8;
    EXPECT_NE(sylk_layer_text(l).find("Ελλάδα"), std::string::npos);
    // Without a report the text is the same.
    EXPECT_EQ(sylk_layer_text(l, SylkVariant::other_spreadsheets), others);
}

// Only a file this program wrote has its Windows-1252 lines read as such;
// another program's bytes that are not UTF-8 are Mac Roman, counted as guessed.
TEST_F(SylkScriptsTest, OnlyThisProgramsFileIsReadInWindowsLatin) {
    const std::string body = "C;Y1;X1;K\"Z\xFCrich\"\r\nE\r\n";
    const DecodedText ours = decode_text_or_sylk_file("ID;P" + std::string(kSylkProgramName) + ";N;E;B4\r\n" + body);
    EXPECT_NE(ours.text.find("K\"Z\x9Frich\""), std::string::npos) << ours.text;
    EXPECT_EQ(ours.guessed, 0);
    const DecodedText other = decode_text_or_sylk_file("ID;POTHER;N;E\r\n" + body);
    EXPECT_NE(other.text.find("K\"Z\xFCrich\""), std::string::npos) << other.text;
    EXPECT_EQ(other.guessed, 1);
    const DecodedText utf8 = decode_text_or_sylk_file("ID;POTHER;N;E\r\nC;Y1;X1;K\"Z\u00FCrich\"\r\n");
    EXPECT_NE(utf8.text.find("K\"Z\x9Frich\""), std::string::npos) << utf8.text;
    EXPECT_EQ(utf8.guessed, 0);
}

TEST_F(SylkScriptsTest, FormulasKeepTheScriptOfTheirTextsAndEscapesTheirCharacters) {
    // A formula's text result and its literal in the same script; an escape
    // of a Mac Roman letter in a UTF-8 file is that letter (é is also Greek).
    MemoryRef l = read(
        "C;Y1;X1;K\"東京駅\";E\"東京\"&\"駅\"\r\n"
        "C;Y2;X1;K\"caf\x1BNBe Αθήνα\"\r\n"
        "C;Y3;X1;K\"x\x1B :y\"\r\n");
    const CellView formula = cell(l, 0, 0);
    EXPECT_EQ(formula.type, kCellFormula);
    EXPECT_EQ(formula.text, in_script("東京駅", pf::kScriptJapanese));
    EXPECT_EQ(formula.formula, in_script("=\"東京\"&\"駅\"", pf::kScriptJapanese));
    EXPECT_EQ(cell(l, 1, 0).text, in_script("café Αθήνα", pf::kScriptGreek));
    EXPECT_EQ(cell(l, 2, 0).text, "x\ny");
    const std::string written = cell_lines(l);
    EXPECT_NE(written.find("K\"東京駅\";E\"東京\"&\"駅\""), std::string::npos) << written;
    EXPECT_NE(written.find("K\"café Αθήνα\""), std::string::npos) << written;
    EXPECT_NE(written.find("K\"x\x1B :y\""), std::string::npos) << written;
}

TEST_F(SylkScriptsTest, ACellFontOfTheScriptIsKeptAndOneOfAnotherGivesWay) {
    const uint16_t greek = uint16_t(pf::script_font(pf::kScriptGreek));
    MemoryRef l = fresh_layer();
    type_entries(l, {{{0, 0}, "a"}, {{0, 1}, "b"}});
    for (int column : {0, 1}) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, int16_t(column)}, l));
        store_u16(cell + kFmtFont, greek);
    }
    // The same file with Greek and Japanese text in the cells set in the Greek font.
    std::string text = sylk_layer_text(l);
    for (auto [from, to] : {std::pair<std::string, std::string>{"K\"a\"", "K\"Αθήνα\""}, {"K\"b\"", "K\"東京\""}})
        text.replace(text.find(from), from.size(), to);
    MemoryRef back = read_sylk(text);
    EXPECT_EQ(font_at(back, 0, 0), greek);
    EXPECT_EQ(cell(back, 0, 0).text, in_script("Αθήνα", pf::kScriptGreek));
    EXPECT_EQ(font_at(back, 0, 1), uint16_t(pf::script_font(pf::kScriptJapanese)));
    EXPECT_EQ(cell(back, 0, 1).text, in_script("東京", pf::kScriptJapanese));
}

TEST_F(SylkScriptsTest, WhatNoScriptSpellsIsCountedAndOtherRecordsAreRoman) {
    ImportReport report;
    MemoryRef l = read("NN;NCafé;ER1C1\r\nC;Y1;X1;K\"ไทย 東京\"\r\nC;Y2;X1;K\"λάμδα\"\r\n", &report);
    EXPECT_EQ(cell(l, 0, 0).text, in_script("??? 東京", pf::kScriptJapanese));
    EXPECT_EQ(cell(l, 1, 0).text, in_script("λάμδα", pf::kScriptGreek));
    EXPECT_EQ(report.replaced_characters, 3);
    // The name of a UTF-8 file comes in Mac Roman, as names are kept.
    EXPECT_NE(sylk_layer_text(l).find("NN;NCaf\x1BNBe;ER1C1"), std::string::npos);
}

// A formula whose texts one script spells is read in it (Japanese spells
// Cyrillic too); one whose texts need several scripts keeps the value the
// file gives, or without one its text behind an apostrophe, every letter as
// written, and is counted apart from the formulas that do not convert.
TEST_F(SylkScriptsTest, AFormulaNoOneScriptSpellsKeepsItsValueOrItsTextAsWritten) {
    ImportReport report;
    MemoryRef l = read(
        "C;Y1;X1;K\"東京ü\";E\"東京\"&\"ü\"\r\n"
        "C;X2;E\"Αθήνα東京\"\r\n"
        "C;X3;K\"Москва\";EIF(R1C1=\"x\",\"東京\",\"Москва\")\r\n"
        "C;X4;K7;E\"Αθήνα\"&\"東京\"&NOSUCH()\r\n"
        "C;X5;K\"x\";E\"ไทย\"\r\n",
        &report);
    EXPECT_EQ(cell(l, 0, 0).type, kCellText);
    EXPECT_EQ(letters(l, 0, 0), "東京ü");
    EXPECT_EQ(cell(l, 0, 1).type, kCellText);
    EXPECT_EQ(letters(l, 0, 1), "'=\"Αθήνα東京\"");
    EXPECT_EQ(cell(l, 0, 2).type, kCellFormula);
    EXPECT_EQ(font_at(l, 0, 2), uint16_t(pf::script_font(pf::kScriptJapanese)));
    EXPECT_EQ(letters(l, 0, 2), "=IF($A$1=\"x\",\"東京\",\"Москва\")\nМосква");
    EXPECT_EQ(cell(l, 0, 3).number, 7);  // no formula here for another reason
    // Letters no installed script spells become "?" as ever, the formula kept.
    EXPECT_EQ(cell(l, 0, 4).type, kCellFormula);
    EXPECT_EQ(report.formulas_in_scripts, 2);
    EXPECT_EQ(report.unconverted_formulas, 1);
    EXPECT_EQ(report.replaced_characters, 3);
}

// A UTF-8 file whose texts Mac Roman spells reads as written whatever the
// script of the layer's default font, formulas' texts with the rest.
TEST_F(SylkScriptsTest, TextsReadAsWrittenUnderADefaultFontOfAnyScript) {
    for (int16_t script : {pf::kScriptRoman, pf::kScriptJapanese, pf::kScriptCyrillic, pf::kScriptGreek,
                           pf::kScriptCentralEuro}) {
        MemoryRef l = fresh_layer();
        LayerUse(l)->font = pf::script_font(script);
        ASSERT_EQ(read_sylk_bytes("ID;PTEST\r\nC;Y1;X1;K\"Zürich café\"\r\nC;X2;K\"Åsa\"\r\n"
                                  "C;X3;K\"crème\";E\"crème\"\r\nE\r\n",
                                  l),
                  0);
        for (auto [column, text] : {std::pair<int, std::string>{0, "Zürich café"}, {1, "Åsa"}}) {
            uint8_t* cell = nullptr;
            int16_t length = 0;
            const CellPoint where{0, int16_t(column)};
            ASSERT_TRUE(get_cell_ptr(&cell, &length, where, l));
            EXPECT_EQ(cell_unicode_text(cell, where, l), text) << "default of script " << script;
        }
        uint8_t* cell = nullptr;
        int16_t length = 0;
        ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 2}, l));
        EXPECT_EQ(_cellType_(cell), kCellFormula);
        const std::vector<uint8_t> copy(cell, cell + _cellLength_(cell));
        EXPECT_EQ(cell_unicode_text(copy.data(), CellPoint{0, 2}, l), "=\"crème\"\ncrème") << "default of script " << script;
    }
}

TEST_F(SylkScriptsTest, AMacRomanFileIsReadByteForByteAsBefore) {
    // Not UTF-8: bytes are Mac Roman, a cell's font leaves them as they are.
    MemoryRef l = read("C;Y1;X1;K\"\x93\x8C\x8B\x9E\"\r\nC;X2;K\"\xA5\xAA\"\r\n");
    EXPECT_EQ(cell(l, 0, 0).text, "\x93\x8C\x8B\x9E");
    EXPECT_EQ(font_at(l, 0, 0), kDefaultFontNumber);
    EXPECT_EQ(cell(l, 0, 1).text, "\xA5\xAA");
    // Written back in UTF-8 from Mac Roman, accented letters as escapes.
    EXPECT_NE(cell_lines(l).find("C;X2;K\"•™\""), std::string::npos) << cell_lines(l);
    EXPECT_NE(cell_lines(l).find("C;Y1;X1;K\"\x1BNAi"), std::string::npos) << cell_lines(l);
}

}  // namespace
