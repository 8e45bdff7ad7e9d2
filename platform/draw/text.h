// Text in the current port: drawn and measured in the port's font, size and face
// (platform/fonts), with its text mode, fore and back colours, clipped like every
// drawing. Text is Mac Roman bytes. The pen's point is on the baseline at the left
// edge of the first character: ascent rows lie above it, descent rows from it down.
// All widths are whole pixels and the same on image and PDF surfaces.
//
// Text modes: kSrcOr (glyphs in the fore colour), kSrcCopy (the text's box in the
// back colour first), kSrcXor (glyph pixels inverted), kSrcBic (glyphs in the back
// colour) and kGrayishTextOr (dimmed: glyphs halfway between fore and back colour).
// Other modes draw as kSrcOr. While the pen is hidden text is not drawn, but the pen
// still moves.
#pragma once

#include "platform/draw/draw.h"
#include "platform/fonts/fonts.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pf {

using Fixed = int32_t;  // 16.16
constexpr Fixed kFixedOne = 0x10000;

// Where a piece of text lies in its line; a piece that ends its line (only or right)
// gives no justification slop to its trailing blanks.
enum : int16_t {
    kOnlyStyleRun = 0,
    kLeftStyleRun = 1,
    kRightStyleRun = 2,
    kMiddleStyleRun = 3,
};

// Draws at the pen and moves the pen right by the text's width.
void draw_text(std::string_view text);
void draw_string(const unsigned char* pstr);  // length-prefixed
void draw_char(unsigned char ch);

// Draws at the pen with `slop` extra pixels spread over the spaces that may stretch
// (those before the trailing blanks of a line's last piece), each space taking its
// share in whole pixels so that the shares add up to the slop's whole pixels. Text
// without such spaces is drawn as it is. The pen moves right by the drawn width.
void draw_justified(std::string_view text, Fixed slop, int16_t run_position = kOnlyStyleRun);

// The share of a line's slop a piece takes: the number of its stretching spaces.
Fixed portion_line(std::string_view text, int16_t run_position);

// Quarter turns for turned text.
enum class Turn : uint8_t {
    kUp,    // turned 90 degrees: reads upwards
    kDown,  // turned 270 degrees: reads downwards
};

// Draws turned text with its baseline on the pen's column: turned up, the first
// character's edge is at the bottom of the pen's pixel row and the text runs up;
// turned down it starts at the pen's row and runs down. Tops of letters face left
// when turned up, right when turned down. The pen does not move; answers the width.
int16_t draw_text_turned(std::string_view text, Turn turn);

// Measures in the current port.
int16_t text_width(std::string_view text);
int16_t string_width(const unsigned char* pstr);
int16_t char_width(unsigned char ch);
void get_font_info(FontInfo& info);
// The port's text style, as platform/fonts measures it.
TextStyle port_text_style();

// Pixel distance from the text's left edge to the edge before byte `offset` (pinned
// to 0..length), with the same justification as draw_justified.
int16_t char_to_pixel(std::string_view text, Fixed slop, int32_t offset, int16_t run_position = kOnlyStyleRun);

// The caret offset nearest a pixel distance from the text's left edge. A point in the
// left half of a character gives that character's offset with leading_edge true; in
// its right half the next offset with leading_edge false. Past the end: the length,
// leading_edge false and width_remaining the distance left over; inside the text
// width_remaining is negative. Before the start: offset 0, leading edge.
struct PixelHit {
    int32_t offset = 0;
    bool leading_edge = true;
    Fixed width_remaining = -1;
};
PixelHit pixel_to_char(std::string_view text, Fixed slop, Fixed pixel_width, int16_t run_position = kOnlyStyleRun);

// Length of the text without its trailing blanks (spaces, tabs, returns, line feeds).
int32_t visible_length(std::string_view text);

// Truncation to a pixel width with an ellipsis (Mac Roman 0xC9), at the end or in the
// middle. Results: kNotTruncated when the text fitted, kTruncated when it was cut
// (to nothing when even the ellipsis does not fit), kTruncError for a width below 0.
enum : int16_t { kTruncEnd = 0, kTruncMiddle = 0x4000 };
enum : int16_t { kNotTruncated = 0, kTruncated = 1, kTruncError = -1 };
int16_t trunc_text(int16_t width, std::string& text, int16_t where);
int16_t trunc_string(int16_t width, unsigned char* pstr, int16_t where);  // length-prefixed, in place

}  // namespace pf
