// The Font, Size, Style, Alignment and text alignment menus. An attribute
// goes to the text being edited (a drawing object's, or the entry line's
// selection), else to the selected cells through Format_Sheet; after a font,
// size or face change the rows fit their text unless their heights are fixed.
#include "shell/font_menus.h"

#include <algorithm>
#include <iterator>

#include "ui/lists_and_menus.h"
#include "model/cell_formats.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "platform/fonts/fonts.h"
#include "platform/menus/menus.h"
#include "platform/screen/cursor.h"
#include "shell/format_menus.h"
#include "shell/menu_enabling.h"
#include "shell/sheet_dialogs.h"
#include "shell/shell_commands.h"
#include "styledtext/styled_text.h"
#include "window/auto_size.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

constexpr int kBeepTicks = 9;
constexpr uint32_t kFixedRowHeights = 0x800;
// The other size asked in the one-number dialog: its range, title and prompt.
constexpr int16_t kLargestOtherSize = 200, kOtherSizeLimit = 12, kSizeTitle = 12, kSizePrompt = 3;
constexpr int16_t kFirstFaceItem = 3, kLastFaceItem = 9;
constexpr int16_t kLastAlignmentItem = 5, kTopItem = 7, kMiddleItem = 8, kBottomItem = 9;
constexpr uint8_t kAlignmentBits = 0x07;
// Flags A bits of the vertical placement, by bit number.
constexpr int16_t kTopBit = 3, kMiddleBit = 2;
// Text option bits of the alignment byte: field 8 takes 10 + the bit number.
constexpr int16_t kOptionValue = 10;
constexpr int16_t kAcrossBit = 4, kOptionBit5 = 5, kWrapBit = 6, kWrapToPageBit = 7, kVerticalTextBit = 3;
constexpr int8_t kEditorAlignments[] = {weFlushDefault, weFlushLeft, weCenter, weFlushRight, weJustify};
constexpr uint8_t kCellDefaultSize = 12;
constexpr int16_t kApplicationFont = 1;

void beep() { pf::sys_beep(kBeepTicks); }

// The text an attribute goes to first: a drawing object's while it is
// edited, the entry line's while a cell is edited.
WEReference edited_text(const DocumentFacts& f) {
    return (f.object_selected || f.entry_active) ? static_cast<WEReference>(f.text_editor) : nullptr;
}

bool fixed_rows(MemoryRef layer) { return (GetSheetFlags(layer) & kFixedRowHeights) != 0; }

int16_t font_undo_kind(MemoryRef layer) { return fixed_rows(layer) ? kFormatUndoKind : kFontUndoKind; }

void fit_rows(MemoryRef layer) {
    if (fixed_rows(layer)) return;
    LayerUse sheet(layer);
    const CellRange range = sheet->selection;
    sheet.release();
    CheckRowSize(&range, layer);
}

void refresh_entry_line(const DocumentFacts& f) {
    if (f.record) DisplayText(f.record, 1);
}

void style_text(WEReference text, uint16_t mode, const WETextStyle& style, const DocumentFacts& f) {
    WESetStyle(mode, style, text);
    refresh_entry_line(f);
}

// A font, size or face change on the cells, rows fitted afterwards.
void format_cells_text(const DocumentFacts& f, int16_t undo_kind, int16_t field, int16_t value, bool clear) {
    if (format_selection(f.layer, undo_kind, field, value, clear)) fit_rows(f.layer);
    refresh_entry_line(f);
}

bool has_flag(const DocumentFacts& f, int field, int16_t bit) { return (f.format.bytes[field] >> bit) & 1; }

int16_t valid_font(int16_t font, MemoryRef layer) {
    if (!pf::font_name(font).empty()) return font;
    const int16_t layer_font = layer ? Get_Default_Font(layer) : kApplicationFont;
    return pf::font_name(layer_font).empty() ? kApplicationFont : layer_font;
}

int16_t valid_size(int16_t size, MemoryRef layer) {
    if (size >= 1 && size <= kLargestCellSize) return size;
    const int16_t layer_size = layer ? Get_Default_Size(layer) : kCellDefaultSize;
    return layer_size >= 1 && layer_size <= kLargestCellSize ? layer_size : kCellDefaultSize;
}

void check_menu_font(const std::string& name) {
    pf::MenuRef menu = pf::get_menu_handle(kFontMenu);
    if (!menu) return;
    for (int16_t i = 1; i <= pf::count_menu_items(menu); ++i)
        pf::check_menu_item(menu, i, pf::get_menu_item_text(menu, i) == name);
}

void check_only(pf::MenuRef menu, int16_t item) {
    if (menu) check_menu_item(menu, 1, pf::count_menu_items(menu), item);
}

void set_AlignOption_menu(pf::MenuRef menu, uint8_t alignment) {
    if (!menu) return;
    check_only(menu, 0);
    pf::check_menu_item(menu, 5, alignment & 0x08);
    pf::check_menu_item(menu, 1, alignment & 0x10);
    pf::check_menu_item(menu, 6, alignment & 0x20);
    pf::check_menu_item(menu, 4, alignment & 0x80);
    pf::check_menu_item(menu, 3, alignment & 0x40);
}

int16_t vertical_item(uint8_t flags) {
    const bool top = flags & kFlagAVerticalTop, middle = flags & kFlagAVerticalMiddle;
    if (top && middle) return 0;
    return top ? kTopItem : middle ? kMiddleItem : kBottomItem;
}

}  // namespace

int16_t txtsize_to_menu(int16_t size) {
    auto at = std::find(std::begin(kMenuSizes), std::end(kMenuSizes), size);
    return at == std::end(kMenuSizes) ? kSizeOtherItem : int16_t(at - std::begin(kMenuSizes) + 1);
}

int16_t stepped_cell_size(int16_t size, int16_t step, int16_t default_size) {
    const int16_t shown = size > kLargestCellSize ? default_size : size;
    return int16_t(std::min<int>(shown + step, kLargestCellSize));
}

void DoFontMenu(MemoryRef window_record, int16_t item) {
    const DocumentFacts f = given_or_front_facts(window_record);
    if (!f.layer) return;
    pf::MenuRef menu = pf::get_menu_handle(kFontMenu);
    if (!menu || item < 1 || item > pf::count_menu_items(menu)) return;
    const int16_t font = pf::font_number(pf::get_menu_item_text(menu, item));
    if (WEReference text = edited_text(f)) {
        WETextStyle style;
        style.tsFont = font;
        style_text(text, weDoFont | weDoKeepLetters, style, f);
    } else if (f.object_selected) {
        beep();
    } else {
        const int16_t value = font == Get_Default_Font(f.layer) ? int16_t(kDefaultFontNumber) : font;
        format_cells_text(f, font_undo_kind(f.layer), kFmtFont, value, false);
    }
}

void DoSizeMenu(MemoryRef window_record, int16_t item) {
    const DocumentFacts f = given_or_front_facts(window_record);
    if (!f.layer) return;
    bool listed = item >= 1 && item <= int16_t(std::size(kMenuSizes));
    const bool step = item == kSizeLargerItem || item == kSizeSmallerItem;
    int16_t chosen = listed ? kMenuSizes[item - 1] : 0;
    if (item == kSizeOtherItem) {
        chosen = valid_size(f.format.bytes[kFmtSize], f.layer);
        if (!Multi_Dialog(kNumberDialog, 0, kLargestOtherSize, kOtherSizeLimit, 0, kSizeTitle, kSizePrompt, &chosen))
            return;
        listed = true;
    } else if (!listed && !step) {
        beep();
        return;
    }
    if (WEReference text = edited_text(f)) {
        WETextStyle style;
        style.tsSize = listed ? chosen : int16_t(item == kSizeLargerItem ? 1 : -1);
        style_text(text, listed ? weDoSize : weDoAddSize, style, f);
        return;
    }
    if (f.object_selected) {
        beep();
        return;
    }
    const int16_t default_size = Get_Default_Size(f.layer);
    int16_t size = listed ? chosen
                          : stepped_cell_size(f.format.bytes[kFmtSize], item == kSizeLargerItem ? 1 : -1, default_size);
    if (size <= 0 || size == default_size) size = kLayerDefaultSize;
    format_cells_text(f, font_undo_kind(f.layer), kFmtSize, size, false);
}

void DoStyleMenu(MemoryRef window_record, int16_t item) {
    const DocumentFacts f = given_or_front_facts(window_record);
    if (!f.layer || (item != 1 && (item < kFirstFaceItem || item > kLastFaceItem))) return;
    const int16_t bit = int16_t(item - kFirstFaceItem);
    if (WEReference text = edited_text(f)) {
        WETextStyle style;
        style.tsFace = item == 1 ? 0 : uint8_t(1 << bit);
        style_text(text, item == 1 ? weDoFace : uint16_t(weDoFace | weDoToggleFace), style, f);
        return;
    }
    if (f.object_selected) return;
    if (item == 1) {
        format_cells_text(f, kFormatUndoKind, kFmtFace, 0, true);
        return;
    }
    const bool has = has_flag(f, kFmtFace, bit);
    format_cells_text(f, kFormatUndoKind, kFmtFace, int16_t(has ? kFaceBitAlone + bit : bit), has);
}

void DoAlignMenu(MemoryRef window_record, int16_t item) {
    const DocumentFacts f = given_or_front_facts(window_record);
    if (!f.layer || f.entry_active) return;
    if (f.object_selected) {
        if (WEReference text = edited_text(f); text && item >= 2 && item <= kLastAlignmentItem) {
            WESetAlignment(kEditorAlignments[item - 1], text);
        }
        return;
    }
    if (item >= 1 && item <= kLastAlignmentItem) {
        format_selection(f.layer, kFormatUndoKind, kFmtAlign, int16_t(item - 1), false);
    } else if (item == kTopItem || item == kMiddleItem) {
        const int16_t bit = item == kTopItem ? kTopBit : kMiddleBit;
        if (format_selection(f.layer, kFormatUndoKind, kFmtFlagsA, bit, has_flag(f, kFmtFlagsA, bit)))
            selection_bits(f.layer, kFmtFlagsA, item == kTopItem ? kMiddleBit : kTopBit, true);
    } else if (item == kBottomItem) {
        if (format_selection(f.layer, kFormatUndoKind, kFmtFlagsA, kTopBit, true))
            selection_bits(f.layer, kFmtFlagsA, kMiddleBit, true);
    }
    refresh_entry_line(f);
}

void DoAlignOptionMenu(MemoryRef window_record, int16_t item) {
    const DocumentFacts f = given_or_front_facts(window_record);
    if (!f.layer || f.object_selected || f.entry_active) return;
    auto toggle = [&](int16_t bit) {
        return toggle_selection_bit(f.layer, f.format, kFmtAlign, int16_t(kOptionValue + bit), bit);
    };
    auto clear = [&](int16_t bit) { selection_bits(f.layer, kFmtAlign, int16_t(kOptionValue + bit), true); };
    switch (item) {
        case 1: toggle(kAcrossBit); break;
        case 3:
        case 4: {
            const int16_t bit = item == 3 ? kWrapBit : kWrapToPageBit;
            if (toggle(bit)) {
                clear(kVerticalTextBit);
                clear(item == 3 ? kWrapToPageBit : kWrapBit);
            }
            fit_rows(f.layer);
            break;
        }
        case 5:
            if (toggle(kVerticalTextBit)) {
                clear(kWrapBit);
                clear(kWrapToPageBit);
            }
            break;
        case 6: toggle(kOptionBit5); break;
        default: break;
    }
    refresh_entry_line(f);
}

void set_font_menu(MemoryRef layer, int16_t font, int16_t size) {
    enable_menu_(kFontMenu, true);
    enable_menu_(kSizeMenu, true);
    const int16_t shown_font = valid_font(font == int16_t(kDefaultFontNumber) && layer ? Get_Default_Font(layer) : font, layer);
    const std::string name = pf::font_name(shown_font);
    check_menu_font(name);
    unsigned char pname[256];
    pname[0] = uint8_t(std::min<size_t>(name.size(), 255));
    std::copy_n(name.begin(), pname[0], pname + 1);
    set_size_menu(pname, pf::get_menu_handle(kSizeMenu), valid_size(size, layer));
}

void set_Align_menu(const DocumentFacts& f) {
    enable_menu_(kAlignMenu, true);
    pf::MenuRef menu = pf::get_menu_handle(kAlignMenu);
    if (!menu) return;
    const bool editing = f.entry_active;
    for (int16_t item : {int16_t(1), kTopItem, kMiddleItem, kBottomItem}) {
        if (editing) pf::disable_menu_item(menu, item);
    }
    const uint8_t alignment = uint8_t(f.alignment & kAlignmentBits);
    check_only(menu, int16_t(std::min<uint8_t>(alignment, 4) + 1));
    if (!editing) {
        const int16_t vertical = vertical_item(f.format.bytes[kFmtFlagsA]);
        if (vertical) pf::check_menu_item(menu, vertical, true);
    }
    set_AlignOption_menu(pf::get_menu_handle(kAlignOptionMenu), f.format.bytes[kFmtAlign]);
}
