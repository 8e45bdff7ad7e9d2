// Inline input: text being composed by an input method is shown in place,
// underlined by its state, and replaced at every update until it is confirmed.
// The input method reaches the instance through the "tsvc" events of its text
// services document.
#include "styledtext/styled_text_internal.h"

#include "platform/appleevents/appleevents.h"
#include "platform/events/input_method.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Instances with a text services document, found by the document's reference
// value (slot + 1).
std::vector<WEReference> registered;

WEReference instance_of(int32_t refcon) {
    if (refcon < 1 || size_t(refcon) > registered.size()) return nullptr;
    return registered[size_t(refcon) - 1];
}

pf::OSErr read_instance(const pf::AppleEvent* event, WEReference* we) {
    int32_t refcon = 0;
    if (pf::OSErr err = pf::ae_get_param_ptr(*event, pf::kKeyRefCon, pf::kTypeLong, nullptr, &refcon, sizeof refcon,
                                             nullptr))
        return err;
    *we = instance_of(refcon);
    return *we ? pf::noErr : pf::kParamErr;
}

pf::OSErr read_long(const pf::AppleEvent* event, pf::FourCC key, int32_t* value) {
    return pf::ae_get_param_ptr(*event, key, pf::kTypeLong, nullptr, value, sizeof *value, nullptr);
}

// A text range ("txrn") or a range array ("tray").
struct TextRange {
    int32_t start = 0, end = 0;
    int16_t kind = 0;
};

TextRange range_at(const std::vector<uint8_t>& bytes, size_t at) {
    TextRange r;
    std::memcpy(&r.start, bytes.data() + at, 4);
    std::memcpy(&r.end, bytes.data() + at + 4, 4);
    std::memcpy(&r.kind, bytes.data() + at + 8, 2);
    return r;
}

pf::OSErr read_bytes(const pf::AppleEvent* event, pf::FourCC key, pf::FourCC type, std::vector<uint8_t>& out) {
    pf::AEDesc desc;
    if (pf::OSErr err = pf::ae_get_param_desc(*event, key, type, desc)) return err;
    out = desc.data;
    return pf::noErr;
}

// The ranges of a "tray", each checked against the array's size.
pf::OSErr read_range_array(const std::vector<uint8_t>& bytes, std::vector<TextRange>& out) {
    if (bytes.size() < 2) return pf::kAECorruptDataErr;
    int16_t count = 0;
    std::memcpy(&count, bytes.data(), 2);
    if (count < 0 || 2 + size_t(count) * 10 > bytes.size()) return pf::kAECorruptDataErr;
    for (int16_t i = 0; i < count; ++i) out.push_back(range_at(bytes, 2 + size_t(i) * 10));
    return pf::noErr;
}

pf::OSErr _WEHiliteRangeArray(const std::vector<TextRange>& ranges, WEReference we) {
    WEInstance& w = WEI(we);
    for (const TextRange& r : ranges) {
        int32_t start = _WEPinInRange(w.inputAreaStart + r.start, w.inputAreaStart, w.inputAreaEnd);
        int32_t end = _WEPinInRange(w.inputAreaStart + r.end, start, w.inputAreaEnd);
        int16_t kind = int16_t(std::abs(r.kind));
        if (kind == pf::kCaretPosition) {
            w.selStart = start;
            w.selEnd = end;
        } else if (kind >= pf::kRawText && kind <= pf::kSelectedConvertedText) {
            WETextStyle ts;
            ts.tsFlags = uint8_t(weTSMInputText + 0x20 * (kind - pf::kRawText));
            if (pf::OSErr err = _WESetStyleRange(start, end, weDoInputHilite, ts, we)) return err;
        }
    }
    return pf::noErr;
}

// Tells the host where the caret is, for its input method's candidate list.
void place_input_method(WEReference we) {
    const WEInstance& w = WEI(we);
    if (!w.port[0]) return;
    LongPoint p;
    int16_t height = 0;
    WEGetPoint(w.selStart, p, &height, we, 0);
    pf::Point top = WELongPointToPoint(p);
    pf::Point bottom{int16_t(top.v + height), int16_t(top.h + 1)};
    {
        pf::PortScope scope(w.port[0]);
        pf::local_to_global(top);
        pf::local_to_global(bottom);
    }
    pf::set_composition_area(pf::Rect{top.v, top.h, bottom.v, bottom.h});
}

// The first update of a session: the selection becomes the input area, undone as
// one typing action.
void begin_session(WEReference we) {
    WEInstance& w = WEI(we);
    w.inputAreaStart = w.selStart;
    w.inputAreaEnd = w.selEnd;
    _WESynchNullStyle(we, true);
    if (WEIsTyping(we)) return;
    ++w.modCount;
    if (w.flags & weFUndo) {
        WEClearUndo(we);
        WEActionReference action = nullptr;
        if (WENewAction(w.selStart, w.selEnd, 0, weAKTyping, 0, we, &action) == pf::noErr) WEPushAction(action);
    }
}

pf::OSErr update_input_area(const pf::AppleEvent* event, WEReference we) {
    WEInstance& w = WEI(we);
    std::vector<uint8_t> text;
    if (pf::OSErr err = read_bytes(event, pf::kKeyText, pf::kTypeText, text)) return err;
    int32_t size = int32_t(text.size());
    int32_t fixed = 0;
    if (pf::OSErr err = read_long(event, pf::kKeyFixLength, &fixed)) return err;
    if (fixed < 0 || fixed > size) fixed = size;
    if (w.inputAreaStart < 0) begin_session(we);
    int32_t a = _WEPinInRange(w.inputAreaStart, 0, w.textLength);
    int32_t old_end = _WEPinInRange(w.inputAreaEnd, a, w.textLength);
    _WEHiliteRangeAll(w.selStart, w.selEnd, we);
    if (pf::OSErr err = _WEDeleteRange(a, old_end, we)) return err;
    // The composed text is in the keyboard's script, whatever script the
    // text it replaces (the first keys of a composition) was in.
    _WESynchNullStyle(we, true);
    if (pf::OSErr err = _WEInsertText(a, text.data(), size, we)) return err;
    w.inputAreaStart = a;
    w.inputAreaEnd = a + size;
    int32_t pin_start = a, pin_end = old_end;
    std::vector<uint8_t> pin;
    pf::OSErr pin_err = read_bytes(event, pf::kKeyPinRange, pf::kTypeTextRange, pin);
    if (pin_err == pf::noErr && pin.size() >= 8) {
        TextRange r = range_at(pin, 0);
        pin_start = _WEPinInRange(a + r.start, 0, w.textLength);
        pin_end = _WEPinInRange(a + r.end, pin_start, w.textLength);
    } else if (pin_err != pf::kAEDescNotFoundErr && pin_err != pf::noErr) {
        return pin_err;
    }
    w.selStart = w.selEnd = a + fixed;
    if (size != fixed) {
        std::vector<uint8_t> bytes;
        pf::OSErr err = read_bytes(event, pf::kKeyHiliteRange, pf::kTypeTextRangeArray, bytes);
        if (err != pf::noErr && err != pf::kAEDescNotFoundErr) return err;
        if (err == pf::noErr) {
            std::vector<TextRange> ranges;
            if (pf::OSErr bad = read_range_array(bytes, ranges)) return bad;
            w.inputAreaStart = a + fixed;
            if (pf::OSErr e = _WEHiliteRangeArray(ranges, we)) return e;
        }
    }
    uint32_t auto_scroll = w.flags & weFAutoScroll;
    w.flags &= ~weFAutoScroll;
    pf::OSErr err = _WERedrawAll(a, a + size, we);
    w.flags |= auto_scroll;
    if (auto_scroll && !_WEScrollIntoView(pin_start, we) && pin_end > pin_start) _WEScrollIntoView(pin_end, we);
    if (size == fixed) w.inputAreaStart = w.inputAreaEnd = -1;
    else w.inputAreaStart = a + fixed, w.inputAreaEnd = a + size;
    if (fixed > 0)
        if (WEActionReference action = WEPendingAction(we)) (*action)->currentLength += fixed;
    if (w.postUpdateProc) w.postUpdateProc(we, fixed, w.inputAreaStart, w.inputAreaEnd, pin_start, pin_end);
    place_input_method(we);
    return err;
}

pf::OSErr _WEHandleUpdateActiveInputArea(const pf::AppleEvent* event, pf::AppleEvent*, long) {
    WEReference we = nullptr;
    if (pf::OSErr err = read_instance(event, &we)) return err;
    if (WEI(we).preUpdateProc) WEI(we).preUpdateProc(we);
    _WEHideCaret(we);
    return update_input_area(event, we);
}

pf::OSErr _WEHandlePositionToOffset(const pf::AppleEvent* event, pf::AppleEvent* reply, long) {
    WEReference we = nullptr;
    if (pf::OSErr err = read_instance(event, &we)) return err;
    WEInstance& w = WEI(we);
    pf::Point where;
    if (pf::OSErr err = pf::ae_get_param_ptr(*event, pf::kKeyCurrentPoint, pf::kTypeQDPoint, nullptr, &where,
                                             sizeof where, nullptr))
        return err;
    if (!w.port[0]) return weOutsideViewErr;
    {
        pf::PortScope scope(w.port[0]);
        pf::global_to_local(where);
    }
    int8_t edge = 0;
    int32_t offset = WEGetOffset(WEPointToLongPoint(where), &edge, we, 0);
    int16_t region = 2;
    if (!WELongPointInLongRect(WEPointToLongPoint(where), w.viewRect[0])) region = 1;
    else if (w.inputAreaStart >= 0 && _WEOffsetInRange(offset, edge, w.inputAreaStart, w.inputAreaEnd)) region = 3;
    int32_t relative = offset - w.inputAreaStart;
    bool leading = edge != weTrailingEdge;
    if (!reply) return pf::noErr;
    pf::ae_put_param_ptr(*reply, pf::kKeyOffset, pf::kTypeLong, &relative, sizeof relative);
    pf::ae_put_param_ptr(*reply, pf::kKeyLeftSide, pf::kTypeBoolean, &leading, sizeof leading);
    pf::ae_put_param_ptr(*reply, pf::kKeyRegionClass, pf::kTypeShort, &region, sizeof region);
    return pf::noErr;
}

pf::OSErr _WEHandleOffsetToPosition(const pf::AppleEvent* event, pf::AppleEvent* reply, long) {
    WEReference we = nullptr;
    if (pf::OSErr err = read_instance(event, &we)) return err;
    WEInstance& w = WEI(we);
    if (w.inputAreaStart < 0) return weNotTSMErr;
    int32_t relative = 0;
    if (pf::OSErr err = read_long(event, pf::kKeyOffset, &relative)) return err;
    int64_t offset = int64_t(w.inputAreaStart) + relative;
    if (offset < w.inputAreaStart || offset > w.inputAreaEnd) return weNotTSMErr;
    LongPoint point;
    int16_t height = 0;
    WEGetPoint(int32_t(offset), point, &height, we, 0);
    point.v += height;
    if (!WELongPointInLongRect(point, w.viewRect[0])) return weOutsideViewErr;
    pf::Point global = WELongPointToPoint(point);
    {
        pf::PortScope scope(w.port[0]);
        pf::local_to_global(global);
    }
    if (!reply) return pf::noErr;
    _WESynchNullStyle(we, false);
    const WERunAttributes& ns = w.nullStyle;
    int16_t font = ns.runStyle.tsFont, size = ns.runStyle.tsSize, ascent = ns.runAscent, line = ns.runHeight;
    pf::ae_put_param_ptr(*reply, pf::kKeyGlobalPosition, pf::kTypeQDPoint, &global, sizeof global);
    pf::ae_put_param_ptr(*reply, pf::kKeyTextFont, pf::kTypeShort, &font, sizeof font);
    pf::ae_put_param_ptr(*reply, pf::kKeyTextPointSize, pf::kTypeShort, &size, sizeof size);
    pf::ae_put_param_ptr(*reply, pf::kKeyTextAscent, pf::kTypeShort, &ascent, sizeof ascent);
    pf::ae_put_param_ptr(*reply, pf::kKeyTextLineHeight, pf::kTypeShort, &line, sizeof line);
    return pf::noErr;
}

}  // namespace

pf::OSErr WEInstallTSMHandlers() {
    struct Entry {
        pf::FourCC id;
        pf::AEEventHandler handler;
    };
    for (const Entry& e : {Entry{pf::kUpdateActiveInputArea, _WEHandleUpdateActiveInputArea},
                           Entry{pf::kPos2Offset, _WEHandlePositionToOffset},
                           Entry{pf::kOffset2Pos, _WEHandleOffsetToPosition}})
        if (pf::OSErr err = pf::ae_install_event_handler(pf::kTextServiceClass, e.id, e.handler, 0)) return err;
    return pf::noErr;
}

pf::OSErr _WERegisterWithTSM(WEReference we) {
    WEInstance& w = WEI(we);
    if (!(w.flags & weFHasTSM)) return pf::noErr;
    auto slot = std::find(registered.begin(), registered.end(), nullptr);
    if (slot == registered.end()) slot = registered.insert(registered.end(), nullptr);
    *slot = we;
    int32_t refcon = int32_t(slot - registered.begin()) + 1;
    pf::TSMDocumentID document = 0;
    pf::OSErr err = pf::new_tsm_document(pf::kTextServiceClass, refcon, document);
    if (err && err != weTSMDocExistsErr) {
        *slot = nullptr;
        return err;
    }
    w.tsmDocument = document;
    return pf::noErr;
}

void _WEUnregisterWithTSM(WEReference we) {
    WEInstance& w = WEI(we);
    if (!w.tsmDocument) return;
    WEStopInlineSession(we);
    pf::delete_tsm_document(pf::TSMDocumentID(w.tsmDocument));
    w.tsmDocument = 0;
    std::replace(registered.begin(), registered.end(), we, WEReference(nullptr));
}

void _WEActivateTSM(WEReference we, bool active) {
    pf::TSMDocumentID document = pf::TSMDocumentID(WEI(we).tsmDocument);
    if (!document) return;
    if (active) {
        pf::activate_tsm_document(document);
        place_input_method(we);
    } else {
        pf::deactivate_tsm_document(document);
    }
}

void WEStopInlineSession(WEReference we) {
    const WEInstance& w = WEI(we);
    if (w.tsmDocument && w.inputAreaStart >= 0) pf::fix_tsm_document(pf::TSMDocumentID(w.tsmDocument));
}
