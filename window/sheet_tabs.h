// The sheet-tab bar: one floating window, shared by all documents, with a tab
// for each layer of the front document window's workbook. A click on a tab
// shows its layer, a drag moves the layer, a double-click renames it; the
// buttons at either end scroll the tabs.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "ui/task_manager.h"

// The tab window (none while closed), the strip the tabs are drawn in, the
// largest first tab, and the request to bring the active tab into view.
extern WindowRef TabBar;
extern pf::Rect tab_rect;
extern int16_t Tab_Max;
extern bool Tab_Scroll;

constexpr int16_t kTabBarHeight = 29;
constexpr int16_t kButtonsWidth = 32;
constexpr int16_t kNoTabWidth = 32;
constexpr int16_t kTabWidthExtra = 18;
constexpr int16_t kTabNameLimit = 15;
constexpr int16_t kTabNameKept = 12;
constexpr uint32_t kPrefLayersOwnWindows = 0x2000;

// Scroll parts.
constexpr uint16_t kTabOneLeft = 20;
constexpr uint16_t kTabOneRight = 21;
constexpr uint16_t kTabTenLeft = 22;
constexpr uint16_t kTabTenRight = 23;

void HideTabWindow();
// The top of the tab bar's frame (global), or where it will stand once the
// first document window brings it; false when there is no tab bar.
bool tab_bar_top(int16_t* top);
// Asks for the tabs to be drawn again (the layers or the front window changed).
void invalidate_tabs();

// Cuts a name of more than `limit` characters to `kept` (one more when the
// last kept byte begins a two-byte character) and appends "...".
void stripEndChars(unsigned char* name, int16_t limit, int16_t kept);
// The width of a tab and its label: "number: name", or the number alone at
// 32 pixels for an index with no layer.
int32_t get_tab_size(int16_t index, MemoryRef workbook, unsigned char* label);
// The index of the layer whose tab lies under the point (local to the tab
// window) and that tab's rectangle; -1 when none.
int32_t findTab(pf::Point where, pf::Rect* rect, MemoryRef record);
// The last index whose tab fits wholly in the strip.
int32_t calc_tab_end(MemoryRef record);
void frame_tab(const pf::Rect& rect, uint16_t front);
void Draw_Tabs(MemoryRef record);
void TabScroll(uint16_t part);
// The first tab shown for a workbook, kept in its file record.
int16_t get_tab_value(MemoryRef workbook);
void set_tab_value(MemoryRef workbook, int16_t value);

// Task procedures of the tab window.
int32_t update_Tab_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t activate_Tab_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t idle_Tab_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t key_Tab_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t click_Tab_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t close_Tab_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t grow_tab_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);

// Layers and windows.
// Makes the document window of the record show another layer of its workbook.
void SwitchLayers(MemoryRef record, MemoryRef sheet);
// Copies of the layer: its layout only (with_data 0) or everything. 0, or the error.
int32_t CloneDocument(uint16_t with_data, MemoryRef sheet);
// A stop alert with the text as ^0; 1 at once while in the background.
uint32_t delete_alert(int16_t alert_id, const unsigned char* text);
// Deletes the layer (no question): its window, its editing and its record go.
// Refused for the last layer of a workbook. True when it was deleted.
bool delete_layer(MemoryRef layer);
// Moves the layer before the index (kLayerEnd: to the end), references and
// undo records following.
void move_layer(MemoryRef workbook, int16_t from, int16_t to);
// Renames the layer: the window title and the tabs follow.
void rename_layer(MemoryRef layer, const unsigned char* name);
