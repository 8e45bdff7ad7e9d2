// The Options menu: calculation, sorting, automatic row heights, print rows,
// locking and unlocking the selection, unprotecting the workbook, the custom
// format text; set_option_menu enables and marks it before it is shown.
#include <cstring>

#include "core/passwords.h"
#include "editing/undo_record.h"
#include "formula/recalc.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "objects/objects.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "shell/custom_label_dialog.h"
#include "shell/document_facts.h"
#include "shell/document_questions.h"
#include "shell/print_rows_dialog.h"
#include "shell/shell_commands.h"
#include "shell/sort_command.h"
#include "platform/windows/windows.h"
#include "printing/page_breaks.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"

namespace {

constexpr int16_t kOptionsMenu = 132;
constexpr int16_t kNamesItem = 1, kCustomTextItem = 2, kCalcNowItem = 4, kAutomaticItem = 5, kManualItem = 6,
                  kSortItem = 8, kRowHeightsItem = 15, kPageBreakItem = 17, kPrintRowsItem = 19, kLockItem = 21,
                  kUnlockItem = 22, kLastGuardedItem = 23, kUnprotectItem = 25;
constexpr int16_t kLockedBit = 0;  // of the format's first option byte
constexpr int16_t kMenuTexts = 129;
constexpr int16_t kLockCellsText = 16, kLockObjectsText = 18;
constexpr int16_t kInsertBreakText = 4, kRemoveBreakText = 7;
constexpr int16_t kUnprotectPrompt = 11;

bool object_selected(MemoryRef layer) { return get_selected_object(layer, 1) != nullptr; }

// Items 1 and 8 to 23 change the layer and are refused on a protected workbook.
bool refused_when_protected(int16_t item) {
    return item == kNamesItem || (item >= kSortItem && item <= kLastGuardedItem);
}

bool selection_locked(MemoryRef layer) {
    if (object_selected(layer)) return object_is_locked(layer);
    CellFormat format;
    GetSelectFormat(format.bytes, layer, 1);
    return format.bytes[kFmtFlagsA] & kFlagLocked;
}

void set_lock(MemoryRef record, MemoryRef layer, bool lock) {
    if (object_selected(layer)) {
        if (object_is_locked(layer) != lock) toggle_object_lock(layer);
        return;
    }
    if (Format_Sheet(kFormatUndoKind, kFmtFlagsA, kLockedBit, !lock, true, true, layer)) DisplayText(record, 1);
}

void flip_row_heights(MemoryRef layer) {
    SetSheetFlags(layer, GetSheetFlags(layer) ^ kLayerFixedRowHeights);
    increment_change_ctr(layer);
}

void unprotect_workbook(MemoryRef layer) {
    const MemoryRef workbook = GetWorkSheet(layer);
    uint8_t stored[kPasswordFieldBytes];
    std::memcpy(stored, static_cast<WorkSheet*>(UseMemory(workbook))->password, sizeof stored);
    UnuseMemory(workbook);
    if (!check_stored_password(stored, kUnprotectPrompt)) return;
    Set_Work_Flags(workbook, uint16_t(Get_Work_Flags(workbook) & ~(kWorkProtected | kWorkPassword)));
    increment_change_ctr(layer);
}

// Manual page breaks: before the first of the selected whole rows (or columns).
struct BreakPlace {
    bool rows;
    int16_t index;  // -1: the selection is not whole rows or columns
};

BreakPlace break_place(MemoryRef layer) {
    CellRange r{};
    GetSelectRect(&r, layer);
    if (whole_rows(r)) return BreakPlace{true, r.topLeft.v};
    if (whole_columns(r)) return BreakPlace{false, r.topLeft.h};
    return BreakPlace{true, -1};
}

MemoryRef& break_list(SpreadSheet* sheet, bool rows) { return rows ? sheet->row_page_breaks : sheet->column_page_breaks; }

MemoryRef layer_break_list(MemoryRef layer, bool rows) {
    const MemoryRef list = break_list(use_layer(layer), rows);
    release_layer(layer);
    return list;
}

void set_layer_break_list(MemoryRef layer, bool rows, MemoryRef list) {
    break_list(use_layer(layer), rows) = list;
    release_layer(layer);
}

// The position of a break in the list, -1 when it holds none there.
int32_t find_break(MemoryRef list, int16_t index) {
    if (!list) return -1;
    const auto* values = static_cast<const int16_t*>(UseMemory(list));
    const int32_t count = GetMemorySize(list);
    int32_t at = -1;
    for (int32_t i = 0; i < count && at < 0; ++i)
        if (values[i] == index) at = i;
    UnuseMemory(list);
    return at;
}

bool has_manual_break(MemoryRef layer) {
    const BreakPlace place = break_place(layer);
    return place.index >= 0 && find_break(layer_break_list(layer, place.rows), place.index) >= 0;
}

void toggle_page_break(MemoryRef layer) {
    const BreakPlace place = break_place(layer);
    if (place.index < 0) return;
    MemoryRef list = layer_break_list(layer, place.rows);
    const int32_t at = find_break(list, place.index);
    if (at >= 0) {
        DeleteMemory(list, at, 1);
        if (GetMemorySize(list) == 0) set_layer_break_list(layer, place.rows, DisposeNonNilMemory(list));
    } else {
        if (!list) set_layer_break_list(layer, place.rows, list = pgAllocateNewRef(GetMemoryGlobals(layer), 2, 0, 4, false));
        PtrAndMemory(&place.index, list, 1);
    }
    reset_page(layer);
    increment_change_ctr(layer);
    if (WindowRef window = layer_window(layer)) pf::inval_window_rect(window, pf::window_port(window)->port_rect);
}

void set_calculation_mode(MemoryRef record, MemoryRef layer, int16_t item) {
    if (item == kManualItem) {
        stopCalc = kCalcManualIdle;
        return;
    }
    do_calc_now(GetSheetWind(layer), item == kAutomaticItem ? 1 : 0);
    DisplayText(record, 1);
}

void check_marks(pf::MenuRef menu, MemoryRef layer) {
    const bool manual = stopCalc > 0;
    pf::check_menu_item(menu, kManualItem, manual);
    pf::check_menu_item(menu, kAutomaticItem, !manual);
    const bool locked = selection_locked(layer);
    pf::check_menu_item(menu, kLockItem, locked);
    pf::check_menu_item(menu, kUnlockItem, !locked);
    pf::check_menu_item(menu, kRowHeightsItem, !(GetSheetFlags(layer) & kLayerFixedRowHeights));
}

}  // namespace

void DoOptionMenu(MemoryRef record, int16_t item) {
    const DocumentFacts f = given_or_front_facts(record);
    if (!f.layer) return;
    if (refused_when_protected(item) && check_access(f.layer)) {
        layer_alert(f.layer, kProtectedWorkbookAlert);
        return;
    }
    switch (item) {
        case kCustomTextItem:
            if (!f.object_selected) custom_label_dialog(f.layer);
            break;
        case kCalcNowItem:
        case kAutomaticItem:
        case kManualItem: set_calculation_mode(f.record, f.layer, item); break;
        case kSortItem:
            if (f.object_selected) break;
            Sort(f.layer, 0);
            DisplayText(f.record, 1);
            break;
        case kRowHeightsItem: flip_row_heights(f.layer); break;
        case kPageBreakItem:
            if (!f.object_selected) toggle_page_break(f.layer);
            break;
        case kPrintRowsItem: print_rows_dialog(f.layer); break;
        case kLockItem:
        case kUnlockItem: set_lock(f.record, f.layer, item == kLockItem); break;
        case kUnprotectItem: unprotect_workbook(f.layer); break;
        default: break;
    }
}

void set_option_menu(MemoryRef layer) {
    pf::MenuRef menu = pf::get_menu_handle(kOptionsMenu);
    if (!menu) return;
    const int16_t count = pf::count_menu_items(menu);
    const bool usable = layer && !Editor_Wind;
    for (int16_t item = 1; item <= count; ++item) {
        if (usable && pf::get_menu_item_text(menu, item) != "-") pf::enable_menu_item(menu, item);
        else pf::disable_menu_item(menu, item);
    }
    if (!usable) return;
    const bool objects = object_selected(layer);
    if (objects) {
        for (int16_t item : {kNamesItem, kCustomTextItem}) pf::disable_menu_item(menu, item);
        for (int16_t item = kSortItem; item <= kPrintRowsItem; ++item) pf::disable_menu_item(menu, item);
    }
    const int16_t lock_text = objects ? kLockObjectsText : kLockCellsText;
    pf::set_menu_item_text(menu, kLockItem, pf::get_indexed_string(kMenuTexts, lock_text));
    pf::set_menu_item_text(menu, kUnlockItem, pf::get_indexed_string(kMenuTexts, int16_t(lock_text + 1)));
    check_marks(menu, layer);
    if (!objects && break_place(layer).index < 0) pf::disable_menu_item(menu, kPageBreakItem);
    const int16_t break_text = has_manual_break(layer) ? kRemoveBreakText : kInsertBreakText;
    pf::set_menu_item_text(menu, kPageBreakItem, pf::get_indexed_string(kMenuTexts, break_text));
    if (!(Get_Work_Flags(GetWorkSheet(layer)) & (kWorkProtected | kWorkPassword)))
        pf::disable_menu_item(menu, kUnprotectItem);
}
