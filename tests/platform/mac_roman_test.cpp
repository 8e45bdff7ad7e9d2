#include "platform/text/mac_roman.h"

#include <gtest/gtest.h>

namespace {

TEST(MacRoman, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    EXPECT_EQ(pf::utf8_to_mac_roman(pf::mac_roman_to_utf8(all)), all);
}

TEST(MacRoman, KnownHighCharacters) {
    EXPECT_EQ(pf::mac_roman_to_utf8("\x80\xA5\xDB\xF0"), "\u00C4\u2022\u20AC\uF8FF");
    EXPECT_EQ(pf::utf8_to_mac_roman("caf\u00E9 \u2264 \u00A3"), "caf\x8E \xB2 \xA3");
}

TEST(MacRoman, UnspellableAndMalformedInputBecomeReplacement) {
    EXPECT_EQ(pf::utf8_to_mac_roman("a\u4E2Db"), "a?b");
    EXPECT_EQ(pf::utf8_to_mac_roman("a\xC0\xAF" "b"), "a??b");   // overlong slash
    EXPECT_EQ(pf::utf8_to_mac_roman("x\xE2\x82"), "x?");           // truncated at the end
    EXPECT_EQ(pf::utf8_to_mac_roman("\xED\xA0\x80", '_'), "_");     // lone surrogate
}

// Only well-formed UTF-8 decodes: lead bytes that begin no sequence, overlong
// forms, surrogates and code points past U+10FFFF are refused whatever follows.
TEST(MacRoman, OnlyWellFormedUtf8Decodes) {
    auto decodes = [](std::string_view bytes) {
        size_t i = 0;
        char32_t c = 0;
        const bool decoded = pf::decode_utf8(bytes, i, c);
        EXPECT_EQ(pf::is_utf8(bytes), decoded && i == bytes.size());
        return decoded;
    };
    for (int lead = 0xF5; lead <= 0xFF; ++lead)
        EXPECT_FALSE(decodes(std::string{char(lead), '\x80', '\x80'})) << lead;
    EXPECT_FALSE(decodes("\xFF\xBB\xBF")) << "no byte-order mark hides in Mac Roman bytes";
    EXPECT_FALSE(decodes("\xC1\xBF"));
    EXPECT_FALSE(decodes("\xE0\x9F\xBF"));
    EXPECT_FALSE(decodes("\xF0\x8F\xBF\xBF"));
    EXPECT_FALSE(decodes("\xED\xBF\xBF"));
    EXPECT_FALSE(decodes("\xF4\x90\x80\x80"));
    EXPECT_FALSE(decodes("\x80"));
    for (char32_t c : {char32_t(0x7F), char32_t(0x80), char32_t(0x7FF), char32_t(0xFFFD), char32_t(0x10000),
                       char32_t(0x10FFFF)}) {
        std::string bytes;
        pf::append_utf8(bytes, c);
        size_t i = 0;
        char32_t back = 0;
        EXPECT_TRUE(pf::decode_utf8(bytes, i, back) && back == c && i == bytes.size()) << unsigned(c);
    }
}

// Every scalar value comes back through its bytes, and a sequence cut short
// or broken by a byte that does not continue it decodes to nothing, taking
// the bytes before the break; the check of a whole text agrees.
TEST(MacRoman, EveryCharacterDecodesAndEveryBrokenSequenceIsRefused) {
    int wrong = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        std::string bytes;
        pf::append_utf8(bytes, c);
        size_t i = 0;
        char32_t back = 0;
        wrong += !(pf::decode_utf8(bytes, i, back) && back == c && i == bytes.size());
        wrong += !pf::is_utf8("text " + bytes + " text");
        for (size_t cut = 1; cut < bytes.size(); ++cut) {
            for (const std::string& broken : {bytes.substr(0, cut), bytes.substr(0, cut) + "a"}) {
                i = 0;
                wrong += pf::decode_utf8(broken, i, back) || i != cut;
                wrong += pf::is_utf8(broken + "0123456789");
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
