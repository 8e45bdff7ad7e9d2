// Fill Series against worked tables: linear and growth steps with stop
// values, the four date units, the automatic kind measuring its step (both
// ways, with a step change, single values and counted text), formula results,
// destinations that do not extend the source, and undo.
#include "fill_fixture.h"

#include <gmock/gmock.h>

#include <cmath>

#include "files/entry_store.h"
#include "formula/function_values.h"
#include "model/cell_letters.h"
#include "model/cell_store.h"

namespace {

class Series : public FillTest {
protected:
    // A dialog series over the selection.
    int16_t series(CellRange range, int16_t direction, int16_t kind, int16_t unit = kUnitDay,
                   const double* step = nullptr, const double* stop = nullptr) {
        select_range(range);
        return FillSeries(layer, nullptr, direction, kind, unit, step, stop);
    }
    // A fill-handle series from the selection into `destination`.
    int16_t dragged(CellRange source, CellRange destination) {
        select_range(source);
        return FillSeries(layer, &destination, kSeriesDown, kSeriesAutomatic, kUnitDay, nullptr, nullptr);
    }
    std::vector<double> column(int16_t column_index, int16_t first, int16_t last) {
        std::vector<double> values;
        for (int16_t row = first; row <= last; ++row) values.push_back(result(row, column_index));
        return values;
    }
    std::vector<double> row(int16_t row_index, int16_t first, int16_t last) {
        std::vector<double> values;
        for (int16_t at = first; at <= last; ++at) values.push_back(result(row_index, at));
        return values;
    }
};

MATCHER_P(ValuesAre, expected, "") {
    if (arg.size() != expected.size()) return false;
    for (size_t i = 0; i < arg.size(); ++i) {
        if (std::isnan(expected[i]) != std::isnan(arg[i])) return false;
        if (!std::isnan(expected[i]) && std::fabs(arg[i] - expected[i]) > 1e-9) return false;
    }
    return true;
}

const double kNone = std::nan("");

TEST_F(Series, LinearStepsStopAtTheStopValueFromAboveOnly) {
    const double step = 2, stop = 9;
    put_number(0, 0, 1);
    ASSERT_EQ(series(cells(0, 0, 9, 0), kSeriesDown, kSeriesLinear, 0, &step, &stop), 0);
    EXPECT_THAT(column(0, 0, 6), ValuesAre(std::vector<double>{1, 3, 5, 7, 9, kNone, kNone}));
    EXPECT_EQ(text_at(3, 0), "7");
    EXPECT_EQ(selection(), cells(0, 0, 9, 0));
    const double down = -2.5, floor = 0;
    put_number(0, 1, 1);
    ASSERT_EQ(series(cells(0, 1, 4, 1), kSeriesDown, kSeriesLinear, 0, &down, &floor), 0);
    EXPECT_THAT(column(1, 0, 4), ValuesAre(std::vector<double>{1, -1.5, -4, -6.5, -9}));
}

TEST_F(Series, GrowthAcrossTheRowsOfASource) {
    const double step = 3;
    put_number(0, 0, 2);
    put_number(1, 0, -1);
    put_text(2, 0, "dropped");
    put_number(2, 1, 50);  // overwritten by the series' empty cell of that row
    ASSERT_EQ(series(cells(0, 0, 2, 4), kSeriesAcross, kSeriesGrowth, 0, &step), 0);
    EXPECT_THAT(row(0, 0, 4), ValuesAre(std::vector<double>{2, 6, 18, 54, 162}));
    EXPECT_THAT(row(1, 0, 4), ValuesAre(std::vector<double>{-1, -3, -9, -27, -81}));
    EXPECT_EQ(type_at(2, 1), -1);
}

// Serial 0 is Friday 1 January 1904; 14 is Friday 15 January 1904.
TEST_F(Series, DatesByDayWeekdayMonthAndYear) {
    const double ignored_step = 5;
    put_number(0, 0, 14);
    put_number(0, 1, 14);
    put_number(0, 2, 15);  // a Saturday
    put_number(0, 3, 14);
    put_number(0, 4, 14);
    series(cells(0, 0, 3, 0), kSeriesDown, kSeriesDate, kUnitDay, &ignored_step);
    series(cells(0, 1, 5, 1), kSeriesDown, kSeriesDate, kUnitWeekday);
    series(cells(0, 2, 2, 2), kSeriesDown, kSeriesDate, kUnitWeekday);
    series(cells(0, 3, 3, 3), kSeriesDown, kSeriesDate, kUnitMonth);
    series(cells(0, 4, 2, 4), kSeriesDown, kSeriesDate, kUnitYear);
    EXPECT_THAT(column(0, 0, 3), ValuesAre(std::vector<double>{14, 15, 16, 17}));
    EXPECT_THAT(column(1, 0, 5), ValuesAre(std::vector<double>{14, 17, 18, 19, 20, 21}));
    EXPECT_THAT(column(2, 0, 2), ValuesAre(std::vector<double>{15, 16, 17}));
    EXPECT_THAT(column(3, 0, 3), ValuesAre(std::vector<double>{14, 45, 74, 105}));
    EXPECT_THAT(column(4, 0, 2), ValuesAre(std::vector<double>{14, 380, 745}));
}

// Before 1904 or past the calendar: weekdays are those of the dates the
// serials name (1,461 is Thursday 31 December 1903 in the 1900 system), and
// a date the calendar cannot show is not moved by months as another date.
TEST_F(Series, DatesTheCalendarCannotShowAreNeverTakenForOthers) {
    Set_1900Date_Flag(GetWorkSheet(layer), true);
    put_number(0, 0, 1461);
    put_number(0, 1, 1460);
    put_number(0, 2, -3);
    series(cells(0, 0, 2, 0), kSeriesDown, kSeriesDate, kUnitWeekday);
    series(cells(0, 1, 2, 1), kSeriesDown, kSeriesDate, kUnitWeekday);
    series(cells(0, 2, 1, 2), kSeriesDown, kSeriesDate, kUnitMonth);
    EXPECT_THAT(column(0, 0, 2), ValuesAre(std::vector<double>{1461, 1462, 1465}));
    EXPECT_THAT(column(1, 0, 2), ValuesAre(std::vector<double>{1460, 1461, 1462}));
    EXPECT_EQ(type_at(1, 2), -1);  // no date one month after it
    Set_1900Date_Flag(GetWorkSheet(layer), false);
}

TEST_F(Series, AutomaticContinuesTheMeasuredStepBothWays) {
    for (int16_t r = 0; r < 3; ++r) put_number(r, 0, r + 1);
    ASSERT_EQ(series(cells(0, 0, 6, 0), kSeriesDown, kSeriesAutomatic), 0);
    EXPECT_THAT(column(0, 0, 6), ValuesAre(std::vector<double>{1, 2, 3, 4, 5, 6, 7}));
    for (int16_t r = 4; r < 7; ++r) put_number(r, 1, r - 3);
    ASSERT_EQ(dragged(cells(4, 1, 6, 1), cells(1, 1, 6, 1)), 0);
    EXPECT_THAT(column(1, 0, 6), ValuesAre(std::vector<double>{kNone, -2, -1, 0, 1, 2, 3}));
    // A first step upwards cut by the destination keeps the measured step.
    for (int16_t r = 4; r < 7; ++r) put_number(r, 2, r - 3);
    ASSERT_EQ(dragged(cells(4, 2, 6, 2), cells(2, 2, 6, 2)), 0);
    EXPECT_THAT(column(2, 1, 3), ValuesAre(std::vector<double>{kNone, -1, 0}));
}

TEST_F(Series, AutomaticWithAStepChangeAndWithASingleValue) {
    put_number(0, 0, 1);
    put_number(1, 0, 2);
    put_number(2, 0, 4);
    put_number(0, 1, 5);  // the source is three rows tall in every column
    put_number(0, 3, 5);
    ASSERT_EQ(series(cells(0, 0, 6, 1), kSeriesDown, kSeriesAutomatic), 0);
    const double first = 4 - 1 + 7.0 / 3;
    EXPECT_THAT(column(0, 3, 6), ValuesAre(std::vector<double>{first, first + 1.5, first + 3, first + 4.5}));
    EXPECT_THAT(column(1, 0, 6), ValuesAre(std::vector<double>{5, kNone, kNone, 5, kNone, kNone, 5}));
    ASSERT_EQ(series(cells(0, 3, 3, 3), kSeriesDown, kSeriesAutomatic), 0);
    EXPECT_THAT(column(3, 0, 3), ValuesAre(std::vector<double>{5, 5, 5, 5}));
}

TEST_F(Series, AutomaticCountsOnTextEndingInDigits) {
    put_text(0, 0, "Item9");
    put_text(1, 0, "Item09");
    put_text(2, 0, "Item007");
    put_text(3, 0, "plain");
    ASSERT_EQ(series(cells(0, 0, 3, 2), kSeriesAcross, kSeriesAutomatic), 0);
    EXPECT_EQ(text_at(0, 1), "Item10");
    EXPECT_EQ(text_at(0, 2), "Item11");
    EXPECT_EQ(text_at(1, 1), "Item10");
    EXPECT_EQ(text_at(2, 1), "Item008");
    EXPECT_EQ(text_at(2, 2), "Item009");
    EXPECT_EQ(text_at(3, 2), "plain");
    // A text of another script is counted in its letters.
    ASSERT_EQ(store_unicode_entry(layer, CellPoint{5, 0}, "\u041B\u043E\u0442 9"), kEntryStored);
    ASSERT_EQ(series(cells(5, 0, 5, 2), kSeriesAcross, kSeriesAutomatic), 0);
    for (int16_t column : {1, 2}) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{5, column}, layer));
        const std::vector<uint8_t> copy(cell, cell + _cellLength_(cell));
        EXPECT_EQ(cell_unicode_text(copy.data(), CellPoint{5, column}, layer),
                  "\u041B\u043E\u0442 " + std::to_string(9 + column));
    }
}

TEST_F(Series, FormulaResultsContinueAsNumbersAndTextResultsAreLeftOut) {
    put_formula_result(0, 0, 10);
    put_text_result(0, 1, "abc");
    put_number(0, 2, N_AN(kErrValue));
    put_number(1, 1, 3);  // replaced by nothing: the text result makes no series
    ASSERT_EQ(series(cells(0, 0, 2, 2), kSeriesDown, kSeriesLinear), 0);
    EXPECT_THAT(column(0, 0, 2), ValuesAre(std::vector<double>{10, 11, 12}));
    EXPECT_EQ(type_at(1, 0), kCellConstant);
    EXPECT_EQ(type_at(1, 1), -1);
    EXPECT_EQ(type_at(1, 2), -1);
    // In the automatic kind formulas are copied as they are.
    put_formula(0, 4, "=A1");
    ASSERT_EQ(series(cells(0, 4, 1, 4), kSeriesDown, kSeriesAutomatic), 0);
    EXPECT_EQ(formula(1, 4), "=A2");
}

TEST_F(Series, DestinationsThatDoNotExtendTheSourceChangeNothing) {
    put_number(0, 0, 1);
    put_number(1, 0, 2);
    const auto before = workbook_state();
    EXPECT_EQ(dragged(cells(0, 0, 1, 0), cells(3, 1, 6, 1)), 0);   // no shared edge
    EXPECT_EQ(dragged(cells(0, 0, 1, 0), cells(0, 0, 1, 0)), 0);   // the selection itself
    EXPECT_EQ(dragged(cells(0, 0, 1, 0), cells(0, 0, 0, 0)), 0);   // inside the source
    EXPECT_EQ(series(cells(0, 0, 1, 0), kSeriesDown, kSeriesAutomatic), 0);  // already full of data
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(undo_count(), 0);
}

TEST_F(Series, ASeriesIsUndoneInOneStep) {
    const double step = 1;
    put_number(0, 0, 1);
    put_text(3, 0, "old");
    put_number(0, 2, 1);
    put_number(0, 3, 2);
    expect_undone(kUndoFillSeries, [&] { series(cells(0, 0, 5, 0), kSeriesDown, kSeriesLinear, 0, &step); });
    expect_undone(kUndoFillSeries, [&] { dragged(cells(0, 2, 0, 3), cells(0, 0, 0, 3)); });
}

}  // namespace
