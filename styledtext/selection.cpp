// The selection: setting it with the least redraw of the highlight, clicks with
// word and line selection and drag tracking, arrow and movement keys, word
// boundaries and character types.
#include "styledtext/styled_text_internal.h"

#include "platform/events/events.h"
#include "platform/screen/cursor.h"
#include "platform/text/text.h"

#include <algorithm>

namespace {

constexpr int32_t kMaxContext = 16383;

void invert_difference(int32_t old_start, int32_t old_end, int32_t new_start, int32_t new_end, WEReference we) {
    if (old_end <= new_start || new_end <= old_start) {
        _WEHiliteRangeAll(old_start, old_end, we);
        _WEHiliteRangeAll(new_start, new_end, we);
        return;
    }
    _WEHiliteRangeAll(std::min(old_start, new_start), std::max(old_start, new_start), we);
    _WEHiliteRangeAll(std::min(old_end, new_end), std::max(old_end, new_end), we);
}

}  // namespace

void WESetSelection(int32_t start, int32_t end, WEReference we) {
    WEInstance& w = WEI(we);
    w.flags &= ~weFValidNullStyle;
    _WEHideCaret(we);
    start = _WEPinInRange(start, 0, w.textLength);
    end = _WEPinInRange(end, 0, w.textLength);
    if (end < start) w.flags |= weFAnchorIsEnd;
    else w.flags &= ~weFAnchorIsEnd;
    _WEReorder(&start, &end);
    int32_t old_start = w.selStart, old_end = w.selEnd;
    w.selStart = start;
    w.selEnd = end;
    if (w.flags & weFInhibitRecal) return;
    if (w.flags & weFActive) {
        invert_difference(old_start, old_end, start, end, we);
    } else {
        _WEHiliteRangeAll(old_start, old_end, we);
        _WEHiliteRangeAll(start, end, we);
    }
    if (!(w.flags & weFMouseTracking)) {
        _WEShowCaret(we);
        w.clickCount = 0;
        WESelView(we);
    }
}

bool _WEOffsetInRange(int32_t offset, int8_t edge, int32_t start, int32_t end) {
    int32_t meant = edge == weTrailingEdge ? offset - 1 : offset;
    return start <= meant && meant < end;
}

// ---- Words, lines and characters ---------------------------------------------------------------

void WEFindWord(int32_t offset, int8_t edge, int32_t* start, int32_t* end, WEReference we, int16_t) {
    const WEInstance& w = WEI(we);
    offset = _WEPinInRange(offset, 0, w.textLength);
    int32_t from = std::max(0, offset - kMaxContext);
    int32_t to = std::min(w.textLength, offset + kMaxContext);
    pf::WordRange word = pf::find_word_breaks(WEText(we) + from, to - from, offset - from, edge != weTrailingEdge,
                                              pf::system_script());
    *start = from + word.start;
    *end = from + word.end;
}

int16_t WECharByte(int32_t offset, WEReference we) {
    const WEInstance& w = WEI(we);
    if (!(w.flags & weFDoubleByte) || offset < 0 || offset >= w.textLength) return 0;
    WERunInfo info;
    WEGetRunInfo(offset, info, we);
    int32_t from = std::max({0, offset - kMaxContext, info.runStart});
    return pf::character_byte_type(WEText(we) + from, offset - from, pf::font_to_script(info.runAttrs.runStyle.tsFont));
}

int16_t WECharType(int32_t offset, WEReference we) {
    const WEInstance& w = WEI(we);
    if (offset < 0 || offset >= w.textLength) return 0;
    WERunInfo info;
    WEGetRunInfo(offset, info, we);
    int32_t from = std::max({0, offset - kMaxContext, info.runStart});
    return pf::character_type(WEText(we) + from, offset - from, pf::system_script());
}

void WE_MatchKeyScript(WEReference we) {
    WEInstance& w = WEI(we);
    if (!(w.flags & weFNonRoman) || w.selStart != w.selEnd) return;
    w.flags &= ~weFValidNullStyle;
    uint16_t mode = weDoFont;
    WETextStyle style;
    WEContinuousStyle(&mode, style, we);
    int16_t script = pf::font_to_script(style.tsFont);
    if (script != pf::keyboard_script()) pf::set_keyboard_script(script);
}

// ---- Clicks -----------------------------------------------------------------------------------------

namespace {

void unit_at(int32_t offset, int8_t edge, int32_t* start, int32_t* end, WEReference we, int16_t view) {
    if (WEI(we).clickCount == 1) WEFindWord(offset, edge, start, end, we, view);
    else WEFindLine(offset, edge, start, end, we, view);
}

// The selection for the mouse at `offset` while tracking.
void track_to(int32_t offset, int8_t edge, WEReference we, int16_t view) {
    WEInstance& w = WEI(we);
    if (w.clickCount == 0) {
        int32_t active = offset + (edge == weObjectEdge ? 1 : 0);
        WESetSelection(w.anchorStart, active, we);
        return;
    }
    int32_t start = 0, end = 0;
    unit_at(offset, edge, &start, &end, we, view);
    if (offset <= w.anchorStart) WESetSelection(w.anchorEnd, start, we);
    else WESetSelection(w.anchorStart, end, we);
}

}  // namespace

void WEClick(pf::Point point, uint16_t modifiers, uint32_t when, WEReference we, bool matchKeyScript, int16_t view) {
    if (!WEHasView(we, view)) return;
    WEStopInlineSession(we);
    WEInstance& w = WEI(we);
    _WEHideCaret(we);
    int8_t edge = 0;
    int32_t offset = WEGetOffset(WEPointToLongPoint(point), &edge, we, view);
    bool repeat = when < w.lastClickTime + pf::double_click_time() && offset == w.lastClickOffset;
    w.lastClickOffset = offset;
    w.lastClickTime = when;
    w.lastClickEdge = edge;
    // A click on a selected object would go to its kind's click procedure first; no
    // object kind is registered, so objects take no clicks.
    if (modifiers & pf::kShiftKey) {
        int32_t anchor = (w.flags & weFAnchorIsEnd) ? w.selEnd : w.selStart;
        if (w.clickCount == 0) w.anchorStart = w.anchorEnd = anchor;
    } else if (repeat) {
        ++w.clickCount;
        unit_at(offset, edge, &w.anchorStart, &w.anchorEnd, we, view);
    } else {
        w.clickCount = 0;
        w.anchorStart = w.anchorEnd = offset;
    }
    w.flags |= weFMouseTracking;
    bool first = true;
    do {
        pf::Point mouse = point;
        if (!first) {
            mouse = pf::mouse_location();
            pf::PortScope scope(w.port[view]);
            pf::global_to_local(mouse);
        }
        first = false;
        offset = WEGetOffset(WEPointToLongPoint(mouse), &edge, we, view);
        track_to(offset, edge, we, view);
        if (w.clickLoop && !w.clickLoop(we)) break;
    } while (pf::still_down());
    w.flags &= ~weFMouseTracking;
    _WEShowCaret(we);
    if (matchKeyScript) WE_MatchKeyScript(we);
}

// ---- Keys -----------------------------------------------------------------------------------------

int32_t _WEArrowOffset(int16_t code, int32_t offset, WEReference we) {
    const WEInstance& w = WEI(we);
    switch (code) {
        case weLeft:
            if (offset <= 0) return 0;
            return offset - ((offset >= 2 && WECharByte(offset - 1, we) == 1) ? 2 : 1);
        case weRight:
            if (offset >= w.textLength) return w.textLength;
            return offset + (WECharByte(offset, we) == -1 ? 2 : 1);
        case weUp:
        case weDown: {
            LongPoint p;
            int16_t height = 0;
            WEGetPoint(offset, p, &height, we, 0);
            p.v += code == weUp ? -1 : height;
            return WEGetOffset(p, nullptr, we, 0);
        }
        case weWordLeft: {
            int32_t start = 0, end = 0;
            WEFindWord(offset, weTrailingEdge, &start, &end, we, 0);
            return start;
        }
        case weWordRight: {
            int32_t start = 0, end = 0;
            WEFindWord(offset, weLeadingEdge, &start, &end, we, 0);
            return end;
        }
        case weTextStart: return 0;
        case weTextEnd: return w.textLength;
        case weLineStart:
        case weLineEnd: {
            int32_t start = 0, end = 0;
            WEFindLine(offset, 0, &start, &end, we, 0);
            if (code == weLineStart) return start;
            return end < w.textLength ? _WEArrowOffset(weLeft, end, we) : end;
        }
        default: return offset;
    }
}

namespace {

// Moves the selection to `target` (an offset computed from the active end).
void move_selection(int32_t target_from_active, bool backwards, uint16_t modifiers, WEReference we) {
    WEInstance& w = WEI(we);
    if (modifiers & pf::kShiftKey) {
        int32_t anchor = (w.flags & weFAnchorIsEnd) ? w.selEnd : w.selStart;
        WESetSelection(anchor, target_from_active, we);
        return;
    }
    if (w.selStart == w.selEnd) {
        WESetSelection(target_from_active, target_from_active, we);
        return;
    }
    int32_t to = backwards ? w.selStart : w.selEnd;
    WESetSelection(to, to, we);
}

int32_t active_end(WEReference we) {
    const WEInstance& w = WEI(we);
    if (w.selStart == w.selEnd) return w.selStart;
    return (w.flags & weFAnchorIsEnd) ? w.selStart : w.selEnd;
}

// The offset a page up or down away: the point a view's height above or below.
int32_t page_offset(bool down, int32_t offset, WEReference we) {
    const WEInstance& w = WEI(we);
    LongPoint p;
    int16_t height = 0;
    WEGetPoint(offset, p, &height, we, 0);
    int32_t page = std::max<int32_t>(height, w.viewRect[0].bottom - w.viewRect[0].top - height);
    p.v += down ? page : -page;
    if (p.v < w.destRect[0].top) return 0;
    return WEGetOffset(p, nullptr, we, 0);
}

}  // namespace

void _WEDoArrowKey(unsigned char key, uint16_t modifiers, WEReference we) {
    int16_t code = int16_t(key - pf::kLeftArrowChar);
    if (modifiers & pf::kOptionKey) code = int16_t(key - 24);
    if (modifiers & pf::kCmdKey) code = int16_t(code + 8);
    int32_t target = _WEArrowOffset(code, active_end(we), we);
    if (!(modifiers & pf::kShiftKey) && WEI(we).selStart == WEI(we).selEnd)
        target = _WEArrowOffset(code, WEI(we).selStart, we);
    move_selection(target, key == pf::kLeftArrowChar || key == pf::kUpArrowChar, modifiers, we);
}

namespace {

// Home and End move to the start and end of the line, Page Up and Down by a view.
bool do_movement_key(unsigned char key, uint16_t modifiers, WEReference we) {
    int32_t from = active_end(we);
    int32_t target = 0;
    switch (key) {
        case pf::kHomeChar: target = _WEArrowOffset(weLineStart, from, we); break;
        case pf::kEndChar: target = _WEArrowOffset(weLineEnd, from, we); break;
        case pf::kPageUpChar: target = page_offset(false, from, we); break;
        case pf::kPageDownChar: target = page_offset(true, from, we); break;
        default: return false;
    }
    if (modifiers & pf::kShiftKey) move_selection(target, false, modifiers, we);
    else WESetSelection(target, target, we);
    return true;
}

}  // namespace

void WEKey(unsigned char key, uint16_t modifiers, WEReference we, bool matchKeyScript) {
    _WEHideCaret(we);
    pf::obscure_cursor();
    if (key >= pf::kLeftArrowChar && key <= pf::kDownArrowChar) {
        _WEDoArrowKey(key, modifiers, we);
        if (matchKeyScript) WE_MatchKeyScript(we);
        return;
    }
    if (do_movement_key(key, modifiers, we)) return;
    if (_WEBeginTyping(we) != pf::noErr) return;
    if (key == pf::kBackspaceChar) _WEBackspace(we);
    else if (key == pf::kDeleteChar) _WEForwardDelete(we);
    else _WETypeChar(key, we);
}
