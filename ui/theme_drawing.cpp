// Hand-drawn bevel buttons, placards, pop-up arrows, triangle markers and drop
// shadows in the current port.
#include <vector>

#include "ui/colours.h"
#include "ui/screen_geometry.h"
#include "platform/resources/resources.h"

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

namespace {

struct SixteenBits {
    uint8_t image[32];
    uint8_t mask[32];
    pf::Point hot_spot;
};

void store_rows(const pf::Bits16& rows, uint8_t* out) {
    for (int r = 0; r < 16; ++r) {
        out[2 * r] = uint8_t(rows[size_t(r)] >> 8);
        out[2 * r + 1] = uint8_t(rows[size_t(r)]);
    }
}

bool load_bits(int16_t resource_id, int16_t index, SixteenBits& out) {
    if (index < 1) {
        const pf::Resource* curs = pf::get_resource(pf::kCursorType, resource_id);
        pf::CursorImage cursor;
        if (!curs || !pf::decode_cursor(curs->bytes, cursor)) return false;
        store_rows(cursor.data, out.image);
        store_rows(cursor.mask, out.mask);
        out.hot_spot = cursor.hot_spot;
        return true;
    }
    const pf::Resource* sicn = pf::get_resource(pf::kSmallIconListType, resource_id);
    std::vector<pf::Bits16> images;
    if (!sicn || !pf::decode_small_icon_list(sicn->bytes, images) || size_t(index) > images.size()) return false;
    store_rows(images[size_t(index - 1)], out.image);
    store_rows(images[size_t(index - 1)], out.mask);
    out.hot_spot = pf::Point{0, 0};
    return true;
}

void dim_rows(uint8_t* image) {
    for (int r = 0; r < 16; ++r) {
        uint8_t pattern = (r % 2) ? 0x55 : 0xAA;
        image[2 * r] &= pattern;
        image[2 * r + 1] &= pattern;
    }
}

}  // namespace

void Draw_Bitmap(pf::Port* port, int16_t mode, int16_t resource_id, pf::Point point, bool dim, int16_t index) {
    SixteenBits bits;
    if (!load_bits(resource_id, index, bits)) return;
    if (dim) dim_rows(bits.image);
    const pf::Rect source{0, 0, 16, 16};
    pf::BitMap image{bits.image, 2, source, 1};
    pf::BitMap mask{bits.mask, 2, source, 1};
    int16_t top = int16_t(point.v - bits.hot_spot.v), left = int16_t(point.h - bits.hot_spot.h);
    pf::Rect destination{top, left, int16_t(top + 16), int16_t(left + 16)};
    pf::Port* saved = pf::get_port();
    if (port) pf::set_port(port);
    if (mode == 0) pf::copy_mask(image, mask, source, source, destination);
    else pf::copy_bits(image, source, destination, mode);
    pf::set_port(saved);
}
