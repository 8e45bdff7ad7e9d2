// The PICT byte format shared by recording and playback: opcodes, big-endian writing
// and bounded reading, and the region and polygon records.
#pragma once

#include "platform/draw/bits.h"
#include "platform/draw/colour.h"
#include "platform/draw/port.h"
#include "platform/draw/shapes.h"
#include "platform/resources/byte_reader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pf::pict {

enum : uint16_t {
    kNop = 0x0000, kClipRgn = 0x0001, kBkPat = 0x0002, kTxFont = 0x0003, kTxFace = 0x0004,
    kTxMode = 0x0005, kSpExtra = 0x0006, kPnSize = 0x0007, kPnMode = 0x0008, kPnPat = 0x0009,
    kFillPat = 0x000A, kOvSize = 0x000B, kOrigin = 0x000C, kTxSize = 0x000D, kFgColor = 0x000E,
    kBkColor = 0x000F, kTxRatio = 0x0010, kVersion = 0x0011, kPnLocHFrac = 0x0015,
    kChExtra = 0x0016, kRGBFgCol = 0x001A, kRGBBkCol = 0x001B, kHiliteModeOp = 0x001C,
    kHiliteColor = 0x001D, kDefHilite = 0x001E, kOpColor = 0x001F,
    kLine = 0x0020, kLineFrom = 0x0021, kShortLine = 0x0022, kShortLineFrom = 0x0023,
    kLongText = 0x0028, kDHText = 0x0029, kDVText = 0x002A, kDHDVText = 0x002B,
    kFontName = 0x002C, kLineJustify = 0x002D, kGlyphState = 0x002E,
    kRectBase = 0x0030, kSameRectBase = 0x0038, kRRectBase = 0x0040, kSameRRectBase = 0x0048,
    kOvalBase = 0x0050, kSameOvalBase = 0x0058, kArcBase = 0x0060, kSameArcBase = 0x0068,
    kPolyBase = 0x0070, kRgnBase = 0x0080,
    kBitsRect = 0x0090, kBitsRgn = 0x0091, kPackBitsRect = 0x0098, kPackBitsRgn = 0x0099,
    kDirectBitsRect = 0x009A, kDirectBitsRgn = 0x009B,
    kShortComment = 0x00A0, kLongComment = 0x00A1, kEndPic = 0x00FF, kHeader = 0x0C00,
};

struct Writer {
    std::vector<uint8_t> bytes;
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) {
        u8(uint8_t(v >> 8));
        u8(uint8_t(v));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v >> 16));
        u16(uint16_t(v));
    }
    void point(Point p) {
        u16(uint16_t(p.v));
        u16(uint16_t(p.h));
    }
    void rect(const Rect& r) {
        u16(uint16_t(r.top));
        u16(uint16_t(r.left));
        u16(uint16_t(r.bottom));
        u16(uint16_t(r.right));
    }
    void raw(const uint8_t* p, size_t n) { bytes.insert(bytes.end(), p, p + n); }
    void align() {
        if (bytes.size() & 1) u8(0);
    }
};

// A region as size word, bounding box and, unless rectangular, its inversion lines:
// per line the row, then the columns where coverage flips, ended by 0x7FFF; the list
// ends with 0x7FFF.
void write_region(Writer& w, RgnHandle rgn);
// Reads a region record into `rgn`; false when it is damaged.
bool read_region(ByteReader& r, RgnHandle rgn);

// Bit images: one-bit images as a bits record, all others as direct 32-bit pixels.
// The record follows the opcode that bits_opcode gives.
uint16_t bits_opcode(const BitMap& src, bool with_mask);
void write_bits(Writer& w, const BitMap& src, const Rect& src_rect, const Rect& dst_rect, int16_t mode,
                RgnHandle mask_rgn);

// A bit image read from a picture, ready to be copied.
struct DecodedBits {
    std::vector<uint8_t> pixels;
    ColorTable colors;
    BitMap map;
    Rect src_rect{}, dst_rect{};
    int16_t mode = 0;
};
// Reads the record of a bits opcode (BitsRect, BitsRgn, PackBitsRect, PackBitsRgn,
// DirectBitsRect, DirectBitsRgn); the mask region goes to mask_rgn. False when damaged
// or of a kind not read (16-bit and other packings than those written by common
// programs).
bool read_bits(ByteReader& r, uint16_t opcode, DecodedBits& out, RgnHandle mask_rgn);

// Reads a colour pattern record (BkPixPat, PnPixPat, FillPixPat), keeping its one-bit
// form.
bool read_pix_pat(ByteReader& r, Pattern& out);

// A polygon as size word, bounding box and points.
void write_poly(Writer& w, const Polygon& poly);
bool read_poly(ByteReader& r, Polygon& poly);

}  // namespace pf::pict
