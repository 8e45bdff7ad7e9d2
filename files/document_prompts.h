// What the document reader and writer ask and tell the user, as a record of
// procedure slots: the application shows alerts and dialogs; a program
// without windows (the converter) or a test answers by itself.
#pragma once

#include <cstdint>

#include "core/alert_kinds.h"
#include "core/memory_manager.h"

// Texts the document code shows (string list and item): the file-error list
// (kErrorStrings) and the list of the File commands.
constexpr int16_t kConvertQuestion = 29;     // convert an older document?
constexpr int16_t kWrongFileType = 31;       // the file to replace is of another kind
constexpr int16_t kFileCommandStrings = 130;
constexpr int16_t kOnlyShownLayer = 5;       // only the shown layer is written: go on?
constexpr int16_t kExportExists = 6;         // an export file exists already: replace?
constexpr int16_t kBackupFailed = 7;         // no backup could be made: opened read-only
constexpr int16_t kOtherLayersUnsaved = 9;   // the other layers are not in the saved file
constexpr int16_t kUnconvertedSaveAs = 10;   // a read-only older document needs a new name

constexpr int16_t kAnswerOK = 1;
constexpr int16_t kAnswerCancel = 2;

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
};

// The slots in force, filled in by the application at start-up; a program
// without windows answers by itself (the default answers, nothing shown, no
// password).
extern DocumentPrompts document_prompts;
DocumentPrompts headless_prompts();

// Progress of reading or writing a workbook's document, through the wait
// procedure of the workbook's machine record.
constexpr int32_t kProgressTotal = 100;
void report_document_progress(MemoryRef workbook, int32_t done, int32_t total);

// Shows a file error through the slots (nothing for 0).
void report_file_error(int16_t error);
