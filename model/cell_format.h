// The 32-byte format block that heads every cell record and every row and
// column format, the column and row format records built on it, and the rule
// that decides which format an address takes. Blocks are bytes in host order;
// the field positions below are fixed and double as the field numbers of
// SetFormatByte.
#pragma once

#include <cstdint>

constexpr int kCellFormatSize = 32;
constexpr int kRowFormatSize = 32;
constexpr int kColumnFormatSize = 64;
constexpr int kColumnNameOffset = 32;  // Str31 after the format part

// Byte positions of the fields of a format block.
enum CellFormatField : int {
    kFmtId = 0,               // i16: column of a cell, row of a RowFormat, column of a ColumnFormat
    kFmtFont = 2,             // u16: 65535 = the layer's default font
    kFmtSize = 4,             // u8: 255 = the layer's default size
    kFmtCode = 5,             // u8: number format code
    kFmtDecimals = 6,         // i8: -15..15
    kFmtFace = 7,             // u8: face bits
    kFmtAlign = 8,            // u8: alignment in bits 0-2, text options in bits 3-7
    kFmtFlagsA = 9,           // u8
    kFmtLabelLength = 10,     // u8, cell records only
    kFmtCellType = 11,        // u8, cell records only
    kFmtNoteLength = 12,      // u8, cell records only
    kFmtFlagsB = 13,          // u8
    kFmtTextColour = 14,      // u8
    kFmtPattern = 15,         // u8
    kFmtPatternFore = 16,     // u8
    kFmtPatternBack = 17,     // u8
    kFmtBorderStyles = 18,    // u16: left 12-15, top 8-11, right 4-7, bottom 0-3
    kFmtBorderColours = 20,   // u32: one byte per side
    kFmtExtent = 24,          // i16: cell length, row height or column width; -1 = default
    kFmtBodyLength = 26,      // i16, cell records only
    kFmtStyleLength = 28,     // i16, cell records only
    kFmtResultType = 30,      // i16, cell records only
};

constexpr uint16_t kDefaultFontNumber = 65535;
constexpr uint8_t kLayerDefaultSize = 255;
constexpr uint8_t kAlignMask = 0x07;  // the alignment bits of kFmtAlign
constexpr uint8_t kFormatGeneral = 71;  // 'G'
// Face (field 7): cleared with value 0 the face becomes plain; cleared with
// kFaceBitAlone + b only bit b goes (so that bold, bit 0, can go alone).
constexpr int16_t kFaceBitAlone = 8;

// Flags A (byte 9) and flags B (byte 13).
constexpr uint8_t kFlagLocked = 0x01;
// The vertical placement in flags A: neither bit places the text at the bottom.
constexpr uint8_t kFlagAVerticalMiddle = 0x04;
constexpr uint8_t kFlagAVerticalTop = 0x08;
constexpr uint8_t kFlagBFixedDecimals = 0x20;
constexpr uint8_t kFlagBCustomDate = 0x80;

// A format block held by value.
struct CellFormat {
    uint8_t bytes[kCellFormatSize];
};

// Field access on any format block (a CellFormat, the head of a cell record,
// a RowFormat or a ColumnFormat).
int16_t format_id(const uint8_t* format);
void set_format_id(uint8_t* format, int16_t id);
uint16_t format_font(const uint8_t* format);
uint16_t format_border_styles(const uint8_t* format);
uint32_t format_border_colours(const uint8_t* format);
int16_t format_extent(const uint8_t* format);
void set_format_extent(uint8_t* format, int16_t extent);

// Fills a block with the default format: id -1, default font and size,
// general format with 2 decimals, cell type 255, extent -1, all else 0.
void GetDefaultFormat(uint8_t* format);

// True when `format` differs from `reference` in a field that shows: font,
// size, format code, decimals, face, bytes 8 and 9, bits 0, 5 and 6 of byte 13,
// colours and pattern (14-17), border styles and border colours. Width, name
// and the cell-only bytes do not count.
bool format_differs_visibly(const uint8_t* format, const uint8_t* reference);

// Changes one field of a format block, numbered by its byte position.
// `clear` clears a bit instead of setting it; the default font and size stand
// for 65535 and 255. Style runs of text cells are not touched here: see
// SetCellFormatByte in cell_formats.h.
void SetFormatByte(uint8_t* format, int16_t field, int16_t value, bool clear);
