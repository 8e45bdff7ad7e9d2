// The Options menu: Go To, range names, column name, print titles and
// workbook protection; the other commands are not built yet and beep.
#include "core/startup.h"
#include "model/format_commands.h"
#include "model/workbook.h"
#include "platform/screen/cursor.h"
#include "printing/page_breaks.h"
#include "shell/document_facts.h"
#include "shell/goto_dialog.h"
#include "shell/sheet_dialogs.h"
#include "shell/shell_commands.h"

namespace {

constexpr int16_t kGoToItem = 6, kNamesItem = 7, kColumnNameItem = 8, kPrintTitlesItem = 9,
                  kProtectWorkbookItem = 12;
constexpr int kBeepTicks = 9;

// The setting-up commands are refused on a protected workbook, with its alert.
bool refused_when_protected(MemoryRef layer) {
    if (!check_access(layer)) return false;
    quorvin_alert(kProtectedWorkbookAlert);
    return true;
}

}  // namespace

void DoOptionMenu(MemoryRef record, int16_t item) {
    const DocumentFacts facts = read_document_facts(record ? record : front_document_record());
    MemoryRef layer = facts.layer;
    switch (item) {
        case kGoToItem: return go_to_command(layer);
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
        default: return pf::sys_beep(kBeepTicks);
    }
}
