// Alerts and error reporting: alerts from ALRT templates by kind, a string-list
// item shown in an alert, errors deferred while the application is in the
// background, and the file-error messages.
#pragma once

#include <cstdint>

constexpr int16_t kStopAlertKind = 0;
constexpr int16_t kNoteAlertKind = 1;
constexpr int16_t kCautionAlertKind = 2;

constexpr int16_t kStandardStopAlert = 25000;
constexpr int16_t kStandardCautionAlert = 25001;
constexpr int16_t kErrorStrings = 20000;

// Shows ALRT alert_id with the length-prefixed text (or none) as ^0; answers the item hit.
int16_t key_caution_alert(const unsigned char* text, int16_t alert_id, int16_t kind);
int16_t str_multi_alert(int16_t list_id, int16_t index, int16_t alert_id, int16_t kind);
// In the foreground a stop alert of the string; in the background deferred (answers 1).
int16_t error_alert(int16_t list_id, int16_t index);
int16_t os_error_alert(int16_t error);
int16_t show_file_error(int16_t error);
