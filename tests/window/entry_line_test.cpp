// The entry line on a styled-text instance: typing starts an entry, the
// committing keys store it through cell data entry, Escape abandons it,
// refused formulas keep the editor open, point mode writes references.
#include "entry_fixture.h"
#include "golden_image.h"

#include <cairo.h>

#include <functional>

#include "model/cell_store.h"
#include "platform/memory/memory.h"
#include "ui/alerts.h"
#include "ui/task_manager.h"
#include "platform/draw/draw.h"
#include "platform/draw/paint.h"
#include "platform/events/events.h"
#include "platform/text/text.h"
#include "ui/app_prefs.h"
#include "window/entry_line.h"
#include "window/keyboard_navigation.h"
#include "window/point_mode.h"

namespace {

class EntryLineTest : public EntryTest {
protected:
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 40);
    pf::Port port;
    MemoryRef record = nullptr;

    void SetUp() override {
        EntryTest::SetUp();
        pf::open_port(port, surface, 400, 40);
        pf::set_port(&port);
        ASSERT_TRUE(InitEntryLine(&port, pf::Rect{2, 2, 38, 398}));
        record = make_record(layer);
        alert_requests().clear();
    }

    void TearDown() override {
        DisposeEntryLine();
        DisposeMemory(record);
        pf::close_port(port);
        cairo_surface_destroy(surface);
        app_prefs.options2 = 0;
        EntryTest::TearDown();
    }

    // A document window record showing `shown` (no window).
    MemoryRef make_record(MemoryRef shown) {
        struct {
            WindowRef window;
            MemoryRef layer;
            MemoryRef workbook;
        } fields{nullptr, shown, GetWorkSheet(shown)};
        return Bytes2Memory(&mem_globals, &fields, sizeof fields, 1);
    }

    void keys(const std::string& typed, uint16_t modifiers = 0) {
        for (unsigned char c : typed) EditorKey(c, record, int16_t(modifiers));
    }

    std::string line() {
        unsigned char text[1024];
        const int32_t length = entry_text(text, sizeof text);
        return std::string(reinterpret_cast<char*>(text), size_t(length));
    }

    std::pair<int32_t, int32_t> line_selection() {
        int32_t start = 0, end = 0;
        WEGetSelection(&start, &end, WEList.instance);
        return {start, end};
    }
};

TEST_F(EntryLineTest, TypingReplacesTheShownTextAndReturnStoresIt) {
    ASSERT_EQ(enter_at(0, 0, "old"), kEntryStored);
    DisplayText(record, 1);
    EXPECT_EQ(line(), "old");
    keys("12");
    EXPECT_EQ(line(), "12") << "the first key replaces the whole old text";
    EXPECT_EQ(Editor_Wind, record);
    keys("\r");
    EXPECT_EQ(Editor_Wind, nullptr);
    EXPECT_EQ(stored(0, 0).type, kCellConstant);
    EXPECT_DOUBLE_EQ(stored(0, 0).number(), 12);
    EXPECT_EQ(selection(), cells(1, 0, 1, 0));
    EXPECT_EQ(line(), "") << "the entry line shows the new active cell";
}

TEST_F(EntryLineTest, TheEntryLineShowsTheTextBeingTyped) {
    pf::set_text_antialiasing(false);
    pf::erase_rect(port.port_rect);
    select(0, 0);
    keys("=SUM(A1:A3)");
    EditorKey(kKeyLeft, record, pf::kOptionKey);
    keys("*2");
    pf::set_text_antialiasing(true);
    EXPECT_EQ(line(), "=SUM(A1:A3*2)");
    EXPECT_TRUE(matches_golden_image(surface, "entry_line_typing"));
}

TEST_F(EntryLineTest, TypedTextKeepsTheCellsDefaultFont) {
    Set_WorkSheet_Font(workbook, 4);
    Set_WorkSheet_TxSize(workbook, 9);
    select(0, 0);
    keys("plain\r");
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer));
    EXPECT_EQ(format_font(cell), kDefaultFontNumber);
    EXPECT_EQ(cell[kFmtSize], kLayerDefaultSize);
    EXPECT_EQ(_styleLength_(cell), 0);
}

TEST_F(EntryLineTest, TheCommittingKeysMoveAsTheyDo) {
    select(0, 0);
    keys("1\t");
    EXPECT_EQ(selection(), cells(0, 1, 0, 1));
    keys("2");
    EditorKey(kKeyDownArrow, record, 0);
    EXPECT_EQ(selection(), cells(1, 1, 1, 1));
    EXPECT_DOUBLE_EQ(stored(0, 1).number(), 2);
    EditorKey(kKeyLeft, record, 0);
    EXPECT_EQ(selection(), cells(1, 0, 1, 0)) << "inactive, an arrow moves the selection";
}

TEST_F(EntryLineTest, EscapeAbandonsTheEntry) {
    ASSERT_EQ(enter_at(0, 0, "5"), kEntryStored);
    DisplayText(record, 1);
    const auto before = workbook_state();
    keys("99");
    EditorKey(kKeyEscape, record, 0);
    EXPECT_EQ(Editor_Wind, nullptr);
    EXPECT_EQ(workbook_state(), before);
    EXPECT_EQ(line(), "5");
}

TEST_F(EntryLineTest, BackspaceClearsTheContentsAtOnceAndKeepsTheFormat) {
    ASSERT_EQ(enter_at(0, 0, "12%"), kEntryStored);
    const uint8_t percent = stored(0, 0).code;
    DisplayText(record, 1);
    const auto before = workbook_state();
    EditorKey(kKeyBackspace, record, 0);
    EXPECT_EQ(Editor_Wind, nullptr);
    EXPECT_EQ(stored(0, 0).type, 0) << "the value goes without a question";
    EXPECT_EQ(stored(0, 0).code, percent) << "the format stays";
    EXPECT_EQ(line(), "");
    DoUndo(workbook);
    EXPECT_EQ(workbook_state(), before);
}

TEST_F(EntryLineTest, ACommitWithNothingTypedStoresNothing) {
    select(0, 0);
    ASSERT_TRUE(ActivateEditor(0, -1, layer) || activate_editor(0, -1, layer, record));
    const int undos = undo_count();
    keys("\r");
    EXPECT_EQ(Editor_Wind, nullptr);
    EXPECT_EQ(undo_count(), undos);
    EXPECT_FALSE(has_cell(0, 0));
}

TEST_F(EntryLineTest, ARefusedFormulaKeepsTheEditorWithTheFaultSelected) {
    select(0, 0);
    keys("=SUM(1,2\r");
    EXPECT_EQ(Editor_Wind, record) << "the editor stays open";
    EXPECT_FALSE(has_cell(0, 0));
    EXPECT_EQ(line(), "=SUM(1,2");
    ASSERT_FALSE(alert_requests().empty());
    const auto [start, end] = line_selection();
    EXPECT_LE(start, 8);
    EXPECT_EQ(end, 8);
    keys(")\r");
    EXPECT_EQ(Editor_Wind, nullptr) << "corrected, it is stored";
    EXPECT_DOUBLE_EQ(result(0, 0), 3);
}

TEST_F(EntryLineTest, LongEntryRefusalsAreShownAndKeepTheText) {
    select(0, 0);
    std::string formula = "=1";
    while (formula.size() < 260) formula += "+1";
    keys(formula + "\r");
    EXPECT_EQ(Editor_Wind, record) << "never closed silently";
    EXPECT_EQ(line(), formula);
    EXPECT_FALSE(alert_requests().empty());
}

TEST_F(EntryLineTest, LockedCellsAndProtectedWorkbooksRefuseEditing) {
    SpreadSheet* sheet = use_layer(layer);
    sheet->default_column_format[kFmtFlagsA] |= kFlagLocked;
    sheet->flags |= kLayerFormatStale;
    release_layer(layer);
    select(0, 0);
    keys("7");
    EXPECT_EQ(Editor_Wind, nullptr);
    EXPECT_EQ(line(), "");
    EXPECT_FALSE(alert_requests().empty());
}

TEST_F(EntryLineTest, ArrowsInAFormulaPointAtCells) {
    select(2, 2);
    keys("=");
    EditorKey(kKeyUpArrow, record, 0);
    EXPECT_EQ(line(), "=C2");
    EditorKey(kKeyLeft, record, 0);
    EXPECT_EQ(line(), "=B2") << "each arrow replaces the reference";
    EditorKey(kKeyDownArrow, record, pf::kShiftKey);
    EXPECT_EQ(line(), "=B2:B3");
    keys("+");
    EditorKey(kKeyRight, record, 0);
    EXPECT_EQ(line(), "=B2:B3+D3") << "a new reference after another key";
    EditorKey(kKeyLeft, record, pf::kOptionKey);
    EXPECT_EQ(line(), "=B2:B3+D3") << "Option moves the caret";
    EXPECT_EQ(Editor_Wind, record);
}

TEST_F(EntryLineTest, ArrowsMoveTheCaretWhenThePreferenceSwapsThem) {
    app_prefs.options2 |= kPrefSwapArrows;
    select(0, 0);
    keys("ab");
    EditorKey(kKeyLeft, record, 0);
    keys("x");
    EXPECT_EQ(line(), "axb");
    EditorKey(kKeyDownArrow, record, pf::kOptionKey);
    EXPECT_EQ(Editor_Wind, nullptr) << "Option-arrow commits";
}

// The keyboard's script after an Option-arrow puts the caret after "b" of
// "ab" typed in Roman and a kanji typed in Japanese.
int16_t keyboard_script_after_arrow_back(const std::function<void(const std::string&, int16_t)>& type) {
    type("ab", pf::kScriptRoman);
    type("\x93\x8C", pf::kScriptJapanese);  // 東 in Shift_JIS
    type(std::string(1, char(kKeyLeft)), pf::kOptionKey);
    return pf::keyboard_script();
}

// A caret moved into text of another script brings the keyboard to that
// script, so that the letters typed next join it; unless the preferences keep
// the keyboard's script, when they take the script last typed.
TEST_F(EntryLineTest, ACaretMovedIntoRomanTextTypesRomanUnlessThePreferenceKeepsTheScript) {
    if (pf::script_count() < 2) GTEST_SKIP() << "one script installed";
    const auto type = [&](const std::string& bytes, int16_t script_or_modifiers) {
        if (bytes[0] == char(kKeyLeft)) return keys(bytes, uint16_t(script_or_modifiers));
        pf::set_keyboard_script(script_or_modifiers);
        keys(bytes);
    };
    select(0, 0);
    EXPECT_EQ(keyboard_script_after_arrow_back(type), pf::kScriptRoman);
    keys("x");
    WERunInfo run;
    WEGetRunInfo(2, run, WEList.instance);
    EXPECT_EQ(pf::font_to_script(run.runAttrs.runStyle.tsFont), pf::kScriptRoman) << "x joins the Roman text";
    EditorKey(kKeyEscape, record, 0);

    app_prefs.options2 |= kPrefKeepKeyboardScript;
    select(1, 0);
    EXPECT_EQ(keyboard_script_after_arrow_back(type), pf::kScriptJapanese);
    keys("x");
    WEGetRunInfo(2, run, WEList.instance);
    EXPECT_EQ(pf::font_to_script(run.runAttrs.runStyle.tsFont), pf::kScriptJapanese) << "x keeps the script last typed";
    pf::set_keyboard_script(pf::kScriptRoman);
}

TEST_F(EntryLineTest, ReferencesJoinTheFormulaByItsLastCharacter) {
    select(5, 5);
    keys("=A1");
    add_range_text(0, cells(1, 1, 1, 1), pf::kShiftKey, layer);
    EXPECT_EQ(line(), "=A1:B2") << "shift after a digit makes a range";
    add_range_text(0, cells(2, 2, 2, 2), 0, layer);
    EXPECT_EQ(line(), "=A1:B2+C3") << "a plus sign after a reference";
    keys("*");
    add_range_text(0, cells(0, 0, 1, 1), pf::kOptionKey, layer);
    EXPECT_EQ(line(), "=A1:B2+C3*$A$1:$B$2");
}

TEST_F(EntryLineTest, FunctionsAreInsertedWithTheirFirstArgumentSelected) {
    select(0, 0);
    ASSERT_TRUE(activate_editor(0, -1, layer, record));
    unsigned char name[] = "\x0bSUM(list,b)";
    AddFunctionStr(name);
    EXPECT_EQ(line(), "=SUM(list,b)");
    EXPECT_EQ(line_selection(), (std::pair<int32_t, int32_t>{5, 9}));
    keys("A1");
    EXPECT_EQ(line(), "=SUM(A1,b)");
}

TEST_F(EntryLineTest, ControlLettersNavigateWhenThePreferenceSays) {
    put_number(8, 0, 1);
    select(3, 3);
    EditorKey('X' - '@', record, pf::kControlKey);
    EXPECT_EQ(selection(), cells(3, 3, 3, 3)) << "without the preference it is ignored";
    EXPECT_EQ(Editor_Wind, nullptr);
    app_prefs.options2 |= kPrefControlNavigation;
    EditorKey('X' - '@', record, pf::kControlKey);
    EXPECT_EQ(selection(), cells(4, 3, 4, 3));
    EditorKey('F' - '@', record, pf::kControlKey);
    EXPECT_EQ(selection(), cells(8, 0, 8, 0));
    EditorKey('A' - '@', record, pf::kControlKey);
    EXPECT_EQ(selection(), cells(0, 0, 0, 0));
}

// Showing a styled cell with too little memory for a copy of its style runs:
// the runs are given back as often as they were used (an extra release fails
// every test program), and nothing else is left in use.
TEST_F(EntryLineTest, ShowingStyledTextShortOfMemoryReleasesItsRunsOnce) {
    std::vector<uint8_t> runs(2 + 20, 0);
    store_i16(runs.data(), 1);
    store_i16(runs.data() + 2 + 8, pf::kGenevaFont);
    store_i16(runs.data() + 2 + 12, 12);
    const std::string text = "styled words";
    put_cell(0, 0, kCellText, std::vector<uint8_t>(text.begin(), text.end()), runs, 0);
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_EQ(get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer), 1);
    store_i16(cell + kFmtStyleLength, int16_t(runs.size()));
    select(0, 0);
    const std::vector<BlockInUse> in_use = BlocksInUse();
    for (int32_t room = 0; room < 4096; ++room) {
        pf::set_heap_budget(pf::heap_bytes_in_use() + room);
        pf::set_temp_budget(0);
        with_failure_handler(&mem_globals, [&] { DisplayText(record, 1); });
        pf::set_heap_budget(pf::kNoBudget);
        pf::set_temp_budget(pf::kNoBudget);
        ASSERT_EQ(BlocksInUse(), in_use) << "with " << room << " bytes";
    }
    DisplayText(record, 1);
    EXPECT_EQ(line(), text);
}

}  // namespace
