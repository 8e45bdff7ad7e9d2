// The Open command: the one door through which documents are opened or made.
#pragma once

#include <cstdint>

#include "ui/task_manager.h"
#include "platform/files/files.h"

constexpr uint16_t kOpenWithDialog = 0;
constexpr uint16_t kOpenGivenFile = 1;
constexpr uint16_t kOpenNewUntitled = 0xFFFF;

int16_t Open_File(uint16_t kind, const pf::FileSpec* spec, const TaskRecord* task);
