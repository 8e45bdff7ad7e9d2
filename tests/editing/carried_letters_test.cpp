// Cells in the default font spell their letters in the script of their
// layer's default, so every road that brings cells back from another default
// keeps their letters: undo and redo after the Layout changed the default.
// Each case runs over texts of every script and defaults of every script.
#include <algorithm>

#include "../shell/format_fixture.h"
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
        LayoutChoices choices;
        take_layout_choices(of, &choices);
        choices.font = font;
        choices.changed[kDisplayGroup] = true;
        apply_layout_choices(choices, of, nullptr);
        drop_layout_choices(&choices);
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

}  // namespace
