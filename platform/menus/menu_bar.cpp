// The menu list and the bar: which menus are in it, how their titles are laid out
// and drawn, the Help menu, and the lookups by key equivalent and command id.
#include "platform/controls/control_look.h"
#include "platform/draw/text.h"
#include "platform/menus/menus.h"
#include "platform/menus/menus_internal.h"
#include "platform/resources/resources.h"
#include "platform/screen/screen.h"
#include "platform/windows/windows.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace pf {

using namespace menus_detail;

namespace {

constexpr int16_t kHelpMenuId = -16490;
constexpr int16_t kFirstTitleLeft = 10;
constexpr int16_t kTitlePad = 9;

bool in_list(const std::vector<MenuRef>& list, MenuRef menu) {
    return std::find(list.begin(), list.end(), menu) != list.end();
}

// The title rectangles of the bar, in the bar's order.
std::vector<Rect> title_rects() {
    std::vector<Rect> rects;
    if (!screen()) return rects;
    ScreenPort sp;
    int16_t h = kFirstTitleLeft;
    int16_t bottom = int16_t(menu_bar_height() - 1);
    for (MenuRef menu : menu_list().bar) {
        int16_t width = int16_t(text_width(menu->title) + 2 * kTitlePad);
        rects.push_back(Rect{0, h, bottom, int16_t(h + width)});
        h = int16_t(h + width);
    }
    return rects;
}

Rect bar_rect() {
    Rect screen_rect = screen_bounds();
    return Rect{0, 0, menu_bar_height(), screen_rect.right};
}

// Whether a key-down's character and modifiers call for an item's equivalent.
bool key_matches(const MenuItem& item, unsigned char ch, uint16_t modifiers) {
    if (item.key == 0 || item.submenu != 0) return false;
    bool needs_command = !(item.modifiers & kMenuNoCommandModifier);
    if (needs_command != bool(modifiers & kCmdKey)) return false;
    if (bool(item.modifiers & kMenuOptionModifier) != bool(modifiers & kOptionKey)) return false;
    if (bool(item.modifiers & kMenuControlModifier) != bool(modifiers & kControlKey)) return false;
    bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    // A letter's equivalent asks for Shift by its modifiers, whatever case is typed;
    // other keys (digits, punctuation) are told by the character alone.
    if (letter) {
        if (bool(item.modifiers & kMenuShiftModifier) != bool(modifiers & kShiftKey)) return false;
        return (ch & 0xDF) == (item.key & 0xDF);
    }
    return ch == item.key;
}

// The bar menu under which a menu lies, following submenu links upward.
MenuRef bar_parent(MenuRef menu, int depth = 0) {
    if (in_list(menu_list().bar, menu) || depth > 8) return menu;
    for (MenuRef candidate : all_menus())
        for (const MenuItem& item : candidate->items)
            if (item.submenu == menu->id) return bar_parent(candidate, depth + 1);
    return nullptr;
}

}  // namespace

namespace menus_detail {

MenuList& menu_list() {
    static MenuList list;
    return list;
}

std::vector<MenuRef> all_menus() {
    std::vector<MenuRef> all = menu_list().bar;
    all.insert(all.end(), menu_list().hierarchical.begin(), menu_list().hierarchical.end());
    return all;
}

ScreenPort::ScreenPort() : scope(&port) { open_screen_port(port, screen_bounds()); }
ScreenPort::~ScreenPort() { close_port(port); }

SavedPixels save_screen_pixels(const Rect& global) {
    SavedPixels saved;
    Screen* s = screen();
    if (!s) return saved;
    saved.rect = Rect{std::max<int16_t>(global.top, 0), std::max<int16_t>(global.left, 0),
                      std::min<int16_t>(global.bottom, int16_t(s->height)),
                      std::min<int16_t>(global.right, int16_t(s->width))};
    if (saved.rect.empty()) return saved;
    cairo_surface_flush(s->surface);
    unsigned char* data = cairo_image_surface_get_data(s->surface);
    int stride = cairo_image_surface_get_stride(s->surface);
    int width = saved.rect.width();
    saved.pixels.resize(size_t(width) * size_t(saved.rect.height()));
    for (int v = saved.rect.top; v < saved.rect.bottom; ++v)
        std::memcpy(&saved.pixels[size_t(v - saved.rect.top) * size_t(width)],
                    data + v * stride + saved.rect.left * 4, size_t(width) * 4);
    return saved;
}

void restore_screen_pixels(const SavedPixels& saved) {
    Screen* s = screen();
    if (!s || saved.rect.empty()) return;
    cairo_surface_flush(s->surface);
    unsigned char* data = cairo_image_surface_get_data(s->surface);
    int stride = cairo_image_surface_get_stride(s->surface);
    int width = saved.rect.width();
    for (int v = saved.rect.top; v < saved.rect.bottom; ++v)
        std::memcpy(data + v * stride + saved.rect.left * 4,
                    &saved.pixels[size_t(v - saved.rect.top) * size_t(width)], size_t(width) * 4);
    cairo_surface_mark_dirty(s->surface);
    screen_mark_dirty(saved.rect);
}

void draw_menu_title(MenuRef menu, bool hilited) {
    Rect r = menu_title_rect(menu->id);
    if (r.empty()) return;
    ScreenPort sp;
    fill_rect_color(r, hilited ? kLookAccent : kLookLight);
    RGBColor colour = hilited ? kLookAccentText : menu->enabled ? kLookText : kLookDimText;
    draw_text_in_box(r, menu->title, TextAlign::kCenter, colour);
}

}  // namespace menus_detail

void insert_menu(MenuRef menu, int16_t before_id) {
    if (!menu) return;
    MenuList& list = menu_list();
    if (before_id == kInsertHierarchicalMenu) {
        if (!in_list(list.hierarchical, menu) && !get_menu_handle(menu->id)) list.hierarchical.push_back(menu);
        return;
    }
    if (get_menu_handle(menu->id)) return;  // a menu id is in the list once
    auto at = std::find_if(list.bar.begin(), list.bar.end(), [&](MenuRef m) {
        return (before_id != 0 && m->id == before_id) || m == list.help;
    });
    list.bar.insert(at, menu);
}

void delete_menu(int16_t id) {
    MenuList& list = menu_list();
    auto drop = [id](std::vector<MenuRef>& menus) {
        menus.erase(std::remove_if(menus.begin(), menus.end(), [id](MenuRef m) { return m->id == id; }), menus.end());
    };
    drop(list.bar);
    drop(list.hierarchical);
    if (list.help && list.help->id == id) list.help = nullptr;
    if (list.hilited == id) list.hilited = 0;
}

MenuRef get_menu_handle(int16_t id) {
    for (MenuRef menu : all_menus())
        if (menu->id == id) return menu;
    return nullptr;
}

std::vector<int16_t> menu_bar_ids() {
    std::vector<int16_t> ids;
    for (MenuRef menu : menu_list().bar) ids.push_back(menu->id);
    return ids;
}

bool set_menu_bar_from_resource(int16_t mbar_id) {
    const Resource* resource = get_resource(kMenuBarType, mbar_id);
    std::vector<int16_t> ids;
    if (!resource || !decode_menu_bar(resource->bytes, ids)) return false;
    bool complete = true;
    for (int16_t id : ids) {
        MenuRef menu = get_menu(id);
        if (menu)
            insert_menu(menu, 0);
        else
            complete = false;
    }
    return complete;
}

void clear_menu_bar() {
    for (MenuRef menu : all_menus()) dispose_menu(menu);
    menu_list() = MenuList{};
}

void draw_menu_bar() {
    if (!screen()) return;
    {
        ScreenPort sp;
        Rect bar = bar_rect();
        fill_rect_color(Rect{bar.top, bar.left, int16_t(bar.bottom - 1), bar.right}, kLookLight);
        fill_rect_color(Rect{int16_t(bar.bottom - 1), bar.left, bar.bottom, bar.right}, kLookFrame);
    }
    for (MenuRef menu : menu_list().bar) draw_menu_title(menu, menu->id == menu_list().hilited);
}

void hilite_menu(int16_t id) {
    MenuList& list = menu_list();
    if (list.hilited == id) return;
    if (MenuRef old = get_menu_handle(list.hilited)) draw_menu_title(old, false);
    list.hilited = id;
    if (MenuRef now = get_menu_handle(id)) draw_menu_title(now, true);
}

int16_t hilited_menu() { return menu_list().hilited; }

Rect menu_title_rect(int16_t id) {
    std::vector<Rect> rects = title_rects();
    const auto& bar = menu_list().bar;
    for (size_t i = 0; i < bar.size() && i < rects.size(); ++i)
        if (bar[i]->id == id) return rects[i];
    return Rect{};
}

MenuRef help_menu() {
    MenuList& list = menu_list();
    if (!list.help) {
        list.help = new_menu(kHelpMenuId, toolbox_string(kHelpMenuTitleIndex, "Help"));
        list.bar.push_back(list.help);
    }
    return list.help;
}

int16_t help_menu_id() { return kHelpMenuId; }

int32_t menu_key(unsigned char ch, uint16_t modifiers) {
    for (MenuRef menu : all_menus()) {
        for (size_t i = 0; i < menu->items.size(); ++i) {
            if (!key_matches(menu->items[i], ch, modifiers)) continue;
            MenuRef top = bar_parent(menu);
            if (!top || !menu->enabled || !menu->items[i].enabled || !top->enabled) return 0;
            hilite_menu(top->id);
            return (int32_t(menu->id) << 16) | int32_t(i + 1);
        }
    }
    return 0;
}

int32_t menu_event(const EventRecord& event) {
    if (event.what != kKeyDown && event.what != kAutoKey) return 0;
    return menu_key(event_char(event), event.modifiers);
}

bool get_index_menu_item_with_command_id(FourCC command, int nth, MenuRef* menu, int16_t* item) {
    int seen = 0;
    for (MenuRef m : all_menus()) {
        for (size_t i = 0; i < m->items.size(); ++i) {
            if (m->items[i].command != command || ++seen < nth) continue;
            if (menu) *menu = m;
            if (item) *item = int16_t(i + 1);
            return true;
        }
    }
    return false;
}

void enable_menu_command(FourCC command, bool enable) {
    MenuRef menu = nullptr;
    int16_t item = 0;
    for (int nth = 1; get_index_menu_item_with_command_id(command, nth, &menu, &item); ++nth) {
        if (enable)
            enable_menu_item(menu, item);
        else
            disable_menu_item(menu, item);
    }
}

void menus_reset() { clear_menu_bar(); }

}  // namespace pf
