#include "window/copy_outline.h"

#include "model/layer.h"
#include "model/workbook.h"
#include "window/selection_highlight.h"

namespace {

struct CopyOutline {
    MemoryRef layer = nullptr;
    CellRange range{};
    int16_t changes = 0;  // the workbook's change count at the copy
};
CopyOutline outline;

}  // namespace

void show_copy_outline(MemoryRef layer, const CellRange& range) {
    outline = CopyOutline{layer, range, get_change_ctr(GetWorkSheet(layer))};
}

void end_copy_outline() { outline = CopyOutline{}; }

void blink_copy_outline(MemoryRef layer) {
    if (!layer || outline.layer != layer) return;
    if (get_change_ctr(GetWorkSheet(layer)) != outline.changes) {
        end_copy_outline();
        return;
    }
    AntRect(layer, outline.range.topLeft, outline.range.botRight);
}
