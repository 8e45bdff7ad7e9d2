// Unaligned host-order reads and writes of the fixed-width fields inside
// byte-exact records (cell records, row headers, format blocks).
#pragma once

#include <cstdint>
#include <cstring>

inline int16_t load_i16(const uint8_t* p) { int16_t v; std::memcpy(&v, p, 2); return v; }
inline uint16_t load_u16(const uint8_t* p) { uint16_t v; std::memcpy(&v, p, 2); return v; }
inline int32_t load_i32(const uint8_t* p) { int32_t v; std::memcpy(&v, p, 4); return v; }
inline uint32_t load_u32(const uint8_t* p) { uint32_t v; std::memcpy(&v, p, 4); return v; }
inline double load_f64(const uint8_t* p) { double v; std::memcpy(&v, p, 8); return v; }

inline void store_i16(uint8_t* p, int16_t v) { std::memcpy(p, &v, 2); }
inline void store_u16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }
inline void store_i32(uint8_t* p, int32_t v) { std::memcpy(p, &v, 4); }
inline void store_u32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
inline void store_f64(uint8_t* p, double v) { std::memcpy(p, &v, 8); }
