// The preferences dialog's panels and the font and size pop-ups that other
// dialogs fill and read the same way.
#pragma once

#include <cstdint>

#include "ui/dialog_items.h"
#include "ui/app_prefs.h"

// Fills the pop-up with the installed fonts and chooses the font's name.
void set_font_pop(DialogRef dialog, int16_t item, int16_t font);
// The font number of the chosen name; 0 when the control has no menu.
int16_t get_pop_font(DialogRef dialog, int16_t item);
// Chooses the item of the size (9, 10, 12, 14, 18, 24, 36 points are items 1
// to 7; another size is added to the menu).
void set_size_pop(DialogRef dialog, int16_t item, int16_t size);
// The number written in the chosen item; without a menu, the control's value.
int16_t get_pop_size(DialogRef dialog, int16_t item);

// The fields the dialog edits, copied from one record to another: the
// dialog works on a copy of the record and hands these back on OK.
void copy_edited_prefs(const AppPrefs& from, AppPrefs& to);
// Stores the edited fields in the record and brings the running program in
// step: undo levels, drag and drop, inline input and the text rendering.
void apply_prefs_choices(const AppPrefs& edited);

// A typed value of the dialog refused: which one, with its range.
enum class PrefsField : int16_t { kUndoLevels = 1, kDecimalPlaces = 2, kColumnWidth = 3 };
struct PrefsRange {
    int32_t minimum, maximum;
};
PrefsRange prefs_field_range(PrefsField field);
