#include "draw_test_support.h"

#include "platform/draw/small_images.h"
#include "platform/draw/theme.h"

namespace {

using drawtest::ImagePort;
using pf::Rect;

using Theme = ImagePort;

TEST_F(Theme, CallsLeaveThePortStateAsItWas) {
    pf::pen_size(3, 3);
    pf::rgb_fore_color({0x1234, 0x5678, 0x9ABC});
    pf::clip_rect({0, 0, 40, 40});
    pf::draw_theme_button({2, 2, 22, 24}, pf::kThemeBevelButton, pf::kThemeStateActive, pf::kThemeButtonOff);
    pf::draw_theme_tab({2, 30, 20, 60}, pf::kThemeTabFront, pf::TabDirection::kSouth);
    pf::draw_theme_progress({30, 2, 40, 60}, 0, 100, 50, pf::kThemeStateActive);
    EXPECT_EQ(port.pen_size, (pf::Point{3, 3}));
    EXPECT_EQ(port.fg_color, (pf::RGBColor{0x1234, 0x5678, 0x9ABC}));
    EXPECT_EQ(pf::region_bounds(port.clip_rgn), (Rect{0, 0, 40, 40}));
}

TEST_F(Theme, PushedBevelSwapsItsLightAndShadeEdges) {
    pf::draw_theme_button({0, 0, 10, 10}, pf::kThemeBevelButton, pf::kThemeStateActive, pf::kThemeButtonOff);
    uint32_t raised_top = at(3, 1), raised_bottom = at(3, 8), raised_face = at(4, 4);
    pf::draw_theme_button({0, 0, 10, 10}, pf::kThemeBevelButton, pf::kThemeStatePressed, pf::kThemeButtonOff);
    EXPECT_LT(at(3, 1), raised_top);
    EXPECT_GT(at(3, 8), at(3, 1));
    EXPECT_LT(at(4, 4), raised_face) << "a pushed face is darker";
    EXPECT_GT(raised_top, raised_bottom);
    pf::draw_theme_button({0, 0, 10, 10}, pf::kThemeBevelButton, pf::kThemeStateActive, pf::kThemeButtonOn);
    EXPECT_EQ(at(4, 4), at(4, 4));
    uint32_t on_face = at(4, 4);
    pf::draw_theme_button({0, 0, 10, 10}, pf::kThemeBevelButton, pf::kThemeStatePressed, pf::kThemeButtonOff);
    EXPECT_EQ(on_face, at(4, 4)) << "a button that is on looks pushed";
}

TEST_F(Theme, PopupArrowHasTheSizesRows) {
    pf::draw_theme_popup_arrow({0, 0, 5, 9}, pf::ArrowDirection::kDown, pf::ArrowSize::kLarge, 1);
    pf::draw_theme_popup_arrow({0, 20, 3, 25}, pf::ArrowDirection::kDown, pf::ArrowSize::kSmall, 1);
    EXPECT_EQ(map(0, 0, 10, 6),
              "#########.\n"
              ".#######..\n"
              "..#####...\n"
              "...###....\n"
              "....#.....\n"
              "..........\n");
    EXPECT_EQ(map(20, 0, 26, 4),
              "#####.\n"
              ".###..\n"
              "..#...\n"
              "......\n");
}

TEST_F(Theme, FocusRingIsErasedWithoutFocus) {
    pf::draw_theme_focus_rect({10, 10, 20, 20}, true);
    EXPECT_NE(at(8, 8), drawtest::kWhite);
    EXPECT_NE(at(21, 21), drawtest::kWhite);
    EXPECT_EQ(at(10, 10), drawtest::kWhite) << "the ring lies outside the rectangle";
    pf::draw_theme_focus_rect({10, 10, 20, 20}, false);
    for (uint32_t px : snapshot()) ASSERT_EQ(px, drawtest::kWhite);
}

TEST_F(Theme, ProgressFillsItsShareOfTheTrack) {
    pf::draw_theme_progress({0, 0, 6, 42}, 0, 4, 1, pf::kThemeStateActive);
    EXPECT_NE(at(10, 3), drawtest::kWhite);
    EXPECT_EQ(at(11, 3), drawtest::kWhite);
    pf::draw_theme_progress({10, 0, 16, 42}, 0, 4, 9, pf::kThemeStateActive);
    EXPECT_NE(at(40, 13), drawtest::kWhite) << "values past the end fill the track";
    pf::draw_theme_progress({20, 0, 26, 42}, 5, 5, 5, pf::kThemeStateActive);
    EXPECT_EQ(at(10, 23), drawtest::kWhite) << "an empty range fills nothing";
}

TEST(ThemeShowcase, WritesIconsAndThemePieces) {
    drawtest::ScratchPort scratch(300, 150);

    pf::draw_theme_window_header({0, 0, 34, 300}, pf::kThemeStateActive);
    int16_t x = 4;
    for (auto [state, value] : {std::pair{1, 0}, {2, 0}, {1, 1}, {0, 0}}) {
        Rect r{6, x, 28, int16_t(x + 24)};
        pf::draw_theme_button(r, pf::kThemeBevelButton, int16_t(state), int16_t(value));
        pf::ColorIcon icon;
        for (int i = 0; i < 256; ++i) icon[i] = uint8_t((i / 16 + i % 16) % 3 == 0 ? 0 : 180 + i % 30);
        pf::copy_bits(pf::color_icon_map(icon), {0, 0, 16, 16}, pf::image_rect_at(int16_t(x + 4), 9),
                      pf::kTransparent);
        x = int16_t(x + 28);
    }
    pf::draw_theme_separator({4, x, 30, int16_t(x + 6)}, pf::kThemeStateActive);
    pf::draw_theme_button({8, int16_t(x + 10), 26, int16_t(x + 70)}, pf::kThemePopupButton, 1, 0);
    pf::draw_theme_popup_arrow({18, int16_t(x + 60), 22, int16_t(x + 67)}, pf::ArrowDirection::kDown,
                               pf::ArrowSize::kSmall, 1);
    pf::draw_theme_popup_button({6, int16_t(x + 76), 28, int16_t(x + 170)}, pf::kThemeStateActive);

    pf::draw_theme_placard({44, 4, 62, 90}, pf::kThemeStateActive);
    pf::draw_theme_placard({44, 96, 62, 180}, pf::kThemeStateInactive);
    pf::draw_theme_progress({48, 190, 58, 290}, 0, 100, 60, pf::kThemeStateActive);

    pf::draw_theme_tab_pane({72, 4, 82, 200}, pf::kThemeStateActive);
    pf::draw_theme_tab({81, 10, 98, 60}, pf::kThemeTabFront, pf::TabDirection::kSouth);
    pf::draw_theme_tab({81, 60, 95, 110}, pf::kThemeTabNonFront, pf::TabDirection::kSouth);
    pf::draw_theme_tab({81, 110, 95, 160}, pf::kThemeTabNonFrontPressed, pf::TabDirection::kSouth);

    pf::draw_theme_list_box_frame({110, 10, 140, 90}, pf::kThemeStateActive);
    pf::draw_theme_edit_text_frame({115, 110, 131, 200}, pf::kThemeStateActive);
    pf::draw_theme_focus_rect({115, 110, 131, 200}, true);

    // A cursor drawn through its mask, and a dimmed image list entry.
    pf::Bits16 arrow_bits{}, arrow_mask_bits{};
    for (int row = 0; row < 11; ++row) {
        arrow_bits[row] = uint16_t(0xFFFF << (16 - row)) & 0x7FFF;
        arrow_mask_bits[row] = uint16_t(0xFFFF << (15 - row));
    }
    pf::Image16 arrow = pf::image16_of(arrow_bits), arrow_mask = pf::image16_of(arrow_mask_bits);
    pf::fill_rect({108, 220, 140, 290}, pf::kGrayPattern);
    pf::copy_mask(pf::image16_map(arrow), pf::image16_map(arrow_mask), {0, 0, 16, 16}, {0, 0, 16, 16},
                  pf::image_rect_at(226, 114));
    pf::rgb_fore_color(pf::gray_color(0xAAAA));
    pf::copy_bits(pf::image16_map(arrow), {0, 0, 16, 16}, pf::image_rect_at(260, 114), pf::kSrcOr);

    EXPECT_TRUE(pf::write_port_png(scratch.port, std::string(QUORVIN_BINARY_DIR) + "/draw_theme_showcase.png"));
}

}  // namespace
