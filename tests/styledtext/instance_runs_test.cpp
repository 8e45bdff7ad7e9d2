// The instance and its style runs: a new instance, run splitting and merging with
// exact reference counts, face toggling, size rules, selectors and feature bits.
#include "tests/styledtext/styled_text_fixture.h"

namespace {

using wetest::Instance;
using wetest::RunView;

TEST_F(Instance, NewInstanceHoldsOneEmptyLineOneRunAndTheSentinel) {
    make();
    EXPECT_EQ(WEGetTextLength(we), 0);
    EXPECT_EQ(WECountLines(we), 1);
    EXPECT_EQ(WELines(we, 0)[0].lineOrigin, 0);
    EXPECT_GT(WELines(we, 0)[1].lineOrigin, 0);  // the sentinel holds the default style's height
    EXPECT_EQ(WEI(we).runCount, 1);
    EXPECT_EQ(WERuns(we)[0].runStart, 0);
    EXPECT_EQ(WERuns(we)[1].runStart, 1);
    EXPECT_EQ(WERuns(we)[1].styleIndex, -1);
    EXPECT_EQ(WEI(we).inputAreaStart, -1);
    expect_valid();
}

TEST_F(Instance, BoldInTheMiddleSplitsAndPlainMergesLeavingAReusableEntry) {
    make();
    set_text("plain bold plain");
    set_face(6, 10, pf::kBold);
    expect_valid();
    ASSERT_EQ(WEI(we).runCount, 3);
    EXPECT_EQ(wetest::runs_of(we)[1], (RunView{6, pf::kGenevaFont, pf::kBold, 12}));
    int32_t bold_entry = WERuns(we)[1].styleIndex;

    set_face(6, 10, 0);
    expect_valid();
    EXPECT_EQ(WEI(we).runCount, 1);
    EXPECT_EQ(WEStyles(we)[bold_entry].refCount, 0);

    // The next new style takes the unused entry instead of growing the table.
    int32_t count = WEI(we).styleCount;
    set_face(0, 5, pf::kItalic);
    EXPECT_EQ(WEI(we).styleCount, count);
    EXPECT_EQ(WERuns(we)[0].styleIndex, bold_entry);
    expect_valid();
}

TEST_F(Instance, ToggleRemovesAFaceHeldThroughoutAndAddsOneHeldInPart) {
    make();
    set_text("abcdefgh");
    set_face(0, 8, pf::kItalic);
    WETextStyle italic;
    italic.tsFace = pf::kItalic;
    select(0, 8);
    ASSERT_EQ(WESetStyle(weDoFace | weDoToggleFace, italic, we), pf::noErr);
    EXPECT_EQ(wetest::runs_of(we)[0].face, 0);

    set_face(2, 4, pf::kItalic);
    select(0, 8);
    ASSERT_EQ(WESetStyle(weDoFace | weDoToggleFace, italic, we), pf::noErr);
    ASSERT_EQ(WEI(we).runCount, 1);
    EXPECT_EQ(wetest::runs_of(we)[0].face, pf::kItalic);
    expect_valid();
}

TEST_F(Instance, SizesBelowTwoBecomeTwelveAndAddedSizesStopAtOne) {
    WETextStyle dest;
    dest.tsSize = 18;
    WETextStyle given;
    given.tsSize = 1;
    _WECopyStyle(given, dest, 0, weDoSize);
    EXPECT_EQ(dest.tsSize, 12);
    given.tsSize = 0;
    dest.tsSize = 18;
    _WECopyStyle(given, dest, 0, weDoSize);
    EXPECT_EQ(dest.tsSize, 12);
    given.tsSize = -100;
    _WECopyStyle(given, dest, 0, weDoAddSize);
    EXPECT_EQ(dest.tsSize, 1);
}

TEST_F(Instance, CondensedAndExtendedExcludeEachOther) {
    WETextStyle dest;
    dest.tsFace = pf::kCondense | pf::kBold;
    WETextStyle given;
    given.tsFace = pf::kExtend;
    _WECopyStyle(given, dest, 0, weDoFace);
    EXPECT_EQ(dest.tsFace, pf::kExtend | pf::kBold);
}

TEST_F(Instance, SelectorsReachTheirFieldsAndUnknownOnesAreRefused) {
    make();
    uint32_t value = 0xDEADBEEF;
    EXPECT_EQ(WEGetInfo(pf::four_cc("wxyz"), &value, we), pf::kParamErr);
    EXPECT_EQ(value, 0xDEADBEEFu);
    uint32_t refcon = 77;
    EXPECT_EQ(WESetInfo(pf::four_cc("refc"), &refcon, we), pf::noErr);
    EXPECT_EQ(WEI(we).refCon, 77u);
    pf::Handle text = nullptr;
    EXPECT_EQ(WEGetInfo(pf::four_cc("text"), &text, we), pf::noErr);
    EXPECT_EQ(text, WEI(we).hText);
}

TEST_F(Instance, FeatureFlagTestsWithoutChanging) {
    make();
    EXPECT_EQ(WEFeatureFlag(weFeatureUndo, weBitTest, we), 1);
    EXPECT_TRUE(WEI(we).flags & weFUndo);
    EXPECT_EQ(WEFeatureFlag(weFeatureUndo, weBitClear, we), 1);
    EXPECT_EQ(WEFeatureFlag(weFeatureUndo, weBitTest, we), 0);
}

TEST_F(Instance, ContinuousStyleReportsWhatTheWholeSelectionShares) {
    make();
    set_text("one two");
    set_face(0, 3, pf::kBold | pf::kItalic);
    set_face(3, 7, pf::kBold);
    select(0, 7);
    uint16_t mode = weDoFont | weDoFace | weDoSize;
    WETextStyle ts;
    EXPECT_TRUE(WEContinuousStyle(&mode, ts, we));
    EXPECT_EQ(ts.tsFace, pf::kBold);
    WETextStyle big;
    big.tsSize = 24;
    select(4, 7);
    ASSERT_EQ(WESetStyle(weDoSize, big, we), pf::noErr);
    select(0, 7);
    mode = weDoSize;
    EXPECT_FALSE(WEContinuousStyle(&mode, ts, we));
    EXPECT_EQ(mode, 0);
}

TEST_F(Instance, UsingAShorterTextKeepsTheTablesWithinIt) {
    make();
    set_text("abcdef ghijkl");
    set_face(8, 12, pf::kBold);
    pf::Handle shorter = pf::ptr_to_hand("abc", 3);
    ASSERT_EQ(WEUseText(shorter, we), pf::noErr);
    ASSERT_EQ(WECalText(we), pf::noErr);
    EXPECT_EQ(wetest::text_of(we), "abc");
    expect_valid();
}

TEST_F(Instance, SecondViewIsLaidOutInItsOwnWidth) {
    make();
    set_text("a few words that wrap in a narrow second view");
    LongRect narrow{0, 0, 100, 60};
    ASSERT_EQ(WENewView(narrow, narrow, &port, we), pf::noErr);
    EXPECT_GT(WECountLines(we, 1), WECountLines(we, 0));
    type("!");
    expect_valid();
    WEDisposeView(we);
    EXPECT_EQ(WECountLines(we, 1), 0);
}

}  // namespace
