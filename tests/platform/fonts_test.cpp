#include "platform/fonts/fonts.h"

#include "platform/draw/draw.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

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
        {pf::kGenevaFont, pf::kItalic, "dejavu/DejaVuSans.ttf"},  // slanted by us
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

}  // namespace
