// Window geometry, cursors, colours and the calculation library's alerts.
#include "../app/app_fixture.h"
#include "ui/colours.h"
#include "ui/screen_geometry.h"
#include "ui/calc_alerts.h"
#include "platform/screen/cursor.h"

TEST_F(AppTest, TheDesktopEdgeCountsAsOnScreenAndTheOriginDoesNot) {
    pf::Rect desk = pf::desktop_bounds();
    EXPECT_FALSE(checkonscreen(pf::Point{0, 0}));
    EXPECT_TRUE(checkonscreen(pf::Point{int16_t(desk.top + 10), int16_t(desk.left - 2)}));
    EXPECT_FALSE(checkonscreen(pf::Point{int16_t(desk.top + 10), int16_t(desk.left - 4)}));
    EXPECT_FALSE(checkonscreen(pf::Point{int16_t(desk.bottom + 1), 100}));
    pf::Rect area;
    EXPECT_EQ(FindPositionScreen(pf::Point{300, 300}, &area), 1);
    EXPECT_EQ(area, desk);
    EXPECT_EQ(FindPositionScreen(pf::Point{-300, 300}, &area), 0);
}

TEST_F(AppTest, NewDocumentWindowsStaggerBelowTheTitleBar) {
    ASSERT_EQ(title_bar_height(), 22);
    ASSERT_EQ(wind_left_extra(), 0);
    pf::Rect bounds{0, 0, 200, 300};
    pf::WindowRef first = JustMakeWindow(reinterpret_cast<const unsigned char*>("\x01" "A"), &bounds, nullptr, 0);
    pf::WindowRef second = JustMakeWindow(reinterpret_cast<const unsigned char*>("\x01" "B"), &bounds, nullptr, 1);
    ASSERT_TRUE(first && second);
    pf::Rect a = pf::window_content_rect(first), b = pf::window_content_rect(second);
    EXPECT_EQ(a.top, pf::desktop_bounds().top + 22);
    EXPECT_EQ(b.top - a.top, 20);
    EXPECT_EQ(b.left - a.left, 8);
    EXPECT_EQ(pf::window_title(second), "B");
    // A step that would pass the bottom of the area gives no stagger.
    pf::WindowRef far = JustMakeWindow(nullptr, &bounds, nullptr, 30);
    EXPECT_EQ(pf::window_content_rect(far).top, a.top);
    pf::dispose_window(first);
    pf::dispose_window(second);
    pf::dispose_window(far);
}

TEST_F(AppTest, SettingTheSameCursorTwiceDoesNothing) {
    reset_cursor_state();
    SetCursorTo(kFirstBusyCursor);
    const pf::Cursor* busy = pf::current_cursor();
    ASSERT_NE(busy, nullptr);
    pf::set_arrow_cursor();
    SetCursorTo(kFirstBusyCursor);
    EXPECT_EQ(pf::current_cursor(), nullptr);  // the repeated id did not act
    SetCursorTo(kForgetCursor);
    SetCursorTo(kFirstBusyCursor);
    EXPECT_NE(pf::current_cursor(), nullptr);
    g_system.flags |= kSysInBackground;
    SetCursorTo(kArrowCursor);
    EXPECT_NE(pf::current_cursor(), nullptr);
    g_system.flags &= ~kSysInBackground;
    SetCursorTo(kArrowCursor);
    EXPECT_EQ(pf::current_cursor(), nullptr);
}

TEST_F(AppTest, TheBusyCursorNestsAndStepsAtMostEvery11Ticks) {
    reset_cursor_state();
    SpinAppCursor(-1);
    SpinAppCursor(-1);
    EXPECT_EQ(current_cursor_id(), kFirstBusyCursor);
    pf::advance_clock(pf::ticks_to_milliseconds(10));
    SpinAppCursor(1);
    EXPECT_EQ(current_cursor_id(), kFirstBusyCursor);
    pf::advance_clock(pf::ticks_to_milliseconds(2));
    SpinAppCursor(1);
    EXPECT_EQ(current_cursor_id(), kFirstBusyCursor + 1);
    for (int i = 0; i < 7; ++i) {
        pf::advance_clock(pf::ticks_to_milliseconds(12));
        SpinAppCursor(1);
    }
    EXPECT_EQ(current_cursor_id(), kFirstBusyCursor);  // 207 wraps to 200
    SpinAppCursor(0);
    SpinAppCursor(0);
    pf::advance_clock(pf::ticks_to_milliseconds(20));
    SpinAppCursor(1);
    EXPECT_EQ(current_cursor_id(), kFirstBusyCursor);  // ended: no more steps
}

TEST_F(AppTest, TheCalculationCursorCyclesThroughItsFourImages) {
    reset_cursor_state();
    for (int i = 0; i < 4; ++i) {
        pf::advance_clock(pf::ticks_to_milliseconds(31));
        SpinCalcCursor();
    }
    EXPECT_EQ(current_cursor_id(), kFirstCalcCursor);
}

TEST_F(AppTest, ColoursWithoutColourDrawingLeaveTheSavedColourAlone) {
    pf::WindowRef w = pf::create_window(pf::kDocumentWindowClass, 0, pf::Rect{60, 10, 200, 300});
    pf::PortScope scope(pf::window_port(w));
    pf::RGBColor saved{1, 2, 3};
    g_system.flags &= ~kSysColorQD;
    SetBackColorToNormal(&saved);
    EXPECT_EQ(saved, (pf::RGBColor{1, 2, 3}));
    g_system.flags |= kSysColorQD;
    pf::rgb_back_color(pf::RGBColor{10, 20, 30});
    SetBackColorToNormal(&saved);
    EXPECT_EQ(saved, (pf::RGBColor{10, 20, 30}));
    pf::RGBColor now;
    pf::get_back_color(now);
    EXPECT_EQ(now, white_color);
    pf::RGBColor untouched{5, 5, 5};
    index_color(-1, &untouched);
    EXPECT_EQ(untouched, (pf::RGBColor{5, 5, 5}));
    EXPECT_EQ(checkColor(w), 32);
    pf::dispose_window(w);
}

TEST_F(AppTest, CalculationAlertsPickTheirTexts) {
    EXPECT_EQ(quorvin_alert(104), 1);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, pf::get_indexed_string(200, 23));
    EXPECT_EQ(alert_requests()[0].alert_id, 25000);
    EXPECT_EQ(alert_requests()[0].kind, 2);
    EXPECT_EQ(quorvin_alert(105), 1);
    EXPECT_EQ(quorvin_alert(107), 1);
    EXPECT_EQ(quorvin_alert(7), 1);
    EXPECT_EQ(alert_requests().size(), 1u);
    quorvin_alert((1500 << 16) | 8);
    ASSERT_EQ(alert_requests().size(), 2u);
    EXPECT_EQ(alert_requests()[1].text, "1500");
    EXPECT_EQ(alert_requests()[1].alert_id, 1509);
}
