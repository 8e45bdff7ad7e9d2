// Drawing objects read from and written to a document's layer block.
#include "objects/object_store.h"

#include <cstring>
#include <initializer_list>

#include "files/file_framing.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_kinds.h"
#include "objects/object_records.h"
#include "objects/text_box_editing.h"
#include "platform/memory/memory.h"
#include "platform/resources/byte_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

// ---- Writing ------------------------------------------------------------------

void put16(Bytes& out, int value) {
    out.push_back(uint8_t(uint16_t(value) >> 8));
    out.push_back(uint8_t(value));
}
void put32(Bytes& out, uint32_t value) { put16(out, int(value >> 16)), put16(out, int(value & 0xFFFF)); }

void put_block(Bytes& out, const uint8_t* bytes, size_t size) {
    put32(out, uint32_t(size));
    out.insert(out.end(), bytes, bytes + size);
}

// A block's bytes (empty for none).
Bytes block_bytes(MemoryRef block) {
    if (!block) return {};
    MemoryUse<const uint8_t> bytes(block);
    Bytes copy(bytes.get(), bytes + GetByteSize(block));
    return copy;
}

// Swaps every whole 16-bit word in place (file and host order both ways).
void swap_words(Bytes& bytes) {
    for (size_t at = 0; at + 1 < bytes.size(); at += 2) std::swap(bytes[at], bytes[at + 1]);
}

// A text box's data in the other byte order; direction 1 is memory to file.
void flip_text_data(Bytes& bytes, int16_t direction) {
    if (bytes.empty()) return;
    pf::Handle handle = pf::ptr_to_hand(bytes.data(), pf::Size(bytes.size()));
    ByteFlipTextObject(handle, direction);
    std::memcpy(bytes.data(), *handle, bytes.size());
    pf::dispose_handle(handle);
}

// The data and points blocks in file order (each is swapped both ways alike).
Bytes flipped_data(const ObjectRecord& record, int16_t direction) {
    Bytes data = block_bytes(record.data);
    if (record.kind == kTextObject) flip_text_data(data, direction);
    if (record.kind == kPolygonObject) swap_words(data);
    return data;
}
Bytes flipped_points(const ObjectRecord& record) {
    Bytes points = block_bytes(record.points);
    if (record.kind == kFreehandObject) swap_words(points);
    return points;
}

void put_record(Bytes& out, const ObjectRecord& record) {
    put32(out, record.kind);
    put32(out, 0);  // own reference: meaningless in a file
    put32(out, record.flags);
    put16(out, record.id);
    out.insert(out.end(), record.held, record.held + sizeof record.held);
    for (uint8_t byte : {record.pen_fore, record.pen_back, record.line_size, record.line_pattern, record.info,
                         record.fill_pattern, record.fill_fore, record.fill_back, record.frame, record.held_byte})
        out.push_back(byte);
    for (int16_t word : {record.anchor_row, record.anchor_column, record.end_row, record.end_column, record.v_offset,
                         record.h_offset, record.height, record.width})
        put16(out, word);
    out.resize(out.size() + 16, 0);  // region and the three references: replaced on reading
}

void put_object(Bytes& out, MemoryRef object) {
    const ObjectRecord record = *ObjectUse(object).get();
    put_record(out, record);
    bool no_picture = record.chart || record.kind == kFreehandObject || record.kind == kPolygonObject;
    Bytes picture = no_picture ? Bytes{} : block_bytes(record.picture);
    Bytes data = flipped_data(record, 1), points = flipped_points(record);
    put_block(out, picture.data(), picture.size());
    put_block(out, data.data(), data.size());
    put_block(out, points.data(), points.size());
    put32(out, record.chart ? 1 : 0);
    if (record.chart) {
        Bytes chart = added_kind_of(record)->stored_from_part(block_bytes(record.chart));
        out.insert(out.end(), chart.begin(), chart.end());
    }
}

// ---- Reading ------------------------------------------------------------------

void get_record(pf::ByteReader& in, ObjectRecord& record) {
    record.kind = in.u32();
    in.u32();
    record.flags = in.u32();
    record.id = in.i16();
    in.copy(record.held, sizeof record.held);
    uint8_t* properties[] = {&record.pen_fore,     &record.pen_back,  &record.line_size, &record.line_pattern,
                             &record.info,         &record.fill_pattern, &record.fill_fore, &record.fill_back,
                             &record.frame,        &record.held_byte};
    for (uint8_t* property : properties) *property = in.u8();
    int16_t* words[] = {&record.anchor_row, &record.anchor_column, &record.end_row, &record.end_column,
                        &record.v_offset,   &record.h_offset,      &record.height,  &record.width};
    for (int16_t* word : words) *word = in.i16();
    in.skip(16);
}

// A framed block; false when its length is negative or runs past the end.
bool take_block(pf::ByteReader& in, Bytes& block) {
    int32_t length = int32_t(in.u32());
    if (!in.ok || length < 0 || size_t(length) > in.left()) return false;
    auto bytes = in.take(size_t(length));
    block.assign(bytes.begin(), bytes.end());
    return true;
}

// The part of an object of an added kind (a chart's fixed fields and framed
// series formats), as the part's bytes.
bool take_chart(pf::ByteReader& in, pf::FourCC kind, Bytes& chart) {
    const ObjectKindProcs* added = added_kind_of(kind, true);
    if (!added) return false;
    const size_t length = in.ok ? added->stored_part_length(in.bytes.subspan(in.pos)) : 0;
    if (!length) return false;
    auto read = added->part_from_stored(in.take(length));
    if (!read) return false;
    chart = std::move(*read);
    return true;
}

MemoryRef block_of(MemoryRef layer, const Bytes& bytes) {
    if (bytes.empty()) return nullptr;
    return Bytes2Memory(GetMemoryGlobals(layer), bytes.data(), 1, int32_t(bytes.size()));
}

// One stored object as a new record owned by the layer; none when damaged.
MemoryRef take_object(pf::ByteReader& in, MemoryRef layer) {
    ObjectRecord record{};
    get_record(in, record);
    Bytes picture, data, points, chart;
    if (!in.ok || !take_block(in, picture) || !take_block(in, data) || !take_block(in, points)) return nullptr;
    bool with_chart = in.u32() != 0;
    if (!in.ok || (with_chart && !take_chart(in, record.kind, chart))) return nullptr;
    if (record.kind == kTextObject) flip_text_data(data, 0);
    if (record.kind == kPolygonObject) swap_words(data);
    if (record.kind == kFreehandObject) swap_words(points);
    record.owner = layer;
    record.picture = block_of(layer, picture);
    record.data = block_of(layer, data);
    record.points = block_of(layer, points);
    record.chart = block_of(layer, chart);
    MemoryRef object = Bytes2Memory(GetMemoryGlobals(layer), &record, sizeof record, 1);
    ObjectUse(object)->self = object;
    return object;
}

}  // namespace

int16_t objects_from_stored(MemoryRef layer, std::span<const uint8_t> stored) {
    pf::ByteReader in{stored};
    std::vector<MemoryRef> read;
    while (!in.at_end()) {
        MemoryRef object = take_object(in, layer);
        if (!object) {
            for (MemoryRef made : read) ClobberObject(made);
            return kDamagedFileErr;
        }
        read.push_back(object);
    }
    for (MemoryRef object : read) add_object(layer, object);
    settle_object_ids(layer);
    return 0;
}

std::vector<uint8_t> stored_from_objects(MemoryRef layer) {
    Bytes out;
    for (int32_t i = 1; MemoryRef object = find_object_item(layer, i); ++i) put_object(out, object);
    return out;
}

int16_t adopt_stored_objects(MemoryRef layer) {
    LayerUse sheet(layer);
    MemoryRef stored = sheet->stored_objects;
    sheet.release();
    if (!stored) return 0;
    Bytes bytes = block_bytes(stored);
    if (int16_t error = objects_from_stored(layer, bytes)) return error;
    LayerUse(layer)->stored_objects = nullptr;
    DisposeMemory(stored);
    return 0;
}

int16_t objects_to_store(MemoryRef layer, MemoryRef* block) {
    *block = nullptr;
    if (num_objects(layer) == 0) return 0;
    // Text typed into a box still under edit is saved too.
    if (MemoryRef edited = GetObjEditor(layer, nullptr)) UpdateTextObject(edited, layer);
    Bytes bytes = stored_from_objects(layer);
    *block = Bytes2Memory(GetMemoryGlobals(layer), bytes.data(), 1, int32_t(bytes.size()));
    return *block ? 0 : kNoMemoryErr;
}
