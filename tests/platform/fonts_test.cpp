#include "platform/fonts/fonts.h"

#include "platform/draw/draw.h"
#include "platform/draw/output.h"
#include "platform/draw/text.h"

#include <cairo.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using pf::TextStyle;

bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(FontCatalog, ClassicNumbersDrawWithFixedFiles) {
    const struct {
        int16_t number;
        uint8_t face;
        const char* file;
    } expected[] = {
        {pf::kSystemFont, 0, "dejavu/DejaVuSans.ttf"},
        {pf::kApplFont, 0, "dejavu/DejaVuSans.ttf"},
        {pf::kNewYorkFont, pf::kBold, "dejavu/DejaVuSerif-Bold.ttf"},
        {pf::kGenevaFont, pf::kItalic, "dejavu/DejaVuSans-Oblique.ttf"},
        {pf::kGenevaFont, pf::kBold | pf::kItalic, "dejavu/DejaVuSans-BoldOblique.ttf"},
        {pf::kNewYorkFont, pf::kItalic, "dejavu/DejaVuSerif-Italic.ttf"},
        {pf::kMonacoFont, pf::kBold | pf::kItalic, "dejavu/DejaVuSansMono-BoldOblique.ttf"},
        {pf::kMonacoFont, 0, "dejavu/DejaVuSansMono.ttf"},
        {pf::kTimesFont, pf::kItalic, "liberation2/LiberationSerif-Italic.ttf"},
        {pf::kHelveticaFont, pf::kBold | pf::kItalic, "liberation2/LiberationSans-BoldItalic.ttf"},
        {pf::kCourierFont, 0, "liberation2/LiberationMono-Regular.ttf"},
        {pf::kSymbolFont, 0, "dejavu/DejaVuSans.ttf"},
        {777, 0, "dejavu/DejaVuSans.ttf"},  // unknown numbers draw with the application font
    };
    for (const auto& e : expected)
        EXPECT_TRUE(ends_with(pf::font_file(e.number, e.face), e.file)) << e.number << " " << int(e.face);
}

// Machine font settings reach neither the choice of files nor the widths.
TEST(FontCatalog, MachineSettingsDoNotChangeClassicFonts) {
    std::string config = std::string(QUORVIN_BINARY_DIR) + "/fonts_test_fonts.conf";
    FILE* f = std::fopen(config.c_str(), "w");
    ASSERT_TRUE(f);
    std::fputs("<?xml version=\"1.0\"?><fontconfig><match><edit name=\"family\" mode=\"assign\">"
               "<string>Liberation Mono</string></edit></match></fontconfig>\n", f);
    std::fclose(f);
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    pf::font_list();  // reads the machine's settings
    EXPECT_TRUE(ends_with(pf::font_file(pf::kGenevaFont, 0), "dejavu/DejaVuSans.ttf"));
    TextStyle geneva{pf::kGenevaFont, 12, 0}, helvetica{pf::kHelveticaFont, 12, 0};
    EXPECT_EQ(pf::font_info(geneva), (pf::FontInfo{12, 3, 16, 0}));
    EXPECT_EQ(pf::font_char_width(geneva, 'a'), 7);
    EXPECT_EQ(pf::font_char_width(helvetica, 'a'), 7);
    EXPECT_EQ(pf::font_char_width(helvetica, 'W'), 11);
    EXPECT_EQ(pf::font_text_width({pf::kTimesFont, 12, 0}, "Times"), 29);
    for (int b = 32; b < 127; ++b) EXPECT_EQ(pf::font_char_width({pf::kCourierFont, 12, 0}, uint8_t(b)), 7);
    unsetenv("FONTCONFIG_FILE");
}

TEST(FontCatalog, NamesAndNumbers) {
    EXPECT_EQ(pf::font_number("Geneva"), pf::kGenevaFont);
    EXPECT_EQ(pf::font_number("geneva"), pf::kGenevaFont);
    EXPECT_EQ(pf::font_number("Courier"), pf::kCourierFont);
    EXPECT_EQ(pf::font_number("Lucida Grande"), pf::kSystemFont);
    EXPECT_EQ(pf::font_name(pf::kApplFont), "Geneva");
    EXPECT_EQ(pf::font_name(pf::kTimesFont), "Times");
    EXPECT_EQ(pf::font_name(999), "");
    EXPECT_TRUE(pf::real_font(pf::kCourierFont, 13));
    EXPECT_FALSE(pf::real_font(999, 12));
    bool found = true;
    EXPECT_EQ(pf::font_number("No Such Family", &found), pf::kSystemFont);
    EXPECT_FALSE(found);
}

TEST(FontCatalog, ListedFamiliesHaveStableNumbers) {
    std::vector<pf::FontFamily> list = pf::font_list();
    std::set<int16_t> numbers;
    for (size_t i = 0; i < list.size(); ++i) {
        const pf::FontFamily& f = list[i];
        EXPECT_TRUE(numbers.insert(f.number).second) << f.name;
        EXPECT_NE(f.number, pf::kApplFont);
        EXPECT_EQ(pf::font_number(f.name), f.number) << f.name;
        EXPECT_EQ(pf::font_name(f.number), f.name);
        if (i > 0) {
            EXPECT_LT(list[i - 1].name, f.name);
        }
    }
    // Numbers of installed families depend on their names only; documents rely on them.
    EXPECT_EQ(pf::font_number("DejaVu Sans"), 2497);
    EXPECT_EQ(pf::font_number("Liberation Sans"), 20723);
    EXPECT_EQ(pf::font_number("Liberation Mono"), 10199);
    EXPECT_TRUE(ends_with(pf::font_file(pf::font_number("Liberation Serif"), pf::kBold),
                          "liberation2/LiberationSerif-Bold.ttf"));
}

TEST(FontMetrics, EmulatedFacesChangeWidthsPerCharacter) {
    const TextStyle plain{pf::kGenevaFont, 12, 0};
    const int w = pf::font_char_width(plain, 'n');
    auto width_with = [&](uint8_t face) { return pf::font_char_width({pf::kGenevaFont, 12, face}, 'n'); };
    EXPECT_EQ(width_with(pf::kExtend), w + 1);
    EXPECT_EQ(width_with(pf::kCondense), w - 1);
    EXPECT_EQ(width_with(pf::kOutline), w + 1);
    EXPECT_EQ(width_with(pf::kShadow), w + 2);
    EXPECT_EQ(width_with(pf::kShadow | pf::kOutline), w + 2);
    EXPECT_EQ(width_with(pf::kUnderline), w);
    EXPECT_EQ(width_with(pf::kItalic), w);  // the slant keeps the advance
    EXPECT_GT(width_with(pf::kBold), w);
    EXPECT_EQ(pf::font_text_width({pf::kGenevaFont, 12, pf::kExtend}, "nnnn"), 4 * (w + 1));

    pf::FontInfo info = pf::font_info(plain);
    pf::FontInfo outline = pf::font_info({pf::kGenevaFont, 12, pf::kOutline});
    pf::FontInfo shadow = pf::font_info({pf::kGenevaFont, 12, pf::kShadow});
    EXPECT_EQ(outline.ascent, info.ascent + 1);
    EXPECT_EQ(outline.descent, info.descent + 1);
    EXPECT_EQ(shadow.ascent, info.ascent + 1);
    EXPECT_EQ(shadow.descent, info.descent + 2);
}

TEST(FontMetrics, SizesControlBytesAndWidest) {
    EXPECT_EQ(pf::font_info({pf::kTimesFont, 0, 0}), pf::font_info({pf::kTimesFont, 12, 0}));
    EXPECT_EQ(pf::font_text_width({pf::kTimesFont, -3, 0}, "abc"), pf::font_text_width({pf::kTimesFont, 12, 0}, "abc"));
    for (uint8_t b : {uint8_t(0), uint8_t(9), uint8_t(13), uint8_t(31), uint8_t(127)})
        EXPECT_EQ(pf::font_char_width({pf::kGenevaFont, 12, pf::kExtend}, b), 0);
    for (int16_t size : {9, 10, 12, 14, 18, 24, 48}) {
        TextStyle s{pf::kHelveticaFont, size, 0};
        pf::FontInfo info = pf::font_info(s);
        EXPECT_GE(info.ascent + info.descent, size);
        EXPECT_LE(info.ascent + info.descent, size * 3 / 2);
        for (int b = 32; b < 256; ++b) EXPECT_LE(pf::font_char_width(s, uint8_t(b)), info.widMax);
    }
}

}  // namespace

namespace {

// Each script's own font: found under its number, drawn from fonts-noto-cjk or
// DejaVu Sans, its text measured in its own encoding.
TEST(ScriptFonts, EachScriptDrawsWithItsOwnFontInItsEncoding) {
    EXPECT_EQ(pf::font_name(16384), "Noto Sans CJK JP");
    EXPECT_EQ(pf::font_number("Noto Sans CJK KR"), 17408);
    EXPECT_EQ(pf::font_name(16385), "");  // kept by the script, unnamed
    EXPECT_TRUE(ends_with(pf::font_file(16384, 0), "noto/NotoSansCJK-Regular.ttc"));
    EXPECT_TRUE(ends_with(pf::font_file(16385, pf::kBold), "noto/NotoSansCJK-Bold.ttc"));
    EXPECT_TRUE(ends_with(pf::font_file(18944, 0), "dejavu/DejaVuSans.ttf"));
    // Two-byte characters are full-width; the ASCII beside them is narrower.
    const TextStyle japanese{16384, 12, 0};
    EXPECT_EQ(pf::font_text_width(japanese, "\x93\x8C\x8B\x9E"), 24);  // 東京
    EXPECT_LT(pf::font_text_width(japanese, "ab"), 24);
    // Mac Greek 0xE1 is alpha, not Mac Roman's middle dot.
    const TextStyle greek{18944, 12, 0};
    EXPECT_EQ(pf::font_char_width(greek, 0xE1), pf::font_text_width(greek, "\xE1"));
    EXPECT_NE(pf::font_char_width(greek, 0xE1), pf::font_char_width({pf::kGenevaFont, 12, 0}, 0xE1));
}

// How far the ink of a tall upright stroke leans right, top against bottom,
// in pixels: the mean column of its top rows less that of its bottom rows.
double lean_of_stroke(cairo_surface_t* image) {
    cairo_surface_flush(image);
    const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    std::vector<double> mean_column;  // of each inked row, top to bottom
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        double sum = 0;
        int inked = 0;
        for (int x = 0; x < width; ++x)
            if ((row[x] & 0xFF) < 0x80) sum += x, ++inked;
        if (inked) mean_column.push_back(sum / inked);
    }
    if (mean_column.size() < 8) return 0;
    const size_t quarter = mean_column.size() / 4;
    double top = 0, bottom = 0;
    for (size_t i = 0; i < quarter; ++i) top += mean_column[i], bottom += mean_column[mean_column.size() - 1 - i];
    return (top - bottom) / double(quarter);
}

// An "l" in a face drawn on a PDF page, the page turned into an image by pdftoppm.
cairo_surface_t* printed_letter(const TextStyle& style, const std::string& name) {
    const std::string pdf = std::string(QUORVIN_BINARY_DIR) + "/fonts_test_" + name + ".pdf";
    pf::PdfDocument doc;
    if (!pf::open_pdf(doc, pdf, 80, 80)) return nullptr;
    {
        pf::PortScope scope(&doc.port);
        pf::text_font(style.font);
        pf::text_size(style.size);
        pf::text_face(style.face);
        pf::move_to(20, 60);
        pf::draw_text("l");
    }
    if (!pf::close_pdf(doc)) return nullptr;
    const std::string stem = std::string(QUORVIN_BINARY_DIR) + "/fonts_test_" + name;
    const std::string command = "pdftoppm -r 72 -aa no -singlefile -png '" + pdf + "' '" + stem + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return nullptr;
    return cairo_image_surface_create_from_png((stem + ".png").c_str());
}

// The same "l" drawn on the screen.
cairo_surface_t* shown_letter(const TextStyle& style) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 80, 80);
    pf::Port port;
    pf::open_port(port, surface, 80, 80);
    pf::set_port(&port);
    pf::erase_rect(port.port_rect);
    pf::text_font(style.font);
    pf::text_size(style.size);
    pf::text_face(style.face);
    pf::move_to(20, 60);
    pf::draw_text("l");
    pf::set_port(nullptr);
    pf::close_port(port);
    return surface;
}

// A family without an italic face (the Japanese script's) is slanted by us;
// the slant is on paper as on the screen, and the upright face stays upright.
TEST(ScriptFonts, ASynthesisedItalicPrintsSlantedAsTheScreenShowsIt) {
    if (std::system("pdftoppm -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is missing";
    const TextStyle italic{16384, 48, pf::kItalic}, upright{16384, 48, 0};
    cairo_surface_t* printed_italic = printed_letter(italic, "italic");
    cairo_surface_t* printed_upright = printed_letter(upright, "upright");
    cairo_surface_t* screen = shown_letter(italic);
    ASSERT_TRUE(printed_italic && printed_upright);
    const double on_paper = lean_of_stroke(printed_italic), on_screen = lean_of_stroke(screen);
    EXPECT_GT(on_screen, 3.0);
    EXPECT_NEAR(on_paper, on_screen, 1.5);
    EXPECT_NEAR(lean_of_stroke(printed_upright), 0.0, 1.0);
    for (cairo_surface_t* s : {printed_italic, printed_upright, screen}) cairo_surface_destroy(s);
}

}  // namespace
