// Dragging text: the selection leaves as "TEXT" and "styl" flavours, a drop
// caret follows the mouse over an instance, and a drop inserts the text there.
// Within one instance the text moves (copies with Option held); between
// instances it is copied. A drop undoes in one step.
#include "styledtext/text_drag.h"

#include "styledtext/styled_text_internal.h"

#include <algorithm>
#include <vector>

namespace {

// The instance and range being dragged, while its drag is tracked.
struct DragSource {
    WEReference we = nullptr;
    int32_t start = 0, end = 0;
};
DragSource source;

// The drop caret shown while a drag is over an instance.
struct DropCaret {
    WEReference we = nullptr;
    int16_t view = 0;
    int32_t offset = -1;
};
DropCaret drop_caret;

void hide_drop_caret() {
    if (drop_caret.we && drop_caret.offset >= 0) _WEDrawCaret(drop_caret.offset, drop_caret.we, drop_caret.view);
    drop_caret = DropCaret{};
}

pf::Point local_point(pf::Point global, WEReference we, int16_t view) {
    pf::PortScope scope(WEI(we).port[view]);
    pf::global_to_local(global);
    return global;
}

pf::OSErr read_flavour(pf::DragRef drag, pf::DragItemRef item, pf::FourCC type, std::vector<uint8_t>& out) {
    int32_t size = 0;
    if (pf::OSErr err = pf::get_flavor_data_size(drag, item, type, size)) return err;
    out.resize(size_t(size));
    return pf::get_flavor_data(drag, item, type, out.data(), size, 0);
}

pf::OSErr push_drag_action(int32_t start, int32_t end, int32_t length, WEReference we) {
    if (!(WEI(we).flags & weFUndo)) return pf::noErr;
    WEActionReference action = nullptr;
    if (pf::OSErr err = WENewAction(start, end, length, weAKDrag, 0, we, &action)) return err;
    WEPushAction(action);
    return pf::noErr;
}

}  // namespace

bool WEPointInSelection(pf::Point point, WEReference we, int16_t view) {
    const WEInstance& w = WEI(we);
    if (w.selStart == w.selEnd || !WEHasView(we, view)) return false;
    pf::RgnHandle rgn = WEGetHiliteRgn(w.selStart, w.selEnd, we, view);
    bool inside = pf::point_in_region(point, rgn);
    pf::dispose_region(rgn);
    return inside;
}

pf::OSErr WEDropText(int32_t offset, const void* text, int32_t length, pf::Handle styleScrap, bool moveSelection,
                     WEReference we) {
    if (length < 0) return pf::kParamErr;
    if (styleScrap && _WECheckStyleScrap(styleScrap) != pf::noErr) styleScrap = nullptr;
    WEStopInlineSession(we);
    WEInstance& w = WEI(we);
    offset = _WEPinInRange(offset, 0, w.textLength);
    int32_t from = w.selStart, to = w.selEnd;
    if (moveSelection && offset >= from && offset <= to) return pf::noErr;  // dropped onto itself
    ++w.modCount;
    WEClearUndo(we);
    _WEHiliteRangeAll(from, to, we);
    _WEHideCaret(we);
    int32_t low = offset;
    if (moveSelection) {
        if (pf::OSErr err = push_drag_action(from, to, 0, we)) return err;
        if (pf::OSErr err = _WEDeleteRange(from, to, we)) return err;
        if (offset > to) offset -= to - from;
        low = std::min(offset, from);
    }
    w.selStart = w.selEnd = offset;
    w.flags &= ~weFValidNullStyle;
    if (pf::OSErr err = push_drag_action(offset, offset, length, we)) return err;
    if (pf::OSErr err = _WEInsertText(offset, text, length, we)) return err;
    if (styleScrap) _WEApplyStyleScrap(offset, offset + length, styleScrap, we);
    w.selStart = offset;
    w.selEnd = offset + length;
    w.flags &= ~(weFValidNullStyle | weFAnchorIsEnd);
    int32_t high = std::max(offset + length, moveSelection ? std::max(from, offset) + length : 0);
    return _WERedrawAll(low, high, we);
}

pf::OSErr WEDragSelection(const pf::EventRecord& event, WEReference we, int16_t view) {
    WEInstance& w = WEI(we);
    if (w.selStart == w.selEnd || !WEHasView(we, view)) return pf::kParamErr;
    pf::Handle text = pf::new_handle(0), styles = pf::new_handle(0);
    if (!text || !styles) {
        _WEForgetHandle(&text);
        _WEForgetHandle(&styles);
        return pf::kMemFullErr;
    }
    pf::OSErr err = WECopyRange(w.selStart, w.selEnd, text, styles, nullptr, we);
    pf::DragRef drag = err ? nullptr : pf::new_drag();
    if (drag) {
        pf::add_drag_item_flavor(drag, 1, pf::kFlavorTypeText, *text, pf::get_handle_size(text), 0);
        pf::add_drag_item_flavor(drag, 1, kTypeStyles, *styles, pf::get_handle_size(styles), 0);
        // The outline is the highlight's edge, in global coordinates.
        pf::RgnHandle outline = WEGetHiliteRgn(w.selStart, w.selEnd, we, view);
        pf::RgnHandle inner = pf::new_region();
        pf::Point origin{0, 0};
        {
            pf::PortScope scope(w.port[view]);
            pf::local_to_global(origin);
        }
        pf::offset_region(outline, origin.h, origin.v);
        pf::copy_region(outline, inner);
        pf::inset_region(inner, 1, 1);
        pf::diff_region(outline, inner, outline);
        source = DragSource{we, w.selStart, w.selEnd};
        err = pf::track_drag(drag, event, outline);
        source = DragSource{};
        hide_drop_caret();
        pf::dispose_region(inner);
        pf::dispose_region(outline);
        pf::dispose_drag(drag);
    }
    _WEForgetHandle(&text);
    _WEForgetHandle(&styles);
    return err;
}

pf::OSErr WETrackDrag(int16_t message, pf::DragRef drag, WEReference we, int16_t view) {
    if (!WEHasView(we, view)) return pf::kParamErr;
    if (message == pf::kDragTrackingLeaveWindow) {
        hide_drop_caret();
        return pf::noErr;
    }
    if (message != pf::kDragTrackingInWindow && message != pf::kDragTrackingEnterWindow) return pf::noErr;
    pf::Point mouse;
    if (pf::OSErr err = pf::get_drag_mouse(drag, mouse)) return err;
    pf::Point local = local_point(mouse, we, view);
    int32_t offset = -1;
    if (WELongPointInLongRect(WEPointToLongPoint(local), WEI(we).viewRect[view]))
        offset = WEGetOffset(WEPointToLongPoint(local), nullptr, we, view);
    if (drop_caret.we == we && drop_caret.view == view && drop_caret.offset == offset) return pf::noErr;
    hide_drop_caret();
    if (offset >= 0) {
        _WEDrawCaret(offset, we, view);
        drop_caret = DropCaret{we, view, offset};
    }
    return pf::noErr;
}

pf::OSErr WEReceiveDrag(pf::DragRef drag, WEReference we, int16_t view) {
    hide_drop_caret();
    if (!WEHasView(we, view)) return pf::kDragNotAcceptedErr;
    pf::DragItemRef item = 0;
    if (pf::OSErr err = pf::get_drag_item_reference_number(drag, 1, item)) return err;
    std::vector<uint8_t> text, styles;
    if (read_flavour(drag, item, pf::kFlavorTypeText, text) != pf::noErr) return pf::kDragNotAcceptedErr;
    pf::Handle scrap = nullptr;
    if (read_flavour(drag, item, kTypeStyles, styles) == pf::noErr)
        scrap = pf::ptr_to_hand(styles.data(), pf::Size(styles.size()));
    pf::Point mouse;
    pf::get_drag_mouse(drag, mouse);
    pf::Point local = local_point(mouse, we, view);
    int32_t offset = WEGetOffset(WEPointToLongPoint(local), nullptr, we, view);
    uint16_t modifiers = 0, down = 0, up = 0;
    pf::get_drag_modifiers(drag, modifiers, down, up);
    bool move = source.we == we && !(up & pf::kOptionKey);
    if (move) WESetSelection(source.start, source.end, we);
    pf::OSErr err = WEDropText(offset, text.data(), int32_t(text.size()), scrap, move, we);
    _WEForgetHandle(&scrap);
    return err;
}
