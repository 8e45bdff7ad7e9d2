// The application's menus: the application task's menu procedure that hands
// every menu to its handler, the Window menu kept in step with the document
// windows, and the recent-documents menu.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "ui/task_manager.h"
#include "platform/files/files.h"
#include "resource_ids.h"
#include "ui/menu_bar.h"

int32_t app_menu_proc(EventRecord* event, uintptr_t app_ref, uintptr_t menu_pair);
void do_apple_menu(int16_t item);
// The menus the menu bar gets from the application: recent documents, Window, Help.
void fill_app_menus();

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

// Recent documents.
void update_pref_specs(const pf::FileSpec* spec, int16_t add);
void open_special(int16_t index);
