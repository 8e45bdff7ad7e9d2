// The colour-grid and pattern menu definitions: drawing, size, placement,
// the item under the mouse and its highlight, and the choice each menu
// remembers.
#include "shell/graphic_menus.h"

#include <algorithm>
#include <string>

#include "ui/colours.h"
#include "platform/controls/control_look.h"
#include "platform/draw/text.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/resources/resources.h"
#include "platform/windows/windows.h"
#include "shell/shell_commands.h"
#include "window/sheet_paint.h"
#include "resource_ids.h"

namespace {

// A grid of boxes: the first box's top-left relative to the menu, the pitch
// (equal to the box size), columns and rows.
struct Grid {
    int16_t left, top, pitch, columns, rows;
};
constexpr Grid kColourGrid{3, 30, 8, 16, 16};
constexpr Grid kPatternGrid{3, 23, 17, 8, 5};

constexpr int16_t kColourMenuWidth = 135, kColourMenuHeight = 162;
constexpr int16_t kPatternMenuWidth = 143, kPatternMenuHeight = 112;
constexpr int16_t kMenuFontSize = 9, kSmallestNoneSize = 7;
constexpr int16_t kNoneItem = 7;
constexpr int16_t kOffScreenRise = 20;
constexpr pf::RGBColor kGridGreyColour{0x8888, 0x8888, 0x8888};
constexpr pf::RGBColor kChosenPatternRed{0xDDDD, 0, 0};

// Remembered choices: colour menus 145, 181, 182, 187, 188 and any other;
// pattern menus 183, 186 and any other.
int16_t start_index[6];
int16_t start_patindex[3];

int16_t& colour_slot(int16_t menu) {
    switch (menu) {
        case kTextColourMenu: return start_index[0];
        case kFillForeMenu: return start_index[1];
        case kFillBackMenu: return start_index[2];
        case kLineForeMenu: return start_index[3];
        case kLineBackMenu: return start_index[4];
        default: return start_index[5];
    }
}

int16_t& pattern_slot(int16_t menu) {
    switch (menu) {
        case kFillPatternMenu: return start_patindex[0];
        case kLinePatternMenu: return start_patindex[1];
        default: return start_patindex[2];
    }
}

pf::Rect grid_box(const Grid& grid, int16_t item) {
    const int16_t count = int16_t(grid.columns * grid.rows);
    if (item < 1 || item > count) return pf::Rect{};
    const int16_t left = int16_t(grid.left + (item - 1) % grid.columns * grid.pitch);
    const int16_t top = int16_t(grid.top + (item - 1) / grid.columns * grid.pitch);
    return pf::Rect{top, left, int16_t(top + grid.pitch), int16_t(left + grid.pitch)};
}

int16_t grid_item(const Grid& grid, pf::Point where) {
    const int x = where.h - grid.left, y = where.v - grid.top;
    if (x < 1 || y < 1) return 0;
    const int column = (x - 1) / grid.pitch + 1, row = (y - 1) / grid.pitch + 1;
    if (column > grid.columns || row > grid.rows) return 0;
    return int16_t((row - 1) * grid.columns + column);
}

pf::Rect offset(const pf::Rect& r, const pf::Rect& menu_rect) {
    return r.empty() ? r : pf::offset_rect(r, menu_rect.left, menu_rect.top);
}

pf::Point relative(pf::Point where, const pf::Rect& menu_rect) {
    return pf::Point{int16_t(where.v - menu_rect.top), int16_t(where.h - menu_rect.left)};
}

void menu_font() {
    pf::text_font(pf::kApplFont);
    pf::text_size(kMenuFontSize);
    pf::text_face(0);
}

void draw_text_at(int16_t h, int16_t v, const std::string& text) {
    pf::move_to(h, v);
    pf::draw_text(text);
}

void draw_title(pf::MenuRef menu, const pf::Rect& r) {
    pf::rgb_fore_color(black_color);
    draw_text_at(int16_t(r.left + 2), int16_t(r.top + 12), menu->title);
}

void draw_background(const pf::Rect& r) {
    pf::pen_normal();
    menu_font();
    pf::draw_theme_menu_background(r);
}

// Find item: the item under the mouse; the selected item is that item or,
// elsewhere in the menu, the remembered choice (1 when none is set).
void find_grid_item(const pf::Rect& r, pf::MenuDefParams& params, int16_t (*item_at)(pf::Point),
                    pf::Rect (*box_of)(int16_t, const pf::Rect&), int16_t& remembered) {
    params.item_under_mouse = pf::pt_in_rect(params.hit, r) ? item_at(relative(params.hit, r)) : 0;
    if (!params.item_under_mouse && remembered < 1) remembered = 1;
    params.item_selected = params.item_under_mouse ? params.item_under_mouse : remembered;
    params.item_rect = box_of(params.item_selected, r);
}

// ---- Colour grid ----------------------------------------------------------------

pf::Rect colour_grid_box(int16_t item, const pf::Rect& menu_rect) {
    return offset(grid_box(kColourGrid, item), menu_rect);
}

void draw_colour_boxes(const pf::Rect& r) {
    pf::fill_rect_color(pf::Rect{int16_t(r.top + 30), int16_t(r.left + 3), int16_t(r.bottom - 3),
                                 int16_t(r.right - 3)},
                        kGridGreyColour);
    pf::Rect none = colour_grid_box(1, r);
    pf::fill_rect_color(pf::Rect{int16_t(none.top + 1), int16_t(none.left + 1), none.bottom, none.right},
                        white_color);
    pf::fill_rect_color(pf::Rect{int16_t(none.top + 4), int16_t(none.left + 4), int16_t(none.top + 5),
                                 int16_t(none.left + 5)},
                        black_color);
    for (int16_t item = 2; item <= kColourItems; ++item) {
        pf::Rect box = colour_grid_box(item, r);
        pf::fill_rect_color(pf::Rect{int16_t(box.top + 1), int16_t(box.left + 1), box.bottom, box.right},
                            table_colour(int16_t(item - 2)));
    }
}

void frame_colour_box(int16_t item, const pf::Rect& menu_rect, const pf::RGBColor& colour) {
    pf::Rect box = colour_grid_box(item, menu_rect);
    if (box.empty()) return;
    ++box.right;
    ++box.bottom;
    pf::frame_rect_color(box, colour);
}

void draw_colour_menu(pf::MenuRef menu, const pf::Rect& r) {
    draw_background(r);
    draw_title(menu, r);
    draw_colour_boxes(r);
    draw_choice(std::max<int16_t>(get_start_color(menu->id), 1), r);
    pf::frame_rect_color(r, pf::kLookFrame);
}


void hilite_colour_item(const pf::Rect& r, const pf::MenuDefParams& params) {
    const int16_t item = std::min<int16_t>(params.new_item, kColourItems);
    if (item == params.previous_item) return;
    if (params.previous_item > 0) frame_colour_box(params.previous_item, r, kGridGreyColour);
    draw_choice(item ? item : params.previous_item, r);
}

// ---- Pattern grid ---------------------------------------------------------------

pf::Rect pattern_grid_box(int16_t item, const pf::Rect& menu_rect) {
    pf::Rect box = offset(grid_box(kPatternGrid, item), menu_rect);
    if (box.empty()) return box;
    ++box.right;
    ++box.bottom;
    return box;
}

// A pattern's sample in a box: the word for none for item 1.
void draw_pattern_sample(int16_t item, const pf::Rect& box) {
    pf::erase_rect(box);
    if (item == 1) DrawNoneRect(box);
    else pf::fill_rect(box, list_pattern(int16_t(item - 1)));
}

void draw_pattern_preview(int16_t item, const pf::Rect& r) {
    pf::Rect preview{int16_t(r.top + 3), int16_t(r.right - 80), int16_t(r.top + 20), int16_t(r.right - 4)};
    pf::fill_rect_color(preview, pf::kLookMenu);
    if (item < 1) return;
    pf::rgb_fore_color(black_color);
    pf::frame_rect(preview);
    draw_pattern_sample(item, pf::inset_rect(preview, 1, 1));
}

void mark_chosen_pattern(int16_t item, const pf::Rect& r) {
    const pf::Rect box = pf::inset_rect(pattern_grid_box(item, r), -1, -1);
    pf::rgb_fore_color(kChosenPatternRed);
    pf::pen_size(3, 3);
    pf::frame_rect(box);
    pf::pen_normal();
    pf::rgb_fore_color(black_color);
}

void draw_pattern_menu(pf::MenuRef menu, const pf::Rect& r) {
    draw_background(r);
    draw_title(menu, r);
    pf::frame_rect(pf::Rect{int16_t(r.top + 23), int16_t(r.left + 3), int16_t(r.bottom - 3), int16_t(r.right - 3)});
    for (int16_t item = 1; item <= kPatternItems; ++item) {
        pf::Rect box = pattern_grid_box(item, r);
        pf::frame_rect(box);
        draw_pattern_sample(item, pf::inset_rect(box, 1, 1));
    }
    const int16_t chosen = get_start_pat(menu->id);
    if (chosen >= 1) {
        draw_pattern_preview(chosen, r);
        mark_chosen_pattern(chosen, r);
    }
    pf::frame_rect_color(r, pf::kLookFrame);
}


void hilite_pattern_item(pf::MenuRef menu, const pf::Rect& r, const pf::MenuDefParams& params) {
    if (params.new_item == params.previous_item) return;
    pf::pen_normal();
    draw_pattern_preview(params.new_item ? params.new_item : get_start_pat(menu->id), r);
}

void size_menu(pf::MenuRef menu, int16_t width, int16_t height) {
    menu->menu_width = width;
    menu->menu_height = height;
}

// The messages both grids answer alike; false for the others.
bool common_message(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params,
                    int16_t& remembered) {
    switch (message) {
        case pf::kMenuPopUpMsg:
            remembered = DoPopUpMsg(menu, &menu_rect, params.top, params.left, params.pop_item);
            return true;
        case pf::kMenuThemeSavvyMsg:
            params.answer = pf::kThemeSavvyMenuResponse;
            return true;
        case pf::kMenuInitMsg:
        case pf::kMenuDisposeMsg:
            if (remembered < 1) remembered = 1;
            return true;
        default:
            return false;
    }
}

}  // namespace

void FindColorBox(int16_t item, pf::Rect* box) { *box = grid_box(kColourGrid, item); }
void FindPatBox(int16_t item, pf::Rect* box) { *box = grid_box(kPatternGrid, item); }
int16_t FindColorItem(pf::Point where) { return grid_item(kColourGrid, where); }
int16_t FindPatItem(pf::Point where) { return grid_item(kPatternGrid, where); }

int16_t DoPopUpMsg(pf::MenuRef menu, pf::Rect* menu_rect, int16_t top, int16_t left, int16_t item) {
    pf::Rect r{top, left, int16_t(top + menu->menu_height), int16_t(left + menu->menu_width)};
    const pf::Rect screen = pf::screen_bounds();
    if (r.bottom > screen.bottom) r = pf::offset_rect(r, 0, -(menu->menu_height + kOffScreenRise));
    if (r.right > screen.right) r = pf::offset_rect(r, -(r.right - screen.right + 1), 0);
    *menu_rect = r;
    return item;
}

void init_color_choice(int16_t menu, int16_t item) { colour_slot(menu) = item; }
void init_pat_choice(int16_t menu, int16_t item) { pattern_slot(menu) = item; }
int16_t get_start_color(int16_t menu) { return colour_slot(menu); }
int16_t get_start_pat(int16_t menu) { return pattern_slot(menu); }


void DrawNoneRect(const pf::Rect& box) {
    const std::string none = pf::get_indexed_string(kPromptStrings, kNoneItem);
    menu_font();
    pf::rgb_fore_color(black_color);
    for (int16_t size : {kMenuFontSize, kSmallestNoneSize}) {
        pf::text_size(size);
        const int16_t width = pf::text_width(none);
        if (width > box.width() - 2) continue;
        draw_text_at(int16_t((box.left + box.right - width) / 2), int16_t((box.top + box.bottom) / 2 + size / 3),
                     none);
        pf::text_size(kMenuFontSize);
        return;
    }
    // Too narrow for the word: a diagonal stroke across the box.
    pf::text_size(kMenuFontSize);
    pf::move_to(box.left, int16_t(box.bottom - 1));
    pf::line_to(int16_t(box.right - 1), box.top);
}

void draw_choice(int16_t item, const pf::Rect& r) {
    if (item < 1) return;
    menu_font();
    pf::Rect sample{int16_t(r.top + 3), int16_t(r.right - 80), int16_t(r.top + 27), int16_t(r.right - 4)};
    pf::fill_rect_color(sample, table_colour(item <= 2 ? 0 : int16_t(item - 2)));
    pf::frame_rect_color(sample, black_color);
    if (item == 1) DrawNoneRect(sample);
    frame_colour_box(item, r, black_color);
    pf::fill_rect_color(pf::Rect{int16_t(r.top + 15), r.left, int16_t(r.top + 27), int16_t(r.right - 82)},
                        pf::kLookMenu);
    pf::rgb_fore_color(black_color);
    draw_text_at(int16_t(r.left + 2), int16_t(r.top + 24), std::to_string(item - 1));
}

namespace {

// A grid menu's own parts: the slot of its remembered item, its drawing and
// size, the item at a point, an item's box and the hilite of a new item.
struct GridMenu {
    int16_t& (*slot)(int16_t menu);
    void (*draw)(pf::MenuRef menu, const pf::Rect& r);
    int16_t width, height;
    int16_t (*item_at)(pf::Point where);
    pf::Rect (*box_of)(int16_t item, const pf::Rect& r);
    void (*hilite)(pf::MenuRef menu, const pf::Rect& r, const pf::MenuDefParams& params);
};

// The colour grid's hilite needs no menu.
void hilite_colour_of(pf::MenuRef, const pf::Rect& r, const pf::MenuDefParams& params) { hilite_colour_item(r, params); }

const GridMenu kColourMenu{colour_slot,   draw_colour_menu, kColourMenuWidth, kColourMenuHeight,
                           FindColorItem, colour_grid_box,  hilite_colour_of};
const GridMenu kPatternMenu{pattern_slot, draw_pattern_menu, kPatternMenuWidth, kPatternMenuHeight,
                            FindPatItem,  pattern_grid_box,  hilite_pattern_item};

void grid_menu_message(const GridMenu& grid, int16_t message, pf::MenuRef menu, pf::Rect& menu_rect,
                       pf::MenuDefParams& params) {
    int16_t& remembered = grid.slot(menu->id);
    if (common_message(message, menu, menu_rect, params, remembered)) return;
    switch (message) {
        case pf::kMenuDrawMsg: grid.draw(menu, menu_rect); break;
        case pf::kMenuSizeMsg: size_menu(menu, grid.width, grid.height); break;
        case pf::kMenuFindItemMsg: find_grid_item(menu_rect, params, grid.item_at, grid.box_of, remembered); break;
        case pf::kMenuHiliteItemMsg: grid.hilite(menu, menu_rect, params); break;
        default: break;
    }
}

}  // namespace

void COLORMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params) {
    grid_menu_message(kColourMenu, message, menu, menu_rect, params);
}

void PatternMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params) {
    grid_menu_message(kPatternMenu, message, menu, menu_rect, params);
}
