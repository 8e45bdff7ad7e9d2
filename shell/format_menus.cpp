// The number-format menus: each choice changes one field of the front
// document's selection through Format_Sheet (undo kind 9, create and force
// on); companion bits are cleared only when that change was made.
#include "shell/format_menus.h"

#include <algorithm>
#include <vector>

#include "ui/lists_and_menus.h"
#include "editing/editing_commands.h"
#include "editing/table_format.h"
#include "model/cell_formats.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/text_box_editing.h"
#include "platform/menus/menus.h"
#include "platform/screen/cursor.h"
#include "shell/button_states.h"
#include "shell/border_dialog.h"
#include "shell/custom_date_dialog.h"
#include "shell/custom_label_dialog.h"
#include "shell/document_facts.h"
#include "shell/sheet_dialogs.h"
#include "window/entry_line.h"
#include "window/window_commands.h"
#include "window/front_document.h"
#include "resource_ids.h"

namespace {

constexpr int kBeepTicks = 9;
constexpr uint8_t kCodeOfItem[] = {'G', 'S', 'I', 'f', 'B', 'J'};
constexpr uint8_t kCurrencyCodes[] = {36, 31, 46, 47, 48, 49, 50};
constexpr int16_t kCurrencyParenthesesItem = 9, kCurrencySignInsideItem = 10;
constexpr int8_t kMostDecimals = 15;
constexpr int16_t kDecimalsTitle = 24, kDecimalsPrompt = 30;  // STR# 160 and STR# 128
constexpr uint8_t kBoldUnderline = 0x05;

// Flags A (byte 9) and flags B (byte 13) bits, by their bit numbers as
// SetFormatByte takes them.
constexpr int16_t kThousandsBit = 1, kRedNegativesBit = 4, kParenthesesBit = 5, kZeroEmptyBit = 6;
constexpr int16_t kTriangleBit = 0, kFixedBit = 5, kCurrencyParenthesesBit = 6;

bool has_bit(const CellFormat& f, int field, int16_t bit) { return (f.bytes[field] >> bit) & 1; }

// The selected cells of the front (or given) document; none while a drawing
// object is selected or without a document.
MemoryRef selection_layer(MemoryRef window_record, CellFormat* format = nullptr) {
    const DocumentFacts facts = given_or_front_facts(window_record);
    if (!facts.layer || facts.object_selected) return nullptr;
    if (format) *format = facts.format;
    return facts.layer;
}

void refresh_entry_line(MemoryRef window_record) {
    MemoryRef record = window_record ? window_record : front_document_record();
    if (record) DisplayText(record, 1);
}

int16_t set_code(MemoryRef layer, int16_t code) { return format_selection(layer, kFormatUndoKind, kFmtCode, code, false); }

bool toggle(MemoryRef layer, const CellFormat& f, int16_t field, int16_t bit) {
    return toggle_selection_bit(layer, f, field, bit, bit);
}

bool is_currency_code(uint8_t code) { return (code >= 31 && code <= 34) || (code >= 36 && code <= 39) || (code >= 46 && code <= 50); }

int16_t currency_item(uint8_t code) {
    if (code >= 36 && code <= 39) return 1;
    if (code >= 31 && code <= 34) return 2;
    if (code >= 46 && code <= 50) return int16_t(3 + code - 46);
    return 0;
}

bool is_date_code(uint8_t code) { return code < 21 || code > 109; }
bool is_time_code(uint8_t code) { return code >= 21 && code <= 29; }

int16_t format_item(uint8_t code) {
    if (is_currency_code(code) || is_date_code(code) || is_time_code(code)) return 0;
    for (int16_t i = 0; i < int16_t(sizeof kCodeOfItem); ++i)
        if (kCodeOfItem[i] == code) return int16_t(kFormatGeneralItem + i);
    return kFormatGeneralItem;
}

void check_only(int16_t menu_id, int16_t item) {
    if (pf::MenuRef menu = pf::get_menu_handle(menu_id)) check_menu_item(menu, 1, pf::count_menu_items(menu), item);
}

void enable_items(int16_t menu_id, int16_t first, int16_t last, bool enabled) {
    pf::MenuRef menu = pf::get_menu_handle(menu_id);
    if (!menu) return;
    for (int16_t i = first; i <= std::min<int16_t>(last, pf::count_menu_items(menu)); ++i) {
        if (enabled) pf::enable_menu_item(menu, i);
        else pf::disable_menu_item(menu, i);
    }
}

void check(int16_t menu_id, int16_t item, bool on) {
    if (pf::MenuRef menu = pf::get_menu_handle(menu_id)) pf::check_menu_item(menu, item, on);
}

// Items 1-5 (text attributes) follow the text being edited, a cell's or a
// text box's; the rest need selected cells.
void enable_format_items(MemoryRef layer, bool object_selected) {
    enable_items(kFormatMenu, 1, kFormatTableItem, true);
    void* editor = GetActiveEditor(layer);
    if (!editor) editor = object_text_editor(layer);
    if (!object_selected && !editor) return;
    enable_items(kFormatMenu, 6, kFormatTableItem, false);
    const bool entry_line = editor && editor == entry_line_editor();
    if (!editor || (entry_line && CheckFormula())) enable_items(kFormatMenu, 1, 5, false);
    else if (entry_line) enable_items(kFormatMenu, 5, 5, false);
}

void mark_number_menus(const CellFormat& f) {
    const uint8_t code = menu_format_code(f.bytes[kFmtCode]);
    pf::MenuRef format = pf::get_menu_handle(kFormatMenu);
    check_only(kFormatMenu, format_item(code));
    if (format) {
        pf::set_item_style(format, kFormatCurrencyItem, is_currency_code(code) ? kBoldUnderline : 0);
        pf::set_item_style(format, kFormatDateItem, is_date_code(code) ? kBoldUnderline : 0);
        pf::set_item_style(format, kFormatTimeItem, is_time_code(code) ? kBoldUnderline : 0);
    }
    check_only(kDateMenu, format_to_dateitem(code));
    check_only(kTimeMenu, format_to_timeitem(code));
    check_only(kCurrencyMenu, currency_item(code));
    const bool currency = is_currency_code(code);
    enable_items(kCurrencyMenu, kCurrencyParenthesesItem, kCurrencySignInsideItem, currency);
    const bool alternate = has_bit(f, kFmtFlagsB, kCurrencyParenthesesBit);
    check(kCurrencyMenu, kCurrencyParenthesesItem, currency && alternate);
    check(kCurrencyMenu, kCurrencySignInsideItem, currency && has_bit(f, kFmtFlagsA, kParenthesesBit) && !alternate);
    check_only(kPrecisionMenu, has_bit(f, kFmtFlagsB, kFixedBit) ? 2 : 1);
    const bool parentheses = has_bit(f, kFmtFlagsA, kParenthesesBit) || alternate;
    check_only(kFormatOptionMenu, 0);
    check(kFormatOptionMenu, 1, has_bit(f, kFmtFlagsA, kThousandsBit));
    check(kFormatOptionMenu, 2, has_bit(f, kFmtFlagsA, kZeroEmptyBit));
    check(kFormatOptionMenu, 5, has_bit(f, kFmtFlagsA, kRedNegativesBit));
    check(kFormatOptionMenu, 6, parentheses);
    check(kFormatOptionMenu, 7, has_bit(f, kFmtFlagsB, kTriangleBit) && !parentheses);
}

void beep() { pf::sys_beep(kBeepTicks); }

// Sets a format code over the front document's selection (nothing for -1).
void choose_code(MemoryRef window_record, int16_t code) {
    MemoryRef layer = selection_layer(window_record);
    if (!layer) return;
    if (code >= 0) set_code(layer, code);
    refresh_entry_line(window_record);
}

// Runs a dialog on the front document's selection, then shows the active cell's new format.
void open_on_selection(MemoryRef window_record, int16_t (*dialog)(MemoryRef layer)) {
    MemoryRef layer = selection_layer(window_record);
    if (!layer) return;
    dialog(layer);
    refresh_entry_line(window_record);
}

}  // namespace

uint8_t menu_format_code(uint8_t code) {
    const bool listed = code <= 34 || (code >= 36 && code <= 39) || (code >= 45 && code <= 50) || code == 66 ||
                        code == 70 || code == 71 || code == 73 || code == 74 || code == 83 || code == 102 ||
                        code >= 110;
    return listed ? code : kFormatGeneral;
}

int16_t format_selection(MemoryRef layer, int16_t undo_kind, int16_t field, int16_t value, bool clear) {
    return Format_Sheet(undo_kind, field, value, clear, true, true, layer);
}

bool toggle_selection_bit(MemoryRef layer, const CellFormat& f, int16_t field, int16_t value, int16_t bit) {
    const bool was_set = has_bit(f, field, bit);
    return format_selection(layer, kFormatUndoKind, field, value, was_set) && !was_set;
}

void selection_bits(MemoryRef layer, int16_t field, int16_t value, bool clear) {
    LayerUse sheet(layer);
    const CellRange range = sheet->selection;
    sheet.release();
    SetBits(field, value, &range, clear, false, true, layer);
}

void apply_format_change(MemoryRef layer, const FormatChange& change) {
    if (!layer || !change.valid) return;
    struct Step {
        int16_t field, value;
        bool clear;
    };
    std::vector<Step> steps;
    if (change.code) steps.push_back({kFmtCode, change.code, false});
    if (change.decimals >= 0) steps.push_back({kFmtDecimals, change.decimals, false});
    for (int16_t bit = 0; bit < 8; ++bit) {
        const uint8_t mask = uint8_t(1 << bit);
        if (change.flags_a_set & mask) steps.push_back({kFmtFlagsA, bit, false});
        if (change.flags_a_clear & mask) steps.push_back({kFmtFlagsA, bit, true});
        if (change.flags_b_set & mask) steps.push_back({kFmtFlagsB, bit, false});
        if (change.flags_b_clear & mask) steps.push_back({kFmtFlagsB, bit, true});
    }
    if (steps.empty() || !format_selection(layer, kFormatUndoKind, steps[0].field, steps[0].value, steps[0].clear))
        return;
    for (size_t i = 1; i < steps.size(); ++i) selection_bits(layer, steps[i].field, steps[i].value, steps[i].clear);
}

void DoFormatMenu(MemoryRef window_record, int16_t item) {
    if (item >= kFormatGeneralItem && item <= kFormatFractionItem) choose_code(window_record, kCodeOfItem[item - kFormatGeneralItem]);
    else if (item == kFormatBordersItem) open_on_selection(window_record, border_dialog);
    else if (item == kFormatTableItem) TableDialog(selection_layer(window_record));
    else if (item > kFormatFractionItem) beep();
}

namespace {

// Fixed precision with this many decimals (-15 to 15) over the selection, one undo step.
void set_fixed_decimals(MemoryRef layer, int8_t decimals) {
    decimals = std::clamp<int8_t>(decimals, -kMostDecimals, kMostDecimals);
    if (format_selection(layer, kFormatUndoKind, kFmtDecimals, decimals, false))
        selection_bits(layer, kFmtFlagsB, kFixedBit, false);
}

}  // namespace

void DoPrecisionMenu(MemoryRef window_record, int16_t item) {
    CellFormat f;
    MemoryRef layer = selection_layer(window_record, &f);
    if (!layer) return;
    if (item == 1 || item == 2) {
        format_selection(layer, kFormatUndoKind, kFmtFlagsB, kFixedBit, item == 1);
    } else if (item == kDecimalsMoreItem || item == kDecimalsFewerItem) {
        const int8_t present = std::clamp<int8_t>(int8_t(f.bytes[kFmtDecimals]), -kMostDecimals, kMostDecimals);
        set_fixed_decimals(layer, int8_t(present + (item == kDecimalsMoreItem ? 1 : -1)));
    } else if (item == kDecimalsOtherItem) {
        int16_t decimals = std::clamp<int8_t>(int8_t(f.bytes[kFmtDecimals]), -kMostDecimals, kMostDecimals);
        if (Multi_Dialog(kNumberDialog, -kMostDecimals, kMostDecimals, decimals, 0, kDecimalsTitle, kDecimalsPrompt,
                         &decimals))
            set_fixed_decimals(layer, int8_t(decimals));
    }
    refresh_entry_line(window_record);
}

void DoCurrencyMenu(MemoryRef window_record, int16_t item) {
    CellFormat f;
    MemoryRef layer = selection_layer(window_record, &f);
    if (!layer) return;
    if (item >= 1 && item <= int16_t(sizeof kCurrencyCodes)) {
        set_code(layer, kCurrencyCodes[item - 1]);
    } else if (item == kCurrencyParenthesesItem) {
        if (toggle(layer, f, kFmtFlagsB, kCurrencyParenthesesBit)) {
            selection_bits(layer, kFmtFlagsA, kParenthesesBit, true);
            selection_bits(layer, kFmtFlagsB, kTriangleBit, true);
        }
    } else if (item == kCurrencySignInsideItem) {
        if (toggle(layer, f, kFmtFlagsA, kParenthesesBit)) {
            selection_bits(layer, kFmtFlagsB, kCurrencyParenthesesBit, true);
            selection_bits(layer, kFmtFlagsB, kTriangleBit, true);
        }
    }
    refresh_entry_line(window_record);
}

void DoDateMenu(MemoryRef window_record, int16_t item) {
    if (item == kDateMenuItems) open_on_selection(window_record, CustomDateDialog);
    else choose_code(window_record, date_verb(item));
}

void DoTimeMenu(MemoryRef window_record, int16_t item) { choose_code(window_record, time_verb(item)); }

void DoFormatOptionMenu(MemoryRef window_record, int16_t item) {
    CellFormat f;
    MemoryRef layer = selection_layer(window_record, &f);
    if (!layer) return;
    switch (item) {
        case 1: toggle(layer, f, kFmtFlagsA, kThousandsBit); break;
        case 2: toggle(layer, f, kFmtFlagsA, kZeroEmptyBit); break;
        case 5: toggle(layer, f, kFmtFlagsA, kRedNegativesBit); break;
        case 6: {
            const bool parentheses = has_bit(f, kFmtFlagsA, kParenthesesBit) || has_bit(f, kFmtFlagsB, kCurrencyParenthesesBit);
            if (format_selection(layer, kFormatUndoKind, kFmtFlagsA, kParenthesesBit, parentheses)) {
                selection_bits(layer, kFmtFlagsB, kCurrencyParenthesesBit, true);
                selection_bits(layer, kFmtFlagsB, kTriangleBit, true);
            }
            break;
        }
        case 7: {
            const bool only_triangle = has_bit(f, kFmtFlagsB, kTriangleBit) && !has_bit(f, kFmtFlagsA, kParenthesesBit) &&
                                       !has_bit(f, kFmtFlagsB, kCurrencyParenthesesBit);
            if (format_selection(layer, kFormatUndoKind, kFmtFlagsB, kTriangleBit, only_triangle) && !only_triangle) {
                selection_bits(layer, kFmtFlagsB, kCurrencyParenthesesBit, true);
                selection_bits(layer, kFmtFlagsA, kParenthesesBit, true);
            }
            break;
        }
        case 3: custom_label_dialog(layer); break;
        default: break;
    }
    refresh_entry_line(window_record);
}

void set_format_menu(MemoryRef layer) {
    if (!layer) return;
    LayerUse sheet(layer);
    const bool object_selected = sheet->selected_objects && GetMemorySize(sheet->selected_objects) > 0;
    sheet.release();
    enable_format_items(layer, object_selected);
    CellFormat f;
    GetSelectFormat(f.bytes, layer, 1);
    mark_number_menus(f);
}
