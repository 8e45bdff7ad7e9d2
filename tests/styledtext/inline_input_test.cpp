// Inline input: the host's composition shown underlined in place, replaced at
// each update and confirmed by the input method, a click, or the whole text.
#include "tests/styledtext/styled_text_fixture.h"

#include "platform/appleevents/appleevents.h"
#include "platform/events/input_method.h"
#include "platform/text/text.h"

namespace {

struct InlineInput : wetest::Instance {
    void SetUp() override {
        Instance::SetUp();
        pf::text_services_reset();
        pf::ae_clear_pending();
        ASSERT_EQ(WEInstallTSMHandlers(), pf::noErr);
        pf::set_port(&port);
        pf::text_font(pf::kGenevaFont);
        pf::text_size(12);
        LongRect r{10, 10, 190, 310};
        ASSERT_EQ(WENew(r, r, weFUndo, true, &we), pf::noErr);
        ASSERT_NE(WEI(we).tsmDocument, 0u);
        WEActivate(we);
    }
    void TearDown() override {
        Instance::TearDown();
        pf::ae_clear_pending();
        pf::text_services_reset();
    }

    // The host composes; the update reaches the instance through the event queue.
    void compose(const std::string& text, int32_t caret, int32_t selected = 0) {
        pf::input_composition(text, caret, selected);
        deliver();
    }
    void commit(const std::string& text) {
        ASSERT_TRUE(pf::input_commit(text));
        deliver();
    }
    void deliver() {
        while (pf::ae_pending_count() > 0) ASSERT_EQ(pf::ae_process_apple_event(), pf::noErr);
    }
    uint8_t hilite_at(int32_t offset) { return run_at(offset).runAttrs.runStyle.tsFlags; }
    // Whether the bottom pixel row of the line under `offset` is drawn there.
    bool underlined_at(int32_t offset) {
        LongPoint p;
        int16_t height = 0;
        WEGetPoint(offset, p, &height, we);
        return pixel(int(p.h) + 2, int(p.v + height - 1)) != 0xFFFFFF;
    }
    pf::OSErr ask_position(int32_t relative, pf::AppleEvent& reply) {
        pf::AEDesc self;
        pf::ae_address_of_self(self);
        pf::AppleEvent event;
        pf::ae_create_apple_event(pf::kTextServiceClass, pf::kOffset2Pos, self, -1, 0, event);
        int32_t refcon = 1;
        pf::ae_put_param_ptr(event, pf::kKeyRefCon, pf::kTypeLong, &refcon, 4);
        pf::ae_put_param_ptr(event, pf::kKeyOffset, pf::kTypeLong, &relative, 4);
        return pf::ae_send(event, &reply, pf::kAEWaitReply);
    }
};

TEST_F(InlineInput, ComposedTextIsUnderlinedUntilCommitted) {
    set_text("ab");
    select(1, 1);
    compose("xy", 2);
    EXPECT_EQ(text(), "axyb");
    EXPECT_EQ(WEI(we).inputAreaStart, 1);
    EXPECT_EQ(WEI(we).inputAreaEnd, 3);
    EXPECT_EQ(hilite_at(1), weTSMInputText);
    EXPECT_EQ(sel_start(), 3);
    EXPECT_TRUE(underlined_at(1));
    save_png("styled_text_composition.png");

    compose("xyz", 1, 2);  // the input method selects part of its text
    EXPECT_EQ(text(), "axyzb");
    EXPECT_EQ(hilite_at(1), weTSMInputText);
    EXPECT_EQ(hilite_at(2), weTSMInputText | weTSMSelected);
    EXPECT_EQ(sel_start(), 2);

    commit("XYZ");
    EXPECT_EQ(text(), "aXYZb");
    EXPECT_EQ(WEI(we).inputAreaStart, -1);
    EXPECT_EQ(hilite_at(2), 0);
    EXPECT_EQ(WEI(we).runCount, 1);
    EXPECT_EQ(sel_start(), 4);
    EXPECT_FALSE(underlined_at(1));
    expect_valid();
}

TEST_F(InlineInput, AnAbandonedCompositionLeavesTheTextAsItWas) {
    set_text("ab");
    select(2, 2);
    compose("kana", 4);
    compose("", 0);
    EXPECT_EQ(text(), "ab");
    EXPECT_EQ(WEI(we).inputAreaStart, -1);
    expect_valid();
}

TEST_F(InlineInput, ASessionOverASelectionUndoesInOneStep) {
    set_text("one two three");
    select(4, 7);
    compose("s", 1);
    compose("si", 2);
    commit("six");
    EXPECT_EQ(text(), "one six three");
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(text(), "one two three");
    EXPECT_EQ(sel_start(), 4);
    EXPECT_EQ(sel_end(), 7);
}

TEST_F(InlineInput, ClickingWhileComposingConfirmsTheCompositionFirst) {
    set_text("abc");
    select(3, 3);
    compose("de", 2);
    WEClick(point_of(0), 0, 5000, we);
    EXPECT_EQ(text(), "abcde");
    EXPECT_EQ(WEI(we).inputAreaStart, -1);
    EXPECT_EQ(hilite_at(4), 0);
    EXPECT_EQ(sel_start(), 0);
    // The host commits the same text after being reset: it is not typed twice.
    EXPECT_TRUE(pf::input_commit("de"));
    deliver();
    EXPECT_EQ(text(), "abcde");
}

TEST_F(InlineInput, TheHostLearnsWhereTheCompositionIs) {
    static pf::Rect placed;
    pf::set_composition_area_hook([](const pf::Rect& global) { placed = global; });
    set_text("abc");
    select(3, 3);
    compose("de", 2);
    pf::set_composition_area_hook(nullptr);
    LongPoint p;
    int16_t height = 0;
    WEGetPoint(5, p, &height, we);
    EXPECT_EQ(placed, (pf::Rect{int16_t(p.v), int16_t(p.h), int16_t(p.v + height), int16_t(p.h + 1)}));
}

TEST_F(InlineInput, TypingWithoutACompositionIsLeftToKeys) {
    EXPECT_FALSE(pf::input_commit("q"));
}

TEST_F(InlineInput, PositionsAreAnsweredOnlyInsideTheInputArea) {
    set_text("abc");
    pf::AppleEvent reply;
    EXPECT_EQ(ask_position(0, reply), weNotTSMErr);
    select(1, 1);
    compose("xy", 2);
    pf::AppleEvent answer;
    ASSERT_EQ(ask_position(1, answer), pf::noErr);
    pf::Point global{};
    ASSERT_EQ(pf::ae_get_param_ptr(answer, pf::kKeyGlobalPosition, pf::kTypeQDPoint, nullptr, &global, sizeof global,
                                   nullptr),
              pf::noErr);
    LongPoint p;
    int16_t height = 0;
    WEGetPoint(2, p, &height, we);
    EXPECT_EQ(global.h, p.h);
    EXPECT_EQ(global.v, p.v + height);
    EXPECT_EQ(ask_position(9, reply), weNotTSMErr);
}

TEST_F(InlineInput, ADamagedRangeArrayEndsTheUpdateWithAnError) {
    set_text("ab");
    pf::AEDesc self;
    pf::ae_address_of_self(self);
    pf::AppleEvent event;
    pf::ae_create_apple_event(pf::kTextServiceClass, pf::kUpdateActiveInputArea, self, -1, 0, event);
    int32_t refcon = 1, fixed = 0;
    pf::ae_put_param_ptr(event, pf::kKeyRefCon, pf::kTypeLong, &refcon, 4);
    pf::ae_put_param_ptr(event, pf::kKeyText, pf::kTypeText, "zz", 2);
    pf::ae_put_param_ptr(event, pf::kKeyFixLength, pf::kTypeLong, &fixed, 4);
    uint8_t ranges[4] = {50, 0, 0, 0};  // 50 ranges claimed, none there
    pf::ae_put_param_ptr(event, pf::kKeyHiliteRange, pf::kTypeTextRangeArray, ranges, sizeof ranges);
    pf::AppleEvent reply;
    EXPECT_NE(pf::ae_send(event, &reply, pf::kAEWaitReply), pf::noErr);
    expect_valid();
}

}  // namespace

namespace {

// A composition of Japanese text from the host (UTF-8, positions in
// characters) is inserted in Shift_JIS and set in the Japanese script's font,
// its caret on a character boundary.
TEST_F(InlineInput, CompositionInAnotherScriptTakesThatScriptsFont) {
    set_text("ab");
    select(1, 1);
    pf::input_composition_utf8("東京", 1, 1);
    deliver();
    EXPECT_EQ(text(), "a\x93\x8C\x8B\x9E" "b");
    EXPECT_EQ(sel_start(), 3);  // after the first character, two bytes in
    WERunInfo info = run_at(1);
    EXPECT_EQ(info.runAttrs.runStyle.tsFont, pf::script_font(pf::kScriptJapanese));
    EXPECT_EQ(info.runAttrs.runStyle.tsFlags, weTSMInputText);
    ASSERT_TRUE(pf::input_commit(pf::keyboard_text_from_utf8("東京")));
    deliver();
    EXPECT_EQ(text(), "a\x93\x8C\x8B\x9E" "b");
    WEGetRunInfo(0, info, we);
    EXPECT_EQ(info.runAttrs.runStyle.tsFont, pf::kGenevaFont);  // the Roman text keeps its font
    WEGetRunInfo(3, info, we);
    EXPECT_EQ(info.runAttrs.runStyle.tsFont, pf::script_font(pf::kScriptJapanese));
    EXPECT_EQ(info.runAttrs.runStyle.tsFlags, 0);
    pf::set_keyboard_script(pf::kScriptRoman);
}

}  // namespace
