// Reference text of ranges and layers, the reference pointed at while a
// formula is typed, and the range an automatic sum proposes.
#include "entry_fixture.h"

#include <array>

#include "formula/range_string.h"
#include "window/selection_tracking.h"

namespace {

std::string range_text(CellRange range, std::array<bool, 4> absolute = {}, MemoryRef layer = nullptr) {
    unsigned char text[256];
    RangeString(text, &range, absolute.data(), layer);
    return text_of(text);
}

std::string layer_text(int16_t first, int16_t last, std::array<bool, 2> layer_absolute, CellRange range,
                       MemoryRef shown_on = nullptr) {
    unsigned char text[256];
    const bool absolute[4] = {};
    LayerString(text, first, last, layer_absolute.data(), &range, absolute, shown_on);
    return text_of(text);
}

TEST(ReferenceText, RangesCellsWholeRowsAndColumns) {
    EXPECT_EQ(range_text(cells(0, 0, 0, 0)), "A1");
    EXPECT_EQ(range_text(cells(1, 1, 1, 1), {true, true, false, false}), "$B$2");
    EXPECT_EQ(range_text(cells(0, 0, 4, 2)), "A1:C5");
    EXPECT_EQ(range_text(cells(0, 0, kLastCell, 2)), "A:C");
    EXPECT_EQ(range_text(cells(0, 0, kLastCell, 0)), "A:A");
    EXPECT_EQ(range_text(cells(4, 0, 4, kLastCell)), "5:5");
    EXPECT_EQ(range_text(cells(2, 0, 6, kLastCell), {true, false, true, false}), "$3:$7");
    EXPECT_EQ(range_text(cells(0, 0, kLastCell, kLastCell)), "1:32000") << "whole rows first";
    EXPECT_EQ(range_text(cells(0, 701, 0, 702)), "ZZ1:AAA1");
    EXPECT_EQ(range_text(cells(-1, 0, 0, 0)), "REF!");
}

TEST(ReferenceText, LayerParts) {
    EXPECT_EQ(layer_text(-1, -1, {}, cells(0, 0, 0, 0)), "A1");
    EXPECT_EQ(layer_text(1, 1, {}, cells(0, 0, 0, 0)), "2:A1");
    EXPECT_EQ(layer_text(1, 1, {true, false}, cells(0, 0, 0, 0)), "$2:A1");
    EXPECT_EQ(layer_text(0, 2, {false, true}, cells(0, 0, 1, 1)), "1:$3:A1:B2");
}

TEST(ReferenceText, OperatorCharacters) {
    const std::string operators = "+-*/=<>^&%\xAD\xB2\xB3\xD6";
    for (unsigned char c : operators)
        EXPECT_TRUE(isOpchar(c)) << int(c);
    for (unsigned char c : std::string("(,A1: ")) EXPECT_FALSE(isOpchar(c)) << int(c);
    EXPECT_TRUE(isexpchar('e') && isexpchar('E') && !isexpchar('x'));
    EXPECT_TRUE(isaddopchar('+') && isaddopchar('-') && !isaddopchar('*'));
    unsigned char text[256] = {254};
    CharConcat(text, 'a');
    CharConcat(text, 'b');
    EXPECT_EQ(text[0], 255) << "never beyond 255 characters";
}

class SelectionTest : public EntryTest {
protected:
    CellRange sum_range() {
        CellRange range;
        AddSumRange(layer, &range);
        return range;
    }
};

TEST_F(SelectionTest, LayerReferenceToItselfHasNoLayerPart) {
    EXPECT_EQ(layer_text(GetSheetID(layer), GetSheetID(layer), {}, cells(0, 0, 0, 0), layer), "A1");
}

TEST_F(SelectionTest, NamedRangesAreShownByName) {
    define_name("Totals", cells(0, 0, 3, 0));
    EXPECT_EQ(range_text(cells(0, 0, 3, 0), {}, layer), "Totals");
    EXPECT_EQ(range_text(cells(0, 0, 2, 0), {}, layer), "A1:A3");
}

TEST_F(SelectionTest, StretchingFromTheActiveCell) {
    select(3, 3);
    CellPoint last{3, 3};
    SelectIt(&last, CellPoint{1, 5}, layer);
    EXPECT_EQ(selection(), cells(1, 3, 3, 5));
    SelectIt(&last, CellPoint{-4, 0}, layer);
    EXPECT_EQ(selection(), cells(0, 0, 3, 3)) << "negative coordinates become 0";
    EXPECT_EQ(last, (CellPoint{0, 0}));
}

TEST_F(SelectionTest, PointedReferenceStretchesFromTheAnchor) {
    const CellRange anchor = cells(0, 2, kLastCell, 2);
    CellRange out = anchor;
    CellPoint last{0, 2};
    GhostIt(layer, &last, CellPoint{0, 4}, &out, &anchor);
    EXPECT_EQ(out, cells(0, 2, kLastCell, 4));
    GhostIt(layer, &last, CellPoint{0, 0}, &out, &anchor);
    EXPECT_EQ(out, cells(0, 0, kLastCell, 2)) << "left of the anchor";
}

TEST_F(SelectionTest, AutomaticSumRanges) {
    // A column of numbers above, a single adjacent number on the left.
    put_number(0, 2, 1);
    put_number(1, 2, 2);
    put_number(2, 2, 3);
    put_number(3, 1, 9);
    select(3, 2);
    EXPECT_EQ(sum_range(), cells(0, 2, 2, 2));
    // A row of numbers on the left.
    put_number(6, 0, 1);
    put_number(6, 1, 1);
    put_number(6, 2, 1);
    select(6, 3);
    EXPECT_EQ(sum_range(), cells(6, 0, 6, 2));
    // A text breaks the run.
    put_text(9, 0, "x");
    select(10, 0);
    EXPECT_EQ(sum_range(), cells(10, 0, 10, 0));
    put_number(10, 5, 1);
    select(10, 7);
    EXPECT_EQ(sum_range(), cells(10, 5, 10, 5)) << "a single number on one side only";
    select(20, 20);
    CellRange none;
    EXPECT_FALSE(AddSumRange(layer, &none)) << "no numbers next to the cell";
    EXPECT_EQ(none, cells(20, 20, 20, 20));
}

}  // namespace
