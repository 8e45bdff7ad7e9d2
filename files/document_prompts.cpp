// What the document code asks and tells through its prompts, and the headless
// answers: questions take their default answer, messages and errors are not
// shown, and no password is ever typed.
#include "files/document_prompts.h"

#include "core/memory_use.h"
#include "model/workbook.h"

namespace {

int16_t default_answer(int16_t, int16_t) { return kAnswerOK; }
void not_told(int16_t, int16_t) {}
void error_not_shown(int16_t) {}
int16_t no_password(const uint8_t*) { return 0; }

constexpr DocumentPrompts kHeadless{
    .ask = default_answer, .tell = not_told, .file_error = error_not_shown, .password = no_password};

const pf::FileSpec* file_being_opened = nullptr;

}  // namespace

void tell_no_figures(int16_t, int16_t, const std::vector<std::string>&) {}
int16_t no_save_dialog(SaveRequest&) { return 1; }

// Constant-initialised, so that start-up code of any file may fill it.
DocumentPrompts document_prompts = kHeadless;

void report_document_progress(MemoryRef workbook, int32_t done, int32_t total) {
    MemoryUse<WorkSheet> book(workbook);
    MachineRecord* machine = book->machine;
    book.release();
    if (machine && machine->wait) machine->wait(nullptr, 0, done, total);
}

OpeningFile::OpeningFile(const pf::FileSpec& spec) : outer(file_being_opened) { file_being_opened = &spec; }
OpeningFile::~OpeningFile() { file_being_opened = outer; }
const pf::FileSpec* opening_file() { return file_being_opened; }

void report_file_error(int16_t error) {
    if (error) document_prompts.file_error(memory_error_to_tell(error));
}
