#include "shell/border_tools.h"

#include "model/cell_format.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "ui/app_prefs.h"
#include "shell/document_facts.h"
#include "window/window_commands.h"
#include "window/front_document.h"

namespace {

// Styles a tool gives each side; -1 leaves the side alone.
struct ToolSides {
    int16_t left, top, right, bottom;
};
constexpr ToolSides kToolSides[kBorderTools - 2] = {
    {kNoBorder, kNoBorder, kNoBorder, kNoBorder}, {-1, -1, -1, kThinBorder},
    {-1, -1, -1, kThickBorder},                   {-1, -1, -1, kDoubleBorder},
    {-1, kThinBorder, -1, kThinBorder},           {-1, kThinBorder, -1, kDoubleBorder},
    {-1, kThinBorder, -1, kThickBorder},          {kThinBorder, -1, -1, -1},
    {-1, -1, kThinBorder, -1},                    {kThinBorder, kThinBorder, kThinBorder, kThinBorder},
};
constexpr uint16_t kToolWords[kBorderTools] = {0x0000, 0x0002, 0x0004, 0x0006, 0x0202, 0x0206,
                                               0x0204, 0x2000, 0x0020, 0x2222, 0x2200, 0x4400};
constexpr int16_t kFirstOutlineTool = 11;

void apply_sides(MemoryRef layer, const ToolSides& sides) {
    const CellRange range = selected_range(layer);
    if (sides.left >= 0) set_border_field(layer, range, kTopOrLeft, int16_t(kSecondSide + sides.left));
    if (sides.top >= 0) set_border_field(layer, range, kTopOrLeft, sides.top);
    if (sides.right >= 0) set_border_field(layer, range, kBottomOrRight, int16_t(kSecondSide + sides.right));
    if (sides.bottom >= 0) set_border_field(layer, range, kBottomOrRight, sides.bottom);
}

}  // namespace

void set_border_field(MemoryRef layer, const CellRange& range, int16_t field, int16_t value) {
    SetBits(field, value, &range, false, false, true, layer);
}

CellRange selected_range(MemoryRef layer) {
    LayerUse sheet(layer);
    const CellRange range = sheet->selection;
    return range;
}

void outline_cells(MemoryRef layer, int16_t style, int16_t colour) {
    const CellRange range = selected_range(layer);
    CellRange left = range, right = range, top = range, bottom = range;
    left.botRight.h = range.topLeft.h;
    right.topLeft.h = range.botRight.h;
    top.botRight.v = range.topLeft.v;
    bottom.topLeft.v = range.botRight.v;
    set_border_field(layer, left, kTopOrLeft, int16_t(kSecondSide + style));
    set_border_field(layer, right, kBottomOrRight, int16_t(kSecondSide + style));
    set_border_field(layer, top, kTopOrLeft, style);
    set_border_field(layer, bottom, kBottomOrRight, style);
    if (colour <= 0) return;
    set_border_field(layer, left, kLeftColour, colour);
    set_border_field(layer, right, kRightColour, colour);
    set_border_field(layer, top, kTopColour, colour);
    set_border_field(layer, bottom, kBottomColour, colour);
}

void DoGridMenu(int16_t item) {
    app_prefs.options2 |= kPrefRefreshButtons;
    if (item < 1 || item > kBorderTools) return;
    const DocumentFacts f = read_document_facts(front_document_record());
    if (!f.layer || f.object_selected) return;
    if (!Format_Sheet(kFormatUndoKind, -1, 0, false, true, true, f.layer)) return;
    if (item >= kFirstOutlineTool) outline_cells(f.layer, item == kFirstOutlineTool ? kThinBorder : kThickBorder, 0);
    else apply_sides(f.layer, kToolSides[item - 1]);
    DisplayText(f.record, 1);
}

uint16_t grid_tool_word(int16_t tool) { return tool >= 1 && tool <= kBorderTools ? kToolWords[tool - 1] : 0; }

int16_t grid_tool_of(uint16_t border_word) {
    if (border_word == kMixedBorders) return -1;
    for (int16_t tool = 1; tool <= kBorderTools; ++tool)
        if (kToolWords[tool - 1] == border_word) return tool;
    return 0;
}
