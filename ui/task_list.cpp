// The task list: record 0 is the application's own task; every window with a
// task of its own has one record, found by its window.
#include <cstring>

#include "ui/task_manager.h"
#include "platform/controls/controls.h"
#include "platform/dialogs/dialogs.h"
#include "ui/ui_services.h"

MemoryRef task_list = nullptr;

namespace {

constexpr int32_t kTaskListExtend = 10;

TaskRecord* tasks_in_use(int32_t* count) {
    *count = GetMemorySize(task_list);
    return static_cast<TaskRecord*>(UseMemory(task_list));
}

// The position of the window's record, -1 when it has none (record 0 never matches).
int32_t find_task(WindowRef window) {
    if (!task_list || !window) return -1;
    int32_t count;
    TaskRecord* tasks = tasks_in_use(&count);
    int32_t found = -1;
    for (int32_t i = 1; i < count && found < 0; ++i) {
        if (tasks[i].window == window) found = i;
    }
    UnuseMemory(task_list);
    return found;
}

bool is_dialog_kind(int32_t kind) { return kind == kModelessDialogTask || kind == kFloatingDialogTask; }

// A dialog task's dialog goes with its items; any other task's window with its controls.
void dispose_task_window(const TaskRecord& task) {
    if (!task.window) return;
    pf::DialogRef dialog = is_dialog_kind(task.kind) ? pf::get_dialog_from_window(task.window) : nullptr;
    if (dialog) {
        pf::dispose_dialog(dialog);
        return;
    }
    pf::kill_controls(task.window);
    pf::dispose_window(task.window);
}

bool is_tool_kind(int32_t kind) { return kind >= kFloatingToolTask && kind <= kOtherToolTask; }

// The first window, front to back, with a task of its own that the pass takes.
WindowRef next_window_to_close(bool tools_too) {
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w)) {
        TaskRecord task;
        get_task_from_window(w, &task);
        if (task.index == 0) continue;
        if (!tools_too && is_tool_kind(task.kind)) continue;
        return w;
    }
    return nullptr;
}

// A tool window's owner keeps its window; it forgets it as a quit closes it.
void let_tool_owner_forget(const TaskRecord& task) {
    if (!is_tool_kind(task.kind) || !task.close) return;
    EventRecord ask{};
    ask.message = kCloseForQuit;
    task.close(&ask, task.app_ref, 0);
}

}  // namespace

void InitAppTask(TaskRecord* record) {
    std::memset(record, 0, sizeof *record);
    record->menu = ui_services.app_task_menu;
    record->menu_enable = ui_services.app_task_menu_enable;
    record->button_state = ui_services.app_task_buttons;
}

TaskRecord application_procs() {
    TaskRecord procs;
    InitAppTask(&procs);
    return procs;
}

void use_window_menus(WindowRef window, TaskProc menu, TaskProc menu_enable) {
    int32_t index = 0;
    TaskRecord* task = get_task_ptr(window, &index);
    if (!task) return;
    if (menu) task->menu = menu;
    if (menu_enable) task->menu_enable = menu_enable;
    UnuseMemory(task_list);
}

void add_window_task(WindowRef window, int32_t kind, uintptr_t app_ref, const WindowTaskProcs& procs) {
    TaskRecord task;
    InitAppTask(&task);
    task.window = window, task.app_ref = app_ref, task.kind = kind;
    task.update = procs.update, task.activate = procs.activate, task.idle = procs.idle, task.click = procs.click;
    task.key = procs.key, task.close = procs.close, task.grow = procs.grow, task.zoom = procs.zoom;
    NewTask(&task);
}

void init_task_windows(const TaskRecord* record) {
    if (!task_list) {
        task_list = pgAllocateNewRef(&mem_globals, sizeof(TaskRecord), 0, kTaskListExtend, true);
        SetMemoryPurge(task_list, kNeverPurge, false);
        TaskRecord* first = static_cast<TaskRecord*>(AppendMemory(task_list, 1, true));
        *first = *record;
        first->index = 0;
    } else {
        TaskRecord* first = static_cast<TaskRecord*>(UseMemory(task_list));
        *first = *record;
        first->index = 0;
    }
    UnuseMemory(task_list);
}

void NewTask(TaskRecord* record) {
    record->index = uint32_t(GetMemorySize(task_list));
    TaskRecord* added = static_cast<TaskRecord*>(AppendMemory(task_list, 1, false));
    *added = *record;
    UnuseMemory(task_list);
}

void get_task_from_window(WindowRef window, TaskRecord* out) {
    std::memset(out, 0, sizeof *out);
    if (!task_list || GetMemorySize(task_list) == 0) return;
    int32_t position = find_task(window);
    GetMemoryRecord(task_list, position < 0 ? 0 : position, out);
}

TaskRecord* get_task_ptr(WindowRef window, int32_t* index) {
    int32_t position = find_task(window);
    if (index) *index = position;
    if (position < 0) return nullptr;
    return static_cast<TaskRecord*>(UseMemoryRecord(task_list, position, 0, true));
}

void remove_task(WindowRef window) {
    int32_t position = find_task(window);
    if (position > 0) DeleteMemory(task_list, position, 1);
}

void set_task_color(WindowRef window, uint32_t depth) {
    if (TaskRecord* task = get_task_ptr(window, nullptr)) {
        task->color_depth = depth;
        UnuseMemory(task_list);
    }
}

void set_task_appref(WindowRef window, uintptr_t ref) {
    if (TaskRecord* task = get_task_ptr(window, nullptr)) {
        task->app_ref = ref;
        UnuseMemory(task_list);
    }
}

uint32_t GetTaskColors(WindowRef window) {
    TaskRecord task;
    get_task_from_window(window, &task);
    return task.color_depth;
}

uintptr_t GetTaskAppRef(WindowRef window) {
    TaskRecord task;
    get_task_from_window(window, &task);
    return task.index ? task.app_ref : 0;
}

void dispose_task_windows() {
    while (WindowRef w = next_window_to_close(true)) {
        TaskRecord task;
        get_task_from_window(w, &task);
        let_tool_owner_forget(task);
        remove_task(w);
        dispose_task_window(task);
    }
    task_list = DisposeNonNilMemory(task_list);
}

int16_t CloseTask(TaskRecord record) {
    if (record.close) {
        EventRecord ask{};
        ask.message = record.close_reason;
        if (record.close(&ask, record.app_ref, 0) == 0) return 0;
    }
    if (record.index != 0) remove_task(record.window);
    dispose_task_window(record);
    return 1;
}

int16_t CloseTaskFromWindow(WindowRef window) {
    TaskRecord task;
    get_task_from_window(window, &task);
    if (task.index == 0) return 0;
    task.close_reason = kCloseByUser;
    return CloseTask(task);
}

int16_t TaskQuit() {
    for (bool tools_too : {false, true}) {
        while (WindowRef w = next_window_to_close(tools_too)) {
            TaskRecord task;
            get_task_from_window(w, &task);
            task.close_reason = kCloseForQuit;
            if (!CloseTask(task)) return kQuitRefusedErr;
        }
    }
    ui_services.set_quit_requested(true);
    return 0;
}
