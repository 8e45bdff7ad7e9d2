// The instance: construction and disposal, views, fields and selectors, handle
// and long-rectangle helpers.
#include "styledtext/styled_text_internal.h"

#include "platform/system/system.h"
#include "platform/text/text.h"

#include <algorithm>

// ---- Helpers ------------------------------------------------------------------------

pf::OSErr _WEInsertSlot(pf::Handle h, const void* element, int32_t index, int32_t size) {
    pf::Size old_size = pf::get_handle_size(h);
    if (index < 0 || int64_t(index) * size > old_size) return pf::kParamErr;
    if (pf::OSErr err = pf::set_handle_size(h, old_size + size)) return err;
    char* base = *h;
    std::memmove(base + (index + 1) * size, base + index * size, size_t(old_size - index * size));
    std::memcpy(base + index * size, element, size_t(size));
    return pf::noErr;
}

pf::OSErr _WERemoveSlot(pf::Handle h, int32_t index, int32_t size) {
    pf::Size old_size = pf::get_handle_size(h);
    if (index < 0 || int64_t(index + 1) * size > old_size) return pf::kParamErr;
    char* base = *h;
    std::memmove(base + index * size, base + (index + 1) * size, size_t(old_size - (index + 1) * size));
    return pf::set_handle_size(h, old_size - size);
}

pf::OSErr _WEAllocate(pf::Size size, int16_t mode, pf::Handle* out) {
    bool clear = mode & kAllocClear;
    pf::Handle h = nullptr;
    if (mode & kAllocTempFirst) h = pf::temp_new_handle(size, clear);
    if (!h) h = clear ? pf::new_handle_clear(size) : pf::new_handle(size);
    *out = h;
    return h ? pf::noErr : pf::kMemFullErr;
}

void _WEForgetHandle(pf::Handle* h) {
    if (*h) pf::dispose_handle(*h);
    *h = nullptr;
}

bool _WESetHandleLock(pf::Handle h, bool lock) {
    bool was = pf::h_get_state(h) & pf::kHandleLocked;
    if (lock) pf::h_lock(h);
    else pf::h_unlock(h);
    return was;
}

void _WEReorder(int32_t* a, int32_t* b) {
    if (*a > *b) std::swap(*a, *b);
}

int32_t _WEPinInRange(int32_t value, int32_t low, int32_t high) { return std::clamp(value, low, high); }

// ---- Long geometry ---------------------------------------------------------------------

void WESetLongRect(LongRect& rect, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    rect = LongRect{top, left, bottom, right};
}

void WEOffsetLongRect(LongRect& rect, int32_t dh, int32_t dv) {
    rect.left += dh;
    rect.right += dh;
    rect.top += dv;
    rect.bottom += dv;
}

bool WELongPointInLongRect(const LongPoint& p, const LongRect& r) {
    return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

namespace {
int16_t pin16(int32_t value) { return int16_t(std::clamp(value, -32767, 32767)); }
}  // namespace

pf::Point WELongPointToPoint(const LongPoint& p) { return pf::Point{pin16(p.v), pin16(p.h)}; }

pf::Rect WELongRectToRect(const LongRect& r) {
    return pf::Rect{pin16(r.top), pin16(r.left), pin16(r.bottom), pin16(r.right)};
}

LongPoint WEPointToLongPoint(pf::Point p) { return LongPoint{p.v, p.h}; }

LongRect WERectToLongRect(const pf::Rect& r) { return LongRect{r.top, r.left, r.bottom, r.right}; }

// ---- Construction -------------------------------------------------------------------------

namespace {

void record_engine_capabilities(WEInstance& w) {
    int32_t response = 0;
    if (pf::query_capability(pf::four_cc("qd  "), response) == pf::noErr && response >= 0x100)
        w.flags |= weFHasColorQD;
    int scripts = 0;
    for (int16_t script = 0; script < 64; ++script)
        if (pf::script_enabled(script)) ++scripts;
    if (scripts >= 2) w.flags |= weFDoubleByte | weFNonRoman;
    if (pf::query_capability(pf::four_cc("tsmv"), response) == pf::noErr && response >= 1) w.flags |= weFHasTSM;
}

// The first style: the font, size and face of the port, its fore colour.
WEStyleEntry port_style(const WEInstance& w) {
    WEStyleEntry entry;
    entry.refCount = 1;
    WETextStyle& ts = entry.attrs.runStyle;
    if (const pf::Port* port = w.port[0]) {
        ts.tsFont = port->text_font;
        ts.tsSize = port->text_size;
        ts.tsFace = port->text_face;
        if (w.flags & weFHasColorQD) ts.tsColor = port->fg_color;
    }
    if (ts.tsSize <= 0) ts.tsSize = pf::kDefaultFontSize;
    _WEFillFontInfo(entry.attrs);
    return entry;
}

pf::OSErr allocate_tables(WEInstance& w, int16_t mode) {
    if (pf::OSErr err = _WEAllocate(0, mode, &w.hText)) return err;
    if (pf::OSErr err = _WEAllocate(2 * sizeof(WELineRecord), mode, &w.hLines[0])) return err;
    if (pf::OSErr err = _WEAllocate(sizeof(WEStyleEntry), mode, &w.hStyles)) return err;
    return _WEAllocate(2 * sizeof(WERunRecord), mode, &w.hRuns);
}

void free_tables(WEInstance& w) {
    _WEForgetHandle(&w.hText);
    _WEForgetHandle(&w.hLines[0]);
    _WEForgetHandle(&w.hStyles);
    _WEForgetHandle(&w.hRuns);
    if (w.viewRgn[0]) pf::dispose_region(w.viewRgn[0]);
    w.viewRgn[0] = nullptr;
}

}  // namespace

pf::OSErr WENew(const LongRect& destRect, const LongRect& viewRect, int16_t featureFlags, bool useTSM,
                WEReference* out) {
    *out = nullptr;
    pf::Handle h = nullptr;
    if (pf::OSErr err = _WEAllocate(sizeof(WEInstance), kAllocClear, &h)) return err;
    WEReference we = reinterpret_cast<WEReference>(h);
    WEInstance& w = WEI(we);
    w.port[0] = pf::get_port();
    w.flags = uint16_t(featureFlags) & ~uint32_t(weFDrawOffscreen);
    int16_t mode = (w.flags & weFUseTempMem) ? kAllocClear | kAllocTempFirst : kAllocClear;
    pf::OSErr err = allocate_tables(w, mode);
    if (err) {
        free_tables(w);
        pf::dispose_handle(h);
        return err;
    }
    record_engine_capabilities(w);
    w.lineCount[0] = 1;
    w.styleCount = 1;
    w.runCount = 1;
    w.viewRect[0] = viewRect;
    w.destRect[0] = destRect;
    w.inputAreaStart = w.inputAreaEnd = -1;
    w.lastClickOffset = -1;  // the first click is never a repeat
    w.viewRgn[0] = pf::new_region();
    pf::rect_region(w.viewRgn[0], WELongRectToRect(viewRect));
    WERuns(we)[1] = WERunRecord{1, -1};
    WEStyles(we)[0] = port_style(w);
    err = WECalText(we);
    if (!err && useTSM) err = _WERegisterWithTSM(we);
    if (err) {
        WEDispose(we);
        return err;
    }
    *out = we;
    return pf::noErr;
}

void WEDispose(WEReference we) {
    if (!we) return;
    WEClearUndo(we);
    _WEUnregisterWithTSM(we);
    WEDisposeView(we);
    WEInstance& w = WEI(we);
    if (w.offscreen) pf::dispose_gworld(w.offscreen);
    WEStyleEntry* styles = WEStyles(we);
    for (int32_t i = 0; i < w.styleCount; ++i)
        if (styles[i].refCount > 0 && styles[i].attrs.runStyle.tsObject) _WEFreeObject(styles[i].attrs.runStyle.tsObject);
    free_tables(w);
    pf::dispose_handle(reinterpret_cast<pf::Handle>(we));
}

pf::OSErr WENewView(const LongRect& destRect, const LongRect& viewRect, pf::Port* port, WEReference we) {
    WEDisposeView(we);
    WEInstance& w = WEI(we);
    int16_t mode = (w.flags & weFUseTempMem) ? kAllocClear | kAllocTempFirst : kAllocClear;
    if (pf::OSErr err = _WEAllocate(2 * sizeof(WELineRecord), mode, &w.hLines[1])) return err;
    w.port[1] = port;
    w.destRect[1] = destRect;
    w.viewRect[1] = viewRect;
    w.lineCount[1] = 1;
    w.viewRgn[1] = pf::new_region();
    pf::rect_region(w.viewRgn[1], WELongRectToRect(viewRect));
    WELines(we, 1)[1].lineStart = w.textLength;
    int32_t first = 0, last = INT32_MAX;
    pf::OSErr err = _WERecalBreaks(&first, &last, we, 1);
    if (!err) _WERecalSlops(0, WEI(we).lineCount[1] - 1, we, 1);
    if (err) WEDisposeView(we);
    return err;
}

void WEDisposeView(WEReference we) {
    WEInstance& w = WEI(we);
    _WEForgetHandle(&w.hLines[1]);
    if (w.viewRgn[1]) pf::dispose_region(w.viewRgn[1]);
    w.viewRgn[1] = nullptr;
    w.port[1] = nullptr;
    w.lineCount[1] = 0;
}

pf::OSErr WECalText(WEReference we) {
    for (int16_t view = 0; view < 2 && WEHasView(we, view); ++view) {
        int32_t first = 0, last = INT32_MAX;
        if (pf::OSErr err = _WERecalBreaks(&first, &last, we, view)) return err;
        _WERecalSlops(0, WEI(we).lineCount[view] - 1, we, view);
    }
    return pf::noErr;
}

// ---- Fields -------------------------------------------------------------------------------

namespace {

struct SelectorRow {
    pf::FourCC selector;
    size_t offset;
    size_t size;
};

// The fields WEGetInfo and WESetInfo reach.
constexpr SelectorRow __WEMainSelectorTable[] = {
    {pf::four_cc("clik"), offsetof(WEInstance, clickLoop), sizeof(WEClickLoopProc)},
    {pf::four_cc("line"), offsetof(WEInstance, hLines), sizeof(pf::Handle)},
    {pf::four_cc("port"), offsetof(WEInstance, port), sizeof(pf::Port*)},
    {pf::four_cc("post"), offsetof(WEInstance, postUpdateProc), sizeof(WEPostUpdateProc)},
    {pf::four_cc("pre "), offsetof(WEInstance, preUpdateProc), sizeof(WEPreUpdateProc)},
    {pf::four_cc("refc"), offsetof(WEInstance, refCon), sizeof(uint32_t)},
    {pf::four_cc("runa"), offsetof(WEInstance, hRuns), sizeof(pf::Handle)},
    {pf::four_cc("scrl"), offsetof(WEInstance, scrollProc), sizeof(WEScrollProc)},
    {pf::four_cc("styl"), offsetof(WEInstance, hStyles), sizeof(pf::Handle)},
    {pf::four_cc("text"), offsetof(WEInstance, hText), sizeof(pf::Handle)},
    {pf::four_cc("tsmd"), offsetof(WEInstance, tsmDocument), sizeof(uintptr_t)},
    {0, 0, 0},
};

const SelectorRow* find_selector(pf::FourCC selector) {
    for (const SelectorRow* row = __WEMainSelectorTable; row->selector; ++row)
        if (row->selector == selector) return row;
    return nullptr;
}

}  // namespace

pf::OSErr WEGetInfo(pf::FourCC selector, void* value, WEReference we) {
    const SelectorRow* row = find_selector(selector);
    if (!row) return pf::kParamErr;
    std::memcpy(value, reinterpret_cast<const char*>(*we) + row->offset, row->size);
    return pf::noErr;
}

pf::OSErr WESetInfo(pf::FourCC selector, const void* value, WEReference we) {
    const SelectorRow* row = find_selector(selector);
    if (!row) return pf::kParamErr;
    std::memcpy(reinterpret_cast<char*>(*we) + row->offset, value, row->size);
    return pf::noErr;
}

int16_t WEFeatureFlag(int16_t bit, int16_t action, WEReference we) {
    if (bit < 0 || bit > 15) return 0;
    uint32_t mask = uint32_t(1) << bit;
    WEInstance& w = WEI(we);
    int16_t was = (w.flags & mask) ? 1 : 0;
    if (action == weBitClear) w.flags &= ~mask;
    else if (action == weBitSet) w.flags |= mask;
    if (action == weBitClear && mask == weFUndo) WEClearUndo(we);
    if (action == weBitClear && mask == weFDrawOffscreen && w.offscreen) {
        pf::dispose_gworld(w.offscreen);
        w.offscreen = nullptr;
    }
    return was;
}

int32_t WEGetTextLength(WEReference we) { return WEI(we).textLength; }

uint8_t WEGetChar(int32_t offset, WEReference we) {
    if (offset < 0 || offset >= WEI(we).textLength) return 0;
    return uint8_t(WEText(we)[offset]);
}

int32_t WECountLines(WEReference we, int16_t view) { return WEHasView(we, view) ? WEI(we).lineCount[view] : 0; }

void WEGetSelection(int32_t* start, int32_t* end, WEReference we) {
    *start = WEI(we).selStart;
    *end = WEI(we).selEnd;
}

int8_t WEGetAlignment(WEReference we) { return WEI(we).alignment; }

void WEGetDestRect(LongRect& rect, WEReference we, int16_t view) { rect = WEI(we).destRect[view & 1]; }

void WESetDestRect(const LongRect& rect, WEReference we, int16_t view) { WEI(we).destRect[view & 1] = rect; }

void WEGetViewRect(LongRect& rect, WEReference we, int16_t view) { rect = WEI(we).viewRect[view & 1]; }

void WESetViewRect(const LongRect& rect, WEReference we, int16_t view) {
    WEInstance& w = WEI(we);
    w.viewRect[view & 1] = rect;
    if (w.viewRgn[view & 1]) pf::rect_region(w.viewRgn[view & 1], WELongRectToRect(rect));
}

pf::OSErr WEUseText(pf::Handle text, WEReference we) {
    if (!text) return pf::kNilHandleErr;
    WEInstance& w = WEI(we);
    if (text != w.hText) _WEForgetHandle(&w.hText);
    w.hText = text;
    w.textLength = pf::get_handle_size(text);
    WERuns(we)[w.runCount].runStart = w.textLength + 1;
    for (int16_t view = 0; view < 2 && WEHasView(we, view); ++view)
        WELines(we, view)[w.lineCount[view]].lineStart = w.textLength;
    // Runs and lines past the new end would hold no text: they go, and the selection
    // is kept within the text.
    while (w.runCount > 1 && WERuns(we)[w.runCount - 1].runStart >= std::max(w.textLength, 1))
        _WERemoveRun(w.runCount - 1, we);
    for (int16_t view = 0; view < 2 && WEHasView(we, view); ++view) {
        while (w.lineCount[view] > 1 && WELines(we, view)[w.lineCount[view] - 1].lineStart >= w.textLength) {
            _WERemoveSlot(w.hLines[view], w.lineCount[view] - 1, sizeof(WELineRecord));
            --w.lineCount[view];
        }
    }
    w.selStart = std::min(w.selStart, w.textLength);
    w.selEnd = std::min(w.selEnd, w.textLength);
    return pf::noErr;
}
