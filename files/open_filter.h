// Which files the Open command can read, and as what: by the file's type, the
// extension of its name, and its first bytes.
#pragma once

#include "platform/files/files.h"

// True when the file can be opened; `type` comes in as the file's type and
// goes out as the kind it is read as ("SH4P", "SHIP", "TEXT", "TAB ", "CSV ",
// "XLS "). Without a file only the type decides.
bool CanOpenFile(const pf::FileSpec* spec, pf::FourCC* type);

// The Open dialog's filter: folders, and the files CanOpenFile takes.
bool NavFilterProc(const pf::FileSpec& item, const pf::CatalogInfo& info, void* user);

// True when the file's first bytes are text: not empty, and no control
// characters other than tab, line feed, form feed and return.
bool file_looks_like_text(const pf::FileSpec& spec);
