#include "excel/biff_stream.h"

#include <cstring>

namespace {

constexpr size_t kRecordHeaderSize = 4;
constexpr size_t kMaxRecordLength = 8224;  // the longest body BIFF8 allows
constexpr uint8_t kOptionWide = 0x01;
constexpr uint8_t kOptionFarEast = 0x04;
constexpr uint8_t kOptionRuns = 0x08;
constexpr size_t kRunSize = 4;

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

void excel_damaged(const char* what) { throw ExcelDamaged(what); }

double ByteCursor::f64() {
    const uint8_t* p = bytes(8);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool RecordWalk::read(BiffRecord& record) {
    const std::vector<uint8_t>& bytes = *stream;
    if (next >= bytes.size()) return false;
    if (bytes.size() - next < kRecordHeaderSize) excel_damaged("record header cut");
    uint16_t type = le16(bytes.data() + next);
    uint16_t length = le16(bytes.data() + next + 2);
    if (length > kMaxRecordLength || bytes.size() - next - kRecordHeaderSize < length) excel_damaged("record cut");
    record.type = type;
    record.offset = next;
    record.body = ByteCursor{bytes.data() + next + kRecordHeaderSize, length, 0};
    next += kRecordHeaderSize + length;
    return true;
}

std::vector<ByteCursor> RecordWalk::continuations() {
    std::vector<ByteCursor> found;
    RecordWalk probe = *this;
    BiffRecord record;
    while (probe.read(record) && record.type == kRecContinue) {
        found.push_back(record.body);
        next = probe.next;
    }
    return found;
}

// ---- Texts ------------------------------------------------------------------

namespace {

// Characters of one option kind, from one cursor, at most `count`.
size_t take_characters(ByteCursor& cursor, bool wide, size_t count, std::string& out) {
    size_t width = wide ? 2 : 1;
    size_t fit = cursor.left() / width;
    size_t taken = count < fit ? count : fit;
    const uint8_t* p = cursor.bytes(taken * width);
    out.append(reinterpret_cast<const char*>(p), taken * width);
    return taken;
}

// Narrow bytes widened to UTF-16LE, for a text whose later part is wide.
std::string widen(const std::string& narrow) {
    std::string wide;
    wide.reserve(narrow.size() * 2);
    for (char c : narrow) {
        wide.push_back(c);
        wide.push_back('\0');
    }
    return wide;
}

void append_part(RawText& text, bool wide, const std::string& part) {
    if (wide && !text.wide) {
        text.bytes = widen(text.bytes);
        text.wide = true;
    }
    text.bytes += wide || !text.wide ? part : widen(part);
}

}  // namespace

namespace {

// A string that must lie within the cursor's record, read as `read` reads it.
RawText string_within(ByteCursor& cursor, bool short_length, RawText (SegmentedCursor::*read)(bool)) {
    SegmentedCursor segmented{{cursor}, 0};
    RawText text = (segmented.*read)(short_length);
    cursor = segmented.segments[0];
    if (segmented.index != 0) excel_damaged("string outside its record");
    return text;
}

}  // namespace

RawText read_unicode_string(ByteCursor& cursor, bool short_length) {
    return string_within(cursor, short_length, &SegmentedCursor::unicode_string);
}

RawText read_byte_string(ByteCursor& cursor, bool short_length) {
    return string_within(cursor, short_length, &SegmentedCursor::byte_string);
}

bool SegmentedCursor::advance() {
    while (segments[index].left() == 0) {
        if (index + 1 >= segments.size()) return false;
        ++index;
    }
    return true;
}

uint8_t SegmentedCursor::u8() {
    if (!advance()) excel_damaged("string table cut");
    return current().u8();
}

uint16_t SegmentedCursor::u16() {
    if (!advance()) excel_damaged("string table cut");
    return current().u16();  // fields are never split between records
}

uint32_t SegmentedCursor::u32() {
    if (!advance()) excel_damaged("string table cut");
    return current().u32();
}

void SegmentedCursor::skip(size_t count) {
    while (count > 0) {
        if (!advance()) excel_damaged("string table cut");
        size_t here = count < current().left() ? count : current().left();
        current().skip(here);
        count -= here;
    }
}

RawText SegmentedCursor::unicode_string(bool short_length) {
    size_t count = short_length ? u8() : u16();
    uint8_t options = u8();
    size_t runs = options & kOptionRuns ? u16() : 0;
    size_t far_east = options & kOptionFarEast ? u32() : 0;
    RawText text = characters(count, options & kOptionWide);
    skip(runs * kRunSize);
    skip(far_east);
    return text;
}

RawText SegmentedCursor::characters(size_t count, bool wide) {
    RawText text;
    text.wide = wide;
    size_t done = 0;
    while (done < count) {
        if (current().left() == 0) {
            // The characters go on in the next record, after an option byte of their own.
            if (index + 1 >= segments.size()) excel_damaged("string cut");
            ++index;
            wide = current().u8() & kOptionWide;
        }
        std::string part;
        size_t taken = take_characters(current(), wide, count - done, part);
        if (taken == 0) excel_damaged("half a character");
        done += taken;
        append_part(text, wide, part);
    }
    return text;
}

RawText SegmentedCursor::text_object_characters(size_t count) {
    if (count == 0) return RawText{};
    return characters(count, u8() & kOptionWide);
}

RawText SegmentedCursor::byte_string(bool short_length) {
    size_t count = short_length ? u8() : u16();
    RawText text;
    text.bytes.reserve(count);
    while (text.bytes.size() < count) {
        if (!advance()) excel_damaged("string cut");
        take_characters(current(), false, count - text.bytes.size(), text.bytes);
    }
    return text;
}
