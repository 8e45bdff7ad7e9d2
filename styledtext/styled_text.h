// The styled-text engine: one block of text with runs of fonts, faces, sizes and
// colours, laid out in whole pixels in one or two views, drawn, selected with the
// mouse and keys, edited with undo and redo, exchanged with the clipboard and fed
// by inline input. Every text editor of the program is a WEInstance.
//
// All records live in platform handles. The instance comes after the other
// arguments of an operation; a view number (0 or 1) comes last when an operation
// concerns one view. Results are platform error codes.
#pragma once

#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "platform/memory/memory.h"
#include "platform/types.h"

#include <cstdint>

// ---- Errors --------------------------------------------------------------------
constexpr pf::OSErr weNoScrapErr = -102;        // the clipboard holds no "TEXT"
constexpr pf::OSErr weNotTSMErr = -1800;        // an offset outside the input area
constexpr pf::OSErr weOutsideViewErr = -1801;   // a point outside the view
constexpr pf::OSErr weTSMDocExistsErr = -2504;  // counts as success
constexpr pf::OSErr weObjectNotFoundErr = -9477;
constexpr pf::OSErr weCantUndoErr = -9479;

// ---- Records -------------------------------------------------------------------
struct LongRect {
    int32_t top = 0, left = 0, bottom = 0, right = 0;
    friend bool operator==(const LongRect&, const LongRect&) = default;
};
struct LongPoint {
    int32_t v = 0, h = 0;
    friend bool operator==(const LongPoint&, const LongPoint&) = default;
};

struct WEObjectRecord;
using WEObjectReference = WEObjectRecord**;

struct WETextStyle {
    int16_t tsFont = 0;
    uint8_t tsFace = 0;
    uint8_t tsFlags = 0;  // input-highlight byte of inline input
    int16_t tsSize = 0;
    pf::RGBColor tsColor{};
    WEObjectReference tsObject = nullptr;
    friend bool operator==(const WETextStyle&, const WETextStyle&) = default;
};

struct WERunAttributes {
    int16_t runHeight = 0;  // ascent + descent + leading
    int16_t runAscent = 0;
    WETextStyle runStyle;
    friend bool operator==(const WERunAttributes&, const WERunAttributes&) = default;
};

struct WERunInfo {
    int32_t runStart = 0;
    int32_t runEnd = 0;
    WERunAttributes runAttrs;
};

struct WELineRecord {
    int32_t lineStart = 0;
    int32_t lineOrigin = 0;
    int16_t lineAscent = 0;
    int16_t lineSlop = 0;
    pf::Fixed lineJustAmount = 0;
};

struct WERunRecord {
    int32_t runStart = 0;
    int32_t styleIndex = 0;
};

struct WEStyleEntry {
    int32_t refCount = 0;
    WERunAttributes attrs;
};

struct WEInstance;
using WEReference = WEInstance**;

using WEClickLoopProc = bool (*)(WEReference we);
using WEScrollProc = void (*)(WEReference we);
using WEPreUpdateProc = void (*)(WEReference we);
using WEPostUpdateProc = void (*)(WEReference we, int32_t fixLength, int32_t inputAreaStart,
                                  int32_t inputAreaEnd, int32_t pinStart, int32_t pinEnd);

struct WEInstance {
    pf::Port* port[2];
    pf::Handle hText;
    pf::Handle hLines[2];
    pf::Handle hStyles;
    pf::Handle hRuns;
    int32_t textLength;
    int32_t lineCount[2];
    int32_t styleCount;
    int32_t runCount;
    LongRect viewRect[2];
    LongRect destRect[2];
    int32_t selStart, selEnd;
    uint32_t flags;
    uint32_t caretTime;
    uint32_t lastClickTime;
    int32_t lastClickOffset;
    int32_t anchorStart, anchorEnd;
    WEClickLoopProc clickLoop;
    int8_t lastClickEdge;
    uint8_t pendingByte;
    pf::GWorldPtr offscreen;
    pf::RgnHandle viewRgn[2];
    WEScrollProc scrollProc;
    int16_t clickCount;
    int8_t alignment;
    uint32_t refCon;
    uintptr_t tsmDocument;
    int32_t inputAreaStart, inputAreaEnd;
    WEPreUpdateProc preUpdateProc;
    WEPostUpdateProc postUpdateProc;
    pf::Handle undoAction;
    int32_t modCount;
    WERunAttributes nullStyle;
};

// Flags of WEInstance. Bits 0-15 are the caller's features, 16-31 the engine's.
enum : uint32_t {
    weFAutoScroll = 0x1,
    weFOutlineHilite = 0x4,
    weFUndo = 0x40,
    weFIntCutAndPaste = 0x80,
    weFInhibitRecal = 0x200,
    weFUseTempMem = 0x400,
    weFDrawOffscreen = 0x800,
    weFActive = 0x100000,
    weFValidNullStyle = 0x200000,
    weFAnchorIsEnd = 0x400000,  // the active end of the selection is selStart
    weFMouseTracking = 0x800000,
    weFCaretVisible = 0x1000000,
    weFOutputMode = 0x8000000,
    weFDoubleByte = 0x10000000,
    weFNonRoman = 0x20000000,
    weFHasTSM = 0x40000000,
    weFHasColorQD = 0x80000000,
};
// Bit numbers for WEFeatureFlag.
enum : int16_t {
    weFeatureAutoScroll = 0, weFeatureOutlineHilite = 2, weFeatureUndo = 6,
    weFeatureIntCutAndPaste = 7, weFeatureInhibitRecal = 9, weFeatureUseTempMem = 10,
    weFeatureDrawOffscreen = 11,
};
enum : int16_t { weBitClear = 0, weBitSet = 1, weBitTest = 2 };

// Style modes of WESetStyle, WEContinuousStyle and the internal calls.
enum : uint16_t {
    weDoFont = 0x1,
    weDoFace = 0x2,
    weDoSize = 0x4,
    weDoColor = 0x8,
    weDoAddSize = 0x10,
    weDoToggleFace = 0x20,
    weDoReplaceFace = 0x40,
    weDoAll = 0x4F,
    // With weDoFont over a selection: the font goes to the words its script
    // spells, spelled in that script; the others keep their run's font, so
    // every letter stays.
    weDoKeepLetters = 0x100,
    weDoObject = 0x4000,
    weDoInputHilite = 0x8000,
};

// Alignments.
enum : int8_t { weFlushLeft = -2, weFlushRight = -1, weFlushDefault = 0, weCenter = 1, weJustify = 2 };

// Edges of an offset under a point.
enum : int8_t { weLeadingEdge = -1, weTrailingEdge = 0, weObjectEdge = 2 };

// Undo kinds.
enum : int16_t {
    weAKNone = 0, weAKInsert = 1, weAKTyping = 2, weAKCut = 3, weAKPaste = 4, weAKClear = 5, weAKStyle = 7,
};

// Input-highlight bits of a run (inline input).
enum : uint8_t { weTSMInputText = 0x10, weTSMSelected = 0x20, weTSMConverted = 0x40 };

// Arrow key codes for _WEArrowOffset.
enum : int16_t {
    weLeft = 0, weRight, weUp, weDown, weWordLeft, weWordRight, weTextStart, weTextEnd,
    weLineStart, weLineEnd,
};

// ---- Construction and views ---------------------------------------------------------
pf::OSErr WENew(const LongRect& destRect, const LongRect& viewRect, int16_t featureFlags, bool useTSM,
                WEReference* out);
void WEDispose(WEReference we);
pf::OSErr WENewView(const LongRect& destRect, const LongRect& viewRect, pf::Port* port, WEReference we);
void WEDisposeView(WEReference we);
pf::OSErr WECalText(WEReference we);

// ---- Fields ---------------------------------------------------------------------------
pf::OSErr WEGetInfo(pf::FourCC selector, void* value, WEReference we);
pf::OSErr WESetInfo(pf::FourCC selector, const void* value, WEReference we);
int16_t WEFeatureFlag(int16_t bit, int16_t action, WEReference we);
int32_t WEGetTextLength(WEReference we);
uint8_t WEGetChar(int32_t offset, WEReference we);
int32_t WECountLines(WEReference we, int16_t view = 0);
void WEGetSelection(int32_t* start, int32_t* end, WEReference we);
int8_t WEGetAlignment(WEReference we);
void WESetAlignment(int8_t alignment, WEReference we);
void WEGetDestRect(LongRect& rect, WEReference we, int16_t view = 0);
void WESetDestRect(const LongRect& rect, WEReference we, int16_t view = 0);
void WEGetViewRect(LongRect& rect, WEReference we, int16_t view = 0);
void WESetViewRect(const LongRect& rect, WEReference we, int16_t view = 0);
pf::OSErr WEUseText(pf::Handle text, WEReference we);

// ---- Styles -----------------------------------------------------------------------------
void WEGetRunInfo(int32_t offset, WERunInfo& info, WEReference we);
bool WEContinuousStyle(uint16_t* mode, WETextStyle& style, WEReference we);
pf::OSErr WEGetSelectedObject(WEObjectReference* object, WEReference we);

// ---- Long geometry ------------------------------------------------------------------------
void WESetLongRect(LongRect& rect, int32_t left, int32_t top, int32_t right, int32_t bottom);
void WEOffsetLongRect(LongRect& rect, int32_t dh, int32_t dv);
bool WELongPointInLongRect(const LongPoint& point, const LongRect& rect);
pf::Point WELongPointToPoint(const LongPoint& point);
pf::Rect WELongRectToRect(const LongRect& rect);
LongPoint WEPointToLongPoint(pf::Point point);
LongRect WERectToLongRect(const pf::Rect& rect);

// ---- Layout -------------------------------------------------------------------------------
int32_t WEOffsetToLine(int32_t offset, WEReference we, int16_t view = 0);
int32_t WEGetHeight(int32_t startLine, int32_t endLine, WEReference we, int16_t view = 0);
void WEFindLine(int32_t offset, int8_t edge, int32_t* start, int32_t* end, WEReference we, int16_t view = 0);
void WEGetPoint(int32_t offset, LongPoint& point, int16_t* lineHeight, WEReference we, int16_t view = 0);
int32_t WEGetOffset(const LongPoint& point, int8_t* edge, WEReference we, int16_t view = 0);

// ---- Drawing and scrolling ------------------------------------------------------------------
void WEUpdate(pf::RgnHandle region, WEReference we, int16_t view = 0);
void WEActivate(WEReference we);
void WEDeactivate(WEReference we);
bool WEIsActive(WEReference we);
void WEIdle(uint32_t* maxSleep, WEReference we);
void WEScroll(int32_t dh, int32_t dv, WEReference we);
bool WESelView(WEReference we);
pf::RgnHandle WEGetHiliteRgn(int32_t start, int32_t end, WEReference we, int16_t view = 0);

// ---- Selection, mouse and keys ------------------------------------------------------------------
void WEClick(pf::Point point, uint16_t modifiers, uint32_t when, WEReference we, bool matchKeyScript = false,
             int16_t view = 0);
void WEKey(unsigned char key, uint16_t modifiers, WEReference we, bool matchKeyScript = false);
void WESetSelection(int32_t start, int32_t end, WEReference we);
void WEFindWord(int32_t offset, int8_t edge, int32_t* start, int32_t* end, WEReference we, int16_t view = 0);
int16_t WECharByte(int32_t offset, WEReference we);
int16_t WECharType(int32_t offset, WEReference we);
void WE_MatchKeyScript(WEReference we);

// ---- Editing and undo -----------------------------------------------------------------------------
pf::OSErr WEInsert(const void* text, int32_t length, pf::Handle styleScrap, pf::Handle soup, WEReference we);
pf::OSErr WEDelete(WEReference we);
pf::OSErr WESetStyle(uint16_t mode, const WETextStyle& style, WEReference we);
pf::OSErr WEUseStyleScrap(pf::Handle styleScrap, WEReference we);
pf::OSErr WEUndo(WEReference we);
void WEClearUndo(WEReference we);
int16_t WEGetUndoInfo(bool* isRedo, WEReference we);
bool WEIsTyping(WEReference we);
int32_t WEGetModCount(WEReference we);
void WEResetModCount(WEReference we);

// ---- Clipboard flavours -------------------------------------------------------------------------------
pf::OSErr WECopyRange(int32_t start, int32_t end, pf::Handle text, pf::Handle styles, pf::Handle soup,
                      WEReference we);
pf::OSErr WECopy(WEReference we);
pf::OSErr WECut(WEReference we);
pf::OSErr WEPaste(WEReference we);
// Inserts text with its style scrap (or none) at the selection, undone as a paste.
pf::OSErr WEPasteText(const void* text, int32_t length, pf::Handle styles, WEReference we);

// A "styl" block as documents store it (big-endian) from the clipboard's host-order
// block and back. -50 when the block is damaged (its count disagrees with its size).
pf::OSErr WEStyleScrapToBigEndian(pf::Handle styleScrap);
pf::OSErr WEStyleScrapFromBigEndian(pf::Handle styleScrap);

// ---- Inline input ----------------------------------------------------------------------------------------
pf::OSErr WEInstallTSMHandlers();
void WEStopInlineSession(WEReference we);
