// Documents of any current-generation version written byte by byte, as the
// layout fixes them, independently of the writer under test.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "files/file_framing.h"
#include "tests/files/sample_workbook.h"

namespace built {

using Bytes = std::vector<uint8_t>;

struct Out {
    Bytes bytes;
    void u8(uint8_t v) { bytes.push_back(v); }
    void i16(int v) { u8(uint8_t(uint16_t(v) >> 8)), u8(uint8_t(v)); }
    void i32(int64_t v) { i16(int(uint32_t(v) >> 16)), i16(int(uint32_t(v) & 0xFFFF)); }
    void raw(const Bytes& b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
    void pstr(const std::string& s, size_t width) {
        Bytes field(width, 0);
        sample::pstr_into(field.data(), s);
        raw(field);
    }
    void zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
    void block(const Bytes& b) { i32(int64_t(b.size())), raw(b); }
};

// One run of bytes after another.
inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A block's bytes (empty for none).
inline Bytes block_bytes(MemoryRef block) {
    if (!block) return {};
    auto* start = static_cast<const uint8_t*>(UseMemory(block));
    Bytes bytes(start, start + GetByteSize(block));
    UnuseMemory(block);
    return bytes;
}

// A cell block in file order, from host-order row records.
inline Bytes file_cells(const Bytes& host) {
    if (host.empty()) return {};
    MemoryRef block = Bytes2Memory(&mem_globals, host.data(), 1, int32_t(host.size()));
    ByteFlipCells(block, 1);
    Bytes out(static_cast<uint8_t*>(UseMemory(block)), static_cast<uint8_t*>(UseMemory(block)) + host.size());
    UnuseMemory(block), UnuseMemory(block);
    DisposeMemory(block);
    return out;
}

struct Layer {
    std::string name = "Sheet";
    Bytes cells;                // host order
    int16_t column = 3;         // one column format for this column
    int16_t column_width = 90;
    std::string column_name = "Wide";
    Bytes header_part;          // one header part, as it should be stored (raw)
    Bytes page_format;          // the stored page format (1028 on)
    Bytes print_settings = {9, 9};  // the stored print settings (1028 on)
    Bytes objects;              // drawing objects as stored, up to the block's end
    bool with_window = false;   // shown in a window when saved
};

// One drawing object as stored: its record, picture, data and points, then
// the chart flag and, for a chart, the chart part and its series formats.
inline Bytes drawing_object(const char kind[4], const Bytes& picture, const Bytes& data, const Bytes& points,
                            bool with_chart) {
    Out o;
    Bytes record(88, 0);
    std::memcpy(record.data(), kind, 4);
    for (size_t i = 8; i < record.size(); ++i) record[i] = uint8_t(i * 7);
    o.raw(record);
    o.block(picture), o.block(data), o.block(points);
    o.i32(with_chart ? 1 : 0);
    if (!with_chart) return o.bytes;
    Bytes chart(722);
    for (size_t i = 0; i < chart.size(); ++i) chart[i] = uint8_t(i * 13 + 1);
    o.raw(chart);
    o.block(Bytes(2 * 12, 5));
    return o.bytes;
}

inline Bytes chart_object() { return drawing_object("pie ", {}, {1, 2}, {}, true); }

inline Bytes format_part(int16_t id, int16_t extent) {
    Bytes f(kCellFormatSize, 0);
    GetDefaultFormat(f.data());
    set_format_id(f.data(), id);
    set_format_extent(f.data(), extent);
    ByteFlipCellFData(f.data());
    return f;
}

inline Bytes layer_block(int version, const Layer& layer) {
    Out o;
    o.i16(0);
    o.pstr(layer.name, 32);
    o.i16(2), o.i16(1);                              // active cell
    o.i16(2), o.i16(1), o.i16(4), o.i16(3);          // selection
    o.i16(0), o.i16(0);                              // dividers
    o.i16(-1), o.i16(-1), o.i16(-1), o.i16(-1);      // print area
    o.i16(-1), o.i16(-1), o.i16(-1), o.i16(-1);      // print titles
    o.i32(0x3 | 0x8000 | 0x4000);                    // flags; the active and printing bits must not survive
    for (int i = 0; i < 8; ++i) o.i16(-1), o.i16(-1), o.i16(-1), o.i16(-1);
    if (version >= 1027) o.i16(0), o.i16(0), o.i16(0), o.i16(0), o.i32(0x40);
    o.i32(layer.with_window ? 7 : 0);                // window flag
    o.i16(10), o.i16(20), o.i16(300), o.i16(400);
    o.block(file_cells(layer.cells));
    Bytes column = format_part(layer.column, layer.column_width);
    if (version >= 1029) {
        Bytes second(32, 0);
        sample::pstr_into(second.data(), layer.column_name);
        column.insert(column.end(), second.begin(), second.end());
    }
    o.block(column);
    o.block({});                                     // row formats
    o.block({0, 12});                                // one row page break, at row 12
    o.block({});                                     // column page breaks
    o.block({});                                     // links
    o.block({});                                     // footer
    o.block(layer.header_part);
    o.block({});                                     // names
    o.block({1, 2, 3});                              // the older print record, dropped
    if (version >= 1028) o.block(layer.page_format), o.block(layer.print_settings);
    o.i16(36), o.i16(36), o.i16(36), o.i16(36);
    o.zeros(8 + 32);
    o.i16(1);
    if (version >= 1026) o.raw(format_part(-1, 77)), o.raw(format_part(-1, 17));
    if (version >= 1028) o.pstr("Geneva", 64), o.i16(10);
    o.raw(layer.objects);
    Out framed;
    framed.i32(int64_t(o.bytes.size()) + 4);
    framed.raw(o.bytes);
    return framed.bytes;
}

inline Bytes document(int version, const std::vector<Layer>& layers, uint16_t work_flags = 0,
                      const std::string& clear_password = "", int16_t slot_format = 8) {
    Out o;
    o.i16(-1), o.i16(version), o.i32(0);
    o.pstr("Geneva", 64);
    o.i16(12), o.i16(slot_format), o.i32(0), o.i32(0);
    Bytes password(16, 0);
    sample::pstr_into(password.data(), clear_password);
    encode_password(password.data());
    o.raw(password);
    o.i16(work_flags);
    for (const Layer& layer : layers) o.raw(layer_block(version, layer));
    return o.bytes;
}

// A layer holding one number, one text and one formula.
inline Layer simple_layer(const std::string& name) {
    Layer layer;
    layer.name = name;
    sample::append_row(layer.cells, 2, {sample::constant_cell(1, 12.5, "12.5"), sample::text_cell(2, "hi", 1)});
    sample::append_row(layer.cells, 4, {sample::formula_number_cell(0, sample::worked_example(), 7)});
    return layer;
}

}  // namespace built
