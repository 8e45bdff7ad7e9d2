#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "platform/screen/screen.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace {

using pf::Point;
using pf::Rect;

struct PortFixture : ::testing::Test {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 48);
    pf::Port port;
    void SetUp() override {
        pf::open_port(port, surface, 64, 48);
        pf::set_port(&port);
    }
    void TearDown() override {
        pf::close_port(port);
        cairo_surface_destroy(surface);
    }
};

TEST_F(PortFixture, SetOriginMovesPortRectAndVisButNotClipOrPen) {
    pf::clip_rect({0, 0, 10, 10});
    pf::move_to(3, 4);
    pf::set_origin(100, 50);
    EXPECT_EQ(port.port_rect, (Rect{50, 100, 98, 164}));
    EXPECT_EQ(port.bounds, (Rect{50, 100, 98, 164}));
    EXPECT_EQ(pf::region_bounds(port.vis_rgn), (Rect{50, 100, 98, 164}));
    EXPECT_EQ(pf::region_bounds(port.clip_rgn), (Rect{0, 0, 10, 10}));
    EXPECT_EQ(pf::get_pen(), (Point{4, 3}));
    Point pt{50, 100};
    pf::local_to_global(pt);
    EXPECT_EQ(pt, (Point{0, 0}));
    pf::global_to_local(pt);
    EXPECT_EQ(pt, (Point{50, 100}));
}

TEST_F(PortFixture, SaveAndRestoreState) {
    pf::PortState saved = pf::save_port_state(port);
    pf::pen_size(3, 2);
    pf::pen_mode(pf::kPatXor);
    pf::rgb_fore_color({0xFFFF, 0, 0});
    pf::text_face(pf::kBold | pf::kItalic);
    pf::clip_rect({1, 1, 2, 2});
    pf::restore_port_state(port, saved);
    EXPECT_EQ(port.pen_size, (Point{1, 1}));
    EXPECT_EQ(port.pen_mode, pf::kPatCopy);
    EXPECT_EQ(port.fg_color, pf::kBlackColor);
    EXPECT_EQ(port.text_face, 0);
    EXPECT_TRUE(pf::point_in_region({30, 30}, port.clip_rgn));
    EXPECT_EQ(saved.clip_rgn, nullptr);
}

TEST_F(PortFixture, PortScopePutsThePreviousPortBack) {
    pf::Port other;
    {
        pf::PortScope scope(&other);
        EXPECT_EQ(pf::get_port(), &other);
    }
    EXPECT_EQ(pf::get_port(), &port);
}

}  // namespace

namespace {

TEST(PortLifetime, ClosingAPortEndsRecordingsLeftOpen) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 8, 8);
    pf::Port port;
    pf::open_port(port, surface, 8, 8);
    pf::set_port(&port);
    pf::open_region();
    pf::frame_rect({0, 0, 4, 4});
    pf::PicHandle pic = pf::open_picture({0, 0, 8, 8});
    pf::paint_rect({0, 0, 2, 2});
    pf::close_port(port);
    EXPECT_EQ(port.region_recording, nullptr);
    EXPECT_EQ(port.picture, nullptr);
    EXPECT_EQ(pf::get_port(), nullptr);
    pf::kill_picture(pic);
    cairo_surface_destroy(surface);
}

}  // namespace

namespace {

TEST(Devices, TheScreenIsTheDeviceUnlessAListIsSet) {
    pf::screen_open(320, 200);
    ASSERT_EQ(pf::device_list().size(), 1u);
    EXPECT_EQ(pf::device_list()[0].rect, (Rect{0, 0, 200, 320}));
    EXPECT_EQ(pf::device_list()[0].pixel_depth, 32);
    pf::set_device_list({pf::GDevice{{0, 0, 200, 320}, 8}, pf::GDevice{{0, 320, 200, 640}, 32}});
    EXPECT_EQ(pf::device_list().size(), 2u);
    EXPECT_EQ(pf::device_list()[0].pixel_depth, 8);
    pf::set_device_list({});
    EXPECT_EQ(pf::device_list().size(), 1u);
    pf::screen_close();
    EXPECT_TRUE(pf::device_list().empty());
}

}  // namespace

namespace {

// A port over a surface that could not be made (cairo's error surface, with
// no pixels): every drawing call leaves it alone rather than writing through
// its missing pixels, and reading answers white.
TEST(PortWithoutPixels, DrawingDoesNothing) {
    cairo_surface_t* failed = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40000, 40000);
    ASSERT_NE(cairo_surface_status(failed), CAIRO_STATUS_SUCCESS);
    pf::Port port;
    pf::open_port(port, failed, 400, 300);
    pf::set_port(&port);
    EXPECT_FALSE(pf::has_pixels(port));
    pf::erase_rect({0, 0, 300, 400});
    pf::paint_rect({10, 10, 50, 60});
    pf::invert_rect({0, 0, 20, 20});
    pf::fill_rect({5, 5, 80, 90}, pf::Pattern{{0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}});
    pf::move_to(20, 40);
    pf::draw_text("no pixels");
    pf::RgnHandle update = pf::new_region();
    pf::scroll_rect({0, 0, 300, 400}, 0, 17, update);
    pf::dispose_region(update);
    uint32_t pixels[4 * 4] = {};
    pf::BitMap bits;
    bits.base = reinterpret_cast<uint8_t*>(pixels);
    bits.row_bytes = 16;
    bits.bounds = {0, 0, 4, 4};
    bits.depth = 32;
    pf::copy_bits(bits, {0, 0, 4, 4}, {30, 30, 34, 34}, pf::kSrcCopy, nullptr);
    EXPECT_EQ(pf::port_bits(port).base, nullptr);
    EXPECT_EQ(pf::get_pixel_color(1, 1), pf::kWhiteColor);
    pf::set_port(nullptr);
    pf::close_port(port);
    cairo_surface_destroy(failed);
}

// Whether a surface of 1000 x 700 pixels (2.8 MB) is made when the address
// space has 1 MB left.
bool surface_made_past_the_limit() {
    cairo_surface_destroy(pf::new_port_surface(8, 8));  // the reserve is taken
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t left = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(1) << 20);
    const rlimit limit{left, left};
    setrlimit(RLIMIT_AS, &limit);
    cairo_surface_t* alert = pf::new_port_surface(1000, 700);
    const bool made = cairo_surface_status(alert) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(alert);
    return made;
}

// Room for a few windows' pixels is held back: a surface that memory can no
// longer hold is made from it, so that an alert can still be drawn.
TEST(PortSurfaces, AreMadeFromTheReserveWhenMemoryIsShort) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address checker reserves more address space than any limit";
#endif
    EXPECT_EXIT(std::_Exit(surface_made_past_the_limit() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

}  // namespace
