#include "formula/reference_text.h"
#include "formula_fixture.h"
#include "model/layer.h"

namespace {

class ReferenceText : public FormulaTest {
protected:
    // The token RangeToRect writes for a text typed in `cell`, or none.
    std::vector<uint8_t> token(const std::string& text, CellPoint cell = {0, 0}, bool with_layer = true) {
        unsigned char typed[256];
        pstr(typed, text);
        ParserReturn = pgAllocateNewRef(&mem_globals, 1, 0, 32, false);
        g_calcSheet = layer;
        g_calcCell = cell;
        RangeToRect(typed, with_layer ? layer : nullptr);
        auto bytes = bytes_of(ParserReturn);
        EXPECT_EQ(Sy, bytes.empty() ? kSyUnknown : kSyReference) << text;
        DisposeMemory(ParserReturn);
        ParserReturn = nullptr;
        return bytes;
    }

    CellRange rect_of(const std::string& text, int16_t* layers, int16_t* answer) {
        uint8_t record[kNamedRangeSize] = {0};
        pstr(record, text);
        *answer = Parse_Rect(record, layers, layer);
        return named_range_cells(record);
    }
};

TEST_F(ReferenceText, CellsAreStoredRelativeToTheFormulaCell) {
    EXPECT_EQ(token("A1", {1, 1}), Bytes().s("@").b(0xBA).i16(-1).i16(-1).v);
    EXPECT_EQ(token("$A$1", {1, 1}), Bytes().s("@#").i16(0).i16(0).v);
    EXPECT_EQ(token("A$1", {1, 1}), Bytes().s("@").b(0xA8).i16(0).i16(-1).v);
    EXPECT_EQ(token("$A1", {1, 1}), Bytes().s("@").b(0xA9).i16(-1).i16(0).v);
    EXPECT_EQ(token("AUHT32000"), Bytes().s("@").b(0xBA).i16(31999).i16(31999).v);
}

TEST_F(ReferenceText, WholeColumnsAndRowsKeepTheirFullSpanAbsolute) {
    EXPECT_EQ(token("A:C"), Bytes().s("@r").b(0xA8).b(0xA8).i16(0).i16(0).i16(31999).i16(2).v);
    EXPECT_EQ(token("2:5"), Bytes().s("@r").b(0xA9).b(0xA9).i16(1).i16(0).i16(4).i16(31999).v);
}

TEST_F(ReferenceText, RangesTypedBackwardsCoverTheSameCells) {
    EXPECT_EQ(token("B3:A1"), token("A1:B3"));
    EXPECT_EQ(token("$B3:A$1"), Bytes().s("@r").b(0xA8).b(0xA9).i16(0).i16(0).i16(2).i16(1).v);
}

TEST_F(ReferenceText, LayerPrefixesAreStoredAgainstTheFormulaLayer) {
    ASSERT_EQ(GetSheetID(layer), 0);
    EXPECT_EQ(token("2:A1"), Bytes().s("@R").b(0xBA).i16(1).i16(1).b(0xBA).i16(0).i16(0).v);
    EXPECT_EQ(token("$2:A1"), Bytes().s("@R#").i16(1).i16(1).b(0xBA).i16(0).i16(0).v);
    EXPECT_EQ(token("1:3:A1:B2"),
              Bytes().s("@R").b(0xBA).i16(0).i16(2).s("r").b(0xBA).b(0xBA).i16(0).i16(0).i16(1).i16(1).v);
    EXPECT_EQ(token("1:3:A1"), Bytes().s("@R").b(0xBA).i16(0).i16(2).b(0xBA).i16(0).i16(0).v);
    EXPECT_EQ(token("1:2:5"), Bytes().s("@R").b(0xBA).i16(0).i16(0).s("r").b(0xA9).b(0xA9).i16(1).i16(0).i16(4).i16(31999).v);
}

TEST_F(ReferenceText, SloppyOrOutOfGridTextsAreNoReferences) {
    for (const char* text : {"A0", "0:A1", "A32001", "AUHU1", "1:2:3:4:5", "A1B", "A1$", "$$A1", "A", "1",
                             "A1:", ":A1", "A1::B2", "1A", "A1:2", "ABCDE1", "A99999999999"})
        EXPECT_TRUE(token(text).empty()) << text;
}

TEST_F(ReferenceText, NamesWinOverCellsAndKeepTheirDefinedSpelling) {
    define_name("Total", {{2, 2}, {4, 2}});
    define_name("B2", {{9, 9}, {9, 9}});
    EXPECT_EQ(token("TOTAL"), Bytes().s("@&").b(5).s("Total").v);
    EXPECT_EQ(token("B2"), Bytes().s("@&").b(2).s("B2").v);
    EXPECT_EQ(token("2:TOTAL"), Bytes().s("@R").b(0xBA).i16(1).i16(1).s("&").b(5).s("Total").v);
    // Ending a range, a name spelled like a cell is that cell.
    EXPECT_EQ(token("A1:B2"), Bytes().s("@r").b(0xBA).b(0xBA).i16(0).i16(0).i16(1).i16(1).v);
    // Without a layer names are not looked up.
    EXPECT_TRUE(token("TOTAL", {0, 0}, false).empty());
}

TEST_F(ReferenceText, ParseRectReadsRangesButNotNames) {
    int16_t layers[2] = {7, 7}, answer = 0;
    CellRange r = rect_of("b2:c3", layers, &answer);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(r, (CellRange{{1, 1}, {2, 2}}));
    EXPECT_EQ(layers[0], -1);
    EXPECT_EQ(layers[1], -1);
    r = rect_of("2:3:A1", layers, &answer);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(layers[0], 1);
    EXPECT_EQ(layers[1], 2);
    define_name("Total", {{2, 2}, {4, 2}});
    rect_of("Total", layers, &answer);
    EXPECT_EQ(answer, 0);
}

TEST_F(ReferenceText, MatchRangeStrIgnoresCaseAndMarks) {
    define_name("R\x8Esum\x8E", {{0, 0}, {1, 1}});  // Résumé
    unsigned char name[kNamedRangeNameSize];
    pstr(name, "RESUME");
    CellRange rect{};
    EXPECT_EQ(MatchRangeStr(name, &rect, layer), 1);
    EXPECT_EQ(text_of(name), "R\x8Esum\x8E");
    pstr(name, "Other");
    g_value = 0;
    EXPECT_EQ(MatchRangeStr(name, &rect, layer), 0);
    EXPECT_EQ(checkValue(&g_value), kErrRef);
}

TEST_F(ReferenceText, RangeNamesMayNotLookLikeFormulaText) {
    unsigned char text[256];
    for (const char* refused : {"1ST", "A.B", "MY NAME$", "A+B", "X!", "'Q"}) {
        pstr(text, refused);
        EXPECT_EQ(TestRangeChars(text), 1) << refused;
    }
    for (const char* accepted : {"TOTAL", "R\x8Esum\x8E", "_x"}) {
        pstr(text, accepted);
        EXPECT_EQ(TestRangeChars(text), 0) << accepted;
    }
}

}  // namespace
