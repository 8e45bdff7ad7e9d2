// System services: the capabilities of the system the program runs on, its
// processes, notification while in the background, the help-tag delay, and
// opening web pages and folders with the desktop's opener. Calendar time and
// international settings have headers of their own here; the beep is with
// the cursor (platform/screen/cursor.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/system/date_time.h"
#include "platform/system/international.h"
#include "platform/types.h"

namespace pf {

// ---- Capabilities ------------------------------------------------------------
// A fixed table describing a modern system: version 0x1040, themed appearance
// 1.1 and later, colour, drag and drop, Apple events with scripting,
// navigation dialogs, text-services inline input; one script (Roman).
// Unknown selectors answer kCapabilityUnknownErr.
constexpr OSErr kCapabilityUnknownErr = -5551;
constexpr int32_t kSystemVersion = 0x1040;

OSErr query_capability(FourCC selector, int32_t& response);

// ---- Processes -------------------------------------------------------------
struct ProcessSerialNumber {
    uint32_t high = 0;
    uint32_t low = 0;
    friend bool operator==(const ProcessSerialNumber&, const ProcessSerialNumber&) = default;
};

constexpr OSErr kProcessNotFoundErr = -600;
constexpr FourCC kDesktopSignature = four_cc("MACS");
constexpr FourCC kApplicationSignature = four_cc("QRVA");

// This program, and the desktop (which opens documents and folders for us).
ProcessSerialNumber current_process();
// The process with the signature: this program or the desktop.
OSErr find_process(FourCC signature, ProcessSerialNumber& process);
// This program while it has the input focus (in_foreground), else the desktop.
ProcessSerialNumber front_process();
// Bringing this program forward asks the host; the desktop cannot be raised
// from here, so that request succeeds without effect.
OSErr set_front_process(const ProcessSerialNumber& process);
using RaiseProc = void (*)();
void set_raise_proc(RaiseProc proc);
// Whether a process of this machine runs under the system's process number;
// a process we may not signal counts as running.
bool process_is_running(int32_t process_id);

// ---- Notification ------------------------------------------------------------
// A request to draw the user's attention while the program is in the
// background; the host shows it (flashes the window) and it stays until removed.
struct NotificationRequest {
    int16_t type = 8;
    int16_t mark = 0;
    int16_t icon_id = 0;
};
using NotificationProc = void (*)(const NotificationRequest* request);  // null when removed
void install_notification(const NotificationRequest& request);
void remove_notification();
const NotificationRequest* pending_notification();
void set_notification_proc(NotificationProc proc);

// ---- Help tags ---------------------------------------------------------------
constexpr int32_t kDefaultHelpTagDelay = 60;  // ticks
int32_t help_tag_delay();
void set_help_tag_delay(int32_t ticks);

// ---- The desktop's opener ----------------------------------------------------
// A web or mail address (http, https, mailto), or an absolute path of a file
// or folder, handed to the desktop's opener without a shell and without
// waiting. kParamErr for anything else, kFileNotFoundErr (from platform/files)
// when the opener cannot be started.
OSErr open_url(const std::string& url);
OSErr open_with_desktop(const std::string& path);

// Replaces the opener (tests record instead of starting programs); null
// restores the real one.
using DesktopOpener = OSErr (*)(const std::string& target);
void set_desktop_opener(DesktopOpener opener);

}  // namespace pf
