#include "shell/print_rows_dialog.h"

#include <cstring>

#include "core/alert_kinds.h"
#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "ui/calc_alerts.h"
#include "formula/range_string.h"
#include "formula/reference_text.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "printing/page_breaks.h"
#include "shell/print_title_lines.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kAllRowsItem = 4, kTheseRowsItem = 5, kRowsItem = 6;
constexpr int16_t kMostProposedRows = 100;
constexpr int32_t kBadReferenceAlert = 103;
constexpr int16_t kShownWhenPrintedText = 28;
constexpr int16_t kNoRow = -1;

// The rows first shown: the stored ones, or else the selection's rows (its
// first row alone when it spans more than a hundred).
TitleLines proposed_rows(MemoryRef layer) {
    const TitleLines stored = stored_title_lines(layer, true);
    if (stored.first >= 0) return stored;
    LayerUse sheet(layer);
    const CellRange selection = sheet->selection;
    sheet.release();
    const bool too_many = selection.botRight.v - selection.topLeft.v >= kMostProposedRows;
    return TitleLines{selection.topLeft.v, too_many ? selection.topLeft.v : selection.botRight.v};
}

void show_rows(DialogRef dialog, TitleLines rows, MemoryRef layer) {
    const CellRange whole_rows{{rows.first, 0}, {rows.last, kLastCell}};
    const bool relative[4] = {false, false, false, false};
    unsigned char text[256];
    RangeString(text, &whole_rows, relative, layer);
    SetDEditText(dialog, kRowsItem, text);
}

// The rows of a typed reference; false when it is not one.
bool typed_rows(DialogRef dialog, MemoryRef layer, TitleLines* rows) {
    uint8_t record[kNamedRangeSize] = {};
    unsigned char text[256];
    GetDEditText(dialog, kRowsItem, text);
    if (text[0] >= kNamedRangeNameSize) return false;
    std::memcpy(record, text, size_t(text[0]) + 1);
    if (!Parse_Rect(record, nullptr, layer)) return false;
    const CellRange range = named_range_cells(record);
    *rows = TitleLines{range.topLeft.v, range.botRight.v};
    return true;
}

void after_change(MemoryRef layer) {
    if ((GetSheetFlags(layer) & kLayerPrintHeadings) && stored_title_lines(layer, true).first >= 0)
        str_multi_alert(kCalcDialogStrings, kShownWhenPrintedText, kStandardStopAlert, kCautionAlertKind);
    reset_page(layer);
}

}  // namespace

int16_t print_rows_dialog(MemoryRef layer) {
    DialogRef dialog = StdNewDLOG(kPrintRowsDialog, kOkItem, nullptr);
    if (!dialog) return 0;
    SetDRadios(dialog, kAllRowsItem, kTheseRowsItem, stored_title_lines(layer, true).first < 0 ? kAllRowsItem : kTheseRowsItem);
    show_rows(dialog, proposed_rows(layer), layer);
    SelectTheDialogItemText(dialog, kRowsItem, 0, 255);
    const int16_t answer = run_ok_cancel_dialog(
        dialog,
        [&] {
            TitleLines rows{kNoRow, kNoRow};
            if (GetDRadios(dialog, kAllRowsItem, kTheseRowsItem) == kTheseRowsItem && !typed_rows(dialog, layer, &rows)) {
                quorvin_alert(kBadReferenceAlert);
                SelectTheDialogItemText(dialog, kRowsItem, 0, 255);
                return false;
            }
            store_title_lines(layer, true, rows);
            return true;
        },
        [&](int16_t item) {
            if (item == kAllRowsItem || item == kTheseRowsItem) SetDRadios(dialog, kAllRowsItem, kTheseRowsItem, item);
            if (item == kRowsItem) SetDRadios(dialog, kAllRowsItem, kTheseRowsItem, kTheseRowsItem);
        });
    if (answer) after_change(layer);
    return answer;
}
