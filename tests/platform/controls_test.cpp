#include "platform/controls/control_look.h"
#include "platform/controls/controls.h"
#include "platform/events/keyboard.h"
#include "platform/lists/lists.h"
#include "platform/menus/menus.h"
#include "platform/screen/screen.h"
#include "platform/windows/windows.h"
#include "platform/scrap/scrap.h"
#include "platform/text/text.h"
#include "tests/platform/toolbox_test_support.h"

#include <string>
#include <vector>

namespace {

using pf::ControlRef;
using pf::Point;
using pf::Rect;
using toolboxtest::centre;

pf::WindowRef window = nullptr;
ControlRef clicked = nullptr;
int16_t clicked_part = 0;
std::vector<std::pair<int16_t, int32_t>> actions;  // (part, value) per action call

void record_action(ControlRef c, int16_t part) { actions.push_back({part, c->value}); }

// The window's event handling as an application does it.
void dispatch(const pf::EventRecord& e) {
    pf::PortScope scope(pf::window_port(window));
    switch (e.what) {
        case pf::kMouseDown: {
            Point local = e.where;
            pf::global_to_local(local);
            ControlRef c = nullptr;
            pf::find_control(local, window, &c);
            if (c) {
                clicked_part = pf::handle_control_click(c, local, e.modifiers, pf::kUseControlAction);
                clicked = c;
            }
            break;
        }
        case pf::kKeyDown:
        case pf::kAutoKey:
            if (pf::event_char(e) == pf::kTabChar)
                (e.modifiers & pf::kShiftKey) ? pf::reverse_keyboard_focus(window) : pf::advance_keyboard_focus(window);
            else
                pf::handle_control_key(pf::get_keyboard_focus(window), pf::event_char(e), e.modifiers);
            break;
        case pf::kUpdateEvent:
            pf::begin_update(window);
            pf::erase_rect(pf::window_port(window)->port_rect);
            pf::draw_controls(window);
            pf::end_update(window);
            break;
        default:
            break;
    }
}

struct Controls : toolboxtest::Screen {
    void SetUp() override {
        toolboxtest::Screen::SetUp();
        install(R"(
MENU 300 "Sizes" {
  title "Sizes"
  item "9"
  item "10"
  item "12"
  item "14"
}
)");
        window = pf::create_window(pf::kDocumentWindowClass, pf::kWindowCloseBoxAttribute, Rect{40, 20, 440, 620});
        pf::show_window(window);
        pf::create_root_control(window);
        clicked = nullptr;
        clicked_part = 0;
        actions.clear();
    }
    void TearDown() override {
        pf::controls_reset();
        toolboxtest::Screen::TearDown();
    }

    ControlRef make(int16_t kind, Rect r, const std::string& title = "", int32_t value = 0, int32_t min = 0,
                    int32_t max = 1) {
        return pf::new_control(window, r, title, true, value, min, max, kind, 0);
    }
    Point global(Point local) {
        pf::PortScope scope(pf::window_port(window));
        pf::local_to_global(local);
        return local;
    }
    void run() { pf::driver_run_until_idle(dispatch); }
    void click(Point local, uint16_t modifiers = 0) {
        pf::driver_click(global(local), modifiers);
        run();
    }
    // Holds the button at a point for `steps` script steps.
    void hold(Point local, int steps) {
        Point g = global(local);
        pf::driver_press(g);
        for (int i = 0; i < steps; ++i) pf::driver_move(g);
        pf::driver_release(g);
        run();
    }
    void type(const std::string& text) {
        pf::driver_type(text);
        run();
    }
    void key(unsigned char ch, uint8_t code, uint16_t modifiers = 0) {
        pf::driver_key(code, ch, modifiers);
        run();
    }
    std::string text_of(ControlRef c, pf::FourCC tag = pf::kControlEditTextTextTag) {
        char buffer[256];
        size_t size = 0;
        EXPECT_EQ(pf::get_control_data(c, 0, tag, sizeof buffer, buffer, &size), pf::noErr);
        return std::string(buffer, size);
    }
};

TEST_F(Controls, PushButtonAnswersOnlyWhenReleasedInside) {
    ControlRef ok = make(pf::kPushButtonControl, Rect{20, 20, 40, 100}, "OK");
    click(centre(ok->bounds));
    EXPECT_EQ(clicked, ok);
    EXPECT_EQ(clicked_part, pf::kControlButtonPart);
    pf::driver_drag(global(centre(ok->bounds)), global(Point{200, 300}));
    run();
    EXPECT_EQ(clicked_part, pf::kControlNoPart);
    pf::deactivate_control(ok);
    clicked = nullptr;
    click(centre(ok->bounds));
    EXPECT_EQ(clicked, nullptr);
}

TEST_F(Controls, ScrollBarPartsFollowTheThumb) {
    ControlRef bar = make(pf::kScrollBarControl, Rect{20, 300, 220, 316}, "", 0, 0, 100);
    EXPECT_EQ(pf::test_control(bar, Point{25, 308}), pf::kControlUpButtonPart);
    EXPECT_EQ(pf::test_control(bar, Point{215, 308}), pf::kControlDownButtonPart);
    EXPECT_EQ(pf::test_control(bar, Point{40, 308}), pf::kControlIndicatorPart);
    EXPECT_EQ(pf::test_control(bar, Point{120, 308}), pf::kControlPageDownPart);
    pf::set_control_value(bar, 100);
    EXPECT_EQ(pf::test_control(bar, Point{120, 308}), pf::kControlPageUpPart);
    EXPECT_EQ(pf::test_control(bar, Point{196, 308}), pf::kControlIndicatorPart);
    pf::set_control_value(bar, 250);  // pinned
    EXPECT_EQ(pf::get_control_value(bar), 100);
    pf::set_control_maximum(bar, 0);  // nothing to scroll: no thumb, no pages
    EXPECT_EQ(pf::test_control(bar, Point{120, 308}), pf::kControlNoPart);
    ControlRef across = make(pf::kScrollBarControl, Rect{240, 20, 256, 220}, "", 0, 0, 10);
    EXPECT_EQ(pf::test_control(across, Point{248, 25}), pf::kControlUpButtonPart);
    EXPECT_EQ(pf::test_control(across, Point{248, 215}), pf::kControlDownButtonPart);
}

TEST_F(Controls, ThumbTracksLiveAndArrowsRepeatWhileHeld) {
    ControlRef bar = make(pf::kScrollBarControl, Rect{20, 300, 220, 316}, "", 0, 0, 100);
    pf::set_control_action(bar, record_action);
    Rect thumb{35, 300, 51, 316};
    pf::driver_drag(global(centre(thumb)), global(Point{120, 308}), 0, 8);
    run();
    EXPECT_EQ(clicked_part, pf::kControlIndicatorPart);
    ASSERT_GE(actions.size(), 3u);  // called as the value moved, not only at the end
    for (size_t i = 1; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i].first, pf::kControlIndicatorPart);
        EXPECT_GT(actions[i].second, actions[i - 1].second);
    }
    EXPECT_NEAR(pf::get_control_value(bar), 50, 3);

    actions.clear();
    click(Point{215, 308});  // a short click: one step
    EXPECT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].first, pf::kControlDownButtonPart);
    actions.clear();
    hold(Point{215, 308}, 100);  // held: a pause, then repeats
    EXPECT_GT(actions.size(), 5u);
    EXPECT_LT(actions.size(), 50u);
    actions.clear();
    hold(Point{190, 308}, 4);  // the page below the thumb
    ASSERT_FALSE(actions.empty());
    EXPECT_EQ(actions[0].first, pf::kControlPageDownPart);
}

TEST_F(Controls, LittleArrowsCallTheirActionWithUpAndDown) {
    ControlRef arrows = make(pf::kLittleArrowsControl, Rect{20, 200, 42, 213}, "", 5, 0, 10);
    pf::set_control_action(arrows, record_action);
    click(Point{24, 206});
    click(Point{38, 206});
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].first, pf::kControlUpButtonPart);
    EXPECT_EQ(actions[1].first, pf::kControlDownButtonPart);
}

TEST_F(Controls, EditTextTypingSelectionAndTab) {
    ControlRef name = make(pf::kEditTextControl, Rect{20, 20, 42, 220}, "");
    ControlRef other = make(pf::kEditTextControl, Rect{60, 20, 82, 220}, "preset");
    ControlRef secret = make(pf::kPasswordTextControl, Rect{100, 20, 122, 220}, "");
    click(centre(name->bounds));
    EXPECT_EQ(pf::get_keyboard_focus(window), name);
    type("hello");
    EXPECT_EQ(text_of(name), "hello");
    key(pf::kLeftArrowChar, pf::kKeyCodeLeftArrow, pf::kShiftKey);
    key(pf::kLeftArrowChar, pf::kKeyCodeLeftArrow, pf::kShiftKey);
    pf::ControlEditTextSelection sel;
    ASSERT_EQ(pf::get_control_data(name, 0, pf::kControlEditTextSelectionTag, sizeof sel, &sel, nullptr), pf::noErr);
    EXPECT_EQ(sel.sel_start, 5);
    EXPECT_EQ(sel.sel_end, 3);
    type("p");
    EXPECT_EQ(text_of(name), "help");
    key(pf::kBackspaceChar, pf::kKeyCodeBackspace);
    EXPECT_EQ(text_of(name), "hel");

    key(pf::kTabChar, pf::kKeyCodeTab);  // to the next field, its text all selected
    EXPECT_EQ(pf::get_keyboard_focus(window), other);
    type("x");
    EXPECT_EQ(text_of(other), "x");
    key(pf::kTabChar, pf::kKeyCodeTab);
    type("pw");
    EXPECT_EQ(text_of(secret), "\xA5\xA5");
    EXPECT_EQ(text_of(secret, pf::kControlEditTextPasswordTag), "pw");
    key(pf::kTabChar, pf::kKeyCodeTab);  // wraps around
    EXPECT_EQ(pf::get_keyboard_focus(window), name);
    key(pf::kTabChar, pf::kKeyCodeTab, pf::kShiftKey);
    EXPECT_EQ(pf::get_keyboard_focus(window), secret);
}

// Typed over whole, a field takes the script of what is typed: an accented
// letter over Cyrillic text is Roman, not the Cyrillic letter of its byte.
TEST_F(Controls, EditTextTypedOverWholeTakesTheKeyboardScript) {
    ControlRef field = make(pf::kEditTextControl, Rect{20, 20, 42, 320}, "");
    click(centre(field->bounds));
    type("\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0");  // Москва
    EXPECT_EQ(pf::edit_text_script(field), pf::kScriptCyrillic);
    key('a', 0, pf::kCmdKey);
    type("\xC3\xA9t\xC3\xA9");  // été
    EXPECT_EQ(pf::edit_text_script(field), pf::kScriptRoman);
    EXPECT_EQ(text_of(field), "\x8Et\x8E");
    type("\xD0\x96");  // Ж beside Roman letters: each keeps its script
    EXPECT_EQ(pf::edit_text_script(field), pf::kSeveralScripts);
    EXPECT_EQ(pf::edit_text_utf8(field), "\xC3\xA9t\xC3\xA9\xD0\x96");
    pf::set_keyboard_script(pf::kScriptRoman);
}

// Letters typed on several keyboards read as they were typed, also when read
// after all of them are typed, after an edit and an undo too, and reach the
// clipboard so; pasted back, they read the same.
TEST_F(Controls, EditTextKeepsLettersTypedInSeveralScripts) {
    ControlRef field = make(pf::kEditTextControl, Rect{20, 20, 42, 320}, "");
    click(centre(field->bounds));
    pf::driver_type("caf\xC3\xA9");
    pf::driver_type("\xE6\x9D\xB1\xE4\xBA\xAC");  // 東京 on a Japanese keyboard, typed before café is read
    run();
    EXPECT_EQ(pf::edit_text_utf8(field), "caf\xC3\xA9\xE6\x9D\xB1\xE4\xBA\xAC");
    EXPECT_EQ(pf::edit_text_script(field), pf::kSeveralScripts);
    type("!");
    key('z', 0, pf::kCmdKey);
    EXPECT_EQ(pf::edit_text_utf8(field), "caf\xC3\xA9\xE6\x9D\xB1\xE4\xBA\xAC");

    pf::scrap_reset();
    key('a', 0, pf::kCmdKey);
    key('c', 0, pf::kCmdKey);
    std::vector<uint8_t> clipboard;
    ASSERT_EQ(pf::get_scrap(pf::kScrapUnicodeText, clipboard), pf::noErr);
    EXPECT_EQ(std::string(clipboard.begin(), clipboard.end()), "caf\xC3\xA9\xE6\x9D\xB1\xE4\xBA\xAC");
    pf::edit_text_select(field, 0, 0);
    pf::edit_text_paste(field);  // spelled in runs, as the program spells an entry
    EXPECT_EQ(pf::edit_text_utf8(field), "caf\xC3\xA9\xE6\x9D\xB1\xE4\xBA\xAC" "caf\xC3\xA9\xE6\x9D\xB1\xE4\xBA\xAC");
    pf::set_keyboard_script(pf::kScriptRoman);
}

// Arrows, Backspace and forward Delete take the two bytes of a Japanese
// letter together, beside Roman letters too.
TEST_F(Controls, EditTextMovesAndDeletesWholeTwoByteCharacters) {
    ControlRef field = make(pf::kEditTextControl, Rect{20, 20, 42, 320}, "");
    click(centre(field->bounds));
    type("a\xE6\x9D\xB1\xE4\xBA\xAC\xE5\xA4\xA7");  // a東京大, the letters on a Japanese keyboard
    key(pf::kLeftArrowChar, pf::kKeyCodeLeftArrow);
    type("-");
    EXPECT_EQ(pf::edit_text_utf8(field), "a\xE6\x9D\xB1\xE4\xBA\xAC-\xE5\xA4\xA7");
    key(pf::kBackspaceChar, pf::kKeyCodeBackspace);
    key(pf::kBackspaceChar, pf::kKeyCodeBackspace);
    EXPECT_EQ(pf::edit_text_utf8(field), "a\xE6\x9D\xB1\xE5\xA4\xA7");
    key(pf::kHomeChar, pf::kKeyCodeHome);
    key(pf::kRightArrowChar, pf::kKeyCodeRightArrow);
    key(pf::kDeleteChar, pf::kKeyCodeForwardDelete);
    EXPECT_EQ(pf::edit_text_utf8(field), "a\xE5\xA4\xA7");
    key(pf::kRightArrowChar, pf::kKeyCodeRightArrow);
    key(pf::kLeftArrowChar, pf::kKeyCodeLeftArrow, pf::kShiftKey);
    type("b");
    EXPECT_EQ(pf::edit_text_utf8(field), "ab");
    pf::set_keyboard_script(pf::kScriptRoman);
}

bool refusing_speller(std::string_view, bool pasted, std::string& bytes, std::vector<int16_t>& scripts) {
    bytes = "set";
    scripts.assign(bytes.size(), pf::kScriptRoman);
    return !pasted;
}

// A paste the speller refuses (the user cancelled it) changes nothing.
TEST_F(Controls, EditTextPastesNothingTheSpellerRefuses) {
    ControlRef field = make(pf::kEditTextControl, Rect{20, 20, 42, 320}, "kept");
    pf::set_edit_text_speller(refusing_speller);
    pf::scrap_reset();
    const std::string pasted = "pasted";
    pf::put_scrap(pf::kScrapText, pasted.data(), pasted.size());
    pf::edit_text_paste(field);
    EXPECT_EQ(text_of(field), "kept");
    pf::set_edit_text_utf8(field, "anything");
    EXPECT_EQ(text_of(field), "set");
    pf::set_edit_text_speller(nullptr);
}

TEST_F(Controls, EditTextSelectsByDraggingAndShiftClick) {
    ControlRef field = make(pf::kEditTextControl, Rect{20, 20, 42, 320}, "hello world");
    pf::driver_drag(global(Point{31, 23}), global(Point{31, 60}));
    run();
    pf::ControlEditTextSelection sel;
    pf::get_control_data(field, 0, pf::kControlEditTextSelectionTag, sizeof sel, &sel, nullptr);
    EXPECT_EQ(sel.sel_start, 0);
    EXPECT_GT(sel.sel_end, 2);
    EXPECT_LT(sel.sel_end, 11);
    click(Point{31, 300}, pf::kShiftKey);  // extends to the end
    pf::get_control_data(field, 0, pf::kControlEditTextSelectionTag, sizeof sel, &sel, nullptr);
    EXPECT_EQ(std::min(sel.sel_start, sel.sel_end), 0);
    EXPECT_EQ(std::max(sel.sel_start, sel.sel_end), 11);
    type("new");
    EXPECT_EQ(text_of(field), "new");
}

TEST_F(Controls, EditTextTakesAWordByADoubleClickAndTheWholeTextByATripleClick) {
    ControlRef field = make(pf::kEditTextControl, Rect{20, 20, 42, 320}, "hello world");
    const Point on_hello{31, 26};
    click(on_hello);
    click(on_hello);
    type("bye");
    EXPECT_EQ(text_of(field), "bye world");
    for (int i = 0; i < 3; ++i) click(on_hello);
    type("all");
    EXPECT_EQ(text_of(field), "all");
    ControlRef secret = make(pf::kPasswordTextControl, Rect{50, 20, 72, 320}, "two words");
    click(Point{61, 26});
    click(Point{61, 26});
    type("x");
    EXPECT_EQ(text_of(secret).size(), 1u);  // a password's words are not told apart: all was replaced
}

TEST_F(Controls, EditTextTakesCommandKeyEditing) {
    ControlRef field = make(pf::kEditTextControl, Rect{20, 20, 42, 320}, "");
    click(centre(field->bounds));
    type("hello");
    pf::scrap_reset();
    key('a', 0, pf::kCmdKey);
    key('x', 7, pf::kCmdKey);
    EXPECT_EQ(text_of(field), "");
    key('v', 9, pf::kCmdKey);
    key('V', 9, pf::kCmdKey | pf::kShiftKey);
    EXPECT_EQ(text_of(field), "hellohello");
    key('z', 6, pf::kCmdKey);  // takes back the last paste
    EXPECT_EQ(text_of(field), "hello");
    key('z', 6, pf::kCmdKey);  // and puts it again
    EXPECT_EQ(text_of(field), "hellohello");
    key('a', 0, pf::kCmdKey);
    type("w");
    key('c', 8, pf::kCmdKey);  // nothing selected: the clipboard keeps the cut text
    std::vector<uint8_t> clipboard;
    pf::get_scrap(pf::kScrapText, clipboard);
    EXPECT_EQ(std::string(clipboard.begin(), clipboard.end()), "hello");
    key('q', 12, pf::kCmdKey);  // a menu command, not typing
    EXPECT_EQ(text_of(field), "w");
}

bool digits_only(ControlRef, unsigned char& ch, uint16_t) { return ch >= '0' && ch <= '9'; }

TEST_F(Controls, EditTextFilterClipboardAndLengthLimit) {
    ControlRef number = make(pf::kEditTextControl, Rect{20, 20, 42, 220}, "");
    pf::ControlKeyFilterProc filter = digits_only;
    ASSERT_EQ(pf::set_control_data(number, 0, pf::kControlEditTextKeyFilterTag, sizeof filter, &filter), pf::noErr);
    pf::set_keyboard_focus(window, number, pf::kControlFocusNextPart);
    type("1a2b3");
    EXPECT_EQ(text_of(number), "123");

    pf::scrap_reset();
    pf::edit_text_select(number, 0, 2);
    pf::edit_text_cut(number);
    EXPECT_EQ(text_of(number), "3");
    pf::edit_text_select(number, 1, 1);
    pf::edit_text_paste(number);
    EXPECT_EQ(text_of(number), "312");

    std::string long_text(pf::kMaxEditTextLength, 'x');
    ASSERT_EQ(pf::set_control_data(number, 0, pf::kControlEditTextTextTag, long_text.size(), long_text.data()), pf::noErr);
    pf::edit_text_select(number, 0, 0);
    pf::edit_text_paste(number);  // would pass the limit: refused, nothing lost
    EXPECT_EQ(text_of(number), long_text);

    ControlRef secret = make(pf::kPasswordTextControl, Rect{60, 20, 82, 220}, "hidden");
    pf::scrap_reset();
    pf::edit_text_select(secret, 0, 6);
    pf::edit_text_copy(secret);  // a password never reaches the clipboard
    std::vector<uint8_t> clipboard;
    pf::get_scrap(pf::kScrapText, clipboard);
    EXPECT_EQ(std::string(clipboard.begin(), clipboard.end()), "12");
}

TEST_F(Controls, CheckBoxRadioAndPopUpButton) {
    ControlRef box = make(pf::kCheckBoxControl, Rect{20, 20, 38, 200}, "Show grid");
    click(centre(box->bounds));
    EXPECT_EQ(clicked_part, pf::kControlCheckBoxPart);
    EXPECT_EQ(pf::get_control_value(box), 0);  // the application flips it
    pf::set_control_value(box, pf::kControlCheckBoxMixedValue);
    EXPECT_EQ(pf::get_control_value(box), 1);  // pinned to its maximum 1

    ControlRef size = make(pf::kPopupButtonControl, Rect{60, 20, 80, 200}, "Size:", 0, 300, 0);
    EXPECT_EQ(pf::get_control_value(size), 1);
    EXPECT_EQ(pf::get_control_maximum(size), 4);
    Point at = global(centre(size->bounds));
    // The menu pops up with the current item under the button; two items down is item 3.
    pf::driver_drag(at, Point{int16_t(at.v + 45), at.h}, 0, 6);
    run();
    EXPECT_EQ(clicked_part, pf::kControlMenuPart);
    EXPECT_EQ(pf::get_control_value(size), 3);
    pf::MenuRef menu = nullptr;
    ASSERT_EQ(pf::get_control_data(size, 0, pf::kControlPopupButtonMenuHandleTag, sizeof menu, &menu, nullptr), pf::noErr);
    EXPECT_EQ(pf::get_menu_item_text(menu, 3), "12");
}

// A pop-up button shows its chosen item as the open menu does: a UTF-8 item
// letter by letter in the fonts of its scripts, never as marks; an ASCII one
// as its Mac Roman twin.
TEST_F(Controls, APopUpButtonShowsAUtf8ItemAsItReads) {
    ControlRef popup = make(pf::kPopupButtonControl, Rect{60, 20, 80, 260}, "", 0, 300, 0);
    pf::MenuRef menu = nullptr;
    ASSERT_EQ(pf::get_control_data(popup, 0, pf::kControlPopupButtonMenuHandleTag, sizeof menu, &menu, nullptr),
              pf::noErr);
    const auto face = [&] {
        pf::draw_one_control(popup);
        pf::compose_screen();
        const Point from = global(Point{popup->bounds.top, popup->bounds.left});
        const Point to = global(Point{popup->bounds.bottom, popup->bounds.right});
        std::vector<uint32_t> pixels;
        for (int v = from.v; v < to.v; ++v)
            for (int h = from.h; h < to.h; ++h) pixels.push_back(pf::screen_pixel(h, v));
        return pixels;
    };
    pf::set_menu_item_utf8_text(menu, 1, "Rozpo\xC4\x8D" "et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82");
    const std::vector<uint32_t> letters = face();
    pf::set_menu_item_utf8_text(menu, 1, "Rozpo?et ??????");
    const std::vector<uint32_t> marks = face();
    EXPECT_NE(letters, marks);
    pf::set_menu_item_text(menu, 1, "Rozpo?et ??????");
    EXPECT_EQ(face(), marks);
}

TEST_F(Controls, EmbeddedControlsFollowTheirContainer) {
    ControlRef group = make(pf::kGroupBoxControl, Rect{20, 20, 120, 220}, "Options");
    ControlRef inner = make(pf::kCheckBoxControl, Rect{40, 30, 58, 200}, "Inner");
    pf::embed_control(inner, group);
    pf::move_control(group, 40, 200);
    EXPECT_EQ(inner->bounds, (Rect{220, 50, 238, 220}));
    pf::hide_control(group);
    EXPECT_FALSE(pf::is_control_visible(inner));
    ControlRef found = nullptr;
    EXPECT_EQ(pf::find_control(centre(inner->bounds), window, &found), 0);
    EXPECT_EQ(found, nullptr);
    pf::show_control(group);
    EXPECT_EQ(pf::find_control(centre(inner->bounds), window, &found), pf::kControlCheckBoxPart);
    EXPECT_EQ(found, inner);
    pf::deactivate_control(group);
    EXPECT_FALSE(pf::is_control_active(inner));
    pf::embed_control(group, inner);  // a container cannot go inside its contents
    EXPECT_EQ(inner->parent, group);
}

std::vector<std::string> pane_log;
void pane_draw(ControlRef c, int16_t) { pf::fill_rect_color(c->bounds, pf::RGBColor{0, 0, 0xFFFF}); }
int16_t pane_hit(ControlRef c, Point where) { return where.h < (c->bounds.left + c->bounds.right) / 2 ? 1 : 2; }
int16_t pane_key(ControlRef, unsigned char ch, uint16_t) {
    pane_log.push_back(std::string("key ") + char(ch));
    return 1;
}
int16_t pane_focus(ControlRef, int16_t part) {
    pane_log.push_back(part == pf::kControlFocusNoPart ? "blur" : "focus");
    return part;
}

TEST_F(Controls, UserPanesDrawHitTestTakeKeysAndFocus) {
    ControlRef field = make(pf::kEditTextControl, Rect{20, 20, 42, 220}, "");
    ControlRef pane = make(pf::kUserPaneControl, Rect{60, 20, 100, 220});
    pf::UserPaneDrawProc draw = pane_draw;
    pf::UserPaneHitTestProc hit = pane_hit;
    pf::UserPaneKeyDownProc keys = pane_key;
    pf::UserPaneFocusProc focus = pane_focus;
    ASSERT_EQ(pf::set_control_data(pane, 0, pf::kControlUserPaneDrawProcTag, sizeof draw, &draw), pf::noErr);
    ASSERT_EQ(pf::set_control_data(pane, 0, pf::kControlUserPaneHitTestProcTag, sizeof hit, &hit), pf::noErr);
    ASSERT_EQ(pf::set_control_data(pane, 0, pf::kControlUserPaneKeyDownProcTag, sizeof keys, &keys), pf::noErr);
    ASSERT_EQ(pf::set_control_data(pane, 0, pf::kControlUserPaneFocusProcTag, sizeof focus, &focus), pf::noErr);
    pf::draw_controls(window);
    EXPECT_EQ(pixel(global(Point{80, 100})), 0x0000FFu);
    click(Point{80, 200});
    EXPECT_EQ(clicked, pane);
    EXPECT_EQ(clicked_part, 2);
    EXPECT_EQ(pf::get_keyboard_focus(window), pane);  // a click gives a pane with a focus procedure the focus
    pf::set_keyboard_focus(window, field, pf::kControlFocusNextPart);
    pane_log.clear();
    key(pf::kTabChar, pf::kKeyCodeTab);
    type("z");
    key(pf::kTabChar, pf::kKeyCodeTab);
    EXPECT_EQ(pane_log, (std::vector<std::string>{"focus", "key z", "blur"}));
    EXPECT_EQ(pf::get_keyboard_focus(window), field);
}

TEST_F(Controls, TagsOfAnotherKindAreRefused) {
    ControlRef button = make(pf::kPushButtonControl, Rect{20, 20, 40, 100}, "OK");
    char buffer[8];
    EXPECT_EQ(pf::get_control_data(button, 0, pf::kControlEditTextTextTag, sizeof buffer, buffer, nullptr),
              pf::kDataNotSupportedErr);
    uint8_t yes = 1;
    EXPECT_EQ(pf::set_control_data(button, 0, pf::kControlPushButtonDefaultTag, 1, &yes), pf::noErr);
    EXPECT_EQ(pf::get_window_default_button(window), button);
    pf::ControlEditTextSelection sel;
    ControlRef field = make(pf::kEditTextControl, Rect{60, 20, 82, 220}, "abc");
    EXPECT_EQ(pf::set_control_data(field, 0, pf::kControlEditTextSelectionTag, 1, &sel), pf::kParamErr);
    EXPECT_EQ(pf::set_keyboard_focus(window, button, pf::kControlFocusNextPart), pf::kControlNotFocusableErr);
}

// ---- List boxes -------------------------------------------------------------------

struct ListBoxes : Controls {
    ControlRef box = nullptr;
    pf::ListHandle list = nullptr;
    void SetUp() override {
        Controls::SetUp();
        box = make(pf::kListBoxControl, Rect{20, 20, 222, 220});
        ASSERT_EQ(pf::get_control_data(box, 0, pf::kControlListBoxListHandleTag, sizeof list, &list, nullptr), pf::noErr);
        pf::list_add_row(list, 30, 0);
        for (int16_t row = 0; row < 30; ++row)
            pf::list_set_cell(list, Point{row, 0}, (row % 2 ? "Beta " : "Alpha ") + std::to_string(row));
    }
    Point row_point(int16_t row) { return centre(pf::list_cell_rect(list, Point{row, 0})); }
    bool double_clicked() {
        uint8_t flag = 0;
        pf::get_control_data(box, 0, pf::kControlListBoxDoubleClickTag, 1, &flag, nullptr);
        return flag != 0;
    }
};

TEST_F(ListBoxes, ClickSelectsAndASecondClickSoonIsADoubleClick) {
    click(row_point(2));
    EXPECT_EQ(clicked_part, pf::kControlListBoxPart);
    EXPECT_EQ(pf::list_selected_rows(list), (std::vector<int16_t>{2}));
    EXPECT_FALSE(double_clicked());
    click(row_point(2));
    EXPECT_TRUE(double_clicked());
    pf::advance_clock(2000);  // too late for a double click
    click(row_point(2));
    EXPECT_FALSE(double_clicked());
    click(row_point(5), pf::kShiftKey);
    EXPECT_EQ(pf::list_selected_rows(list), (std::vector<int16_t>{2, 3, 4, 5}));
    click(row_point(3), pf::kCmdKey);
    EXPECT_EQ(pf::list_selected_rows(list), (std::vector<int16_t>{2, 4, 5}));
    list->sel_flags = pf::kListOnlyOne;
    click(row_point(7), pf::kShiftKey);
    EXPECT_EQ(pf::list_selected_rows(list), (std::vector<int16_t>{7}));
}

TEST_F(ListBoxes, KeysMoveTheSelectionAndTypingFindsARow) {
    pf::set_keyboard_focus(window, box, pf::kControlFocusNextPart);
    key(pf::kDownArrowChar, pf::kKeyCodeDownArrow);
    EXPECT_EQ(pf::list_selected_rows(list), (std::vector<int16_t>{0}));
    key(pf::kDownArrowChar, pf::kKeyCodeDownArrow);
    key(pf::kDownArrowChar, pf::kKeyCodeDownArrow, pf::kShiftKey);
    EXPECT_EQ(pf::list_selected_rows(list), (std::vector<int16_t>{1, 2}));
    type("beta 2");
    EXPECT_EQ(pf::list_selected_rows(list), (std::vector<int16_t>{21}));
    EXPECT_GT(list->top_row, 0);  // scrolled to show it
    key(pf::kHomeChar, pf::kKeyCodeHome);
    EXPECT_EQ(pf::list_selected_rows(list), (std::vector<int16_t>{0}));
    EXPECT_EQ(list->top_row, 0);
}

TEST_F(ListBoxes, ScrollBarScrollsTheRows) {
    ASSERT_NE(list->v_scroll, nullptr);
    EXPECT_EQ(list->v_scroll->parent, box);
    Rect bar = list->v_scroll->bounds;
    click(Point{int16_t(bar.bottom - 5), int16_t(bar.left + 8)});
    EXPECT_EQ(list->top_row, 1);
    click(Point{int16_t(bar.bottom - 30), int16_t(bar.left + 8)});  // a page
    EXPECT_GT(list->top_row, 5);
    click(row_point(list->top_row));
    EXPECT_EQ(pf::list_selected_rows(list), (std::vector<int16_t>{list->top_row}));
    pf::list_delete_row(list, 0, 0);
    EXPECT_EQ(pf::list_rows(list), 0);
    EXPECT_EQ(list->top_row, 0);
}

TEST_F(ListBoxes, RowsStopAtTheLargestCount) {
    pf::list_set_draw_mode(list, false);
    pf::list_add_row(list, INT16_MAX, 0);
    EXPECT_EQ(pf::list_rows(list), INT16_MAX);
    EXPECT_EQ(pf::list_add_row(list, 5, 0), INT16_MAX);
    EXPECT_EQ(pf::list_rows(list), INT16_MAX);
}

int drawn_cells = 0;
void counting_ldef(int16_t message, bool selected, const Rect& r, Point, std::string_view data, pf::ListHandle) {
    if (message != pf::kListDrawMsg) return;
    ++drawn_cells;
    pf::fill_rect_color(r, selected ? pf::RGBColor{0, 0xFFFF, 0} : pf::RGBColor{0xFFFF, 0xFFFF, 0});
    pf::draw_text_in_box(r, data, pf::TextAlign::kRight, pf::kLookText);
}

TEST_F(ListBoxes, CustomDefinitionDrawsTheCells) {
    pf::ListHandle custom = pf::new_list(Rect{20, 300, 120, 500}, 3, 1, Point{20, 0}, counting_ldef, window, true, false);
    drawn_cells = 0;
    pf::list_set_select(custom, true, Point{1, 0});
    EXPECT_EQ(drawn_cells, 1);
    pf::list_update(custom);
    EXPECT_EQ(drawn_cells, 4);
    Point g = global(Point{50, 310});
    EXPECT_EQ(pixel(g), 0x00FF00u);
    EXPECT_EQ(pixel(global(Point{30, 310})), 0xFFFF00u);
    pf::dispose_list(custom);
}

}  // namespace
