// Shared steps of the document readers (not for other subsystems).
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Stands in a layer's window field between reading and making its window.
extern void* const kWindowWanted;

// The number of an installed font by its length-prefixed name; the application
// font when the name is that font's; else `fallback`.
int16_t font_by_name(const unsigned char* name, int16_t fallback);

// Takes the last layer out of the workbook and disposes of it.
void drop_last_layer(MemoryRef workbook);

// Every link id in the layer's formulas names a link of its list.
bool formula_links_sound(MemoryRef layer);

// The reader of the older generation's documents: the workbook's layers read
// from the open file, or null after a failure handed to the caller's handler.
MemoryRef ReadQ3Sheet(int32_t* counter, int16_t slot_format, int16_t version, int32_t file_length,
                      MemoryRef workbook);

struct SpreadSheet;

// Reads one layer block: its length, a new layer filled by `read_contents` up to
// the block's end, which the contents must reach exactly, and whose formulas
// name only links of its list. Null after a failure, the layer taken out again.
using LayerContentsReader = int16_t (*)(MemoryRef layer, int32_t* counter, int32_t block_end, int16_t version);
MemoryRef read_layer_block(int32_t* counter, int16_t slot_format, int16_t version, int32_t file_length,
                           MemoryRef workbook, int32_t least_length, LayerContentsReader read_contents);

// Steps of a layer's contents; each answers 0 or the reported error.
int16_t damaged();
// Reads `n` bytes of a fixed part, refusing to pass the block's end.
int16_t read_fixed(int32_t n, int32_t* counter, int32_t block_end, uint8_t* bytes);
// A block read into a field of the layer and swapped.
int16_t read_swapped_block(MemoryRef* field, int32_t* counter, uint32_t id, int32_t rec_size,
                           void (*flip)(MemoryRef));
// Each record's 16-bit id at `offset` lies in the grid.
bool ids_in_grid(MemoryRef ref, int offset);
// Cuts the length-prefixed text at `offset` of every record to `capacity` bytes.
void clamp_records_text(MemoryRef ref, int offset, int capacity);
// A cell block in file order (null: none), checked, made host order and put in
// the layer; damaged, and disposed of, when it is unsound.
int16_t install_read_cells(SpreadSheet* sheet, MemoryRef cells);
int16_t read_page_breaks(SpreadSheet* sheet, int32_t* counter);
// The names, those outside the grid left out with a note.
int16_t read_names(SpreadSheet* sheet, int32_t* counter);
// Header or footer parts, swapped and repaired.
int16_t read_header_parts(MemoryRef* field, int32_t* counter, uint32_t id);
