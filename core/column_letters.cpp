// Column names: A..Z, AA..ZZ, AAA..ZZZ, then four letters up to AUHT (column 31999).
#include <cctype>

#include "core/number_text.h"

namespace {

constexpr int kFirstTwoLetter = 26;
constexpr int kFirstThreeLetter = 702;
constexpr int kFirstFourLetter = 18278;

unsigned char letter(int value) { return static_cast<unsigned char>('A' + value); }

void put_three_letters(unsigned char* dest, int m) {
    dest[++dest[0]] = letter(m / 676);
    dest[++dest[0]] = letter(m % 676 / 26);
    dest[++dest[0]] = letter(m % 26);
}

}  // namespace

void NumberToColumn(unsigned char* dest, int16_t column) {
    dest[0] = 0;
    if (column < 0) return;
    if (column < kFirstTwoLetter) {
        dest[++dest[0]] = letter(column);
    } else if (column < kFirstThreeLetter) {
        dest[++dest[0]] = letter(column / 26 - 1);
        dest[++dest[0]] = letter(column % 26);
    } else if (column < kFirstFourLetter) {
        put_three_letters(dest, column - kFirstThreeLetter);
    } else {
        int m = column - kFirstFourLetter;
        dest[++dest[0]] = letter(m / 17576);
        put_three_letters(dest, m % 17576);
    }
}

// Letters are not checked (callers do); a name past the last column gives a number
// above 31999, or a negative one once it passes 16 bits, which callers refuse.
int16_t ColumnToNumber(const unsigned char* text) {
    int length = text[0];
    if (length < 1 || length > 4) return -1;
    int v[4];
    for (int i = 0; i < length; ++i) v[i] = std::toupper(text[i + 1]) - 'A';
    switch (length) {
    case 1: return static_cast<int16_t>(v[0]);
    case 2: return static_cast<int16_t>(v[0] * 26 + v[1] + kFirstTwoLetter);
    case 3: return static_cast<int16_t>(v[0] * 676 + v[1] * 26 + v[2] + kFirstThreeLetter);
    default:
        if (v[0] != 0) return -1;
        return static_cast<int16_t>(v[1] * 676 + v[2] * 26 + v[3] + kFirstFourLetter);
    }
}
