// Reading one layer block of the previous generation (versions 768..1024),
// converted into the current records as it is read: 16-byte formats become
// 32-byte ones, old cells, column and row formats, links, header texts and
// drawing objects are rebuilt. Every length is checked against the block
// before it is used; a layer that fails is taken out again with all it read.
#include <cstring>
#include <vector>

#include "files/files_services.h"
#include "files/big_endian.h"
#include "files/document_file.h"
#include "files/document_reading.h"
#include "files/layer_header.h"
#include "files/link_lists.h"
#include "files/older_layers.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/header_part_record.h"
#include "model/layer_use.h"
#include "model/links.h"
#include "model/workbook.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kOldHeaderSize = 167;
constexpr int kOldNameSize = 30;
constexpr int kOldHeaderRest = 47;
// Header, print area, flag byte, window flag, window bounds and one more rectangle.
constexpr int kOldFixedSize = kOldHeaderSize + 8 + 1 + 4 + 8 + 8;
constexpr int kOldCellHeadSize = 18;
constexpr int kOldLinkSize = 322;
constexpr int kOldLinkNameOffset = 2;
constexpr int kOldLinkPathOffset = 66;
constexpr int kLinkNameSize = 64;
constexpr int kLinkPathSize = 256;
constexpr int kLongestCell = 32767;
constexpr uint8_t kNoWidth = 255;
constexpr int kColumnWidthScale = 4;
constexpr uint32_t kLayerFromFlagByte = 0x100;
constexpr uint16_t kPrintOptionFromFirstByte = 0x40;
constexpr uint16_t kPrintOptionFromSecondByte = 0x80;
// The layer flags set by the seven flag bytes at offset 70 of the old header.
constexpr uint32_t kOldFlagBytes[] = {0x2, 0x1, 0x20, 0x8, 0x4, 0x400, 0x200};
// Old flag bits of byte 8 and where they go: bits of new byte 8, then of byte 9.
constexpr uint8_t kOldAlignBits[] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20};
constexpr uint8_t kNewAlignBits[] = {0x01, 0x02, 0x08, 0x10, 0x40, 0x80};
constexpr uint8_t kUnitFormatFirst = '2';
constexpr uint8_t kUnitFormatLast = '@';
constexpr uint8_t kOldFixedFormat = 'F';
constexpr const char* kUnitLabels[] = {"mm", "cm", "m",  "dm", "km", "mg", "cg", "g",
                                       "dg", "kg", "ml", "cl", "l",  "dl", "kl"};

CellRange cell_range(const pf::Rect& r) { return CellRange{{r.top, r.left}, {r.bottom, r.right}}; }

// ---- The fixed part ------------------------------------------------------------

void get_old_header(pf::ByteReader& in, SpreadSheet* sheet) {
    in.i16();  // the stored id: the layer takes its position in the workbook
    std::memset(sheet->name, 0, sizeof sheet->name);
    in.copy(sheet->name, kOldNameSize);
    clamp_pstring(sheet->name, kOldNameSize);
    sheet->print_options = 0;
    if (in.u8()) sheet->print_options |= kPrintOptionFromFirstByte;
    if (in.u8()) sheet->print_options |= kPrintOptionFromSecondByte;
    sheet->active_cell.v = in.i16(), sheet->active_cell.h = in.i16();
    sheet->selection = cell_range(in.rect());
    sheet->v_divider = in.i16(), sheet->h_divider = in.i16();
    sheet->printable_rect = in.rect();
    in.skip(4);
    for (int16_t& margin : sheet->margins) margin = in.i16();
    uint32_t flags = 0;
    for (uint32_t bit : kOldFlagBytes)
        if (in.u8()) flags |= bit;
    sheet->flags = flags | kLayerFormatStale;
    in.skip(1);
    sheet->print_title_rows[0] = in.i16(), sheet->print_title_rows[1] = in.i16();
    sheet->print_title_columns[0] = in.i16(), sheet->print_title_columns[1] = in.i16();
    sheet->first_page_number = in.i16();
    in.copy(sheet->page_setup, sizeof sheet->page_setup);
    in.skip(kOldHeaderRest);
}

int16_t read_old_fixed_part(SpreadSheet* sheet, int32_t* counter, int32_t block_end) {
    uint8_t bytes[kOldFixedSize];
    if (int16_t error = read_fixed(kOldFixedSize, counter, block_end, bytes)) return error;
    pf::ByteReader in{{bytes, sizeof bytes}};
    get_old_header(in, sheet);
    sheet->print_area = cell_range(in.rect());
    if (in.u8()) sheet->flags |= kLayerFromFlagByte;
    // The window flag: windows are made later for the layers that had one.
    sheet->window = in.u32() ? kWindowWanted : nullptr;
    sheet->pane_rects[0] = in.rect();
    in.rect();
    return sheet_header_sound(sheet) ? 0 : damaged();
}

// ---- Cells ---------------------------------------------------------------------

// The label an old format code stands for, after making the code General.
const char* convert_format_code(uint8_t* format) {
    uint8_t code = format[kFmtCode];
    bool unit = code >= kUnitFormatFirst && code <= kUnitFormatLast;
    if (!unit && code != kOldFixedFormat) return "";
    format[kFmtCode] = kFormatGeneral;
    format[kFmtFlagsB] |= kFlagBFixedDecimals;
    return unit ? kUnitLabels[code - kUnitFormatFirst] : "";
}

// The body of an old cell in the current order, with the body length and the
// result type it takes; false for an unknown type or parts that do not fit.
bool convert_cell_body(uint8_t type, std::span<const uint8_t> old, Bytes& body, uint8_t* format) {
    int16_t body_length = int16_t(old.size());
    int16_t result_type = kResultNone;
    if (type == kCellConstant) {
        if (old.size() < size_t(kNumberSlotSize)) return false;
        result_type = kResultNumber;
    } else if (type == kCellFormula) {
        if (old.size() < 4) return false;
        body_length = int16_t(load_be16(old.data()));
        if (body_length < 0 || old.size() < size_t(4 + body_length)) return false;
        result_type = int16_t(load_be16(old.data() + 2 + body_length));
        body.assign(old.begin() + 2, old.begin() + 2 + body_length);
        body.insert(body.end(), old.begin() + 4 + body_length, old.end());
    } else if (type == kCellFormatOnly) {
        body_length = 0;
        old = {};
    } else if (type != kCellText) {
        return false;
    }
    if (type != kCellFormula) body.assign(old.begin(), old.end());
    store_i16(format + kFmtBodyLength, body_length);
    store_i16(format + kFmtResultType, result_type);
    return true;
}

// One old cell appended to `out` as a current cell in file byte order.
bool convert_cell(pf::ByteReader& in, Bytes& out) {
    auto head = in.take(kOldCellHeadSize);
    if (!in.ok) return false;
    int16_t length = int16_t(load_be16(head.data() + kOldFormatSize));
    if (length < kOldCellHeadSize || size_t(length - kOldCellHeadSize) > in.left()) return false;
    auto old_body = in.take(size_t(length - kOldCellHeadSize));
    uint8_t format[kCellHeaderSize];
    convert_cellformat(head.data(), format);
    const char* label = convert_format_code(format);
    format[kFmtLabelLength] = uint8_t(std::strlen(label));
    Bytes body;
    if (!convert_cell_body(format[kFmtCellType], old_body, body, format)) return false;
    size_t cell_length = kCellHeaderSize + format[kFmtLabelLength] + body.size();
    if (cell_length > size_t(kLongestCell)) return false;
    set_format_extent(format, int16_t(cell_length));
    ByteFlipCellFData(format);
    out.insert(out.end(), format, format + kCellHeaderSize);
    out.insert(out.end(), label, label + format[kFmtLabelLength]);
    out.insert(out.end(), body.begin(), body.end());
    return true;
}

// Old row records into current ones in file byte order; a row without cells is
// left out. False when a length does not fit.
bool convert_celldata(pf::ByteReader in, Bytes& out) {
    while (!in.at_end()) {
        int16_t row = in.i16();
        uint32_t length = in.u32();
        if (!in.ok || length < uint32_t(kRowHeaderSize) || length - kRowHeaderSize > in.left()) return false;
        pf::ByteReader cells{in.take(length - kRowHeaderSize)};
        size_t start = out.size();
        out.resize(start + kRowHeaderSize);
        while (!cells.at_end())
            if (!convert_cell(cells, out)) return false;
        if (out.size() == start + kRowHeaderSize) {
            out.resize(start);
            continue;
        }
        store_be16(out.data() + start, row);
        uint32_t new_length = uint32_t(out.size() - start);
        store_be32(out.data() + start + 2, new_length);
    }
    return true;
}

// A block of raw bytes (null when absent) as a reader over them.
struct RawBlock {
    MemoryRef ref = nullptr;
    ~RawBlock() {
        if (ref) UnuseMemory(ref), DisposeMemory(ref);
    }
    pf::ByteReader reader() {
        if (!ref) return pf::ByteReader{};
        return pf::ByteReader{{static_cast<const uint8_t*>(UseMemory(ref)), size_t(GetByteSize(ref))}};
    }
};

int16_t read_raw_block(RawBlock& block, int32_t* counter, uint32_t id) {
    return Read_Ref(&block.ref, counter, &mem_globals, 1, id);
}

// Records built in host order, installed as a new block of the layer.
MemoryRef block_of(const Bytes& records, int32_t rec_size, uint32_t id) {
    if (records.empty()) return nullptr;
    MemoryRef ref = Bytes2Memory(&mem_globals, records.data(), rec_size, int32_t(records.size()) / rec_size);
    SetMemoryRefID(ref, id);
    return ref;
}

int16_t read_old_cells(SpreadSheet* sheet, int32_t* counter) {
    RawBlock old;
    if (int16_t error = read_raw_block(old, counter, sheet->memory_id)) return error;
    Bytes converted;
    if (!convert_celldata(old.reader(), converted)) return damaged();
    return install_read_cells(sheet, block_of(converted, 1, sheet->memory_id));
}

// ---- Column and row formats -------------------------------------------------------

// Old 16-byte records (the last one completed with zeros) as records of
// `rec_size` bytes whose extent is `scale` times the old width byte.
int16_t read_old_formats(MemoryRef* field, int32_t* counter, uint32_t id, int32_t rec_size, int scale) {
    RawBlock old;
    if (int16_t error = read_raw_block(old, counter, id)) return error;
    pf::ByteReader in = old.reader();
    Bytes records;
    while (!in.at_end()) {
        uint8_t source[kOldFormatSize] = {};
        auto part = in.take(std::min(in.left(), size_t(kOldFormatSize)));
        std::memcpy(source, part.data(), part.size());
        size_t at = records.size();
        records.resize(at + size_t(rec_size));
        convert_cellformat(source, records.data() + at);
        uint8_t width = source[kFmtFlagsA];
        set_format_extent(records.data() + at, width == kNoWidth ? int16_t(-1) : int16_t(width * scale));
    }
    DisposeNonNilMemory(*field);
    *field = block_of(records, rec_size, id);
    return 0;
}

int16_t read_old_column_and_row_formats(SpreadSheet* sheet, int32_t* counter) {
    uint32_t id = sheet->memory_id;
    int16_t error = read_old_formats(&sheet->column_formats, counter, id, kColumnFormatSize, kColumnWidthScale);
    if (!error) error = read_old_formats(&sheet->row_formats, counter, id, kRowFormatSize, 1);
    if (error) return error;
    if (!ids_in_grid(sheet->column_formats, kFmtId) || !ids_in_grid(sheet->row_formats, kFmtId)) return damaged();
    VerifyColumnFormat(&sheet->column_formats);
    VerifyRowFormat(&sheet->row_formats);
    return 0;
}

// ---- Print record, links and header texts ------------------------------------------

int16_t read_old_links(SpreadSheet* sheet, int32_t* counter) {
    RawBlock old;
    if (int16_t error = read_raw_block(old, counter, sheet->memory_id)) return error;
    pf::ByteReader in = old.reader();
    Bytes records;
    while (!in.at_end()) {
        uint8_t source[kOldLinkSize] = {};
        auto part = in.take(std::min(in.left(), size_t(kOldLinkSize)));
        std::memcpy(source, part.data(), part.size());
        size_t at = records.size();
        records.resize(at + kLinkRecordSize);
        uint8_t* link = records.data() + at;
        store_i16(link, int16_t(load_be16(source)));
        std::memcpy(link + kLinkNameOffset, source + kOldLinkNameOffset, kLinkNameSize);
        std::memcpy(link + kLinkPathOffset, source + kOldLinkPathOffset, kLinkPathSize);
        clamp_pstring(link + kLinkNameOffset, kLinkNameSize);
        clamp_pstring(link + kLinkPathOffset, kLinkPathSize);
    }
    DisposeNonNilMemory(sheet->links);
    sheet->links = block_of(records, kLinkRecordSize, sheet->memory_id);
    return 0;
}

void convert_header_texts(MemoryRef parts) {
    if (!parts) return;
    clamp_records_text(parts, kHeaderPartTextOffset, kHeaderPartTextSize);
    int32_t count = GetMemorySize(parts);
    MemoryUse<uint8_t> records(parts);
    for (int32_t i = 0; i < count; ++i) {
        uint8_t* text = records + i * kHeaderPartSize + kHeaderPartTextOffset;
        unsigned char rebuilt[kHeaderPartTextSize];
        convert_headertext(text, rebuilt);
        std::memcpy(text, rebuilt, sizeof rebuilt);
    }
}

// The old print record's paper and orientation become the layer's page
// format; a record that gives none leaves the layer's default.
int16_t read_old_print_record(SpreadSheet* sheet, int32_t* counter) {
    pf::Handle old = nullptr;
    if (int16_t error = ReadHandle(&old, counter)) return error;
    if (!old) return 0;
    pf::h_lock(old);
    PrintRecord format =
        files_services.page_format_of_old_record(reinterpret_cast<const uint8_t*>(*old), pf::get_handle_size(old));
    pf::dispose_handle(old);
    if (!format) return 0;
    if (sheet->page_format) pf::dispose_handle(sheet->page_format);
    sheet->page_format = format;
    return 0;
}

int16_t read_old_print_and_texts(SpreadSheet* sheet, int32_t* counter) {
    uint32_t id = sheet->memory_id;
    int16_t error = read_old_print_record(sheet, counter);
    if (!error) error = read_old_links(sheet, counter);
    if (!error) error = read_header_parts(&sheet->header, counter, id);
    if (!error) error = read_header_parts(&sheet->footer, counter, id);
    if (!error) error = read_names(sheet, counter);
    if (!error) error = skip_ref_block(counter);
    if (error) return error;
    convert_header_texts(sheet->header);
    convert_header_texts(sheet->footer);
    return 0;
}

// ---- Drawing objects -------------------------------------------------------------

int16_t read_old_objects(SpreadSheet* sheet, int32_t* counter, int32_t block_end) {
    MemoryRef old = nullptr;
    if (int16_t error = read_raw_bytes(&old, block_end - *counter, counter, &mem_globals, sheet->memory_id))
        return error;
    if (!old) return 0;
    MemoryUse<const uint8_t> bytes(old);
    Bytes stored;
    bool sound = convert_old_objects({bytes.get(), size_t(GetByteSize(old))}, &sheet->next_object_id, stored);
    bytes.release();
    DisposeMemory(old);
    if (!sound) return damaged();
    DisposeNonNilMemory(sheet->stored_objects);
    sheet->stored_objects = block_of(stored, 1, sheet->memory_id);
    return 0;
}

int16_t read_old_layer_contents(MemoryRef layer, int32_t* counter, int32_t block_end, int16_t) {
    LayerUse sheet(layer);
    int16_t error = read_old_fixed_part(sheet, counter, block_end);
    if (!error) error = read_old_cells(sheet, counter);
    if (!error) error = read_old_column_and_row_formats(sheet, counter);
    if (!error) error = read_page_breaks(sheet, counter);
    if (!error) error = read_old_print_and_texts(sheet, counter);
    if (!error) error = read_old_objects(sheet, counter, block_end);
    return error;
}

void convert_flag_bits(const uint8_t* old_format, uint8_t* format) {
    uint8_t old = old_format[kFmtAlign];
    for (size_t i = 0; i < sizeof kOldAlignBits; ++i)
        if (old & kOldAlignBits[i]) format[kFmtAlign] |= kNewAlignBits[i];
    if (old & 0x40) format[kFmtFlagsA] |= 0x01;
    if (old & 0x80) format[kFmtFlagsA] |= 0x02;
}

}  // namespace

void convert_cellformat(const uint8_t* old, uint8_t* format) {
    std::memset(format, 0, kCellFormatSize);
    set_format_id(format, int16_t(load_be16(old)));
    store_u16(format + kFmtFont, load_be16(old + kFmtFont));
    std::memcpy(format + kFmtSize, old + kFmtSize, 4);
    convert_flag_bits(old, format);
    format[kFmtCellType] = old[9];
    format[kFmtTextColour] = old[10] & 0x0F;
    format[kFmtPattern] = old[11];
    format[kFmtPatternFore] = old[14];
    format[kFmtPatternBack] = old[15];
    store_u16(format + kFmtBorderStyles, load_be16(old + 12));
}

namespace {

constexpr const char* kFieldCodes[] = {"^t", "^f", "^d", "^p", "^l", "^n"};
constexpr uint8_t kTab = 9;
constexpr uint8_t kDelete = 127;

// Appends the bytes when all of them fit in the text.
void append_whole(unsigned char* text, const char* bytes) {
    size_t n = std::strlen(bytes);
    if (text[0] + n > size_t(kHeaderPartTextSize - 1)) return;
    std::memcpy(text + 1 + text[0], bytes, n);
    text[0] = uint8_t(text[0] + n);
}

// The field code of a run of `run` zero bytes; longer runs stand for nothing.
void add_symboltext(unsigned char* text, int run) {
    if (run >= 1 && run <= int(std::size(kFieldCodes))) append_whole(text, kFieldCodes[run - 1]);
}

}  // namespace

void convert_headertext(const unsigned char* old_text, unsigned char* text) {
    std::memset(text, 0, kHeaderPartTextSize);
    int run = 0;
    int length = std::min<int>(old_text[0], kHeaderPartTextSize - 1);
    for (int i = 1; i <= length; ++i) {
        uint8_t byte = old_text[i];
        if (byte == 0) {
            ++run;
            continue;
        }
        add_symboltext(text, run);
        run = 0;
        if (byte == kTab || byte == kDelete) continue;
        const char kept[2] = {char(byte), 0};
        append_whole(text, kept);
    }
    add_symboltext(text, run);
}

MemoryRef ReadQ3Sheet(int32_t* counter, int16_t slot_format, int16_t version, int32_t file_length,
                      MemoryRef workbook) {
    MemoryRef layer =
        read_layer_block(counter, slot_format, version, file_length, workbook, 4 + kOldFixedSize, read_old_layer_contents);
    if (layer) CleanFileData(workbook);
    return layer;
}
