#include "draw_test_support.h"

#include "platform/draw/small_images.h"

namespace {

using drawtest::ImagePort;
using pf::Rect;

using SmallImages = ImagePort;

TEST_F(SmallImages, OneBitImagesKeepTheirLeftmostPixelFirst) {
    pf::Bits16 bits{};
    bits[0] = 0x8001;
    bits[1] = 0x4000;
    pf::Image16 image = pf::image16_of(bits);
    EXPECT_EQ(image.rows[0], 0x80);
    EXPECT_EQ(image.rows[1], 0x01);
    pf::copy_bits(pf::image16_map(image), {0, 0, 16, 16}, pf::image_rect_at(2, 1), pf::kSrcCopy);
    EXPECT_EQ(map(1, 1, 19, 3),
              ".#..............#.\n"
              "..#...............\n");
}

TEST_F(SmallImages, CursorDrawsThroughItsMask) {
    pf::CursorImage cursor;
    cursor.data[0] = 0x8000;
    cursor.data[1] = 0x4000;
    cursor.mask[0] = 0xC000;
    cursor.mask[1] = 0xE000;
    put(1, 0, 0xFF0000);
    put(2, 1, 0xFF0000);
    put(3, 1, 0xFF0000);
    pf::Image16 image = pf::image16_of(cursor.data), mask = pf::image16_of(cursor.mask);
    pf::copy_mask(pf::image16_map(image), pf::image16_map(mask), {0, 0, 16, 16}, {0, 0, 16, 16},
                  pf::image_rect_at(0, 0));
    EXPECT_EQ(map(0, 0, 4, 2),
              "#...\n"    // the mask's white pixel covers the red one
              ".#.o\n");  // outside the mask the red pixel stays
}

TEST_F(SmallImages, ColourIconUsesTheSystemPaletteAndTransparentLeavesWhiteOut) {
    pf::ColorIcon icon{};  // index 0 is white
    icon[0] = 255;         // black
    icon[1] = 35;          // a colour of the cube
    put(2, 0, 0x00FF00);
    pf::copy_bits(pf::color_icon_map(icon), {0, 0, 16, 16}, pf::image_rect_at(0, 0), pf::kTransparent);
    EXPECT_EQ(at(0, 0), drawtest::kBlack);
    EXPECT_EQ(at(1, 0), pf::pixel_of(pf::system_palette().colors[35]) & 0xFFFFFF);
    EXPECT_EQ(at(2, 0), 0x00FF00u) << "white pixels of the icon are transparent";
}

TEST_F(SmallImages, PatternsFromAPatternListDrawAnchoredLikeAnyOther) {
    pf::PatternBytes bytes{0x80, 0, 0, 0, 0, 0, 0, 0};
    pf::fill_rect({0, 0, 9, 9}, pf::pattern_of(bytes));
    EXPECT_EQ(pf::get_pixel_color(0, 0), pf::kBlackColor);
    EXPECT_EQ(pf::get_pixel_color(8, 8), pf::kBlackColor);
    EXPECT_EQ(pf::get_pixel_color(1, 0), pf::kWhiteColor);
    EXPECT_EQ(pf::get_pixel_color(-1, 0), pf::kWhiteColor) << "outside the surface";
}

TEST(SystemPalette, HasTheCubeRampsAndBlackLast) {
    const auto& colors = pf::system_palette().colors;
    ASSERT_EQ(colors.size(), 256u);
    EXPECT_EQ(colors[0], pf::kWhiteColor);
    EXPECT_EQ(colors[5], (pf::RGBColor{0xFFFF, 0xFFFF, 0}));
    EXPECT_EQ(colors[215], (pf::RGBColor{0xEEEE, 0, 0}));
    EXPECT_EQ(colors[254], (pf::RGBColor{0x1111, 0x1111, 0x1111}));
    EXPECT_EQ(colors[255], pf::kBlackColor);
}

TEST_F(SmallImages, BlendMixesByTheOpColourWeight) {
    const uint32_t black = 0;
    pf::BitMap src{reinterpret_cast<const uint8_t*>(&black), 4, {0, 0, 1, 1}, 32};
    pf::set_op_color({33410, 33410, 33410});
    pf::copy_bits(src, {0, 0, 1, 1}, {0, 0, 1, 1}, pf::kBlend);
    EXPECT_EQ(at(0, 0), 0x7D7D7Du);  // white weighed 1 - 33410/65535
}

}  // namespace
