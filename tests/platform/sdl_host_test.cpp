// The SDL host's input translation, fed with SDL events on SDL's dummy video driver.
#include "platform/appleevents/appleevents.h"
#include "platform/events/events.h"
#include "platform/events/input.h"
#include "platform/events/keyboard.h"
#include "platform/events/input_method.h"
#include "platform/host/host.h"
#include "platform/scrap/scrap.h"
#include "platform/screen/screen.h"
#include "platform/sdl/sdl_host.h"
#include "platform/system/system.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct SdlHost : ::testing::Test {
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        pf::events_reset();
        if (!pf::sdl_host_open(320, 200)) GTEST_SKIP() << "no SDL video";
        pf::host_pump();
        pf::flush_events(pf::kEveryEvent, 0);
    }
    void TearDown() override {
        pf::host_close();
        pf::events_reset();
    }

    static void key(SDL_Scancode code, SDL_Keycode sym, uint16_t mod, bool down = true, bool repeat = false) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.scancode = code;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        e.key.repeat = repeat;
        SDL_PushEvent(&e);
    }
    static void text(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
        SDL_PushEvent(&e);
    }
    static void mouse(uint32_t type, int x, int y, uint8_t which = SDL_BUTTON_LEFT) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.x = x;
            e.motion.y = y;
        } else {
            e.button.button = which;
            e.button.x = x;
            e.button.y = y;
        }
        SDL_PushEvent(&e);
    }
    static std::vector<pf::EventRecord> events() {
        pf::host_pump();
        std::vector<pf::EventRecord> out;
        pf::EventRecord e;
        while (pf::get_next_event(pf::kEveryEvent, e)) out.push_back(e);
        return out;
    }
};

TEST_F(SdlHost, TypedTextArrivesAsMacRomanKeyDownsWithTheKeyCode) {
    key(SDL_SCANCODE_E, SDLK_e, KMOD_NONE);
    text("\u00e9\u20ac");
    key(SDL_SCANCODE_E, SDLK_e, KMOD_NONE, false);
    auto got = events();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].what, pf::kKeyDown);
    EXPECT_EQ(pf::event_char(got[0]), 0x8E);
    EXPECT_EQ(pf::event_key_code(got[0]), 14);
    EXPECT_EQ(pf::event_char(got[1]), 0xDB);
    EXPECT_EQ(pf::event_key_code(got[1]), 0);
    EXPECT_EQ(got[2].what, pf::kKeyUp);
}

TEST_F(SdlHost, CompositionGoesToTheActiveTextDocumentAndItsCommitConfirmsIt) {
    static std::vector<std::pair<std::string, int32_t>> updates;
    updates.clear();
    auto record = [](const pf::AppleEvent* event, pf::AppleEvent*, long) -> pf::OSErr {
        pf::AEDesc text;
        int32_t fixed = 0;
        pf::ae_get_param_desc(*event, pf::kKeyText, pf::kTypeText, text);
        pf::ae_get_param_ptr(*event, pf::kKeyFixLength, pf::kTypeLong, nullptr, &fixed, 4, nullptr);
        updates.emplace_back(std::string(text.data.begin(), text.data.end()), fixed);
        return pf::noErr;
    };
    pf::text_services_reset();
    pf::ae_clear_pending();
    pf::ae_install_event_handler(pf::kTextServiceClass, pf::kUpdateActiveInputArea, record, 0);
    pf::TSMDocumentID document = 0;
    ASSERT_EQ(pf::new_tsm_document(pf::kTextServiceClass, 7, document), pf::noErr);
    ASSERT_EQ(pf::activate_tsm_document(document), pf::noErr);

    SDL_Event e{};
    e.type = SDL_TEXTEDITING;
    std::strcpy(e.edit.text, "ka");
    e.edit.start = 2;
    SDL_PushEvent(&e);
    pf::host_pump();
    text("\xC3\xA9");  // the input method commits
    pf::host_pump();
    while (pf::ae_pending_count() > 0) pf::ae_process_apple_event();
    EXPECT_EQ(updates, (std::vector<std::pair<std::string, int32_t>>{{"ka", 0}, {"\x8E", -1}}));
    pf::EventRecord typed;
    EXPECT_FALSE(pf::get_next_event(pf::kKeyDownMask, typed));  // nothing typed as keys

    // The program confirms a composition itself: the input method starts afresh.
    SDL_PushEvent(&e);
    pf::host_pump();
    while (pf::ae_pending_count() > 0) pf::ae_process_apple_event();
    ASSERT_EQ(pf::fix_tsm_document(document), pf::noErr);
    EXPECT_EQ(updates.back(), (std::pair<std::string, int32_t>{"ka", -1}));
    EXPECT_TRUE(SDL_IsTextInputActive());

    pf::delete_tsm_document(document);
    pf::ae_remove_event_handler(pf::kTextServiceClass, pf::kUpdateActiveInputArea);
    pf::text_services_reset();
}

TEST_F(SdlHost, CtrlKeysAreCommandKeysAndTheirTextIsDropped) {
    key(SDL_SCANCODE_S, SDLK_s, KMOD_LCTRL);
    text("s");  // some layouts still report text for Ctrl combinations
    key(SDL_SCANCODE_PERIOD, SDLK_PERIOD, KMOD_LCTRL | KMOD_LSHIFT);
    auto got = events();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(pf::event_char(got[0]), 's');
    EXPECT_EQ(got[0].modifiers & (pf::kCmdKey | pf::kShiftKey), pf::kCmdKey);
    EXPECT_EQ(pf::event_char(got[1]), '.');
    EXPECT_EQ(pf::event_key_code(got[1]), pf::kKeyCodePeriod);
    EXPECT_EQ(got[1].modifiers & (pf::kCmdKey | pf::kShiftKey), pf::kCmdKey | pf::kShiftKey);
}

TEST_F(SdlHost, SuperGivesControlCharactersAndAltArrowsCarryOption) {
    key(SDL_SCANCODE_LGUI, SDLK_LGUI, KMOD_LGUI);
    key(SDL_SCANCODE_H, SDLK_h, KMOD_LGUI);
    key(SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_LALT);
    key(SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_LALT, true, true);
    auto got = events();
    ASSERT_EQ(got.size(), 3u);  // the Super key itself posts nothing
    EXPECT_EQ(pf::event_char(got[0]), 8);
    EXPECT_EQ(got[0].modifiers & pf::kControlKey, pf::kControlKey);
    EXPECT_EQ(pf::event_char(got[1]), pf::kLeftArrowChar);
    EXPECT_EQ(got[1].modifiers & pf::kOptionKey, pf::kOptionKey);
    EXPECT_EQ(got[2].what, pf::kAutoKey);
    EXPECT_TRUE(pf::key_is_down(pf::kKeyCodeControl));
}

TEST_F(SdlHost, MouseButtonsMotionAndTheRightButtonAsControlClick) {
    mouse(SDL_MOUSEMOTION, 40, 30);
    mouse(SDL_MOUSEBUTTONDOWN, 41, 31);
    mouse(SDL_MOUSEBUTTONUP, 45, 33);
    mouse(SDL_MOUSEBUTTONDOWN, 50, 60, SDL_BUTTON_RIGHT);
    mouse(SDL_MOUSEBUTTONUP, 50, 60, SDL_BUTTON_RIGHT);
    mouse(SDL_MOUSEBUTTONDOWN, 50, 60, SDL_BUTTON_MIDDLE);  // not used
    auto got = events();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].what, pf::kMouseDown);
    EXPECT_EQ(got[0].where, (pf::Point{31, 41}));
    EXPECT_EQ(got[0].modifiers & pf::kButtonState, 0);
    EXPECT_EQ(got[1].what, pf::kMouseUp);
    EXPECT_EQ(got[1].where, (pf::Point{33, 45}));
    EXPECT_EQ(got[2].modifiers & pf::kControlKey, pf::kControlKey);
    EXPECT_EQ(got[3].modifiers & pf::kControlKey, pf::kControlKey);
    EXPECT_EQ(pf::current_modifiers() & pf::kControlKey, 0);  // released with the button
}

TEST_F(SdlHost, WithoutSoundABeepFlashesTheMenuBarQuietly) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    uint32_t before = pf::screen_pixel(5, 5);
    int flashes = pf::sdl_beep_flashes();
    testing::internal::CaptureStderr();
    pf::host_beep();
    pf::host_beep();
    std::string noise = testing::internal::GetCapturedStderr();
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(noise, "");
    EXPECT_EQ(pf::sdl_beep_flashes(), flashes + 2);
    EXPECT_EQ(pf::screen_pixel(5, 5), before);  // the bar is shown as it was
}

TEST_F(SdlHost, FocusGivesSuspendAndResumeAndTheWindowCloseQuits) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&e);
    e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&e);
    auto got = events();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(pf::os_event_kind(got[0]), pf::kSuspendResumeMessage);
    EXPECT_EQ(got[0].message & pf::kResumeFlag, 0u);
    EXPECT_EQ(got[1].message & pf::kResumeFlag, pf::kResumeFlag);
    EXPECT_FALSE(pf::host_quit_requested());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    pf::host_pump();
    EXPECT_TRUE(pf::host_quit_requested());  // no quit handler installed: quit at once
}

TEST_F(SdlHost, ScreenFollowsTheWindowAndTextReachesTheClipboard) {
    ASSERT_NE(pf::screen(), nullptr);
    EXPECT_EQ(pf::screen()->width, 320);
    pf::scrap_reset();
    std::string mac = "Gr\x9F\x8F" "e";
    pf::zero_scrap();
    pf::put_scrap(pf::kScrapText, mac.data(), mac.size());
    char* system = SDL_GetClipboardText();
    if (system && *system) {
        EXPECT_STREQ(system, "Gr\u00fc\u00e8e");  // the dummy driver keeps it in process
    }
    SDL_free(system);
}

// The dummy driver cannot flash a window, so SDL reporting that proves the
// notification reached the host window.
TEST_F(SdlHost, NotificationsFlashTheHostWindowUntilTheHostCloses) {
    SDL_ClearError();
    pf::install_notification(pf::NotificationRequest{});
    EXPECT_STRNE(SDL_GetError(), "");
    SDL_ClearError();
    pf::remove_notification();
    EXPECT_STRNE(SDL_GetError(), "");
    EXPECT_EQ(pf::set_front_process(pf::current_process()), pf::noErr);

    pf::host_close();
    SDL_ClearError();
    pf::install_notification(pf::NotificationRequest{});
    pf::remove_notification();
    EXPECT_STREQ(SDL_GetError(), "");
    EXPECT_EQ(pf::set_front_process(pf::current_process()), pf::noErr);
    ASSERT_TRUE(pf::sdl_host_open(320, 200));
}

// A pipe watched as the scripting socket is: input there ends the host's wait.
int watched_pipe[2] = {-1, -1};
void watch_pipe(std::vector<pollfd>& descriptors) { descriptors.push_back(pollfd{watched_pipe[0], POLLIN, 0}); }

TEST_F(SdlHost, InputAtAWatchedDescriptorEndsTheWaitAtOnceAndOnlyThen) {
    using std::chrono::steady_clock;
    ASSERT_EQ(pipe(watched_pipe), 0);
    pf::host_watch_descriptors(watch_pipe);
    auto waited = [] {
        const auto start = steady_clock::now();
        pf::host_wait(20000);
        return steady_clock::now() - start;
    };
    ASSERT_EQ(write(watched_pipe[1], "x", 1), 1);
    EXPECT_LT(waited(), std::chrono::seconds(10)) << "the wait ran its whole time with input waiting";
    char taken;
    ASSERT_EQ(read(watched_pipe[0], &taken, 1), 1);
    pf::host_unwatch_descriptors(watch_pipe);
    ASSERT_EQ(write(watched_pipe[1], "x", 1), 1);
    const auto start = steady_clock::now();
    pf::host_wait(50);
    EXPECT_GE(steady_clock::now() - start, std::chrono::milliseconds(40)) << "a descriptor no longer watched ended the wait";
    close(watched_pipe[0]);
    close(watched_pipe[1]);
}

}  // namespace
