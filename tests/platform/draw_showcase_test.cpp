// Draws a sheet of lines, patterns, shapes and modes and writes it as
// build/draw_showcase.png for people to look at.
#include "draw_test_support.h"

namespace {

using pf::Rect;

constexpr pf::Pattern kPatterns[] = {
    pf::kBlackPattern, pf::kDarkGrayPattern, pf::kGrayPattern, pf::kLightGrayPattern, pf::kWhitePattern,
    {{0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}},
    {{0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08}},
    {{0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00}},
};

void draw_lines() {
    for (int i = 0; i < 8; ++i) {
        pf::pen_size(int16_t(1 + i / 3), int16_t(1 + i / 3));
        pf::move_to(10, int16_t(10 + i * 6));
        pf::line_to(int16_t(60 + i * 8), int16_t(10 + i * 9));
    }
    pf::pen_normal();
    for (int a = 0; a < 360; a += 15) {
        double rad = a * 3.14159265 / 180;
        pf::move_to(130, 40);
        pf::line(int16_t(28 * std::sin(rad)), int16_t(-28 * std::cos(rad)));
    }
}

void draw_patterns() {
    int x = 170;
    for (const pf::Pattern& pat : kPatterns) {
        Rect r{10, int16_t(x), 40, int16_t(x + 18)};
        pf::fill_rect(r, pat);
        pf::frame_rect(r);
        x += 20;
    }
}

void draw_shapes() {
    pf::rgb_fore_color({0, 0, 0x9999});
    pf::paint_oval({80, 10, 120, 70});
    pf::rgb_fore_color(pf::kBlackColor);
    pf::pen_size(2, 2);
    pf::frame_oval({80, 80, 120, 140});
    pf::frame_round_rect({80, 150, 120, 210}, 16, 16);
    pf::pen_normal();
    pf::fill_round_rect({82, 220, 118, 280}, 20, 12, pf::kGrayPattern);
    pf::rgb_fore_color({0xCCCC, 0, 0});
    pf::paint_arc({80, 290, 120, 330}, 45, 270);
    pf::rgb_fore_color(pf::kBlackColor);
    pf::frame_arc({80, 290, 120, 330}, 315, 90);

    pf::PolyHandle star = pf::open_poly();
    pf::move_to(40, 130);
    for (auto [h, v] : {std::pair{52, 170}, {14, 145}, {66, 145}, {28, 170}, {40, 130}}) pf::line_to(int16_t(h), int16_t(v));
    pf::close_poly();
    pf::fill_poly(star, pf::kDarkGrayPattern);
    pf::offset_poly(star, 60, 0);
    pf::frame_poly(star);
    pf::kill_poly(star);

    drawtest::Rgn ring, hole;
    pf::oval_region(ring, {130, 140, 170, 190});
    pf::oval_region(hole, {140, 152, 160, 178});
    pf::diff_region(ring, hole, ring);
    pf::fill_region(ring, kPatterns[5]);
    pf::frame_region(ring);
}

void draw_modes() {
    // A black and white striped band with each pattern mode drawn across it.
    for (int mode = pf::kPatCopy; mode <= pf::kNotPatBic; ++mode) {
        int16_t x = int16_t(200 + (mode - 8) * 14);
        pf::paint_rect({130, x, 140, int16_t(x + 12)});
        pf::pen_mode(int16_t(mode));
        pf::pen_pat(pf::kGrayPattern);
        pf::rgb_fore_color({0, 0x8888, 0});
        pf::paint_rect({135, x, 150, int16_t(x + 12)});
        pf::pen_normal();
        pf::rgb_fore_color(pf::kBlackColor);
    }
    // The highlight swap over white and black.
    pf::set_hilite_color({0xFFFF, 0xDDDD, 0x6666});
    pf::paint_rect({160, 200, 170, 250});
    pf::clear_hilite_bit();
    pf::invert_rect({155, 210, 175, 310});
}

TEST(Showcase, WritesLinesPatternsShapesAndModes) {
    drawtest::ScratchPort scratch(340, 190);
    draw_lines();
    draw_patterns();
    draw_shapes();
    draw_modes();
    EXPECT_TRUE(pf::write_port_png(scratch.port, std::string(QUORVIN_BINARY_DIR) + "/draw_showcase.png"));
}

}  // namespace
