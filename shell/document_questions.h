// The application's answers to the document code's questions: its alerts and
// the password dialog.
#pragma once

#include <cstdint>

#include "files/document_prompts.h"

DocumentPrompts application_prompts();
// Asks for the document password against the stored 16-byte field: non-zero
// when the right password was typed.
int16_t password_dialog(const uint8_t* stored);
// The password check (with a prompt of the password dialog's list) against a
// workbook's stored, encoded password: 1 when it matches, 0 on Cancel.
int16_t check_stored_password(const uint8_t* stored, int16_t prompt);
