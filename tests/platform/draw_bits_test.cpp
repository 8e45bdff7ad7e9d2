#include "draw_test_support.h"

#include <cstdio>
#include <fstream>

namespace {

using drawtest::ImagePort;
using drawtest::Rgn;
using pf::Rect;

using Bits = ImagePort;

TEST_F(Bits, ScrollMovesPixelsAndAnswersTheUncoveredStrip) {
    pf::paint_rect({10, 10, 12, 12});
    Rgn uncovered;
    pf::scroll_rect({0, 0, 20, 30}, 5, -3, uncovered);
    EXPECT_EQ(at(15, 7), drawtest::kBlack);
    EXPECT_EQ(at(16, 8), drawtest::kBlack);
    EXPECT_EQ(at(10, 10), drawtest::kWhite);
    Rgn expected({0, 0, 20, 5});
    Rgn bottom({17, 0, 20, 30});
    pf::union_region(expected, bottom, expected);
    EXPECT_TRUE(pf::equal_region(uncovered, expected));
}

TEST_F(Bits, ScrollWithinAClippedAreaUpdatesWhatCameFromOutsideIt) {
    // Only the left half is visible: pixels moving right out of it cannot be
    // brought back from the hidden half, so the strip they leave is uncovered.
    pf::clip_rect({0, 0, 48, 32});
    pf::paint_rect({0, 40, 10, 50});  // hidden behind the clip
    Rgn uncovered;
    pf::scroll_rect({0, 0, 48, 64}, -4, 0, uncovered);
    EXPECT_EQ(pf::region_bounds(uncovered), (Rect{0, 28, 48, 32}));
    EXPECT_EQ(at(28, 5), drawtest::kWhite);
}

TEST_F(Bits, CopyScalesToTheNearestPixel) {
    const uint8_t bits[] = {0x80, 0x40};  // a 2x2 diagonal
    pf::BitMap src{bits, 1, {0, 0, 2, 2}, 1};
    pf::copy_bits(src, src.bounds, {0, 0, 4, 4}, pf::kSrcCopy);
    EXPECT_EQ(map(0, 0, 4, 4),
              "##..\n"
              "##..\n"
              "..##\n"
              "..##\n");
}

TEST_F(Bits, EightBitSourcesUseTheirColourTable) {
    const uint8_t indexes[] = {0, 255, 5};
    pf::BitMap src{indexes, 3, {0, 0, 1, 3}, 8};
    pf::copy_bits(src, src.bounds, {0, 0, 1, 3}, pf::kSrcCopy);
    EXPECT_EQ(at(0, 0), drawtest::kWhite);
    EXPECT_EQ(at(1, 0), drawtest::kBlack);
    EXPECT_EQ(at(2, 0), 0xFFFF00u);  // the cube's sixth entry
    pf::ColorTable own{{pf::kBlackColor, {0xFFFF, 0, 0}}};
    src.colors = &own;
    const uint8_t out_of_table[] = {1, 9, 0};
    src.base = out_of_table;
    pf::copy_bits(src, src.bounds, {1, 0, 2, 3}, pf::kSrcCopy);
    EXPECT_EQ(at(0, 1), 0xFF0000u);
    EXPECT_EQ(at(1, 1), drawtest::kWhite) << "indexes past the table draw white";
}

TEST_F(Bits, MaskRegionAndMaskBitsLimitTheCopy) {
    const uint8_t black[] = {0xFF, 0xFF};
    pf::BitMap src{black, 1, {0, 0, 2, 8}, 1};
    Rgn left({0, 0, 2, 3});
    pf::copy_bits(src, src.bounds, {0, 0, 2, 8}, pf::kSrcCopy, left);
    const uint8_t checks[] = {0xAA, 0x55};
    pf::BitMap mask{checks, 1, {0, 0, 2, 8}, 1};
    pf::copy_mask(src, mask, src.bounds, mask.bounds, {4, 0, 6, 8});
    EXPECT_EQ(map(0, 0, 8, 6),
              "###.....\n"
              "###.....\n"
              "........\n"
              "........\n"
              "#.#.#.#.\n"
              ".#.#.#.#\n");
}

TEST_F(Bits, OutOfRangeSourceRectangleCopiesNothing) {
    const uint8_t black[] = {0xFF};
    pf::BitMap src{black, 1, {0, 0, 1, 8}, 1};
    pf::copy_bits(src, {0, 0, 2, 8}, {0, 0, 2, 8}, pf::kSrcCopy);
    EXPECT_EQ(at(0, 0), drawtest::kWhite);
}

TEST_F(Bits, OffscreenWorldDrawsAndCopiesOut) {
    pf::GWorldPtr world = nullptr;
    ASSERT_EQ(pf::new_gworld(&world, 32, {10, 20, 20, 40}, 0), pf::noErr);
    EXPECT_EQ(world->port.port_rect, (Rect{10, 20, 20, 40}));
    {
        pf::PortScope scope(&world->port);
        EXPECT_TRUE(pf::lock_pixels(world));
        pf::rgb_fore_color({0xFFFF, 0, 0});
        pf::paint_rect({12, 22, 14, 25});
    }
    pf::copy_bits(pf::gworld_bits(world), {10, 20, 20, 40}, {0, 0, 10, 20}, pf::kSrcCopy);
    EXPECT_EQ(at(2, 2), 0xFF0000u);
    EXPECT_EQ(at(4, 2), 0xFF0000u);
    EXPECT_EQ(at(5, 2), drawtest::kWhite);

    ASSERT_EQ(pf::update_gworld(world, 1, {0, 0, 30, 30}, 0), pf::noErr);
    EXPECT_EQ(world->port.port_rect, (Rect{0, 0, 30, 30}));
    EXPECT_EQ(world->depth, 1);
    {
        pf::PortScope scope(&world->port);
        pf::paint_rect({0, 0, 1, 1});
    }
    // A one-bit world copies out in the destination's colours.
    pf::rgb_fore_color({0, 0, 0xFFFF});
    pf::copy_bits(pf::gworld_bits(world), {0, 0, 3, 3}, {20, 0, 23, 3}, pf::kSrcCopy);
    EXPECT_EQ(at(0, 20), 0x0000FFu);
    EXPECT_EQ(at(1, 20), drawtest::kWhite);
    EXPECT_EQ(at(2, 22), 0x0000FFu) << "the red pixels kept their place and count as set";
    pf::unlock_pixels(world);
    pf::dispose_gworld(world);
    EXPECT_EQ(pf::new_gworld(&world, 32, {0, 0, 0, 10}, 0), pf::kParamErr);
    EXPECT_EQ(world, nullptr);
}

TEST_F(Bits, CopyWithinOnePortHandlesOverlap) {
    for (int x = 0; x < 8; ++x)
        if (x % 3 == 0) put(x, 0, drawtest::kBlack);
    pf::copy_bits(pf::port_bits(port), {0, 0, 1, 8}, {0, 2, 1, 10}, pf::kSrcCopy);
    EXPECT_EQ(map(0, 0, 10, 1), "#.#..#..#.\n");
}

TEST(Output, PdfPortDrawsWithTheSameCalls) {
    std::string path = std::string(QUORVIN_BINARY_DIR) + "/draw_output_test.pdf";
    pf::PdfDocument doc;
    ASSERT_TRUE(pf::open_pdf(doc, path, 200, 100));
    {
        pf::PortScope scope(&doc.port);
        pf::fill_rect({10, 10, 50, 90}, pf::kGrayPattern);
        pf::frame_oval({20, 100, 80, 180});
        pf::move_to(0, 0);
        pf::line_to(199, 99);
        const uint8_t bits[] = {0xF0};
        pf::copy_bits(pf::BitMap{bits, 1, {0, 0, 1, 8}, 1}, {0, 0, 1, 8}, {90, 10, 91, 18}, pf::kSrcOr);
        pf::invert_rect({0, 0, 10, 10});  // left out on paper
    }
    pf::pdf_next_page(doc, 100, 100);
    EXPECT_EQ(doc.port.port_rect, (Rect{0, 0, 100, 100}));
    ASSERT_TRUE(pf::close_pdf(doc));
    std::ifstream in(path, std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    std::remove(path.c_str());
}

// Draws with the calls a page uses: copy, or and bic modes, patterns, shapes and bits.
void draw_page_sample() {
    pf::set_origin(3, 5);  // patterns stay anchored at local (0, 0) on paper too
    pf::fill_rect({5, 3, 30, 40}, pf::kGrayPattern);
    pf::rgb_fore_color({0xFFFF, 0, 0});
    pf::pen_pat(pf::kLightGrayPattern);
    pf::pen_mode(pf::kPatOr);
    pf::paint_oval({10, 20, 45, 60});
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
    pf::frame_round_rect({20, 30, 50, 66}, 10, 10);
    const uint8_t bits[] = {0xF0, 0x3C};
    pf::copy_bits(pf::BitMap{bits, 1, {0, 0, 2, 8}, 1}, {0, 0, 2, 8}, {30, 5, 46, 37}, pf::kSrcBic);
}

TEST(Output, PageDrawingMatchesPixelDrawing) {
    // An image surface drawn through the page path (as a PDF page is) against the same
    // surface drawn pixel by pixel.
    std::vector<uint32_t> pixels[2];
    for (int as_page = 0; as_page < 2; ++as_page) {
        drawtest::ScratchPort scratch(64, 48);
        if (as_page) scratch.port.kind = pf::SurfaceKind::kPdf;
        draw_page_sample();
        cairo_surface_flush(scratch.surface);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                pixels[as_page].push_back(pf::surface_row(scratch.port, y)[x] & 0xFFFFFF);
        if (as_page)
            pf::write_surface_png(scratch.surface, std::string(QUORVIN_BINARY_DIR) + "/draw_page_path.png");
    }
    EXPECT_EQ(pixels[0], pixels[1]);
}

// Whether a pixel of the image darker than white lies in the rectangle (right and bottom included).
bool marked_in(cairo_surface_t* image, int left, int top, int right, int bottom) {
    cairo_surface_flush(image);
    const auto* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if ((reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF) != 0xFFFFFF) return true;
    return false;
}

TEST(Output, AReducedRecordedPageKeepsItsHairlines) {
    pf::PdfDocument page;
    ASSERT_TRUE(pf::open_page_recording(page, 400, 300));
    {
        pf::PortScope scope(&page.port);
        pf::frame_rect({101, 101, 201, 301});  // one-point sides at 101, 200 (rows) and 101, 300 (columns)
    }
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 160, 120);
    pf::play_page_recording(page, image, 0.4, 0, 0);
    pf::close_page_recording(page);
    // At 0.4 the sides lie near rows 40 and 80, columns 40 and 120.
    EXPECT_TRUE(marked_in(image, 80, 38, 80, 42)) << "top";
    EXPECT_TRUE(marked_in(image, 80, 78, 80, 82)) << "bottom";
    EXPECT_TRUE(marked_in(image, 38, 60, 42, 60)) << "left";
    EXPECT_TRUE(marked_in(image, 118, 60, 122, 60)) << "right";
    cairo_surface_destroy(image);
}

TEST(Output, PortPngIsThePortsAreaOnly) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 30);
    pf::Port port;
    pf::open_port(port, surface, 40, 30);
    port.port_rect = {5, 5, 25, 15};
    std::string path = std::string(QUORVIN_BINARY_DIR) + "/draw_port_test.png";
    ASSERT_TRUE(pf::write_port_png(port, path));
    cairo_surface_t* back = cairo_image_surface_create_from_png(path.c_str());
    EXPECT_EQ(cairo_image_surface_get_width(back), 10);
    EXPECT_EQ(cairo_image_surface_get_height(back), 20);
    cairo_surface_destroy(back);
    std::remove(path.c_str());
    pf::close_port(port);
    cairo_surface_destroy(surface);
}

}  // namespace
