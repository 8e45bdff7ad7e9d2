// The classic font numbers, the scripts' own fonts and their names.
#include "platform/fonts/classic_fonts.h"

#include <algorithm>

#include "platform/text/scripts.h"
#include "platform/text/text.h"

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

// fonts-noto-cjk for the double-byte scripts, DejaVu Sans for the single-byte ones.
constexpr ScriptFont kScriptFonts[] = {
    {kScriptJapanese, "Noto Sans CJK JP", "Noto Sans CJK JP"},
    {kScriptTradChinese, "Noto Sans CJK TC", "Noto Sans CJK TC"},
    {kScriptKorean, "Noto Sans CJK KR", "Noto Sans CJK KR"},
    {kScriptSimpChinese, "Noto Sans CJK SC", "Noto Sans CJK SC"},
    {kScriptGreek, "DejaVu Sans Greek", "DejaVu Sans"},
    {kScriptCyrillic, "DejaVu Sans Cyrillic", "DejaVu Sans"},
    {kScriptCentralEuro, "DejaVu Sans CE", "DejaVu Sans"},
};

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

std::span<const ScriptFont> script_fonts() { return kScriptFonts; }

const ScriptFont* script_font_of(int16_t number) {
    const int16_t script = font_to_script(number);
    auto it = std::ranges::find(kScriptFonts, script, &ScriptFont::script);
    return it == std::end(kScriptFonts) ? nullptr : it;
}

const ScriptFont* script_font_named(std::string_view name) {
    for (const ScriptFont& f : kScriptFonts)
        if (same_font_name(f.name, name)) return &f;
    return nullptr;
}

std::string known_font_name(int16_t number) {
    if (const ClassicFont* f = classic_font(number)) return f->name;
    const ScriptFont* f = script_font_of(number);
    return f && number == script_font(f->script) ? f->name : "";
}

int16_t known_font_number(std::string_view name) {
    if (int16_t number = classic_font_number(name); number >= 0) return number;
    if (const ScriptFont* f = script_font_named(name)) return script_font(f->script);
    return -1;
}

}  // namespace pf
