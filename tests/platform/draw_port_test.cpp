#include "platform/draw/draw.h"
#include "platform/screen/screen.h"

#include <cairo.h>
#include <gtest/gtest.h>

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
