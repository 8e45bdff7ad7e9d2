// Document passwords: a 16-byte field, in clear form a length byte (0..15) and the
// characters; kept form is every byte inverted, then the 16 bytes reversed.
#pragma once

#include <cstdint>

constexpr int kPasswordFieldBytes = 16;

void encode_password(unsigned char* field);
void decode_password(unsigned char* field);
// 1 when the two clear passwords have the same length and characters.
int16_t compare_password(const unsigned char* typed, const unsigned char* expected);
