// The titles and value axis of a chart, read, checked and changed as the
// Chart Options dialogs edit them.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_manager.h"

// The chart's title and the titles of its category and value axes.
struct ChartTitles {
    std::string chart, category, value;
    bool operator==(const ChartTitles&) const = default;
};
// The value axis limits and major unit as typed (empty: automatic).
struct ValueAxisTexts {
    std::string minimum, maximum, major;
    bool operator==(const ValueAxisTexts&) const = default;
};

// Why typed titles or axis texts were refused, numbered as their messages.
enum class ChartOptionRefusal : int16_t {
    kNone = 0,
    kTitleTooLong = 1,
    kNotANumber = 2,
    kNumberTooLong = 3,
    kNoRange = 4,
    kUnitNotPositive = 5,
};

ChartTitles chart_titles(MemoryRef chart);
// kTitleTooLong when a title needs more than 31 characters.
ChartOptionRefusal check_chart_titles(const ChartTitles& titles);
// Sets the titles of a chart object (as one undoable step) and redraws it;
// false, changing nothing, when they are refused.
bool change_chart_titles(MemoryRef object, MemoryRef layer, const ChartTitles& titles);

ValueAxisTexts value_axis_texts(MemoryRef chart);
// The typed texts trimmed of spaces; refused when one is not a number, does
// not fit its field, the minimum is not below the maximum or the unit not
// above zero.
ChartOptionRefusal check_value_axis(ValueAxisTexts* texts);
// Sets the value axis texts of a chart object (one undoable step) and
// redraws it; false, changing nothing, when they are refused.
bool change_value_axis(MemoryRef object, MemoryRef layer, ValueAxisTexts texts);

// The dialogs of the Titles… and Axes… items on a chart object.
void chart_titles_dialog(MemoryRef object, MemoryRef layer);
void value_axis_dialog(MemoryRef object, MemoryRef layer);
