#include "platform/text/letters.h"

#include <cstring>

namespace pf::letters {
namespace {

// Case pairs above ASCII: (lower, upper).
constexpr unsigned char kCasePairs[][2] = {
    {135, 231}, {136, 203}, {137, 229}, {138, 128}, {139, 204}, {140, 129}, {141, 130},
    {142, 131}, {143, 233}, {144, 230}, {145, 232}, {146, 234}, {147, 237}, {148, 235},
    {149, 236}, {150, 132}, {151, 238}, {152, 241}, {153, 239}, {154, 133}, {155, 205},
    {156, 242}, {157, 244}, {158, 243}, {159, 134}, {190, 174}, {191, 175}, {207, 206},
    {216, 217},
};

struct HighLetter {
    unsigned char code;
    const char* base;
};

// Every letter above ASCII with its unmarked spelling in its own case.
constexpr HighLetter kHighLetters[] = {
    {0x80, "A"},  {0x81, "A"},  {0x82, "C"}, {0x83, "E"}, {0x84, "N"},  {0x85, "O"},  {0x86, "U"},
    {0x87, "a"},  {0x88, "a"},  {0x89, "a"}, {0x8A, "a"}, {0x8B, "a"},  {0x8C, "a"},  {0x8D, "c"},
    {0x8E, "e"},  {0x8F, "e"},  {0x90, "e"}, {0x91, "e"}, {0x92, "i"},  {0x93, "i"},  {0x94, "i"},
    {0x95, "i"},  {0x96, "n"},  {0x97, "o"}, {0x98, "o"}, {0x99, "o"},  {0x9A, "o"},  {0x9B, "o"},
    {0x9C, "u"},  {0x9D, "u"},  {0x9E, "u"}, {0x9F, "u"}, {0xA7, "ss"}, {0xAE, "AE"}, {0xAF, "O"},
    {0xBE, "ae"}, {0xBF, "o"},  {0xCB, "A"}, {0xCC, "A"}, {0xCD, "O"},  {0xCE, "OE"}, {0xCF, "oe"},
    {0xD8, "y"},  {0xD9, "Y"},  {0xDE, "fi"}, {0xDF, "fl"}, {0xE5, "A"}, {0xE6, "E"}, {0xE7, "A"},
    {0xE8, "E"},  {0xE9, "E"},  {0xEA, "I"}, {0xEB, "I"}, {0xEC, "I"},  {0xED, "I"},  {0xEE, "O"},
    {0xEF, "O"},  {0xF1, "O"},  {0xF2, "U"}, {0xF3, "U"}, {0xF4, "U"},  {0xF5, "i"},
};

std::array<LetterInfo, 256> build() {
    std::array<LetterInfo, 256> t{};
    for (int c = 0; c < 256; ++c) t[c].partner = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c) {
        t[c] = {true, true, static_cast<unsigned char>(c + 32), {char(c), 0, 0}};
        t[c + 32] = {true, false, static_cast<unsigned char>(c), {char(c + 32), 0, 0}};
    }
    for (const HighLetter& h : kHighLetters) {
        t[h.code].letter = true;
        std::strncpy(t[h.code].base, h.base, 2);
    }
    for (const auto& pair : kCasePairs) {
        t[pair[0]].partner = pair[1];
        t[pair[1]].partner = pair[0];
        t[pair[1]].upper = true;
    }
    return t;
}

}  // namespace

const std::array<LetterInfo, 256>& table() {
    static const std::array<LetterInfo, 256> t = build();
    return t;
}

}  // namespace pf::letters
