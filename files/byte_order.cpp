// Byte-order converters of the record kinds stored in documents: every
// multi-byte field is swapped where it lies, text bytes are left alone.
#include <algorithm>
#include <cstring>

#include "core/memory_use.h"
#include "files/file_framing.h"
#include "platform/memory/memory.h"
#include "model/cell_format.h"
#include "model/header_part_record.h"
#include "model/style_run_layout.h"
#include "model/links.h"
#include "model/named_ranges.h"
#include "model/record_bytes.h"

namespace {

constexpr int16_t kFirstSwappedAlignment = 3;
// A size stored the other way round reads as a multiple of 256.
bool size_swapped(int16_t size) { return size >= 256 && (size & 0xFF) == 0; }

// Calls `flip` on every record of a reference.
template <typename Flip>
void for_each_record(MemoryRef ref, Flip flip) {
    if (!ref) return;
    int32_t count = GetMemorySize(ref);
    int32_t size = GetMemoryRecSize(ref);
    MemoryUse<uint8_t> records(ref);
    for (int32_t i = 0; i < count; ++i) flip(records + i * size, size);
}

// Swaps a 16-bit length and answers it in host order (direction 1: memory to file).
int16_t swap_length(uint8_t* p, int16_t direction) {
    int16_t host = load_i16(p);
    swap_bytes_at(p, 2);
    return direction == 0 ? load_i16(p) : host;
}

template <typename... Offsets>
void flip_words_at(uint8_t* record, Offsets... offsets) {
    (reverse_word_at<uint16_t>(record + offsets), ...);
}

}  // namespace

void ByteFlipShorts(void* words, int32_t count) {
    auto* bytes = static_cast<uint8_t*>(words);
    for (int32_t i = 0; i < count; ++i) swap_bytes_at(bytes + 2 * i, 2);
}

void ByteFlipFormulaShort(uint8_t* operand) { swap_bytes_at(operand, 2); }

void ByteFlipShortsRef(MemoryRef ref) {
    for_each_record(ref, [](uint8_t* record, int32_t size) { ByteFlipShorts(record, size / 2); });
}

void ByteFlipRangeRef(MemoryRef ref) {
    for_each_record(ref, [](uint8_t* record, int32_t) { ByteFlipShorts(record + kNamedRangeNameSize, 4); });
}

void ByteFlipFileRef(MemoryRef ref) {
    for_each_record(ref, [](uint8_t* record, int32_t) {
        swap_bytes_at(record, 2);
        swap_bytes_at(record + kLinkSpecOffset, 2);
        swap_bytes_at(record + kLinkSpecOffset + 2, 4);
    });
}

void ByteFlipHeaderRef(MemoryRef ref) {
    for_each_record(ref, [](uint8_t* record, int32_t) {
        flip_words_at(record, kHeaderPartAlignment, kHeaderPartFont, kHeaderPartFontSize);
    });
}

void verifyHeaderRef(MemoryRef ref) {
    for_each_record(ref, [](uint8_t* record, int32_t size) {
        if (size < kHeaderPartSize) return;
        if (load_i16(record) >= kFirstSwappedAlignment) swap_bytes_at(record, 2);
        // Anything but right or centre is left; kept as such, it reads the same after every save.
        if (int16_t alignment = load_i16(record); alignment != -1 && alignment != 1) store_i16(record, 0);
        if (size_swapped(load_i16(record + 4))) swap_bytes_at(record + 4, 2);
    });
}

void ByteFlipCellFData(uint8_t* format) {
    flip_words_at(format, kFmtId, kFmtFont, kFmtBorderStyles);
    swap_bytes_at(format + kFmtBorderColours, 4);
    flip_words_at(format, kFmtExtent, kFmtBodyLength, kFmtStyleLength, kFmtResultType);
}

void ByteFlipCellFRef(MemoryRef ref) {
    for_each_record(ref, [](uint8_t* record, int32_t) { ByteFlipCellFData(record); });
}

void ByteFlipChartLabelFormat(uint8_t* format) { flip_words_at(format, 0, 32, 34, 36, 38); }

void ByteFlipTextObject(pf::Handle data, int16_t direction) {
    if (!data) return;
    int32_t size = pf::get_handle_size(data);
    auto* bytes = reinterpret_cast<uint8_t*>(*data);
    if (size < 2) return;
    int16_t text = swap_length(bytes, direction);
    if (text < 0 || 2 + text + 2 > size) return;
    int16_t style = swap_length(bytes + 2 + text, direction);
    if (style > 0 && 4 + text + style <= size) ByteSwapStyle(bytes + 4 + text, style, direction);
}

// 'styl' runs: i16 count, then per run i32 start, i16 height, i16 ascent,
// i16 font, u8 face, u8 filler, i16 size, three u16 colour components.
int16_t ByteSwapStyle(uint8_t* style, int32_t length, int16_t direction) {
    if (!style || length < 2) return pf::kParamErr;
    int16_t count = load_i16(style);
    if (direction == 0) count = int16_t(swap16(uint16_t(count)));
    if (count < 0 || 2 + int32_t(count) * kRunEntrySize > length) return pf::kParamErr;
    swap_bytes_at(style, 2);
    for (int16_t i = 0; i < count; ++i) {
        uint8_t* run = style + 2 + i * kRunEntrySize;
        swap_bytes_at(run + kRunStart, 4);
        flip_words_at(run, kRunHeight, kRunAscent, kRunFont, kRunFontSize, kRunColour, kRunColour + 2, kRunColour + 4);
    }
    return 0;
}
