// Two document windows, A on the left and B on the right, for drag tests: a
// press in A's content starts a drag the test builds, B records the tracking
// messages it gets and the flavours it receives.
#pragma once

#include "platform/drag/drag.h"
#include "platform/draw/draw.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/windows/windows.h"

#include <gtest/gtest.h>

#include "tests/platform/headless_screen.h"
#include "tests/platform/window_loop.h"

#include <functional>
#include <string>
#include <vector>

namespace drag_loop {

using pf::Point;
using pf::Rect;
using pf::WindowRef;

struct ReceivedFlavour {
    pf::DragItemRef item = 0;
    pf::FourCC type = 0;
    std::vector<uint8_t> data;
};

inline std::vector<std::string> messages;         // "enter B", "in B", "leave B", "drop B"
inline std::vector<ReceivedFlavour> received;
inline std::function<void(pf::DragRef)> fill_drag;     // adds the items of a drag from A
inline std::function<void(pf::DragRef)> after_drop;    // looks at the drag before it is disposed
inline pf::OSErr track_result = 1;

inline std::string name_of(WindowRef w) { return window_loop::name_of(w); }

inline pf::OSErr track(int16_t message, WindowRef window, void*, pf::DragRef) {
    static const char* const kNames[] = {"", "", "enter ", "in ", "leave "};
    std::string entry = kNames[message] + name_of(window);
    if (messages.empty() || messages.back() != entry) messages.push_back(entry);  // "in" once per stay
    return pf::noErr;
}

// Reads every flavour of the types it knows from every item.
inline pf::OSErr receive(WindowRef window, void*, pf::DragRef drag) {
    messages.push_back("drop " + name_of(window));
    uint16_t count = 0;
    pf::count_drag_items(drag, count);
    for (uint16_t index = 1; index <= count; ++index) {
        pf::DragItemRef item = 0;
        pf::get_drag_item_reference_number(drag, index, item);
        for (pf::FourCC type : {pf::four_cc("TEXT"), pf::four_cc("utf8"), pf::four_cc("PICT"), pf::four_cc("hfs ")}) {
            int32_t size = 0;
            if (pf::get_flavor_data_size(drag, item, type, size) != pf::noErr) continue;
            ReceivedFlavour flavour{item, type, std::vector<uint8_t>(size_t(size))};
            if (pf::OSErr err = pf::get_flavor_data(drag, item, type, flavour.data.data(), size, 0)) return err;
            received.push_back(std::move(flavour));
        }
    }
    return pf::noErr;
}

// A one-pixel frame of 60 by 40 pixels around a global point.
inline pf::RgnHandle outline_around(Point p) {
    pf::RgnHandle outline = pf::new_region(), inner = pf::new_region();
    pf::rect_region(outline, Rect{int16_t(p.v - 20), int16_t(p.h - 30), int16_t(p.v + 20), int16_t(p.h + 30)});
    pf::copy_region(outline, inner);
    pf::inset_region(inner, 1, 1);
    pf::diff_region(outline, inner, outline);
    pf::dispose_region(inner);
    return outline;
}

inline void dispatch(const pf::EventRecord& e) {
    WindowRef w = nullptr;
    if (e.what != pf::kMouseDown || pf::find_window(e.where, &w) != pf::kInContent) {
        window_loop::dispatch(e);
        return;
    }
    pf::DragRef drag = pf::new_drag();
    if (fill_drag) fill_drag(drag);
    pf::RgnHandle outline = outline_around(e.where);
    track_result = pf::track_drag(drag, e, outline);
    if (after_drop) after_drop(drag);
    pf::dispose_region(outline);
    pf::dispose_drag(drag);
}

inline void run() { pf::driver_run_until_idle(dispatch); }

constexpr pf::RGBColor kRed{0xFFFF, 0, 0};
constexpr pf::RGBColor kGreen{0, 0xFFFF, 0};

struct TwoWindows : ::testing::Test {
    WindowRef a = nullptr, b = nullptr;

    void SetUp() override {
        open_headless_screen();
        pf::drag_reset();
        window_loop::names.clear();
        window_loop::colours.clear();
        messages.clear();
        received.clear();
        fill_drag = nullptr;
        after_drop = nullptr;
        track_result = 1;
        a = window_loop::open_document("A", Rect{60, 20, 300, 300}, kRed);
        b = window_loop::open_document("B", Rect{60, 340, 300, 620}, kGreen);
        ASSERT_EQ(pf::install_tracking_handler(track, b, nullptr), pf::noErr);
        ASSERT_EQ(pf::install_receive_handler(receive, b, nullptr), pf::noErr);
        run();
    }
    void TearDown() override {
        pf::drag_reset();
        pf::windows_close();
        pf::use_system_clock();
        pf::events_reset();
        pf::host_close();
    }

    static Point centre(WindowRef w) {
        Rect c = pf::window_content_rect(w);
        return Point{int16_t((c.top + c.bottom) / 2), int16_t((c.left + c.right) / 2)};
    }
};

}  // namespace drag_loop
