// Menu records and their items: making menus from MENU resources, items from
// metacharacter texts or plain texts, and every item attribute.
#include "platform/menus/menus.h"
#include "platform/menus/menus_internal.h"
#include "platform/resources/resources.h"

#include <map>

namespace pf {

using namespace menus_detail;

namespace {

std::map<int16_t, MenuDefProc>& registered_definitions() {
    static std::map<int16_t, MenuDefProc> table;
    return table;
}

void send_message(MenuRef menu, int16_t message) {
    Rect unused{};
    MenuDefParams params;
    definition_of(menu)(message, menu, unused, params);
}

MenuItem item_from_template(const MenuItemTemplate& t) {
    MenuItem item;
    item.text = t.text;
    item.key = t.key;
    item.modifiers = t.modifiers;
    item.mark = t.mark;
    item.style = t.style;
    item.icon = t.icon;
    item.submenu = t.submenu;
    item.command = t.command;
    item.enabled = t.enabled && t.text != "-";
    return item;
}

uint8_t style_of_letter(char letter) {
    switch (letter) {
        case 'B': return kFaceBold;
        case 'I': return kFaceItalic;
        case 'U': return kFaceUnderline;
        case 'O': return kFaceOutline;
        case 'S': return kFaceShadow;
        default: return 0;
    }
}

// One item written with metacharacters.
MenuItem parse_item(std::string_view data) {
    MenuItem item;
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        bool has_next = i + 1 < data.size();
        if (c == '(') {
            item.enabled = false;
        } else if (c == '/' && has_next) {
            item.key = uint8_t(data[++i]);
        } else if (c == '!' && has_next) {
            item.mark = uint8_t(data[++i]);
        } else if (c == '<' && has_next) {
            item.style |= style_of_letter(data[++i]);
        } else if (c == '^' && has_next) {
            item.icon = int16_t(uint8_t(data[++i]) - '0');
        } else {
            item.text += c;
        }
    }
    if (item.text.empty() || item.text[0] == '-') {
        item.text = "-";
        item.enabled = false;
    }
    return item;
}

std::vector<MenuItem> parse_items(std::string_view data) {
    std::vector<MenuItem> items;
    size_t start = 0;
    while (start <= data.size()) {
        size_t end = data.find_first_of(";\r", start);
        if (end == std::string_view::npos) end = data.size();
        std::string_view piece = data.substr(start, end - start);
        if (!piece.empty()) items.push_back(parse_item(piece));
        start = end + 1;
    }
    return items;
}

void insert_items(MenuRef menu, std::vector<MenuItem> items, int16_t after_item) {
    if (!menu) return;
    size_t at = after_item < 0 ? 0 : std::min<size_t>(size_t(after_item), menu->items.size());
    menu->items.insert(menu->items.begin() + long(at), items.begin(), items.end());
    invalidate_menu_size(menu);
}

}  // namespace

namespace menus_detail {

MenuDefProc definition_of(MenuRef menu) { return menu->proc ? menu->proc : standard_menu_definition; }

void ensure_menu_size(MenuRef menu, bool force) {
    if (force || menu->menu_width == 0 || menu->menu_height == 0) send_message(menu, kMenuSizeMsg);
}

void invalidate_menu_size(MenuRef menu) {
    menu->menu_width = 0;
    menu->menu_height = 0;
}

}  // namespace menus_detail

MenuRef new_menu(int16_t id, std::string_view title) {
    MenuRef menu = new Menu;
    menu->id = id;
    menu->title = std::string(title);
    send_message(menu, kMenuInitMsg);
    return menu;
}

MenuRef get_menu(int16_t resource_id) {
    const Resource* resource = get_resource(kMenuType, resource_id);
    MenuTemplate t;
    if (!resource || !decode_menu(resource->bytes, t)) return nullptr;
    MenuRef menu = new Menu;
    menu->id = t.id;
    menu->title = t.title;
    menu->enabled = t.enabled;
    menu->definition = t.definition;
    auto found = registered_definitions().find(t.definition);
    if (found != registered_definitions().end()) menu->proc = found->second;
    for (const MenuItemTemplate& item : t.items) menu->items.push_back(item_from_template(item));
    send_message(menu, kMenuInitMsg);
    return menu;
}

void dispose_menu(MenuRef menu) {
    if (!menu) return;
    send_message(menu, kMenuDisposeMsg);
    delete menu;
}

void register_menu_definition(int16_t definition, MenuDefProc proc) { registered_definitions()[definition] = proc; }

void set_menu_definition(MenuRef menu, MenuDefProc proc) {
    menu->proc = proc;
    invalidate_menu_size(menu);
}

void append_menu(MenuRef menu, std::string_view data) {
    if (menu) insert_items(menu, parse_items(data), int16_t(menu->items.size()));
}

void insert_menu_item(MenuRef menu, std::string_view data, int16_t after_item) {
    insert_items(menu, parse_items(data), after_item);
}

void append_menu_item_text(MenuRef menu, std::string_view text) {
    if (menu) insert_menu_item_text(menu, text, int16_t(menu->items.size()));
}

void insert_menu_item_text(MenuRef menu, std::string_view text, int16_t after_item) {
    MenuItem item;
    item.text = std::string(text);
    insert_items(menu, {item}, after_item);
}

void delete_menu_item(MenuRef menu, int16_t item) { delete_menu_items(menu, item, 1); }

void delete_menu_items(MenuRef menu, int16_t first, int16_t count) {
    if (!menu || first < 1 || count < 1 || size_t(first) > menu->items.size()) return;
    size_t end = std::min(menu->items.size(), size_t(first - 1 + count));
    menu->items.erase(menu->items.begin() + (first - 1), menu->items.begin() + long(end));
    invalidate_menu_size(menu);
}

int16_t count_menu_items(MenuRef menu) { return menu ? int16_t(menu->items.size()) : 0; }

MenuItem* menu_item(MenuRef menu, int16_t item) {
    if (!menu || item < 1 || size_t(item) > menu->items.size()) return nullptr;
    return &menu->items[size_t(item - 1)];
}

void set_menu_item_text(MenuRef menu, int16_t item, std::string_view text) {
    if (MenuItem* it = menu_item(menu, item)) {
        it->text = std::string(text);
        it->utf8 = false;
        invalidate_menu_size(menu);
    }
}

std::string get_menu_item_text(MenuRef menu, int16_t item) {
    MenuItem* it = menu_item(menu, item);
    return it ? it->text : std::string();
}

void set_menu_title(MenuRef menu, std::string_view title) {
    menu->title = std::string(title);
    if (get_menu_handle(menu->id) == menu) draw_menu_bar();
}

namespace {

void set_enabled(MenuRef menu, int16_t item, bool enabled) {
    if (!menu) return;
    if (item == 0) {
        bool changed = menu->enabled != enabled;
        menu->enabled = enabled;
        if (changed && !menu_title_rect(menu->id).empty()) draw_menu_title(menu, menu_list().hilited == menu->id);
    } else if (MenuItem* it = menu_item(menu, item)) {
        it->enabled = enabled;
    }
}

}  // namespace

void enable_menu_item(MenuRef menu, int16_t item) { set_enabled(menu, item, true); }
void disable_menu_item(MenuRef menu, int16_t item) { set_enabled(menu, item, false); }

bool is_menu_item_enabled(MenuRef menu, int16_t item) {
    if (!menu || !menu->enabled) return false;
    if (item == 0) return true;
    MenuItem* it = menu_item(menu, item);
    return it && it->enabled;
}

void check_menu_item(MenuRef menu, int16_t item, bool checked) { set_item_mark(menu, item, checked ? kCheckMark : kNoMark); }

namespace {

// Changes an item in range; a change of what the item shows makes the menu be sized again.
enum class Resize { kNo, kYes };
template <typename Change>
void change_item(MenuRef menu, int16_t item, Resize resize, Change change) {
    MenuItem* it = menu_item(menu, item);
    if (!it) return;
    change(*it);
    if (resize == Resize::kYes) invalidate_menu_size(menu);
}

// A field of an item in range, or `none`.
template <typename Field>
Field read_item(MenuRef menu, int16_t item, Field MenuItem::*field, Field none) {
    MenuItem* it = menu_item(menu, item);
    return it ? it->*field : none;
}

}  // namespace

void set_item_mark(MenuRef menu, int16_t item, uint8_t mark) {
    change_item(menu, item, Resize::kNo, [&](MenuItem& it) { it.mark = mark; });
}

uint8_t get_item_mark(MenuRef menu, int16_t item) { return read_item(menu, item, &MenuItem::mark, uint8_t(0)); }

void set_item_style(MenuRef menu, int16_t item, uint8_t style) {
    change_item(menu, item, Resize::kYes, [&](MenuItem& it) { it.style = style; });
}

uint8_t get_item_style(MenuRef menu, int16_t item) { return read_item(menu, item, &MenuItem::style, uint8_t(0)); }

void set_menu_item_font(MenuRef menu, int16_t item, int16_t font) {
    change_item(menu, item, Resize::kYes, [&](MenuItem& it) { it.font = font; });
}

void set_menu_item_script_text(MenuRef menu, int16_t item, const ScriptText& text) {
    set_menu_item_text(menu, item, text.bytes);
    set_menu_item_font(menu, item, text.script == kScriptRoman ? -1 : script_font(text.script));
}

void set_menu_item_utf8_text(MenuRef menu, int16_t item, std::string_view utf8) {
    change_item(menu, item, Resize::kYes, [&](MenuItem& it) {
        it.text = std::string(utf8);
        it.utf8 = true;
        it.font = -1;
    });
}

void set_item_key(MenuRef menu, int16_t item, uint8_t key, uint8_t modifiers) {
    change_item(menu, item, Resize::kYes, [&](MenuItem& it) {
        it.key = key;
        it.modifiers = modifiers;
    });
}

uint8_t get_item_key(MenuRef menu, int16_t item) { return read_item(menu, item, &MenuItem::key, uint8_t(0)); }

void set_menu_item_command_id(MenuRef menu, int16_t item, FourCC command) {
    change_item(menu, item, Resize::kNo, [&](MenuItem& it) { it.command = command; });
}

FourCC get_menu_item_command_id(MenuRef menu, int16_t item) {
    return read_item(menu, item, &MenuItem::command, FourCC(0));
}

void set_menu_item_submenu(MenuRef menu, int16_t item, int16_t submenu_id) {
    change_item(menu, item, Resize::kYes, [&](MenuItem& it) { it.submenu = submenu_id; });
}

void set_menu_font(MenuRef menu, int16_t font, int16_t size) {
    menu->font = font;
    menu->size = size;
    invalidate_menu_size(menu);
}

int16_t menu_height(MenuRef menu) {
    if (!menu) return 0;
    menus_detail::ensure_menu_size(menu);
    return menu->menu_height;
}

}  // namespace pf
