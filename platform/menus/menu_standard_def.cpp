// The standard menu definition: a column of text items with a mark column at the
// left, the key equivalent at the right (written as the keys a Linux keyboard
// presses: Ctrl for Command, Alt for Option, Super for Control), an arrow for a
// submenu, and separator lines.
#include "platform/controls/control_look.h"
#include "platform/draw/text.h"
#include "platform/draw/unicode_text.h"
#include "platform/menus/menus.h"
#include "platform/menus/menus_internal.h"
#include "platform/windows/windows.h"

#include <algorithm>

namespace pf {

using menus_detail::is_separator;

namespace {

constexpr int16_t kMenuPad = 2;        // above the first and below the last item
constexpr int16_t kSeparatorHeight = 9;
constexpr int16_t kRightPad = 12;
constexpr int16_t kKeyGap = 24;
constexpr int16_t kSubmenuArrowWidth = 16;
constexpr int16_t kIconWidth = 20;
constexpr int16_t kFirstItemIcon = 256;  // item icon n is the small icon 256 + n

void use_menu_font(MenuRef menu, const MenuItem* item) {
    text_font(item && item->font >= 0 ? item->font : menu->font);
    text_size(menu->size);
    text_face(item ? item->style : 0);
}

int16_t mark_column(MenuRef menu) {
    use_menu_font(menu, nullptr);
    return int16_t(std::max<int>(14, line_height() + 2));
}

int16_t item_height(MenuRef menu, const MenuItem& item) {
    if (is_separator(item)) return kSeparatorHeight;
    use_menu_font(menu, &item);
    return int16_t(line_height() + 6);
}

// Rectangles of every item, global, for a menu placed at menu_rect.
std::vector<Rect> item_rects(MenuRef menu, const Rect& menu_rect) {
    std::vector<Rect> rects;
    int16_t v = int16_t(menu_rect.top + kMenuPad);
    for (const MenuItem& item : menu->items) {
        int16_t h = item_height(menu, item);
        rects.push_back(Rect{v, menu_rect.left, int16_t(v + h), menu_rect.right});
        v = int16_t(v + h);
    }
    return rects;
}

bool has_icons(MenuRef menu) {
    return std::any_of(menu->items.begin(), menu->items.end(), [](const MenuItem& item) { return item.icon != 0; });
}

// Where item texts start: after the mark column and, when any item has one, the icons.
int16_t text_left(MenuRef menu) { return int16_t(mark_column(menu) + (has_icons(menu) ? kIconWidth : 0)); }

bool item_enabled(MenuRef menu, const MenuItem& item) { return menu->enabled && item.enabled && !is_separator(item); }

void draw_mark(const MenuItem& item, const Rect& column, const RGBColor& colour) {
    if (item.mark == kCheckMark)
        draw_check_glyph(column, colour);
    else if (item.mark == kDiamondMark)
        draw_diamond_glyph(column, colour);
    else if (item.mark != kNoMark)
        draw_text_in_box(column, std::string(1, char(item.mark)), TextAlign::kCenter, colour);
}

void draw_item(MenuRef menu, int16_t index, const Rect& r, bool hilited) {
    const MenuItem& item = menu->items[size_t(index - 1)];
    LookScope scope;
    if (is_separator(item)) {
        fill_rect_color(r, kLookMenu);
        int16_t mid = int16_t((r.top + r.bottom) / 2);
        fill_rect_color(Rect{mid, int16_t(r.left + 1), int16_t(mid + 1), int16_t(r.right - 1)}, kLookShadow);
        return;
    }
    bool enabled = item_enabled(menu, item);
    bool lit = hilited && enabled;
    fill_rect_color(Rect{r.top, int16_t(r.left + 1), r.bottom, int16_t(r.right - 1)}, lit ? kLookAccent : kLookMenu);
    RGBColor colour = lit ? kLookAccentText : enabled ? kLookText : kLookDimText;
    int16_t column = mark_column(menu);
    draw_mark(item, Rect{r.top, r.left, r.bottom, int16_t(r.left + column)}, colour);
    if (item.icon) {
        Rect icon{int16_t(r.top + (r.height() - 16) / 2), int16_t(r.left + column), r.bottom, r.right};
        draw_small_icon(int16_t(kFirstItemIcon + item.icon), icon);
    }
    column = text_left(menu);
    int16_t right = int16_t(r.right - kRightPad);
    if (item.submenu) {
        draw_triangle(Rect{r.top, int16_t(r.right - kSubmenuArrowWidth), r.bottom, int16_t(r.right - 4)},
                      TriangleDirection::kRight, 5, colour);
    } else if (item.key) {
        use_menu_font(menu, nullptr);
        draw_text_in_box(Rect{r.top, int16_t(r.left + column), r.bottom, right}, key_equivalent_text(item),
                         TextAlign::kRight, colour);
    }
    use_menu_font(menu, &item);
    const Rect text_box{r.top, int16_t(r.left + column), r.bottom, right};
    if (item.utf8) draw_unicode_text_in_box(text_box, item.text, TextAlign::kLeft, colour);
    else draw_text_in_box(text_box, item.text, TextAlign::kLeft, colour);
}

void size_menu(MenuRef menu) {
    int text = 0, keys = 0;
    bool submenus = false;
    int height = 2 * kMenuPad;
    for (const MenuItem& item : menu->items) {
        height += item_height(menu, item);
        use_menu_font(menu, &item);
        text = std::max<int>(text, item.utf8 ? unicode_text_width(item.text) : text_width(item.text));
        use_menu_font(menu, nullptr);
        if (item.key) keys = std::max<int>(keys, text_width(key_equivalent_text(item)));
        submenus |= item.submenu != 0;
    }
    int width = text_left(menu) + text + kRightPad;
    if (keys) width += kKeyGap + keys;
    if (submenus) width += kSubmenuArrowWidth;
    use_menu_font(menu, nullptr);
    width = std::max({width, text_width(menu->title) + 2 * kRightPad, int(menu->minimum_width)});
    menu->menu_width = int16_t(width);
    menu->menu_height = int16_t(std::max(height, 2 * int(kMenuPad) + 8));
}

void place_pop_up(MenuRef menu, Rect& menu_rect, MenuDefParams& params) {
    menus_detail::ensure_menu_size(menu);
    int16_t offset = kMenuPad;
    Rect zero{0, 0, menu->menu_height, menu->menu_width};
    std::vector<Rect> rects = item_rects(menu, zero);
    if (params.pop_item >= 1 && size_t(params.pop_item) <= rects.size()) offset = rects[size_t(params.pop_item - 1)].top;
    int top = params.top - offset;
    Rect screen_rect = screen_bounds();
    if (top + menu->menu_height > screen_rect.bottom) top = screen_rect.bottom - menu->menu_height;
    top = std::max<int>(top, menu_bar_height());
    int left = params.left;
    if (left + menu->menu_width > screen_rect.right) left = screen_rect.right - menu->menu_width;
    left = std::max(left, 0);
    menu_rect = Rect{int16_t(top), int16_t(left), int16_t(top + menu->menu_height), int16_t(left + menu->menu_width)};
}

void find_item(MenuRef menu, const Rect& menu_rect, MenuDefParams& params) {
    params.item_under_mouse = 0;
    params.item_selected = 0;
    params.item_rect = Rect{};
    if (!pt_in_rect(params.hit, menu_rect)) return;
    std::vector<Rect> rects = item_rects(menu, menu_rect);
    for (size_t i = 0; i < rects.size(); ++i) {
        if (!pt_in_rect(params.hit, rects[i])) continue;
        params.item_under_mouse = int16_t(i + 1);
        if (item_enabled(menu, menu->items[i])) {
            params.item_selected = int16_t(i + 1);
            params.item_rect = rects[i];
        }
        return;
    }
}

void hilite_items(MenuRef menu, const Rect& menu_rect, const MenuDefParams& params) {
    std::vector<Rect> rects = item_rects(menu, menu_rect);
    auto draw = [&](int16_t item, bool lit) {
        if (item >= 1 && size_t(item) <= rects.size()) draw_item(menu, item, rects[size_t(item - 1)], lit);
    };
    if (params.previous_item != params.new_item) draw(params.previous_item, false);
    draw(params.new_item, true);
}

void draw_menu(MenuRef menu, const Rect& menu_rect) {
    draw_theme_menu_background(menu_rect);
    std::vector<Rect> rects = item_rects(menu, menu_rect);
    for (size_t i = 0; i < rects.size(); ++i) draw_item(menu, int16_t(i + 1), rects[i], false);
    frame_rect_color(menu_rect, kLookFrame);
}

}  // namespace

namespace menus_detail {

bool is_separator(const MenuItem& item) { return item.text == "-"; }

Rect standard_item_rect(MenuRef menu, const Rect& menu_rect, int16_t item) {
    LookScope scope;
    std::vector<Rect> rects = item_rects(menu, menu_rect);
    return item >= 1 && size_t(item) <= rects.size() ? rects[size_t(item - 1)] : Rect{};
}

}  // namespace menus_detail

std::string key_equivalent_text(const MenuItem& item) {
    std::string text;
    if (!(item.modifiers & kMenuNoCommandModifier)) text += "Ctrl+";
    if (item.modifiers & kMenuControlModifier) text += "Super+";
    if (item.modifiers & kMenuOptionModifier) text += "Alt+";
    if (item.modifiers & kMenuShiftModifier) text += "Shift+";
    unsigned char key = item.key;
    if (key >= 'a' && key <= 'z') key = uint8_t(key - 'a' + 'A');
    text += char(key);
    return text;
}

void standard_menu_definition(int16_t message, MenuRef menu, Rect& menu_rect, MenuDefParams& params) {
    LookScope scope;
    switch (message) {
        case kMenuDrawMsg:
            draw_menu(menu, menu_rect);
            break;
        case kMenuSizeMsg:
            size_menu(menu);
            break;
        case kMenuPopUpMsg:
            place_pop_up(menu, menu_rect, params);
            break;
        case kMenuThemeSavvyMsg:
            params.answer = kThemeSavvyMenuResponse;
            break;
        case kMenuFindItemMsg:
            find_item(menu, menu_rect, params);
            break;
        case kMenuHiliteItemMsg:
            hilite_items(menu, menu_rect, params);
            break;
        default:
            break;
    }
}

}  // namespace pf
