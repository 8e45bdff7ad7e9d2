#include "window/doc_window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ui/screen_geometry.h"
#include "files/document_file.h"
#include "model/layer_use.h"
#include "platform/events/clock.h"
#include "platform/events/events.h"
#include "platform/events/keyboard.h"
#include "formula/recalc.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/menus/menus.h"
#include "platform/resources/resource_format.h"
#include "ui/app_prefs.h"
#include "ui/ui_services.h"
#include "window/window_limits.h"
#include "window/cell_geometry.h"
#include "window/copy_outline.h"
#include "window/document_tools.h"
#include "window/entry_line.h"
#include "window/file_following.h"
#include "window/in_cell_editor.h"
#include "window/point_mode.h"
#include "window/sheet_mouse.h"
#include "window/sheet_cursor.h"
#include "window/sheet_drawing.h"
#include "window/sheet_frame.h"
#include "window/sheet_paint.h"
#include "window/resizing.h"
#include "window/scrolling.h"
#include "window/sheet_tabs.h"
#include "window/window_names.h"
#include "window/window_commands.h"
#include "window/selection_highlight.h"
#include "window/window_services.h"

namespace {

constexpr int16_t kGrowStrip = 16;
constexpr int16_t kCornerIconsWidth = 64;
constexpr int16_t kSplitBoxLength = 6;
constexpr int16_t kWindowIconsRoom = 47;
// The usual first size of a window.
constexpr pf::Rect kDocumentBounds{0, 0, 440, 660};

constexpr uint32_t kFollowTicks = 15;

// Tick count before which the document windows' modified marks are not looked at again.
uint32_t nextSynchTicks = 0;
constexpr uint32_t kCursorRefreshTicks = 90;
// Tick count of the last time the cursor was set again regardless.
uint32_t cursor_time = 0;

MemoryRef as_record(uintptr_t app_ref) { return reinterpret_cast<MemoryRef>(app_ref); }

void set_refresh_request() { app_prefs.options2 |= kPrefRefreshButtons; }

// The window rectangle a document stored for the layer (global), when usable.
bool saved_window_rect(MemoryRef layer, pf::Rect* rect) {
    GetPaneRect(rect, 0, layer);
    return !rect->empty() && checkonscreen(pf::Point{rect->top, rect->left});
}

int16_t frame_room() { return int16_t(wind_left_extra() + 2); }

// The first size of a window: its usual size, cut to the limit rectangle, and
// moved right of a palette column at the screen's left edge.
pf::Rect first_window_size() {
    pf::Rect limit, screen;
    GetLimitRect(&limit);
    GetScreenRect(&screen);
    pf::Rect size = kDocumentBounds;
    size.bottom = std::min<int16_t>(size.bottom, int16_t(limit.height() - frame_room()));
    size.right = std::min<int16_t>(size.right, int16_t(limit.width() - 2 * frame_room()));
    const int16_t palette_room = int16_t(limit.left - screen.left);
    size.left = int16_t(size.left + palette_room);
    size.right = int16_t(size.right + palette_room);
    return size;
}

// A staggered window that would reach below the limit rectangle ends above it.
void keep_above_limit(WindowRef window) {
    pf::Rect limit;
    GetLimitRect(&limit);
    const pf::Rect content = pf::window_content_rect(window);
    const int16_t lowest = int16_t(limit.bottom - frame_room());
    if (content.bottom > lowest && lowest - content.top > 0)
        pf::size_window(window, int16_t(content.width()), int16_t(lowest - content.top), false);
}

pf::ControlRef make_bar(WindowRef window, MemoryRef record, bool vertical) {
    const pf::Rect port = pf::window_port(window)->port_rect;
    const pf::Rect bounds = vertical ? pf::Rect{-1, int16_t(port.right - 15), int16_t(port.bottom - 14), int16_t(port.right + 1)}
                                     : pf::Rect{int16_t(port.bottom - 15), -1, int16_t(port.bottom + 1), int16_t(port.right - 14)};
    return pf::new_control(window, bounds, "", false, 0, 0, 0, pf::kScrollBarControl, uintptr_t(record));
}

void place_bar(pf::ControlRef bar, const pf::Rect& bounds) {
    if (!bar) return;
    pf::move_control(bar, bounds.left, bounds.top);
    pf::size_control(bar, int16_t(bounds.right - bounds.left), int16_t(bounds.bottom - bounds.top));
}

void register_task(WindowRef window, MemoryRef record) {
    add_window_task(window, kDocumentTask, uintptr_t(record),
                    {update_doc_proc, ActivateDocProc, DocumentIdle, click_doc_proc, DocumentKey, DocumentClose,
                     grow_doc_proc, zoom_doc_proc});
}

}  // namespace

DocWindowRecord read_doc_window(MemoryRef record) {
    DocWindowRecord fields{};
    if (record) GetMemoryRecord(record, 0, &fields);
    return fields;
}

void write_doc_window(MemoryRef record, const DocWindowRecord& fields) {
    if (!record) return;
    std::memcpy(MemoryUse<>(record).get(), &fields, sizeof fields);
}

WindowRef doc_window_window(MemoryRef record) { return read_doc_window(record).window; }
MemoryRef doc_window_layer(MemoryRef record) { return read_doc_window(record).sheet; }
MemoryRef doc_window_workbook(MemoryRef record) { return read_doc_window(record).workbook; }

MemoryRef GetSheetRef(WindowRef window) {
    uintptr_t record = GetTaskAppRef(window);
    return record ? doc_window_layer(reinterpret_cast<MemoryRef>(record)) : nullptr;
}

MemoryRef window_doc_record(WindowRef window) {
    if (!window) return nullptr;
    TaskRecord task;
    get_task_from_window(window, &task);
    return task.index != 0 && task.kind == kDocumentTask ? as_record(task.app_ref) : nullptr;
}

bool any_document_window() {
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w))
        if (window_doc_record(w)) return true;
    return false;
}

WindowRef layer_window(MemoryRef layer) {
    auto window = static_cast<WindowRef>(GetSheetWind(layer));
    MemoryRef record = window_doc_record(window);
    return record && doc_window_layer(record) == layer ? window : nullptr;
}

bool layer_window_rect(MemoryRef layer, pf::Rect* rect) {
    WindowRef window = layer_window(layer);
    if (!window) return false;
    *rect = pf::window_content_rect(window);
    return true;
}

void* MakeWind(void*, int16_t show, MemoryRef layer) {
    MemoryRef workbook = GetWorkSheet(layer);
    unsigned char title[256];
    Get_Wind_Name(title, layer, Get_fileinfo(workbook));
    pf::Rect saved;
    const bool use_saved = saved_window_rect(layer, &saved);
    const pf::Rect bounds = first_window_size();
    WindowRef window =
        JustMakeWindow(title, &bounds, window_services.app_command_bar(), window_services.listed_window_count());
    if (!window) return nullptr;
    keep_above_limit(window);
    show_window_title(window, layer, Get_fileinfo(workbook));
    MemoryRef record = pgAllocateNewRef(&mem_globals, sizeof(DocWindowRecord), 1, 0, true);
    if (!record) {
        pf::dispose_window(window);
        return nullptr;
    }
    window_services.list_window(window);
    SetSheetWind(layer, window);
    if (use_saved) {
        pf::size_window(window, int16_t(saved.width()), int16_t(saved.height()), false);
        pf::move_window(window, saved.left, saved.top, false);
        // A rectangle saved on another screen may put the title bar under the bars.
        CheckLimitRect(window);
        keep_above_limit(window);
    }
    DocWindowRecord fields{window, layer, workbook, record, {}, {}, 0, {}};
    for (int pass = 0; pass < 2; ++pass) {
        fields.vertical_bar[pass] = make_bar(window, record, true);
        fields.horizontal_bar[pass] = make_bar(window, record, false);
    }
    write_doc_window(record, fields);
    register_task(window, record);
    install_wheel_handler(record);
    window_services.install_drag_handlers(window);
    ViewChanged(record, 1);
    if (show) {
        pf::select_window(window);
        ShowReferencedWindow(window);
    }
    ResetCalc(CellPoint{0, 0}, window);
    // The command bar's buttons follow the new front document at once, not at
    // the next idle time (a program without a command bar has no button-state
    // procedure).
    if (show && ui_services.app_task_buttons)
        ui_services.app_task_buttons(nullptr, uintptr_t(record), uintptr_t(window));
    return window;
}

PageInputs page_inputs_of(MemoryRef layer) {
    PageInputs inputs;
    inputs.edits = get_edit_count(GetWorkSheet(layer));
    LayerUse sheet(layer);
    inputs.cells = sheet->cells;
    inputs.cells_size = sheet->cells ? GetByteSize(sheet->cells) : 0;
    inputs.column_formats = sheet->column_formats;
    inputs.row_formats = sheet->row_formats;
    return inputs;
}

void follow_page_marks(MemoryRef record) {
    DocWindowRecord fields = read_doc_window(record);
    MemoryRef layer = fields.sheet;
    if (!layer || !(GetSheetFlags(layer) & kLayerPageBreaks)) return;
    const PageInputs now = page_inputs_of(layer);
    if (now == fields.pages) return;
    window_services.recompute_page_breaks(layer);
    DocWindowRecord latest = read_doc_window(record);
    latest.pages = now;
    write_doc_window(record, latest);
}

int32_t update_doc_proc(EventRecord*, uintptr_t app_ref, uintptr_t) {
    const DocWindowRecord fields = read_doc_window(as_record(app_ref));
    if (!fields.window) return 1;
    MemoryRef layer = fields.sheet;
    SetSheetColors(layer, int16_t(std::min<uint32_t>(GetTaskColors(fields.window), 32)));
    pf::pen_normal();
    pf::draw_grow_icon(fields.window);
    Draw_ID(layer);
    if (SheetActive(layer)) pf::draw_controls(fields.window);
    draw_wind_icons(as_record(app_ref));
    draw_hdivider(as_record(app_ref));
    draw_divider(as_record(app_ref));
    const pf::Rect port = pf::window_port(fields.window)->port_rect;
    pf::RgnHandle sheet_area = pf::new_region();
    pf::rect_region(sheet_area, pf::Rect{port.top, port.left, int16_t(port.bottom - kScrollBarWidth),
                                         int16_t(port.right - kScrollBarWidth)});
    Draw_Spreadsheet(sheet_area, layer);
    pf::dispose_region(sheet_area);
    InvertCells(layer);
    redraw_in_cell_editor(layer);
    return 1;
}

int32_t ActivateDocProc(EventRecord* event, uintptr_t app_ref, uintptr_t) {
    MemoryRef record = as_record(app_ref);
    DocWindowRecord fields = read_doc_window(record);
    if (!fields.window) return 1;
    MemoryRef layer = fields.sheet;
    const bool activating = (event->modifiers & 1) != 0;
    const bool active = (GetSheetFlags(layer) & kLayerActiveBits) != 0;
    const pf::Rect port = pf::window_port(fields.window)->port_rect;
    if (activating && !active) {
        ActivateSheet(kLayerActive, layer);
        window_services.display_range(layer);  // the reference box shows this window's cell
        DisplayText(record, 1);
        Show_Hide_Bars(record, true);
        invalidate_tabs();
        // The first document after none lights the menus that need one at once.
        if (!window_services.view_menu_on()) window_services.refresh_menu_bar();
        pf::inval_window_rect(fields.window, pf::Rect{int16_t(port.bottom - 14), int16_t(port.right - kCornerIconsWidth),
                                                      port.bottom, int16_t(port.right - kGrowStrip)});
        inval_grow(fields.window);
    } else if (!activating && active) {
        fields.tool = 0;
        write_doc_window(record, fields);
        window_services.refresh_chart_palette();
        DeActivateSheet(layer);
        Show_Hide_Bars(record, false);
        inval_grow(fields.window);
    }
    draw_hdivider(record);
    draw_divider(record);
    return 1;
}

namespace {


// The modified mark of every document window: a document never saved is
// modified when it holds anything, a saved one when it has changed since;
// its page-break marks; and its file, renamed or gone. False when a document
// closed (its file went away).
bool follow_documents() {
    const uint32_t now = pf::tick_count();
    const int32_t wait = int32_t(nextSynchTicks - now);
    if (wait > 0 && wait <= int32_t(kFollowTicks)) return true;  // (a clock set back does not stop it)
    nextSynchTicks = now + kFollowTicks;
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w)) {
        MemoryRef record = window_doc_record(w);
        MemoryRef workbook = record ? doc_window_workbook(record) : nullptr;
        if (!workbook) continue;
        follow_page_marks(record);
        const bool never_saved = file_record_of(workbook).format_code == kFormatUntitled;
        pf::set_window_modified(w, never_saved ? doc_is_really_dirty(workbook) != 0 : get_change_ctr(workbook) != 0);
        if (!follow_document_file(record)) return false;  // closed: the window list changed
    }
    forget_closed_documents();
    return true;
}

// Now and then the cursor is set again even when it seems unchanged (another
// program may have set its own meanwhile).
void forget_cursor_now_and_then() {
    const uint32_t now = pf::tick_count();
    if (now - cursor_time <= kCursorRefreshTicks) return;
    cursor_time = now;
    SetCursorTo(kForgetCursor);
}

}  // namespace

int32_t DocumentIdle(EventRecord* event, uintptr_t app_ref, uintptr_t) {
    const DocWindowRecord fields = read_doc_window(as_record(app_ref));
    if (!fields.window) return 1;
    forget_cursor_now_and_then();
    if (!follow_documents()) return 1;
    pf::WindowRef under = nullptr;
    if (pf::find_window(event->where, &under) == pf::kInContent && under == fields.window) {
        pf::Point where = event->where;
        pf::global_to_local(where);
        const bool front = FrontDocWindow() == fields.window;
        // The reference box again after the mouse was elsewhere.
        if (front) window_services.display_range(fields.sheet);
        const int16_t wanted = front ? doc_window_cursor(as_record(app_ref), where) : kArrowCursor;
        if (wanted == kCalcSpinCursor) SpinCalcCursor();
        else SetCursorTo(wanted);
        if (wanted == kChartCursor) window_services.outline_chart_part_at(fields.sheet, where);
    }
    if (FrontDocWindow() == fields.window) {
        window_services.refresh_selection_menus(fields.sheet);
        blink_point_reference(fields.sheet);
        blink_copy_outline(fields.sheet);
    }
    if (entry_line_editing()) IdleEditor();
    else SheetIdle(fields.sheet);
    pf::pen_normal();
    return 1;
}

namespace {

// A click counts on from the last one (a double or triple click) when it comes
// within the double-click time and a few pixels of it.
bool continues_clicks(const SpreadSheet& sheet, pf::Point where, uint32_t when) {
    constexpr int16_t kClickSlop = 4;
    return when - sheet.last_click_time <= pf::double_click_time() &&
           std::abs(where.h - sheet.click_point.h) <= kClickSlop && std::abs(where.v - sheet.click_point.v) <= kClickSlop;
}

}  // namespace

int32_t click_doc_proc(EventRecord* event, uintptr_t app_ref, uintptr_t) {
    const DocWindowRecord fields = read_doc_window(as_record(app_ref));
    if (!fields.window) return 1;
    pf::Point where = event->where;
    pf::global_to_local(where);
    LayerUse sheet(fields.sheet);
    sheet->click_count = continues_clicks(*sheet, where, event->when) ? int16_t(sheet->click_count + 1) : 0;
    sheet->click_point = where;
    sheet->last_click_time = event->when;
    sheet->click_modifiers = event->modifiers;
    sheet.release();
    if (ClickScrollBars(as_record(app_ref), where) || click_heading_border(as_record(app_ref), where)) return 1;
    if (fields.tool >= kFirstChartTool) window_services.create_chart(as_record(app_ref), int16_t(fields.tool));
    else sheet_click_in_window(as_record(app_ref), fields.sheet);
    set_refresh_request();
    return 1;
}

int32_t DocumentKey(EventRecord* event, uintptr_t app_ref, uintptr_t) {
    MemoryRef record = as_record(app_ref);
    if (!record) return 1;
    const bool escape = uint8_t(event->message & 0xFF) == pf::kEscapeChar;
    if (escape) end_copy_outline();
    if (!Editor_Wind && window_services.object_key(uint8_t(event->message & 0xFF), read_doc_window(record).sheet)) {
        set_refresh_request();
        return 1;
    }
    // The Escape key shares its character with the Clear key: with nothing
    // being typed it only ends the copy outline, and only Clear clears.
    if (escape && !Editor_Wind && pf::event_key_code(*event) == pf::kKeyCodeEscape) {
        set_refresh_request();
        return 1;
    }
    EditorKey(uint8_t(event->message & 0xFF), record, int16_t(event->modifiers));
    set_refresh_request();
    return 1;
}

int32_t grow_doc_proc(EventRecord* event, uintptr_t app_ref, uintptr_t) {
    MemoryRef record = as_record(app_ref);
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.window) return 1;
    const uint32_t size = uint32_t(event->message);
    Show_Hide_Bars(record, false);
    inval_grow(fields.window);
    pf::size_window(fields.window, int16_t(size & 0xFFFF), int16_t(size >> 16), true);
    inval_grow(fields.window);
    ViewChanged(record, 0);
    increment_change_ctr(fields.sheet);
    return 1;
}

int32_t zoom_doc_proc(EventRecord* event, uintptr_t app_ref, uintptr_t) {
    MemoryRef record = as_record(app_ref);
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.window) return 1;
    Show_Hide_Bars(record, false);
    inval_grow(fields.window);
    if (event->message == pf::kInZoomOut) zoom_out(fields.window);
    pf::zoom_window(fields.window, int16_t(event->message), false);
    pf::inval_window_rect(fields.window, pf::window_port(fields.window)->port_rect);
    ViewChanged(record, 1);
    increment_change_ctr(fields.sheet);
    return 1;
}

void inval_grow(WindowRef window) {
    const pf::Rect port = pf::window_port(window)->port_rect;
    pf::inval_window_rect(window, pf::Rect{port.top, int16_t(port.right - kGrowStrip), port.bottom, port.right});
    pf::inval_window_rect(window, pf::Rect{int16_t(port.bottom - kGrowStrip), port.left, port.bottom, port.right});
}

void v_divider(MemoryRef record, pf::Rect* rect) {
    const DocWindowRecord fields = read_doc_window(record);
    const pf::Rect port = pf::window_port(fields.window)->port_rect;
    const int16_t divider = get_v_divider(fields.sheet);
    const int16_t top = divider ? int16_t(divider - 1) : int16_t(0);
    *rect = pf::Rect{top, int16_t(port.right - 14), int16_t(top + kSplitBoxLength), port.right};
}

void h_divider(MemoryRef record, pf::Rect* rect) {
    const DocWindowRecord fields = read_doc_window(record);
    const pf::Rect port = pf::window_port(fields.window)->port_rect;
    const int16_t divider = get_h_divider(fields.sheet);
    const int16_t left = divider ? int16_t(divider - 1) : int16_t(0);
    *rect = pf::Rect{int16_t(port.bottom - 14), left, port.bottom, int16_t(left + kSplitBoxLength)};
}

namespace {

// A split box: raised light grey while the layer is active, erased otherwise.
void draw_split_box(MemoryRef record, const pf::Rect& box, bool vertical_mark) {
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.window || (GetSheetFlags(fields.sheet) & kLayerFrozenTitles)) return;
    if (!SheetActive(fields.sheet)) {
        pf::erase_rect(box);
        return;
    }
    fore_grey(kHeaderGrey);
    pf::paint_rect(pf::Rect{int16_t(box.top + 1), int16_t(box.left + 1), box.bottom, box.right});
    fore_grey(0xAAAA);
    draw_line(int16_t(box.right - 1), box.top, int16_t(box.right - 1), int16_t(box.bottom - 1));
    draw_line(box.left, int16_t(box.bottom - 1), int16_t(box.right - 1), int16_t(box.bottom - 1));
    pf::rgb_fore_color(pf::kBlackColor);
    if (vertical_mark) draw_line(box.left, box.top, box.right, box.top);
    else draw_line(box.left, box.top, box.left, box.bottom);
}

}  // namespace

void draw_hdivider(MemoryRef record) {
    pf::Rect box;
    v_divider(record, &box);
    draw_split_box(record, box, true);
}

void draw_divider(MemoryRef record) {
    pf::Rect box;
    h_divider(record, &box);
    draw_split_box(record, box, false);
}

void ViewChanged(MemoryRef record, int16_t hide_first) {
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.window) return;
    MemoryRef layer = fields.sheet;
    if (hide_first) Show_Hide_Bars(record, false);
    const pf::Rect port = pf::window_port(fields.window)->port_rect;
    const int16_t width = int16_t(port.width()), height = int16_t(port.height());
    {
        LayerUse sheet(layer);
        sheet->view_rect = pf::Rect{0, 0, int16_t(height - kScrollBarWidth), int16_t(width - kScrollBarWidth)};
    }
    resize_sheet(layer, 0);
    const bool frozen = (GetSheetFlags(layer) & kLayerFrozenTitles) != 0;
    const int16_t v_split = get_v_divider(layer), h_split = get_h_divider(layer);
    pf::Rect pane[4];
    for (int16_t i = 0; i < 4; ++i) GetPaneRect(&pane[i], i, layer);
    const int16_t bar_left = int16_t(width - kScrollBarWidth), bar_top = int16_t(height - kScrollBarWidth);
    const bool row_split = pane[1].left != -1, column_split = pane[2].left != -1;
    place_bar(fields.vertical_bar[0],
              pf::Rect{int16_t(row_split || frozen ? -1 : kSplitBoxLength), bar_left,
                       int16_t(row_split ? pane[0].bottom - 1 : pane[0].bottom + 1), int16_t(width + 1)});
    if (row_split)
        place_bar(fields.vertical_bar[1], pf::Rect{int16_t(frozen ? -1 : v_split + 5), bar_left,
                                                   int16_t(pane[1].bottom + 1), int16_t(width + 1)});
    place_bar(fields.horizontal_bar[0],
              pf::Rect{bar_top, int16_t(column_split || frozen ? -1 : kSplitBoxLength), int16_t(height + 1),
                       int16_t(column_split ? pane[0].right - 1 : pane[0].right - kWindowIconsRoom)});
    if (column_split)
        place_bar(fields.horizontal_bar[1], pf::Rect{bar_top, int16_t(frozen ? -1 : h_split + 5), int16_t(height + 1),
                                                     int16_t(pane[2].right - kWindowIconsRoom - 1)});
    AdjustBars(record);
    Show_Hide_Bars(record, SheetActive(layer) != 0);
}

// The calculation library's progress: the cursor spins while work is done,
// and the command bar shows a progress bar unless the layer is printing or
// the work is of kind 5.
namespace {

// A finished task gives the message area back to the front document's cell.
void restore_reference_box() {
    if (MemoryRef front = GetSheetRef(FrontDocWindow())) {
        window_services.display_range(front);
        return;
    }
    const unsigned char empty[1] = {0};
    window_services.show_message(empty, 1);
}

}  // namespace

void SheetWaitProc(MemoryRef layer, int32_t kind, int32_t done, int32_t total) {
    SpinAppCursor(done == 0 ? int16_t(-1) : done != total ? int16_t(1) : int16_t(0));
    constexpr int32_t kNoProgressBarKind = 5;
    bool printing = layer && (GetSheetFlags(layer) & kLayerPrinting);
    if (kind == kNoProgressBarKind || printing) return;
    window_services.show_progress(done, total);
    if (done == total) restore_reference_box();
}

void DrawCells(const CellRange* range, MemoryRef layer) {
    WindowRef window = layer_window(layer);
    if (!window) return;
    for (int16_t pane = 0; pane < kPaneCount; ++pane) {
        pf::Rect frame;
        GetPaneRect(&frame, pane, layer);
        if (frame.left == -1) continue;
        pf::Rect top_edge{}, bottom_edge{};
        Cell_V_Coord(pane, &top_edge, 0, range->topLeft.v, layer);
        Cell_V_Coord(pane, &bottom_edge, 0, range->botRight.v, layer);
        // Every row (column) of the sheet: the column (row) headings change with them.
        const bool every_row = whole_columns(*range);
        const bool every_column = whole_rows(*range);
        pf::inval_window_rect(window, pf::Rect{every_row ? int16_t(0) : int16_t(top_edge.top - 2),
                                               every_column ? int16_t(0) : int16_t(frame.left - 1),
                                               int16_t(bottom_edge.bottom + 3), int16_t(frame.right + 2)});
    }
}
