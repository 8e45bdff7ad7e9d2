// Which files the Open command can read, and as what: the format table's
// choice by the file's first bytes, the extension of its name and its type.
#pragma once

#include "platform/files/files.h"

// True when the file can be opened; `type` comes in as the file's type and
// goes out as the kind it is read as ("SH4P", "SHIP", "TEXT", "TAB ", "CSV ",
// "XLS "). Without a file only the type decides.
bool CanOpenFile(const pf::FileSpec* spec, pf::FourCC* type);

// The Open dialog's filter: folders, and the files CanOpenFile takes.
bool NavFilterProc(const pf::FileSpec& item, const pf::CatalogInfo& info, void* user);
