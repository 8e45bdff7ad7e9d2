// Drawing: the caret, highlights of active and inactive instances, scrolling,
// redrawing after edits, offscreen drawing, and pictures of styled, selected,
// composed, turned and justified text compared with golden images.
#include "tests/styledtext/styled_text_fixture.h"

#include "styledtext/rotated_text.h"

#include <cstdlib>
#include <filesystem>

namespace {

using wetest::Instance;

constexpr uint32_t kWhite = 0xFFFFFF;

// Compares the port's pixels with tests/styledtext/golden/<name>; with
// QUORVIN_UPDATE_GOLDEN set the golden image is written instead.
void expect_golden(Instance& t, const std::string& name) {
    ASSERT_TRUE(t.save_png(name));
    std::filesystem::path golden = std::filesystem::path(QUORVIN_SOURCE_DIR) / "tests/styledtext/golden" / name;
    if (std::getenv("QUORVIN_UPDATE_GOLDEN")) {
        std::filesystem::copy_file(wetest::screenshot_path(name), golden,
                                   std::filesystem::copy_options::overwrite_existing);
        return;
    }
    cairo_surface_t* expected = cairo_image_surface_create_from_png(golden.c_str());
    ASSERT_EQ(cairo_surface_status(expected), CAIRO_STATUS_SUCCESS) << golden;
    ASSERT_EQ(cairo_image_surface_get_width(expected), Instance::kWidth);
    ASSERT_EQ(cairo_image_surface_get_height(expected), Instance::kHeight);
    cairo_surface_flush(expected);
    const unsigned char* data = cairo_image_surface_get_data(expected);
    int stride = cairo_image_surface_get_stride(expected);
    int differing = 0;
    for (int y = 0; y < Instance::kHeight; ++y)
        for (int x = 0; x < Instance::kWidth; ++x) {
            uint32_t want = reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
            if (want != t.pixel(x, y)) ++differing;
        }
    cairo_surface_destroy(expected);
    EXPECT_EQ(differing, 0) << name << " differs from its golden image";
}

void set_style(WEReference we, int32_t start, int32_t end, uint16_t mode, const WETextStyle& ts) {
    WESetSelection(start, end, we);
    ASSERT_EQ(WESetStyle(mode, ts, we), pf::noErr);
}

// Mixed fonts, sizes, faces and colours in a narrow view.
void style_sample(WEReference we) {
    WETextStyle ts;
    ts.tsFont = pf::kTimesFont;
    ts.tsSize = 18;
    set_style(we, 0, 6, weDoFont | weDoSize, ts);
    ts.tsFace = pf::kBold | pf::kItalic;
    set_style(we, 7, 13, weDoFace, ts);
    ts.tsFont = pf::kCourierFont;
    ts.tsSize = 10;
    set_style(we, 14, 26, weDoFont | weDoSize, ts);
    ts.tsColor = pf::RGBColor{0xC000, 0, 0};
    ts.tsFace = pf::kUnderline;
    set_style(we, 27, 40, weDoColor | weDoFace, ts);
    ts.tsSize = 24;
    set_style(we, 41, 46, weDoSize, ts);
}

const char kSample[] = "Styled text wraps in a narrow view with its runs kept apart.";

TEST_F(Instance, MixedStylesWrapInANarrowView) {
    make(pf::Rect{10, 10, 190, 150});
    WEActivate(we);
    set_text(kSample);
    style_sample(we);
    WESetSelection(0, 0, we);
    WEDeactivate(we);
    WEUpdate(nullptr, we);
    expect_valid();
    expect_golden(*this, "styled_text_wrapped.png");
}

TEST_F(Instance, ASelectionAcrossRunsIsHighlightedThroughout) {
    make(pf::Rect{10, 10, 190, 150});
    WEActivate(we);
    set_text(kSample);
    style_sample(we);
    WESetSelection(4, 44, we);
    expect_golden(*this, "styled_text_selection.png");
    // Drawing it afresh gives the same picture as the edits that led to it.
    std::vector<uint32_t> edited = all_pixels();
    pf::erase_rect(port.port_rect);
    WEUpdate(nullptr, we);
    EXPECT_EQ(all_pixels(), edited);
}

TEST_F(Instance, ComposedTextIsUnderlinedByItsState) {
    make();
    set_text("raw selected converted chosen");
    WEDeactivate(we);
    for (auto [start, end, flags] : {std::tuple{0, 3, 0x10}, std::tuple{4, 12, 0x30}, std::tuple{13, 22, 0x50},
                                     std::tuple{23, 29, 0x70}}) {
        WETextStyle ts;
        ts.tsFlags = uint8_t(flags);
        ASSERT_EQ(_WESetStyleRange(start, end, weDoInputHilite, ts, we), pf::noErr);
    }
    WECalText(we);
    pf::erase_rect(port.port_rect);
    WEUpdate(nullptr, we);
    expect_golden(*this, "styled_text_underlines.png");
}

TEST_F(Instance, TurnedAndJustifiedText) {
    pf::text_font(pf::kGenevaFont);
    pf::text_size(12);
    const char* label = "Quarter";
    for (auto [angle, h, v] : {std::tuple{0, 20, 40}, std::tuple{90, 110, 90}, std::tuple{180, 180, 40},
                               std::tuple{270, 200, 20}}) {
        pf::move_to(int16_t(h), int16_t(v));
        RotateText(label, 7, 0, 0, int16_t(angle), false);
    }
    pf::move_to(20, 130);
    draw_justtext("spread", 6, 40, 0);
    pf::move_to(20, 150);
    RotateText("with extra width", 16, 30, 0, 0, false);
    make(pf::Rect{160, 10, 195, 150});
    WESetAlignment(weJustify, we);
    set_text("Justified lines reach both edges.");
    expect_golden(*this, "styled_text_turned.png");
}

TEST_F(Instance, TheCaretSitsOnePixelLeftOfItsOffsetExceptAtTheViewsEdge) {
    make();
    WEActivate(we);
    set_text("ab");
    select(0, 0);
    ASSERT_TRUE(WEI(we).flags & weFCaretVisible);
    EXPECT_NE(pixel(10, 12), kWhite);
    select(2, 2);
    LongPoint p;
    WEGetPoint(2, p, nullptr, we);
    EXPECT_NE(pixel(int(p.h) - 1, int(p.v) + 2), kWhite);
    EXPECT_EQ(pixel(10, 12), kWhite);
    uint32_t sleep = 0;
    pf::advance_clock(pf::ticks_to_milliseconds(pf::caret_time()) + 20);
    WEIdle(&sleep, we);
    EXPECT_FALSE(WEI(we).flags & weFCaretVisible);
    EXPECT_EQ(pixel(int(p.h) - 1, int(p.v) + 2), kWhite);
    EXPECT_EQ(sleep, pf::caret_time());
}

TEST_F(Instance, InactiveSelectionsShowOnlyWithOutlineHighlighting) {
    make();
    set_text("select me");
    select(0, 6);
    pf::RgnHandle rgn = WEGetHiliteRgn(0, 6, we);
    pf::Rect r = pf::region_bounds(rgn);
    pf::dispose_region(rgn);
    EXPECT_EQ(pixel(r.left + 1, r.top + 1), kWhite);
    select(0, 0);
    WEFeatureFlag(weFeatureOutlineHilite, weBitSet, we);
    select(0, 6);
    EXPECT_NE(pixel(r.left, r.top), kWhite);  // the frame
    EXPECT_EQ(pixel(r.left + 3, r.top + 1), kWhite);
    WEActivate(we);
    EXPECT_NE(pixel(r.left + 3, r.top + 1), kWhite);  // inverted inside
}

TEST_F(Instance, ScrollingStopsAtTheEndsOfTheText) {
    make(pf::Rect{10, 10, 60, 150});
    std::string lines;
    for (int i = 0; i < 12; ++i) lines += "line\r";
    set_text(lines);
    LongRect dest;
    WEScroll(0, -1000, we);
    WEGetDestRect(dest, we);
    EXPECT_EQ(dest.bottom, 60);
    WEScroll(0, 1000, we);
    WEGetDestRect(dest, we);
    EXPECT_EQ(dest.top, 10);
    expect_valid();
}

TEST_F(Instance, AutoScrollKeepsTheCaretVisibleAndCallsTheScrollProcEveryTime) {
    make(pf::Rect{10, 10, 60, 150}, weFUndo | weFAutoScroll);
    static int calls = 0;
    calls = 0;
    WEI(we).scrollProc = [](WEReference) { ++calls; };
    type("a");
    EXPECT_GE(calls, 1);
    for (int i = 0; i < 10; ++i) type("line\r");
    LongPoint p;
    int16_t height = 0;
    WEGetPoint(sel_start(), p, &height, we);
    EXPECT_GE(p.v, 10);
    EXPECT_LE(p.v + height, 60);
}

TEST_F(Instance, WithRedrawInhibitedEditsWaitForTheCaller) {
    make();
    set_text("visible");
    WEUpdate(nullptr, we);
    WEFeatureFlag(weFeatureInhibitRecal, weBitSet, we);
    select(0, 7);
    type("x");
    EXPECT_EQ(text(), "x");
    EXPECT_NE(pixel(40, 15) + pixel(30, 15) + pixel(20, 15), 3 * kWhite);  // the old text still shows
    WEFeatureFlag(weFeatureInhibitRecal, weBitClear, we);
    ASSERT_EQ(WECalText(we), pf::noErr);
    WEUpdate(nullptr, we);
    expect_valid();
    EXPECT_EQ(pixel(40, 15), kWhite);
}

TEST_F(Instance, DeletingTheLastLineErasesWhereItWas) {
    make();
    set_text("first\rsecond");
    WEUpdate(nullptr, we);
    LongPoint p;
    int16_t height = 0;
    WEGetPoint(8, p, &height, we);
    bool ink = false;
    for (int x = 10; x < 60; ++x) ink |= pixel(x, int(p.v) + height / 2) != kWhite;
    ASSERT_TRUE(ink);
    select(5, 12);
    WEDelete(we);
    for (int x = 10; x < 60; ++x) EXPECT_EQ(pixel(x, int(p.v) + height / 2), kWhite);
}

TEST_F(Instance, OffscreenDrawingDrawsWhatDirectDrawingDoes) {
    make(pf::Rect{10, 10, 190, 150});
    set_text(kSample);
    style_sample(we);
    select(0, 0);
    WEUpdate(nullptr, we);
    std::vector<uint32_t> direct = all_pixels();
    WEFeatureFlag(weFeatureDrawOffscreen, weBitSet, we);
    pf::erase_rect(port.port_rect);
    WEUpdate(nullptr, we);
    ASSERT_NE(WEI(we).offscreen, nullptr);
    EXPECT_EQ(all_pixels(), direct);
}

}  // namespace
