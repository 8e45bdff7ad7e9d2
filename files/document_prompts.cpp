// The application's answers to the document code's questions: its alerts and
// the password dialog.
#include "files/document_prompts.h"

#include <cstring>

#include "core/alerts.h"
#include "core/nav_dialogs.h"
#include "core/passwords.h"
#include "model/workbook.h"
#include "shell/shell_services.h"

namespace {

constexpr int kLongestPassword = 15;

int16_t ask_with_alert(int16_t list, int16_t index) {
    return str_multi_alert(list, index, kStandardCautionAlert, kCautionAlertKind);
}

void tell_with_alert(int16_t list, int16_t index) { error_alert(list, index); }

void show_error(int16_t error) { show_file_error(error); }

void tell_figures_with_alert(int16_t list, int16_t index, const std::vector<std::string>& figures) {
    figures_alert(list, index, figures);
}

}  // namespace

void tell_no_figures(int16_t, int16_t, const std::vector<std::string>&) {}
int16_t no_save_dialog(SaveRequest&) { return 1; }

DocumentPrompts application_prompts() {
    return DocumentPrompts{ask_with_alert,          tell_with_alert, show_error, password_dialog,
                           tell_figures_with_alert, run_document_save_dialog};
}

DocumentPrompts document_prompts = application_prompts();

void report_document_progress(MemoryRef workbook, int32_t done, int32_t total) {
    auto* book = static_cast<WorkSheet*>(UseMemory(workbook));
    MachineRecord* machine = book->machine;
    UnuseMemory(workbook);
    if (machine && machine->wait) machine->wait(nullptr, 0, done, total);
}

void report_file_error(int16_t error) {
    if (error) document_prompts.file_error(error);
}

int16_t password_dialog(const uint8_t* stored) {
    unsigned char clear[kPasswordFieldBytes];
    std::memcpy(clear, stored, sizeof clear);
    decode_password(clear);
    if (clear[0] > kLongestPassword) clear[0] = kLongestPassword;
    return verify_dialog(clear, 0);
}
