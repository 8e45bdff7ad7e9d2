// Flattening descriptors into bytes and reading them back, bounded.
#include "platform/appleevents/ae_flatten.h"

#include "platform/resources/byte_reader.h"

namespace pf {

namespace {

// The fewest bytes a flattened descriptor takes: kind, type and a size or count.
constexpr size_t kSmallestDesc = 9;
constexpr size_t kKeySize = 4;

void put_u32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void put_keyed(std::vector<uint8_t>& out, const std::vector<FourCC>& keys, const std::vector<AEDesc>& items) {
    put_u32(out, uint32_t(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        put_u32(out, i < keys.size() ? keys[i] : 0);
        ae_flatten(items[i], out);
    }
}

bool read_desc(ByteReader& in, AEDesc& out, int depth);

// A count that the bytes left can hold, each item at least `each` bytes.
bool read_count(ByteReader& in, size_t each, uint32_t& count) {
    count = in.u32();
    return in.ok && count <= in.left() / each;
}

bool read_keyed(ByteReader& in, std::vector<FourCC>& keys, std::vector<AEDesc>& items, int depth) {
    uint32_t count = 0;
    if (!read_count(in, kKeySize + kSmallestDesc, count)) return false;
    keys.reserve(count);
    items.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        keys.push_back(in.u32());
        items.emplace_back();
        if (!read_desc(in, items.back(), depth + 1)) return false;
    }
    return in.ok;
}

bool read_desc(ByteReader& in, AEDesc& out, int depth) {
    if (depth > kMaxFlatDepth) return false;
    const uint8_t kind = in.u8();
    out.type = in.u32();
    if (!in.ok || kind > uint8_t(AEDescKind::event)) return false;
    out.kind = AEDescKind(kind);
    switch (out.kind) {
        case AEDescKind::plain: {
            uint32_t size = 0;
            if (!read_count(in, 1, size)) return false;
            auto data = in.take(size);
            out.data.assign(data.begin(), data.end());
            return in.ok;
        }
        case AEDescKind::list: {
            uint32_t count = 0;
            if (!read_count(in, kSmallestDesc, count)) return false;
            out.items.resize(count);
            for (AEDesc& item : out.items)
                if (!read_desc(in, item, depth + 1)) return false;
            return true;
        }
        case AEDescKind::record: return read_keyed(in, out.keys, out.items, depth);
        case AEDescKind::event:
            if (!read_keyed(in, out.attribute_keys, out.attributes, depth)) return false;
            if (!read_keyed(in, out.keys, out.items, depth)) return false;
            out.item_read.assign(out.items.size(), false);
            return true;
    }
    return false;
}

}  // namespace

void ae_flatten(const AEDesc& desc, std::vector<uint8_t>& out) {
    out.push_back(uint8_t(desc.kind));
    put_u32(out, desc.type);
    switch (desc.kind) {
        case AEDescKind::plain:
            put_u32(out, uint32_t(desc.data.size()));
            out.insert(out.end(), desc.data.begin(), desc.data.end());
            break;
        case AEDescKind::list:
            put_u32(out, uint32_t(desc.items.size()));
            for (const AEDesc& item : desc.items) ae_flatten(item, out);
            break;
        case AEDescKind::record: put_keyed(out, desc.keys, desc.items); break;
        case AEDescKind::event:
            put_keyed(out, desc.attribute_keys, desc.attributes);
            put_keyed(out, desc.keys, desc.items);
            break;
    }
}

OSErr ae_unflatten(const uint8_t* bytes, size_t size, AEDesc& out) {
    if (size > kMaxFlatMessage) return kAECorruptDataErr;
    ByteReader in{std::span<const uint8_t>(bytes, size)};
    AEDesc desc;
    if (!read_desc(in, desc, 0) || !in.ok || !in.at_end()) return kAECorruptDataErr;
    out = std::move(desc);
    return noErr;
}

std::vector<uint8_t> ae_flat_message(const AEDesc& desc) {
    std::vector<uint8_t> message(kFlatLengthSize);
    ae_flatten(desc, message);
    const uint32_t length = uint32_t(message.size() - kFlatLengthSize);
    for (size_t i = 0; i < kFlatLengthSize; ++i) message[i] = uint8_t(length >> (24 - 8 * i));
    return message;
}

uint32_t ae_flat_message_length(const uint8_t* prefix) {
    return uint32_t(prefix[0]) << 24 | uint32_t(prefix[1]) << 16 | uint32_t(prefix[2]) << 8 | prefix[3];
}

}  // namespace pf
