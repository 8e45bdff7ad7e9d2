// The classic font numbers and their names, known without any font installed
// (see fonts.h for the families that draw them).
#pragma once

#include <cstdint>
#include <span>
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

}  // namespace pf
