// The weights the comparison gives a character that is not read as a Roman
// byte: its place in its alphabet, taken from the collator's tables, set into
// the order of the Roman units.
#pragma once

#include <cstdint>

namespace pf::collation {

// A primary unit: 0 ends a text; a Roman unit u (a lower-case ASCII letter or
// any other byte) is (u + 1) << 48.
constexpr uint64_t kEndOfText = 0;
constexpr uint64_t roman_unit(int u) { return uint64_t(u + 1) << 48; }

struct CharacterWeights {
    // A Roman byte the alphabet ranks alike (a full-width letter, "ů" beside
    // "u"): the character takes that byte's primary spelling. -1 for none.
    int16_t roman_equal = -1;
    uint64_t primary = 0;  // when roman_equal is -1
    int32_t mark = 0;      // 0 unmarked, else above every Roman mark weight
    bool upper = false;
};

// Weights of a character; built once per character with one collator opened
// for the life of the program.
const CharacterWeights& character_weights(char32_t c);

}  // namespace pf::collation
