// Find and Replace in a document of the running program: the matcher's case
// and whole-text rules, the scan over contents and formula values of text,
// numbers, dates and formulas, stepping through hits, Replace, and Replace All
// as one undo step that visits each cell once.
#include "../shell/format_fixture.h"

#include "ui/alerts.h"
#include "editing/find_replace.h"
#include "editing/find_window.h"
#include "files/entry_script.h"
#include "platform/events/keyboard.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/text/text.h"
#include "platform/windows/windows.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/format_commands.h"
#include "model/workbook.h"
#include "shell/command_bar.h"
#include "ui/app_prefs.h"
#include "ui/dialog_items.h"
#include "shell/command_codes.h"
#include "shell/shell_commands.h"
#include "window/front_document.h"
#include "window/cell_entry.h"
#include "window/cell_geometry.h"
#include "window/resizing.h"
#include "window/entry_line.h"
#include "window/selection_tracking.h"
#include "cell_look.h"
#include "locked_cell.h"
#include "resource_ids.h"

namespace {

struct FindTest : FormatMenuTest {
    uint32_t saved_options = 0;

    void SetUp() override {
        FormatMenuTest::SetUp();
        saved_options = app_prefs.options;
        find_state = FindState{};
        use_options(kFindInContents);
    }
    void TearDown() override {
        app_prefs.options = saved_options;
        FormatMenuTest::TearDown();
    }
    void use_options(uint32_t bits) { app_prefs.options = (app_prefs.options & ~kFindOptionBits) | bits; }
    void select(int16_t row, int16_t column) {
        const CellRange range{{row, column}, {row, column}};
        LSelect(range.topLeft, &range, nullptr, 0, layer);
    }
    void enter(int16_t row, int16_t column, const std::string& text) {
        select(row, column);
        MemoryRef block = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
        uint16_t at = 0;
        ASSERT_EQ(Enter_Data(layer, block, nullptr, &at, 0), kEntryStored) << text;
        DisposeMemory(block);
    }
    // A text from outside (UTF-8) stored as the event socket stores it: in
    // the script that spells it, else in runs of the scripts of its words.
    void enter_utf8(int16_t row, int16_t column, const std::string& utf8) {
        select(row, column);
        RunLook look;
        look.font = pf::script_font(pf::kScriptRoman);
        look.size = Get_Default_Size(layer);
        const ScriptedText spelled = spell_text_in_scripts(utf8, look);
        ASSERT_EQ(spelled.unspelled, 0) << utf8;
        const std::string runs = spelled.script == pf::kScriptRoman ? std::string() : run_table_of(spelled, look);
        MemoryRef block = Bytes2Memory(&mem_globals, spelled.text.data(), 1, int32_t(spelled.text.size()));
        MemoryRef styles = runs.empty() ? nullptr : Bytes2Memory(&mem_globals, runs.data(), 1, int32_t(runs.size()));
        uint16_t at = 0;
        ASSERT_EQ(Enter_Data(layer, block, styles, &at, 0), kEntryStored) << utf8;
        DisposeMemory(block);
        DisposeNonNilMemory(styles);
    }
    // A cell's text as it reads outside: UTF-8, each run by its script.
    std::string utf8_of(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer)) return "(none)";
        const std::string_view text(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
        return cell_field_utf8(cell, text, format_font_in(cell, layer));
    }
    std::string contents(int16_t row, int16_t column) {
        const std::vector<uint8_t> text = cell_contents_text(layer, CellPoint{row, column});
        return std::string(text.begin(), text.end());
    }
    // The search text and its replacement as the Find window takes them: UTF-8.
    void search_for(const std::string& text, const std::string& replacement = "") {
        set_find_string(find_state.find_str, reinterpret_cast<const unsigned char*>(text.data()),
                        int32_t(text.size()));
        find_state.replacement = replacement;
    }
    CellPoint active() { return GetClickCell(layer); }
    int undo_count() { return GetMemorySize(workbook_undo_list(GetWorkSheet(layer))); }

    // A sheet of text, numbers, a date and formulas.
    void fill_sheet() {
        enter(0, 0, "Apple pie");
        enter(1, 0, "42");
        enter(2, 0, "=40+2");
        enter(0, 1, "12/25/2026");
        enter(1, 1, "apple");
        enter(2, 1, "=A1");
        select(0, 0);
    }
    // Every cell the options find from the top, in order.
    std::vector<CellPoint> hits(uint32_t options, const std::string& text, bool by_columns = false) {
        use_options(options);
        search_for(text);
        std::vector<CellPoint> found;
        FindHit hit;
        CellPoint start{0, 0};
        int32_t offset = -1;
        while (find_cells(layer, start, find_state.find_str, offset, options, by_columns, &hit)) {
            found.push_back(hit.cell);
            start = by_columns ? CellPoint{int16_t(hit.cell.v + 1), hit.cell.h}
                               : CellPoint{hit.cell.v, int16_t(hit.cell.h + 1)};
        }
        return found;
    }
};

using Cells = std::vector<CellPoint>;

TEST(FindWord, CaseFoldingWholeTextAndSuccessiveMatches) {
    const unsigned char ab[] = "\002ab";
    const uint8_t text[] = "xAbx";
    int32_t offset = -1;
    EXPECT_EQ(find_word(text, 4, &offset, false, false, ab), 1);
    EXPECT_EQ(offset, 1);
    offset = -1;
    EXPECT_EQ(find_word(text, 4, &offset, true, false, ab), 0);
    offset = -1;
    EXPECT_EQ(find_word(text, 4, &offset, false, true, ab), 0);
    offset = -1;
    EXPECT_EQ(find_word(reinterpret_cast<const uint8_t*>("AB"), 2, &offset, false, true, ab), 1);

    const uint8_t twice[] = "ab ab";
    offset = -1;
    ASSERT_EQ(find_word(twice, 5, &offset, true, false, ab), 1);
    EXPECT_EQ(offset, 0);
    ASSERT_EQ(find_word(twice, 5, &offset, true, false, ab), 1);
    EXPECT_EQ(offset, 3);
    EXPECT_EQ(find_word(twice, 5, &offset, true, false, ab), 0);

    const unsigned char bracket[] = "\001[";  // only letters fold: '[' is not '{'
    offset = -1;
    EXPECT_EQ(find_word(reinterpret_cast<const uint8_t*>("{"), 1, &offset, false, false, bracket), 0);
}

TEST(FindWord, TheSearchStringKeepsItsLongestLength) {
    const std::string field(255, 'q');
    FindString search;
    set_find_string(search, reinterpret_cast<const unsigned char*>(field.data()), int32_t(field.size()));
    EXPECT_EQ(search[0], kLongestFindString);
    const std::string text = "x" + std::string(63, 'q');
    int32_t offset = -1;
    EXPECT_EQ(find_word(reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size()), &offset, true, false,
                        search),
              1);
    EXPECT_EQ(offset, 1);

    std::string tokyo;  // 70 characters of 3 bytes: the first 63 are kept whole
    for (int i = 0; i < 35; ++i) tokyo += "\u6771\u4eac";
    set_find_string(search, reinterpret_cast<const unsigned char*>(tokyo.data()), int32_t(tokyo.size()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(search + 1), search[0]), tokyo.substr(0, 3 * 63));
}

TEST_F(FindTest, EachOptionChoosesWhatIsSearched) {
    fill_sheet();
    // Contents: the typed number, not the formula's value.
    EXPECT_EQ(hits(kFindInContents, "42"), (Cells{{1, 0}}));
    // Values: only formulas, by what they show.
    EXPECT_EQ(hits(kFindInValues, "42"), (Cells{{2, 0}}));
    EXPECT_EQ(hits(kFindInValues, "Apple"), (Cells{{2, 1}}));
    EXPECT_EQ(hits(kFindInContents | kFindInValues, "42"), (Cells{{1, 0}, {2, 0}}));
    EXPECT_TRUE(hits(0, "42").empty());
    // A formula's text and a date as typed.
    EXPECT_EQ(hits(kFindInContents, "40+"), (Cells{{2, 0}}));
    EXPECT_EQ(hits(kFindInContents, "2026"), (Cells{{0, 1}}));
    // Case and whole text.
    EXPECT_EQ(hits(kFindInContents, "apple"), (Cells{{1, 1}}));
    EXPECT_EQ(hits(kFindInContents | kFindIgnoreCase, "apple"), (Cells{{0, 0}, {1, 1}}));
    EXPECT_EQ(hits(kFindInContents | kFindIgnoreCase | kFindWholeText, "APPLE"), (Cells{{1, 1}}));
    // By rows or by columns.
    EXPECT_EQ(hits(kFindInContents, "2"), (Cells{{0, 1}, {1, 0}, {2, 0}}));
    EXPECT_EQ(hits(kFindInContents, "2", true), (Cells{{1, 0}, {2, 0}, {0, 1}}));
}

TEST_F(FindTest, FindStepsThroughEveryHitAndWrapsOnce) {
    enter(0, 0, "tea for two");
    enter(3, 2, "more tea");
    select(5, 5);
    search_for("t");
    ASSERT_EQ(do_find_next(kFindFromActive), 1);  // wraps to the top
    EXPECT_EQ(active(), (CellPoint{0, 0}));
    EXPECT_EQ(find_state.found_offset, 0);
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    EXPECT_EQ(find_state.found_offset, 8);
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    EXPECT_EQ(active(), (CellPoint{3, 2}));
    EXPECT_EQ(find_state.found_offset, 5);
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    EXPECT_EQ(active(), (CellPoint{0, 0}));
    EXPECT_EQ(do_find_next(kFindOnward), 1);
    search_for("absent");
    EXPECT_EQ(do_find_next(kFindFromActive), 0);
    EXPECT_EQ(find_state.first_find, 0);
}

TEST_F(FindTest, ReplaceChangesTheHitOnlyWhereItStillIs) {
    enter(0, 0, "one cat, two cats");
    enter(1, 0, "cat");
    select(0, 0);
    search_for("cat", "dog");
    ASSERT_EQ(do_find_next(kFindFromTop), 1);
    ASSERT_EQ(do_freplace(0), 1);
    EXPECT_EQ(contents(0, 0), "one dog, two cats");
    ASSERT_EQ(do_find_next(kFindFromActive), 1);  // goes on after the replacement
    EXPECT_EQ(find_state.found_offset, 13);
    search_for("o", "");  // an empty replacement at the start: the cell's later hits come next
    enter(2, 0, "oboe");
    forget_find_hit();
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    ASSERT_EQ(active(), (CellPoint{2, 0}));
    ASSERT_EQ(do_freplace(0), 1);
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    EXPECT_EQ(active(), (CellPoint{2, 0}));
    EXPECT_EQ(find_state.found_offset, 1);
    EXPECT_EQ(contents(2, 0), "boe");
    search_for("cat", "dog");
    ASSERT_EQ(do_find_next(kFindFromTop), 1);
    select(1, 0);  // the selection moved away from the hit
    EXPECT_EQ(do_freplace(1), 0);
    EXPECT_EQ(contents(1, 0), "cat");
    EXPECT_EQ(contents(0, 0), "one dog, two cats");
}

TEST_F(FindTest, ReplaceAllVisitsEachCellOnceAndUndoesInOneStep) {
    enter(0, 0, "banana");
    enter(1, 0, "a");
    enter(4, 3, "=\"a\"&\"b\"");
    enter(2, 0, "xyz");
    search_for("a", "aa");
    EXPECT_EQ(replace_all(), 3);
    EXPECT_EQ(contents(0, 0), "baanaanaa");
    EXPECT_EQ(contents(1, 0), "aa");
    EXPECT_EQ(contents(4, 3), "=\"aa\"&\"b\"");
    EXPECT_EQ(contents(2, 0), "xyz");
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(contents(0, 0), "banana");
    EXPECT_EQ(contents(1, 0), "a");
    EXPECT_EQ(contents(4, 3), "=\"a\"&\"b\"");
    EXPECT_EQ(contents(2, 0), "xyz");
}

// Replace All refits the rows of wrapped cells only, keeping a height the user
// set for plain ones, and its one Undo brings back the heights it changed.
TEST_F(FindTest, ReplaceAllRefitsWrappedRowsAndItsUndoTakesTheHeightsBack) {
    ASSERT_EQ(InputColumnFormat(layer, 0), 0);
    SetColumnByte(0, 0, kFmtAlign, 10 + 6, false, GetSpreadSheetColumnFormats(layer));  // option bit 6: wrap
    SetColumnSize(0, 0, 40, GetSpreadSheetColumnFormats(layer));
    enter(0, 0, "ab");
    enter(2, 1, "ab");
    ASSERT_EQ(apply_row_height(layer, CellRange{{2, 0}, {2, kLastCell}}, 40), 1);
    const int16_t one_line = GetRowSize(0, layer);
    search_for("ab", "ab ab ab ab ab ab");
    EXPECT_EQ(replace_all(), 2);
    EXPECT_GT(GetRowSize(0, layer), 2 * one_line) << "the wrapped text takes several lines";
    EXPECT_EQ(GetRowSize(2, layer), 40) << "the plain text keeps the user's height";
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(contents(0, 0), "ab");
    EXPECT_EQ(contents(2, 1), "ab");
    EXPECT_EQ(GetRowSize(0, layer), one_line);
    EXPECT_EQ(GetRowSize(2, layer), 40);
}

TEST_F(FindTest, AReplacementTheCellRefusesIsSaidAndChangesNothing) {
    enter(0, 0, "=SUM(1,2)");
    enter(1, 0, "SUM");
    select(0, 0);
    search_for("SUM", "QQQ");
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    alert_requests().clear();
    EXPECT_EQ(do_freplace(1), 0);
    EXPECT_EQ(contents(0, 0), "=SUM(1,2)");
    EXPECT_EQ(alert_requests().size(), 1u) << "the refusal is told, not only beeped";

    alert_requests().clear();
    EXPECT_EQ(replace_all(), 1);
    EXPECT_EQ(contents(1, 0), "QQQ");
    EXPECT_EQ(contents(0, 0), "=SUM(1,2)");
    EXPECT_EQ(alert_requests().size(), 1u) << "one message for the cells left as they were";
    EXPECT_EQ(active(), (CellPoint{0, 0})) << "the first cell left unchanged is selected";
}

// The entry line's text each time the screen was drawn under a modal window.
std::vector<std::string> entry_under_alerts;
void note_entry_under_alert() {
    pf::compose_screen();
    if (!pf::is_modal_window(pf::front_window())) return;
    unsigned char text[256];
    const int32_t length = entry_text(text, sizeof text);
    const std::string shown(reinterpret_cast<char*>(text), size_t(length));
    if (entry_under_alerts.empty() || entry_under_alerts.back() != shown) entry_under_alerts.push_back(shown);
}

TEST_F(FindTest, WhileARefusalIsToldTheEntryLineShowsTheRefusedReplacement) {
    enter(0, 0, "=SUM(1,2)");
    enter(2, 0, "plain words");
    DisplayText(get_find_doc(), 1);
    search_for("SUM", "QQQ");
    entry_under_alerts.clear();
    pf::host_set_composer(note_entry_under_alert);
    EXPECT_EQ(replace_all(), 0);
    EXPECT_EQ(entry_under_alerts, std::vector<std::string>{"=QQQ(1,2)"});

    select(0, 0);
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    entry_under_alerts.clear();
    EXPECT_EQ(do_freplace(1), 0);
    pf::host_set_composer(pf::compose_screen);
    EXPECT_EQ(entry_under_alerts, std::vector<std::string>{"=QQQ(1,2)"});
    unsigned char text[256];
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), size_t(entry_text(text, sizeof text))), "=SUM(1,2)")
        << "the cell's own text afterwards";
}

TEST_F(FindTest, ReplaceLeavesLockedCellsAsTheyAre) {
    enter(0, 0, "cat");
    enter(1, 0, "cat");
    lock_cell(layer, CellPoint{0, 0});
    select(0, 0);
    search_for("cat", "dog");
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    alert_requests().clear();
    EXPECT_EQ(do_freplace(1), 0);
    EXPECT_EQ(contents(0, 0), "cat");
    EXPECT_EQ(replace_all(), 1);
    EXPECT_EQ(contents(0, 0), "cat") << "the locked cell is left out";
    EXPECT_EQ(contents(1, 0), "dog");
    EXPECT_EQ(alert_requests().size(), 2u) << "each refusal is told";
}

TEST_F(FindTest, ReplaceAllWithoutAHitChangesNothing) {
    enter(0, 0, "text");
    const int records = undo_count();
    search_for("zzz", "y");
    EXPECT_EQ(replace_all(), 0);
    EXPECT_EQ(undo_count(), records);
    pf::driver_key_down(pf::kKeyCodePeriod, '.', pf::kCmdKey);  // held: stops it before the first cell
    run_until_idle();
    search_for("text", "word");
    EXPECT_EQ(replace_all(), 0);
    EXPECT_EQ(contents(0, 0), "text");
    pf::driver_key_up(pf::kKeyCodePeriod, '.');
    run_until_idle();
    use_options(kFindInValues);  // values are shown, not typed: nothing to replace
    enter(1, 0, "=1+1");
    search_for("2", "3");
    EXPECT_EQ(replace_all(), 0);
    EXPECT_EQ(contents(1, 0), "=1+1");
}

TEST_F(FindTest, AllLayersRunsThroughTheLayersWithoutWrapping) {
    MemoryRef first = layer;
    enter(5, 5, "pear");
    DoLayerMenu(nullptr, kLayerNewItem);  // a new layer, shown in the window
    run_until_idle();
    layer = doc_window_layer(front_document_record());
    ASSERT_NE(layer, first);
    enter(2, 2, "a pear tree");
    MemoryRef second = layer;
    select_layer(front_document_record(), 0);
    layer = first;
    use_options(kFindInContents | kFindAllLayers);
    search_for("pear", "plum");
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    EXPECT_EQ(active(), (CellPoint{5, 5}));
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    EXPECT_EQ(doc_window_layer(front_document_record()), second);
    EXPECT_EQ(GetClickCell(second), (CellPoint{2, 2}));
    EXPECT_EQ(find_state.search_layer, 1);
    EXPECT_EQ(do_find_next(kFindFromActive), 0);
    EXPECT_EQ(find_state.search_layer, -1);
    EXPECT_EQ(replace_all(), 2);
    EXPECT_EQ(contents(5, 5), "plum");
    layer = second;
    EXPECT_EQ(contents(2, 2), "a plum tree");
}

TEST_F(FindTest, TheFindWindowFindsWhatIsTypedIntoIt) {
    enter(0, 0, "alpha");
    enter(60, 2, "needle");
    select(0, 0);
    DoCommand(code_value("find"));
    run_until_idle();
    ASSERT_NE(find_wind, nullptr);
    pf::driver_type("needle");
    run_until_idle();
    EXPECT_EQ(pf::get_dialog_item_text(find_wind, 10), "needle");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    run_until_idle();
    EXPECT_EQ(active(), (CellPoint{60, 2}));
    EXPECT_EQ(find_state.first_find, 1);
    select(0, 0);
    pf::driver_key(5, 'g', pf::kCmdKey);  // Find Again with the window in front
    run_until_idle();
    EXPECT_EQ(active(), (CellPoint{60, 2}));
    pf::driver_key(53, pf::kEscapeChar);
    run_until_idle();
    EXPECT_EQ(find_wind, nullptr);
    select(0, 0);
    DoCommand(code_value("fina"));  // Find Again with the window closed
    run_until_idle();
    EXPECT_EQ(active(), (CellPoint{60, 2}));
}

// Replace and Replace All keep the letters of a cell in another script, or
// in runs of several, as the cell reads outside, and undo in one step.
TEST_F(FindTest, ReplacingInACellOfOtherScriptsKeepsItsLetters) {
    enter_utf8(0, 0, "東京 pie");
    enter_utf8(1, 0, "Москва 東京 pie");
    enter_utf8(2, 0, "ö 東京 pie");
    enter(3, 0, "Apple pie");
    ASSERT_EQ(utf8_of(1, 0), "Москва 東京 pie");
    search_for("pie", "cake");
    EXPECT_EQ(replace_all(), 4);
    EXPECT_EQ(utf8_of(0, 0), "東京 cake");
    EXPECT_EQ(utf8_of(1, 0), "Москва 東京 cake");
    EXPECT_EQ(utf8_of(2, 0), "ö 東京 cake");
    EXPECT_EQ(contents(3, 0), "Apple cake");
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(utf8_of(0, 0), "東京 pie");
    EXPECT_EQ(utf8_of(1, 0), "Москва 東京 pie");
    EXPECT_EQ(utf8_of(2, 0), "ö 東京 pie");

    enter_utf8(4, 0, "ö 東京 pie, Москва pie");
    select(4, 0);
    search_for("pie", "caf\u00e9");
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    ASSERT_EQ(active(), (CellPoint{4, 0}));
    ASSERT_EQ(do_freplace(0), 1);
    EXPECT_EQ(utf8_of(4, 0), "ö 東京 café, Москва pie");
    EXPECT_EQ(replace_all(), 5);  // a Roman letter in cells of one other script too
    EXPECT_EQ(utf8_of(0, 0), "東京 café");
    EXPECT_EQ(utf8_of(1, 0), "Москва 東京 café");
    EXPECT_EQ(utf8_of(4, 0), "ö 東京 café, Москва café");
    EXPECT_EQ(contents(3, 0), "Apple caf\x8E");
}

// Replace and Replace All change the letters of a styled cell only: texts of
// two scripts beyond Roman, of one, and of Roman alone keep their size, face,
// colour and alignment, the runs of each script their font; undo brings back
// the cells as they were.
TEST_F(FindTest, AReplacementKeepsTheFormatOfAStyledCell) {
    const std::vector<std::string> texts = {"\u010daj \u2013 \u039a\u03b1\u03c6\u03ad\u03c2",
                                            "\u00da\u010det \u2013 \u0411\u044e\u0434\u0436\u0435\u0442 \u010daj",
                                            "\u010daj \u6771\u4eac", "\u041c\u043e\u0441\u043a\u0432\u0430 \u010daj",
                                            "\u010daj caf\u00e9"};
    for (size_t i = 0; i < texts.size(); ++i) enter_utf8(int16_t(i), 0, texts[i]);
    select_cells(layer, CellRange{{0, 0}, {int16_t(texts.size() - 1), 0}});
    DoStyleMenu(nullptr, 3);  // bold
    DoStyleMenu(nullptr, 4);  // italic
    DoSizeMenu(nullptr, 6);   // 18
    DoAlignMenu(nullptr, 3);  // center
    Format_Sheet(kFormatUndoKind, kFmtTextColour, 3, false, true, true, layer);
    std::vector<CellLook> looks;
    for (size_t i = 0; i < texts.size(); ++i) looks.push_back(cell_look(layer, CellPoint{int16_t(i), 0}));
    ASSERT_EQ(looks[0].face, 0x03);
    ASSERT_EQ(looks[0].align & kAlignMask, 2);
    ASSERT_EQ(looks[0].colour, 3);
    ASSERT_GE(looks[0].runs.size(), 2u) << "two scripts beyond Roman";

    auto replaced = [&](const std::string& text) {
        std::string out = text;
        const std::string from = "\u010daj", to = "k\u00e1va";
        for (size_t at = out.find(from); at != std::string::npos; at = out.find(from, at + to.size()))
            out.replace(at, from.size(), to);
        return out;
    };
    search_for("\u010daj", "k\u00e1va");
    EXPECT_EQ(replace_all(), int32_t(texts.size()));
    for (size_t i = 0; i < texts.size(); ++i) {
        const CellPoint cell{int16_t(i), 0};
        EXPECT_EQ(utf8_of(cell.v, 0), replaced(texts[i])) << i;
        EXPECT_EQ(look_changes(looks[i], cell_look(layer, cell)), "") << texts[i];
    }
    DoUndo(GetWorkSheet(layer));
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(utf8_of(int16_t(i), 0), texts[i]) << i;
        EXPECT_EQ(look_changes(looks[i], cell_look(layer, CellPoint{int16_t(i), 0})), "") << texts[i] << " undone";
    }

    select(1, 0);
    forget_find_hit();
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    ASSERT_EQ(active(), (CellPoint{1, 0}));
    ASSERT_EQ(do_freplace(1), 1);
    EXPECT_EQ(utf8_of(1, 0), replaced(texts[1]));
    EXPECT_EQ(look_changes(looks[1], cell_look(layer, CellPoint{1, 0})), "");
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(utf8_of(1, 0), texts[1]);
    EXPECT_EQ(look_changes(looks[1], cell_look(layer, CellPoint{1, 0})), "");
}

// A replacement in a cell whose runs differ in look sets each letter as the
// letter it takes the place of: the letters around the hit keep their face,
// colour and font (a Greek font of the user's choosing too), the new letters
// take the look of the first letter replaced.
TEST_F(FindTest, AReplacementKeepsTheLookOfEachLetter) {
    const int16_t central = pf::script_font(pf::kScriptCentralEuro);
    const int16_t greek = int16_t(pf::script_font(pf::kScriptGreek) + 1);
    ASSERT_EQ(pf::font_to_script(greek), pf::kScriptGreek);
    std::string tea, coffee;
    ASSERT_TRUE(pf::utf8_to_script("\u010daj \u2013 ", pf::kScriptCentralEuro, tea));
    ASSERT_TRUE(pf::utf8_to_script("\u039a\u03b1\u03c6\u03ad\u03c2", pf::kScriptGreek, coffee));
    std::string runs(2 + 3 * kRunEntrySize, '\0');
    auto* table = reinterpret_cast<uint8_t*>(runs.data());
    store_i16(table, 3);
    const struct {
        int32_t start;
        int16_t font;
        uint8_t face;
        uint16_t red;
    } looks[] = {{0, central, 0x01, 0xDD00}, {3, central, 0x00, 0}, {int32_t(tea.size()), greek, 0x02, 0}};
    for (int i = 0; i < 3; ++i) {
        uint8_t* entry = table + 2 + i * kRunEntrySize;
        store_i32(entry + kRunStart, looks[i].start);
        store_i16(entry + kRunFont, looks[i].font);
        entry[kRunFace] = looks[i].face;
        store_i16(entry + kRunFontSize, 12);
        store_u16(entry + kRunColour, looks[i].red);
    }
    select(0, 0);
    const std::string bytes = tea + coffee;
    MemoryRef block = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
    MemoryRef styles = Bytes2Memory(&mem_globals, runs.data(), 1, int32_t(runs.size()));
    uint16_t at = 0;
    ASSERT_EQ(Enter_Data(layer, block, styles, &at, 0), kEntryStored);
    DisposeMemory(block);
    DisposeMemory(styles);
    const std::vector<LetterLook> before = letter_looks(layer, CellPoint{0, 0});
    ASSERT_EQ(before.size(), 11u);
    ASSERT_EQ(before[0].face, 0x01);
    ASSERT_EQ(before[10].font, greek);

    search_for("\u010daj", "k\u00e1va");
    ASSERT_EQ(replace_all(), 1);
    EXPECT_EQ(utf8_of(0, 0), "k\u00e1va \u2013 \u039a\u03b1\u03c6\u03ad\u03c2");
    const std::vector<LetterLook> after = letter_looks(layer, CellPoint{0, 0});
    ASSERT_EQ(after.size(), 12u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(after[i].face, 0x01) << i;
        EXPECT_EQ(after[i].red, 0xDD00) << i;
    }
    for (size_t i = 4; i < after.size(); ++i) {
        EXPECT_EQ(after[i].face, before[i - 1].face) << i;
        EXPECT_EQ(after[i].red, before[i - 1].red) << i;
        if (pf::font_to_script(after[i].font) == pf::font_to_script(before[i - 1].font))
            EXPECT_EQ(after[i].font, before[i - 1].font) << i;
    }
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(letter_looks(layer, CellPoint{0, 0}), before);
}

// A Roman replacement in a cell of one other script keeps every letter: the
// cell's text is spelled again in the scripts that spell it.
TEST_F(FindTest, ARomanReplacementInACellOfAnotherScriptKeepsItsLetters) {
    enter_utf8(0, 0, "\u043c\u043e\u0441\u043a\u0432\u0430 x");
    enter_utf8(1, 0, "\u6771\u4eac x");
    enter(2, 0, "Paris x");
    search_for("x", "cr\u00e8me");
    EXPECT_EQ(replace_all(), 3);
    EXPECT_EQ(utf8_of(0, 0), "\u043c\u043e\u0441\u043a\u0432\u0430 cr\u00e8me");
    EXPECT_EQ(utf8_of(1, 0), "\u6771\u4eac cr\u00e8me");
    EXPECT_EQ(utf8_of(2, 0), "Paris cr\u00e8me");

    enter_utf8(3, 0, "x\u65e5");
    search_for("x", "\u00e9");
    select(3, 0);
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    ASSERT_EQ(do_freplace(0), 1);
    EXPECT_EQ(utf8_of(3, 0), "\u00e9\u65e5");
}

// Replace and Replace All put a replacement of several scripts in cells of
// Roman, Cyrillic and Japanese as it reads, each cell spelled in the scripts
// that spell it; Find goes on behind the replacement in the cell.
TEST_F(FindTest, AReplacementInSeveralScriptsIsStoredAsItReads) {
    const std::string replacement = "caf\u00e9\u6771\u4eac";  // café東京
    const std::vector<std::pair<std::string, std::string>> cells = {
        {"Paris x", "Paris caf\u00e9\u6771\u4eac"},
        {"\u043c\u043e\u0441\u043a\u0432\u0430 x", "\u043c\u043e\u0441\u043a\u0432\u0430 caf\u00e9\u6771\u4eac"},
        {"\u6771\u4eac x", "\u6771\u4eac caf\u00e9\u6771\u4eac"}};
    for (size_t i = 0; i < cells.size(); ++i) enter_utf8(int16_t(i), 0, cells[i].first);
    search_for("x", replacement);
    alert_requests().clear();
    EXPECT_EQ(replace_all(), 3);
    for (size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(utf8_of(int16_t(i), 0), cells[i].second) << i;
    DoUndo(GetWorkSheet(layer));
    for (size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(utf8_of(int16_t(i), 0), cells[i].first) << i;

    for (size_t i = 0; i < cells.size(); ++i) {
        select(int16_t(i), 0);
        forget_find_hit();
        ASSERT_EQ(do_find_next(kFindFromActive), 1) << i;
        ASSERT_EQ(active(), (CellPoint{int16_t(i), 0}));
        ASSERT_EQ(do_freplace(1), 1) << i;
        EXPECT_EQ(utf8_of(int16_t(i), 0), cells[i].second) << i;
    }
    EXPECT_TRUE(alert_requests().empty());

    enter_utf8(4, 0, "\u6771\u4eac x x");
    select(4, 0);
    forget_find_hit();
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    ASSERT_EQ(do_freplace(0), 1);
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    EXPECT_EQ(active(), (CellPoint{4, 0})) << "the second x, behind the replacement";
    ASSERT_EQ(do_freplace(0), 1);
    EXPECT_EQ(utf8_of(4, 0), "\u6771\u4eac " + replacement + " " + replacement);
}

// A replacement holding a character no installed script spells is refused by
// Replace and Replace All with an alert naming it, every cell left as it was.
TEST_F(FindTest, AReplacementNoScriptSpellsIsRefusedAndChangesNothing) {
    enter(0, 0, "Apple pie");
    enter_utf8(1, 0, "\u6771\u4eac pie");
    const int records = undo_count();
    search_for("pie", "caf\u00e9\U0001F642");
    select(0, 0);
    ASSERT_EQ(do_find_next(kFindFromActive), 1);
    alert_requests().clear();
    EXPECT_EQ(do_freplace(1), 0);
    EXPECT_EQ(replace_all(), 0);
    ASSERT_EQ(alert_requests().size(), 2u);
    for (const auto& alert : alert_requests()) {
        EXPECT_EQ(alert.alert_id, kUnspelledReplacementAlert);
        EXPECT_EQ(alert.text, "U+1F642");
    }
    EXPECT_EQ(contents(0, 0), "Apple pie");
    EXPECT_EQ(utf8_of(1, 0), "\u6771\u4eac pie");
    EXPECT_EQ(undo_count(), records);
}

// Find searches each cell as it reads: its text decoded run by run in its
// scripts, a formula's value in the script of that value; case is ignored
// for A to Z in any script's cell, and whole text means the cell's whole text.
TEST_F(FindTest, FindSearchesEachCellAsItReads) {
    enter_utf8(0, 0, "\u6771\u4eac pie");
    enter_utf8(1, 0, "\u041c\u043e\u0441\u043a\u0432\u0430 X");
    enter(2, 0, "caf\x8E");
    enter_utf8(3, 0, "\u00f6 \u6771\u4eac");
    enter_utf8(4, 0, "\u6771\u4eac");
    enter_utf8(5, 0, "=\"\u6771\u4eac\"&\"x\"");
    EXPECT_EQ(hits(kFindInContents, "\u6771\u4eac"), (Cells{{0, 0}, {3, 0}, {4, 0}, {5, 0}}));
    EXPECT_EQ(hits(kFindInContents | kFindWholeText, "\u6771\u4eac"), (Cells{{4, 0}}));
    EXPECT_EQ(hits(kFindInValues | kFindWholeText, "\u6771\u4eacx"), (Cells{{5, 0}}));
    EXPECT_EQ(hits(kFindInContents | kFindIgnoreCase, "x"), (Cells{{1, 0}, {5, 0}}));
    EXPECT_EQ(hits(kFindInContents, "\u00e9"), (Cells{{2, 0}}));
    EXPECT_EQ(hits(kFindInContents, "\u043c\u043e\u0441"), Cells{}) << "case is kept beyond A to Z";
}

// The Find window reads its fields as they read, whatever keyboards typed
// them: a search typed on a Japanese keyboard finds the Japanese cell, and
// "café" typed then "東京" on a Japanese keyboard replaces it, as a Cyrillic
// replacement does with Replace All; reopened, the window shows both fields
// as they were typed.
TEST_F(FindTest, TheFindWindowReadsFieldsTypedOnSeveralKeyboards) {
    enter(0, 0, "Apple pie");
    enter(1, 0, "pie crust");
    enter_utf8(2, 0, "\u6771\u4eac");
    select(0, 0);
    DoCommand(code_value("find"));
    run_until_idle();
    ASSERT_NE(find_wind, nullptr);
    const auto click_item = [this](int16_t item) {
        const pf::Rect box = pf::get_dialog_item_box(find_wind, item);
        const pf::Rect content = pf::window_content_rect(pf::get_dialog_window(find_wind));
        pf::driver_click(pf::Point{int16_t(content.top + (box.top + box.bottom) / 2),
                                   int16_t(content.left + (box.left + box.right) / 2)});
        run_until_idle();
    };
    pf::driver_type("\u6771\u4eac");
    pf::driver_key(pf::kKeyCodeTab, '\t');
    pf::driver_type("caf\u00e9");
    pf::driver_type("\u6771\u4eac");
    run_until_idle();
    ASSERT_EQ(pf::get_dialog_keyboard_focus(find_wind), 12);
    alert_requests().clear();
    click_item(1);  // Find
    ASSERT_EQ(active(), (CellPoint{2, 0}));
    click_item(2);  // Replace
    EXPECT_EQ(utf8_of(2, 0), "caf\u00e9\u6771\u4eac");

    pf::driver_key(pf::kKeyCodeTab, '\t');  // to the search field
    pf::driver_key(0, 'a', pf::kCmdKey);
    pf::driver_type("pie");
    pf::driver_key(pf::kKeyCodeTab, '\t');
    pf::driver_key(0, 'a', pf::kCmdKey);
    pf::driver_type("\u041f\u0438\u0440\u043e\u0433");  // Пирог
    run_until_idle();
    click_item(15);  // Replace All
    EXPECT_TRUE(alert_requests().empty());
    EXPECT_EQ(utf8_of(0, 0), "Apple \u041f\u0438\u0440\u043e\u0433");
    EXPECT_EQ(utf8_of(1, 0), "\u041f\u0438\u0440\u043e\u0433 crust");

    pf::driver_key(53, pf::kEscapeChar);
    run_until_idle();
    ASSERT_EQ(find_wind, nullptr);
    find_state.replacement = "caf\u00e9\u6771\u4eac";
    DoCommand(code_value("find"));
    run_until_idle();
    ASSERT_NE(find_wind, nullptr);
    EXPECT_EQ(GetDEditTextUtf8(find_wind, 10), "pie");
    EXPECT_EQ(GetDEditTextUtf8(find_wind, 12), "caf\u00e9\u6771\u4eac");
    pf::set_keyboard_script(pf::kScriptRoman);
    pf::driver_key(53, pf::kEscapeChar);
    run_until_idle();
}

// The search field's text is taken whole by Ctrl-A and by a triple click, so
// that what is typed next replaces it; before any search the frame does not
// say that nothing was found.
TEST_F(FindTest, SelectAllAndATripleClickTakeTheWholeSearchText) {
    DoCommand(code_value("find"));
    run_until_idle();
    ASSERT_NE(find_wind, nullptr);
    EXPECT_NE(pf::get_indexed_string(160, 34), "Not found");
    pf::driver_type("first words");
    run_until_idle();
    pf::driver_key(0, 'a', pf::kCmdKey);
    pf::driver_type("pin");
    run_until_idle();
    EXPECT_EQ(pf::get_dialog_item_text(find_wind, 10), "pin");

    pf::driver_type(" and needle");
    const pf::Rect box = pf::get_dialog_item_box(find_wind, 10);
    const pf::Rect content = pf::window_content_rect(pf::get_dialog_window(find_wind));
    const pf::Point in_field{int16_t(content.top + (box.top + box.bottom) / 2), int16_t(content.left + box.left + 12)};
    for (int click = 0; click < 3; ++click) pf::driver_click(in_field);
    pf::driver_type("thread");
    run_until_idle();
    EXPECT_EQ(pf::get_dialog_item_text(find_wind, 10), "thread");
    pf::driver_key(53, pf::kEscapeChar);
    run_until_idle();
}

}  // namespace
