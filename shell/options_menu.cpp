// The Options menu: Go To, Sort and Fill Series; the other commands are not
// built yet and beep.
#include "platform/screen/cursor.h"
#include "shell/command_dialogs.h"
#include "shell/document_facts.h"
#include "shell/goto_dialog.h"
#include "shell/shell_commands.h"
#include "shell/sort_command.h"
#include "window/window_commands.h"

namespace {

constexpr int16_t kGoToItem = 6, kSortItem = 14, kFillSeriesItem = 15;
constexpr int kBeepTicks = 9;

}  // namespace

void DoOptionMenu(MemoryRef record, int16_t item) {
    const MemoryRef window_record = record ? record : front_document_record();
    const DocumentFacts facts = read_document_facts(window_record);
    switch (item) {
        case kGoToItem: go_to_command(facts.layer); return;
        case kSortItem:
            if (!facts.object_selected) Sort(facts.layer, 0);
            break;
        case kFillSeriesItem:
            if (!facts.object_selected) series_dialog(facts.layer);
            break;
        default: return pf::sys_beep(kBeepTicks);
    }
    if (window_record) DisplayText(window_record, 1);
}
