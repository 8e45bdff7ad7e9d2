// Palette geometry, the tracking of a click over a floating palette, and the
// palette menu definition.
#include "shell/palette_grid.h"

#include "ui/colours.h"
#include "platform/controls/control_look.h"
#include "platform/draw/picture.h"
#include "platform/events/events.h"
#include "platform/resources/resources.h"
#include "shell/graphic_menus.h"
#include "shell/grid_palette.h"
#include "shell/shell_commands.h"

namespace {

constexpr int16_t kBoxWidth = 22, kBoxHeight = 20;
constexpr int16_t kPitchH = kBoxWidth + 1, kPitchV = kBoxHeight + 1;
constexpr pf::RGBColor kPaletteGrey{0xDDDD, 0xDDDD, 0xDDDD};
constexpr pf::RGBColor kLineGrey{0x8888, 0x8888, 0x8888};
constexpr pf::RGBColor kDimmedLineGrey{0xBBBB, 0xBBBB, 0xBBBB};

int16_t rows_of(const pf::MenuRef menu) { return menu->id == kChartKindMenu ? kLongPaletteRows : kToolRows; }

// Highlight: the menu redrawn when the item under the mouse changed, and a
// real item's box framed.
void hilite_palette_item(pf::MenuRef menu, const pf::Rect& r, const pf::MenuDefParams& params) {
    if (params.new_item == params.previous_item) return;
    DoDrawMsg(menu, r);
    if (params.new_item < 1) return;
    pf::Rect box;
    FindToolBox(rows_of(menu), params.new_item, &box);
    pf::frame_rect_color(pf::offset_rect(box, r.left, r.top), black_color);
}

void find_palette_item(pf::MenuRef menu, const pf::Rect& r, pf::MenuDefParams& params) {
    const pf::Point where{int16_t(params.hit.v - r.top), int16_t(params.hit.h - r.left)};
    params.item_under_mouse = pf::pt_in_rect(params.hit, r) ? FindTItem(rows_of(menu), where) : 0;
    params.item_selected = params.item_under_mouse;
    pf::Rect box{};
    FindToolBox(rows_of(menu), params.item_selected, &box);
    params.item_rect = box.empty() ? box : pf::offset_rect(box, r.left, r.top);
}

}  // namespace

int16_t palette_width() { return int16_t(kPaletteColumns * kPitchH - 1); }
int16_t palette_height(int16_t rows) { return int16_t(rows * kPitchV - 1); }

void FindToolBox(int16_t rows, int16_t item, pf::Rect* box) {
    *box = pf::Rect{};
    if (item < 1 || item > kPaletteColumns * rows) return;
    const int16_t left = int16_t((item - 1) % kPaletteColumns * kPitchH);
    const int16_t top = int16_t((item - 1) / kPaletteColumns * kPitchV);
    *box = pf::Rect{top, left, int16_t(top + kBoxHeight), int16_t(left + kBoxWidth)};
}

int16_t FindTItem(int16_t rows, pf::Point where) {
    if (where.v < 1 || where.h < 1) return 0;
    const int row = (where.v - 1) / kPitchV + 1, column = (where.h - 1) / kPitchH + 1;
    if (row > rows || column > kPaletteColumns) return 0;
    return int16_t((row - 1) * kPaletteColumns + column);
}

void draw_palette_lines(const pf::Rect& r, int16_t rows, bool active) {
    const pf::RGBColor& colour = active ? kLineGrey : kDimmedLineGrey;
    for (int16_t column = 1; column < kPaletteColumns; ++column) {
        const int16_t x = int16_t(r.left + column * kPitchH - 1);
        pf::fill_rect_color(pf::Rect{r.top, x, int16_t(r.top + palette_height(rows)), int16_t(x + 1)}, colour);
    }
    for (int16_t row = 1; row < rows; ++row) {
        const int16_t y = int16_t(r.top + row * kPitchV - 1);
        pf::fill_rect_color(pf::Rect{y, r.left, int16_t(y + 1), int16_t(r.left + palette_width())}, colour);
    }
}

void paint_palette_background(const pf::Rect& r) { pf::fill_rect_color(r, kPaletteGrey); }

pf::Rect paint_palette_face(int16_t rows) {
    pf::pen_normal();
    const pf::Rect face{0, 0, palette_height(rows), palette_width()};
    paint_palette_background(face);
    draw_palette_lines(face, rows, true);
    return face;
}

void draw_palette_picture(int16_t id, const pf::Rect& r) {
    const pf::Resource* picture = pf::get_resource(pf::four_cc("PICT"), id);
    if (!picture) return;
    const pf::Rect frame = pf::picture_frame(picture->bytes.data(), picture->bytes.size());
    pf::draw_picture_data(picture->bytes.data(), picture->bytes.size(),
                          pf::Rect{r.top, r.left, int16_t(r.top + frame.height()), int16_t(r.left + frame.width())});
}

int16_t SelectTools(int16_t rows) {
    int16_t shown = 0;
    auto show = [rows, &shown](int16_t item) {
        pf::Rect box;
        FindToolBox(rows, shown, &box);
        if (shown) pf::invert_rect(box);
        shown = item;
        FindToolBox(rows, shown, &box);
        if (shown) pf::invert_rect(box);
    };
    auto item_under_mouse = [rows] {
        pf::Point where = pf::mouse_location();
        pf::global_to_local(where);
        return FindTItem(rows, where);
    };
    show(item_under_mouse());
    while (pf::still_down()) {
        const int16_t item = item_under_mouse();
        if (item != shown) show(item);
    }
    const int16_t chosen = item_under_mouse();
    show(0);
    return chosen;
}

void DoDrawMsg(pf::MenuRef menu, const pf::Rect& r) {
    pf::pen_normal();
    pf::draw_theme_menu_background(r);
    if (menu->id == kBordersMenu) {
        DrawBorderImage(r, true);
    } else {
        draw_palette_lines(r, rows_of(menu), true);
        draw_palette_picture(menu->id, r);
    }
    pf::frame_rect_color(r, pf::kLookFrame);
}

void PaletteMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params) {
    switch (message) {
        case pf::kMenuDrawMsg: DoDrawMsg(menu, menu_rect); break;
        case pf::kMenuSizeMsg:
            menu->menu_width = palette_width();
            menu->menu_height = palette_height(rows_of(menu));
            break;
        case pf::kMenuPopUpMsg: DoPopUpMsg(menu, &menu_rect, params.top, params.left, params.pop_item); break;
        case pf::kMenuThemeSavvyMsg: params.answer = pf::kThemeSavvyMenuResponse; break;
        case pf::kMenuFindItemMsg: find_palette_item(menu, menu_rect, params); break;
        case pf::kMenuHiliteItemMsg: hilite_palette_item(menu, menu_rect, params); break;
        default: break;
    }
}
