// The headless answers of the sheet view's services: no menu lists windows,
// no document is remembered, an alert is answered by its first button, and
// there are no charts or tool windows.
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

constexpr WindowServices kHeadless{not_listed,     not_listed,      none_listed,
                                   not_remembered, nothing_to_open, first_button,
                                   no_chart,       no_range_text,   not_a_chart_range, no_chart_made, no_palette,
                                   no_tool_window};

}  // namespace

WindowServices window_services = kHeadless;

WindowServices headless_window_services() { return kHeadless; }
