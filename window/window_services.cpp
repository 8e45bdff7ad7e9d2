// The headless answers of the sheet view's services: no menu lists windows,
// no document is remembered, an alert is answered by its first button, and
// there are no charts, tool windows, drawing objects, drags,
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
void no_edit_menu(MemoryRef, int16_t) {}
int16_t no_cells_cleared(int16_t, MemoryRef) { return 0; }
void no_clipboard() {}
void no_drag_handlers(pf::WindowRef) {}
int16_t not_on_selection(pf::Point, int16_t, MemoryRef) { return 0; }
void no_fill_drag(MemoryRef, int16_t) {}
int16_t no_cell_drag(int16_t, MemoryRef, MemoryRef) { return 0; }
int16_t no_cell_move(int16_t, int16_t, int16_t, int16_t, MemoryRef) { return 0; }
void no_page_breaks(MemoryRef) {}

constexpr WindowServices kHeadless{.list_window = not_listed,
                                   .unlist_window = not_listed,
                                   .listed_window_count = none_listed,
                                   .remember_document = not_remembered,
                                   .open_recent_document = nothing_to_open,
                                   .calc_alert = first_button,
                                   .selected_chart = no_chart,
                                   .range_text_of_chart = no_range_text,
                                   .take_typed_chart_range = not_a_chart_range,
                                   .create_chart = no_chart_made,
                                   .refresh_chart_palette = no_palette,
                                   .closes_as_tool_window = no_tool_window,
                                   .selected_object = no_object_selected,
                                   .reset_object_positions = no_objects,
                                   .object_key = key_not_taken,
                                   .click_in_object = click_not_taken,
                                   .let_go_of_objects = no_objects,
                                   .draw_objects_in_pane = no_objects_drawn,
                                   .cursor_over_object = no_object_cursor,
                                   .typed_text_box = no_text_box_typed,
                                   .line_size_of_object = no_line,
                                   .object_on_screen = object_not_shown,
                                   .object_anchor = no_anchor,
                                   .outline_chart_part_at = no_chart_part,
                                   .edit_menu = no_edit_menu,
                                   .clear_cells = no_cells_cleared,
                                   .export_clipboard = no_clipboard,
                                   .install_drag_handlers = no_drag_handlers,
                                   .remove_drag_handlers = no_drag_handlers,
                                   .selection_part_at = not_on_selection,
                                   .track_fill_handle = no_fill_drag,
                                   .drag_cells = no_cell_drag,
                                   .move_selected_cells = no_cell_move,
                                   .recompute_page_breaks = no_page_breaks,
                                   .app_command_bar = no_command_bar,
                                   .show_button_bar = no_bars,
                                   .refresh_entry_boxes = nothing,
                                   .fit_bar_to_entry_text = no_bar_to_fit,
                                   .entry_was_scrolled = no_scroll_bar,
                                   .entry_click_tracking = keep_tracking,
                                   .display_range = no_message_area,
                                   .show_message = no_message,
                                   .show_progress = no_progress_bar,
                                   .view_menu_on = menus_in_step,
                                   .refresh_menu_bar = nothing,
                                   .refresh_selection_menus = no_menus_to_follow,
                                   .add_workspace_item = no_workspace,
                                   .select_dialog = no_dialog,
                                   .create_tool = no_tool};

}  // namespace

WindowServices window_services = kHeadless;

WindowServices headless_window_services() { return kHeadless; }
