// Charts follow their cells: a recalculation marks only the charts that read
// a changed cell and the idle update redraws them once; data ranges and
// series-name lines move with inserted and deleted rows and columns, and
// come back with undo.
#include "charts/chart_links.h"
#include "charts/chart_record.h"
#include "charts/charts.h"
#include "model/insert_delete.h"
#include "objects/objects.h"
#include "objects/object_records.h"
#include "tests/editing/undo_fixture.h"

namespace {

class ChartLinksTest : public UndoTest {
protected:
    MemoryRef chart_over(CellRange data, MemoryRef on = nullptr) {
        MemoryRef holder = on ? on : layer;
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(pf::four_cc("bcht"), &object, 0, holder), 1);
        SetObj_info(object, pf::four_cc("chrt"), reinterpret_cast<intptr_t>(NewChartRecord(&mem_globals, data)));
        return object;
    }

    static MemoryRef chart(MemoryRef object) {
        return object_chart(object);
    }

    static bool marked(MemoryRef object) { return GetObj_info(object, pf::four_cc("updt")) != 0; }

    void insert_or_delete(bool insert, CellRange range, MemoryRef in = nullptr) {
        MemoryRef changed = in ? in : layer;
        select_range(range, changed);
        const int16_t rows = range.topLeft.h == 0 && range.botRight.h == kLastCell;
        ASSERT_EQ(insert ? insert_rowcol(changed, rows) : delete_rowcol(changed, rows), 0);
    }
};

TEST_F(ChartLinksTest, ARecalculationMarksOnlyTheChartsReadingTheChangedCell) {
    put_number(0, 0, 1);
    put_formula(1, 0, "=A1*2");   // read by the first chart
    put_formula(1, 4, "=A1+1");   // read by no chart
    MemoryRef reading = chart_over(cells(1, 0, 3, 1));
    MemoryRef elsewhere = chart_over(cells(5, 0, 8, 2));
    calculate_now();
    ChartIdle();  // nothing is shown: the marks stay
    while (chartupdate(layer)) {}
    put_number(0, 0, 5);
    CellRange changed = cells(0, 0, 0, 0);
    CheckHotLinks(1, changed.topLeft, changed.botRight, layer);  // typed entry: redrawn at once, not marked
    EXPECT_FALSE(marked(reading));
    calculate_now();
    EXPECT_TRUE(marked(reading));
    EXPECT_FALSE(marked(elsewhere));
    EXPECT_EQ(chartupdate(layer), 1);
    EXPECT_FALSE(marked(reading));
    EXPECT_EQ(chartupdate(layer), 0);
}

TEST_F(ChartLinksTest, SeriesNameLinesAndOtherLayersCount) {
    MemoryRef object = chart_over(cells(2, 1, 5, 3));
    set_chart_word(chart(object), kChartNameRow, 0);
    set_chart_word(chart(object), kChartNameColumn, 6);
    EXPECT_TRUE(chart_reads(chart(object), cells(0, 2, 0, 2)));   // its name row, across the data
    EXPECT_FALSE(chart_reads(chart(object), cells(0, 5, 0, 5)));  // the name row, beside the data
    EXPECT_TRUE(chart_reads(chart(object), cells(4, 6, 4, 6)));
    EXPECT_FALSE(chart_reads(chart(object), cells(1, 1, 1, 3)));

    // A chart whose data come from the second layer is marked by changes there alone.
    MemoryRef second = add_layer(workbook);
    SetSheetWind(second, window());
    SetDataRect(cells(0, 0, 3, 1), GetSheetID(second), chart(object));
    CheckHotLinks(0, CellPoint{2, 1}, CellPoint{2, 1}, layer);
    EXPECT_FALSE(marked(object));
    CheckHotLinks(0, CellPoint{2, 1}, CellPoint{2, 1}, second);
    EXPECT_TRUE(marked(object));
}

TEST_F(ChartLinksTest, DataRangesFollowInsertedAndDeletedRowsAndUndo) {
    MemoryRef object = chart_over(cells(3, 1, 6, 2));
    set_chart_word(chart(object), kChartNameRow, 2);
    insert_or_delete(true, cells(0, 0, 1, kLastCell));  // two rows above: all moves down
    EXPECT_EQ(chart_range(chart(object)), cells(5, 1, 8, 2));
    EXPECT_EQ(chart_word(chart(object), kChartNameRow), 4);
    insert_or_delete(true, cells(7, 0, 7, kLastCell));  // inside the data: the range grows
    EXPECT_EQ(chart_range(chart(object)), cells(5, 1, 9, 2));
    insert_or_delete(true, cells(0, 2, kLastCell, 2));  // a column inside
    EXPECT_EQ(chart_range(chart(object)), cells(5, 1, 9, 3));
    insert_or_delete(false, cells(8, 0, 12, kLastCell));  // the last rows go: the range ends before them
    EXPECT_EQ(chart_range(chart(object)), cells(5, 1, 7, 3));

    DoUndo(workbook);
    EXPECT_EQ(chart_range(chart(object)), cells(5, 1, 9, 3));
    DoUndo(workbook);
    DoUndo(workbook);
    DoUndo(workbook);
    EXPECT_EQ(chart_range(chart(object)), cells(3, 1, 6, 2));
    EXPECT_EQ(chart_word(chart(object), kChartNameRow), 2);
}

TEST_F(ChartLinksTest, DataFromAnotherLayerFollowItsRowsAndComeBackWithUndo) {
    MemoryRef second = add_layer(workbook);
    MemoryRef object = chart_over(cells(3, 1, 6, 2));
    MemoryRef own = chart_over(cells(3, 1, 6, 2));
    SetDataRect(cells(3, 1, 6, 2), GetSheetID(second), chart(object));
    set_chart_word(chart(object), kChartNameColumn, 0);
    insert_or_delete(true, cells(0, 0, 1, kLastCell), second);  // two rows above, on the data's layer
    EXPECT_EQ(chart_range(chart(object)), cells(5, 1, 8, 2));
    EXPECT_EQ(chart_range(chart(own)), cells(3, 1, 6, 2)) << "a chart of the changed layer's own data stays";
    insert_or_delete(true, cells(0, 0, kLastCell, 0), second);  // a column before the names
    EXPECT_EQ(chart_range(chart(object)), cells(5, 2, 8, 3));
    EXPECT_EQ(chart_word(chart(object), kChartNameColumn), 1);
    insert_or_delete(true, cells(0, 0, 0, kLastCell));  // a row on the chart's own layer
    EXPECT_EQ(chart_range(chart(object)), cells(5, 2, 8, 3)) << "its data do not lie there";
    EXPECT_EQ(chart_range(chart(own)), cells(4, 1, 7, 2));
    insert_or_delete(false, cells(6, 0, 20, kLastCell), second);  // the data's last rows go
    EXPECT_EQ(chart_range(chart(object)), cells(5, 2, 5, 3));

    DoUndo(workbook);
    EXPECT_EQ(chart_range(chart(object)), cells(5, 2, 8, 3)) << "the deleted rows' data come back whole";
    DoUndo(workbook);  // the row on the chart's layer
    DoUndo(workbook);
    EXPECT_EQ(chart_range(chart(object)), cells(5, 1, 8, 2));
    EXPECT_EQ(chart_word(chart(object), kChartNameColumn), 0);
    DoRedo(workbook);
    EXPECT_EQ(chart_range(chart(object)), cells(5, 2, 8, 3));
}

}  // namespace
