// Descriptors as bytes, for events that travel between programs.
//
// A flattened descriptor, all numbers big-endian:
//   u8 kind (0 plain, 1 list, 2 record, 3 event), u32 type (the four-character
//   code, first character first), then by kind:
//   plain:  u32 size, the data bytes (as the descriptor holds them: numbers in
//           the byte order of the machine, which both ends share)
//   list:   u32 count, count descriptors
//   record: u32 count, count times (u32 keyword, descriptor)
//   event:  u32 count, count attributes as (u32 keyword, descriptor), then
//           u32 count, count parameters as (u32 keyword, descriptor)
// On a connection each message is a u32 length followed by that many bytes of
// one flattened descriptor (an event, or the reply to one).
//
// Flattened bytes from elsewhere are untrusted: sizes and counts are checked
// against the bytes left before anything is allocated, nesting is limited, and
// a message must be consumed exactly; anything else is kAECorruptDataErr.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/appleevents/appleevents.h"

namespace pf {

constexpr size_t kMaxFlatMessage = 1 << 20;  // bytes of one message
constexpr int kMaxFlatDepth = 32;            // lists, records and events within each other
constexpr size_t kFlatLengthSize = 4;

void ae_flatten(const AEDesc& desc, std::vector<uint8_t>& out);
OSErr ae_unflatten(const uint8_t* bytes, size_t size, AEDesc& out);

// A message: the length and the flattened descriptor.
std::vector<uint8_t> ae_flat_message(const AEDesc& desc);
// The length a message prefix announces.
uint32_t ae_flat_message_length(const uint8_t* prefix);

}  // namespace pf
