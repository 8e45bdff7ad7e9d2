// Choosing from menus with the mouse and the keyboard: menus pulled down from the
// bar or popped up at a point open over the screen (the pixels beneath saved),
// submenus open beside their items, and the item under the mouse is highlighted.
// A press dragged to an item and released there chooses it; a click that lets go
// on the title (or a quick click in place) leaves the menus open, and then the
// next click, or the arrow keys and Return, choose; a press outside them closes
// them and chooses nothing.
#include "platform/controls/control_look.h"
#include "platform/host/host.h"
#include "platform/screen/screen.h"
#include "platform/menus/menus.h"
#include "platform/menus/menus_internal.h"
#include "platform/windows/windows.h"

#include <algorithm>
#include <cstdlib>

namespace pf {

using namespace menus_detail;

namespace {

constexpr int16_t kMenuShadow = 2;
constexpr int kPollMilliseconds = 8;
constexpr int kClickSlop = 3;  // pixels a click may move and still be a click
// Ticks an open submenu stays while the pointer, on its way towards it across
// other items of its parent, rests.
constexpr uint32_t kSubmenuGraceTicks = 20;
constexpr int16_t kAimSlop = 24;  // pixels

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

// An item whose choice opens its submenu rather than answering; a dimmed one
// opens nothing.
bool leads_to_submenu(MenuRef menu, int16_t item) {
    const MenuItem* it = menu_item(menu, item);
    return it && it->submenu && menu->proc == nullptr && is_menu_item_enabled(menu, item);
}

// What choosing an item answers: (menu id << 16) | item, or 0 when it cannot be chosen.
int32_t answer_for(MenuRef menu, int16_t item) {
    const MenuItem* it = menu_item(menu, item);
    if (!item || leads_to_submenu(menu, item)) return 0;
    if (it && !is_menu_item_enabled(menu, item)) return 0;
    return (int32_t(menu->id) << 16) | item;
}

// Whether the keyboard's highlight may rest on an item.
bool is_selectable(MenuRef menu, int16_t item) {
    const MenuItem* it = menu_item(menu, item);
    return it && is_menu_item_enabled(menu, item) && !is_separator(*it);
}

// Twice the signed area of the triangle a, b, c: its sign tells on which side of
// the line from a to b the point c lies.
long cross(Point a, Point b, Point c) {
    return long(b.h - a.h) * (c.v - a.v) - long(b.v - a.v) * (c.h - a.h);
}

bool in_triangle(Point p, Point a, Point b, Point c) {
    long d1 = cross(a, b, p), d2 = cross(b, c, p), d3 = cross(c, a, p);
    bool negative = d1 < 0 || d2 < 0 || d3 < 0, positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

// Whether the pointer, last on the item that opened `submenu` at `anchor`, is now
// inside the triangle from there to the submenu's near edge (a little taller, for
// a hand aiming at its first or last item): heading for it.
bool is_heading_for(Point where, Point anchor, const Rect& submenu) {
    int16_t edge = anchor.h <= submenu.left ? submenu.left : submenu.right;
    return in_triangle(where, anchor, Point{int16_t(submenu.top - kAimSlop), edge},
                       Point{int16_t(submenu.bottom + kAimSlop), edge});
}

// The menus open on the screen, the first one pulled down or popped up and each
// further one a submenu of the one before.
struct Tracker {
    std::vector<OpenMenu> open;
    Point mouse{};  // where the mouse was last followed
    // While the pointer travels from an item to its open submenu across other
    // items: where it last was on the item, and when it last moved.
    Point anchor{};
    bool travelling = false;
    uint32_t last_progress_at = 0;

    ~Tracker() { close_from(0); }

    void open_menu(MenuRef menu, const Rect& rect) {
        // Window drawing still waiting for the screen (a pop-up button lit as its
        // menu opens) lands first, beneath the menu, rather than over it later.
        if (open.empty()) compose_screen();
        OpenMenu level;
        level.menu = menu;
        level.rect = rect;
        level.saved = save_screen_pixels(Rect{rect.top, rect.left, int16_t(rect.bottom + kMenuShadow),
                                              int16_t(rect.right + kMenuShadow)});
        MenuDefParams params;
        definition_of(menu)(kMenuDrawMsg, menu, level.rect, params);
        fill_rect_color(Rect{int16_t(rect.top + kMenuShadow), rect.right, int16_t(rect.bottom + kMenuShadow),
                             int16_t(rect.right + kMenuShadow)}, kLookShadow);
        fill_rect_color(Rect{rect.bottom, int16_t(rect.left + kMenuShadow), int16_t(rect.bottom + kMenuShadow), rect.right},
                        kLookShadow);
        open.push_back(std::move(level));
    }

    void close_from(size_t level) {
        while (open.size() > level) {
            restore_screen_pixels(open.back().saved);
            open.pop_back();
        }
    }

    void set_hilite(OpenMenu& level, int16_t item) {
        if (level.hilited == item) return;
        MenuDefParams params;
        params.hit = mouse;
        params.previous_item = level.hilited;
        params.new_item = item;
        definition_of(level.menu)(kMenuHiliteItemMsg, level.menu, level.rect, params);
        level.hilited = item;
    }

    Hit hit_test(Point where) {
        Hit hit;
        for (int i = int(open.size()) - 1; i >= 0; --i) {
            if (!pt_in_rect(where, open[size_t(i)].rect)) continue;
            hit.level = i;
            hit.params.hit = where;
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
        if (top + sub->menu_height > screen_rect.bottom) top = screen_rect.bottom - sub->menu_height - kMenuShadow;
        top = std::max<int>(top, menu_bar_height());
        open_menu(sub, Rect{int16_t(top), int16_t(left), int16_t(top + sub->menu_height),
                            int16_t(left + std::max<int>(sub->menu_width, 0))});
    }

    // Whether a move onto another item of the menu at `level` leaves its open
    // submenu in place for now: the pointer heads for the submenu and has not
    // rested for the grace since it last moved.
    bool keeps_submenu_for(size_t level, Point previous, Point where) {
        if (!is_heading_for(where, anchor, open[level + 1].rect)) return false;
        if (!travelling || !(where == previous)) {
            travelling = true;
            last_progress_at = tick_count();
        }
        return tick_count() - last_progress_at < kSubmenuGraceTicks;
    }

    // Follows the mouse over the open menus: highlight, and submenus opened or
    // closed. A submenu stays open while the mouse is on its item, outside every
    // menu, or on its way to it across the parent's other items.
    void follow(Point where) {
        Hit hit = hit_test(where);
        Point previous = mouse;
        mouse = where;
        if (hit.level < 0) {
            // Outside every menu: the deepest menu loses its highlight unless it
            // leads to an open submenu.
            if (!open.empty()) set_hilite(open.back(), 0);
            return;
        }
        size_t at = size_t(hit.level);
        int16_t item = hit.params.item_selected;
        bool has_submenu_open = open.size() > at + 1;
        if (has_submenu_open && item == open[at].hilited) {
            anchor = where;
            travelling = false;
            close_from(at + 2);
            set_hilite(open[at + 1], 0);
            return;
        }
        if (has_submenu_open && keeps_submenu_for(at, previous, where)) return;
        travelling = false;
        anchor = where;
        close_from(at + 1);
        set_hilite(open[at], item);
        if (leads_to_submenu(open[at].menu, item)) open_submenu(open[at], item, hit.params.item_rect);
    }

    // Whether the submenu grace is running, so that the mouse must be followed
    // even while it keeps still.
    bool is_travelling() const { return travelling; }

    // The choice under the mouse when the button comes up.
    int32_t choice(Point where) {
        Hit hit = hit_test(where);
        if (hit.level < 0) return 0;
        return answer_for(open[size_t(hit.level)].menu, hit.params.item_selected);
    }

    // ---- The keyboard works in the deepest open menu ----

    // Moves the highlight to the next selectable item up (-1) or down (+1), round
    // past the ends; from no highlight, Down goes to the first and Up to the last.
    void move_hilite(int direction) {
        if (open.empty()) return;
        OpenMenu& level = open.back();
        int count = count_menu_items(level.menu);
        int item = level.hilited;
        for (int tried = 0; tried < count; ++tried) {
            item += direction;
            if (item < 1) item = count;
            if (item > count) item = 1;
            if (is_selectable(level.menu, int16_t(item))) {
                set_hilite(level, int16_t(item));
                return;
            }
        }
    }

    // Opens the submenu of the highlighted item with its first item highlighted;
    // false when the highlighted item has none.
    bool enter_submenu() {
        if (open.empty()) return false;
        const OpenMenu& level = open.back();
        if (!leads_to_submenu(level.menu, level.hilited)) return false;
        size_t depth = open.size();
        open_submenu(level, level.hilited, standard_item_rect(level.menu, level.rect, level.hilited));
        if (open.size() == depth) return false;
        move_hilite(+1);
        return true;
    }

    // Closes the deepest submenu; false when no submenu is open.
    bool leave_submenu() {
        if (open.size() < 2) return false;
        close_from(open.size() - 1);
        return true;
    }

    int32_t hilited_choice() const { return open.empty() ? 0 : answer_for(open.back().menu, open.back().hilited); }
};

// Shows the menu of a bar title, under its title.
void open_bar_menu(Tracker& tracker, MenuRef menu) {
    ensure_menu_size(menu);
    Rect title = menu_title_rect(menu->id);
    Rect screen_rect = screen_bounds();
    int left = title.left;
    if (left + menu->menu_width + kMenuShadow > screen_rect.right) left = screen_rect.right - menu->menu_width - kMenuShadow;
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

// Polls the mouse until the button comes up, calling `step` with each position;
// takes the mouse-up and answers where it came.
template <typename Step>
Point track_until_release(Point start, Step step) {
    Point mouse = start;
    for (;;) {
        step(mouse);
        if (!still_down()) break;
        host_wait(kPollMilliseconds);
        mouse = mouse_location();
    }
    EventRecord up;
    mouse = take_event(kMouseUpMask, up, 0) ? up.where : mouse_location();
    step(mouse);
    return mouse;
}

// A press of the button: where and when, and whether it fell on the title of the
// menu opened by the last click (letting go there again closes it).
struct Press {
    Point where{};
    uint32_t when = 0;
    bool on_open_title = false;
};

bool is_click_in_place(const Press& press, Point release) {
    return tick_count() - press.when <= double_click_time() && std::abs(release.v - press.where.v) <= kClickSlop &&
           std::abs(release.h - press.where.h) <= kClickSlop;
}

bool is_cancel_key(const EventRecord& key) {
    unsigned char ch = event_char(key);
    return ch == kEscapeChar || ((key.modifiers & kCmdKey) && ch == '.');
}

// One choice from the menus, from the first press until an item is chosen or the
// menus close: the button held (dragging), then, after a click, the menus open
// with the button up until the next click or a key ends it.
struct Session {
    Tracker tracker;
    bool from_bar = false;    // pulled down from the bar: its titles switch menus
    MenuRef shown = nullptr;  // the bar menu whose title is highlighted
    // The bar menu shown when the menus last stayed open after a click: a click on
    // its title closes them (the mouse passing over other titles shows their menus).
    MenuRef clicked_title = nullptr;
    // A pop-up moved to fit on the screen may open with another item than its
    // current one under the press: that item is chosen by the first release only
    // once the mouse has moved from where the menu opened.
    int16_t item_under_press = 0;
    Point opened_at{};
    bool left_item_under_press = false;

    void note_item_under_press(Point where, int16_t current_item) {
        Hit hit = tracker.hit_test(where);
        opened_at = where;
        if (hit.level == 0 && hit.params.item_under_mouse != current_item)
            item_under_press = hit.params.item_under_mouse;
    }

    bool has_moved_since_opening(Point where) const {
        return std::abs(where.v - opened_at.v) > kClickSlop || std::abs(where.h - opened_at.h) > kClickSlop;
    }

    bool on_item_under_press(Point where) {
        Hit hit = tracker.hit_test(where);
        return item_under_press && hit.level == 0 && hit.params.item_under_mouse == item_under_press;
    }

    void show_bar_menu(MenuRef title) {
        tracker.close_from(0);
        hilite_menu(title->id);
        shown = title;
        if (title->enabled) open_bar_menu(tracker, title);
    }

    void follow(Point mouse) {
        if (item_under_press && (has_moved_since_opening(mouse) || !on_item_under_press(mouse)))
            left_item_under_press = true;
        MenuRef title = from_bar ? bar_menu_at(mouse) : nullptr;
        if (title && title != shown) show_bar_menu(title);
        tracker.follow(mouse);
    }

    // The bar menu to the right (+1) or left (-1) of the shown one, round past the ends.
    void show_next_title(int direction) {
        const std::vector<MenuRef>& bar = menu_list().bar;
        auto at = std::find(bar.begin(), bar.end(), shown);
        if (at == bar.end()) return;
        int count = int(bar.size());
        show_bar_menu(bar[size_t((int(at - bar.begin()) + direction + count) % count)]);
        tracker.move_hilite(+1);
    }

    // Serves a key while the menus are open; true when it ended the choice, with
    // the answer (0 for none).
    bool serve_key(const EventRecord& key, int32_t& answer) {
        answer = 0;
        if (is_cancel_key(key)) return true;
        switch (event_char(key)) {
            case kUpArrowChar:
                tracker.move_hilite(-1);
                break;
            case kDownArrowChar:
                tracker.move_hilite(+1);
                break;
            case kRightArrowChar:
                if (!tracker.enter_submenu() && from_bar) show_next_title(+1);
                break;
            case kLeftArrowChar:
                if (!tracker.leave_submenu() && from_bar) show_next_title(-1);
                break;
            case kReturnChar:
            case kEnterChar:
                if (tracker.enter_submenu()) break;
                answer = tracker.hilited_choice();
                return answer != 0;
            default:
                break;
        }
        return false;
    }

    // Whether a press falls outside every open menu and, from the bar, outside
    // every title.
    bool is_outside_menus(Point where) {
        return tracker.hit_test(where).level < 0 && !(from_bar && bar_menu_at(where));
    }

    enum class Release { kChoose, kStayOpen, kClose };

    // What a release does: the first press, a quick click in place, leaves the
    // menus open (a pop-up's item under it is not chosen), and so does its
    // release on the item a moved pop-up put under it; otherwise an item under
    // the release is chosen; a release on a title leaves its menu open, but a click
    // on the title of the menu a click opened closes it; after the first press a
    // release inside a menu (a separator, a disabled item) leaves them open too.
    // A release with no menu showing (a dimmed title) ends the choice.
    Release judge(const Press& press, Point release, bool first_press) {
        if (tracker.open.empty()) return Release::kClose;
        if (first_press && is_click_in_place(press, release)) return Release::kStayOpen;
        if (first_press && !left_item_under_press && on_item_under_press(release)) return Release::kStayOpen;
        if (tracker.choice(release)) return Release::kChoose;
        if (MenuRef title = from_bar ? bar_menu_at(release) : nullptr)
            return press.on_open_title && title == clicked_title ? Release::kClose : Release::kStayOpen;
        if (!first_press && tracker.hit_test(release).level >= 0) return Release::kStayOpen;
        return Release::kClose;
    }

    // With the button up and the menus open: the mouse highlights what it passes
    // over and the keyboard moves, opens and chooses. True with the next
    // mouse-down; false when a key ended the choice, with its answer.
    bool wait_while_open(EventRecord& down, int32_t& answer) {
        for (;;) {
            Point mouse = mouse_location();
            if (!(mouse == tracker.mouse) || tracker.is_travelling()) follow(mouse);
            EventRecord event;
            // Taken straight from the queue: wheel turns wait (a window scrolled
            // beneath would break the pixels saved under the menus).
            if (!take_event(kMouseDownMask | kKeyDownMask | kAutoKeyMask, event, 0)) {
                host_wait(kPollMilliseconds);
            } else if (event.what == kMouseDown) {
                down = event;
                return true;
            } else if (serve_key(event, answer)) {
                return false;
            }
        }
    }

    int32_t run(Point start) {
        Press press{start, tick_count(), false};
        for (bool first_press = true;; first_press = false) {
            Point release = track_until_release(press.where, [&](Point mouse) { follow(mouse); });
            Release outcome = judge(press, release, first_press);
            if (outcome == Release::kChoose) return tracker.choice(release);
            if (outcome == Release::kClose) return 0;
            clicked_title = shown;
            EventRecord down;
            int32_t answer = 0;
            if (!wait_while_open(down, answer)) return answer;
            if (is_outside_menus(down.where)) {
                // The press closes the menus at once; its release chooses nothing.
                tracker.close_from(0);
                if (from_bar) hilite_menu(0);
                track_until_release(down.where, [](Point) {});
                return 0;
            }
            press = Press{down.where, down.when, clicked_title && bar_menu_at(down.where) == clicked_title};
        }
    }
};

}  // namespace

int32_t menu_select(Point start) {
    if (!screen()) return 0;
    ScreenPort sp;
    Session session;
    session.from_bar = true;
    int32_t result = session.run(start);
    session.tracker.close_from(0);
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
    Session session;
    session.tracker.open_menu(menu, rect);
    const Point start = mouse_location();
    session.note_item_under_press(start, pop_up_item);
    int32_t result = session.run(start);
    session.tracker.close_from(0);
    return result;
}

}  // namespace pf
