// Bitmaps, colour tables and pictures: source -> bundle -> decoded values.
#include "tests/tools/rescomp_fixture.h"

namespace {

using namespace pf;

// 16 rows: row 0 as given, the others blank.
std::string art16(const std::string& first_row, const std::string& blank = "................") {
    std::string rows = "  " + first_row + "\n";
    for (int i = 1; i < 16; ++i) rows += "  " + blank + "\n";
    return rows;
}

TEST(RescompImages, CursorIconsAndIconLists) {
    install_source("CURS 200 {\n  hotspot 3 9\n" + art16("#o.x############") + "}\n" +
                   "ics# 128 {\n" + art16("#o..............") + "}\n" +
                   "SICN 130 {\n" + art16("#..............#") + art16(".#..............") + "}\n" +
                   "ics8 900 {\n  legend a 0x10\n  legend \"#\" 7\n" + art16("a#.aaaaaaaaaaaaa") + "}\n");
    CursorImage cursor;
    ASSERT_TRUE(decode_cursor(get_resource(kCursorType, 200)->bytes, cursor));
    EXPECT_EQ(cursor.data[0], 0b1001111111111111);  // '#' and 'x' set the image bit
    EXPECT_EQ(cursor.mask[0], 0b1100111111111111);  // '#' and 'o' set the mask bit
    EXPECT_EQ(cursor.data[1], 0);
    EXPECT_EQ(cursor.hot_spot, (Point{3, 9}));

    SmallIcon icon;
    ASSERT_TRUE(decode_small_icon(get_resource(kSmallIconType, 128)->bytes, icon));
    EXPECT_EQ(icon.image[0], 0x8000);
    EXPECT_EQ(icon.mask[0], 0xC000);

    std::vector<Bits16> list;
    ASSERT_TRUE(decode_small_icon_list(get_resource(kSmallIconListType, 130)->bytes, list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0][0], 0x8001);
    EXPECT_EQ(list[1][0], 0x4000);

    ColorIcon colors;
    ASSERT_TRUE(decode_color_icon(get_resource(kColorIconType, 900)->bytes, colors));
    EXPECT_EQ(colors[0], 0x10);
    EXPECT_EQ(colors[1], 7);     // the legend replaces '#'
    EXPECT_EQ(colors[2], 0x00);  // '.' is white by default
    EXPECT_EQ(colors[16], 0x00);
}

TEST(RescompImages, PatternsDrawnOrInHexKeepTheirOrder) {
    install_source(R"(
PAT# 600 {
  hex 0000000000000000
  #.......
  .#......
  ..#.....
  ...#....
  ....#...
  .....#..
  ......#.
  .......#
  hex AA55AA55AA55AA55
}
)");
    std::vector<PatternBytes> patterns;
    ASSERT_TRUE(decode_patterns(get_resource(kPatternListType, 600)->bytes, patterns));
    ASSERT_EQ(patterns.size(), 3u);
    EXPECT_EQ(patterns[0], (PatternBytes{0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(patterns[1], (PatternBytes{0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}));
    EXPECT_EQ(patterns[2], (PatternBytes{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}));
}

TEST(RescompImages, ColorTable) {
    install_source(R"(
clut 129 {
  color 0xFFFF 0xFFFF 0xFFFF
  color 0 0 0
  color 0xDD6B 0x08C2 0x06A2
}
)");
    ColorTableResource table;
    ASSERT_TRUE(decode_color_table(get_resource(kColorTableType, 129)->bytes, table));
    ASSERT_EQ(table.entries.size(), 3u);
    EXPECT_EQ(table.entries[2].value, 2);
    EXPECT_EQ(table.entries[2].red, 0xDD6B);
    EXPECT_EQ(table.entries[2].green, 0x08C2);
    EXPECT_EQ(table.entries[2].blue, 0x06A2);
    EXPECT_EQ(table.entries[1].red, 0);
}

TEST(RescompImages, PictureCommands) {
    install_source(R"(
PICT 191 {
  frame 0 0 84 69
  pen_size 2 1
  pen_mode pat_xor
  pen_pattern AA55AA55AA55AA55
  fore_color 0xFFFF 0 0x8000
  back_color 1 2 3
  line 1 2 30 40
  frame_rect 0 0 20 22
  paint_oval 1 1 5 5
  invert_round_rect 2 2 10 10 4 6
  font 3
  size 9
  face bold underline
  text 15 4 "Tools"
  bits 20 30 xor
    #................#
    .#................
  line 0 0 1 1
}
)");
    PictureCommands picture;
    auto bytes = get_resource(kPictureType, 191)->bytes;
    ASSERT_TRUE(decode_picture(bytes, picture));
    EXPECT_EQ((bytes[0] << 8 | bytes[1]), int(bytes.size()));
    EXPECT_EQ(picture.frame, (Rect{0, 0, 84, 69}));
    ASSERT_EQ(picture.ops.size(), 16u);
    EXPECT_EQ(picture.ops[0].opcode, kPicPenSize);
    EXPECT_EQ(picture.ops[0].from, (Point{1, 2}));  // v is the height
    EXPECT_EQ(picture.ops[1].value, 10);
    EXPECT_EQ(picture.ops[2].pattern[1], 0x55);
    EXPECT_EQ(picture.ops[3].opcode, kPicForeColor);
    EXPECT_EQ(picture.ops[3].blue, 0x8000);
    EXPECT_EQ(picture.ops[4].green, 2);
    EXPECT_EQ(picture.ops[5].opcode, kPicLine);
    EXPECT_EQ(picture.ops[5].to, (Point{30, 40}));
    EXPECT_EQ(picture.ops[6].opcode, kPicFrameRect);
    EXPECT_EQ(picture.ops[7].opcode, kPicFrameOval + 1);
    EXPECT_EQ(picture.ops[8].opcode, kPicOvalSize);
    EXPECT_EQ(picture.ops[8].from, (Point{6, 4}));
    EXPECT_EQ(picture.ops[9].opcode, kPicFrameRoundRect + 3);
    EXPECT_EQ(picture.ops[9].rect, (Rect{2, 2, 10, 10}));
    EXPECT_EQ(picture.ops[10].value, 3);
    EXPECT_EQ(picture.ops[11].value, 9);
    EXPECT_EQ(picture.ops[12].value, kFaceBold | kFaceUnderline);
    EXPECT_EQ(picture.ops[13].text, "Tools");
    EXPECT_EQ(picture.ops[13].from, (Point{15, 4}));
    const PictureOp& bits = picture.ops[14];
    EXPECT_EQ(bits.opcode, kPicBitsRect);
    EXPECT_EQ(bits.row_bytes, 4);  // 18 pixels round up to an even number of bytes
    EXPECT_EQ(bits.bounds, (Rect{0, 0, 2, 18}));
    EXPECT_EQ(bits.rect, (Rect{20, 30, 22, 48}));
    EXPECT_EQ(bits.value, 2);
    EXPECT_EQ(bits.bits, (std::vector<uint8_t>{0x80, 0x00, 0x40, 0x00, 0x40, 0x00, 0x00, 0x00}));
    EXPECT_EQ(picture.ops[15].opcode, kPicLine);
}

}  // namespace
