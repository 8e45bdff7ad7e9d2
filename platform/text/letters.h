// Letter facts of Mac Roman shared by the text utilities: which bytes are
// letters, their case partners and their unmarked spelling.
#pragma once

#include <array>
#include <cstdint>

namespace pf::letters {

struct LetterInfo {
    bool letter = false;
    bool upper = false;
    unsigned char partner = 0;  // the other case; the byte itself when none
    char base[3] = {};          // unmarked spelling in the same case, "" for non-letters
};

// Facts of every byte, built once.
const std::array<LetterInfo, 256>& table();

inline const LetterInfo& info(unsigned char c) { return table()[c]; }

}  // namespace pf::letters
