// Button states: the idle refresh, the rules that enable a button and show
// its property pressed, and the redraw of the buttons that changed.
#include "shell/button_states.h"

#include <initializer_list>
#include <string>

#include "formula/library_support.h"
#include "formula/recalc.h"
#include "ui/app_prefs.h"
#include "shell/colour_palette.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "shell/grid_palette.h"
#include "shell/tool_palette.h"
#include "shell/shell_commands.h"
#include "ui/alerts.h"
#include "resource_ids.h"

namespace {

using Codes = std::initializer_list<const char*>;

constexpr Codes kFormatCommands = {"alnt", "coma", "datt", "decd", "dolt", "ffor", "filL", "fild", "filr", "filu",
                                   "fina", "find", "fixt", "frac", "genl", "grid", "hzer", "incd", "jdef", "perc",
                                   "prar", "pren", "scie", "spel", "srta", "srtd", "timt", "trfa"};
constexpr Codes kTextStyleCommands = {"bold", "cent", "cond", "font", "full", "ital", "just", "left", "outl",
                                      "pexp", "plan", "rght", "shad", "size", "styt", "txlr", "txsm", "undl"};
constexpr Codes kNotWhileEditing = {"chrt", "clos", "newd", "pdoc", "pgsu", "prot", "pwin", "spri", "view"};
constexpr Codes kNeedsTextSelection = {"copt", "copy", "cut ", "delo"};
constexpr Codes kWithoutDocument = {"newd", "open", "prfd", "quit"};

bool in(uint32_t code, Codes codes) {
    for (const char* c : codes) {
        if (code_value(c) == code) return true;
    }
    return false;
}

bool is(uint32_t code, const char* c) { return code_value(c) == code; }

struct BitRule {
    const char* code;
    uint8_t bit;
};

constexpr BitRule kStyleValues[] = {{"bold", 0x01}, {"ital", 0x02}, {"outl", 0x08},
                                    {"shad", 0x10}, {"cond", 0x20}, {"pexp", 0x40}};
constexpr BitRule kAlignValues[] = {{"jdef", 0}, {"left", 1}, {"cent", 2}, {"rght", 3}, {"full", 4}};
constexpr BitRule kNumberFormatValues[] = {{"genl", 'G'}, {"scie", 'S'}, {"perc", 'I'},
                                           {"ffor", 'f'}, {"trfa", 'B'}, {"frac", 'J'}};
constexpr BitRule kOptionValues[] = {{"coma", 0x02}, {"pren", 0x20}, {"hzer", 0x40}, {"prot", 0x01}};

bool disabled_by_rule(uint32_t code, const DocumentFacts& f) {
    bool busy = f.object_selected || f.entry_active;
    if (in(code, kFormatCommands)) return busy;
    if (is(code, "asum")) return f.object_selected;
    if (in(code, kTextStyleCommands)) return f.object_selected && !f.text_editor;
    if (in(code, kNotWhileEditing)) return f.entry_active;
    if (is(code, "cloa")) return f.layers < 2;
    if (in(code, kNeedsTextSelection)) return f.text_editor && f.editor_selection_empty;
    if (is(code, "past")) return !f.can_paste;
    if (is(code, "undo")) return !f.can_undo;
    if (is(code, "redo")) return !f.can_redo;
    if (is(code, "save")) return !f.unsaved;
    return false;
}

void redraw_if_changed(ButtonRecord& button) {
    if (button.state == button.drawn_state && button.value == button.drawn_value) return;
    draw_bar_button(button);
}

}  // namespace

int16_t button_value(const ButtonRecord& button, const DocumentFacts& f) {
    if (!(button.flags & kButtonShowsValue) || !f.record) return 0;
    uint32_t code = button.command;
    for (const BitRule& r : kStyleValues) {
        if (is(code, r.code)) return (f.style & r.bit) != 0;
    }
    for (const BitRule& r : kAlignValues) {
        if (is(code, r.code)) return f.alignment == r.bit;
    }
    for (const BitRule& r : kNumberFormatValues) {
        if (is(code, r.code)) return f.format.bytes[kFmtCode] == r.bit;
    }
    for (const BitRule& r : kOptionValues) {
        if (is(code, r.code)) return (f.option_flags & r.bit) != 0;
    }
    if (is(code, "prar")) return f.has_print_area;
    if (is(code, "font")) return f.font;
    if (is(code, "size")) return f.size;
    return 0;
}

int16_t button_state(const ButtonRecord& button, const DocumentFacts& f, bool has_window) {
    if (f.record) return disabled_by_rule(button.command, f) ? kButtonDisabled : kButtonEnabled;
    if (!has_window || (button.flags & kButtonNeedsDocument)) return kButtonDisabled;
    return in(button.command, kWithoutDocument) ? kButtonEnabled : kButtonDisabled;
}

void draw_bar_button(ButtonRecord& button) {
    if (!IconBar) return;
    PushWindowPort(IconBar);
    draw_command_button(button, IconBar, command_bar_depth());
    PopPort();
}

void refresh_buttons(MemoryRef record, WindowRef window) {
    app_prefs.options2 &= ~kPrefRefreshButtons;
    DocumentFacts facts = read_document_facts(record);
    show_selection_in_color_palette(facts);
    show_selection_in_grid_palette(facts);
    show_pending_tool();
    if (!IconBar || !has_current_bar) return;
    for (ButtonRecord& button : current_bar.buttons) {
        button.value = button_value(button, facts);
        button.state = button_state(button, facts, window != nullptr);
        redraw_if_changed(button);
    }
}

int32_t ButtonHiliteProc(EventRecord*, uintptr_t app_ref, uintptr_t window) {
    WindowRef w = reinterpret_cast<WindowRef>(window);
    TaskRecord task{};
    if (w) get_task_from_window(w, &task);
    bool is_document = w && task.index != 0 && task.kind == kDocumentTask;
    refresh_buttons(is_document ? reinterpret_cast<MemoryRef>(app_ref) : nullptr, w);
    return IconBar ? 1 : 0;
}

namespace {

constexpr int16_t kUnspelledJoinsItem = 38;

// Formulas that joined texts no one script spells show "?" for what none
// spells: the user is told once for each cause, whatever recalculates it
// again, and what is typed meanwhile goes on to the sheet.
void calculate_and_tell_unspelled_joins() {
    calc_proc();
    const int32_t unspelled = take_untold_unspelled_joins();
    if (unspelled == 0) return;
    figures_note_keeping_typing(kCalcDialogStrings, kUnspelledJoinsItem, {std::to_string(unspelled)});
}

}  // namespace

void command_idle() {
    if (!(app_prefs.options2 & kPrefRefreshButtons)) {
        calculate_and_tell_unspelled_joins();
        return;
    }
    WindowRef front = pf::front_window();
    if (front && WindowIsModal(front)) {
        ButtonHiliteProc(nullptr, 0, 0);
        return;
    }
    WindowRef window = wxFrontNonFloatingWindow();
    if (!window) window = front;
    TaskRecord task{};
    if (window) get_task_from_window(window, &task);
    if (task.button_state) task.button_state(nullptr, task.app_ref, uintptr_t(window));
    else ButtonHiliteProc(nullptr, 0, 0);
}
