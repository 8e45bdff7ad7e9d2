// Pictures: drawing calls recorded as a version 2 PICT opcode stream (size word, frame,
// version and header opcodes, then one opcode per call) and played back scaled into a
// rectangle. Recorded: lines, the five verbs on rectangles, rounded rectangles, ovals,
// arcs, polygons and regions, text, copied bits (one-bit and direct colour), comments,
// and the pen, colour, text and clip state they draw with. Playback reads version 1
// and 2 streams, checks every length against the data, and stops at damaged data.
#pragma once

#include "platform/draw/port.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pf {

struct Picture {
    std::vector<uint8_t> data;  // the PICT bytes, big-endian
};
using PicHandle = Picture*;

constexpr OSErr kBadPictureErr = -11000;  // damaged or unsupported picture data

// Starts recording the current port's drawing into a new picture with the given frame
// (local coordinates). The pen is hidden until close_picture, so nothing is drawn
// while recording. Returns null when the port already records a picture.
PicHandle open_picture(const Rect& frame);
void close_picture();
void kill_picture(PicHandle pic);

// Adds a comment (kind, and data of `size` bytes or none) to the picture being recorded.
void pic_comment(int16_t kind, const uint8_t* data, int16_t size);

// The frame stored in picture bytes; empty when the data is too short.
Rect picture_frame(const uint8_t* data, size_t length);

// Where the picture lies in the bytes of a picture file: after the file's 512-byte
// header, or at the start for files without one. Null when neither place holds the
// start of a version 1 or 2 picture.
const uint8_t* picture_in_file(const uint8_t* data, size_t length, size_t& picture_length);

// Comments met during playback go to this procedure when it is set.
using PictureCommentProc = void (*)(int16_t kind, const uint8_t* data, size_t size, void* context);
void set_picture_comment_proc(PictureCommentProc proc, void* context);

// Draws the picture in the current port with its frame mapped onto `dst`. The port's
// drawing state and clip are put back afterwards. kBadPictureErr when the data is
// damaged (what came before the damage stays drawn).
OSErr draw_picture(PicHandle pic, const Rect& dst);
OSErr draw_picture_data(const uint8_t* data, size_t length, const Rect& dst);

}  // namespace pf
