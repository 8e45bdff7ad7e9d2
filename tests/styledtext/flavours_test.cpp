// Clipboard flavours: what copying puts on the clipboard, what pasting takes,
// damaged style blocks, and the byte order of stored style blocks.
#include "tests/styledtext/styled_text_fixture.h"

#include <vector>

namespace {

using wetest::Instance;

int16_t count_of(const std::vector<uint8_t>& styl) {
    int16_t n = 0;
    std::memcpy(&n, styl.data(), 2);
    return n;
}

int32_t start_of(const std::vector<uint8_t>& styl, int k) {
    int32_t start = 0;
    std::memcpy(&start, styl.data() + 2 + 20 * k, 4);
    return start;
}

TEST_F(Instance, CopyingTwoPlainCharactersGivesTextAndOneStyleEntry) {
    make();
    set_text("plain");
    select(1, 3);
    ASSERT_EQ(WECopy(we), pf::noErr);
    std::vector<uint8_t> text, styl, soup;
    ASSERT_EQ(pf::get_scrap(pf::kScrapText, text), pf::noErr);
    EXPECT_EQ(std::string(text.begin(), text.end()), "la");
    ASSERT_EQ(pf::get_scrap(pf::four_cc("styl"), styl), pf::noErr);
    EXPECT_EQ(styl.size(), 22u);
    EXPECT_EQ(count_of(styl), 1);
    EXPECT_EQ(start_of(styl, 0), 0);
    EXPECT_FALSE(pf::scrap_has_flavour(pf::four_cc("QRVN")));
}

TEST_F(Instance, CopyingFromInsideABoldRunStartsItsEntryAtZero) {
    make();
    set_text("BOLDplain");
    set_face(0, 4, pf::kBold);
    select(2, 7);
    ASSERT_EQ(WECopy(we), pf::noErr);
    std::vector<uint8_t> styl;
    ASSERT_EQ(pf::get_scrap(pf::four_cc("styl"), styl), pf::noErr);
    ASSERT_EQ(count_of(styl), 2);
    EXPECT_EQ(start_of(styl, 0), 0);
    EXPECT_EQ(start_of(styl, 1), 2);
    EXPECT_EQ(styl[2 + 10], pf::kBold);
}

TEST_F(Instance, CopyingNothingLeavesTheClipboardAlone) {
    make();
    set_text("abc");
    pf::put_scrap(pf::kScrapText, "kept", 4);
    int32_t count = pf::scrap_change_count();
    select(1, 1);
    ASSERT_EQ(WECopy(we), pf::noErr);
    EXPECT_EQ(pf::scrap_change_count(), count);
    std::vector<uint8_t> text;
    pf::get_scrap(pf::kScrapText, text);
    EXPECT_EQ(text.size(), 4u);
}

TEST_F(Instance, PastingStyledTextKeepsItsRunsAndUndoesAsAPaste) {
    make();
    set_text("one BOLD two");
    set_face(4, 8, pf::kBold);
    select(2, 6);
    ASSERT_EQ(WECut(we), pf::noErr);
    EXPECT_EQ(WEGetUndoInfo(nullptr, we), weAKCut);
    EXPECT_EQ(text(), "onLD two");
    select(8, 8);
    ASSERT_EQ(WEPaste(we), pf::noErr);
    EXPECT_EQ(text(), "onLD twoe BO");
    EXPECT_EQ(WEGetUndoInfo(nullptr, we), weAKPaste);
    WERunInfo info = run_at(11);
    EXPECT_EQ(info.runAttrs.runStyle.tsFace, pf::kBold);
    EXPECT_EQ(info.runStart, 10);
    expect_valid();
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(text(), "onLD two");
}

TEST_F(Instance, WithoutTextTheClipboardPastesNothing) {
    make();
    set_text("abc");
    uint8_t styl[22] = {1, 0};
    pf::zero_scrap();
    pf::put_scrap(pf::four_cc("styl"), styl, sizeof styl);
    EXPECT_EQ(WEPaste(we), weNoScrapErr);
    EXPECT_EQ(text(), "abc");
}

TEST_F(Instance, PlainPastedTextTakesTheStyleItReplacesOrTheOneBeforeIt) {
    make();
    set_text("ab");
    set_face(0, 1, pf::kItalic);
    pf::zero_scrap();
    pf::put_scrap(pf::kScrapText, "XY", 2);
    select(0, 1);
    ASSERT_EQ(WEPaste(we), pf::noErr);
    EXPECT_EQ(wetest::runs_of(we)[0].face, pf::kItalic);
    EXPECT_EQ(WERuns(we)[1].runStart, 2);
    select(4, 4);  // after the plain "b"
    ASSERT_EQ(WEPaste(we), pf::noErr);
    EXPECT_EQ(text(), "XYbXY");
    EXPECT_EQ(WEI(we).runCount, 2);
    expect_valid();
}

TEST_F(Instance, ADamagedStyleBlockIsLeftOutAndTheTextPasted) {
    make();
    set_text("ab");
    pf::zero_scrap();
    pf::put_scrap(pf::kScrapText, "XY", 2);
    // Claims 500 entries but holds one; a second claims a start far past the text.
    uint8_t damaged[22] = {};
    int16_t n = 500;
    std::memcpy(damaged, &n, 2);
    pf::put_scrap(pf::four_cc("styl"), damaged, sizeof damaged);
    select(2, 2);
    ASSERT_EQ(WEPaste(we), pf::noErr);
    EXPECT_EQ(text(), "abXY");
    expect_valid();
    pf::Handle stray = pf::new_handle_clear(42);
    n = 2;
    std::memcpy(*stray, &n, 2);
    int32_t far = 1 << 30, negative = -40;
    std::memcpy(*stray + 2, &negative, 4);
    std::memcpy(*stray + 22, &far, 4);
    select(0, 4);
    EXPECT_EQ(WEUseStyleScrap(stray, we), pf::noErr);
    expect_valid();
    pf::dispose_handle(stray);
    pf::Handle short_block = pf::new_handle_clear(1);
    EXPECT_EQ(WEUseStyleScrap(short_block, we), pf::kParamErr);
    EXPECT_EQ(WEInsert("z", 1, short_block, nullptr, we), pf::kParamErr);
    EXPECT_EQ(text(), "abXY");
    pf::dispose_handle(short_block);
}

TEST_F(Instance, StoredStyleBlocksRoundTripThroughBigEndian) {
    make();
    set_text("one two three");
    set_face(4, 7, pf::kBold);
    WETextStyle red;
    red.tsColor = pf::RGBColor{0xFFFF, 0x1234, 0};
    select(8, 13);
    ASSERT_EQ(WESetStyle(weDoColor, red, we), pf::noErr);
    pf::Handle styl = pf::new_handle(0);
    ASSERT_EQ(WECopyRange(0, 13, nullptr, styl, nullptr, we), pf::noErr);
    pf::Handle original = pf::hand_to_hand(styl);

    ASSERT_EQ(WEStyleScrapToBigEndian(styl), pf::noErr);
    // Big-endian: the count 4 is 00 04, the second entry's start 4 is 00 00 00 04.
    EXPECT_EQ(uint8_t((*styl)[0]), 0);
    EXPECT_EQ(uint8_t((*styl)[1]), 4);
    EXPECT_EQ(uint8_t((*styl)[2 + 20 + 3]), 4);
    ASSERT_EQ(WEStyleScrapFromBigEndian(styl), pf::noErr);
    EXPECT_EQ(std::memcmp(*styl, *original, 2 + 4 * 20), 0);

    // And from a stored block to the clipboard's order and back.
    ASSERT_EQ(WEStyleScrapToBigEndian(original), pf::noErr);
    pf::Handle stored = pf::hand_to_hand(original);
    ASSERT_EQ(WEStyleScrapFromBigEndian(original), pf::noErr);
    ASSERT_EQ(WEStyleScrapToBigEndian(original), pf::noErr);
    EXPECT_EQ(std::memcmp(*stored, *original, 2 + 4 * 20), 0);

    // A stored block whose count runs past its end is refused untouched.
    (*stored)[0] = 0x7F;
    pf::Handle copy = pf::hand_to_hand(stored);
    EXPECT_EQ(WEStyleScrapFromBigEndian(stored), pf::kParamErr);
    EXPECT_EQ(std::memcmp(*stored, *copy, 2 + 4 * 20), 0);
    for (pf::Handle h : {styl, original, stored, copy}) pf::dispose_handle(h);
}

}  // namespace
