// Long random sequences of selections, typing, deleting, inserting, style
// changes, undo and redo, with the invariants checked after every step and
// every undo followed by redo (and redo by undo) checked to restore text,
// styles and selection exactly.
#include "tests/styledtext/styled_text_fixture.h"

#include <random>

namespace {

using wetest::Instance;
using wetest::Snapshot;

struct RandomEdits : Instance {
    std::mt19937 rng{12345};
    int round_trips = 0;
    int32_t most_runs = 0, most_lines = 0;

    int32_t pick(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(rng); }

    void random_selection() {
        int32_t length = WEGetTextLength(we);
        int32_t from = pick(0, length);
        select(from, std::clamp(from + pick(-12, 12), 0, length));
    }

    void random_style() {
        WETextStyle ts;
        ts.tsFont = pick(0, 1) ? pf::kGenevaFont : pf::kTimesFont;
        ts.tsFace = uint8_t(pick(0, 7));
        ts.tsSize = int16_t(pick(9, 24));
        ts.tsColor = pf::RGBColor{uint16_t(pick(0, 1) * 0xFFFF), 0, 0};
        static constexpr uint16_t modes[] = {weDoFont, weDoFace, weDoSize, weDoColor, weDoFace | weDoToggleFace,
                                             weDoAll, weDoAddSize};
        uint16_t mode = modes[pick(0, 6)];
        if (mode == weDoAddSize) ts.tsSize = int16_t(pick(-3, 3));
        WESetStyle(mode, ts, we);
    }

    void random_typing() {
        static const char letters[] = "abc de\rfgh ij.";
        for (int n = pick(1, 6); n > 0; --n) WEKey(uint8_t(letters[pick(0, sizeof letters - 2)]), 0, we);
    }

    void random_step() {
        switch (pick(0, 9)) {
            case 0: random_selection(); break;
            case 1:
            case 2: random_typing(); break;
            case 3: WEKey(pf::kBackspaceChar, 0, we); break;
            case 4: WEKey(pf::kDeleteChar, 0, we); break;
            case 5: random_style(); break;
            case 6: {
                std::string words = pick(0, 1) ? "pasted words " : "x\r";
                WEInsert(words.data(), int32_t(words.size()), nullptr, nullptr, we);
                break;
            }
            case 7: WEDelete(we); break;
            case 8: WEKey(uint8_t(pf::kLeftArrowChar + pick(0, 3)), pick(0, 1) ? pf::kShiftKey : 0, we); break;
            default: undo_and_redo(); break;
        }
    }

    // Undo, then redo: each must give back exactly what was there before it.
    void undo_and_redo() {
        Snapshot before = wetest::snapshot(we);
        if (WEUndo(we) != pf::noErr) return;
        ASSERT_EQ(wetest::check_invariants(we), "");
        Snapshot undone = wetest::snapshot(we);
        ASSERT_EQ(WEUndo(we), pf::noErr);
        ASSERT_EQ(wetest::check_invariants(we), "");
        ASSERT_EQ(wetest::snapshot(we), before);
        ASSERT_EQ(WEUndo(we), pf::noErr);
        ASSERT_EQ(wetest::snapshot(we), undone);
        ++round_trips;
    }
};

TEST_F(RandomEdits, ThreeThousandStepsKeepEveryInvariant) {
    make(pf::Rect{10, 10, 190, 130});
    for (int step = 0; step < 3000; ++step) {
        random_step();
        std::string broken = wetest::check_invariants(we);
        ASSERT_EQ(broken, "") << "after step " << step;
        if (HasFatalFailure()) FAIL() << "after step " << step;
        most_runs = std::max(most_runs, WEI(we).runCount);
        most_lines = std::max(most_lines, WECountLines(we));
    }
    EXPECT_GT(round_trips, 100);
    EXPECT_GT(most_runs, 10);
    EXPECT_GT(most_lines, 10);
}

TEST_F(RandomEdits, ASecondViewStaysInStep) {
    make(pf::Rect{10, 10, 190, 200});
    LongRect narrow{0, 0, 200, 70};
    ASSERT_EQ(WENewView(narrow, narrow, &port, we), pf::noErr);
    for (int step = 0; step < 1500; ++step) {
        random_step();
        ASSERT_EQ(wetest::check_invariants(we), "") << "after step " << step;
    }
    // Incremental re-layout agrees with laying out the whole text afresh.
    std::vector<WELineRecord> kept(WELines(we, 1), WELines(we, 1) + WECountLines(we, 1) + 1);
    ASSERT_EQ(WECalText(we), pf::noErr);
    ASSERT_EQ(kept.size(), size_t(WECountLines(we, 1) + 1));
    for (size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(kept[i].lineStart, WELines(we, 1)[i].lineStart) << i;
        EXPECT_EQ(kept[i].lineOrigin, WELines(we, 1)[i].lineOrigin) << i;
    }
}

}  // namespace
