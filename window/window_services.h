// What the sheet view needs from the layers above it (the Window menu, the
// recent documents, the calculation library's alerts, charts, the tool
// windows), as a record of procedure slots the application fills in at
// start-up. The defaults answer as a program without menus or charts: nothing
// is listed or remembered, every alert is taken as answered by its first
// button, no chart is selected or made.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "platform/files/files.h"
#include "platform/windows/windows.h"

struct WindowServices {
    // The Window menu: lists a document window under its title, takes one
    // out; how many windows are listed (where a new window is staggered).
    void (*list_window)(pf::WindowRef window);
    void (*unlist_window)(pf::WindowRef window);
    int16_t (*listed_window_count)();

    // Recent documents: puts a document first among them (add 1) or takes it
    // out (0); opens the one at an index.
    void (*remember_document)(const pf::FileSpec* spec, int16_t add);
    void (*open_recent_document)(int16_t index);

    // The calculation library's alert for a code (the alert number in the low
    // half, a number it shows in the high half); answers the button.
    int16_t (*calc_alert)(int32_t code);

    // Charts: the layer's selected chart object (nullptr for none); its data
    // range as text, and typed text taken as its new range (an entry result
    // of cell_entry.h); a chart of a tool's kind made in a document window (0
    // when none was made); the chart palette redrawn for the front window.
    MemoryRef (*selected_chart)(MemoryRef layer);
    std::vector<uint8_t> (*chart_range_text)(MemoryRef chart);
    int32_t (*enter_chart_range)(MemoryRef chart, const std::vector<uint8_t>& typed, MemoryRef layer);
    int16_t (*create_chart)(MemoryRef window_record, int16_t tool);
    void (*redraw_chart_palette)();

    // Whether a window is a tool window that Close closes in front of the
    // documents (Find, spelling).
    bool (*is_closing_tool_window)(pf::WindowRef window);
};

extern WindowServices window_services;
WindowServices headless_window_services();
