// Classifying, finding, selecting and activating windows by their tasks; the
// port and clip stacks.
#include <array>

#include "ui/system_info.h"
#include "ui/task_manager.h"
#include "ui/ui_services.h"

namespace {

constexpr int kStackDepth = 16;

struct PortStack {
    std::array<pf::Port*, kStackDepth> ports{};
    int depth = 0;
};

struct ClipStack {
    std::array<pf::RgnHandle, kStackDepth> clips{};
    int depth = 0;
};

PortStack port_stack;
ClipStack clip_stack;

bool has_task_of_kind(WindowRef window, int32_t low, int32_t high) {
    TaskRecord task;
    get_task_from_window(window, &task);
    return task.index != 0 && task.kind >= low && task.kind <= high;
}

}  // namespace

bool WindowIsModal(WindowRef window) {
    if (!window) return false;
    if (has_task_of_kind(window, kFloatingDialogTask, kFloatingDialogTask)) return false;
    if (pf::window_kind(window) == kPaletteWindowKind) return false;
    if (pf::window_kind(window) == pf::kDialogWindowKind || pf::is_modal_window(window)) return true;
    int16_t variant = pf::window_variant(window);
    return variant == 1 || variant == 2 || variant == 3 || variant == 5;
}

bool is_tool_window(WindowRef window) { return has_task_of_kind(window, kFloatingToolTask, kOtherToolTask); }

bool is_window_dialog_task(WindowRef window, bool allow_floating) {
    return has_task_of_kind(window, kModelessDialogTask, kModelessDialogTask) ||
           (allow_floating && has_task_of_kind(window, kFloatingDialogTask, kFloatingDialogTask));
}

WindowRef FrontDocWindow() {
    for (WindowRef w = pf::front_window(); w; w = pf::next_window(w)) {
        if (!pf::window_visible(w)) continue;
        if (!WindowIsModal(w) && !is_tool_window(w)) return w;
    }
    return nullptr;
}

int16_t SelectReferencedWindow(WindowRef window) {
    if (!(g_system.flags & kSysSelectWindows) || !window || window == pf::front_window()) return 0;
    TaskRecord task;
    get_task_from_window(window, &task);
    if (task.index != 0 && task.kind == kFloatingToolTask) {
        pf::select_window(window);
        return 0;
    }
    if (window == pf::front_non_floating_window()) return 0;
    pf::select_window(window);
    return 1;
}

void WindowTransition(WindowRef window) {
    pf::show_window(window);
    ui_services.reset_cursor();
}

void ShowReferencedWindow(WindowRef window) { WindowTransition(window); }

void DragReferencedWindow(WindowRef window, pf::Point start, const pf::Rect& bounds) {
    pf::drag_window(window, start, bounds);
}

WindowRef wxFrontNonFloatingWindow() { return pf::front_non_floating_window(); }

void SuspendFloatingWindows() {
    if (pf::floating_windows_visible()) pf::hide_floating_windows();
}

void ResumeFloatingWindows() {
    if (!pf::floating_windows_visible()) pf::show_floating_windows();
}

// Callers rely on their windows being drawn (before a dialog, after a command),
// and on a hidden window going out of sight.
void DoAllUpdates() {
    EventRecord update;
    while (pf::get_next_event(pf::kUpdateMask, update)) ui_services.draw_update(&update);
}

void HideReferencedWindow(WindowRef window) {
    if (window) pf::hide_window(window);
}

void ActivateFloatersAndFirstDocumentWindow() {}
void DeactivateFloatersAndFirstDocumentWindow() {}

void PushPort(pf::Port* port) {
    if (port_stack.depth < kStackDepth) port_stack.ports[size_t(port_stack.depth)] = pf::get_port();
    ++port_stack.depth;
    if (port) pf::set_port(port);
}

void PushWindowPort(WindowRef window) { PushPort(window ? pf::window_port(window) : nullptr); }

void PopPort() {
    if (port_stack.depth == 0) return;
    --port_stack.depth;
    if (port_stack.depth >= kStackDepth) return;
    if (pf::Port* saved = port_stack.ports[size_t(port_stack.depth)]) pf::set_port(saved);
}

int32_t call_task_in_port(TaskProc proc, WindowRef window, EventRecord* event, uintptr_t app_ref, uintptr_t extra) {
    if (!proc) return 0;
    PushWindowPort(window);
    int32_t answer = proc(event, app_ref, extra);
    PopPort();
    return answer;
}

void PushClip() {
    pf::RgnHandle saved = pf::new_region();
    pf::get_clip(saved);
    if (clip_stack.depth < kStackDepth) clip_stack.clips[size_t(clip_stack.depth)] = saved;
    else pf::dispose_region(saved);
    ++clip_stack.depth;
}

void PopClip() {
    if (clip_stack.depth == 0) return;
    --clip_stack.depth;
    if (clip_stack.depth >= kStackDepth) return;
    pf::RgnHandle saved = clip_stack.clips[size_t(clip_stack.depth)];
    pf::set_clip(saved);
    pf::dispose_region(saved);
}
