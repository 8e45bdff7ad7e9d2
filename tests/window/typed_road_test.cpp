// The typed-formula road through the real event loop: keys typed into a new
// document are stored, shown and recalculated; clicks point at cells while a
// formula is typed; dragging and shift-clicks select ranges.
#include "road_fixture.h"

#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "editing/editing_commands.h"
#include "shell/shell_commands.h"
#include "window/in_cell_editor.h"
#include "window/scrolling.h"
#include "model/cell_letters.h"
#include "model/cell_format.h"
#include "platform/text/text.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

constexpr uint8_t kKeyCodeZ = 6;
constexpr uint8_t kKeyCodeC = 8;
constexpr uint8_t kKeyCodeV = 9;

TEST_F(TypedRoadTest, TypedEntriesAreStoredShownRecalculatedAndUndone) {
    enter("1");
    enter("2");
    enter("3");
    type("=SUM(A1:A3)");
    EXPECT_EQ(Editor_Wind, window_doc_record(window));
    EXPECT_GT(dark(CellPoint{3, 0}), 20) << "the text shows in the cell while it is typed";
    EXPECT_TRUE(matches_golden("typed_in_cell"));
    press_return();
    EXPECT_EQ(Editor_Wind, nullptr);
    EXPECT_EQ(value(3, 0), 6);
    EXPECT_EQ(GetClickCell(layer), (CellPoint{4, 0}));
    const int six = dark(CellPoint{3, 0});
    EXPECT_GT(six, 5) << "A4 shows its result";
    EXPECT_TRUE(matches_golden("typed_sum"));

    click(CellPoint{0, 0});
    EXPECT_EQ(GetClickCell(layer), (CellPoint{0, 0}));
    enter("10");
    EXPECT_EQ(value(0, 0), 10);
    recalculate_at_idle();
    EXPECT_EQ(value(3, 0), 15);
    EXPECT_NE(dark(CellPoint{3, 0}), six) << "A4 redrawn with 15";

    pf::driver_key(kKeyCodeZ, 'z', pf::kCmdKey);
    run_until_idle();
    recalculate_at_idle();
    EXPECT_EQ(value(0, 0), 1);
    EXPECT_EQ(value(3, 0), 6);
    EXPECT_EQ(dark(CellPoint{3, 0}), six);
}

// Text of another script typed into a cell set in a Roman font goes in in
// that script: the cell's text, taken into the editor as typing begins, does
// not turn the keyboard back to Roman.
TEST_F(TypedRoadTest, TextOfAnotherScriptTypedIntoARomanCellKeepsItsScript) {
    enter("\u6771\u4eac");
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell))),
              "\x93\x8C\x8B\x9E");
    EXPECT_EQ(pf::font_to_script(int16_t(format_font(cell))), pf::kScriptJapanese);
    enter("plain");
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{1, 0}, layer));
    EXPECT_EQ(format_font(cell), kDefaultFontNumber) << "ASCII typed next stays in the cell's own font";
}

// A formula typed over a cell of another script keeps the letters of its
// texts, in what it answers and in the formula the entry line shows.
TEST_F(TypedRoadTest, AFormulaTypedOverAnotherScriptKeepsTheLettersOfItsTexts) {
    enter("\u043c\u043e\u0441\u043a\u0432\u0430");
    click(CellPoint{0, 0});
    enter("=\"\u00e9t\u00e9\"");
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer));
    ASSERT_EQ(_cellType_(cell), kCellFormula);
    const std::vector<uint8_t> copy(cell, cell + _cellLength_(cell));
    EXPECT_EQ(cell_unicode_text(copy.data(), CellPoint{0, 0}, layer), "=\"\u00e9t\u00e9\"\n\u00e9t\u00e9");
}

TEST_F(TypedRoadTest, CopyAndPasteWorkFromTheKeyboard) {
    enter("7");
    click(CellPoint{0, 0});
    pf::driver_key(kKeyCodeC, 'c', pf::kCmdKey);
    run_until_idle();
    click(CellPoint{1, 1});
    pf::driver_key(kKeyCodeV, 'v', pf::kCmdKey);
    run_until_idle();
    EXPECT_EQ(value(1, 1), 7) << "Edit menu's Copy and Paste are enabled and reached by their keys";
}

std::string shown_entry() {
    unsigned char text[256];
    const int32_t length = entry_text(text, sizeof text);
    return std::string(reinterpret_cast<char*>(text), size_t(length));
}

TEST_F(TypedRoadTest, TheEntryLineFollowsUndoRedoAndTheFrontWindow) {
    enter("7");
    click(CellPoint{0, 0});
    ASSERT_EQ(shown_entry(), "7");
    pf::driver_key(kKeyCodeZ, 'z', pf::kCmdKey);
    run_until_idle();
    EXPECT_EQ(shown_entry(), "") << "undo empties the active cell";
    constexpr int16_t kRedo = 2;
    DoEditMenu(nullptr, kRedo);
    run_until_idle();
    EXPECT_EQ(shown_entry(), "7") << "redo puts the entry back";

    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    ASSERT_NE(pf::front_non_floating_window(), window);
    EXPECT_EQ(shown_entry(), "") << "a new document's empty cell";
    pf::select_window(window);
    run_until_idle();
    EXPECT_EQ(shown_entry(), "7") << "the window brought to the front shows its active cell";

    click(CellPoint{1, 0});
    enter("9");
    pf::driver_drag(cell_point(CellPoint{0, 0}), cell_point(CellPoint{1, 0}));
    run_until_idle();
    DoCommand(code_value("srtd"));
    run_until_idle();
    EXPECT_EQ(value(0, 0), 9);
    EXPECT_EQ(shown_entry(), "9") << "the command bar's sort shows the sorted active cell";
}

TEST_F(TypedRoadTest, ClicksPointAtCellsWhileAFormulaIsTyped) {
    click(CellPoint{4, 3});
    type("=");
    click(CellPoint{0, 0});
    type("+");
    click(CellPoint{1, 1});
    EXPECT_TRUE(matches_golden("point_mode"));
    unsigned char text[64];
    const int32_t length = entry_text(text, sizeof text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), size_t(length)), "=A1+B2");
    EXPECT_EQ(GetClickCell(layer), (CellPoint{4, 3})) << "pointing leaves the edited cell";
    press_return();
    uint8_t* cell = nullptr;
    int16_t size = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &size, CellPoint{4, 3}, layer));
    EXPECT_EQ(_cellType_(cell), kCellFormula);
}

TEST_F(TypedRoadTest, AnArrowThatScrollsInPointModeLeavesNoTextInTheUncoveredCell) {
    Scroll_Sheet(0, 0, 1, layer);
    run_until_idle();
    click(CellPoint{0, 1});
    type("=SUM(");
    pf::driver_key(pf::kKeyCodeLeftArrow, pf::kLeftArrowChar);
    run_until_idle();
    EXPECT_EQ(shown_entry(), "=SUM(A1");
    EXPECT_EQ(dark(CellPoint{0, 0}), 0) << "the scrolled-in A1 shows nothing of the typed text";
    EXPECT_GT(dark(CellPoint{0, 1}), 20) << "the text shows in B1, where it is typed";
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    run_until_idle();
}

TEST_F(TypedRoadTest, DraggingSelectsARangeAndShiftClickStretchesIt) {
    pf::driver_drag(cell_point(CellPoint{1, 1}), cell_point(CellPoint{3, 2}));
    run_until_idle();
    CellRange selection;
    GetSelectRect(&selection, layer);
    EXPECT_EQ(selection, (CellRange{{1, 1}, {3, 2}}));
    EXPECT_TRUE(matches_golden("range_selection"));
    click(CellPoint{5, 0}, pf::kShiftKey);
    GetSelectRect(&selection, layer);
    EXPECT_EQ(selection, (CellRange{{1, 0}, {5, 1}}));
    EXPECT_EQ(GetClickCell(layer), (CellPoint{1, 1}));
}

}  // namespace

namespace {

class HeadingTest : public TypedRoadTest {
protected:
    pf::Point column_heading(int16_t column) {
        pf::Point p = cell_point(CellPoint{0, column});
        p.v = int16_t(pf::window_content_rect(window).top + 7);
        return p;
    }
    pf::Point row_heading(int16_t row) {
        pf::Point p = cell_point(CellPoint{row, 0});
        p.h = int16_t(pf::window_content_rect(window).left + 15);
        return p;
    }
    CellRange selected() {
        CellRange range;
        GetSelectRect(&range, layer);
        return range;
    }
    // The boundary after a column in its heading, and after a row in its.
    pf::Point column_boundary(int16_t column) {
        pf::Rect r;
        Cell_Location(0, &r, 1, CellPoint{0, column}, layer);
        return pf::Point{int16_t(pf::window_content_rect(window).top + 7),
                         int16_t(pf::window_content_rect(window).left + r.right - 1)};
    }
    pf::Point row_boundary(int16_t row) {
        pf::Rect r;
        Cell_Location(0, &r, 1, CellPoint{row, 0}, layer);
        return pf::Point{int16_t(pf::window_content_rect(window).top + r.bottom - 1),
                         int16_t(pf::window_content_rect(window).left + 15)};
    }
    void protect(bool on) {
        MemoryRef workbook = GetWorkSheet(layer);
        const uint16_t flags = Get_Work_Flags(workbook);
        Set_Work_Flags(workbook, uint16_t(on ? flags | kWorkProtected : flags & ~kWorkProtected));
    }
};

TEST_F(HeadingTest, HeadingsSelectWholeColumnsAndRows) {
    pf::driver_click(column_heading(2));
    run_until_idle();
    EXPECT_EQ(selected(), (CellRange{{0, 2}, {kLastCell, 2}}));
    pf::driver_drag(column_heading(2), column_heading(4));
    run_until_idle();
    EXPECT_EQ(selected(), (CellRange{{0, 2}, {kLastCell, 4}}));
    pf::driver_click(column_heading(1), pf::kShiftKey);
    run_until_idle();
    EXPECT_EQ(selected(), (CellRange{{0, 1}, {kLastCell, 2}})) << "shift keeps whole columns as anchor";
    pf::driver_click(row_heading(4), pf::kShiftKey);
    run_until_idle();
    EXPECT_EQ(selected(), (CellRange{{4, 0}, {4, kLastCell}})) << "a new row selection";
}

TEST_F(HeadingTest, BoundariesKeepTheirSizesInAProtectedWorkbook) {
    enter("a text wider than its column");
    const int16_t width = GetColumnSize(1, layer), height = GetRowSize(2, layer);
    const auto drag_both = [&] {
        pf::Point to = column_boundary(1);
        to.h = int16_t(to.h + 40);
        pf::driver_drag(column_boundary(1), to);
        run_until_idle();
        to = row_boundary(2);
        to.v = int16_t(to.v + 20);
        pf::driver_drag(row_boundary(2), to);
        run_until_idle();
    };
    protect(true);
    drag_both();
    EXPECT_EQ(GetColumnSize(1, layer), width);
    EXPECT_EQ(GetRowSize(2, layer), height);
    EXPECT_EQ(alert_requests().size(), 2u);
    // A double click would fit column A to its text.
    pf::driver_click(column_boundary(0));
    pf::driver_click(column_boundary(0));
    run_until_idle();
    EXPECT_EQ(GetColumnSize(0, layer), width);
    EXPECT_EQ(alert_requests().size(), 4u) << "each click on a boundary is refused";

    protect(false);
    drag_both();
    EXPECT_GT(GetColumnSize(1, layer), width);
    EXPECT_GT(GetRowSize(2, layer), height);
}

TEST_F(HeadingTest, AColumnHeadingClickedWhileAFormulaIsTypedIsReferenced) {
    click(CellPoint{2, 5});
    type("=SUM(");
    pf::driver_click(column_heading(1));
    run_until_idle();
    type(")");
    unsigned char text[64];
    const int32_t length = entry_text(text, sizeof text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), size_t(length)), "=SUM(B:B)");
}

TEST_F(HeadingTest, ADoubleClickEditsTheCellInPlaceAndClicksFarApartAreSingle) {
    enter("abc");
    click(CellPoint{0, 0});
    EXPECT_EQ(Editor_Wind, nullptr) << "a click on the only selected cell opens nothing";
    click(CellPoint{0, 0});
    click(CellPoint{0, 0});
    ASSERT_EQ(Editor_Wind, window_doc_record(window));
    type("!");
    unsigned char text[64];
    const int32_t length = entry_text(text, sizeof text);
    const std::string line(reinterpret_cast<char*>(text), size_t(length));
    EXPECT_EQ(line.size(), 4u) << line;
    EXPECT_NE(line.find("!"), std::string::npos);
    EXPECT_NE(line.find('a'), std::string::npos) << "the old text stays";
    press_return();
    EXPECT_EQ(Editor_Wind, nullptr);
    // Two quick clicks far apart are two single clicks, never a double click.
    click(CellPoint{3, 2});
    pf::driver_click(column_heading(1));
    run_until_idle();
    SpreadSheet* sheet = use_layer(layer);
    EXPECT_EQ(sheet->click_count, 0);
    release_layer(layer);
}

}  // namespace

namespace {

TEST_F(TypedRoadTest, StoringATallEntryRedrawsEveryRowTheInCellViewCovered) {
    for (const char* line : {"one", "two", "three"}) {
        type(line);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar, pf::kOptionKey);
        run_until_idle();
    }
    type("four");
    ASSERT_EQ(WEList.in_cell_range.botRight.v, 3);
    ASSERT_GT(dark(CellPoint{3, 0}), 10) << "the fourth line shows three rows down";
    press_return();
    EXPECT_EQ(Editor_Wind, nullptr);
    EXPECT_EQ(dark(CellPoint{3, 0}), 0) << "that row shows its own (empty) cell again";
}

TEST_F(TypedRoadTest, TheInCellViewGrowsDownForMoreLinesAndNeverShrinks) {
    click(CellPoint{1, 1});
    type("first");
    EXPECT_EQ(WEList.in_cell_range.botRight.v, 1);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar, pf::kOptionKey);
    run_until_idle();
    type("second");
    EXPECT_EQ(WEList.in_cell_range.botRight.v, 2) << "one row more for the second line";
    EXPECT_TRUE(matches_golden("in_cell_two_lines"));
    pf::driver_key(pf::kKeyCodeBackspace, 8);
    run_until_idle();
    for (int i = 0; i < 6; ++i) {
        pf::driver_key(pf::kKeyCodeBackspace, 8);
        run_until_idle();
    }
    EXPECT_EQ(WEList.in_cell_range.botRight.v, 2) << "the view never shrinks while editing goes on";
    press_return();
    EXPECT_EQ(Editor_Wind, nullptr);
}

}  // namespace

namespace {

constexpr int16_t kOneLine = 17;

TEST_F(TypedRoadTest, AClickInsideTheEditedCellPutsTheCaretWhereItFalls) {
    const CellPoint edited{8, 1};  // below the entry line's own rows, so that the views cannot be mistaken
    click(edited);
    type("hello world");
    pf::Rect r;
    Cell_Location(0, &r, 1, edited, layer);
    const pf::Rect content = pf::window_content_rect(window);
    pf::driver_click(pf::Point{int16_t(content.top + (r.top + r.bottom) / 2), int16_t(content.left + r.left + 3)});
    run_until_idle();
    ASSERT_EQ(Editor_Wind, window_doc_record(window)) << "the click goes on with the entry";
    type("X");
    EXPECT_EQ(shown_entry(), "Xhello world") << "the caret went to the start, where the cell was clicked";
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    run_until_idle();
}

TEST_F(TypedRoadTest, TheCancelAndAcceptBoxesShowWhileACellIsEdited) {
    pf::WindowRef bar = command_bar_window();
    ASSERT_NE(bar, nullptr);
    constexpr uint32_t kCancelRed = 0xCC0000;
    const int cross_x = 98 + 6, cross_y = edit_rect.top + 1 + 6;
    click(CellPoint{0, 0});
    EXPECT_NE(pixel(cross_x, cross_y, bar), kCancelRed);
    type("1");
    EXPECT_EQ(pixel(cross_x, cross_y, bar), kCancelRed) << "the cancel box shows as soon as typing begins";
    press_return();
    EXPECT_NE(pixel(cross_x, cross_y, bar), kCancelRed) << "and goes when the entry is stored";
}

TEST_F(TypedRoadTest, TheCommandBarsEntryLineShowsTheCellAndTakesClicks) {
    pf::WindowRef bar = command_bar_window();
    ASSERT_NE(bar, nullptr);
    enter("abc");
    click(CellPoint{0, 0});
    const pf::Rect first_line{edit_rect.top, edit_rect.left, int16_t(edit_rect.top + kOneLine), edit_rect.right};
    EXPECT_TRUE(matches_golden("entry_line_showing", bar, first_line));
    type("=1+");
    EXPECT_TRUE(matches_golden("entry_line_editing", bar, first_line)) << "typing replaces the shown text";
    pf::driver_key(pf::kKeyCodeEscape, 27);
    run_until_idle();

    const pf::Rect content = pf::window_content_rect(bar);
    pf::driver_click(pf::Point{int16_t(content.top + edit_rect.top + kOneLine / 2),
                               int16_t(content.left + edit_rect.right - 20)});
    run_until_idle();
    ASSERT_EQ(Editor_Wind, window_doc_record(window)) << "a click in the entry line starts editing";
    EXPECT_FALSE(MouseInCellEditor(cell_point(CellPoint{0, 0}), layer)) << "with no in-cell view";
    type("d");
    press_return();
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell))), "abcd");
}

}  // namespace
