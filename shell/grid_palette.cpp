#include "shell/grid_palette.h"

#include "ui/colours.h"
#include "model/cell_format.h"
#include "platform/controls/control_look.h"
#include "platform/windows/windows.h"
#include "ui/app_prefs.h"
#include "shell/border_tools.h"
#include "shell/document_facts.h"
#include "shell/palette_grid.h"
#include "shell/palette_windows.h"
#include "shell/shell_commands.h"
#include "window/front_document.h"
#include "window/floating_palette.h"

WindowRef GridPalette = nullptr;
int16_t g_grid_tool = 0;

namespace {

constexpr int16_t kGridPaletteTop = 439;
constexpr int16_t kFirstOutlineTool = 10;  // tools 10 to 12 show a block of four cells
constexpr pf::RGBColor kCellLineGrey{0xAAAA, 0xAAAA, 0xAAAA};
constexpr pf::RGBColor kDimmedInk{0x9999, 0x9999, 0x9999};
constexpr pf::RGBColor kMarkRed{0xDDDD, 0, 0};
constexpr pf::RGBColor kPaletteGrey{0xDDDD, 0xDDDD, 0xDDDD};

enum class Side { kLeft, kTop, kRight, kBottom };

// One line of a side, `depth` pixels inside the cell's edge.
void side_line(const pf::Rect& c, Side side, int16_t depth, const pf::RGBColor& ink) {
    switch (side) {
        case Side::kLeft: pf::fill_rect_color(pf::Rect{c.top, int16_t(c.left + depth), c.bottom, int16_t(c.left + depth + 1)}, ink); break;
        case Side::kTop: pf::fill_rect_color(pf::Rect{int16_t(c.top + depth), c.left, int16_t(c.top + depth + 1), c.right}, ink); break;
        case Side::kRight: pf::fill_rect_color(pf::Rect{c.top, int16_t(c.right - 1 - depth), c.bottom, int16_t(c.right - depth)}, ink); break;
        case Side::kBottom: pf::fill_rect_color(pf::Rect{int16_t(c.bottom - 1 - depth), c.left, int16_t(c.bottom - depth), c.right}, ink); break;
    }
}

// A side in a line style: thin one line, thick two, double two lines apart.
void draw_side(const pf::Rect& c, Side side, int16_t style, const pf::RGBColor& ink) {
    if (style == kNoBorder) return;
    side_line(c, side, 0, ink);
    if (style == kThickBorder) side_line(c, side, 1, ink);
    if (style == kDoubleBorder) side_line(c, side, 2, ink);
}

void draw_cell_lines(const pf::Rect& c) {
    for (Side side : {Side::kLeft, Side::kTop, Side::kRight, Side::kBottom}) side_line(c, side, 0, kCellLineGrey);
}

// Tools 1 to 9: one cell with the sides the tool sets.
void draw_cell_tool(const pf::Rect& box, int16_t tool, const pf::RGBColor& ink) {
    const pf::Rect cell{int16_t(box.top + 4), int16_t(box.left + 5), int16_t(box.bottom - 4), int16_t(box.right - 5)};
    draw_cell_lines(cell);
    const uint16_t word = grid_tool_word(tool);
    draw_side(cell, Side::kBottom, int16_t(word & 0xF), ink);
    draw_side(cell, Side::kRight, int16_t(word >> 4 & 0xF), ink);
    draw_side(cell, Side::kTop, int16_t(word >> 8 & 0xF), ink);
    draw_side(cell, Side::kLeft, int16_t(word >> 12 & 0xF), ink);
}

// Tools 10 to 12: four cells, every line thin, or the outline thin or thick.
void draw_block_tool(const pf::Rect& box, int16_t tool, const pf::RGBColor& ink) {
    const pf::Rect block{int16_t(box.top + 3), int16_t(box.left + 4), int16_t(box.bottom - 3), int16_t(box.right - 4)};
    const int16_t mid_h = int16_t((block.left + block.right) / 2), mid_v = int16_t((block.top + block.bottom) / 2);
    const pf::RGBColor& inner = tool == kFirstOutlineTool ? ink : kCellLineGrey;
    pf::fill_rect_color(pf::Rect{block.top, mid_h, block.bottom, int16_t(mid_h + 1)}, inner);
    pf::fill_rect_color(pf::Rect{mid_v, block.left, int16_t(mid_v + 1), block.right}, inner);
    const int16_t style = tool == kBorderTools ? kThickBorder : kThinBorder;
    for (Side side : {Side::kLeft, Side::kTop, Side::kRight, Side::kBottom}) draw_side(block, side, style, ink);
}

pf::Rect tool_box(int16_t tool) {
    pf::Rect box;
    FindToolBox(kToolRows, tool, &box);
    return box;
}

void frame_mark(int16_t tool, const pf::RGBColor& colour) {
    if (tool < 1) return;
    pf::frame_rect_color(pf::inset_rect(tool_box(tool), 1, 1), colour);
}

struct GridPort {
    GridPort() {
        PushWindowPort(GridPalette);
        pf::pen_normal();
    }
    ~GridPort() { PopPort(); }
};

void draw_face(bool active) {
    const pf::Rect face{0, 0, palette_height(kToolRows), palette_width()};
    paint_palette_background(face);
    DrawBorderImage(face, active);
}

int32_t update_grid_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (!GridPalette) return 1;
    GridPort port;
    draw_face(g_grid_tool >= 0);
    if (g_grid_tool > 0) frame_mark(g_grid_tool, kMarkRed);
    return 1;
}

}  // namespace

void DrawBorderImage(const pf::Rect& r, bool active) {
    draw_palette_lines(r, kToolRows, active);
    const pf::RGBColor& ink = active ? black_color : kDimmedInk;
    for (int16_t tool = 1; tool <= kBorderTools; ++tool) {
        const pf::Rect box = pf::offset_rect(tool_box(tool), r.left, r.top);
        if (tool >= kFirstOutlineTool) draw_block_tool(box, tool, ink);
        else draw_cell_tool(box, tool, ink);
    }
}

void update_grid(const uint16_t* border_word, bool force) {
    const int16_t old_tool = g_grid_tool;
    const int16_t tool = border_word ? grid_tool_of(*border_word) : 0;
    g_grid_tool = tool;
    if ((tool == old_tool && !force) || !GridPalette) return;
    GridPort port;
    if (tool < 0) return draw_face(false);
    if (old_tool < 0) draw_face(true);
    else frame_mark(old_tool, kPaletteGrey);
    frame_mark(tool, kMarkRed);
}

void show_selection_in_grid_palette(const DocumentFacts& f) {
    const uint16_t word = format_border_styles(f.format.bytes);
    update_grid(f.layer && !f.object_selected ? &word : nullptr, false);
}

void MakeGridWindow() {
    if (GridPalette) return;
    place_palette(kGridPalettePosition, kGridPaletteTop);
    GridPalette = make_palette_window("Borders", kGridPalettePosition, 0, palette_width(), palette_height(kToolRows),
                                      {.update = update_grid_proc,
                                       .idle = palette_idle_proc,
                                       .click = click_grid_proc,
                                       .key = pass_key_to_document,
                                       .close = close_grid_proc});
    if (GridPalette) show_selection_in_grid_palette(read_document_facts(front_document_record()));
}

int32_t close_grid_proc(EventRecord* event, uintptr_t, uintptr_t) {
    if (close_palette_window(GridPalette, kGridPalettePosition, kPrefGridPalette, event)) disarm_pending_tool();
    return 1;
}

int32_t click_grid_proc(EventRecord*, uintptr_t, uintptr_t) {
    if (const int16_t tool = chosen_palette_item(GridPalette, kToolRows)) DoGridMenu(tool);
    return 1;
}
