// Circular references found when a formula is entered and during
// recalculation, across ranges, layers and names, and the time limits.
#include <string>

#include "recalc_fixture.h"
#include "tests/support/platform_stand_ins.h"

namespace {

class TraceTest : public RecalcTest {
protected:
    // TraceCell of a formula typed into a cell: its answer and g_CellString.
    int16_t trace(const std::string& text, CellPoint cell, MemoryRef on = nullptr, std::string* where = nullptr) {
        MemoryRef target = on ? on : layer;
        Parsed parsed = parse(text, cell, target);
        EXPECT_EQ(parsed.result, 0) << text;
        g_calcCell = cell;
        g_calcSheet = target;
        g_calcWork = workbook;
        int16_t answer = TraceCell(target, parsed.bytes.data(), int32_t(parsed.bytes.size()));
        if (where) *where = text_of(g_CellString);
        return answer;
    }
};

TEST_F(TraceTest, OwnCellAndCoveringRangesCloseACircle) {
    std::string where;
    EXPECT_EQ(trace("=A1", {0, 0}, nullptr, &where), kTraceCircle);
    EXPECT_EQ(where, "1:A1...");
    EXPECT_EQ(trace("=SUM(A1:A3)", {1, 0}, nullptr, &where), kTraceCircle);
    EXPECT_EQ(where, "1:A2...");
    EXPECT_EQ(trace("=SUM(B1:B3)", {1, 0}), kTraceNoCircle);
    EXPECT_EQ(trace("=A:A", {4, 0}), kTraceCircle);
}

TEST_F(TraceTest, PositionArgumentsDoNotCount) {
    EXPECT_EQ(trace("=ROW(A1)", {0, 0}), kTraceNoCircle);
    EXPECT_EQ(trace("=COLUMN(A1:B5)", {0, 0}), kTraceNoCircle);
    // A cell used only for its position is not followed either.
    put_formula(0, 1, "=A1+1");
    EXPECT_EQ(trace("=ROW(B1)", {0, 0}), kTraceNoCircle);
}

TEST_F(TraceTest, ChainsThroughStoredFormulasNameWhereTheCircleCloses) {
    put_formula(0, 1, "=C1");
    put_formula(0, 2, "=A1+1");
    std::string where;
    EXPECT_EQ(trace("=B1", {0, 0}, nullptr, &where), kTraceCircle);
    EXPECT_EQ(where, "1:C1...");
    EXPECT_EQ(trace("=B1", {5, 5}), kTraceNoCircle);
}

TEST_F(TraceTest, RangesOfPrecedentsAreScanned) {
    put_formula(3, 3, "=SUM(A1:A2)");
    put_formula(4, 3, "=7");
    EXPECT_EQ(trace("=SUM(D1:D10)", {0, 0}), kTraceCircle);
    EXPECT_EQ(trace("=SUM(D5:D10)", {0, 0}), kTraceNoCircle);
}

TEST_F(TraceTest, LayersAndDeletedLayers) {
    MemoryRef second = add_layer(workbook);
    put_formula(0, 0, "=1:B2", second);
    std::string where;
    EXPECT_EQ(trace("=2:A1", {1, 1}, nullptr, &where), kTraceCircle);
    EXPECT_EQ(where, "2:A1...");
    EXPECT_EQ(trace("=2:A1", {1, 2}), kTraceNoCircle);
    // Three-dimensional ranges cover the layers between.
    put_formula(0, 0, "=1:2:C3", second);
    EXPECT_EQ(trace("=2:A1", {2, 2}), kTraceCircle);
    // A layer that is not there leads nowhere.
    EXPECT_EQ(trace("=9:A1", {0, 0}), kTraceNoCircle);
}

TEST_F(TraceTest, NamedRangesAreFollowed) {
    define_name("Totals", CellRange{{0, 0}, {9, 0}});
    EXPECT_EQ(trace("=SUM(Totals)", {4, 0}), kTraceCircle);
    EXPECT_EQ(trace("=SUM(Totals)", {4, 1}), kTraceNoCircle);
}

TEST_F(TraceTest, AnEntryCheckThatRunsTooLongSaysSo) {
    for (int16_t r = 0; r < 20; ++r) put_formula(r, 1, "=B" + std::to_string(r + 2));
    trace_limits().max_ticks = 0;
    std::string where;
    EXPECT_EQ(trace("=B1", {0, 0}, nullptr, &where), kTraceGaveUp);
    EXPECT_FALSE(where.empty());
    // An event waiting ends it after the polite limit.
    trace_limits() = TraceLimits{};
    trace_limits().polite_ticks = 0;
    EXPECT_EQ(trace("=B1", {0, 0}), kTraceNoCircle);
    stand_in::post_user_event();
    EXPECT_EQ(trace("=B1", {0, 0}), kTraceGaveUp);
}

TEST_F(TraceTest, ADamagedFormulaEndsItsWalk) {
    // A text constant without its closing quote, then a reference to the cell itself.
    std::vector<uint8_t> bytes = Bytes().s("=\"ab@#").i16(0).i16(0).v;
    g_calcCell = CellPoint{0, 0};
    g_calcSheet = layer;
    EXPECT_EQ(TraceCell(layer, bytes.data(), int32_t(bytes.size())), kTraceNoCircle);
    std::vector<uint8_t> cut = Bytes().s("=@#").i16(0).v;  // a reference cut short
    EXPECT_EQ(TraceCell(layer, cut.data(), int32_t(cut.size())), kTraceNoCircle);
}

TEST_F(TraceTest, CheckCircularReportsAndSelects) {
    put_formula(0, 0, "=B1");
    put_formula(0, 1, "=A1");
    g_calcSheet = layer;
    g_calcWork = workbook;
    g_calcCell = CellPoint{0, 1};
    EXPECT_EQ(CheckCircular(), 1);
    EXPECT_EQ(stopCalc, kCalcManualIdle);
    EXPECT_EQ(g_CellString[0], 0);
    SpreadSheet* sheet = use_layer(layer);
    CellPoint active = sheet->active_cell;
    release_layer(layer);
    EXPECT_EQ(active, (CellPoint{0, 1}));
    g_calcCell = CellPoint{5, 5};  // no formula there
    EXPECT_EQ(CheckCircular(), 0);
}

TEST_F(TraceTest, TraceStringNamesLayerAndRange) {
    unsigned char text[256] = {0};
    g_calcWork = workbook;
    TraceString(text, CellRange{{0, 0}, {2, 1}}, layer);
    EXPECT_EQ(text_of(text), "1:A1:B3...");
    // A layer of another workbook is named with its document.
    MemoryRef other = make_workbook("Prices", 7);
    MemoryRef other_layer = add_layer(other);
    text[0] = 0;
    TraceString(text, CellRange{{1, 1}, {1, 1}}, other_layer);
    EXPECT_EQ(text_of(text), "Prices!1:B2...");
}

}  // namespace
