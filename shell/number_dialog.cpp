// The one-number dialog: a whole number or a length, with little arrows,
// checked against its range before it is taken.
#include <string>

#include "ui/alerts.h"
#include "ui/modal_dialog.h"
#include "ui/dialog_pictures.h"
#include "core/number_text.h"
#include "core/string_utils.h"
#include "platform/controls/controls.h"
#include "platform/resources/resources.h"
#include "shell/command_dialogs.h"
#include "ui/app_prefs.h"
#include "shell/sheet_dialogs.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2, kValueItem = 4, kArrowsItem = 5, kPromptItem = 6;
// The texts of a refused value: a number out of range, a text that is no whole
// number, a text that is no length.
constexpr int16_t kRangeMessage = 1, kWholeNumberMessage = 2, kLengthMessage = 3;

// The field's kind as the little arrows keep it, and the unit of a length (-1: a whole number).
struct NumberField {
    int16_t unit;
    int16_t kind;
};

NumberField field_of(int16_t mode) {
    if (mode != kLengthMode) return NumberField{-1, kWholeNumberField};
    return NumberField{app_prefs.margin_unit, int16_t(app_prefs.margin_unit + 1)};
}

std::string shown(int16_t value, const NumberField& field) {
    unsigned char text[256];
    if (field.unit < 0) Num_To_String(value, text);
    else convert_margin_num(value, text, field.unit);
    return pstring_text(text);
}

void show_value(DialogRef dialog, int16_t value, const NumberField& field) {
    unsigned char text[256];
    set_pstring(text, shown(value, field));
    SetDEditText(dialog, kValueItem, text);
    SetEditTextDialogItemFocus(dialog, kValueItem);
    SelectTheNumberStr(dialog, kValueItem);
}

void set_up_arrows(DialogRef dialog, int16_t minimum, int16_t maximum, int16_t value, const NumberField& field) {
    pf::ControlRef arrows = GetDialogControl(dialog, kArrowsItem);
    if (!arrows) return;
    pf::set_control_minimum(arrows, minimum);
    pf::set_control_maximum(arrows, maximum);
    pf::set_control_value(arrows, value);
    arrows->refcon = field.kind;
    pf::set_control_action(arrows, HandleLittleArrows);
}

void set_texts(DialogRef dialog, int16_t title, int16_t prompt) {
    if (title) pf::set_window_title(pf::get_dialog_window(dialog), pf::get_indexed_string(kCalcDialogStrings, title));
    if (prompt) show_indexed_string(dialog, kPromptItem, kPromptStrings, prompt);
}

// What is said of a refused value: its range, and how to write it when the
// text is no number.
int16_t refusal_message(bool a_number, const NumberField& field) {
    if (a_number) return kRangeMessage;
    return field.unit < 0 ? kWholeNumberMessage : kLengthMessage;
}

// The field's number when it lies in the range; otherwise says what is wrong,
// puts `limit` back and answers false.
bool read_value(DialogRef dialog, int16_t minimum, int16_t maximum, int16_t limit, const NumberField& field,
                int16_t* value) {
    const bool a_number = field_holds_number(dialog, kValueItem, minimum < 0, field.kind);
    if (ValidArrowNum(dialog, kValueItem, false, minimum, maximum, limit, field.kind)) {
        *value = field.unit < 0 ? GetDNum(dialog, kValueItem) : get_margin_num(dialog, kValueItem, nullptr, field.unit);
        return true;
    }
    figures_alert(kNumberMessages, refusal_message(a_number, field), {shown(minimum, field), shown(maximum, field)});
    SetEditTextDialogItemFocus(dialog, kValueItem);
    SelectTheDialogItemText(dialog, kValueItem, 0, kAllCharacters);
    return false;
}

}  // namespace

int16_t Multi_Dialog(int16_t dialog_id, int16_t minimum, int16_t maximum, int16_t limit, int16_t mode, int16_t title,
                     int16_t prompt, int16_t* value) {
    DialogRef dialog = StdNewDLOG(dialog_id, kOkItem, nullptr);
    if (!dialog) return 0;
    const NumberField field = field_of(mode);
    show_value(dialog, *value, field);
    set_up_arrows(dialog, minimum, maximum, *value, field);
    set_texts(dialog, title, prompt);
    const auto read = [&] { return read_value(dialog, minimum, maximum, limit, field, value); };
    return run_ok_cancel_dialog(dialog, read, [](int16_t) {});
}
