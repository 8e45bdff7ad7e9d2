#include "draw_test_support.h"

#include "platform/draw/small_images.h"

namespace {

using drawtest::ImagePort;
using pf::Rect;

using SmallImages = ImagePort;

// A 16x16 image from 16 row words.
std::vector<uint8_t> rows_of(std::initializer_list<uint16_t> words) {
    std::vector<uint8_t> out;
    for (uint16_t w : words) {
        out.push_back(uint8_t(w >> 8));
        out.push_back(uint8_t(w));
    }
    out.resize(32, 0);
    return out;
}

TEST_F(SmallImages, CursorDecodesImageMaskAndHotSpotAndDrawsThroughItsMask) {
    std::vector<uint8_t> curs = rows_of({0x8000, 0x4000});
    std::vector<uint8_t> mask = rows_of({0xC000, 0xE000});
    curs.insert(curs.end(), mask.begin(), mask.end());
    curs.insert(curs.end(), {0, 1, 0, 2});
    pf::Cursor cursor;
    ASSERT_TRUE(pf::parse_cursor(curs.data(), curs.size(), cursor));
    EXPECT_EQ(cursor.hot_spot, (pf::Point{1, 2}));
    EXPECT_FALSE(pf::parse_cursor(curs.data(), curs.size() - 1, cursor));

    put(1, 0, 0xFF0000);
    put(2, 1, 0xFF0000);
    put(3, 1, 0xFF0000);
    pf::copy_mask(pf::bits16_map(cursor.image), pf::bits16_map(cursor.mask), {0, 0, 16, 16}, {0, 0, 16, 16},
                  pf::image_rect_at(0, 0));
    EXPECT_EQ(map(0, 0, 4, 2),
              "#...\n"   // the mask's white pixel erases the red one
              ".#.o\n");  // outside the mask the red pixel stays
}

TEST(SmallImageLists, ImagesAreTakenByIndexWithinTheData) {
    std::vector<uint8_t> list = rows_of({0xFFFF});
    std::vector<uint8_t> second = rows_of({0x0001});
    list.insert(list.end(), second.begin(), second.end());
    list.push_back(0xAA);  // a stray byte is no image
    EXPECT_EQ(pf::small_image_count(list.size()), 2u);
    pf::Bits16 image;
    ASSERT_TRUE(pf::small_image(list.data(), list.size(), 1, image));
    EXPECT_EQ(image.rows[1], 0x01);
    EXPECT_FALSE(pf::small_image(list.data(), list.size(), 2, image));
}

TEST_F(SmallImages, BlackAndWhiteIconNeedsImageAndMask) {
    std::vector<uint8_t> icon = rows_of({0x8000});
    pf::SmallIcon out;
    EXPECT_FALSE(pf::parse_small_icon(icon.data(), icon.size(), out));
    icon.resize(64, 0xFF);
    ASSERT_TRUE(pf::parse_small_icon(icon.data(), icon.size(), out));
    EXPECT_EQ(out.mask.rows[0], 0xFF);
}

TEST_F(SmallImages, ColourIconUsesTheSystemPaletteAndTransparentLeavesWhiteOut) {
    std::vector<uint8_t> data(256, 0);  // index 0 is white
    data[0] = 255;                      // black
    data[1] = 35;                       // a colour of the cube
    pf::SmallColorIcon icon;
    ASSERT_TRUE(pf::parse_small_color_icon(data.data(), data.size(), icon));
    EXPECT_FALSE(pf::parse_small_color_icon(data.data(), 255, icon));
    put(2, 0, 0x00FF00);
    pf::copy_bits(pf::small_color_icon_map(icon), {0, 0, 16, 16}, pf::image_rect_at(0, 0), pf::kTransparent);
    EXPECT_EQ(at(0, 0), drawtest::kBlack);
    EXPECT_EQ(at(1, 0), pf::pixel_of(pf::system_palette().colors[35]) & 0xFFFFFF);
    EXPECT_EQ(at(2, 0), 0x00FF00u) << "white pixels of the icon are transparent";
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
