// Recording into the picture a port has open, for the drawing module's files: each
// call first writes the state opcodes for what changed since the last call.
#pragma once

#include "platform/draw/bits.h"
#include "platform/draw/picture.h"
#include "platform/draw/picture_format.h"
#include "platform/draw/shapes.h"
#include "platform/draw/text.h"

#include <string_view>

namespace pf {

struct PictureRecorder {
    Picture* picture = nullptr;
    pict::Writer out;
    DrawingState written;           // the state the stream has set so far
    RgnHandle written_clip = nullptr;
    Point oval_size{};
};

// Ends a recording left open; the picture keeps no data.
void abandon_picture(Port& port);

void picture_shape(Port& port, Verb verb, const Shape& shape, const Pattern* fill_pattern);
void picture_line(Port& port, Point from, Point to);
// Text drawn at the pen; with a slop, each piece between spaces is kept at the place
// the justification gives it.
void picture_text(Port& port, std::string_view text, Fixed slop, int16_t run_position);
// Turned text, kept as the image it makes over white (pictures hold no turned text).
void picture_turned_text(Port& port, std::string_view text, Turn turn);
void picture_bits(Port& port, const BitMap& src, const Rect& src_rect, const Rect& dst_rect, int16_t mode,
                  RgnHandle mask_rgn);

}  // namespace pf
