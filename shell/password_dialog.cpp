// The password check: a masked field, the prompt, and OK comparing what was
// typed with the password.
#include <algorithm>

#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "core/passwords.h"
#include "platform/controls/controls.h"
#include "platform/resources/resources.h"
#include "platform/screen/cursor.h"
#include "shell/sheet_dialogs.h"
#include "shell/shell_commands.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1;
constexpr int16_t kCancelItem = 2;
constexpr int16_t kPasswordItem = 4;
constexpr int16_t kPromptItem = 6;
constexpr int16_t kWrongPasswordString = 7;
constexpr int16_t kConfirmPrompt = 10;
constexpr int16_t kBeepTicks = 9;

void show_string(DialogRef dialog, int16_t index) { show_indexed_string(dialog, kPromptItem, kCalcDialogStrings, index); }

bool typed_matches(DialogRef dialog, const unsigned char* password) {
    unsigned char typed[256];
    read_password_field(dialog, kPasswordItem, typed);
    return compare_password(typed, password) != 0;
}


}  // namespace

void read_password_field(DialogRef dialog, int16_t item, unsigned char* typed) {
    size_t size = 0;
    typed[0] = 0;
    pf::ControlRef field = GetDialogControl(dialog, item);
    if (field && pf::get_control_data(field, pf::kControlEditTextPart, pf::kControlEditTextPasswordTag, 255,
                                      typed + 1, &size) == pf::noErr)
        typed[0] = uint8_t(std::min<size_t>(size, 255));
}

void refuse_password(DialogRef dialog, int16_t field, int16_t message_item, int16_t message) {
    show_indexed_string(dialog, message_item, kCalcDialogStrings, message);
    const unsigned char empty[] = {0};
    SetDEditText(dialog, field, empty);
    SetEditTextDialogItemFocus(dialog, field);
    pf::sys_beep(kBeepTicks);
}

void show_indexed_string(DialogRef dialog, int16_t item, int16_t list, int16_t index) {
    unsigned char text[256];
    pf::get_indexed_string(text, list, index);
    SetDText(dialog, item, text);
}

int16_t verify_dialog(const unsigned char* password, int16_t prompt) {
    DialogRef dialog = StdNewDLOG(kPasswordDialog, kOkItem, nullptr);
    if (!dialog) return 0;
    if (prompt) show_string(dialog, prompt);
    SetEditTextDialogItemFocus(dialog, kPasswordItem);
    pf::draw_dialog(dialog);
    int16_t answer = 0;
    for (;;) {
        pf::EventRecord event;
        int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
        if (item == kCancelItem || item == kModalCloseBox) break;
        if (item != kOkItem) continue;
        if (typed_matches(dialog, password)) {
            answer = 1;
            break;
        }
        if (prompt == kConfirmPrompt) break;
        refuse_password(dialog, kPasswordItem, kPromptItem, kWrongPasswordString);
    }
    StdDLOG_close(dialog, nullptr);
    return answer;
}
