// An empty document window with its title, its task and a record, made until
// document windows draw their layers; the workbook (with its file location)
// may be none.
#pragma once

#include "core/task_manager.h"

MemoryRef make_empty_document_window(const unsigned char* title, MemoryRef workbook);
