#include "platform/lists/lists.h"

#include "platform/controls/control_look.h"
#include "platform/controls/controls.h"
#include "platform/draw/text.h"
#include "platform/events/events.h"
#include "platform/host/host.h"
#include "platform/text/text.h"

#include <algorithm>
#include <cstdint>

namespace pf {

namespace {

constexpr uint32_t kTypingPauseTicks = 60;

size_t index_of(ListHandle list, Point cell) { return size_t(cell.v) * size_t(list->columns) + size_t(cell.h); }

bool valid_cell(ListHandle list, Point cell) {
    return cell.v >= 0 && cell.h >= 0 && cell.v < list->rows && cell.h < list->columns;
}

int16_t shown_rows(ListHandle list) {
    return int16_t(std::max(1, list->view.height() / std::max<int>(1, list->cell_size.v)));
}

struct ListPort {
    explicit ListPort(ListHandle list) : scope(window_port(list->window)) {}
    PortScope scope;
    LookScope look;
};

Rect scroll_bar_rect(const Rect& view) {
    return Rect{view.top, int16_t(view.right - 1), view.bottom, int16_t(view.right + kListScrollBarWidth - 1)};
}

void sync_scroll_bar(ListHandle list) {
    if (!list->v_scroll) return;
    int32_t maximum = std::max(0, list->rows - shown_rows(list));
    list->top_row = int16_t(std::clamp<int>(list->top_row, 0, maximum));
    set_control_maximum(list->v_scroll, maximum);
    set_control_value(list->v_scroll, list->top_row);
    if (list->active && maximum > 0) activate_control(list->v_scroll);
}

void scroll_action(ControlRef bar, int16_t part) {
    auto list = reinterpret_cast<ListHandle>(bar->refcon);
    int16_t page = int16_t(std::max(1, shown_rows(list) - 1));
    switch (part) {
        case kControlUpButtonPart: list_scroll(list, -1); break;
        case kControlDownButtonPart: list_scroll(list, 1); break;
        case kControlPageUpPart: list_scroll(list, int16_t(-page)); break;
        case kControlPageDownPart: list_scroll(list, page); break;
        case kControlIndicatorPart:
            list->top_row = int16_t(get_control_value(bar));
            list_update(list);
            break;
        default: break;
    }
}

void standard_cell(const Rect& r, bool selected, std::string_view data, bool active) {
    fill_rect_color(r, selected ? (active ? kLookAccent : kLookFacePressed) : kLookLight);
    RGBColor colour = selected && active ? kLookAccentText : kLookText;
    draw_text_in_box(Rect{r.top, int16_t(r.left + 4), r.bottom, int16_t(r.right - 2)}, data, TextAlign::kLeft, colour);
}

// Selects exactly the cells of rows [from, to] of column 0 (and clears the rest).
void select_only_range(ListHandle list, int16_t from, int16_t to) {
    if (from > to) std::swap(from, to);
    for (int16_t row = 0; row < list->rows; ++row)
        for (int16_t column = 0; column < list->columns; ++column)
            list_set_select(list, row >= from && row <= to, Point{row, column});
}

Point cell_at(ListHandle list, Point where) {
    int row = list->top_row + (where.v - list->view.top) / std::max<int>(1, list->cell_size.v);
    int column = (where.h - list->view.left) / std::max<int>(1, list->cell_size.h);
    return Point{int16_t(row), int16_t(column)};
}

void select_by_typing(ListHandle list, unsigned char ch) {
    uint32_t now = tick_count();
    if (now - list->typed_ticks > kTypingPauseTicks) list->typed.clear();
    list->typed_ticks = now;
    list->typed += char(ch);
    for (int16_t row = 0; row < list->rows; ++row) {
        std::string text = list_get_cell(list, Point{row, 0});
        if (text.size() < list->typed.size()) continue;
        if (equal_text(text.substr(0, list->typed.size()), list->typed, false, true)) {
            select_only_range(list, row, row);
            list->last_click = Point{row, 0};
            list_auto_scroll(list);
            return;
        }
    }
}

}  // namespace

ListHandle new_list(const Rect& view, int16_t rows, int16_t columns, Point cell_size, ListDefProc ldef,
                    WindowRef window, bool draw_it, bool scroll_vertical) {
    ListHandle list = new ListRec;
    list->window = window;
    list->view = view;
    list->columns = std::max<int16_t>(columns, 1);
    list->ldef = ldef;
    list->draw_on = draw_it;
    if (cell_size.h <= 0) cell_size.h = int16_t(view.width() / list->columns);
    if (cell_size.v <= 0) {
        ListPort port(list);
        cell_size.v = int16_t(line_height() + 4);
    }
    list->cell_size = cell_size;
    if (scroll_vertical) {
        list->v_scroll = new_control(window, scroll_bar_rect(view), "", true, 0, 0, 0, kScrollBarControl,
                                     reinterpret_cast<uintptr_t>(list));
        set_control_action(list->v_scroll, scroll_action);
    }
    list_add_row(list, rows, 0);
    if (ldef) ldef(kListInitMsg, false, Rect{}, Point{}, {}, list);
    return list;
}

void dispose_list(ListHandle list) {
    if (!list) return;
    if (list->ldef) list->ldef(kListCloseMsg, false, Rect{}, Point{}, {}, list);
    dispose_control(list->v_scroll);
    delete list;
}

int16_t list_add_row(ListHandle list, int16_t count, int16_t row) {
    count = int16_t(std::min<int>(count, INT16_MAX - list->rows));  // rows are 16-bit
    if (count <= 0) return list->rows;
    row = std::clamp<int16_t>(row, 0, list->rows);
    size_t at = size_t(row) * size_t(list->columns), n = size_t(count) * size_t(list->columns);
    list->cells.insert(list->cells.begin() + long(at), n, std::string());
    list->selected.insert(list->selected.begin() + long(at), n, 0);
    list->rows = int16_t(list->rows + count);
    sync_scroll_bar(list);
    if (list->draw_on) list_update(list);
    return row;
}

void list_delete_row(ListHandle list, int16_t count, int16_t row) {
    if (count == 0) {
        row = 0;
        count = list->rows;
    }
    if (row < 0 || row >= list->rows) return;
    count = std::min<int16_t>(count, int16_t(list->rows - row));
    size_t at = size_t(row) * size_t(list->columns), n = size_t(count) * size_t(list->columns);
    list->cells.erase(list->cells.begin() + long(at), list->cells.begin() + long(at + n));
    list->selected.erase(list->selected.begin() + long(at), list->selected.begin() + long(at + n));
    list->rows = int16_t(list->rows - count);
    list->typed.clear();  // typing starts afresh in new contents
    sync_scroll_bar(list);
    if (list->draw_on) list_update(list);
}

int16_t list_rows(ListHandle list) { return list ? list->rows : 0; }

void list_set_cell(ListHandle list, Point cell, std::string_view data) {
    if (!valid_cell(list, cell)) return;
    list->cells[index_of(list, cell)] = std::string(data);
    list_draw_cell(list, cell);
}

std::string list_get_cell(ListHandle list, Point cell) {
    return valid_cell(list, cell) ? list->cells[index_of(list, cell)] : std::string();
}

void list_set_select(ListHandle list, bool select, Point cell) {
    if (!valid_cell(list, cell) || bool(list->selected[index_of(list, cell)]) == select) return;
    if (select && (list->sel_flags & kListOnlyOne))
        std::fill(list->selected.begin(), list->selected.end(), 0), list_update(list);
    list->selected[index_of(list, cell)] = select;
    list_draw_cell(list, cell);
}

bool list_is_selected(ListHandle list, Point cell) { return valid_cell(list, cell) && list->selected[index_of(list, cell)]; }

bool list_get_select(ListHandle list, bool next, Point& cell) {
    if (!next) return list_is_selected(list, cell);
    for (size_t i = valid_cell(list, cell) ? index_of(list, cell) : 0; i < list->selected.size(); ++i) {
        if (!list->selected[i]) continue;
        cell = Point{int16_t(i / size_t(list->columns)), int16_t(i % size_t(list->columns))};
        return true;
    }
    return false;
}

std::vector<int16_t> list_selected_rows(ListHandle list) {
    std::vector<int16_t> rows;
    for (int16_t row = 0; row < list->rows; ++row)
        if (list_is_selected(list, Point{row, 0})) rows.push_back(row);
    return rows;
}

bool list_click(ListHandle list, Point where, uint16_t modifiers) {
    if (list->v_scroll && pt_in_rect(where, list->v_scroll->bounds)) {
        handle_control_click(list->v_scroll, where, modifiers, kUseControlAction);
        return false;
    }
    Point cell = cell_at(list, where);
    if (!pt_in_rect(where, list->view) || !valid_cell(list, cell)) {
        wait_mouse_up();
        return false;
    }
    bool only_one = list->sel_flags & kListOnlyOne;
    uint32_t now = tick_count();
    bool double_click = cell == list->last_click && now - list->last_click_ticks <= double_click_time();
    Point anchor = (modifiers & kShiftKey) && !only_one && valid_cell(list, list->last_click) ? list->last_click : cell;
    if ((modifiers & kCmdKey) && !only_one)
        list_set_select(list, !list_is_selected(list, cell), cell);
    else
        select_only_range(list, anchor.v, cell.v);
    // Dragging sweeps the selection (or moves the single selection) with the mouse.
    Point last = cell;
    while (!(modifiers & kCmdKey) && still_down()) {
        host_wait(16);
        Point mouse;
        get_mouse(mouse);
        Point over = cell_at(list, Point{std::clamp<int16_t>(mouse.v, list->view.top, int16_t(list->view.bottom - 1)),
                                         list->view.left});
        over.v = std::clamp<int16_t>(over.v, 0, int16_t(list->rows - 1));
        if (over == last) continue;
        last = over;
        select_only_range(list, only_one ? over.v : anchor.v, over.v);
        list_auto_scroll(list);
    }
    wait_mouse_up();
    list->last_click = last;
    list->last_click_ticks = now;
    return double_click && last == cell;
}

Point list_last_click(ListHandle list) { return list->last_click; }

bool list_key(ListHandle list, unsigned char ch, uint16_t modifiers) {
    if (list->rows == 0) return false;
    if (ch >= 32 && ch != kDeleteChar && !(modifiers & kCmdKey)) {
        select_by_typing(list, ch);
        return true;
    }
    std::vector<int16_t> selected = list_selected_rows(list);
    int16_t page = int16_t(std::max(1, shown_rows(list) - 1));
    int16_t current = selected.empty() ? -1 : (ch == kUpArrowChar ? selected.front() : selected.back());
    int target;
    switch (ch) {
        case kUpArrowChar: target = current < 0 ? list->rows - 1 : current - 1; break;
        case kDownArrowChar: target = current + 1; break;
        case kHomeChar: target = 0; break;
        case kEndChar: target = list->rows - 1; break;
        case kPageUpChar: target = std::max(0, current - page); break;
        case kPageDownChar: target = current + page; break;
        default: return false;
    }
    target = std::clamp(target, 0, list->rows - 1);
    bool extend = (modifiers & kShiftKey) && !(list->sel_flags & kListOnlyOne) && current >= 0;
    select_only_range(list, extend ? (ch == kUpArrowChar ? selected.back() : selected.front()) : int16_t(target),
                      int16_t(target));
    list->last_click = Point{int16_t(target), 0};
    list_auto_scroll(list);
    return true;
}

void list_scroll(ListHandle list, int16_t rows) {
    int maximum = std::max(0, list->rows - shown_rows(list));
    int16_t top = int16_t(std::clamp(list->top_row + rows, 0, maximum));
    if (top == list->top_row) return;
    list->top_row = top;
    sync_scroll_bar(list);
    list_update(list);
}

void list_auto_scroll(ListHandle list) {
    Point cell{0, 0};
    if (!list_get_select(list, true, cell)) return;
    // The last selected row when the selection was swept downward past the view.
    if (valid_cell(list, list->last_click) && list_is_selected(list, list->last_click)) cell = list->last_click;
    if (cell.v < list->top_row) list_scroll(list, int16_t(cell.v - list->top_row));
    else if (cell.v >= list->top_row + shown_rows(list)) list_scroll(list, int16_t(cell.v - list->top_row - shown_rows(list) + 1));
}

Rect list_cell_rect(ListHandle list, Point cell) {
    int16_t top = int16_t(list->view.top + (cell.v - list->top_row) * list->cell_size.v);
    int16_t left = int16_t(list->view.left + cell.h * list->cell_size.h);
    return Rect{top, left, int16_t(top + list->cell_size.v), int16_t(left + list->cell_size.h)};
}

void list_draw_cell(ListHandle list, Point cell) {
    if (!list->draw_on || !valid_cell(list, cell) || !window_port(list->window)) return;
    Rect r = list_cell_rect(list, cell);
    if (r.top < list->view.top || r.bottom > list->view.bottom) return;
    ListPort port(list);
    bool selected = list->selected[index_of(list, cell)];
    const std::string& data = list->cells[index_of(list, cell)];
    if (list->ldef)
        list->ldef(kListDrawMsg, selected, r, cell, data, list);
    else
        standard_cell(r, selected, data, list->active);
}

void list_update(ListHandle list) {
    if (!list->draw_on || !window_port(list->window)) return;
    {
        ListPort port(list);
        fill_rect_color(list->view, kLookLight);
    }
    int16_t last = int16_t(std::min<int>(list->rows, list->top_row + shown_rows(list)));
    for (int16_t row = list->top_row; row < last; ++row)
        for (int16_t column = 0; column < list->columns; ++column) list_draw_cell(list, Point{row, column});
    if (list->v_scroll) draw_one_control(list->v_scroll);
}

void list_set_draw_mode(ListHandle list, bool draw) {
    list->draw_on = draw;
    if (draw) list_update(list);
}

void list_activate(ListHandle list, bool active) {
    if (list->active == active) return;
    list->active = active;
    if (list->v_scroll) {
        if (active && get_control_maximum(list->v_scroll) > 0) activate_control(list->v_scroll);
        if (!active) deactivate_control(list->v_scroll);
    }
    list_update(list);
}

void list_move(ListHandle list, const Rect& view) {
    list->view = view;
    if (list->v_scroll) {
        Rect bar = scroll_bar_rect(view);
        list->v_scroll->bounds = bar;
    }
    sync_scroll_bar(list);
}

}  // namespace pf
