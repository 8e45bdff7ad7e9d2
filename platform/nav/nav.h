// Navigation dialogs: choosing files to open, a folder, or where to save, and
// asking whether to save changes. They are modal dialogs built from the toolbox's
// own dialogs, controls and lists: a pop-up of the current folder and its parents
// (to go up), a list of the folder's items (double-click or Open to go into a
// folder), the keyboard (arrows, typing a name's start, Return, Escape,
// Command-Up for the parent folder), and for saving a name field, the replace
// question and an area the application fills (a format pop-up, say). The folder
// last shown is remembered for the next dialog that is given no location.
#pragma once

#include "platform/dialogs/dialogs.h"
#include "platform/files/files.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

// The user's answer of a dialog, as the platform numbers it.
enum : uint32_t {
    kNavUserActionNone = 0,
    kNavUserActionCancel = 1,
    kNavUserActionOpen = 2,
    kNavUserActionSaveAs = 3,
    kNavUserActionChoose = 4,
    kNavUserActionSaveChanges = 6,
    kNavUserActionDontSaveChanges = 7,
};

struct NavReply {
    bool valid = false;
    std::vector<FileSpec> selection;  // files to open, the folder chosen, or the file to save
    bool replacing = false;           // saving over an existing file
    bool stationery = false;
};

// Answers whether an item is shown; folders always are.
using NavObjectFilterProc = bool (*)(const FileSpec& item, const CatalogInfo& info, void* user);
// Events of the application's windows while a dialog is up (updates, activation).
using NavEventProc = void (*)(const EventRecord& event, void* user);

// The save dialog's area for the application: `height` pixels below the standard
// items; `start` adds its items (boxes given within `area`), `item_hit` hears of
// clicks on them (item numbers as added), and `accept` may change a typed name
// before it is used, so before an existing file of that name is offered for
// replacing.
struct NavCustomArea {
    int16_t height = 0;
    void (*start)(DialogRef dialog, const Rect& area, void* user) = nullptr;
    void (*item_hit)(DialogRef dialog, int16_t item, void* user) = nullptr;
    void (*accept)(DialogRef dialog, std::string& name, void* user) = nullptr;
    void* user = nullptr;
};

struct NavDialogOptions {
    std::string window_title;     // empty: the dialog's own title
    std::string message;          // a line above the list
    std::string saved_file_name;  // the proposed name of a save dialog
    int16_t saved_file_name_script = 0;  // the script of its bytes; kSeveralScripts: UTF-8
    bool allow_multiple = false;  // open: several files at once
    std::vector<FourCC> types;    // open: file types shown (empty: all)
    NavObjectFilterProc filter = nullptr;
    void* filter_user = nullptr;
    NavEventProc event_proc = nullptr;
    void* event_user = nullptr;
    NavCustomArea custom;
};

// Each answers noErr with a valid reply, kUserCanceledErr when cancelled, or the
// error of the starting folder.
OSErr nav_get_file(const FileSpec* default_location, const NavDialogOptions& options, NavReply& reply);
OSErr nav_choose_folder(const FileSpec* default_location, const NavDialogOptions& options, NavReply& reply);
OSErr nav_put_file(const FileSpec* default_location, const NavDialogOptions& options, NavReply& reply);
// Save, Don't Save or Cancel for a document (kNavUserActionSaveChanges ...),
// its name in UTF-8. Return presses Save, Escape Cancel, "d" (or Command-D)
// Don't Save.
uint32_t nav_ask_save_changes(std::string_view document_name, bool quitting, const NavDialogOptions& options);

// The file name typed in a save dialog, in the script of its bytes (UTF-8
// when typed in several: kSeveralScripts), and setting it (selected) in the
// same terms.
std::string nav_file_name(DialogRef dialog);
int16_t nav_file_name_script(DialogRef dialog);
void nav_set_file_name(DialogRef dialog, std::string_view name);

// The folder the next dialog without a location starts in.
void nav_set_last_folder(int16_t volume, uint32_t folder);
bool nav_last_folder(int16_t& volume, uint32_t& folder);

}  // namespace pf
