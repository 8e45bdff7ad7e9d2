#include "platform/appleevents/appleevents.h"
#include "platform/events/events.h"
#include "platform/events/input.h"
#include "platform/events/keyboard.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Events : ::testing::Test {
    void SetUp() override {
        pf::headless_host_open(200, 150);
        pf::events_reset();
        pf::driver_reset();
        pf::use_manual_clock(1000);
    }
    void TearDown() override {
        pf::use_system_clock();
        pf::events_reset();
        pf::host_close();
    }
};

TEST_F(Events, TicksRunAtSixtyHertzFromTheReplaceableClock) {
    uint32_t start = pf::tick_count();
    pf::advance_clock(1000);
    EXPECT_EQ(pf::tick_count() - start, 60u);
    pf::advance_clock(16);
    EXPECT_EQ(pf::tick_count() - start, 60u);
    pf::advance_clock(1);
    EXPECT_EQ(pf::tick_count() - start, 61u);
    EXPECT_EQ(pf::double_click_time(), 30u);
    EXPECT_GT(pf::caret_time(), 0u);
}

TEST_F(Events, WaitSleepsTheGivenTicksAndAnswersANullEventWithMouseAndModifiers) {
    pf::input_mouse_move({40, 50});
    uint32_t start = pf::tick_count();
    pf::EventRecord e;
    EXPECT_FALSE(pf::wait_next_event(pf::kEveryEvent, e, 20, nullptr));
    EXPECT_EQ(e.what, pf::kNullEvent);
    EXPECT_GE(pf::tick_count() - start, 20u);
    EXPECT_LE(pf::tick_count() - start, 21u);
    EXPECT_EQ(e.where, (pf::Point{40, 50}));
    EXPECT_EQ(e.modifiers & pf::kButtonState, pf::kButtonState);  // button up
}

TEST_F(Events, TakeByMaskLeavesOtherEventsQueuedInOrder) {
    pf::post_event(pf::kKeyDown, 'a');
    pf::post_event(pf::kMouseDown, 0);
    pf::post_event(pf::kKeyDown, 'b');
    pf::EventRecord e;
    ASSERT_TRUE(pf::take_event(pf::kMouseDownMask, e, 0));
    EXPECT_EQ(e.what, pf::kMouseDown);
    EXPECT_EQ(pf::queued_event_count(), 2);
    ASSERT_TRUE(pf::event_avail(pf::kKeyDownMask, e));  // peeking takes nothing
    EXPECT_EQ(pf::event_char(e), 'a');
    ASSERT_TRUE(pf::get_next_event(pf::kEveryEvent, e));
    EXPECT_EQ(pf::event_char(e), 'a');
    ASSERT_TRUE(pf::get_next_event(pf::kEveryEvent, e));
    EXPECT_EQ(pf::event_char(e), 'b');
    EXPECT_FALSE(pf::take_event(pf::kKeyDownMask, e, 0));
}

TEST_F(Events, TakeWithTimeoutWaitsAtMostTheTimeout) {
    uint32_t start = pf::tick_count();
    pf::EventRecord e;
    EXPECT_FALSE(pf::take_event(pf::kMouseUpMask, e, 30));
    EXPECT_GE(pf::tick_count() - start, 30u);
    // A scripted release arrives while waiting.
    pf::driver_click({10, 10});
    ASSERT_TRUE(pf::take_event(pf::kMouseUpMask, e, 30));
    EXPECT_EQ(e.what, pf::kMouseUp);
    EXPECT_EQ(pf::queued_event_count(), 1);  // the mouse-down stays
}

TEST_F(Events, FlushStopsAtTheStopMask) {
    pf::post_event(pf::kKeyDown, 'a');
    pf::post_event(pf::kMouseDown, 0);
    pf::post_event(pf::kKeyDown, 'b');
    pf::flush_events(pf::kKeyDownMask, pf::kMouseDownMask);
    pf::EventRecord e;
    ASSERT_TRUE(pf::get_next_event(pf::kEveryEvent, e));
    EXPECT_EQ(e.what, pf::kMouseDown);
    ASSERT_TRUE(pf::get_next_event(pf::kEveryEvent, e));
    EXPECT_EQ(pf::event_char(e), 'b');
    pf::post_event(pf::kKeyDown, 'c');
    pf::post_event(pf::kMouseUp, 0);
    pf::flush_events(pf::kEveryEvent, 0);
    EXPECT_EQ(pf::queued_event_count(), 0);
}

TEST_F(Events, MouseLeavingTheMouseRectGivesAMouseMovedEvent) {
    pf::input_mouse_move({20, 20});
    // An L-shaped region: the pixel under the mouse and a strip below it.
    pf::RgnHandle here = pf::new_region(), strip = pf::new_region();
    pf::rect_region(here, pf::Rect{20, 20, 21, 21});
    pf::rect_region(strip, pf::Rect{21, 20, 30, 40});
    pf::union_region(here, strip, here);
    pf::EventRecord e;
    EXPECT_FALSE(pf::wait_next_event(pf::kEveryEvent, e, 0, here));
    pf::input_mouse_move({25, 35});
    EXPECT_FALSE(pf::wait_next_event(pf::kEveryEvent, e, 0, here));
    pf::input_mouse_move({20, 22});
    ASSERT_TRUE(pf::wait_next_event(pf::kEveryEvent, e, 0, here));
    EXPECT_EQ(e.what, pf::kOSEvent);
    EXPECT_EQ(pf::os_event_kind(e), pf::kMouseMovedMessage);
    EXPECT_EQ(e.where, (pf::Point{20, 22}));
    // Without the OS mask no mouse-moved event comes; queued events come first.
    EXPECT_FALSE(pf::wait_next_event(pf::kKeyDownMask, e, 0, here));
    pf::post_event(pf::kKeyDown, 'x');
    ASSERT_TRUE(pf::wait_next_event(pf::kEveryEvent, e, 0, here));
    EXPECT_EQ(e.what, pf::kKeyDown);
    pf::dispose_region(here);
    pf::dispose_region(strip);
}

TEST_F(Events, FocusGivesSuspendAndResume) {
    EXPECT_TRUE(pf::in_foreground());
    pf::input_focus(false);
    pf::input_focus(false);  // no second event
    pf::EventRecord e;
    ASSERT_TRUE(pf::get_next_event(pf::kEveryEvent, e));
    EXPECT_EQ(e.what, pf::kOSEvent);
    EXPECT_EQ(pf::os_event_kind(e), pf::kSuspendResumeMessage);
    EXPECT_EQ(e.message & pf::kResumeFlag, 0u);
    EXPECT_FALSE(pf::in_foreground());
    EXPECT_FALSE(pf::get_next_event(pf::kEveryEvent, e));
    pf::input_focus(true);
    ASSERT_TRUE(pf::get_next_event(pf::kEveryEvent, e));
    EXPECT_EQ(e.message & pf::kResumeFlag, pf::kResumeFlag);
}

TEST_F(Events, KeysCarryCharacterKeyCodeAndModifiers) {
    pf::driver_key(0, 1, pf::kControlKey);  // Control-A
    pf::driver_type("\u00e9t\u00e9");       // typed through a layout: Mac Roman 0x8E
    pf::EventRecord e;
    ASSERT_TRUE(pf::get_next_event(pf::kEveryEvent, e));
    EXPECT_EQ(e.what, pf::kKeyDown);
    EXPECT_EQ(pf::event_char(e), 1);
    EXPECT_EQ(pf::event_key_code(e), 0);
    EXPECT_EQ(e.modifiers & pf::kControlKey, pf::kControlKey);
    ASSERT_TRUE(pf::get_next_event(pf::kEveryEvent, e));
    EXPECT_EQ(e.what, pf::kKeyUp);
    std::vector<unsigned char> typed;
    while (pf::get_next_event(pf::kKeyDownMask, e)) typed.push_back(pf::event_char(e));
    EXPECT_EQ(typed, (std::vector<unsigned char>{0x8E, 't', 0x8E}));
}

TEST_F(Events, HeldAndRepeatingKeysGiveAutoKeyAndTheKeyMap) {
    pf::input_key(pf::kKeyCodeLeftArrow, pf::kLeftArrowChar, true, false);
    pf::input_key(pf::kKeyCodeLeftArrow, pf::kLeftArrowChar, true, true);
    EXPECT_TRUE(pf::key_is_down(pf::kKeyCodeLeftArrow));
    pf::KeyMap keys;
    pf::get_keys(keys);
    EXPECT_EQ(keys[123 >> 3], 1 << (123 & 7));
    pf::input_key(pf::kKeyCodeLeftArrow, pf::kLeftArrowChar, false, false);
    EXPECT_FALSE(pf::key_is_down(pf::kKeyCodeLeftArrow));
    pf::EventRecord e;
    std::vector<uint16_t> kinds;
    while (pf::get_next_event(pf::kEveryEvent, e)) kinds.push_back(e.what);
    EXPECT_EQ(kinds, (std::vector<uint16_t>{pf::kKeyDown, pf::kAutoKey, pf::kKeyUp}));
}

TEST_F(Events, AHeldCommandPeriodShowsInTheKeyboardMap) {
    pf::driver_key_down(pf::kKeyCodePeriod, '.', pf::kCmdKey);
    pf::driver_key_up(pf::kKeyCodePeriod, '.');
    pf::EventRecord e;
    ASSERT_TRUE(pf::get_next_event(pf::kKeyDownMask, e));
    EXPECT_TRUE(pf::key_is_down(pf::kKeyCodeCommand));
    EXPECT_TRUE(pf::key_is_down(pf::kKeyCodePeriod));
    EXPECT_EQ(pf::current_modifiers() & pf::kCmdKey, pf::kCmdKey);
    ASSERT_TRUE(pf::get_next_event(pf::kKeyUpMask, e));
    EXPECT_FALSE(pf::key_is_down(pf::kKeyCodeCommand));
    EXPECT_FALSE(pf::key_is_down(pf::kKeyCodePeriod));
}

TEST_F(Events, AHeldKeyRepeatsAfterTheThreshold) {
    pf::set_key_repeat(24, 4);
    pf::driver_key_down(pf::kKeyCodeDownArrow, pf::kDownArrowChar);
    pf::EventRecord e;
    ASSERT_TRUE(pf::get_next_event(pf::kKeyDownMask, e));
    uint32_t pressed = e.when;
    ASSERT_TRUE(pf::wait_next_event(pf::kAutoKeyMask, e, 60, nullptr));
    EXPECT_GE(e.when - pressed, 24u);
    EXPECT_LE(e.when - pressed, 25u);
    EXPECT_EQ(pf::event_char(e), pf::kDownArrowChar);
    uint32_t first = e.when;
    ASSERT_TRUE(pf::wait_next_event(pf::kAutoKeyMask, e, 60, nullptr));
    EXPECT_GE(e.when - first, 4u);
    EXPECT_LE(e.when - first, 5u);
    pf::driver_key_up(pf::kKeyCodeDownArrow, pf::kDownArrowChar);
    ASSERT_TRUE(pf::wait_next_event(pf::kKeyUpMask, e, 0, nullptr));
    pf::flush_events(pf::kEveryEvent, 0);
    EXPECT_FALSE(pf::wait_next_event(pf::kAutoKeyMask, e, 60, nullptr));
    pf::set_key_repeat(0, 0);  // a host that repeats by itself
    pf::driver_key_down(pf::kKeyCodeDownArrow, pf::kDownArrowChar);
    ASSERT_TRUE(pf::get_next_event(pf::kKeyDownMask, e));
    EXPECT_FALSE(pf::wait_next_event(pf::kAutoKeyMask, e, 60, nullptr));
}

TEST_F(Events, TrackingLoopSeesEveryStepOfADrag) {
    pf::driver_drag({10, 10}, {50, 90}, 0, 4);
    pf::EventRecord e;
    ASSERT_TRUE(pf::wait_next_event(pf::kEveryEvent, e, 0, nullptr));
    ASSERT_EQ(e.what, pf::kMouseDown);
    EXPECT_EQ(e.where, (pf::Point{10, 10}));
    std::vector<pf::Point> seen;
    while (pf::still_down()) seen.push_back(pf::mouse_location());
    EXPECT_GE(seen.size(), 2u);
    EXPECT_EQ(pf::mouse_location(), (pf::Point{50, 90}));
    EXPECT_TRUE(pf::wait_mouse_up());
    EXPECT_FALSE(pf::wait_mouse_up());
}

TEST_F(Events, WaitMouseMovedTellsAClickFromADrag) {
    pf::driver_click({30, 30});
    pf::EventRecord e;
    ASSERT_TRUE(pf::get_next_event(pf::kMouseDownMask, e));
    EXPECT_FALSE(pf::wait_mouse_moved(e.where));
    EXPECT_TRUE(pf::wait_mouse_up());
    pf::driver_drag({30, 30}, {30, 60});
    ASSERT_TRUE(pf::get_next_event(pf::kMouseDownMask, e));
    EXPECT_TRUE(pf::wait_mouse_moved(e.where));
}

TEST_F(Events, ButtonIsNeverLeftHeldByAnEmptyScript) {
    pf::driver_press({5, 5});
    EXPECT_TRUE(pf::button());   // the press itself
    EXPECT_FALSE(pf::button());  // script ran out: released
}

std::vector<int32_t> wheel_deltas;
void record_wheel(pf::Point, int axis, int32_t delta, uint16_t) { wheel_deltas.push_back(axis * 100 + delta); }

TEST_F(Events, WheelTurnsGoToTheWheelProcedureNotTheQueue) {
    wheel_deltas.clear();
    pf::set_wheel_proc(record_wheel);
    pf::driver_wheel({40, 40}, 0, -1);
    pf::driver_wheel({40, 40}, 1, 2);
    EXPECT_EQ(pf::driver_run_until_idle([](const pf::EventRecord&) {}), 0);
    EXPECT_EQ(wheel_deltas, (std::vector<int32_t>{-1, 102}));
}

// Activate events come before queued ones, updates after them.
bool has_activate = true, has_update = true;
bool activate_source(uint16_t mask, pf::EventRecord& e, bool take) {
    if (!has_activate || !(mask & pf::kActivateMask)) return false;
    e.what = pf::kActivateEvent;
    if (take) has_activate = false;
    return true;
}
bool update_source(uint16_t mask, pf::EventRecord& e, bool take) {
    if (!has_update || !(mask & pf::kUpdateMask)) return false;
    e.what = pf::kUpdateEvent;
    if (take) has_update = false;
    return true;
}

TEST_F(Events, SourcesAreAskedAroundTheQueue) {
    has_activate = has_update = true;
    pf::add_event_source(update_source, pf::EventSourceOrder::kAfterQueue);
    pf::add_event_source(activate_source, pf::EventSourceOrder::kBeforeQueue);
    pf::post_event(pf::kKeyDown, 'k');
    std::vector<uint16_t> kinds;
    pf::EventRecord e;
    ASSERT_TRUE(pf::event_avail(pf::kUpdateMask, e));
    EXPECT_TRUE(has_update);
    while (pf::get_next_event(pf::kEveryEvent, e)) kinds.push_back(e.what);
    EXPECT_EQ(kinds, (std::vector<uint16_t>{pf::kActivateEvent, pf::kKeyDown, pf::kUpdateEvent}));
}

int quit_requests = 0;
pf::OSErr count_quit(const pf::AppleEvent*, pf::AppleEvent*, long) {
    ++quit_requests;
    return pf::noErr;
}

TEST_F(Events, AppleEventsSentToOurselvesArriveAsHighLevelEvents) {
    quit_requests = 0;
    pf::ae_clear_pending();
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kQuitApplication, count_quit, 0);
    pf::AEDesc self;
    pf::AppleEvent quit;
    ASSERT_EQ(pf::ae_address_of_self(self), pf::noErr);
    ASSERT_EQ(pf::ae_create_apple_event(pf::kCoreEventClass, pf::kQuitApplication, self, -1, 0, quit), pf::noErr);
    pf::post_event(pf::kKeyDown, 'a');
    ASSERT_EQ(pf::ae_send(quit, nullptr, pf::kAENoReply), pf::noErr);
    EXPECT_EQ(quit_requests, 0);
    pf::EventRecord e;
    ASSERT_TRUE(pf::get_next_event(pf::kHighLevelEventMask, e));  // the key stays
    EXPECT_EQ(e.what, pf::kHighLevelEvent);
    EXPECT_EQ(e.message, pf::kCoreEventClass);
    EXPECT_EQ(pf::high_level_event_id(e), pf::kQuitApplication);
    EXPECT_EQ(pf::ae_process_apple_event(), pf::noErr);
    EXPECT_EQ(quit_requests, 1);
    EXPECT_EQ(pf::queued_event_count(), 1);
    pf::ae_remove_event_handler(pf::kCoreEventClass, pf::kQuitApplication);
    pf::ae_dispose_desc(quit);
    pf::ae_dispose_desc(self);
}

}  // namespace
