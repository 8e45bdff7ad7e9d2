#include "shell/border_dialog.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "ui/colours.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "ui/screen_geometry.h"
#include "ui/task_manager.h"
#include "ui/dialog_pictures.h"
#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "model/format_commands.h"
#include "platform/controls/control_look.h"
#include "platform/draw/text.h"
#include "platform/resources/resources.h"
#include "shell/command_dialogs.h"
#include "ui/app_prefs.h"
#include "shell/border_tools.h"
#include "shell/graphic_menus.h"
#include "window/row_drawing.h"
#include "window/sheet_paint.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2;
constexpr int16_t kFirstColourItem = 4, kFirstLineItem = 10, kLastLineItem = 15;
constexpr int16_t kSameRadio = 22, kEachRadio = 23, kSampleItem = 24;
constexpr int kBordersPosition = 0;  // of the saved dialog positions
constexpr int16_t kNoneString = 25, kMixedString = 26;

// Border styles (menu2grid's table).
constexpr int16_t kStyleOfCode[] = {0, 1, 5, 2, 3, 4, 6};

// Sample: two columns by three rows of 76 by 16 pixels.
constexpr int16_t kSampleCellWidth = 76, kSampleCellHeight = 16;

// The choices of the open dialog, read by the user items' drawing procedures.
BorderChoices dialog_choices;
bool each_side = false;

// ---- Reading the selection ---------------------------------------------------------

int16_t style_of(uint16_t word, int16_t entry) {
    switch (entry) {
        case kLeftSide: return int16_t(word >> 12 & 15);
        case kTopSide: return int16_t(word >> 8 & 15);
        case kRightSide: return int16_t(word >> 4 & 15);
        default: return int16_t(word & 15);
    }
}

int16_t colour_of(uint32_t word, int16_t entry) {
    switch (entry) {
        case kLeftSide: return int16_t(word >> 16 & 0xFF);
        case kTopSide: return int16_t(word >> 24 & 0xFF);
        case kRightSide: return int16_t(word & 0xFF);
        default: return int16_t(word >> 8 & 0xFF);
    }
}

// Marks the sides on which a cell of the range differs from the styles read;
// a missing cell marks every side that has a line.
void mark_mixed_sides(MemoryRef layer, const CellRange& range, BorderChoices& c) {
    for (int16_t row = range.topLeft.v; row <= range.botRight.v; ++row)
        for (int16_t column = range.topLeft.h; column <= range.botRight.h; ++column) {
            uint8_t* cell = nullptr;
            int16_t length = 0;
            const bool present = get_cell_ptr(&cell, &length, CellPoint{row, column}, layer) != 0;
            const uint16_t word = present ? format_border_styles(cell) : 0;
            for (int16_t entry = kLeftSide; entry <= kBottomSide; ++entry) {
                int16_t& style = c.line_param[entry];
                if (present ? style_of(word, entry) != style : style > 1) c.mixed_param[entry - kLeftSide] = -1;
            }
        }
}

// ---- Drawing the user items ----------------------------------------------------------

bool item_active(int16_t item) {
    const bool all_sides_item = item == kFirstColourItem || item == kFirstLineItem;
    return all_sides_item != each_side;
}

pf::Rect item_box(DialogRef dialog, int16_t item) { return pf::get_dialog_item_box(dialog, item); }

void erase_around(const pf::Rect& box) { pf::erase_rect(pf::inset_rect(box, -2, -2)); }

void line_colour(bool active) { pf::rgb_fore_color(active ? pf::kBlackColor : pf::RGBColor{0x8888, 0x8888, 0x8888}); }

void draw_code_text(const pf::Rect& box, int16_t v, int16_t index) {
    const std::string text = pf::get_indexed_string(kCalcDialogStrings, index);
    pf::text_size(12);
    if (pf::text_width(text) > box.width() - 30) pf::text_size(9);
    pf::move_to(int16_t(box.left + 8), int16_t(v + 4));
    pf::draw_text(text);
}

// The line of a code drawn from 17 to 48 pixels from the box's left.
void draw_code_line(const pf::Rect& box, int16_t v, int16_t code) {
    const int16_t from = int16_t(box.left + 17), to = int16_t(box.left + 48);
    switch (code) {
        case kLineHair:
            draw_line(from, v, int16_t(box.left + 27), v);
            pf::text_size(9);
            pf::move_to(int16_t(box.left + 29), int16_t(v + 3));
            pf::draw_text("H");
            draw_line(int16_t(pf::get_pen().h + 1), v, to, v);
            break;
        case kLineThin: draw_line(from, v, to, v); break;
        case kLineGray:
            pf::pen_pat(pf::kGrayPattern);
            draw_line(from, v, to, v);
            break;
        case kLineThick:
            pf::pen_size(1, 2);
            draw_line(from, v, to, v);
            break;
        case kLineDouble:
            draw_line(from, int16_t(v - 1), to, int16_t(v - 1));
            draw_line(from, int16_t(v + 1), to, int16_t(v + 1));
            break;
        default: break;
    }
    pf::pen_normal();
}

void DrawGridItem(DialogRef dialog, int16_t item) {
    const pf::Rect box = item_box(dialog, item);
    const bool active = item_active(item);
    const int16_t code = dialog_choices.line_param[item - kFirstLineItem];
    PushPort(dialog_port(dialog));
    erase_around(box);
    draw_pop(&box, active, 32);
    const int16_t v = int16_t((box.top + box.bottom) / 2);
    pf::text_font(pf::kSystemFont);
    line_colour(active);
    if (code == kLineMixed) draw_code_text(box, v, kMixedString);
    else if (code == kLineUnchanged) draw_code_text(box, v, kNoneString);
    else if (code == kLineRemove) Draw_Bitmap(dialog_port(dialog), 0, kRemoveIcon, pf::Point{int16_t(v - 8), int16_t(box.left + 24)}, !active, 1);
    else draw_code_line(box, v, code);
    pf::rgb_fore_color(pf::kBlackColor);
    PopPort();
}

void DrawColorItem(DialogRef dialog, int16_t item) {
    const int16_t value = dialog_choices.color_param[item - kFirstColourItem];
    pf::RGBColor colour = pf::kBlackColor;
    if (value > 1) colour = table_colour(int16_t(value - 1));
    PushPort(dialog_port(dialog));
    erase_around(item_box(dialog, item));
    PopPort();
    DrawColorPopSample(dialog, item, item_active(item), value > 1 ? &colour : nullptr);
}

void draw_all_griditems(DialogRef dialog) {
    for (int16_t item = kFirstLineItem; item <= kLastLineItem; ++item) DrawGridItem(dialog, item);
}

void draw_all_coloritems(DialogRef dialog) {
    for (int16_t item = kFirstColourItem; item < kFirstLineItem; ++item) DrawColorItem(dialog, item);
}

// Whether a side of sample cell n (1 to 6, left to right and top to bottom)
// lies on the block's edge.
bool on_block_edge(int16_t cell, int16_t entry) {
    const int16_t column = int16_t((cell - 1) % 2), row = int16_t((cell - 1) / 2);
    switch (entry) {
        case kLeftSide: return column == 0;
        case kRightSide: return column == 1;
        case kTopSide: return row == 0;
        default: return row == 2;
    }
}

// On the block's edge a side takes the outline's line (when it draws one)
// and colour (when it has one).
int16_t sample_code(int16_t cell, int16_t entry) {
    const int16_t* line = dialog_choices.line_param;
    return on_block_edge(cell, entry) && line[kOutlineSides] > 1 ? line[kOutlineSides] : line[entry];
}

int16_t sample_colour(int16_t cell, int16_t entry) {
    const int16_t* colour = dialog_choices.color_param;
    return on_block_edge(cell, entry) && colour[kOutlineSides] > 0 ? colour[kOutlineSides] : colour[entry];
}

BorderStyles sample_styles(int16_t cell) {
    auto style = [&](int16_t entry) {
        const int16_t s = menu2grid(sample_code(cell, entry));
        return s > 1 ? int(s) : 0;
    };
    return BorderStyles{style(kLeftSide), style(kTopSide), style(kRightSide), style(kBottomSide)};
}

// The six sample cells' borders, each inside its grid square.
void DrawSampleBorders(const pf::Rect& cell_box, int16_t cell, int16_t depth) {
    const BorderStyles styles = sample_styles(cell);
    BorderStyles colours{0, 0, 0, 0};
    if (depth > 2)
        colours = BorderStyles{sample_colour(cell, kLeftSide), sample_colour(cell, kTopSide),
                               sample_colour(cell, kRightSide), sample_colour(cell, kBottomSide)};
    const int16_t column = int16_t((cell - 1) % 2), row = int16_t((cell - 1) / 2);
    BorderStyles left{}, above{}, right{};
    const BorderStyles* left_of = column == 1 ? &(left = sample_styles(int16_t(cell - 1))) : nullptr;
    const BorderStyles* above_of = row > 0 ? &(above = sample_styles(int16_t(cell - 2))) : nullptr;
    const BorderStyles* right_of = column == 0 ? &(right = sample_styles(int16_t(cell + 1))) : nullptr;
    draw_cell_borders(cell_box, styles, colours, left_of, above_of, right_of, depth > 2 ? kColourStyle : 0);
}

void DrawSampleItem(DialogRef dialog, int16_t item) {
    const pf::Rect box = item_box(dialog, item);
    PushPort(dialog_port(dialog));
    erase_around(box);
    const int16_t depth = ColorDepth(&box);
    if (depth >= 3) fore_grey(kShadowGrey);
    else pf::pen_pat(pf::kGrayPattern);
    const int16_t width = 2 * kSampleCellWidth, height = 3 * kSampleCellHeight;
    for (int16_t v = 0; v <= height; v = int16_t(v + kSampleCellHeight))
        draw_line(box.left, int16_t(box.top + v), int16_t(box.left + width), int16_t(box.top + v));
    for (int16_t h = 0; h <= width; h = int16_t(h + kSampleCellWidth))
        draw_line(int16_t(box.left + h), box.top, int16_t(box.left + h), int16_t(box.top + height));
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
    for (int16_t cell = 1; cell <= 6; ++cell) {
        const int16_t left = int16_t(box.left + (cell - 1) % 2 * kSampleCellWidth + 1);
        const int16_t top = int16_t(box.top + (cell - 1) / 2 * kSampleCellHeight + 1);
        DrawSampleBorders(pf::Rect{top, left, int16_t(top + kSampleCellHeight), int16_t(left + kSampleCellWidth)},
                          cell, depth);
    }
    PopPort();
}

// ---- The modal loop ----------------------------------------------------------------------

void choose_radio(DialogRef dialog, int16_t radio) {
    SetDRadios(dialog, kSameRadio, kEachRadio, radio);
    each_side = radio == kEachRadio;
    draw_all_coloritems(dialog);
    draw_all_griditems(dialog);
}

void choose_line(DialogRef dialog, int16_t item) {
    BorderChoices& c = dialog_choices;
    const int16_t entry = int16_t(item - kFirstLineItem);
    int16_t code = Do_DLOG_Popup(dialog, item, 0, kBorderLineMenu, c.line_param[entry]);
    if (code < 1) return;
    if (code == c.line_param[entry]) code = kLineUnchanged;
    if (entry == kAllSides)
        for (int16_t& line : c.line_param) line = code;
    else c.line_param[entry] = code;
    draw_all_griditems(dialog);
    DrawSampleItem(dialog, kSampleItem);
}

void choose_colour(DialogRef dialog, int16_t item) {
    BorderChoices& c = dialog_choices;
    const int16_t entry = int16_t(item - kFirstColourItem);
    const int16_t current = int16_t(c.color_param[entry] + 1);
    init_color_choice(kBorderColourMenu, current);
    const int16_t chosen = Do_DLOG_Popup(dialog, item, 0, kBorderColourMenu, current);
    if (chosen < 1) return;
    if (entry == kAllSides)
        for (int16_t& colour : c.color_param) colour = int16_t(chosen - 1);
    else c.color_param[entry] = int16_t(chosen - 1);
    c.colours_changed = true;
    draw_all_coloritems(dialog);
    DrawSampleItem(dialog, kSampleItem);
}

void attach_drawing(DialogRef dialog) {
    AttachDUserProc(dialog, kSampleItem, DrawSampleItem);
    for (int16_t item = kFirstColourItem; item < kFirstLineItem; ++item) AttachDUserProc(dialog, item, DrawColorItem);
    for (int16_t item = kFirstLineItem; item <= kLastLineItem; ++item) AttachDUserProc(dialog, item, DrawGridItem);
}

// The choices the user accepted; false when cancelled.
bool ask_borders(MemoryRef layer, BorderChoices* accepted) {
    pf::Point* position = &app_prefs.dialog_positions[kBordersPosition];
    DialogRef dialog = StdNewDLOG(kBordersDialog, kOkItem, position);
    if (!dialog) return false;
    SetOKBoxProc(dialog, kOkItem);
    dialog_choices = read_border_choices(layer);
    attach_drawing(dialog);
    each_side = !same_line_everywhere(dialog_choices);
    SetDRadios(dialog, kSameRadio, kEachRadio, each_side ? kEachRadio : kSameRadio);
    const auto click = [&](int16_t item) {
        if (item == kSameRadio || item == kEachRadio) choose_radio(dialog, item);
        else if (item >= kFirstLineItem && item <= kLastLineItem && item_active(item)) choose_line(dialog, item);
        else if (item >= kFirstColourItem && item < kFirstLineItem && item_active(item)) choose_colour(dialog, item);
    };
    const bool ok = run_ok_cancel_dialog(dialog, [] { return true; }, click, position) != 0;
    *accepted = dialog_choices;
    return ok;
}

// ---- Applying --------------------------------------------------------------------------

constexpr int16_t kSideFields[kBorderEntries] = {0, 0, kTopOrLeft, kTopOrLeft, kBottomOrRight, kBottomOrRight};
constexpr int16_t kSideOffsets[kBorderEntries] = {0, 0, kSecondSide, 0, kSecondSide, 0};

void set_side_style(MemoryRef layer, const CellRange& range, int16_t entry, int16_t style) {
    set_border_field(layer, range, kSideFields[entry], int16_t(kSideOffsets[entry] + style));
}

void set_side_colours(MemoryRef layer, const CellRange& range, const int16_t* colour) {
    set_border_field(layer, range, kTopColour, colour[kTopSide]);
    set_border_field(layer, range, kLeftColour, colour[kLeftSide]);
    set_border_field(layer, range, kBottomColour, colour[kBottomSide]);
    set_border_field(layer, range, kRightColour, colour[kRightSide]);
}

// Whether a side has a line after the change: a line chosen, or the cells'
// own lines kept (mixed, or no change where they had one).
bool side_keeps_line(const BorderChoices& c, int16_t entry) {
    const int16_t code = c.line_param[entry];
    if (code == kLineMixed || menu2grid(code) > 1) return true;
    const int16_t opened = c.opened_line[entry];
    return code == kLineUnchanged && (opened == kLineMixed || menu2grid(opened) > 1);
}

}  // namespace

int16_t menu2grid(int16_t code) { return code >= kLineHair && code <= kLineDouble ? kStyleOfCode[code] : code; }

int16_t grid2menu(int16_t style) {
    for (int16_t code = kLineHair; code <= kLineDouble; ++code)
        if (kStyleOfCode[code] == style) return code;
    return style;
}

BorderChoices read_border_choices(MemoryRef layer) {
    BorderChoices c;
    uint8_t format[kCellFormatSize];
    GetSelectFormat(format, layer, 1);
    const uint16_t styles = format_border_styles(format);
    const uint32_t colours = format_border_colours(format);
    for (int16_t entry = kLeftSide; entry <= kBottomSide; ++entry) {
        c.line_param[entry] = style_of(styles, entry);
        c.color_param[entry] = colour_of(colours, entry);
    }
    const CellRange range = selected_range(layer);
    if (range.botRight.v < kLastCell && range.botRight.h < kLastCell) mark_mixed_sides(layer, range, c);
    for (int16_t entry = kLeftSide; entry <= kBottomSide; ++entry)
        c.line_param[entry] = c.mixed_param[entry - kLeftSide] ? int16_t(kLineMixed) : grid2menu(c.line_param[entry]);
    if (same_line_everywhere(c)) c.line_param[kAllSides] = c.line_param[kLeftSide];
    std::copy(std::begin(c.line_param), std::end(c.line_param), std::begin(c.opened_line));
    return c;
}

bool same_line_everywhere(const BorderChoices& c) {
    const int16_t* line = c.line_param;
    return line[kLeftSide] == line[kTopSide] && line[kTopSide] == line[kRightSide] &&
           line[kRightSide] == line[kBottomSide];
}

int16_t apply_border_choices(MemoryRef layer, const BorderChoices& c) {
    if (!Format_Sheet(kFormatUndoKind, -1, 0, false, true, true, layer)) return 0;
    const CellRange range = selected_range(layer);
    int16_t style[kBorderEntries];
    for (int16_t entry = 0; entry < kBorderEntries; ++entry) style[entry] = menu2grid(c.line_param[entry]);
    bool any_line = false;
    for (int16_t entry = kLeftSide; entry <= kBottomSide; ++entry) {
        if (c.line_param[entry] == kLineRemove) set_side_style(layer, range, entry, 0);
        any_line |= side_keeps_line(c, entry);
    }
    if (c.line_param[kOutlineSides] == kLineRemove) outline_cells(layer, 0, 0);
    if (!any_line) SetBits(kTopColour, 0, &range, true, false, true, layer);
    if (c.colours_changed) set_side_colours(layer, range, c.color_param);
    for (int16_t entry = kLeftSide; entry <= kBottomSide; ++entry)
        if (style[entry] > 1) set_side_style(layer, range, entry, style[entry]);
    if (style[kOutlineSides] > 1) outline_cells(layer, style[kOutlineSides], c.color_param[kOutlineSides]);
    return 1;
}

int16_t border_dialog(MemoryRef layer) {
    if (!layer) return 0;
    BorderChoices choices;
    if (!ask_borders(layer, &choices)) return 0;
    return apply_border_choices(layer, choices);
}
