// The kinds and numbers of the alerts and of the error-message strings, shared
// by the code that asks for an alert and the code that shows it.
#pragma once

#include <cstdint>
#include "resource_ids.h"

constexpr int16_t kStopAlertKind = 0;
constexpr int16_t kNoteAlertKind = 1;
constexpr int16_t kCautionAlertKind = 2;

constexpr int16_t kUnlistedErrorString = 20;
constexpr int16_t kBareErrorString = 22;
constexpr int16_t kNamedDocumentString = 35;  // the document "^0" could not be opened

// The item of STR# 20000 that explains an error number.
int16_t file_error_string_index(int16_t error);
