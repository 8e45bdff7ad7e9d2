// The Paste Special dialog: what to paste (all, values, formulas, formats),
// transpose, skip blanks and an arithmetic operation with the cells there.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "ui/dialog_items.h"

// The choice, transpose, skip blanks and operation asked, then the paste;
// nothing after Cancel.
void paste_special_dialog(MemoryRef layer);
// The operation character of the pop-up's value: 1 none, 2 to 5 + - * /.
int16_t paste_operation_of(int16_t popup_value);
// The user item drawing the operation's picture.
void draw_sample_item(DialogRef dialog, int16_t item);
