#include "shell/sort_command.h"

#include "editing/cell_blocks.h"
#include "editing/clipboard.h"
#include "editing/sort.h"
#include "model/undo_record.h"
#include "model/workbook.h"
#include "formula/recalc.h"
#include "shell/command_dialogs.h"
#include "window/selection_tracking.h"

namespace {

constexpr int32_t kProtectedWorkbookAlert = 6;
constexpr int32_t kOneCellSortAlert = 104;

}  // namespace

void Sort(MemoryRef layer, int16_t mode) {
    if (!layer) return;
    if (check_access(layer)) {
        layer_alert(layer, kProtectedWorkbookAlert);
        return;
    }
    const CellRange selection = current_selection(layer);
    if (is_single_cell(selection)) {
        layer_alert(layer, kOneCellSortAlert);
        return;
    }
    if (refuse_protected_change(layer, selection)) return;
    int16_t keys[kSortKeys] = {kNoSortKey, kNoSortKey, kNoSortKey};
    uint16_t orders[kSortKeys] = {1, 1, 1};
    uint16_t by_columns = 1;
    if (mode == 0) {
        if (!sort_dialog(keys, orders, &by_columns, &selection)) return;
    } else {
        keys[0] = selection.topLeft.h;
        orders[0] = mode > 0 ? 1 : 0;
    }
    QDraw();
    if (int16_t error = Sort_Sheet(layer, by_columns, keys, orders)) layer_alert(layer, error);
}
