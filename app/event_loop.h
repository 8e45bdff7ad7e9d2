// The event loop: TaskMaster routes each event to the procedure of the task
// its window belongs to, runs idle procedures, keeps a spare memory reserve
// and shows errors deferred while the application was in the background;
// menu commands are dispatched to the task of the window in front.
#pragma once

#include <cstdint>

#include "ui/task_manager.h"

using StartProc = void (*)(uintptr_t argument);
using UrgentProc = int32_t (*)(int32_t code);
using TitleProc = int16_t (*)(uintptr_t app_ref);

void TaskMaster(const TaskRecord* record, StartProc start, uintptr_t argument);
// TaskMaster in three steps: the grow-zone procedure and cursor region are
// installed, passes run until one answers false (the quit flag is set), and
// the cursor region is disposed.
void task_master_begin();
bool task_master_pass();
void task_master_end();
void DoTaskEvent(EventRecord* event);
void HandleEvent(EventRecord* event);
void do_idle(EventRecord* event);
void do_update(EventRecord* event);
// Draws every window whose drawing is still waiting (its update), so that a
// dialog about to open shows over the windows as they now are.
void draw_pending_updates();
void do_activate(EventRecord* event);
void do_keydown(EventRecord* event);
void enable_menus();
void do_menus(EventRecord* event, int32_t menu_result);
void do_menu_button(int16_t menu, int16_t item);
void ResetCursor();

bool task_quit_flag();
void set_task_quit_flag(bool quit);
// A quit asked for while a modal window is up waits until the modal loop has
// ended; the task loop then asks to quit as if the request came now.
void queue_quit_request();
bool quit_request_queued();
// Queues Command-Q pressed in a modal loop; true when the key was one.
bool queue_quit_key(const EventRecord& event);
void SetTaskIdle(IdleProc proc);
void SetTaskdlogIdle(IdleProc proc);
IdleProc task_dialog_idle();
void SetTaskUrgentProc(UrgentProc proc);
void SetTaskTitleProc(TitleProc proc);
void SetTaskError(int32_t code);
int32_t task_error();
extern uint32_t real_event_ticks;
