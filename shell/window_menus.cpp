// The menus that act on windows rather than cells: the Window menu's own
// items, Arrange, Show and Hide (grid lines, headings, page breaks of the
// front layer) and the Show Layer menu of layer and entry-line keys.
#include <algorithm>
#include <vector>

#include "ui/screen_geometry.h"
#include "model/layer.h"
#include "platform/menus/menus.h"
#include "window/front_document.h"
#include "shell/shell_commands.h"
#include "shell/window_arrange.h"
#include "window/doc_window.h"
#include "window/window_commands.h"
#include "resource_ids.h"
#include "window/window_limits.h"

namespace {

constexpr int16_t kLayerItems = 9;

struct LayerSwitch {
    int16_t item;
    uint32_t flag;
};
constexpr LayerSwitch kLayerSwitches[] = {{1, kLayerGridLines}, {2, kLayerHeadings}, {3, kLayerPageBreaks}};

// The shown document windows, front to back.
std::vector<WindowRef> document_windows() {
    std::vector<WindowRef> windows;
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w))
        if (pf::window_visible(w) && !pf::window_collapsed(w) && window_doc_record(w)) windows.push_back(w);
    return windows;
}

// Moves the window and hands its new size to its grow procedure, as a resize by the user would.
void place_window(WindowRef window, const pf::Rect& rect) {
    pf::move_window(window, rect.left, rect.top, false);
    TaskRecord task;
    get_task_from_window(window, &task);
    EventRecord event{};
    event.message = (uint32_t(uint16_t(rect.height())) << 16) | uint16_t(rect.width());
    if (task.grow) call_task_in_port(task.grow, window, &event, task.app_ref, uintptr_t(window));
    else pf::size_window(window, rect.width(), rect.height(), true);
}

// Zooms out to the standard state, or back in from it, as the zoom box does.
void zoom_front_document() {
    WindowRef window = FrontDocWindow();
    if (!window) return;
    zoom_out(window);
    const bool zoomed = pf::window_content_rect(window) == pf::window_standard_state(window);
    TaskRecord task;
    get_task_from_window(window, &task);
    EventRecord event{};
    event.message = uintptr_t(zoomed ? pf::kInZoomIn : pf::kInZoomOut);
    if (task.zoom) call_task_in_port(task.zoom, window, &event, task.app_ref, uintptr_t(window));
}

void collapse_front_window() {
    WindowRef window = wxFrontNonFloatingWindow();
    if (window && (pf::window_attributes(window) & pf::kWindowCollapseBoxAttribute))
        pf::collapse_window(window, !pf::window_collapsed(window));
}

// Each window behind the front one comes forward in turn, then the front one again.
void bring_all_forward() {
    std::vector<WindowRef> windows;
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w))
        if (pf::window_visible(w) && !pf::is_floating_window(w)) windows.push_back(w);
    if (windows.size() < 2) return;
    for (size_t i = 1; i < windows.size(); ++i) pf::select_window(windows[i]);
    pf::select_window(windows.front());
}

// The limit rectangle less the frame a window draws right of and below its
// content, so that arranged windows show whole, scroll bars and all.
pf::Rect arrange_limit(WindowRef window) {
    pf::Rect limit;
    GetLimitRect(&limit);
    const pf::Rect frame = pf::window_struct_rect(window), content = pf::window_content_rect(window);
    limit.right = int16_t(limit.right - std::max(0, frame.right - content.right));
    limit.bottom = int16_t(limit.bottom - std::max(0, frame.bottom - content.bottom));
    return limit;
}

}  // namespace

void DoArrangeMenu(MemoryRef, int16_t item) {
    std::vector<WindowRef> windows = document_windows();
    if (windows.empty()) return;
    const pf::Rect limit = arrange_limit(windows.front());
    const std::vector<pf::Rect> rects = arrange_rects(item, limit, int(windows.size()), title_bar_height());
    if (rects.size() != windows.size()) return;
    const bool back_to_front = item == kArrangeStack || item == kArrangeCascade;
    for (size_t i = 0; i < windows.size(); ++i)
        place_window(back_to_front ? windows[windows.size() - 1 - i] : windows[i], rects[i]);
}

void DoWindowMenu(MemoryRef, int16_t item) {
    switch (item) {
        case kWindowCloseItem:
            if (WindowRef front = wxFrontNonFloatingWindow()) CloseTaskFromWindow(front);
            break;
        case kWindowZoomItem: zoom_front_document(); break;
        case kWindowMinimizeItem: collapse_front_window(); break;
        case kWindowBringAllItem: bring_all_forward(); break;
        default: break;
    }
}

void Do_showhide_Menu(MemoryRef record, int16_t item) {
    MemoryRef layer = record ? doc_window_layer(record) : nullptr;
    if (!layer) return;
    for (const LayerSwitch& layer_switch : kLayerSwitches) {
        if (layer_switch.item != item) continue;
        SetSheetFlags(layer, GetSheetFlags(layer) ^ layer_switch.flag);
        if (layer_switch.flag == kLayerHeadings) {
            resize_sheet(layer, 1);
            ViewChanged(record, 1);
        }
        if (WindowRef window = doc_window_window(record))
            pf::inval_window_rect(window, pf::window_port(window)->port_rect);
    }
}

void set_showhide_menu() {
    pf::MenuRef menu = pf::get_menu_handle(kShowHideMenu);
    if (!menu) return;
    MemoryRef record = front_document_record();
    MemoryRef layer = record ? doc_window_layer(record) : nullptr;
    for (const LayerSwitch& layer_switch : kLayerSwitches)
        pf::check_menu_item(menu, layer_switch.item, layer && (GetSheetFlags(layer) & layer_switch.flag));
}

void DoCommandMenu(MemoryRef record, int16_t item) {
    if (!record) return;
    if (item >= 1 && item <= kLayerItems) select_layer(record, int16_t(item - 1));
    else if (item == kShowEntryLineItem) click_editor_at_end(record);
}
