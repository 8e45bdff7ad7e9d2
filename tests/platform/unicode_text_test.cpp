// UTF-8 text set in the fonts of the scripts that spell it.
#include "platform/draw/unicode_text.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int16_t kRomanFont = 3;

std::string spelled(const char* utf8, int16_t script) {
    std::string bytes;
    EXPECT_TRUE(pf::utf8_to_script(utf8, script, bytes)) << utf8;
    return bytes;
}

// What the font's script spells stays in the font; each other stretch goes in
// the own font of a script that spells it, going on while it can, so that
// every letter reads back as it was given.
TEST(UnicodeText, EachStretchIsSetInAFontWhoseScriptSpellsIt) {
    const int16_t cyrillic = pf::script_font(pf::kScriptCyrillic), japanese = pf::script_font(pf::kScriptJapanese);
    const auto roman = pf::pieces_in_fonts("Февраль Zürich", kRomanFont);
    ASSERT_EQ(roman.size(), 2u);
    EXPECT_EQ(roman[0].font, cyrillic);
    EXPECT_EQ(roman[0].bytes, spelled("Февраль Z", pf::kScriptCyrillic));
    EXPECT_EQ(roman[1].font, kRomanFont);
    EXPECT_EQ(roman[1].bytes, "\x9Frich");

    const auto in_cyrillic = pf::pieces_in_fonts("Москва 東京", cyrillic);
    ASSERT_EQ(in_cyrillic.size(), 2u);
    EXPECT_EQ(in_cyrillic[0].font, cyrillic);
    EXPECT_EQ(in_cyrillic[1].font, japanese);
    EXPECT_EQ(in_cyrillic[1].bytes, spelled("東京", pf::kScriptJapanese));

    for (const char* utf8 : {"Αθήνα", "Příliš", "東京タワー", "naïve café"}) {
        std::string back;
        for (const pf::FontPiece& piece : pf::pieces_in_fonts(utf8, kRomanFont))
            back += pf::script_to_utf8(piece.bytes, pf::font_to_script(piece.font));
        EXPECT_EQ(back, utf8);
    }
}

// A letter no installed script spells, or a malformed byte, shows as "?" in
// the font; an empty text has no stretch.
TEST(UnicodeText, ALetterNoScriptSpellsIsAMark) {
    const auto pieces = pf::pieces_in_fonts("a\xF0\x9F\x98\x80" "b\xFF", kRomanFont);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].bytes, "a?b?");
    EXPECT_TRUE(pf::pieces_in_fonts("", kRomanFont).empty());
}

}  // namespace
