// The Options menu: Go To; the other commands are not built yet and beep.
#include "platform/screen/cursor.h"
#include "shell/document_facts.h"
#include "shell/goto_dialog.h"
#include "shell/shell_commands.h"

namespace {

constexpr int16_t kGoToItem = 6;
constexpr int kBeepTicks = 9;

}  // namespace

void DoOptionMenu(MemoryRef record, int16_t item) {
    if (item != kGoToItem) return pf::sys_beep(kBeepTicks);
    go_to_command(read_document_facts(record ? record : front_document_record()).layer);
}
