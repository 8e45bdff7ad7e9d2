// Scripts, byte types and character types.
#include <cstring>

#include "platform/text/letters.h"
#include "platform/text/text.h"

namespace pf {
namespace {

// Punctuation above ASCII that reads as punctuation rather than as a symbol:
// daggers, bullet, inverted marks, guillemets, ellipsis, dashes and quotes.
constexpr unsigned char kHighPunctuation[] = {0xA0, 0xA5, 0xC0, 0xC1, 0xC7, 0xC8, 0xC9, 0xD0, 0xD1, 0xD2,
                                              0xD3, 0xD4, 0xD5, 0xDC, 0xDD, 0xE0, 0xE1, 0xE2, 0xE3};
constexpr char kAsciiSymbols[] = "#$%&*+<=>@\\^`|~";

int16_t g_keyboard_script = kScriptRoman;

bool is_shift_jis_lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool is_blank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0xCA; }

bool is_high_punctuation(unsigned char c) {
    return std::memchr(kHighPunctuation, c, sizeof kHighPunctuation) != nullptr;
}

int16_t punctuation_class(unsigned char c) {
    if (c >= '0' && c <= '9') return kPunctNumber;
    if (is_blank(c)) return kPunctBlank;
    if (c < 0x80) return c != 0 && std::strchr(kAsciiSymbols, c) ? kPunctSymbol : kPunctNormal;
    return is_high_punctuation(c) ? kPunctNormal : kPunctSymbol;
}

int16_t roman_character_type(unsigned char c) {
    const letters::LetterInfo& info = letters::info(c);
    if (!info.letter) return int16_t(kCharPunct | punctuation_class(c));
    int16_t type = c < 0x80 ? kCharAscii : kCharEuro;
    return info.upper ? int16_t(type | kCharUpper) : type;
}

}  // namespace

int16_t font_to_script(int16_t) { return kScriptRoman; }
int16_t system_script() { return kScriptRoman; }
bool script_enabled(int16_t script) { return script == kScriptRoman; }
int16_t keyboard_script() { return g_keyboard_script; }

void set_keyboard_script(int16_t script) {
    if (script_enabled(script)) g_keyboard_script = script;
}

int16_t character_byte_type(const char* text, int32_t offset, int16_t script) {
    if (script != kScriptJapanese || offset < 0) return 0;
    int32_t i = 0;
    while (i < offset) i += is_shift_jis_lead(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i > offset) return 1;
    return is_shift_jis_lead(static_cast<unsigned char>(text[offset])) ? -1 : 0;
}

int16_t character_type(const char* text, int32_t offset, int16_t script) {
    if (character_byte_type(text, offset, script) != 0) return kCharDoubleByte;
    return roman_character_type(static_cast<unsigned char>(text[offset]));
}

}  // namespace pf
