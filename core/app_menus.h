// The application's menus: the menu bar from MBAR 128, the application task's
// menu procedure that hands every menu to its handler, the Window menu kept in
// step with the document windows, and the recent-documents menu.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "core/task_manager.h"
#include "platform/files/files.h"
#include "resource_ids.h"

constexpr int16_t kFirstWindowItem = 8;

void InitAppMenus();
void remove_menu_bar();
void switch_language(int16_t ignored);
bool japanese_loaded();

int32_t app_menu_proc(EventRecord* event, uintptr_t app_ref, uintptr_t menu_pair);
void do_apple_menu(int16_t item);

// Window menu.
extern MemoryRef window_list;
void AddToWindowMenu(WindowRef window);
void RemoveFromWindowMenu(WindowRef window);
void RemoveWindowMenu();
int16_t find_window_item(WindowRef window);
int16_t GetWindowMenuItem(WindowRef window);
WindowRef window_of_menu_item(int16_t item);
// Where a new document window is staggered: the number of windows listed.
int16_t window_stagger_index();
void update_all_winds(int16_t resize);
MemoryRef GetSheetRef(WindowRef window);

// Recent documents.
void update_pref_specs(const pf::FileSpec* spec, int16_t add);
void open_special(int16_t index);
// Opens the document's file for a test, for writing when it may be written and
// else for reading, and closes it again: 0 when it can be opened, or the error.
pf::OSErr test_open_document(const pf::FileSpec& spec);

// The menu manager's answers for the event loop: (menu id << 16) | item, 0 for none.
int32_t menu_bar_choice(pf::Point where);
int32_t menu_key_choice(const EventRecord& event);
void unhilite_menu_bar();
// Pops up MENU menu_id with its first item at the point; answers the item chosen, 0 for none.
int16_t path_pop_up_choice(int16_t menu_id, pf::Point where);
// Dims what no window in front can use: the items whose commands are not
// built yet (dim_pending_commands, menus_pending.cpp), and Close, Save and
// Save As while no document window is open.
void dim_unavailable_commands();
void dim_pending_commands();
enum class MenuItemState { kMissing, kDisabled, kEnabled };
MenuItemState menu_item_state(int16_t menu, int16_t item);
