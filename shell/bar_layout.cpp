// Laying out the shown bar: buttons left to right in rows, the command bar's
// size and the entry line under the lowest button; finding the button under a
// point; switching, deleting and resetting bars.
#include <algorithm>

#include "ui/alerts.h"
#include "platform/dialogs/dialogs.h"
#include "ui/app_prefs.h"
#include "shell/button_bars.h"
#include "shell/command_bar.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kFirstRowTop = 2;
constexpr int16_t kRowPitch = 25;
constexpr int16_t kWrappedRowLeft = 2;
constexpr int16_t kButtonGap = 2;
constexpr int16_t kScreenMargin = 15;
constexpr int16_t kMinBarWidth = 500;
constexpr int16_t kMinBarHeight = 45;
constexpr int16_t kEntryLeft = 129;
constexpr int16_t kEntryGap = 4;
constexpr int16_t kEntryHeight = 63;
constexpr int16_t kMessageRowHeight = 24;
constexpr int16_t kConfirmItem = 2;

int16_t last_button_bottom(const std::vector<ButtonRecord>& buttons) {
    int16_t bottom = kFirstRowTop + kStandardButtonWidth;
    for (const ButtonRecord& b : buttons) bottom = std::max(bottom, b.rect.bottom);
    return bottom;
}

int16_t widest_right(const std::vector<ButtonRecord>& buttons) {
    int16_t right = 0;
    for (const ButtonRecord& b : buttons) right = std::max(right, b.rect.right);
    return right;
}

void redraw_command_bar() {
    if (!IconBar) return;
    pf::inval_window_rect(IconBar, pf::Rect{-32000, -32000, 32000, 32000});
}

void show_bar(int16_t index) {
    app_prefs.bar_shown = index;
    current_bar = button_list[size_t(index)];
    has_current_bar = true;
    reset_toolbar();
}

}  // namespace

void reset_toolbar() {
    reset_button_positions(current_bar.buttons, command_bar_screen().right);
    check_icon_size(true);
    redraw_command_bar();
    app_prefs.options2 |= kPrefRefreshButtons;
}

void reset_button_positions(std::vector<ButtonRecord>& buttons, int16_t screen_right) {
    int16_t limit = int16_t(screen_right - kScreenMargin);
    pf::Rect r{kFirstRowTop, kBarSwitchWidth, int16_t(kFirstRowTop + kStandardButtonWidth), 0};
    bool row_empty = true;
    int16_t position = 1;
    for (ButtonRecord& b : buttons) {
        b.position = position++;
        int16_t width = b.width ? b.width : kStandardButtonWidth;
        // A button too wide for any row still takes a row of its own.
        if (r.left + width > limit && !row_empty) {
            r.top = int16_t(r.top + kRowPitch);
            r.bottom = int16_t(r.top + kStandardButtonWidth);
            r.left = kWrappedRowLeft;
        }
        r.right = int16_t(r.left + width);
        b.rect = r;
        b.state = kButtonEnabled;
        r.left = int16_t(r.left + width + kButtonGap);
        row_empty = false;
    }
}

void check_icon_size(bool move_entry_line) {
    if (!IconBar) return;
    pf::Rect screen = command_bar_screen();
    std::vector<ButtonRecord>& buttons = current_bar.buttons;
    int16_t width = std::max<int16_t>(kMinBarWidth, int16_t(widest_right(buttons) + 2));
    if (width > screen.right - kScreenMargin) {
        reset_button_positions(buttons, screen.right);
        width = std::max<int16_t>(kMinBarWidth, int16_t(widest_right(buttons) + 2));
    }
    pf::Rect content = pf::window_content_rect(IconBar);
    int16_t height = std::max<int16_t>(kMinBarHeight, int16_t(content.bottom - content.top));
    if (move_entry_line) {
        int16_t top = int16_t(last_button_bottom(buttons) + kEntryGap);
        edit_rect = pf::Rect{top, kEntryLeft, int16_t(top + kEntryHeight), int16_t(width - 17)};
        if (icon_scroll) pf::move_control(icon_scroll, int16_t(width - 15), int16_t(top - 1));
        // The entry line shows one line until its editor sizes it to its text.
        height = std::max<int16_t>(kMinBarHeight, int16_t(top + kMessageRowHeight));
    }
    if (width != content.right - content.left || height != content.bottom - content.top)
        pf::size_window(IconBar, width, height, true);
}

int16_t button_hit(pf::Point where) {
    if (!has_current_bar) return 0;
    for (const ButtonRecord& b : current_bar.buttons) {
        if (!pf::pt_in_rect(where, b.rect)) continue;
        return (b.flags & kButtonInert) ? 0 : b.position;
    }
    return 0;
}

int16_t append_button_names(pf::MenuRef menu) {
    int16_t current_item = 0;
    for (size_t i = 0; i < button_list.size(); ++i) {
        pf::append_menu_item_text(menu, "x");
        int16_t item = pf::count_menu_items(menu);
        if (!button_list[i].name.empty()) pf::set_menu_item_text(menu, item, button_list[i].name);
        if (has_current_bar && int16_t(i) == app_prefs.bar_shown) current_item = item;
    }
    return current_item;
}

void switch_bars(int16_t bar_number) {
    if (bar_number < 1 || bar_number > int16_t(button_list.size())) return;
    show_bar(int16_t(bar_number - 1));
}

int16_t delete_bar(bool ask) {
    if (button_list.size() < 2 || !has_current_bar) return 1;
    if (ask && pf::caution_alert(kDeleteBarAlert, nullptr) != kConfirmItem) return 1;
    int16_t deleted = app_prefs.bar_shown;
    button_list.erase(button_list.begin() + deleted);
    if (app_prefs.editing_bar == deleted + 1) app_prefs.editing_bar = 0;
    else if (app_prefs.editing_bar > deleted + 1) --app_prefs.editing_bar;
    show_bar(0);
    write_button_positions();
    return 1;
}

int16_t reset_to_default_bar() {
    if (pf::caution_alert(kResetBarsAlert, nullptr) != kConfirmItem) return 0;
    default_buttons();
    check_icon_size(true);
    redraw_command_bar();
    app_prefs.options2 |= kPrefRefreshButtons;
    write_button_positions();
    return 1;
}
