// Reading a field of the layout dialogs (document layout, page setup): a
// number or a length that must lie in its field's range.
#include <string>

#include "core/number_text.h"
#include "core/string_utils.h"
#include "files/layout_settings.h"
#include "platform/resources/resources.h"
#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "window/document_dialogs.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kRangeMessage = 1;

// Refuses the field's value: says what it may be and selects it for retyping.
void refuse(DialogRef dialog, int16_t item, LayoutField field, int16_t unit) {
    const LayoutRange range = layout_field_range(field);
    unsigned char lowest[256], highest[256];
    if (unit < 0) {
        Num_To_String(range.minimum, lowest);
        Num_To_String(range.maximum, highest);
    } else {
        convert_margin_num(int16_t(range.minimum), lowest, unit);
        convert_margin_num(int16_t(range.maximum), highest, unit);
    }
    const std::string name = pf::get_indexed_string(kLayoutMessages, kRangeMessage + 1 + int(field));
    figures_alert(kLayoutMessages, kRangeMessage, {name, pstring_text(lowest), pstring_text(highest)});
    SetEditTextDialogItemFocus(dialog, item);
    SelectTheDialogItemText(dialog, item, 0, kAllCharacters);
}

}  // namespace

bool read_layout_field(DialogRef dialog, int16_t item, LayoutField field, int16_t unit, int16_t* value) {
    const LayoutRange range = layout_field_range(field);
    const int16_t kind = unit < 0 ? kWholeNumberField : int16_t(unit + 1);
    if (!field_number_within(dialog, item, false, range.minimum, range.maximum, kind)) {
        refuse(dialog, item, field, unit);
        return false;
    }
    *value = unit < 0 ? GetDNum(dialog, item) : get_margin_num(dialog, item, nullptr, unit);
    return true;
}
