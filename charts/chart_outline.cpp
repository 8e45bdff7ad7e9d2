// The parts of a chart under the mouse, and the moving outline that shows one.
#include "charts/chart_drawing.h"
#include "charts/chart_values.h"
#include "charts/charts.h"
#include "model/layer.h"
#include "objects/object_drawing.h"
#include "objects/object_records.h"
#include "platform/controls/control_look.h"
#include "platform/draw/draw.h"
#include "platform/events/clock.h"
#include "platform/host/host.h"
#include "ui/task_manager.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/selection_highlight.h"

namespace {

ChartParts object_chart_parts(MemoryRef object, const pf::Rect& rect) {
    const ObjectRecord record = *ObjectUse(object).get();
    if (!record.chart) return ChartParts{rect, {}, {}, {}};
    return chart_parts(record.kind, record.chart, chart_object_data(object), rect);
}

pf::Rect part_rect(const ChartParts& parts, int16_t part) {
    switch (part) {
    case kChartAreaPart: return parts.frame;
    case kChartTitlePart: return parts.title;
    case kChartLegendPart: return parts.legend;
    case kChartPlotPart: return parts.plot;
    default: return pf::Rect{};
    }
}

}  // namespace

int16_t PtinChartEdit(MemoryRef object, const pf::Rect& rect, pf::Point where, int16_t) {
    if (!object || !pf::pt_in_rect(where, rect)) return -1;
    const ChartParts parts = object_chart_parts(object, rect);
    for (int16_t part : {kChartTitlePart, kChartLegendPart, kChartPlotPart})
        if (pf::pt_in_rect(where, part_rect(parts, part))) return part;
    return kChartAreaPart;
}

void ChartAnts(int16_t pane, int16_t part, pf::Rect* outline, const pf::Rect& rect, MemoryRef object, MemoryRef layer) {
    *outline = part < 0 || !object ? pf::Rect{} : part_rect(object_chart_parts(object, rect), part);
    if (outline->right <= outline->left || outline->bottom <= outline->top) return;
    pf::Rect pane_rect;
    GetPaneRect(&pane_rect, pane, layer);
    clipped_to(pane_rect, [&] {
        pf::pen_normal();
        pf::pen_mode(pf::kPatXor);
        pf::pen_pat(pf::kGrayPattern);
        pf::frame_rect(pf::inset_rect(*outline, -1, -1));
        pf::pen_normal();
    });
}

void outline_chart_part(MemoryRef layer, pf::Point where) {
    const int16_t pane = layer ? find_pane(where, layer) : -1;
    if (pane < 0) return;
    pf::Rect rect;
    int16_t handle = 0;
    MemoryRef object = MouseinObject(&rect, where, &handle, pane, layer);
    if (!object || handle || !is_object_selected(layer, object) || !GetObj_info(object, pf::four_cc("isch"))) return;
    const int16_t part = PtinChartEdit(object, rect, where, 0);
    WindowRef window = layer_window(layer);
    if (part < 0 || !window) return;
    PushWindowPort(window);
    pf::Rect outline;
    const uint32_t start = pf::tick_count();
    ChartAnts(pane, part, &outline, rect, object, layer);
    pf::host_present();
    ant_pause(start);
    ChartAnts(pane, part, &outline, rect, object, layer);
    pf::host_present();
    PopPort();
}
