// Hand-drawn bevel buttons, placards, pop-up arrows, triangle markers and drop
// shadows in the current port.
#include "core/colour_helpers.h"
#include "core/screen_geometry.h"

namespace {

constexpr pf::RGBColor kLightGray{0xDDDD, 0xDDDD, 0xDDDD};
constexpr pf::RGBColor kMidGray{0xBBBB, 0xBBBB, 0xBBBB};
constexpr pf::RGBColor kDarkGray{0x7777, 0x7777, 0x7777};
constexpr pf::RGBColor kEdgeGray{0x8888, 0x8888, 0x8888};
constexpr pf::RGBColor kTriangleBlue{0x9999, 0x9999, 0xCCCC};

void line_between(int16_t h1, int16_t v1, int16_t h2, int16_t v2) {
    pf::move_to(h1, v1);
    pf::line_to(h2, v2);
}

// Light top-left and dark bottom-right lines just inside the rectangle, swapped when pressed.
void bevel_lines(const pf::Rect& r, bool pressed) {
    const pf::RGBColor& top_left = pressed ? kDarkGray : white_color;
    const pf::RGBColor& bottom_right = pressed ? white_color : kDarkGray;
    pf::rgb_fore_color(top_left);
    line_between(r.left + 1, r.bottom - 2, r.left + 1, r.top + 1);
    line_between(r.left + 1, r.top + 1, r.right - 2, r.top + 1);
    pf::rgb_fore_color(bottom_right);
    line_between(r.left + 2, r.bottom - 2, r.right - 2, r.bottom - 2);
    line_between(r.right - 2, r.bottom - 2, r.right - 2, r.top + 2);
}

void one_bit_button(const pf::Rect& r, int16_t state, bool on) {
    pf::erase_rect(r);
    pf::frame_round_rect(r, 4, 4);
    if (state == 0) {
        pf::pen_pat(pf::kGrayPattern);
        pf::pen_mode(pf::kPatBic);
        pf::paint_rect(pf::Rect{int16_t(r.top + 1), int16_t(r.left + 1), int16_t(r.bottom - 1), int16_t(r.right - 1)});
        pf::pen_normal();
    } else if (state == 2 || on) {
        pf::paint_round_rect(r, 4, 4);
    } else {
        bevel_lines(r, false);
        pf::rgb_fore_color(black_color);
    }
}

}  // namespace

void InvertButton(const pf::Rect* rect, bool use_highlight) {
    if (use_highlight) pf::clear_hilite_bit();
    pf::invert_rect(*rect);
}

void msDrawThemeButton(const pf::Rect* rect, int16_t, int16_t state, int16_t value, int16_t depth) {
    const pf::Rect& r = *rect;
    bool pressed = state == 2 || value == 1;
    if (depth <= 2) {
        one_bit_button(r, state, value == 1);
        return;
    }
    pf::rgb_fore_color(state == 0 ? kLightGray : pressed ? kDarkGray : kMidGray);
    pf::paint_rect(r);
    pf::rgb_fore_color(kDarkGray);
    pf::frame_rect(r);
    bevel_lines(r, pressed);
    pf::rgb_fore_color(black_color);
}

void ShadeFrame(const pf::Rect* rect, const pf::RGBColor* fill, bool raised) {
    const pf::Rect& r = *rect;
    if (fill) {
        pf::rgb_fore_color(*fill);
        pf::paint_rect(r);
    }
    if (raised) {
        pf::rgb_fore_color(white_color);
        line_between(r.left, r.bottom - 1, r.left, r.top);
        line_between(r.left, r.top, r.right - 1, r.top);
        pf::rgb_fore_color(kEdgeGray);
        line_between(r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
        line_between(r.right - 1, r.bottom - 1, r.right - 1, r.top + 1);
    }
    pf::rgb_fore_color(black_color);
}

void msDrawThemePopupArrow(const pf::Rect* rect, int16_t size, int16_t state, int16_t) {
    int rows = size == 2 ? 5 : size == 1 ? 3 : 2;
    int width = size == 2 ? 9 : size == 1 ? 5 : 3;
    if (state == 0) pf::pen_pat(pf::kGrayPattern);
    else if (state == 2) pf::pen_pat(pf::kWhitePattern);
    for (int row = 0; row < rows; ++row) {
        int16_t v = int16_t(rect->top + row);
        int16_t left = int16_t(rect->left + row);
        line_between(left, v, int16_t(left + width - 1 - 2 * row), v);
    }
    pf::pen_normal();
}

void DrawColorTriangle(pf::Point point, int16_t direction) {
    if (direction < 1 || direction > 3) return;
    pf::PolyHandle poly = pf::open_poly();
    int16_t v = point.v, h = point.h;
    if (direction == 1) {
        pf::move_to(int16_t(h - 4), int16_t(v - 2));
        pf::line_to(int16_t(h + 4), int16_t(v - 2));
        pf::line_to(h, int16_t(v + 2));
    } else if (direction == 2) {
        pf::move_to(int16_t(h - 4), int16_t(v + 2));
        pf::line_to(int16_t(h + 4), int16_t(v + 2));
        pf::line_to(h, int16_t(v - 2));
    } else {
        pf::move_to(int16_t(h - 2), int16_t(v - 4));
        pf::line_to(int16_t(h - 2), int16_t(v + 4));
        pf::line_to(int16_t(h + 2), v);
    }
    pf::close_poly();
    pf::Rect square{int16_t(v - 4), int16_t(h - 4), int16_t(v + 5), int16_t(h + 5)};
    if (ColorDepth(&square) >= 3) {
        pf::rgb_fore_color(kTriangleBlue);
        pf::paint_poly(poly);
    }
    SetFrontPenToNormal();
    pf::frame_poly(poly);
    pf::kill_poly(poly);
}

void DrawDropShadow(const pf::Rect* rect) {
    const pf::Rect& r = *rect;
    pf::frame_rect(r);
    line_between(r.left + 2, r.bottom, r.right, r.bottom);
    line_between(r.right, r.top + 2, r.right, r.bottom);
}
