// Line layout: heights, breaks, the empty line after a final return, indents,
// justification, and offsets to points and back.
#include "platform/text/scripts.h"
#include "tests/styledtext/styled_text_fixture.h"

namespace {

using wetest::Instance;

int32_t line_height(WEReference we, int32_t line) {
    return WELines(we, 0)[line + 1].lineOrigin - WELines(we, 0)[line].lineOrigin;
}

TEST_F(Instance, AnEmptyTextHasOneLineOfTheDefaultStyle) {
    make();
    WERunAttributes attrs = WEStyles(we)[0].attrs;
    EXPECT_EQ(line_height(we, 0), attrs.runHeight);
    EXPECT_EQ(WEI(we).destRect[0].bottom - WEI(we).destRect[0].top, attrs.runHeight);
}

TEST_F(Instance, AFinalReturnAddsAnEmptyLineBelowTheText) {
    make();
    WESetAlignment(weCenter, we);
    set_text("one\r");
    EXPECT_EQ(WECountLines(we), 1);
    int32_t height = line_height(we, 0);
    EXPECT_EQ(WEI(we).destRect[0].bottom - WEI(we).destRect[0].top, 2 * height);
    LongPoint p;
    WEGetPoint(4, p, nullptr, we);
    EXPECT_EQ(p.v, 10 + height);
    EXPECT_EQ(p.h, 10 + 300 / 2);  // the caret at the centre of the empty line
}

TEST_F(Instance, AWordWiderThanTheLineBreaksInsideIt) {
    make(pf::Rect{10, 10, 190, 50});
    set_text("abcdefghijklmnopqrstuvwxyz");
    EXPECT_GT(WECountLines(we), 2);
    for (int32_t i = 0; i < WECountLines(we); ++i)
        EXPECT_GT(WELines(we, 0)[i + 1].lineStart, WELines(we, 0)[i].lineStart);
    expect_valid();
}

// Text of a double-byte script is measured by characters and never broken
// between the two bytes of one.
TEST_F(Instance, DoubleByteTextBreaksBetweenWholeCharacters) {
    make(pf::Rect{10, 10, 190, 50});  // 40 pixels: three 12-pixel characters
    set_text("\x93\x8C\x8B\x9E\x93\x8C\x8B\x9E\x93\x8C\x8B\x9E\x93\x8C");  // seven kanji
    WETextStyle japanese;
    japanese.tsFont = pf::script_font(pf::kScriptJapanese);
    japanese.tsSize = 12;
    select(0, 14);
    ASSERT_EQ(WESetStyle(weDoFont | weDoSize, japanese, we), pf::noErr);
    ASSERT_EQ(WECountLines(we), 3);
    EXPECT_EQ(WELines(we, 0)[1].lineStart, 6);
    EXPECT_EQ(WELines(we, 0)[2].lineStart, 12);
    LongPoint p;
    int16_t height = 0;
    WEGetPoint(4, p, &height, we);
    EXPECT_EQ(p.h, 10 + 24);
    expect_valid();
}

TEST_F(Instance, TypingThatPullsAWordUpReBreaksThePreviousLine) {
    make(pf::Rect{10, 10, 190, 100});
    set_text("aaaa bbbb cccc");
    int32_t lines = WECountLines(we);
    ASSERT_GT(lines, 1);
    // Deleting at the start of the second line lets its word join the first.
    int32_t second = WELines(we, 0)[1].lineStart;
    select(0, 5);
    WEKey(pf::kBackspaceChar, 0, we);
    EXPECT_LT(WELines(we, 0)[1].lineStart, second);
    expect_valid();
    // What incremental re-breaking left is what a full layout gives.
    std::vector<int32_t> starts;
    for (int32_t i = 0; i <= WECountLines(we); ++i) starts.push_back(WELines(we, 0)[i].lineStart);
    ASSERT_EQ(WECalText(we), pf::noErr);
    for (int32_t i = 0; i <= WECountLines(we); ++i) EXPECT_EQ(starts[size_t(i)], WELines(we, 0)[i].lineStart);
}

TEST_F(Instance, IndentFollowsTheAlignment) {
    EXPECT_EQ(_WECalcPenIndent(13, weCenter), 6);
    EXPECT_EQ(_WECalcPenIndent(13, weFlushRight), 13);
    EXPECT_EQ(_WECalcPenIndent(13, weFlushLeft), 0);
    EXPECT_EQ(_WECalcPenIndent(13, weJustify), 0);
}

TEST_F(Instance, FullJustificationStretchesAllButTheLastLineOfAParagraph) {
    make(pf::Rect{10, 10, 190, 150});
    WESetAlignment(weJustify, we);
    set_text("words to stretch across the line and more words\rshort");
    int32_t lines = WECountLines(we);
    ASSERT_GE(lines, 3);
    EXPECT_NE(WELines(we, 0)[0].lineJustAmount, 0);
    int32_t paragraph_end = WEOffsetToLine(47, we);
    EXPECT_EQ(WELines(we, 0)[paragraph_end].lineJustAmount, 0);
    EXPECT_EQ(WELines(we, 0)[lines - 1].lineJustAmount, 0);
    // A justified line ends at the right edge: its last character's end is there.
    int32_t end = WELines(we, 0)[1].lineStart;
    LongPoint p;
    WEGetPoint(pf::visible_length(std::string_view(WEText(we), size_t(end))), p, nullptr, we);
    EXPECT_EQ(p.h, 150);
}

TEST_F(Instance, PointsAndOffsetsRoundTripOnEveryLine) {
    make(pf::Rect{10, 10, 190, 120});
    set_text("mixed sizes of text\rwrapped over several lines of a narrow view");
    WETextStyle big;
    big.tsSize = 24;
    select(6, 11);
    ASSERT_EQ(WESetStyle(weDoSize, big, we), pf::noErr);
    for (int32_t offset : {0, 3, 7, 12, 20, 30, 44}) {
        LongPoint p;
        int16_t height = 0;
        WEGetPoint(offset, p, &height, we);
        p.v += height / 2;
        int8_t edge = 0;
        EXPECT_EQ(WEGetOffset(p, &edge, we), offset);
    }
    LongPoint above{0, 50};
    EXPECT_EQ(WEGetOffset(above, nullptr, we), 0);
}

TEST_F(Instance, ALineIsAsTallAsItsTallestRun) {
    make();
    set_text("small BIG small");
    WETextStyle big;
    big.tsSize = 30;
    select(6, 9);
    ASSERT_EQ(WESetStyle(weDoSize, big, we), pf::noErr);
    WERunInfo info = run_at(7);
    EXPECT_EQ(WELines(we, 0)[0].lineAscent, info.runAttrs.runAscent);
    EXPECT_GE(line_height(we, 0), info.runAttrs.runHeight);
}

TEST_F(Instance, HeightsBetweenLinesArePinnedAndOrdered) {
    make(pf::Rect{10, 10, 190, 60});
    set_text("several short words over lines");
    int32_t all = WEGetHeight(0, WECountLines(we), we);
    EXPECT_EQ(WEGetHeight(WECountLines(we) + 5, -3, we), all);
}

}  // namespace
