// Modal dialogs on the front layer: range names, one number, workbook
// protection, the column name and the print title columns.
#pragma once

#include <cstdint>

#include "ui/dialog_items.h"
#include "core/memory_manager.h"
#include "resource_ids.h"

// The range-names dialog over a copy of the layer's names: 1 after OK (the
// layer takes the edited names), 0 after Cancel.
int16_t range_dialog(MemoryRef layer);

// One number in dialog `dialog_id`: shown in item 4 (in mode 3 as a length in
// points with the unit of the preferences), stepped by the little arrows of
// item 5; the window title is STR# 160 at `title` and the prompt STR# 128 at
// `prompt` (0: unchanged). OK takes a number from minimum to maximum (a
// length in points in mode 3); another is refused with a message, the field
// shows `limit` again and the dialog stays. 1 with the value, 0 after Cancel.
int16_t Multi_Dialog(int16_t dialog_id, int16_t minimum, int16_t maximum, int16_t limit, int16_t mode,
                     int16_t title, int16_t prompt, int16_t* value);
constexpr int16_t kLengthMode = 3;

// Protects the layer's workbook with the user's password: 1 when protection was set.
int16_t protect_dialog(MemoryRef layer);
// The clear text typed into a masked password field (at most 255 characters).
void read_password_field(DialogRef dialog, int16_t item, unsigned char* typed);

// Says why a password is refused (STR# 160 item `message` in the message
// item), empties the masked field for another try and beeps.
void refuse_password(DialogRef dialog, int16_t field, int16_t message_item, int16_t message);
// Shows item `index` of string list `list` in a static text item.
void show_indexed_string(DialogRef dialog, int16_t item, int16_t list, int16_t index);

// The name of the selection's left column: 1 when a name was set.
int16_t column_name_dlog(MemoryRef layer);
// The columns printed as titles on every page: 1 when accepted.
int16_t printcol_Dialog(MemoryRef layer);
