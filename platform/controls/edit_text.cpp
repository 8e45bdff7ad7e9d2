// Edit-text controls: one line of at most kMaxEditTextLength bytes with a caret
// or selection, typing through an optional key filter, arrows, deletion, the
// clipboard, password masking, and scrolling to keep the caret in view.
#include "platform/controls/control_look.h"
#include "platform/controls/controls.h"
#include "platform/controls/controls_internal.h"
#include "platform/draw/text.h"
#include "platform/events/events.h"
#include "platform/host/host.h"
#include "platform/scrap/scrap.h"
#include "platform/text/text.h"
#include "platform/windows/windows.h"

#include <algorithm>
#include <cstdlib>

namespace pf {

using namespace controls_detail;

namespace {

constexpr unsigned char kPasswordBullet = 0xA5;
constexpr int16_t kTextInset = 4;

bool is_password(ControlRef c) { return c->kind == kPasswordTextControl; }

Rect text_area(ControlRef c) { return inset_rect(c->bounds, kTextInset, 2); }

bool focused(ControlRef c) { return get_keyboard_focus(c->window) == c; }

// A stretch of the text whose bytes are in one script.
struct ScriptRun {
    int32_t start = 0, end = 0;
    int16_t script = kScriptRoman;
};

// The text's runs, each in one script; a password's bullets are Roman.
std::vector<ScriptRun> script_runs(ControlRef c) {
    std::vector<ScriptRun> runs;
    for (int32_t at = 0; at < int32_t(c->text.size()); ++at) {
        const int16_t script = is_password(c) ? kScriptRoman : c->scripts[size_t(at)];
        if (runs.empty() || runs.back().script != script) runs.push_back(ScriptRun{at, at, script});
        runs.back().end = at + 1;
    }
    return runs;
}

int16_t run_font(ControlRef c, int16_t script) { return script == kScriptRoman ? c->font : script_font(script); }

std::string_view run_bytes(std::string_view shown, const ScriptRun& run, int32_t from, int32_t to) {
    const int32_t start = std::max(run.start, from), end = std::min(run.end, to);
    return start < end ? shown.substr(size_t(start), size_t(end - start)) : std::string_view();
}

// Pixel offset of a text offset from the start of the shown text, each run
// measured in its script's font.
int16_t offset_pixels(ControlRef c, int32_t offset) {
    const std::string shown = edit_text_shown(c);
    int width = 0;
    for (const ScriptRun& run : script_runs(c)) {
        if (run.start >= offset) break;
        text_font(run_font(c, run.script));
        const std::string_view bytes = run_bytes(shown, run, run.start, run.end);
        width += char_to_pixel(bytes, 0, std::min(offset, run.end) - run.start);
    }
    text_font(control_text_font(c));
    return int16_t(width);
}

// The text offset nearest a pixel offset from the start of the shown text.
int32_t offset_at_pixel(ControlRef c, int h) {
    const std::string shown = edit_text_shown(c);
    int left = 0;
    int32_t offset = int32_t(shown.size());
    for (const ScriptRun& run : script_runs(c)) {
        text_font(run_font(c, run.script));
        const std::string_view bytes = run_bytes(shown, run, run.start, run.end);
        const int width = char_to_pixel(bytes, 0, int32_t(bytes.size()));
        if (h < left + width) {
            offset = run.start + pixel_to_char(bytes, 0, Fixed(h - left) << 16).offset;
            break;
        }
        left += width;
    }
    text_font(control_text_font(c));
    return offset;
}

// Draws the shown bytes from `from` to `to` from the pen on, each run in its
// script's font.
void draw_runs(ControlRef c, std::string_view shown, int32_t from, int32_t to) {
    for (const ScriptRun& run : script_runs(c)) {
        const std::string_view bytes = run_bytes(shown, run, from, to);
        if (bytes.empty()) continue;
        text_font(run_font(c, run.script));
        draw_text(bytes);
    }
    text_font(control_text_font(c));
}

// The shown text from `from` to `to` as it reads, each run decoded by its
// script.
std::string utf8_between(ControlRef c, int32_t from, int32_t to) {
    const std::string shown = edit_text_shown(c);
    std::string utf8;
    for (const ScriptRun& run : script_runs(c)) utf8 += script_to_utf8(run_bytes(shown, run, from, to), run.script);
    return utf8;
}

void keep_caret_visible(ControlRef c) {
    ControlPortScope port(c);
    LookScope scope;
    text_font(control_text_font(c));
    text_size(c->size);
    int width = text_area(c).width();
    int caret = offset_pixels(c, c->sel_end);
    if (caret - c->scroll > width - 2) c->scroll = int16_t(caret - width + 2);
    if (caret - c->scroll < 0) c->scroll = int16_t(caret);
    int total = offset_pixels(c, int32_t(c->text.size()));
    if (total - c->scroll < width - 2) c->scroll = int16_t(std::max(0, total - width + 2));
}

void changed(ControlRef c) {
    keep_caret_visible(c);
    c->caret_on = true;
    c->caret_ticks = tick_count();
    redraw(c);
}

// `scripts` holds the script of each byte of `with`.
void replace_selection(ControlRef c, std::string_view with, const std::vector<int16_t>& scripts) {
    int32_t start = std::min(c->sel_start, c->sel_end), end = std::max(c->sel_start, c->sel_end);
    size_t room = kMaxEditTextLength - (c->text.size() - size_t(end - start));
    if (with.size() > room) {
        host_beep();  // too long: nothing is inserted, nothing lost
        return;
    }
    c->undo_text = c->text;
    c->undo_scripts = c->scripts;
    c->undo_start = c->sel_start;
    c->undo_end = c->sel_end;
    c->can_undo = true;
    c->text.replace(size_t(start), size_t(end - start), with);
    c->scripts.erase(c->scripts.begin() + start, c->scripts.begin() + end);
    c->scripts.insert(c->scripts.begin() + start, scripts.begin(), scripts.end());
    c->sel_start = c->sel_end = c->anchor = start + int32_t(with.size());
    changed(c);
}

void set_caret(ControlRef c, int32_t offset, bool extend) {
    offset = std::clamp<int32_t>(offset, 0, int32_t(c->text.size()));
    if (extend) {
        c->sel_start = std::min(c->anchor, offset);
        c->sel_end = std::max(c->anchor, offset);
        if (offset < c->anchor) std::swap(c->sel_start, c->sel_end);  // sel_end is the moving end
    } else {
        c->anchor = c->sel_start = c->sel_end = offset;
    }
    changed(c);
}

int32_t selection_low(ControlRef c) { return std::min(c->sel_start, c->sel_end); }
int32_t selection_high(ControlRef c) { return std::max(c->sel_start, c->sel_end); }

// Whether `offset` lies between the two bytes of a two-byte character of
// its run's script.
bool inside_character(ControlRef c, int32_t offset) {
    if (is_password(c) || offset <= 0 || offset >= int32_t(c->text.size())) return false;
    const int16_t script = c->scripts[size_t(offset)];
    int32_t run_start = offset;
    while (run_start > 0 && c->scripts[size_t(run_start - 1)] == script) --run_start;
    return character_byte_type(c->text.data() + run_start, offset - run_start, script) == 1;
}

// The offset one whole character after or before `offset`.
int32_t next_character(ControlRef c, int32_t offset) {
    const int32_t at = std::min(offset + 1, int32_t(c->text.size()));
    return inside_character(c, at) ? at + 1 : at;
}
int32_t previous_character(ControlRef c, int32_t offset) {
    const int32_t at = std::max(offset - 1, 0);
    return inside_character(c, at) ? at - 1 : at;
}

void delete_backward(ControlRef c, bool forward) {
    if (c->sel_start == c->sel_end) {
        int32_t at = c->sel_end;
        if (forward ? at >= int32_t(c->text.size()) : at <= 0) return;
        c->sel_start = forward ? at : previous_character(c, at);
        c->sel_end = forward ? next_character(c, at) : at;
    }
    replace_selection(c, "", {});
}

// The text offset nearest a local point.
int32_t offset_at(ControlRef c, Point where) {
    ControlPortScope port(c);
    LookScope scope;
    text_font(control_text_font(c));
    text_size(c->size);
    return offset_at_pixel(c, where.h - text_area(c).left + c->scroll);
}

bool spell_in_one_script(std::string_view utf8, bool, std::string& bytes, std::vector<int16_t>& scripts) {
    ScriptText spelled = spell_in_a_script(utf8);
    bytes = std::move(spelled.bytes);
    scripts.assign(bytes.size(), spelled.script);
    return true;
}

EditTextSpeller field_text_speller = spell_in_one_script;

}  // namespace

namespace controls_detail {

std::string edit_text_shown(ControlRef c) {
    return is_password(c) ? std::string(c->text.size(), char(kPasswordBullet)) : c->text;
}

bool takes_focus(ControlRef c) {
    return c->kind == kEditTextControl || c->kind == kPasswordTextControl || c->kind == kListBoxControl ||
           (c->kind == kUserPaneControl && c->focus_proc);
}

void draw_focus(ControlRef c, bool is_focused) {
    if (c->kind == kEditTextControl || c->kind == kPasswordTextControl) {
        redraw(c);
        return;
    }
    if (!shows(c)) return;
    ControlPortScope port(c);
    draw_focus_ring(c->bounds, is_focused);
}

void draw_edit_text(ControlRef c) {
    bool has_focus = focused(c);
    draw_focus_ring(c->bounds, has_focus);
    draw_sunken_frame(c->bounds, !is_control_active(c));
    Rect area = text_area(c);
    RgnHandle saved = new_region();
    get_clip(saved);
    RgnHandle clip = new_region();
    rect_region(clip, area);
    sect_region(clip, saved, clip);
    set_clip(clip);
    FontInfo info;
    get_font_info(info);
    int baseline = area.top + (area.height() - (info.ascent + info.descent)) / 2 + info.ascent;
    int16_t origin = int16_t(area.left - c->scroll);
    std::string shown = edit_text_shown(c);
    if (has_focus && c->sel_start != c->sel_end) {
        int16_t from = int16_t(origin + offset_pixels(c, selection_low(c)));
        int16_t to = int16_t(origin + offset_pixels(c, selection_high(c)));
        fill_rect_color(Rect{area.top, from, area.bottom, to}, kLookAccent);
    }
    rgb_fore_color(is_control_active(c) ? kLookText : kLookDimText);
    text_mode(kSrcOr);
    move_to(origin, int16_t(baseline));
    draw_runs(c, shown, 0, int32_t(shown.size()));
    if (has_focus && c->sel_start != c->sel_end) {
        // The selected characters again, in the accent's text colour.
        int32_t lo = selection_low(c), hi = selection_high(c);
        rgb_fore_color(kLookAccentText);
        move_to(int16_t(origin + offset_pixels(c, lo)), int16_t(baseline));
        draw_runs(c, shown, lo, hi);
    }
    if (has_focus && c->caret_on && c->sel_start == c->sel_end) {
        int16_t h = int16_t(origin + offset_pixels(c, c->sel_end));
        fill_rect_color(Rect{area.top, h, area.bottom, int16_t(h + 1)}, kLookText);
    }
    set_clip(saved);
    dispose_region(saved);
    dispose_region(clip);
}

// Command-A, X, C, V and Z: select all, cut, copy, paste, undo. Other
// Command keys are menu commands, not typing.
int16_t edit_text_command(ControlRef c, unsigned char ch) {
    switch (ch | 0x20) {
        case 'a': edit_text_select(c, 0, int32_t(c->text.size())); break;
        case 'x': edit_text_cut(c); break;
        case 'c': edit_text_copy(c); break;
        case 'v': edit_text_paste(c); break;
        case 'z': edit_text_undo(c); break;
        default: return kControlNoPart;
    }
    return kControlEditTextPart;
}

int16_t edit_text_key(ControlRef c, unsigned char ch, uint16_t modifiers) {
    bool extend = modifiers & kShiftKey;
    if (modifiers & kCmdKey) return edit_text_command(c, ch);
    switch (ch) {
        case kBackspaceChar: delete_backward(c, false); break;
        case kDeleteChar: delete_backward(c, true); break;
        case kLeftArrowChar:
            if (!extend && c->sel_start != c->sel_end) set_caret(c, selection_low(c), false);
            else set_caret(c, previous_character(c, c->sel_end), extend);
            break;
        case kRightArrowChar:
            if (!extend && c->sel_start != c->sel_end) set_caret(c, selection_high(c), false);
            else set_caret(c, next_character(c, c->sel_end), extend);
            break;
        case kUpArrowChar:
        case kHomeChar: set_caret(c, 0, extend); break;
        case kDownArrowChar:
        case kEndChar: set_caret(c, int32_t(c->text.size()), extend); break;
        default: {
            if (ch < 32) return kControlNoPart;
            unsigned char typed = ch;
            if (c->key_filter && !c->key_filter(c, typed, modifiers)) return kControlEditTextPart;
            // Typed in the keyboard's script; a password is Roman.
            const int16_t script = is_password(c) ? kScriptRoman : keyboard_script();
            replace_selection(c, std::string(1, char(typed)), {script});
            break;
        }
    }
    return kControlEditTextPart;
}

namespace {

constexpr int kClickSlop = 3;  // pixels a click may lie from the one before and still follow it

// The last click in a field: a click soon after it, near it, in the same field
// counts on from it.
struct FieldClick {
    ControlRef field = nullptr;
    Point where{};
    uint32_t when = 0;
    int count = 0;
};
FieldClick last_field_click;

int clicks_in_a_row(ControlRef c, Point where) {
    const uint32_t now = tick_count();
    const FieldClick& last = last_field_click;
    const bool follows = last.field == c && now - last.when <= double_click_time() &&
                         std::abs(where.h - last.where.h) <= kClickSlop && std::abs(where.v - last.where.v) <= kClickSlop;
    last_field_click = FieldClick{c, where, now, follows ? last.count + 1 : 1};
    return last_field_click.count;
}

}  // namespace

void edit_text_forget_clicks(ControlRef c) {
    if (last_field_click.field == c) last_field_click = FieldClick{};
}

// A click places the caret and a drag selects; a second click selects the word
// under it and a third the whole text (a password field's text is one word).
void edit_text_click(ControlRef c, Point where, uint16_t modifiers) {
    const int clicks = (modifiers & kShiftKey) ? 1 : clicks_in_a_row(c, where);
    if (clicks >= 3 || (clicks == 2 && is_password(c))) {
        edit_text_select(c, 0, int32_t(c->text.size()));
        return;
    }
    if (clicks == 2) {
        const WordRange word =
            find_word_breaks(c->text.data(), int32_t(c->text.size()), offset_at(c, where), true, 0);
        edit_text_select(c, word.start, word.end);
        return;
    }
    set_caret(c, offset_at(c, where), modifiers & kShiftKey);
    Point last = where;
    while (still_down()) {
        host_wait(8);
        Point now;
        get_mouse(now);
        if (now == last) continue;
        last = now;
        set_caret(c, offset_at(c, now), true);
    }
}

int16_t control_text_font(ControlRef c) {
    const bool edit_text = c->kind == kEditTextControl || c->kind == kPasswordTextControl;
    const int16_t script = edit_text ? edit_text_script(c) : kScriptRoman;
    return script > kScriptRoman ? script_font(script) : c->font;
}

void edit_text_set_text(ControlRef c, std::string_view text) {
    c->text = std::string(text.substr(0, kMaxEditTextLength));
    c->scripts.assign(c->text.size(), kScriptRoman);
    c->can_undo = false;
    c->sel_start = c->sel_end = c->anchor = int32_t(c->text.size());
    c->scroll = 0;
    changed(c);
}

}  // namespace controls_detail

void edit_text_select(ControlRef c, int32_t start, int32_t end) {
    if (!c) return;
    int32_t length = int32_t(c->text.size());
    c->anchor = c->sel_start = std::clamp<int32_t>(start, 0, length);
    c->sel_end = std::clamp<int32_t>(end, c->sel_start, length);
    changed(c);
}

// The selection reaches the clipboard as it reads: in Mac Roman, and in
// UTF-8 beside it when Mac Roman cannot spell it.
void edit_text_copy(ControlRef c) {
    if (!c || c->sel_start == c->sel_end || is_password(c)) return;
    const std::string selected = utf8_between(c, selection_low(c), selection_high(c));
    zero_scrap();
    const std::vector<uint8_t> text = scrap_text_from_utf8(selected);
    put_scrap(kScrapText, text.data(), text.size());
    const std::vector<uint8_t> unicode = scrap_unicode_text_from_utf8(selected);
    if (!unicode.empty()) put_scrap(kScrapUnicodeText, unicode.data(), unicode.size());
}

void edit_text_cut(ControlRef c) {
    if (!c || is_password(c)) return;
    edit_text_copy(c);
    replace_selection(c, "", {});
}

void edit_text_clear(ControlRef c) {
    if (c) replace_selection(c, "", {});
}

int16_t edit_text_script(ControlRef c) {
    if (!c || c->text.empty()) return kScriptRoman;
    int16_t found = c->scripts.front();
    bool beyond_ascii = false;
    for (size_t at = 0; at < c->text.size(); ++at) {
        if (uint8_t(c->text[at]) < 0x80) continue;
        if (beyond_ascii && c->scripts[at] != found) return kSeveralScripts;
        found = c->scripts[at];
        beyond_ascii = true;
    }
    return found;
}

void set_edit_text_script(ControlRef c, int16_t script) {
    if (!c || !script_enabled(script)) return;
    c->scripts.assign(c->text.size(), script);
    redraw(c);
}

std::string edit_text_utf8(ControlRef c) { return c ? utf8_between(c, 0, int32_t(c->text.size())) : std::string(); }

void set_edit_text_speller(EditTextSpeller speller) { field_text_speller = speller ? speller : spell_in_one_script; }

void edit_text_undo(ControlRef c) {
    if (!c || !c->can_undo) return;
    std::swap(c->text, c->undo_text);
    std::swap(c->scripts, c->undo_scripts);
    std::swap(c->sel_start, c->undo_start);
    std::swap(c->sel_end, c->undo_end);
    c->anchor = std::min(c->sel_start, c->sel_end);
    changed(c);
}

namespace {

// A text (UTF-8) spelled for the field: in the scripts that spell it; a
// password's in Roman. False when a paste is not to be made.
bool spell_for_field(ControlRef c, std::string_view utf8, bool pasted, std::string& bytes,
                     std::vector<int16_t>& scripts) {
    if (is_password(c)) {
        bytes = spell_in_script(utf8, kScriptRoman).bytes;
        scripts.assign(bytes.size(), kScriptRoman);
    } else if (!field_text_speller(utf8, pasted, bytes, scripts)) {
        return false;
    }
    if (scripts.size() != bytes.size()) scripts.resize(bytes.size(), kScriptRoman);
    return true;
}

}  // namespace

void set_edit_text_utf8(ControlRef c, std::string_view utf8) {
    if (!c) return;
    std::string bytes;
    std::vector<int16_t> scripts;
    spell_for_field(c, utf8, false, bytes, scripts);
    controls_detail::edit_text_set_text(c, bytes);
    scripts.resize(c->text.size());
    c->scripts = std::move(scripts);
    redraw(c);
}

// The clipboard's text as it reads (its UTF-8 flavour when Mac Roman could
// not hold it), spelled in the scripts that spell it; a password's in Roman.
// Nothing is pasted when the speller refuses it.
void edit_text_paste(ControlRef c) {
    std::vector<uint8_t> data;
    std::string utf8;
    if (!c) return;
    if (get_scrap(kScrapUnicodeText, data) == noErr) utf8 = scrap_unicode_text_to_utf8(data);
    else if (get_scrap(kScrapText, data) == noErr) utf8 = scrap_text_to_utf8(data);
    else return;
    // One line: a pasted line break ends what is taken.
    utf8 = utf8.substr(0, utf8.find_first_of("\r\n"));
    std::string bytes;
    std::vector<int16_t> scripts;
    if (spell_for_field(c, utf8, true, bytes, scripts)) replace_selection(c, bytes, scripts);
}

void idle_controls(WindowRef window) {
    ControlRef c = get_keyboard_focus(window);
    if (!c || (c->kind != kEditTextControl && c->kind != kPasswordTextControl)) return;
    uint32_t now = tick_count();
    if (now - c->caret_ticks < caret_time()) return;
    c->caret_ticks = now;
    c->caret_on = !c->caret_on;
    redraw(c);
}

}  // namespace pf
