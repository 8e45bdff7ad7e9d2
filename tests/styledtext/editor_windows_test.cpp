// Instances in real windows on the headless screen, driven by scripted mouse and
// keys: dragging text between two editors and within one, typing through key
// events, and composition from the host reaching the active editor.
#include "platform/appleevents/appleevents.h"
#include "platform/drag/drag.h"
#include "platform/events/events.h"
#include "platform/events/input_method.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/screen/screen.h"
#include "platform/windows/windows.h"
#include "styledtext/text_drag.h"
#include "tests/platform/headless_screen.h"
#include "tests/styledtext/styled_text_fixture.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::map<pf::WindowRef, WEReference> editors;

WEReference editor_of(pf::WindowRef w) { return editors.count(w) ? editors[w] : nullptr; }

pf::OSErr track(int16_t message, pf::WindowRef, void* refcon, pf::DragRef drag) {
    return WETrackDrag(message, drag, static_cast<WEReference>(refcon));
}

pf::OSErr receive(pf::WindowRef, void* refcon, pf::DragRef drag) {
    return WEReceiveDrag(drag, static_cast<WEReference>(refcon));
}

void click(const pf::EventRecord& e) {
    pf::WindowRef w = nullptr;
    if (pf::find_window(e.where, &w) != pf::kInContent) return;
    WEReference we = editor_of(w);
    pf::PortScope scope(pf::window_port(w));
    pf::Point local = e.where;
    pf::global_to_local(local);
    if (WEPointInSelection(local, we) && pf::wait_mouse_moved(e.where)) WEDragSelection(e, we);
    else WEClick(local, e.modifiers, e.when, we);
}

void dispatch(const pf::EventRecord& e) {
    switch (e.what) {
        case pf::kMouseDown: click(e); break;
        case pf::kKeyDown:
        case pf::kAutoKey:
            if (WEReference we = editor_of(pf::front_window())) WEKey(pf::event_char(e), e.modifiers, we);
            break;
        case pf::kUpdateEvent: {
            pf::WindowRef w = reinterpret_cast<pf::WindowRef>(e.message);
            pf::PortScope scope(pf::window_port(w));
            pf::begin_update(w);
            if (WEReference we = editor_of(w)) WEUpdate(nullptr, we);
            pf::end_update(w);
            break;
        }
        case pf::kHighLevelEvent: pf::ae_process_apple_event(); break;
        default: break;
    }
}

void post_high_level(pf::FourCC event_class, pf::FourCC) { pf::post_event(pf::kHighLevelEvent, event_class); }

struct EditorWindows : ::testing::Test {
    pf::WindowRef a = nullptr, b = nullptr;

    void SetUp() override {
        open_headless_screen();
        pf::drag_reset();
        pf::text_services_reset();
        pf::ae_clear_pending();
        pf::ae_set_post_hook(post_high_level);
        pf::set_text_antialiasing(false);
        WEInstallTSMHandlers();
        a = open_editor(pf::Rect{60, 20, 300, 300}, "alpha beta gamma");
        b = open_editor(pf::Rect{60, 340, 300, 620}, "one two");
        pf::driver_run_until_idle(dispatch);
    }
    void TearDown() override {
        for (auto& [window, we] : editors) WEDispose(we);
        editors.clear();
        pf::drag_reset();
        pf::windows_close();
        pf::ae_set_post_hook(nullptr);
        pf::ae_clear_pending();
        pf::text_services_reset();
        pf::set_text_antialiasing(true);
        pf::use_system_clock();
        pf::events_reset();
        pf::host_close();
    }

    pf::WindowRef open_editor(const pf::Rect& content, const std::string& text) {
        pf::WindowRef w = pf::create_window(pf::kDocumentWindowClass, pf::kWindowStandardDocumentAttributes, content);
        pf::show_window(w);
        pf::PortScope scope(pf::window_port(w));
        pf::text_font(pf::kGenevaFont);
        pf::text_size(12);
        LongRect view{10, 10, 200, 260};
        WEReference we = nullptr;
        EXPECT_EQ(WENew(view, view, weFUndo, true, &we), pf::noErr);
        WEInsert(text.data(), int32_t(text.size()), nullptr, nullptr, we);
        editors[w] = we;
        pf::install_tracking_handler(track, w, we);
        pf::install_receive_handler(receive, w, we);
        return w;
    }

    // The global point of an offset of a window's editor, halfway down its line.
    pf::Point global_of(pf::WindowRef w, int32_t offset) {
        LongPoint p;
        int16_t height = 0;
        WEGetPoint(offset, p, &height, editors[w]);
        pf::Point pt{int16_t(p.v + height / 2), int16_t(p.h)};
        pf::PortScope scope(pf::window_port(w));
        pf::local_to_global(pt);
        return pt;
    }
    std::string text_of(pf::WindowRef w) { return wetest::text_of(editors[w]); }
};

TEST_F(EditorWindows, DraggingTextToAnotherEditorCopiesIt) {
    WESetSelection(6, 10, editors[a]);
    pf::driver_drag(global_of(a, 8), global_of(b, 3));
    pf::driver_run_until_idle(dispatch);
    EXPECT_EQ(text_of(b), "onebeta two");
    EXPECT_EQ(text_of(a), "alpha beta gamma");
    int32_t start = 0, end = 0;
    WEGetSelection(&start, &end, editors[b]);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 7);
    EXPECT_EQ(wetest::check_invariants(editors[b]), "");
    WEActivate(editors[b]);
    pf::compose_screen();
    EXPECT_TRUE(pf::screen_write_png(wetest::screenshot_path("styled_text_drop.png")));
}

TEST_F(EditorWindows, DraggingWithinAnEditorMovesTheText) {
    WESetSelection(0, 6, editors[a]);
    pf::driver_drag(global_of(a, 2), global_of(a, 16));
    pf::driver_run_until_idle(dispatch);
    EXPECT_EQ(text_of(a), "beta gammaalpha ");
    ASSERT_EQ(WEUndo(editors[a]), pf::noErr);
    EXPECT_EQ(text_of(a), "alpha beta gamma");
}

TEST_F(EditorWindows, KeysAndCompositionReachTheActiveEditor) {
    pf::select_window(b);
    pf::driver_run_until_idle(dispatch);
    WEActivate(editors[b]);
    WESetSelection(7, 7, editors[b]);
    pf::driver_type("!");
    pf::driver_run_until_idle(dispatch);
    EXPECT_EQ(text_of(b), "one two!");
    pf::input_composition("ni", 2, 0);
    pf::driver_run_until_idle(dispatch);
    EXPECT_EQ(text_of(b), "one two!ni");
    EXPECT_EQ(WEI(editors[b]).inputAreaStart, 8);
    ASSERT_TRUE(pf::input_commit("NI"));
    pf::driver_run_until_idle(dispatch);
    EXPECT_EQ(text_of(b), "one two!NI");
    EXPECT_EQ(WEI(editors[b]).inputAreaStart, -1);
    EXPECT_EQ(text_of(a), "alpha beta gamma");
}

}  // namespace
