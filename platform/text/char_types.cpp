// Scripts, byte types and character types.
#include <algorithm>
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

// Letters of the Greek, Cyrillic and Central European high halves, and
// whether they are capitals.
bool script_letter(char32_t c, bool& upper) {
    if (c >= 0x0386 && c <= 0x03CE && c != 0x0387) {
        upper = c <= 0x03AB;
        return true;
    }
    if (c >= 0x0400 && c <= 0x045F) {
        upper = c <= 0x042F;
        return true;
    }
    if (c >= 0x00C0 && c <= 0x017F && c != 0x00D7 && c != 0x00F7) {
        if (c < 0x0100) upper = c < 0x00DF;
        else if ((c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E)) upper = c % 2 == 1;
        else upper = c % 2 == 0;
        return true;
    }
    return false;
}

// Bytes of single-byte scripts other than Roman: their ASCII half as Roman,
// their letters above it as letters of the script, the rest as symbols.
int16_t single_byte_character_type(unsigned char c, int16_t script) {
    if (c < 0x80) return roman_character_type(c);
    bool upper = false;
    if (!script_letter(single_byte_code_point(c, script), upper)) return int16_t(kCharPunct | punctuation_class(c));
    return upper ? int16_t(kCharEuro | kCharUpper) : kCharEuro;
}

}  // namespace

int16_t system_script() { return kScriptRoman; }
bool script_enabled(int16_t script) { return std::ranges::find(enabled_scripts(), script) != enabled_scripts().end(); }
int16_t keyboard_script() { return g_keyboard_script; }

void set_keyboard_script(int16_t script) {
    if (script_enabled(script)) g_keyboard_script = script;
}

int16_t character_byte_type(const char* text, int32_t offset, int16_t script) {
    if (!double_byte_script(script) || offset < 0) return 0;
    int32_t i = 0;
    while (i < offset) i += script_lead_byte(static_cast<unsigned char>(text[i]), script) ? 2 : 1;
    if (i > offset) return 1;
    return script_lead_byte(static_cast<unsigned char>(text[offset]), script) ? -1 : 0;
}

int16_t character_type(const char* text, int32_t offset, int16_t script) {
    if (character_byte_type(text, offset, script) != 0) return kCharDoubleByte;
    const unsigned char c = static_cast<unsigned char>(text[offset]);
    if (script == kScriptRoman || double_byte_script(script)) return roman_character_type(c);
    return single_byte_character_type(c, script);
}

}  // namespace pf
