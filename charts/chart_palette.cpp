// The chart-kind palette window.
#include "charts/chart_palette.h"

#include "charts/chart_drawing.h"
#include "charts/chart_record.h"
#include "charts/charts.h"
#include "ui/task_manager.h"
#include "platform/controls/control_look.h"
#include "platform/draw/draw.h"
#include "platform/windows/windows.h"
#include "ui/app_prefs.h"
#include "window/front_document.h"
#include "window/floating_palette.h"
#include "window/doc_window.h"

WindowRef ChartBar = nullptr;

namespace {

constexpr int16_t kChartKinds = kLastChartTool - kFirstChartTool + 1;
constexpr int16_t kBoxRows = (kChartKinds + kChartBoxesAcross - 1) / kChartBoxesAcross;
constexpr int16_t kPitchH = kChartBoxWidth + 1, kPitchV = kChartBoxHeight + 1;
constexpr int16_t kIconInset = 2;
constexpr int16_t kPaletteOffset = 430;
constexpr pf::RGBColor kLineGrey{0x8888, 0x8888, 0x8888};

// The tool chosen in the front document window, 0 for none.
int16_t chosen_tool() {
    MemoryRef record = front_document_record();
    const uint16_t tool = record ? read_doc_window(record).tool : 0;
    return tool >= kFirstChartTool && tool <= kLastChartTool ? int16_t(tool) : 0;
}

int16_t framed_tool = 0;  // the kind framed when the face was last drawn

}  // namespace

void redraw_chart_palette() {
    if (ChartBar) pf::inval_window_rect(ChartBar, chart_face_rect());
}

void show_chosen_chart_tool() {
    if (chosen_tool() != framed_tool) redraw_chart_palette();
}

namespace {

int32_t update_chart_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (!ChartBar) return 1;
    PushWindowPort(ChartBar);
    framed_tool = chosen_tool();
    DrawChartImage(chart_face_rect(), 32, true, framed_tool);
    PopPort();
    return 1;
}

int32_t click_chart_proc(EventRecord* event, uintptr_t, uintptr_t) {
    MemoryRef record = front_document_record();
    if (!ChartBar || !record) return 1;
    PushWindowPort(ChartBar);
    pf::Point where = event->where;
    pf::global_to_local(where);
    PopPort();
    const int16_t tool = chart_tool_at(where, chart_face_rect());
    if (!tool) return 1;
    DocWindowRecord fields = read_doc_window(record);
    if (fields.tool == uint16_t(tool)) {
        fields.tool = 0;
        write_doc_window(record, fields);
        redraw_chart_palette();
        return 1;
    }
    DoChartMenu(record, int16_t(tool - kFirstChartTool + 1));
    return 1;
}

int32_t close_chart_proc(EventRecord* event, uintptr_t, uintptr_t) {
    close_palette_window(ChartBar, kChartPalettePosition, kPrefChartPalette, event);
    return 1;
}

}  // namespace

pf::Rect chart_face_rect() {
    return pf::Rect{0, 0, int16_t(kBoxRows * kPitchV - 1), int16_t(kChartBoxesAcross * kPitchH - 1)};
}

pf::Rect chart_box(int16_t tool, const pf::Rect& face) {
    const int16_t index = int16_t(tool - kFirstChartTool);
    const int16_t top = int16_t(face.top + index / kChartBoxesAcross * kPitchV);
    const int16_t left = int16_t(face.left + index % kChartBoxesAcross * kPitchH);
    return pf::Rect{top, left, int16_t(top + kChartBoxHeight), int16_t(left + kChartBoxWidth)};
}

int16_t chart_tool_at(pf::Point where, const pf::Rect& face) {
    for (int16_t tool = kFirstChartTool; tool <= kLastChartTool; ++tool)
        if (pf::pt_in_rect(where, chart_box(tool, face))) return tool;
    return 0;
}

void DrawChartImage(const pf::Rect& rect, int16_t, bool active, int16_t chosen) {
    pf::pen_normal();
    pf::rgb_fore_color(kLineGrey);
    pf::paint_rect(rect);
    for (int16_t tool = kFirstChartTool; tool <= kLastChartTool; ++tool) {
        const pf::Rect box = chart_box(tool, rect);
        pf::rgb_fore_color(pf::kWhiteColor);
        pf::paint_rect(box);
        if (active) draw_chart_icon(chart_kind_of_tool(tool), pf::inset_rect(box, kIconInset, kIconInset));
        if (tool != chosen) continue;
        pf::rgb_fore_color(pf::kBlackColor);
        pf::pen_size(2, 2);
        pf::frame_rect(box);
        pf::pen_normal();
    }
}

void MakeChartWindow() {
    if (ChartBar) return;
    const pf::Rect face = chart_face_rect();
    ChartBar = make_palette_window("Charts", kChartPalettePosition, kPaletteOffset, face.right, face.bottom,
                                   {.update = update_chart_proc,
                                    .click = click_chart_proc,
                                    .key = pass_key_to_document,
                                    .close = close_chart_proc});
}
