// Drawing the lines of a view (directly or a line at a time through an offscreen
// buffer), the highlight and the caret, redrawing after edits, activation, and
// scrolling view 0.
#include "styledtext/styled_text_internal.h"

#include "platform/events/events.h"

#include <algorithm>

namespace {

// Clips the current port to its clip within a region for a scope.
struct RegionClip {
    explicit RegionClip(pf::RgnHandle within) {
        pf::get_clip(saved);
        pf::RgnHandle clip = pf::new_region();
        pf::sect_region(saved, within, clip);
        pf::set_clip(clip);
        pf::dispose_region(clip);
    }
    ~RegionClip() {
        pf::set_clip(saved);
        pf::dispose_region(saved);
    }
    RegionClip(const RegionClip&) = delete;
    RegionClip& operator=(const RegionClip&) = delete;
    pf::RgnHandle saved = pf::new_region();
};

bool port_hidden(WEReference we, int16_t view) {
    const pf::Port* port = WEI(we).port[view];
    return !(WEI(we).flags & weFOutputMode) && (!port->vis_rgn || pf::empty_region(port->vis_rgn));
}

pf::Rect line_rect(const WELineRecord* line, WEReference we, int16_t view) {
    const LongRect& dest = WEI(we).destRect[view];
    return WELongRectToRect(LongRect{dest.top + line[0].lineOrigin, dest.left, dest.top + line[1].lineOrigin, dest.right});
}

struct DrawContext {
    bool useColor;
    bool erase;
    bool offscreenNow;
    pf::Rect lineRect;
    pf::Rect clipRect;
    pf::Port* viewPort;
};

void begin_offscreen_line(DrawContext& c, WEReference we) {
    WEInstance& w = WEI(we);
    pf::Rect bounds{0, 0, int16_t(c.clipRect.height()), int16_t(c.clipRect.width())};
    if (!w.offscreen) {
        if (pf::new_gworld(&w.offscreen, 0, bounds, 7) != pf::noErr) {
            w.offscreen = nullptr;
            return;
        }
    } else if (pf::update_gworld(w.offscreen, 0, bounds, 0) != pf::noErr) {
        return;
    }
    if (!pf::lock_pixels(w.offscreen)) return;
    pf::Port& buffer = w.offscreen->port;
    *static_cast<pf::DrawingState*>(&buffer) = *static_cast<pf::DrawingState*>(c.viewPort);
    pf::set_port(&buffer);
    pf::set_origin(c.clipRect.left, c.clipRect.top);
    pf::clip_rect(c.clipRect);
    c.offscreenNow = true;
}

void end_offscreen_line(DrawContext& c, WEReference we) {
    WEInstance& w = WEI(we);
    pf::set_port(c.viewPort);
    if (c.useColor) pf::rgb_fore_color(pf::kBlackColor);
    pf::copy_bits(pf::gworld_bits(w.offscreen), c.clipRect, c.clipRect, pf::kSrcCopy);
    pf::PortScope scope(&w.offscreen->port);
    pf::set_origin(0, 0);
    pf::unlock_pixels(w.offscreen);
    c.offscreenNow = false;
}

bool SLDraw(const WESegment& segment, void* context, WEReference we, int16_t view) {
    DrawContext& c = *static_cast<DrawContext*>(context);
    WEInstance& w = WEI(we);
    const WETextStyle& ts = segment.run->runAttrs.runStyle;
    if (segment.firstInLine()) {
        c.lineRect = line_rect(segment.line, we, view);
        pf::sect_rect(c.lineRect, pf::region_bounds(w.viewRgn[view]), c.clipRect);
        if (c.erase && (w.flags & weFDrawOffscreen) && !c.clipRect.empty()) begin_offscreen_line(c, we);
        if (c.erase) pf::erase_rect(c.clipRect);
        int16_t indent = _WECalcPenIndent(segment.line->lineSlop, w.alignment);
        pf::move_to(int16_t(c.lineRect.left + indent), int16_t(c.lineRect.top + segment.line->lineAscent));
    }
    if (c.offscreenNow) _WESetPortStyle(ts);
    if (c.useColor) pf::rgb_fore_color(ts.tsColor);
    pf::Point before = pf::get_pen();
    if (WEObjectReference object = ts.tsObject) {
        pf::move(_WEObjectWidth(object), 0);
    } else {
        int32_t length = segment.length;
        if (w.alignment == weJustify && segment.lastInLine())
            length = pf::visible_length(std::string_view(segment.text, size_t(length)));
        pf::draw_justified(std::string_view(segment.text, size_t(length)), _WEJustSlop(segment, we), segment.position);
    }
    if (ts.tsFlags & weTSMInputText) {
        pf::Point after = pf::get_pen();
        _WEDrawTSMHilite(pf::Rect{before.v, before.h, c.lineRect.bottom, after.h}, ts.tsFlags);
    }
    if (segment.lastInLine() && c.offscreenNow) end_offscreen_line(c, we);
    return false;
}

}  // namespace

void _WEDrawLines(int32_t firstLine, int32_t lastLine, bool erase, WEReference we, int16_t view) {
    if (!WEHasView(we, view) || port_hidden(we, view)) return;
    DrawContext context{bool(WEI(we).flags & weFHasColorQD), erase, false, {}, {}, WEI(we).port[view]};
    _WESegmentLoop(firstLine, lastLine, SLDraw, &context, we, view);
}

void _WEDrawTSMHilite(const pf::Rect& rect, uint8_t hiliteByte) {
    pf::RGBColor saved;
    pf::get_fore_color(saved);
    pf::pen_pat(pf::kBlackPattern);
    pf::RGBColor colour = pf::kBlackColor;
    if (!(hiliteByte & weTSMConverted)) {
        pf::RGBColor back;
        pf::get_back_color(back);
        if (!pf::get_gray(back, colour)) pf::pen_pat(pf::kGrayPattern);
    }
    pf::rgb_fore_color(colour);
    int16_t thickness = (hiliteByte & weTSMSelected) ? 2 : 1;
    pf::Rect r{int16_t(rect.bottom - thickness), int16_t(rect.left + 1), rect.bottom, int16_t(rect.right - 1)};
    pf::paint_rect(r);
    pf::pen_pat(pf::kBlackPattern);
    pf::rgb_fore_color(saved);
}

// ---- Caret -------------------------------------------------------------------------------------

void _WEDrawCaret(int32_t offset, WEReference we, int16_t view) {
    if (!WEHasView(we, view)) return;
    LongPoint point;
    int16_t height = 0;
    WEGetPoint(offset, point, &height, we, view);
    if (point.h > WEI(we).viewRect[view].left) --point.h;
    WEQDEnvironment env(we, view);
    RegionClip clip(WEI(we).viewRgn[view]);
    pf::Point top = WELongPointToPoint(point);
    pf::invert_rect(pf::Rect{top.v, top.h, int16_t(top.v + height), int16_t(top.h + 1)});
}

void _WEBlinkCaret(WEReference we) {
    WEInstance& w = WEI(we);
    if (!(w.flags & weFActive)) return;
    for (int16_t view = 0; view < 2 && WEHasView(we, view); ++view)
        if (!port_hidden(we, view)) _WEDrawCaret(w.selStart, we, view);
    w.flags ^= weFCaretVisible;
    w.caretTime = pf::tick_count();
}

void _WEHideCaret(WEReference we) {
    if (WEI(we).flags & weFCaretVisible) _WEBlinkCaret(we);
}

void _WEShowCaret(WEReference we) {
    const WEInstance& w = WEI(we);
    if (!(w.flags & weFCaretVisible) && w.selStart == w.selEnd && !(w.flags & weFInhibitRecal)) _WEBlinkCaret(we);
}

void WEIdle(uint32_t* maxSleep, WEReference we) {
    WEInstance& w = WEI(we);
    uint32_t left = 0x7fffffff;
    if ((w.flags & weFActive) && w.selStart == w.selEnd) {
        int64_t remaining = int64_t(pf::caret_time()) - int64_t(pf::tick_count() - w.caretTime);
        if (remaining < 1) {
            _WEBlinkCaret(we);
            remaining = pf::caret_time();
        }
        left = uint32_t(remaining);
    }
    if (maxSleep) *maxSleep = left;
}

// ---- Highlight -----------------------------------------------------------------------------------

pf::RgnHandle WEGetHiliteRgn(int32_t start, int32_t end, WEReference we, int16_t view) {
    pf::RgnHandle rgn = pf::new_region();
    if (!WEHasView(we, view)) return rgn;
    _WEReorder(&start, &end);
    LongPoint a, b;
    int16_t ha = 0, hb = 0;
    WEGetPoint(start, a, &ha, we, view);
    WEGetPoint(end, b, &hb, we, view);
    const LongRect& dest = WEI(we).destRect[view];
    std::vector<LongRect> parts;
    if (a.v == b.v) {
        parts.push_back(LongRect{a.v, a.h, a.v + hb, b.h});
    } else {
        parts.push_back(LongRect{a.v, a.h, a.v + ha, dest.right});
        if (b.v > a.v + ha) parts.push_back(LongRect{a.v + ha, dest.left, b.v, dest.right});
        parts.push_back(LongRect{b.v, dest.left, b.v + hb, b.h});
    }
    pf::RgnHandle piece = pf::new_region();
    for (const LongRect& part : parts) {
        pf::rect_region(piece, WELongRectToRect(part));
        pf::union_region(rgn, piece, rgn);
    }
    pf::dispose_region(piece);
    pf::sect_region(rgn, WEI(we).viewRgn[view], rgn);
    return rgn;
}

void _WEHiliteRange(int32_t start, int32_t end, WEReference we, int16_t view) {
    if (start == end || !WEHasView(we, view) || port_hidden(we, view)) return;
    WEInstance& w = WEI(we);
    bool active = w.flags & weFActive;
    if (!active && !(w.flags & weFOutlineHilite)) return;
    pf::RgnHandle rgn = WEGetHiliteRgn(start, end, we, view);
    {
        WEQDEnvironment env(we, view);
        RegionClip clip(w.viewRgn[view]);
        pf::clear_hilite_bit();
        if (active) {
            pf::invert_region(rgn);
        } else {
            pf::pen_mode(pf::kPatXor);
            pf::frame_region(rgn);
        }
    }
    pf::dispose_region(rgn);
}

void _WEHiliteRangeAll(int32_t start, int32_t end, WEReference we) {
    for (int16_t view = 0; view < 2 && WEHasView(we, view); ++view) _WEHiliteRange(start, end, we, view);
}

// ---- Redrawing -------------------------------------------------------------------------------------

pf::OSErr _WERedraw(int32_t start, int32_t end, WEReference we, int16_t view) {
    WEInstance& w = WEI(we);
    if (w.flags & weFInhibitRecal) return pf::noErr;
    if (!WEHasView(we, view)) return pf::noErr;
    _WEHideCaret(we);
    int32_t old_height = w.destRect[view].bottom - w.destRect[view].top;
    int32_t first = WEOffsetToLine(start, we, view);
    int32_t last = WEOffsetToLine(end, we, view);
    if (pf::OSErr err = _WERecalBreaks(&first, &last, we, view)) return err;
    _WERecalSlops(first, last, we, view);
    int32_t new_height = w.destRect[view].bottom - w.destRect[view].top;
    const WELineRecord* lines = WELines(we, view);
    int32_t bottom = new_height;
    if (new_height != old_height) bottom = std::max(old_height, new_height);
    else if (last + 1 < w.lineCount[view]) bottom = lines[last + 1].lineOrigin;
    const LongRect& dest = w.destRect[view];
    LongRect area{dest.top + lines[first].lineOrigin, -32767, dest.top + bottom, 32767};
    pf::Rect redraw;
    if (pf::sect_rect(WELongRectToRect(area), WELongRectToRect(w.viewRect[view]), redraw) && !port_hidden(we, view)) {
        WEQDEnvironment env(we, view);
        pf::RgnHandle rgn = pf::new_region();
        pf::rect_region(rgn, redraw);
        {
            RegionClip clip(rgn);
            int32_t last_drawn = _WEPixelToLine(redraw.bottom - 1 - dest.top, we, view);
            _WEDrawLines(first, last_drawn, true, we, view);
            int32_t text_bottom = dest.top + _WETotalHeight(we, view);
            if (text_bottom < redraw.bottom)
                pf::erase_rect(pf::Rect{int16_t(std::max<int32_t>(text_bottom, redraw.top)), redraw.left, redraw.bottom, redraw.right});
            if (w.selStart != w.selEnd) _WEHiliteRange(w.selStart, w.selEnd, we, view);
        }
        pf::dispose_region(rgn);
    }
    if (w.selStart == w.selEnd) _WEShowCaret(we);
    if (view == 0) WESelView(we);
    return pf::noErr;
}

pf::OSErr _WERedrawAll(int32_t start, int32_t end, WEReference we) {
    for (int16_t view = 0; view < 2 && WEHasView(we, view); ++view)
        if (pf::OSErr err = _WERedraw(start, end, we, view)) return err;
    return pf::noErr;
}

void WEUpdate(pf::RgnHandle region, WEReference we, int16_t view) {
    if (!WEHasView(we, view)) return;
    WEInstance& w = WEI(we);
    WEQDEnvironment env(we, view);
    pf::RgnHandle area = pf::new_region();
    if (region) pf::sect_region(region, w.viewRgn[view], area);
    else pf::copy_region(w.viewRgn[view], area);
    if (!pf::empty_region(area)) {
        RegionClip clip(area);
        pf::Rect bounds = pf::region_bounds(area);
        const LongRect& dest = w.destRect[view];
        int32_t first = _WEPixelToLine(bounds.top - dest.top, we, view);
        int32_t last = _WEPixelToLine(bounds.bottom - 1 - dest.top, we, view);
        _WEDrawLines(first, last, !region, we, view);
        int32_t text_bottom = dest.top + _WETotalHeight(we, view);
        if (!region && text_bottom < bounds.bottom)
            pf::erase_rect(pf::Rect{int16_t(std::max<int32_t>(text_bottom, bounds.top)), bounds.left, bounds.bottom, bounds.right});
        if (!(w.flags & weFOutputMode)) {
            if (w.selStart != w.selEnd) _WEHiliteRange(w.selStart, w.selEnd, we, view);
            else if (w.flags & weFCaretVisible) _WEDrawCaret(w.selStart, we, view);
        }
    }
    pf::dispose_region(area);
}

// ---- Activation ---------------------------------------------------------------------------------------

void WEActivate(WEReference we) {
    WEInstance& w = WEI(we);
    if (w.flags & weFActive) return;
    _WEHiliteRangeAll(w.selStart, w.selEnd, we);
    w.flags |= weFActive;
    _WEHiliteRangeAll(w.selStart, w.selEnd, we);
    _WEActivateTSM(we, true);
}

void WEDeactivate(WEReference we) {
    WEInstance& w = WEI(we);
    if (!(w.flags & weFActive)) return;
    _WEHiliteRangeAll(w.selStart, w.selEnd, we);
    _WEHideCaret(we);
    w.flags &= ~weFActive;
    _WEHiliteRangeAll(w.selStart, w.selEnd, we);
    if (w.offscreen) pf::dispose_gworld(w.offscreen);
    w.offscreen = nullptr;
    _WEActivateTSM(we, false);
}

bool WEIsActive(WEReference we) { return WEI(we).flags & weFActive; }

// ---- Scrolling -----------------------------------------------------------------------------------------

void WEScroll(int32_t dh, int32_t dv, WEReference we) {
    if (dh == 0 && dv == 0) return;
    WEInstance& w = WEI(we);
    _WEHideCaret(we);
    const LongRect& view = w.viewRect[0];
    LongRect& dest = w.destRect[0];
    if (dv > 0) dv = std::min(dv, std::max(0, view.top - dest.top));
    if (dv < 0) dv = std::max(dv, std::min(0, view.bottom - dest.bottom));
    if (dh == 0 && dv == 0) return;
    bool outline = !(w.flags & weFActive) && (w.flags & weFOutlineHilite);
    if (outline) {
        _WEHiliteRange(w.selStart, w.selEnd, we, 0);
        w.flags &= ~weFOutlineHilite;
    }
    WEOffsetLongRect(dest, dh, dv);
    if (w.port[0] && !port_hidden(we, 0)) {
        pf::RgnHandle uncovered = pf::new_region();
        {
            WEQDEnvironment env(we, 0);
            pf::scroll_rect(pf::region_bounds(w.viewRgn[0]), int16_t(std::clamp(dh, -32767, 32767)),
                            int16_t(std::clamp(dv, -32767, 32767)), uncovered);
        }
        WEUpdate(uncovered, we, 0);
        pf::dispose_region(uncovered);
    }
    if (outline) {
        w.flags |= weFOutlineHilite;
        _WEHiliteRange(w.selStart, w.selEnd, we, 0);
    }
}

bool _WEScrollIntoView(int32_t offset, WEReference we) {
    WEInstance& w = WEI(we);
    if (!(w.flags & weFAutoScroll) || !w.port[0]) return false;
    LongPoint p;
    int16_t height = 0;
    WEGetPoint(offset, p, &height, we, 0);
    const LongRect& view = w.viewRect[0];
    const LongRect& dest = w.destRect[0];
    int32_t dv = 0, dh = 0;
    if (!(p.v >= view.top && p.v + height < view.bottom))
        dv = std::min(std::max(((view.top + view.bottom) >> 1) - p.v, view.bottom - dest.bottom), view.top - dest.top);
    if (!(p.h - 1 >= view.left && p.h < view.right))
        dh = std::min(std::max(((view.left + view.right) >> 1) - p.h, view.right - dest.right), view.left - dest.left);
    if (dh || dv) WEScroll(dh, dv, we);
    if (w.scrollProc) w.scrollProc(we);
    return dh || dv;
}

bool WESelView(WEReference we) {
    const WEInstance& w = WEI(we);
    return _WEScrollIntoView((w.flags & weFAnchorIsEnd) ? w.selStart : w.selEnd, we);
}

void WESetAlignment(int8_t alignment, WEReference we) {
    WEInstance& w = WEI(we);
    if (alignment < weFlushLeft || alignment > weJustify || alignment == w.alignment) return;
    _WEHideCaret(we);
    w.alignment = alignment;
    if (w.flags & weFInhibitRecal) return;
    _WERecalSlops(0, w.lineCount[0] - 1, we, 0);
    if (WEHasView(we, 1)) _WERecalSlops(0, w.lineCount[1] - 1, we, 1);
    WEUpdate(nullptr, we, 0);
}
