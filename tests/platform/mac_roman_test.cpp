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

}  // namespace
