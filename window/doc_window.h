// Document windows: each shows one layer of a workbook with its headings,
// grid and cells in up to four panes, and is a task of the event loop whose
// procedures draw it, activate it, route its clicks and keys, resize it and
// run its idle work. A layer's window field holds the window; the window's
// task holds the DocWindowRecord.
//
// Pane layout (SetActiveRects, recomputed whenever the window's size,
// headings, dividers or frozen titles change):
// - The layer's view rectangle is the window's content less 15 pixels at the
//   right and at the bottom (the scroll bars); panes end at its right and
//   bottom edges.
// - With headings shown, pane 0 starts below the column headers (y 14) and
//   right of the row headers (x 32); without them at (0, 0).
// - A row split at divider y ends the upper panes (0 and 2) at y and starts
//   the lower ones (1 and 3) at y + 5, below the divider's two lines; a column
//   split at divider x ends the left panes (0 and 1) at x and starts the right
//   ones (2 and 3) at x + 5. A divider outside the content makes no split.
// - Frozen titles (instead of splits) end pane 0 after the frozen rows and
//   columns; the next pane starts one pixel further, after the title line.
// - An unused pane has a left edge of -1 and a visible range starting at -1.
// - Each used pane's visible range is recomputed from its top-left cell: panes
//   0 and 2, and 1 and 3, share their top row; 0 and 1, and 2 and 3, their
//   left column; a pane coming into use starts where its neighbour ends.
// - The answer is non-zero when a pane rectangle changed.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "ui/task_manager.h"
#include "model/cell_range.h"
#include "platform/controls/controls.h"

constexpr int16_t kScrollBarWidth = 15;

// What the page layout of a layer was last worked out from: while it stays the
// same the pages cannot have moved.
struct PageInputs {
    uint32_t edits = 0;
    MemoryRef cells = nullptr;
    int32_t cells_size = -1;
    MemoryRef column_formats = nullptr;
    MemoryRef row_formats = nullptr;
    bool operator==(const PageInputs&) const = default;
};
PageInputs page_inputs_of(MemoryRef layer);

struct DocWindowRecord {
    WindowRef window;       // 0 once the window is closing
    MemoryRef sheet;        // the layer shown
    MemoryRef workbook;     // the layer's workbook
    MemoryRef self;         // this record's own ref
    pf::ControlRef vertical_bar[2];    // panes 0 and 1
    pf::ControlRef horizontal_bar[2];  // panes 0 and 2
    uint16_t tool;          // drawing tool for the next click, 0 none
    PageInputs pages;       // what the page-break marks were last laid out from
};

DocWindowRecord read_doc_window(MemoryRef record);
// The page-break marks of the record's layer, when shown, follow the cells: its
// pages are laid out again (the window redrawn when they moved) unless nothing
// they depend on changed since the last time.
void follow_page_marks(MemoryRef record);
void write_doc_window(MemoryRef record, const DocWindowRecord& fields);
// The document window showing a layer, or null.
WindowRef layer_window(MemoryRef layer);
// Invalidates the rows of a range in every shown pane of the layer's window.
void DrawCells(const CellRange* range, MemoryRef layer);
// The record of a document window, or null for any other window.
MemoryRef window_doc_record(WindowRef window);
// Whether any document window is open.
bool any_document_window();

// Task procedures.
int32_t update_doc_proc(EventRecord* event, uintptr_t record, uintptr_t window);
int32_t ActivateDocProc(EventRecord* event, uintptr_t record, uintptr_t window);
int32_t DocumentIdle(EventRecord* event, uintptr_t record, uintptr_t window);
int32_t click_doc_proc(EventRecord* event, uintptr_t record, uintptr_t window);
int32_t DocumentKey(EventRecord* event, uintptr_t record, uintptr_t window);
int32_t grow_doc_proc(EventRecord* event, uintptr_t record, uintptr_t window);
int32_t zoom_doc_proc(EventRecord* event, uintptr_t record, uintptr_t window);
int32_t DocumentClose(EventRecord* event, uintptr_t record, uintptr_t window);

void inval_grow(WindowRef window);
// The split boxes: the row-split box at the top of the vertical scroll-bar
// strip (at the divider when split), the column-split box at the left of the
// horizontal one; and their drawing (none while titles are frozen).
void v_divider(MemoryRef record, pf::Rect* rect);
void h_divider(MemoryRef record, pf::Rect* rect);
void draw_hdivider(MemoryRef record);
void draw_divider(MemoryRef record);
// Lays out the view rectangle, the panes and the scroll bars after a change of size or split.
void ViewChanged(MemoryRef record, int16_t hide_first);
void Show_Hide_Bars(MemoryRef record, bool show);
