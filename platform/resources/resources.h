// The resource manager: the bundle compiled from resources/*.txt (by tools/rescomp),
// installed at start-up and looked up by type and id or by name; string lists; and
// typed decoders for the structured kinds (resource_templates.h).
// The bundle's layout is in resource_format.h and resources/README.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/resources/resource_format.h"
#include "platform/resources/resource_templates.h"
#include "platform/types.h"

namespace pf {

constexpr OSErr kResNotFoundErr = -192;
constexpr OSErr kMapReadErr = -199;

struct Resource {
    FourCC type = 0;
    int16_t id = 0;
    uint16_t attributes = 0;
    bool has_name = false;
    std::string_view name;  // Mac Roman
    std::span<const uint8_t> bytes;
};

// Validates and copies a compiled bundle, replacing the one installed before.
// A damaged bundle answers kMapReadErr and leaves the installed one in place.
OSErr resources_install(const void* data, size_t size);
// Removes the installed bundle: every look-up then finds nothing.
void resources_clear();

// The resource, or null when the bundle has none of that type and id (or name).
const Resource* get_resource(FourCC type, int16_t id);
const Resource* get_named_resource(FourCC type, std::string_view mac_roman_name);

int count_resources(FourCC type);
std::vector<int16_t> resource_ids(FourCC type);  // ascending

// The text of 'STR ' id; empty when missing.
std::string get_string(int16_t id);
// Item `index` (from 1) of STR# list_id, Mac Roman; empty when the list or item is missing.
std::string get_indexed_string(int16_t list_id, int index);
void get_indexed_string(Str255 out, int16_t list_id, int index);
// Number of items of STR# list_id; 0 when missing.
int string_list_count(int16_t list_id);

}  // namespace pf
