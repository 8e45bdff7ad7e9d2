#include "shell/colour_palette.h"

#include <string>
#include <vector>

#include "ui/colours.h"
#include "ui/lists_and_menus.h"
#include "model/cell_format.h"
#include "model/layer.h"
#include "objects/object_commands.h"
#include "objects/objects.h"
#include "platform/controls/control_look.h"
#include "platform/draw/text.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/windows/windows.h"
#include "ui/app_prefs.h"
#include "shell/colour_commands.h"
#include "shell/document_facts.h"
#include "shell/graphic_menus.h"
#include "window/floating_palette.h"
#include "window/sheet_paint.h"
#include "window/front_document.h"
#include "resource_ids.h"

WindowRef ColorPalette = nullptr;

namespace {

constexpr int16_t kPaletteWidth = 68, kPaletteHeight = 118;
constexpr int16_t kLabelFontSize = 9, kSideLabelSize = 8;
constexpr int16_t kSwatchItems = 9, kLastColourItem = 5, kLastPopUpItem = 7;
constexpr pf::RGBColor kPaletteGrey{0xDDDD, 0xDDDD, 0xDDDD};

// Per item: the slot it shows and the menu it pops up.
struct Swatch {
    int16_t slot, menu;
};
constexpr Swatch kSwatches[kSwatchItems] = {
    {kTextColourSlot, kTextColourMenu},   {kFillForeSlot, kFillForeMenu},      {kFillBackSlot, kFillBackMenu},
    {kLineForeSlot, kFillForeMenu},       {kLineBackSlot, kFillBackMenu},      {kFillPatternSlot, kFillPatternMenu},
    {kLinePatternSlot, kLinePatternMenu}, {kLineSizeSlot, kLineSizeMenu},     {kFrameTypeSlot, kFrameTypeMenu},
};

struct PalettePort {
    PalettePort() {
        PushWindowPort(ColorPalette);
        pf::pen_normal();
        pf::text_font(pf::kApplFont);
        pf::text_size(kLabelFontSize);
        pf::text_face(0);
    }
    ~PalettePort() { PopPort(); }
};

int16_t value_of(int16_t item) { return color_palette_value(kSwatches[item - 1].slot); }

void frame_grey(const pf::Rect& r) {
    pf::pen_pat(pf::kGrayPattern);
    pf::frame_rect(r);
    pf::pen_normal();
}

void drop_shadow(const pf::Rect& r) {
    pf::fill_rect_color(pf::offset_rect(r, 1, 1), black_color);
}

void draw_text_swatch(const pf::Rect& r, int16_t value) {
    drop_shadow(r);
    pf::fill_rect_color(r, white_color);
    pf::frame_rect_color(r, black_color);
    const pf::Rect inside = pf::inset_rect(r, 2, 2);
    if (value < 0) pf::fill_rect(inside, pf::kGrayPattern);
    else pf::fill_rect_color(inside, table_colour(int16_t(value - 1)));
}

// The row of a line size or frame type: a frame with a pop-up arrow.
pf::Rect draw_popup_row(const pf::Rect& row) {
    const pf::Rect r = pf::inset_rect(row, 3, 3);
    drop_shadow(r);
    pf::fill_rect_color(r, white_color);
    pf::frame_rect_color(r, black_color);
    pf::draw_theme_popup_arrow(pf::Rect{r.top, int16_t(r.right - 14), r.bottom, int16_t(r.right - 2)},
                               pf::ArrowDirection::kDown, pf::ArrowSize::kSmall, 0);
    return r;
}

void draw_line_size(const pf::Rect& row, int16_t value) {
    const pf::Rect r = draw_popup_row(row);
    if (value < 0) return;
    pf::move_to(int16_t(r.left + 5), int16_t(r.bottom - 4));
    pf::draw_text(value == 0 ? std::string("H") : std::to_string(value));
    const int16_t pen = value == 0 ? 1 : value;
    pf::fill_rect_color(pf::Rect{int16_t(r.bottom - 8), int16_t(r.left + 15), int16_t(r.bottom - 8 + pen),
                                 int16_t(r.right - 18)},
                        black_color);
}

void draw_frame_type(const pf::Rect& row, int16_t value) {
    const pf::Rect r = draw_popup_row(row);
    if (value < 0) return;
    const pf::Rect box{int16_t(r.top + 3), int16_t(r.left + 8), int16_t(r.bottom - 4), int16_t(r.right - 22)};
    if (value == 0) pf::pen_pat(pf::kGrayPattern);
    pf::move_to(box.left, box.top);
    pf::line_to(box.left, box.bottom);
    pf::line_to(box.right, box.bottom);
    pf::line_to(box.right, box.top);
    pf::pen_normal();
    if (value == 2) {
        pf::fill_rect_color(pf::Rect{int16_t(box.bottom + 1), int16_t(box.left + 2), int16_t(box.bottom + 3),
                                     int16_t(box.right + 3)},
                            black_color);
        pf::fill_rect_color(pf::Rect{int16_t(box.top + 2), int16_t(box.right + 1), int16_t(box.bottom + 3),
                                     int16_t(box.right + 3)},
                            black_color);
    }
    if (value == 3) {
        pf::pen_size(2, 2);
        pf::frame_rect(pf::Rect{int16_t(box.top + 3), int16_t(box.left + 3), int16_t(box.bottom - 2),
                                int16_t(box.right - 2)});
        pf::pen_normal();
    }
}

// The labels; those of the fill and line pairs start one pixel further left to
// end before their swatches, which begin 18 pixels from the left.
void draw_labels() {
    const char* labels[] = {"Text", "Fill", "Line"};
    const int16_t tops[] = {5, 30, 55};
    pf::rgb_fore_color(black_color);
    for (int i = 0; i < 3; ++i) {
        const bool side = i > 0;
        pf::text_size(side ? kSideLabelSize : kLabelFontSize);
        pf::move_to(side ? 1 : 2, int16_t(tops[i] + 10));
        pf::draw_text(labels[i]);
    }
    pf::text_size(kLabelFontSize);
}

void draw_swatches() {
    const int16_t right = kPaletteWidth;
    draw_text_swatch(color_item_rect(1, right), value_of(1));
    // Pattern, then background, then foreground on top, for the fill and the line.
    for (int16_t group : {0, 1}) {
        draw_pattern_block(color_item_rect(int16_t(6 + group), right), value_of(int16_t(6 + group)));
        draw_color_block(color_item_rect(int16_t(3 + 2 * group), right), value_of(int16_t(3 + 2 * group)));
        draw_color_block(color_item_rect(int16_t(2 + 2 * group), right), value_of(int16_t(2 + 2 * group)));
    }
    draw_line_size(color_item_rect(8, right), value_of(8));
    draw_frame_type(color_item_rect(9, right), value_of(9));
}

int32_t update_Color_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (!ColorPalette) return 1;
    PalettePort port;
    pf::fill_rect_color(pf::Rect{0, 0, kPaletteHeight, kPaletteWidth}, kPaletteGrey);
    draw_labels();
    draw_swatches();
    return 1;
}

}  // namespace

// Cells have text and fill, never line or frame.
namespace {

constexpr int16_t kMixedFrame = 3;  // a frame of several line sizes

// The value of a property the objects share, -1 when they differ or none has it.
int16_t shared_value(const std::vector<MemoryRef>& objects, pf::FourCC tag, int16_t (*shown)(int16_t)) {
    int16_t value = -1;
    for (size_t i = 0; i < objects.size(); ++i) {
        const int16_t next = shown(int16_t(GetObj_info(objects[i], tag)));
        if (i > 0 && next != value) return -1;
        value = next;
    }
    return value;
}
int16_t as_is(int16_t value) { return value; }

// The drawing objects' lines, line size and frame, and the fill of those that
// are not lines; a property in which they differ shows as mixed. The text
// colour is that of a text box's text while it is typed in.
void show_objects_in_color_palette(const DocumentFacts& f) {
    const std::vector<MemoryRef> objects = selected_objects(f.layer);
    std::vector<MemoryRef> filled;
    for (MemoryRef object : objects)
        if (!GetObj_info(object, pf::four_cc("islt"))) filled.push_back(object);
    TextFacts text;
    update_text_color(editor_text_facts(f.text_editor, &text) ? text.colour : int16_t(-1), false);
    update_fills(shared_value(filled, pf::four_cc("fcol"), clamp_colour_value),
                 shared_value(filled, pf::four_cc("bcol"), clamp_colour_value),
                 shared_value(filled, pf::four_cc("pat "), clamp_pattern_value), false);
    update_lines(shared_value(objects, pf::four_cc("lfcl"), clamp_colour_value),
                 shared_value(objects, pf::four_cc("bfcl"), clamp_colour_value),
                 shared_value(objects, pf::four_cc("lpat"), clamp_pattern_value), false);
    const int16_t frame = shared_value(objects, pf::four_cc("fram"), as_is);
    update_line_size(frame == kMixedFrame ? int16_t(-1) : shared_value(objects, pf::four_cc("lsiz"), as_is), false);
    update_frametype(frame, false);
}

}  // namespace

void show_selection_in_color_palette(const DocumentFacts& f) {
    if (f.layer && f.object_selected) {
        show_objects_in_color_palette(f);
        return;
    }
    if (!f.layer || f.object_selected) {
        update_text_color(-1, false);
        update_fills(-1, -1, -1, false);
    } else {
        update_text_color(clamp_colour_value(f.format.bytes[kFmtTextColour]), false);
        update_fills(clamp_colour_value(f.format.bytes[kFmtPatternFore]),
                     clamp_colour_value(f.format.bytes[kFmtPatternBack]),
                     clamp_pattern_value(f.format.bytes[kFmtPattern]), false);
    }
    update_lines(-1, -1, -1, false);
    update_line_size(-1, false);
    update_frametype(-1, false);
}

namespace {

int32_t activate_Color_proc(EventRecord*, uintptr_t, uintptr_t) { return 1; }

void apply_choice(int16_t item, int16_t choice) {
    switch (item) {
        case 1: ColorTextMenu(nullptr, choice); break;
        case 2: DoColorPattern(nullptr, choice, true, true); break;
        case 3: DoColorPattern(nullptr, choice, false, true); break;
        case 4: DoColorPattern(nullptr, choice, true, false); break;
        case 5: DoColorPattern(nullptr, choice, false, false); break;
        case 6: DoPatternMenu(nullptr, choice, true); break;
        case 7: DoPatternMenu(nullptr, choice, false); break;
        case 8: set_line_size(nullptr, int16_t(choice - 1)); break;
        case 9: set_frame_type(nullptr, int16_t(choice - 1)); break;
        default: break;
    }
}

// A swatch's menu at the swatch, the current value's item under the mouse.
int16_t pop_up_swatch(int16_t item) {
    const pf::Rect swatch = color_item_rect(item, kPaletteWidth);
    return Do_Popup(&swatch, kSwatches[item - 1].menu, true, -1, int16_t(value_of(item) + 1), 0);
}

// A line size or frame type menu below its row, the current value's item checked.
int16_t pop_up_row(int16_t item) {
    pf::Rect row = color_item_rect(item, kPaletteWidth);
    row.left = int16_t(row.left + 3);
    row.bottom = int16_t(row.bottom - 2);
    return Do_Popup(&row, kSwatches[item - 1].menu, true, int16_t(value_of(item) + 1), 0, 0);
}

}  // namespace

pf::Rect color_item_rect(int16_t item, int16_t right) {
    auto at = [right](int l, int t, int r, int b) {
        return pf::Rect{int16_t(t), int16_t(right - l), int16_t(b), int16_t(right - r)};
    };
    switch (item) {
        case 1: return at(30, 5, 4, 21);
        case 2: return at(50, 28, 34, 41);
        case 3: return at(41, 34, 25, 47);
        case 4: return at(50, 55, 34, 68);
        case 5: return at(41, 61, 25, 74);
        case 6: return at(22, 28, 4, 46);
        case 7: return at(22, 55, 4, 73);
        case 8: return pf::Rect{80, 0, 100, right};
        case 9: return pf::Rect{98, 0, 118, right};
        default: return pf::Rect{};
    }
}

int16_t find_color_item(pf::Point where, int16_t right, bool text_colour_shown) {
    for (int16_t item = text_colour_shown ? 1 : 2; item <= kSwatchItems; ++item)
        if (pf::pt_in_rect(where, color_item_rect(item, right))) return item;
    return 0;
}

void draw_color_block(const pf::Rect& rect, int16_t value) {
    if (value < 0) return frame_grey(rect);
    if (value >= 2) {
        pf::fill_rect_color(rect, table_colour(int16_t(value - 1)));
        return pf::frame_rect_color(rect, black_color);
    }
    pf::fill_rect_color(rect, white_color);
    pf::frame_rect_color(rect, black_color);
    if (value == 0) {
        const int16_t h = int16_t((rect.left + rect.right) / 2), v = int16_t((rect.top + rect.bottom) / 2);
        pf::fill_rect_color(pf::Rect{v, h, int16_t(v + 1), int16_t(h + 1)}, black_color);
    }
}

void draw_pattern_block(const pf::Rect& rect, int16_t value) {
    if (value < 0) return frame_grey(rect);
    drop_shadow(rect);
    pf::fill_rect_color(rect, white_color);
    pf::frame_rect_color(rect, black_color);
    const pf::Rect inside = pf::inset_rect(rect, 2, 2);
    if (value >= 1) {
        pf::rgb_fore_color(black_color);
        pf::fill_rect(inside, list_pattern(value));
        return;
    }
    const int16_t h = int16_t((rect.left + rect.right) / 2), v = int16_t((rect.top + rect.bottom) / 2);
    pf::fill_rect_color(pf::Rect{v, h, int16_t(v + 1), int16_t(h + 1)}, black_color);
}

void draw_color_palette() {
    if (ColorPalette) update_Color_proc(nullptr, 0, 0);
}

void MakeColorWindow() {
    if (ColorPalette) return;
    ColorPalette = make_palette_window("Colors", kColorPalettePosition, 30, kPaletteWidth, kPaletteHeight,
                                       {.update = update_Color_proc,
                                        .activate = activate_Color_proc,
                                        .idle = palette_idle_proc,
                                        .click = click_Color_proc,
                                        .key = pass_key_to_document,
                                        .close = close_Color_proc});
    if (ColorPalette) show_selection_in_color_palette(read_document_facts(front_document_record()));
}

int32_t close_Color_proc(EventRecord* event, uintptr_t, uintptr_t) {
    close_palette_window(ColorPalette, kColorPalettePosition, kPrefColorPalette, event);
    return 1;
}

int32_t click_Color_proc(EventRecord* event, uintptr_t, uintptr_t) {
    const DocumentFacts f = read_document_facts(front_document_record());
    if (!ColorPalette || !f.layer) return 1;
    PalettePort port;
    pf::Point where = event->where;
    pf::global_to_local(where);
    const int16_t item = find_color_item(where, kPaletteWidth, value_of(1) >= 0);
    if (item < 1 || value_of(item) < 0) return 1;
    if (item <= kLastColourItem && GetSheetColors(f.layer) < kColourStyle) return 1;
    const int16_t choice = item <= kLastPopUpItem ? pop_up_swatch(item) : pop_up_row(item);
    if (choice > 0) apply_choice(item, choice);
    return 1;
}
