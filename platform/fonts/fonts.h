// Fonts: the font list with its numbers and names, and whole-pixel metrics and widths
// of a font in a size and face.
//
// The classic font numbers are fixed and drawn with explicit families of the Debian
// packages fonts-dejavu-core, fonts-dejavu-extra (the italic faces) and
// fonts-liberation2, found through a fontconfig configuration of our own that holds
// only those files; the machine's font settings never change them, so the same build
// measures and draws the same pixels everywhere:
//
//   number  name        drawn with
//     0     Chicago     DejaVu Sans        (the system font; also found as "System",
//                                           "Charcoal" and "Lucida Grande")
//     1     Geneva      DejaVu Sans        (the application font: an alias of 3)
//     2     New York    DejaVu Serif
//     3     Geneva      DejaVu Sans
//     4     Monaco      DejaVu Sans Mono
//    20     Times       Liberation Serif
//    21     Helvetica   Liberation Sans
//    22     Courier     Liberation Mono
//    23     Symbol      DejaVu Sans
//
// Each script beside Roman (platform/text/scripts.h) has its own font under the first
// number of its range, drawn through the same configuration (fonts-noto-cjk joins it):
//
//   number  name                  script
//   16384   Noto Sans CJK JP      Japanese
//   16896   Noto Sans CJK TC      Traditional Chinese
//   17408   Noto Sans CJK KR      Korean
//   18944   DejaVu Sans Greek     Greek (DejaVu Sans)
//   19456   DejaVu Sans Cyrillic  Cyrillic (DejaVu Sans)
//   28672   Noto Sans CJK SC      Simplified Chinese
//   30720   DejaVu Sans CE        Central European (DejaVu Sans)
//
// The other numbers a script keeps draw with its font too. Text in a script's font is
// in the script's encoding: its bytes are decoded by the script, two at a time for a
// two-byte character of a double-byte script.
//
// Every other family installed on the machine keeps its own name and gets the number
// 1024 + (32-bit FNV-1a hash of its name) mod 31744; when two names meet, the later
// in byte order takes the next free number upward (wrapping inside 1024..32767). A
// number so depends only on the name, and documents keep it across machines. The
// numbers the scripts keep are skipped. The
// families of our own configuration (DejaVu Sans, Liberation Serif, ...) are listed
// under their names too and are always drawn from our files.
//
// A face without its own file in the family is synthesised: bold by emboldening,
// italic by slanting; both show on a PDF page as on the screen. Outline, shadow,
// condense and extend are emulated when drawing; their widths are counted here:
// condense -1 and extend +1 pixel per character, outline +1 and shadow +2 (with or
// without outline). Outline adds a pixel above and below the text, shadow one above
// and two below.
//
// Sizes are in pixels (points at 72 per inch); size 0 or less means 12. Unknown font
// numbers draw with the application font. Bytes below 32 and 127 are not drawn and
// have no width. Widths never depend on anti-aliasing or on the surface drawn to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fonts/classic_fonts.h"

namespace pf {

constexpr int16_t kDefaultFontSize = 12;

// Whole-pixel metrics of a font in a size and face.
struct FontInfo {
    int16_t ascent = 0;
    int16_t descent = 0;
    int16_t widMax = 0;  // the widest character
    int16_t leading = 0;
    friend bool operator==(const FontInfo&, const FontInfo&) = default;
};

// Font, size and face: what a port's text state names.
struct TextStyle {
    int16_t font = kSystemFont;
    int16_t size = 0;
    uint8_t face = 0;
};

struct FontFamily {
    int16_t number = 0;
    std::string name;  // Mac Roman
};

// Every family a font menu offers, sorted by name (the application font alias 1 is not
// listed; its family is).
std::vector<FontFamily> font_list();

// The name of a font number (Mac Roman), "" when no font has the number.
std::string font_name(int16_t number);

// The number of a font name, compared without regard to ASCII case. An unknown name
// gives the system font; `found` (when given) tells which it was.
int16_t font_number(std::string_view name, bool* found = nullptr);

// True when a font has the number; every font is scalable, so every size is real.
bool real_font(int16_t number, int16_t size);

// The file drawn for a font number and face (bold and italic bits); for diagnostics.
std::string font_file(int16_t number, uint8_t face);

FontInfo font_info(const TextStyle& style);
int font_char_width(const TextStyle& style, unsigned char byte);
int font_text_width(const TextStyle& style, std::string_view mac_roman);

// Anti-aliased text drawing, on by default. Tests switch it off for exact pixels.
void set_text_antialiasing(bool on);
bool text_antialiasing();

}  // namespace pf
