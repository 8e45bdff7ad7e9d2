// The menus, palettes, dialogs and preferences of the shell, for the core
// runtime: the preferences file and workspace, the application's idle
// procedure, the command bar and palettes, the splash and About boxes, the menu
// handlers and the menu-enabling and button-state procedures.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "ui/task_manager.h"
#include "files/running_copies.h"
#include "platform/files/files.h"
#include "platform/menus/menus.h"
#include "ui/app_prefs.h"

// Preferences and the memory manager's swap file.
int16_t ReadPrefs();
// Keeps the table of folder ids in the preferences folder, so that file
// specifications stored in the preferences resolve in a later run.
void keep_folder_ids_across_runs();
int16_t WritePrefs();
int16_t access_vm_file(int16_t* ref_num);

// The password check (DLOG 1201): 1 when the password typed matches the clear
// length-prefixed `password`, 0 on Cancel. A wrong password is said in the
// dialog, which waits for another try, except when confirming a new password
// (prompt 10), which a mismatch ends with 0.
int16_t verify_dialog(const unsigned char* password, int16_t prompt);

// The workspace: the documents to reopen at the next start.
int16_t OpenWorkspaceItems();
void RemoveWorkspaceItems();
void AddWorkspaceItem(pf::Handle alias);
// A copy of the workspace list, and the list put back from such a copy.
MemoryRef CopyWorkspaceItems();
void RestoreWorkspaceItems(MemoryRef copy);
int16_t CountWorkspaceItems();
// Opens the preferences file's resource fork for reading and writing, making the
// file and the fork when missing; `ref` is -1 when no fork could be opened.
int16_t OpenPrefsRsrcFile(int16_t* ref, int16_t* volume);

// Recent documents (menu 140).
void RemovePrefItem(int16_t index);
void ResetFavoriteMenu();

// Idle, menu enabling and buttons.
void command_idle();
int32_t MenuHiliteProc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t ButtonHiliteProc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
void draw_cmd_msg(const unsigned char* text, int16_t force);
// The message area at rest: the front document's cell reference, or nothing
// without a document. Idle shows it wherever the mouse is but over the command
// bar, whose own idle shows the help of what lies under the mouse instead.
void show_front_reference();
void show_resting_message(WindowRef under_mouse);
// The command bar's progress bar: done of total, nothing filled for a total of 0.
void draw_progress(int32_t done, int32_t total);
// Disables (0) or enables (1) the menus 129 to 136 around a modal dialog; a
// movable modal dialog keeps the application menu.
void DialogMenubar(int16_t enable, int16_t movable_modal);

// The calculation library's display slots.
struct CellRange;
void DisplaySelection(const CellRange* selection);
void DisplayRange(MemoryRef layer);
void DisplaySize(int32_t pixels);
void Display_WidthHeight(int32_t width, int32_t height);

// Windows of the shell.
WindowRef MakeIconWindow();
WindowRef command_bar_window();
void MakeColorWindow();
void MakeToolWindow();
void MakeGridWindow();
void MakeOpWindow();
// The options window while it is open, else null.
extern WindowRef OpPalette;
WindowRef Do_Splash();
void DoAbout();
void get_app_prefs(int16_t panel);

// Menu definition procedures of the colour grid (251), the tool palettes (252)
// and the patterns (253).
void COLORMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params);
void PaletteMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params);
void PatternMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params);

// Help menu: the user's guide and the function guide. DoHelpMenu answers -1
// without a Help menu, else 0 or the error of finding or opening the page
// (the user is told where the pages are).
void InitHelpMenu();
int16_t GetHelpMenuID();
int32_t DoHelpMenu(int16_t item);

// Menu handlers: (document window record or none, item).
void DoOptionMenu(MemoryRef window_record, int16_t item);
// Enables and marks the Options menu for a document's layer (none: all dimmed).
void set_option_menu(MemoryRef layer);
void DoWindowMenu(MemoryRef window_record, int16_t item);
void DoViewMenu(MemoryRef window_record, int16_t item);
void DoPrefsMenu(MemoryRef window_record, int16_t item);
void DoFontMenu(MemoryRef window_record, int16_t item);
void DoSizeMenu(MemoryRef window_record, int16_t item);
void DoStyleMenu(MemoryRef window_record, int16_t item);
void DoAlignMenu(MemoryRef window_record, int16_t item);
void DoAlignOptionMenu(MemoryRef window_record, int16_t item);
void DoArrangeMenu(MemoryRef window_record, int16_t item);
void DoPaletteMenu(MemoryRef window_record, int16_t item);
// Checks the Palettes menu's item of each open palette.
void set_palette_menu();
void Do_showhide_Menu(MemoryRef window_record, int16_t item);
// Checks the Show and Hide items whose layer switches are on in the front document.
void set_showhide_menu();
void DoCommandMenu(MemoryRef window_record, int16_t item);
void DoToolMenu(MemoryRef window_record, int16_t item);
void ColorMenus(int16_t menu, int16_t item);
void PatternMenus(int16_t menu, int16_t item);
