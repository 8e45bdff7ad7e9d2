// The item loop of the plain modal dialogs and the pictures drawn into their
// user items.
#pragma once

#include <cstdint>

#include "ui/dialog_items.h"

// The next item hit in one of these modal dialogs; the close box and the
// cancel keys answer Cancel (item 2).
int16_t next_dialog_item(DialogRef dialog);
// Erases the item's box and draws the picture resource into it (none: erased only).
void draw_item_picture(DialogRef dialog, int16_t item, int16_t picture_id);
