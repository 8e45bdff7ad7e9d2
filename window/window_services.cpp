// The headless answers of the sheet view's services: no menu lists windows,
// no document is remembered, an alert is answered by its first button, and
// there are no charts, tool windows, command bar, menus, palettes or workspace.
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
void no_scroll_bar(WEInstance**) {}
bool keep_tracking(WEInstance**) { return true; }
void no_message_area(MemoryRef) {}
void no_message(const unsigned char*, int16_t) {}
void no_progress_bar(int32_t, int32_t) {}
bool menus_in_step() { return true; }
void no_menus_to_follow(MemoryRef) {}
bool no_palette_at_left(int16_t) { return false; }
void no_workspace(pf::Handle alias) { pf::dispose_handle(alias); }
int16_t no_dialog(MemoryRef) { return 0; }
void no_tool(MemoryRef, int16_t) {}
void not_a_drag_target(pf::WindowRef) {}

constexpr WindowServices kHeadless{not_listed,     not_listed,      none_listed,
                                   not_remembered, nothing_to_open, first_button,
                                   no_chart,       no_range_text,   not_a_chart_range, no_chart_made, no_palette,
                                   no_tool_window,
                                   no_command_bar, no_bars, nothing, no_bar_to_fit, no_scroll_bar, keep_tracking,
                                   no_message_area, no_message, no_progress_bar, menus_in_step, nothing,
                                   no_menus_to_follow, no_palette_at_left, no_workspace, no_dialog, no_tool,
                                   not_a_drag_target};

}  // namespace

WindowServices window_services = kHeadless;

WindowServices headless_window_services() { return kHeadless; }
