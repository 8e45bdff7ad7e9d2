// SYLK, the symbolic-link interchange text: one layer read from it and
// written to it with its values, formulas, formats, column widths, row
// heights, layer defaults and named ranges.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_manager.h"
#include "files/import_report.h"
#include "files/text_encoding.h"

// Reads a SYLK text in memory into an empty layer: 0 at the end of the text,
// 1 when the user stopped the read with Command-period (what was read stays).
int16_t InputSLYKData(MemoryRef text, MemoryRef layer);

// The bytes of a SYLK file (Mac Roman, or UTF-8 by its bytes) into an empty
// layer: as InputSLYKData, or the memory manager's error. What the read had to
// replace, leave out or could not convert is added to `report` when one is given.
int16_t read_sylk_bytes(std::string_view bytes, MemoryRef layer, ImportReport* report = nullptr);
// The same for a SYLK text already in Mac Roman,
int16_t read_sylk_text(std::string_view mac_roman, MemoryRef layer, ImportReport* report);
// and for a decoded file (whose decoding losses the caller counts): a
// scripted one keeps each cell's text in the script that spells it
// (sylk_text.h).
int16_t read_decoded_sylk(const DecodedText& decoded, MemoryRef layer, ImportReport* report);

// Writes the layer as SYLK into the open file (f_ref): 0 or the first error
// of a write. write_sylk advances the caller's byte counter.
int16_t OutputSYLK(int16_t file, MemoryRef layer);
int16_t write_sylk(MemoryRef layer, int32_t* counter);

// The layer as the text of a SYLK file (UTF-8, escapes applied).
std::string sylk_layer_text(MemoryRef layer);
