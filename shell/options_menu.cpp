// The Options menu: Go To, range names, column name, print titles, workbook
// protection, Sort and Fill Series; the other commands are not built yet and
// beep.
#include "core/startup.h"
#include "model/format_commands.h"
#include "model/workbook.h"
#include "platform/screen/cursor.h"
#include "printing/page_breaks.h"
#include "shell/command_dialogs.h"
#include "shell/document_facts.h"
#include "shell/goto_dialog.h"
#include "shell/sheet_dialogs.h"
#include "shell/shell_commands.h"
#include "shell/sort_command.h"
#include "window/window_commands.h"

namespace {

constexpr int16_t kGoToItem = 6, kNamesItem = 7, kColumnNameItem = 8, kPrintTitlesItem = 9,
                  kProtectWorkbookItem = 12, kSortItem = 14, kFillSeriesItem = 15;
constexpr int kBeepTicks = 9;

// The setting-up commands are refused on a protected workbook, with its alert.
bool refused_when_protected(MemoryRef layer) {
    if (!check_access(layer)) return false;
    quorvin_alert(kProtectedWorkbookAlert);
    return true;
}

}  // namespace

void DoOptionMenu(MemoryRef record, int16_t item) {
    const MemoryRef window_record = record ? record : front_document_record();
    const DocumentFacts facts = read_document_facts(window_record);
    MemoryRef layer = facts.layer;
    switch (item) {
        case kGoToItem: go_to_command(layer); return;
        case kNamesItem:
            if (layer && !facts.object_selected && !refused_when_protected(layer)) range_dialog(layer);
            return;
        case kColumnNameItem:
            if (layer && !refused_when_protected(layer)) column_name_dlog(layer);
            return;
        case kPrintTitlesItem:
            if (layer && !refused_when_protected(layer) && printcol_Dialog(layer)) reset_page(layer);
            return;
        case kProtectWorkbookItem: protect_dialog(layer); return;
        case kSortItem:
            if (!facts.object_selected) Sort(layer, 0);
            break;
        case kFillSeriesItem:
            if (!facts.object_selected) series_dialog(layer);
            break;
        default: return pf::sys_beep(kBeepTicks);
    }
    if (window_record) DisplayText(window_record, 1);
}
