// The Select dialog, opened from the corner box of a layer: the whole layer,
// its used rows, columns or area, a printed page, or the range between two
// typed cells.
#include <algorithm>

#include "core/alert_kinds.h"
#include "ui/alerts.h"
#include "ui/dialog_pictures.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/model_services.h"
#include "platform/screen/cursor.h"
#include "printing/page_breaks.h"
#include "shell/command_dialogs.h"
#include "shell/goto_dialog.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2;
constexpr int16_t kWholeLayerItem = 3, kUsedRowsItem = 4, kUsedColumnsItem = 5, kUsedAreaItem = 6;
constexpr int16_t kPageItem = 7, kCellsItem = 8, kPageField = 9, kFirstCellField = 11, kLastCellField = 12;
constexpr int32_t kFirstPage = 1, kLastPage = 1000;
constexpr int16_t kWrongWayMessage = 1, kPageMessage = 2;
constexpr int kBeepTicks = 9;

CellPoint cell_of_page(const CellRange& page) { return page.topLeft; }

bool inside(CellPoint cell, const CellRange& area) {
    return cell.v >= area.topLeft.v && cell.v <= area.botRight.v && cell.h >= area.topLeft.h &&
           cell.h <= area.botRight.h;
}

// Page n of the layer; with a print area only pages starting inside it count.
bool find_page(MemoryRef layer, int16_t n, CellRange* page) {
    reset_page(layer);
    LayerUse sheet(layer);
    const CellRange print_area = sheet->print_area;
    sheet.release();
    if (print_area.botRight.v < 0) return GetPageRect(layer, n, page);
    const CellRange area{print_area.topLeft, {int16_t(print_area.botRight.v - 1), int16_t(print_area.botRight.h - 1)}};
    const int16_t pages = CountPages(layer);
    if (pages < n) return false;
    for (int16_t each = 1, counted = 0; each <= pages; ++each) {
        if (!GetPageRect(layer, each, page) || !inside(cell_of_page(*page), area)) continue;
        if (++counted == n) return true;
    }
    return false;
}

void select_page(MemoryRef layer, int16_t n) {
    CellRange page{};
    const CellPoint used = used_cell_extent(layer);
    if (!find_page(layer, n, &page) || page.topLeft.v > used.v || page.topLeft.h > used.h) {
        pf::sys_beep(kBeepTicks);
        return;
    }
    LSelect(page.topLeft, &page, nullptr, 0, layer);
    SheetAutoScroll(layer, page.topLeft, 1);
}

void say(DialogRef dialog, int16_t message, int16_t field) {
    str_multi_alert(kSelectStrings, message, kStandardStopAlert, kStopAlertKind);
    SelectTheDialogItemText(dialog, field, 0, kAllCharacters);
}

// The typed values of the chosen radio are good, or one is said.
bool typed_values_good(DialogRef dialog, int16_t radio, MemoryRef layer, CellRange* cells) {
    if (radio == kPageItem && !field_number_within(dialog, kPageField, false, kFirstPage, kLastPage, 0)) {
        say(dialog, kPageMessage, kPageField);
        return false;
    }
    if (radio != kCellsItem) return true;
    unsigned char first[256], last[256];
    GetDEditText(dialog, kFirstCellField, first);
    GetDEditText(dialog, kLastCellField, last);
    const SelectRefusal why = check_select_cells(first, last, layer, cells);
    if (why == SelectRefusal::kNone) return true;
    CellRange unused{};
    if (why == SelectRefusal::kWrongWayRound) say(dialog, kWrongWayMessage, kFirstCellField);
    else {
        const bool first_bad = why == SelectRefusal::kFirstCell;
        say_goto_refusal(check_goto_text(first_bad ? first : last, layer, &unused));
        SelectTheDialogItemText(dialog, first_bad ? kFirstCellField : kLastCellField, 0, kAllCharacters);
    }
    return false;
}

}  // namespace

CellRange used_part_of_layer(MemoryRef layer, int16_t radio) {
    const CellPoint used = used_cell_extent(layer);
    if (radio == kWholeLayerItem) return CellRange{{0, 0}, {kLastCell, kLastCell}};
    if (used.v < 0) return CellRange{{0, 0}, {0, 0}};
    const int16_t last_row = radio == kUsedColumnsItem ? kLastCell : used.v;
    const int16_t last_column = radio == kUsedRowsItem ? kLastCell : std::max<int16_t>(used.h, 0);
    return CellRange{{0, 0}, {last_row, last_column}};
}

SelectRefusal check_select_cells(const unsigned char* first, const unsigned char* last, MemoryRef layer,
                                 CellRange* range) {
    CellRange from{}, to{};
    if (check_goto_text(first, layer, &from) != GotoRefusal::kNone) return SelectRefusal::kFirstCell;
    if (check_goto_text(last, layer, &to) != GotoRefusal::kNone) return SelectRefusal::kSecondCell;
    if (to.botRight.v < from.topLeft.v || to.botRight.h < from.topLeft.h) return SelectRefusal::kWrongWayRound;
    *range = CellRange{from.topLeft, to.botRight};
    return SelectRefusal::kNone;
}

int16_t SelectDialog(MemoryRef layer) {
    if (!layer) return 0;
    DialogRef dialog = StdNewDLOG(kSelectDialog, kOkItem, nullptr);
    if (!dialog) return 0;
    LayerUse sheet(layer);
    const CellPoint active = sheet->active_cell;
    sheet.release();
    reset_page(layer);
    SetDNum(dialog, kPageField, pageNumber(layer, int32_t(uint16_t(active.v)) | int32_t(active.h) << 16), true);
    SetDRadios(dialog, kWholeLayerItem, kCellsItem, kUsedAreaItem);
    pf::draw_dialog(dialog);
    int16_t radio = 0;
    CellRange cells{};
    for (;;) {
        const int16_t item = next_dialog_item(dialog);
        if (item == kCancelItem) break;
        if (item >= kWholeLayerItem && item <= kCellsItem) SetDRadios(dialog, kWholeLayerItem, kCellsItem, item);
        else if (item == kPageField) SetDRadios(dialog, kWholeLayerItem, kCellsItem, kPageItem);
        else if (item == kFirstCellField || item == kLastCellField)
            SetDRadios(dialog, kWholeLayerItem, kCellsItem, kCellsItem);
        const int16_t chosen = GetDRadios(dialog, kWholeLayerItem, kCellsItem);
        if (item == kOkItem && typed_values_good(dialog, chosen, layer, &cells)) {
            radio = chosen;
            break;
        }
    }
    const int16_t page = GetDNum(dialog, kPageField);
    StdDLOG_close(dialog, nullptr);
    if (radio == kPageItem) select_page(layer, page);
    else if (radio == kCellsItem) LSelect(cells.topLeft, &cells, nullptr, 0, layer);
    else if (radio) {
        const CellRange part = used_part_of_layer(layer, radio);
        LSelect(part.topLeft, &part, nullptr, 0, layer);
        SheetAutoScroll(layer, part.topLeft, 1);
    }
    return radio;
}
