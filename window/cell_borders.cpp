// Cell borders and note markers. Coordinates follow the border rules of the
// cell's own lines: `top` is the row's first line, Y its last (where its grid
// line lies), OL/OR the first and last pixel columns of the cell's own column,
// CL/CR those of the text's extent (wider only where text overflowed).
#include <algorithm>

#include "model/cell_format.h"
#include "model/cell_record.h"
#include "window/text_boxes.h"
#include "platform/draw/draw.h"
#include "window/row_drawing.h"
#include "window/sheet_paint.h"

namespace {

enum : int { kNone = 0, kThin = 2, kGrey = 3, kThick = 4, kHair = 5, kDouble = 6 };

// Side colour bytes of the border colour word: top 24-31, left 16-23, bottom 8-15, right 0-7.
int side_colour(const uint8_t* format, int shift) { return int((format_border_colours(format) >> shift) & 0xFF); }

void setColor(int index, int16_t style) {
    pf::pen_normal();
    if (index == 1) {
        pf::pen_pat(pf::kWhitePattern);
        pf::rgb_back_color(pf::kWhiteColor);
    } else if (index >= 2 && colour_style(style)) {
        pf::rgb_fore_color(table_colour(int16_t(index - 1)));
    } else {
        pf::rgb_fore_color(pf::kBlackColor);
    }
}

void DrawLine(int h1, int v1, int h2, int v2) { draw_line(int16_t(h1), int16_t(v1), int16_t(h2), int16_t(v2)); }

void white_line(int h1, int v1, int h2, int v2) {
    pf::RGBColor saved;
    pf::get_fore_color(saved);
    pf::rgb_fore_color(pf::kWhiteColor);
    DrawLine(h1, v1, h2, v2);
    pf::rgb_fore_color(saved);
}

// A thin line of style 2, 3 or 5: grey through the grey pattern, hairline while printing.
void thin_line(int style, bool hairlines, int h1, int v1, int h2, int v2) {
    if (style == kGrey) pf::pen_pat(phased(pf::kGrayPattern));
    if (style == kHair && hairlines) {
        pf::Rect r{int16_t(std::min(v1, v2)), int16_t(std::min(h1, h2)), int16_t(std::max(v1, v2) + 1),
                   int16_t(std::max(h1, h2) + 1)};
        DrawHairLine(&r);
    } else {
        DrawLine(h1, v1, h2, v2);
    }
}

bool thin_style(int style) { return style == kThin || style == kGrey || style == kHair; }

struct Frame {
    int top, Y, OL, OR, CL, CR;
};

void top_border(const Frame& f, const BorderStyles& s, const BorderStyles* above, bool hairlines) {
    const int T = s.top, L = s.left, R = s.right;
    if (thin_style(T)) {
        thin_line(T, hairlines, f.OL - 1, f.top - 1, f.OR, f.top - 1);
    } else if (T == kThick) {
        pf::pen_size(1, 2);
        DrawLine((L == kThick || L > 5) ? f.OL - 2 : f.OL - 1, f.top - 2, R >= 6 ? f.OR + 1 : f.OR, f.top - 2);
    } else if (T == kDouble) {
        int start = f.OL - 1;
        if (L > 5) start = (above && above->right >= 4) ? f.OL + 1 : f.OL - 2;
        int end = f.OR;
        if (R > 5) end = !above ? f.OR + 1 : (above->left >= 4 ? f.OR - 2 : f.OR);
        DrawLine(start, f.top - 2, end, f.top - 2);
        DrawLine(L >= 6 ? f.OL - 2 : f.OL - 1, f.top, R >= 6 ? f.OR + 1 : f.OR, f.top);
        white_line((L == 0 || L >= 6) ? f.OL - 1 : f.OL, f.top - 1, R >= 6 ? f.OR : f.OR - 1, f.top - 1);
    }
}

void bottom_border(const Frame& f, const BorderStyles& s, bool hairlines) {
    const int B = s.bottom, L = s.left, R = s.right;
    const int end = R >= 6 ? f.OR + 1 : f.OR;
    if (thin_style(B)) {
        thin_line(B, hairlines, f.OL - 1, f.Y, f.OR, f.Y);
    } else if (B == kThick) {
        pf::pen_size(1, 2);
        DrawLine(f.OL - 1, f.Y - 1, end, f.Y - 1);
    } else if (B == kDouble) {
        DrawLine(L >= 6 ? f.OL : f.OL - 1, f.Y - 1, end, f.Y - 1);
        DrawLine(L >= 6 ? f.OL - 2 : f.OL - 1, f.Y + 1, end, f.Y + 1);
        white_line((L >= 1 && L <= 5) ? f.OL + 1 : f.OL - 1, f.Y, R >= 6 ? f.OR : f.OR - 1, f.Y);
    }
}

// The start of the white middle line of a double side border.
int double_white_start(const Frame& f, int T, const BorderStyles* above, int above_top_join) {
    int start = T > 5 ? f.top - 1 : f.top + 1;
    if (above) {
        if (above->top != 0) start = f.top - 1;
        if (above->top == above_top_join || T > 3) start = f.top - 2;
    }
    return start;
}

int double_white_end(const Frame& f, int B) { return (B == 0 || B > 5) ? f.Y : (B == kThick ? f.Y - 2 : f.Y - 1); }

void left_border(const Frame& f, const BorderStyles& s, const BorderStyles* left, const BorderStyles* above,
                 bool hairlines) {
    const int L = s.left, T = s.top, B = s.bottom;
    const int x = f.CL - 1;
    const int left_bottom = left ? left->bottom : 0, left_top = left ? left->top : 0;
    if (thin_style(L)) {
        thin_line(L, hairlines, x, (T > 5 && left_bottom >= 4) ? f.top : f.top - 1, x,
                  (B > 5 && left_top >= 4) ? f.Y - 1 : f.Y);
    } else if (L == kThick) {
        pf::pen_size(2, 1);
        int from = T > 3 ? (left_bottom >= 4 ? f.top : f.top - 2) : f.top - 1;
        int to = f.Y;
        if (B > 5) to = left && left_top > 3 ? f.Y - 2 : (!left ? f.Y + 1 : f.Y);
        DrawLine(f.CL - 2, from, f.CL - 2, to);
    } else if (L == kDouble) {
        int outer_to = (B > 5 && left) ? (left_top < 4 ? f.Y + 1 : f.Y - 1) : f.Y;
        DrawLine(f.CL - 2, left_bottom >= 4 ? f.top + 1 : f.top - 1, f.CL - 2, outer_to);
        DrawLine(f.CL, T > 5 ? f.top : f.top - 1, f.CL, B > 5 ? f.Y - 1 : f.Y);
        white_line(x, double_white_start(f, T, above, kThick), x, double_white_end(f, B));
    }
}

void right_border(const Frame& f, const BorderStyles& s, const BorderStyles* right, const BorderStyles* above,
                  bool hairlines) {
    const int R = s.right, T = s.top, B = s.bottom;
    const int x = f.CR;
    const int right_bottom = right ? right->bottom : 0, right_top = right ? right->top : 0;
    if (thin_style(R)) {
        thin_line(R, hairlines, x, (T > 5 && right_bottom >= 6) ? f.top : f.top - 1, x,
                  (B > 5 && right_top >= 6) ? f.Y - 1 : f.Y);
    } else if (R == kThick) {
        pf::pen_size(2, 1);
        DrawLine(x - 1, f.top - 1, x - 1, (B > 5 && right_top >= 6) ? f.Y - 2 : f.Y);
    } else if (R == kDouble) {
        DrawLine(x - 1, T > 5 ? f.top : f.top - 1, x - 1, B >= 6 ? f.Y - 1 : f.Y);
        DrawLine(x + 1, f.top - 1, x + 1, f.Y);
        white_line(x, double_white_start(f, T, above, kHair), x, double_white_end(f, B));
    }
}

}  // namespace

BorderStyles border_styles(const uint8_t* format) {
    uint16_t word = format_border_styles(format);
    return BorderStyles{(word >> 12) & 15, (word >> 8) & 15, (word >> 4) & 15, word & 15};
}

const uint8_t* cell_in_row(const uint8_t* row, int16_t column) {
    if (!row) return nullptr;
    const uint8_t* end = row + _RowLength_(row);
    for (const uint8_t* cell = row + kRowHeaderSize; cell < end && _cellLength_(cell) > 0; cell += _cellLength_(cell)) {
        if (_cellID_(cell) == column) return cell;
        if (_cellID_(cell) > column) break;
    }
    return nullptr;
}

namespace {

// The four sides in the order top, bottom, left, right, each in its colour.
void draw_borders(const Frame& f, const BorderStyles& s, const BorderStyles& colours, const BorderStyles* left,
                  const BorderStyles* above, const BorderStyles* right, int16_t colour_style, bool hairlines) {
    if (s.top != 0) {
        setColor(colours.top, colour_style);
        top_border(f, s, above, hairlines);
    }
    if (s.bottom > 1) {
        setColor(colours.bottom, colour_style);
        bottom_border(f, s, hairlines);
    }
    if (s.left >= 1 && f.CL >= f.OL) {
        setColor(colours.left, colour_style);
        left_border(f, s, left, above, hairlines);
    }
    if (s.right >= 2 && f.CR <= f.OR) {
        setColor(colours.right, colour_style);
        right_border(f, s, right, above, hairlines);
    }
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
}

}  // namespace

void DrawBorders(RowDrawState* state) {
    const uint8_t* format = state->info.format.bytes;
    const Frame f{state->box.top, state->box.bottom - 1, state->own_left, state->own_right - 1, state->box.left,
                  state->box.right - 1};
    BorderStyles above_styles{}, left_styles{}, right_styles{};
    const BorderStyles* above = state->cell_above ? &(above_styles = border_styles(state->cell_above)) : nullptr;
    const BorderStyles* left = state->cell_left ? &(left_styles = border_styles(state->cell_left)) : nullptr;
    const BorderStyles* right = state->cell_right ? &(right_styles = border_styles(state->cell_right)) : nullptr;
    const BorderStyles colours{side_colour(format, 16), side_colour(format, 24), side_colour(format, 0),
                               side_colour(format, 8)};
    draw_borders(f, border_styles(format), colours, left, above, right, state->colour_style, state->hairlines);
}

void draw_cell_borders(const pf::Rect& box, const BorderStyles& styles, const BorderStyles& colours,
                       const BorderStyles* left, const BorderStyles* above, const BorderStyles* right,
                       int16_t colour_style) {
    const Frame f{box.top, box.bottom - 1, box.left, box.right - 1, box.left, box.right - 1};
    draw_borders(f, styles, colours, left, above, right, colour_style, false);
}

void DrawNoteMarker(RowDrawState* state) {
    const int OR = state->own_right - 1, top = state->box.top;
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
    DrawLine(OR - 4, top, OR - 1, top);
    DrawLine(OR - 3, top + 1, OR - 1, top + 1);
    DrawLine(OR - 2, top + 2, OR - 1, top + 2);
    DrawLine(OR - 1, top + 3, OR - 1, top + 3);
}
