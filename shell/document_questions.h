// The application's answers to the document code's questions: its alerts and
// the password dialog.
#pragma once

#include <cstdint>

#include "files/document_prompts.h"

DocumentPrompts application_prompts();
// Asks for the document password against the stored 16-byte field: non-zero
// when the right password was typed.
int16_t password_dialog(const uint8_t* stored);
