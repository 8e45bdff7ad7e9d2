// The whole program with a person at the keyboard: modal dialogs and alerts
// wait for scripted input instead of being answered at once, and the helpers
// that act on them once they are up (a screenshot, a click then Return).
#pragma once

#include <filesystem>
#include <string>

#include "platform/events/keyboard.h"
#include "platform/screen/screen.h"
#include "tests/app/app_fixture.h"
#include "tests/core/dialog_test_support.h"
#include "window/doc_window.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

struct AttendedTest : AppTest {
    void SetUp() override {
        AppTest::SetUp();
        set_unattended_run(false);
        dialogtest::guard_against_waiting();
    }
    void TearDown() override {
        set_unattended_run(true);
        pf::host_set_composer(pf::compose_screen);
        AppTest::TearDown();
    }
};

// The same with a new document in front: its window's record and its layer.
struct AttendedDocumentTest : AttendedTest {
    MemoryRef record = nullptr;
    MemoryRef layer = nullptr;

    void SetUp() override {
        AttendedTest::SetUp();
        set_unattended_run(true);
        DoFileMenu(nullptr, kFileNewItem);
        run_until_idle();
        set_unattended_run(false);
        record = window_doc_record(FrontDocWindow());
        ASSERT_NE(record, nullptr);
        layer = doc_window_layer(record);
    }
};

namespace attended {

inline std::string front_modal_png;

inline void capture_front_modal() {
    pf::compose_screen();
    if (pf::is_modal_window(pf::front_window())) pf::screen_write_png(front_modal_png);
    dialogtest::guarded_compose_step();
}

// Writes the screen to `path` while a modal window is in front.
inline void screenshot_front_modal(const std::string& path) {
    front_modal_png = path;
    pf::host_set_composer(capture_front_modal);
}

// The screenshot `name` taken afresh: the file of an earlier run removed, the
// screen written there while a modal window is in front; answers its path.
inline std::string fresh_front_modal_screenshot(const std::string& name) {
    std::string path = dialogtest::screenshot_path(name);
    std::filesystem::remove(path);
    screenshot_front_modal(path);
    return path;
}

inline pf::Point pending_click{};
inline bool clicked = false;

inline void click_front_modal_then_return() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (!clicked && pf::is_modal_window(front)) {
        clicked = true;
        pf::Rect content = pf::window_content_rect(front);
        pf::driver_click(pf::Point{int16_t(content.top + pending_click.v), int16_t(content.left + pending_click.h)});
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    dialogtest::guarded_compose_step();
}

// Once a modal window is up: a click at the point of its content, then Return.
inline void click_then_return(pf::Point in_content) {
    clicked = false;
    pending_click = in_content;
    pf::host_set_composer(click_front_modal_then_return);
}

}  // namespace attended
