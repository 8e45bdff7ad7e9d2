// Alerts and error reporting: every message the program shows in a modal alert
// goes through key_caution_alert, which makes sure the application is in front,
// sets the parameter texts and runs the alert with the keys of the system.
#include "ui/alerts.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "ui/dialog_items.h"
#include "core/memory_manager.h"
#include "ui/screen_geometry.h"
#include "core/string_utils.h"
#include "files/document_prompts.h"
#include "ui/system_info.h"
#include "ui/task_manager.h"
#include "platform/appleevents/appleevents.h"
#include "platform/events/events.h"
#include "platform/events/keyboard.h"
#include "platform/files/files.h"
#include "platform/resources/resource_file.h"
#include "platform/resources/resource_format.h"
#include "platform/resources/resources.h"
#include "platform/system/system.h"
#include "platform/text/scripts.h"
#include "ui/ui_services.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kNotificationMark = 1;
constexpr size_t kAlertLogLength = 64;
constexpr int16_t kUnspelledPasteString = 1;      // of kClipboardStrings
constexpr size_t kNamedUnspelledCharacters = 8;  // the question names at most these


std::vector<AlertRequest> shown_alerts;
bool unattended = false;
std::vector<EventRecord> kept_typing;  // of the note up now, for after it

void log_alert(int16_t alert_id, int16_t kind, std::string text) {
    if (shown_alerts.size() >= kAlertLogLength) shown_alerts.erase(shown_alerts.begin());
    shown_alerts.push_back(AlertRequest{alert_id, kind, std::move(text)});
}

int16_t platform_alert_kind(int16_t kind) {
    return kind >= kStopAlertKind && kind <= kCautionAlertKind ? kind : int16_t(pf::kPlainAlert);
}

// While the application is in the background, a notification (the application's
// icon, marked in the application menu) asks for the user; events of our windows
// and Apple events are served meanwhile. False when the program quits first.
bool wait_until_in_front() {
    bool notified_here = (g_system.flags & kSysNotificationUp) == 0;
    if (notified_here) {
        pf::NotificationRequest request;
        request.mark = kNotificationMark;
        request.icon_id = kApplicationIcon;
        pf::install_notification(request);
    }
    constexpr uint16_t kServedEvents = pf::kUpdateMask | pf::kActivateMask | pf::kOSMask | pf::kHighLevelEventMask;
    while (in_background() && !ui_services.quit_requested()) {
        EventRecord event;
        if (pf::wait_next_event(kServedEvents, event, 60, nullptr)) ui_services.hand_event_to_task(&event);
    }
    if (notified_here) pf::remove_notification();
    return !in_background();
}

// Other windows keep drawing and Apple events are served while an alert is up.
void serve_other_windows(const EventRecord& event) {
    if (event.what != pf::kUpdateEvent && event.what != pf::kActivateEvent && event.what != pf::kHighLevelEvent) return;
    EventRecord copy = event;
    ui_services.hand_event_to_task(&copy);
}

bool is_key_event(const EventRecord& event) {
    return event.what == pf::kKeyDown || event.what == pf::kAutoKey;
}

bool is_cancel_key(const EventRecord& event) {
    unsigned char ch = pf::event_char(event);
    return ch == pf::kEscapeChar || ((event.modifiers & pf::kCmdKey) && ch == '.');
}

// Presses an enabled button item: it flashes and becomes the answer.
bool press_enabled_button(pf::DialogRef dialog, int16_t item, int16_t& item_hit) {
    if (!pf::get_dialog_item_control(dialog, item) || !GetButtonEnable(dialog, item)) return false;
    flash_button(dialog, item);
    item_hit = item;
    return true;
}

// Whether the alert offers no choice: item 1 is its only button.
bool is_one_button_note(pf::DialogRef dialog) {
    const int16_t count = pf::count_dialog_items(dialog);
    for (int16_t item = 2; item <= count; ++item)
        if ((pf::get_dialog_item_kind(dialog, item) & ~pf::kItemDisabled) == pf::kButtonItem) return false;
    return (pf::get_dialog_item_kind(dialog, 1) & ~pf::kItemDisabled) == pf::kButtonItem;
}

// The button a cancel key presses: item 2, or the only button of a note.
int16_t cancel_button(pf::DialogRef dialog) { return is_one_button_note(dialog) ? 1 : 2; }

}  // namespace

std::vector<AlertRequest>& alert_requests() { return shown_alerts; }
void set_unattended_run(bool on) { unattended = on; }
bool unattended_run() { return unattended; }

void answer_unattended(unsigned char ch, uint8_t key_code) {
    if (unattended) pf::post_event(pf::kKeyDown, (uintptr_t(key_code) << 8) | ch);
}

bool AlertFilter(pf::DialogRef dialog, pf::EventRecord& event, int16_t& item_hit) {
    // A quit key is kept for after the alert; a note it closes at once.
    if (ui_services.take_quit_key(event)) return is_one_button_note(dialog) && press_enabled_button(dialog, 1, item_hit);
    if (is_key_event(event)) {
        unsigned char ch = pf::event_char(event);
        if (ch == pf::kReturnChar || ch == pf::kEnterChar) {
            const int16_t default_item = dialog->default_item;
            if (!GetButtonEnable(dialog, default_item)) return false;
            flash_button(dialog, default_item);
            item_hit = default_item;
            return true;
        }
        return is_cancel_key(event) && press_enabled_button(dialog, cancel_button(dialog), item_hit);
    }
    if (event.what == pf::kUpdateEvent && reinterpret_cast<WindowRef>(event.message) != pf::get_dialog_window(dialog)) {
        ui_services.draw_update(&event);
        event.what = pf::kNullEvent;  // drawn: not handed on again
    }
    return false;
}

namespace {

// A key the alert does not take and that is no command is kept for after it.
bool TypingKeptFilter(pf::DialogRef dialog, pf::EventRecord& event, int16_t& item_hit) {
    if (AlertFilter(dialog, event, item_hit)) return true;
    if (is_key_event(event) && !(event.modifiers & pf::kCmdKey)) {
        kept_typing.push_back(event);
        event.what = pf::kNullEvent;
    }
    return false;
}

// Shows ALRT alert_id as key_caution_alert does, with `filter` for its keys.
int16_t run_alert(const unsigned char* text, int16_t alert_id, int16_t kind, pf::ModalFilterProc filter) {
    if (pf::ae_interact_with_user(pf::kAEDefaultTimeout) != pf::noErr) return 0;
    if (in_background() && !unattended && !wait_until_in_front()) return 0;
    SetCursorTo(kArrowCursor);
    bool floaters_deactivated = !WindowIsModal(pf::front_window());
    if (floaters_deactivated) DeactivateFloatersAndFirstDocumentWindow();
    if (text) pf::param_text(pstring_text(text), "", "", "");
    log_alert(alert_id, kind, pf::expand_param_text("^0"));
    if (pf::get_resource(pf::kAlertType, alert_id)) answer_unattended(pf::kReturnChar, pf::kKeyCodeReturn);
    ModalMenuBar menus_dimmed;
    pf::OtherEventProc previous_handler = pf::dialog_other_event_handler();
    pf::set_dialog_other_event_handler(serve_other_windows);
    int16_t hit = pf::alert(alert_id, platform_alert_kind(kind), filter);
    pf::set_dialog_other_event_handler(previous_handler);
    if (floaters_deactivated) ActivateFloatersAndFirstDocumentWindow();
    return hit;
}

}  // namespace

bool SaveKeyFilter(pf::DialogRef dialog, pf::EventRecord& event, int16_t& item_hit) {
    if (is_key_event(event)) {
        unsigned char ch = pf::event_char(event);
        if ((ch == 'n' || ch == 'd') && press_enabled_button(dialog, 3, item_hit)) return true;
    }
    return AlertFilter(dialog, event, item_hit);
}

int16_t key_caution_alert(const unsigned char* text, int16_t alert_id, int16_t kind) {
    return run_alert(text, alert_id, kind, alert_id == kSaveChangesAlert ? SaveKeyFilter : AlertFilter);
}

int16_t str_multi_alert(int16_t list_id, int16_t index, int16_t alert_id, int16_t kind) {
    pf::Str255 text;
    pf::get_indexed_string(text, list_id, index);
    return key_caution_alert(text, alert_id, kind);
}

bool caution_goes_on(int16_t list_id, int16_t index, std::string_view more) {
    unsigned char text[256];
    pf::get_indexed_string(text, list_id, index);
    const size_t added = std::min(size_t(255 - text[0]), more.size());
    std::memcpy(text + 1 + text[0], more.data(), added);
    text[0] = uint8_t(text[0] + added);
    return key_caution_alert(text, kStandardCautionAlert, kCautionAlertKind) != kAnswerCancel;
}

bool paste_despite_unspelled(std::u32string_view characters) {
    return caution_goes_on(kClipboardStrings, kUnspelledPasteString,
                           pf::code_point_names(characters, kNamedUnspelledCharacters));
}

int16_t error_alert(int16_t list_id, int16_t index) {
    if (in_background()) {
        ui_services.set_task_error(int32_t((uint32_t(uint16_t(list_id)) << 16) | uint16_t(index)));
        return 1;
    }
    return str_multi_alert(list_id, index, kStandardStopAlert, kStopAlertKind);
}

int16_t note_message_alert(int16_t list_id, int16_t index) {
    return str_multi_alert(list_id, index, kStandardStopAlert, kNoteAlertKind);
}

namespace {

// The string-list item with ^0, ^1, ... filled in by the figures.
void fill_indexed_string(unsigned char* filled, int16_t list_id, int16_t index, const std::vector<std::string>& figures) {
    pf::Str255 text;
    pf::get_indexed_string(text, list_id, index);
    set_pstring(filled, fill_figures(pstring_text(text), figures));
}

}  // namespace

int16_t figures_alert(int16_t list_id, int16_t index, const std::vector<std::string>& figures) {
    unsigned char filled[256];
    fill_indexed_string(filled, list_id, index, figures);
    return key_caution_alert(filled, kStandardStopAlert, kNoteAlertKind);
}

int16_t figures_note_keeping_typing(int16_t list_id, int16_t index, const std::vector<std::string>& figures) {
    unsigned char filled[256];
    fill_indexed_string(filled, list_id, index, figures);
    std::vector<EventRecord> outer = std::exchange(kept_typing, {});
    const int16_t hit = run_alert(filled, kStandardStopAlert, kNoteAlertKind, TypingKeptFilter);
    for (const EventRecord& key : kept_typing) pf::post_event_record(key);
    kept_typing = std::move(outer);
    return hit;
}

int16_t os_error_alert(int16_t error) {
    pf::Str255 message;
    pf::get_indexed_string(message, kErrorStrings, kBareErrorString);
    unsigned char number[16];
    Num_To_String(error, number);
    pf::param_text(pstring_text(message), pstring_text(number), "", "");
    return key_caution_alert(nullptr, kStandardStopAlert, kStopAlertKind);
}

int16_t show_file_error(int16_t error) { return error_alert(kErrorStrings, file_error_string_index(error)); }

int16_t show_named_file_error(int16_t error, const unsigned char* name) {
    if (in_background() || !name || name[0] == 0) return show_file_error(error);
    std::string text = pf::get_indexed_string(kErrorStrings, kNamedDocumentString);
    size_t at = text.find("^0");
    if (at != std::string::npos) text.replace(at, 2, pstring_text(name));
    text += " " + pf::get_indexed_string(kErrorStrings, file_error_string_index(error));
    pf::Str255 message;
    message[0] = uint8_t(std::min<size_t>(text.size(), 255));
    std::memcpy(message + 1, text.data(), message[0]);
    return key_caution_alert(message, kStandardStopAlert, kStopAlertKind);
}
