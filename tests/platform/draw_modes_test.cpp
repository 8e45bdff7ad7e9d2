#include "draw_test_support.h"

namespace {

using drawtest::ImagePort;
using drawtest::Rgn;
using pf::Rect;

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kCyan = 0x00FFFF, kYellow = 0xFFFF00;

// A one-bit image of `rows` rows of `width` pixels (at most 8), a byte a row.
pf::BitMap one_bit_image(const uint8_t* bits, int16_t rows, int16_t width = 8) {
    pf::BitMap image;
    image.base = bits;
    image.row_bytes = 1;
    image.bounds = {0, 0, rows, width};
    image.depth = 1;
    return image;
}

struct Modes : ImagePort {
    // One text character per pixel: '#' black, '.' white, r red, b blue, c cyan, y yellow.
    std::string row(int x, int y, int n) const {
        std::string out;
        for (int i = 0; i < n; ++i) {
            switch (at(x + i, y)) {
                case drawtest::kBlack: out += '#'; break;
                case drawtest::kWhite: out += '.'; break;
                case kRed: out += 'r'; break;
                case kBlue: out += 'b'; break;
                case kCyan: out += 'c'; break;
                case kYellow: out += 'y'; break;
                default: out += '?';
            }
        }
        return out;
    }
    void use_red_on_blue() {
        pf::rgb_fore_color({0xFFFF, 0, 0});
        pf::rgb_back_color({0, 0, 0xFFFF});
    }
    // Destination "##..##.." at row y from x 0.
    void lay_destination(int y) {
        for (int x : {0, 1, 4, 5}) put(x, y, drawtest::kBlack);
    }
};

// Pattern rows 0xF0 over destination "##..##..": pixels 0-3 have the bit set.
TEST_F(Modes, EachPatternModeFollowsItsTruthTable) {
    const std::pair<int16_t, const char*> expected[] = {
        {pf::kPatCopy, "rrrrbbbb"},    {pf::kPatOr, "rrrr##.."},    {pf::kPatXor, "..####.."},
        {pf::kPatBic, "bbbb##.."},     {pf::kNotPatCopy, "bbbbrrrr"}, {pf::kNotPatOr, "##..rrrr"},
        {pf::kNotPatXor, "##....##"},  {pf::kNotPatBic, "##..bbbb"},
    };
    const pf::Pattern half{{0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0}};
    int y = 0;
    for (auto [mode, want] : expected) {
        lay_destination(y);
        use_red_on_blue();
        pf::pen_pat(half);
        pf::pen_mode(mode);
        pf::paint_rect({int16_t(y), 0, int16_t(y + 1), 8});
        EXPECT_EQ(row(0, y, 8), want) << "mode " << mode;
        ++y;
    }
}

TEST_F(Modes, SourceModesCopyOneBitImagesInTheForeAndBackColours) {
    // Source bits 11110000 over destination "##..##..".
    const uint8_t bits[] = {0xF0};
    const pf::BitMap src = one_bit_image(bits, 1);
    const std::pair<int16_t, const char*> expected[] = {
        {pf::kSrcCopy, "rrrrbbbb"},    {pf::kSrcOr, "rrrr##.."},    {pf::kSrcXor, "..####.."},
        {pf::kSrcBic, "bbbb##.."},     {pf::kNotSrcCopy, "bbbbrrrr"}, {pf::kNotSrcOr, "##..rrrr"},
        {pf::kNotSrcXor, "##....##"},  {pf::kNotSrcBic, "##..bbbb"},
    };
    int y = 0;
    for (auto [mode, want] : expected) {
        lay_destination(y);
        use_red_on_blue();
        pf::copy_bits(src, {0, 0, 1, 8}, {int16_t(y), 0, int16_t(y + 1), 8}, mode);
        EXPECT_EQ(row(0, y, 8), want) << "mode " << mode;
        ++y;
    }
}

TEST_F(Modes, ColourSourcesTreatWhiteAsClear) {
    // Source pixels: black, red, white, white over destination "#.#.".
    const uint32_t pixels[] = {0x000000, kRed, 0xFFFFFF, 0xFFFFFF};
    pf::BitMap src;
    src.base = reinterpret_cast<const uint8_t*>(pixels);
    src.row_bytes = sizeof pixels;
    src.bounds = {0, 0, 1, 4};
    src.depth = 32;
    const std::pair<int16_t, const char*> expected[] = {
        {pf::kSrcCopy, "#r.."}, {pf::kSrcOr, "#r#."}, {pf::kSrcXor, ".r#."}, {pf::kSrcBic, "bb#."}};
    int y = 0;
    for (auto [mode, want] : expected) {
        put(0, y, drawtest::kBlack);
        put(2, y, drawtest::kBlack);
        pf::rgb_back_color({0, 0, 0xFFFF});
        pf::copy_bits(src, {0, 0, 1, 4}, {int16_t(y), 0, int16_t(y + 1), 4}, mode);
        EXPECT_EQ(row(0, y, 4), want) << "mode " << mode;
        ++y;
    }
}

TEST_F(Modes, PatternIsAnchoredAtLocalZeroWhateverTheOrigin) {
    const pf::Pattern diagonal{{0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}};
    for (auto [oh, ov] : {std::pair{0, 0}, {3, 5}, {-13, 7}, {100, -9}}) {
        pf::set_origin(int16_t(oh), int16_t(ov));
        pf::fill_rect(port.port_rect, diagonal);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                int h = x + oh, v = y + ov;  // local coordinates of the pixel
                bool set = diagonal.pat[v & 7] & (0x80 >> (h & 7));
                ASSERT_EQ(at(x, y), set ? drawtest::kBlack : drawtest::kWhite) << oh << "," << ov;
            }
        }
    }
}

TEST_F(Modes, ScrolledPaneRedrawnThroughItsOriginHasNoSeam) {
    // A pane scrolled by 5 pixels, its uncovered strip filled at the moved origin,
    // matches the pane drawn whole at that origin.
    pf::fill_rect(port.port_rect, pf::kLightGrayPattern);
    Rgn uncovered;
    pf::scroll_rect(port.port_rect, -3, -5, uncovered);
    pf::set_origin(3, 5);
    pf::offset_region(uncovered, 3, 5);
    pf::fill_region(uncovered, pf::kLightGrayPattern);
    std::vector<uint32_t> scrolled = snapshot();
    pf::fill_rect(port.port_rect, pf::kLightGrayPattern);
    EXPECT_EQ(scrolled, snapshot());
}

struct Colourful : Modes {
    void SetUp() override {
        Modes::SetUp();
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) put(x, y, uint32_t(x * 0x040301 + y * 0x010507) & 0xFFFFFF);
    }
};

TEST_F(Colourful, InvertingTwiceRestoresEveryPixel) {
    std::vector<uint32_t> before = snapshot();
    Rgn l({5, 5, 30, 12});
    Rgn foot({12, 5, 40, 40});
    pf::union_region(l, foot, l);
    for (int pass = 0; pass < 2; ++pass) {
        pf::invert_rect({3, 7, 40, 60});
        pf::invert_oval({0, 0, 33, 21});
        pf::invert_region(l);
        pf::pen_mode(pf::kPatXor);
        pf::pen_pat(pf::kGrayPattern);
        pf::pen_size(3, 2);
        pf::frame_round_rect({10, 10, 44, 50}, 12, 8);
        pf::move_to(0, 47);
        pf::line_to(63, 0);
        pf::pen_normal();
    }
    EXPECT_EQ(before, snapshot());
}

TEST_F(Colourful, XorCopyOfTheSameBitsTwiceRestores) {
    std::vector<uint32_t> before = snapshot();
    const uint8_t bits[] = {0xA5, 0x3C};
    const pf::BitMap src = one_bit_image(bits, 2);
    for (int pass = 0; pass < 2; ++pass) pf::copy_bits(src, src.bounds, {10, 10, 30, 50}, pf::kSrcXor);
    EXPECT_EQ(before, snapshot());
}

struct Highlight : Modes {
    void SetUp() override {
        Modes::SetUp();
        pf::set_hilite_color({0xFFFF, 0xFFFF, 0});  // yellow
        pf::set_hilite_mode(0xFF);
    }
};

TEST_F(Highlight, SwapsBackColourAndHighlightColourLeavingOthers) {
    put(1, 0, kYellow);
    put(2, 0, drawtest::kBlack);
    put(3, 0, kRed);
    pf::clear_hilite_bit();
    pf::invert_rect({0, 0, 1, 4});
    EXPECT_EQ(row(0, 0, 4), "y.#r");
    EXPECT_TRUE(pf::get_hilite_mode() & pf::kHiliteBit) << "the highlight bit is one-shot";
    pf::clear_hilite_bit();
    pf::invert_rect({0, 0, 1, 4});
    EXPECT_EQ(row(0, 0, 4), ".y#r");
}

TEST_F(Highlight, FollowsTheBackColourAndThePatternXorPen) {
    pf::rgb_back_color({0, 0, 0xFFFF});
    put(0, 0, kBlue);
    put(1, 0, kBlue);
    pf::pen_mode(pf::kPatXor);
    pf::pen_pat({{0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}});
    pf::clear_hilite_bit();
    pf::paint_rect({0, 0, 1, 2});
    EXPECT_EQ(row(0, 0, 2), "yb") << "only where the pattern is set";
    pf::pen_mode(pf::kHiliteMode);
    pf::pen_pat(pf::kBlackPattern);
    pf::paint_rect({0, 0, 1, 2});
    EXPECT_EQ(row(0, 0, 2), "by") << "the highlight pen mode needs no cleared bit";
}

TEST_F(Highlight, WithTheBitSetXorInvertsPlainly) {
    pf::invert_rect({0, 0, 1, 1});
    EXPECT_EQ(row(0, 0, 1), "#");
}

TEST_F(Modes, DimmedModeDrawsHalfwayToTheBackColour) {
    const uint8_t bits[] = {0x80};
    const pf::BitMap src = one_bit_image(bits, 1, 2);
    pf::copy_bits(src, src.bounds, {0, 0, 1, 2}, pf::kGrayishTextOr);
    EXPECT_EQ(at(0, 0), 0x7F7F7Fu);
    EXPECT_EQ(at(1, 0), drawtest::kWhite);
}

}  // namespace
