// The installed bundle and look-ups by type, id and name.
#include "platform/resources/resources.h"

#include <algorithm>
#include <cstring>

#include "platform/resources/byte_reader.h"

namespace pf {

namespace {

struct Bundle {
    std::vector<uint8_t> bytes;
    std::vector<Resource> entries;  // sorted by type, then id
};

Bundle installed;

bool entry_before(const Resource& entry, std::pair<FourCC, int16_t> key) {
    return entry.type != key.first ? entry.type < key.first : entry.id < key.second;
}

// A span of `length` bytes at `offset` within `area`; false when it does not fit.
bool slice(std::span<const uint8_t> area, uint32_t offset, uint32_t length, std::span<const uint8_t>& out) {
    if (offset > area.size() || length > area.size() - offset) return false;
    out = area.subspan(offset, length);
    return true;
}

// Reads the entry table of `bundle.bytes`; false when any part lies outside the bytes.
bool read_entries(Bundle& bundle) {
    std::span<const uint8_t> all(bundle.bytes);
    ByteReader header{all};
    if (header.u32() != kBundleMagic || header.u16() != kBundleVersion) return false;
    header.u16();
    uint32_t count = header.u32(), names_offset = header.u32(), data_offset = header.u32();
    std::span<const uint8_t> table, names, data;
    if (!header.ok || count > all.size() / kBundleEntrySize ||
        !slice(all, kBundleHeaderSize, count * kBundleEntrySize, table) || names_offset > data_offset ||
        !slice(all, names_offset, data_offset - names_offset, names) ||
        !slice(all, data_offset, uint32_t(all.size() - std::min<size_t>(data_offset, all.size())), data))
        return false;
    ByteReader reader{table};
    for (uint32_t i = 0; i < count; ++i) {
        Resource entry;
        entry.type = reader.u32();
        entry.id = reader.i16();
        entry.attributes = reader.u16();
        uint32_t name_at = reader.u32(), offset = reader.u32(), length = reader.u32();
        if (!slice(data, offset, length, entry.bytes)) return false;
        if (name_at != kNoName) {
            std::span<const uint8_t> length_byte, name;
            if (!slice(names, name_at, 1, length_byte) || !slice(names, name_at + 1, length_byte[0], name))
                return false;
            entry.has_name = true;
            entry.name = std::string_view(reinterpret_cast<const char*>(name.data()), name.size());
        }
        bundle.entries.push_back(entry);
    }
    std::stable_sort(bundle.entries.begin(), bundle.entries.end(), [](const Resource& a, const Resource& b) {
        return entry_before(a, {b.type, b.id});
    });
    return reader.ok;
}

std::span<const Resource> entries_of_type(FourCC type) {
    auto first = std::lower_bound(installed.entries.begin(), installed.entries.end(), std::pair{type, int16_t(-32768)},
                                  entry_before);
    auto last = first;
    while (last != installed.entries.end() && last->type == type) ++last;
    return {first, last};
}

}  // namespace

OSErr resources_install(const void* data, size_t size) {
    Bundle bundle;
    if (!data && size) return kMapReadErr;
    bundle.bytes.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    if (!read_entries(bundle)) return kMapReadErr;
    installed = std::move(bundle);  // the spans point into the moved vector's storage, which stays put
    return noErr;
}

void resources_clear() { installed = Bundle{}; }

const Resource* get_resource(FourCC type, int16_t id) {
    auto found = std::lower_bound(installed.entries.begin(), installed.entries.end(), std::pair{type, id}, entry_before);
    if (found == installed.entries.end() || found->type != type || found->id != id) return nullptr;
    return &*found;
}

const Resource* get_named_resource(FourCC type, std::string_view mac_roman_name) {
    for (const Resource& entry : entries_of_type(type))
        if (entry.has_name && entry.name == mac_roman_name) return &entry;
    return nullptr;
}

int count_resources(FourCC type) { return int(entries_of_type(type).size()); }

std::vector<int16_t> resource_ids(FourCC type) {
    std::vector<int16_t> ids;
    for (const Resource& entry : entries_of_type(type)) ids.push_back(entry.id);
    return ids;
}

std::string get_string(int16_t id) {
    const Resource* resource = get_resource(kStringType, id);
    if (!resource) return {};
    ByteReader reader{resource->bytes};
    std::string text = reader.pstring();
    return reader.ok ? text : std::string();
}

int string_list_count(int16_t list_id) {
    const Resource* resource = get_resource(kStringListType, list_id);
    return resource ? ByteReader{resource->bytes}.u16() : 0;
}

std::string get_indexed_string(int16_t list_id, int index) {
    const Resource* resource = get_resource(kStringListType, list_id);
    if (!resource || index < 1) return {};
    ByteReader reader{resource->bytes};
    int count = reader.u16();
    if (index > count) return {};
    for (int i = 1; i < index && reader.ok; ++i) reader.take(reader.u8());
    std::string text = reader.pstring();
    return reader.ok ? text : std::string();
}

void get_indexed_string(Str255 out, int16_t list_id, int index) {
    std::string text = get_indexed_string(list_id, index);
    out[0] = uint8_t(std::min<size_t>(text.size(), 255));
    std::memcpy(out + 1, text.data(), out[0]);
}

}  // namespace pf
