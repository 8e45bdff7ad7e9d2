#include "shell/sort_command.h"

#include "editing/cell_blocks.h"
#include "editing/sort.h"
#include "editing/undo_record.h"
#include "model/workbook.h"
#include "formula/recalc.h"
#include "platform/screen/cursor.h"

namespace {

constexpr int32_t kProtectedWorkbookAlert = 6;
constexpr int32_t kOneCellSortAlert = 104;
constexpr int kBeepTicks = 9;

bool is_one_cell(const CellRange& range) {
    return range.topLeft.v == range.botRight.v && range.topLeft.h == range.botRight.h;
}

}  // namespace

void Sort(MemoryRef layer, int16_t mode) {
    if (!layer) return;
    if (check_access(layer)) {
        layer_alert(layer, kProtectedWorkbookAlert);
        return;
    }
    const CellRange selection = current_selection(layer);
    if (is_one_cell(selection)) {
        layer_alert(layer, kOneCellSortAlert);
        return;
    }
    if (mode == 0) {  // the dialog that asks for the keys is not built yet
        pf::sys_beep(kBeepTicks);
        return;
    }
    const int16_t keys[kSortKeys] = {selection.topLeft.h, kNoSortKey, kNoSortKey};
    const uint16_t orders[kSortKeys] = {uint16_t(mode > 0 ? 1 : 0), 1, 1};
    QDraw();
    if (int16_t error = Sort_Sheet(layer, 1, keys, orders)) layer_alert(layer, error);
}
