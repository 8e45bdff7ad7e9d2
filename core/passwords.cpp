#include "core/passwords.h"

#include <algorithm>
#include <cstring>

namespace {

void invert_and_reverse(unsigned char* field) {
    std::reverse(field, field + kPasswordFieldBytes);
    for (int i = 0; i < kPasswordFieldBytes; ++i) field[i] = static_cast<unsigned char>(~field[i]);
}

}  // namespace

void encode_password(unsigned char* field) { invert_and_reverse(field); }

// The exact inverse of encode_password: every byte of the field comes back as it
// was, whatever lay behind the text.
void decode_password(unsigned char* field) { invert_and_reverse(field); }

int16_t compare_password(const unsigned char* typed, const unsigned char* expected) {
    int bytes = std::min(typed[0] + 1, kPasswordFieldBytes);
    return std::memcmp(typed, expected, bytes) == 0 ? 1 : 0;
}
