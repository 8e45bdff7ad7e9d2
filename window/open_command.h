// The Open command: the one door through which documents are opened or made.
#pragma once

#include <cstdint>

#include "ui/task_manager.h"
#include "platform/files/files.h"

constexpr uint16_t kOpenWithDialog = 0;
constexpr uint16_t kOpenGivenFile = 1;
constexpr uint16_t kOpenNewUntitled = 0xFFFF;

int16_t Open_File(uint16_t kind, const pf::FileSpec* spec, const TaskRecord* task);
// Opens the document's file for a test, for writing when it may be written and
// else for reading, and closes it again: 0 when it can be opened, or the error.
pf::OSErr test_open_document(const pf::FileSpec& spec);
