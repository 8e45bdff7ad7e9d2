// The Titles… and Axes… dialogs of the Chart Options menu and the checked
// changes they make to a chart.
#include "charts/chart_options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "charts/chart_links.h"
#include "charts/chart_record.h"
#include "model/workbook.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kFirstField = 4, kSecondField = 6, kThirdField = 8;

bool fits(const std::string& text, int32_t width) { return text.size() < size_t(width); }

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The number a text spells, NaN for an empty one; false when it spells none.
bool read_number(const std::string& text, double* number) {
    *number = NAN;
    if (text.empty()) return true;
    char* end = nullptr;
    *number = std::strtod(text.c_str(), &end);
    return end && *end == 0 && std::isfinite(*number);
}

// The field's text in Roman letters; false (the refusal shown) when Roman cannot spell it.
bool read_field(DialogRef dialog, int16_t item, std::string* text) {
    unsigned char pstr[256];
    if (!GetDRomanText(dialog, item, pstr)) return false;
    text->assign(reinterpret_cast<const char*>(pstr) + 1, pstr[0]);
    return true;
}

void set_field_text(DialogRef dialog, int16_t item, const std::string& text) {
    unsigned char pstr[256];
    pstr[0] = uint8_t(std::min<size_t>(text.size(), 255));
    std::memcpy(pstr + 1, text.data(), pstr[0]);
    SetDEditText(dialog, item, pstr);
}

void say_refusal(ChartOptionRefusal why) { error_alert(kChartRefusals, int16_t(why)); }

// Runs a dialog of three fields filled from and read into the strings, until
// OK with fields `accepted` takes, or Cancel.
template <typename Accept>
bool run_three_fields(int16_t dialog_id, std::string* first, std::string* second, std::string* third,
                      Accept&& accepted) {
    DialogRef dialog = StdNewDLOG(dialog_id, kOkItem, nullptr);
    if (!dialog) return false;
    set_field_text(dialog, kFirstField, *first);
    set_field_text(dialog, kSecondField, *second);
    set_field_text(dialog, kThirdField, *third);
    SelectTheDialogItemText(dialog, kFirstField, 0, kAllCharacters);
    const auto read = [&] {
        return read_field(dialog, kFirstField, first) && read_field(dialog, kSecondField, second) &&
               read_field(dialog, kThirdField, third) && accepted();
    };
    return run_ok_cancel_dialog(dialog, read, [](int16_t) {}) != 0;
}

// Records the chart object for undo, lets the change work on its chart, and
// redraws it.
template <typename Change>
void change_chart(MemoryRef object, MemoryRef layer, Change&& change) {
    record_object_attributes({object}, layer, kUndoChartEdited);
    change(object_chart(object));
    increment_change_ctr(layer);
    redraw_object(object, layer);
}

}  // namespace

ChartTitles chart_titles(MemoryRef chart) {
    return ChartTitles{chart_text(chart, kChartTitle), chart_text(chart, kChartCategoryTitle),
                       chart_text(chart, kChartValueTitle)};
}

ChartOptionRefusal check_chart_titles(const ChartTitles& titles) {
    for (const std::string* title : {&titles.chart, &titles.category, &titles.value})
        if (!fits(*title, kChartTitleSize)) return ChartOptionRefusal::kTitleTooLong;
    return ChartOptionRefusal::kNone;
}

bool change_chart_titles(MemoryRef object, MemoryRef layer, const ChartTitles& titles) {
    if (!object_chart(object) || check_chart_titles(titles) != ChartOptionRefusal::kNone) return false;
    change_chart(object, layer, [&](MemoryRef chart) {
        set_chart_text(chart, kChartTitle, titles.chart);
        set_chart_text(chart, kChartCategoryTitle, titles.category);
        set_chart_text(chart, kChartValueTitle, titles.value);
    });
    return true;
}

ValueAxisTexts value_axis_texts(MemoryRef chart) {
    return ValueAxisTexts{chart_text(chart, kChartYMinimum), chart_text(chart, kChartYMaximum),
                          chart_text(chart, kChartYMajor, kChartUnitSize)};
}

ChartOptionRefusal check_value_axis(ValueAxisTexts* texts) {
    texts->minimum = trimmed(texts->minimum);
    texts->maximum = trimmed(texts->maximum);
    texts->major = trimmed(texts->major);
    double minimum, maximum, major;
    if (!read_number(texts->minimum, &minimum) || !read_number(texts->maximum, &maximum) ||
        !read_number(texts->major, &major))
        return ChartOptionRefusal::kNotANumber;
    if (!fits(texts->minimum, kChartTitleSize) || !fits(texts->maximum, kChartTitleSize) ||
        !fits(texts->major, kChartUnitSize))
        return ChartOptionRefusal::kNumberTooLong;
    if (minimum >= maximum) return ChartOptionRefusal::kNoRange;
    if (major <= 0) return ChartOptionRefusal::kUnitNotPositive;
    return ChartOptionRefusal::kNone;
}

bool change_value_axis(MemoryRef object, MemoryRef layer, ValueAxisTexts texts) {
    if (!object_chart(object) || check_value_axis(&texts) != ChartOptionRefusal::kNone) return false;
    change_chart(object, layer, [&](MemoryRef chart) {
        set_chart_text(chart, kChartYMinimum, texts.minimum);
        set_chart_text(chart, kChartYMaximum, texts.maximum);
        set_chart_text(chart, kChartYMajor, texts.major, kChartUnitSize);
    });
    return true;
}

void chart_titles_dialog(MemoryRef object, MemoryRef layer) {
    ChartTitles titles = chart_titles(object_chart(object));
    const bool confirmed = run_three_fields(kTitlesDialog, &titles.chart, &titles.category, &titles.value, [&] {
        const ChartOptionRefusal why = check_chart_titles(titles);
        if (why != ChartOptionRefusal::kNone) say_refusal(why);
        return why == ChartOptionRefusal::kNone;
    });
    if (confirmed && titles != chart_titles(object_chart(object))) change_chart_titles(object, layer, titles);
}

void value_axis_dialog(MemoryRef object, MemoryRef layer) {
    ValueAxisTexts texts = value_axis_texts(object_chart(object));
    const bool confirmed = run_three_fields(kValueAxisDialog, &texts.minimum, &texts.maximum, &texts.major, [&] {
        const ChartOptionRefusal why = check_value_axis(&texts);
        if (why != ChartOptionRefusal::kNone) say_refusal(why);
        return why == ChartOptionRefusal::kNone;
    });
    if (confirmed && texts != value_axis_texts(object_chart(object))) change_value_axis(object, layer, texts);
}
