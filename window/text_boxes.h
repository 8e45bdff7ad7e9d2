// Text boxes in their least form, as cells and objects draw them: text broken
// into lines that fit a rectangle, text stacked one character a line, and the
// placing of a text view over a pane.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/memory_manager.h"
#include "platform/types.h"
#include "styledtext/styled_text.h"

// Justifications of NeoTextBox.
constexpr int16_t kBoxRight = -1;
constexpr int16_t kBoxLeft = 0;
constexpr int16_t kBoxCentre = 1;
constexpr int16_t kBoxJustified = 128;

// A line of a broken text: where it starts, its length (a blank it broke at
// kept), and whether a return or the text's end ends it.
struct TextLine {
    int32_t start;
    int32_t length;
    bool ends_paragraph;
};
// Breaks `text` (Mac Roman, a return, a line feed or both ending a line) at blanks into lines no wider
// than `width` as `char_width` measures each character; a word wider than the
// line is broken where it stops fitting.
std::vector<TextLine> break_text_lines(const unsigned char* text, int32_t length, int16_t width,
                                       const std::function<int(unsigned char)>& char_width);

// Breaks `text` as above in the port's font, into lines no wider than the
// box. Answers the number of lines and gives the line height and the text's
// height; with `draw` set, draws the lines from the box's top, each placed by
// the justification.
int16_t NeoTextBox(const unsigned char* text, int32_t length, const pf::Rect* box, int16_t justification,
                   int16_t* line_height, int16_t* text_height, int16_t draw);

// Stacked text: one character a line, each centred in the box's width.
// Measuring (`draw` 0) gives in `extent` the stack's width and height from
// the box's top-left; drawing places the stack at the top (vertical 0), in
// the middle (1) or at the bottom (-1) of the box.
void VertTextBox(const unsigned char* text, int32_t length, const pf::Rect* box, pf::Rect* extent, int16_t vertical,
                 int16_t draw);

// A hairline along the rectangle (its top line or left column, whichever is
// longer), for printing.
void DrawHairLine(const pf::Rect* rect);

// How far a text box's text lies inside its frame: the frame's line size and
// 4 pixels more, at least 5.
int16_t text_box_inset(int16_t line_size);

// Places a styled-text view over a rectangle of a layer's pane: destination
// the rectangle inset, view its part inside the pane. The last argument is
// the caller's redraw request, not used in this form.
void ResetViewField(const pf::Rect* rect, int16_t pane, int16_t inset, WEReference we, MemoryRef sheet, int16_t flag);
