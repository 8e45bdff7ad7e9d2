#include "core/string_utils.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A 256-byte buffer holding the text as a length-prefixed string.
struct PStr {
    unsigned char b[256] = {};
    explicit PStr(const std::string& text = "") {
        b[0] = static_cast<unsigned char>(text.size());
        std::memcpy(b + 1, text.data(), text.size());
    }
    std::string text() const { return std::string(reinterpret_cast<const char*>(b + 1), b[0]); }
};

TEST(PStrings, DeleteCutsOrShiftsOrDoesNothing) {
    PStr s("abcdef");
    DeletePString(s.b, 3, 2);
    EXPECT_EQ(s.text(), "abef");
    PStr t("abcdef");
    DeletePString(t.b, 5, 9);
    EXPECT_EQ(t.text(), "abcd");
    PStr u("abc");
    DeletePString(u.b, 4, 1);
    DeletePString(u.b, 0, 1);
    DeletePString(u.b, 1, 0);
    EXPECT_EQ(u.text(), "abc");
    DeletePString(u.b, 1, 3);  // exactly to the end
    EXPECT_EQ(u.text(), "");
}

TEST(PStrings, CopyTakesWhatRemains) {
    PStr src("abcdef"), dest("junk");
    copy(src.b, dest.b, 5, 10);
    EXPECT_EQ(dest.text(), "ef");
    PStr abc("abc");
    copy(abc.b, dest.b, 4, 1);
    EXPECT_EQ(dest.text(), "");
    copy(abc.b, dest.b, 2, 0);
    EXPECT_EQ(dest.text(), "");
    copy(abc.b, dest.b, 0, 2);  // never reads the length byte as text
    EXPECT_EQ(dest.text(), "");
    copy(abc.b, abc.b, 2, 2);  // in place
    EXPECT_EQ(abc.text(), "bc");
}

TEST(PStrings, ConcatenationStopsAt255) {
    PStr full(std::string(250, 'x')), tail("123456789");
    ConcatPString(full.b, tail.b);
    EXPECT_EQ(full.text(), std::string(250, 'x') + "12345");
    AppendChar(full.b, '!');
    EXPECT_EQ(full.b[0], 255);
    EXPECT_EQ(full.text().back(), '5');
    PStr body(std::string(253, 'y')), prefix("<<<");
    FrontConcat(prefix.b, body.b);
    EXPECT_EQ(body.text(), "<<<" + std::string(252, 'y'));
    PStr small("cd"), ab("ab"), none;
    FrontConcat(ab.b, small.b);
    FrontConcat(none.b, small.b);
    AppendChar(small.b, 'e');
    EXPECT_EQ(small.text(), "abcde");
}

TEST(PStrings, TextConversionsStopAt255OrTheLimit) {
    PStr out;
    set_pstring(out.b, std::string(300, 'z'));
    EXPECT_EQ(out.text(), std::string(255, 'z'));
    set_pstring(out.b, "document.qrv", 8);
    EXPECT_EQ(out.text(), "document");
    EXPECT_EQ(pstring_text(out.b), "document");
    EXPECT_EQ(pstring_text(nullptr), "");
}

TEST(PStrings, PosAndCompare) {
    PStr s("hello");
    EXPECT_EQ(Pos(s.b, 'h'), 1);
    EXPECT_EQ(Pos(s.b, 'l'), 3);
    EXPECT_EQ(Pos(s.b, 'z'), 0);
    PStr ab("ab"), abc("abc"), abd("abd"), high("\xE9");
    EXPECT_LT(pstrcmp(ab.b, abc.b), 0);
    EXPECT_GT(pstrcmp(abd.b, abc.b), 0);
    EXPECT_EQ(pstrcmp(abc.b, abc.b), 0);
    EXPECT_GT(pstrcmp(high.b, abc.b), 0);  // bytes compare unsigned
}

// Comparing two full 255-byte texts writes nothing behind either buffer.
TEST(PStrings, CompareOfFullTextsWritesNothing) {
    unsigned char buffers[2][257];
    std::memset(buffers, 0xAA, sizeof buffers);
    buffers[0][0] = buffers[1][0] = 255;
    EXPECT_EQ(pstrcmp(buffers[0], buffers[1]), 0);
    EXPECT_EQ(buffers[0][256], 0xAA);
    EXPECT_EQ(buffers[1][256], 0xAA);
}

TEST(PStrings, ZeroTerminatedRoundTrip) {
    char c[300] = "plain text";
    mc2pstr(c);
    EXPECT_EQ(static_cast<unsigned char>(c[0]), 10);
    mp2cstr(reinterpret_cast<unsigned char*>(c));
    EXPECT_STREQ(c, "plain text");
    std::memset(c, 'q', 280);
    c[280] = 0;
    mc2pstr(c);
    EXPECT_EQ(static_cast<unsigned char>(c[0]), 255);
}

TEST(PStrings, NumbersAsText) {
    PStr s;
    EXPECT_EQ(Num_To_String(0, s.b), s.b);
    EXPECT_EQ(s.text(), "0");
    Num_To_String(-45, s.b);
    EXPECT_EQ(s.text(), "-45");
    Num_To_String(INT32_MIN, s.b);
    EXPECT_EQ(s.text(), "-2147483648");
}

TEST(PStrings, FiguresFillTheirPlaces) {
    EXPECT_EQ(fill_figures("^1 of ^0 (^2)", {"32000", "3"}), "3 of 32000 ()");
    EXPECT_EQ(fill_figures("a ^ b^", {"x"}), "a ^ b^");
}

TEST(PStrings, CharactersOfTwoByteText) {
    const unsigned char sjis[] = {'a', 0x82, 0xA0, 'b', 0x88, 0x9F};
    EXPECT_EQ(count_characters(sjis, 6, 1), 4);
    EXPECT_EQ(count_characters(sjis, 6, 0), 6);
    EXPECT_EQ(count_characters(sjis, 6, -1), 6);
    PStr s("abc");
    EXPECT_EQ(count_str_characters(s.b, 1), 3);
}

TEST(Blocks, CompareAndClear) {
    EXPECT_EQ(BlockCompare("abc", "abd", 2), 1);
    EXPECT_EQ(BlockCompare("abc", "abd", 3), 0);
    EXPECT_EQ(BlockCompare("x", "y", 0), 1);
    char bytes[4] = {1, 2, 3, 4};
    BlockClear(bytes, -1);
    BlockClear(bytes + 1, 2);
    EXPECT_EQ(std::memcmp(bytes, "\1\0\0\4", 4), 0);
}

TEST(Rects, SidesMovesAndHits) {
    pf::Rect r;
    Set_Rect(r, 10, 20, 30, 40);  // left, top, right, bottom
    EXPECT_EQ(r, (pf::Rect{20, 10, 40, 30}));
    Offset_Rect(r, 5, -5);
    EXPECT_EQ(r, (pf::Rect{15, 15, 35, 35}));
    Inset_Rect(r, 2, 3);
    EXPECT_EQ(r, (pf::Rect{18, 17, 32, 33}));
    pf::Point p;
    Set_Pt(p, 17, 18);
    EXPECT_EQ(p, (pf::Point{18, 17}));
    EXPECT_TRUE(Pt_In_Rect(p, r));  // left and top edges are inside
    Set_Pt(p, 33, 20);
    EXPECT_FALSE(Pt_In_Rect(p, r));  // right edge is outside
    Set_Pt(p, 20, 32);
    EXPECT_FALSE(Pt_In_Rect(p, r));  // bottom edge is outside
}

}  // namespace
