#include "shell/tool_palette.h"

#include "charts/chart_palette.h"

#include "editing/clipboard.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/objects.h"
#include "platform/controls/control_look.h"
#include "platform/draw/picture.h"
#include "platform/scrap/scrap.h"
#include "printing/cell_picture.h"
#include "platform/screen/cursor.h"
#include "platform/windows/windows.h"
#include "ui/app_prefs.h"
#include "window/front_document.h"
#include "shell/palette_grid.h"
#include "shell/palette_windows.h"
#include "shell/shell_commands.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/window_commands.h"
#include "window/floating_palette.h"
#include "resource_ids.h"

WindowRef ToolPalette = nullptr;

namespace {

constexpr int16_t kToolPaletteTop = 80;
constexpr int16_t kPlacingCursor = kToolCursor;
constexpr int kRefusedBeepTicks = 9, kFailedBeepTicks = 50;

int16_t shown_tool = 0;  // the armed tool marked in the palette

void set_pending_tool(MemoryRef record, int16_t tool) {
    DocWindowRecord fields = read_doc_window(record);
    fields.tool = uint16_t(tool);
    write_doc_window(record, fields);
    show_pending_tool();
}

int16_t front_pending_tool() {
    const MemoryRef record = front_document_record();
    return record ? int16_t(read_doc_window(record).tool) : 0;
}

void mark_tool(int16_t tool) {
    pf::Rect box;
    FindToolBox(kToolRows, tool, &box);
    if (!box.empty()) pf::invert_rect(pf::inset_rect(box, 1, 1));
}

pf::Point last_click(MemoryRef record) {
    const MemoryRef layer = read_doc_window(record).sheet;
    LayerUse sheet(layer);
    const pf::Point where = sheet->click_point;
    return where;
}

// Both clipboards emptied, then a picture of the selected cells put on the
// system clipboard when it shows anything.
void copy_selection_picture(MemoryRef record) {
    ClobberScrap(1);
    pf::PicHandle picture = nullptr;
    Image_List(&picture, read_doc_window(record).sheet);
    if (!picture) return;
    if (!picture->data.empty()) pf::put_scrap(pf::kScrapPicture, picture->data.data(), picture->data.size());
    pf::kill_picture(picture);
}

void make_object(MemoryRef record, int16_t tool, pf::Point where) {
    pf::set_cursor_resource(kPlacingCursor);
    const bool made = CreateObject(record, tool, where);
    pf::set_arrow_cursor();
    if (!made) pf::sys_beep(kFailedBeepTicks);
}

int32_t update_Tool_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (!ToolPalette) return 1;
    PushWindowPort(ToolPalette);
    draw_palette_picture(kToolsPicture, paint_palette_face(kToolRows));
    shown_tool = front_pending_tool();
    mark_tool(shown_tool);
    PopPort();
    return 1;
}

}  // namespace

void show_pending_tool() {
    show_chosen_chart_tool();
    const int16_t tool = front_pending_tool();
    if (!ToolPalette || tool == shown_tool) return;
    PushWindowPort(ToolPalette);
    mark_tool(shown_tool);
    mark_tool(tool);
    shown_tool = tool;
    PopPort();
}

void CreateTool(MemoryRef record, int16_t tool) {
    if (tool == 0 || !record) return;
    const pf::Point where = last_click(record);
    if (tool == kSelectObjectsTool) Select_Object_Tool(record, where);
    else if (tool == kPictureTool) copy_selection_picture(record);
    else if (tool > kPictureTool && tool <= kLastDrawingTool) make_object(record, tool, where);
    else pf::sys_beep(kFailedBeepTicks);
    set_pending_tool(record, 0);
    DisplayText(record, 1);
}

void DoToolMenu(MemoryRef, int16_t tool) {
    if (Editor_Wind) return pf::sys_beep(kRefusedBeepTicks);
    const MemoryRef record = front_document_record();
    if (!record) return;
    if (tool == kPictureTool) CreateTool(record, tool);
    else set_pending_tool(record, tool);
}

void MakeToolWindow() {
    if (ToolPalette) return;
    place_palette(kToolPalettePosition, kToolPaletteTop);
    ToolPalette = make_palette_window("Tools", kToolPalettePosition, 0, palette_width(), palette_height(kToolRows),
                                      {.update = update_Tool_proc,
                                       .idle = palette_idle_proc,
                                       .click = click_Tool_proc,
                                       .key = pass_key_to_document,
                                       .close = close_Tool_proc});
}

int32_t close_Tool_proc(EventRecord* event, uintptr_t, uintptr_t) {
    if (close_palette_window(ToolPalette, kToolPalettePosition, kPrefToolPalette, event)) disarm_pending_tool();
    return 1;
}

int32_t click_Tool_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (const int16_t tool = chosen_palette_item(ToolPalette, kToolRows)) DoToolMenu(nullptr, tool);
    return 1;
}
