// The files each running copy of the program (or of the converter) keeps for
// itself in the "Quorvin" folder of the user's Preferences folder: "<name>
// <process number><suffix>", the name from STR# 25005. While a copy saves over
// a document it keeps a note naming it; what a copy that was killed left (its
// own files, and beside a noted document the temporary files of its save) is
// removed by the next copy to start.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/files/files.h"

constexpr pf::FourCC kPrefsFileType = pf::four_cc("Qref");

// The "Quorvin" folder, made when missing and `create` is set.
pf::OSErr program_folder(bool create, int16_t& volume, uint32_t& folder);

// The kinds of file a copy keeps for itself.
struct OwnFileKind {
    int item;            // of STR# 25005: the start of the name
    const char* suffix;  // after the process number
};
extern const OwnFileKind kSwapFileKind;
extern const OwnFileKind kPrefsInProgressKind;
extern const OwnFileKind kSaveNoteKind;

// The named file in the "Quorvin" folder. Any permission but reading creates
// the folder and the file (with the type and creator "QRVA") when missing;
// reading creates nothing and answers kFileNotFoundErr for a missing folder or
// file. With `ref`, the data fork is opened with the permission.
int16_t open_program_file(const unsigned char* name, pf::FileSpec* spec, pf::FourCC type, int8_t permission,
                          int16_t* ref);
// This copy's file of the kind, as open_program_file opens it.
pf::OSErr own_file_spec(const OwnFileKind& kind, int8_t permission, pf::FourCC type, pf::FileSpec* spec, int16_t* ref);

// The note of the document this copy is saving over (the slots of the
// document saver).
void note_save_started(const pf::FileSpec& document);
void note_save_ended();
// Removes what copies that no longer run left in the folder: swap files,
// half-written preferences, and the notes of their unfinished saves, each
// save settled beside its document (unless a running copy is saving the same
// document). A running copy's files are never touched. Answers the documents
// whose cut-short saves were finished, for the user to be told.
std::vector<pf::FileSpec> remove_leftovers_of_dead_copies();
