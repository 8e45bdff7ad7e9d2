// The Options menu: Go To, range names, column name, print titles and
// workbook protection; the other commands are not built yet and beep.
#include "platform/screen/cursor.h"
#include "shell/document_facts.h"
#include "shell/goto_dialog.h"
#include "shell/sheet_dialogs.h"
#include "shell/shell_commands.h"

namespace {

constexpr int16_t kGoToItem = 6, kNamesItem = 7, kColumnNameItem = 8, kPrintTitlesItem = 9,
                  kProtectWorkbookItem = 12;
constexpr int kBeepTicks = 9;

}  // namespace

void DoOptionMenu(MemoryRef record, int16_t item) {
    MemoryRef layer = read_document_facts(record ? record : front_document_record()).layer;
    switch (item) {
        case kGoToItem: return go_to_command(layer);
        case kNamesItem: range_dialog(layer); return;
        case kColumnNameItem: column_name_dlog(layer); return;
        case kPrintTitlesItem: printcol_Dialog(layer); return;
        case kProtectWorkbookItem: protect_dialog(layer); return;
        default: return pf::sys_beep(kBeepTicks);
    }
}
