// Workbooks whose texts and formulas are of every script, set in fonts of
// every script, read into layers whose default font is of every script: each
// cell reads back in the letters the workbook holds, and a formula no one
// script spells becomes its value, counted, never other letters.
#include "files/text_exchange.h"
#include "model/cell_letters.h"
#include "model/layer_use.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"
#include "tests/excel/excel_fixture.h"
#include "tests/excel/script_workbooks.h"

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;
using biff::font_named;
using biff::joined_texts_formula;
using biff::kScriptFonts;
using biff::text_token;
using biff::xf_of_font;

const char* const kTexts[] = {"na\u00EFve \u2014 5 \u20AC", "Gr\u00FC\u00DFe",           "caf\u00E9",
                              "\u6771\u4EAC",               "\u041C\u043E\u0441\u043A\u0432\u0430",
                              "\u0391\u03B8\u03AE\u03BD\u03B1", "\u0141\u00F3d\u017A", "\u00F6 \u6771\u4EAC",
                              "\u00A5 100",                 "plain"};
const int16_t kDefaultScripts[] = {pf::kScriptRoman, pf::kScriptJapanese, pf::kScriptCyrillic, pf::kScriptGreek,
                                   pf::kScriptCentralEuro};

class ExcelScriptsTest : public ExcelTest {
protected:
    // Imports into the layer whose default font is the font of `script`.
    int16_t import_under(int16_t script, const std::vector<Record>& globals, const std::vector<Sheet>& sheets) {
        LayerUse(layer)->font = pf::script_font(script);
        return import8(globals, sheets);
    }

    std::string letters_at(int16_t row, int16_t column) {
        const uint8_t* cell = cell_at(0, row, column);
        if (!cell) return "<none>";
        const std::vector<uint8_t> copy(cell, cell + _cellLength_(cell));
        return cell_unicode_text(copy.data(), CellPoint{row, column}, layer_at(0));
    }
};

// Every text in every font under every default font: the cell reads as the
// workbook's text, nothing is replaced, and a cell whose font spells its text
// keeps that font.
TEST_F(ExcelScriptsTest, TextsKeepTheirLettersInFontsOfEveryScript) {
    const std::vector<Record> globals = biff::script_globals({std::begin(kTexts), std::end(kTexts)});
    std::vector<Record> cells;
    for (uint16_t row = 0; row < std::size(kTexts); ++row)
        for (uint16_t xf = 0; xf < std::size(kScriptFonts); ++xf) cells.push_back(biff::label_sst(row, xf, row, xf));
    for (int16_t script : kDefaultScripts) {
        ASSERT_EQ(import_under(script, globals, {Sheet{"S", cells}}), 0);
        EXPECT_EQ(notes.replaced_characters, 0);
        EXPECT_FALSE(import_lost_anything(notes));
        for (int16_t row = 0; row < int16_t(std::size(kTexts)); ++row)
            for (int16_t column = 0; column < int16_t(std::size(kScriptFonts)); ++column)
                EXPECT_EQ(letters_at(row, column), kTexts[row]) << "default " << script << ", font column " << column;
        // "café" in the Central European font: that font spells it, and stays.
        EXPECT_EQ(format_font(cell_at(0, 2, 4)), pf::script_font(pf::kScriptCentralEuro));
        // "Москва" in the Cyrillic font keeps it.
        EXPECT_EQ(format_font(cell_at(0, 4, 2)), pf::script_font(pf::kScriptCyrillic));
    }
}

// A formula whose texts one script spells keeps its formula, set in that
// script's font, and its text result; one whose texts no script spells
// becomes a text cell of the value the workbook gives, counted.
TEST_F(ExcelScriptsTest, FormulasKeepTheirTextsOrBecomeTheirValues) {
    std::vector<Record> globals = {font_named("Arial"), font_named("Noto Sans CJK JP"), font_named("DejaVu Sans Cyrillic"),
                                   font_named("DejaVu Sans CE"), font_named("Arial"), xf_of_font(0), xf_of_font(1),
                                   xf_of_font(2), xf_of_font(3)};
    struct Case {
        std::vector<std::string> texts;
        std::string result;
        bool kept;
    } cases[] = {
        {{"\u041C\u043E\u0441\u043A\u0432\u0430"}, "\u041C\u043E\u0441\u043A\u0432\u0430", true},
        {{"\u6771\u4EAC"}, "\u6771\u4EAC", true},
        {{"Gr\u00FC\u00DFe", " caf\u00E9"}, "Gr\u00FC\u00DFe caf\u00E9", true},
        {{"\u0391\u03B8\u03AE\u03BD\u03B1"}, "\u0391\u03B8\u03AE\u03BD\u03B1", true},
        {{"\u6771\u4EAC", "\u00FC"}, "\u6771\u4EAC\u00FC", false},
        {{"\u0391\u03B8\u03AE\u03BD\u03B1\u6771\u4EAC"}, "\u0391\u03B8\u03AE\u03BD\u03B1\u6771\u4EAC", false},
    };
    std::vector<Record> cells;
    for (uint16_t row = 0; row < std::size(cases); ++row)
        for (uint16_t xf = 0; xf < 4; ++xf)
            for (Record& record : joined_texts_formula(row, xf, cases[row].texts, cases[row].result, xf))
                cells.push_back(record);
    // =LEN("東京"&"ü"), whose value the workbook gives as a number.
    std::vector<uint8_t> length_tokens = text_token("\u6771\u4EAC");
    for (uint8_t byte : text_token("\u00FC")) length_tokens.push_back(byte);
    for (uint8_t byte : {0x08, 0x21, 32, 0}) length_tokens.push_back(byte);
    cells.push_back(biff::formula(uint16_t(std::size(cases)), 0, length_tokens, 3));
    for (int16_t script : kDefaultScripts) {
        ASSERT_EQ(import_under(script, globals, {Sheet{"S", cells}}), 0);
        EXPECT_EQ(notes.unconverted_formulas, 2 * 4 + 1);
        EXPECT_EQ(letters_at(int16_t(std::size(cases)), 0), "3");
        EXPECT_EQ(number_at(0, int16_t(std::size(cases)), 0), 3);
        ASSERT_FALSE(notes.unconverted_formula_cells.empty());
        EXPECT_EQ(notes.unconverted_formula_cells[0], "A5: texts of several scripts");
        EXPECT_EQ(notes.replaced_characters, 0);
        for (int16_t row = 0; row < int16_t(std::size(cases)); ++row) {
            for (int16_t column = 0; column < 4; ++column) {
                const Case& c = cases[row];
                const uint8_t* cell = cell_at(0, row, column);
                ASSERT_NE(cell, nullptr);
                if (!c.kept) {
                    EXPECT_EQ(_cellType_(cell), kCellText);
                    EXPECT_EQ(letters_at(row, column), c.result);
                    continue;
                }
                ASSERT_EQ(_cellType_(cell), kCellFormula) << row << "," << column;
                std::string formula = "=";
                for (size_t i = 0; i < c.texts.size(); ++i) formula += (i ? "&\"" : "\"") + c.texts[i] + "\"";
                EXPECT_EQ(letters_at(row, column), formula + "\n" + c.result) << "default " << script;
            }
        }
    }
    recalculate();
    EXPECT_EQ(letters_at(1, 2), "=\"\u6771\u4EAC\"\n\u6771\u4EAC");
}

}  // namespace

namespace {

// Amounts in euros and yen in the workbook's own font, read under a default
// font of every script, show their currency signs.
TEST_F(ExcelScriptsTest, AmountsShowTheirCurrencyUnderEveryDefaultFont) {
    std::vector<Record> globals = {font_named("Arial"),
                                   {0x041E, Body().u16(164).wide8(u"[$\u20ac-407]#,##0.00").v},
                                   {0x041E, Body().u16(165).wide8(u"\u00a5#,##0").v},
                                   {0x00E0, Body().u16(0).u16(164).u16(1).u8(0).u8(0).u8(0).u8(0).u32(0).u32(0).u16(0).v},
                                   {0x00E0, Body().u16(0).u16(165).u16(1).u8(0).u8(0).u8(0).u8(0).u32(0).u32(0).u16(0).v}};
    for (int16_t script : kDefaultScripts) {
        ASSERT_EQ(import_under(script, globals, {Sheet{"S", {biff::number(0, 0, 2.5, 0), biff::number(0, 1, 100, 1)}}}),
                  0);
        EXPECT_EQ(layer_text(layer_at(0), FieldSource::displayed, '\t'), "\u20ac2.50\t\u00a5100\r\n")
            << "default " << script;
    }
}

}  // namespace
