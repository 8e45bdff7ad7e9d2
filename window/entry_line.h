// The entry line: the one styled-text instance in which the contents of a
// cell are typed, shared by every document window. While inactive it shows
// the active cell of the front document; a key, a click or a command starts
// editing; Return, Enter, Tab, an arrow or a click in the sheet commits the
// text through cell data entry; Escape abandons it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/types.h"
#include "styledtext/styled_text.h"
#include "window/window_commands.h"

// What ties the entry line together.
struct EntryLineRecord {
    WEReference instance = nullptr;
    CellRange in_cell_range{};  // the cells the in-cell view covers
    int16_t saved_bar = 0;      // the button bar shown before editing began
    int16_t editor_pane = 0;    // the pane the in-cell view opens in
    uint32_t sleep_time = 0;    // handed to the engine's idle for the caret
};
extern EntryLineRecord WEList;

// The document window record whose cell is being edited; none when no cell is.
extern MemoryRef Editor_Wind;

// Second options word of the preferences: the entry line's bits.
constexpr uint32_t kPrefControlNavigation = 0x00000010;
constexpr uint32_t kPrefEngineExtraFlag = 0x00000020;
constexpr uint32_t kPrefSwapArrows = 0x00000080;
constexpr uint32_t kPrefEntryLineClicked = 0x10000000;

// Makes the instance in a port with its text area; the instance.
WEReference InitEntryLine(pf::Port* port, const pf::Rect& area);
void DisposeEntryLine();
void* entry_line_editor();
// Whether a cell is being edited in a document's entry line.
bool entry_line_editing();

// Starts editing the active cell of the layer shown in `record`: 1, or 0 when
// the workbook is protected or the cell locked (the user is told).
uint32_t activate_editor(uint16_t select_all, int16_t pane, MemoryRef layer, MemoryRef record);
uint32_t ActivateEditor(uint16_t select_all, int16_t pane, MemoryRef layer);
void DeActivateEditor();
// 1 when the text is a formula (begins with "=").
int16_t CheckFormula();
uint32_t add_range_text(uint16_t select, const CellRange& range, uint16_t modifiers, MemoryRef layer);
void AddFunctionStr(const unsigned char* name);
void IdleEditor();
// Redraws the rows of the edited cell (or of the two cells given).
uint32_t DrawInputCell(MemoryRef layer, const CellPoint* cells);
// Commits the entry: 1 when the editor closed, 0 when the entry was refused
// (the faulty part of the text is selected and the user told).
uint32_t Cell_Entry(MemoryRef layer, int8_t key);
void EditorKey(unsigned char key, MemoryRef record, int16_t modifiers);
// Shows, while no cell is edited, a text that was to go into the layer's
// active cell and was refused; DisplayText brings the cell's own text back.
void show_refused_entry(const std::vector<uint8_t>& text, MemoryRef layer);

// Shows the active cell of the front document again when what the entry line
// shows, while no cell is edited, is another cell or another document's; the
// event loop calls it after each pass.
void keep_entry_line_on_front_cell();

// The entry line's text (tests and the in-cell view).
int32_t entry_text(unsigned char* out, int32_t capacity);
