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
// The same for a text nobody reads again: its pages are given back to the
// system as the read passes them, so it reads as zeros afterwards.
int16_t read_sylk_text_letting_go(std::string& mac_roman, MemoryRef layer, ImportReport* report);
int16_t read_decoded_sylk_letting_go(DecodedText& decoded, MemoryRef layer, ImportReport* report);

// The two kinds of SYLK file written: this program's own spells Roman
// accented letters as escapes, which it, its older generations, Excel and
// Gnumeric read (and other scripts in UTF-8); the one for other spreadsheets
// spells its lines in Windows-1252, which most of them read, where that can
// (sylk_text.h).
enum class SylkVariant { own, other_spreadsheets };

// A formula that refers to a layer the file cannot name (one without a name,
// or one the workbook does not hold) is written as its value alone, counted in `report` when one is given.
int16_t write_sylk(MemoryRef layer, int32_t* counter, SylkVariant variant = SylkVariant::own,
                   ExportReport* report = nullptr);

// The layer as the bytes of a SYLK file of the variant.
std::string sylk_layer_text(MemoryRef layer, SylkVariant variant = SylkVariant::own, ExportReport* report = nullptr);
