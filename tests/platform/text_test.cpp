#include "platform/text/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string roman(const char* utf8) { return pf::utf8_to_mac_roman(utf8); }

// ---- Case ------------------------------------------------------------------

TEST(TextCase, EveryPairMapsBothWaysAndOthersStay) {
    const int pairs[][2] = {{135, 231}, {138, 128}, {150, 132}, {153, 239}, {159, 134},
                            {190, 174}, {191, 175}, {207, 206}, {216, 217}, {'q', 'Q'}};
    for (const auto& p : pairs) {
        EXPECT_EQ(pf::to_upper_mac_roman(p[0]), p[1]) << p[0];
        EXPECT_EQ(pf::to_lower_mac_roman(p[1]), p[0]) << p[1];
        EXPECT_EQ(pf::to_upper_mac_roman(p[1]), p[1]);
        EXPECT_EQ(pf::to_lower_mac_roman(p[0]), p[0]);
    }
    for (int unchanged : {0xA7 /* ß */, 0xB5 /* µ */, 0xF5 /* ı */, 0xDE /* ﬁ */, int('1'), int('[')})
        EXPECT_EQ(pf::to_upper_mac_roman(unchanged), unchanged);
}

TEST(TextCase, CaseMappingAgreesWithUnicodeForEveryByte) {
    for (int c = 0; c < 256; ++c) {
        unsigned char upper = pf::to_upper_mac_roman(c);
        if (upper == c) continue;
        char32_t u = pf::mac_roman_to_unicode(c), U = pf::mac_roman_to_unicode(upper);
        // Latin-1 and Latin Extended-A pairs differ by 0x20 or by one (Œ, Ÿ).
        bool latin_pair = u - U == 0x20 || u - U == 1 || (u == 0xFF && U == 0x178);
        EXPECT_TRUE(latin_pair) << c;
    }
}

TEST(TextCase, WholeTextsAndDiacritics) {
    std::string s = roman("Café Œuvre ß");
    pf::uppercase_text(s.data(), int32_t(s.size()));
    EXPECT_EQ(s, roman("CAFÉ ŒUVRE ß"));
    pf::lowercase_text(s.data(), int32_t(s.size()));
    EXPECT_EQ(s, roman("café œuvre ß"));
    EXPECT_EQ(pf::strip_diacritic(roman("é")[0] & 0xFF), 'e');
    EXPECT_EQ(pf::strip_diacritic(roman("Ø")[0] & 0xFF), 'O');
    EXPECT_EQ(pf::strip_diacritic(roman("æ")[0] & 0xFF), roman("æ")[0] & 0xFF);  // a ligature stays
}

// ---- Comparison ------------------------------------------------------------

TEST(TextCompare, SortOrderTable) {
    // Each text sorts strictly before the next.
    std::vector<std::string> ordered = {
        "",      " x",    "!",     "1",     "10",    "2",         "A",
        "a",     roman("Á"), roman("á"), roman("ä"), "ab", "abc", "ae",
        roman("Æ"), roman("æ"), "b",     "Straat", "STRASSE", "strasse", roman("straße"),
        "z",     roman("•")};
    for (size_t i = 0; i + 1 < ordered.size(); ++i) {
        EXPECT_EQ(pf::compare_text(ordered[i], ordered[i + 1]), -1) << i;
        EXPECT_EQ(pf::compare_text(ordered[i + 1], ordered[i]), 1) << i;
    }
    std::vector<std::string> shuffled(ordered.rbegin(), ordered.rend());
    std::sort(shuffled.begin(), shuffled.end(),
              [](const std::string& a, const std::string& b) { return pf::compare_text(a, b) < 0; });
    EXPECT_EQ(shuffled, ordered);
}

TEST(TextCompare, SensitivityTable) {
    struct Case {
        const char* a;
        const char* b;
        bool exact, ignore_case, ignore_marks, ignore_both;
    };
    const Case cases[] = {
        {"Résumé", "Résumé", true, true, true, true},
        {"Résumé", "résumé", false, true, false, true},
        {"Résumé", "Resume", false, false, true, true},
        {"Résumé", "RESUME", false, false, false, true},
        {"Straße", "STRASSE", false, false, false, true},
        {"Œuvre", "oeuvre", false, false, false, true},
        {"Sheet1", "Sheet 1", false, false, false, false},
        {"abc", "abcd", false, false, false, false},
    };
    for (const Case& c : cases) {
        std::string a = roman(c.a), b = roman(c.b);
        EXPECT_EQ(pf::equal_text(a, b, true, true), c.exact) << c.a << " " << c.b;
        EXPECT_EQ(pf::equal_text(a, b, false, true), c.ignore_case) << c.a << " " << c.b;
        EXPECT_EQ(pf::equal_text(a, b, true, false), c.ignore_marks) << c.a << " " << c.b;
        EXPECT_EQ(pf::equal_text(a, b, false, false), c.ignore_both) << c.a << " " << c.b;
    }
}

TEST(TextCompare, LengthPrefixedStrings) {
    const unsigned char a[] = {3, 'a', 'b', 'c'};
    const unsigned char b[] = {3, 'A', 'B', 'C', 'X'};  // the byte past the length is ignored
    EXPECT_TRUE(pf::equal_pstring(a, b, false, false));
    EXPECT_FALSE(pf::equal_pstring(a, b, true, false));
    EXPECT_EQ(pf::compare_pstring(b, a), -1);
    EXPECT_EQ(pf::compare_pstring(a, b, pf::kIgnoreCaseAndMarks), 0);
}

// ---- Encodings -------------------------------------------------------------

TEST(TextEncodings, Utf16RoundTripsAndReplacesTheUnspellable) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    EXPECT_EQ(pf::utf16_to_mac_roman(pf::mac_roman_to_utf16(all)), all);
    EXPECT_EQ(pf::mac_roman_to_utf16(roman("é€")), u"é€");
    EXPECT_EQ(pf::utf16_to_mac_roman(u"a\U0001F600b\xD800" u"c"), "a?b?c");
}

TEST(TextEncodings, ShiftJisBothWays) {
    std::string sjis, utf8;
    ASSERT_TRUE(pf::utf8_to_shift_jis("年月日 C:\\x", sjis));
    EXPECT_EQ(sjis, "\x94\x4E\x8C\x8E\x93\xFA C:\\x");
    ASSERT_TRUE(pf::shift_jis_to_utf8(sjis, utf8));
    EXPECT_EQ(utf8, "年月日 C:\\x");
    EXPECT_FALSE(pf::shift_jis_to_utf8("\x94", utf8));  // a lead byte without its second byte
    EXPECT_TRUE(utf8.empty());
    EXPECT_FALSE(pf::utf8_to_shift_jis("\u00E9", sjis));
}

TEST(TextEncodings, GeneralConversionRefusesUnknownEncodings) {
    std::string out;
    EXPECT_TRUE(pf::convert_encoding(std::string("\xFF\xFE" "a\0", 4), "UTF-16", "UTF-8", out));
    EXPECT_EQ(out, "a");
    EXPECT_FALSE(pf::convert_encoding("a", "NO-SUCH-ENCODING", "UTF-8", out));
    EXPECT_TRUE(pf::convert_encoding("", "UTF-8", "UTF-16LE", out));
    EXPECT_TRUE(out.empty());
}

// Converters are kept between conversions, each starting afresh: a
// conversion that failed halfway or read a byte-order mark changes none after.
TEST(TextEncodings, EachConversionStartsAfreshWhateverTheOneBefore) {
    std::string first, again, ignored;
    ASSERT_TRUE(pf::convert_encoding(std::string("\0c", 2), "UTF-16", "UTF-8", first));
    ASSERT_TRUE(pf::convert_encoding(std::string("\xFE\xFF\0b", 4), "UTF-16", "UTF-8", ignored));
    ASSERT_TRUE(pf::convert_encoding(std::string("\0c", 2), "UTF-16", "UTF-8", again));
    EXPECT_EQ(again, first);
    EXPECT_FALSE(pf::convert_encoding("\x82", "CP932", "UTF-8", ignored));  // a pair cut short
    ASSERT_TRUE(pf::convert_encoding("\x82\xA0", "CP932", "UTF-8", again));
    EXPECT_EQ(again, "あ");
    EXPECT_FALSE(pf::convert_encoding("a\xFF", "UTF-8", "UTF-16LE", ignored));
    ASSERT_TRUE(pf::convert_encoding("b", "UTF-8", "UTF-16LE", again));
    EXPECT_EQ(again, std::string("b\0", 2));
}

// ---- Types -----------------------------------------------------------------

TEST(TextTypes, CharacterTypesOfRomanText) {
    std::string s = roman("aÉ5 $.é") + "\xCA";
    auto type = [&](int i) { return pf::character_type(s.data(), i, pf::kScriptRoman); };
    EXPECT_EQ(type(0), pf::kCharAscii);
    EXPECT_EQ(type(1), pf::kCharEuro | pf::kCharUpper);
    EXPECT_EQ(type(2), pf::kCharPunct | pf::kPunctNumber);
    EXPECT_EQ(type(3), pf::kPunctBlank);
    EXPECT_EQ(type(4), pf::kPunctSymbol);
    EXPECT_EQ(type(5), pf::kPunctNormal);
    EXPECT_EQ(type(6), pf::kCharEuro);
    EXPECT_EQ(type(7), pf::kPunctBlank);  // no-break space
    EXPECT_EQ(pf::font_to_script(4), pf::kScriptRoman);
}

TEST(TextTypes, KeyboardSwitchesOnlyToEnabledScripts) {
    EXPECT_TRUE(pf::script_enabled(pf::kScriptRoman));
    EXPECT_TRUE(pf::script_enabled(pf::kScriptJapanese));
    EXPECT_FALSE(pf::script_enabled(4));  // Arabic
    pf::set_keyboard_script(4);
    EXPECT_EQ(pf::keyboard_script(), pf::kScriptRoman);
    pf::set_keyboard_script(pf::kScriptJapanese);
    EXPECT_EQ(pf::keyboard_script(), pf::kScriptJapanese);
    pf::set_keyboard_script(pf::kScriptRoman);
}

TEST(TextTypes, ByteTypesOfShiftJis) {
    const char* text = "a\x94\x4E" "b\x8C\x8E";
    const int16_t expected[] = {0, -1, 1, 0, -1, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(pf::character_byte_type(text, i, pf::kScriptJapanese), expected[i]) << i;
    EXPECT_EQ(pf::character_byte_type(text, 1, pf::kScriptRoman), 0);
    EXPECT_EQ(pf::character_type(text, 2, pf::kScriptJapanese), pf::kCharDoubleByte);
}

// ---- Word breaks -----------------------------------------------------------

struct WordCase {
    int offset;
    bool leading;
    int start, end;
};

TEST(TextWords, WordsBlanksAndPunctuation) {
    const std::string text = "don't  stop, 3.5x";
    const WordCase cases[] = {
        {0, true, 0, 5},    {3, true, 0, 5},   {5, true, 5, 7},    {5, false, 0, 5},
        {6, true, 5, 7},    {7, true, 7, 11},  {11, true, 11, 12}, {13, true, 13, 17},
        {17, false, 13, 17}, {17, true, 13, 17},
    };
    for (const WordCase& c : cases) {
        pf::WordRange w = pf::find_word_breaks(text.data(), int32_t(text.size()), c.offset, c.leading, pf::kScriptRoman);
        EXPECT_EQ(w.start, c.start) << c.offset;
        EXPECT_EQ(w.end, c.end) << c.offset;
    }
    pf::WordRange empty = pf::find_word_breaks("", 0, 0, true, pf::kScriptRoman);
    EXPECT_EQ(empty.start, 0);
    EXPECT_EQ(empty.end, 0);
}

TEST(TextWords, AccentedLettersAndTwoByteCharacters) {
    std::string text = roman("élan vital");
    pf::WordRange w = pf::find_word_breaks(text.data(), int32_t(text.size()), 2, true, pf::kScriptRoman);
    EXPECT_EQ(w.start, 0);
    EXPECT_EQ(w.end, 4);
    const char* jp = "ab\x94\x4E\x8C\x8E";
    w = pf::find_word_breaks(jp, 6, 3, true, pf::kScriptJapanese);
    EXPECT_EQ(w.start, 2);
    EXPECT_EQ(w.end, 4);
}

// ---- Line breaks -----------------------------------------------------------

constexpr int32_t kFixedOne = 0x10000;

// Every character is one unit wide.
int32_t unit_width(const char*, int32_t length, void*) { return length * kFixedOne; }

struct LineResult {
    pf::LineBreak answer;
    int32_t offset;
    int32_t budget_left;
};

LineResult break_line(const char* text, int32_t start, int32_t end, int columns, bool begins_line) {
    int32_t budget = columns * kFixedOne;
    int32_t offset = begins_line ? 1 : 0;
    pf::LineBreak answer = pf::styled_line_break(text, start, end, budget, offset, unit_width, nullptr);
    return {answer, offset, budget / kFixedOne};
}

TEST(TextLines, BreaksAfterWholeWordsWithHangingBlanks) {
    const char* text = "the quick  brown fox";
    LineResult r = break_line(text, 0, 20, 11, true);  // "the quick  " fits with its blanks hanging
    EXPECT_EQ(r.answer, pf::LineBreak::word);
    EXPECT_EQ(r.offset, 11);
    r = break_line(text, 0, 20, 9, true);  // the blanks after "quick" hang past the edge
    EXPECT_EQ(r.offset, 11);
    EXPECT_EQ(r.budget_left, -2);
    r = break_line(text, 0, 20, 40, true);
    EXPECT_EQ(r.answer, pf::LineBreak::overflow);
    EXPECT_EQ(r.offset, 20);
    EXPECT_EQ(r.budget_left, 20);
}

TEST(TextLines, ReturnOrLineFeedEndsTheLine) {
    LineResult r = break_line("ab\rcd", 0, 5, 40, true);
    EXPECT_EQ(r.answer, pf::LineBreak::word);
    EXPECT_EQ(r.offset, 3);
    r = break_line("ab\ncd", 0, 5, 40, true);
    EXPECT_EQ(r.answer, pf::LineBreak::word);
    EXPECT_EQ(r.offset, 3);
    r = break_line("ab\r\ncd", 0, 6, 40, true);  // one line end, not an empty line after it
    EXPECT_EQ(r.answer, pf::LineBreak::word);
    EXPECT_EQ(r.offset, 4);
    r = break_line("ab cd\nef", 0, 8, 4, true);  // a word that does not fit still breaks before the feed
    EXPECT_EQ(r.offset, 3);
}

TEST(TextLines, LongFirstWordBreaksBetweenCharacters) {
    LineResult r = break_line("abcdefgh ij", 0, 11, 5, true);
    EXPECT_EQ(r.answer, pf::LineBreak::character);
    EXPECT_EQ(r.offset, 5);
    r = break_line("abcdefgh", 0, 8, 0, true);  // at least one character on a line
    EXPECT_EQ(r.offset, 1);
    r = break_line("abcdefgh", 0, 8, 5, false);  // not at the line's start: the word moves down
    EXPECT_EQ(r.answer, pf::LineBreak::word);
    EXPECT_EQ(r.offset, 0);
}

TEST(TextLines, WordContinuingFromAnEarlierRunMovesWhole) {
    // Run one "say hel" fitted; "lo" of run two does not: break before "hello".
    const char* text = "say hello there";
    LineResult r = break_line(text, 7, 15, 1, true);
    EXPECT_EQ(r.answer, pf::LineBreak::word);
    EXPECT_EQ(r.offset, 4);
}

}  // namespace
