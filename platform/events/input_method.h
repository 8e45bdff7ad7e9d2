// Text services: documents that take inline input from the host's input method.
//
// While the host composes text (an input method turns keystrokes into characters
// before they are confirmed), each change of the composition is sent to the
// program itself as a "tsvc"/"updt" Apple event for the active document: the
// reference value of the document ("refc"), the whole composed text ("kdat", Mac
// Roman), how many leading bytes are confirmed ("fixl") and, while something is
// still unconfirmed, the highlight ranges ("hrng": an i16 count of i32 start, i32
// end, i16 kind, offsets into the unconfirmed text; kind 1 is the caret, 2 raw
// text, 3 selected raw text). Text the host commits while composing confirms the
// composition instead of arriving as keys.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pf {

constexpr FourCC kTextServiceClass = four_cc("tsvc");
constexpr FourCC kUpdateActiveInputArea = four_cc("updt");
constexpr FourCC kPos2Offset = four_cc("p2st");
constexpr FourCC kOffset2Pos = four_cc("st2p");
constexpr FourCC kKeyRefCon = four_cc("refc");
constexpr FourCC kKeyText = four_cc("kdat");
constexpr FourCC kKeyFixLength = four_cc("fixl");
constexpr FourCC kKeyPinRange = four_cc("pnrg");
constexpr FourCC kKeyHiliteRange = four_cc("hrng");
constexpr FourCC kKeyCurrentPoint = four_cc("cpos");
constexpr FourCC kKeyOffset = four_cc("ofst");
constexpr FourCC kKeyLeftSide = four_cc("klef");
constexpr FourCC kKeyRegionClass = four_cc("rgnc");
constexpr FourCC kKeyGlobalPosition = four_cc("gpos");
constexpr FourCC kKeyTextFont = four_cc("ptxf");
constexpr FourCC kKeyTextPointSize = four_cc("ptps");
constexpr FourCC kKeyTextAscent = four_cc("ktas");
constexpr FourCC kKeyTextLineHeight = four_cc("ktlh");
constexpr FourCC kTypeTextRange = four_cc("txrn");
constexpr FourCC kTypeTextRangeArray = four_cc("tray");
constexpr FourCC kTypeQDPoint = four_cc("QDpt");

// Highlight kinds of a text range.
enum : int16_t { kCaretPosition = 1, kRawText = 2, kSelectedRawText = 3, kConvertedText = 4, kSelectedConvertedText = 5 };

using TSMDocumentID = uint32_t;  // 0: none

// Documents: made with the interface type "tsvc" and a reference value that goes
// with every event; one of them is active at a time.
OSErr new_tsm_document(FourCC interface_type, int32_t refcon, TSMDocumentID& out);
OSErr delete_tsm_document(TSMDocumentID document);
OSErr activate_tsm_document(TSMDocumentID document);
OSErr deactivate_tsm_document(TSMDocumentID document);
TSMDocumentID active_tsm_document();
// Confirms what the document has composed: an update that confirms the whole
// composition is handled at once, and the host's input method is reset.
OSErr fix_tsm_document(TSMDocumentID document);

// ---- Host side ----------------------------------------------------------------------------
// The composition changed: its whole text (empty when it was abandoned), the caret
// and the length of its selected part, in characters from its start.
void input_composition(std::string_view mac_roman, int32_t caret, int32_t selected_length);
// Text the host committed: true when it confirmed a composition (the caller then
// types nothing), false when it is to be typed as keys.
bool input_commit(std::string_view mac_roman);
bool composing();

// Text from the host's input (UTF-8) in the script that spells it
// (platform/text/scripts.h): the keyboard switches to that script (ASCII
// leaves it as it is), so that the text is set in one of its fonts. Answers
// the bytes.
std::string keyboard_text_from_utf8(std::string_view utf8);
// The composition as the host gives it: UTF-8, with the caret and the length
// of the selected part in characters, turned into the script's bytes.
void input_composition_utf8(std::string_view utf8, int32_t caret, int32_t selected_length);
// Called when a document confirms its composition, so the host can reset its
// input method.
void set_composition_reset_hook(void (*hook)());
// Called when the host begins a composition while no document is active, so
// that the program can make one active to show it inline.
void set_composition_start_hook(void (*hook)());
// Where the text being composed lies on the screen (global), so that the host can
// put its input method's candidate list beside it.
void set_composition_area(const Rect& global);
void set_composition_area_hook(void (*hook)(const Rect& global));
// Forgets documents and composition (tests).
void text_services_reset();

}  // namespace pf
