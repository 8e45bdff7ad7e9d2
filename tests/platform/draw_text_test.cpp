#include "platform/draw/text.h"
#include "platform/text/scripts.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace {

using pf::Point;
using pf::Rect;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

struct TextFixture : ::testing::Test {
    static constexpr int kWidth = 200, kHeight = 120;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    pf::Port port;

    void SetUp() override {
        pf::open_port(port, surface, kWidth, kHeight);
        pf::set_port(&port);
        clear(kWhite);
        pf::set_text_antialiasing(false);
    }
    void TearDown() override {
        pf::set_text_antialiasing(true);
        pf::close_port(port);
        cairo_surface_destroy(surface);
    }
    void clear(uint32_t rgb) {
        cairo_surface_flush(surface);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) row(y)[x] = rgb;
        cairo_surface_mark_dirty(surface);
    }
    uint32_t* row(int y) {
        return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface) +
                                           y * cairo_image_surface_get_stride(surface));
    }
    uint32_t pixel(int x, int y) {
        cairo_surface_flush(surface);
        return row(y)[x] & 0xFFFFFF;
    }
    // Bounding box of the pixels that are not `back`; empty when there are none.
    Rect ink(uint32_t back = kWhite) {
        Rect r{kHeight, kWidth, 0, 0};
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (pixel(x, y) != back)
                    r = Rect{int16_t(std::min<int>(r.top, y)), int16_t(std::min<int>(r.left, x)),
                             int16_t(std::max<int>(r.bottom, y + 1)), int16_t(std::max<int>(r.right, x + 1))};
        return r.empty() ? Rect{} : r;
    }
    std::vector<uint32_t> pixels() {
        std::vector<uint32_t> all;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) all.push_back(pixel(x, y));
        return all;
    }
};

TEST_F(TextFixture, MetricsAndWidthsEqualOnScreenAndPdf) {
    cairo_surface_t* pdf_surface = cairo_pdf_surface_create_for_stream(nullptr, nullptr, 300, 200);
    pf::Port pdf;
    pf::open_port(pdf, pdf_surface, 300, 200);
    pdf.kind = pf::SurfaceKind::kPdf;
    const std::string text = "Quarterly totals: 1,234.56 \xC9 \x8A\x9F";
    for (int16_t font : {pf::kSystemFont, pf::kGenevaFont, pf::kTimesFont, pf::kCourierFont, pf::kMonacoFont})
        for (int16_t size : {9, 12, 20})
            for (uint8_t face : {uint8_t(0), uint8_t(pf::kBold | pf::kItalic), uint8_t(pf::kShadow | pf::kCondense)}) {
                pf::FontInfo on_screen, on_paper;
                int16_t widths[2], advances[2];
                for (int i = 0; i < 2; ++i) {
                    pf::set_port(i == 0 ? &port : &pdf);
                    pf::set_text_antialiasing(i == 1);
                    pf::text_font(font), pf::text_size(size), pf::text_face(face);
                    pf::get_font_info(i == 0 ? on_screen : on_paper);
                    widths[i] = pf::text_width(text);
                    pf::move_to(10, 50);
                    pf::draw_text(text);
                    advances[i] = int16_t(pf::get_pen().h - 10);
                }
                EXPECT_EQ(on_screen, on_paper) << font << " " << size << " " << int(face);
                EXPECT_EQ(widths[0], widths[1]);
                EXPECT_EQ(advances[0], widths[0]);
                EXPECT_EQ(advances[1], widths[0]);
            }
    pf::close_port(pdf);
    cairo_surface_finish(pdf_surface);
    EXPECT_EQ(cairo_surface_status(pdf_surface), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(pdf_surface);
}

TEST_F(TextFixture, GlyphsStayInsideTheirMetrics) {
    for (int16_t font : {pf::kGenevaFont, pf::kTimesFont, pf::kCourierFont}) {
        clear(kWhite);
        pf::text_font(font);
        pf::text_size(14);
        pf::FontInfo info;
        pf::get_font_info(info);
        pf::move_to(20, 60);
        pf::draw_text("HMgjy");
        Rect r = ink();
        EXPECT_GE(r.left, 20);
        EXPECT_LE(r.right, 20 + pf::text_width("HMgjy"));
        EXPECT_GE(r.top, 60 - info.ascent);
        EXPECT_LE(r.bottom, 60 + info.descent);
        EXPECT_LT(r.top, 60 - info.ascent / 2);  // caps reach well above the baseline
        EXPECT_GT(r.bottom, 60);                   // descenders go below it
    }
}

// Two-byte characters draw whole, and caret positions never fall between their bytes.
TEST_F(TextFixture, DoubleByteTextDrawsAndMeasuresByCharacter) {
    pf::text_font(16384);  // the Japanese script's font
    pf::text_size(16);
    const std::string tokyo = "\x93\x8C\x8B\x9E";  // Shift_JIS
    pf::move_to(20, 60);
    pf::draw_text(tokyo);
    Rect r = ink();
    EXPECT_FALSE(r.empty());
    EXPECT_GE(r.left, 20);
    EXPECT_GT(r.right, 20 + 16);  // the second character is drawn too
    EXPECT_LE(r.right, 20 + pf::text_width(tokyo));
    EXPECT_EQ(pf::text_width(tokyo), 32);
    EXPECT_EQ(pf::char_to_pixel(tokyo, 0, 2), 16);
    EXPECT_EQ(pf::char_to_pixel(tokyo, 0, 1), 16);  // inside a character: its end
    pf::PixelHit hit = pf::pixel_to_char(tokyo, 0, 20 * pf::kFixedOne);
    EXPECT_EQ(hit.offset, 2);
    EXPECT_TRUE(hit.leading_edge);
    hit = pf::pixel_to_char(tokyo, 0, 10 * pf::kFixedOne);
    EXPECT_EQ(hit.offset, 2);
    EXPECT_FALSE(hit.leading_edge);
    std::string cut = tokyo + tokyo;
    EXPECT_EQ(pf::trunc_text(40, cut, pf::kTruncEnd), pf::kTruncated);
    EXPECT_EQ(cut.size() % 2, 1u);  // whole characters and the ellipsis
    cut = tokyo + tokyo + tokyo;
    EXPECT_EQ(pf::trunc_text(50, cut, pf::kTruncMiddle), pf::kTruncated);
    EXPECT_EQ(cut.size() % 2, 1u);
}

// Text drawn on a PDF page is the text itself, from each font's script: a
// reader of the page finds it.
TEST_F(TextFixture, TextOnAPdfPageCanBeSearched) {
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    const std::string path = ::testing::TempDir() + "searchable_text.pdf";
    cairo_surface_t* pdf_surface = cairo_pdf_surface_create(path.c_str(), 300, 200);
    pf::Port pdf;
    pf::open_port(pdf, pdf_surface, 300, 200);
    pdf.kind = pf::SurfaceKind::kPdf;
    pf::set_port(&pdf);
    std::string greek;
    ASSERT_TRUE(pf::utf8_to_script("\u0391\u03b8\u03ae\u03bd\u03b1", pf::kScriptGreek, greek));
    const std::pair<int16_t, std::string> lines[] = {
        {pf::script_font(pf::kScriptJapanese), "\x93\x8C\x8B\x9E"},
        {pf::script_font(pf::kScriptGreek), greek},
        {1, "caf\x8E \xA5"},
    };
    int16_t v = 40;
    for (const auto& [font, text] : lines) {
        pf::text_font(font);
        pf::text_size(16);
        pf::move_to(20, v += 30);
        pf::draw_text(text);
    }
    pf::set_port(&port);
    pf::close_port(pdf);
    cairo_surface_finish(pdf_surface);
    cairo_surface_destroy(pdf_surface);

    const std::string out = path + ".txt";
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 '" + path + "' '" + out + "'").c_str()), 0);
    std::ifstream read(out);
    const std::string found((std::istreambuf_iterator<char>(read)), std::istreambuf_iterator<char>());
    EXPECT_NE(found.find("\u6771\u4eac"), std::string::npos) << found;
    EXPECT_NE(found.find("\u0391\u03b8\u03ae\u03bd\u03b1"), std::string::npos) << found;
    EXPECT_NE(found.find("caf\u00e9 \u2022"), std::string::npos) << found;
    std::remove(path.c_str());
    std::remove(out.c_str());
}

TEST_F(TextFixture, ModesOrCopyXorBicAndDimmed) {
    pf::text_font(pf::kGenevaFont);
    pf::text_size(12);
    const int16_t w = pf::text_width("Tx");
    pf::FontInfo info;
    pf::get_font_info(info);
    clear(0x808080);
    pf::rgb_back_color({0xFFFF, 0, 0});

    pf::text_mode(pf::kSrcOr);
    pf::move_to(10, 30);
    pf::draw_text("Tx");
    Rect r = ink(0x808080);
    EXPECT_FALSE(r.empty());
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) EXPECT_TRUE(pixel(x, y) == kBlack || pixel(x, y) == 0x808080);

    clear(0x808080);
    pf::text_mode(pf::kSrcCopy);
    pf::move_to(10, 30);
    pf::draw_text("Tx");
    EXPECT_EQ(ink(0x808080), (Rect{int16_t(30 - info.ascent), 10, int16_t(30 + info.descent), int16_t(10 + w)}));
    EXPECT_EQ(pixel(10 + w - 1, 30 + info.descent - 1), 0xFF0000u);

    clear(0x808080);
    std::vector<uint32_t> before = pixels();
    pf::text_mode(pf::kSrcXor);
    pf::move_to(10, 30);
    pf::draw_text("Tx");
    EXPECT_NE(pixels(), before);
    pf::move_to(10, 30);
    pf::draw_text("Tx");
    EXPECT_EQ(pixels(), before);

    pf::text_mode(pf::kSrcBic);
    pf::move_to(10, 30);
    pf::draw_text("Tx");
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) EXPECT_TRUE(pixel(x, y) == 0xFF0000 || pixel(x, y) == 0x808080);

    clear(kWhite);
    pf::rgb_back_color({0xFFFF, 0xFFFF, 0xFFFF});
    pf::text_mode(pf::kGrayishTextOr);
    pf::move_to(10, 30);
    pf::draw_text("Tx");
    Rect dim = ink();
    EXPECT_FALSE(dim.empty());
    for (int y = dim.top; y < dim.bottom; ++y)
        for (int x = dim.left; x < dim.right; ++x) EXPECT_TRUE(pixel(x, y) == 0x7F7F7F || pixel(x, y) == kWhite);
}

TEST_F(TextFixture, HiddenPenDrawsNothingButAdvances) {
    pf::hide_pen();
    pf::move_to(10, 40);
    pf::draw_text("Hidden");
    EXPECT_TRUE(ink().empty());
    EXPECT_EQ(pf::get_pen().h, 10 + pf::text_width("Hidden"));
    pf::show_pen();
    pf::draw_text("Shown");
    EXPECT_FALSE(ink().empty());
}

TEST_F(TextFixture, ClipAndOriginApply) {
    pf::text_size(18);
    pf::clip_rect({20, 30, 40, 50});
    pf::move_to(10, 36);
    pf::draw_text("WWWWWWWW");
    Rect r = ink();
    EXPECT_FALSE(r.empty());
    EXPECT_GE(r.left, 30);
    EXPECT_LE(r.right, 50);
    EXPECT_GE(r.top, 20);
    EXPECT_LE(r.bottom, 40);

    clear(kWhite);
    pf::clip_rect({-1000, -1000, 1000, 1000});
    pf::set_origin(100, 50);
    pf::move_to(110, 80);  // local: 10 right, 30 down of the port's top-left
    pf::draw_text("H");
    Rect moved = ink();
    EXPECT_GE(moved.left, 10);
    EXPECT_LE(moved.bottom, 30 + 5);
    EXPECT_GT(moved.bottom, 20);
}

TEST_F(TextFixture, TurnedTextIsTheAcrossTextTurned) {
    pf::text_font(pf::kGenevaFont);
    pf::text_size(12);
    const std::string text = "Label";
    pf::move_to(20, 40);
    pf::draw_text(text);
    Rect across = ink();
    // Relative to the pen: columns c (along the text) and rows r (below the baseline).
    const int c0 = across.left - 20, c1 = across.right - 20, r0 = across.top - 40, r1 = across.bottom - 40;

    clear(kWhite);
    pf::move_to(60, 100);
    EXPECT_EQ(pf::draw_text_turned(text, pf::Turn::kUp), pf::text_width(text));
    EXPECT_EQ(pf::get_pen(), (Point{100, 60}));
    Rect up = ink();
    EXPECT_EQ(up.left, 60 + r0);
    EXPECT_EQ(up.right, 60 + r1);
    EXPECT_EQ(up.top, 100 - c1 + 1);
    EXPECT_EQ(up.bottom, 100 - c0 + 1);

    clear(kWhite);
    pf::move_to(60, 10);
    pf::draw_text_turned(text, pf::Turn::kDown);
    Rect down = ink();
    EXPECT_EQ(down.left, 60 - r1 + 1);
    EXPECT_EQ(down.right, 60 - r0 + 1);
    EXPECT_EQ(down.top, 10 + c0);
    EXPECT_EQ(down.bottom, 10 + c1);
}

TEST_F(TextFixture, JustifiedTextSpreadsSlackOverSpaces) {
    pf::text_font(pf::kGenevaFont);
    pf::text_size(12);
    const std::string text = "a b c d ";
    const int16_t w = pf::text_width(text);
    const pf::Fixed slop = 10 * pf::kFixedOne;
    // A line's last piece: the trailing space takes nothing; 3 spaces share 10 pixels.
    EXPECT_EQ(pf::portion_line(text, pf::kOnlyStyleRun), 3 * pf::kFixedOne);
    EXPECT_EQ(pf::char_to_pixel(text, slop, 2, pf::kOnlyStyleRun), pf::text_width("a ") + 3);
    EXPECT_EQ(pf::char_to_pixel(text, slop, 4, pf::kOnlyStyleRun), pf::text_width("a b ") + 6);
    EXPECT_EQ(pf::char_to_pixel(text, slop, 8, pf::kOnlyStyleRun), w + 10);
    // A piece inside a line stretches all four.
    EXPECT_EQ(pf::portion_line(text, pf::kLeftStyleRun), 4 * pf::kFixedOne);
    EXPECT_EQ(pf::char_to_pixel(text, slop, 8, pf::kLeftStyleRun), w + 10);
    EXPECT_EQ(pf::char_to_pixel(text, slop, 7, pf::kLeftStyleRun), pf::text_width("a b c d") + 7);

    pf::move_to(5, 30);
    pf::draw_justified(text, slop);
    EXPECT_EQ(pf::get_pen().h, 5 + w + 10);
    pf::move_to(5, 60);
    pf::draw_justified("abc", slop);  // no spaces: drawn as it is
    EXPECT_EQ(pf::get_pen().h, 5 + pf::text_width("abc"));
}

TEST_F(TextFixture, PixelToCharRoundTripsAndHalves) {
    pf::text_font(pf::kTimesFont);
    pf::text_size(12);
    const std::string text = "Wide and thin: il1 MW";
    for (pf::Fixed slop : {0, 7 * pf::kFixedOne}) {
        for (int32_t i = 0; i <= int32_t(text.size()); ++i) {
            int16_t px = pf::char_to_pixel(text, slop, i);
            pf::PixelHit hit = pf::pixel_to_char(text, slop, px * pf::kFixedOne);
            EXPECT_EQ(hit.offset, i) << "slop " << slop;
            EXPECT_EQ(hit.leading_edge, i < int32_t(text.size()));
        }
    }
    const int16_t w = pf::char_width('W');
    pf::PixelHit left_half = pf::pixel_to_char(text, 0, (w / 2 - 1) * pf::kFixedOne);
    EXPECT_EQ(left_half.offset, 0);
    EXPECT_TRUE(left_half.leading_edge);
    EXPECT_LT(left_half.width_remaining, 0);
    pf::PixelHit right_half = pf::pixel_to_char(text, 0, (w - 1) * pf::kFixedOne);
    EXPECT_EQ(right_half.offset, 1);
    EXPECT_FALSE(right_half.leading_edge);
    pf::PixelHit past = pf::pixel_to_char(text, 0, (pf::text_width(text) + 9) * pf::kFixedOne);
    EXPECT_EQ(past.offset, int32_t(text.size()));
    EXPECT_EQ(past.width_remaining, 9 * pf::kFixedOne);
    EXPECT_EQ(pf::pixel_to_char(text, 0, -5 * pf::kFixedOne).offset, 0);
    EXPECT_EQ(pf::char_to_pixel(text, 0, 999), pf::text_width(text));
    EXPECT_EQ(pf::char_to_pixel(text, 0, -4), 0);
}

TEST_F(TextFixture, VisibleLengthDropsTrailingBlanks) {
    EXPECT_EQ(pf::visible_length("total  \t\r"), 5);
    EXPECT_EQ(pf::visible_length("   "), 0);
    EXPECT_EQ(pf::visible_length(" a b"), 4);
    EXPECT_EQ(pf::visible_length(""), 0);
}

TEST_F(TextFixture, TruncationAtTheEndAndInTheMiddle) {
    pf::text_font(pf::kGenevaFont);
    pf::text_size(12);
    const std::string full = "Annual revenue by region";
    const int16_t ellipsis = pf::char_width(0xC9);
    for (int16_t width : {40, 61, 90, 120}) {
        std::string end = full;
        ASSERT_EQ(pf::trunc_text(width, end, pf::kTruncEnd), pf::kTruncated);
        EXPECT_LE(pf::text_width(end), width);
        EXPECT_EQ(uint8_t(end.back()), 0xC9);
        std::string kept = end.substr(0, end.size() - 1);
        EXPECT_EQ(full.compare(0, kept.size(), kept), 0);
        EXPECT_GT(pf::text_width(full.substr(0, kept.size() + 1)) + ellipsis, width);  // as much as fits

        std::string middle = full;
        ASSERT_EQ(pf::trunc_text(width, middle, pf::kTruncMiddle), pf::kTruncated);
        EXPECT_LE(pf::text_width(middle), width);
        size_t cut = middle.find('\xC9');
        ASSERT_NE(cut, std::string::npos);
        EXPECT_EQ(full.compare(0, cut, middle, 0, cut), 0);
        std::string tail = middle.substr(cut + 1);
        EXPECT_EQ(full.compare(full.size() - tail.size(), tail.size(), tail), 0);
        EXPECT_LE(std::abs(int(cut) - int(tail.size())), 1);
    }
    std::string fits = "Short";
    EXPECT_EQ(pf::trunc_text(200, fits, pf::kTruncEnd), pf::kNotTruncated);
    EXPECT_EQ(fits, "Short");
    std::string narrow = full;
    EXPECT_EQ(pf::trunc_text(int16_t(ellipsis - 1), narrow, pf::kTruncMiddle), pf::kTruncated);
    EXPECT_EQ(narrow, "");
    EXPECT_EQ(pf::trunc_text(-1, fits, pf::kTruncEnd), pf::kTruncError);

    unsigned char pstr[256] = {11, 'M', 'o', 'n', 't', 'h', 'l', 'y', ' ', 'n', 'e', 't'};
    EXPECT_EQ(pf::trunc_string(40, pstr, pf::kTruncEnd), pf::kTruncated);
    EXPECT_LE(pf::string_width(pstr), 40);
    EXPECT_EQ(pstr[pstr[0]], 0xC9);
}

}  // namespace
