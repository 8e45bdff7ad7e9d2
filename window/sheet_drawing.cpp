#include "window/sheet_drawing.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/memory_use.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/style_run_layout.h"
#include "window/window_services.h"
#include "window/text_boxes.h"
#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "window/page_lists.h"
#include "window/cell_geometry.h"
#include "window/pane_layout.h"
#include "window/clip_scope.h"
#include "window/sheet_frame.h"
#include "window/sheet_paint.h"

namespace {

// Text sits 2 pixels inside its cell's first column and ends 2 pixels before
// its last (grid) column, so right = box.right - 3 on half-open edges.
constexpr int16_t kTextInsetLeft = 2;
constexpr int16_t kTextInsetRight = 3;
constexpr int kMaxHashMarks = 20;
constexpr unsigned char kApostrophe = '\'';
constexpr int16_t kLargestSize = 200;  // larger sizes stand for the layer's default

std::string_view shown_text(const RowDrawState& s) {
    return std::string_view(reinterpret_cast<const char*>(s.text), size_t(s.text_length));
}

bool is_text_cell(const RowDrawState& s) { return s.info.format.bytes[kFmtCellType] == kCellText; }
bool has_fill(const uint8_t* format) { return format[kFmtPattern] != 0 || format[kFmtPatternFore] != 0; }

// ---- Style runs ----------------------------------------------------------------


const uint8_t* run_at(const RowDrawState& s, int i) { return s.runs + i * kRunEntrySize; }

// The part of the shown text that run i covers, as [start, end) in `text`.
void run_span(const RowDrawState& s, int i, int32_t* start, int32_t* end) {
    auto clamp = [&](int32_t at) { return std::clamp<int32_t>(at - s.text_offset, 0, s.text_length); };
    *start = clamp(load_i32(run_at(s, i)));
    *end = i + 1 < s.run_count ? clamp(load_i32(run_at(s, i + 1))) : s.text_length;
}

void set_run_style(const RowDrawState& s, int i) {
    const uint8_t* run = run_at(s, i);
    pf::text_font(load_i16(run + kRunFont));
    const int16_t size = load_i16(run + kRunFontSize);
    pf::text_size(size >= 1 && size <= kLargestSize ? size : s.default_size);
    pf::text_face(run[kRunFace]);
}

// Runs one after the other: each measured (and drawn, at the pen) in its own style.
int16_t styled_text(const RowDrawState& s, bool draw) {
    int32_t width = 0;
    for (int i = 0; i < s.run_count; ++i) {
        int32_t start = 0, end = 0;
        run_span(s, i, &start, &end);
        if (end <= start) continue;
        set_run_style(s, i);
        std::string_view piece(reinterpret_cast<const char*>(s.text) + start, size_t(end - start));
        if (draw && colour_style(s.colour_style)) {
            const uint8_t* run = run_at(s, i);
            pf::rgb_fore_color(pf::RGBColor{load_u16(run + kRunColour), load_u16(run + kRunColour + 2),
                                            load_u16(run + kRunColour + 4)});
        }
        if (draw) pf::draw_text(piece);
        width += pf::text_width(piece);
    }
    return int16_t(std::min<int32_t>(width, 32000));
}

void measure(RowDrawState& s) {
    if (s.runs) {
        pf::PortState saved = pf::save_port_state(*pf::get_port());
        s.text_width = styled_text(s, false);
        pf::restore_port_state(*pf::get_port(), saved);
    } else {
        s.text_width = pf::text_width(shown_text(s));
    }
}

// The display text of the current cell as the state's text, without the
// apostrophe that starts a typed constant text.
void take_display_text(RowDrawState& s) {
    if (s.info.long_text) {
        s.text = s.info.long_text;
        s.text_length = s.info.text_length;
    } else {
        s.text = s.info.text + 1;
        s.text_length = s.info.text[0];
    }
    s.text_offset = 0;
    if (s.text_length > 0 && s.text[0] == kApostrophe && _cellType_(s.cell) == kCellText &&
        _resultType_(s.cell) == kResultNone) {
        ++s.text;
        --s.text_length;
        s.text_offset = 1;
    }
    s.runs = nullptr;
    s.run_count = 0;
    if (_cellType_(s.cell) == kCellText && _styleLength_(s.cell) >= 2 + kRunEntrySize) {
        const uint8_t* table = _stylePtr_(s.cell);
        s.run_count = int16_t(std::min<int32_t>(load_i16(table), (_styleLength_(s.cell) - 2) / kRunEntrySize));
        if (s.run_count > 0) s.runs = table + 2;
    }
}

void make_display_text(RowDrawState& s, int16_t fit_width) {
    std::memcpy(s.info.format.bytes, s.cell, kCellFormatSize);
    s.info.cell = s.cell;
    s.info.where.h = s.column;
    s.info.available_width = fit_width;
    CellString(&s.info);
    take_display_text(s);
}

const uint8_t* cell_above(RowDrawState& s) {
    if (!s.cell_above && s.row_above) s.cell_above = cell_in_row(s.row_above, s.column);
    return s.cell_above;
}

// The cell of the row at `column`, searched forwards from the next cell.
const uint8_t* later_cell(const RowDrawState& s, int16_t column) {
    for (const uint8_t* c = s.next_cell; c && c < s.row_end && _cellLength_(c) > 0; c += _cellLength_(c)) {
        if (_cellID_(c) == column) return c;
        if (_cellID_(c) > column) break;
    }
    return nullptr;
}

void erase_grid_column(const RowDrawState& s, int16_t x) {
    if (s.printing) return;
    pf::RGBColor saved;
    pf::get_fore_color(saved);
    pf::rgb_fore_color(pf::kWhiteColor);
    pf::paint_rect(pf::Rect{s.box.top, x, int16_t(s.box.bottom - 1), int16_t(x + 1)});
    pf::rgb_fore_color(saved);
}

void widen_right(RowDrawState& s, int16_t column) {
    erase_grid_column(s, int16_t(s.box.right - 1));
    s.box.right = int16_t(std::min<int32_t>(s.box.right + s.axes->columns.size(column), 32000));
    s.box_last_column = column;
}

void widen_left(RowDrawState& s, int16_t column) {
    erase_grid_column(s, int16_t(s.box.left - 1));
    s.box.left = int16_t(std::max<int32_t>(s.box.left - s.axes->columns.size(column), -32000));
    s.box_first_column = column;
}

void set_text_colour(const RowDrawState& s) {
    if (s.info.negative_in_red && colour_style(s.colour_style))
        pf::rgb_fore_color(pf::RGBColor{0xFFFF, 0, 0});
    else
        SetTextColor(s.info.format.bytes[kFmtTextColour], s.colour_style);
}

// ---- Cutting -------------------------------------------------------------------

void hash_marks(RowDrawState& s) {
    static const unsigned char kHashes[kMaxHashMarks] = {'#', '#', '#', '#', '#', '#', '#', '#', '#', '#',
                                                         '#', '#', '#', '#', '#', '#', '#', '#', '#', '#'};
    const int16_t own_width = int16_t(s.own_right - s.own_left);
    const int16_t mark = std::max<int16_t>(1, pf::char_width('#'));
    s.text = kHashes;
    s.text_length = std::clamp((own_width - 4) / mark, 0, kMaxHashMarks);
    measure(s);
    s.text_left = int16_t((s.own_left + s.own_right - 1) / 2 - s.text_width / 2);
    s.text_right = int16_t(s.text_left + s.text_width);
}

// A number, date or error reformatted for the cell's width; "#" marks when even that does not fit.
void refit_value(RowDrawState& s, bool keep_right) {
    make_display_text(s, int16_t(s.own_right - s.own_left - 2));
    measure(s);
    if (keep_right) s.text_left = int16_t(s.text_right - s.text_width);
    else s.text_right = int16_t(s.text_left + s.text_width);
    if (s.text_left < s.box.left || s.text_right > s.box.right - 1) hash_marks(s);
}

void strip_Right(RowDrawState& s) {
    if (!is_text_cell(s)) {
        refit_value(s, false);
        return;
    }
    while (!s.runs && s.text_length > 0 && s.text_left + s.text_width > s.box.right - 1) {
        --s.text_length;
        measure(s);
    }
    s.text_right = int16_t(s.text_left + s.text_width);
}

void strip_Left(RowDrawState& s) {
    if (!is_text_cell(s)) {
        refit_value(s, true);
        return;
    }
    while (!s.runs && s.text_length > 0 && s.text_right - s.text_width < s.box.left) {
        ++s.text;
        ++s.text_offset;
        --s.text_length;
        measure(s);
    }
    s.text_left = int16_t(s.text_right - s.text_width);
}

// ---- Overflow --------------------------------------------------------------------

void FindEmpty(RowDrawState& s) {
    if (!is_text_cell(s)) {
        strip_Right(s);
        return;
    }
    while (s.text_right > s.box.right - 1 && s.box_last_column < kLastCell) {
        const int16_t column = int16_t(s.box_last_column + 1);
        const uint8_t* neighbour = later_cell(s, column);
        if (neighbour && _cellType_(neighbour) != kCellFormatOnly) break;
        if (neighbour) s.crossed.push_back(neighbour);
        widen_right(s, column);
    }
    if (s.text_right > s.box.right - 1) strip_Right(s);
}

void FindLeft(RowDrawState& s) {
    if (!is_text_cell(s)) {
        strip_Left(s);
        return;
    }
    while (s.text_left < s.box.left && s.box_first_column > 0 && s.box.left > s.left_limit)
        widen_left(s, int16_t(s.box_first_column - 1));
    s.box.left = std::max(s.box.left, s.left_limit);
    if (s.text_left < s.box.left) strip_Left(s);
}

void findSelectedText(RowDrawState& s) {
    for (;;) {
        const int16_t column = int16_t(s.box_last_column + 1);
        const uint8_t* next = column <= kLastCell ? later_cell(s, column) : nullptr;
        if (!next || _cellType_(next) != kCellFormatOnly || !(next[kFmtAlign] & kAlignAcrossSelection)) break;
        s.crossed.push_back(next);
        widen_right(s, column);
    }
}

void findPageWrapText(RowDrawState& s) {
    const int16_t last = nextColumnBreak(s.layer, s.column);
    while (s.box_last_column < last) {
        const int16_t column = int16_t(s.box_last_column + 1);
        const uint8_t* next = later_cell(s, column);
        if (next && _cellType_(next) != kCellFormatOnly) break;
        if (next) s.crossed.push_back(next);
        widen_right(s, column);
    }
}

// ---- Fills -------------------------------------------------------------------------

// Room kept free for the borders of the cell above and the cell to the left.
int16_t border_room(int style) { return style >= 2 ? int16_t(style == 6 ? 2 : 1) : int16_t(0); }

// Fills an area with a format's pattern in its fill colours (colour drawing),
// or black and white with grey for a coloured fill without a pattern.
void fill_area(const pf::Rect& area, const uint8_t* format, int16_t style) {
    const int fore = format[kFmtPatternFore], back = format[kFmtPatternBack];
    int16_t item = format[kFmtPattern] ? int16_t(format[kFmtPattern]) : kSolidFillPattern;
    pf::RGBColor saved_fore, saved_back;
    pf::get_fore_color(saved_fore);
    pf::get_back_color(saved_back);
    if (colour_style(style)) {
        pf::rgb_fore_color(fore >= 1 ? table_colour(int16_t(fore - 1)) : pf::kBlackColor);
        pf::rgb_back_color(back >= 1 ? table_colour(int16_t(back - 1)) : pf::kWhiteColor);
    } else {
        pf::rgb_fore_color(fore == 1 ? pf::kWhiteColor : pf::kBlackColor);
        if (!format[kFmtPattern] && fore > 1) item = kGreyFillPattern;
    }
    pf::fill_rect(area, phased(list_pattern(item)));
    pf::rgb_fore_color(saved_fore);
    pf::rgb_back_color(saved_back);
}

// A cell's fill covers its column's extent and the grid lines around it, less
// room for the borders of the cell above and the cell to the left.
void fill_format(const RowDrawState& s, const uint8_t* format, int16_t left, int16_t right, const uint8_t* above,
                 const uint8_t* left_cell) {
    pf::Rect area{int16_t(s.box.top - 1), int16_t(left - 1), s.box.bottom, right};
    area.top = int16_t(area.top + border_room(border_styles_or_none(above).bottom));
    area.left = int16_t(area.left + border_room(border_styles_or_none(left_cell).right));
    fill_area(area, format, s.colour_style);
}

void FillCell(RowDrawState& s) {
    const uint8_t* format = s.info.format.bytes;
    if (has_fill(format)) fill_format(s, format, s.own_left, s.own_right, cell_above(s), s.cell_left);
}

// Crossed format-only cells: fills (mode 1) or borders (mode 0).
void DrawEmpty(RowDrawState& s, int mode) {
    for (const uint8_t* crossed : s.crossed) {
        pf::Rect edges{};
        column_edges(s.sheet, *s.axes, s.pane, true, _cellID_(crossed), &edges);
        if (mode == 1) {
            if (has_fill(crossed))
                fill_format(s, crossed, edges.left, edges.right, cell_in_row(s.row_above, _cellID_(crossed)), nullptr);
            continue;
        }
        if (format_border_styles(crossed) == 0) continue;
        RowDrawState copy = s;
        std::memcpy(copy.info.format.bytes, crossed, kCellFormatSize);
        copy.column = _cellID_(crossed);
        copy.own_left = copy.box.left = edges.left;
        copy.own_right = copy.box.right = edges.right;
        copy.cell_above = cell_in_row(s.row_above, copy.column);
        copy.cell_left = copy.cell_right = nullptr;
        DrawBorders(&copy);
    }
}

// ---- Text ------------------------------------------------------------------------

int16_t baseline_of(const RowDrawState& s) {
    pf::FontInfo info;
    pf::get_font_info(info);
    const uint8_t flags = s.info.format.bytes[kFmtFlagsA];
    const int16_t height = int16_t(s.box.bottom - s.box.top);
    if (flags & kFlagAVerticalTop) return int16_t(s.box.top + info.ascent);
    if ((flags & kFlagAVerticalMiddle) && height / 2 >= info.ascent)
        return int16_t(s.box.top + height / 2 + info.descent);
    return int16_t(s.box.bottom - info.descent - 1);
}

// Styled text is never cut: where it does not fit its cell it is clipped inside it.
void draw_styled_text(RowDrawState& s) {
    set_text_colour(s);
    pf::move_to(s.text_left, baseline_of(s));
    ClipScope clip(pf::Rect{s.box.top, int16_t(s.box.left + 1), s.box.bottom, int16_t(s.box.right - 1)});
    styled_text(s, true);
    pf::rgb_fore_color(pf::kBlackColor);
}

void draw_single_line(RowDrawState& s, bool justified) {
    if (s.runs) {
        draw_styled_text(s);
        return;
    }
    set_text_colour(s);
    pf::move_to(s.text_left, baseline_of(s));
    const int16_t slack = int16_t(s.own_right - s.own_left - 4 - s.text_width);
    if (justified && slack > 0 && s.box.right == s.own_right)
        pf::draw_justified(shown_text(s), pf::Fixed(slack) * pf::kFixedOne);
    else
        pf::draw_text(shown_text(s));
    pf::rgb_fore_color(pf::kBlackColor);
}

void fill_and_draw(RowDrawState& s, bool justified) {
    FillCell(s);
    DrawEmpty(s, 1);
    draw_single_line(s, justified);
}

void place_left(RowDrawState& s, const pf::Rect& row_rect, bool across, bool justified) {
    s.text_left = int16_t(s.box.left + kTextInsetLeft);
    s.text_right = int16_t(s.text_left + s.text_width);
    if (s.text_right <= row_rect.left && s.box.right <= row_rect.left) return;
    if (across) {
        findSelectedText(s);
        if (s.text_right > s.box.right - 1) strip_Right(s);
    } else if (s.text_right > s.box.right - 1) {
        FindEmpty(s);
    }
    fill_and_draw(s, justified);
}

void place_right(RowDrawState& s, const pf::Rect& row_rect, bool across) {
    s.text_right = int16_t(s.box.right - kTextInsetRight);
    s.text_left = int16_t(s.text_right - s.text_width);
    if (across) {
        findSelectedText(s);
        s.text_right = int16_t(s.box.right - kTextInsetRight);
        s.text_left = int16_t(s.text_right - s.text_width);
        if (s.text_left < s.box.left) strip_Left(s);
    } else if (s.text_left < s.box.left) {
        FindLeft(s);
    }
    if (s.box.right > row_rect.left) fill_and_draw(s, false);
}

void centre_in_box(RowDrawState& s) {
    s.text_left = int16_t((s.box.left + s.box.right - 1) / 2 - s.text_width / 2);
    s.text_right = int16_t(s.text_left + s.text_width);
}

void place_centre(RowDrawState& s, bool across) {
    if (across) {
        findSelectedText(s);
        s.text_left = int16_t(s.box.left + kTextInsetLeft);
        s.text_right = int16_t(s.text_left + s.text_width);
        if (s.text_right > s.box.right - 1) strip_Right(s);
        centre_in_box(s);
    } else {
        centre_in_box(s);
        if (s.text_left < s.box.left) {
            FindLeft(s);
            if (!is_text_cell(s)) centre_in_box(s);
        }
        if (s.text_right > s.box.right - 1) FindEmpty(s);
    }
    fill_and_draw(s, false);
}

int16_t box_justification(int16_t alignment) {
    switch (alignment) {
        case kAlignRight: return kBoxRight;
        case kAlignCentre: return kBoxCentre;
        case kAlignJustify: return kBoxJustified;
        default: return kBoxLeft;
    }
}

void draw_wrapped(RowDrawState& s, const pf::Rect& row_rect, uint8_t align_byte) {
    if (align_byte & kAlignWrapToPage) findPageWrapText(s);
    else if (align_byte & kAlignAcrossSelection) findSelectedText(s);
    if (s.box.right <= row_rect.left) return;
    FillCell(s);
    DrawEmpty(s, 1);
    pf::Rect inner{s.box.top, int16_t(s.box.left + 2), s.box.bottom, int16_t(s.box.right - 2)};
    const int16_t justification = box_justification(Get_Cell_Alignment(&s));
    int16_t line_height = 0, text_height = 0;
    NeoTextBox(s.text, s.text_length, &inner, justification, &line_height, &text_height, 0);
    const uint8_t flags = s.info.format.bytes[kFmtFlagsA];
    const int16_t spare = int16_t(inner.bottom - inner.top - text_height);
    pf::Rect placed = inner;
    if (flags & kFlagAVerticalTop) placed.top = inner.top;
    else if (flags & kFlagAVerticalMiddle) placed.top = int16_t(inner.top + spare / 2);
    else placed.top = int16_t(inner.bottom - 1 - text_height);
    placed.bottom = inner.bottom;
    ClipScope clip(inner);
    set_text_colour(s);
    NeoTextBox(s.text, s.text_length, &placed, justification, nullptr, nullptr, 1);
    pf::rgb_fore_color(pf::kBlackColor);
}

void draw_stacked(RowDrawState& s, uint8_t align_byte) {
    if (align_byte & kAlignAcrossSelection) findSelectedText(s);
    FillCell(s);
    DrawEmpty(s, 1);
    ClipScope clip(s.box);
    pf::Rect inner{int16_t(s.box.top + 1), int16_t(s.box.left + 2), int16_t(s.box.bottom - 1), int16_t(s.box.right - 2)};
    pf::Rect extent{};
    VertTextBox(s.text, s.text_length, &inner, &extent, 0, 0);
    const int16_t width = int16_t(extent.right - extent.left);
    const int16_t alignment = Get_Cell_Alignment(&s);
    int16_t left = inner.left;
    if (alignment == kAlignCentre) left = int16_t((s.box.left + s.box.right) / 2 - width / 2);
    else if (alignment == kAlignRight) left = int16_t(inner.right - width);
    pf::Rect stack{inner.top, left, inner.bottom, int16_t(left + width)};
    const uint8_t flags = s.info.format.bytes[kFmtFlagsA];
    const int16_t vertical = (flags & kFlagAVerticalMiddle) ? 1 : (flags & kFlagAVerticalTop) ? 0 : -1;
    set_text_colour(s);
    VertTextBox(s.text, s.text_length, &stack, nullptr, vertical, 1);
    pf::rgb_fore_color(pf::kBlackColor);
}

void draw_cell_text(RowDrawState& s, const pf::Rect& row_rect) {
    Set_Cell_Attributes(&s);
    measure(s);
    const uint8_t align_byte = s.info.format.bytes[kFmtAlign];
    if (align_byte & (kAlignWrap | kAlignWrapToPage)) {
        draw_wrapped(s, row_rect, align_byte);
        return;
    }
    if (align_byte & kAlignVertical) {
        draw_stacked(s, align_byte);
        return;
    }
    const bool across = (align_byte & kAlignAcrossSelection) != 0;
    switch (Get_Cell_Alignment(&s)) {
        case kAlignRight: place_right(s, row_rect, across); break;
        case kAlignCentre: place_centre(s, across); break;
        default: place_left(s, row_rect, across, Get_Cell_Alignment(&s) == kAlignJustify); break;
    }
}

// ---- One cell ----------------------------------------------------------------------

void start_cell(RowDrawState& s, const uint8_t* cell, const pf::Rect& row_rect) {
    s.cell = cell;
    s.column = _cellID_(cell);
    const uint8_t* after = cell + _cellLength_(cell);
    s.next_cell = after < s.row_end ? after : nullptr;
    s.next_column = s.next_cell ? _cellID_(s.next_cell) : kCellCount;
    s.cell_right = s.next_column == s.column + 1 ? s.next_cell : nullptr;
    s.cell_above = nullptr;
    s.crossed.clear();
    s.box = row_rect;
    column_edges(s.sheet, *s.axes, s.pane, true, s.column, &s.box);
    s.own_left = s.box.left;
    s.own_right = s.box.right;
    s.box_first_column = s.box_last_column = s.column;
}

void draw_cell(RowDrawState& s, const pf::Rect& row_rect) {
    make_display_text(s, -1);
    const uint8_t* format = s.info.format.bytes;
    if (s.box.right > s.box.left && s.text_length > 0) {
        draw_cell_text(s, row_rect);
        s.left_limit = s.box.right;
    } else if (has_fill(format)) {
        FillCell(s);
        s.left_limit = s.box.right;
    }
    if (!s.printing && _noteLength_(s.cell) > 0 && s.own_right > s.own_left) DrawNoteMarker(&s);
    if (format_border_styles(format) != 0) {
        cell_above(s);
        DrawBorders(&s);
    }
    if (!s.crossed.empty()) DrawEmpty(s, 0);
}

// The first cell to draw: the last one with content left of the first
// visible column (its text may overflow into view) or the cell just left of
// it (its double border reaches into view), else the first one at or after
// that column.
const uint8_t* first_cell_to_draw(const uint8_t* row, const uint8_t* end, int16_t first_column) {
    const uint8_t* last_content = nullptr;
    const uint8_t* just_before = nullptr;
    for (const uint8_t* c = row + kRowHeaderSize; c < end && _cellLength_(c) > 0; c += _cellLength_(c)) {
        if (_cellID_(c) >= first_column) return last_content ? last_content : just_before ? just_before : c;
        if (_cellType_(c) != kCellFormatOnly) last_content = c;
        if (_cellID_(c) == first_column - 1) just_before = c;
    }
    return last_content ? last_content : just_before;
}

}  // namespace

int16_t Get_WorkSheet_Defaults(RowDrawState* state, MemoryRef layer) {
    state->info = CellInfoRecord{};
    state->layer = layer;
    state->info.layer = layer;
    state->info.memory = &mem_globals;
    state->default_font = Get_Default_Font(layer);
    state->default_size = Get_Default_Size(layer);
    state->info.default_font = state->default_font;
    return layer_default_row_height(layer);
}

void Set_Cell_Attributes(RowDrawState* state) {
    const uint8_t* format = state->info.format.bytes;
    uint16_t font = format_font(format);
    pf::text_font(font == kDefaultFontNumber ? state->default_font : int16_t(font));
    pf::text_size(format[kFmtSize] > kLargestSize ? state->default_size : int16_t(format[kFmtSize]));
    pf::text_face(format[kFmtFace]);
}

int16_t Get_Cell_Alignment(const RowDrawState* state) {
    const int16_t alignment = state->info.format.bytes[kFmtAlign] & kAlignMask;
    if (alignment != kAlignGeneral) return alignment;
    return state->info.format.bytes[kFmtCellType] == kCellText ? kAlignLeft : kAlignRight;
}

int16_t cell_text_width(RowDrawState* state) {
    make_display_text(*state, -1);
    Set_Cell_Attributes(state);
    if (state->text_length <= 0) return -1;
    measure(*state);
    return state->text_width;
}

int16_t cell_line_height(RowDrawState* state) {
    int16_t tallest = 0;
    auto take = [&] {
        pf::FontInfo info{};
        pf::get_font_info(info);
        tallest = std::max<int16_t>(tallest, int16_t(info.ascent + info.descent + info.leading));
    };
    if (!state->runs) {
        Set_Cell_Attributes(state);
        take();
        return tallest;
    }
    pf::PortState saved = pf::save_port_state(*pf::get_port());
    for (int i = 0; i < state->run_count; ++i) {
        set_run_style(*state, i);
        take();
    }
    pf::restore_port_state(*pf::get_port(), saved);
    return tallest;
}

void SetTextColor(int16_t colour_index, int16_t colour_style_value) {
    if (colour_index >= 1 && colour_style(colour_style_value)) pf::rgb_fore_color(table_colour(int16_t(colour_index - 1)));
    else pf::rgb_fore_color(pf::kBlackColor);
}

void DrawRow(const pf::Rect* row_rect, int16_t pane, const uint8_t* row, RowDrawState* state) {
    RowDrawState& s = *state;
    s.pane = pane;
    s.row_end = row + _RowLength_(row);
    s.left_limit = kNoLeftLimit;
    s.cell_left = nullptr;
    s.info.where.v = _RowID_(row);
    const CellRange visible = s.sheet->visible_ranges[pane & 3];
    const uint8_t* cell = first_cell_to_draw(row, s.row_end, visible.topLeft.h);
    int16_t skip_through = -1;
    while (cell && cell < s.row_end && _cellLength_(cell) > 0 && _cellID_(cell) <= visible.botRight.h) {
        const uint8_t* after = cell + _cellLength_(cell);
        if (_cellID_(cell) > skip_through) {
            start_cell(s, cell, *row_rect);
            draw_cell(s, *row_rect);
            skip_through = s.box_last_column;
            s.cell_left = s.cell_right ? cell : nullptr;
        }
        cell = after;
    }
}

namespace {

struct RedrawContext {
    MemoryRef layer;
    const SpreadSheet* sheet;
    const SheetAxes& axes;
    pf::RgnHandle area;  // the update region met with the caller's clip
    pf::Rect area_bounds;
};

bool meets(const RedrawContext& c, const pf::Rect& r) {
    return r.left < c.area_bounds.right && r.right > c.area_bounds.left && r.top < c.area_bounds.bottom &&
           r.bottom > c.area_bounds.top;
}

void clip_within(const RedrawContext& c, const pf::Rect& r) {
    pf::RgnHandle box = pf::new_region();
    pf::rect_region(box, r);
    pf::sect_region(box, c.area, box);
    pf::set_clip(box);
    pf::dispose_region(box);
}

pf::Rect pane_of(const RedrawContext& c, int pane) { return c.sheet->pane_rects[pane]; }

// Patterns stay in place on the sheet while it scrolls: a pane's phase puts
// the sheet's first pixel, before its first visible row and column, at (0, 0).
PatternPhase pane_phase(const RedrawContext& c, int pane) {
    const CellPoint first = c.sheet->visible_ranges[pane].topLeft;
    const pf::Rect p = pane_of(c, pane);
    return PatternPhase(int(p.left - c.axes.columns.span(0, first.h) % 8), int(p.top - c.axes.rows.span(0, first.v) % 8));
}

void header_lines(const RedrawContext& c) {
    pf::rgb_fore_color(pf::kBlackColor);
    const pf::Rect p0 = pane_of(c, 0);
    draw_line(0, 13, int16_t(p0.right - 1), 13);
    if (pane_in_use(c.sheet, 2)) draw_line(pane_of(c, 2).left, 13, int16_t(pane_of(c, 2).right - 1), 13);
    draw_line(31, 0, 31, int16_t(p0.bottom - 1));
    if (pane_in_use(c.sheet, 1)) draw_line(31, pane_of(c, 1).top, 31, int16_t(pane_of(c, 1).bottom - 1));
}

void pane_separators(const RedrawContext& c) {
    const pf::Rect p0 = pane_of(c, 0);
    const bool used1 = pane_in_use(c.sheet, 1), used2 = pane_in_use(c.sheet, 2);
    const int16_t far_right = used2 ? int16_t(pane_of(c, 2).right - 1) : int16_t(p0.right - 1);
    const int16_t far_bottom = used1 ? int16_t(pane_of(c, 1).bottom - 1) : int16_t(p0.bottom - 1);
    pf::rgb_fore_color(pf::kBlackColor);
    if (c.sheet->flags & kLayerFrozenTitles) {
        if (used1) draw_line(0, p0.bottom, far_right, p0.bottom);
        if (used2) draw_line(p0.right, 0, p0.right, far_bottom);
        return;
    }
    if (used1) {
        draw_line(0, p0.bottom, far_right, p0.bottom);
        draw_line(0, int16_t(p0.bottom + 4), far_right, int16_t(p0.bottom + 4));
    }
    if (used2) {
        draw_line(p0.right, 0, p0.right, far_bottom);
        draw_line(int16_t(p0.right + 4), 0, int16_t(p0.right + 4), far_bottom);
    }
}

void headers(const RedrawContext& c, int16_t default_height) {
    pf::text_font(pf::kSystemFont);
    pf::text_size(9);
    pf::text_face(0);
    pf::text_mode(pf::kSrcOr);
    for (int pane : {0, 2}) {
        if (!pane_in_use(c.sheet, pane)) continue;
        const pf::Rect p = pane_of(c, pane);
        const pf::Rect strip{0, p.left, 13, p.right};
        if (!meets(c, strip)) continue;
        clip_within(c, strip);
        ColumnBars(c.layer, &p, c.sheet->visible_ranges[pane].topLeft.h);
    }
    for (int pane : {0, 1}) {
        if (!pane_in_use(c.sheet, pane)) continue;
        const pf::Rect p = pane_of(c, pane);
        const pf::Rect strip{p.top, 0, p.bottom, p.left};
        if (!meets(c, strip)) continue;
        clip_within(c, strip);
        RowBars(c.layer, &p, &c.area_bounds, c.sheet->visible_ranges[pane].topLeft.v, default_height);
    }
}

// Visits each used pane that meets the update, clipped to it, in its pattern phase.
template <typename Visit>
void each_pane(const RedrawContext& c, Visit&& visit) {
    for (int pane = 0; pane < kPaneCount; ++pane) {
        if (!pane_in_use(c.sheet, pane)) continue;
        const pf::Rect p = pane_of(c, pane);
        if (!meets(c, p)) continue;
        clip_within(c, p);
        PatternPhase phase = pane_phase(c, pane);
        visit(int16_t(pane), p);
    }
}

// Visits the format records of an axis from `first` to `last`, each with the
// record of the index just before it (null when that has none).
template <typename Visit>
void each_format(const AxisSizes& axis, int first, int last, Visit&& visit) {
    const uint8_t* previous = nullptr;
    for (int32_t i = 0; i < axis.count; ++i) {
        const uint8_t* format = axis.records + i * axis.record_size;
        const int16_t index = format_id(format);
        const uint8_t* neighbour = previous && format_id(previous) == index - 1 ? previous : nullptr;
        previous = format;
        if (index > last) break;
        if (index >= first) visit(format, index, neighbour);
    }
}

// Whole-column fills down the pane and whole-row fills across it (below the
// room the bottom border of the row above needs).
void column_and_row_fills(const RedrawContext& c, int16_t style) {
    each_pane(c, [&](int16_t pane, const pf::Rect& p) {
        const CellRange& visible = c.sheet->visible_ranges[pane];
        each_format(c.axes.columns, visible.topLeft.h, visible.botRight.h,
                    [&](const uint8_t* format, int16_t column, const uint8_t*) {
                        if (!has_fill(format)) return;
                        pf::Rect edges{};
                        column_edges(c.sheet, c.axes, pane, true, column, &edges);
                        fill_area(pf::Rect{p.top, int16_t(edges.left - 1), p.bottom, int16_t(edges.right + 1)}, format,
                                  style);
                    });
        each_format(c.axes.rows, visible.topLeft.v, visible.botRight.v,
                    [&](const uint8_t* format, int16_t row, const uint8_t* above) {
                        if (!has_fill(format)) return;
                        pf::Rect edges{};
                        row_edges(c.sheet, c.axes, pane, true, row, &edges);
                        const int16_t top =
                            int16_t(edges.top - 1 + border_room(border_styles_or_none(above).bottom));
                        fill_area(pf::Rect{top, int16_t(p.left - 1), int16_t(edges.bottom + 1), int16_t(p.right + 1)},
                                  format, style);
                    });
    });
}

// The borders a whole-column or whole-row format gives one cell rectangle.
void format_borders(RowDrawState& s, const uint8_t* format, const pf::Rect& cell, const uint8_t* above,
                    const uint8_t* left) {
    std::memcpy(s.info.format.bytes, format, kCellFormatSize);
    s.box = cell;
    s.own_left = cell.left;
    s.own_right = cell.right;
    s.cell_above = above;
    s.cell_left = left;
    s.cell_right = nullptr;
    DrawBorders(&s);
}

// Whole-column borders down the visible rows (and one column either side, whose
// borders reach into view); whole-row borders across the visible columns.
void column_and_row_borders(const RedrawContext& c, RowDrawState& s) {
    each_pane(c, [&](int16_t pane, const pf::Rect&) {
        s.pane = pane;
        const CellRange& visible = c.sheet->visible_ranges[pane];
        each_format(c.axes.columns, visible.topLeft.h - 1, visible.botRight.h + 1,
                    [&](const uint8_t* format, int16_t column, const uint8_t* left) {
                        if (format_border_styles(format) == 0) return;
                        pf::Rect cell{};
                        column_edges(c.sheet, c.axes, pane, true, column, &cell);
                        for (int16_t row = visible.topLeft.v; row >= 0 && row <= visible.botRight.v;
                             row = c.axes.rows.next_to_draw(row)) {
                            row_edges(c.sheet, c.axes, pane, true, row, &cell);
                            format_borders(s, format, cell, row > visible.topLeft.v ? format : nullptr, left);
                        }
                    });
        each_format(c.axes.rows, visible.topLeft.v, visible.botRight.v,
                    [&](const uint8_t* format, int16_t row, const uint8_t* above) {
                        if (format_border_styles(format) == 0) return;
                        pf::Rect cell{};
                        row_edges(c.sheet, c.axes, pane, true, row, &cell);
                        for (int16_t column = visible.topLeft.h; column >= 0 && column <= visible.botRight.h;
                             column = c.axes.columns.next_to_draw(column)) {
                            column_edges(c.sheet, c.axes, pane, true, column, &cell);
                            format_borders(s, format, cell, above, column > visible.topLeft.h ? format : nullptr);
                        }
                    });
    });
}

void grid(const RedrawContext& c, int16_t default_height) {
    each_pane(c, [&](int16_t pane, const pf::Rect& p) {
        const CellRange& visible = c.sheet->visible_ranges[pane];
        RowGrids(c.layer, &p, &c.area_bounds, visible.topLeft.v, default_height);
        ColumnGrids(c.layer, &p, visible.topLeft.h);
    });
}

// The row records of a store, walked forwards as the rows of a band go down.
struct RowWalk {
    const uint8_t* at;
    const uint8_t* end;
    const uint8_t* previous = nullptr;

    const uint8_t* record_of(int16_t row) {
        while (at && at < end && _RowID_(at) < row) {
            previous = at;
            at += _RowLength_(at);
        }
        return at && at < end && _RowID_(at) == row ? at : nullptr;
    }
    const uint8_t* record_above(int16_t row) const {
        return previous && _RowID_(previous) == row - 1 ? previous : nullptr;
    }
};

void band_rows(const RedrawContext& c, RowDrawState& s, int left_pane, int right_pane, const uint8_t* store,
               const uint8_t* store_end) {
    if (!pane_in_use(c.sheet, left_pane)) return;
    const pf::Rect lp = pane_of(c, left_pane);
    const bool right_used = pane_in_use(c.sheet, right_pane);
    const pf::Rect rp = right_used ? pane_of(c, right_pane) : lp;
    if (!meets(c, pf::Rect{lp.top, lp.left, lp.bottom, rp.right})) return;
    const int16_t first = c.sheet->visible_ranges[left_pane].topLeft.v;
    if (first < 0) return;
    int16_t row = first > 0 ? int16_t(first - 1) : first;
    int32_t top = first > 0 ? lp.top - c.axes.rows.size(row) : lp.top;
    RowWalk walk{store, store_end};
    for (; row < kCellCount && top - 2 < lp.bottom; ++row) {
        const int32_t bottom = top + c.axes.rows.size(row);
        const uint8_t* record = walk.record_of(row);
        if (record && bottom > top) {
            s.row_above = walk.record_above(row);
            for (int pane : {left_pane, right_pane}) {
                if (!pane_in_use(c.sheet, pane)) continue;
                const pf::Rect p = pane_of(c, pane);
                const pf::Rect band{int16_t(std::max<int32_t>(top - 2, p.top)), p.left,
                                    int16_t(std::min<int32_t>(bottom + 1, p.bottom)), p.right};
                if (band.empty() || !meets(c, band)) continue;
                clip_within(c, band);
                PatternPhase phase = pane_phase(c, pane);
                const pf::Rect row_rect{int16_t(top), p.left, int16_t(bottom), p.right};
                DrawRow(&row_rect, int16_t(pane), record, &s);
            }
        }
        top = bottom;
    }
}

void page_marks(const RedrawContext& c) {
    each_pane(c, [&](int16_t pane, const pf::Rect& p) {
        RowPage(c.layer, &p, pane);
        ColumnPage(c.layer, &p, pane);
    });
}

}  // namespace

void Draw_Spreadsheet(pf::RgnHandle region, MemoryRef layer) {
    pf::Port* port = pf::get_port();
    pf::PortState saved = pf::save_port_state(*port);
    pf::pen_normal();
    SheetAxes axes(layer);
    ConstLayerUse sheet(layer);
    RowDrawState state;
    const int16_t default_height = Get_WorkSheet_Defaults(&state, layer);
    state.sheet = sheet;
    state.axes = &axes;
    state.colour_style = drawing_colour_style(layer);
    state.printing = (sheet->flags & kLayerPictureDrawing) != 0;
    state.hairlines = false;

    pf::RgnHandle area = pf::new_region();
    pf::get_clip(area);
    pf::sect_region(area, region, area);
    RedrawContext c{layer, sheet, axes, area, pf::region_bounds(area)};
    if (pane_in_use(sheet, 0) && !pf::empty_region(area)) {
        pf::set_clip(area);
        if (sheet->flags & kLayerHeadings) header_lines(c);
        pane_separators(c);
        if (sheet->flags & kLayerHeadings) headers(c, default_height);
        if (sheet->flags & kLayerGridLines) grid(c, default_height);
        column_and_row_fills(c, state.colour_style);
        column_and_row_borders(c, state);
        if (MemoryRef cells = sheet->cells; cells && GetByteSize(cells) > 0) {
            MemoryUse<const uint8_t> store(cells);
            const uint8_t* end = store + GetByteSize(cells);
            band_rows(c, state, 0, 2, store, end);
            band_rows(c, state, 1, 3, store, end);
        }
        if (sheet->flags & kLayerPageBreaks) page_marks(c);
        pf::set_clip(area);
        for (int16_t pane = 0; pane < kPaneCount; ++pane) window_services.draw_objects_in_pane(pane, layer);
    }
    pf::dispose_region(area);
    sheet.release();
    pf::restore_port_state(*port, saved);
}

void DrawEntryCell(MemoryRef layer, int16_t first_row, int16_t last_row) {
    for (int16_t pane = 0; pane < kPaneCount; ++pane) {
        pf::Rect pane_rect;
        GetPaneRect(&pane_rect, pane, layer);
        if (pane_rect.left == -1) continue;
        pf::Rect top_edge{}, bottom_edge{};
        Cell_V_Coord(pane, &top_edge, 0, first_row, layer);
        Cell_V_Coord(pane, &bottom_edge, 0, last_row, layer);
        pf::Rect band{int16_t(std::max(top_edge.top - 2, int(pane_rect.top))), pane_rect.left,
                      int16_t(std::min(bottom_edge.bottom + 2, int(pane_rect.bottom))), pane_rect.right};
        if (band.empty()) continue;
        pf::erase_rect(band);
        pf::RgnHandle region = pf::new_region();
        pf::rect_region(region, band);
        Draw_Spreadsheet(region, layer);
        pf::dispose_region(region);
    }
}
