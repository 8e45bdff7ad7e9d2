// A font made ready for one size and face: the glyph and whole-pixel width of each
// Mac Roman byte and the scaled fonts that draw them. Used by the text drawing calls.
#pragma once

#include "platform/fonts/fonts.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>

typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace pf {

// The glyph of a byte that draws nothing (control characters).
constexpr uint32_t kNoGlyph = 0xFFFFFFFFu;

// The glyph and whole-pixel advance of one character.
struct CharGlyph {
    uint32_t glyph = kNoGlyph;
    int16_t width = 0;
};

struct FontInstance {
    int16_t size = 0;   // resolved: never 0
    uint8_t face = 0;
    int16_t script = 0;  // the font's script: its text is in that encoding
    FontInfo info;      // face extras included
    int16_t width[256] = {};   // advance of each byte, face extras included
    uint32_t glyph[256] = {};  // glyph index of each byte, or kNoGlyph
    // [0] drawn without anti-aliasing, [1] with it. Owned by the font cache.
    cairo_scaled_font_t* drawing[2] = {nullptr, nullptr};
    // Double-byte scripts: the two-byte characters met so far (lead byte
    // times 256 plus trail byte), measured with `measure` when first met.
    cairo_scaled_font_t* measure = nullptr;
    mutable std::unordered_map<uint16_t, CharGlyph> pairs;
};

// The character at text[i] (i < size): its glyph and advance, and in `length`
// its bytes (2 for a two-byte character, whose lead byte's table entries say
// nothing).
CharGlyph character_glyph(const FontInstance& font, std::string_view text, size_t i, size_t& length);

// Whether the font has two-byte characters (a double-byte script's): its text
// is then read character by character, else byte by byte from its tables.
inline bool has_two_byte_characters(const FontInstance& font) { return font.measure != nullptr; }

// The advance of a text in a font with two-byte characters, character by character.
int32_t two_byte_text_advance(const FontInstance& font, std::string_view text);

// The advance of a text: summed from the byte table in one pass when every
// character of the font is one byte (inline, as every cell drawn is measured).
inline int32_t text_advance(const FontInstance& font, std::string_view text) {
    if (has_two_byte_characters(font)) return two_byte_text_advance(font, text);
    int32_t width = 0;
    for (unsigned char byte : text) width += font.width[byte];
    return width;
}

// The instance of a style; it lives as long as the process.
const FontInstance& font_instance(const TextStyle& style);

// Which file draws a font number in a face, and what must be synthesised.
struct FontSource {
    std::string file;
    int index = 0;
    bool embolden = false;
    bool slant = false;
};
FontSource resolve_font_source(int16_t number, bool bold, bool italic);

}  // namespace pf
