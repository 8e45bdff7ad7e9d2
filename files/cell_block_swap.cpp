// Byte order of a layer's cell block, with the whole block checked on the way:
// rows and cells inside the grid, strictly increasing, every length within
// its row or cell, every part of a cell within the cell, every formula well
// formed and every style block holding its runs. A damaged block answers -1.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/memory_use.h"
#include "files/file_framing.h"
#include "files/formula_walk.h"
#include "model/cell_range.h"
#include "model/cell_record.h"

namespace {

constexpr int16_t kStoreUntouchedSize = kRowHeaderSize;

struct BlockWalk {
    uint8_t* start;
    uint8_t* end;
    bool reading;  // file to memory: fields become host order as they are swapped
};

void swap_operand(uint8_t* operand, void*) { ByteFlipFormulaShort(operand); }

bool known_cell_type(uint8_t type) {
    return type == kCellFormula || type == kCellConstant || type == kCellText || type == kCellFormatOnly;
}

// Checks a cell whose header is in host order and swaps its body.
bool flip_cell_body(uint8_t* cell, int32_t room, int16_t direction) {
    // Style runs belong to text cells: a formula's result changes its length
    // on every recalculation, so runs read with one would never fit it again.
    if (direction == 0 && _cellType_(cell) == kCellFormula) store_i16(cell + kFmtStyleLength, 0);
    int32_t length = _cellLength_(cell);
    int32_t body = _formulaLength_(cell);
    int32_t style = _styleLength_(cell);
    if (!known_cell_type(_cellType_(cell)) || body < 0 || style < 0 || length > room) return false;
    int32_t parts = kCellHeaderSize + _labelLength_(cell) + _noteLength_(cell) + body;
    if (length < parts) return false;
    int32_t result = length - parts;
    if (style > result) return false;
    switch (_cellType_(cell)) {
    case kCellConstant:
        if (body < kNumberSlotSize) return false;
        swap_bytes_at(_formulaPtr_(cell), 8);
        return true;
    case kCellFormula:
        if (_resultType_(cell) < 0) {
            if (result < kNumberSlotSize) return false;
            swap_bytes_at(_resultPtr_(cell), 8);
        }
        return walk_stored_formula(_formulaPtr_(cell), body, FormulaWalk{swap_operand, nullptr, nullptr});
    case kCellText:
        return style == 0 || ByteSwapStyle(_stylePtr_(cell), style, direction) == 0;
    default:
        return true;
    }
}

// One cell at `cell`, at most `room` bytes before its row's end. Answers the
// cell's length, or 0 when it is damaged (its header then left as it was).
// The header is swapped where it lies: first when it arrives from the file,
// last when it goes to it, so the body is always swapped under a host-order header.
int32_t flip_cell(uint8_t* cell, int32_t room, int16_t direction, int16_t* previous_column) {
    if (room < kCellHeaderSize) return 0;
    if (direction == 0) ByteFlipCellFData(cell);
    int16_t column = _cellID_(cell);
    int32_t length = _cellLength_(cell);
    if (column < 0 || column > kLastCell || column <= *previous_column || length < kCellHeaderSize) {
        if (direction == 0) ByteFlipCellFData(cell);
        return 0;
    }
    *previous_column = column;
    bool sound = flip_cell_body(cell, room, direction);
    if (direction != 0) ByteFlipCellFData(cell);
    return sound ? length : 0;
}

bool row_header_sound(int16_t id, int64_t length, int64_t room, int16_t previous_row) {
    return id >= 0 && id <= kLastCell && id > previous_row && length >= kRowHeaderSize + kCellHeaderSize &&
           length <= room;
}

// One row at `row`; answers its length, or 0 when it is damaged.
int64_t flip_row(uint8_t* row, int64_t room, int16_t direction, int16_t* previous_row) {
    if (room < kRowHeaderSize) return 0;
    if (direction == 0) {
        swap_bytes_at(row, 2);
        swap_bytes_at(row + 2, 4);
    }
    int16_t id = _RowID_(row);
    int64_t length = _RowLength_(row);
    if (direction != 0) {
        swap_bytes_at(row, 2);
        swap_bytes_at(row + 2, 4);
    }
    if (!row_header_sound(id, length, room, *previous_row)) return 0;
    *previous_row = id;
    int16_t previous_column = -1;
    int64_t at = kRowHeaderSize;
    while (at < length) {
        int32_t cell_length = flip_cell(row + at, int32_t(std::min<int64_t>(length - at, INT32_MAX)), direction,
                                        &previous_column);
        if (cell_length == 0) return 0;
        at += cell_length;
    }
    return length;
}

// The rows of a block of `size` bytes swapped in order, as far as they have
// come whole.
struct RowsFlip {
    uint8_t* start;
    int64_t size;
    int64_t at = 0;
    int16_t previous_row = -1;
    bool damaged = false;

    // The length of the row at `at` while it is still in file order.
    int64_t file_row_length() const { return int64_t(swap32(load_u32(start + at + 2))); }

    // Swaps each row lying whole within the first `available` bytes (of a
    // block read from the file when they are not all of it).
    void flip_rows(int64_t available, int16_t direction) {
        while (!damaged && at < available) {
            const bool coming = available < size;
            if (coming && (available - at < kRowHeaderSize || file_row_length() > available - at)) return;
            const int64_t length = flip_row(start + at, size - at, direction, &previous_row);
            damaged = length == 0;
            at += length;
        }
    }

    bool done() const { return !damaged && at == size; }
};

}  // namespace

int16_t ByteFlipCells(MemoryRef cells, int16_t direction) {
    if (!cells) return 0;
    int64_t size = GetByteSize(cells);
    if (size == 0) return 0;
    // A block too short to hold a row is left alone; read from a file it is damaged.
    if (size <= kStoreUntouchedSize) return direction == 0 ? kDamagedFileErr : 0;
    MemoryUse<uint8_t> start(cells);
    if (!start) return kNoMemoryErr;
    RowsFlip flip{start.get(), size};
    flip.flip_rows(size, direction);
    start.release();
    return flip.done() ? 0 : kDamagedFileErr;
}

int16_t read_swapped_cells(MemoryRef* out, int32_t* counter, uint32_t id, bool* sound) {
    RowsFlip flip{nullptr, 0};
    auto heard = [](uint8_t* start, int32_t so_far, int32_t length, void* context) {
        auto& rows = *static_cast<RowsFlip*>(context);
        rows.start = start;
        rows.size = length;
        rows.flip_rows(so_far, 0);
    };
    int16_t error = read_ref_in_pieces(out, counter, &mem_globals, id, PieceListener{heard, &flip});
    const bool whole = !*out || (flip.size > kStoreUntouchedSize && flip.done());
    *sound = error != 0 || whole;
    if (!*sound) *out = DisposeNonNilMemory(*out);
    return error;
}

namespace {

// Larger than any cell record (an i16 length) and a row header together.
constexpr int32_t kSwapBufferSize = 64 * 1024;

// Swapped bytes collected for the file, written whenever the next piece
// would not fit.
struct SwapBuffer {
    uint8_t* bytes;
    int32_t used;
    int32_t* counter;
};

int16_t flush(SwapBuffer& buffer) {
    if (buffer.used == 0) return 0;
    int16_t error = WriteItem(buffer.used, buffer.bytes, buffer.counter);
    buffer.used = 0;
    return error;
}

// A copy of `length` bytes in the buffer, to swap there; 0 or the error of
// the write that made room.
int16_t take_copy(SwapBuffer& buffer, const uint8_t* from, int32_t length, uint8_t** copy) {
    if (buffer.used + length > kSwapBufferSize)
        if (int16_t error = flush(buffer)) return error;
    *copy = buffer.bytes + buffer.used;
    std::memcpy(*copy, from, size_t(length));
    buffer.used += length;
    return 0;
}

// One row of the store in file order; 0, -1 when it is damaged, or the
// write error.
int16_t write_swapped_row(SwapBuffer& buffer, const uint8_t* row, int64_t room, int16_t* previous_row,
                          int64_t* length) {
    *length = _RowLength_(row);
    if (!row_header_sound(_RowID_(row), *length, room, *previous_row)) return kDamagedFileErr;
    *previous_row = _RowID_(row);
    uint8_t* header = nullptr;
    if (int16_t error = take_copy(buffer, row, kRowHeaderSize, &header)) return error;
    swap_bytes_at(header, 2);
    swap_bytes_at(header + 2, 4);
    int16_t previous_column = -1;
    for (int64_t at = kRowHeaderSize; at < *length;) {
        const uint8_t* cell = row + at;
        int32_t cell_length = *length - at >= kCellHeaderSize ? _cellLength_(cell) : 0;
        if (cell_length < kCellHeaderSize || cell_length > *length - at) return kDamagedFileErr;
        uint8_t* copy = nullptr;
        if (int16_t error = take_copy(buffer, cell, cell_length, &copy)) return error;
        if (flip_cell(copy, cell_length, 1, &previous_column) == 0) return kDamagedFileErr;
        at += cell_length;
    }
    return 0;
}

int16_t write_swapped_rows(SwapBuffer& buffer, const uint8_t* start, int64_t size) {
    int16_t previous_row = -1;
    for (int64_t at = 0; at < size;) {
        int64_t length = 0;
        if (int16_t error = write_swapped_row(buffer, start + at, size - at, &previous_row, &length)) return error;
        at += length;
    }
    return flush(buffer);
}

}  // namespace

int16_t write_swapped_cells(MemoryRef cells, int32_t* counter) {
    int32_t size = cells ? GetByteSize(cells) : 0;
    // A block too short to hold a row is written as it stands.
    if (size <= kStoreUntouchedSize) return size == 0 ? WriteLongItem(0, counter) : Write_Ref(cells, counter);
    MemoryRef buffer_block = pgAllocateNewRef(GetMemoryGlobals(cells), 1, kSwapBufferSize, 0, false);
    if (!buffer_block) return fail_file(kNoMemoryErr);
    int16_t error = WriteLongItem(size, counter);
    if (!error) {
        SwapBuffer buffer{static_cast<uint8_t*>(UseMemory(buffer_block)), 0, counter};
        auto* start = static_cast<const uint8_t*>(UseMemory(cells));
        error = buffer.bytes && start ? write_swapped_rows(buffer, start, size) : kNoMemoryErr;
        if (start) UnuseMemory(cells);
        if (buffer.bytes) UnuseMemory(buffer_block);
    }
    DisposeMemory(buffer_block);
    // A failed write has closed the file already; damage is reported here.
    return error && f_ref ? fail_file(error) : error;
}
