// Reading the BIFF record stream of an Excel workbook: a bounds-checked
// little-endian cursor over one record's bytes, the walk over the records of
// a stream, and texts that run on into CONTINUE records. Every read past the
// bytes at hand throws ExcelDamaged, so a damaged stream is refused as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct ExcelDamaged : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void excel_damaged(const char* what);

// BIFF versions, as the BOF record gives them.
enum BiffVersion : int { kBiff4 = 4, kBiff5 = 5, kBiff8 = 8 };

// Record numbers read by the filter.
enum BiffRecordType : uint16_t {
    kRecFormula = 0x0006,
    kRecEof = 0x000A,
    kRecProtect = 0x0012,
    kRecFilePass = 0x002F,
    kRecFont = 0x0031,
    kRecPalette = 0x0092,
    kRecContinue = 0x003C,
    kRecCodePage = 0x0042,
    kRecDateMode = 0x0022,
    kRecExternSheet = 0x0017,
    kRecName = 0x0018,
    kRecBoundSheet = 0x0085,
    kRecNote = 0x001C,
    kRecObj = 0x005D,
    kRecTxo = 0x01B6,
    kRecColInfo = 0x007D,
    kRecMulRk = 0x00BD,
    kRecMulBlank = 0x00BE,
    kRecRString = 0x00D6,
    kRecXfBiff8 = 0x00E0,
    kRecMergedCells = 0x00E5,
    kRecSst = 0x00FC,
    kRecLabelSst = 0x00FD,
    kRecSupBook = 0x01AE,
    kRecExternName = 0x0023,
    kRecBlank = 0x0201,
    kRecNumber = 0x0203,
    kRecLabel = 0x0204,
    kRecBoolErr = 0x0205,
    kRecString = 0x0207,
    kRecRow = 0x0208,
    kRecRk = 0x027E,
    kRecFormulaBiff4 = 0x0406,
    kRecShrFmla = 0x04BC,
    kRecArray = 0x0221,
    kRecTable = 0x0236,
    kRecFormat = 0x041E,
    kRecXfBiff4 = 0x0443,
    kRecFontBiff4 = 0x0231,
    kRecBof = 0x0809,
    kRecBofBiff4 = 0x0409,
    kRecDefColWidth = 0x0055,
    kRecStandardWidth = 0x0099,
    kRecDefaultRowHeight = 0x0225,
};

// Flag of a ROW record: the height was set by hand rather than following the fonts.
constexpr uint16_t kRowHeightSetByHand = 0x0040;

// A cursor over bytes that it does not own.
struct ByteCursor {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t at = 0;

    size_t left() const { return size - at; }
    void need(size_t count) const {
        if (count > left()) excel_damaged("record too short");
    }
    void skip(size_t count) {
        need(count);
        at += count;
    }
    uint8_t u8() {
        need(1);
        return data[at++];
    }
    uint16_t u16() {
        need(2);
        uint16_t value = uint16_t(data[at] | data[at + 1] << 8);
        at += 2;
        return value;
    }
    int16_t i16() { return int16_t(u16()); }
    uint32_t u32() {
        need(4);
        uint32_t value = uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
                         uint32_t(data[at + 3]) << 24;
        at += 4;
        return value;
    }
    double f64();
    const uint8_t* bytes(size_t count) {
        need(count);
        const uint8_t* start = data + at;
        at += count;
        return start;
    }
};

// One record: its number and its bytes, without the CONTINUE records after it.
struct BiffRecord {
    uint16_t type = 0;
    size_t offset = 0;  // of the record's header in the stream
    ByteCursor body;
};

// Walks the records of a stream from a position.
struct RecordWalk {
    const std::vector<uint8_t>* stream;
    size_t next;

    // False at the end of the stream; a header or body past the end throws.
    bool read(BiffRecord& record);
    // The bodies of the CONTINUE records that follow, consumed.
    std::vector<ByteCursor> continuations();
};

// The bytes of a text as a record gives them: one byte per character (a code
// page's bytes) or UTF-16 units, converted later by excel_text.h.
struct RawText {
    bool wide = false;
    std::string bytes;  // UTF-16LE when wide
};

// Reads a text of `count` characters starting at the cursor; with
// continuations, the text may go on in the next CONTINUE record, which begins
// with a new option byte. `segments` and `index` track where reading is.
struct SegmentedCursor {
    std::vector<ByteCursor> segments;
    size_t index = 0;

    ByteCursor& current() { return segments[index]; }
    // Moves to the next segment when the current one is used up.
    bool advance();
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    void skip(size_t count);
    // A BIFF8 unicode string: u16 (or u8) length, options, runs and Far-East data.
    RawText unicode_string(bool short_length);
    // A BIFF5 byte string with an 8- or 16-bit length; its bytes go on in the
    // next record as they are, without an option byte.
    RawText byte_string(bool short_length);
    // The `count` characters of a text object (a comment): an option byte,
    // then the characters, each record they go on in beginning with its own.
    RawText text_object_characters(size_t count);

private:
    // `count` characters, one or two bytes each as `wide` and each further
    // record's option byte say.
    RawText characters(size_t count, bool wide);
};

// A BIFF8 string held within one record.
RawText read_unicode_string(ByteCursor& cursor, bool short_length);
// A BIFF5 byte string held within one record.
RawText read_byte_string(ByteCursor& cursor, bool short_length);
