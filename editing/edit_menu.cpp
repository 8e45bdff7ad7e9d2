// The Edit and Fill menus of the front document window: their enabling and
// the dispatch of Undo, Redo, Cut, Copy, Paste, Clear, Select All, Insert,
// Delete, Move Cells, Find, Find Again, Spelling and the four fills. Paste
// Special joins as its command comes.
#include "editing/edit_menu.h"

#include <cctype>

#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "core/number_text.h"
#include "editing/clipboard.h"
#include "editing/editing_commands.h"
#include "editing/fill.h"
#include "editing/find_replace.h"
#include "editing/find_window.h"
#include "editing/spell_scan.h"
#include "editing/fill_sort_strings.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "model/insert_delete.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "platform/scrap/scrap.h"
#include "platform/screen/cursor.h"
#include "ui/app_prefs.h"
#include "editing/paste_special_dialog.h"
#include "window/front_document.h"
#include "window/window_commands.h"
#include "window/selection_tracking.h"
#include "spelling/spell_engine.h"
#include "window/copy_outline.h"
#include "window/entry_line.h"
#include "objects/object_commands.h"
#include "objects/text_box_editing.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kLastEditItem = kEditMoveCellsItem;

// Texts of the Edit items that change with what is selected (STR# 129).
enum EditText : int {
    kSelectAllCellsText = 1,
    kSelectAllObjectsText = 2,
    kSelectAllTextText = 3,
    kInsertColumnsText = 5,
    kDeleteColumnsText = 6,
    kInsertRowsText = 8,
    kDeleteRowsText = 9,
    kInsertCellsText = 10,
    kDeleteCellsText = 11,
    kClearTextText = 28,
    kClearCellsText = 29,
};

constexpr uint32_t kPictureFlavour = pf::four_cc("PICT");

constexpr int32_t kProtectedAlert = 6;
constexpr int16_t kOKItem = 1;

constexpr int16_t kDestinationItem = 4;
constexpr int kMoveCellsPosition = 13;  // of the saved dialog positions
constexpr int kInsertDeletePosition = 14;

constexpr int16_t kFirstShiftRadio = 4;
constexpr int16_t kLastShiftRadio = 7;
constexpr int16_t kInitialShiftRadio = 6;
constexpr int kLongestRowNumber = 5;


bool objects_selected(MemoryRef layer) {
    MemoryRef selected = LayerUse(layer)->selected_objects;
    return selected && GetMemorySize(selected) > 0;
}

void select_range(const CellRange& range, MemoryRef layer) { LSelect(range.topLeft, &range, nullptr, 0, layer); }

// Why a move was refused, in a stop alert.
void refuse_move(int16_t list, int item) {
    unsigned char message[256];
    pf::get_indexed_string(message, list, item);
    key_caution_alert(message, kStandardStopAlert, kStopAlertKind);
}

// ---- Move Cells ----------------------------------------------------------------

// The destination asked for until it names a cell the block can move to;
// false when the user cancelled.
bool ask_move_target(MemoryRef layer, CellPoint* delta) {
    pf::Point* position = &app_prefs.dialog_positions[kMoveCellsPosition];
    DialogRef dialog = StdNewDLOG(kMoveCellsDialog, kOKItem, position);
    if (!dialog) return false;
    pf::select_dialog_item_text(dialog, kDestinationItem, 0, INT16_MAX);
    const auto names_a_cell = [&] {
        unsigned char text[256];
        GetDText(dialog, kDestinationItem, text);
        const MoveTarget target = read_move_target(text, current_selection(layer), delta);
        if (target == MoveTarget::kCell) return true;
        if (target == MoveTarget::kNotACell) refuse_move(kFillSortStrings, kMoveNotACellItem);
        else refuse_move(kEditingStrings, kMoveOffGridItem);
        pf::select_dialog_item_text(dialog, kDestinationItem, 0, INT16_MAX);
        return false;
    };
    return run_ok_cancel_dialog(dialog, names_a_cell, [](int16_t) {}, position) != 0;
}

void run_move_cells(MemoryRef layer) {
    CellPoint delta{};
    if (ask_move_target(layer, &delta)) move_cells(delta.h, delta.v, 1, kUndoMove, layer);
}

// ---- Insert and Delete -------------------------------------------------------

// The choice of the Insert or Delete dialog, or -1 on Cancel.
int16_t ask_cell_shift(bool inserting) {
    pf::Point* position = &app_prefs.dialog_positions[kInsertDeletePosition];
    DialogRef dialog = StdNewDLOG(inserting ? kInsertDialog : kDeleteDialog, kOKItem, position);
    if (!dialog) return -1;
    SetDRadios(dialog, kFirstShiftRadio, kLastShiftRadio, kInitialShiftRadio);
    int16_t radio = 0;
    if (!run_radio_dialog(dialog, kFirstShiftRadio, kLastShiftRadio, &radio, position)) return -1;
    return int16_t(radio - kFirstShiftRadio);
}

// The cells from the selection to the grid's edge (inserting) or past the
// selection (deleting) move by the selection's height or width.
int16_t shift_cells(MemoryRef layer, bool inserting, bool vertically) {
    const CellRange selection = current_selection(layer);
    const int16_t size = int16_t(vertically ? selection.botRight.v - selection.topLeft.v + 1
                                            : selection.botRight.h - selection.topLeft.h + 1);
    CellRange moved = selection;
    int16_t& first = vertically ? moved.topLeft.v : moved.topLeft.h;
    int16_t& last = vertically ? moved.botRight.v : moved.botRight.h;
    if (inserting) last = int16_t(kLastCell - size);
    else first = int16_t(last + 1), last = kLastCell;
    if (first > last) return 0;
    const int16_t by = inserting ? size : int16_t(-size);
    select_range(moved, layer);
    const int16_t answer = move_cells(vertically ? int16_t(0) : by, vertically ? by : int16_t(0), 0,
                                      inserting ? kUndoInsertCells : kUndoDeleteCells, layer);
    select_range(selection, layer);
    return answer;
}

void insert_or_delete(MemoryRef layer, bool inserting) {
    if (objects_selected(layer)) return;
    const CellRange selection = current_selection(layer);
    const int16_t choice = whole_rows(selection)      ? int16_t(kEntireRows)
                           : whole_columns(selection) ? int16_t(kEntireColumns)
                                                      : ask_cell_shift(inserting);
    if (choice < 0) return;
    insert_or_delete_cells(layer, inserting, choice);
}

// ---- Enabling ----------------------------------------------------------------

// An item takes the text of the list's entry; the menu's own text stays while
// the list has none.
void name_item(pf::MenuRef menu, int16_t item, int text) {
    const std::string name = pf::get_indexed_string(kMenuTextStrings, text);
    if (!name.empty()) pf::set_menu_item_text(menu, item, name);
}

void enable_item(pf::MenuRef menu, int16_t item, bool enabled) {
    if (enabled) pf::enable_menu_item(menu, item);
    else pf::disable_menu_item(menu, item);
}

bool clipboard_holds_cells() {
    if (!g_Clip) return false;
    return MemoryUse<const ClipRecord>(g_Clip)->cells != nullptr;
}

void set_text_editor_items(pf::MenuRef menu) {
    enable_item(menu, kEditPasteItem, ScrapAvailable() != 0 || clipboard_holds_cells());
    name_item(menu, kEditClearItem, kClearTextText);
    name_item(menu, kEditSelectAllItem, kSelectAllTextText);
    pf::disable_menu_item(menu, kEditPasteSpecialItem);
    for (int16_t item = kEditFindItem; item <= kLastEditItem; ++item) pf::disable_menu_item(menu, item);
}

void set_cell_items(pf::MenuRef menu, MemoryRef layer) {
    if (!clipboard_holds_cells()) {
        const uint32_t scrap = ScrapAvailable();
        enable_item(menu, kEditPasteSpecialItem, scrap == pf::kScrapText);
        enable_item(menu, kEditPasteItem, scrap != 0);
    }
    name_item(menu, kEditClearItem, kClearCellsText);
    if (objects_selected(layer)) {
        for (int16_t item = kEditFillItem; item <= kLastEditItem; ++item) pf::disable_menu_item(menu, item);
        name_item(menu, kEditSelectAllItem, kSelectAllObjectsText);
        return;
    }
    name_item(menu, kEditSelectAllItem, kSelectAllCellsText);
    const CellRange selection = current_selection(layer);
    const bool rows = whole_rows(selection), columns = !rows && whole_columns(selection);
    name_item(menu, kEditInsertItem, rows ? kInsertRowsText : columns ? kInsertColumnsText : kInsertCellsText);
    name_item(menu, kEditDeleteItem, rows ? kDeleteRowsText : columns ? kDeleteColumnsText : kDeleteCellsText);
}

// The layer the commands act on: the given document window's, else (from the
// command bar) the front document window's; none without one.
MemoryRef command_layer(MemoryRef window_record) {
    if (!window_record) window_record = front_document_record();
    return window_record ? doc_window_layer(window_record) : nullptr;
}

void select_all(MemoryRef layer) {
    if (objects_selected(layer)) select_all_objects(layer);
    else select_range(CellRange{{0, 0}, {kLastCell, kLastCell}}, layer);
}

}  // namespace

uint32_t ScrapAvailable() {
    if (pf::scrap_has_flavour(kPictureFlavour)) return kPictureFlavour;
    return pf::scrap_has_flavour(pf::kScrapText) ? pf::kScrapText : 0;
}

void set_edit_menu(MemoryRef window_record) {
    pf::MenuRef menu = pf::get_menu_handle(kEditMenu);
    MemoryRef layer = window_record ? doc_window_layer(window_record) : nullptr;
    if (!menu || !layer) return;
    for (int16_t item = kEditUndoItem; item <= kLastEditItem; ++item) pf::enable_menu_item(menu, item);
    set_undo(window_record);
    if (GetActiveEditor(layer) || object_text_editor(layer)) set_text_editor_items(menu);
    else set_cell_items(menu, layer);
    if (find_state.find_str[0] == 0) pf::disable_menu_item(menu, kEditFindAgainItem);
    // Without a main dictionary nothing can be checked.
    if (!spelling_available()) pf::disable_menu_item(menu, kEditSpellingItem);
}

int16_t move_cells(int16_t dcol, int16_t drow, int16_t confirm, int16_t undo_kind, MemoryRef layer) {
    if (check_access(layer)) return layer_alert(layer, kProtectedAlert);
    return MoveSheetCells(dcol, drow, confirm, undo_kind, layer);
}

MoveTarget read_move_target(const unsigned char* text, const CellRange& selection, CellPoint* delta) {
    const unsigned char* at = text + 1;
    const unsigned char* end = text + 1 + text[0];
    unsigned char letters[256];
    letters[0] = 0;
    while (at < end && std::isalpha(*at)) letters[++letters[0]] = *at++;
    int32_t row = 0;
    int digits = 0;
    while (at < end && std::isdigit(*at) && digits <= kLongestRowNumber) row = row * 10 + (*at++ - '0'), ++digits;
    const int16_t column = ColumnToNumber(letters);
    if (column < 0 || digits == 0) return MoveTarget::kNotACell;
    if (digits > kLongestRowNumber || row < 1 || !cell_in_grid(row - 1, column)) return MoveTarget::kOffGrid;
    *delta = CellPoint{int16_t(row - 1 - selection.topLeft.v), int16_t(column - selection.topLeft.h)};
    const int bottom = selection.botRight.v + delta->v, right = selection.botRight.h + delta->h;
    return cell_in_grid(bottom, right) ? MoveTarget::kCell : MoveTarget::kOffGrid;
}

int16_t insert_or_delete_cells(MemoryRef layer, bool inserting, int16_t choice) {
    if (choice == kShiftVertically || choice == kShiftHorizontally)
        return shift_cells(layer, inserting, choice == kShiftVertically);
    const int16_t rows = choice == kEntireRows ? 1 : 0;
    const int16_t error = inserting ? insert_rowcol(layer, rows) : delete_rowcol(layer, rows);
    if (error && error != kCellsOffGridErr) show_file_error(error);
    return error;
}

namespace {

// The Edit menu while a cell's text is being edited: the commands act on the
// entry line's text. Cut and Copy leave the private clipboard empty, so that
// the system clipboard's text is what pastes next.
void entry_editor_command(WEReference editor, MemoryRef layer, int16_t item) {
    switch (item) {
        case kEditUndoItem:
        case kEditRedoItem: WEUndo(editor); break;
        case kEditCutItem:
            WECut(editor);
            export_entry_copy();
            ClobberScrap(0);
            break;
        case kEditCopyItem:
            WECopy(editor);
            export_entry_copy();
            ClobberScrap(0);
            return;
        case kEditPasteItem:
            ReadClip();
            paste_into_entry(layer);
            return;
        case kEditClearItem: WEDelete(editor); break;
        case kEditSelectAllItem: WESetSelection(0, 0x7FFFFFFF, editor); break;
        default: return;
    }
    update_entry_editors();
}

// Undo and Redo change cells as any edit does: a protected workbook refuses them.
void undo_or_redo(MemoryRef layer, bool undo) {
    if (check_access(layer)) {
        layer_alert(layer, kProtectedAlert);
        return;
    }
    if (undo) DoUndo(GetWorkSheet(layer));
    else DoRedo(GetWorkSheet(layer));
}

}  // namespace

void* GetActiveEditor(MemoryRef) { return entry_line_editing() ? entry_line_editor() : nullptr; }

void DoEditMenu(MemoryRef window_record, int16_t item) {
    if (item == kEditFindItem) return open_find_dialog();
    if (item == kEditFindAgainItem) {
        update_find_rec();
        do_find_next(kFindFromActive);
        enable_find_buttons();
        return;
    }
    MemoryRef layer = command_layer(window_record);
    if (!layer) return;
    if (void* editor = GetActiveEditor(layer)) {
        entry_editor_command(static_cast<WEReference>(editor), layer, item);
        return;
    }
    if (text_editor_command(item, layer)) return;
    switch (item) {
        case kEditUndoItem:
        case kEditRedoItem: undo_or_redo(layer, item == kEditUndoItem); break;
        case kEditSelectAllItem: select_all(layer); break;
        case kEditInsertItem: insert_or_delete(layer, true); break;
        case kEditDeleteItem: insert_or_delete(layer, false); break;
        case kEditMoveCellsItem: run_move_cells(layer); break;
        case kEditCutItem: edit_cut_copy(layer, true); break;
        case kEditCopyItem:
            if (edit_cut_copy(layer, false) == kEditDone) show_copy_outline(layer, read_clip().range);
            break;
        case kEditPasteItem: edit_paste(layer); break;
        case kEditClearItem: Do_Clear(1, layer); break;
        case kEditSpellingItem: check_layer_spelling(layer); break;
        case kEditPasteSpecialItem: paste_special_dialog(layer); break;
        default: break;
    }
    DisplayText(window_record ? window_record : front_document_record(), 1);
}

void DoFillMenu(MemoryRef window_record, int16_t item) {
    MemoryRef layer = command_layer(window_record);
    if (!layer || objects_selected(layer)) return;
    if (item < kFillDownItem || item > kFillLeftItem) return;
    const bool down = item == kFillDownItem || item == kFillUpItem;
    const int16_t variant = item >= kFillUpItem ? 1 : 0;
    if (refuse_protected_change(layer, fill_target(current_selection(layer), down, variant))) return;
    if (int16_t error = down ? FillDown(layer, variant) : FillRight(layer, variant)) show_file_error(error);
    DisplayText(window_record ? window_record : front_document_record(), 1);
}
