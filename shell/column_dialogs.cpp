// The column name dialog and the print title columns dialog of the Options menu.
#include <algorithm>
#include <cstring>

#include "core/alert_kinds.h"
#include "ui/alerts.h"
#include "ui/modal_dialog.h"
#include "ui/dialog_pictures.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "shell/command_dialogs.h"
#include "shell/print_title_lines.h"
#include "shell/border_tools.h"
#include "shell/range_names.h"
#include "shell/sheet_dialogs.h"
#include "window/doc_window.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2, kNameItem = 3;
constexpr int16_t kNoTitlesRadio = 4, kTitlesRadio = 5, kColumnsItem = 6;
constexpr uint8_t kLongestColumnName = 31;
constexpr int16_t kMostProposedColumns = 100;
constexpr int16_t kNotAReference = 1;
constexpr int16_t kPrintTitlesNote = 28;

bool object_selected(MemoryRef layer) {
    LayerUse sheet(layer);
    const bool selected = sheet->selected_objects && GetMemorySize(sheet->selected_objects) > 0;
    return selected;
}

void redraw_layer(MemoryRef layer) {
    if (pf::WindowRef window = layer_window(layer)) pf::inval_window_rect(window, pf::window_port(window)->port_rect);
}

// The stored name of a column, empty when it has no format record.
void column_name(MemoryRef layer, int16_t column, unsigned char* name) {
    name[0] = 0;
    MemoryRef formats = GetSpreadSheetColumnFormats(layer);
    if (const uint8_t* record = FindColumnFormatID(formats, column)) {
        const uint8_t length = std::min(record[kColumnNameOffset], kLongestColumnName);
        name[0] = length;
        std::memcpy(name + 1, record + kColumnNameOffset + 1, length);
        UnuseMemory(formats);
    }
}

bool ask_column_name(MemoryRef layer, int16_t column, unsigned char* name) {
    DialogRef dialog = StdNewDLOG(kColumnNameDialog, kOkItem, nullptr);
    if (!dialog) return false;
    column_name(layer, column, name);
    SetDEditText(dialog, kNameItem, name);
    SetEditTextDialogItemFocus(dialog, kNameItem);
    SelectTheDialogItemText(dialog, kNameItem, 0, kAllCharacters);
    pf::draw_dialog(dialog);
    int16_t item = 0;
    do item = next_dialog_item(dialog);
    while (item != kCancelItem && !(item == kOkItem && GetDRomanText(dialog, kNameItem, name)));
    StdDLOG_close(dialog, nullptr);
    return item == kOkItem;
}

// ---- Print title columns ---------------------------------------------------------

// The columns proposed: the stored ones, else the selection's (its first
// column alone when it spans more than 100).
TitleLines proposed_titles(MemoryRef layer) {
    const TitleLines stored = stored_title_lines(layer, false);
    if (stored.first >= 0) return stored;
    const CellRange selection = selected_range(layer);
    const bool wide = selection.botRight.h - selection.topLeft.h >= kMostProposedColumns;
    return TitleLines{selection.topLeft.h, wide ? selection.topLeft.h : selection.botRight.h};
}

void show_columns(DialogRef dialog, TitleLines columns) {
    const CellRange range{{0, columns.first}, {kLastCell, columns.last}};
    unsigned char text[256];
    absolute_reference_text(range, text);
    SetDEditText(dialog, kColumnsItem, text);
}

// The columns the text names; false (said, and the text selected) when it names none.
bool read_columns(DialogRef dialog, MemoryRef layer, TitleLines* columns) {
    unsigned char text[256];
    GetDEditText(dialog, kColumnsItem, text);
    text[0] = std::min<uint8_t>(text[0], kNamedRangeNameSize - 1);
    CellRange range{};
    if (!range_of_reference(text, layer, &range)) {
        str_multi_alert(kRangeMessages, kNotAReference, kStandardStopAlert, kStopAlertKind);
        SelectTheDialogItemText(dialog, kColumnsItem, 0, kAllCharacters);
        return false;
    }
    *columns = TitleLines{range.topLeft.h, range.botRight.h};
    return true;
}

bool ask_titles(MemoryRef layer, TitleLines* titles) {
    DialogRef dialog = StdNewDLOG(kPrintColumnsDialog, kOkItem, nullptr);
    if (!dialog) return false;
    SetDRadios(dialog, kNoTitlesRadio, kTitlesRadio, stored_title_lines(layer, false).first >= 0 ? kTitlesRadio : kNoTitlesRadio);
    show_columns(dialog, proposed_titles(layer));
    SetEditTextDialogItemFocus(dialog, kColumnsItem);
    SelectTheDialogItemText(dialog, kColumnsItem, 0, kAllCharacters);
    const auto read_titles = [&] {
        if (GetDRadios(dialog, kNoTitlesRadio, kTitlesRadio) != kNoTitlesRadio) return read_columns(dialog, layer, titles);
        *titles = TitleLines{-1, -1};
        return true;
    };
    const auto click = [&](int16_t item) {
        if (item == kNoTitlesRadio || item == kTitlesRadio) SetDRadios(dialog, kNoTitlesRadio, kTitlesRadio, item);
    };
    return run_ok_cancel_dialog(dialog, read_titles, click) != 0;
}

}  // namespace

int16_t column_name_dlog(MemoryRef layer) {
    if (!layer || object_selected(layer)) return 0;
    const int16_t column = selected_range(layer).topLeft.h;
    unsigned char name[256];
    if (!ask_column_name(layer, column, name)) return 0;
    if (InputColumnFormat(layer, int32_t(column) << 16 | uint16_t(column)) != 0) return 0;
    MemoryRef formats = GetSpreadSheetColumnFormats(layer);
    uint8_t* record = FindColumnFormatID(formats, column);
    if (!record) return 0;
    const uint8_t length = std::min(name[0], kLongestColumnName);
    std::memset(record + kColumnNameOffset, 0, kColumnFormatSize - kColumnNameOffset);
    record[kColumnNameOffset] = length;
    std::memcpy(record + kColumnNameOffset + 1, name + 1, length);
    UnuseMemory(formats);
    increment_change_ctr(layer);
    redraw_layer(layer);
    return 1;
}

int16_t printcol_Dialog(MemoryRef layer) {
    if (!layer) return 0;
    TitleLines titles{-1, -1};
    if (!ask_titles(layer, &titles)) return 0;
    store_title_lines(layer, false, titles);
    LayerUse sheet(layer);
    const bool headings_printed = (sheet->flags & kLayerPrintHeadings) != 0;
    sheet.release();
    if (headings_printed && titles.first >= 0)
        str_multi_alert(kCalcDialogStrings, kPrintTitlesNote, kStandardStopAlert, kCautionAlertKind);
    return 1;
}
