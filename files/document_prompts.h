// What the document reader and writer ask and tell the user, as a record of
// procedure slots: the application shows alerts and dialogs; a program
// without windows (the converter) or a test answers by itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/alert_kinds.h"
#include "core/memory_manager.h"
#include "platform/files/files.h"
#include "resource_ids.h"

// Texts the document code shows (string list and item): the file-error list
// (kErrorStrings) and the list of the File commands.
constexpr int16_t kConvertQuestion = 29;     // convert an older document?
constexpr int16_t kWrongFileType = 31;       // the file to replace is of another kind
constexpr int16_t kFileOfOpenDocument = 36;  // the file to replace is that of another open document
constexpr int16_t kLayerOverOwnFile = 37;    // one layer would replace its whole document's file
constexpr int16_t kOnlyShownLayer = 5;       // only the shown layer is written: go on?
constexpr int16_t kExportExists = 6;         // an export file exists already: replace?
constexpr int16_t kBackupFailed = 7;         // no backup could be made: opened read-only
constexpr int16_t kOtherLayersUnsaved = 9;   // the other layers are not in the saved file
constexpr int16_t kUnconvertedSaveAs = 10;   // a read-only older document needs a new name
constexpr int16_t kNamesDropped = 11;        // names of ranges outside the grid were left out
constexpr int16_t kLossyImportSaveAs = 12;   // a file read with losses is not saved over unasked
constexpr int16_t kReplacedElsewhere = 13;   // another program replaced the file: write over it?
constexpr int16_t kFormulasSavedAsValues = 14;  // formulas naming other layers or names were saved as values
constexpr int16_t kInterruptedSaveFinished = 15;  // a save cut short was finished before the document was opened
constexpr int16_t kLettersWrittenAsMarks = 16;  // letters the file's encoding lacks were written as "?"

constexpr int16_t kAnswerOK = 1;
constexpr int16_t kAnswerCancel = 2;

// What the Save dialog is asked and answers.
struct SaveRequest {
    const pf::FileSpec* location = nullptr;  // the document's, or none
    const unsigned char* name = nullptr;     // the name proposed
    int16_t code = 0;                        // the format first shown; the format chosen
    int16_t reason = 0;                      // item of STR# 130 that says why a name is asked, 0 none
    pf::FileSpec chosen{};
    bool replacing = false;                  // the chosen file exists and is to be replaced
};

// The slots' defaults for a program without windows: no message, and a Save
// dialog that is cancelled.
void tell_no_figures(int16_t list, int16_t index, const std::vector<std::string>& figures);
int16_t no_save_dialog(SaveRequest& request);

struct DocumentPrompts {
    // A caution question (string list, item); answers the item hit (1 OK, 2 Cancel).
    int16_t (*ask)(int16_t list, int16_t index);
    // A message to note (string list, item).
    void (*tell)(int16_t list, int16_t index);
    // A file error by its number.
    void (*file_error)(int16_t error);
    // Asks for the document password; `stored` is the 16-byte field as kept.
    // Non-zero when the right password was typed.
    int16_t (*password)(const uint8_t* stored);
    // A message to note with its figures for ^0, ^1, ...
    void (*tell_figures)(int16_t list, int16_t index, const std::vector<std::string>& figures) = tell_no_figures;
    // The Save dialog: 0 with the choice, 1 when cancelled, or an error.
    int16_t (*save_dialog)(SaveRequest& request) = no_save_dialog;
};

// The slots in force, filled in by the application at start-up; a program
// without windows answers by itself (the default answers, nothing shown, no
// password).
extern DocumentPrompts document_prompts;

// Progress of reading or writing a workbook's document, through the wait
// procedure of the workbook's machine record.
constexpr int32_t kProgressTotal = 100;
void report_document_progress(MemoryRef workbook, int32_t done, int32_t total);

// Shows a file error through the slots (nothing for 0); running short of
// memory, however the memory manager found out, is shown as kNoMemoryErr.
void report_file_error(int16_t error);

// Runs a reader (answering 0 or its error) under a failure handler: running
// out of memory, in the memory manager or in the standard library, ends the
// reading, is shown as a file error and answered.
template <typename Reader>
int16_t read_under_failure_handler(Reader&& reader) {
    int16_t error = 0;
    const int16_t failure = memory_error_to_tell(with_failure_handler(&mem_globals, [&] { error = reader(); }));
    if (!failure) return error;
    report_file_error(failure);
    return failure;
}

// The document being opened while a scope of this kind lives: the file
// errors shown meanwhile name it.
struct OpeningFile {
    explicit OpeningFile(const pf::FileSpec& spec);
    ~OpeningFile();
    OpeningFile(const OpeningFile&) = delete;
    OpeningFile& operator=(const OpeningFile&) = delete;
    const pf::FileSpec* outer;
};
// The document being opened; null when none.
const pf::FileSpec* opening_file();
