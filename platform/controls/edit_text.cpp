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

// Pixel offset of a text offset from the start of the shown text.
int16_t offset_pixels(ControlRef c, int32_t offset) {
    return char_to_pixel(edit_text_shown(c), 0, offset);
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
    int total = text_width(edit_text_shown(c));
    if (total - c->scroll < width - 2) c->scroll = int16_t(std::max(0, total - width + 2));
}

void changed(ControlRef c) {
    keep_caret_visible(c);
    c->caret_on = true;
    c->caret_ticks = tick_count();
    redraw(c);
}

void replace_selection(ControlRef c, std::string_view with) {
    int32_t start = std::min(c->sel_start, c->sel_end), end = std::max(c->sel_start, c->sel_end);
    size_t room = kMaxEditTextLength - (c->text.size() - size_t(end - start));
    if (with.size() > room) {
        host_beep();  // too long: nothing is inserted, nothing lost
        return;
    }
    c->undo_text = c->text;
    c->undo_script = c->script;
    c->undo_start = c->sel_start;
    c->undo_end = c->sel_end;
    c->can_undo = true;
    c->text.replace(size_t(start), size_t(end - start), with);
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

void delete_backward(ControlRef c, bool forward) {
    if (c->sel_start == c->sel_end) {
        int32_t at = c->sel_end;
        if (forward ? at >= int32_t(c->text.size()) : at <= 0) return;
        c->sel_start = forward ? at : at - 1;
        c->sel_end = forward ? at + 1 : at;
    }
    replace_selection(c, "");
}

// A field whose text kept beside the selection is ASCII (the same in every
// script) takes the keyboard's script; a password stays Roman.
void follow_keyboard_script(ControlRef c) {
    const auto is_ascii = [](char ch) { return uint8_t(ch) < 0x80; };
    const std::string_view text = c->text;
    const bool ascii = std::all_of(text.begin(), text.begin() + selection_low(c), is_ascii) &&
                       std::all_of(text.begin() + selection_high(c), text.end(), is_ascii);
    if (ascii && !is_password(c)) c->script = keyboard_script();
}

// The text offset nearest a local point.
int32_t offset_at(ControlRef c, Point where) {
    ControlPortScope port(c);
    LookScope scope;
    text_font(control_text_font(c));
    text_size(c->size);
    int h = where.h - text_area(c).left + c->scroll;
    PixelHit hit = pixel_to_char(edit_text_shown(c), 0, Fixed(h) << 16);
    return hit.offset;
}

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
    draw_text(shown);
    if (has_focus && c->sel_start != c->sel_end) {
        // The selected characters again, in the accent's text colour.
        int32_t lo = selection_low(c), hi = selection_high(c);
        rgb_fore_color(kLookAccentText);
        move_to(int16_t(origin + offset_pixels(c, lo)), int16_t(baseline));
        draw_text(std::string_view(shown).substr(size_t(lo), size_t(hi - lo)));
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
            else set_caret(c, c->sel_end - 1, extend);
            break;
        case kRightArrowChar:
            if (!extend && c->sel_start != c->sel_end) set_caret(c, selection_high(c), false);
            else set_caret(c, c->sel_end + 1, extend);
            break;
        case kUpArrowChar:
        case kHomeChar: set_caret(c, 0, extend); break;
        case kDownArrowChar:
        case kEndChar: set_caret(c, int32_t(c->text.size()), extend); break;
        default: {
            if (ch < 32) return kControlNoPart;
            unsigned char typed = ch;
            if (c->key_filter && !c->key_filter(c, typed, modifiers)) return kControlEditTextPart;
            const int16_t script = c->script;
            if (typed >= 0x80) follow_keyboard_script(c);
            replace_selection(c, std::string(1, char(typed)));
            c->undo_script = script;
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
    return edit_text && c->script != kScriptRoman ? script_font(c->script) : c->font;
}

void edit_text_set_text(ControlRef c, std::string_view text) {
    c->text = std::string(text.substr(0, kMaxEditTextLength));
    c->script = kScriptRoman;
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

void edit_text_copy(ControlRef c) {
    if (!c || c->sel_start == c->sel_end || is_password(c)) return;
    std::string selected = c->text.substr(size_t(selection_low(c)), size_t(selection_high(c) - selection_low(c)));
    zero_scrap();
    put_scrap(kScrapText, selected.data(), selected.size());
}

void edit_text_cut(ControlRef c) {
    if (!c || is_password(c)) return;
    edit_text_copy(c);
    replace_selection(c, "");
}

void edit_text_clear(ControlRef c) {
    if (c) replace_selection(c, "");
}

int16_t edit_text_script(ControlRef c) { return c ? c->script : kScriptRoman; }

void set_edit_text_script(ControlRef c, int16_t script) {
    if (!c || !script_enabled(script)) return;
    c->script = script;
    redraw(c);
}

void edit_text_undo(ControlRef c) {
    if (!c || !c->can_undo) return;
    std::swap(c->text, c->undo_text);
    std::swap(c->script, c->undo_script);
    std::swap(c->sel_start, c->undo_start);
    std::swap(c->sel_end, c->undo_end);
    c->anchor = std::min(c->sel_start, c->sel_end);
    changed(c);
}

void edit_text_paste(ControlRef c) {
    std::vector<uint8_t> data;
    if (!c || get_scrap(kScrapText, data) != noErr) return;
    // One line: a pasted line break ends what is taken.
    std::string text(data.begin(), data.end());
    text = text.substr(0, text.find_first_of("\r\n"));
    replace_selection(c, text);
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
