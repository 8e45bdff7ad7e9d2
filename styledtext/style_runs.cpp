// Style runs and the style table: lookup, reference counts, changing the style
// of a range, continuous styles, the null style and embedded objects.
#include "styledtext/styled_text_internal.h"

#include "platform/fonts/fonts.h"
#include "platform/text/text.h"

#include <algorithm>

// ---- Lookup ------------------------------------------------------------------------------

int32_t _WEOffsetToRun(int32_t offset, WEReference we) {
    const WERunRecord* runs = WERuns(we);
    int32_t low = 0, high = WEI(we).runCount - 1;
    if (offset <= 0) return 0;
    while (low < high) {
        int32_t mid = (low + high + 1) / 2;
        if (runs[mid].runStart <= offset) low = mid;
        else high = mid - 1;
    }
    return low;
}

void _WEGetIndStyle(int32_t runIndex, WERunInfo& info, WEReference we) {
    const WERunRecord* runs = WERuns(we);
    info.runStart = runs[runIndex].runStart;
    info.runEnd = runs[runIndex + 1].runStart;
    info.runAttrs = WEStyles(we)[runs[runIndex].styleIndex].attrs;
}

void WEGetRunInfo(int32_t offset, WERunInfo& info, WEReference we) {
    _WEGetIndStyle(_WEOffsetToRun(offset, we), info, we);
}

// ---- Style table and run records -------------------------------------------------------------

pf::OSErr _WENewStyle(const WERunAttributes& attrs, int32_t* index, WEReference we) {
    WEInstance& w = WEI(we);
    WEStyleEntry* styles = WEStyles(we);
    int32_t unused = -1;
    for (int32_t i = 0; i < w.styleCount; ++i) {
        if (styles[i].attrs == attrs) {
            *index = i;
            return pf::noErr;
        }
        if (styles[i].refCount == 0) unused = i;
    }
    if (unused >= 0) {
        styles[unused].attrs = attrs;
        *index = unused;
        return pf::noErr;
    }
    WEStyleEntry entry{0, attrs};
    if (pf::OSErr err = _WEInsertSlot(w.hStyles, &entry, w.styleCount, sizeof(WEStyleEntry))) return err;
    *index = w.styleCount++;
    return pf::noErr;
}

pf::OSErr _WEInsertRun(int32_t index, int32_t start, int32_t styleIndex, WEReference we) {
    WERunRecord record{start, styleIndex};
    if (pf::OSErr err = _WEInsertSlot(WEI(we).hRuns, &record, index, sizeof(WERunRecord))) return err;
    ++WEI(we).runCount;
    ++WEStyles(we)[styleIndex].refCount;
    return pf::noErr;
}

namespace {

void release_style(int32_t styleIndex, bool freeObject, WEReference we) {
    WEStyleEntry& entry = WEStyles(we)[styleIndex];
    if (--entry.refCount == 0 && freeObject && entry.attrs.runStyle.tsObject) {
        _WEFreeObject(entry.attrs.runStyle.tsObject);
        entry.attrs.runStyle.tsObject = nullptr;
    }
}

}  // namespace

void _WERemoveRun(int32_t index, WEReference we) {
    int32_t style = WERuns(we)[index].styleIndex;
    _WERemoveSlot(WEI(we).hRuns, index, sizeof(WERunRecord));
    --WEI(we).runCount;
    release_style(style, true, we);
}

void _WEChangeRun(int32_t index, int32_t newStyle, bool keepObject, WEReference we) {
    WERunRecord& run = WERuns(we)[index];
    int32_t old = run.styleIndex;
    if (old == newStyle) return;
    run.styleIndex = newStyle;
    ++WEStyles(we)[newStyle].refCount;
    bool same_object = WEStyles(we)[old].attrs.runStyle.tsObject == WEStyles(we)[newStyle].attrs.runStyle.tsObject;
    release_style(old, !keepObject && !same_object, we);
}

// Removes runs left without text and merges neighbours of one style between runs
// first and last (indexes before the removals).
void _WENormaliseRuns(int32_t first, int32_t last, WEReference we) {
    WEInstance& w = WEI(we);
    int32_t i = std::max(first, 1);
    last = std::min(last, w.runCount - 1);
    while (i <= last && i < w.runCount) {
        const WERunRecord* runs = WERuns(we);
        bool empty = runs[i].runStart >= runs[i + 1].runStart || runs[i].runStart >= w.textLength;
        bool merges = runs[i].styleIndex == runs[i - 1].styleIndex;
        if (empty || merges) {
            _WERemoveRun(i, we);
            --last;
            continue;
        }
        ++i;
    }
    // The first run may have been emptied while a later one begins at 0.
    while (w.runCount > 1 && WERuns(we)[1].runStart == 0) _WERemoveRun(0, we);
    WERuns(we)[0].runStart = 0;
    if (w.runCount > 1 && WERuns(we)[1].styleIndex == WERuns(we)[0].styleIndex) _WERemoveRun(1, we);
}

// ---- Copying styles ------------------------------------------------------------------------------

void _WEFillFontInfo(WERunAttributes& attrs) {
    WETextStyle& ts = attrs.runStyle;
    if (ts.tsSize == 0) ts.tsSize = pf::kDefaultFontSize;
    pf::FontInfo info = pf::font_info(pf::TextStyle{ts.tsFont, ts.tsSize, ts.tsFace});
    attrs.runAscent = info.ascent;
    attrs.runHeight = int16_t(info.ascent + info.descent + info.leading);
}

void _WECopyStyle(const WETextStyle& source, WETextStyle& dest, uint8_t continuousFace, uint16_t mode) {
    if (mode & weDoFont) dest.tsFont = source.tsFont;
    if (mode & weDoAddSize) {
        dest.tsSize = int16_t(std::clamp(int32_t(dest.tsSize) + source.tsSize, 1, 32767));
    } else if (mode & weDoSize) {
        dest.tsSize = source.tsSize <= 1 ? pf::kDefaultFontSize : source.tsSize;
    }
    if (mode & weDoFace) {
        uint8_t given = source.tsFace;
        if (given == 0 || (mode & weDoReplaceFace)) {
            dest.tsFace = given;
        } else if (mode & weDoToggleFace) {
            dest.tsFace = uint8_t((dest.tsFace & ~given) | ((continuousFace ^ given) & given));
        } else {
            dest.tsFace |= given;
        }
        if (given & pf::kCondense) dest.tsFace &= ~pf::kExtend;
        if (given & pf::kExtend) dest.tsFace &= ~pf::kCondense;
        if ((dest.tsFace & pf::kCondense) && (dest.tsFace & pf::kExtend)) dest.tsFace &= ~pf::kExtend;
    }
    if (mode & weDoColor) dest.tsColor = source.tsColor;
    if (mode & weDoObject) dest.tsObject = source.tsObject;
    dest.tsFlags = (mode & weDoInputHilite) ? source.tsFlags : 0;
}

namespace {

// Splits the run holding `offset` there, so that a run begins at it.
pf::OSErr split_run_at(int32_t offset, WEReference we) {
    int32_t run = _WEOffsetToRun(offset, we);
    if (WERuns(we)[run].runStart == offset) return pf::noErr;
    return _WEInsertRun(run + 1, offset, WERuns(we)[run].styleIndex, we);
}

}  // namespace

pf::OSErr _WESetStyleRange(int32_t start, int32_t end, uint16_t mode, const WETextStyle& style, WEReference we) {
    WEInstance& w = WEI(we);
    start = _WEPinInRange(start, 0, w.textLength);
    end = _WEPinInRange(end, 0, w.textLength);
    _WEReorder(&start, &end);
    // An empty range changes only the style of an empty text.
    if (start == end && w.textLength > 0) return pf::noErr;
    uint8_t continuous_face = 0;
    if (mode & weDoToggleFace) {
        uint16_t face_mode = weDoFace;
        WETextStyle common;
        _WEContinuousStyleRange(start, end, &face_mode, common, we);
        continuous_face = (face_mode & weDoFace) ? common.tsFace : 0;
    }
    if (pf::OSErr err = split_run_at(start, we)) return err;
    if (end < w.textLength)
        if (pf::OSErr err = split_run_at(end, we)) return err;
    int32_t first = _WEOffsetToRun(start, we);
    int32_t last = first;
    for (int32_t i = first; i < w.runCount && (WERuns(we)[i].runStart < end || i == first); ++i) {
        WERunAttributes attrs = WEStyles(we)[WERuns(we)[i].styleIndex].attrs;
        _WECopyStyle(style, attrs.runStyle, continuous_face, mode);
        if (mode & (weDoFont | weDoFace | weDoSize | weDoAddSize)) _WEFillFontInfo(attrs);
        int32_t index = 0;
        if (pf::OSErr err = _WENewStyle(attrs, &index, we)) return err;
        _WEChangeRun(i, index, false, we);
        last = i;
    }
    _WENormaliseRuns(first, last + 1, we);
    return pf::noErr;
}

void _WEContinuousStyleRange(int32_t start, int32_t end, uint16_t* mode, WETextStyle& style, WEReference we) {
    int32_t run = _WEOffsetToRun(start, we);
    const WERunRecord* runs = WERuns(we);
    const WEStyleEntry* styles = WEStyles(we);
    style = styles[runs[run].styleIndex].attrs.runStyle;
    uint8_t any_face = style.tsFace;
    for (++run; run < WEI(we).runCount && runs[run].runStart < end; ++run) {
        const WETextStyle& ts = styles[runs[run].styleIndex].attrs.runStyle;
        if (ts.tsFont != style.tsFont) *mode &= ~weDoFont;
        if (ts.tsSize != style.tsSize) *mode &= ~weDoSize;
        if (!(ts.tsColor == style.tsColor)) *mode &= ~weDoColor;
        style.tsFace &= ts.tsFace;
        any_face |= ts.tsFace;
    }
    // Plain is continuous only when every run is plain.
    if (style.tsFace == 0 && any_face != 0) *mode &= ~weDoFace;
}

bool WEContinuousStyle(uint16_t* mode, WETextStyle& style, WEReference we) {
    WEInstance& w = WEI(we);
    if (w.selStart == w.selEnd) {
        _WESynchNullStyle(we, false);
        _WECopyStyle(w.nullStyle.runStyle, style, 0, uint16_t(*mode | weDoReplaceFace));
        return true;
    }
    uint16_t asked = *mode;
    _WEContinuousStyleRange(w.selStart, w.selEnd, mode, style, we);
    return *mode == asked;
}

void _WESynchNullStyle(WEReference we, bool matchKeyboard) {
    WEInstance& w = WEI(we);
    if (!(w.flags & weFValidNullStyle)) {
        WERunInfo info;
        WEGetRunInfo(w.selStart - 1, info, we);
        w.nullStyle = info.runAttrs;
        w.nullStyle.runStyle.tsObject = nullptr;
        w.nullStyle.runStyle.tsFlags = 0;
        w.flags |= weFValidNullStyle;
    }
    if (matchKeyboard && (w.flags & weFNonRoman) &&
        pf::font_to_script(w.nullStyle.runStyle.tsFont) != pf::keyboard_script()) {
        for (int32_t run = _WEOffsetToRun(w.selStart - 1, we); run >= 0; --run) {
            const WETextStyle& ts = WEStyles(we)[WERuns(we)[run].styleIndex].attrs.runStyle;
            if (pf::font_to_script(ts.tsFont) == pf::keyboard_script()) {
                w.nullStyle.runStyle.tsFont = ts.tsFont;
                _WEFillFontInfo(w.nullStyle);
                return;
            }
        }
        w.nullStyle.runStyle.tsFont = pf::script_font(pf::keyboard_script());
        _WEFillFontInfo(w.nullStyle);
    }
}

pf::OSErr WEGetSelectedObject(WEObjectReference* object, WEReference we) {
    WEInstance& w = WEI(we);
    *object = nullptr;
    if (w.selEnd - w.selStart != 1) return weObjectNotFoundErr;
    WERunInfo info;
    WEGetRunInfo(w.selStart, info, we);
    if (!info.runAttrs.runStyle.tsObject) return weObjectNotFoundErr;
    *object = info.runAttrs.runStyle.tsObject;
    return pf::noErr;
}

// ---- Objects ---------------------------------------------------------------------------------
// No object kinds are registered: every object has handler index -1, is drawn as
// blank space of its width and takes no clicks.

pf::OSErr _WENewObject(pf::FourCC kind, pf::Handle data, WEReference we, WEObjectReference* out) {
    pf::Handle h = nullptr;
    *out = nullptr;
    if (pf::OSErr err = _WEAllocate(sizeof(WEObjectRecord), kAllocClear, &h)) return err;
    WEObjectReference object = reinterpret_cast<WEObjectReference>(h);
    (*object)->kind = kind;
    (*object)->data = data;
    (*object)->height = 32;
    (*object)->width = 32;
    (*object)->handlerIndex = -1;
    (*object)->owner = we;
    *out = object;
    return pf::noErr;
}

pf::OSErr _WEFreeObject(WEObjectReference object) {
    if (!object) return pf::kNilHandleErr;
    if ((*object)->data) pf::dispose_handle((*object)->data);
    pf::dispose_handle(reinterpret_cast<pf::Handle>(object));
    return pf::noErr;
}

int16_t _WEObjectWidth(WEObjectReference object) { return object ? (*object)->width : 0; }
