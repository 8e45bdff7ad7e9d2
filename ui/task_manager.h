// The task manager: every window the application shows (document windows, the
// command bar, palettes, modeless and floating dialogs) is a task, a record of
// procedures kept in one task list, which the event loop (app/event_loop.h)
// routes each event through to the task its window belongs to. Also the port
// and clip stacks and the routines that find and classify windows.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "core/memory_reserve.h"
#include "platform/draw/draw.h"
#include "platform/events/events.h"
#include "platform/windows/windows.h"

using pf::EventRecord;
using pf::WindowRef;

// Every slot is called with the event, the task's app ref and an extra word:
// the (menu id, item) pair for menu, the window for menu enable, update, idle,
// grow and zoom, the item number for a dialog's click, otherwise 0.
using TaskProc = int32_t (*)(EventRecord* event, uintptr_t app_ref, uintptr_t extra);

// Task kinds.
constexpr int32_t kDocumentTask = 0;
constexpr int32_t kModelessDialogTask = 1;
constexpr int32_t kFloatingToolTask = 2;
constexpr int32_t kFloatingDialogTask = 3;
constexpr int32_t kOtherToolTask = 4;

// Close reasons.
constexpr uint32_t kCloseByUser = 'C';
constexpr uint32_t kCloseForQuit = 'Q';

// TaskQuit's answer when a window refused to close.
constexpr int16_t kQuitRefusedErr = -1711;

// Window kind of the application's palettes.
constexpr int16_t kPaletteWindowKind = 7;

struct TaskRecord {
    WindowRef window;
    uintptr_t app_ref;
    int32_t kind;
    uint32_t close_reason;
    uint32_t color_depth;
    TaskProc menu;
    TaskProc menu_enable;
    TaskProc update;
    TaskProc activate;
    TaskProc idle;
    TaskProc click;
    TaskProc key;
    TaskProc grow;
    TaskProc zoom;
    TaskProc close;
    TaskProc button_state;
    uint32_t index;  // 0: record 0, or a copy for a window with no task of its own
};

struct MenuChoice {
    int16_t menu;
    int16_t item;
};

// ---- Task list ----------------------------------------------------------------
extern MemoryRef task_list;

void InitAppTask(TaskRecord* record);
// The application's own procedures, for a window that hands on the commands it
// does not take itself.
TaskRecord application_procs();
// Gives the window's task its own menu procedures (a null one keeps the task's).
void use_window_menus(WindowRef window, TaskProc menu, TaskProc menu_enable);
// A window's own task procedures, in this order; a slot left empty does nothing.
struct WindowTaskProcs {
    TaskProc update = nullptr, activate = nullptr, idle = nullptr, click = nullptr;
    TaskProc key = nullptr, close = nullptr, grow = nullptr, zoom = nullptr;
};
// Adds a task of `kind` for `window`, its own procedures over the application's
// menu procedures (as InitAppTask fills them).
void add_window_task(WindowRef window, int32_t kind, uintptr_t app_ref, const WindowTaskProcs& procs);
void init_task_windows(const TaskRecord* record);
void NewTask(TaskRecord* record);
void get_task_from_window(WindowRef window, TaskRecord* out);
TaskRecord* get_task_ptr(WindowRef window, int32_t* index);  // caller unuses task_list
void remove_task(WindowRef window);
void set_task_color(WindowRef window, uint32_t depth);
void set_task_appref(WindowRef window, uintptr_t ref);
uint32_t GetTaskColors(WindowRef window);
uintptr_t GetTaskAppRef(WindowRef window);
void dispose_task_windows();
int16_t CloseTask(TaskRecord record);
int16_t CloseTaskFromWindow(WindowRef window);
int16_t TaskQuit();

// ---- The loop (app/event_loop.h) -------------------------------------------------
using IdleProc = void (*)();
extern uint32_t dialog_timer;

// ---- Spare memory reserve (core/memory_reserve.h) --------------------------------
// Runs the low-memory part of one loop pass (the alert when it is due).
void check_low_memory_alert();
// The reserve is full again: the alert may be shown once more.
void low_memory_alert_allowed();

// ---- Windows ------------------------------------------------------------------------
bool WindowIsModal(WindowRef window);
bool is_tool_window(WindowRef window);
bool is_window_dialog_task(WindowRef window, bool allow_floating);
WindowRef FrontDocWindow();
int16_t SelectReferencedWindow(WindowRef window);
void WindowTransition(WindowRef window);
void ShowReferencedWindow(WindowRef window);
void DragReferencedWindow(WindowRef window, pf::Point start, const pf::Rect& bounds);
WindowRef wxFrontNonFloatingWindow();
void SuspendFloatingWindows();
void ResumeFloatingWindows();
void DoAllUpdates();
void HideReferencedWindow(WindowRef window);
void ActivateFloatersAndFirstDocumentWindow();
void DeactivateFloatersAndFirstDocumentWindow();

// ---- Port and clip stacks (16 deep each) ---------------------------------------------
void PushPort(pf::Port* port);
void PushWindowPort(WindowRef window);
void PopPort();
// Calls a task slot (a missing one answers 0) with the window's port pushed around it.
int32_t call_task_in_port(TaskProc proc, WindowRef window, EventRecord* event, uintptr_t app_ref, uintptr_t extra);
void PushClip();
void PopClip();
