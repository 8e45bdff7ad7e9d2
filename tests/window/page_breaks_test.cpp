// Page boundaries as the window marks them: pages filled by row heights and
// column widths up to the printable size, manual breaks, page numbers.
#include "model/model_services.h"
#include "platform/print/print.h"
#include "window/page_lists.h"
#include "page_bounds.h"
#include "sheet_fixture.h"

namespace {

class PageBreaksTest : public SheetTest {
protected:
    std::vector<int16_t> bounds(bool columns) { return page_bounds(layer, columns); }

    void page_of(int16_t height, int16_t width) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->printable_rect = pf::Rect{0, 0, height, width};
        release_layer(layer);
    }

    void manual_row_break(int16_t row) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->row_page_breaks = Bytes2Memory(&mem_globals, &row, 2, 1);
        release_layer(layer);
    }
};

TEST_F(PageBreaksTest, PagesHoldWhatFitsTheirSizeAndManualBreaksStartNewOnes) {
    set_row_height(0, 40, 20);
    set_column_width(0, 10, 50);
    put_number(12, 6, 1);
    page_of(100, 120);
    reset_page(layer);
    EXPECT_EQ(bounds(false), (std::vector<int16_t>{4, 9, 12}));
    EXPECT_EQ(bounds(true), (std::vector<int16_t>{1, 3, 5, 6}));
    manual_row_break(2);
    reset_page(layer);
    EXPECT_EQ(bounds(false), (std::vector<int16_t>{1, 6, 11, 12}));
    EXPECT_EQ(nextColumnBreak(layer, 2), 3);
    EXPECT_EQ(nextColumnBreak(layer, 9), 6);
    // Pages run down, then across: three row pages above row 12, one column page left of column 2.
    EXPECT_EQ(pageNumber(layer, int32_t(2) << 16 | 12), 4 + 4 * 1);
    EXPECT_EQ(pageNumber(layer, 0), 1);
}

TEST_F(PageBreaksTest, ThePrintableRectangleIsThePaperLessTheMargins) {
    pf::PageFormatRef format = nullptr;
    pf::PrintSessionRef session = nullptr;
    ASSERT_EQ(pf::print_create_page_format(format), pf::noErr);
    ASSERT_EQ(pf::print_create_session(session), pf::noErr);
    pf::print_session_default_page_format(session, format);
    pf::PrintRect paper;
    pf::print_get_adjusted_paper_rect(format, paper);
    pf::print_release_session(session);
    pf::print_dispose_page_format(format);
    SpreadSheet* sheet = use_layer(layer);
    sheet->margins[0] = 72, sheet->margins[1] = 36, sheet->margins[2] = 18, sheet->margins[3] = 9;
    release_layer(layer);
    pf::Rect printable;
    Page_Setup(layer, &printable);
    EXPECT_EQ(printable.height(), int(paper.bottom - paper.top) - 90);
    EXPECT_EQ(printable.width(), int(paper.right - paper.left) - 45);
}

}  // namespace
