// The headless screen, window manager and event driver that the menu, control,
// dialog, list and navigation tests run on, with the toolbox's own texts installed
// beside each test's resources.
#pragma once

#include "platform/draw/draw.h"
#include "platform/events/events.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/menus/menus.h"
#include "platform/screen/screen.h"
#include "platform/windows/windows.h"
#include "tests/platform/headless_screen.h"
#include "tests/tools/rescomp_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace toolboxtest {

// The toolbox's texts, to compile together with a test's own resources.
inline std::string toolbox_resources() {
    return read_file(std::filesystem::path(QUORVIN_SOURCE_DIR) / "resources" / "toolbox.txt");
}

inline std::string screenshot_path(const std::string& name) {
    std::filesystem::path folder = std::filesystem::path(QUORVIN_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

inline pf::Point centre(const pf::Rect& r) {
    return pf::Point{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)};
}

// A loop that waits for input the script never gives would hang the test: after
// this many presents with the script played, the test fails instead.
inline int idle_presents = 0;
inline void guarded_compose() {
    pf::compose_screen();
    idle_presents = pf::driver_pending_steps() ? 0 : idle_presents + 1;
    if (idle_presents > 20000) {
        idle_presents = 0;
        throw std::runtime_error("waiting for input that the test never gives");
    }
}

struct Screen : ::testing::Test {
    void SetUp() override {
        open_headless_screen();
        pf::menus_reset();
        idle_presents = 0;
        pf::host_set_composer(guarded_compose);
    }
    void TearDown() override {
        pf::menus_reset();
        pf::windows_close();
        pf::use_system_clock();
        pf::driver_reset();
        pf::events_reset();
        pf::host_close();
        pf::resources_clear();
    }
    // Compiles and installs the test's resources with the toolbox's texts.
    void install(const std::string& source) { install_source(toolbox_resources() + source); }

    uint32_t pixel(pf::Point p) {
        pf::compose_screen();
        return pf::screen_pixel(p.h, p.v);
    }
};

}  // namespace toolboxtest
