// The navigation dialogs' questions: save changes before closing or quitting, and
// replace an existing file; and the folder remembered between dialogs.
#include "platform/controls/control_look.h"
#include "platform/nav/nav.h"
#include "platform/nav/nav_internal.h"
#include "platform/text/mac_roman.h"
#include "platform/windows/windows.h"

#include <algorithm>

namespace pf {

using namespace nav_detail;

namespace {

constexpr int16_t kQuestionWidth = 440;
constexpr int16_t kQuestionHeight = 130;
constexpr int16_t kTextItem = 4;  // after three buttons

bool has_last_folder = false;
int16_t last_volume = kSystemVolume;
uint32_t last_folder = 0;

// A modal question with the caution icon: buttons right to left from item 1 (the
// default), the question and its explanation. Both texts are final (a document
// name in them may hold "^1"), so they are drawn as written.
DialogRef question_dialog(const std::vector<std::string>& buttons, const std::string& question,
                          const std::string& explanation) {
    Rect screen_rect = screen_bounds();
    int16_t left = int16_t((screen_rect.width() - kQuestionWidth) / 2);
    int16_t top = int16_t(menu_bar_height() + (screen_rect.height() - kQuestionHeight) / 3);
    std::vector<DialogItemSpec> items;
    int16_t right = kQuestionWidth - 20;
    for (const std::string& title : buttons) {
        int16_t width = 96;
        items.push_back({kButtonItem, Rect{kQuestionHeight - 34, int16_t(right - width), kQuestionHeight - 14, right}, title, 0, true});
        right = int16_t(right - width - 12);
    }
    while (items.size() < size_t(kTextItem - 1)) items.push_back({kUserItem, Rect{}, "", 0, false});
    items.push_back({kStaticTextItem, Rect{12, 70, 62, kQuestionWidth - 20}, question, 0, false});
    items.push_back({kStaticTextItem, Rect{64, 70, 90, kQuestionWidth - 20}, explanation, 0, false});
    DialogRef dialog = new_dialog(Rect{top, left, int16_t(top + kQuestionHeight), int16_t(left + kQuestionWidth)}, "",
                                  kDialogBoxProc, false, items);
    dialog_item(dialog, kTextItem)->literal = true;
    dialog_item(dialog, kTextItem)->unicode = true;
    dialog_item(dialog, kTextItem + 1)->literal = true;
    dialog->alert_kind = kCautionAlert;
    set_dialog_default_item(dialog, 1);
    return dialog;
}

int16_t run_question(DialogRef dialog, ModalFilterProc filter) {
    show_window(dialog->window);
    select_window(dialog->window);
    draw_dialog(dialog);
    int16_t hit = 0;
    while (hit < 1 || hit > 3) hit = modal_dialog(filter);
    dispose_dialog(dialog);
    return hit;
}

// Don't Save (item 3) also answers to "d" and Command-D.
bool ask_save_filter(DialogRef dialog, EventRecord& event, int16_t& item) {
    if ((event.what == kKeyDown || event.what == kAutoKey) && (event_char(event) | 0x20) == 'd' &&
        flash_dialog_item(dialog, 3)) {
        item = 3;
        return true;
    }
    return standard_filter(dialog, event, item);
}

}  // namespace

namespace nav_detail {

std::string with_name(int index, std::string_view fallback, std::string_view name) {
    std::string text = mac_roman_to_utf8(toolbox_string(index, fallback));
    size_t at = text.find("^0");
    if (at != std::string::npos) text.replace(at, 2, name);
    return text;
}


bool confirm_replace(std::string_view name) {
    DialogRef dialog = question_dialog(
        {toolbox_string(kCancelTitleIndex, "Cancel"), toolbox_string(kReplaceTitleIndex, "Replace")},
        with_name(kReplaceQuestionIndex, "\xD2^0\xD3 already exists. Do you want to replace it?", name), "");
    set_dialog_cancel_item(dialog, 1);
    return run_question(dialog, nullptr) == 2;
}

void refuse_name(const std::string& refusal, const std::string& explanation) {
    DialogRef dialog = question_dialog({toolbox_string(kOKTitleIndex, "OK")}, refusal, explanation);
    dialog->alert_kind = kStopAlert;
    set_dialog_cancel_item(dialog, 1);
    run_question(dialog, nullptr);
}

}  // namespace nav_detail

uint32_t nav_ask_save_changes(std::string_view document_name, bool quitting, const NavDialogOptions& options) {
    OtherEventProc outer = dialog_other_event_handler();
    static const NavDialogOptions* current = nullptr;
    current = &options;
    if (options.event_proc)
        set_dialog_other_event_handler([](const EventRecord& e) { current->event_proc(e, current->event_user); });
    std::string question = quitting ? with_name(kAskSaveQuitQuestionIndex,
                                                "Do you want to save the changes you made in the document \xD2^0\xD3 "
                                                "before quitting?",
                                                document_name)
                                    : with_name(kAskSaveQuestionIndex,
                                                "Do you want to save the changes you made in the document \xD2^0\xD3?",
                                                document_name);
    DialogRef dialog = question_dialog({toolbox_string(kSaveTitleIndex, "Save"), toolbox_string(kCancelTitleIndex, "Cancel"),
                                        toolbox_string(kDontSaveTitleIndex, "Don\xD5t Save")},
                                       question,
                                       toolbox_string(kAskSaveExplanationIndex, "Your changes will be lost if you don\xD5t save them."));
    // Don't Save stands apart at the left.
    DialogItem* dont_save = dialog_item(dialog, 3);
    Rect box = dont_save->box;
    set_dialog_item_box(dialog, 3, Rect{box.top, 70, box.bottom, int16_t(70 + box.width())});
    set_dialog_cancel_item(dialog, 2);
    int16_t hit = run_question(dialog, ask_save_filter);
    set_dialog_other_event_handler(outer);
    switch (hit) {
        case 1: return kNavUserActionSaveChanges;
        case 3: return kNavUserActionDontSaveChanges;
        default: return kNavUserActionCancel;
    }
}

void nav_set_last_folder(int16_t volume, uint32_t folder) {
    has_last_folder = true;
    last_volume = volume;
    last_folder = folder;
}

bool nav_last_folder(int16_t& volume, uint32_t& folder) {
    if (!has_last_folder) return false;
    volume = last_volume;
    folder = last_folder;
    return true;
}

}  // namespace pf
