// Pictures exchanged with other programs as PNG images: a picture drawn at its
// frame's size over white and encoded, and a PNG decoded over white and
// recorded as one direct-colour copy of its pixels.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pf {

// The widest and tallest image taken: a recorded row of pixels holds at most
// this many, and a larger image would take its size squared in memory.
constexpr int32_t kLargestPictureSide = 4000;

// The picture's PNG image; empty when the picture has no area or cannot be drawn.
std::vector<uint8_t> picture_to_png(std::span<const uint8_t> picture);
// Whether the PNG's header names a side longer than kLargestPictureSide.
bool png_too_large(std::span<const uint8_t> png);
// Whether every chunk up to the end chunk lies whole inside the bytes, so
// that decoding makes room for no more than they hold.
bool png_chunks_inside(std::span<const uint8_t> png);
// The PNG as picture bytes whose frame is the image's size; empty when the
// data are no PNG cairo can read, a chunk claims more than the bytes hold, the
// image is too large, or memory failed.
std::vector<uint8_t> png_to_picture(std::span<const uint8_t> png);

}  // namespace pf
