// The look of the toolbox: the colours and the small drawing pieces that menus,
// controls, dialogs, lists and the navigation dialogs share, built on the theme
// drawing of platform/draw (faces, frames, focus rings), so that all of them are
// drawn in one style: flat light-grey faces with a one-pixel bevel, a blue accent
// for selection and keyboard focus. Everything draws into the current port.
#pragma once

#include "platform/draw/draw.h"
#include "platform/draw/rects.h"

#include <string>
#include <string_view>

namespace pf {

// The colours of the look; the theme drawing of platform/draw takes them too.
constexpr RGBColor kLookFace{0xE8E8, 0xE8E8, 0xE8E8};        // button faces, headers
constexpr RGBColor kLookFacePressed{0xC4C4, 0xC4C4, 0xC4C4};
constexpr RGBColor kLookLight{0xFFFF, 0xFFFF, 0xFFFF};       // fields, lists, the menu bar
constexpr RGBColor kLookMenu{0xEEEE, 0xEEEE, 0xEEEE};        // menus, as the theme's menu background
constexpr RGBColor kLookShadow{0xA8A8, 0xA8A8, 0xA8A8};      // separators, scroll tracks
constexpr RGBColor kLookFrame{0x7A7A, 0x7A7A, 0x7A7A};       // outlines
constexpr RGBColor kLookText{0, 0, 0};
constexpr RGBColor kLookDimText{0xAAAA, 0xAAAA, 0xAAAA};
constexpr RGBColor kLookAccent{0x3B3B, 0x7E7E, 0xE0E0};      // selection, default ring, focus
constexpr RGBColor kLookAccentText{0xFFFF, 0xFFFF, 0xFFFF};
constexpr RGBColor kLookDialogBack{0xEEEE, 0xEEEE, 0xEEEE};  // dialog and alert backgrounds

// Saves the current port's colours, pen and text state and puts them back.
struct LookScope {
    LookScope();
    ~LookScope();
    LookScope(const LookScope&) = delete;
    LookScope& operator=(const LookScope&) = delete;
    Port* port;
    DrawingState saved;
};

void fill_rect_color(const Rect& r, const RGBColor& colour);
void frame_rect_color(const Rect& r, const RGBColor& colour);
// The theme state of an active, pressed or dimmed piece.
int16_t look_state(bool pressed, bool dimmed);
// A raised face: fill, outline, light top-left and shadowed bottom-right inner edges;
// pressed swaps the edges and darkens the face; dimmed faces are flat and grey.
void draw_bevel(const Rect& r, bool pressed, bool dimmed);
// A white well with the theme's edit-text frame on `r`'s edge.
void draw_sunken_frame(const Rect& r, bool dimmed);
// The keyboard-focus ring: two pixels of the accent colour one pixel outside `r`.
void draw_focus_ring(const Rect& r, bool focused);

enum class TriangleDirection { kUp, kDown, kLeft, kRight };
// A filled triangle centred in `box`, `size` pixels from base to point.
void draw_triangle(const Rect& box, TriangleDirection direction, int size, const RGBColor& colour);
// A check mark and a diamond drawn as shapes, centred in `box`.
void draw_check_glyph(const Rect& box, const RGBColor& colour);
void draw_diamond_glyph(const Rect& box, const RGBColor& colour);

enum class TextAlign { kLeft, kCenter, kRight };
// One line of text vertically centred in `box`, cut with an ellipsis to fit.
void draw_text_in_box(const Rect& box, std::string_view text, TextAlign align, const RGBColor& colour);
// The same for a text in UTF-8, drawn in the fonts of its scripts
// (platform/draw/unicode_text.h) and cut between letters.
void draw_unicode_text_in_box(const Rect& box, std::string_view utf8, TextAlign align, const RGBColor& colour);
// Text broken at spaces into the lines that fit `box`'s width, from its top;
// Return characters break lines. Lines below the box are not drawn. With
// `unicode` the text is UTF-8, drawn in the fonts of its scripts
// (platform/draw/unicode_text.h).
void draw_wrapped_text(const Rect& box, std::string_view text, TextAlign align, const RGBColor& colour,
                       bool unicode = false);
// The 16 x 16 icon of ics8 id (colour) or ics# id (through its mask) at the box's
// top-left; nothing when the bundle has neither.
void draw_small_icon(int16_t id, const Rect& box);
// The height of a line in the current port's font.
int16_t line_height();

Rect inset_rect(const Rect& r, int dh, int dv);
Rect offset_rect(const Rect& r, int dh, int dv);

// The toolbox's own texts: STR# kToolboxStringsId of the bundle (resources/toolbox.txt).
// toolbox_string answers `fallback` when the bundle has no such item.
constexpr int16_t kToolboxStringsId = 32100;
enum : int {
    kHelpMenuTitleIndex = 1,
    kOKTitleIndex,
    kCancelTitleIndex,
    kOpenTitleIndex,
    kSaveTitleIndex,
    kDontSaveTitleIndex,
    kChooseTitleIndex,
    kReplaceTitleIndex,
    kSaveAsPromptIndex,
    kWhereIndex,
    kEnclosingFolderIndex,
    kOpenDialogTitleIndex,
    kSaveDialogTitleIndex,
    kChooseFolderTitleIndex,
    kReplaceQuestionIndex,
    kAskSaveQuestionIndex,
    kAskSaveQuitQuestionIndex,
    kAskSaveExplanationIndex,
    kEmptyNameIndex,
    kFolderKindIndex,
    kNoSuchFolderIndex,
    kNoSuchFolderHintIndex,
    kReservedNameIndex,
    kReservedNameHintIndex,
    kGoToPromptIndex,
    kShowAllFilesIndex,
    kNoSuchItemIndex,
    kNoSuchItemHintIndex,
    kLongNameIndex,
    kLongNameHintIndex,
};
std::string toolbox_string(int index, std::string_view fallback);

}  // namespace pf
