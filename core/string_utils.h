// Length-prefixed strings, zero-terminated conversions, raw blocks, rectangles and points.
// A length-prefixed string is a length byte (0..255) followed by that many bytes of
// Mac Roman text, kept in a 256-byte buffer; text positions count from 1. Every
// routine that lengthens a string stops at 255 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

constexpr int kMaxPStringLength = 255;

// Building and cutting.
void ConcatPString(unsigned char* dest, const unsigned char* src);
void FrontConcat(const unsigned char* prefix, unsigned char* dest);
void AppendChar(unsigned char* dest, unsigned char ch);
void DeletePString(unsigned char* s, int16_t index, int16_t count);
void copy(const unsigned char* src, unsigned char* dest, int16_t index, int16_t count);

// The text of a length-prefixed string (empty for null), and a length-prefixed
// string of the first `limit` (at most 255) bytes of a text.
std::string pstring_text(const unsigned char* s);
void set_pstring(unsigned char* dest, std::string_view text, size_t limit = kMaxPStringLength);

// A text with "^0", "^1", ... replaced by the figures given (an empty text
// for a figure not given).
std::string fill_figures(std::string_view text, const std::vector<std::string>& figures);

// Searching and comparing.
int16_t Pos(const unsigned char* s, unsigned char ch);
int16_t pstrcmp(const unsigned char* a, const unsigned char* b);

// Zero-terminated <-> length-prefixed, in place. mc2pstr keeps at most 255 bytes.
void mc2pstr(char* s);
void mp2cstr(unsigned char* s);

// Signed decimal text of n; answers dest.
unsigned char* Num_To_String(int32_t n, unsigned char* dest);

// Characters (not bytes) of a text in a script; a negative script means the current one.
int32_t count_characters(const unsigned char* text, int32_t length, int16_t script);
int16_t count_str_characters(const unsigned char* s, int16_t script);

// Raw memory.
int16_t BlockCompare(const void* a, const void* b, int32_t n);
void BlockClear(void* address, int32_t n);

// Rectangles and points (rectangles exclusive at right and bottom).
void Set_Rect(pf::Rect& rect, int16_t left, int16_t top, int16_t right, int16_t bottom);
void Offset_Rect(pf::Rect& rect, int16_t dh, int16_t dv);
void Inset_Rect(pf::Rect& rect, int16_t dh, int16_t dv);
void Set_Pt(pf::Point& point, int16_t h, int16_t v);
int16_t Pt_In_Rect(pf::Point point, const pf::Rect& rect);
