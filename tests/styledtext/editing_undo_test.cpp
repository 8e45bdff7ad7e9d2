// Typing, deleting, inserting with intelligent spaces, style changes, and their
// undo and redo with the modification count.
#include "tests/styledtext/styled_text_fixture.h"

namespace {

using wetest::Instance;

TEST_F(Instance, TypingUndoesAsOneActionAndRedoes) {
    make();
    type("abc");
    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(WEGetModCount(we), 1);
    bool redo = true;
    EXPECT_EQ(WEGetUndoInfo(&redo, we), weAKTyping);
    EXPECT_FALSE(redo);
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(text(), "");
    EXPECT_EQ(WEGetModCount(we), 0);
    EXPECT_EQ(WEGetUndoInfo(&redo, we), weAKTyping);
    EXPECT_TRUE(redo);
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(sel_start(), 3);
    EXPECT_EQ(WEGetModCount(we), 1);
    expect_valid();
}

TEST_F(Instance, MovingTheCaretEndsTheTypingSequence) {
    make();
    type("ab");
    WEKey(pf::kLeftArrowChar, 0, we);
    type("c");
    EXPECT_EQ(text(), "acb");
    EXPECT_EQ(WEGetModCount(we), 2);
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(text(), "ab");
}

TEST_F(Instance, TypingOverABoldWordIsBold) {
    make();
    set_text("one two three");
    set_face(4, 7, pf::kBold);
    select(4, 7);
    type("six");
    EXPECT_EQ(text(), "one six three");
    WERunInfo info = run_at(5);
    EXPECT_EQ(info.runAttrs.runStyle.tsFace, pf::kBold);
    EXPECT_EQ(info.runStart, 4);
    EXPECT_EQ(info.runEnd, 7);
    expect_valid();
}

TEST_F(Instance, BackspacingPastTheTypedTextUndoesToTheTextBefore) {
    make();
    set_text("hello world");
    set_face(0, 5, pf::kItalic);
    select(5, 5);
    type("XY");
    for (int i = 0; i < 5; ++i) WEKey(pf::kBackspaceChar, 0, we);
    EXPECT_EQ(text(), "he world");
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(text(), "hello world");
    EXPECT_EQ(sel_start(), 5);
    WERunInfo info = run_at(3);
    EXPECT_EQ(info.runAttrs.runStyle.tsFace, pf::kItalic);
    EXPECT_EQ(info.runEnd, 5);
    expect_valid();
}

TEST_F(Instance, ForwardDeleteIsUndoneWithItsStyles) {
    make();
    set_text("abcdef");
    set_face(3, 4, pf::kBold);
    select(2, 2);
    WEKey(pf::kDeleteChar, 0, we);
    WEKey(pf::kDeleteChar, 0, we);
    EXPECT_EQ(text(), "abef");
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(text(), "abcdef");
    EXPECT_EQ(wetest::runs_of(we)[1].start, 3);
    EXPECT_EQ(wetest::runs_of(we)[1].face, pf::kBold);
    expect_valid();
}

TEST_F(Instance, ClearingADoubleClickedWordTakesOneSpaceWithIt) {
    make(pf::Rect{10, 10, 190, 310}, weFUndo | weFIntCutAndPaste);
    set_text("the brown fox");
    select(4, 9);
    ASSERT_EQ(WEDelete(we), pf::noErr);
    EXPECT_EQ(text(), "the fox");
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(text(), "the brown fox");
    EXPECT_EQ(sel_start(), 4);
    EXPECT_EQ(sel_end(), 9);
}

TEST_F(Instance, PastedWordsGetASpaceOnTheSideThatNeedsOne) {
    make(pf::Rect{10, 10, 190, 310}, weFUndo | weFIntCutAndPaste);
    struct Case {
        const char* before;
        int32_t at;
        const char* after;
    };
    for (const Case& c : {Case{"the fox.", 7, "the fox red."}, Case{"fox.dog", 4, "fox.red dog"},
                          Case{"fox.", 4, "fox.red"}}) {
        set_text(c.before);
        select(c.at, c.at);
        ASSERT_EQ(WEInsert("red", 3, nullptr, nullptr, we), pf::noErr);
        EXPECT_EQ(text(), c.after);
        ASSERT_EQ(WEUndo(we), pf::noErr);
        EXPECT_EQ(text(), c.before);
    }
}

TEST_F(Instance, UndoWithNothingPendingIsRefused) {
    make();
    EXPECT_EQ(WEUndo(we), weCantUndoErr);
    type("a");
    WEClearUndo(we);
    EXPECT_EQ(WEUndo(we), weCantUndoErr);
}

TEST_F(Instance, AStyleChangeIsUndoneWithoutTouchingTheText) {
    make();
    set_text("styled words");
    select(0, 6);
    WETextStyle ts;
    ts.tsSize = 20;
    ASSERT_EQ(WESetStyle(weDoSize, ts, we), pf::noErr);
    EXPECT_EQ(WEGetUndoInfo(nullptr, we), weAKStyle);
    pf::Handle text_before = WEI(we).hText;
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(WEI(we).hText, text_before);
    EXPECT_EQ(text(), "styled words");
    EXPECT_EQ(WEI(we).runCount, 1);
    EXPECT_EQ(sel_start(), 0);
    EXPECT_EQ(sel_end(), 6);
    expect_valid();
}

TEST_F(Instance, AStyleSetAtAnEmptySelectionIsUsedForTheNextTyping) {
    make();
    set_text("ab");
    select(1, 1);
    WETextStyle ts;
    ts.tsFace = pf::kUnderline;
    ASSERT_EQ(WESetStyle(weDoFace, ts, we), pf::noErr);
    EXPECT_EQ(WEI(we).runCount, 1);  // nothing styled yet
    type("x");
    EXPECT_EQ(wetest::runs_of(we)[1], (wetest::RunView{1, pf::kGenevaFont, pf::kUnderline, 12}));
    expect_valid();
}

TEST_F(Instance, AStyleAtTheStartOfATextDoesNotRestyleIt) {
    make();
    set_text("keep plain");
    select(0, 0);
    WETextStyle ts;
    ts.tsFace = pf::kBold;
    ASSERT_EQ(WESetStyle(weDoFace, ts, we), pf::noErr);
    EXPECT_EQ(wetest::runs_of(we)[0].face, 0);
}

TEST_F(Instance, AnEmptyTextTakesTheStyleForItsFirstLine) {
    make();
    WETextStyle ts;
    ts.tsSize = 30;
    int32_t small = WELines(we, 0)[1].lineOrigin;
    ASSERT_EQ(WESetStyle(weDoSize, ts, we), pf::noErr);
    EXPECT_GT(WELines(we, 0)[1].lineOrigin, small);
    type("big");
    EXPECT_EQ(wetest::runs_of(we)[0].size, 30);
}

TEST_F(Instance, DeletingEverythingLeavesOneRunInTheDeletedStyle) {
    make();
    set_text("ab cd");
    set_face(0, 2, pf::kBold);
    select(0, 5);
    WEKey(pf::kBackspaceChar, 0, we);
    expect_valid();
    type("z");
    EXPECT_EQ(wetest::runs_of(we)[0].face, pf::kBold);
    expect_valid();
}

TEST_F(Instance, AnEditWhoseUndoCannotBeRecordedIsNotMade) {
    make();
    set_text("kept");
    select(0, 4);
    int32_t count = WEGetModCount(we);
    pf::set_heap_budget(pf::heap_bytes_in_use());
    pf::set_temp_budget(pf::temp_bytes_in_use());
    EXPECT_EQ(WEInsert("lost", 4, nullptr, nullptr, we), pf::kMemFullErr);
    EXPECT_EQ(WEDelete(we), pf::kMemFullErr);
    WEKey('x', 0, we);
    pf::set_heap_budget(pf::kNoBudget);
    pf::set_temp_budget(pf::kNoBudget);
    EXPECT_EQ(text(), "kept");
    EXPECT_EQ(WEGetModCount(we), count);
    expect_valid();
}

TEST_F(Instance, ResettingTheModCountForgetsUndo) {
    make();
    type("abc");
    WEResetModCount(we);
    EXPECT_EQ(WEGetModCount(we), 0);
    EXPECT_EQ(WEUndo(we), weCantUndoErr);
}

}  // namespace
