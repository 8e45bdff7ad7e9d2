#include <gtest/gtest.h>

#include "ui/port_utils.h"
#include "core/string_utils.h"
#include "platform/host/host.h"
#include "platform/windows/windows.h"

namespace {

struct PortUtils : ::testing::Test {
    void SetUp() override {
        pf::headless_host_open(320, 240);
        pf::windows_open();
    }
    void TearDown() override {
        pf::windows_close();
        pf::host_close();
    }
};

TEST_F(PortUtils, TriggerUpdateAsksForTheWholeWindow) {
    pf::WindowRef w = pf::create_window(pf::kDocumentWindowClass, pf::kWindowStandardDocumentAttributes,
                                        pf::Rect{40, 20, 140, 220});
    pf::show_window(w);
    pf::Rect whole = pf::window_port(w)->port_rect;
    pf::valid_window_rect(w, whole);
    TriggerUpdate(w);
    pf::RgnHandle pending = pf::new_region();
    pf::get_window_update_region(w, pending);
    EXPECT_EQ(pf::region_bounds(pending), whole);
    pf::dispose_region(pending);
}

TEST_F(PortUtils, TextStateRoundTrip) {
    pf::WindowRef w = pf::create_window(pf::kDocumentWindowClass, 0, pf::Rect{40, 20, 140, 220});
    pf::PortScope scope(pf::window_port(w));
    TextState saved;
    GetTextState(&saved);
    TextState other{4, 1, 1, 24};
    SetTextState(&other);
    TextState now;
    GetTextState(&now);
    EXPECT_EQ(now.font, 4);
    EXPECT_EQ(now.face, 1);
    EXPECT_EQ(now.size, 24);
    SetTextState(&saved);
    GetTextState(&now);
    EXPECT_EQ(now.font, saved.font);
    EXPECT_EQ(now.size, saved.size);
    EXPECT_EQ(now.mode, saved.mode);
}

}  // namespace
