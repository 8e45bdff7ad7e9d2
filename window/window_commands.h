// The worksheet window's commands and records for the rest of the program:
// making document windows, the Layer menu, the sheet-tab bar, the
// entry line, and the calculation library's wait, click-loop and
// cells-scrolled procedures.
#pragma once

#include "files/entry_script.h"

#include <cstdint>

#include "core/memory_manager.h"
#include "ui/task_manager.h"
#include "model/cell_range.h"

// A document window's record (the app ref of its task): its window, the layer
// it shows and that layer's workbook.
WindowRef doc_window_window(MemoryRef record);
MemoryRef doc_window_layer(MemoryRef record);
MemoryRef doc_window_workbook(MemoryRef record);
// The layer a window shows (nullptr when it is no document window).
MemoryRef GetSheetRef(WindowRef window);

// Lays a document window's layer out again after its settings changed.
void ResetWindow(WindowRef window);
void DoLayerMenu(MemoryRef record, int16_t item);
void MakeTabWindow();
// The quit: every changed workbook is asked about in turn, front to back,
// while all windows stay open; then every window closes without asking
// again. 0, or kQuitRefusedErr when the user cancelled or a save failed
// (nothing has closed then).
int16_t QuitDocuments();
extern int16_t untitled_ctr;
// The entry line (window/entry_line.h has the rest, and the document window
// whose cell is being edited): a click into it (which starts editing the
// front document's active cell, or moves the caret), and its drawing in its
// area of the command bar.
void ClickEditor(MemoryRef record);
// The same from the keyboard: editing starts with the caret after the text.
void click_editor_at_end(MemoryRef record);
void draw_entry_line(const pf::Rect& area);
// Shows the active cell of the record's layer (none: nothing) in the entry
// line unless a cell is being edited.
uint32_t DisplayText(MemoryRef record, uint16_t redraw);
// Fits the command bar's height to the entry line's text and shows its
// scroll bar when the text is taller than the tallest bar.
void SizeIconEditor();
// Pastes the clipboard's text, with its styles, at the entry line's caret.
uint32_t editor_paste(MemoryRef layer);
// The style text takes at the entry line's caret (its font says its script).
RunLook editor_caret_look();
// Pastes a text spelled in scripts (spell_text_in_scripts) at the entry
// line's caret, each run in the font of its script, as one undoable paste.
uint32_t editor_paste_text(const ScriptedText& text, const RunLook& look);
// After the entry line's text changed: the command bar's height and the
// in-cell view follow it.
void update_entry_editors();

// Retitles every window of a workbook; points their proxies at its file.
void rename_all_windows(MemoryRef workbook, MemoryRef file_info);
void proxy_all_windows(MemoryRef workbook, MemoryRef file_info);
// Makes the document window of a layer (the window, or none when it cannot
// be made); brings a cell of the layer into view (with scroll_to 1 at the
// pane's top-left, with 0 scrolling as little as possible).
void* MakeWind(void* window_record, int16_t show, MemoryRef layer);
// Shows the layer with the index in the record's window or a window of its own.
void select_layer(MemoryRef record, int16_t index);
void SheetAutoScroll(MemoryRef layer, CellPoint cell, int16_t scroll_to);
// The global content rectangle of a layer's document window, as a document
// stores it; false when the layer has no window.
bool layer_window_rect(MemoryRef layer, pf::Rect* rect);

void SheetWaitProc(MemoryRef layer, int32_t kind, int32_t done, int32_t total);
int16_t ClickLoop(void* window_record, int16_t pane, pf::Point where);
void CellsScrolled(MemoryRef layer);
