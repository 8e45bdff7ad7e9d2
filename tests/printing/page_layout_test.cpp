// Pages of a layer at its scale, over its print area, with printed headings
// and print titles; manual page breaks set at the selection; page rectangles,
// counts and the printed extent of columns.
#include "../window/sheet_fixture.h"
#include "files/layout_settings.h"
#include "model/workbook.h"
#include "printing/printing.h"

namespace {

class PageLayoutTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        set_row_height(0, 99, 20);
        set_column_width(0, 99, 50);
        page_of(100, 120);
    }

    void page_of(int16_t height, int16_t width) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->printable_rect = pf::Rect{0, 0, height, width};
        release_layer(layer);
    }

    void set_field(CellRange SpreadSheet::*field, CellRange value) {
        use_layer(layer)->*field = value;
        release_layer(layer);
    }

    void set_flags(uint32_t bits) { SetSheetFlags(layer, GetSheetFlags(layer) | bits); }

    CellRange page(int16_t n) {
        CellRange r{{-9, -9}, {-9, -9}};
        EXPECT_EQ(GetPageRect(layer, n, &r), 1) << "page " << n;
        return r;
    }

    static CellRange cells(int16_t top, int16_t left, int16_t bottom, int16_t right) {
        return CellRange{{top, left}, {bottom, right}};
    }
};

TEST_F(PageLayoutTest, PagesRunDownThenAcrossAndCoverEveryPrintedCell) {
    put_number(11, 4, 1);  // 12 rows of 20 in pages of 100: 5, 5, 2; 5 columns of 50 in 120: 2, 2, 1
    reset_page(layer);
    EXPECT_EQ(GetMaxPage(layer), 3);
    EXPECT_EQ(CountPages(layer), 9);
    EXPECT_EQ(page(1), cells(0, 0, 4, 1));
    EXPECT_EQ(page(3), cells(10, 0, 11, 1));
    EXPECT_EQ(page(4), cells(0, 2, 4, 3));
    EXPECT_EQ(page(9), cells(10, 4, 11, 4));
    CellRange none{};
    EXPECT_EQ(GetPageRect(layer, 10, &none), 0);
    EXPECT_EQ(GetPageRect(layer, 0, &none), 0);
    // The page a cell prints on agrees with the page rectangles.
    for (int16_t n = 1; n <= 9; ++n) {
        const CellRange r = page(n);
        EXPECT_EQ(page_number_of(layer, int32_t(r.botRight.h) << 16 | r.botRight.v), n);
    }
}

TEST_F(PageLayoutTest, AnEmptyLayerHasNoPages) {
    reset_page(layer);
    EXPECT_EQ(CountPages(layer), 0);
    CellRange none{};
    EXPECT_EQ(GetPageRect(layer, 1, &none), 0);
}

TEST_F(PageLayoutTest, TheScaleFitsMoreOrFewerCellsOnAPage) {
    put_number(19, 9, 1);
    set_page_scale(layer, 50);
    reset_page(layer);
    EXPECT_EQ(page(1), cells(0, 0, 9, 3));  // 200 by 240 sheet pixels
    EXPECT_EQ(CountPages(layer), 2 * 3);
    set_page_scale(layer, 200);
    reset_page(layer);
    EXPECT_EQ(page(1), cells(0, 0, 1, 0));  // 50 by 60
    // A row taller than the page still gets a page of its own.
    set_row_height(0, 0, 300);
    reset_page(layer);
    EXPECT_EQ(page(1), cells(0, 0, 0, 0));
    EXPECT_EQ(page(2), cells(1, 0, 2, 0));
    // Scales outside 10 to 400 percent are held to them; none set is 100.
    set_page_scale(layer, 5000);
    EXPECT_EQ(page_scale(layer), kLargestScale);
    set_page_scale(layer, 0);
    EXPECT_EQ(page_scale(layer), kSmallestScale);
}

TEST_F(PageLayoutTest, APrintAreaPrintsAloneFromItsOwnCorner) {
    put_number(50, 50, 1);
    set_selection(cells(5, 3, 16, 6));
    SetPrintArea(layer);
    EXPECT_EQ(printed_range(layer), cells(5, 3, 16, 6));
    EXPECT_EQ(CountPages(layer), 3 * 2);
    EXPECT_EQ(page(1), cells(5, 3, 9, 4));
    EXPECT_EQ(page(6), cells(15, 5, 16, 6));
    SetPrintArea(layer);  // taken away again: the cells print up to the last one
    EXPECT_EQ(printed_range(layer), cells(0, 0, 50, 50));
}

TEST_F(PageLayoutTest, APrintAreaOfWholeColumnsOrRowsEndsWithTheUsedCells) {
    put_number(11, 4, 1);
    set_selection(cells(0, 2, kLastCell, 3));  // columns C and D
    SetPrintArea(layer);
    EXPECT_EQ(printed_range(layer), cells(0, 2, 11, 3));
    EXPECT_EQ(CountPages(layer), 3);
    SetPrintArea(layer);
    set_selection(cells(3, 0, 4, kLastCell));  // rows 4 and 5
    SetPrintArea(layer);
    EXPECT_EQ(printed_range(layer), cells(3, 0, 4, 4));
    EXPECT_EQ(CountPages(layer), 3);
    SetPrintArea(layer);
    set_selection(cells(0, 0, kLastCell, kLastCell));
    SetPrintArea(layer);
    EXPECT_EQ(printed_range(layer), cells(0, 0, 11, 4));
    EXPECT_EQ(CountPages(layer), 9);
    // Rows past the used cells still print what of them was chosen.
    SetPrintArea(layer);
    set_selection(cells(40, 0, 41, kLastCell));
    SetPrintArea(layer);
    EXPECT_EQ(printed_range(layer), cells(40, 0, 41, 4));
}

TEST_F(PageLayoutTest, PrintedHeadingsAndTitlesTakeRoomFromEveryPage) {
    put_number(29, 0, 1);
    reset_page(layer);
    EXPECT_EQ(page(1).botRight.v, 4);
    set_flags(kLayerPrintHeadings);  // 14 pixels of column headings: 86 left for rows
    reset_page(layer);
    EXPECT_EQ(page(1).botRight.v, 3);
    SpreadSheet* sheet = use_layer(layer);
    sheet->print_title_rows[1] = 0, sheet->print_title_rows[0] = 1;  // 40 more pixels of titles
    release_layer(layer);
    reset_page(layer);
    EXPECT_EQ(page(1).botRight.v, 1);
    // Titles that would fill the page are left out of its length.
    set_row_height(0, 1, 60);
    reset_page(layer);
    EXPECT_EQ(page(1).botRight.v, 0);
    EXPECT_EQ(page(2).topLeft.v, 1);
}

TEST_F(PageLayoutTest, ManualBreaksFollowTheSelection) {
    put_number(11, 4, 1);
    set_selection(cells(2, 0, 3, kLastCell));  // whole rows 2 and 3
    EXPECT_EQ(TestPageBreak(layer), 0);
    SetPageBreak(layer);
    EXPECT_EQ(TestPageBreak(layer), 1);
    EXPECT_EQ(page(1), cells(0, 0, 1, 1));
    EXPECT_EQ(page(2).topLeft.v, 2);
    EXPECT_GT(get_change_ctr(workbook), 0);

    set_selection(cells(0, 1, kLastCell, 1));  // whole column 1
    EXPECT_EQ(TestPageBreak(layer), 0);
    SetPageBreak(layer);
    EXPECT_EQ(TestPageBreak(layer), 1);
    EXPECT_EQ(page(1), cells(0, 0, 1, 0));

    // A block of cells breaks before its top row and its left column; the
    // same block takes both away again.
    set_selection(cells(7, 3, 8, 3));
    SetPageBreak(layer);
    EXPECT_EQ(page_number_of(layer, int32_t(3) << 16 | 7), GetMaxPage(layer) * 2 + 3);  // third row page of the third column page
    RemovePageBreak(layer);
    set_selection(cells(2, 0, 3, kLastCell));
    RemovePageBreak(layer);
    EXPECT_EQ(TestPageBreak(layer), 0);
    EXPECT_EQ(page(1), cells(0, 0, 4, 0));
    // Nothing breaks before the first row or column.
    set_selection(cells(0, 0, 0, 0));
    SetPageBreak(layer);
    EXPECT_EQ(page(1), cells(0, 0, 4, 0));
}

TEST_F(PageLayoutTest, AColumnsPrintedExtentIsMeasuredFromThePagesFirstColumn) {
    set_column_width(3, 3, 30);
    const CellRange on_page = cells(0, 2, 9, 4);
    int16_t width = 0;
    pf::Rect extent{};
    ASSERT_EQ(PrintCell_H(&on_page, &width, &extent, 3, layer), 1);
    EXPECT_EQ(width, 30);
    EXPECT_EQ(extent.left, 50);
    EXPECT_EQ(extent.right, 80);
    EXPECT_EQ(PrintCell_H(&on_page, &width, &extent, 5, layer), 0);
    EXPECT_EQ(width, 0);
}

TEST_F(PageLayoutTest, TheLayoutDialogsNewMarginsAreUsedForTheNextPages) {
    put_number(99, 0, 1);
    const int16_t margins[4] = {72, 72, 72, 72};
    ResetPageSettings(layer, margins);
    reset_page(layer);
    pf::Rect printable;
    Page_Setup(layer, &printable);
    const int16_t rows_per_page = int16_t(printable.height() / 20);
    EXPECT_EQ(page(1).botRight.v, rows_per_page - 1);
    EXPECT_EQ(use_layer(layer)->printable_rect, printable);
    release_layer(layer);
}

TEST_F(PageLayoutTest, APageSetupIsStoredWithTheLayerAndItsPagesFollow) {
    put_number(99, 20, 1);
    PageSetupChoice choice = take_page_setup(layer);
    choice.paper = PaperChoice{612, 1008};
    choice.orientation = 2;
    choice.scale = 50;
    const int16_t margins[4] = {72, 36, 72, 36};
    std::copy(margins, margins + 4, choice.margins);
    const int16_t changes = get_change_ctr(workbook);
    ASSERT_TRUE(apply_page_setup(layer, choice));
    EXPECT_GT(get_change_ctr(workbook), changes);
    const PageSetupChoice stored = take_page_setup(layer);
    EXPECT_EQ(stored.paper.width, 612);
    EXPECT_EQ(stored.paper.height, 1008);
    EXPECT_EQ(stored.orientation, 2);
    EXPECT_EQ(stored.scale, 50);
    EXPECT_EQ(std::vector<int16_t>(stored.margins, stored.margins + 4), std::vector<int16_t>(margins, margins + 4));
    // Landscape legal less the margins, at half size: 1872 by 936 sheet pixels.
    pf::Rect printable;
    Page_Setup(layer, &printable);
    EXPECT_EQ(printable.width(), 1008 - 72);
    EXPECT_EQ(printable.height(), 612 - 144);
    EXPECT_EQ(page(1), cells(0, 0, 45, 20));
    EXPECT_FALSE(apply_page_setup(layer, stored)) << "the same setup again changes nothing";
}

TEST(PageSetupMargins, TheMarginsMustLeaveAnInchOfPaperEachWay) {
    PageSetupChoice choice;  // US letter, upright: 612 by 792 points
    const auto with_margins = [&](int16_t top, int16_t left, int16_t bottom, int16_t right, int16_t orientation) {
        PageSetupChoice c = choice;
        c.margins[0] = top, c.margins[1] = left, c.margins[2] = bottom, c.margins[3] = right;
        c.orientation = orientation;
        return margins_leave_room(c);
    };
    EXPECT_TRUE(with_margins(36, 36, 36, 36, 1));
    EXPECT_FALSE(with_margins(432, 36, 432, 36, 1)) << "six inches top and bottom pass the paper's eleven";
    EXPECT_TRUE(with_margins(360, 36, 360, 36, 1)) << "exactly an inch left down";
    EXPECT_FALSE(with_margins(36, 300, 36, 300, 1));
    EXPECT_TRUE(with_margins(36, 300, 36, 300, 2)) << "turned, the paper is 792 across";
    EXPECT_FALSE(with_margins(300, 36, 300, 36, 2)) << "and 612 down";
}

}  // namespace
