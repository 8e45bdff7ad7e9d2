#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "platform/events/events.h"
#include "platform/events/input.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/screen/screen.h"
#include "platform/windows/windows.h"

#include <gtest/gtest.h>

#include "tests/platform/headless_screen.h"
#include "tests/platform/window_loop.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace window_loop;
using pf::Point;

constexpr pf::RGBColor kRed{0xFFFF, 0, 0};
constexpr pf::RGBColor kGreen{0, 0xFFFF, 0};
constexpr pf::RGBColor kBlue{0, 0, 0xFFFF};
constexpr uint32_t kRedPixel = 0xFF0000, kGreenPixel = 0x00FF00, kBluePixel = 0x0000FF;

uint32_t pixel_at(Point p) {
    pf::compose_screen();
    return pf::screen_pixel(p.h, p.v);
}

Point centre(const Rect& r) { return Point{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)}; }
Point inside_title(WindowRef w) {
    Rect s = pf::window_struct_rect(w);
    return Point{int16_t(s.top + 8), int16_t((s.left + s.right) / 2)};
}

struct Windows : ::testing::Test {
    WindowRef a = nullptr, b = nullptr, floater = nullptr;

    void SetUp() override {
        open_headless_screen();
        names.clear();
        colours.clear();
    }
    void TearDown() override {
        pf::windows_close();
        pf::use_system_clock();
        pf::events_reset();
        pf::host_close();
    }

    WindowRef document(const std::string& name, const Rect& content, const pf::RGBColor& colour) {
        return open_document(name, content, colour);
    }

    WindowRef palette(const std::string& name, const Rect& content, uint32_t attributes = pf::kWindowCloseBoxAttribute) {
        WindowRef w = pf::create_window(pf::kFloatingWindowClass, attributes, content);
        pf::set_window_kind(w, 7);
        pf::set_window_title(w, name);
        names[w] = name;
        colours[w] = kBlue;
        pf::show_window(w);
        return w;
    }

    // Two overlapping documents (B in front) and a palette; all drawn.
    void open_three() {
        a = document("A", Rect{60, 40, 260, 300}, kRed);
        b = document("B", Rect{120, 200, 360, 520}, kGreen);
        floater = palette("F", Rect{60, 540, 200, 620});
        run();
    }
};

// A title given in UTF-8 goes in the one script that spells it all; one no
// script spells whole (Czech and Cyrillic) is kept as it reads, and is
// answered in Mac Roman with "?" only where a program asks for Mac Roman.
TEST_F(Windows, TitlesInUnicodeReadAsTheyWereGiven) {
    WindowRef w = document("A", Rect{60, 40, 260, 300}, kRed);
    const std::string moscow = "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0";
    pf::set_window_title_utf8(w, moscow + ".qrv");
    EXPECT_EQ(pf::window_title_in_script(w).script, pf::kScriptCyrillic);
    EXPECT_EQ(pf::window_title_utf8(w), moscow + ".qrv");
    const std::string mixed = "Rozpo\xC4\x8D" "et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82.qrv:Layer 1";
    pf::set_window_title_utf8(w, mixed);
    EXPECT_EQ(pf::window_title_utf8(w), mixed);
    EXPECT_EQ(pf::window_title(w), "Rozpo?et ??????.qrv:Layer 1");
    run();
}

TEST_F(Windows, LayersKeepModalAboveFloatingAboveDocuments) {
    open_three();
    WindowRef modal = pf::new_window(Rect{150, 150, 250, 400}, nullptr, true, pf::kMovableDialogBoxProc, pf::kFirstWindowOfClass, false, 0);
    WindowRef c = document("C", Rect{80, 80, 200, 200}, kRed);  // made last, still below the palette
    std::vector<WindowRef> order;
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w)) order.push_back(w);
    EXPECT_EQ(order, (std::vector<WindowRef>{modal, floater, c, b, a}));
    EXPECT_EQ(pf::front_window(), modal);
    EXPECT_EQ(pf::front_non_floating_window(), modal);
    EXPECT_TRUE(pf::is_modal_window(modal));
    EXPECT_EQ(pf::window_variant(modal), 5);
    WindowRef plain = pf::new_window(Rect{300, 300, 350, 400}, nullptr, false, pf::kPlainDialogBoxProc, nullptr, false, 0);
    EXPECT_TRUE(pf::is_modal_window(plain));
    EXPECT_EQ(pf::window_struct_rect(plain), (Rect{299, 299, 351, 401}));
    pf::dispose_window(plain);

    pf::select_window(a);  // a document never passes the palette
    EXPECT_EQ(pf::next_window(pf::next_window(pf::first_window())), a);
    pf::send_behind(a, nullptr);
    EXPECT_EQ(pf::next_window(b), a);
    pf::dispose_window(modal);
    EXPECT_EQ(pf::front_window(), floater);
    EXPECT_EQ(pf::front_non_floating_window(), c);
}

TEST_F(Windows, DefinitionNumbersGiveClassAndFrameParts) {
    struct Case {
        int16_t proc_id;
        uint16_t window_class;
        uint32_t attributes;
    } cases[] = {
        {pf::kDocumentProc, pf::kDocumentWindowClass, pf::kWindowCloseBoxAttribute | pf::kWindowResizableAttribute},
        {pf::kNoGrowDocProc, pf::kDocumentWindowClass, pf::kWindowCloseBoxAttribute},
        {pf::kZoomDocProc, pf::kDocumentWindowClass,
         pf::kWindowCloseBoxAttribute | pf::kWindowFullZoomAttribute | pf::kWindowResizableAttribute},
        {pf::kDialogBoxProc, pf::kModalWindowClass, 0},  // no close box even when asked
        {pf::kMovableDialogBoxProc, pf::kMovableModalWindowClass, 0},
        {pf::kFloatProc, pf::kFloatingWindowClass, pf::kWindowCloseBoxAttribute},
        {pf::kFloatGrowProc, pf::kFloatingWindowClass, pf::kWindowCloseBoxAttribute | pf::kWindowResizableAttribute},
        {pf::kFloatSideProc, pf::kFloatingWindowClass, pf::kWindowCloseBoxAttribute | pf::kWindowSideTitlebarAttribute},
    };
    for (const Case& c : cases) {
        WindowRef w = pf::new_window(Rect{100, 100, 200, 200}, nullptr, false, c.proc_id, nullptr, true, 7);
        EXPECT_EQ(pf::window_class(w), c.window_class) << c.proc_id;
        EXPECT_EQ(pf::window_attributes(w), c.attributes) << c.proc_id;
        EXPECT_EQ(pf::window_variant(w), c.proc_id & 0xF);
        EXPECT_EQ(pf::window_refcon(w), 7u);
        pf::dispose_window(w);
    }
    WindowRef side = pf::new_window(Rect{100, 100, 200, 200}, nullptr, true, pf::kFloatSideProc, nullptr, true, 0);
    EXPECT_EQ(pf::window_struct_rect(side), (Rect{99, 86, 201, 201}));  // the title bar at the left
    EXPECT_EQ(pf::find_window(Point{150, 90}, nullptr), pf::kInDrag);
    EXPECT_EQ(pf::find_window(Point{106, 90}, nullptr), pf::kInGoAway);
}

TEST_F(Windows, ClickInABackDocumentOnlySelectsIt) {
    open_three();
    EXPECT_TRUE(pf::window_hilited(b));
    EXPECT_FALSE(pf::window_hilited(a));
    pf::driver_click(Point{80, 60});  // A's content, not covered
    EXPECT_EQ(run(), (std::vector<std::string>{"deactivate B", "activate A"}));
    EXPECT_EQ(pf::front_non_floating_window(), a);
    EXPECT_TRUE(pf::window_hilited(a));
    EXPECT_FALSE(pf::window_hilited(b));
    pf::driver_click(Point{80, 60});
    EXPECT_EQ(run(), (std::vector<std::string>{"click A"}));
}

TEST_F(Windows, ClickInAPaletteLeavesTheDocumentActive) {
    open_three();
    WindowRef second = palette("G", Rect{250, 540, 300, 620});
    run();
    EXPECT_EQ(pf::front_window(), second);
    pf::driver_click(centre(pf::window_content_rect(floater)));
    EXPECT_EQ(run(), (std::vector<std::string>{}));  // selected, no (de)activation
    EXPECT_EQ(pf::front_window(), floater);
    EXPECT_EQ(pf::front_non_floating_window(), b);
    EXPECT_TRUE(pf::window_hilited(b));
    EXPECT_TRUE(pf::window_hilited(floater));
    EXPECT_TRUE(pf::window_hilited(second));  // palettes always look active
    pf::driver_click(centre(pf::window_content_rect(floater)));
    EXPECT_EQ(run(), (std::vector<std::string>{"click F"}));
}

TEST_F(Windows, ModalDialogTakesActivationAndGivesItBack) {
    open_three();
    WindowRef modal = pf::new_window(Rect{150, 150, 250, 400}, nullptr, false, pf::kDialogBoxProc, pf::kFirstWindowOfClass, false, 0);
    pf::set_window_kind(modal, pf::kDialogWindowKind);
    names[modal] = "M";
    colours[modal] = kBlue;
    pf::show_window(modal);
    EXPECT_EQ(run(), (std::vector<std::string>{"deactivate B", "activate M", "update M"}));
    pf::dispose_window(modal);
    EXPECT_EQ(run(), (std::vector<std::string>{"activate B"}));
}

TEST_F(Windows, NewWindowsUpdateOnceAndUncoveredPixelsNeedNoUpdate) {
    a = document("A", Rect{60, 40, 260, 300}, kRed);
    b = document("B", Rect{120, 200, 360, 520}, kGreen);
    EXPECT_EQ(run(), (std::vector<std::string>{"activate B", "update B", "update A"}));
    Point covered{200, 250};  // A's content under B
    EXPECT_EQ(pixel_at(covered), kGreenPixel);
    pf::select_window(a);
    EXPECT_EQ(run(), (std::vector<std::string>{"deactivate B", "activate A"}));
    EXPECT_EQ(pixel_at(covered), kRedPixel);  // A's pixels survived the overlap
    pf::RgnHandle pending = pf::new_region();
    pf::get_window_update_region(b, pending);
    EXPECT_TRUE(pf::empty_region(pending));
    // Moving A away uncovers B without an update either.
    pf::move_window(a, 10, 300, false);
    EXPECT_EQ(run(), (std::vector<std::string>{}));
    EXPECT_EQ(pixel_at(covered), kGreenPixel);
    pf::dispose_region(pending);
}

TEST_F(Windows, ANewScreenIsComposedWhole) {
    open_three();
    pf::screen_open(640, 480);  // as a host does when its window changes size
    EXPECT_EQ(pixel_at(Point{100, 60}), kRedPixel);
    EXPECT_EQ(pixel_at(Point{300, 400}), kGreenPixel);
}

TEST_F(Windows, DrawingIntoACoveredAreaShowsWhenUncovered) {
    open_three();
    {
        pf::PortScope scope(pf::window_port(a));
        pf::rgb_fore_color(kBlue);
        pf::paint_rect(Rect{130, 200, 150, 240});  // under B (local = A's content)
        pf::pen_mode(pf::kPatXor);
        pf::paint_rect(Rect{130, 200, 140, 260});  // xor over it, twice to the right half
        pf::paint_rect(Rect{130, 230, 140, 260});
    }
    Point under_b{int16_t(60 + 135), int16_t(40 + 210)};
    EXPECT_EQ(pixel_at(under_b), kGreenPixel);
    pf::select_window(a);
    EXPECT_EQ(pixel_at(under_b), 0xFFFF00u);                              // blue xor white... inverted blue
    EXPECT_EQ(pixel_at(Point{int16_t(60 + 145), int16_t(40 + 210)}), kBluePixel);
    EXPECT_EQ(pixel_at(Point{int16_t(60 + 135), int16_t(40 + 245)}), kRedPixel);  // xored twice
}

TEST_F(Windows, PixelScrollingInACoveredWindowMovesItsOwnPixels) {
    open_three();
    pf::RgnHandle uncovered = pf::new_region();
    {
        pf::PortScope scope(pf::window_port(a));
        pf::rgb_fore_color(kBlue);
        pf::paint_rect(Rect{100, 240, 110, 260});  // under B
        pf::scroll_rect(pf::window_port(a)->port_rect, -100, 0, uncovered);
    }
    EXPECT_EQ(pf::region_bounds(uncovered), (Rect{0, 160, 200, 260}));
    pf::select_window(a);
    // The blue block moved 100 pixels left, out from under B: A's own pixels, not B's.
    EXPECT_EQ(pixel_at(Point{int16_t(60 + 105), int16_t(40 + 150)}), kBluePixel);
    EXPECT_EQ(pixel_at(Point{int16_t(60 + 105), int16_t(40 + 130)}), kRedPixel);
    pf::dispose_region(uncovered);
}

TEST_F(Windows, TrackingLoopsShowWhatTheyDrawWithoutTheEventLoop) {
    open_three();
    pf::driver_drag(Point{100, 60}, Point{100, 140}, 0, 8);
    pf::EventRecord down;
    ASSERT_TRUE(pf::get_next_event(pf::kMouseDownMask, down));
    pf::PortScope scope(pf::window_port(a));
    pf::rgb_fore_color(kBlue);
    int passes = 0;
    while (pf::still_down()) {
        Point p;
        pf::get_mouse(p);  // local to A's content
        pf::paint_rect(Rect{int16_t(p.v - 2), int16_t(p.h - 2), int16_t(p.v + 2), int16_t(p.h + 2)});
        ++passes;
    }
    EXPECT_GT(passes, 2);
    // The polling calls composed and presented: the screen shows the last square.
    EXPECT_EQ(pf::screen_pixel(140, 100), kBluePixel);
}

TEST_F(Windows, InvalidationFollowsTheOriginAndBeginUpdateLimitsDrawing) {
    open_three();
    pf::PortScope scope(pf::window_port(a));
    pf::set_origin(100, 50);
    pf::inval_window_rect(a, Rect{50, 100, 60, 120});  // the content's top-left corner
    pf::RgnHandle r = pf::new_region();
    pf::get_window_update_region(a, r);
    EXPECT_EQ(pf::region_bounds(r), (Rect{50, 100, 60, 120}));
    pf::valid_window_rect(a, Rect{50, 100, 60, 110});
    pf::get_window_update_region(a, r);
    EXPECT_EQ(pf::region_bounds(r), (Rect{50, 110, 60, 120}));
    pf::begin_update(a);
    EXPECT_EQ(pf::region_bounds(pf::window_port(a)->vis_rgn), (Rect{50, 110, 60, 120}));
    pf::rgb_fore_color(kBlue);
    pf::paint_rect(pf::window_port(a)->port_rect);  // only the update area changes
    pf::end_update(a);
    pf::get_window_update_region(a, r);
    EXPECT_TRUE(pf::empty_region(r));
    pf::select_window(a);
    EXPECT_EQ(pixel_at(Point{65, 55}), kBluePixel);   // content (5, 15)
    EXPECT_EQ(pixel_at(Point{65, 45}), kRedPixel);    // content (5, 5): validated
    EXPECT_EQ(pixel_at(Point{75, 55}), kRedPixel);    // outside the update
    pf::Point p{0, 0};
    pf::local_to_global(p);
    EXPECT_EQ(p, (Point{10, -60}));  // local (0, 0) lies 50 above and 100 left of the content
    pf::dispose_region(r);
}

TEST_F(Windows, FindWindowNamesEveryPart) {
    open_three();
    WindowRef hit = nullptr;
    EXPECT_EQ(pf::find_window(Point{5, 100}, &hit), pf::kInMenuBar);
    EXPECT_EQ(hit, nullptr);
    EXPECT_EQ(pf::find_window(Point{400, 20}, &hit), pf::kInDesk);
    EXPECT_EQ(pf::find_window(Point{100, 100}, &hit), pf::kInContent);
    EXPECT_EQ(hit, a);
    EXPECT_EQ(pf::find_window(inside_title(b), &hit), pf::kInDrag);
    EXPECT_EQ(hit, b);
    Rect s = pf::window_struct_rect(b);
    EXPECT_EQ(pf::find_window(Point{int16_t(s.top + 11), int16_t(s.left + 14)}, &hit), pf::kInGoAway);
    EXPECT_EQ(pf::find_window(Point{int16_t(s.top + 11), int16_t(s.left + 34)}, &hit), pf::kInCollapseBox);
    EXPECT_EQ(pf::find_window(Point{int16_t(s.top + 11), int16_t(s.left + 54)}, &hit), pf::kInZoomOut);
    Rect c = pf::window_content_rect(b);
    EXPECT_EQ(pf::find_window(Point{int16_t(c.bottom - 3), int16_t(c.right - 3)}, &hit), pf::kInGrow);
    pf::set_window_proxy(b, true);
    EXPECT_EQ(pf::window_struct_rect(b).top, int16_t(c.top - 22));
    int proxies = 0;
    for (int16_t h = s.left; h < s.right; ++h)
        if (pf::find_window(Point{int16_t(s.top + 10), h}, &hit) == pf::kInProxyIcon) ++proxies;
    EXPECT_EQ(proxies, 16);
    // Command-click on the title asks for the path; elsewhere on the bar it does not.
    pf::EventRecord click;
    click.what = pf::kMouseDown;
    click.modifiers = pf::kCmdKey;
    click.where = inside_title(b);
    EXPECT_TRUE(pf::is_window_path_select_click(b, click));
    click.where = Point{int16_t(s.top + 10), int16_t(s.right - 10)};
    EXPECT_FALSE(pf::is_window_path_select_click(b, click));
    click.where = inside_title(b);
    click.modifiers = 0;
    EXPECT_FALSE(pf::is_window_path_select_click(b, click));
    EXPECT_EQ(pf::track_window_proxy_drag(b, click.where), pf::kUserWantsToDragWindowErr);
}

TEST_F(Windows, DraggingMovesTheWindowWithinBounds) {
    open_three();
    Rect before = pf::window_content_rect(a);
    Point grip = inside_title(a);
    pf::driver_drag(grip, Point{int16_t(grip.v + 40), int16_t(grip.h + 60)});
    run();
    Rect after = pf::window_content_rect(a);
    EXPECT_EQ(after.top - before.top, 40);
    EXPECT_EQ(after.left - before.left, 60);
    EXPECT_EQ(pf::front_non_floating_window(), a);  // dragging selects
    EXPECT_EQ(pixel_at(Point{int16_t(after.top + 5), int16_t(after.left + 5)}), kRedPixel);
    // Into the menu bar: the window stops where the mouse left the bounds.
    grip = inside_title(a);
    pf::driver_drag(grip, Point{2, grip.h}, 0, 20);
    run();
    EXPECT_GE(pf::window_struct_rect(a).top, pf::menu_bar_height() - 10);
    EXPECT_LT(pf::window_content_rect(a).top, after.top);
}

// A host may report the last moves together with the release.
TEST_F(Windows, TrackersFollowTheMouseToWhereItWasReleased) {
    open_three();
    Point grip = inside_title(a);
    Rect before = pf::window_content_rect(a);
    pf::input_mouse_button(true, grip);
    pf::input_mouse_button(false, Point{int16_t(grip.v + 30), int16_t(grip.h + 20)});
    pf::flush_events(pf::kEveryEvent, 0);
    pf::drag_window(a, grip, pf::desktop_bounds());
    EXPECT_EQ(pf::window_content_rect(a).top, before.top + 30);
    EXPECT_EQ(pf::window_content_rect(a).left, before.left + 20);
    Rect c = pf::window_content_rect(b);
    Point corner{int16_t(c.bottom - 2), int16_t(c.right - 2)};
    pf::input_mouse_button(true, corner);
    pf::input_mouse_button(false, Point{int16_t(corner.v + 10), int16_t(corner.h + 5)});
    uint32_t size = pf::grow_window(b, corner, Rect{80, 120, 400, 600});
    EXPECT_EQ(size, (uint32_t(c.height() + 10) << 16) | uint32_t(c.width() + 5));
}

TEST_F(Windows, GrowAnswersTheNewSizeWithinLimitsAndUpdatesTheNewStrips) {
    open_three();
    Rect c = pf::window_content_rect(b);  // 240 high, 320 wide
    Point corner{int16_t(c.bottom - 4), int16_t(c.right - 4)};
    pf::driver_drag(corner, Point{int16_t(corner.v + 30), int16_t(corner.h + 50)});
    EXPECT_EQ(run(), (std::vector<std::string>{"update B"}));
    EXPECT_EQ(pf::window_content_rect(b), (Rect{c.top, c.left, int16_t(c.bottom + 30), int16_t(c.right + 50)}));
    EXPECT_EQ(pixel_at(Point{int16_t(c.bottom + 20), int16_t(c.right + 40)}), kGreenPixel);
    // The limits hold: 400 x 600 at most, 80 x 120 at least.
    pf::move_window(b, 5, 45, false);
    c = pf::window_content_rect(b);
    pf::driver_drag(Point{int16_t(c.bottom - 4), int16_t(c.right - 4)}, Point{479, 639});
    run();
    EXPECT_EQ(pf::window_content_rect(b).height(), 400);
    EXPECT_EQ(pf::window_content_rect(b).width(), 600);
    pf::size_window(b, 300, 200, false);
    c = pf::window_content_rect(b);
    corner = Point{int16_t(c.bottom - 4), int16_t(c.right - 4)};
    pf::driver_drag(corner, Point{60, 50});
    run();
    EXPECT_EQ(pf::window_content_rect(b).height(), 80);
    EXPECT_EQ(pf::window_content_rect(b).width(), 120);
    // A click without moving changes nothing.
    c = pf::window_content_rect(b);
    pf::driver_click(Point{int16_t(c.bottom - 4), int16_t(c.right - 4)});
    run();
    EXPECT_EQ(pf::window_content_rect(b), c);
}

TEST_F(Windows, ZoomGoesToTheStandardStateAndBack) {
    open_three();
    Rect user = pf::window_content_rect(b);
    Rect standard{50, 30, 400, 500};
    pf::set_window_standard_state(b, standard);
    Rect s = pf::window_struct_rect(b);
    Point zoom_box{int16_t(s.top + 11), int16_t(s.left + 54)};
    pf::driver_click(zoom_box);
    run();
    EXPECT_EQ(pf::window_content_rect(b), standard);
    s = pf::window_struct_rect(b);
    zoom_box = Point{int16_t(s.top + 11), int16_t(s.left + 54)};
    EXPECT_EQ(pf::find_window(zoom_box, nullptr), pf::kInZoomIn);
    pf::driver_click(zoom_box);
    run();
    EXPECT_EQ(pf::window_content_rect(b), user);
    // Released outside the box: nothing happens.
    s = pf::window_struct_rect(b);
    zoom_box = Point{int16_t(s.top + 11), int16_t(s.left + 54)};
    pf::driver_drag(zoom_box, Point{int16_t(zoom_box.v + 40), zoom_box.h});
    run();
    EXPECT_EQ(pf::window_content_rect(b), user);
}

TEST_F(Windows, CloseAndCollapseBoxes) {
    open_three();
    Rect s = pf::window_struct_rect(a);
    pf::select_window(a);
    run();
    pf::driver_click(Point{int16_t(s.top + 11), int16_t(s.left + 34)});
    run();
    EXPECT_TRUE(pf::window_collapsed(a));
    EXPECT_EQ(pf::window_struct_rect(a).height(), 22);
    EXPECT_EQ(pf::find_window(Point{int16_t(s.top + 40), int16_t(s.left + 20)}, nullptr), pf::kInDesk);
    pf::driver_click(Point{int16_t(s.top + 11), int16_t(s.left + 34)});
    run();
    EXPECT_FALSE(pf::window_collapsed(a));
    EXPECT_EQ(pixel_at(Point{int16_t(s.top + 40), int16_t(s.left + 20)}), kRedPixel);
    // Pressed in the close box and released outside: kept.
    Point close_box{int16_t(s.top + 11), int16_t(s.left + 14)};
    pf::driver_drag(close_box, Point{int16_t(close_box.v + 50), close_box.h});
    run();
    EXPECT_EQ(pf::front_non_floating_window(), a);
    pf::driver_click(close_box);
    EXPECT_EQ(run(), (std::vector<std::string>{"close A", "activate B"}));
    EXPECT_EQ(pf::front_non_floating_window(), b);
}

TEST_F(Windows, SuspendHidesFloatingWindowsAndResumeShowsThem) {
    open_three();
    Point in_palette = centre(pf::window_content_rect(floater));
    EXPECT_EQ(pixel_at(in_palette), kBluePixel);
    pf::driver_focus(false);
    run();
    EXPECT_FALSE(pf::window_visible(floater));
    EXPECT_FALSE(pf::floating_windows_visible());
    EXPECT_EQ(pf::front_window(), b);
    EXPECT_NE(pixel_at(in_palette), kBluePixel);
    EXPECT_EQ(pf::find_window(in_palette, nullptr), pf::kInDesk);
    pf::driver_focus(true);
    run();
    EXPECT_TRUE(pf::window_visible(floater));
    EXPECT_EQ(pixel_at(in_palette), kBluePixel);
    // A palette hidden by the program stays hidden through a resume.
    pf::hide_window(floater);
    pf::driver_focus(false);
    pf::driver_focus(true);
    run();
    EXPECT_FALSE(pf::window_visible(floater));
}

bool wheel_seen(WindowRef w, int axis, int32_t delta, uint16_t, void* user) {
    static_cast<std::vector<std::string>*>(user)->push_back(name_of(w) + " " + std::to_string(axis) + " " +
                                                            std::to_string(delta));
    return true;
}

TEST_F(Windows, WheelGoesToTheWindowUnderTheMouseAndKeysToTheQueue) {
    open_three();
    std::vector<std::string> turns;
    pf::set_window_wheel_handler(a, wheel_seen, &turns);
    pf::set_window_wheel_handler(b, wheel_seen, &turns);
    pf::driver_wheel(Point{80, 60}, 0, -2);
    pf::driver_wheel(Point{300, 400}, 1, 1);
    pf::driver_wheel(Point{400, 20}, 0, 1);  // desk: nobody
    pf::driver_type("ok");
    EXPECT_EQ(run(), (std::vector<std::string>{"key o", "key k"}));
    EXPECT_EQ(turns, (std::vector<std::string>{"A 0 -2", "B 1 1"}));
}

TEST_F(Windows, ScreenshotOfTwoDocumentsAndAPalette) {
    open_three();
    pf::set_window_modified(b, true);
    pf::set_window_proxy(a, true);
    pf::draw_grow_icon(b);
    // Active and inactive title bars differ; the title text is drawn.
    Rect sa = pf::window_struct_rect(a), sb = pf::window_struct_rect(b);
    EXPECT_NE(pixel_at(Point{int16_t(sa.top + 3), int16_t(sa.left + 100)}),
              pixel_at(Point{int16_t(sb.top + 3), int16_t(sb.left + 250)}));
    int dark = 0;
    for (int16_t h = sb.left; h < sb.right; ++h)
        if (pixel_at(Point{int16_t(sb.top + 11), h}) < 0x404040) ++dark;
    EXPECT_GT(dark, 2);
    WindowRef side = palette("Tabs", Rect{300, 40, 330, 360},
                             pf::kWindowCloseBoxAttribute | pf::kWindowCollapseBoxAttribute |
                                 pf::kWindowResizableAttribute | pf::kWindowSideTitlebarAttribute);
    WindowRef dialog = pf::new_window(Rect{380, 380, 460, 620}, nullptr, true, pf::kDialogBoxProc,
                                      pf::kFirstWindowOfClass, false, 0);
    names[dialog] = "D";
    colours[dialog] = pf::RGBColor{0xEEEE, 0xEEEE, 0xEEEE};
    run();
    (void)side;
    pf::compose_screen();
    auto path = std::filesystem::path(QUORVIN_BINARY_DIR) / "windows.png";
    ASSERT_TRUE(pf::screen_write_png(path.string()));
}

}  // namespace
