// What the sheet view needs from the layers above it (the Window menu, the
// recent documents, the calculation library's alerts, charts, the tool
// windows, the features, the command bar, the menus' state, the workspace),
// as a record of procedure slots the application fills in at start-up. The
// defaults answer as a program without menus or charts: nothing is listed or
// remembered, every alert is taken as answered by its first button, no chart
// is selected or made; there is no command bar, no menu and no workspace.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/files/files.h"
#include "platform/memory/memory.h"
#include "platform/windows/windows.h"
#include "styledtext/styled_text.h"

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
    std::vector<uint8_t> (*range_text_of_chart)(MemoryRef chart);
    int32_t (*take_typed_chart_range)(MemoryRef chart, const std::vector<uint8_t>& typed, MemoryRef layer);
    int16_t (*create_chart)(MemoryRef window_record, int16_t tool);
    void (*refresh_chart_palette)();

    // Whether a window is a tool window that Close closes in front of the
    // documents (Find, spelling).
    bool (*closes_as_tool_window)(pf::WindowRef window);

    // The features: drawing objects, charts, the Edit menu, cell drags
    // and page breaks. The defaults answer as a program without them: no
    // object is selected, under the mouse or drawn, no key
    // or click is taken, no page break is computed.

    // Drawing objects: the layer's selected object at an index (from 1;
    // nullptr for none); every object placed again after rows or columns
    // changed size; a key the selected objects take (1 when they took it);
    // a mouse-down at a pane's point (1 when an object took it); the objects
    // let go, as a click on the headings does; the objects that show in a
    // pane drawn; the cursor an object at a pane's point asks for (0 for
    // none); the styled text of the text box being typed in (nullptr for
    // none); an object's line size; whether an object shows in a pane (non-zero, with its
    // rectangle); the cells an object lies over (0 for none).
    MemoryRef (*selected_object)(MemoryRef layer, int32_t index);
    void (*reset_object_positions)(MemoryRef layer);
    int16_t (*object_key)(uint8_t key, MemoryRef layer);
    int16_t (*click_in_object)(MemoryRef layer, pf::Point where, uint16_t modifiers, int16_t pane);
    void (*let_go_of_objects)(MemoryRef layer);
    void (*draw_objects_in_pane)(int16_t pane, MemoryRef layer);
    int16_t (*cursor_over_object)(MemoryRef layer, pf::Point where, int16_t pane);
    WEReference (*typed_text_box)(MemoryRef layer);
    int16_t (*line_size_of_object)(MemoryRef object);
    int16_t (*object_on_screen)(int16_t pane, int16_t mode, pf::Rect* rect, MemoryRef object, MemoryRef layer);
    int16_t (*object_anchor)(MemoryRef object, CellRange* anchor);

    // Charts: the part of a selected chart under a point outlined once.
    void (*outline_chart_part_at)(MemoryRef layer, pf::Point where);

    // The Edit menu: an item chosen for a document window; the selected
    // cells cleared (asking what to clear when `ask`); the clipboard handed to
    // the system before a paste into the entry.
    void (*edit_menu)(MemoryRef window_record, int16_t item);
    int16_t (*clear_cells)(int16_t ask, MemoryRef layer);
    void (*export_clipboard)();

    // Cell drags: a document window's drag handlers installed, and taken away
    // as it closes; what a pane's point is on (kOnFillHandle,
    // kOnSelectionBorder or 0); the fill handle tracked and the series filled;
    // the selection dragged from its border; the selection moved by columns
    // and rows (0, or the answer of the alert that refused the move).
    void (*install_drag_handlers)(pf::WindowRef window);
    void (*remove_drag_handlers)(pf::WindowRef window);
    int16_t (*selection_part_at)(pf::Point where, int16_t pane, MemoryRef layer);
    void (*track_fill_handle)(MemoryRef layer, int16_t pane);
    int16_t (*drag_cells)(int16_t pane, MemoryRef clicked_object, MemoryRef layer);
    int16_t (*move_selected_cells)(int16_t columns, int16_t rows, int16_t confirm, int16_t undo_kind, MemoryRef layer);

    // Page breaks: the layer's page boundaries computed again.
    void (*recompute_page_breaks)(MemoryRef layer);

    // The commands layer: the command bar and its message area, the menus'
    // state, the workspace and the commands a click starts.
    // The command bar (nullptr for none): the bar of buttons it shows; its
    // cancel and accept boxes redrawn; its height fitted to the entry line's
    // text, with the entry line's scroll bar shown or hidden; the entry line's
    // scrolled and click-loop procedures.
    pf::WindowRef (*app_command_bar)();
    void (*show_button_bar)(int16_t bar_number);
    void (*refresh_entry_boxes)();
    void (*fit_bar_to_entry_text)(int32_t height, bool scroll_shown);
    void (*entry_was_scrolled)(WEReference entry);
    bool (*entry_click_tracking)(WEReference entry);
    // The message area: the reference of a layer's active cell, a text (with
    // force, drawn even when unchanged), the progress bar of a task.
    void (*display_range)(MemoryRef layer);
    void (*show_message)(const unsigned char* text, int16_t force);
    void (*show_progress)(int32_t done, int32_t total);
    // The menus: whether the View menu is enabled; the menu bar lit for the
    // front window; the items that follow the kind of a layer's selection.
    bool (*view_menu_on)();
    void (*refresh_menu_bar)();
    void (*refresh_selection_menus)(MemoryRef layer);
    // The workspace: an alias of a document to reopen at the next start (the
    // slot disposes of it).
    void (*add_workspace_item)(pf::Handle alias);
    // A click on a sheet: the Select dialog; the object of the document
    // window's pending drawing tool made.
    int16_t (*select_dialog)(MemoryRef layer);
    void (*create_tool)(MemoryRef window_record, int16_t tool);
};

extern WindowServices window_services;
WindowServices headless_window_services();
