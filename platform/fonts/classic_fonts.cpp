// The classic font numbers and their names.
#include "platform/fonts/classic_fonts.h"

#include <algorithm>

namespace pf {

namespace {

constexpr ClassicFont kClassicFonts[] = {
    {kSystemFont, "Chicago", "DejaVu Sans"},     {kNewYorkFont, "New York", "DejaVu Serif"},
    {kGenevaFont, "Geneva", "DejaVu Sans"},      {kMonacoFont, "Monaco", "DejaVu Sans Mono"},
    {kTimesFont, "Times", "Liberation Serif"},   {kHelveticaFont, "Helvetica", "Liberation Sans"},
    {kCourierFont, "Courier", "Liberation Mono"}, {kSymbolFont, "Symbol", "DejaVu Sans"},
};

struct Alias {
    const char* name;
    int16_t number;
};
constexpr Alias kAliases[] = {{"System", kSystemFont}, {"Charcoal", kSystemFont}, {"Lucida Grande", kSystemFont}};

}  // namespace

std::span<const ClassicFont> classic_fonts() { return kClassicFonts; }

bool same_font_name(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        auto lower = [](char ch) { return (ch >= 'A' && ch <= 'Z') ? char(ch - 'A' + 'a') : ch; };
        return lower(x) == lower(y);
    });
}

const ClassicFont* classic_font(int16_t number) {
    if (number == kApplFont) number = kGenevaFont;
    auto it = std::ranges::find(kClassicFonts, number, &ClassicFont::number);
    return it == std::end(kClassicFonts) ? nullptr : it;
}

int16_t classic_font_number(std::string_view name) {
    for (const ClassicFont& f : kClassicFonts)
        if (same_font_name(f.name, name)) return f.number;
    for (const Alias& a : kAliases)
        if (same_font_name(a.name, name)) return a.number;
    return -1;
}

}  // namespace pf
