// Every font and format command over cells of every script keeps their
// letters: each command of the Font, Size and Style menus and the colour,
// Clear Formats and Paste Formats roads, over a block and over the whole
// layer, read back run by run in the scripts of their fonts.
#include "../shell/format_fixture.h"
#include "layout_default_font.h"
#include "editing/clipboard.h"
#include "editing/undo.h"
#include "files/entry_script.h"
#include "files/layout_settings.h"
#include "model/cell_letters.h"
#include "model/cell_store.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/fonts/fonts.h"
#include "platform/menus/menus.h"
#include "platform/text/text.h"
#include "shell/shell_commands.h"
#include "styledtext/styled_text.h"
#include "window/cell_entry.h"
#include "window/entry_line.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

// Texts of every script, each alone, in runs of several, and none.
const std::vector<std::string> kTexts = {
    "", "Apple", "café crème", "東京", "臺北", "서울", "Москва", "Αθήνα", "Příliš žluťoučký",
    "Tokyo 東京 Москва", "ö 東京 pie, Москва pie", "Αθήνα 7 Москва",
};
constexpr int16_t kFormulaRow = 20;  // formulas reading the texts, a number
constexpr int16_t kNumberRow = 21;

struct FormatLetters : FormatMenuTest {
    int16_t columns = 2;  // the columns letters() reads
    void enter_bytes(CellPoint where, const std::string& bytes, const std::string& runs) {
        select(CellRange{where, where});
        MemoryRef block = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
        MemoryRef styles = runs.empty() ? nullptr : Bytes2Memory(&mem_globals, runs.data(), 1, int32_t(runs.size()));
        uint16_t at = 0;
        ASSERT_EQ(Enter_Data(layer, block, styles, &at, 0), kEntryStored) << bytes;
        DisposeMemory(block);
        DisposeNonNilMemory(styles);
    }
    // A text from outside stored as the event socket stores it.
    void enter_utf8(CellPoint where, const std::string& utf8) {
        RunLook look;
        look.font = pf::script_font(pf::kScriptRoman);
        look.size = Get_Default_Size(layer);
        const ScriptedText spelled = spell_text_in_scripts(utf8, look);
        ASSERT_EQ(spelled.unspelled, 0) << utf8;
        enter_bytes(where, spelled.text, spelled.script == pf::kScriptRoman ? std::string() : run_table_of(spelled, look));
    }
    // The texts in column A, a formula reading each in column B, a number.
    void fill_sheet() {
        for (size_t i = 0; i < kTexts.size(); ++i)
            if (!kTexts[i].empty()) enter_utf8(CellPoint{int16_t(i), 0}, kTexts[i]);
        for (size_t i = 0; i < kTexts.size(); ++i)
            enter_bytes(CellPoint{int16_t(i), 1}, "=A" + std::to_string(i + 1), "");
        enter_bytes(CellPoint{kFormulaRow, 0}, "=\"x\"&A7", "");
        enter_bytes(CellPoint{kNumberRow, 0}, "42", "");
    }
    // What a cell reads as outside: its text or its formula's text result.
    std::string value_utf8(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer)) return "";
        const uint8_t* field = _cellType_(cell) == kCellFormula ? _resultPtr_(cell) : _formulaPtr_(cell);
        const int32_t size = _cellType_(cell) == kCellFormula ? _resultLength_(cell) : _formulaLength_(cell);
        if (_cellType_(cell) == kCellFormula && _resultType_(cell) <= 0) return "(number)";
        return cell_field_utf8(cell, std::string_view(reinterpret_cast<const char*>(field), size_t(size)),
                               format_font_in(cell, layer));
    }
    std::vector<std::string> letters() {
        std::vector<std::string> all;
        for (int16_t row = 0; row <= kNumberRow; ++row)
            for (int16_t column = 0; column < columns; ++column) {
                all.push_back(value_utf8(row, column));
                uint8_t* cell = nullptr;
                int16_t length = 0;
                std::vector<uint8_t> copy;
                if (get_cell_ptr(&cell, &length, CellPoint{row, column}, layer)) copy.assign(cell, cell + length);
                all.push_back(copy.empty() ? "" : cell_unicode_text(copy.data(), CellPoint{row, column}, layer));
            }
        return all;
    }
    // Runs a command over a selection; every cell keeps its letters, and
    // undo brings back the cells as they were.
    template <typename Command>
    void expect_letters_kept(const std::string& name, CellRange range, Command&& command) {
        const std::vector<std::string> before = letters();
        select(range);
        command();
        const std::vector<std::string> after = letters();
        for (size_t i = 0; i < before.size() && i < after.size(); ++i)
            EXPECT_EQ(after[i], before[i]) << name << ", value " << i;
        EXPECT_EQ(after.size(), before.size()) << name;
        DoUndo(GetWorkSheet(layer));
        EXPECT_EQ(letters(), before) << name << " undone";
    }
};

const CellRange kBlock{{0, 0}, {kNumberRow, 1}};
const CellRange kEverything{{0, 0}, {kLastCell, kLastCell}};

TEST_F(FormatLetters, EveryFontOfTheFontMenuKeepsTheLettersOfEveryScript) {
    fill_sheet();
    ASSERT_EQ(value_utf8(9, 0), "Tokyo 東京 Москва");
    ASSERT_EQ(value_utf8(6, 1), "Москва");
    ASSERT_EQ(value_utf8(kFormulaRow, 0), "xМосква");
    pf::MenuRef menu = pf::get_menu_handle(kFontMenu);
    ASSERT_NE(menu, nullptr);
    for (int16_t item = 1; item <= pf::count_menu_items(menu); ++item) {
        const std::string name = pf::get_menu_item_text(menu, item);
        for (const CellRange& range : {kBlock, kEverything})
            expect_letters_kept(name, range, [&] { DoFontMenu(nullptr, item); });
    }
}

TEST_F(FormatLetters, SizeStyleColourClearAndPasteFormatsKeepTheLetters) {
    fill_sheet();
    for (const CellRange& range : {kBlock, kEverything}) {
        expect_letters_kept("size 18", range, [&] { DoSizeMenu(nullptr, 6); });
        expect_letters_kept("bold", range, [&] { DoStyleMenu(nullptr, 3); });
        expect_letters_kept("colour", range,
                            [&] { Format_Sheet(kFormatUndoKind, kFmtTextColour, 3, false, true, true, layer); });
    }
    expect_letters_kept("clear formats", kBlock, [&] { clear_range(layer, kBlock, kClearFormats); });
    for (int16_t source = 1; source < int16_t(kTexts.size()); ++source) {
        const CellRange one{{source, 0}, {source, 0}};
        ASSERT_EQ(copy_range(layer, one, false), kEditDone);
        PasteOptions formats;
        formats.choice = kPasteFormats;
        expect_letters_kept("paste formats of " + kTexts[size_t(source)], kBlock,
                            [&] { paste_special_range(layer, kBlock, formats); });
    }
}

// Each font of the Font menu chosen over the whole text while a cell is
// edited: the text goes back into the cell with every letter, and undo
// brings back the cell as it was.
TEST_F(FormatLetters, EveryFontChosenWhileEditingKeepsTheLettersOfTheCell) {
    fill_sheet();
    pf::MenuRef menu = pf::get_menu_handle(kFontMenu);
    ASSERT_NE(menu, nullptr);
    int undone = 0;
    for (int16_t item = 1; item <= pf::count_menu_items(menu); ++item)
        for (int16_t row = 1; row < int16_t(kTexts.size()); ++row) {
            const CellRange one{{row, 0}, {row, 0}};
            const std::string name = pf::get_menu_item_text(menu, item) + " over " + kTexts[size_t(row)];
            const std::vector<std::string> before = letters();
            const int16_t changes = get_change_ctr(GetWorkSheet(layer));
            select(one);
            DisplayText(front_document_record(), 1);
            ASSERT_NE(ActivateEditor(0, 0, layer), 0u) << name;
            auto* editor = static_cast<WEReference>(entry_line_editor());
            WESetSelection(0, WEGetTextLength(editor), editor);
            DoFontMenu(nullptr, item);
            ASSERT_NE(Cell_Entry(layer, 0), 0u) << name;
            EXPECT_EQ(letters(), before) << name;
            if (get_change_ctr(GetWorkSheet(layer)) == changes) continue;  // nothing stored
            ++undone;
            DoUndo(GetWorkSheet(layer));
            EXPECT_EQ(letters(), before) << name << " undone";
        }
    EXPECT_GT(undone, 0);
}

// Each script's font made the layer's default in turn, as the Layout dialog
// makes it: every cell keeps its letters, among them the texts and formulas
// in the default font entered under each default before.
TEST_F(FormatLetters, EveryDefaultFontOfTheLayoutKeepsTheLetters) {
    fill_sheet();
    std::vector<int16_t> fonts;
    for (int16_t script : pf::enabled_scripts()) fonts.push_back(pf::script_font(script));
    fonts.push_back(pf::kTimesFont);
    fonts.push_back(pf::script_font(pf::kScriptRoman));
    for (int16_t font : fonts) {
        const int16_t column = columns++;
        const int16_t script = pf::font_to_script(Get_Default_Font(layer));
        std::string bytes, quoted;
        for (size_t i = 0; i < kTexts.size(); ++i)
            if (pf::utf8_to_script(kTexts[i], script, bytes) && !bytes.empty()) {
                enter_bytes(CellPoint{int16_t(i), column}, bytes, "");
                if (quoted.empty()) quoted = bytes;
            }
        enter_bytes(CellPoint{kFormulaRow, column}, "=\"" + quoted + "\"&A1", "");
        const std::vector<std::string> before = letters();
        choose_default_font(layer, font);
        ASSERT_EQ(Get_Default_Font(layer), font);
        const std::vector<std::string> after = letters();
        for (size_t i = 0; i < before.size() && i < after.size(); ++i)
            EXPECT_EQ(after[i], before[i]) << pf::font_name(font) << ", value " << i;
    }
}

// A text in the default font goes to a new default that spells it, in the
// new default's bytes; a default that cannot spell it leaves it in the old.
TEST_F(FormatLetters, ATextInTheDefaultFontFollowsADefaultThatSpellsIt) {
    const auto font_at = [&](int16_t row) { return format_font(at(row, 0).bytes); };
    const auto bytes_at = [&](int16_t row) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, 0}, layer)) return std::string();
        return std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
    };
    std::string cyrillic, japanese;
    ASSERT_TRUE(pf::utf8_to_script("Москва", pf::kScriptCyrillic, cyrillic));
    ASSERT_TRUE(pf::utf8_to_script("Москва", pf::kScriptJapanese, japanese));
    choose_default_font(layer, pf::script_font(pf::kScriptCyrillic));
    enter_bytes(CellPoint{0, 0}, cyrillic, "");
    enter_bytes(CellPoint{1, 0}, "Apple", "");
    choose_default_font(layer, pf::script_font(pf::kScriptJapanese));
    EXPECT_EQ(font_at(0), kDefaultFontNumber);
    EXPECT_EQ(bytes_at(0), japanese);
    EXPECT_EQ(font_at(1), kDefaultFontNumber);
    choose_default_font(layer, pf::script_font(pf::kScriptGreek));
    EXPECT_EQ(font_at(0), pf::script_font(pf::kScriptJapanese));
    EXPECT_EQ(bytes_at(0), japanese);
    EXPECT_EQ(value_utf8(0, 0), "Москва");
    EXPECT_EQ(font_at(1), kDefaultFontNumber);
    EXPECT_EQ(value_utf8(1, 0), "Apple");
}

// The six cells of the report: choosing a Roman font keeps each script's
// letters in a font of that script; ASCII words take the chosen font.
TEST_F(FormatLetters, ARomanFontOnMixedRunsKeepsEachScriptsFont) {
    fill_sheet();
    const int16_t roman = pf::script_font(pf::kScriptRoman);
    select(kEverything);
    ASSERT_EQ(Format_Sheet(kFontUndoKind, kFmtFont, pf::script_font(pf::kScriptCyrillic), false, true, true, layer), 1);
    ASSERT_EQ(Format_Sheet(kFontUndoKind, kFmtFont, roman, false, true, true, layer), 1);
    EXPECT_EQ(value_utf8(9, 0), "Tokyo 東京 Москва");
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{9, 0}, layer));
    const std::string_view text(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
    const std::vector<TextRun> runs = text_runs(
        std::string_view(reinterpret_cast<const char*>(_stylePtr_(cell)), size_t(_styleLength_(cell))), text.size());
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(pf::font_to_script(run_font(runs[0], roman)), pf::kScriptRoman);
    EXPECT_EQ(pf::font_to_script(run_font(runs[1], roman)), pf::kScriptJapanese);
    EXPECT_EQ(pf::font_to_script(run_font(runs[2], roman)), pf::kScriptCyrillic);
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{6, 0}, layer));
    EXPECT_EQ(pf::font_to_script(format_font_in(cell, layer)), pf::kScriptCyrillic);  // a whole Cyrillic text
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{1, 0}, layer));
    EXPECT_EQ(format_font_in(cell, layer), roman);
}

}  // namespace
