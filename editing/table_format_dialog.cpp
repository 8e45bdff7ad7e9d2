// The Table Format dialog (DLOG 801): the list of looks, the seven options and
// the sample table drawn from the steps the range will get.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "ui/dialog_items.h"
#include "ui/lists_and_menus.h"
#include "ui/modal_dialog.h"
#include "editing/cell_blocks.h"
#include "editing/table_format.h"
#include "model/undo_record.h"
#include "platform/draw/draw.h"
#include "platform/draw/shapes.h"
#include "platform/draw/text.h"
#include "platform/fonts/fonts.h"
#include "platform/resources/resources.h"
#include "ui/app_prefs.h"
#include "window/sheet_paint.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2, kLookList = 3, kFirstOptionItem = 6, kBoldTotalsItem = 9,
                  kTotalsRowItem = 10, kTotalsColumnItem = 11, kLastOptionItem = 12, kSampleItem = 14;
// Where the dialog's position is kept among the preferences' dialog positions.
constexpr int kTablePositionSlot = 11;
constexpr int16_t kSampleFontSize = 12, kLeastRowHeight = 14, kSampleColumnWidth = 50, kTextMargin = 3;
constexpr int16_t kItalicFace = 0x02, kBoldFace = 0x01;

// The look chosen in the list; the sample's drawing procedure reads it.
int16_t list_item = 0;

// The sample texts: row r is STR# base + r, with a base for each way of totals.
int16_t sample_strings(uint8_t options) {
    const bool row = options & kTableTotalsRow, column = options & kTableTotalsColumn;
    if (row && column) return kBothTotalsSample;
    if (row) return kRowTotalsSample;
    return column ? kColumnTotalsSample : kNoTotalsSample;
}

bool is_number_text(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(uint8_t(c)) || c == ','; });
}

void set_face(const uint8_t* format) { pf::text_face(uint8_t(format[kFmtFace] & (kItalicFace | kBoldFace))); }

void lay_out_columns(TableSample& s, const pf::Rect& box, uint8_t options) {
    int16_t total = 0;
    for (int c = 0; c < kSampleColumns; ++c) {
        s.widths[c] = kSampleColumnWidth;
        if (options & kTableFitWidths) {
            int16_t widest = 0;
            for (int r = 0; r < kSampleRows; ++r) {
                set_face(s.formats[r][c]);
                widest = std::max(widest, pf::text_width(s.texts[r][c]));
            }
            s.widths[c] = int16_t(widest + 8);
        }
        total = int16_t(total + s.widths[c]);
    }
    pf::text_face(0);
    s.left = int16_t(box.left + (box.right - box.left - total) / 2);
    s.top = int16_t(box.top + 2);
}

// ---- Drawing ------------------------------------------------------------------

void horizontal(int16_t left, int16_t right, int16_t v) {
    pf::move_to(left, v);
    pf::line_to(int16_t(right - 1), v);
}

void vertical(int16_t top, int16_t bottom, int16_t h) {
    pf::move_to(h, top);
    pf::line_to(h, int16_t(bottom - 1));
}

// One side of a cell in a line style; `inward` is +1 from the top or left edge, -1 from the bottom or right.
void draw_side(const pf::Rect& cell, bool across, int16_t edge, int inward, int style) {
    if (style == 0) return;
    pf::pen_normal();
    if (style == 3) pf::pen_pat(pf::kGrayPattern);
    if (style == 5) pf::pen_pat(pf::kLightGrayPattern);
    auto stroke = [&](int offset) {
        const int16_t at = int16_t(edge + inward * offset);
        if (across) horizontal(cell.left, cell.right, at);
        else vertical(cell.top, cell.bottom, at);
    };
    stroke(0);
    if (style == 4) stroke(1);
    if (style == 6) stroke(2);
    pf::pen_normal();
}

void draw_lines(const pf::Rect& cell, const uint8_t* format) {
    const uint16_t styles = format_border_styles(format);
    draw_side(cell, false, cell.left, 1, (styles >> 12) & 0xF);
    draw_side(cell, true, cell.top, 1, (styles >> 8) & 0xF);
    draw_side(cell, false, int16_t(cell.right - 1), -1, (styles >> 4) & 0xF);
    draw_side(cell, true, int16_t(cell.bottom - 1), -1, styles & 0xF);
}

void draw_cell_text(const pf::Rect& cell, const std::string& text, const uint8_t* format, int16_t ascent) {
    set_face(format);
    const int16_t width = pf::text_width(text);
    int16_t h = int16_t(cell.left + kTextMargin);
    if ((format[kFmtAlign] & 7) == 2) h = int16_t((cell.left + cell.right - width) / 2);
    else if (is_number_text(text) || text[0] == '$') h = int16_t(cell.right - kTextMargin - width);
    pf::move_to(h, int16_t(cell.top + 1 + ascent));
    pf::draw_text(text);
}

// Fills are painted over the drawn cell with the sheet's own pattern of the fill number.
void draw_fill(const pf::Rect& cell, const uint8_t* format) {
    if (!format[kFmtPattern]) return;
    pf::pen_normal();
    pf::pen_mode(pf::kPatOr);
    pf::pen_pat(list_pattern(format[kFmtPattern]));
    pf::paint_rect(cell);
    pf::pen_normal();
}

uint8_t option_bit(int16_t item) { return uint8_t(1 << (item - kFirstOptionItem)); }

uint8_t chosen_options(DialogRef dialog) {
    uint8_t options = 0;
    for (int16_t item = kFirstOptionItem; item <= kLastOptionItem; ++item)
        if (GetCheckbox(dialog, item)) options = uint8_t(options | option_bit(item));
    return options;
}

void draw_sample_item(DialogRef dialog, int16_t item) {
    draw_table_sample(pf::get_dialog_item_box(dialog, item), list_item, chosen_options(dialog));
}

void redraw_sample(DialogRef dialog) {
    pf::set_port(pf::window_port(pf::get_dialog_window(dialog)));
    draw_sample_item(dialog, kSampleItem);
}

void fill_look_list(pf::ListHandle list) {
    for (int i = 1; i <= kTableLooks; ++i) {
        pf::Str255 name;
        pf::get_indexed_string(name, kLookNames, i);
        if (name[0]) add_list_str(name, list);
    }
    select_list_cell(list, 0, true);
    list_item = 0;
}

void toggle_option(DialogRef dialog, int16_t item) {
    FlipCheckbox(dialog, item);
    if (item == kTotalsRowItem || item == kTotalsColumnItem)
        EnableButton(dialog, kBoldTotalsItem, GetCheckbox(dialog, kTotalsRowItem) || GetCheckbox(dialog, kTotalsColumnItem));
}

// Runs the dialog; true with the chosen look and options on OK.
bool run_table_dialog(int16_t* look, uint8_t* options) {
    pf::Point& position = app_prefs.dialog_positions[kTablePositionSlot];
    DialogRef dialog = StdNewDLOG(kTableDialog, kOkItem, &position);
    if (!dialog) return false;
    pf::ListHandle list = GetDialogListHandle(dialog, kLookList);
    if (list) fill_look_list(list);
    for (int16_t item = kFirstOptionItem; item < kLastOptionItem; ++item) SetCheckbox(dialog, item, 1);
    pf::set_dialog_item_user_proc(dialog, kSampleItem, draw_sample_item);
    pf::draw_dialog(dialog);
    bool chosen = false;
    for (;;) {
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
        if (item == kCancelItem || item == kModalCloseBox) break;
        if (item == kOkItem) {
            chosen = true;
            break;
        }
        if (item == kLookList && list) {
            if (list_box_double_clicked(dialog, kLookList)) {
                chosen = true;
                break;
            }
            const int16_t row = FindSelect(list);
            if (row >= 0) {
                list_item = row;
                redraw_sample(dialog);
            }
        } else if (item >= kFirstOptionItem && item <= kLastOptionItem) {
            toggle_option(dialog, item);
            redraw_sample(dialog);
        }
    }
    *look = list_item;
    *options = chosen_options(dialog);
    StdDLOG_close(dialog, &position);
    return chosen;
}

}  // namespace

TableSample table_sample(const pf::Rect& box, int16_t look, uint8_t options) {
    TableSample s;
    const uint8_t applied = applied_table_options(options);
    uint8_t plain[kCellFormatSize];
    GetDefaultFormat(plain);
    for (auto& row : s.formats)
        for (auto& format : row) std::memcpy(format, plain, kCellFormatSize);
    const CellRange whole{{0, 0}, {kSampleRows - 1, kSampleColumns - 1}};
    for (const TableStep& step : table_format_steps(whole, look, options))
        for (int r = step.range.topLeft.v; r <= step.range.botRight.v; ++r)
            for (int c = step.range.topLeft.h; c <= step.range.botRight.h; ++c)
                SetFormatByte(s.formats[r][c], step.field, step.value, step.clear);
    const int16_t strings = sample_strings(applied);
    for (int r = 0; r < kSampleRows; ++r)
        for (int c = 0; c < kSampleColumns; ++c) {
            std::string text = pf::get_indexed_string(int16_t(strings + r), c + 1);
            if (r > 0 && c > 0 && s.formats[r][c][kFmtCode] == '$' && !text.empty()) text = "$" + text;
            s.texts[r][c] = text;
        }
    pf::text_font(pf::kApplFont);
    pf::text_size(kSampleFontSize);
    pf::FontInfo info;
    pf::get_font_info(info);
    s.row_height = std::max<int16_t>(kLeastRowHeight, int16_t(info.ascent + info.descent + info.leading + 2));
    lay_out_columns(s, box, applied);
    pf::text_font(0);
    pf::text_size(kSampleFontSize);
    return s;
}

pf::Rect sample_cell_rect(const TableSample& s, int row, int column) {
    int16_t left = s.left;
    for (int c = 0; c < column; ++c) left = int16_t(left + s.widths[c]);
    const int16_t top = int16_t(s.top + row * s.row_height);
    return pf::Rect{top, left, int16_t(top + s.row_height), int16_t(left + s.widths[column])};
}

void draw_table_sample(const pf::Rect& box, int16_t look, uint8_t options) {
    const TableSample s = table_sample(box, look, options);
    pf::pen_normal();
    pf::erase_rect(pf::Rect{int16_t(box.top - 2), int16_t(box.left - 2), int16_t(box.bottom + 2), int16_t(box.right + 2)});
    pf::text_font(pf::kApplFont);
    pf::text_size(kSampleFontSize);
    pf::FontInfo info;
    pf::get_font_info(info);
    for (int r = 0; r < kSampleRows; ++r)
        for (int c = 0; c < kSampleColumns; ++c) {
            const pf::Rect cell = sample_cell_rect(s, r, c);
            if (!s.texts[r][c].empty()) draw_cell_text(cell, s.texts[r][c], s.formats[r][c], info.ascent);
            draw_fill(cell, s.formats[r][c]);
            draw_lines(cell, s.formats[r][c]);
        }
    pf::text_face(0);
    pf::text_font(0);
    pf::text_size(kSampleFontSize);
}

void TableDialog(MemoryRef layer) {
    if (!layer) return;
    const CellRange range = current_selection(layer);
    if (range.topLeft.v < 0 || range.topLeft.h < 0) return;  // drawing objects are selected
    if (const int32_t refusal = table_format_refusal(layer, range)) {
        layer_alert(layer, refusal);
        return;
    }
    int16_t look = 0;
    uint8_t options = 0;
    if (run_table_dialog(&look, &options)) apply_table_format(layer, look, options);
}
