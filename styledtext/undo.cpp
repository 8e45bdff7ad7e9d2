// Undo and redo: chains of actions that save the text, styles and objects of a
// range, performed in reverse to undo, each making its own reverse for redo.
#include "styledtext/styled_text_internal.h"

#include <algorithm>
#include <climits>

pf::OSErr WENewAction(int32_t start, int32_t end, int32_t currentLength, int16_t kind, int16_t flags, WEReference we,
                      WEActionReference* out) {
    *out = nullptr;
    pf::Handle h = nullptr;
    if (pf::OSErr err = _WEAllocate(sizeof(WEActionRecord), kAllocClear, &h)) return err;
    WEActionReference action = reinterpret_cast<WEActionReference>(h);
    WEActionRecord& a = **action;
    a.instance = we;
    a.start = start;
    a.currentLength = currentLength;
    a.savedLength = end - start;
    a.kind = kind;
    a.flags = flags;
    a.selStart = WEI(we).selStart;
    a.selEnd = WEI(we).selEnd;
    constexpr int16_t mode = kAllocClear | kAllocTempFirst;
    pf::OSErr err = pf::noErr;
    if (!(flags & weAFDontSaveText)) err = _WEAllocate(0, mode, &(*action)->text);
    if (!err && !(flags & weAFDontSaveStyles)) err = _WEAllocate(0, mode, &(*action)->styles);
    if (!err && !(flags & weAFDontSaveSoup)) err = _WEAllocate(0, mode, &(*action)->soup);
    if (!err) err = WECopyRange(start, end, (*action)->text, (*action)->styles, (*action)->soup, we);
    if (err) {
        WEDisposeAction(action);
        return err;
    }
    *out = action;
    return pf::noErr;
}

void WEPushAction(WEActionReference action) {
    WEReference we = (*action)->instance;
    WEActionReference last = action;
    while ((*last)->next) last = reinterpret_cast<WEActionReference>((*last)->next);
    (*last)->next = WEI(we).undoAction;
    WEI(we).undoAction = reinterpret_cast<pf::Handle>(action);
}

void WEDisposeAction(WEActionReference action) {
    if (!action) return;
    _WEForgetHandle(&(*action)->text);
    _WEForgetHandle(&(*action)->styles);
    _WEForgetHandle(&(*action)->soup);
    pf::dispose_handle(reinterpret_cast<pf::Handle>(action));
}

void WEForgetAction(WEActionReference* action) {
    while (*action) {
        WEActionReference next = reinterpret_cast<WEActionReference>((**action)->next);
        WEDisposeAction(*action);
        *action = next;
    }
}

namespace {

// Puts the saved text, styles and objects of one action back.
pf::OSErr perform(const WEActionRecord& a, WEReference we) {
    if (a.text) {
        if (pf::OSErr err = _WEDeleteRange(a.start, a.start + a.currentLength, we)) return err;
        pf::OSErr err = pf::noErr;
        {
            bool locked = _WESetHandleLock(a.text, true);
            err = _WEInsertText(a.start, *a.text, a.savedLength, we);
            _WESetHandleLock(a.text, locked);
        }
        if (err) return err;
    }
    if (a.styles)
        if (pf::OSErr err = _WEApplyStyleScrap(a.start, a.start + a.savedLength, a.styles, we)) return err;
    if (a.soup)
        if (pf::OSErr err = _WEApplySoup(a.start, a.soup, we)) return err;
    return pf::noErr;
}

}  // namespace

pf::OSErr WEDoAction(WEActionReference action) {
    if (!action) return pf::kNilHandleErr;
    WEReference we = (*action)->instance;
    WEInstance& w = WEI(we);
    _WEHiliteRangeAll(w.selStart, w.selEnd, we);
    _WEHideCaret(we);
    int32_t low = INT32_MAX, high = INT32_MIN;
    pf::OSErr err = pf::noErr;
    WEActionReference last = action;
    for (WEActionReference a = action; a; a = reinterpret_cast<WEActionReference>((*a)->next)) {
        last = a;
        WEActionRecord record = **a;
        if (w.flags & weFUndo) {
            WEActionReference reverse = nullptr;
            if (WENewAction(record.start, record.start + record.currentLength, record.savedLength, record.kind,
                            int16_t(record.flags ^ weAFIsRedo), we, &reverse) == pf::noErr)
                WEPushAction(reverse);
        }
        err = perform(record, we);
        low = std::min(low, record.start);
        high = std::max(high, record.start + record.savedLength);
        if (err) break;
    }
    w.selStart = _WEPinInRange((*last)->selStart, 0, w.textLength);
    w.selEnd = _WEPinInRange((*last)->selEnd, w.selStart, w.textLength);
    w.flags &= ~(weFValidNullStyle | weFAnchorIsEnd);
    pf::OSErr redraw = _WERedrawAll(low, high, we);
    return err ? err : redraw;
}

pf::OSErr WEUndo(WEReference we) {
    WEStopInlineSession(we);
    WEInstance& w = WEI(we);
    WEActionReference action = WEPendingAction(we);
    if (!action) return weCantUndoErr;
    w.undoAction = nullptr;
    w.modCount += ((*action)->flags & weAFIsRedo) ? 1 : -1;
    pf::OSErr err = WEDoAction(action);
    WEForgetAction(&action);
    return err;
}

void WEClearUndo(WEReference we) {
    WEActionReference action = WEPendingAction(we);
    WEForgetAction(&action);
    WEI(we).undoAction = nullptr;
}

int16_t WEGetUndoInfo(bool* isRedo, WEReference we) {
    WEActionReference action = WEPendingAction(we);
    if (isRedo) *isRedo = action && ((*action)->flags & weAFIsRedo);
    return action ? (*action)->kind : int16_t(weAKNone);
}

bool WEIsTyping(WEReference we) {
    const WEInstance& w = WEI(we);
    WEActionReference action = WEPendingAction(we);
    if (!action) return false;
    const WEActionRecord& a = **action;
    return a.kind == weAKTyping && !(a.flags & weAFIsRedo) && w.selStart == w.selEnd &&
           w.selStart == a.start + a.currentLength;
}

int32_t WEGetModCount(WEReference we) { return WEI(we).modCount; }

void WEResetModCount(WEReference we) {
    WEI(we).modCount = 0;
    WEClearUndo(we);
}
