// Lists, menus and the keyboard: list boxes of dialogs (rows of one column,
// counted from 0), check marks and enabling of menus, pop-up menus that never
// cover the menu bar, the font and size menus, the state of the modifier keys,
// and the flavours and modifiers of drags.
#pragma once

#include <cstdint>

#include "platform/dialogs/dialogs.h"
#include "platform/drag/drag.h"
#include "platform/lists/lists.h"
#include "platform/menus/menus.h"

// ---- Lists -----------------------------------------------------------------------
// The one classic list of systems without list-box controls: none here.
pf::ListHandle GetStdList();
pf::ListHandle GetDialogListHandle(pf::DialogRef dialog, int16_t item);
// Whether the last click in a dialog's list box was a double click.
bool list_box_double_clicked(pf::DialogRef dialog, int16_t item);
void DrawList(pf::DialogRef dialog, int16_t item);
void ListDrawProc(pf::DialogRef dialog, pf::ListHandle list, int16_t item);
void StdListDrawProc(pf::DialogRef dialog, int16_t item);
// Appends a row holding the text; an empty text adds nothing.
void add_list_str(const unsigned char* text, pf::ListHandle list);
void clear_list_data(pf::ListHandle list);
void select_list_cell(pf::ListHandle list, int16_t row, bool select);
// The first selected row, -1 when none.
int16_t FindSelect(pf::ListHandle list);
// Up and down arrows move a selected row by one and scroll it into view: 1 when it moved.
int16_t list_key(pf::ListHandle list, unsigned char key);
// Replaces the list's definition procedure; the old one goes to `old` (which must
// be empty). -1 when refused.
int16_t InstallLDEF(pf::ListHandle list, pf::ListDefProc procedure, pf::ListDefProc* old);

// ---- Menus -------------------------------------------------------------------------
void check_menu_item(pf::MenuRef menu, int16_t first, int16_t last, int16_t on);
int16_t check_menu_enable(pf::MenuRef menu);
int16_t check_menu_disable(pf::MenuRef menu);
void enable_all_items(pf::MenuRef menu);
void disable_all_items(pf::MenuRef menu);
void remove_menu_items(pf::MenuRef menu, int16_t first);
// The item equal to the name (case and diacritics ignored), from the last up; 0 when none.
int16_t find_font_name(pf::MenuRef menu, const unsigned char* name);
void set_outline_item(pf::MenuRef menu, const unsigned char* font_name, int16_t size, int16_t item);
void set_other_item(pf::MenuRef menu, const unsigned char* text, int16_t item, int16_t value, bool show_value);
void SetMenuSize(pf::MenuRef menu, int16_t size);
void RestoreMenuSize(pf::MenuRef menu);
// Pops a menu up below the rectangle (local to the current port); the chosen item, 0 for none.
int16_t Do_Popup(const pf::Rect* rect, int16_t menu_id, bool load, int16_t current, int16_t item_under_point,
                 int16_t size);
void adjustSizePopup(pf::DialogRef dialog, int16_t item, int16_t size);
void editSizePopup(pf::DialogRef dialog, int16_t item);
void SavedFontNameUsed(pf::MenuRef menu, const unsigned char* name, int16_t encoding, int16_t count);

// ---- Keyboard ----------------------------------------------------------------------
bool OptionKeyDown();
bool CommandKeyDown();
bool CommandPeriod();
bool is_an_arrow(unsigned char ch);

// ---- Drags -------------------------------------------------------------------------
// Whether the item offers the flavour (0, or the drag manager's error). With `data`,
// its bytes in a new zero-filled handle, left null when reading fails.
pf::OSErr GetFlavor(pf::DragRef drag, pf::DragItemRef item, pf::FourCC type, pf::Handle* data);
// Whether Option was held when the drag began or was dropped; when the drag's
// modifiers cannot be read, whether Option is held now.
bool _WEIsOptionDrag(pf::DragRef drag);
// Whether the drag was dropped on a trash folder. Drags land only on our own
// windows or on our desktop, which holds no folders and so no trash: always
// false, so a drag never deletes what it carried.
bool DraggedToTrash(pf::DragRef drag);
