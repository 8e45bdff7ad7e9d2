// Dialogs about documents: the separator of a text file and the links of a
// layer.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Asks for the separator of a text file whose kind does not tell it (tab,
// comma, space or semicolon; tab first): kAnswerOK with the choice, or
// kAnswerCancel.
int16_t run_separator_dialog(uint8_t* separator);
// The links dialog of a layer: lists its links and opens one or all of them.
void LinkDialog(MemoryRef layer);
