// Weights of the characters Roman does not read, from the Unicode collator:
// the root order with the Czech letters (č after c, ř after r, š after s, ž
// after z) and ё a letter of its own after е.
#include "platform/text/collation_weights.h"

#include <unicode/ucol.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>

#include <array>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/text/letters.h"
#include "platform/text/mac_roman.h"

namespace pf::collation {
namespace {

constexpr char16_t kOwnLetterRules[] = u" &е<ё<<<Ё";

UCollator* open_collator() {
    UErrorCode status = U_ZERO_ERROR;
    std::u16string rules;
    if (UCollator* czech = ucol_open("cs", &status); U_SUCCESS(status)) {
        int32_t length = 0;
        const UChar* czech_rules = ucol_getRules(czech, &length);
        rules.assign(czech_rules, size_t(length));
        ucol_close(czech);
    }
    rules += kOwnLetterRules;
    status = U_ZERO_ERROR;
    UCollator* collator =
        ucol_openRules(rules.data(), int32_t(rules.size()), UCOL_OFF, UCOL_PRIMARY, nullptr, &status);
    if (U_SUCCESS(status)) return collator;
    status = U_ZERO_ERROR;
    collator = ucol_open("", &status);
    ucol_setStrength(collator, UCOL_PRIMARY);
    return collator;
}

UCollator* collator() {
    static UCollator* const opened = open_collator();
    return opened;
}

// The character's primary sort key, its first eight bytes from the top; 0
// for a character the collator ignores.
uint64_t primary_key(char32_t c) {
    char16_t units[2];
    int32_t length = 0;
    if (c > 0xFFFF) {
        units[length++] = char16_t(0xD7C0 + (c >> 10));
        units[length++] = char16_t(0xDC00 | (c & 0x3FF));
    } else {
        units[length++] = char16_t(c);
    }
    uint8_t key[64];
    const int32_t size = ucol_getSortKey(collator(), units, length, key, sizeof key);
    uint64_t packed = 0;
    for (int32_t i = 0; i < 8 && i < size && key[i] != 0; ++i) packed |= uint64_t(key[i]) << (56 - 8 * i);
    return packed;
}

// Sort keys of the Roman bytes that every script reads as Roman, and of the
// letters a-z and alpha that bound the Latin letters.
struct RomanKeys {
    std::unordered_map<uint64_t, unsigned char> byte_of_key;
    std::array<uint64_t, 26> letters{};
    uint64_t after_latin = 0;
};

RomanKeys roman_keys() {
    RomanKeys keys;
    for (int b = 0; b < 256; ++b) {
        if (b >= 0x80 && !letters::info(static_cast<unsigned char>(b)).letter) continue;
        const uint64_t key = primary_key(mac_roman_to_unicode(static_cast<unsigned char>(b)));
        if (key) keys.byte_of_key.emplace(key, static_cast<unsigned char>(b));
    }
    for (int i = 0; i < 26; ++i) keys.letters[i] = primary_key(char32_t('a' + i));
    keys.after_latin = primary_key(U'\u03B1');
    return keys;
}

const RomanKeys& roman() {
    static const RomanKeys keys = roman_keys();
    return keys;
}

bool has_marks(char32_t c) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    UChar decomposition[8];
    return U_SUCCESS(status) && unorm2_getDecomposition(nfd, UChar32(c), decomposition, 8, &status) > 0;
}

// A Latin letter goes after the last of a-z the collator puts at or before it;
// any other character after every Roman unit.
uint64_t primary_unit(uint64_t key) {
    const RomanKeys& keys = roman();
    int slot = 256;
    if (key >= keys.letters[0] && key < keys.after_latin) {
        slot = 'a';
        while (slot < 'z' && keys.letters[size_t(slot + 1 - 'a')] <= key) ++slot;
    }
    return roman_unit(slot) | key >> 16;
}

CharacterWeights build_weights(char32_t c) {
    CharacterWeights w;
    const uint64_t key = primary_key(c);
    const auto equal = roman().byte_of_key.find(key);
    if (key && equal != roman().byte_of_key.end()) w.roman_equal = equal->second;
    else w.primary = primary_unit(key);
    w.mark = has_marks(c) ? 0x100 + int32_t(u_tolower(UChar32(c))) : 0;
    w.upper = u_isUUppercase(UChar32(c));
    return w;
}

}  // namespace

const CharacterWeights& character_weights(char32_t c) {
    static std::mutex guard;
    static std::unordered_map<char32_t, CharacterWeights> built;
    std::lock_guard lock(guard);
    auto it = built.find(c);
    if (it == built.end()) it = built.emplace(c, build_weights(c)).first;
    return it->second;
}

}  // namespace pf::collation
