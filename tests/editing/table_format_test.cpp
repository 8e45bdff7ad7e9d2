// Table auto-format: every look with its options given to a range matches the
// dialog's sample cell for cell, the sample paints the sheet's own fill
// patterns, the options that need number formats fall away without them, the
// refusals, and one undo step.
#include <cairo.h>

#include "undo_fixture.h"
#include "editing/table_format.h"
#include "model/cell_formats.h"
#include "model/format_commands.h"
#include "platform/draw/draw.h"
#include "window/sheet_paint.h"

namespace {

constexpr int16_t kTop = 2, kLeft = 1;
constexpr CellRange kTable{{kTop, kLeft}, {kTop + kSampleRows - 1, kLeft + kSampleColumns - 1}};
constexpr pf::Rect kSampleBox{10, 10, 130, 290};

// A picture the sample is measured and drawn in.
struct Offscreen {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 300, 140);
    pf::Port port;
    pf::Port* saved = pf::get_port();
    Offscreen() {
        pf::open_port(port, surface, 300, 140);
        pf::set_port(&port);
    }
    ~Offscreen() {
        pf::set_port(saved);
        pf::close_port(port);
        cairo_surface_destroy(surface);
    }
    bool black(int h, int v) const {
        const auto* row = cairo_image_surface_get_data(surface) + v * cairo_image_surface_get_stride(surface);
        return (reinterpret_cast<const uint32_t*>(row)[h] & 0xFFFFFF) == 0;
    }
};

class TableFormat : public UndoTest {
protected:
    Offscreen picture;

    void draw(int16_t look, uint8_t options) {
        pf::erase_rect(pf::Rect{0, 0, 140, 300});
        draw_table_sample(kSampleBox, look, options);
        cairo_surface_flush(picture.surface);
    }
    CellFormat at(int16_t row, int16_t column) {
        CellFormat format;
        get_cell_format(format.bytes, CellPoint{row, column}, layer);
        return format;
    }
    int16_t bottom_style(int16_t row, int16_t column) { return format_border_styles(at(row, column).bytes) & 0xF; }
};

TEST_F(TableFormat, EveryLookGivesTheRangeWhatItsSampleShows) {
    const uint8_t option_sets[] = {kTableOpeningOptions, 0x7F, kTableNumbers | kTableTotalsColumn | kTableCentre,
                                   kTableItalicHeadings | kTableTotalsRow | kTableBoldTotals};
    for (uint8_t options : option_sets)
        for (int16_t look = 0; look < kTableLooks; ++look) {
            select_range(kTable);
            ASSERT_TRUE(apply_table_format(layer, look, options));
            const TableSample sample = table_sample(kSampleBox, look, options);
            for (int r = 0; r < kSampleRows; ++r)
                for (int c = 0; c < kSampleColumns; ++c) {
                    const CellFormat cell = at(int16_t(kTop + r), int16_t(kLeft + c));
                    const uint8_t* shown = sample.formats[r][c];
                    SCOPED_TRACE(testing::Message() << "look " << look << " options " << int(options) << " cell "
                                                    << r << "," << c);
                    EXPECT_EQ(format_border_styles(cell.bytes), format_border_styles(shown));
                    EXPECT_EQ(cell.bytes[kFmtPattern], shown[kFmtPattern]);
                    EXPECT_EQ(cell.bytes[kFmtFace], shown[kFmtFace]);
                    EXPECT_EQ(cell.bytes[kFmtAlign] & 7, shown[kFmtAlign] & 7);
                    EXPECT_EQ(cell.bytes[kFmtCode], shown[kFmtCode]);
                }
        }
}

TEST_F(TableFormat, TheSamplePaintsEachFillWithTheSheetsPatternAndDrawsItsLines) {
    for (int16_t look : {8, 11, 12, 13}) {
        const TableSample sample = table_sample(kSampleBox, look, kTableOpeningOptions);
        draw(look, kTableOpeningOptions);
        for (int r = 0; r < kSampleRows; ++r)
            for (int c = 0; c < kSampleColumns; ++c) {
                SCOPED_TRACE(testing::Message() << "look " << look << " cell " << r << "," << c);
                const pf::Rect cell = sample_cell_rect(sample, r, c);
                const uint8_t* format = sample.formats[r][c];
                if (const uint8_t fill = format[kFmtPattern]) {
                    const pf::Pattern pattern = list_pattern(fill);
                    int missing = 0;
                    for (int v = cell.top; v < cell.bottom; ++v)
                        for (int h = cell.left; h < cell.right; ++h)
                            if ((pattern.pat[v & 7] >> (7 - (h & 7))) & 1) missing += !picture.black(h, v);
                    EXPECT_EQ(missing, 0);
                }
                const uint16_t styles = format_border_styles(format);
                const int mid_h = (cell.left + cell.right) / 2, mid_v = (cell.top + cell.bottom) / 2;
                auto solid = [](int style) { return style == 2 || style == 4 || style == 6; };
                if (solid(styles & 0xF)) EXPECT_TRUE(picture.black(mid_h, cell.bottom - 1));
                if (solid((styles >> 8) & 0xF)) EXPECT_TRUE(picture.black(mid_h, cell.top));
                if (solid((styles >> 12) & 0xF)) EXPECT_TRUE(picture.black(cell.left, mid_v));
                if (solid((styles >> 4) & 0xF)) EXPECT_TRUE(picture.black(cell.right - 1, mid_v));
            }
    }
}

TEST_F(TableFormat, ShadedBandsOnSevenRowsEndWithTheTotalsShade) {
    const CellRange seven{{0, 0}, {6, 2}};
    select_range(seven);
    ASSERT_TRUE(apply_table_format(layer, 12, kTableNumbers));
    const uint8_t without[] = {3, 0, 12, 0, 12, 0, 12};
    for (int16_t row = 0; row < 7; ++row) EXPECT_EQ(at(row, 1).bytes[kFmtPattern], without[row]) << row;
    ASSERT_TRUE(apply_table_format(layer, 12, kTableNumbers | kTableTotalsRow));
    EXPECT_EQ(at(6, 2).bytes[kFmtPattern], 3);
    EXPECT_EQ(at(4, 2).bytes[kFmtPattern], 12);

    // Pairs of shaded rows every four, cut at the last row.
    ASSERT_TRUE(apply_table_format(layer, 13, 0));
    const uint8_t pairs[] = {22, 12, 12, 0, 0, 12, 12};
    for (int16_t row = 0; row < 7; ++row) EXPECT_EQ(at(row, 0).bytes[kFmtPattern], pairs[row]) << row;
}

TEST_F(TableFormat, WithoutNumberFormatsThereAreNoTotals) {
    select_range(kTable);
    const uint8_t options = kTableBoldTotals | kTableTotalsRow | kTableTotalsColumn;
    ASSERT_TRUE(apply_table_format(layer, 0, options));
    for (int16_t row = kTable.topLeft.v; row <= kTable.botRight.v; ++row)
        for (int16_t column = kTable.topLeft.h; column <= kTable.botRight.h; ++column) {
            EXPECT_EQ(at(row, column).bytes[kFmtCode], kFormatGeneral);
            EXPECT_EQ(at(row, column).bytes[kFmtFace], 0);
        }
    // The body's last line stays under the last row: there is no totals row.
    EXPECT_EQ(bottom_style(kTable.botRight.v, kLeft), 4);
    EXPECT_EQ(bottom_style(int16_t(kTable.botRight.v - 1), kLeft), 0);

    ASSERT_TRUE(apply_table_format(layer, 0, uint8_t(options | kTableNumbers)));
    EXPECT_EQ(at(kTable.botRight.v, kLeft).bytes[kFmtFace], 1);
    EXPECT_EQ(at(kTop + 1, kLeft + 1).bytes[kFmtCode], '$');
    EXPECT_EQ(at(kTop + 2, kLeft + 1).bytes[kFmtCode], 'F');
    EXPECT_EQ(bottom_style(int16_t(kTable.botRight.v - 1), kLeft), 4);
    // Bold totals need a totals row or column.
    EXPECT_EQ(applied_table_options(kTableNumbers | kTableBoldTotals), kTableNumbers);
}

TEST_F(TableFormat, CentringHoldsOverTheNumberFormats) {
    select_range(kTable);
    ASSERT_TRUE(apply_table_format(layer, 0, kTableNumbers | kTableCentre));
    EXPECT_EQ(at(kTop + 3, kLeft + 2).bytes[kFmtAlign] & 7, 2);
    EXPECT_EQ(at(kTop, kLeft).bytes[kFmtAlign] & 7, 2);
}

TEST_F(TableFormat, SmallRangesAndLockedCellsAreRefused) {
    EXPECT_EQ(table_format_refusal(layer, CellRange{{0, 0}, {2, 1}}), 0);
    EXPECT_EQ(table_format_refusal(layer, CellRange{{0, 0}, {9, 0}}), 104);
    EXPECT_EQ(table_format_refusal(layer, CellRange{{0, 0}, {1, 5}}), 104);
    put_number(1, 1, 5);
    select_range(CellRange{{1, 1}, {1, 1}});
    ASSERT_EQ(Format_Sheet(kFormatUndoKind, kFmtFlagsA, 0, false, true, true, layer), 1);  // locks the cell
    EXPECT_EQ(table_format_refusal(layer, CellRange{{0, 0}, {3, 3}}), 1);
}

TEST_F(TableFormat, OneUndoStepGivesBackTheFormatsThatWereThere) {
    put_number(3, 2, 12);
    select_range(CellRange{{3, 2}, {3, 2}});
    ASSERT_EQ(Format_Sheet(kFormatUndoKind, kFmtFace, 0, false, true, true, layer), 1);
    const auto before = workbook_state();
    select_range(kTable);
    ASSERT_TRUE(apply_table_format(layer, 11, 0x3B));
    EXPECT_FALSE(workbook_state() == before);
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before) << undo_test::differences(workbook_state(), before);
}

}  // namespace
