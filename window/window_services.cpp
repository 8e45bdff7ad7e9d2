// The headless answers of the sheet view's services: no menu lists windows,
// no document is remembered, an alert is answered by its first button, and
// there are no charts, tool windows, drawing objects, undo records, drags,
// command bar, menus or workspace.
#include "window/window_services.h"

#include "window/cell_entry.h"

namespace {

void not_listed(pf::WindowRef) {}
int16_t none_listed() { return 0; }
void not_remembered(const pf::FileSpec*, int16_t) {}
void nothing_to_open(int16_t) {}
int16_t first_button(int32_t) { return 1; }
MemoryRef no_chart(MemoryRef) { return nullptr; }
std::vector<uint8_t> no_range_text(MemoryRef) { return {}; }
int32_t not_a_chart_range(MemoryRef, const std::vector<uint8_t>&, MemoryRef) { return kEntryNotChartRange; }
int16_t no_chart_made(MemoryRef, int16_t) { return 0; }
void no_palette() {}
bool no_tool_window(pf::WindowRef) { return false; }
pf::WindowRef no_command_bar() { return nullptr; }
void no_bars(int16_t) {}
void nothing() {}
void no_bar_to_fit(int32_t, bool) {}
void no_scroll_bar(WEReference) {}
bool keep_tracking(WEReference) { return true; }
void no_message_area(MemoryRef) {}
void no_message(const unsigned char*, int16_t) {}
void no_progress_bar(int32_t, int32_t) {}
bool menus_in_step() { return true; }
void no_menus_to_follow(MemoryRef) {}
void no_workspace(pf::Handle alias) { pf::dispose_handle(alias); }
int16_t no_dialog(MemoryRef) { return 0; }
void no_tool(MemoryRef, int16_t) {}

MemoryRef no_object_selected(MemoryRef, int32_t) { return nullptr; }
void no_objects(MemoryRef) {}
int16_t key_not_taken(uint8_t, MemoryRef) { return 0; }
int16_t click_not_taken(MemoryRef, pf::Point, uint16_t, int16_t) { return 0; }
void no_objects_drawn(int16_t, MemoryRef) {}
int16_t no_object_cursor(MemoryRef, pf::Point, int16_t) { return 0; }
WEReference no_text_box_typed(MemoryRef) { return nullptr; }
int16_t no_line(MemoryRef) { return 0; }
int16_t object_not_shown(int16_t, int16_t, pf::Rect*, MemoryRef, MemoryRef) { return 0; }
int16_t no_anchor(MemoryRef, CellRange*) { return 0; }
void no_chart_part(MemoryRef, pf::Point) {}
int16_t no_undo_written(int16_t, int16_t, const CellRange*, const CellRange*, MemoryRef, MemoryRef, MemoryRef,
                        MemoryRef, MemoryRef, MemoryRef, MemoryRef) {
    return 1;
}
void no_undo_taken_back(MemoryRef) {}
void no_undo_followed(MemoryRef, bool, int16_t, int16_t) {}
void no_edit_menu(MemoryRef, int16_t) {}
int16_t no_cells_cleared(int16_t, MemoryRef) { return 0; }
void no_clipboard() {}
void no_drag_handlers(pf::WindowRef) {}
int16_t not_on_selection(pf::Point, int16_t, MemoryRef) { return 0; }
void no_fill_drag(MemoryRef, int16_t) {}
int16_t no_cell_drag(int16_t, MemoryRef, MemoryRef) { return 0; }
int16_t no_cell_move(int16_t, int16_t, int16_t, int16_t, MemoryRef) { return 0; }
void no_page_breaks(MemoryRef) {}

constexpr WindowServices kHeadless{not_listed,     not_listed,      none_listed,
                                   not_remembered, nothing_to_open, first_button,
                                   no_chart,       no_range_text,   not_a_chart_range, no_chart_made, no_palette,
                                   no_tool_window,
                                   no_object_selected, no_objects,       key_not_taken,    click_not_taken,
                                   no_objects,         no_objects_drawn, no_object_cursor, no_text_box_typed,
                                   no_line,
                                   object_not_shown,   no_anchor,        no_chart_part,
                                   no_undo_written,    no_undo_taken_back, no_undo_followed, no_edit_menu,
                                   no_cells_cleared,   no_clipboard,     no_drag_handlers, no_drag_handlers,
                                   not_on_selection,   no_fill_drag,     no_cell_drag,     no_cell_move,
                                   no_page_breaks,
                                   no_command_bar, no_bars, nothing, no_bar_to_fit, no_scroll_bar, keep_tracking,
                                   no_message_area, no_message, no_progress_bar, menus_in_step, nothing,
                                   no_menus_to_follow, no_workspace, no_dialog, no_tool};

}  // namespace

WindowServices window_services = kHeadless;

WindowServices headless_window_services() { return kHeadless; }
