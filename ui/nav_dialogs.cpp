// The navigation dialogs with the system's options.
#include "ui/nav_dialogs.h"

#include <algorithm>
#include <string>

#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/screen_geometry.h"
#include "core/string_utils.h"
#include "platform/appleevents/appleevents.h"
#include "platform/controls/controls.h"
#include "platform/events/keyboard.h"
#include "platform/memory/memory.h"
#include "platform/system/system.h"
#include "platform/text/mac_roman.h"
#include "ui/ui_services.h"

namespace {

// Replies hold their selection until they are disposed, on every path.
void dispose_reply(pf::NavReply& reply) {
    reply.valid = false;
    reply.selection.clear();
    reply.replacing = false;
    reply.stationery = false;
}

// Without a user at the keyboard the dialog is cancelled at once.
pf::NavDialogOptions standard_options() {
    answer_unattended(pf::kEscapeChar, pf::kKeyCodeEscape);
    pf::NavDialogOptions options;
    options.event_proc = StandardEventProc;
    return options;
}

// Shows an error other than a cancel; a lack of memory then counts as a cancel.
int16_t reported(pf::OSErr status, int16_t (*show)(int16_t)) {
    if (status == pf::noErr || status == kNavCancelled) return status;
    show(status);
    return status == pf::kMemFullErr ? kNavCancelled : status;
}

// The chosen files as one open-documents event sent to ourselves.
pf::OSErr send_open_documents(const std::vector<pf::FileSpec>& files) {
    pf::ProcessSerialNumber self = pf::current_process();
    pf::AEDesc target, list;
    pf::AppleEvent event;
    pf::OSErr error = pf::ae_create_desc(pf::kTypeProcessSerialNumber, &self, sizeof self, target);
    if (!error) error = pf::ae_create_apple_event(pf::kCoreEventClass, pf::kOpenDocuments, target,
                                                  pf::kAutoGenerateReturnId, pf::kAnyTransactionId, event);
    if (!error) error = pf::ae_create_list(false, list);
    for (const pf::FileSpec& spec : files)
        if (!error) error = pf::ae_put_ptr(list, 0, pf::kTypeFileSpec, &spec, sizeof spec);
    if (!error) error = pf::ae_put_param_desc(event, pf::kKeyDirectObject, list);
    if (!error) error = pf::ae_send(event, nullptr, pf::kAENoReply, pf::kAEDefaultTimeout);
    pf::ae_dispose_desc(list);
    pf::ae_dispose_desc(event);
    pf::ae_dispose_desc(target);
    return error;
}

void serve_window_event(const EventRecord& event) {
    if (event.what != pf::kUpdateEvent && event.what != pf::kActivateEvent) return;
    EventRecord copy = event;
    ui_services.handle_event(&copy);
}

}  // namespace

void StandardEventProc(const EventRecord& event, void*) { serve_window_event(event); }
void MyEventProc(const EventRecord& event, void*) { serve_window_event(event); }

int16_t NavOpenDialog(const pf::FileSpec* default_location, const pf::FourCC* types, int16_t type_count, int16_t,
                      pf::FileSpec* chosen, pf::FourCC, void* filter) {
    ModalMenuBar menus_dimmed;
    SetCursorTo(kArrowCursor);
    pf::NavDialogOptions options = standard_options();
    options.allow_multiple = chosen == nullptr;
    if (types && type_count >= 1) options.types.assign(types, types + type_count);
    options.filter = reinterpret_cast<pf::NavObjectFilterProc>(filter);
    pf::NavReply reply;
    int16_t status = reported(pf::nav_get_file(default_location, options, reply), show_file_error);
    if (reply.valid && !reply.selection.empty()) {
        if (chosen) *chosen = reply.selection.front();
        else status = send_open_documents(reply.selection);
    }
    dispose_reply(reply);
    return status;
}

int16_t NavFolderDialog(pf::FileSpec* chosen) {
    ModalMenuBar menus_dimmed;
    SetCursorTo(kArrowCursor);
    pf::NavReply reply;
    int16_t status = reported(pf::nav_choose_folder(nullptr, standard_options(), reply), os_error_alert);
    if (status == pf::noErr && reply.valid && !reply.selection.empty() && chosen) *chosen = reply.selection.front();
    dispose_reply(reply);
    return status;
}

namespace {

// The customising procedure of a save dialog and its user data.
struct CustomProc {
    NavCustomProc proc;
    void* user_data;
};

void send_custom(void* user, NavCustomMessage message, pf::DialogRef dialog, std::string* name = nullptr,
                 int16_t item = 0, pf::Rect area = {}) {
    const CustomProc& custom = *static_cast<CustomProc*>(user);
    NavCBRec callback{message, dialog, area, item, name, {}};
    custom.proc(callback, custom.user_data);
}

void custom_start(pf::DialogRef dialog, const pf::Rect& area, void* user) {
    send_custom(user, NavCustomMessage::start, dialog, nullptr, 0, area);
}

void custom_item_hit(pf::DialogRef dialog, int16_t item, void* user) {
    send_custom(user, NavCustomMessage::item_hit, dialog, nullptr, item);
}

void custom_accept(pf::DialogRef dialog, std::string& name, void* user) {
    send_custom(user, NavCustomMessage::accept, dialog, &name);
}

// The room the procedure asks for below the file list, and its message.
void lay_out_custom(CustomProc& custom, pf::NavDialogOptions& options) {
    NavCBRec callback{NavCustomMessage::customise, nullptr, {}, 0, nullptr, {}};
    custom.proc(callback, custom.user_data);
    options.custom = pf::NavCustomArea{int16_t(callback.area.height()), custom_start, custom_item_hit, custom_accept,
                                       &custom};
    options.message = callback.prompt;
}

// The Save dialog with its options set: the file chosen, and whether it
// replaces one; -128 when cancelled.
int16_t run_save_dialog(const pf::FileSpec* default_location, const pf::NavDialogOptions& options,
                        pf::FileSpec* chosen, int16_t* stationery, int16_t* replacing) {
    pf::NavReply reply;
    int16_t status = reported(pf::nav_put_file(default_location, options, reply), show_file_error);
    if (!reply.valid || reply.selection.empty()) {
        if (replacing) *replacing = 0;
        if (stationery) *stationery = 0;
        dispose_reply(reply);
        return kNavCancelled;
    }
    if (chosen) *chosen = reply.selection.front();
    if (replacing) *replacing = reply.replacing;
    if (stationery) *stationery = reply.stationery;
    dispose_reply(reply);
    return status;
}

}  // namespace

pf::ScriptText name_to_propose(const pf::FileSpec& spec) {
    const pf::ScriptText shown = pf::file_spec_shown_name(spec);
    std::string real;
    if (shown.script == pf::kScriptRoman && pf::file_spec_real_name(spec, real)) return {real, pf::kSeveralScripts, 0};
    return shown;
}

int16_t SaveFileDialog(const pf::FileSpec* default_location, const unsigned char* proposed_name, pf::FourCC,
                       void* event_proc, pf::FileSpec* chosen, int16_t* stationery, int16_t* replacing, pf::FourCC,
                       void* user_data) {
    ui_services.draw_waiting_updates();
    ModalMenuBar menus_dimmed;
    SetCursorTo(kArrowCursor);
    pf::NavDialogOptions options = standard_options();
    options.saved_file_name = pstring_text(proposed_name);
    // The name of the file saved before, as it reads in its script (in
    // UTF-8 when no one script spells it).
    if (default_location && std::equal(proposed_name, proposed_name + proposed_name[0] + 1, default_location->name)) {
        const pf::ScriptText shown = name_to_propose(*default_location);
        options.saved_file_name = shown.bytes;
        options.saved_file_name_script = shown.script;
    }
    CustomProc custom{reinterpret_cast<NavCustomProc>(event_proc), user_data};
    if (custom.proc) lay_out_custom(custom, options);
    options.event_user = user_data;
    return run_save_dialog(default_location, options, chosen, stationery, replacing);
}

int16_t save_file_dialog_in_script(const pf::FileSpec* default_location, const pf::ScriptText& proposed_name,
                                   pf::FileSpec* chosen) {
    ui_services.draw_waiting_updates();
    ModalMenuBar menus_dimmed;
    SetCursorTo(kArrowCursor);
    pf::NavDialogOptions options = standard_options();
    options.saved_file_name = proposed_name.bytes;
    options.saved_file_name_script = proposed_name.script;
    return run_save_dialog(default_location, options, chosen, nullptr, nullptr);
}

int16_t confirm_save_changes(std::string_view document_name, bool quitting, void* user_data, uint32_t* action) {
    ui_services.draw_waiting_updates();
    ModalMenuBar menus_dimmed;
    pf::NavDialogOptions options = standard_options();
    if (user_data) options.event_proc = MyEventProc;
    options.event_user = user_data;
    const uint32_t answer = pf::nav_ask_save_changes(document_name, quitting, options);
    if (action) *action = answer;
    return pf::noErr;
}

int16_t UniversalConfirmSaveDialog(WindowRef, const unsigned char* document_name, bool quitting, void* user_data,
                                   pf::DialogRef* dialog, uint32_t* action) {
    if (dialog) *dialog = nullptr;
    return confirm_save_changes(pf::mac_roman_to_utf8(pstring_text(document_name)), quitting, user_data, action);
}

int16_t ModalConfirmSaveDialog(const unsigned char* document_name, bool quitting, uint32_t* action) {
    return UniversalConfirmSaveDialog(nullptr, document_name, quitting, nullptr, nullptr, action);
}
