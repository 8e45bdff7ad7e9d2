// A formatted layer printed to PDF: every page turned into an image by
// pdftoppm and compared with its golden image; skipped without pdftoppm.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../window/golden_image.h"
#include "../window/sheet_fixture.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "platform/draw/output.h"
#include "platform/print/print.h"
#include "printing/page_breaks.h"
#include "printing/header_footer.h"
#include "printing/print_render.h"

namespace {

constexpr uint32_t kFixedMoment = 3855996300u;  // a fixed moment for ^d and ^t

class PrintedPagesTest : public SheetTest {
protected:
    std::string folder;

    // A folder of the test's own, since tests may run side by side.
    void SetUp() override {
        SheetTest::SetUp();
        folder = std::string(QUORVIN_BINARY_DIR) + "/printed_pages/" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        if (std::system("pdftoppm -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is missing";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        use_letter_paper();
    }

    void use_letter_paper() {
        pf::PageFormatRef format = nullptr;
        pf::print_create_page_format(format);
        pf::print_set_paper_size(format, 612, 792);
        pf::Handle flat = nullptr;
        pf::print_flatten_page_format(format, flat);
        pf::print_dispose_page_format(format);
        use_layer(layer)->page_format = flat;
        release_layer(layer);
    }

    void set_lists(const std::vector<HeaderPart>& header, const std::vector<HeaderPart>& footer) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->header = header_parts_list(header);
        sheet->footer = header_parts_list(footer);
        sheet->print_options = 0x40 | 0x80;
        release_layer(layer);
    }

    static HeaderPart part(int16_t alignment, const std::string& text) {
        HeaderPart p;
        p.alignment = alignment;
        p.text = text;
        return p;
    }

    // The PDF's pages as images at 72 dots per inch, without smoothing.
    int rasterise(const std::string& pdf) {
        const std::string command =
            "pdftoppm -r 72 -aa no -aaVector no -png '" + pdf + "' '" + folder + "/page' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return -1;
        int pages = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            pages += entry.path().extension() == ".png";
        return pages;
    }

    ::testing::AssertionResult page_matches(int page, const std::string& name) {
        const std::string path = folder + "/page-" + std::to_string(page) + ".png";
        cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
        if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(image);
            return ::testing::AssertionFailure() << "no image " << path;
        }
        ::testing::AssertionResult result = matches_golden_image(image, name, "printing");
        cairo_surface_destroy(image);
        return result;
    }
};

TEST_F(PrintedPagesTest, AFormattedLayerPrintsPageByPageWithTitlesHeadersAndFooters) {
    fill_formatted_sheet();
    fill_borders();
    const unsigned char name[] = "\x05Sales";
    SetSheetName(name, layer);
    SetSheetFlags(layer, GetSheetFlags(layer) | kLayerPrintGrid | kLayerPrintHeadings | kLayerPrintColours);
    SpreadSheet* sheet = use_layer(layer);
    sheet->print_title_columns[1] = 0, sheet->print_title_columns[0] = 0;
    release_layer(layer);
    set_page_scale(layer, 150);
    set_lists({part(kHeaderCentre, "^f: ^l"), part(kHeaderRight, "Page ^p of ^n")}, {part(kHeaderLeft, "^d ^t")});
    const std::string pdf = folder + "/formatted.pdf";
    ASSERT_TRUE(print_layer_pdf(layer, pdf, PrintChoice{}, "Budget", kFixedMoment));
    ASSERT_EQ(rasterise(pdf), CountPages(layer));
    ASSERT_EQ(CountPages(layer), 3);
    for (int page = 1; page <= 3; ++page)
        EXPECT_TRUE(page_matches(page, "formatted_page_" + std::to_string(page))) << "page " << page;
}

TEST_F(PrintedPagesTest, TheSelectionAndAPageRangePrintAloneAndThePrintAreaStays) {
    fill_formatted_sheet();
    set_selection(CellRange{{3, 0}, {5, 3}});
    PrintChoice selection;
    selection.cells = PrintedCells::kSelection;
    const std::string pdf = folder + "/selection.pdf";
    ASSERT_TRUE(print_layer_pdf(layer, pdf, selection, "Budget", kFixedMoment));
    ASSERT_EQ(rasterise(pdf), 1);
    EXPECT_TRUE(page_matches(1, "selection_page"));
    CellRange area{};
    GetPrintArea(&area, layer);
    EXPECT_LT(area.botRight.v, 0);

    PrintChoice past_the_end;
    past_the_end.first = 5;
    EXPECT_FALSE(print_layer_pdf(layer, folder + "/none.pdf", past_the_end, "Budget", kFixedMoment));
}

TEST_F(PrintedPagesTest, DrawingObjectsPrintPastTheCellsAndWithoutTheSelectionsHandles) {
    put_text(0, 0, "Total");
    MemoryRef oval = nullptr;
    ASSERT_EQ(NewObject(kOvalObject, &oval, 0, layer), 1);
    ObjectRecord* record = use_object(oval);
    record->anchor_row = 12, record->anchor_column = 3, record->v_offset = 4, record->h_offset = 6;
    record->height = 60, record->width = 90, record->fill_pattern = 1;
    release_object(oval);
    ObjectLocation(oval, layer);
    add_selected(layer, oval);
    reset_page(layer);
    const CellRange printed = printed_range(layer);
    EXPECT_GE(printed.botRight.v, GetObj_Location(oval).botRight.v) << "the pages reach the object's last row";
    EXPECT_GE(printed.botRight.h, GetObj_Location(oval).botRight.h);

    const std::string pdf = folder + "/objects.pdf";
    ASSERT_TRUE(print_layer_pdf(layer, pdf, PrintChoice{}, "Budget", kFixedMoment));
    ASSERT_EQ(rasterise(pdf), 1);
    EXPECT_TRUE(page_matches(1, "objects_page"));
}

// How many pixels of a column (row) of the image, between two rows (columns), are darker than white.
int marked_along(cairo_surface_t* image, int fixed, int from, int to, bool column) {
    cairo_surface_flush(image);
    const auto* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    int marked = 0;
    for (int i = from; i <= to; ++i) {
        const int x = column ? fixed : i, y = column ? i : fixed;
        marked += (reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF) != 0xFFFFFF;
    }
    return marked;
}

TEST_F(PrintedPagesTest, APreviewedPageAtHalfScaleKeepsItsHairlines) {
    MemoryRef box = nullptr;
    ASSERT_EQ(NewObject(kRectObject, &box, 0, layer), 1);
    ObjectRecord* record = use_object(box);
    record->anchor_row = 2, record->anchor_column = 1, record->height = 200, record->width = 300;
    release_object(box);
    ObjectLocation(box, layer);
    set_page_scale(layer, 50);
    reset_page(layer);
    const PaperSize paper = layer_paper(layer);
    pf::PdfDocument page;
    ASSERT_TRUE(pf::open_page_recording(page, paper.width, paper.height));
    draw_printed_page(page, layer, 1, page_fields(layer, 1, kFixedMoment, "Budget"));
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, paper.width, paper.height);
    pf::play_page_recording(page, image, 1.0, 0, 0);
    pf::close_page_recording(page);
    // The box's half-point sides, 150 by 100 points on paper, each shown whole.
    int top = -1, left = -1;
    for (int y = 0; y < paper.height && top < 0; ++y)
        if (marked_along(image, y, 0, paper.width - 1, false) > 20) top = y;
    ASSERT_GE(top, 0) << "the box is on the page";
    for (int x = 0; x < paper.width && left < 0; ++x)
        if (marked_along(image, x, top, top + 5, true)) left = x;
    EXPECT_GE(marked_along(image, top + 50, left - 1, left + 1, false), 1) << "left side";
    EXPECT_GE(marked_along(image, top + 50, left + 148, left + 152, false), 1) << "right side";
    EXPECT_GE(marked_along(image, left + 75, top + 98, top + 102, true), 1) << "bottom side";
    EXPECT_GE(marked_along(image, top, left, left + 148, false), 140) << "top side";
    cairo_surface_destroy(image);
}

TEST_F(PrintedPagesTest, NotesFollowThePagesWhenTheLayerAsksAndOnlyAfterTheLastPage) {
    fill_formatted_sheet();
    put_noted_text(12, 2, "Checked", "Figures from the March statement");
    use_layer(layer)->print_options = 0x100;
    release_layer(layer);
    reset_page(layer);
    const int16_t pages = CountPages(layer);
    const std::string pdf = folder + "/notes.pdf";
    ASSERT_TRUE(print_layer_pdf(layer, pdf, PrintChoice{}, "Budget", kFixedMoment));
    ASSERT_EQ(rasterise(pdf), pages + 1);
    EXPECT_TRUE(page_matches(pages + 1, "notes_page"));

    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    PrintChoice first_only;
    first_only.last = 1;
    ASSERT_TRUE(print_layer_pdf(layer, pdf, first_only, "Budget", kFixedMoment));
    EXPECT_EQ(rasterise(pdf), pages > 1 ? 1 : 2);
}

TEST_F(PrintedPagesTest, ALongNoteIsWrappedInsideTheSideMargins) {
    std::string note;
    while (note.size() < 230) note += "Figures from the March statement, checked against the bank's. ";
    put_noted_text(0, 0, "Checked", note);
    use_layer(layer)->print_options = 0x100;
    release_layer(layer);
    reset_page(layer);
    const std::string pdf = folder + "/long_note.pdf";
    ASSERT_TRUE(print_layer_pdf(layer, pdf, PrintChoice{}, "Budget", kFixedMoment));
    ASSERT_EQ(rasterise(pdf), 2);
    cairo_surface_t* image = cairo_image_surface_create_from_png((folder + "/page-2.png").c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    const SpreadSheet* sheet = use_layer(layer);
    const int right_margin = width - sheet->margins[3], size = Get_Default_Size(layer);
    release_layer(layer);
    int inked_rows = 0, past_the_margin = 0;
    for (int y = 0; y < height; ++y) {
        inked_rows += marked_along(image, y, 0, right_margin - 1, false) > 0;
        past_the_margin += marked_along(image, y, right_margin + 1, width - 1, false);
    }
    cairo_surface_destroy(image);
    EXPECT_EQ(past_the_margin, 0) << "the note runs into the right margin";
    EXPECT_GT(inked_rows, 2 * size) << "the note is on more than two lines";
}

// What a command-line tool says of a file, or "" when it cannot be run.
std::string tool_output(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    return pclose(pipe) == 0 ? out : std::string();
}

std::string cell_label(int16_t row, int16_t column) {
    return "R" + std::to_string(row + 1) + "C" + std::to_string(column + 1);
}

// "Cells in the window" prints the cells the scrolled window shows, and those
// alone; the print area is as it was afterwards.
TEST_F(PrintedPagesTest, TheWindowsCellsPrintAlone) {
    for (int16_t row = 0; row < 60; ++row)
        for (int16_t column = 0; column < 14; ++column) put_text(row, column, cell_label(row, column));
    scroll_to(0, CellPoint{20, 3});
    const CellRange shown = VisibleRect(0, layer);
    ASSERT_EQ(shown.topLeft.v, 20);
    ASSERT_GT(shown.botRight.v, 25);
    ASSERT_LT(shown.botRight.v, 59);
    ASSERT_LT(shown.botRight.h, 13);
    PrintChoice window;
    window.cells = PrintedCells::kWindow;
    const std::string pdf = folder + "/window.pdf";
    ASSERT_TRUE(print_layer_pdf(layer, pdf, window, "Window", kFixedMoment));
    const std::string text = tool_output("pdftotext '" + pdf + "' -");
    ASSERT_FALSE(text.empty()) << "pdftotext (poppler-utils) could not read the PDF";
    auto printed = [&text](int16_t row, int16_t column) {
        const std::string label = cell_label(row, column);
        for (size_t at = text.find(label); at != std::string::npos; at = text.find(label, at + 1))
            if (at + label.size() == text.size() || !std::isdigit(static_cast<unsigned char>(text[at + label.size()])))
                return true;
        return false;
    };
    EXPECT_TRUE(printed(shown.topLeft.v, shown.topLeft.h));
    EXPECT_TRUE(printed(shown.botRight.v, shown.botRight.h));
    EXPECT_FALSE(printed(shown.topLeft.v - 1, shown.topLeft.h)) << "a row above the window printed";
    EXPECT_FALSE(printed(shown.topLeft.v, shown.topLeft.h - 1)) << "a column left of the window printed";
    EXPECT_FALSE(printed(shown.botRight.v + 1, shown.botRight.h)) << "a row below the window printed";
    EXPECT_FALSE(printed(shown.botRight.v, shown.botRight.h + 1)) << "a column right of the window printed";
    CellRange area{};
    GetPrintArea(&area, layer);
    EXPECT_LT(area.botRight.v, 0);
}

// Italic cells print in the italic faces of their fonts, as the screen shows
// them: the PDF embeds oblique faces, bold italic its own.
TEST_F(PrintedPagesTest, ItalicCellsPrintInItalicFaces) {
    put_text(0, 0, "Slanted");
    set_byte(0, 0, kFmtFace, pf::kItalic);
    put_text(1, 0, "Heavy slanted");
    set_byte(1, 0, kFmtFace, pf::kBold | pf::kItalic);
    put_text(2, 0, "Upright");
    const std::string pdf = folder + "/italic.pdf";
    ASSERT_TRUE(print_layer_pdf(layer, pdf, PrintChoice{}, "Italic", kFixedMoment));
    const std::string fonts = tool_output("pdffonts '" + pdf + "'");
    if (fonts.empty()) GTEST_SKIP() << "pdffonts (poppler-utils) is missing";
    EXPECT_NE(fonts.find("DejaVuSans-Oblique"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("DejaVuSans-BoldOblique"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("DejaVuSans "), std::string::npos) << fonts;
}

// Pages of plain figures with grid lines and headings: text and lines, each
// font embedded once, so a page costs a few kilobytes and not an image's worth.
TEST_F(PrintedPagesTest, PagesOfFiguresAreTextAndLines) {
    for (int16_t row = 0; row < 150; ++row)
        for (int16_t column = 0; column < 20; ++column) put_number(row, column, row * 100 + column + 0.25);
    SetSheetFlags(layer, GetSheetFlags(layer) | kLayerPrintGrid | kLayerPrintHeadings);
    const std::string pdf = folder + "/figures.pdf";
    ASSERT_TRUE(print_layer_pdf(layer, pdf, PrintChoice{}, "Figures", kFixedMoment));
    const int pages = CountPages(layer);
    ASSERT_GE(pages, 6);
    const auto bytes = std::filesystem::file_size(pdf);
    EXPECT_LT(bytes / uintmax_t(pages), 16000u) << bytes << " bytes for " << pages << " pages";
}

}  // namespace
