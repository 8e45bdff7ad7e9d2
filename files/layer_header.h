// The fixed fields of a layer block: the layer header (name to the last
// visible-cell rectangle, 132 bytes) and the print fields after the blocks.
#pragma once

#include <cstdint>

#include "files/big_endian.h"
#include "model/layer.h"

constexpr int kSheetHeaderSize = 132;
constexpr int kLayerNameSize = 32;
constexpr int kFontNameSize = 64;
constexpr int kPageSetupSize = 32;
// Margins, printable rectangle, page-setup block, first page number.
constexpr int kPrintFieldsSize = 8 + 8 + kPageSetupSize + 2;

// Layer flags that never come from a file: the window's active state and
// printing in progress.
constexpr uint32_t kLayerFlagsNotRead = kLayerActiveBits | kLayerPrinting;

void put_sheet_header(BigEndianWriter& out, const SpreadSheet* sheet);
// Reads the header into the layer: the name clamped to 31 characters, the
// active bits cleared and the format cache marked stale.
void get_sheet_header(pf::ByteReader& in, SpreadSheet* sheet);

// The active cell and the selection lie in the grid, the selection's corners
// in order; the print area and the visible ranges are absent or near the grid.
bool sheet_header_sound(const SpreadSheet* sheet);

void put_print_fields(BigEndianWriter& out, const SpreadSheet* sheet);
void get_print_fields(pf::ByteReader& in, SpreadSheet* sheet);

// Cuts a length-prefixed string kept in `capacity` bytes to fit them.
void clamp_pstring(unsigned char* text, int capacity);
