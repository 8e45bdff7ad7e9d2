// Table auto-format: the steps of a look over a range and their application
// to a layer's selection.
#include "editing/table_format.h"

#include <algorithm>

#include "editing/cell_blocks.h"
#include "model/cell_format.h"
#include "model/display_text.h"
#include "model/format_commands.h"
#include "model/workbook.h"
#include "window/auto_size.h"

namespace {

constexpr int32_t kSmallRangeAlert = 104;
constexpr int16_t kItalicBit = 1, kBoldBit = 0;
constexpr int16_t kCentred = 2;
constexpr uint8_t kFormatCurrency = '$';
constexpr int16_t kRightSide = 16, kLeftSide = 16;  // added to a style: the second side of a field

// Line styles.
constexpr int16_t kThin = 2, kGray = 3, kThick = 4, kHairline = 5, kDouble = 6;
// Fill pattern numbers.
constexpr int16_t kDarkFill = 3, kLightFill = 12, kHeadingFill = 22;

enum class Side { kTop, kLeft, kBottom, kRight };

struct LookBuilder {
    const CellRange& r;
    uint8_t options;
    std::vector<TableStep>& steps;

    int16_t top() const { return r.topLeft.v; }
    int16_t left() const { return r.topLeft.h; }
    int16_t bottom() const { return r.botRight.v; }
    int16_t right() const { return r.botRight.h; }
    bool totals_row() const { return options & kTableTotalsRow; }
    bool totals_column() const { return options & kTableTotalsColumn; }
    // The last row above the totals row.
    int16_t body_bottom() const { return totals_row() ? int16_t(bottom() - 1) : bottom(); }

    void set(int16_t top_row, int16_t left_column, int16_t bottom_row, int16_t right_column, int16_t field,
             int16_t value, bool clear = false) {
        if (top_row > bottom_row || left_column > right_column) return;
        steps.push_back({{{top_row, left_column}, {bottom_row, right_column}}, field, value, clear});
    }
    void line(int16_t top_row, int16_t left_column, int16_t bottom_row, int16_t right_column, Side side,
              int16_t style) {
        switch (side) {
            case Side::kTop: set(top_row, left_column, bottom_row, right_column, kFmtBorderStyles, style); break;
            case Side::kLeft:
                set(top_row, left_column, bottom_row, right_column, kFmtBorderStyles, int16_t(style + kLeftSide));
                break;
            case Side::kBottom: set(top_row, left_column, bottom_row, right_column, kFmtBorderStyles + 1, style); break;
            case Side::kRight:
                set(top_row, left_column, bottom_row, right_column, kFmtBorderStyles + 1, int16_t(style + kRightSide));
                break;
        }
    }
    void row_line(int16_t row, Side side, int16_t style, int16_t from_column) {
        line(row, from_column, row, right(), side, style);
    }
    void row_line(int16_t row, Side side, int16_t style) { row_line(row, side, style, left()); }
    void column_line(int16_t column, Side side, int16_t style, int16_t from_row, int16_t to_row) {
        line(from_row, column, to_row, column, side, style);
    }
    void column_line(int16_t column, Side side, int16_t style) { column_line(column, side, style, top(), bottom()); }
    void fill_rows(int16_t first, int16_t last, int16_t pattern) {
        set(first, left(), std::min(last, bottom()), right(), kFmtPattern, pattern);
    }

    void reset() {
        set(top(), left(), bottom(), right(), kFmtFace, 0, true);
        set(top(), left(), bottom(), right(), kFmtAlign, 0);
        set(top(), left(), bottom(), right(), kFmtCode, kFormatGeneral);
        set(top(), left(), bottom(), right(), kFmtPattern, 0);
        for (Side side : {Side::kTop, Side::kLeft, Side::kBottom, Side::kRight})
            line(top(), left(), bottom(), right(), side, 0);
    }

    void apply_options() {
        if (options & kTableItalicHeadings) set(top(), left(), top(), right(), kFmtFace, kItalicBit);
        if (options & kTableNumbers) {
            const int16_t first = int16_t(left() + 1);
            set(int16_t(top() + 2), first, bottom(), right(), kFmtCode, kFormatFixed);
            set(int16_t(top() + 2), first, bottom(), right(), kFmtDecimals, 0);
            set(int16_t(top() + 1), first, int16_t(top() + 1), right(), kFmtCode, kFormatCurrency);
        }
        // Centring comes after the number formats, whose plain alignment would otherwise undo it.
        if (options & kTableCentre) set(top(), left(), bottom(), right(), kFmtAlign, kCentred);
        const bool bold = options & kTableBoldTotals;
        if (totals_column()) {
            set(top(), right(), bottom(), right(), kFmtCode, kFormatCurrency);
            if (bold) set(top(), right(), bottom(), right(), kFmtFace, kBoldBit);
        }
        if (totals_row()) {
            set(bottom(), left(), bottom(), right(), kFmtCode, kFormatCurrency);
            if (bold) set(bottom(), left(), bottom(), right(), kFmtFace, kBoldBit);
        }
    }

    // Thick lines under the headings and the body; `style` for both.
    void simple(int16_t style) {
        row_line(top(), Side::kBottom, style);
        row_line(body_bottom(), Side::kBottom, style);
    }
    void heading_column() { column_line(left(), Side::kRight, kThin, int16_t(top() + 1), body_bottom()); }
    void ruled() {
        row_line(top(), Side::kTop, kThick);
        row_line(top(), Side::kBottom, kThin);
        row_line(bottom(), Side::kBottom, kThick);
        if (totals_row()) row_line(bottom(), Side::kTop, kThin);
    }
    void boxed() {
        row_line(top(), Side::kTop, kThick);
        row_line(top(), Side::kBottom, kThick);
        row_line(bottom(), Side::kBottom, kThick);
        if (totals_row()) row_line(bottom(), Side::kTop, kThick);
        column_line(left(), Side::kLeft, kThin);
        column_line(right(), Side::kRight, kThin);
    }
    void grid() {
        line(top(), left(), bottom(), right(), Side::kRight, kHairline);
        line(top(), left(), bottom(), right(), Side::kTop, kHairline);
        row_line(top(), Side::kTop, kThick);
        row_line(top(), Side::kBottom, kThin);
        row_line(bottom(), Side::kBottom, kThick);
        column_line(left(), Side::kLeft, kThick);
        column_line(left(), Side::kRight, kThin);
        column_line(right(), Side::kRight, kThick);
        if (totals_row()) {
            row_line(bottom(), Side::kTop, kDouble);
            row_line(int16_t(bottom() - 1), Side::kBottom, kDouble);
        }
        if (totals_column()) {
            column_line(right(), Side::kLeft, kDouble);
            column_line(int16_t(right() - 1), Side::kRight, kDouble);
        }
    }

    void look(int16_t which) {
        switch (which) {
            case 0: simple(kThick); break;
            case 1: simple(kDouble); break;
            case 2:
                simple(kThick);
                heading_column();
                break;
            case 3:
                row_line(top(), Side::kBottom, kThin);
                if (totals_row()) row_line(int16_t(bottom() - 1), Side::kBottom, kThin);
                row_line(bottom(), Side::kBottom, kDouble);
                break;
            case 4:
                row_line(top(), Side::kBottom, kThick);
                if (totals_row()) {
                    row_line(int16_t(bottom() - 1), Side::kBottom, kThin, int16_t(left() + 1));
                    row_line(bottom(), Side::kBottom, kDouble, int16_t(left() + 1));
                } else {
                    row_line(bottom(), Side::kBottom, kDouble);
                }
                break;
            case 5:
                simple(kThick);
                line(int16_t(top() + 1), left(), int16_t(body_bottom() - 1), right(), Side::kBottom, kGray);
                break;
            case 6: ruled(); break;
            case 7:
                ruled();
                heading_column();
                break;
            case 8: boxed(); break;
            case 9:
                boxed();
                heading_column();
                break;
            case 10:
                boxed();
                line(int16_t(top() + 1), left(), body_bottom(), right(), Side::kRight, kThin);
                break;
            case 11: grid(); break;
            case 12:
                fill_rows(top(), top(), kDarkFill);
                for (int32_t row = top() + 2; row <= bottom(); row += 2) fill_rows(int16_t(row), int16_t(row), kLightFill);
                if (totals_row()) fill_rows(bottom(), bottom(), kDarkFill);
                break;
            case 13:
                fill_rows(top(), top(), kHeadingFill);
                for (int32_t row = top() + 1; row <= bottom(); row += 4)
                    fill_rows(int16_t(row), int16_t(std::min<int32_t>(row + 1, kLastCell)), kLightFill);
                if (totals_row()) fill_rows(bottom(), bottom(), kDarkFill);
                break;
            default: break;
        }
    }
};

}  // namespace

uint8_t applied_table_options(uint8_t options) {
    if (!(options & kTableNumbers)) options &= uint8_t(~(kTableBoldTotals | kTableTotalsRow | kTableTotalsColumn));
    if (!(options & (kTableTotalsRow | kTableTotalsColumn))) options &= uint8_t(~kTableBoldTotals);
    return options;
}

std::vector<TableStep> table_format_steps(const CellRange& range, int16_t look, uint8_t options) {
    std::vector<TableStep> steps;
    LookBuilder builder{range, applied_table_options(options), steps};
    builder.reset();
    builder.apply_options();
    builder.look(look);
    return steps;
}

int32_t table_format_refusal(MemoryRef layer, const CellRange& range) {
    if (check_access(layer)) return kProtectedWorkbookAlert;
    if (range.botRight.h - range.topLeft.h < 1 || range.botRight.v - range.topLeft.v < 2) return kSmallRangeAlert;
    if (check_protected(&range, layer)) return kLockedCellsAlert;
    return 0;
}

bool apply_table_format(MemoryRef layer, int16_t look, uint8_t options) {
    const CellRange range = current_selection(layer);
    if (!Format_Sheet(kFormatTableUndoKind, -1, 0, false, true, true, layer)) return false;
    for (const TableStep& step : table_format_steps(range, look, options))
        SetBits(step.field, step.value, &step.range, step.clear, false, true, layer);
    if (options & kTableFitWidths) AutoColumnWidth(1, range.topLeft.h, layer);
    return true;
}
