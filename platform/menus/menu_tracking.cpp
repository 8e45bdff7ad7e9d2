// Choosing from menus with the mouse: menus pulled down from the bar or popped up
// at a point open over the screen (the pixels beneath saved), submenus open beside
// their items, and the item under the mouse is highlighted until the button comes up.
#include "platform/controls/control_look.h"
#include "platform/host/host.h"
#include "platform/screen/screen.h"
#include "platform/menus/menus.h"
#include "platform/menus/menus_internal.h"
#include "platform/windows/windows.h"

#include <algorithm>

namespace pf {

using namespace menus_detail;

namespace {

constexpr int16_t kShadow = 2;
constexpr int kPollMilliseconds = 8;

struct OpenMenu {
    MenuRef menu = nullptr;
    Rect rect{};
    SavedPixels saved;
    int16_t hilited = 0;
};

struct Hit {
    int level = -1;  // the open menu under the mouse, -1 none
    MenuDefParams params;
};

struct Tracker {
    std::vector<OpenMenu> open;

    ~Tracker() { close_from(0); }

    void open_menu(MenuRef menu, const Rect& rect) {
        OpenMenu level;
        level.menu = menu;
        level.rect = rect;
        level.saved = save_screen_pixels(Rect{rect.top, rect.left, int16_t(rect.bottom + kShadow),
                                              int16_t(rect.right + kShadow)});
        MenuDefParams params;
        definition_of(menu)(kMenuDrawMsg, menu, level.rect, params);
        fill_rect_color(Rect{int16_t(rect.top + kShadow), rect.right, int16_t(rect.bottom + kShadow),
                             int16_t(rect.right + kShadow)}, kLookShadow);
        fill_rect_color(Rect{rect.bottom, int16_t(rect.left + kShadow), int16_t(rect.bottom + kShadow), rect.right},
                        kLookShadow);
        open.push_back(std::move(level));
    }

    void close_from(size_t level) {
        while (open.size() > level) {
            restore_screen_pixels(open.back().saved);
            open.pop_back();
        }
    }

    void set_hilite(OpenMenu& level, int16_t item, Point mouse) {
        if (level.hilited == item) return;
        MenuDefParams params;
        params.hit = mouse;
        params.previous_item = level.hilited;
        params.new_item = item;
        definition_of(level.menu)(kMenuHiliteItemMsg, level.menu, level.rect, params);
        level.hilited = item;
    }

    Hit hit_test(Point mouse) {
        Hit hit;
        for (int i = int(open.size()) - 1; i >= 0; --i) {
            if (!pt_in_rect(mouse, open[size_t(i)].rect)) continue;
            hit.level = i;
            hit.params.hit = mouse;
            definition_of(open[size_t(i)].menu)(kMenuFindItemMsg, open[size_t(i)].menu, open[size_t(i)].rect,
                                                hit.params);
            break;
        }
        return hit;
    }

    // Opens the submenu of an item, beside the item's rectangle.
    void open_submenu(const OpenMenu& parent, int16_t item, const Rect& item_rect) {
        const MenuItem* it = menu_item(parent.menu, item);
        MenuRef sub = it ? get_menu_handle(it->submenu) : nullptr;
        if (!sub) return;
        ensure_menu_size(sub);
        Rect screen_rect = screen_bounds();
        int left = parent.rect.right - 2;
        if (left + sub->menu_width > screen_rect.right) left = parent.rect.left - sub->menu_width + 2;
        int top = item_rect.top - 2;
        if (top + sub->menu_height > screen_rect.bottom) top = screen_rect.bottom - sub->menu_height - kShadow;
        top = std::max<int>(top, menu_bar_height());
        open_menu(sub, Rect{int16_t(top), int16_t(left), int16_t(top + sub->menu_height),
                            int16_t(left + std::max<int>(sub->menu_width, 0))});
    }

    // Follows the mouse over the open menus: highlight, and submenus opened or closed.
    void follow(Point mouse) {
        Hit hit = hit_test(mouse);
        if (hit.level < 0) {
            // Outside every menu: the deepest menu loses its highlight unless it
            // leads to an open submenu.
            if (!open.empty()) set_hilite(open.back(), 0, mouse);
            return;
        }
        close_from(size_t(hit.level) + 1);
        OpenMenu& level = open[size_t(hit.level)];
        int16_t item = hit.params.item_selected;
        bool changed = level.hilited != item;
        set_hilite(level, item, mouse);
        const MenuItem* it = menu_item(level.menu, item);
        if (changed && it && it->submenu && level.menu->proc == nullptr) open_submenu(level, item, hit.params.item_rect);
    }

    // The choice under the mouse when the button comes up.
    int32_t choice(Point mouse) {
        Hit hit = hit_test(mouse);
        if (hit.level < 0) return 0;
        MenuRef menu = open[size_t(hit.level)].menu;
        int16_t item = hit.params.item_selected;
        const MenuItem* it = menu_item(menu, item);
        if (!item || (it && it->submenu && menu->proc == nullptr)) return 0;
        if (it && !is_menu_item_enabled(menu, item)) return 0;
        return (int32_t(menu->id) << 16) | item;
    }
};

// Shows the menu of a bar title, under its title.
void open_bar_menu(Tracker& tracker, MenuRef menu) {
    ensure_menu_size(menu);
    Rect title = menu_title_rect(menu->id);
    Rect screen_rect = screen_bounds();
    int left = title.left;
    if (left + menu->menu_width + kShadow > screen_rect.right) left = screen_rect.right - menu->menu_width - kShadow;
    int16_t top = menu_bar_height();
    tracker.open_menu(menu, Rect{top, int16_t(left), int16_t(top + menu->menu_height),
                                 int16_t(left + menu->menu_width)});
}

MenuRef bar_menu_at(Point mouse) {
    if (mouse.v < 0 || mouse.v >= menu_bar_height()) return nullptr;
    for (MenuRef menu : menu_list().bar)
        if (pt_in_rect(mouse, menu_title_rect(menu->id))) return menu;
    return nullptr;
}

// Polls the mouse until the button comes up, calling `step` with each position.
template <typename Step>
Point track_until_release(Point start, Step step) {
    Point mouse = start;
    for (;;) {
        step(mouse);
        if (!still_down()) break;
        host_wait(kPollMilliseconds);
        mouse = mouse_location();
    }
    mouse = mouse_location();
    step(mouse);
    return mouse;
}

}  // namespace

int32_t menu_select(Point start) {
    if (!screen()) return 0;
    ScreenPort sp;
    Tracker tracker;
    MenuRef shown = nullptr;
    Point last = track_until_release(start, [&](Point mouse) {
        MenuRef title = bar_menu_at(mouse);
        if (title && title != shown) {
            tracker.close_from(0);
            hilite_menu(title->id);
            shown = title;
            if (title->enabled) open_bar_menu(tracker, title);
        }
        tracker.follow(mouse);
    });
    int32_t result = tracker.choice(last);
    tracker.close_from(0);
    wait_mouse_up();
    hilite_menu(result ? menu_list().hilited : 0);
    return result;
}

int32_t pop_up_menu_select(MenuRef menu, int16_t top, int16_t left, int16_t pop_up_item) {
    if (!menu || !screen()) return 0;
    ScreenPort sp;
    MenuDefParams params;
    params.top = top;
    params.left = left;
    params.pop_item = pop_up_item;
    Rect rect{};
    ensure_menu_size(menu);
    definition_of(menu)(kMenuPopUpMsg, menu, rect, params);
    if (rect.empty()) return 0;
    Tracker tracker;
    tracker.open_menu(menu, rect);
    Point last = track_until_release(mouse_location(), [&](Point mouse) { tracker.follow(mouse); });
    int32_t result = tracker.choice(last);
    tracker.close_from(0);
    wait_mouse_up();
    return result;
}

}  // namespace pf
