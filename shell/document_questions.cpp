// The application's answers to the document code's questions: its alerts and
// the password dialog.
#include "shell/document_questions.h"

#include <cstring>

#include "ui/alerts.h"
#include "ui/nav_dialogs.h"
#include "core/passwords.h"
#include "files/file_framing.h"
#include "shell/shell_commands.h"
#include "resource_ids.h"

namespace {

constexpr int kLongestPassword = 15;

// A question whose OK loses something (part of the document left out of the
// file, another program's file written over) is answered Cancel by Return.
int16_t ask_with_alert(int16_t list, int16_t index) {
    const bool loses = list == kFileStrings && (index == kOnlyShownLayer || index == kReplacedElsewhere);
    return str_multi_alert(list, index, loses ? kCancelFirstCautionAlert : kStandardCautionAlert, kCautionAlertKind);
}

// The file-error list holds faults (stop icon); every other text is a note.
void tell_with_alert(int16_t list, int16_t index) {
    if (list == kErrorStrings) error_alert(list, index);
    else note_message_alert(list, index);
}

// While a document opens, the message names it, and damage found by the
// reader says that the file is damaged.
void show_error(int16_t error) {
    const pf::FileSpec* opening = opening_file();
    if (!opening) {
        show_file_error(error);
        return;
    }
    show_named_file_error(error == kDamagedFileErr ? kDamagedDocumentErr : error, opening->name);
}

void tell_figures_with_alert(int16_t list, int16_t index, const std::vector<std::string>& figures) {
    figures_alert(list, index, figures);
}

}  // namespace

DocumentPrompts application_prompts() {
    return DocumentPrompts{.ask = ask_with_alert,
                           .tell = tell_with_alert,
                           .file_error = show_error,
                           .password = password_dialog,
                           .tell_figures = tell_figures_with_alert,
                           .save_dialog = run_document_save_dialog};
}

int16_t password_dialog(const uint8_t* stored) { return check_stored_password(stored, 0); }

int16_t check_stored_password(const uint8_t* stored, int16_t prompt) {
    unsigned char clear[kPasswordFieldBytes];
    std::memcpy(clear, stored, sizeof clear);
    decode_password(clear);
    if (clear[0] > kLongestPassword) clear[0] = kLongestPassword;
    return verify_dialog(clear, prompt);
}
