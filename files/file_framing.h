// Framing of the system's own binary files: one open file at a time (f_ref),
// a byte counter owned by the caller that every transfer advances, blocks
// framed as a big-endian 32-bit length and the raw bytes (RefBlock), and the
// byte-order converters of each record kind. A failed or short transfer shows
// its error once, closes the file and answers the error.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/memory_manager.h"
#include "platform/types.h"

// A short transfer, a negative block length, a block past the end of the file,
// or any other damage found in a file of our own.
constexpr int16_t kDamagedFileErr = -1;
// The file-error number shown for that damage: its message says the file is damaged.
constexpr int16_t kDamagedDocumentErr = 1001;

// The one open file of this layer; 0 when none.
extern int16_t f_ref;

// Transfers (0 or the error; the file is then closed and the error shown).
int16_t ReadItem(int32_t n, int32_t* counter, void* buffer);
int16_t WriteItem(int32_t n, const void* buffer, int32_t* counter);
int16_t ReadShortValue(int32_t* counter, int16_t* value);
int16_t ReadLongValue(int32_t* counter, int32_t* value);
int16_t WriteLongItem(int32_t value, int32_t* counter);
constexpr int kChartLabelFormatSize = 40;
constexpr int kChartUserDataSize = 12;

// Blocks. A length of 0 is an absent block (null); a negative length, or one
// longer than the bytes left in the file, is a damaged file (-1) and nothing
// is allocated for it.
int16_t Read_Ref(MemoryRef* out, int32_t* counter, MemoryGlobals* globals, int32_t rec_size, uint32_t id);
// The same for a block of bytes read a piece at a time: after each piece the
// listener hears how many of its `length` bytes have come (the last time, all).
struct PieceListener {
    void (*read)(uint8_t* start, int32_t so_far, int32_t length, void* context);
    void* context;
};
int16_t read_ref_in_pieces(MemoryRef* out, int32_t* counter, MemoryGlobals* globals, uint32_t id,
                           const PieceListener& listener);
int16_t Write_Ref(MemoryRef ref, int32_t* counter);
int16_t ReadHandle(pf::Handle* out, int32_t* counter);
int16_t WriteHandle(pf::Handle handle, int32_t* counter);
// Reads 32-byte records into 64-byte records, the second half cleared.
int16_t Read_ModRef(MemoryRef* out, int32_t* counter, MemoryGlobals* globals, int32_t old_rec_size,
                    uint32_t id);
int16_t WriteShortsRef(MemoryRef ref, int32_t* counter);
int16_t WriteCellFRef(MemoryRef ref, int32_t* counter);
int16_t WriteHeaderRef(MemoryRef ref, int32_t* counter);
// Writes a swapped copy of a reference (null writes length 0).
int16_t write_swapped_ref(MemoryRef ref, int32_t* counter, void (*flip)(MemoryRef));
// Reads and drops one block.
int16_t skip_ref_block(int32_t* counter);
// Unframed bytes: `length` bytes from the file into a new block of bytes (null
// for 0; a length past the end of the file is damage), and a block's bytes
// written as they stand (nothing for null).
int16_t read_raw_bytes(MemoryRef* out, int32_t length, int32_t* counter, MemoryGlobals* globals, uint32_t id);
int16_t write_raw_bytes(MemoryRef ref, int32_t* counter);

// Closes the open file, showing the error first when it is not 0. Does nothing
// when no file is open, so one failure is reported once.
void CleanUp(int16_t error);
// CleanUp with the error, answering it: the form every failing step returns.
int16_t fail_file(int16_t error);

// The bytes of the open file past the counter (0 with no file).
int32_t bytes_left(int32_t counter);
// Ends the open file at `counter`, where its writing ended; kDamagedFileErr
// when the file position disagrees, or the platform's error.
int16_t end_file_at(int32_t counter);

// Byte-order converters: each swaps in place; those taking a reference do
// nothing for null and walk every record.
void ByteFlipShorts(void* words, int32_t count);
void ByteFlipFormulaShort(uint8_t* operand);
void ByteFlipShortsRef(MemoryRef ref);
void ByteFlipRangeRef(MemoryRef ref);
void ByteFlipFileRef(MemoryRef ref);
void ByteFlipHeaderRef(MemoryRef ref);
void verifyHeaderRef(MemoryRef ref);
void ByteFlipCellFData(uint8_t* format);
void ByteFlipCellFRef(MemoryRef ref);
void ByteFlipChartLabelFormat(uint8_t* format);
// A text box's data: i16 text length T, T bytes, i16 style length S, S bytes
// of style runs; direction 1 is memory to file. Lengths that do not fit the
// handle leave the rest alone.
void ByteFlipTextObject(pf::Handle data, int16_t direction);
// Style runs in the 'styl' layout (i16 count, then 20-byte runs); direction 1
// is memory to file. pf::kParamErr for an empty block or one whose runs do not fit.
int16_t ByteSwapStyle(uint8_t* style, int32_t length, int16_t direction);

// A layer's cell block; direction 0 after reading, 1 before writing. Reading
// checks the whole block (see cell_block_swap.cpp) and answers -1 when it is
// damaged; the block is then unusable.
int16_t ByteFlipCells(MemoryRef cells, int16_t direction);
// Reads a layer's framed cell block, each row swapped and checked as soon as
// it has come whole, while it is still in the cache: as Read_Ref followed by
// ByteFlipCells(cells, 0). A damaged block is let go, leaving `sound` false.
int16_t read_swapped_cells(MemoryRef* out, int32_t* counter, uint32_t id, bool* sound);
// Writes a layer's cell block as a framed block in file byte order, checked
// as it goes, through a buffer of a fixed size: the cells in memory are
// never touched or copied whole. A failure to get the buffer goes to the
// memory manager's handler; a damaged block answers -1.
int16_t write_swapped_cells(MemoryRef cells, int32_t* counter);

inline uint16_t swap16(uint16_t v) { return uint16_t((v >> 8) | (v << 8)); }
inline uint32_t swap32(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}
// Reverses the byte order of a field of `width` bytes where it lies.
template <typename Word>
inline void reverse_word_at(uint8_t* p) {
    Word word;
    std::memcpy(&word, p, sizeof word);
    if constexpr (sizeof word == 2) word = __builtin_bswap16(word);
    if constexpr (sizeof word == 4) word = __builtin_bswap32(word);
    if constexpr (sizeof word == 8) word = __builtin_bswap64(word);
    std::memcpy(p, &word, sizeof word);
}
inline void swap_bytes_at(uint8_t* p, int width) {
    switch (width) {
    case 2: reverse_word_at<uint16_t>(p); break;
    case 4: reverse_word_at<uint32_t>(p); break;
    case 8: reverse_word_at<uint64_t>(p); break;
    default: std::reverse(p, p + width);
    }
}
