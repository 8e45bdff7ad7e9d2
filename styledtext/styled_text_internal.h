// What the files of the styled-text engine share: table access, run and line
// edits, layout, drawing and undo primitives.
#pragma once

#include "styledtext/styled_text.h"

#include <cstring>

// ---- Embedded objects -------------------------------------------------------------
using WENewObjectProc = pf::OSErr (*)(pf::Point* size, WEObjectReference object);
using WEDisposeObjectProc = pf::OSErr (*)(WEObjectReference object);
using WEDrawObjectProc = pf::OSErr (*)(const pf::Rect& dest, WEObjectReference object);
using WEClickObjectProc = bool (*)(pf::Point hit, uint16_t modifiers, uint32_t when, WEObjectReference object);
using WESelectObjectProc = bool (*)(pf::RgnHandle hilite, WEObjectReference object);

struct WEObjectRecord {
    pf::FourCC kind;
    pf::Handle data;
    int16_t height, width;
    int16_t handlerIndex;  // -1: no handler registered for the kind
    WEReference owner;
    uint32_t refCon;
};

// ---- Undo actions ------------------------------------------------------------------
struct WEActionRecord {
    WEReference instance;
    pf::Handle next;
    pf::Handle text, styles, soup;
    int32_t start;
    int32_t currentLength;
    int32_t savedLength;
    int32_t selStart, selEnd;
    int16_t kind;
    int16_t flags;
};
using WEActionReference = WEActionRecord**;
enum : int16_t { weAFIsRedo = 0x1, weAFDontSaveText = 0x2, weAFDontSaveStyles = 0x4, weAFDontSaveSoup = 0x8 };

// ---- "styl" layout -----------------------------------------------------------------
constexpr int32_t kScrapHeaderSize = 2;
constexpr int32_t kScrapEntrySize = 20;
constexpr int32_t kSoupHeaderSize = 46;
constexpr pf::FourCC kTypeStyles = pf::four_cc("styl");
constexpr pf::FourCC kTypeSoup = pf::four_cc("QRVN");

// ---- Table access ------------------------------------------------------------------
inline WEInstance& WEI(WEReference we) { return **we; }
inline char* WEText(WEReference we) { return *WEI(we).hText; }
inline WERunRecord* WERuns(WEReference we) { return reinterpret_cast<WERunRecord*>(*WEI(we).hRuns); }
inline WEStyleEntry* WEStyles(WEReference we) { return reinterpret_cast<WEStyleEntry*>(*WEI(we).hStyles); }
inline WELineRecord* WELines(WEReference we, int16_t view) {
    return reinterpret_cast<WELineRecord*>(*WEI(we).hLines[view]);
}
inline bool WEHasView(WEReference we, int16_t view) { return view >= 0 && view < 2 && WEI(we).port[view]; }

// ---- Helpers ---------------------------------------------------------------------------
pf::OSErr _WEInsertSlot(pf::Handle h, const void* element, int32_t index, int32_t size);
pf::OSErr _WERemoveSlot(pf::Handle h, int32_t index, int32_t size);
pf::OSErr _WEAllocate(pf::Size size, int16_t mode, pf::Handle* out);
void _WEForgetHandle(pf::Handle* h);
bool _WESetHandleLock(pf::Handle h, bool lock);
void _WEReorder(int32_t* a, int32_t* b);
int32_t _WEPinInRange(int32_t value, int32_t low, int32_t high);
enum : int16_t { kAllocClear = 1, kAllocTempFirst = 2 };

// ---- Styles and runs -------------------------------------------------------------------
int32_t _WEOffsetToRun(int32_t offset, WEReference we);
void _WEGetIndStyle(int32_t runIndex, WERunInfo& info, WEReference we);
pf::OSErr _WENewStyle(const WERunAttributes& attrs, int32_t* index, WEReference we);
pf::OSErr _WEInsertRun(int32_t index, int32_t start, int32_t styleIndex, WEReference we);
void _WERemoveRun(int32_t index, WEReference we);
void _WEChangeRun(int32_t index, int32_t newStyle, bool keepObject, WEReference we);
void _WEFillFontInfo(WERunAttributes& attrs);
void _WECopyStyle(const WETextStyle& source, WETextStyle& dest, uint8_t continuousFace, uint16_t mode);
pf::OSErr _WESetStyleRange(int32_t start, int32_t end, uint16_t mode, const WETextStyle& style, WEReference we);
void _WEContinuousStyleRange(int32_t start, int32_t end, uint16_t* mode, WETextStyle& style, WEReference we);
void _WESynchNullStyle(WEReference we, bool matchKeyboard);
void _WENormaliseRuns(int32_t first, int32_t last, WEReference we);
pf::OSErr _WENewObject(pf::FourCC kind, pf::Handle data, WEReference we, WEObjectReference* out);
pf::OSErr _WEFreeObject(WEObjectReference object);
int16_t _WEObjectWidth(WEObjectReference object);

// ---- Layout ------------------------------------------------------------------------------
struct WESegment {
    const WELineRecord* line;
    int32_t lineIndex;
    const WERunInfo* run;
    const char* text;  // the segment's first byte
    int32_t start, length;
    int16_t position;  // kOnlyStyleRun .. kMiddleStyleRun
    bool firstInLine() const { return position == pf::kOnlyStyleRun || position == pf::kLeftStyleRun; }
    bool lastInLine() const { return position == pf::kOnlyStyleRun || position == pf::kRightStyleRun; }
};
using WESegmentProc = bool (*)(const WESegment& segment, void* context, WEReference we, int16_t view);
void _WESegmentLoop(int32_t firstLine, int32_t lastLine, WESegmentProc proc, void* context, WEReference we,
                    int16_t view);
int32_t _WEPixelToLine(int32_t pixel, WEReference we, int16_t view);
int16_t _WECalcPenIndent(int16_t slop, int8_t alignment);
pf::OSErr _WERecalBreaks(int32_t* startLine, int32_t* endLine, WEReference we, int16_t view);
void _WERecalSlops(int32_t firstLine, int32_t lastLine, WEReference we, int16_t view);
void _WESetPortStyle(const WETextStyle& style);
void _WEBumpLineStartAll(int32_t offset, int32_t delta, WEReference we);
void _WERemoveLineRangeAll(int32_t start, int32_t end, WEReference we);
int32_t _WETotalHeight(WEReference we, int16_t view);
pf::Fixed _WEJustSlop(const WESegment& segment, WEReference we);

// Saves the current port and its drawing state, switches to the view's port with a
// normal pen and srcOr text; restores everything when it goes.
struct WEQDEnvironment {
    WEQDEnvironment(WEReference we, int16_t view);
    ~WEQDEnvironment();
    WEQDEnvironment(const WEQDEnvironment&) = delete;
    WEQDEnvironment& operator=(const WEQDEnvironment&) = delete;
    pf::Port* savedPort;
    pf::Port* port;
    pf::DrawingState state;
};

// ---- Drawing ------------------------------------------------------------------------------
pf::OSErr _WERedraw(int32_t start, int32_t end, WEReference we, int16_t view);
pf::OSErr _WERedrawAll(int32_t start, int32_t end, WEReference we);
void _WEDrawLines(int32_t firstLine, int32_t lastLine, bool erase, WEReference we, int16_t view);
void _WEDrawTSMHilite(const pf::Rect& rect, uint8_t hiliteByte);
void _WEDrawCaret(int32_t offset, WEReference we, int16_t view);
void _WEBlinkCaret(WEReference we);
void _WEHideCaret(WEReference we);
void _WEShowCaret(WEReference we);
void _WEHiliteRange(int32_t start, int32_t end, WEReference we, int16_t view);
void _WEHiliteRangeAll(int32_t start, int32_t end, WEReference we);
bool _WEScrollIntoView(int32_t offset, WEReference we);

// ---- Selection -------------------------------------------------------------------------------
int32_t _WEArrowOffset(int16_t code, int32_t offset, WEReference we);
void _WEDoArrowKey(unsigned char key, uint16_t modifiers, WEReference we);
bool _WEOffsetInRange(int32_t offset, int8_t edge, int32_t start, int32_t end);

// ---- Editing and undo ------------------------------------------------------------------------
pf::OSErr _WEInsertText(int32_t offset, const void* bytes, int32_t length, WEReference we);
pf::OSErr _WEDeleteRange(int32_t start, int32_t end, WEReference we);
pf::OSErr _WETypeChar(unsigned char key, WEReference we);
pf::OSErr _WEBackspace(WEReference we);
pf::OSErr _WEForwardDelete(WEReference we);
bool _WEIsPunct(int32_t offset, WEReference we);
pf::OSErr _WEBeginTyping(WEReference we);
pf::OSErr WENewAction(int32_t start, int32_t end, int32_t currentLength, int16_t kind, int16_t flags,
                      WEReference we, WEActionReference* out);
void WEPushAction(WEActionReference action);
pf::OSErr WEDoAction(WEActionReference action);
void WEDisposeAction(WEActionReference action);
void WEForgetAction(WEActionReference* action);
inline WEActionReference WEPendingAction(WEReference we) {
    return reinterpret_cast<WEActionReference>(WEI(we).undoAction);
}

// ---- Flavours ---------------------------------------------------------------------------------
pf::OSErr _WEApplyStyleScrap(int32_t start, int32_t end, pf::Handle styleScrap, WEReference we);
pf::OSErr _WEApplySoup(int32_t start, pf::Handle soup, WEReference we);
pf::OSErr _WECheckStyleScrap(pf::Handle styleScrap);
pf::OSErr _WEPrependStyle(pf::Handle styleScrap, const WERunInfo& run, int32_t shift);
pf::OSErr _WEAppendStyle(pf::Handle styleScrap, const WERunInfo& run, int32_t offset);
pf::OSErr _WEPrependObject(pf::Handle soup, const WERunInfo& run, int32_t shift);
pf::OSErr _WEAppendObject(pf::Handle soup, const WERunInfo& run, int32_t offset);

// ---- Inline input -------------------------------------------------------------------------------
pf::OSErr _WERegisterWithTSM(WEReference we);
void _WEUnregisterWithTSM(WEReference we);
void _WEActivateTSM(WEReference we, bool active);
