// The spelling window: a modeless dialog task (DLOG 24010) over the scan that
// feeds it words.
#include "spelling/spell_dialog.h"

#include <string>
#include <utility>
#include <vector>

#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/lists_and_menus.h"
#include "ui/screen_geometry.h"
#include "ui/task_manager.h"
#include "core/string_utils.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "platform/screen/cursor.h"
#include "platform/text/mac_roman.h"
#include "ui/app_prefs.h"
#include "spelling/spelling.h"
#include "resource_ids.h"

pf::DialogRef spell_dialog = nullptr;

namespace {

constexpr int16_t kChangeItem = 1;
constexpr int16_t kCancelItem = 2;
constexpr int16_t kIgnoreItem = 3;
constexpr int16_t kIgnoreAllItem = 4;
constexpr int16_t kChangeAllItem = 5;
constexpr int16_t kAddItem = 6;
constexpr int16_t kSuggestItem = 7;
constexpr int16_t kMessageItem = 8;
constexpr int16_t kWordItem = 9;
constexpr int16_t kReplacementItem = 11;
constexpr int16_t kSuggestionsItem = 12;

constexpr int16_t kCheckCompleteMessage = 4;
constexpr int16_t kBeepTicks = 9;

struct SpellSession {
    SpellWordSource source;
    DialogRef dialog = nullptr;
    std::string word;
    int16_t reason = 0;
    std::vector<std::pair<std::string, std::string>> changes;  // Change All: word, replacement (UTF-8)
    std::vector<std::string> suggestions;
};

void show_text(DialogRef dialog, int16_t item, const std::string& text) {
    pf::set_dialog_item_text(dialog, item, text);
    DrawDialogItem(dialog, item);
}

void show_suggestions(SpellSession& session, const std::string& word) {
    session.suggestions = word.empty() ? std::vector<std::string>{} : spell_suggestions(word.c_str());
    pf::ListHandle list = GetDialogListHandle(session.dialog, kSuggestionsItem);
    clear_list_data(list);
    for (const std::string& suggestion : session.suggestions) {
        pf::Str255 row;
        set_pstring(row, suggestion);
        add_list_str(row, list);
    }
    if (!session.suggestions.empty()) select_list_cell(list, 0, true);
    DrawList(session.dialog, kSuggestionsItem);
}

// The replacement Change All chose for the word, or null.
const std::string* change_for(const SpellSession& session, const std::string& word) {
    for (const auto& change : session.changes)
        if (change.first == word) return &change.second;
    return nullptr;
}

void enable_word_buttons(DialogRef dialog, bool words, bool add) {
    for (int16_t item : {kChangeItem, kIgnoreItem, kIgnoreAllItem, kChangeAllItem, kSuggestItem})
        EnableButton(dialog, item, words);
    EnableButton(dialog, kAddItem, add);
}

void show_word(SpellSession& session) {
    DialogRef dialog = session.dialog;
    show_text(dialog, kMessageItem, pf::get_indexed_string(kSpellWindowStrings, session.reason));
    show_text(dialog, kWordItem, session.word);
    const bool repeated = session.reason == kSpellRepeatedWord;
    show_suggestions(session, repeated ? std::string() : session.word);
    // A repeated word is changed to nothing: it is taken out.
    const std::string replacement = repeated ? std::string()
                                    : session.suggestions.empty() ? session.word
                                                                  : session.suggestions.front();
    pf::set_dialog_item_text(dialog, kReplacementItem, replacement);
    SelectTheDialogItemText(dialog, kReplacementItem, 0, kAllCharacters);
    DrawDialogItem(dialog, kReplacementItem);
    enable_word_buttons(dialog, true, !repeated);
}

// The end message is longer than a label: it takes the word's place too.
void widen_message_over_word(DialogRef dialog) {
    pf::Rect box = pf::get_dialog_item_box(dialog, kMessageItem);
    box.right = pf::get_dialog_item_box(dialog, kWordItem).right;
    show_text(dialog, kWordItem, "");
    pf::hide_dialog_item(dialog, kWordItem);
    pf::set_dialog_item_box(dialog, kMessageItem, box);
}

void show_check_complete(SpellSession& session) {
    session.word.clear();
    widen_message_over_word(session.dialog);
    show_text(session.dialog, kMessageItem, pf::get_indexed_string(kSpellWindowStrings, kCheckCompleteMessage));
    pf::set_dialog_item_text(session.dialog, kReplacementItem, "");
    DrawDialogItem(session.dialog, kReplacementItem);
    show_suggestions(session, "");
    enable_word_buttons(session.dialog, false, false);
}

// Words that Change All settled are replaced without asking, and words that
// Ignore All or Add have since accepted are passed over.
void advance(SpellSession& session) {
    char word[kSpellWordLimit + 1] = {};
    int16_t reason = 0;
    while (session.source.next_word(session.source.context, word, &reason)) {
        word[kSpellWordLimit] = 0;
        if (const std::string* replacement = change_for(session, word)) {
            session.source.replace_word(session.source.context, replacement->c_str());
            continue;
        }
        if (reason != kSpellRepeatedWord) reason = spell_check(word, 1);
        if (reason == kSpellAccepted) continue;
        session.word = word;
        session.reason = reason;
        show_word(session);
        return;
    }
    show_check_complete(session);
}

// The replacement as typed, UTF-8.
std::string replacement_text(DialogRef dialog) { return GetDEditTextUtf8(dialog, kReplacementItem); }

void change_word(SpellSession& session, bool every_time) {
    const std::string replacement = replacement_text(session.dialog);
    if (every_time) session.changes.emplace_back(session.word, replacement);
    if (replacement != pf::mac_roman_to_utf8(session.word))
        session.source.replace_word(session.source.context, replacement.c_str());
    advance(session);
}

void add_word(SpellSession& session) {
    if (add_to_custom_dictionary(session.word.c_str()) == pf::noErr) {
        advance(session);
        return;
    }
    pf::Str255 text;
    set_pstring(text, session.word);
    key_caution_alert(text, kAddFailedAlert, kStopAlertKind);
}

bool list_double_clicked(DialogRef dialog) {
    uint8_t flag = 0;
    pf::ControlRef control = GetDialogControl(dialog, kSuggestionsItem);
    return control && pf::get_control_data(control, 0, pf::kControlListBoxDoubleClickTag, 1, &flag, nullptr) == pf::noErr &&
           flag != 0;
}

// A suggestion clicked becomes the replacement; a double click changes to it.
void choose_suggestion(SpellSession& session) {
    const int16_t row = FindSelect(GetDialogListHandle(session.dialog, kSuggestionsItem));
    if (row < 0 || size_t(row) >= session.suggestions.size() || session.word.empty()) return;
    pf::set_dialog_item_text(session.dialog, kReplacementItem, session.suggestions[size_t(row)]);
    DrawDialogItem(session.dialog, kReplacementItem);
    if (list_double_clicked(session.dialog)) change_word(session, false);
}

// Answers false when the window is to close.
bool answer_item(SpellSession& session, int16_t item) {
    switch (item) {
        case kCancelItem: return false;
        case kIgnoreItem: advance(session); break;
        case kIgnoreAllItem:
            ignore_word(session.word.c_str());
            advance(session);
            break;
        case kChangeItem: change_word(session, false); break;
        case kChangeAllItem: change_word(session, true); break;
        case kAddItem: add_word(session); break;
        case kSuggestItem: show_suggestions(session, pf::utf8_to_mac_roman(replacement_text(session.dialog))); break;
        case kSuggestionsItem: choose_suggestion(session); break;
        default: break;
    }
    return true;
}

pf::Point& saved_position() { return app_prefs.palette_positions[kSpellingWindowPosition]; }

// The one session of the open window.
SpellSession open_session;

pf::WindowRef spelling_window() { return spell_dialog ? pf::get_dialog_window(spell_dialog) : nullptr; }

void close_spelling_window() {
    if (pf::WindowRef window = spelling_window()) CloseTaskFromWindow(window);
}

int32_t click_spell_proc(EventRecord*, uintptr_t, uintptr_t extra) {
    const int16_t item = *reinterpret_cast<const int16_t*>(extra);
    // A dimmed button answers nothing; the field and the list always do.
    const bool button = item != kReplacementItem && item != kSuggestionsItem;
    if (button && item != kCancelItem && !pf::is_dialog_item_enabled(spell_dialog, item)) return 1;
    if (!answer_item(open_session, item)) close_spelling_window();
    return 1;
}

int32_t key_spell_proc(EventRecord* event, uintptr_t, uintptr_t) {
    const unsigned char ch = pf::event_char(*event);
    if (ch == pf::kEscapeChar || ((event->modifiers & pf::kCmdKey) && ch == '.')) close_spelling_window();
    return 1;
}

int32_t close_spell_proc(EventRecord*, uintptr_t, uintptr_t) {
    saved_position() = get_global_loc(spelling_window());
    spell_dialog = nullptr;
    const SpellWordSource source = open_session.source;
    open_session = SpellSession{};
    if (source.finished) source.finished(source.context);
    return 1;
}

// ---- Menus while the window is in front ------------------------------------------

// Cut, Copy, Paste, Clear and Select All edit the replacement; Spelling finds
// the window in front already; every other command goes to the front document.
int32_t spell_menu_proc(EventRecord* event, uintptr_t, uintptr_t menu_pair) {
    const MenuChoice* choice = reinterpret_cast<const MenuChoice*>(menu_pair);
    if (!choice || choice->menu != kEditMenu) return application_procs().menu(event, 0, menu_pair);
    if (is_field_edit_item(choice->item)) dlog_menus(spell_dialog, choice->item);
    else if (choice->item != kEditSpellingItem) return application_procs().menu(event, 0, menu_pair);
    pf::hilite_menu(0);
    return 1;
}

}  // namespace

void open_spell_dialog(const SpellWordSource& source) {
    if (spell_dialog) {
        pf::select_window(spelling_window());
        return;
    }
    if (!open_spelling()) {
        pf::sys_beep(kBeepTicks);
        return;
    }
    DialogRef dialog = pf::get_new_dialog(kSpellDialog);
    if (!dialog) return;
    spell_dialog = dialog;
    pf::WindowRef window = pf::get_dialog_window(dialog);
    if (checkonscreen(saved_position())) pf::move_window(window, saved_position().h, saved_position().v, false);
    pf::set_dialog_default_item(dialog, kChangeItem);
    add_window_task(window, kModelessDialogTask, 0,
                    {.click = click_spell_proc, .key = key_spell_proc, .close = close_spell_proc});
    use_window_menus(window, spell_menu_proc, nullptr);
    open_session = SpellSession{};
    open_session.source = source;
    open_session.dialog = dialog;
    pf::show_window(window);
    pf::select_window(window);
    PushWindowPort(window);
    pf::draw_dialog(dialog);
    advance(open_session);
    PopPort();
}

bool is_spelling_window(pf::WindowRef window) { return window && window == spelling_window(); }
