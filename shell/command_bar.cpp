// The command bar window: opening and placing it, its task procedures, the
// bar-switch icon and its pop-up, and the help shown for what lies under the
// mouse.
#include "shell/command_bar.h"

#include <algorithm>
#include <cstring>

#include "ui/alerts.h"
#include "ui/colours.h"
#include "ui/lists_and_menus.h"
#include "ui/screen_geometry.h"
#include "core/string_utils.h"
#include "platform/draw/rects.h"
#include "platform/draw/theme.h"
#include "platform/resources/resources.h"
#include "platform/screen/cursor.h"
#include "ui/app_prefs.h"
#include "shell/button_bars.h"
#include "window/front_document.h"
#include "shell/entry_scroll.h"
#include "shell/bar_dialogs.h"
#include "shell/shell_commands.h"
#include "window/window_commands.h"
#include "window/entry_line.h"
#include "resource_ids.h"

WindowRef IconBar = nullptr;
pf::Rect edit_rect{27, 129, 90, 483};
pf::ControlRef icon_scroll = nullptr;
unsigned char cmd_msg[32] = {0};

namespace {

constexpr int16_t kFixedBarItems = 3;
constexpr int16_t kCustomizeItem = 1;
constexpr int16_t kEditBarItem = 2;
constexpr int16_t kPreviousBarMessage = 14;
constexpr int16_t kNextBarMessage = 15;
constexpr int16_t kBarMenuMessage = 16;
constexpr int16_t kCancelMessage = 17;
constexpr int16_t kAcceptMessage = 18;
constexpr int16_t kEntryLineMessage = 19;
constexpr int16_t kMenuTextSize = 9;
constexpr int16_t kSwitchArrowsBottom = 12;
constexpr int16_t kPreviousBarRight = 9;
constexpr int16_t kDefaultFrameLeft = 14;
constexpr unsigned char kEnterKey = 3;
constexpr unsigned char kEscapeKey = 27;
constexpr const char* kCommandBarTitle = "Command Bar";
constexpr pf::Rect kOffScreen{100, -32000, 128, -31000};

pf::Rect icon_screen{};
bool bar_list_made = false;

int16_t entry_top() { return edit_rect.top; }

// Whether the command bar is still open: windows are disposed without their
// close procedure at shutdown, and a later window may take the same place.
bool command_bar_open() {
    for (WindowRef w = pf::first_window(); w && IconBar; w = pf::next_window(w)) {
        if (w != IconBar) continue;
        TaskRecord task;
        get_task_from_window(w, &task);
        return task.close == close_CommandBar_proc;
    }
    return false;
}

pf::Rect window_local_rect() {
    pf::Rect content = pf::window_content_rect(IconBar);
    return pf::Rect{0, 0, int16_t(content.bottom - content.top), int16_t(content.right - content.left)};
}

// Where the window goes when no saved place lies on a screen: its frame at the
// top-left corner of the desktop.
pf::Point default_position() {
    pf::Rect desk;
    GetScreenRect(&desk);
    pf::FrameInsets frame = pf::window_frame_insets(IconBar);
    int16_t left = frame.left ? frame.left : kDefaultFrameLeft;
    return pf::Point{int16_t(desk.top + frame.top), int16_t(desk.left + left)};
}

void place_window() {
    pf::Point& saved = app_prefs.palette_positions[kCommandBarPosition];
    pf::Rect area;
    if (!checkonscreen(saved) || !FindPositionScreen(saved, &area)) saved = default_position();
    pf::move_window(IconBar, saved.h, saved.v, false);
}

void make_task() {
    add_window_task(IconBar, kFloatingToolTask, 0,
                    {update_CommandBar_proc, activate_CommandBar_proc, idle_CommandBar_proc, click_CommandBar_proc,
                     key_CommandBar_proc, close_CommandBar_proc});
}

void make_scroll_bar() {
    pf::Rect content = window_local_rect();
    pf::Rect bar{int16_t(entry_top() - 1), int16_t(content.right - 15), int16_t(edit_rect.bottom + 1),
                 int16_t(content.right + 1)};
    icon_scroll = pf::new_control(IconBar, bar, "", false, 0, 0, 0, pf::kScrollBarControl, 0);
    if (icon_scroll) LCAttach(icon_scroll);
}

void draw_button_area(int16_t depth) {
    if (depth < 3) return;
    pf::Rect r = window_local_rect();
    r.bottom = int16_t(entry_top() - 2);
    pf::draw_theme_window_header(r, pf::kThemeStateActive);
}

void draw_separators() {
    int16_t t = entry_top();
    pf::Rect content = window_local_rect();
    pf::rgb_fore_color(black_color);
    pf::move_to(0, int16_t(t - 2));
    pf::line_to(int16_t(content.right), int16_t(t - 2));
    for (int16_t x : {int16_t(96), int16_t(126)}) {
        pf::move_to(x, int16_t(t - 2));
        pf::line_to(x, int16_t(content.bottom));
    }
    if (!pf::is_control_visible(icon_scroll)) {
        pf::move_to(int16_t(content.right - 14), int16_t(t - 2));
        pf::line_to(int16_t(content.right - 14), content.bottom);
    }
}

void draw_boxes() {
    pf::Rect both{int16_t(entry_top() + 1), 98, int16_t(entry_top() + 14), 125};
    if (!Editor_Wind) {
        pf::erase_rect(both);
        return;
    }
    if (const pf::Resource* picture = pf::get_resource(pf::four_cc("PICT"), kCheckedPicture))
        pf::draw_picture_data(picture->bytes.data(), picture->bytes.size(), both);
}

void draw_bar_switch_icon(int16_t depth) {
    draw_ics8(kBarSwitchIcon, kButtonEnabled, pf::Rect{2, -1, 24, 21}, depth);
}

int16_t bar_switch_message(pf::Point where) {
    if (where.v >= kSwitchArrowsBottom + 1) return kBarMenuMessage;
    return where.h <= kPreviousBarRight ? kPreviousBarMessage : kNextBarMessage;
}

// Tracks a click in the cancel or accept box with the box inverted while the
// mouse is inside; true when it was let go there.
bool track_box(const pf::Rect& box) { return MouseInRect(&box, false); }

void pop_up_bar_menu() {
    pf::MenuRef menu = pf::get_menu_handle(kBarMenu);
    if (!menu) menu = pf::get_menu(kBarMenu);
    if (!menu) return;
    fill_bar_menu(menu);
    SetMenuSize(menu, kMenuTextSize);
    pf::Rect content = pf::window_content_rect(IconBar);
    int32_t choice = pf::pop_up_menu_select(menu, int16_t(content.top + kBarSwitchZone.bottom),
                                            int16_t(content.left + kBarSwitchZone.left), 0);
    RestoreMenuSize(menu);
    int16_t item = int16_t(choice & 0xFFFF);
    if (choice == 0) return;
    if (item == kCustomizeItem) customize_commandbar();
    else if (item == kEditBarItem) command_dialog(0);
    else if (item > kFixedBarItems) switch_bars(int16_t(item - kFixedBarItems));
}

void step_bar(int16_t direction) {
    int16_t count = int16_t(button_list.size());
    if (count == 0) return;
    int16_t next = int16_t((app_prefs.bar_shown + direction + count) % count);
    switch_bars(int16_t(next + 1));
}

void click_bar_switch(pf::Point where) {
    if (where.v >= kSwitchArrowsBottom) pop_up_bar_menu();
    else step_bar(where.h <= kPreviousBarRight ? -1 : 1);
}

bool click_entry_row(pf::Point where) {
    if (Editor_Wind) {
        if (where.h >= edit_rect.left) {
            if (pf::pt_in_rect(where, edit_rect)) ClickEditor(Editor_Wind);
            return true;
        }
        if (pf::pt_in_rect(where, accept_box_rect())) {
            if (track_box(accept_box_rect())) EditKey(kEnterKey, 0);
            return true;
        }
        if (pf::pt_in_rect(where, cancel_box_rect())) {
            if (track_box(cancel_box_rect())) EditKey(kEscapeKey, 0);
            return true;
        }
        return false;
    }
    if (!pf::pt_in_rect(where, edit_rect)) return false;
    if (MemoryRef record = front_document_record()) ClickEditor(record);
    return true;
}

// An update paints only where the bar was uncovered or invalid: a button that
// now shows another state or value than it did is painted whole by the next
// update, or the rest of it would keep the old picture while its record says
// the new one is shown.
void repaint_button(ButtonRecord& button, int16_t depth) {
    const int16_t shown_state = button.drawn_state;
    const int16_t shown_value = button.drawn_value;
    draw_command_button(button, IconBar, depth);
    if (button.drawn_state != shown_state || button.drawn_value != shown_value)
        pf::inval_window_rect(IconBar, button.rect);
}

}  // namespace

pf::Rect command_bar_screen() { return pf::screen_bounds(); }
pf::Rect message_rect() { return pf::Rect{int16_t(entry_top() + 1), 0, int16_t(entry_top() + 22), 95}; }
pf::Rect cancel_box_rect() { return pf::Rect{int16_t(entry_top() + 1), 98, int16_t(entry_top() + 14), 111}; }
pf::Rect accept_box_rect() { return pf::Rect{int16_t(entry_top() + 1), 112, int16_t(entry_top() + 14), 125}; }

void redraw_entry_boxes() {
    if (IconBar) pf::inval_window_rect(IconBar, pf::union_rect(cancel_box_rect(), accept_box_rect()));
}

int16_t command_bar_depth() { return IconBar ? int16_t(GetTaskColors(IconBar)) : 0; }

WindowRef command_bar_window() { return IconBar; }

void forget_command_bar() {
    IconBar = nullptr;
    icon_scroll = nullptr;
    bar_list_made = false;
    button_list.clear();
    current_bar = ButtonBar{};
    has_current_bar = false;
}

WindowRef MakeIconWindow() {
    if (command_bar_open()) return IconBar;
    cmd_msg[0] = 0;
    icon_screen = command_bar_screen();
    if (!bar_list_made) {
        bar_list_made = true;
        read_button_positions();
    } else if (has_current_bar) {
        reset_button_positions(current_bar.buttons, icon_screen.right);
    }
    IconBar = pf::create_window(pf::kFloatingWindowClass,
                                pf::kWindowSideTitlebarAttribute | pf::kWindowCollapseBoxAttribute, kOffScreen);
    if (!IconBar) {
        os_error_alert(pf::kMemFullErr);
        return nullptr;
    }
    pf::set_window_kind(IconBar, kPaletteWindowKind);
    pf::set_window_title(IconBar, std::string(kCommandBarTitle));
    make_task();
    place_window();
    make_scroll_bar();
    set_task_color(IconBar, uint32_t(checkColor(IconBar)));
    check_icon_size(true);
    pf::show_window(IconBar);
    pf::select_window(IconBar);
    app_prefs.options2 |= kPrefRefreshButtons;
    return IconBar;
}

int32_t update_CommandBar_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (!IconBar) return 1;
    pf::Rect screen = command_bar_screen();
    if (screen != icon_screen) {
        icon_screen = screen;
        if (has_current_bar) reset_button_positions(current_bar.buttons, screen.right);
        check_icon_size(true);
    }
    int16_t depth = command_bar_depth();
    pf::erase_rect(window_local_rect());
    draw_button_area(depth);
    draw_separators();
    draw_boxes();
    draw_entry_line(edit_rect);
    draw_bar_switch_icon(depth);
    if (has_current_bar) {
        for (ButtonRecord& button : current_bar.buttons) repaint_button(button, depth);
    }
    draw_cmd_msg(nullptr, 1);
    if (pf::is_control_visible(icon_scroll)) pf::draw_one_control(icon_scroll);
    return 1;
}

int32_t activate_CommandBar_proc(EventRecord*, uintptr_t, uintptr_t) {
    app_prefs.options2 |= kPrefRefreshButtons;
    return 1;
}

int32_t idle_CommandBar_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (!IconBar) return 1;
    if (Editor_Wind) IdleEditor();
    pf::Point where;
    pf::get_mouse(where);
    unsigned char text[256];
    pf::Rect area;
    const bool over_entry = pf::pt_in_rect(where, edit_rect);
    if (command_bar_help(where, text, &area)) draw_cmd_msg(text, 0);
    else show_front_reference();
    SetCursorTo(over_entry ? kTextCursor : kArrowCursor);
    return 1;
}

bool command_bar_help(pf::Point where, unsigned char* text, pf::Rect* area) {
    text[0] = 0;
    if (int16_t index = button_hit(where)) {
        const ButtonRecord& button = current_bar.buttons[size_t(index - 1)];
        pf::get_indexed_string(text, button.help_list, button.help_index);
        *area = button.rect;
        return true;
    }
    int16_t item = 0;
    if (pf::pt_in_rect(where, kBarSwitchZone)) {
        item = bar_switch_message(where);
        *area = kBarSwitchZone;
    } else if (pf::pt_in_rect(where, edit_rect) || (where.h >= edit_rect.left && where.v >= edit_rect.top)) {
        item = Editor_Wind ? 0 : kEntryLineMessage;
        *area = pf::Rect{edit_rect.top, edit_rect.left, window_local_rect().bottom, edit_rect.right};
    } else if (Editor_Wind && pf::pt_in_rect(where, accept_box_rect())) {
        item = kAcceptMessage;
        *area = accept_box_rect();
    } else if (Editor_Wind && pf::pt_in_rect(where, cancel_box_rect())) {
        item = kCancelMessage;
        *area = cancel_box_rect();
    }
    if (!item) return false;
    pf::get_indexed_string(text, kCommandBarMessages, item);
    return true;
}

int32_t click_CommandBar_proc(EventRecord* event, uintptr_t, uintptr_t) {
    if (!IconBar) return 1;
    pf::Point where = event->where;
    PushWindowPort(IconBar);
    pf::global_to_local(where);
    int32_t answer = 1;
    pf::ControlRef control = nullptr;
    if (pf::find_control(where, IconBar, &control) && control == icon_scroll) {
        track_entry_scroll(where);
    } else if (click_entry_row(where)) {
    } else if (pf::pt_in_rect(where, kBarSwitchZone)) {
        click_bar_switch(where);
        answer = 0;
    } else if (int16_t index = button_hit(where)) {
        Button_Command(IconBar, command_bar_depth(), index, where);
    }
    PopPort();
    app_prefs.options2 |= kPrefRefreshButtons;
    return answer;
}

int32_t key_CommandBar_proc(EventRecord* event, uintptr_t, uintptr_t) {
    WindowRef document = wxFrontNonFloatingWindow();
    if (!document) return 1;
    TaskRecord task;
    get_task_from_window(document, &task);
    call_task_in_port(task.key, document, event, task.app_ref, uintptr_t(document));
    return 1;
}

int32_t close_CommandBar_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (!IconBar) return 1;
    app_prefs.palette_positions[kCommandBarPosition] = get_global_loc(IconBar);
    LCDetach(icon_scroll);
    icon_scroll = nullptr;
    pf::hide_window(IconBar);
    IconBar = nullptr;
    return 1;
}

void fill_bar_menu(pf::MenuRef menu) {
    int16_t count = pf::count_menu_items(menu);
    if (count > kFixedBarItems) pf::delete_menu_items(menu, kFixedBarItems + 1, int16_t(count - kFixedBarItems));
    int16_t current = append_button_names(menu);
    if (current) pf::check_menu_item(menu, current, true);
}
