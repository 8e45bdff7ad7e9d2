// Conversions of the previous generation's layer records (documents of
// versions 768..1024) into the current ones, for the older layer reader.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/header_part_record.h"

constexpr int kOldFormatSize = 16;

// An old 16-byte format (big-endian) as a cleared 32-byte CellFormat in host
// order: column, font, size to style, the flag bits, cell type, colours,
// pattern and border styles.
void convert_cellformat(const uint8_t* old_format, uint8_t* format);

// A header or footer text of the old kind (runs of zero bytes for field codes)
// rebuilt into `text`, a length-prefixed string of kHeaderPartTextSize bytes;
// what does not fit is left off, a field code never cut in half.
void convert_headertext(const unsigned char* old_text, unsigned char* text);

// Old drawing objects (74-byte records, each followed by its picture and its
// data block) as the current layout stores them, big-endian. Unknown kinds are
// left out. False when a record or block does not fit the bytes.
bool convert_old_objects(std::span<const uint8_t> old_objects, int16_t* next_object_id,
                         std::vector<uint8_t>& stored);
