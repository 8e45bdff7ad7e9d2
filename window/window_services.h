// What the sheet view needs from the layers above it (the Window menu, the
// recent documents, the calculation library's alerts, charts, the tool
// windows, the command bar, the menus' state, the workspace), as a record of procedure slots the application fills in at
// start-up. The defaults answer as a program without menus or charts: nothing
// is listed or remembered, every alert is taken as answered by its first
// button, no chart is selected or made; there is no command bar, no menu, no
// palette and no workspace.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "platform/files/files.h"
#include "platform/memory/memory.h"
#include "platform/windows/windows.h"

struct WEInstance;

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

    // The commands layer: the command bar and its message area, the menus'
    // state, the palettes, the workspace and the commands a click starts.
    // The command bar (nullptr for none): the bar of buttons it shows; its
    // cancel and accept boxes redrawn; its height fitted to the entry line's
    // text, with the entry line's scroll bar shown or hidden; the entry line's
    // scrolled and click-loop procedures.
    pf::WindowRef (*command_bar_window)();
    void (*switch_bars)(int16_t bar_number);
    void (*redraw_entry_boxes)();
    void (*fit_command_bar_to_entry)(int32_t height, bool scroll_shown);
    void (*entry_scrolled)(WEInstance** entry);
    bool (*entry_click_loop)(WEInstance** entry);
    // The message area: the reference of a layer's active cell, a text (with
    // force, drawn even when unchanged), the progress bar of a task.
    void (*display_range)(MemoryRef layer);
    void (*draw_cmd_msg)(const unsigned char* text, int16_t force);
    void (*draw_progress)(int32_t done, int32_t total);
    // The menus: whether the View menu is enabled; the menu bar lit for the
    // front window; the items that follow the kind of a layer's selection.
    bool (*view_menu_enabled)();
    void (*fix_menu_hilite)();
    void (*follow_selection_kind)(MemoryRef layer);
    // Whether a palette stands in a column at the screen's left edge `left`.
    bool (*palette_at_left)(int16_t left);
    // The workspace: an alias of a document to reopen at the next start (the
    // slot disposes of it).
    void (*add_workspace_item)(pf::Handle alias);
    // A click on a sheet: the Select dialog; the object of the document
    // window's pending drawing tool made.
    int16_t (*select_dialog)(MemoryRef layer);
    void (*create_tool)(MemoryRef window_record, int16_t tool);
    // A closing document window's drag handlers taken away.
    void (*remove_drag_handlers)(pf::WindowRef window);
};

extern WindowServices window_services;
WindowServices headless_window_services();
