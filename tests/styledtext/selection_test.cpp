// Selection by mouse (single, double and triple clicks, drags, shift-clicks) and
// by keys (arrows with their modifiers, home, end and page keys).
#include "tests/styledtext/styled_text_fixture.h"

#include "platform/host/driver.h"

#include <vector>

namespace {

using wetest::Instance;

struct Selection : Instance {
    uint32_t now = 1000;

    void click(int32_t offset, uint16_t modifiers = 0) { click_at(point_of(offset), modifiers); }
    void click_at(pf::Point where, uint16_t modifiers = 0) {
        WEClick(where, modifiers, now, we);
        now += 2;
    }
    // Presses at `from`, moves through the points and releases at the last; the
    // tracking loop sees one move per poll.
    void drag(pf::Point from, const std::vector<pf::Point>& through) {
        pf::driver_reset();
        pf::driver_press(from);
        for (pf::Point p : through) pf::driver_move(p);
        pf::driver_release(through.back());
        pf::button();  // the press
        click_at(from);
        pf::flush_events(pf::kEveryEvent, 0);
    }
    void key(unsigned char k, uint16_t modifiers = 0) { WEKey(k, modifiers, we); }
    void expect_selection(int32_t start, int32_t end) {
        EXPECT_EQ(sel_start(), start);
        EXPECT_EQ(sel_end(), end);
    }
};

TEST_F(Selection, DoubleClickSelectsAWordAndDraggingExtendsByWords) {
    make();
    set_text("alpha beta gamma delta");
    click(7);
    click(7);
    expect_selection(6, 10);
    // Dragging after a double click goes word by word; before the word it runs
    // backwards from the word's end.
    now += pf::double_click_time();
    click(7);
    drag(point_of(7), {point_of(13)});
    expect_selection(6, 16);
    now += pf::double_click_time();
    click(7);
    drag(point_of(7), {point_of(2)});
    expect_selection(0, 10);
    EXPECT_TRUE(WEI(we).flags & weFAnchorIsEnd);
}

TEST_F(Selection, TripleAndLaterClicksSelectTheLine) {
    make(pf::Rect{10, 10, 190, 90});
    set_text("first line of words\rsecond");
    int32_t line_start = 0, line_end = 0;
    WEFindLine(2, 0, &line_start, &line_end, we);
    click(2);
    click(2);
    click(2);
    expect_selection(line_start, line_end);
    click(2);
    expect_selection(line_start, line_end);
}

TEST_F(Selection, ClicksTooFarApartInTimeAreSingleClicks) {
    make();
    set_text("alpha beta");
    WEClick(point_of(0), 0, 1, we);  // soon after start-up, on offset 0
    expect_selection(0, 0);
    click(7);
    now += pf::double_click_time();
    click(7);
    expect_selection(7, 7);
}

TEST_F(Selection, ShiftClickAfterABackwardsSelectionKeepsItsEnd) {
    make();
    set_text("0123456789");
    select(8, 4);
    click(2, pf::kShiftKey);
    expect_selection(2, 8);
    click(9, pf::kShiftKey);
    expect_selection(8, 9);
}

TEST_F(Selection, DraggingSelectsFromTheClickToTheMouse) {
    make();
    set_text("drag across these words");
    drag(point_of(2), {point_of(8), point_of(14)});
    expect_selection(2, 14);
    EXPECT_FALSE(WEI(we).flags & weFMouseTracking);
}

TEST_F(Selection, ClickingBelowTheTextPutsTheCaretAtTheEnd) {
    make();
    set_text("short");
    click_at(pf::Point{150, 40});
    expect_selection(5, 5);
    now += pf::double_click_time();
    click_at(pf::Point{12, 200});  // right of the line's end
    expect_selection(5, 5);
}

TEST_F(Selection, ArrowsCollapseASelectionToTheEndTheyPointAt) {
    make();
    set_text("0123456789");
    select(3, 6);
    key(pf::kLeftArrowChar);
    expect_selection(3, 3);
    select(3, 6);
    key(pf::kRightArrowChar, pf::kOptionKey);
    expect_selection(6, 6);
}

TEST_F(Selection, ShiftArrowsMoveTheActiveEnd) {
    make();
    set_text("0123456789");
    select(5, 2);
    key(pf::kRightArrowChar, pf::kShiftKey);
    expect_selection(3, 5);
    select(2, 5);
    key(pf::kRightArrowChar, pf::kShiftKey);
    expect_selection(2, 6);
}

TEST_F(Selection, CommandAndOptionArrowsGoToLinesWordsAndEnds) {
    make(pf::Rect{10, 10, 190, 110});
    set_text("one two three four five six seven");
    int32_t line_start = 0, line_end = 0;
    WEFindLine(0, 0, &line_start, &line_end, we);
    ASSERT_LT(line_end, WEGetTextLength(we));
    select(1, 1);
    key(pf::kRightArrowChar, pf::kCmdKey);
    expect_selection(line_end - 1, line_end - 1);  // before the blank that ends the line
    key(pf::kLeftArrowChar, pf::kCmdKey);
    expect_selection(0, 0);
    key(pf::kUpArrowChar, pf::kCmdKey);  // no such movement: stays
    expect_selection(0, 0);
    key(pf::kDownArrowChar, pf::kOptionKey);
    expect_selection(33, 33);
    key(pf::kUpArrowChar, pf::kOptionKey);
    expect_selection(0, 0);
    select(5, 5);
    key(pf::kRightArrowChar, pf::kOptionKey);
    expect_selection(7, 7);
    key(pf::kLeftArrowChar, pf::kOptionKey);
    expect_selection(4, 4);
}

TEST_F(Selection, UpAndDownKeepTheCaretsHorizontalPosition) {
    make(pf::Rect{10, 10, 190, 110});
    set_text("aaaa aaaa aaaa aaaa aaaa aaaa aaaa aaaa");
    select(2, 2);
    LongPoint before;
    WEGetPoint(2, before, nullptr, we);
    key(pf::kDownArrowChar);
    LongPoint after;
    WEGetPoint(sel_start(), after, nullptr, we);
    EXPECT_GT(after.v, before.v);
    EXPECT_NEAR(after.h, before.h, 4);
    key(pf::kUpArrowChar);
    expect_selection(2, 2);
}

TEST_F(Selection, HomeEndAndPageKeysMoveTheCaret) {
    make(pf::Rect{10, 10, 60, 110});
    std::string many;
    for (int i = 0; i < 20; ++i) many += "line\r";
    set_text(many);
    select(7, 7);
    key(pf::kHomeChar);
    expect_selection(5, 5);
    key(pf::kEndChar);
    expect_selection(9, 9);
    key(pf::kPageDownChar);
    EXPECT_GT(sel_start(), 15);
    key(pf::kPageUpChar, pf::kShiftKey);
    EXPECT_LT(sel_start(), sel_end());
    EXPECT_EQ(WEGetTextLength(we), 100);  // nothing typed
}

TEST_F(Selection, SettingTheSelectionPinsAndOrdersIt) {
    make();
    set_text("0123456789");
    select(5, 2);
    expect_selection(2, 5);
    EXPECT_TRUE(WEI(we).flags & weFAnchorIsEnd);
    select(-4, 99);
    expect_selection(0, 10);
}

TEST_F(Selection, TheHighlightCoversExactlyTheSelection) {
    make();
    WEActivate(we);
    set_text("highlight me");
    select(0, 12);
    select(3, 5);
    // Only the selected characters are inverted: what is left of the old
    // selection was put back.
    pf::RgnHandle rgn = WEGetHiliteRgn(3, 5, we);
    pf::Rect r = pf::region_bounds(rgn);
    pf::dispose_region(rgn);
    EXPECT_NE(pixel(r.left, r.top), 0xFFFFFFu);
    EXPECT_EQ(pixel(r.left - 3, r.top), 0xFFFFFFu);
    EXPECT_EQ(pixel(r.right + 1, r.top), 0xFFFFFFu);
    select(4, 4);
    EXPECT_EQ(pixel(r.right - 1, r.top), 0xFFFFFFu);
}

}  // namespace
