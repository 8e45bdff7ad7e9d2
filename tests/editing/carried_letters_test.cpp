// Cells in the default font spell their letters in the script of their
// layer's default, so every road that brings cells back or over from another
// default keeps their letters: undo and redo after the Layout changed the
// default, and Paste, Paste Special, a drop and a copied layer between
// layers and documents whose defaults are of different scripts. Each case
// runs over texts of every script and defaults of every script.
#include <algorithm>

#include "../shell/format_fixture.h"
#include "layout_default_font.h"
#include "editing/clipboard.h"
#include "editing/undo.h"
#include "files/entry_script.h"
#include "files/layout_settings.h"
#include "model/calc_globals.h"
#include "model/cell_letters.h"
#include "model/cell_store.h"
#include "model/insert_delete.h"
#include "model/layer.h"
#include "model/undo_record.h"
#include "model/workbook.h"
#include "platform/text/text.h"
#include "window/cell_entry.h"
#include "window/window_commands.h"

namespace {

// Texts of every script: Roman, accented, Japanese, Chinese, Korean,
// Cyrillic, Greek, Central European, and mixed.
const std::vector<std::string> kTexts = {
    "Apple",
    "café crème",
    "東京",
    "臺北",
    "北京",
    "서울",
    "Москва",
    "Αθήνα",
    "Příliš žluťoučký",
    "Tokyo 東京 Москва",
    "ö 東京 pie, Москва pie",
};
constexpr int16_t kRows = 16;
const CellRange kEverything{{0, 0}, {kLastCell, kLastCell}};

// A font of each script.
std::vector<int16_t> default_fonts() {
    std::vector<int16_t> fonts;
    for (int16_t script : pf::enabled_scripts()) fonts.push_back(pf::script_font(script));
    return fonts;
}

std::string font_label(int16_t font) { return pf::font_name(font) + " (" + std::to_string(font) + ")"; }

struct CarriedLetters : FormatMenuTest {
    void enter_bytes(MemoryRef into, CellPoint where, const std::string& bytes, const std::string& runs) {
        select_cells(into, CellRange{where, where});
        MemoryRef block = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
        MemoryRef styles = runs.empty() ? nullptr : Bytes2Memory(&mem_globals, runs.data(), 1, int32_t(runs.size()));
        uint16_t at = 0;
        ASSERT_EQ(Enter_Data(into, block, styles, &at, 0), kEntryStored) << bytes;
        DisposeMemory(block);
        DisposeNonNilMemory(styles);
    }
    // Column A: each text its default's script spells, in the default font;
    // B: each text in runs of the scripts that spell it; C: formulas whose
    // text is in the default font; a number.
    void fill(MemoryRef into) {
        const int16_t script = pf::font_to_script(Get_Default_Font(into));
        std::string bytes, quoted;
        for (size_t i = 0; i < kTexts.size(); ++i) {
            if (pf::utf8_to_script(kTexts[i], script, bytes)) {
                enter_bytes(into, CellPoint{int16_t(i), 0}, bytes, "");
                const bool beyond_ascii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
                if (quoted.empty() || beyond_ascii) quoted = bytes;
            }
            RunLook look;
            look.font = pf::script_font(pf::kScriptRoman);
            look.size = Get_Default_Size(into);
            const ScriptedText spelled = spell_text_in_scripts(kTexts[i], look);
            enter_bytes(into, CellPoint{int16_t(i), 1}, spelled.text, run_table_of(spelled, look));
        }
        enter_bytes(into, CellPoint{0, 2}, "=\"" + quoted + "\"&B2", "");
        enter_bytes(into, CellPoint{1, 2}, "=\"" + quoted + "\"", "");
        enter_bytes(into, CellPoint{2, 2}, "42", "");
    }
    // The letters of every stored cell of a layer's first rows and columns, by place.
    std::vector<std::string> letters(MemoryRef of, CellPoint from = {0, 0}) {
        std::vector<std::string> all;
        for (int16_t row = 0; row < kRows; ++row)
            for (int16_t column = 0; column < 3; ++column) {
                const CellPoint where{int16_t(from.v + row), int16_t(from.h + column)};
                uint8_t* cell = nullptr;
                int16_t length = 0;
                std::vector<uint8_t> copy;
                if (get_cell_ptr(&cell, &length, where, of)) copy.assign(cell, cell + length);
                all.push_back(copy.empty() ? "" : cell_unicode_text(copy.data(), where, of));
            }
        return all;
    }
    void make_default(MemoryRef of, int16_t font) {
        choose_default_font(of, font);
        ASSERT_EQ(Get_Default_Font(of), font);
    }
    // An empty layer of `font`, its undo list empty.
    void start_over(MemoryRef of, int16_t font) {
        clear_range(of, kEverything, kClearAll);
        ClobberMultUndo(workbook_undo_list(GetWorkSheet(of)));
        make_default(of, font);
    }
    MemoryRef new_document() {
        DoCommand(code_value("newd"));
        run_until_idle();
        return doc_window_layer(front_document_record());
    }
};

void expect_same(const std::vector<std::string>& now, const std::vector<std::string>& before, const std::string& road) {
    ASSERT_EQ(now.size(), before.size()) << road;
    for (size_t i = 0; i < now.size(); ++i) EXPECT_EQ(now[i], before[i]) << road << ", cell " << i;
}

// Cells edited under one default, the default changed by the Layout, then
// the edit undone: the cells come back with the letters they had. So do
// cells a redo brings back after the default changed again, and the whole
// store that undoing an insertion of rows brings back.
TEST_F(CarriedLetters, UndoAndRedoAfterTheDefaultChangedBringBackTheSameLetters) {
    for (int16_t from : default_fonts())
        for (int16_t to : default_fonts()) {
            const std::string road = font_label(from) + " to " + font_label(to);
            start_over(layer, from);
            fill(layer);
            const std::vector<std::string> filled = letters(layer);
            ASSERT_EQ(clear_range(layer, CellRange{{0, 0}, {kRows, 2}}, kClearAll), kEditDone);
            make_default(layer, to);
            DoUndo(GetWorkSheet(layer));
            expect_same(letters(layer), filled, road + ", clear undone");

            // A copy pasted three rows down, undone, the default back to `from`, redone.
            start_over(layer, from);
            fill(layer);
            ASSERT_EQ(copy_range(layer, CellRange{{0, 0}, {kRows, 2}}, false), kEditDone);
            ASSERT_EQ(paste_range(layer, CellRange{{0, 4}, {0, 4}}), kEditDone);
            const std::vector<std::string> pasted = letters(layer, CellPoint{0, 4});
            make_default(layer, to);
            DoUndo(GetWorkSheet(layer));
            make_default(layer, from);
            DoRedo(GetWorkSheet(layer));
            expect_same(letters(layer, CellPoint{0, 4}), pasted, road + ", paste redone");

            start_over(layer, from);
            fill(layer);
            const CellRange first_row{{0, 0}, {0, kLastCell}};
            select(first_row);
            ASSERT_EQ(insert_rowcol(layer, 1), 0);
            make_default(layer, to);
            DoUndo(GetWorkSheet(layer));
            expect_same(letters(layer), filled, road + ", insertion undone");
        }
}

// Cells copied from a layer of one default and pasted into a layer of
// another, of the same document and of another: the pasted cells read as
// the copied ones, by Paste and by Paste Special.
TEST_F(CarriedLetters, PastedCellsReadAsTheCopiedOnesUnderAnotherDefault) {
    MemoryRef other_document = new_document();
    MemoryRef same_document = nullptr;
    ASSERT_EQ(New_SpreadSheet(&quorvin_rsrv, GetWorkSheet(layer), &same_document, kLayerGridLines, nullptr), 0);
    ASSERT_NE(same_document, other_document);
    for (MemoryRef target : {other_document, same_document})
        for (int16_t from : default_fonts())
            for (int16_t to : default_fonts()) {
                const std::string road = font_label(from) + " to " + font_label(to);
                start_over(layer, from);
                fill(layer);
                const std::vector<std::string> copied = letters(layer);
                ASSERT_EQ(copy_range(layer, CellRange{{0, 0}, {kRows, 2}}, false), kEditDone);
                start_over(target, to);
                ASSERT_EQ(paste_range(target, CellRange{{0, 0}, {0, 0}}), kEditDone);
                expect_same(letters(target), copied, road + ", paste");
                for (int16_t choice : {kPasteAll, kPasteFormulas}) {
                    start_over(target, to);
                    PasteOptions options;
                    options.choice = choice;
                    ASSERT_EQ(paste_special_range(target, CellRange{{0, 0}, {0, 0}}, options), kEditDone);
                    expect_same(letters(target), copied, road + ", paste special " + std::to_string(choice));
                }
            }
}

// A word the target's default spells follows that default; one it does not
// keeps a font of its own script.
TEST_F(CarriedLetters, APastedWordFollowsTheTargetDefaultWhereItSpellsIt) {
    MemoryRef target = new_document();
    start_over(layer, pf::script_font(pf::kScriptCyrillic));
    std::string cyrillic;
    ASSERT_TRUE(pf::utf8_to_script("Москва", pf::kScriptCyrillic, cyrillic));
    enter_bytes(layer, CellPoint{0, 0}, cyrillic, "");
    enter_bytes(layer, CellPoint{1, 0}, "Apple", "");
    ASSERT_EQ(copy_range(layer, CellRange{{0, 0}, {1, 0}}, false), kEditDone);
    start_over(target, pf::script_font(pf::kScriptGreek));
    ASSERT_EQ(paste_range(target, CellRange{{0, 0}, {0, 0}}), kEditDone);
    CellFormat format;
    get_cell_format(format.bytes, CellPoint{0, 0}, target);
    EXPECT_EQ(format_font(format.bytes), pf::script_font(pf::kScriptCyrillic));
    get_cell_format(format.bytes, CellPoint{1, 0}, target);
    EXPECT_EQ(format_font(format.bytes), kDefaultFontNumber);
    EXPECT_EQ(letters(target)[0], "Москва");
    EXPECT_EQ(letters(target)[3], "Apple");
}

// The copied cells go to other programs in UTF-8 read in their own layer's
// default font.
TEST_F(CarriedLetters, CopiedCellsGoToOtherProgramsInTheirDefaultsScript) {
    start_over(layer, pf::script_font(pf::kScriptCyrillic));
    std::string cyrillic;
    ASSERT_TRUE(pf::utf8_to_script("Москва", pf::kScriptCyrillic, cyrillic));
    enter_bytes(layer, CellPoint{0, 0}, cyrillic, "");
    const CellRange one{{0, 0}, {0, 0}};
    MemoryRef cells = nullptr;
    ASSERT_TRUE(CopyCellInfo(one.topLeft, one.botRight, &cells, GetSpreadSheetCells(layer)));
    EXPECT_EQ(cells_as_unicode_text(cells, one, 0, 0, false, Get_Default_Font(layer)), "Москва\r");
    DisposeMemory(cells);
}

// A copied layer keeps the default font of its original, and so its letters.
TEST_F(CarriedLetters, ACopiedLayerKeepsTheLettersOfItsDefaultFontCells) {
    for (int16_t font : default_fonts()) {
        start_over(layer, font);
        fill(layer);
        const std::vector<std::string> filled = letters(layer);
        MemoryRef copy = CloneLayer(true, layer);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(Get_Default_Font(copy), font);
        expect_same(letters(copy), filled, "copy of " + font_label(font));
    }
}

}  // namespace
