// Alerts and error reporting: alerts from ALRT templates by kind, a string-list
// item shown in an alert, errors deferred while the application is in the
// background, and the file-error messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/alert_kinds.h"
#include "platform/dialogs/dialogs.h"


// Shows ALRT alert_id with the length-prefixed text (or none) as ^0; answers the
// item hit, or 0 when no interaction with the user is possible. A question asked
// while the application is in the background waits, behind a notification, until
// the user brings the application to the front.
int16_t key_caution_alert(const unsigned char* text, int16_t alert_id, int16_t kind);
int16_t str_multi_alert(int16_t list_id, int16_t index, int16_t alert_id, int16_t kind);
// A caution alert of the string with `more` after it: true for OK, false
// when the user cancels.
bool caution_goes_on(int16_t list_id, int16_t index, std::string_view more);
// Asks whether a paste goes on though no installed script spells
// `characters` (each becomes a question mark), naming the first few: false
// when the user cancels, and nothing is to be pasted.
bool paste_despite_unspelled(std::u32string_view characters);
// In the foreground a stop alert of the string; in the background deferred (answers 1).
int16_t error_alert(int16_t list_id, int16_t index);
// A message for information (an import's notes): the note icon, OK only.
int16_t note_message_alert(int16_t list_id, int16_t index);
// The same with ^0, ^1, ... of the string filled in by the figures.
int16_t figures_alert(int16_t list_id, int16_t index, const std::vector<std::string>& figures);
// The same for a note raised unbidden while the user may be typing: the keys
// typed while it is up, but those that close it and command keys, are kept
// and go on to the window behind it once it closes.
int16_t figures_note_keeping_typing(int16_t list_id, int16_t index, const std::vector<std::string>& figures);
int16_t os_error_alert(int16_t error);
// A file error while a document opens: its name (length-prefixed Mac Roman),
// then the error's message, in the stop alert.
int16_t show_named_file_error(int16_t error, const unsigned char* name);
int16_t show_file_error(int16_t error);

// Modal filters of alerts: Return and Enter press the default item, Escape and Command-period
// item 2, each only while enabled; the save-changes alert also takes "n" and "d"
// for item 3 (discard).
bool AlertFilter(pf::DialogRef dialog, pf::EventRecord& event, int16_t& item_hit);
bool SaveKeyFilter(pf::DialogRef dialog, pf::EventRecord& event, int16_t& item_hit);

// The alerts shown, oldest first (the last 64), with their ^0 text (Mac Roman).
struct AlertRequest {
    int16_t alert_id;
    int16_t kind;
    std::string text;
};
std::vector<AlertRequest>& alert_requests();

// With no user at the keyboard every alert is answered at once as if Return were
// pressed, and every file dialog is cancelled as if Escape were. Off unless a
// program with no person at the keyboard (tests, command-line tools) turns it on.
void set_unattended_run(bool on);
bool unattended_run();
// Answers the next modal dialog or alert with a key when the run is unattended.
void answer_unattended(unsigned char ch, uint8_t key_code);
