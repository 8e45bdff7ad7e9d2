// The View menu: split and frozen panes, the first and the active cell, the
// go-to dialog that remembers the cell chosen last, and the command bar's
// customisation.
#include "model/layer.h"
#include "shell/bar_dialogs.h"
#include "shell/goto_dialog.h"
#include "shell/shell_commands.h"
#include "window/keyboard_navigation.h"
#include "window/split_panes.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

CellPoint go_cell{0, 0};

void go_to_remembered_cell(MemoryRef layer) {
    CellRange range{go_cell, go_cell};
    if (go_to_asked(layer, &range)) go_cell = range.topLeft;
}

}  // namespace

void DoViewMenu(MemoryRef record, int16_t item) {
    MemoryRef layer = record ? doc_window_layer(record) : nullptr;
    if (!layer) return;
    switch (item) {
        case kViewSplitItem: split_window(record); break;
        case kViewFreezeItem: toggle_frozen_titles(record); break;
        case kViewFirstCellItem:
            nav_command(kNavSelectHome, layer);
            DisplayText(record, 1);
            break;
        case kViewActiveCellItem: nav_command(kNavShowActive, layer); break;
        case kViewGoToItem: go_to_remembered_cell(layer); break;
        case kViewCustomizeItem: customize_commandbar(); break;
        default: break;
    }
}
