// The Options menu: range names, the custom format text, calculation,
// sorting, fill series, column names, automatic row heights, page breaks,
// print titles and rows, locking and unlocking the selection, protecting and
// unprotecting the workbook; set_option_menu enables and marks it before it
// is shown.
#include <cstring>

#include "core/memory_use.h"
#include "core/passwords.h"
#include "model/undo_record.h"
#include "formula/recalc.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "objects/object_commands.h"
#include "objects/objects.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "shell/command_dialogs.h"
#include "shell/custom_label_dialog.h"
#include "shell/document_facts.h"
#include "shell/document_questions.h"
#include "shell/print_rows_dialog.h"
#include "shell/sheet_dialogs.h"
#include "shell/shell_commands.h"
#include "shell/sort_command.h"
#include "platform/windows/windows.h"
#include "printing/page_breaks.h"
#include "window/doc_window.h"
#include "window/cell_geometry.h"
#include "window/entry_line.h"
#include "window/resizing.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kLastGuardedItem = 23;
constexpr int16_t kLockedBit = 0;  // of the format's first option byte
constexpr int16_t kLockCellsText = 16, kLockObjectsText = 18;
constexpr int16_t kInsertBreakText = 4, kRemoveBreakText = 7;
constexpr int16_t kUnprotectPrompt = 11;

bool object_selected(MemoryRef layer) { return get_selected_object(layer, 1) != nullptr; }

// Items 1 and 8 to 23 change the layer and are refused on a protected workbook.
bool refused_when_protected(int16_t item) {
    return item == kOptionsNamesItem || (item >= kOptionsSortItem && item <= kLastGuardedItem);
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

// The one-number dialog's limits and texts for a column width or a row height, in points.
struct SizeQuestion {
    int16_t maximum, limit, title, prompt;
};
constexpr SizeQuestion kColumnWidthQuestion{800, 76, 13, 2};
constexpr SizeQuestion kRowHeightQuestion{250, 14, 15, 1};

// Asks for one width (height) starting from the selection's first column
// (row) and gives it to every column (row) of the selection, with undo.
void size_selection(MemoryRef layer, bool rows) {
    CellRange selection{};
    GetSelectRect(&selection, layer);
    const SizeQuestion& q = rows ? kRowHeightQuestion : kColumnWidthQuestion;
    int16_t size = rows ? GetRowSize(selection.topLeft.v, layer) : GetColumnSize(selection.topLeft.h, layer);
    if (!Multi_Dialog(kNumberDialog, 0, q.maximum, q.limit, kLengthMode, q.title, q.prompt, &size)) return;
    if (rows) apply_row_height(layer, CellRange{{selection.topLeft.v, 0}, {selection.botRight.v, kLastCell}}, size);
    else apply_column_width(layer, CellRange{{0, selection.topLeft.h}, {kLastCell, selection.botRight.h}}, size);
}

void unprotect_workbook(MemoryRef layer) {
    const MemoryRef workbook = GetWorkSheet(layer);
    uint8_t stored[kPasswordFieldBytes];
    std::memcpy(stored, MemoryUse<WorkSheet>(workbook)->password, sizeof stored);
    if (!check_stored_password(stored, kUnprotectPrompt)) return;
    Set_Work_Flags(workbook, uint16_t(Get_Work_Flags(workbook) & ~(kWorkProtected | kWorkPassword)));
    increment_change_ctr(layer);
}

// The page-break item works on a selection of whole rows or whole columns.
bool whole_lines_selected(MemoryRef layer) {
    CellRange r{};
    GetSelectRect(&r, layer);
    return whole_rows(r) != whole_columns(r);
}

void toggle_page_break(MemoryRef layer) {
    if (TestPageBreak(layer)) RemovePageBreak(layer);
    else SetPageBreak(layer);
    if (WindowRef window = layer_window(layer)) pf::inval_window_rect(window, pf::window_port(window)->port_rect);
}

void set_calculation_mode(MemoryRef record, MemoryRef layer, int16_t item) {
    if (item == kOptionsManualItem) {
        stopCalc = kCalcManualIdle;
        return;
    }
    do_calc_now(GetSheetWind(layer), item == kOptionsAutomaticItem ? 1 : 0);
    DisplayText(record, 1);
}

void check_marks(pf::MenuRef menu, MemoryRef layer) {
    const bool manual = stopCalc > 0;
    pf::check_menu_item(menu, kOptionsManualItem, manual);
    pf::check_menu_item(menu, kOptionsAutomaticItem, !manual);
    const bool locked = selection_locked(layer);
    pf::check_menu_item(menu, kOptionsLockItem, locked);
    pf::check_menu_item(menu, kOptionsUnlockItem, !locked);
    pf::check_menu_item(menu, kOptionsRowHeightsItem, !(GetSheetFlags(layer) & kLayerFixedRowHeights));
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
        case kOptionsNamesItem:
            if (!f.object_selected) range_dialog(f.layer);
            break;
        case kOptionsCustomTextItem:
            if (!f.object_selected) custom_label_dialog(f.layer);
            break;
        case kOptionsCalcNowItem:
        case kOptionsAutomaticItem:
        case kOptionsManualItem: set_calculation_mode(f.record, f.layer, item); break;
        case kOptionsSortItem:
        case kOptionsFillSeriesItem:
            if (f.object_selected) break;
            if (item == kOptionsSortItem) Sort(f.layer, 0);
            else series_dialog(f.layer);
            DisplayText(f.record, 1);
            break;
        case kOptionsColumnWidthItem:
        case kOptionsRowHeightItem:
            if (!f.object_selected) size_selection(f.layer, item == kOptionsRowHeightItem);
            break;
        case kOptionsColumnNameItem: column_name_dlog(f.layer); break;
        case kOptionsRowHeightsItem: flip_row_heights(f.layer); break;
        case kOptionsPageBreakItem:
            if (!f.object_selected && whole_lines_selected(f.layer)) toggle_page_break(f.layer);
            break;
        case kOptionsPrintTitlesItem:
            if (printcol_Dialog(f.layer)) reset_page(f.layer);
            break;
        case kOptionsPrintRowsItem: print_rows_dialog(f.layer); break;
        case kOptionsLockItem:
        case kOptionsUnlockItem: set_lock(f.record, f.layer, item == kOptionsLockItem); break;
        case kOptionsProtectItem: protect_dialog(f.layer); break;
        case kOptionsUnprotectItem: unprotect_workbook(f.layer); break;
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
        for (int16_t item : {kOptionsNamesItem, kOptionsCustomTextItem}) pf::disable_menu_item(menu, item);
        for (int16_t item = kOptionsSortItem; item <= kOptionsPrintRowsItem; ++item) pf::disable_menu_item(menu, item);
    }
    const int16_t lock_text = objects ? kLockObjectsText : kLockCellsText;
    pf::set_menu_item_text(menu, kOptionsLockItem, pf::get_indexed_string(kMenuTextStrings, lock_text));
    pf::set_menu_item_text(menu, kOptionsUnlockItem, pf::get_indexed_string(kMenuTextStrings, int16_t(lock_text + 1)));
    check_marks(menu, layer);
    if (!objects && !whole_lines_selected(layer)) pf::disable_menu_item(menu, kOptionsPageBreakItem);
    const int16_t break_text = TestPageBreak(layer) ? kRemoveBreakText : kInsertBreakText;
    pf::set_menu_item_text(menu, kOptionsPageBreakItem, pf::get_indexed_string(kMenuTextStrings, break_text));
    if (!(Get_Work_Flags(GetWorkSheet(layer)) & (kWorkProtected | kWorkPassword)))
        pf::disable_menu_item(menu, kOptionsUnprotectItem);
}
