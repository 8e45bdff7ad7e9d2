// TaskMaster, the event loop: waits for events and routes each one to the
// procedure of the task its window belongs to.
#include "app/event_loop.h"

#include <algorithm>

#include "ui/alerts.h"
#include "app/app_menus.h"
#include "ui/colours.h"
#include "ui/dialog_routing.h"
#include "core/memory_manager.h"
#include "ui/screen_geometry.h"
#include "ui/system_info.h"
#include "ui/task_manager.h"
#include "platform/appleevents/appleevents.h"
#include "platform/dialogs/dialogs.h"
#include "platform/host/host.h"
#include "platform/screen/cursor.h"
#include "platform/system/help_tags.h"
#include "platform/system/system.h"
#include "shell/shell_commands.h"
#include "window/entry_line.h"
#include "window/window_limits.h"
#include "resource_ids.h"

uint32_t real_event_ticks = 0;

namespace {

constexpr uint32_t kBackgroundSleep = 60;
constexpr uint32_t kMaxForegroundSleep = 20;
constexpr int16_t kMinGrowWidth = 250;
constexpr int16_t kMinGrowHeight = 120;
constexpr int16_t kToolWindowHeight = 30;
constexpr int16_t kLastRoutedPart = 12;
constexpr int16_t kBeepTicks = 9;

struct LoopState {
    bool quit = false;
    bool quit_queued = false;
    IdleProc idle = nullptr;
    IdleProc dialog_idle = nullptr;
    UrgentProc urgent = nullptr;
    int32_t urgent_code = 0;
    TitleProc title = nullptr;
    int32_t task_error = 0;
    uint16_t last_event_kind = pf::kNullEvent;
    pf::RgnHandle cursor_region = nullptr;
};

LoopState loop;

void route_event(EventRecord* event);

// Runs what an event asks for (a command, a click, a key, an Apple event), and
// the idle work, under a failure frame of its own: a failure on the way (out
// of memory, a file error) abandons the work, every guard on the way giving
// its use back, and is told; the program goes on with its documents as the
// work left them.
template <typename Work>
void run_guarded(Work&& work) {
    int16_t error = with_failure_handler(&mem_globals, work);
    if (error) show_file_error(memory_error_to_tell(error));
}

void set_cursor_rect_at(pf::Point where) {
    if (!loop.cursor_region) return;
    pf::rect_region(loop.cursor_region, pf::Rect{where.v, where.h, int16_t(where.v + 1), int16_t(where.h + 1)});
}

WindowRef menu_window() {
    WindowRef w = pf::front_non_floating_window();
    return w ? w : pf::front_window();
}

// The user closed the host window, or a quit waited for a modal loop to end:
// the same as a quit event sent to ourselves.
void forward_host_quit_request() {
    bool queued = loop.quit_queued && !WindowIsModal(pf::front_window());
    if (!pf::host_quit_requested() && !queued) return;
    pf::host_clear_quit_request();
    loop.quit_queued = false;
    pf::AppleEvent quit;
    pf::AEDesc self;
    pf::ae_address_of_self(self);
    if (pf::ae_create_apple_event(pf::kCoreEventClass, pf::kQuitApplication, self, pf::kAutoGenerateReturnId,
                                  pf::kAnyTransactionId, quit) == pf::noErr) {
        pf::ae_send(quit, nullptr, pf::kAENoReply);
    }
}

uint32_t loop_sleep() {
    if (pf::ae_pending_count() > 0) return 0;
    if (in_background()) return kBackgroundSleep;
    if (loop.last_event_kind == pf::kKeyDown || loop.last_event_kind == pf::kAutoKey) return 0;
    return std::min(pf::caret_time(), kMaxForegroundSleep);
}

void content_click(EventRecord* event, WindowRef window, const TaskRecord& task) {
    WindowRef front = pf::front_window();
    if (window != front) {
        if (!WindowIsModal(front)) {
            if (SelectReferencedWindow(window)) return;
        } else if (!is_window_dialog_task(front, false)) {
            return;
        }
    }
    call_task_in_port(task.click, window, event, task.app_ref, 0);
}

void grow_click(EventRecord* event, WindowRef window, const TaskRecord& task) {
    pf::Rect desk = pf::desktop_bounds();
    pf::Rect limits{kMinGrowHeight, kMinGrowWidth, int16_t(desk.height()), int16_t(desk.width())};
    if (is_tool_window(window)) limits.top = limits.bottom = kToolWindowHeight;
    uint32_t size = pf::grow_window(window, event->where, limits);
    event->message = size;
    if (size) call_task_in_port(task.grow, window, event, task.app_ref, uintptr_t(window));
}

void drag_title(EventRecord* event, WindowRef window) {
    DragReferencedWindow(window, event->where, pf::desktop_bounds());
    CheckLimitRect(window);
}

// A Command-click in the title of a document shows the path pop-up the
// title-click procedure names; an item below the first brings the desktop forward.
bool path_pop_up(EventRecord* event, WindowRef window, const TaskRecord& task) {
    bool path_select = (event->modifiers & pf::kCmdKey) != 0;
    if (!(g_system.flags & kSysProxyIcons) || !task.app_ref || !path_select || !loop.title) return false;
    int16_t menu_id = loop.title(task.app_ref);
    if (menu_id == 0) return false;
    pf::Point below_title{pf::window_struct_rect(window).top, event->where.h};
    if (path_pop_up_choice(menu_id, below_title) >= 2) {
        pf::ProcessSerialNumber desktop;
        if (pf::find_process(pf::kDesktopSignature, desktop) == pf::noErr) pf::set_front_process(desktop);
    }
    return true;
}

void title_click(EventRecord* event, WindowRef window, const TaskRecord& task) {
    if (!path_pop_up(event, window, task)) drag_title(event, window);
}

void route_mouse_down(EventRecord* event) {
    WindowRef window = nullptr;
    int16_t part = pf::find_window(event->where, &window);
    if (part != pf::kInMenuBar && window && is_window_dialog_task(window, true) &&
        handle_dialog_event(event, window)) {
        return;
    }
    TaskRecord task;
    get_task_from_window(window, &task);
    if (part == pf::kInGrow && !task.grow) part = pf::kInContent;
    if (part > kLastRoutedPart) return;
    switch (part) {
        case pf::kInMenuBar:
            enable_menus();
            do_menus(event, menu_bar_choice(event->where));
            break;
        case pf::kInContent:
            content_click(event, window, task);
            break;
        case pf::kInGrow:
            grow_click(event, window, task);
            break;
        case pf::kInGoAway:
            if (pf::track_go_away(window, event->where)) {
                task.close_reason = kCloseByUser;
                CloseTask(task);
            }
            break;
        case pf::kInZoomIn:
        case pf::kInZoomOut:
            if (pf::track_box(window, event->where, part)) {
                event->message = uintptr_t(part);
                call_task_in_port(task.zoom, window, event, task.app_ref, uintptr_t(window));
            }
            break;
        case pf::kInCollapseBox:
            if (pf::track_box(window, event->where, part)) pf::collapse_window(window, !pf::window_collapsed(window));
            break;
        case pf::kInProxyIcon:
            if (!(g_system.flags & kSysProxyIcons) || !task.app_ref) drag_title(event, window);
            else title_click(event, window, task);
            break;
        case pf::kInDrag:
            title_click(event, window, task);
            break;
        default:
            break;
    }
}

bool is_arrow_key(unsigned char c) { return c >= pf::kLeftArrowChar && c <= pf::kDownArrowChar; }

void route_key(EventRecord* event) {
    unsigned char c = pf::event_char(*event);
    bool command = (event->modifiers & pf::kCmdKey) != 0;
    if ((command || c == pf::kFunctionKeyChar) && !is_arrow_key(c) && c != pf::kTabChar) {
        enable_menus();
        int32_t choice = menu_key_choice(*event);
        if (choice >> 16) {
            do_menus(event, choice);
            return;
        }
        bool command_period = command && c == '.';
        if (!(command_period && is_window_dialog_task(pf::front_window(), true))) {
            if (command) pf::sys_beep(kBeepTicks);
            return;
        }
    }
    do_keydown(event);
}

void route_os_event(EventRecord* event) {
    if (pf::os_event_kind(*event) == pf::kMouseMovedMessage) {
        do_idle(event);
        set_cursor_rect_at(event->where);
        return;
    }
    if (pf::os_event_kind(*event) != pf::kSuspendResumeMessage) return;
    pf::set_arrow_cursor();
    if (event->message & pf::kResumeFlag) {
        g_system.flags &= ~kSysInBackground;
        ResetCursor();
        ResumeFloatingWindows();
    } else {
        g_system.flags |= kSysInBackground;
        SuspendFloatingWindows();
    }
}

// A press, a release or a key takes a help tag away.
bool takes_help_tag_away(const EventRecord& event) {
    return event.what == pf::kMouseDown || event.what == pf::kMouseUp || event.what == pf::kKeyDown ||
           event.what == pf::kAutoKey;
}

void idle_window(WindowRef window, EventRecord* event) {
    TaskRecord task;
    get_task_from_window(window, &task);
    call_task_in_port(task.idle, window, event, task.app_ref, uintptr_t(window));
}

void run_idle_procedures(EventRecord* event) {
    pf::help_tags_idle(event->where);
    do_idle(event);
    check_memory();
    if (loop.idle) loop.idle();
}

}  // namespace

bool task_quit_flag() { return loop.quit; }
void queue_quit_request() { loop.quit_queued = true; }
bool quit_request_queued() { return loop.quit_queued; }

bool queue_quit_key(const EventRecord& event) {
    bool is_quit_key = (event.what == pf::kKeyDown || event.what == pf::kAutoKey) && (event.modifiers & pf::kCmdKey) &&
                       (pf::event_char(event) == 'q' || pf::event_char(event) == 'Q');
    if (is_quit_key) queue_quit_request();
    return is_quit_key;
}
void set_task_quit_flag(bool quit) { loop.quit = quit; }
void SetTaskIdle(IdleProc proc) { loop.idle = proc; }
void SetTaskdlogIdle(IdleProc proc) { loop.dialog_idle = proc; }
IdleProc task_dialog_idle() { return loop.dialog_idle; }
void SetTaskUrgentProc(UrgentProc proc) { loop.urgent = proc; }
void SetTaskTitleProc(TitleProc proc) { loop.title = proc; }
int32_t task_error() { return loop.task_error; }

void SetTaskError(int32_t code) {
    if (loop.task_error != 0) return;
    loop.task_error = code;
    if (!in_background()) return;
    pf::NotificationRequest request;
    request.type = 8;
    request.mark = 1;
    request.icon_id = kApplicationIcon;
    pf::install_notification(request);
    g_system.flags |= kSysNotificationUp;
}

bool task_master_pass() {
    forward_host_quit_request();
    check_low_memory_alert();
    if (loop.urgent_code) {
        if (loop.urgent) loop.urgent(loop.urgent_code);
        loop.urgent_code = 0;
    }
    if (loop.task_error && !in_background()) {
        int32_t error = loop.task_error;
        loop.task_error = 0;
        pf::remove_notification();
        error_alert(int16_t(error >> 16), int16_t(error & 0xFFFF));
        g_system.flags &= ~kSysNotificationUp;
    }
    EventRecord event;
    bool got = pf::wait_next_event(pf::kEveryEvent, event, loop_sleep(), loop.cursor_region);
    loop.last_event_kind = event.what;
    if (got) {
        if (takes_help_tag_away(event)) pf::hide_help_tag();
        DoTaskEvent(&event);
    } else if (event.what == pf::kNullEvent) {
        // Each request was announced by a high-level event, which a full queue may
        // have dropped: the requests still pending are carried out one per pass.
        if (pf::ae_pending_count() > 0) run_guarded([] { pf::ae_process_apple_event(); });
        run_guarded([&event] { run_idle_procedures(&event); });
    }
    // A script's selection or a document closed behind a tool window leaves
    // the entry line on another cell; the next event must not act on it. Once
    // quitting, the command bar that holds the entry line is closed.
    if (!loop.quit) run_guarded(keep_entry_line_on_front_cell);
    return !loop.quit;
}

void task_master_begin() {
    pf::set_grow_zone(GrowZoneFunc);
    if (!loop.cursor_region) loop.cursor_region = pf::new_region();
}

void task_master_end() {
    if (loop.cursor_region) pf::dispose_region(loop.cursor_region);
    loop.cursor_region = nullptr;
}

void TaskMaster(const TaskRecord* record, StartProc start, uintptr_t argument) {
    if (record) init_task_windows(record);
    task_master_begin();
    if (start) start(argument);
    while (!loop.quit && task_master_pass()) {
    }
    task_master_end();
}

void DoTaskEvent(EventRecord* event) {
    run_guarded([event] { route_event(event); });
    real_event_ticks = event->when;
}

namespace {

void route_event(EventRecord* event) {
    switch (event->what) {
        case pf::kMouseDown:
            route_mouse_down(event);
            break;
        case pf::kKeyDown:
        case pf::kAutoKey:
            route_key(event);
            break;
        case pf::kUpdateEvent:
            do_update(event);
            break;
        case pf::kActivateEvent:
            do_activate(event);
            break;
        case pf::kOSEvent:
            route_os_event(event);
            break;
        case pf::kHighLevelEvent:
            pf::ae_process_apple_event();
            break;
        default:
            break;
    }
}

}  // namespace

void HandleEvent(EventRecord* event) {
    if (event->what == pf::kUpdateEvent) do_update(event);
    else if (event->what == pf::kActivateEvent) do_activate(event);
}

void draw_pending_updates() {
    constexpr int kMostWindows = 200;  // a window whose update does not end it cannot hold this up
    EventRecord update;
    for (int drawn = 0; drawn < kMostWindows && pf::get_next_event(pf::kUpdateMask, update); ++drawn)
        do_update(&update);
}

void do_update(EventRecord* event) {
    WindowRef window = reinterpret_cast<WindowRef>(event->message);
    TaskRecord task;
    get_task_from_window(window, &task);
    if (task.index == 0) {
        // A window with no task is drawn only when it is a dialog; its update is
        // taken in every case so that it is not asked for again.
        pf::begin_update(window);
        if (pf::DialogRef dialog = pf::get_dialog_from_window(window)) pf::draw_dialog(dialog);
        pf::end_update(window);
        return;
    }
    set_task_color(window, uint32_t(checkColor(window)));
    if (is_window_dialog_task(window, true)) {
        handle_dialog_event(event, window);
        return;
    }
    PushWindowPort(window);
    pf::begin_update(window);
    pf::erase_rect(pf::window_port(window)->port_rect);
    if (task.update) task.update(event, task.app_ref, uintptr_t(window));
    pf::end_update(window);
    PopPort();
}

void do_activate(EventRecord* event) {
    WindowRef window = reinterpret_cast<WindowRef>(event->message);
    if (is_window_dialog_task(window, true)) {
        handle_dialog_event(event, window);
        return;
    }
    TaskRecord task;
    get_task_from_window(window, &task);
    call_task_in_port(task.activate, window, event, task.app_ref, 0);
}

void do_keydown(EventRecord* event) {
    WindowRef front = pf::front_window();
    // Keys go to a modeless dialog in front of the documents, past the palettes.
    WindowRef dialog = is_window_dialog_task(front, true) ? front : pf::front_non_floating_window();
    if (dialog && is_window_dialog_task(dialog, true)) {
        handle_dialog_event(event, dialog);
        return;
    }
    TaskRecord task;
    get_task_from_window(front, &task);
    call_task_in_port(task.key, front, event, task.app_ref, 0);
}

void enable_menus() {
    WindowRef window = menu_window();
    TaskRecord task;
    get_task_from_window(window, &task);
    if (task.menu_enable) task.menu_enable(nullptr, task.app_ref, uintptr_t(window));
    dim_unavailable_commands();
}

void do_menus(EventRecord* event, int32_t menu_result) {
    WindowRef window = menu_window();
    TaskRecord task;
    get_task_from_window(window, &task);
    MenuChoice choice{int16_t(menu_result >> 16), int16_t(menu_result & 0xFFFF)};
    unhilite_menu_bar();  // before a dialog or a question the command may put up
    if (task.menu) run_guarded([&] { task.menu(event, task.app_ref, uintptr_t(&choice)); });
}

void do_menu_button(int16_t menu, int16_t item) {
    enable_menus();
    MenuItemState state = menu_item_state(menu, item);
    if (state == MenuItemState::kMissing) return;
    if (state == MenuItemState::kDisabled) {
        pf::sys_beep(kBeepTicks);
        return;
    }
    WindowRef window = menu_window();
    TaskRecord task;
    get_task_from_window(window, &task);
    EventRecord null_event{};
    MenuChoice choice{menu, item};
    run_guarded([&] { call_task_in_port(task.menu, window, &null_event, task.app_ref, uintptr_t(&choice)); });
}

void do_idle(EventRecord* event) {
    if (in_background()) return;
    WindowRef front = pf::front_window();
    if (front && is_window_dialog_task(front, true)) {
        EventRecord null_event = *event;
        null_event.what = pf::kNullEvent;
        handle_dialog_event(&null_event, front);
    }
    WindowRef under_mouse = nullptr;
    pf::find_window(pf::mouse_location(), &under_mouse);
    show_resting_message(under_mouse);
    if (under_mouse) idle_window(under_mouse, event);
    else SetCursorTo(kArrowCursor);
    WindowRef front_document = pf::front_non_floating_window();
    if (front_document && front_document != under_mouse) idle_window(front_document, event);
}

void ResetCursor() {
    if (in_background()) return;
    set_cursor_rect_at(pf::Point{-10000, -10000});
    if (!pf::cursor_visible()) pf::show_cursor();
}
