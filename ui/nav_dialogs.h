// The file and folder dialogs of the system: open, choose a folder, save, and
// ask whether to save changes. Windows behind a dialog keep drawing while it is
// up; errors are shown once here, and a lack of memory comes back as a cancel.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/task_manager.h"
#include "files/document_prompts.h"
#include "platform/files/files.h"
#include "platform/nav/nav.h"

constexpr int16_t kNavCancelled = pf::kUserCanceledErr;

// Chooses files to open. With `chosen`, one file is copied there; without, any
// number may be chosen and they are sent to the application as one
// open-documents Apple event. `filter` is a pf::NavObjectFilterProc or null;
// `types` (count of them) limit what is listed.
int16_t NavOpenDialog(const pf::FileSpec* default_location, const pf::FourCC* types, int16_t type_count,
                      int16_t type_popup, pf::FileSpec* chosen, pf::FourCC creator, void* filter);
int16_t NavFolderDialog(pf::FileSpec* chosen);
// What a save dialog tells the procedure that customises it: how much room
// its items need (customise: the rectangle offered, given back as agreed,
// with a message for the line above the file list), where to add them
// (start), a click on one of them (item_hit), and the name typed when Save is
// pressed, which it may change (accept).
enum class NavCustomMessage : uint8_t { customise, start, item_hit, accept };
struct NavCBRec {
    NavCustomMessage message;
    pf::DialogRef dialog = nullptr;
    pf::Rect area{};
    int16_t item = 0;
    std::string* name = nullptr;
    std::string prompt;
};
using NavCustomProc = void (*)(NavCBRec& callback, void* user_data);

// Chooses where to save a file; `event_proc` is a NavCustomProc that adds
// items of its own, or null. Answers -128 when cancelled, with the stationery
// and replacing flags 0.
int16_t SaveFileDialog(const pf::FileSpec* default_location, const unsigned char* proposed_name, pf::FourCC type,
                       void* event_proc, pf::FileSpec* chosen, int16_t* stationery, int16_t* replacing,
                       pf::FourCC creator, void* user_data);
// A file's name as a save dialog proposes it: in the one script that spells
// it, else in UTF-8 (pf::kSeveralScripts).
pf::ScriptText name_to_propose(const pf::FileSpec& spec);
// The same, proposing a name of any script, with no items of its own.
int16_t save_file_dialog_in_script(const pf::FileSpec* default_location, const pf::ScriptText& proposed_name,
                                   pf::FileSpec* chosen);
// Save, Don't Save or Cancel (pf::kNavUserActionSaveChanges ...), answered before
// these return; the dialog output is always none (no sheets here).
int16_t UniversalConfirmSaveDialog(WindowRef parent, const unsigned char* document_name, bool quitting,
                                   void* user_data, pf::DialogRef* dialog, uint32_t* action);
int16_t ModalConfirmSaveDialog(const unsigned char* document_name, bool quitting, uint32_t* action);
// The same for a name in UTF-8, as it reads whatever its scripts.
int16_t confirm_save_changes(std::string_view document_name, bool quitting, void* user_data, uint32_t* action);

// The Save dialog of documents: the format pop-up and the extension check
// box (DITL 1004), with the format code (int16_t) as user data.
void NavCustomEventProc(NavCBRec& callback, void* user_data);
// Puts the extension of the format on the dialog's file name, in place of a
// known one, when the preference asks for extensions.
void HandleMetaData(pf::DialogRef dialog, int16_t code);
// Asks where and in which format to save a document (the Save dialog with its
// format items): 0, 1 when cancelled, or an error.
int16_t run_document_save_dialog(SaveRequest& request);

// Event procedures: updates and activation of the application's windows.
void StandardEventProc(const EventRecord& event, void* user_data);
void MyEventProc(const EventRecord& event, void* user_data);
