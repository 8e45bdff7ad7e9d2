// Resource files on disk: the resource fork of a file, kept as a hidden
// sidecar next to it (see resource_sidecar_path in platform/files). Used for
// the preferences file's workspace aliases.
//
// Sidecar layout, all numbers big-endian:
//   0   4 bytes  "QRSF"
//   4   u16      version, 1
//   6   u16      number of resources N
//   8   N entries, each:
//         u32 type, i16 id, u16 attributes,
//         u8 name length L, L bytes of name (Mac Roman),
//         u32 data length D, D bytes of data
// The entries end exactly at the end of the file; no two share a type and id.
// A sidecar that breaks any of this is refused with kMapReadErr.
//
// The whole map is read when the file is opened and written (to a new sidecar
// that then replaces the old one) when it is updated or closed after a change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/files/files.h"
#include "platform/resources/resources.h"

namespace pf {

constexpr OSErr kResFileNotFoundErr = -193;   // the file has no resource fork
constexpr OSErr kAddResourceFailedErr = -194;

// Makes an empty resource fork, and the file itself (with type and creator)
// when it is missing. kDuplicateNameErr when the fork exists already.
OSErr resource_file_create(const FileSpec& spec, FourCC creator, FourCC type);
// Opens the fork with kReadPermission or a writing permission; a fork open
// already answers its reference again. kResFileNotFoundErr without a fork.
OSErr resource_file_open(const FileSpec& spec, int8_t permission, int16_t& ref);
// Writes the fork when it changed, then closes it.
OSErr resource_file_close(int16_t ref);
OSErr resource_file_update(int16_t ref);

int resource_file_count(int16_t ref, FourCC type);
// The data of a resource; kResNotFoundErr when missing.
OSErr resource_file_get(int16_t ref, FourCC type, int16_t id, std::vector<uint8_t>& data);
// The index-th (from 1) resource of a type in id order, with its id.
OSErr resource_file_get_indexed(int16_t ref, FourCC type, int index, int16_t& id,
                                std::vector<uint8_t>& data);
// Adds a resource; name is length-prefixed Mac Roman or null. kAddResourceFailedErr
// when the type and id are taken.
OSErr resource_file_add(int16_t ref, FourCC type, int16_t id, const unsigned char* name,
                        const void* data, size_t length);
OSErr resource_file_remove(int16_t ref, FourCC type, int16_t id);

}  // namespace pf
