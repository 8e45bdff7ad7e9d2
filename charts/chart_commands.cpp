// The chart commands: creating a chart at a click, the chart kind menu and
// the chart options menu.
#include "charts/chart_commands.h"

#include "charts/chart_links.h"
#include "charts/chart_options.h"
#include "charts/chart_palette.h"
#include "charts/chart_record.h"
#include "charts/charts.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "objects/object_mouse.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "platform/screen/cursor.h"
#include "window/front_document.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

MemoryRef record_or_front(MemoryRef record) { return record ? record : front_document_record(); }

// The chart flag an item of the Chart Options menu turns on and off, 0 for none.
uint32_t toggled_chart_flag(int16_t item) {
    switch (item) {
    case kChartLegendItem: return kChartLegend;
    case kChartGridLinesItem: return kChartGridLines;
    case kChartDataLabelsItem: return kChartDataLabels;
    default: return 0;
    }
}

// The chart at a point of a pane, sized for a new chart.
MemoryRef place_chart(pf::FourCC kind, const CellRange& data, pf::Point where, int16_t pane, MemoryRef layer) {
    MemoryRef chart = NewChartRecord(GetMemoryGlobals(layer), data);
    MemoryRef object = nullptr;
    if (!chart || !NewObject(kind, &object, 1, layer)) {
        DisposeNonNilMemory(chart);
        return nullptr;
    }
    SetObj_info(object, pf::four_cc("chrt"), reinterpret_cast<intptr_t>(chart));
    move_object_to(object, pf::Rect{where.v, where.h, int16_t(where.v + kNewChartHeight), int16_t(where.h + kNewChartWidth)},
                   pane, layer);
    return object;
}

// The selected charts made charts of the kind, as one undo step.
void change_chart_kinds(MemoryRef layer, pf::FourCC kind) {
    std::vector<MemoryRef> changed;
    for (MemoryRef object : selected_charts(layer))
        if (pf::FourCC(GetObj_info(object, pf::four_cc("type"))) != kind) changed.push_back(object);
    if (changed.empty()) return;
    record_object_attributes(changed, layer, kUndoChartEdited);
    for (MemoryRef object : changed) {
        SetObj_info(object, pf::four_cc("type"), intptr_t(kind));
        redraw_object(object, layer);
    }
    increment_change_ctr(layer);
}

}  // namespace

int16_t CreateChart(MemoryRef window_record, int16_t tool) {
    DocWindowRecord fields = read_doc_window(window_record);
    const pf::FourCC kind = chart_kind_of_tool(tool);
    fields.tool = 0;
    write_doc_window(window_record, fields);
    redraw_chart_palette();
    MemoryRef layer = fields.sheet;
    if (!kind || !layer) return 0;
    ConstLayerUse sheet(layer);
    const pf::Point click = sheet->click_point;
    const CellRange selection = sheet->selection;
    sheet.release();
    const int16_t pane = find_pane(click, layer);
    if (pane < 0) return 0;
    MemoryRef object = place_chart(kind, selection, click, pane, layer);
    if (!object) return 0;
    clear_selected_objects(layer);
    add_selected(layer, object);
    increment_change_ctr(layer);
    DrawAllObjects(layer);
    DisplayText(window_record, 1);
    return 1;
}

std::vector<MemoryRef> selected_charts(MemoryRef layer) {
    std::vector<MemoryRef> charts;
    for (int32_t i = 1; MemoryRef object = layer ? get_selected_object(layer, i) : nullptr; ++i)
        if (object_chart(object)) charts.push_back(object);
    return charts;
}

MemoryRef selected_chart_object(MemoryRef layer) {
    MemoryRef object = layer ? get_selected_object(layer, 1) : nullptr;
    return object && object_chart(object) ? object : nullptr;
}

void DoChartMenu(MemoryRef window_record, int16_t item) {
    MemoryRef record = record_or_front(window_record);
    const int16_t tool = int16_t(kFirstChartTool - 1 + item);
    if (!record || !chart_kind_of_tool(tool)) return;
    DocWindowRecord fields = read_doc_window(record);
    if (fields.sheet && get_selected_object(fields.sheet, 1))
        return change_chart_kinds(fields.sheet, chart_kind_of_tool(tool));
    fields.tool = uint16_t(tool);
    write_doc_window(record, fields);
    redraw_chart_palette();
}

void DoChartOptionMenu(MemoryRef window_record, int16_t item) {
    MemoryRef record = record_or_front(window_record);
    MemoryRef layer = record ? read_doc_window(record).sheet : nullptr;
    MemoryRef object = selected_chart_object(layer);
    if (!object) return pf::sys_beep(1);
    if (item == kChartTitlesItem) return chart_titles_dialog(object, layer);
    if (item == kChartAxesItem) return value_axis_dialog(object, layer);
    const uint32_t flag = toggled_chart_flag(item);
    if (!flag) return pf::sys_beep(1);
    record_object_attributes({object}, layer, kUndoChartEdited);
    MemoryRef chart = object_chart(object);
    set_chart_flags(chart, chart_flags(chart) ^ flag);
    increment_change_ctr(layer);
    redraw_object(object, layer);
}

void set_chart_menus(pf::MenuRef object_menu, MemoryRef layer) {
    MemoryRef object = selected_chart_object(layer);
    const bool objects_selected = layer && get_selected_object(layer, 1);
    if (layer && (!objects_selected || !selected_charts(layer).empty()))
        pf::enable_menu_item(object_menu, kObjectChartKindItem);
    if (object) pf::enable_menu_item(object_menu, kObjectChartOptionsItem);
    const int16_t kind_item = object ? int16_t(chart_tool_of_kind(pf::FourCC(GetObj_info(object, pf::four_cc("type")))) -
                                               kFirstChartTool + 1)
                                     : 0;
    if (pf::MenuRef kinds = pf::get_menu_handle(kChartKindMenu))
        for (int16_t item = 1; item <= kLastChartTool - kFirstChartTool + 1; ++item)
            pf::check_menu_item(kinds, item, item == kind_item);
    const uint32_t flags = object ? chart_flags(object_chart(object)) : 0;
    if (pf::MenuRef options = pf::get_menu_handle(kChartOptionMenu)) {
        pf::check_menu_item(options, kChartLegendItem, flags & kChartLegend);
        pf::check_menu_item(options, kChartGridLinesItem, flags & kChartGridLines);
        pf::check_menu_item(options, kChartDataLabelsItem, flags & kChartDataLabels);
    }
}
