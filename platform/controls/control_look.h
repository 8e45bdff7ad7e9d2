// The look of the toolbox: the colours and the small drawing pieces that menus,
// controls, dialogs, lists and the navigation dialogs share, so that all of them
// are drawn in one style (flat light-grey faces with a one-pixel bevel, a blue
// accent for selection and keyboard focus). Everything draws into the current port.
#pragma once

#include "platform/draw/draw.h"

#include <string>
#include <string_view>

namespace pf {

constexpr RGBColor kLookFace{0xE4E4, 0xE4E4, 0xE4E4};       // button faces, bars
constexpr RGBColor kLookFacePressed{0xB8B8, 0xB8B8, 0xB8B8};
constexpr RGBColor kLookLight{0xFFFF, 0xFFFF, 0xFFFF};       // bevel light edge
constexpr RGBColor kLookShadow{0x9999, 0x9999, 0x9999};      // bevel dark edge, separators
constexpr RGBColor kLookFrame{0x5555, 0x5555, 0x5555};       // outlines
constexpr RGBColor kLookText{0, 0, 0};
constexpr RGBColor kLookDimText{0x9999, 0x9999, 0x9999};
constexpr RGBColor kLookAccent{0x2E2E, 0x6161, 0xC2C2};      // selection, default ring, focus
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
// A raised face: fill, outline, light top-left and shadowed bottom-right inner
// edges; pressed swaps the edges and darkens the face. Dimmed faces are flat.
void draw_bevel(const Rect& r, bool pressed, bool dimmed);
// A sunken well for text fields and lists: shadow at top-left, light at bottom-right,
// white inside, one pixel outside `r`'s frame.
void draw_sunken_frame(const Rect& r);
// The keyboard-focus ring: two pixels of the accent colour just outside `r`.
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
// Text broken at spaces into the lines that fit `box`'s width, from its top;
// Return characters break lines. Lines below the box are not drawn.
void draw_wrapped_text(const Rect& box, std::string_view text, TextAlign align, const RGBColor& colour);
// The height of a line in the current port's font.
int16_t line_height();

Rect inset_rect(const Rect& r, int dh, int dv);
Rect offset_rect(const Rect& r, int dh, int dv);
bool point_in_rect(Point p, const Rect& r);
bool rects_meet(const Rect& a, const Rect& b);

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
};
std::string toolbox_string(int index, std::string_view fallback);

}  // namespace pf
