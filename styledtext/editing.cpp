// Changing the text: inserting and deleting bytes with their runs and lines,
// typing, deleting by keys, inserting and clearing with intelligent spaces, and
// style changes.
#include "styledtext/styled_text_internal.h"

#include "platform/events/events.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

// ---- Primitives -----------------------------------------------------------------------------

pf::OSErr _WEInsertText(int32_t offset, const void* bytes, int32_t length, WEReference we) {
    if (length < 1) return pf::noErr;
    WEInstance& w = WEI(we);
    offset = _WEPinInRange(offset, 0, w.textLength);
    if (pf::OSErr err = pf::set_handle_size(w.hText, w.textLength + length)) return err;
    char* text = WEText(we);
    std::memmove(text + offset + length, text + offset, size_t(w.textLength - offset));
    std::memcpy(text + offset, bytes, size_t(length));
    _WEBumpLineStartAll(offset, length, we);
    WERunRecord* runs = WERuns(we);
    for (int32_t i = _WEOffsetToRun(offset - 1, we) + 1; i <= w.runCount; ++i) runs[i].runStart += length;
    w.nullStyle.runStyle.tsObject = nullptr;
    w.textLength += length;
    if (w.flags & weFValidNullStyle)
        return _WESetStyleRange(offset, offset + length, weDoAll | weDoObject, w.nullStyle.runStyle, we);
    return _WESetStyleRange(offset, offset + length, weDoObject, WETextStyle{}, we);
}

pf::OSErr _WEDeleteRange(int32_t start, int32_t end, WEReference we) {
    WEInstance& w = WEI(we);
    end = _WEPinInRange(end, 0, w.textLength);
    start = _WEPinInRange(start, 0, end);
    if (start == end) return pf::noErr;
    WERunInfo info;
    WEGetRunInfo(start, info, we);
    w.nullStyle = info.runAttrs;
    w.nullStyle.runStyle.tsObject = nullptr;
    w.nullStyle.runStyle.tsFlags = 0;
    w.flags |= weFValidNullStyle;
    if (end == w.textLength) {
        WEGetRunInfo(end - 1, info, we);
        if (info.runAttrs.runStyle.tsObject)
            if (pf::OSErr err = _WESetStyleRange(end - 1, end, weDoObject, WETextStyle{}, we)) return err;
    }
    int32_t delta = end - start;
    _WERemoveLineRangeAll(start, end, we);
    int32_t first = _WEOffsetToRun(start, we);
    int32_t last = _WEOffsetToRun(end, we);
    WERunRecord* runs = WERuns(we);
    for (int32_t i = first + 1; i <= w.runCount; ++i)
        runs[i].runStart = runs[i].runStart <= end ? start : runs[i].runStart - delta;
    char* text = WEText(we);
    std::memmove(text + start, text + end, size_t(w.textLength - end));
    w.textLength -= delta;
    pf::set_handle_size(w.hText, w.textLength);
    _WENormaliseRuns(first, last + 1, we);
    return pf::noErr;
}

bool _WEIsPunct(int32_t offset, WEReference we) {
    if (offset < 0 || offset >= WEI(we).textLength) return true;
    int16_t type = WECharType(offset, we);
    int16_t cls = type & pf::kCharClassMask;
    return (type & pf::kCharTypeMask) == pf::kCharPunct && (cls == pf::kPunctNormal || cls == pf::kPunctBlank);
}

namespace {

void place_caret(int32_t offset, WEReference we) {
    WEInstance& w = WEI(we);
    w.selStart = w.selEnd = offset;
    w.flags &= ~weFAnchorIsEnd;
}

bool is_space(int32_t offset, WEReference we) { return WEGetChar(offset, we) == ' ' && offset < WEI(we).textLength; }

// Widens a selection of whole words by one space before it, else after it.
void _WEIntelligentCut(int32_t* start, int32_t* end, WEReference we) {
    int32_t word_start = 0, word_end = 0, scratch = 0;
    WEFindWord(*start, weLeadingEdge, &word_start, &scratch, we);
    WEFindWord(*end, weTrailingEdge, &scratch, &word_end, we);
    if (word_start != *start || word_end != *end) return;
    if (_WEIsPunct(*start, we) || _WEIsPunct(*end - 1, we)) return;
    if (*start > 0 && is_space(*start - 1, we)) --*start;
    else if (is_space(*end, we)) ++*end;
}

// A space between inserted words and their neighbours; answers the bytes added.
int32_t _WEIntelligentPaste(int32_t start, int32_t end, WEReference we) {
    if (end <= start || _WEIsPunct(start, we) || _WEIsPunct(end - 1, we)) return 0;
    bool before = _WEIsPunct(start - 1, we), after = _WEIsPunct(end, we);
    if (before == after) return 0;
    _WEInsertText(before ? end : start, " ", 1, we);
    return 1;
}

pf::OSErr push_new_action(int32_t start, int32_t end, int32_t currentLength, int16_t kind, int16_t flags,
                          WEReference we) {
    if (!(WEI(we).flags & weFUndo)) return pf::noErr;
    WEClearUndo(we);
    WEActionReference action = nullptr;
    if (pf::OSErr err = WENewAction(start, end, currentLength, kind, flags, we, &action)) return err;
    WEPushAction(action);
    return pf::noErr;
}

void grow_typed_length(int32_t delta, WEReference we) {
    if (WEActionReference action = WEPendingAction(we)) (*action)->currentLength += delta;
}

}  // namespace

// ---- Public edits ------------------------------------------------------------------------------

pf::OSErr WEInsert(const void* text, int32_t length, pf::Handle styleScrap, pf::Handle soup, WEReference we) {
    if (length < 0) return pf::kParamErr;
    if (styleScrap)
        if (pf::OSErr err = _WECheckStyleScrap(styleScrap)) return err;
    WEStopInlineSession(we);
    WEInstance& w = WEI(we);
    if (pf::OSErr err = push_new_action(w.selStart, w.selEnd, length, weAKInsert, 0, we)) return err;
    ++w.modCount;
    _WEHiliteRangeAll(w.selStart, w.selEnd, we);
    int32_t start = w.selStart;
    if (pf::OSErr err = _WEDeleteRange(w.selStart, w.selEnd, we)) return err;
    place_caret(start, we);
    if (pf::OSErr err = _WEInsertText(start, text, length, we)) return err;
    if (styleScrap) _WEApplyStyleScrap(start, start + length, styleScrap, we);
    if (soup) _WEApplySoup(start, soup, we);
    int32_t end = start + length;
    if (w.flags & weFIntCutAndPaste) {
        int32_t added = _WEIntelligentPaste(start, end, we);
        end += added;
        grow_typed_length(added, we);
    }
    w.flags &= ~weFValidNullStyle;
    place_caret(end, we);
    return _WERedrawAll(start, end, we);
}

pf::OSErr WEDelete(WEReference we) {
    WEStopInlineSession(we);
    WEInstance& w = WEI(we);
    if (w.selStart == w.selEnd) return pf::noErr;
    int32_t start = w.selStart, end = w.selEnd;
    if (w.flags & weFIntCutAndPaste) _WEIntelligentCut(&start, &end, we);
    if (pf::OSErr err = push_new_action(start, end, 0, weAKClear, 0, we)) return err;
    ++w.modCount;
    _WEHiliteRangeAll(w.selStart, w.selEnd, we);
    if (pf::OSErr err = _WEDeleteRange(start, end, we)) return err;
    place_caret(start, we);
    return _WERedrawAll(start, start, we);
}

namespace {

// The selected part of a run as a font keeping its letters sets it: its
// place, and its pieces (in_target: the font's script spells it, in those
// bytes; else it keeps the run's bytes and font).
struct RunInFont {
    int32_t start, end;
    std::vector<pf::ScriptPiece> pieces;
    std::string bytes() const {
        std::string all;
        for (const pf::ScriptPiece& piece : pieces) all += piece.bytes;
        return all;
    }
};

// The selected parts of the runs between start and end in `font`. A run with
// an object, or whose words do not come back whole, keeps its font.
std::vector<RunInFont> runs_in_font(int32_t start, int32_t end, int16_t font, WEReference we) {
    std::vector<RunInFont> runs;
    for (int32_t run = _WEOffsetToRun(start, we); run < WEI(we).runCount; ++run) {
        WERunInfo info;
        _WEGetIndStyle(run, info, we);
        const int32_t from = std::max(info.runStart, start), to = std::min(info.runEnd, end);
        if (from >= end) break;
        if (from >= to) continue;
        const std::string_view bytes(WEText(we) + from, size_t(to - from));
        const WETextStyle& own = info.runAttrs.runStyle;
        RunInFont part{from, to, {}};
        if (!own.tsObject)
            part.pieces = pf::pieces_in_script(bytes, pf::font_to_script(own.tsFont), pf::font_to_script(font));
        if (part.pieces.empty()) part.pieces.push_back(pf::ScriptPiece{false, std::string(bytes)});
        runs.push_back(std::move(part));
    }
    return runs;
}

bool font_takes_all(const std::vector<RunInFont>& runs, WEReference we) {
    for (const RunInFont& run : runs) {
        for (const pf::ScriptPiece& piece : run.pieces)
            if (!piece.in_target) return false;
        if (run.bytes() != std::string_view(WEText(we) + run.start, size_t(run.end - run.start))) return false;
    }
    return true;
}

// One run's part spelled again where its pieces ask, each piece then styled:
// the pieces of the font's script with the whole mode, the others without
// the font.
pf::OSErr set_run_in_font(const RunInFont& run, uint16_t mode, const WETextStyle& style, WEReference we) {
    const std::string bytes = run.bytes();
    if (bytes != std::string_view(WEText(we) + run.start, size_t(run.end - run.start))) {
        if (pf::OSErr err = _WEDeleteRange(run.start, run.end, we)) return err;
        if (pf::OSErr err = _WEInsertText(run.start, bytes.data(), int32_t(bytes.size()), we)) return err;
    }
    int32_t at = run.start;
    for (const pf::ScriptPiece& piece : run.pieces) {
        const auto length = int32_t(piece.bytes.size());
        const uint16_t piece_mode = uint16_t((piece.in_target ? mode : mode & ~weDoFont) & ~weDoKeepLetters);
        if (piece_mode && length)
            if (pf::OSErr err = _WESetStyleRange(at, at + length, piece_mode, style, we)) return err;
        at += length;
    }
    return pf::noErr;
}

// A font set over the selection keeping every letter, the selection then
// holding the text as spelled; false when the font takes the selection as
// it is (a plain style change does).
bool set_font_keeping_letters(uint16_t mode, const WETextStyle& style, WEReference we, pf::OSErr* err) {
    WEInstance& w = WEI(we);
    const std::vector<RunInFont> runs = runs_in_font(w.selStart, w.selEnd, style.tsFont, we);
    if (font_takes_all(runs, we)) return false;
    int32_t length = 0;
    for (const RunInFont& run : runs) length += int32_t(run.bytes().size());
    *err = push_new_action(w.selStart, w.selEnd, length, weAKStyle, 0, we);
    if (*err) return true;
    ++w.modCount;
    for (auto run = runs.rbegin(); run != runs.rend() && !*err; ++run) *err = set_run_in_font(*run, mode, style, we);
    w.selEnd = w.selStart + length;
    w.flags &= ~weFValidNullStyle;
    const pf::OSErr redraw = _WERedrawAll(w.selStart, w.selEnd, we);
    if (!*err) *err = redraw;
    return true;
}

}  // namespace

pf::OSErr WESetStyle(uint16_t mode, const WETextStyle& style, WEReference we) {
    WEStopInlineSession(we);
    WEInstance& w = WEI(we);
    if (w.selStart == w.selEnd) {
        _WESynchNullStyle(we, false);
        _WECopyStyle(style, w.nullStyle.runStyle, w.nullStyle.runStyle.tsFace, mode);
        _WEFillFontInfo(w.nullStyle);
        if (w.selStart == 0 && w.textLength == 0) {
            if (pf::OSErr err = _WESetStyleRange(0, 0, mode, style, we)) return err;
            pf::OSErr err = _WERedrawAll(0, 0, we);
            w.flags |= weFValidNullStyle;
            return err;
        }
        if (mode & weDoFont) WE_MatchKeyScript(we);
        return pf::noErr;
    }
    pf::OSErr kept = pf::noErr;
    if ((mode & weDoFont) && (mode & weDoKeepLetters) && set_font_keeping_letters(mode, style, we, &kept)) return kept;
    if (pf::OSErr err = push_new_action(w.selStart, w.selEnd, w.selEnd - w.selStart, weAKStyle,
                                        weAFDontSaveText | weAFDontSaveSoup, we))
        return err;
    ++w.modCount;
    pf::OSErr err = _WESetStyleRange(w.selStart, w.selEnd, mode, style, we);
    pf::OSErr redraw = _WERedrawAll(w.selStart, w.selEnd, we);
    return err ? err : redraw;
}

pf::OSErr WEUseStyleScrap(pf::Handle styleScrap, WEReference we) {
    if (!styleScrap) return pf::kNilHandleErr;
    if (pf::OSErr err = _WECheckStyleScrap(styleScrap)) return err;
    WEInstance& w = WEI(we);
    pf::OSErr err = _WEApplyStyleScrap(w.selStart, w.selEnd, styleScrap, we);
    pf::OSErr redraw = _WERedrawAll(w.selStart, w.selEnd, we);
    return err ? err : redraw;
}

// ---- Typing --------------------------------------------------------------------------------------

pf::OSErr _WEBeginTyping(WEReference we) {
    WEStopInlineSession(we);
    if (WEIsTyping(we)) return pf::noErr;
    WEInstance& w = WEI(we);
    if (pf::OSErr err = push_new_action(w.selStart, w.selEnd, 0, weAKTyping, 0, we)) return err;
    ++w.modCount;
    return pf::noErr;
}

namespace {

// Deletes a non-empty selection with its highlight; the caret goes to its start.
pf::OSErr delete_selection(WEReference we) {
    WEInstance& w = WEI(we);
    int32_t start = w.selStart, end = w.selEnd;
    _WEHiliteRangeAll(start, end, we);
    if (pf::OSErr err = _WEDeleteRange(start, end, we)) return err;
    place_caret(start, we);
    return pf::noErr;
}

// The same for a key that deletes (Backspace, Delete), the text redrawn.
pf::OSErr delete_selection_by_key(WEReference we) {
    const int32_t start = WEI(we).selStart;
    if (pf::OSErr err = delete_selection(we)) return err;
    return _WERedrawAll(start, start, we);
}

}  // namespace

pf::OSErr _WETypeChar(unsigned char key, WEReference we) {
    WEInstance& w = WEI(we);
    if (w.selStart != w.selEnd)
        if (pf::OSErr err = delete_selection(we)) return err;
    _WESynchNullStyle(we, true);  // a key is typed in the keyboard's script
    unsigned char bytes[2] = {key, 0};
    int32_t length = 1;
    if (w.flags & weFDoubleByte) {
        if (w.pendingByte) {
            bytes[0] = w.pendingByte;
            bytes[1] = key;
            length = 2;
            w.pendingByte = 0;
        } else if (pf::character_byte_type(reinterpret_cast<const char*>(bytes), 0,
                                           pf::font_to_script(w.nullStyle.runStyle.tsFont)) == -1) {
            w.pendingByte = key;
            w.selEnd = w.selStart;
            return pf::noErr;
        }
    }
    int32_t offset = w.selStart;
    if (pf::OSErr err = _WEInsertText(offset, bytes, length, we)) return err;
    grow_typed_length(length, we);
    w.flags &= ~weFValidNullStyle;
    place_caret(offset + length, we);
    return _WERedrawAll(offset, offset + length, we);
}

pf::OSErr _WEBackspace(WEReference we) {
    WEInstance& w = WEI(we);
    if (w.selStart != w.selEnd) return delete_selection_by_key(we);
    if (w.selStart == 0) return pf::noErr;
    int32_t end = w.selStart;
    int32_t start = end - ((end >= 2 && WECharByte(end - 1, we) != 0) ? 2 : 1);
    int32_t length = end - start;
    if (WEActionReference action = WEPendingAction(we)) {
        WEActionRecord& a = **action;
        if (a.currentLength > 0) {
            a.currentLength = std::max(0, a.currentLength - length);
        } else {
            WERunInfo info;
            WEGetRunInfo(start, info, we);
            if (a.text) _WEInsertSlot(a.text, WEText(we) + start, 0, length);
            if (a.styles) _WEPrependStyle(a.styles, info, length);
            if (a.soup) _WEPrependObject(a.soup, info, length);
            a.start -= length;
            a.savedLength += length;
        }
    }
    if (pf::OSErr err = _WEDeleteRange(start, end, we)) return err;
    place_caret(start, we);
    return _WERedrawAll(start, start, we);
}

pf::OSErr _WEForwardDelete(WEReference we) {
    WEInstance& w = WEI(we);
    if (w.selStart != w.selEnd) return delete_selection_by_key(we);
    if (w.selStart >= w.textLength) return pf::noErr;
    int32_t start = w.selStart;
    int32_t length = WECharByte(start, we) == -1 ? 2 : 1;
    length = std::min(length, w.textLength - start);
    if (WEActionReference action = WEPendingAction(we)) {
        WEActionRecord& a = **action;
        WERunInfo info;
        WEGetRunInfo(start, info, we);
        if (a.text) pf::ptr_and_hand(WEText(we) + start, a.text, length);
        if (a.styles) _WEAppendStyle(a.styles, info, a.savedLength);
        if (a.soup) _WEAppendObject(a.soup, info, a.savedLength);
        a.savedLength += length;
    }
    if (pf::OSErr err = _WEDeleteRange(start, start + length, we)) return err;
    place_caret(start, we);
    return _WERedrawAll(start, start, we);
}
