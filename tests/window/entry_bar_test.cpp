// The entry line in the running program: the command bar grows with an entry
// of several lines and shrinks back on commit, its scroll bar shows for a
// tall entry, and the Edit menu pastes, undoes and selects in the entry.
#include "road_fixture.h"

#include "editing/editing_commands.h"
#include "platform/draw/paint.h"
#include "platform/scrap/scrap.h"
#include "ui/app_prefs.h"
#include "shell/button_bars.h"
#include "shell/command_bar.h"
#include "shell/entry_scroll.h"
#include "shell/shell_commands.h"
#include "window/in_cell_editor.h"
#include "resource_ids.h"

namespace {

constexpr uint8_t kKeyCodeZ = 6;
constexpr uint8_t kKeyCodeV = 9;
constexpr int16_t kOneLineBar = 24;
constexpr int16_t kTallestBar = 65;

class EntryBarTest : public TypedRoadTest {
protected:
    int16_t bar_height() {
        const pf::Rect content = pf::window_content_rect(command_bar_window());
        return int16_t(content.bottom - content.top - edit_rect.top);
    }
    void new_line() {
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar, pf::kOptionKey);
        run_until_idle();
    }
    void command(uint8_t code, char key) {
        pf::driver_key(code, key, pf::kCmdKey);
        run_until_idle();
    }
    std::string line() {
        unsigned char text[1024];
        const int32_t length = entry_text(text, sizeof text);
        return std::string(reinterpret_cast<char*>(text), size_t(length));
    }
    WEReference entry() { return WEList.instance; }
    // The window that shows at a global point.
    pf::WindowRef window_at(pf::Point where) {
        pf::WindowRef found = nullptr;
        pf::find_window(where, &found);
        return found;
    }
};

TEST_F(EntryBarTest, TheCommandBarGrowsWithTheLinesOfAnEntryAndShrinksOnCommit) {
    pf::WindowRef bar = command_bar_window();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar_height(), kOneLineBar);
    // The document window's top lies just under the one-line bar.
    const pf::Rect doc = pf::window_content_rect(window);
    const pf::Rect content = pf::window_content_rect(bar);
    const pf::Point under_bar{int16_t(content.bottom + 10), int16_t(content.left + edit_rect.left + 40)};
    ASSERT_EQ(window_at(under_bar), window) << doc.top;

    click(CellPoint{1, 1});
    type("one");
    new_line();
    type("two");
    new_line();
    type("three");
    EXPECT_EQ(line(), "one\rtwo\rthree");
    const int16_t three_lines = int16_t(WEGetHeight(0, 3, entry()));
    EXPECT_EQ(bar_height(), three_lines);
    EXPECT_FALSE(pf::is_control_visible(icon_scroll)) << "three lines fit";
    EXPECT_EQ(window_at(under_bar), bar) << "the grown bar covers the window below";
    const pf::Rect grown{0, 0, int16_t(edit_rect.top + three_lines), int16_t(content.right - content.left)};
    EXPECT_TRUE(matches_golden("entry_bar_three_lines", bar, grown));

    press_return();
    EXPECT_EQ(Editor_Wind, nullptr);
    EXPECT_EQ(bar_height(), kOneLineBar) << "back to one line on commit";
    EXPECT_EQ(window_at(under_bar), window) << "the window below shows again";
    const pf::Point local{int16_t(under_bar.v - doc.top), int16_t(under_bar.h - doc.left)};
    EXPECT_NE(pixel(local.h, local.v), 0u) << "and is drawn there";
}

TEST_F(EntryBarTest, ATallEntryShowsTheScrollBarWhichScrollsTheText) {
    click(CellPoint{0, 0});
    type("1");
    for (char c = '2'; c <= '8'; ++c) {
        new_line();
        type(std::string(1, c));
    }
    EXPECT_EQ(bar_height(), kTallestBar) << "never beyond the tallest bar";
    ASSERT_TRUE(pf::is_control_visible(icon_scroll));
    const int32_t maximum = LCGetMax(icon_scroll);
    EXPECT_GT(maximum, 0) << "the text is taller than the line";
    EXPECT_EQ(LCGetValue(icon_scroll), maximum) << "the caret on the last line keeps the end in view";

    LongRect view, dest;
    HandleWEScroll(icon_scroll, pf::kControlUpButtonPart);
    WEGetViewRect(view, entry());
    WEGetDestRect(dest, entry());
    EXPECT_EQ(view.top - dest.top, LCGetValue(icon_scroll)) << "the text follows the bar";
    EXPECT_EQ(LCGetValue(icon_scroll), std::max(0, maximum - 16));
    for (int i = 0; i < 20; ++i) HandleWEScroll(icon_scroll, pf::kControlUpButtonPart);
    WEGetDestRect(dest, entry());
    EXPECT_EQ(dest.top, view.top) << "scrolled to the first line";

    // Selecting with the mouse below the entry line scrolls a line per pass.
    const pf::Rect content = pf::window_content_rect(command_bar_window());
    pf::driver_move(pf::Point{int16_t(content.top + edit_rect.bottom + 10), int16_t(content.left + edit_rect.left + 20)});
    {
        pf::PortScope scope(pf::window_port(command_bar_window()));
        EXPECT_TRUE(IconClickLoop(entry()));
        EXPECT_TRUE(IconClickLoop(entry()));
    }
    WEGetDestRect(dest, entry());
    EXPECT_EQ(view.top - dest.top, 32);
    EXPECT_EQ(LCGetValue(icon_scroll), 32);

    press_return();
    EXPECT_FALSE(pf::is_control_visible(icon_scroll));
    EXPECT_EQ(bar_height(), kOneLineBar);
}

TEST_F(EntryBarTest, ALongTextOfASelectedCellShowsItsFirstLineWholeAndNothingBelow) {
    click(CellPoint{0, 0});
    enter("A text long enough to wrap in the entry line, which it must do more than once when it is shown "
          "in full, since it runs on and on past the width of the command bar");
    click(CellPoint{0, 0});
    ASSERT_EQ(Editor_Wind, nullptr);
    ASSERT_GT(WECountLines(entry()), 1);
    EXPECT_EQ(bar_height(), kOneLineBar);
    // The dark pixels of the entry line's rows from `top` to the bar's bottom.
    pf::WindowRef bar = command_bar_window();
    const auto ink_from = [&](int top) {
        const pf::Rect content = pf::window_content_rect(bar);
        int ink = 0;
        for (int y = top; y < content.bottom - content.top; ++y)
            for (int x = edit_rect.left; x < edit_rect.right; ++x) ink += (pixel(x, y, bar) & 0xFF) < 0x80;
        return ink;
    };
    const int second_line_top = edit_rect.top + WEGetHeight(0, 1, entry());
    EXPECT_GT(ink_from(edit_rect.top), 100) << "the first line shows";
    EXPECT_EQ(ink_from(second_line_top), 0) << "and no cut second line below it";

    // Editing shows every line, the bar grown to them.
    const pf::Rect content = pf::window_content_rect(bar);
    pf::driver_click(pf::Point{int16_t(content.top + edit_rect.top + 4), int16_t(content.left + edit_rect.left + 20)});
    run_until_idle();
    ASSERT_NE(Editor_Wind, nullptr);
    EXPECT_EQ(bar_height(), std::min<int32_t>(WEGetHeight(0, WECountLines(entry()), entry()), kTallestBar));
    EXPECT_GT(ink_from(second_line_top), 100);
}

TEST_F(EntryBarTest, PastedTextWithLineBreaksJoinsTheEntryAndUndoTakesItBack) {
    pf::zero_scrap();
    const std::string pasted = "x\ry";
    ASSERT_EQ(pf::put_scrap(pf::kScrapText, pasted.data(), pasted.size()), pf::noErr);
    pf::scrap_system_changed();
    click(CellPoint{0, 0});
    type("ab");
    command(kKeyCodeV, 'v');
    EXPECT_EQ(line(), "abx\ry") << "pasted at the caret, not into the cells";
    EXPECT_GT(bar_height(), kOneLineBar) << "the bar grows for the second line";
    EXPECT_EQ(WEList.in_cell_range.botRight.v, 1) << "the in-cell view follows";

    command(kKeyCodeZ, 'z');
    EXPECT_EQ(line(), "ab") << "undo takes the paste back";
    EXPECT_EQ(bar_height(), kOneLineBar);
    DoEditMenu(window_doc_record(window), kEditRedoItem);
    run_until_idle();
    EXPECT_EQ(line(), "abx\ry") << "and the engine's redo puts it back";
    press_return();
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell))), "abx\ry");
    EXPECT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 1}, layer) == 0) << "nothing pasted into the cells";
}

TEST_F(EntryBarTest, TypingIsUndoneAndStyledTextPastesWithItsStyles) {
    click(CellPoint{2, 0});
    type("plain");
    command(kKeyCodeZ, 'z');
    EXPECT_EQ(line(), "") << "undo of the typing";
    type("bold");
    WESetSelection(0, 4, entry());
    WETextStyle style;
    style.tsFace = pf::kBold;
    WESetStyle(weDoFace, style, entry());
    ASSERT_EQ(WECopy(entry()), pf::noErr);
    pf::scrap_system_changed();
    WESetSelection(4, 4, entry());
    style.tsFace = 0;
    WESetStyle(weDoFace | weDoReplaceFace, style, entry());
    type("-");
    command(kKeyCodeV, 'v');
    EXPECT_EQ(line(), "bold-bold");
    WERunInfo run;
    WEGetRunInfo(6, run, entry());
    EXPECT_TRUE(run.runAttrs.runStyle.tsFace & pf::kBold) << "the pasted text keeps its face";
    WEGetRunInfo(4, run, entry());
    EXPECT_FALSE(run.runAttrs.runStyle.tsFace & pf::kBold);
}

TEST_F(EntryBarTest, TheEditingBarOfThePreferencesShowsWhileACellIsEdited) {
    ASSERT_GE(button_list.size(), 2u);
    app_prefs.editing_bar = 2;
    const int16_t shown = app_prefs.bar_shown;
    ASSERT_NE(shown, 1);
    click(CellPoint{0, 0});
    type("5");
    EXPECT_EQ(app_prefs.bar_shown, 1) << "the second bar while editing";
    press_return();
    EXPECT_EQ(app_prefs.bar_shown, shown) << "the bar shown before comes back";
    type("6");
    pf::driver_key(pf::kKeyCodeEscape, 27);
    run_until_idle();
    EXPECT_EQ(app_prefs.bar_shown, shown) << "also when the entry is abandoned";
    app_prefs.editing_bar = 0;
}

// The cancel and accept boxes show while a cell is being edited and go with the entry.
TEST_F(EntryBarTest, TheCancelAndAcceptBoxesShowOnlyWhileACellIsEdited) {
    pf::WindowRef bar = command_bar_window();
    ASSERT_NE(bar, nullptr);
    // How many pixels of a box have the colour.
    auto painted = [&](pf::Rect box, uint32_t colour) {
        pf::Port* port = pf::window_port(bar);
        pf::surface_flush(*port);
        int count = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                count += (pf::surface_row(*port, y - port->bounds.top)[x - port->bounds.left] & 0xFFFFFF) == colour;
        return count;
    };
    constexpr uint32_t kCross = 0xCC0000, kTick = 0x009933;
    EXPECT_EQ(painted(cancel_box_rect(), kCross), 0);
    click(CellPoint{1, 1});
    type("x");
    run_until_idle();
    EXPECT_GT(painted(cancel_box_rect(), kCross), 8);
    EXPECT_GT(painted(accept_box_rect(), kTick), 8);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    run_until_idle();
    EXPECT_EQ(painted(cancel_box_rect(), kCross), 0);
    EXPECT_EQ(painted(accept_box_rect(), kTick), 0);
}

}  // namespace
