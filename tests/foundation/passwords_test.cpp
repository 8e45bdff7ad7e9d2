#include "core/passwords.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void fill_clear(unsigned char* field, const char* text) {
    std::memset(field, 0, kPasswordFieldBytes);
    field[0] = static_cast<unsigned char>(std::strlen(text));
    std::memcpy(field + 1, text, field[0]);
}

TEST(Passwords, KeptFormIsInvertedAndReversed) {
    unsigned char field[16];
    fill_clear(field, "ab");
    encode_password(field);
    EXPECT_EQ(field[15], 0xFD);  // ~2
    EXPECT_EQ(field[14], 0x9E);  // ~'a'
    EXPECT_EQ(field[13], 0x9D);  // ~'b'
    EXPECT_EQ(field[0], 0xFF);
}

// Every length, every byte value in every position (high Mac Roman characters
// and stray bytes behind the text included) comes back exactly.
TEST(Passwords, DecodeInvertsEncodeForEveryField) {
    for (int length = 0; length <= 15; ++length)
        for (int value = 0; value < 256; ++value)
            for (int position = 1; position < 16; ++position) {
                unsigned char field[16], original[16];
                for (int i = 0; i < 16; ++i) field[i] = static_cast<unsigned char>(i * 37 + value);
                field[0] = static_cast<unsigned char>(length);
                field[position] = static_cast<unsigned char>(value);
                std::memcpy(original, field, 16);
                encode_password(field);
                decode_password(field);
                ASSERT_EQ(std::memcmp(field, original, 16), 0) << length << " " << value << " " << position;
            }
}

TEST(Passwords, FifteenCharactersEndingInAHighCharacterOpen) {
    unsigned char field[16], typed[16];
    fill_clear(field, "secretpassword\xF5");
    std::memcpy(typed, field, 16);
    encode_password(field);
    decode_password(field);
    EXPECT_EQ(field[0], 15);
    EXPECT_EQ(compare_password(typed, field), 1);
}

TEST(Passwords, ComparisonIsExact) {
    unsigned char a[16], b[16];
    fill_clear(a, "Secret");
    fill_clear(b, "secret");
    EXPECT_EQ(compare_password(a, b), 0);
    fill_clear(b, "Secret");
    b[10] = 'z';  // behind the text: no meaning
    EXPECT_EQ(compare_password(a, b), 1);
    fill_clear(a, "");
    fill_clear(b, "");
    EXPECT_EQ(compare_password(a, b), 1);
    fill_clear(a, "abcdefghijklmno");
    EXPECT_EQ(compare_password(a, a), 1);
    a[0] = 200;  // a damaged length still compares only the field
    std::memcpy(b, a, 16);
    EXPECT_EQ(compare_password(a, b), 1);
}

}  // namespace
