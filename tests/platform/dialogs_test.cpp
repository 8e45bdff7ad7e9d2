#include "platform/controls/control_look.h"
#include "platform/dialogs/dialogs.h"
#include "platform/events/keyboard.h"
#include "platform/lists/lists.h"
#include "tests/platform/toolbox_test_support.h"

#include <string>
#include <vector>

namespace {

using pf::DialogRef;
using pf::Point;
using pf::Rect;
using toolboxtest::centre;

constexpr const char* kDialogs = R"(
MENU 300 "Units" {
  title "Units"
  item "Points"
  item "Inches"
  item "Centimetres"
}
CNTL 501 {
  rect 150 300 170 480
  kind popup_button
  title "Units:"
  menu 300
}
CNTL 502 {
  rect 40 300 140 480
  kind group_box
  title "Alignment"
}
CNTL 503 {
  rect 190 300 290 480
  kind list_box
}
CNTL 504 {
  rect 190 500 290 516
  kind scroll_bar
  maximum 10
}
CNTL 505 {
  rect 60 200 82 213
  kind little_arrows
  maximum 10
}
ics# 128 {
  ......####......
  ....##oooo##....
  ...#oooooooo#...
  ..#oooo##oooo#..
  .#ooooo##ooooo#.
  .#oooooooooooo#.
  #oooooo##oooooo#
  #oooooo##oooooo#
  #oooooo##oooooo#
  #oooooo##oooooo#
  .#ooooo##ooooo#.
  .#ooooo##ooooo#.
  ..#oooooooooo#..
  ...#oooooooo#...
  ....##oooo##....
  ......####......
}
PICT 506 {
  frame 0 0 40 60
  fore_color 0 0x8000 0
  paint_oval 0 0 40 60
  frame_rect 0 0 40 60
}
DITL 500 {
  button 310 420 330 500 "OK"
  button 310 320 330 400 "Cancel"
  static 15 20 35 280 "Name of ^0:"
  edit 40 20 62 180 "Untitled"
  check 90 20 108 200 "Show grid lines"
  radio 60 320 78 470 "Left"
  radio 85 320 103 470 "Right"
  control 0 0 0 0 501
  icon 120 20 136 36 128
  picture 150 20 190 80 506
  user 150 100 190 260
  control 0 0 0 0 502
  control 0 0 0 0 503
  control 0 0 0 0 504
  control 0 0 0 0 505
  static 220 20 290 280 "A static text that is long enough to be broken into more than one line inside its box."
}
DLOG 500 {
  rect 0 0 340 530
  kind movable_modal
  title "Every Kind of Item"
  position center
}
DITL 510 {
  check 0 20 18 200 "Appended one"
  check 20 20 38 200 "Appended two"
}
DITL 600 {
  button 90 300 110 380 "OK"
  button 90 210 110 290 "Cancel"
  static 10 70 80 380 "^0"
}
ALRT 600 {
  rect 0 0 120 400
}
ALRT 601 {
  rect 0 0 120 400
  items 600
  stages 0x0000
}
)";

DialogRef dialog = nullptr;
std::vector<std::string> other_events;

void user_item(DialogRef d, int16_t item) {
    Rect box = pf::get_dialog_item_box(d, item);
    pf::fill_rect_color(box, pf::RGBColor{0xFFFF, 0xEEEE, 0xAAAA});
    pf::frame_rect_color(box, pf::kLookFrame);
    pf::draw_text_in_box(box, "user item", pf::TextAlign::kCenter, pf::kLookText);
}

struct Dialogs : toolboxtest::Screen {
    void SetUp() override {
        toolboxtest::Screen::SetUp();
        install(kDialogs);
        other_events.clear();
        dialog = pf::get_new_dialog(500);
        ASSERT_NE(dialog, nullptr);
        pf::set_dialog_default_item(dialog, 1);
        pf::set_dialog_cancel_item(dialog, 2);
        pf::set_dialog_item_user_proc(dialog, 11, user_item);
        pf::select_window(pf::get_dialog_window(dialog));
        pf::draw_dialog(dialog);
    }
    void TearDown() override {
        pf::dialogs_reset();
        pf::controls_reset();
        toolboxtest::Screen::TearDown();
    }
    Point item_point(int16_t item) {
        Point p = centre(pf::get_dialog_item_box(dialog, item));
        pf::PortScope scope(pf::window_port(pf::get_dialog_window(dialog)));
        pf::local_to_global(p);
        return p;
    }
};

TEST_F(Dialogs, ItemsComeFromTheTemplate) {
    EXPECT_EQ(pf::count_dialog_items(dialog), 16);
    EXPECT_EQ(pf::get_dialog_item_kind(dialog, 4), pf::kEditTextItem);
    EXPECT_EQ(pf::get_dialog_item_text(dialog, 4), "Untitled");
    EXPECT_EQ(pf::get_dialog_item_text(dialog, 1), "OK");
    EXPECT_EQ(pf::get_dialog_keyboard_focus(dialog), 4);  // the first edit text, all selected
    pf::ControlEditTextSelection sel;
    pf::get_control_data(pf::get_dialog_item_control(dialog, 4), 0, pf::kControlEditTextSelectionTag, sizeof sel, &sel,
                         nullptr);
    EXPECT_EQ(sel.sel_start, 0);
    EXPECT_EQ(sel.sel_end, 8);
    pf::ControlRef popup = pf::get_dialog_item_control(dialog, 8);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->kind, pf::kPopupButtonControl);
    EXPECT_EQ(popup->bounds, (Rect{150, 300, 170, 480}));
    EXPECT_TRUE(pf::is_modal_window(pf::get_dialog_window(dialog)));
    // Centred on the screen.
    Rect content = pf::window_content_rect(pf::get_dialog_window(dialog));
    EXPECT_NEAR(content.left, (640 - 530) / 2, 1);
}

TEST_F(Dialogs, ReturnAnswersOKAndEscapeCancel) {
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(pf::modal_dialog(nullptr), 1);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(pf::modal_dialog(nullptr), 2);
    pf::driver_key(pf::kKeyCodePeriod, '.', pf::kCmdKey);
    EXPECT_EQ(pf::modal_dialog(nullptr), 2);
    // A disabled OK: Return goes to the dialog, and the next hit is a click.
    pf::enable_dialog_item(dialog, 1, false);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    pf::driver_click(item_point(2));
    EXPECT_EQ(pf::modal_dialog(nullptr), 2);
}

TEST_F(Dialogs, TypingTabbingAndClicking) {
    pf::driver_click(item_point(4));
    EXPECT_EQ(pf::modal_dialog(nullptr), 4);
    EXPECT_EQ(pf::get_dialog_keyboard_focus(dialog), 4);
    pf::select_dialog_item_text(dialog, 4, 0, 32000);
    pf::driver_type("Q1");
    EXPECT_EQ(pf::modal_dialog(nullptr), 4);
    EXPECT_EQ(pf::modal_dialog(nullptr), 4);
    EXPECT_EQ(pf::get_dialog_item_text(dialog, 4), "Q1");
    // The radio pair: a click answers the item; the application sets the group.
    pf::driver_click(item_point(7));
    EXPECT_EQ(pf::modal_dialog(nullptr), 7);
    pf::set_dialog_item_value(dialog, 6, 0);
    pf::set_dialog_item_value(dialog, 7, 1);
    EXPECT_EQ(pf::get_dialog_item_value(dialog, 7), 1);
    pf::driver_click(item_point(5));
    EXPECT_EQ(pf::modal_dialog(nullptr), 5);
    pf::driver_click(item_point(11));  // an enabled user item
    EXPECT_EQ(pf::modal_dialog(nullptr), 11);
}

TEST_F(Dialogs, AUserItemIsAnsweredOnThePressSoItsOwnerTracksTheHeldButton) {
    const Point where = item_point(11);
    pf::driver_press(where);
    for (int16_t step = 1; step <= 3; ++step) pf::driver_move(Point{int16_t(where.v + step), where.h});
    pf::driver_release(where);
    EXPECT_EQ(pf::modal_dialog(nullptr), 11);
    EXPECT_TRUE(pf::button()) << "a pop-up drawn in the item opens while the button is held";
    EXPECT_TRUE(pf::wait_mouse_up());
}

TEST_F(Dialogs, ClicksOutsideAreRefusedAndOtherWindowsKeepUpdating) {
    pf::WindowRef doc = pf::create_window(pf::kDocumentWindowClass, 0, Rect{30, 5, 100, 60});
    pf::show_window(doc);
    pf::set_dialog_other_event_handler([](const pf::EventRecord& e) {
        if (e.what != pf::kUpdateEvent) return;
        auto w = reinterpret_cast<pf::WindowRef>(e.message);
        pf::begin_update(w);
        pf::end_update(w);
        other_events.push_back("update");
        pf::post_event(pf::kKeyDown, (uintptr_t(pf::kKeyCodeReturn) << 8) | pf::kReturnChar);
    });
    pf::driver_click(Point{60, 30});  // the document behind: refused
    EXPECT_EQ(pf::modal_dialog(nullptr), 1);
    EXPECT_EQ(other_events, (std::vector<std::string>{"update"}));
    EXPECT_NE(pf::front_window(), doc);
}

TEST_F(Dialogs, AMovableModalDialogIsDraggedByItsTitle) {
    pf::WindowRef w = pf::get_dialog_window(dialog);
    Rect before = pf::window_content_rect(w);
    Rect frame = pf::window_struct_rect(w);
    Point title{int16_t(frame.top + 8), int16_t(frame.left + 40)};
    pf::driver_drag(title, Point{int16_t(title.v + 30), int16_t(title.h - 20)});
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(pf::modal_dialog(nullptr), 1);
    Rect after = pf::window_content_rect(w);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_EQ(after.left - before.left, -20);
}

TEST_F(Dialogs, ParameterTextsAndAppendedItems) {
    pf::param_text("the layer");
    EXPECT_EQ(pf::expand_param_text(pf::get_dialog_item_text(dialog, 3)), "Name of the layer:");
    EXPECT_EQ(pf::expand_param_text("^1^9^"), "^9^");
    Rect before = pf::window_content_rect(pf::get_dialog_window(dialog));
    ASSERT_TRUE(pf::append_dialog_items(dialog, 510, pf::AppendMethod::kBottom));
    EXPECT_EQ(pf::count_dialog_items(dialog), 18);
    EXPECT_EQ(pf::get_dialog_item_box(dialog, 17).top, 330);  // below the lowest item
    EXPECT_GT(pf::window_content_rect(pf::get_dialog_window(dialog)).height(), before.height());
    pf::shorten_dialog_items(dialog, 2);
    EXPECT_EQ(pf::count_dialog_items(dialog), 16);
    EXPECT_FALSE(pf::append_dialog_items(dialog, 999, pf::AppendMethod::kOverlay));
    pf::hide_dialog_item(dialog, 5);
    EXPECT_FALSE(pf::is_dialog_item_enabled(dialog, 5));
    pf::show_dialog_item(dialog, 5);
    EXPECT_TRUE(pf::is_dialog_item_enabled(dialog, 5));
}

TEST_F(Dialogs, ALiteralStaticTextIgnoresTheParameterTexts) {
    DialogRef shown = pf::new_dialog(Rect{60, 60, 120, 260}, "", pf::kDialogBoxProc, true,
                                     {{pf::kStaticTextItem, Rect{10, 10, 30, 190}, "Plan^1", 0, false}});
    pf::dialog_item(shown, 1)->literal = true;
    pf::select_window(pf::get_dialog_window(shown));
    auto draw_with = [&](std::string_view p1) {
        pf::param_text("", p1);
        pf::draw_dialog(shown);
        Rect box = pf::get_dialog_item_box(shown, 1);
        std::vector<uint32_t> pixels;
        for (int16_t v = box.top; v < box.bottom; ++v)
            for (int16_t h = box.left; h < box.right; ++h) pixels.push_back(pixel(Point{int16_t(v + 60), int16_t(h + 60)}));
        return pixels;
    };
    EXPECT_EQ(draw_with(""), draw_with("MMMMMMMMMMMM"));
    pf::dispose_dialog(shown);
}

TEST_F(Dialogs, ScreenshotOfEveryItemKind) {
    pf::param_text("the layer");
    pf::ListHandle list = nullptr;
    pf::get_control_data(pf::get_dialog_item_control(dialog, 13), 0, pf::kControlListBoxListHandleTag, sizeof list,
                         &list, nullptr);
    ASSERT_NE(list, nullptr);
    pf::list_add_row(list, 8, 0);
    for (int16_t row = 0; row < 8; ++row) pf::list_set_cell(list, Point{row, 0}, "Row " + std::to_string(row + 1));
    pf::list_set_select(list, true, Point{2, 0});
    pf::set_dialog_item_value(dialog, 5, 1);
    pf::set_dialog_item_value(dialog, 6, 1);
    pf::set_dialog_keyboard_focus(dialog, 4);
    pf::draw_dialog(dialog);
    pf::compose_screen();
    EXPECT_TRUE(pf::screen_write_png(toolboxtest::screenshot_path("dialog_every_item.png")));
}

std::vector<int16_t> modeless_hits;
void modeless_loop(const pf::EventRecord& e) {
    DialogRef hit_dialog = nullptr;
    int16_t item = 0;
    if (pf::is_dialog_event(e)) {
        if (pf::dialog_select(e, &hit_dialog, &item)) modeless_hits.push_back(item);
    } else if (e.what == pf::kUpdateEvent) {
        auto w = reinterpret_cast<pf::WindowRef>(e.message);
        pf::begin_update(w);
        pf::end_update(w);
    }
}

TEST_F(Dialogs, ModelessDialogEventsGoThroughDialogSelect) {
    pf::dispose_dialog(dialog);
    dialog = pf::new_dialog(Rect{60, 60, 200, 360}, "Find", pf::kNoGrowDocProc, true,
                            {{pf::kEditTextItem, Rect{10, 10, 32, 200}, "", 0, true},
                             {pf::kCheckBoxItem, Rect{40, 10, 58, 200}, "Whole words", 0, true},
                             {pf::kStaticTextItem, Rect{70, 10, 90, 200}, "Not a hit", 0, true}});
    EXPECT_FALSE(pf::is_modal_window(pf::get_dialog_window(dialog)));
    modeless_hits.clear();
    pf::driver_type("ab");
    pf::driver_click(item_point(2));
    pf::driver_key(pf::kKeyCodeTab, pf::kTabChar);  // Tab moves the focus and is no hit
    pf::driver_run_until_idle(modeless_loop);
    EXPECT_EQ(modeless_hits, (std::vector<int16_t>{1, 1, 2}));
    EXPECT_EQ(pf::get_dialog_item_text(dialog, 1), "ab");
    pf::EventRecord key;
    key.what = pf::kKeyDown;
    key.message = 'x';
    EXPECT_TRUE(pf::is_dialog_event(key));

    // Behind another window its items are inactive; in front again they are as they were.
    pf::enable_dialog_item(dialog, 2, false);
    pf::WindowRef doc = pf::create_window(pf::kDocumentWindowClass, 0, Rect{300, 300, 400, 500});
    pf::show_window(doc);
    pf::select_window(doc);
    pf::driver_run_until_idle(modeless_loop);
    EXPECT_FALSE(pf::is_control_active(pf::get_dialog_item_control(dialog, 1)));
    pf::select_window(pf::get_dialog_window(dialog));
    pf::driver_run_until_idle(modeless_loop);
    EXPECT_TRUE(pf::is_control_active(pf::get_dialog_item_control(dialog, 1)));
    EXPECT_FALSE(pf::is_control_active(pf::get_dialog_item_control(dialog, 2)));
}

std::string alert_capture;
bool capture_then_standard(DialogRef d, pf::EventRecord& e, int16_t& item) {
    if (!alert_capture.empty()) {
        pf::compose_screen();
        pf::screen_write_png(alert_capture);
        alert_capture.clear();
    }
    return pf::standard_filter(d, e, item);
}

TEST_F(Dialogs, AlertsAnswerByKeyAndShowTheirIcon) {
    pf::dispose_dialog(dialog);
    pf::param_text("The document \xD2" "Budget\xD3 could not be saved because the disk is full.");
    alert_capture = toolboxtest::screenshot_path("alert_stop.png");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(pf::stop_alert(600, capture_then_standard), 1);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(pf::caution_alert(600, nullptr), 2);
    EXPECT_EQ(pf::note_alert(12345, nullptr), -1);
    EXPECT_EQ(pf::note_alert(601, nullptr), -1);  // its first stage is not drawn
    EXPECT_EQ(pf::front_window(), nullptr);
}

}  // namespace
