// Transfers and blocks of the one open file, each counted; every failure is
// shown once and closes the file.
#include "files/file_framing.h"

#include <algorithm>
#include <cstring>

#include "core/memory_use.h"
#include "files/document_prompts.h"
#include "model/cell_format.h"
#include "model/record_bytes.h"
#include "platform/files/files.h"
#include "platform/memory/memory.h"

int16_t f_ref = 0;

namespace {

// A block length read from the file: 0 absent, -1 damaged, else its length.
int16_t read_block_length(int32_t* counter, int32_t* length) {
    if (int16_t error = ReadLongValue(counter, length)) return error;
    if (*length < 0 || *length > bytes_left(*counter)) return fail_file(kDamagedFileErr);
    return 0;
}

int32_t record_count(int32_t length, int32_t rec_size) { return (length + rec_size - 1) / rec_size; }

// Allocates a block of `count` records for a length read from the file; a
// failure closes the file with the memory error.
int16_t allocate_block(MemoryRef* out, MemoryGlobals* globals, int32_t rec_size, int32_t count, uint32_t id) {
    MemoryRef made = nullptr;
    int16_t error = with_failure_handler(globals, [&] {
        made = pgAllocateNewRef(globals, rec_size, count, 0, true);
        if (!made) msFailure(globals, kNoMemoryErr, nullptr);
        SetMemoryRefID(made, id);
    });
    if (error) return fail_file(error);
    *out = made;
    return 0;
}

// Reads `length` bytes into `bytes` a piece at a time, telling the listener
// (when there is one) after each piece.
int16_t read_in_pieces(uint8_t* bytes, int32_t length, int32_t* counter, const PieceListener* listener) {
    constexpr int32_t kPiece = 256 * 1024;  // small enough to be still in the cache when heard of
    const int32_t piece = listener ? kPiece : length;
    for (int32_t done = 0; done < length;) {
        const int32_t n = std::min(piece, length - done);
        if (int16_t error = ReadItem(n, counter, bytes + done)) return error;
        done += n;
        if (listener) listener->read(bytes, done, length, listener->context);
    }
    return 0;
}

// Reads `length` bytes (already checked against the file) into a new block of
// records; nothing is allocated for a length of 0.
int16_t read_records(MemoryRef* out, int32_t length, int32_t* counter, MemoryGlobals* globals, int32_t rec_size,
                     uint32_t id, const PieceListener* listener = nullptr) {
    if (length == 0) return 0;
    MemoryRef block = nullptr;
    if (int16_t error = allocate_block(&block, globals, rec_size, record_count(length, rec_size), id))
        return error;
    MemoryUse<uint8_t> bytes(block);
    int16_t error = read_in_pieces(bytes.get(), length, counter, listener);
    bytes.release();
    if (error) {
        DisposeMemory(block);
        return error;
    }
    *out = block;
    return 0;
}

}  // namespace

int16_t write_swapped_ref(MemoryRef ref, int32_t* counter, void (*flip)(MemoryRef)) {
    if (!ref) return WriteLongItem(0, counter);
    MemoryRef copy = MemoryDuplicate(ref);
    if (!copy) return fail_file(kNoMemoryErr);
    flip(copy);
    int16_t error = Write_Ref(copy, counter);
    DisposeMemory(copy);
    return error;
}

int32_t bytes_left(int32_t counter) {
    if (!f_ref) return 0;
    int32_t length = 0;
    if (pf::get_end_of_file(f_ref, length)) return 0;
    return length > counter ? length - counter : 0;
}

int16_t end_file_at(int32_t counter) {
    int32_t position = 0;
    if (pf::OSErr error = pf::get_file_position(f_ref, position)) return error;
    if (position != counter) return kDamagedFileErr;
    return pf::set_end_of_file(f_ref, counter);
}

int16_t fail_file(int16_t error) {
    CleanUp(error);
    return error;
}

void CleanUp(int16_t error) {
    if (!f_ref) return;
    if (error) report_file_error(error);
    pf::close_file(f_ref);
    f_ref = 0;
}

int16_t ReadItem(int32_t n, int32_t* counter, void* buffer) {
    int32_t count = n;
    pf::OSErr error = pf::read_file(f_ref, count, buffer);
    // A file that ends before its contents do is damaged.
    if (error == pf::kEndOfFileErr || (!error && count != n)) error = kDamagedFileErr;
    if (error) return fail_file(error);
    *counter += n;
    return 0;
}

int16_t WriteItem(int32_t n, const void* buffer, int32_t* counter) {
    int32_t count = n;
    pf::OSErr error = pf::write_file(f_ref, count, buffer);
    if (!error && count != n) error = kDamagedFileErr;
    if (error) return fail_file(error);
    *counter += n;
    return 0;
}

int16_t ReadShortValue(int32_t* counter, int16_t* value) {
    int16_t error = ReadItem(2, counter, value);
    *value = int16_t(swap16(uint16_t(*value)));
    return error;
}

int16_t ReadLongValue(int32_t* counter, int32_t* value) {
    int16_t error = ReadItem(4, counter, value);
    *value = int32_t(swap32(uint32_t(*value)));
    return error;
}

int16_t WriteLongItem(int32_t value, int32_t* counter) {
    uint32_t big = swap32(uint32_t(value));
    return WriteItem(4, &big, counter);
}

int16_t Read_Ref(MemoryRef* out, int32_t* counter, MemoryGlobals* globals, int32_t rec_size, uint32_t id) {
    *out = nullptr;
    int32_t length = 0;
    if (int16_t error = read_block_length(counter, &length)) return error;
    return read_records(out, length, counter, globals, rec_size, id);
}

int16_t read_ref_in_pieces(MemoryRef* out, int32_t* counter, MemoryGlobals* globals, uint32_t id,
                           const PieceListener& listener) {
    *out = nullptr;
    int32_t length = 0;
    if (int16_t error = read_block_length(counter, &length)) return error;
    return read_records(out, length, counter, globals, 1, id, &listener);
}

int16_t read_raw_bytes(MemoryRef* out, int32_t length, int32_t* counter, MemoryGlobals* globals, uint32_t id) {
    *out = nullptr;
    if (length < 0 || length > bytes_left(*counter)) return fail_file(kDamagedFileErr);
    return read_records(out, length, counter, globals, 1, id);
}

int16_t Read_ModRef(MemoryRef* out, int32_t* counter, MemoryGlobals* globals, int32_t old_rec_size,
                    uint32_t id) {
    *out = nullptr;
    int32_t length = 0;
    if (int16_t error = read_block_length(counter, &length)) return error;
    if (length == 0) return 0;
    int32_t count = record_count(length, old_rec_size);
    int32_t new_size = old_rec_size * 2;
    MemoryRef block = nullptr;
    if (int16_t error = allocate_block(&block, globals, new_size, count, id)) return error;
    MemoryUse<uint8_t> records(block);
    int16_t error = 0;
    for (int32_t i = 0; i < count && !error; ++i) {
        int32_t part = i + 1 < count ? old_rec_size : length - i * old_rec_size;
        error = ReadItem(part, counter, records + i * new_size);
    }
    records.release();
    if (error) {
        DisposeMemory(block);
        return error;
    }
    *out = block;
    return 0;
}

int16_t Write_Ref(MemoryRef ref, int32_t* counter) {
    int32_t length = ref ? GetByteSize(ref) : 0;
    if (int16_t error = WriteLongItem(length, counter)) return error;
    return write_raw_bytes(ref, counter);
}

int16_t write_raw_bytes(MemoryRef ref, int32_t* counter) {
    int32_t length = ref ? GetByteSize(ref) : 0;
    if (length < 1) return 0;
    return WriteItem(length, MemoryUse<>(ref).get(), counter);
}

int16_t ReadHandle(pf::Handle* out, int32_t* counter) {
    *out = nullptr;
    int32_t length = 0;
    if (int16_t error = read_block_length(counter, &length)) return error;
    if (length == 0) return 0;
    pf::Handle handle = nullptr;
    if (int16_t error = AllocateBlock(length, 0, &handle)) return fail_file(error);
    pf::h_lock(handle);
    int16_t error = ReadItem(length, counter, *handle);
    pf::h_unlock(handle);
    if (error) {
        pf::dispose_handle(handle);
        return error;
    }
    *out = handle;
    return 0;
}

int16_t WriteHandle(pf::Handle handle, int32_t* counter) {
    int32_t length = handle ? pf::get_handle_size(handle) : 0;
    if (int16_t error = WriteLongItem(length, counter)) return error;
    if (length < 1) return 0;
    pf::h_lock(handle);
    int16_t error = WriteItem(length, *handle, counter);
    pf::h_unlock(handle);
    return error;
}

int16_t skip_ref_block(int32_t* counter) {
    int32_t length = 0;
    if (int16_t error = read_block_length(counter, &length)) return error;
    if (pf::OSErr error = pf::set_file_position(f_ref, pf::kFromMark, length)) return fail_file(error);
    *counter += length;
    return 0;
}

int16_t WriteShortsRef(MemoryRef ref, int32_t* counter) { return write_swapped_ref(ref, counter, ByteFlipShortsRef); }
int16_t WriteCellFRef(MemoryRef ref, int32_t* counter) { return write_swapped_ref(ref, counter, ByteFlipCellFRef); }
int16_t WriteHeaderRef(MemoryRef ref, int32_t* counter) { return write_swapped_ref(ref, counter, ByteFlipHeaderRef); }
