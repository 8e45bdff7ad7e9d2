// The classic font numbers, the scripts' own fonts and their names, known
// without any font installed (see fonts.h for the families that draw them).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pf {

enum : int16_t {
    kSystemFont = 0,
    kApplFont = 1,
    kNewYorkFont = 2,
    kGenevaFont = 3,
    kMonacoFont = 4,
    kTimesFont = 20,
    kHelveticaFont = 21,
    kCourierFont = 22,
    kSymbolFont = 23,
};

struct ClassicFont {
    int16_t number;
    const char* name;
    const char* family;  // in our configuration
};

std::span<const ClassicFont> classic_fonts();
// The classic font of a number (the application font is Geneva), or null.
const ClassicFont* classic_font(int16_t number);
// The number of a classic name or alias ("System", "Charcoal", "Lucida Grande"
// are the system font), compared without regard to ASCII case; -1 for any other.
int16_t classic_font_number(std::string_view name);
// Font names compared without regard to ASCII case.
bool same_font_name(std::string_view a, std::string_view b);

// The own font of each script beside Roman, under the script's first font number.
struct ScriptFont {
    int16_t script;
    const char* name;    // as the font menu shows it
    const char* family;  // in our configuration
};
std::span<const ScriptFont> script_fonts();
// The script font drawing a number (every number a script keeps), or null.
const ScriptFont* script_font_of(int16_t number);
// The script font of a name, compared without regard to ASCII case, or null.
const ScriptFont* script_font_named(std::string_view name);

// The name of a classic font or of a script's own font (its first number);
// "" for any other number.
std::string known_font_name(int16_t number);
// The number of a classic name or alias or of a script font's name; -1 for any other.
int16_t known_font_number(std::string_view name);

}  // namespace pf
