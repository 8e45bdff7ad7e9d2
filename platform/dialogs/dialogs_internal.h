// What the dialog module's files share: the list of dialogs, their making, and
// redrawing.
#pragma once

#include "platform/dialogs/dialogs.h"
#include "platform/draw/draw.h"

#include <vector>

namespace pf::dialogs_detail {

std::vector<DialogRef>& dialog_list();
DialogRef make_dialog(const Rect& bounds, std::string_view title, int16_t proc_id, bool visible,
                      const std::vector<DialogItemSpec>& items, bool go_away = false);
// The items of DITL id; false when missing or damaged.
bool load_item_list(int16_t ditl_id, std::vector<DialogItemSpec>& out);
// A template's rectangle placed on the screen by its position code.
Rect place_on_screen(const Rect& rect, uint16_t position);
void rgb_back_color_of(WindowRef window, const RGBColor& colour);
// The whole content is to be drawn again (on the next update event).
void invalidate_dialog(DialogRef dialog);

}  // namespace pf::dialogs_detail
