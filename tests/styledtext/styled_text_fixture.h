// An instance on an image port for the styled-text tests, the invariant checker
// they run after every operation, and short ways to read text and runs.
#pragma once

#include "platform/draw/draw.h"
#include "platform/draw/paint.h"
#include "platform/events/events.h"
#include "platform/events/input.h"
#include "platform/scrap/scrap.h"
#include "styledtext/styled_text_internal.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace wetest {

// Every structural rule of an instance: the run table (starts rising from 0, sentinel
// at textLength + 1, no two neighbours of one style, starts within the text), the
// style table's reference counts, each view's line table (starts rising from 0 and
// ending at textLength, origins rising and ending at the total height, no empty line
// while text remains) and the selection. Returns "" or the first broken rule.
std::string check_invariants(WEReference we);

// A run's start, and its style's font, face and size.
struct RunView {
    int32_t start;
    int16_t font;
    uint8_t face;
    int16_t size;
    friend bool operator==(const RunView&, const RunView&) = default;
};
std::vector<RunView> runs_of(WEReference we);
std::string text_of(WEReference we);

// Text, runs (with their full attributes) and selection: what undo must restore.
struct Snapshot {
    std::string text;
    std::vector<std::pair<int32_t, WERunAttributes>> runs;
    int32_t selStart, selEnd;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};
Snapshot snapshot(WEReference we);

std::string screenshot_path(const std::string& name);

struct Instance : ::testing::Test {
    static constexpr int kWidth = 320, kHeight = 200;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    pf::Port port;
    WEReference we = nullptr;

    void SetUp() override;
    void TearDown() override;

    // A new instance whose view is `view` (destination the same), undo on.
    void make(const pf::Rect& view = pf::Rect{10, 10, 190, 310}, int16_t features = weFUndo);
    void set_text(const std::string& text);
    void type(const std::string& keys);
    void select(int32_t start, int32_t end) { WESetSelection(start, end, we); }
    std::string text() const { return text_of(we); }
    int32_t sel_start() const { return WEI(we).selStart; }
    int32_t sel_end() const { return WEI(we).selEnd; }
    void set_face(int32_t start, int32_t end, uint8_t face);
    WERunInfo run_at(int32_t offset) {
        WERunInfo info;
        WEGetRunInfo(offset, info, we);
        return info;
    }
    pf::Point point_of(int32_t offset, int dv = 0);
    void expect_valid() { EXPECT_EQ(check_invariants(we), ""); }
    uint32_t pixel(int x, int y);
    std::vector<uint32_t> all_pixels();
    bool save_png(const std::string& name);
};

}  // namespace wetest
