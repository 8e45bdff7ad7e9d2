#include "formula/functions_text.h"

#include <algorithm>
#include <random>

#include "function_test_support.h"
#include "platform/text/text.h"

namespace {

constexpr int16_t kRoman = pf::kScriptRoman;
constexpr int16_t kJapanese = pf::kScriptJapanese;
// Two double-byte characters in Shift_JIS: JIS 0x2422 and 0x2424.
const std::string kKana = "\x82\xA0\x82\xA2";

using TakeSpan = void (*)(const unsigned char*, int32_t, unsigned char*, int16_t);

// The span `take` answers for `text`, as a string.
std::string span(TakeSpan take, const std::string& text, int32_t n, int16_t script) {
    TextBuffer out;
    take(PText(text), n, out, script);
    return as_string(out);
}
std::string left_b(const std::string& text, int32_t n, int16_t script = kRoman) {
    return span(left_bytes, text, n, script);
}
std::string left_c(const std::string& text, int32_t n, int16_t script = kRoman) {
    return span(left_characters, text, n, script);
}
std::string right_b(const std::string& text, int32_t n, int16_t script = kRoman) {
    return span(right_bytes, text, n, script);
}
std::string right_c(const std::string& text, int32_t n, int16_t script = kRoman) {
    return span(right_characters, text, n, script);
}
std::string mid_b(const std::string& text, int32_t start, int32_t n, int16_t script = kRoman) {
    TextBuffer out;
    middle_bytes(PText(text), start, n, out, script);
    return as_string(out);
}
std::string mid_c(const std::string& text, int32_t start, int32_t n, int16_t script = kRoman) {
    TextBuffer out;
    middle_characters(PText(text), start, n, out, script);
    return as_string(out);
}

TEST(TextSpans, SingleByteText) {
    EXPECT_EQ(left_b("abcdef", 2), "ab");
    EXPECT_EQ(left_b("abc", 10), "abc");
    EXPECT_EQ(left_b("abc", 0), "");
    EXPECT_EQ(left_c("abcdef", 4), "abcd");
    EXPECT_EQ(right_b("abcdef", 2), "ef");
    EXPECT_EQ(right_b("abc", 1000000), "abc");
    EXPECT_EQ(right_c("abcdef", 3), "def");
    EXPECT_EQ(mid_b("abcdef", 3, 1), "c");
    EXPECT_EQ(mid_b("abcdef", 5, 100), "ef");
    EXPECT_EQ(mid_b("abcdef", 7, 1), "");
    EXPECT_EQ(mid_c("abcdef", 2, 3), "bcd");
    EXPECT_EQ(mid_c("abcdef", 2000000000, 2000000000), "");
}

TEST(TextSpans, DoubleByteCharactersAreNeverSplit) {
    EXPECT_EQ(text_characters(PText(kKana), kJapanese), 2);
    EXPECT_EQ(text_characters(PText(kKana), kRoman), 4);
    EXPECT_EQ(left_b(kKana, 1, kJapanese), "");
    EXPECT_EQ(left_b(kKana, 3, kJapanese), kKana.substr(0, 2));
    EXPECT_EQ(left_c(kKana, 1, kJapanese), kKana.substr(0, 2));
    EXPECT_EQ(right_b(kKana, 1, kJapanese), "");
    EXPECT_EQ(right_b(kKana, 3, kJapanese), kKana.substr(2));
    EXPECT_EQ(right_c(kKana, 1, kJapanese), kKana.substr(2));
    EXPECT_EQ(mid_b(kKana, 2, 2, kJapanese), "");             // starts on a second byte
    EXPECT_EQ(mid_b(kKana, 2, 3, kJapanese), kKana.substr(2));
    EXPECT_EQ(mid_b("a" + kKana, 1, 2, kJapanese), "a");      // would end inside a character
    EXPECT_EQ(mid_c("a" + kKana, 2, 1, kJapanese), kKana.substr(0, 2));
}

TEST(FindText, BytesAndCharacters) {
    EXPECT_EQ(FindTextB(PText("B"), PText("abc"), 1, true), 2);
    EXPECT_EQ(FindTextB(PText("B"), PText("abc"), 1, false), 0);
    EXPECT_EQ(FindTextB(PText("a"), PText("banana"), 3, false), 4);
    EXPECT_EQ(FindTextB(PText("a"), PText("banana"), 7, false), 0);
    EXPECT_EQ(FindTextB(PText(""), PText("abc"), 2, false), 2);
    EXPECT_EQ(FindTextB(PText("abcd"), PText("abc"), 1, false), 0);
    EXPECT_EQ(find_characters(PText("x"), PText(kKana + "x"), 1, false, kJapanese), 3);
    EXPECT_EQ(find_characters(PText("x"), PText(kKana + "x"), 3, false, kJapanese), 3);
    EXPECT_EQ(find_characters(PText("x"), PText(kKana + "x"), 5, false, kJapanese), 0);
    // "\xA0\x82" spans two characters' halves: not a match in characters.
    EXPECT_EQ(find_characters(PText("\xA0\x82"), PText(kKana), 1, false, kJapanese), 0);
    EXPECT_EQ(FindTextB(PText("\xA0\x82"), PText(kKana), 1, false), 2);
}

std::string substitute(const std::string& text, const std::string& old_text, const std::string& new_text,
                       int32_t instance) {
    TextBuffer out;
    substitute_text(PText(text), PText(old_text), PText(new_text), instance, out);
    return as_string(out);
}

TEST(Substitute, EveryOrOneOccurrence) {
    EXPECT_EQ(substitute("banana", "a", "xy", 0), "bxynxynxy");
    EXPECT_EQ(substitute("banana", "a", "xy", 2), "banxyna");
    EXPECT_EQ(substitute("banana", "a", "xy", 4), "banana");
    EXPECT_EQ(substitute("banana", "na", "", 0), "ba");
    EXPECT_EQ(substitute("aaa", "a", "aa", 0), "aaaaaa");  // the new text is not searched again
    EXPECT_EQ(substitute("banana", "", "x", 0), "banana");  // an empty old text changes nothing
    EXPECT_EQ(substitute(std::string(200, 'a'), "a", "bb", 0), std::string(255, 'b'));
}

TEST(Repeat, StopsBefore255Bytes) {
    TextBuffer out;
    repeat_text(PText(std::string(100, 'x')), 3, out);
    EXPECT_EQ(out[0], 200);
    repeat_text(PText("ab"), 2000000000, out);
    EXPECT_EQ(out[0], 254);
    repeat_text(PText(""), 2000000000, out);
    EXPECT_EQ(out[0], 0);
    repeat_text(PText("ab"), 0, out);
    EXPECT_EQ(out[0], 0);
}

TEST(TrimAndClean, SpacesAndControlCharacters) {
    TextBuffer out;
    trim_spaces(PText("  a   b  "), out);
    EXPECT_EQ(as_string(out), "a b ");
    trim_spaces(PText("    "), out);
    EXPECT_EQ(as_string(out), "");
    drop_control_characters(PText("a\tb\rc\x1f" "d"), out);
    EXPECT_EQ(as_string(out), "abcd");
}

TEST(Capitalise, FirstLetterOfEachWord) {
    TextBuffer out;
    capitalise_words(PText("hello wORLD-again o'neil 2nd \x8E" "cole"), out, kRoman);
    EXPECT_EQ(as_string(out), "Hello WORLD-Again O'neil 2nd \x83" "cole");
    capitalise_words(PText(""), out, kRoman);
    EXPECT_EQ(out[0], 0);
}

std::string replace(const std::string& text, double start, double count, const std::string& insert,
                    bool characters = false, int16_t script = kRoman) {
    TextBuffer out;
    int16_t code = characters ? replace_characters(PText(text), start, count, PText(insert), out, script)
                              : replace_bytes(PText(text), start, count, PText(insert), out);
    return code ? "#" + std::to_string(code) : as_string(out);
}

TEST(Replace, SpansInBytesAndCharacters) {
    EXPECT_EQ(replace("abcdef", 2, 3, "XY"), "aXYef");
    EXPECT_EQ(replace("abcdef", 2.5, 1.5, "X"), "abXef");  // rounded half away from zero
    EXPECT_EQ(replace("abcdef", 1, 0, "X"), "Xabcdef");
    EXPECT_EQ(replace("abc", 10, 2, "X"), "abcX");
    EXPECT_EQ(replace("abc", 2, 1e12, "X"), "aX");
    EXPECT_EQ(replace("abc", 0, 1, "X"), "#21");  // a start below 1
    EXPECT_EQ(replace("abc", -5, 1, "X"), "#21");
    EXPECT_EQ(replace("abc", 1, -1, "X"), "#21");
    EXPECT_EQ(replace("a" + kKana, 2, 1, "X", true, kJapanese), "aX" + kKana.substr(2));
    EXPECT_EQ(replace("a" + kKana, 3, 5, "X", true, kJapanese), "a" + kKana.substr(0, 2) + "X");
}

TEST(CharacterCodes, BytesAndJisCodes) {
    double code = 0;
    EXPECT_EQ(character_code(PText("A"), kRoman, &code), 0);
    EXPECT_EQ(code, 65);
    EXPECT_EQ(character_code(PText(""), kRoman, &code), kTValue);
    EXPECT_EQ(character_code(PText("\x81\x40"), kJapanese, &code), 0);
    EXPECT_EQ(code, 0x2121);
    EXPECT_EQ(character_code(PText("\x88\x9F"), kJapanese, &code), 0);
    EXPECT_EQ(code, 0x3021);
    EXPECT_EQ(character_code(PText("\xE0\x40"), kJapanese, &code), 0);
    EXPECT_EQ(code, 0x5F21);
    EXPECT_EQ(character_code(PText("\x88"), kJapanese, &code), 0);  // a lone first byte
    EXPECT_EQ(code, 32);

    TextBuffer out;
    EXPECT_EQ(character_of_code(65, out), 0);
    EXPECT_EQ(as_string(out), "A");
    EXPECT_EQ(character_of_code(300, out), kValue);
    EXPECT_EQ(character_of_code(0, out), kValue);
    EXPECT_EQ(character_of_code(0x7F7F, out), kValue);
    EXPECT_EQ(character_of_code(1e300, out), kValue);
    for (int jis : {0x2121, 0x2160, 0x3021, 0x5E7E, 0x5F21, 0x7E7E}) {
        ASSERT_EQ(character_of_code(jis, out), 0);
        EXPECT_EQ(character_code(out, kJapanese, &code), 0);
        EXPECT_EQ(code, jis);
    }
}

TEST(Exact, SameBytesOnly) {
    EXPECT_TRUE(texts_exact(PText("abc"), PText("abc")));
    EXPECT_FALSE(texts_exact(PText("abc"), PText("ABC")));
    EXPECT_FALSE(texts_exact(PText("abc"), PText("abc ")));
}

}  // namespace

namespace {

// Random mixes of single bytes and two-byte characters (some texts ending in
// a lone first byte): the character forms split and join them exactly, and
// no byte form starts or ends inside a character.
TEST(TextSpans, RandomDoubleByteTextsSplitOnCharacters) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        int length = std::uniform_int_distribution<int>(0, 250)(random);
        while (int(text.size()) < length) {
            if (random() % 3 == 0) {
                text += char(0x81 + random() % 0x1F);
                if (int(text.size()) < length) text += char(0x40 + random() % 0xBC);
            } else {
                text += char(0x20 + random() % 0x5F);
            }
        }
        PText p(text);
        int32_t characters = text_characters(p, kJapanese);
        for (int32_t n : {0, 1, characters / 2, characters - 1, characters, characters + 3}) {
            if (n < 0) continue;
            TextBuffer left, right;
            left_characters(p, n, left, kJapanese);
            right_characters(p, std::max(0, characters - n), right, kJapanese);
            ASSERT_EQ(as_string(left) + as_string(right), text) << n;
            EXPECT_EQ(text_characters(left, kJapanese), std::min(n, characters));
        }
        for (int32_t start = 1; start <= int32_t(text.size()) + 1; start += 7) {
            TextBuffer middle;
            middle_bytes(p, start, 5, middle, kJapanese);
            if (middle[0] == 0) continue;
            int32_t at = int32_t(text.find(as_string(middle), start - 1));
            ASSERT_GE(at, 0);
            EXPECT_NE(pf::character_byte_type(text.data(), at, kJapanese), 1);
            int32_t after = at + middle[0];
            if (after < int32_t(text.size())) EXPECT_NE(pf::character_byte_type(text.data(), after, kJapanese), 1);
        }
    }
}

}  // namespace
