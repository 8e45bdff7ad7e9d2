// The View menu: split and frozen panes, the first and the active cell, the
// go-to dialog that remembers the cell chosen last, and the command bar's
// customisation.
#include "model/layer.h"
#include "shell/bar_dialogs.h"
#include "shell/goto_dialog.h"
#include "shell/shell_commands.h"
#include "shell/shell_pending.h"
#include "window/keyboard_navigation.h"
#include "window/split_panes.h"
#include "window/window_commands.h"

namespace {

enum ViewItem : int16_t {
    kSplitItem = 1,
    kFreezeItem = 2,
    kFirstCellItem = 4,
    kActiveCellItem = 5,
    kGoToItem = 6,
    kCustomizeItem = 11,
};

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
        case kSplitItem: split_window(record); break;
        case kFreezeItem: toggle_frozen_titles(record); break;
        case kFirstCellItem:
            nav_command(kNavSelectHome, layer);
            DisplayText(record, 1);
            break;
        case kActiveCellItem: nav_command(kNavShowActive, layer); break;
        case kGoToItem: go_to_remembered_cell(layer); break;
        case kCustomizeItem: customize_commandbar(); break;
        default: break;
    }
}
