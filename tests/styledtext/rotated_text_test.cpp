// Turned text: each quarter turn drawn its own way around the pen, the pen moved
// along the turned baseline, printer comments, and justified drawing.
#include "tests/styledtext/styled_text_fixture.h"

#include "styledtext/rotated_text.h"

#include <vector>

namespace {

struct Turned : wetest::Instance {
    static constexpr pf::Point kPen{100, 160};

    void SetUp() override {
        Instance::SetUp();
        pf::text_font(pf::kGenevaFont);
        pf::text_size(12);
    }

    // The box of every pixel that is not white.
    pf::Rect inked() {
        pf::Rect box{kHeight, kWidth, 0, 0};
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (pixel(x, y) != 0xFFFFFF) {
                    box.top = std::min<int16_t>(box.top, int16_t(y));
                    box.bottom = std::max<int16_t>(box.bottom, int16_t(y + 1));
                    box.left = std::min<int16_t>(box.left, int16_t(x));
                    box.right = std::max<int16_t>(box.right, int16_t(x + 1));
                }
        return box;
    }

    int16_t draw_at_pen(int16_t angle, const char* text = "Label") {
        pf::erase_rect(port.port_rect);
        pf::move_to(kPen.h, kPen.v);
        return RotateText(text, int16_t(std::strlen(text)), 0, 0, angle, false);
    }
};

TEST_F(Turned, AnglesRoundToTheNearestQuarterKeepingTheirSign) {
    EXPECT_EQ(RotationQuarter(0), 0);
    EXPECT_EQ(RotationQuarter(30), 0);
    EXPECT_EQ(RotationQuarter(-30), 0);
    EXPECT_EQ(RotationQuarter(100), 90);
    EXPECT_EQ(RotationQuarter(-90), 270);
    EXPECT_EQ(RotationQuarter(200), 180);
    EXPECT_EQ(RotationQuarter(-180), 180);
    EXPECT_EQ(RotationQuarter(330), 0);
    EXPECT_EQ(RotationQuarter(450), 90);
}

TEST_F(Turned, AnUnturnedAngleDrawsPlainTextAndAnswersZero) {
    int16_t width = pf::text_width("Label");
    EXPECT_EQ(draw_at_pen(30), 0);
    EXPECT_EQ(pf::get_pen(), (pf::Point{kPen.v, int16_t(kPen.h + width)}));
    pf::Rect box = inked();
    EXPECT_LT(box.top, kPen.v);
    EXPECT_GE(box.left, kPen.h);
}

TEST_F(Turned, EachQuarterTurnLiesOnItsOwnSideOfThePen) {
    int16_t width = pf::text_width("Label");
    pf::FontInfo info;
    pf::get_font_info(info);

    EXPECT_EQ(draw_at_pen(90), width);  // reads upwards, tops to the left
    pf::Rect up = inked();
    EXPECT_LE(up.bottom, kPen.v + 1);
    EXPECT_GE(up.top, kPen.v - width);
    EXPECT_GE(up.left, kPen.h - info.ascent);
    EXPECT_LE(up.right, kPen.h + info.descent);
    EXPECT_EQ(pf::get_pen(), (pf::Point{int16_t(kPen.v - width), kPen.h}));

    EXPECT_EQ(draw_at_pen(-90), width);  // reads downwards, tops to the right
    pf::Rect down = inked();
    EXPECT_GE(down.top, kPen.v);
    EXPECT_LE(down.bottom, kPen.v + width);
    EXPECT_GT(down.right, kPen.h + info.descent);
    EXPECT_EQ(pf::get_pen(), (pf::Point{int16_t(kPen.v + width), kPen.h}));

    EXPECT_EQ(draw_at_pen(180), width);  // upside down, left of the pen
    pf::Rect flipped = inked();
    EXPECT_LE(flipped.right, kPen.h);
    EXPECT_GE(flipped.left, kPen.h - width);
    EXPECT_GE(flipped.top, kPen.v - info.descent);
    EXPECT_GT(flipped.bottom, kPen.v + info.descent);
    EXPECT_EQ(pf::get_pen(), (pf::Point{kPen.v, int16_t(kPen.h - width)}));
}

TEST_F(Turned, FollowingTurnedTextDoesNotOverprint) {
    pf::erase_rect(port.port_rect);
    pf::move_to(kPen.h, kPen.v);
    RotateText("AB", 2, 0, 0, 90, false);
    pf::Rect first = inked();
    RotateText("CD", 2, 0, 0, 90, false);
    pf::Rect both = inked();
    EXPECT_LT(both.top, first.top);
    EXPECT_EQ(both.bottom, first.bottom);
}

TEST_F(Turned, PrintingRecordsTheTurnForThePrinter) {
    pf::PicHandle pic = pf::open_picture(port.port_rect);
    ASSERT_NE(pic, nullptr);
    pf::move_to(kPen.h, kPen.v);
    unsigned char label[] = "\x05Label";
    EXPECT_EQ(RotateTextStr(label, 90, true), pf::text_width("Label"));
    pf::close_picture();
    struct Seen {
        std::vector<int16_t> kinds;
        int16_t angle = 0;
    } seen;
    pf::set_picture_comment_proc(
        [](int16_t kind, const uint8_t* data, size_t size, void* context) {
            Seen& s = *static_cast<Seen*>(context);
            s.kinds.push_back(kind);
            if (kind == 150 && size == 6) s.angle = int16_t((data[2] << 8) | data[3]);
        },
        &seen);
    pf::erase_rect(port.port_rect);
    EXPECT_EQ(pf::draw_picture(pic, port.port_rect), pf::noErr);
    pf::set_picture_comment_proc(nullptr, nullptr);
    pf::kill_picture(pic);
    EXPECT_EQ(seen.kinds, (std::vector<int16_t>{190, 191, 150, 154, 151}));
    EXPECT_EQ(seen.angle, 270);
}

TEST_F(Turned, JustifiedTextSpreadsItsExtraWidthBetweenCharacters) {
    pf::move_to(10, 50);
    draw_justtext("abcd", 4, 30, 0);
    EXPECT_EQ(pf::get_pen().h, 10 + pf::text_width("abcd") + 30 + 10);  // the last step moves past the end too
    pf::move_to(10, 80);
    draw_justtext("abcd\r", 5, 0, 0);
    EXPECT_EQ(pf::get_pen().h, 10 + pf::text_width("abcd"));
}

}  // namespace
