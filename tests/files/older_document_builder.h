// Documents of the previous generation (versions 768..1024) written byte by
// byte from their layout, independently of the reader under test.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "tests/files/document_builder.h"

namespace older {

using built::Bytes;
using built::Out;

// A double as the 10-byte big-endian 80-bit extended value of the old slots.
inline Bytes extended(double value) {
    Out o;
    int exponent = 0;
    double fraction = std::frexp(std::fabs(value), &exponent);
    uint64_t mantissa = value == 0 ? 0 : uint64_t(std::ldexp(fraction, 64));
    int sign_exponent = value == 0 ? 0 : (exponent - 1 + 16383);
    if (std::signbit(value)) sign_exponent |= 0x8000;
    o.i16(sign_exponent);
    o.i32(int64_t(mantissa >> 32)), o.i32(int64_t(mantissa & 0xFFFFFFFF));
    return o.bytes;
}

// An old 16-byte format: column, font, size, code, decimals, face, flags,
// type (or width), text colour, pattern, border word, pattern colours.
inline Bytes format(int16_t column, uint8_t code, uint8_t type_or_width, uint8_t flags = 0) {
    Out o;
    o.i16(column), o.i16(3);
    o.u8(10), o.u8(code), o.u8(2), o.u8(1);
    o.u8(flags), o.u8(type_or_width);
    o.u8(0xF5), o.u8(6);   // text colour in the low four bits, pattern
    o.i16(0x1234);         // border styles
    o.u8(7), o.u8(8);      // pattern colours
    return o.bytes;
}

inline Bytes cell(int16_t column, uint8_t type, uint8_t code, const Bytes& body, uint8_t flags = 0) {
    Out o;
    o.raw(format(column, code, type, flags));
    o.i16(int(18 + body.size()));
    o.raw(body);
    return o.bytes;
}

inline Bytes constant(int16_t column, double value, const std::string& typed, uint8_t code = 'G') {
    Bytes body = extended(value);
    body.insert(body.end(), typed.begin(), typed.end());
    return cell(column, 'C', code, body);
}

inline Bytes text(int16_t column, const std::string& text) { return cell(column, 'T', 'G', Bytes(text.begin(), text.end())); }

// A formula (file order) with a numeric result.
inline Bytes formula(int16_t column, const Bytes& tokens, double result) {
    Out o;
    o.i16(int(tokens.size())), o.raw(tokens), o.i16(-1), o.raw(extended(result));
    return cell(column, 'F', 'G', o.bytes);
}

inline void row(Bytes& store, int16_t number, const std::vector<Bytes>& cells) {
    Out o;
    for (const Bytes& c : cells) o.raw(c);
    Out r;
    r.i16(number), r.i32(int64_t(o.bytes.size()) + 6), r.raw(o.bytes);
    store.insert(store.end(), r.bytes.begin(), r.bytes.end());
}

inline Bytes link(int16_t id, const std::string& name, const std::string& path) {
    Out o;
    o.i16(id), o.pstr(name, 64), o.pstr(path, 256);
    return o.bytes;
}

inline Bytes header_part(int16_t alignment, const Bytes& text) {
    Out o;
    o.i16(alignment), o.i16(3), o.i16(12), o.u8(1), o.u8(2);
    Bytes field(64, 0);
    field[0] = uint8_t(text.size());
    std::copy(text.begin(), text.begin() + std::ptrdiff_t(std::min<size_t>(text.size(), 63)), field.begin() + 1);
    o.raw(field);
    return o.bytes;
}

inline Bytes name(const std::string& text, int top, int left, int bottom, int right) {
    Out o;
    o.pstr(text, 32), o.i16(top), o.i16(left), o.i16(bottom), o.i16(right);
    return o.bytes;
}

// An old object record of `type` with its picture and data blocks.
inline Bytes object(int16_t type, const Bytes& picture, const Bytes& data, uint8_t fill = 3) {
    Bytes record(74, 0);
    record[0] = uint8_t(uint16_t(type) >> 8), record[1] = uint8_t(type);
    for (int i = 6; i < 34; ++i) record[size_t(i)] = uint8_t(i);
    record[36] = 11, record[37] = 12, record[38] = 2;   // pen colours, line size
    record[40] = 5, record[41] = 9, record[42] = fill;   // line pattern + 1, info, fill pattern + 1
    record[43] = 13, record[44] = 14, record[45] = 1;   // fill colours, frame
    for (int i = 0; i < 8; ++i) record[size_t(46 + 2 * i + 1)] = uint8_t(i + 1);  // anchor and offsets
    for (int i = 0; i < 4; ++i) record[size_t(62 + 2 * i + 1)] = uint8_t(20 + i);  // chart data range
    Out o;
    o.raw(record), o.block(picture), o.block(data);
    return o.bytes;
}

// An old chart record: plot offset, series-name cell, flags, titles, label
// formats, flag bytes and two series entries.
inline Bytes chart_data() {
    Bytes c(446, 0);
    c[3] = 9;                    // plot offset
    c[13] = 4, c[15] = 5;        // series-name row and column
    c[16] = 1, c[18] = 1;        // flags 0x1 and 0x4
    sample::pstr_into(c.data() + 20, "Sales");
    sample::pstr_into(c.data() + 244, "10");
    c[308 + 3] = 4, c[308 + 5] = 4, c[308 + 7] = 1;  // font 4, size 4 and stacked, bold
    c[421] = 1, c[433] = 1;      // flags 0x40 and 0x400000
    c[440] = 2, c[441] = 3, c[442] = 4;
    return c;
}

struct Layer {
    std::string name = "Old";
    Bytes cells;
    Bytes columns;
    Bytes rows;
    Bytes row_breaks;
    Bytes links;
    Bytes header;
    Bytes footer;
    Bytes names;
    Bytes objects;
    Bytes print_record{0, 120, 1, 2};
    bool with_window = true;
};

inline Bytes old_header(const Layer& layer) {
    Out o;
    o.i16(0);
    o.pstr(layer.name, 30);
    o.u8(1), o.u8(0);                                // print option 0x40
    o.i16(3), o.i16(2);                              // active cell
    o.i16(3), o.i16(2), o.i16(5), o.i16(4);          // selection
    o.i16(0), o.i16(0);                              // dividers
    o.i16(0), o.i16(0), o.i16(700), o.i16(500);      // printable rectangle
    o.zeros(4);
    o.i16(36), o.i16(18), o.i16(36), o.i16(18);      // margins
    for (uint8_t b : {1, 1, 0, 1, 0, 0, 1}) o.u8(b);  // flags 0x2, 0x1, 0x8, 0x200
    o.u8(0);
    o.i16(4), o.i16(1), o.i16(-1), o.i16(-1);        // print titles
    o.i16(3);                                        // first page number
    for (int i = 0; i < 32; ++i) o.u8(uint8_t(i));   // page set-up
    o.zeros(47);
    return o.bytes;
}

inline Bytes layer_block(const Layer& layer) {
    Out o;
    o.raw(old_header(layer));
    o.i16(-1), o.i16(-1), o.i16(-1), o.i16(-1);      // print area
    o.u8(1);                                         // layer flag 0x100
    o.i32(layer.with_window ? 5 : 0);
    o.i16(40), o.i16(10), o.i16(300), o.i16(400);    // window bounds
    o.zeros(8);
    o.block(layer.cells), o.block(layer.columns), o.block(layer.rows);
    o.block(layer.row_breaks), o.block({});
    o.block(layer.print_record);                     // the old print record
    o.block(layer.links), o.block(layer.header), o.block(layer.footer), o.block(layer.names);
    o.block({4, 4});                                 // a handle read and dropped
    o.raw(layer.objects);
    Out framed;
    framed.i32(int64_t(o.bytes.size()) + 4);
    framed.raw(o.bytes);
    return framed.bytes;
}

inline Bytes document(int version, const std::vector<Layer>& layers) {
    Out o;
    o.i16(-1), o.i16(version), o.i32(0);
    if (version >= 771) o.pstr("Geneva", 64), o.i16(12), o.i16(0), o.i32(0), o.i32(0);
    for (const Layer& layer : layers) o.raw(layer_block(layer));
    return o.bytes;
}

// A layer with a record of every kind.
inline Layer full_layer() {
    Layer layer;
    row(layer.cells, 2, {constant(1, 12.5, "12.5"), text(2, "hi"), constant(3, 2, "2", '4')});
    row(layer.cells, 4, {formula(0, {'=', '!', 0, 1, '@', '#', 0, 0, 0, 0}, 7), cell(5, 0, 'F', {})});
    row(layer.cells, 6, {});
    layer.columns = format(3, 'G', 20);
    Bytes narrow = format(4, 'G', 255);
    layer.columns.insert(layer.columns.end(), narrow.begin(), narrow.end());
    layer.rows = format(2, 'G', 30);
    layer.row_breaks = {0, 12};
    layer.links = link(1, "Rates", "/home/a/Rates");
    layer.header = header_part(1, {0, 0, 0, 'P', 'a', 'g', 'e'});
    layer.footer = header_part(-1, {'a', 9, 'b', 0, 127, 0, 0, 'c'});
    layer.names = name("Total", 1, 1, 3, 3);
    Out objects;
    objects.raw(object(2, {0, 10, 1, 2}, {7, 7}));
    objects.raw(object(12, {1, 1}, {2, 2}));
    objects.raw(object(19, {}, {0, 2, 'h', 'i', 0, 0}, 0));
    objects.raw(object(20, {3, 3}, chart_data()));
    layer.objects = objects.bytes;
    return layer;
}

}  // namespace older
