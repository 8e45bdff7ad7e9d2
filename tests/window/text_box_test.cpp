// The text boxes cells are drawn with: lines broken at blanks to fit a width,
// stacked text, and a text view placed over a pane.
#include "window/text_boxes.h"
#include "sheet_fixture.h"
#include "window/cell_geometry.h"

namespace {

class TextBoxTest : public SheetTest {
protected:
    int16_t lines(const std::string& text, int16_t width) {
        pf::text_font(pf::kGenevaFont);
        pf::text_size(12);
        pf::Rect box{0, 0, 200, width};
        int16_t line_height = 0, height = 0;
        int16_t count = NeoTextBox(reinterpret_cast<const unsigned char*>(text.data()), int32_t(text.size()), &box,
                                   kBoxLeft, &line_height, &height, 0);
        EXPECT_EQ(height, count * line_height);
        return count;
    }
};

TEST_F(TextBoxTest, LinesBreakAtBlanksReturnsAndInsideWordsTooLongForTheBox) {
    pf::text_font(pf::kGenevaFont);
    pf::text_size(12);
    const int16_t word = pf::text_width("word ");
    EXPECT_EQ(lines("word word word", int16_t(word * 3)), 1);
    EXPECT_EQ(lines("word word word", int16_t(word * 2)), 2);
    EXPECT_EQ(lines("word\rword", 500), 2);
    EXPECT_EQ(lines("word\nword", 500), 2);
    EXPECT_EQ(lines("word\r\nword", 500), 2);
    EXPECT_EQ(lines("word\n\nword", 500), 3);
    EXPECT_EQ(lines("", 500), 0);
    EXPECT_EQ(lines(std::string(40, 'W'), int16_t(pf::text_width("WWWWWWWWWW"))), 4);
    EXPECT_EQ(lines("anything", 0), 8);  // a box too narrow still takes a character a line
}

// A wrapping cell draws a line feed, alone or after a return, as the line
// break a typed return is (window_line_feed_breaks.png shows the three).
TEST_F(TextBoxTest, ALineFeedBreaksACellsTextAsAReturnDoes) {
    const char* texts[] = {"one\rtwo", "one\ntwo", "one\r\ntwo", "one two"};
    for (int16_t column = 0; column < 4; ++column) {
        put_text(0, column, texts[column]);
        set_byte(0, column, kFmtAlign, kAlignWrap);
    }
    set_row_height(0, 0, 40);
    draw();
    write_png(std::string(QUORVIN_BINARY_DIR) + "/window_line_feed_breaks.png");
    auto cell_pixels = [this](int16_t column) {
        pf::Rect r{};
        const CellRange cell{{0, column}, {0, column}};
        Range_Location(0, &r, 0, &cell, layer);
        std::vector<uint32_t> pixels;
        for (int y = r.top + 1; y < r.bottom - 1; ++y)
            for (int x = r.left + 1; x < r.right - 1; ++x) pixels.push_back(pixel(x, y));
        return pixels;
    };
    EXPECT_EQ(cell_pixels(1), cell_pixels(0));
    EXPECT_EQ(cell_pixels(2), cell_pixels(0));
    EXPECT_NE(cell_pixels(3), cell_pixels(0));
}

TEST_F(TextBoxTest, StackedTextIsOneCharacterALine) {
    pf::text_font(pf::kGenevaFont);
    pf::text_size(12);
    pf::FontInfo info;
    pf::get_font_info(info);
    pf::Rect box{10, 20, 300, 60}, extent{};
    VertTextBox(reinterpret_cast<const unsigned char*>("Tall"), 4, &box, &extent, 0, 0);
    EXPECT_EQ(extent.top, 10);
    EXPECT_EQ(extent.bottom - extent.top, 4 * (info.ascent + info.descent + info.leading));
    EXPECT_EQ(extent.right - extent.left, pf::char_width('T'));
}

TEST_F(TextBoxTest, ATextViewCoversTheInsetRectangleAsFarAsThePaneReaches) {
    pf::Rect pane;
    GetPaneRect(&pane, 0, layer);
    LongRect anywhere;
    WESetLongRect(anywhere, 0, 0, 10, 10);
    WEReference we = nullptr;
    ASSERT_EQ(WENew(anywhere, anywhere, 0, false, &we), pf::noErr);
    const pf::Rect cell{int16_t(pane.bottom - 10), int16_t(pane.right - 30), int16_t(pane.bottom + 20),
                        int16_t(pane.right + 40)};
    ResetViewField(&cell, 0, 2, we, layer, 0);
    LongRect destination, view;
    WEGetDestRect(destination, we);
    WEGetViewRect(view, we);
    EXPECT_EQ(destination, (LongRect{cell.top + 2, cell.left + 2, cell.bottom - 2, cell.right - 2}));
    EXPECT_EQ(view, (LongRect{cell.top + 2, cell.left + 2, pane.bottom, pane.right}));
    WEDispose(we);
}

}  // namespace
