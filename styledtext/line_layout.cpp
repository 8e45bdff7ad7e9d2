// Line layout: breaking the text into lines of a view, line heights, slop and
// justification, the segment loop, and offsets to pixels and back.
#include "styledtext/styled_text_internal.h"

#include "platform/events/events.h"
#include "platform/fonts/font_instance.h"
#include "platform/text/text.h"

#include <algorithm>

namespace {

constexpr int32_t kMaxMeasured = 32767;

pf::Fixed fix_mul(pf::Fixed a, pf::Fixed b) { return pf::Fixed((int64_t(a) * b) >> 16); }
pf::Fixed fix_div(pf::Fixed a, pf::Fixed b) { return b == 0 ? 0 : pf::Fixed((int64_t(a) << 16) / b); }

pf::TextStyle text_style_of(const WETextStyle& ts) { return pf::TextStyle{ts.tsFont, ts.tsSize, ts.tsFace}; }

int32_t measure_fixed(const char* text, int32_t length, void* context) {
    const pf::FontInstance& font = *static_cast<const pf::FontInstance*>(context);
    return pf::text_advance(font, std::string_view(text, size_t(length))) << 16;
}

int32_t view_width(WEReference we, int16_t view) {
    const LongRect& dest = WEI(we).destRect[view];
    return dest.right - dest.left;
}

bool text_ends_with_return(WEReference we) {
    const WEInstance& w = WEI(we);
    return w.textLength > 0 && pf::ends_text_line(uint8_t(WEText(we)[w.textLength - 1]));
}

}  // namespace

// ---- Environment -------------------------------------------------------------------------

WEQDEnvironment::WEQDEnvironment(WEReference we, int16_t view) : savedPort(pf::get_port()), port(WEI(we).port[view]) {
    if (!port) port = savedPort;
    state = *static_cast<pf::DrawingState*>(port);
    pf::set_port(port);
    pf::pen_normal();
    pf::text_mode(pf::kSrcOr);
}

WEQDEnvironment::~WEQDEnvironment() {
    if (port) *static_cast<pf::DrawingState*>(port) = state;
    pf::set_port(savedPort);
}

void _WESetPortStyle(const WETextStyle& ts) {
    pf::text_font(ts.tsFont);
    pf::text_size(ts.tsSize);
    pf::text_face(ts.tsFace);
}

// ---- Line lookup ------------------------------------------------------------------------------

namespace {

// The last line whose `field` is at or before `value` (binary search).
int32_t last_line_at_or_before(int32_t value, int32_t WELineRecord::*field, WEReference we, int16_t view) {
    const WELineRecord* lines = WELines(we, view);
    int32_t low = 0, high = WEI(we).lineCount[view] - 1;
    while (low < high) {
        int32_t mid = (low + high + 1) / 2;
        if (lines[mid].*field <= value) low = mid;
        else high = mid - 1;
    }
    return low;
}

}  // namespace

int32_t WEOffsetToLine(int32_t offset, WEReference we, int16_t view) {
    if (!WEHasView(we, view)) return 0;
    return last_line_at_or_before(offset, &WELineRecord::lineStart, we, view);
}

int32_t _WEPixelToLine(int32_t pixel, WEReference we, int16_t view) {
    return last_line_at_or_before(pixel, &WELineRecord::lineOrigin, we, view);
}

int32_t WEGetHeight(int32_t startLine, int32_t endLine, WEReference we, int16_t view) {
    if (!WEHasView(we, view)) return 0;
    int32_t count = WEI(we).lineCount[view];
    startLine = _WEPinInRange(startLine, 0, count);
    endLine = _WEPinInRange(endLine, 0, count);
    _WEReorder(&startLine, &endLine);
    return WELines(we, view)[endLine].lineOrigin - WELines(we, view)[startLine].lineOrigin;
}

void WEFindLine(int32_t offset, int8_t, int32_t* start, int32_t* end, WEReference we, int16_t view) {
    int32_t line = WEOffsetToLine(offset, we, view);
    *start = WELines(we, view)[line].lineStart;
    *end = WELines(we, view)[line + 1].lineStart;
}

int32_t _WETotalHeight(WEReference we, int16_t view) { return WELines(we, view)[WEI(we).lineCount[view]].lineOrigin; }

// ---- Segment loop ---------------------------------------------------------------------------

void _WESegmentLoop(int32_t firstLine, int32_t lastLine, WESegmentProc proc, void* context, WEReference we,
                    int16_t view) {
    if (!WEHasView(we, view)) return;
    WEQDEnvironment env(we, view);
    WEInstance& w = WEI(we);
    firstLine = _WEPinInRange(firstLine, 0, w.lineCount[view] - 1);
    lastLine = _WEPinInRange(lastLine, 0, w.lineCount[view] - 1);
    bool text_lock = _WESetHandleLock(w.hText, true);
    int32_t style_set = -1;
    WERunInfo info;
    for (int32_t line = firstLine; line <= lastLine; ++line) {
        const WELineRecord* record = WELines(we, view) + line;
        int32_t line_start = record[0].lineStart, line_end = record[1].lineStart;
        for (int32_t run = _WEOffsetToRun(line_start, we); run < w.runCount; ++run) {
            _WEGetIndStyle(run, info, we);
            if (run != style_set) {
                _WESetPortStyle(info.runAttrs.runStyle);
                style_set = run;
            }
            int32_t seg_start = std::max(info.runStart, line_start);
            int32_t seg_end = std::min(info.runEnd, line_end);
            bool begins = info.runStart <= line_start, reaches = info.runEnd >= line_end;
            int16_t position = begins ? (reaches ? pf::kOnlyStyleRun : pf::kLeftStyleRun)
                                      : (reaches ? pf::kRightStyleRun : pf::kMiddleStyleRun);
            WESegment segment{record, line, &info, WEText(we) + seg_start, seg_start, seg_end - seg_start, position};
            if (proc(segment, context, we, view) || reaches) break;
        }
    }
    _WESetHandleLock(w.hText, text_lock);
}

// ---- Line breaks and heights -------------------------------------------------------------------

namespace {

int32_t _WEFindLineBreak(int32_t line_start, WEReference we, int16_t view) {
    const WEInstance& w = WEI(we);
    int32_t rest = std::min(w.textLength - line_start, kMaxMeasured);
    if (rest <= 0) return 0;
    int32_t budget = view_width(we, view) << 16;
    const char* text = WEText(we) + line_start;
    WERunInfo info;
    for (int32_t run = _WEOffsetToRun(line_start, we); run < w.runCount; ++run) {
        _WEGetIndStyle(run, info, we);
        int32_t run_start = _WEPinInRange(info.runStart - line_start, 0, rest);
        int32_t run_end = _WEPinInRange(info.runEnd - line_start, 0, rest);
        if (WEObjectReference object = info.runAttrs.runStyle.tsObject) {
            budget -= int32_t(_WEObjectWidth(object)) << 16;
            if (budget < 0) return run_start;
        } else {
            int32_t offset = 1;
            const pf::FontInstance& font = pf::font_instance(text_style_of(info.runAttrs.runStyle));
            pf::LineBreak result = pf::styled_line_break(text, run_start, run_end, budget, offset, measure_fixed,
                                                         const_cast<pf::FontInstance*>(&font), font.script);
            if (result != pf::LineBreak::overflow) return offset;
        }
        if (run_end >= rest) return rest;
    }
    return rest;
}

void _WECalcHeights(int32_t start, int32_t end, int16_t* ascent, int16_t* descent, WEReference we) {
    *ascent = *descent = 1;
    WERunInfo info;
    for (int32_t run = _WEOffsetToRun(start, we); run < WEI(we).runCount; ++run) {
        _WEGetIndStyle(run, info, we);
        const WERunAttributes& a = info.runAttrs;
        if (WEObjectReference object = a.runStyle.tsObject) {
            *ascent = std::max(*ascent, (*object)->height);
        } else {
            *ascent = std::max(*ascent, a.runAscent);
            *descent = std::max(*descent, int16_t(a.runHeight - a.runAscent));
        }
        if (info.runEnd >= end) break;
    }
}

void remove_lines(int32_t index, int32_t count, WEReference we, int16_t view) {
    if (count <= 0) return;
    WEInstance& w = WEI(we);
    char* base = *w.hLines[view];
    size_t size = sizeof(WELineRecord);
    std::memmove(base + index * size, base + (index + count) * size, (w.lineCount[view] + 1 - index - count) * size);
    w.lineCount[view] -= count;
    pf::set_handle_size(w.hLines[view], (w.lineCount[view] + 1) * int32_t(size));
}

void shift_origins(int32_t from, int32_t delta, WEReference we, int16_t view) {
    if (delta == 0) return;
    WELineRecord* lines = WELines(we, view);
    for (int32_t i = from; i <= WEI(we).lineCount[view]; ++i) lines[i].lineOrigin += delta;
}

}  // namespace

pf::OSErr _WERecalBreaks(int32_t* startLine, int32_t* endLine, WEReference we, int16_t view) {
    if (!WEHasView(we, view)) return pf::noErr;
    WEInstance& w = WEI(we);
    int32_t end_line = _WEPinInRange(*endLine, 0, w.lineCount[view] - 1);
    int32_t stop = WELines(we, view)[end_line + 1].lineStart;
    int32_t first = _WEPinInRange(*startLine, 0, w.lineCount[view] - 1);
    int32_t line = _WEPinInRange(*startLine - 1, 0, w.lineCount[view] - 1);
    int32_t initial = line;
    int32_t last = line;
    while (true) {
        WELineRecord* lines = WELines(we, view);
        int32_t line_start = lines[line].lineStart;
        int32_t length = _WEFindLineBreak(line_start, we, view);
        if (length <= 0 && line_start < w.textLength) length = 1;
        int32_t brk = line_start + length;
        int16_t ascent = 0, descent = 0;
        _WECalcHeights(line_start, brk, &ascent, &descent, we);
        lines[line].lineAscent = ascent;
        int32_t next_origin = lines[line].lineOrigin + ascent + descent;
        int32_t next = line + 1;
        last = line;
        if (line == initial && line < first && lines[next].lineStart != brk) first = line;
        if (brk >= w.textLength) {
            remove_lines(next, w.lineCount[view] - next, we, view);
            lines = WELines(we, view);
            lines[next].lineStart = w.textLength;
            lines[next].lineOrigin = next_origin;
            break;
        }
        int32_t swallowed = 0;
        while (next + swallowed < w.lineCount[view] && lines[next + swallowed].lineStart < brk) ++swallowed;
        remove_lines(next, swallowed, we, view);
        lines = WELines(we, view);
        if (next == w.lineCount[view] || lines[next].lineStart > brk) {
            WELineRecord record{brk, next_origin, 0, 0, 0};
            if (pf::OSErr err = _WEInsertSlot(w.hLines[view], &record, next, sizeof(WELineRecord))) return err;
            ++w.lineCount[view];
        } else {
            int32_t delta = next_origin - lines[next].lineOrigin;
            lines[next].lineOrigin = next_origin;
            if (brk >= stop && line >= first) {
                shift_origins(next + 1, delta, we, view);
                break;
            }
        }
        line = next;
    }
    LongRect& dest = w.destRect[view];
    int32_t height = _WETotalHeight(we, view);
    if (text_ends_with_return(we)) {
        const WELineRecord* lines = WELines(we, view);
        int32_t n = w.lineCount[view];
        height += lines[n].lineOrigin - lines[n - 1].lineOrigin;
    }
    dest.bottom = dest.top + height;
    *endLine = last;
    *startLine = std::min(first, last);
    return pf::noErr;
}

// ---- Slop and justification ------------------------------------------------------------------

namespace {

struct SlopContext {
    int32_t width;
    int32_t remaining;
    pf::Fixed portion;
};

bool SLCalcSlop(const WESegment& segment, void* context, WEReference we, int16_t view) {
    SlopContext& c = *static_cast<SlopContext*>(context);
    if (segment.firstInLine()) {
        c.remaining = c.width;
        c.portion = 0;
    }
    if (WEObjectReference object = segment.run->runAttrs.runStyle.tsObject) {
        c.remaining -= _WEObjectWidth(object);
    } else {
        int32_t length = segment.length;
        if (segment.lastInLine()) length = pf::visible_length(std::string_view(segment.text, size_t(length)));
        std::string_view visible(segment.text, size_t(length));
        c.remaining -= pf::text_width(visible);
        c.portion += pf::portion_line(visible, segment.position);
    }
    if (segment.lastInLine()) {
        WELineRecord& line = WELines(we, view)[segment.lineIndex];
        int32_t end = segment.start + segment.length;
        line.lineSlop = int16_t(std::clamp(c.remaining, 0, 32767));
        bool paragraph_end = end >= WEI(we).textLength || (end > 0 && pf::ends_text_line(uint8_t(WEText(we)[end - 1])));
        line.lineJustAmount = paragraph_end ? 0 : fix_div(int32_t(line.lineSlop) << 16, c.portion);
    }
    return false;
}

}  // namespace

void _WERecalSlops(int32_t firstLine, int32_t lastLine, WEReference we, int16_t view) {
    SlopContext context{view_width(we, view), 0, 0};
    _WESegmentLoop(firstLine, lastLine, SLCalcSlop, &context, we, view);
}

int16_t _WECalcPenIndent(int16_t slop, int8_t alignment) {
    switch (alignment) {
        case weFlushRight: return slop;
        case weCenter: return int16_t(slop / 2);
        default: return 0;  // left, full, and the system's direction (left to right)
    }
}

pf::Fixed _WEJustSlop(const WESegment& segment, WEReference we) {
    if (WEI(we).alignment != weJustify) return 0;
    std::string_view text(segment.text, size_t(segment.length));
    return fix_mul(pf::portion_line(text, segment.position), segment.line->lineJustAmount);
}

// ---- Offsets and points ----------------------------------------------------------------------------

namespace {

struct CharToPixelContext {
    int32_t offset;
    int32_t h;
};

bool SLCharToPixel(const WESegment& segment, void* context, WEReference we, int16_t) {
    CharToPixelContext& c = *static_cast<CharToPixelContext*>(context);
    if (segment.firstInLine()) c.h += _WECalcPenIndent(segment.line->lineSlop, WEI(we).alignment);
    int32_t within = c.offset - segment.start;
    if (WEObjectReference object = segment.run->runAttrs.runStyle.tsObject) {
        if (within > 0) c.h += _WEObjectWidth(object);
    } else {
        std::string_view text(segment.text, size_t(segment.length));
        c.h += pf::char_to_pixel(text, _WEJustSlop(segment, we), std::clamp(within, 0, segment.length),
                                 segment.position);
    }
    return within <= segment.length;
}

struct PixelToCharContext {
    pf::Fixed distance;
    int32_t offset;
    int8_t edge;
    bool found;
};

bool is_blank_char(const char* text, int32_t offset) {
    return (pf::character_type(text, offset, pf::system_script()) & pf::kCharClassMask) == pf::kPunctBlank ||
           pf::ends_text_line(uint8_t(text[offset]));
}

bool SLPixelToChar(const WESegment& segment, void* context, WEReference we, int16_t) {
    PixelToCharContext& c = *static_cast<PixelToCharContext*>(context);
    if (c.found) return true;
    if (segment.firstInLine()) c.distance -= pf::Fixed(_WECalcPenIndent(segment.line->lineSlop, WEI(we).alignment)) << 16;
    if (c.distance < 0) {
        c.offset = segment.start;
        c.edge = weTrailingEdge;
        c.found = true;
        return true;
    }
    if (WEObjectReference object = segment.run->runAttrs.runStyle.tsObject) {
        pf::Fixed w = pf::Fixed(_WEObjectWidth(object)) << 16;
        c.offset = segment.start;
        c.edge = weLeadingEdge;
        if (c.distance < w / 4) {
            c.found = true;
        } else if (c.distance < 3 * (w / 4)) {
            c.edge = weObjectEdge;
            c.found = true;
        } else if (c.distance < w) {
            c.offset = segment.start + 1;
            c.edge = weTrailingEdge;
            c.found = true;
        } else {
            c.distance -= w;
            c.offset = segment.start + 1;
        }
        return c.found;
    }
    int32_t length = segment.length;
    int32_t end = segment.start + length;
    bool ends_text = end >= WEI(we).textLength;
    bool ends_with_return = length > 0 && pf::ends_text_line(uint8_t(segment.text[length - 1]));
    if (segment.lastInLine() && (!ends_text || ends_with_return) && length > 0 &&
        is_blank_char(WEText(we), end - 1))
        --length;
    std::string_view text(segment.text, size_t(length));
    pf::PixelHit hit = pf::pixel_to_char(text, _WEJustSlop(segment, we), c.distance, segment.position);
    c.offset = segment.start + hit.offset;
    c.edge = hit.leading_edge ? weLeadingEdge : weTrailingEdge;
    if (hit.width_remaining < 0) {
        c.found = true;
        return true;
    }
    c.distance = hit.width_remaining;
    return false;
}

}  // namespace

void WEGetPoint(int32_t offset, LongPoint& point, int16_t* lineHeight, WEReference we, int16_t view) {
    if (!WEHasView(we, view)) return;
    WEInstance& w = WEI(we);
    offset = _WEPinInRange(offset, 0, w.textLength);
    const LongRect& dest = w.destRect[view];
    int32_t line = WEOffsetToLine(offset, we, view);
    const WELineRecord* lines = WELines(we, view);
    int16_t height = int16_t(lines[line + 1].lineOrigin - lines[line].lineOrigin);
    point.v = dest.top + lines[line].lineOrigin;
    if (offset == w.textLength && text_ends_with_return(we)) {
        point.v += height;
        point.h = dest.left + _WECalcPenIndent(int16_t(std::min(view_width(we, view), 32767)), w.alignment);
    } else {
        CharToPixelContext context{offset, dest.left};
        _WESegmentLoop(line, line, SLCharToPixel, &context, we, view);
        point.h = std::clamp(context.h, dest.left, dest.right);
    }
    if (lineHeight) *lineHeight = height;
}

int32_t WEGetOffset(const LongPoint& point, int8_t* edge, WEReference we, int16_t view) {
    if (!WEHasView(we, view)) return 0;
    WEInstance& w = WEI(we);
    const LongRect& dest = w.destRect[view];
    int32_t v = point.v - dest.top, h = point.h - dest.left;
    int8_t found_edge = weTrailingEdge;
    int32_t offset = 0;
    if (v < 0) {
        offset = 0;
    } else if (v >= _WETotalHeight(we, view)) {
        offset = w.textLength;
        found_edge = weLeadingEdge;
    } else {
        int32_t line = _WEPixelToLine(v, we, view);
        PixelToCharContext context{pf::Fixed(std::clamp(h, -32767, 32767)) << 16, 0, weTrailingEdge, false};
        _WESegmentLoop(line, line, SLPixelToChar, &context, we, view);
        offset = context.offset;
        found_edge = context.edge;
    }
    if (edge) *edge = found_edge;
    return offset;
}

// ---- Keeping line tables in step with edits ---------------------------------------------------------

void _WEBumpLineStartAll(int32_t offset, int32_t delta, WEReference we) {
    for (int16_t view = 0; view < 2 && WEHasView(we, view); ++view) {
        int32_t line = WEOffsetToLine(offset, we, view);
        WELineRecord* lines = WELines(we, view);
        for (int32_t i = line + 1; i <= WEI(we).lineCount[view]; ++i) lines[i].lineStart += delta;
    }
}

void _WERemoveLineRangeAll(int32_t start, int32_t end, WEReference we) {
    int32_t delta = end - start;
    for (int16_t view = 0; view < 2 && WEHasView(we, view); ++view) {
        int32_t first = WEOffsetToLine(start, we, view) + 1;
        int32_t last = WEOffsetToLine(end, we, view);
        // Never the last line: the table keeps at least one.
        if (last >= first) remove_lines(first, last - first + 1, we, view);
        WELineRecord* lines = WELines(we, view);
        for (int32_t i = first; i <= WEI(we).lineCount[view]; ++i) lines[i].lineStart -= delta;
    }
}
