// The two window icons at the bottom right of a document window, left of the
// grow box: the first pops up the Layer menu, the second a list of the
// workbook's layers that shows the chosen one.
#include <string>

#include "ui/screen_geometry.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/draw/port.h"
#include "platform/menus/menus.h"
#include "platform/windows/windows.h"
#include "window/doc_window.h"
#include "window/scrolling.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kLayerMenuImage = 2;
constexpr int16_t kLayerListImage = 1;
constexpr int16_t kLayerListMenu = 650;
constexpr int16_t kStripLeft = 62;     // from the window's right edge
constexpr int16_t kSecondIconLeft = 38;
constexpr int16_t kFirstIconEnd = 39;
constexpr int16_t kInertLeft = 64;
constexpr int16_t kStripHeight = 14;
constexpr int16_t kBoxWidth = 24;
constexpr int16_t kSeparator = 23;
constexpr int16_t kImageInset = 3;     // the 16-pixel image inside its box
constexpr int16_t kListGap = 4;

pf::Rect port_rect(WindowRef window) { return pf::window_port(window)->port_rect; }

pf::Rect icon_box(WindowRef window, int16_t left_of_edge) {
    const pf::Rect port = port_rect(window);
    return pf::Rect{int16_t(port.bottom - kStripHeight), int16_t(port.right - left_of_edge),
                    port.bottom, int16_t(port.right - left_of_edge + kBoxWidth)};
}

pf::Point global_corner(WindowRef window, int16_t v, int16_t h) {
    const pf::Rect content = pf::window_content_rect(window);
    return pf::Point{int16_t(content.top + v), int16_t(content.left + h)};
}

// The Layer menu above the first icon: the item chosen, 0 for none.
int16_t pop_up_layer_menu(const pf::Rect& box, WindowRef window) {
    pf::MenuRef menu = pf::get_menu_handle(kLayerMenu);
    if (!menu) menu = pf::get_menu(kLayerMenu);
    if (!menu) return 0;
    const pf::Point at = global_corner(window, int16_t(box.top - pf::menu_height(menu)), box.left);
    return int16_t(pf::pop_up_menu_select(menu, at.v, at.h, 0) & 0xFFFF);
}

// One item per layer in the workbook's order, the shown one checked.
pf::MenuRef layer_list_menu(MemoryRef record) {
    MemoryRef workbook = doc_window_workbook(record);
    MemoryRef shown = doc_window_layer(record);
    pf::MenuRef menu = pf::new_menu(kLayerListMenu, "");
    if (!menu || !workbook) return menu;
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i);
        unsigned char name[256];
        GetSheetName(name, layer);
        pf::append_menu_item_text(menu, "a");
        const int16_t item = int16_t(i + 1);
        pf::set_menu_item_text(menu, item, std::string(reinterpret_cast<const char*>(name + 1), name[0]));
        if (layer == shown) pf::check_menu_item(menu, item, true);
    }
    return menu;
}

// The list of layers with its bottom just above the second icon: the item
// chosen, 0 for none.
int16_t pop_up_layer_list(MemoryRef record, const pf::Rect& box, WindowRef window) {
    pf::MenuRef menu = layer_list_menu(record);
    if (!menu) return 0;
    const pf::Point at = global_corner(window, int16_t(box.top - kListGap - pf::menu_height(menu)), box.left);
    const int32_t choice = pf::pop_up_menu_select(menu, at.v, at.h, 0);
    pf::dispose_menu(menu);
    return int16_t(choice & 0xFFFF);
}

// The icon shown pressed while its menu is up.
void highlight_icon(WindowRef window, const pf::Rect& box) {
    pf::PortScope scope(pf::window_port(window));
    InvertButton(&box, true);
}

}  // namespace

void draw_wind_icons(MemoryRef record) {
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.window || !fields.sheet) return;
    const pf::Rect port = port_rect(fields.window);
    const pf::Rect strip{int16_t(port.bottom - kStripHeight), int16_t(port.right - kStripLeft), port.bottom, port.right};
    const bool active = SheetActive(fields.sheet) != 0;
    const int16_t depth = GetSheetColors(fields.sheet);
    if (!active && depth < 4) pf::erase_rect(strip);
    pf::pen_normal();
    pf::move_to(int16_t(strip.left + kSeparator), strip.top);
    pf::line_to(int16_t(strip.left + kSeparator), int16_t(strip.bottom - 1));
    if (depth > 2) {
        for (int16_t left : {kStripLeft, kSecondIconLeft}) {
            const pf::Rect box = icon_box(fields.window, left);
            ShadeFrame(&box, nullptr, true);
        }
    }
    if (!active) return;
    pf::Port* target = pf::window_port(fields.window);
    const int16_t top = int16_t(strip.top - 1);
    Draw_Bitmap(target, 0, kIconImages, pf::Point{top, int16_t(port.right - kStripLeft + kImageInset)}, false,
                kLayerMenuImage);
    Draw_Bitmap(target, 0, kIconImages, pf::Point{top, int16_t(port.right - kSecondIconLeft + kImageInset)}, false,
                kLayerListImage);
}

int16_t click_window_icons(MemoryRef record, pf::Point where) {
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.window) return 1;
    const int16_t right = port_rect(fields.window).right;
    if (where.h <= right - kInertLeft) return 1;
    const bool first = where.h <= right - kFirstIconEnd;
    const pf::Rect box = icon_box(fields.window, first ? kStripLeft : kSecondIconLeft);
    highlight_icon(fields.window, box);
    const int16_t item = first ? pop_up_layer_menu(box, fields.window) : pop_up_layer_list(record, box, fields.window);
    highlight_icon(fields.window, box);
    if (item == 0) return 1;
    if (first) DoLayerMenu(record, item);
    else select_layer(record, int16_t(item - 1));
    return 1;
}
