// Marking, redrawing and shifting charts as their cells change.
#include "charts/chart_links.h"

#include <algorithm>

#include "charts/chart_record.h"
#include "charts/charts.h"
#include "model/undo_record.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "objects/object_drawing.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "platform/windows/windows.h"
#include "window/doc_window.h"
#include "window/document_windows.h"

namespace {


bool ranges_meet(const CellRange& a, const CellRange& b) {
    return a.topLeft.v <= b.botRight.v && b.topLeft.v <= a.botRight.v && a.topLeft.h <= b.botRight.h &&
           b.topLeft.h <= a.botRight.h;
}


// The last line of a range after the change: one reaching past the deleted
// lines ends before them.
int16_t shifted_end(int16_t line, int16_t first, int16_t count) {
    if (count < 0 && line >= first && line < first - count) return int16_t(std::max<int32_t>(first - 1, 0));
    return shifted_line(line, first, count);
}

}  // namespace

bool chart_reads_layer(MemoryRef chart, MemoryRef holder, MemoryRef source) {
    const int16_t index = chart_word(chart, kChartSourceLayer);
    if (index < 0) return holder == source;
    return GetWorkSheet(holder) == GetWorkSheet(source) && index == GetSheetID(source);
}

bool chart_reads(MemoryRef chart, const CellRange& range) {
    const CellRange data = chart_range(chart);
    if (ranges_meet(data, range)) return true;
    const int16_t name_row = chart_word(chart, kChartNameRow), name_column = chart_word(chart, kChartNameColumn);
    if (name_row >= 0 && ranges_meet(CellRange{{name_row, data.topLeft.h}, {name_row, data.botRight.h}}, range))
        return true;
    return name_column >= 0 &&
           ranges_meet(CellRange{{data.topLeft.v, name_column}, {data.botRight.v, name_column}}, range);
}

void redraw_object(MemoryRef object, MemoryRef layer) {
    WindowRef window = layer_window(layer);
    if (!window) return;
    pf::Rect rect;
    for (int16_t pane = 0; pane < kPaneCount; ++pane)
        if (ObjectOnScreen(pane, 0, &rect, object, layer)) pf::inval_window_rect(window, rect);
}

void CheckHotLinks(int16_t mode, CellPoint top_left, CellPoint bottom_right, MemoryRef layer) {
    MemoryRef workbook = GetWorkSheet(layer);
    if (!workbook) return;
    const CellRange changed{top_left, bottom_right};
    for (int32_t i = 0; MemoryRef holder = find_SpreadSheet_item(workbook, i); ++i) {
        if (!GetSheetWind(holder) || !num_objects(holder)) continue;
        for (MemoryRef object : layer_objects(holder)) {
            MemoryRef chart = object_chart(object);
            if (!chart || !chart_reads_layer(chart, holder, layer) || !chart_reads(chart, changed)) continue;
            if (mode == 0) SetObj_info(object, pf::four_cc("updt"), 1);
            else redraw_object(object, holder);
        }
    }
}

int16_t chartupdate(MemoryRef layer) {
    int16_t updated = 0;
    for (MemoryRef object : layer_objects(layer)) {
        if (!object_chart(object) || !GetObj_info(object, pf::four_cc("updt"))) continue;
        SetObj_info(object, pf::four_cc("updt"), 0);
        redraw_object(object, layer);
        updated = 1;
    }
    return updated;
}

void ChartIdle() {
    for (LayerWindow window = first_document_window(); window; window = next_document_window(window)) {
        MemoryRef layer = document_window_layer(window);
        if (layer && num_objects(layer) && chartupdate(layer)) return;
    }
}

void shift_chart_data(MemoryRef chart, bool rows, int16_t first, int16_t count) {
    CellRange data = chart_range(chart);
    int16_t& top = rows ? data.topLeft.v : data.topLeft.h;
    int16_t& bottom = rows ? data.botRight.v : data.botRight.h;
    const int16_t new_top = shifted_line(top, first, count);
    bottom = std::max(new_top, shifted_end(bottom, first, count));
    top = new_top;
    set_chart_range(chart, data);
    const int32_t name = rows ? kChartNameRow : kChartNameColumn;
    const int16_t line = chart_word(chart, name);
    if (line >= 0) set_chart_word(chart, name, shifted_line(line, first, count));
}

void keep_chart_placement(MemoryRef chart, CellRange* data, int16_t* name_column, int16_t* name_row) {
    *data = chart_range(chart);
    *name_column = chart_word(chart, kChartNameColumn);
    *name_row = chart_word(chart, kChartNameRow);
}

void restore_chart_placement(MemoryRef chart, const CellRange& data, int16_t name_column, int16_t name_row) {
    set_chart_range(chart, data);
    set_chart_word(chart, kChartNameColumn, name_column);
    set_chart_word(chart, kChartNameRow, name_row);
}

void shift_other_layers_charts(MemoryRef placements, bool rows, int16_t first, int16_t count, MemoryRef layer) {
    MemoryRef workbook = GetWorkSheet(layer);
    for (int32_t i = 0; MemoryRef holder = workbook ? find_SpreadSheet_item(workbook, i) : nullptr; ++i) {
        if (holder == layer) continue;
        for (MemoryRef object : layer_objects(holder)) {
            MemoryRef chart = object_chart(object);
            if (!chart || !chart_reads_layer(chart, holder, layer)) continue;
            ObjectPlacement kept{};
            kept.id = int16_t(-1 - GetObj_info(object, pf::four_cc("id  ")));
            kept.anchor_row = GetSheetID(holder);
            keep_chart_placement(chart, &kept.chart_data, &kept.name_column, &kept.name_row);
            PtrAndMemory(&kept, placements, 1);
            shift_chart_data(chart, rows, first, count);
        }
    }
}

void restore_other_layers_charts(MemoryRef placements, MemoryRef layer) {
    const int32_t count = placements ? GetMemorySize(placements) : 0;
    for (int32_t i = 0; i < count; ++i) {
        ObjectPlacement kept;
        GetMemoryRecord(placements, i, &kept);
        if (kept.id >= 0) continue;
        MemoryRef holder = find_layer_by_id(GetWorkSheet(layer), kept.anchor_row);
        MemoryRef object = holder ? find_object_id(holder, int16_t(-1 - kept.id)) : nullptr;
        if (MemoryRef chart = object ? object_chart(object) : nullptr) {
            restore_chart_placement(chart, kept.chart_data, kept.name_column, kept.name_row);
            redraw_object(object, holder);
        }
    }
}
