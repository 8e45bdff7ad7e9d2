// Writes build/text_sample.png: every face at several sizes, the classic families,
// text modes and turned text, for people to look at.
#include "platform/draw/text.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <string>

namespace {

void fill_rect(cairo_surface_t* s, int left, int top, int width, int height, double grey) {
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_rectangle(cr, left, top, width, height);
    cairo_fill(cr);
    cairo_destroy(cr);
}

void line(int16_t h, int16_t v, std::string_view text) {
    pf::move_to(h, v);
    pf::draw_text(text);
}

TEST(TextSample, WritesPngOfFacesSizesModesAndTurnedText) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 760, 560);
    fill_rect(surface, 0, 0, 760, 560, 1.0);
    pf::Port port;
    pf::open_port(port, surface, 760, 560);
    pf::set_port(&port);

    const struct {
        uint8_t face;
        const char* name;
    } faces[] = {{0, "Plain"},          {pf::kBold, "Bold"},         {pf::kItalic, "Italic"},
                 {pf::kUnderline, "Underline"}, {pf::kOutline, "Outline"}, {pf::kShadow, "Shadow"},
                 {pf::kCondense, "Condense"}, {pf::kExtend, "Extend"}, {pf::kBold | pf::kItalic, "Bold italic"}};
    int16_t v = 16;
    for (int16_t size : {9, 12, 18}) {
        pf::text_size(size);
        int16_t h = 8;
        for (const auto& f : faces) {
            pf::text_face(f.face);
            line(h, v, f.name);
            h = int16_t(pf::get_pen().h + 10);
        }
        v = int16_t(v + size + 10);
    }
    pf::text_face(0);
    pf::text_size(12);
    for (int16_t font : {pf::kSystemFont, pf::kNewYorkFont, pf::kGenevaFont, pf::kMonacoFont, pf::kTimesFont,
                         pf::kHelveticaFont, pf::kCourierFont}) {
        pf::text_font(font);
        std::string label = pf::font_name(font) + " 12: Sphinx of black quartz, judge my vow \xC9 \x80\x8A\x9F\xA5";
        line(8, v, label);
        for (uint8_t face : {uint8_t(pf::kBold), uint8_t(pf::kItalic)}) {
            pf::text_face(face);
            pf::draw_text("  Aa");
        }
        pf::text_face(0);
        v = int16_t(v + 18);
    }

    // Modes on a grey band: or, copy, xor, bic, dimmed.
    pf::text_font(pf::kGenevaFont);
    fill_rect(surface, 0, v, 760, 24, 0.75);
    pf::rgb_back_color({0xFFFF, 0xFFFF, 0xFFFF});
    int16_t h = 8;
    for (int16_t mode : {pf::kSrcOr, pf::kSrcCopy, pf::kSrcXor, pf::kSrcBic, pf::kGrayishTextOr}) {
        pf::text_mode(mode);
        line(h, int16_t(v + 17), "Mode " + std::to_string(mode));
        h = int16_t(pf::get_pen().h + 16);
    }
    pf::text_mode(pf::kSrcOr);
    v = int16_t(v + 40);

    // Justified line between two marks, truncated labels.
    fill_rect(surface, 8, v - 12, 1, 16, 0.0);
    fill_rect(surface, 308, v - 12, 1, 16, 0.0);
    std::string just = "Spread over three hundred pixels";
    pf::move_to(8, v);
    pf::draw_justified(just, (300 - pf::text_width(just)) * pf::kFixedOne);
    for (int16_t where : {pf::kTruncEnd, pf::kTruncMiddle}) {
        std::string t = "A long column name cut to fit";
        pf::trunc_text(120, t, where);
        line(int16_t(where ? 480 : 330), v, t);
    }
    v = int16_t(v + 20);

    // Turned text, up and down, at pens marked in red; then the same without anti-aliasing.
    for (bool smooth : {true, false}) {
        pf::set_text_antialiasing(smooth);
        int16_t base = smooth ? 20 : 400;
        for (int i = 0; i < 3; ++i) {
            const int16_t size = int16_t(9 + 4 * i);
            pf::text_size(size);
            pf::text_face(i == 2 ? pf::kBold : 0);
            int16_t x = int16_t(base + i * 110);
            fill_rect(surface, x, v + 150, 1, 1, 0.5);
            pf::move_to(x, int16_t(v + 150));
            pf::draw_text_turned("Reads upwards", pf::Turn::kUp);
            fill_rect(surface, x + 40, v, 1, 1, 0.5);
            pf::move_to(int16_t(x + 40), v);
            pf::draw_text_turned("Reads downwards", pf::Turn::kDown);
            pf::move_to(int16_t(x + 50), int16_t(v + 170));
            pf::draw_text(smooth ? "Smooth" : "Exact");
        }
    }
    pf::set_text_antialiasing(true);

    std::string path = std::string(QUORVIN_BINARY_DIR) + "/text_sample.png";
    EXPECT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS);
    pf::close_port(port);
    cairo_surface_destroy(surface);
}

}  // namespace
