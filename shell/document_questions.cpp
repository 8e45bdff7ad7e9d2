// The application's answers to the document code's questions: its alerts and
// the password dialog.
#include "shell/document_questions.h"

#include <cstring>

#include "core/alerts.h"
#include "core/passwords.h"
#include "shell/shell_commands.h"

namespace {

constexpr int kLongestPassword = 15;

int16_t ask_with_alert(int16_t list, int16_t index) {
    return str_multi_alert(list, index, kStandardCautionAlert, kCautionAlertKind);
}

void tell_with_alert(int16_t list, int16_t index) { error_alert(list, index); }

void show_error(int16_t error) { show_file_error(error); }

}  // namespace

DocumentPrompts application_prompts() { return DocumentPrompts{ask_with_alert, tell_with_alert, show_error, password_dialog}; }

int16_t password_dialog(const uint8_t* stored) {
    unsigned char clear[kPasswordFieldBytes];
    std::memcpy(clear, stored, sizeof clear);
    decode_password(clear);
    if (clear[0] > kLongestPassword) clear[0] = kLongestPassword;
    return verify_dialog(clear, 0);
}
