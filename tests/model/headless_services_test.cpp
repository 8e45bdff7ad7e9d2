// The model's answers without windows, against the program's: a converter
// without a font library makes the same rows as the program that draws them.
#include <gtest/gtest.h>

#include "model/model_services.h"
#include "platform/fonts/classic_fonts.h"

namespace {

TEST(HeadlessModelServices, LineHeightsOfTheSystemFontsFamilyMatchTheDrawnFont) {
    const ModelServices headless = headless_model_services();
    for (int16_t font : {pf::kSystemFont, pf::kApplFont, pf::kGenevaFont})
        for (int16_t size : {0, 9, 10, 12, 14, 18, 24})
            EXPECT_EQ(headless.line_height(font, size), model_services.line_height(font, size))
                << "font " << font << " size " << size;
}

TEST(HeadlessModelServices, ClassicFontsAreKnownByNameAndNumberOthersAreNot) {
    const ModelServices headless = headless_model_services();
    bool found = false;
    EXPECT_EQ(headless.font_number("times", &found), pf::kTimesFont);
    EXPECT_TRUE(found);
    EXPECT_EQ(headless.font_number("Lucida Grande", &found), pf::kSystemFont);
    EXPECT_TRUE(found);
    EXPECT_EQ(headless.font_number("No Such Family", &found), pf::kSystemFont);
    EXPECT_FALSE(found);
    EXPECT_EQ(headless.font_name(pf::kApplFont), model_services.font_name(pf::kApplFont));
    EXPECT_EQ(headless.font_name(pf::kCourierFont), "Courier");
    EXPECT_EQ(headless.font_name(1200), "");
    EXPECT_EQ(headless.text_width(reinterpret_cast<const unsigned char*>("\x03" "abc")), -1);
}

}  // namespace
