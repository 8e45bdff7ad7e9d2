// The application's answers to the document code's questions: its alerts and
// the password dialog.
#include "files/document_prompts.h"

#include <cstring>

#include "core/alerts.h"
#include "core/passwords.h"
#include "files/file_framing.h"
#include "model/workbook.h"
#include "shell/shell_services.h"

namespace {

constexpr int kLongestPassword = 15;

int16_t ask_with_alert(int16_t list, int16_t index) {
    return str_multi_alert(list, index, kStandardCautionAlert, kCautionAlertKind);
}

// The file-error list holds faults (stop icon); every other text is a note.
void tell_with_alert(int16_t list, int16_t index) {
    if (list == kErrorStrings) error_alert(list, index);
    else note_message_alert(list, index);
}

const pf::FileSpec* file_being_opened = nullptr;

// While a document opens, the message names it, and damage found by the
// reader says that the file is damaged.
void show_error(int16_t error) {
    if (!file_being_opened) {
        show_file_error(error);
        return;
    }
    show_named_file_error(error == kDamagedFileErr ? kDamagedDocumentErr : error, file_being_opened->name);
}

}  // namespace

DocumentPrompts application_prompts() { return DocumentPrompts{ask_with_alert, tell_with_alert, show_error, password_dialog}; }

DocumentPrompts document_prompts = application_prompts();

void report_document_progress(MemoryRef workbook, int32_t done, int32_t total) {
    auto* book = static_cast<WorkSheet*>(UseMemory(workbook));
    MachineRecord* machine = book->machine;
    UnuseMemory(workbook);
    if (machine && machine->wait) machine->wait(nullptr, 0, done, total);
}

OpeningFile::OpeningFile(const pf::FileSpec& spec) : outer(file_being_opened) { file_being_opened = &spec; }
OpeningFile::~OpeningFile() { file_being_opened = outer; }
const pf::FileSpec* opening_file() { return file_being_opened; }

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
