#include "window/sheet_frame.h"

#include <algorithm>
#include <cstring>

#include "core/number_text.h"
#include "core/string_utils.h"
#include "model/cell_format.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "platform/draw/text.h"
#include "window/cell_geometry.h"
#include "window/sheet_paint.h"

namespace {

constexpr int16_t kLabelRoom = 6;
constexpr int16_t kTallEnoughForNumber = 10;
constexpr int16_t kLetterPairShift = 3;

struct LayerView {
    explicit LayerView(MemoryRef the_layer) : layer(the_layer), axes(the_layer), sheet(the_layer) {}
    MemoryRef layer;
    SheetAxes axes;
    ConstLayerUse sheet;
};

const uint8_t* column_record(const AxisSizes& columns, int16_t column) {
    for (int32_t i = 0; i < columns.count; ++i) {
        const uint8_t* record = columns.records + i * columns.record_size;
        int16_t id = format_id(record);
        if (id == column) return record;
        if (id > column) break;
    }
    return nullptr;
}

void grid_pen(int16_t style) {
    pf::pen_normal();
    if (colour_style(style)) {
        fore_grey(kGridGrey);
    } else {
        pf::rgb_fore_color(pf::kBlackColor);
        pf::pen_pat(phased(pf::kGrayPattern));
    }
}

void draw_column_name(const unsigned char* name, int16_t left, int16_t right, int16_t baseline) {
    pf::text_face(pf::kBold);
    unsigned char shown[32];
    std::memcpy(shown, name, size_t(name[0]) + 1);
    int16_t width = pf::string_width(shown);
    int16_t room = int16_t(right - left);
    if (width < room) {
        pf::move_to(int16_t(left + (room - width) / 2), baseline);
    } else {
        pf::trunc_string(int16_t(room - 4), shown, pf::kTruncEnd);
        pf::move_to(int16_t(left + 2), baseline);
    }
    pf::draw_string(shown);
    pf::text_face(0);
}

void draw_column_letters(const unsigned char* letters, int16_t right, int16_t width, int16_t baseline) {
    int16_t at = int16_t(right - width / 2 - 2);
    if (letters[0] == 2) at = int16_t(at - kLetterPairShift);
    else if (letters[0] > 2) at = int16_t(at - (pf::string_width(letters) - pf::char_width(letters[1])) / 2);
    pf::move_to(at, baseline);
    pf::draw_string(letters);
}

}  // namespace

int16_t drawing_colour_style(MemoryRef layer) {
    const uint32_t flags = GetSheetFlags(layer);
    const bool in_colour = !(flags & kLayerPictureDrawing) || (flags & kLayerPrintColours);
    return in_colour ? GetSheetColors(layer) : int16_t(2);
}

void column_label(unsigned char* label, int16_t column, const uint8_t* column_format) {
    if (column_format && column_format[kColumnNameOffset] > 0) {
        size_t length = std::min<size_t>(column_format[kColumnNameOffset], 31);
        std::memcpy(label, column_format + kColumnNameOffset, length + 1);
        label[0] = uint8_t(length);
        return;
    }
    NumberToColumn(label, column);
}

void ColumnBars(MemoryRef layer, const pf::Rect* pane, int16_t first_column) {
    LayerView view(layer);
    const int16_t style = drawing_colour_style(layer);
    const int16_t top = pane->top;
    if (colour_style(style)) {
        fore_grey(kHeaderGrey);
        pf::paint_rect(pf::Rect{int16_t(top - 13), pane->left, int16_t(top - 1), pane->right});
    }
    int32_t left = pane->left;
    for (int16_t column = first_column; column >= 0 && left <= pane->right && column < kCellCount;
         column = view.axes.columns.next_to_draw(column)) {
        const int16_t width = view.axes.columns.size(column);
        const int16_t right = int16_t(std::min<int32_t>(left + width, 32000));
        if (colour_style(style)) {
            pf::rgb_fore_color(pf::kWhiteColor);
            draw_line(int16_t(left), int16_t(top - 2), int16_t(left), int16_t(top - 12));
        }
        pf::rgb_fore_color(pf::kBlackColor);
        unsigned char label[40];
        const uint8_t* record = column_record(view.axes.columns, column);
        column_label(label, column, record);
        bool named = record && record[kColumnNameOffset] > 0;
        if (named && width > 0) {
            draw_column_name(label, int16_t(left), right, int16_t(top - 4));
        } else if (!named) {
            int16_t at = int16_t(right - width / 2 - 2);
            if (at >= pane->right) break;
            if (at < right - kLabelRoom) draw_column_letters(label, right, width, int16_t(top - 4));
        }
        if (right < pane->right || !named) draw_line(int16_t(right - 1), int16_t(top - 1), int16_t(right - 1), int16_t(top - 13));
        left = right;
    }
}

void RowBars(MemoryRef layer, const pf::Rect* pane, const pf::Rect* clip, int16_t first_row, int16_t) {
    LayerView view(layer);
    const int16_t style = drawing_colour_style(layer);
    if (colour_style(style)) {
        fore_grey(kHeaderGrey);
        pf::paint_rect(pf::Rect{pane->top, 1, pane->bottom, int16_t(pane->left - 1)});
    }
    int32_t top = pane->top;
    for (int16_t row = first_row; row >= 0 && top < pane->bottom && row < kCellCount; row = view.axes.rows.next_to_draw(row)) {
        const int32_t bottom = top + view.axes.rows.size(row);
        if (bottom > clip->top && top < clip->bottom && bottom > top) {
            pf::rgb_fore_color(pf::kBlackColor);
            if (bottom - top > kTallEnoughForNumber) {
                unsigned char number[16];
                Num_To_String(row + 1, number);
                int16_t at = std::max<int16_t>(1, int16_t(pane->left - 3 - pf::string_width(number)));
                pf::move_to(at, int16_t(bottom - 3));
                pf::draw_string(number);
            }
            draw_line(int16_t(pane->left - 32), int16_t(bottom - 1), int16_t(pane->left - 1), int16_t(bottom - 1));
            if (colour_style(style)) {
                pf::rgb_fore_color(pf::kWhiteColor);
                draw_line(1, int16_t(top), 30, int16_t(top));
            }
        }
        top = bottom;
    }
    pf::rgb_fore_color(pf::kBlackColor);
}

namespace {

// Calls `line(edge)` with the far edge of each cell drawn along an axis from
// `first`, the first cell starting at `start`, while the edge is at most `end`.
template <typename Line>
void each_grid_edge(const AxisSizes& axis, int16_t first, int32_t start, int32_t end, Line&& line) {
    int32_t edge = start;
    for (int16_t cell = first; cell >= 0 && cell < kCellCount; cell = axis.next_to_draw(cell)) {
        edge += axis.size(cell);
        if (edge > end) break;
        line(edge);
    }
}

}  // namespace

void ColumnGrids(MemoryRef layer, const pf::Rect* pane, int16_t first_column) {
    LayerView view(layer);
    grid_pen(drawing_colour_style(layer));
    each_grid_edge(view.axes.columns, first_column, pane->left, pane->right, [&](int32_t right) {
        draw_line(int16_t(right - 1), pane->top, int16_t(right - 1), int16_t(pane->bottom - 1));
    });
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
}

void RowGrids(MemoryRef layer, const pf::Rect* band, const pf::Rect* clip, int16_t first_row, int16_t) {
    LayerView view(layer);
    grid_pen(drawing_colour_style(layer));
    each_grid_edge(view.axes.rows, first_row, band->top, band->bottom, [&](int32_t bottom) {
        if (bottom > clip->top && bottom - 1 < clip->bottom)
            draw_line(band->left, int16_t(bottom - 1), int16_t(band->right - 1), int16_t(bottom - 1));
    });
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
}

namespace {

// The ascending u16 boundaries of a page-boundary list.
template <typename Visit>
void each_boundary(MemoryRef list, Visit&& visit) {
    if (!list || GetByteSize(list) < 2) return;
    MemoryUse<const uint8_t> bytes(list);
    int32_t count = GetByteSize(list) / 2;
    for (int32_t i = 0; i < count; ++i) {
        uint16_t value;
        std::memcpy(&value, bytes + 2 * i, 2);
        visit(int16_t(value));
    }
}

void page_pen(int16_t item, int16_t style) {
    pf::pen_normal();
    pf::pen_pat(phased(list_pattern(item)));
    pf::pen_mode(pf::kPatOr);
    pf::rgb_fore_color(colour_style(style) ? pf::RGBColor{0, 0, 0x9999} : pf::kBlackColor);
}

}  // namespace

namespace {

// Dashed lines along the last line of each page-boundary row (or column) that
// the pane shows.
void page_marks_along(MemoryRef layer, const pf::Rect* pane, int16_t pane_index, bool columns) {
    LayerView view(layer);
    const CellRange visible = view.sheet->visible_ranges[pane_index & 3];
    page_pen(columns ? kColumnPageMarkPattern : kRowPageMarkPattern, drawing_colour_style(layer));
    each_boundary(columns ? view.sheet->column_page_bounds : view.sheet->row_page_bounds, [&](int16_t index) {
        const int16_t first = columns ? visible.topLeft.h : visible.topLeft.v;
        const int16_t last = columns ? visible.botRight.h : visible.botRight.v;
        if (index < first || index > last) return;
        pf::Rect edges{};
        if (columns) {
            column_edges(view.sheet, view.axes, pane_index, true, index, &edges);
            draw_line(column_last_line(edges), pane->top, column_last_line(edges), int16_t(pane->bottom - 1));
        } else {
            row_edges(view.sheet, view.axes, pane_index, true, index, &edges);
            draw_line(pane->left, row_last_line(edges), int16_t(pane->right - 1), row_last_line(edges));
        }
    });
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
}

}  // namespace

void RowPage(MemoryRef layer, const pf::Rect* pane, int16_t pane_index) { page_marks_along(layer, pane, pane_index, false); }

void ColumnPage(MemoryRef layer, const pf::Rect* pane, int16_t pane_index) {
    page_marks_along(layer, pane, pane_index, true);
}

void Draw_ID(MemoryRef layer) {
    if (!(GetSheetFlags(layer) & kLayerHeadings)) return;
    pf::Rect view_rect;
    int16_t id;
    {
        ConstLayerUse sheet(layer);
        view_rect = sheet->view_rect;
        id = sheet->layer_id;
    }
    const int16_t top = view_rect.top, left = view_rect.left;
    if (colour_style(drawing_colour_style(layer))) {
        fore_grey(kHeaderGrey);
        pf::paint_rect(pf::Rect{int16_t(top + 1), int16_t(left + 1), int16_t(top + 13), int16_t(left + 31)});
        fore_grey(kShadowGrey);
        draw_line(int16_t(left + 2), int16_t(top + 12), int16_t(left + 30), int16_t(top + 12));
        pf::line_to(int16_t(left + 30), int16_t(top + 2));
    }
    pf::rgb_fore_color(pf::kBlackColor);
    pf::text_font(pf::kApplFont);
    pf::text_size(9);
    pf::text_face(0);
    pf::text_mode(pf::kSrcOr);
    unsigned char number[16];
    Num_To_String(id + 1, number);
    number[++number[0]] = ':';
    pf::move_to(int16_t(left + (id + 1 > 99 ? 2 : 10)), int16_t(top + 11));
    pf::draw_string(number);
}
