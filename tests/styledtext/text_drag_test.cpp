// Dropping dragged text: moves within an instance, copies, drops onto the
// dragged text itself, styles carried along, and one undo for the whole drop.
#include "tests/styledtext/styled_text_fixture.h"

#include "styledtext/text_drag.h"

namespace {

using wetest::Instance;

TEST_F(Instance, MovingTextWithinAnInstanceUndoesAndRedoesInOneStep) {
    make();
    set_text("alpha beta gamma");
    set_face(6, 10, pf::kBold);
    select(6, 11);
    pf::Handle styles = pf::new_handle(0);
    ASSERT_EQ(WECopyRange(6, 11, nullptr, styles, nullptr, we), pf::noErr);
    wetest::Snapshot before = wetest::snapshot(we);

    ASSERT_EQ(WEDropText(16, "beta ", 5, styles, true, we), pf::noErr);
    EXPECT_EQ(text(), "alpha gammabeta ");
    EXPECT_EQ(sel_start(), 11);
    EXPECT_EQ(sel_end(), 16);
    WERunInfo info = run_at(12);
    EXPECT_EQ(info.runAttrs.runStyle.tsFace, pf::kBold);
    EXPECT_EQ(WEGetUndoInfo(nullptr, we), weAKDrag);
    expect_valid();
    wetest::Snapshot after = wetest::snapshot(we);

    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(wetest::snapshot(we), before);
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(wetest::snapshot(we), after);
    expect_valid();
    pf::dispose_handle(styles);
}

TEST_F(Instance, MovingTextBackwardsKeepsTheTextBetween) {
    make();
    set_text("one two three");
    select(8, 13);
    ASSERT_EQ(WEDropText(0, "three", 5, nullptr, true, we), pf::noErr);
    EXPECT_EQ(text(), "threeone two ");
    EXPECT_EQ(sel_start(), 0);
    EXPECT_EQ(sel_end(), 5);
    expect_valid();
}

TEST_F(Instance, ACopiedDropLeavesTheOriginalAndADropOntoItselfNothingChanged) {
    make();
    set_text("copy me");
    select(0, 4);
    ASSERT_EQ(WEDropText(7, "copy", 4, nullptr, false, we), pf::noErr);
    EXPECT_EQ(text(), "copy mecopy");
    select(0, 4);
    int32_t count = WEGetModCount(we);
    ASSERT_EQ(WEDropText(2, "copy", 4, nullptr, true, we), pf::noErr);
    EXPECT_EQ(text(), "copy mecopy");
    EXPECT_EQ(WEGetModCount(we), count);
}

TEST_F(Instance, APressOnTheHighlightCanStartADrag) {
    make();
    set_text("drag this");
    select(5, 9);
    EXPECT_TRUE(WEPointInSelection(point_of(7), we));
    EXPECT_FALSE(WEPointInSelection(point_of(2), we));
}

}  // namespace
