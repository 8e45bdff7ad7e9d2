// The texts of SYLK files in the program's scripts.
#include "files/sylk_text.h"

#include <algorithm>

#include "files/entry_script.h"
#include "files/sylk_format.h"
#include "files/text_encoding.h"
#include "model/cell_format.h"
#include "model/layer.h"
#include "model/record_bytes.h"
#include "platform/text/text.h"

namespace {

bool spells(std::string_view utf8, int16_t script) {
    std::string ignored;
    return !has_high_bytes(utf8) || pf::utf8_to_script(utf8, script, ignored);
}

// A UTF-8 text in `script`, what it cannot spell counted.
void respell(std::string& text, int16_t script, int32_t& unmapped) {
    if (!has_high_bytes(text)) return;
    pf::ScriptText spelled = pf::spell_in_script(text, script);
    unmapped += spelled.unmapped;
    text = std::move(spelled.bytes);
}

int16_t effective_font(const uint8_t* format, MemoryRef layer) {
    const uint16_t font = format_font(format);
    return font == kDefaultFontNumber ? Get_Default_Font(layer) : int16_t(font);
}

// The font that sets a cell in `script`: the layer's default when that is of
// the script, else the script's own.
uint16_t font_of_script(int16_t script, MemoryRef layer) {
    if (pf::font_to_script(Get_Default_Font(layer)) == script) return kDefaultFontNumber;
    return uint16_t(pf::script_font(script));
}

}  // namespace

std::string_view roman_record(SylkSpelling& spelling, std::string_view line, std::string& roman) {
    if (!spelling.utf8 || !has_high_bytes(line)) return line;
    DecodedText decoded;
    decoded.text.assign(line);
    decoded.scripted = true;
    unscript_text(decoded);
    spelling.unmapped += decoded.unmapped;
    roman = std::move(decoded.text);
    return roman;
}

std::string_view sylk_cell_value(const SylkSpelling& spelling, std::string_view raw, std::string& decoded) {
    if (!spelling.utf8) return field_value(raw, decoded);
    decoded = unescape_unicode_value(raw, true);
    return decoded;
}

void spell_sylk_cell(SylkSpelling& spelling, std::string_view& value, std::string& spelled_value,
                     std::string_view& expression, std::string& spelled_expression, uint8_t* format,
                     MemoryRef layer) {
    if (!spelling.utf8 || (!has_high_bytes(value) && !has_high_bytes(expression))) return;
    if (value.data() != spelled_value.data()) spelled_value.assign(value);
    value = spelled_value;
    spelled_expression.assign(expression);
    const int16_t own = pf::font_to_script(effective_font(format, layer));
    int16_t script = own;
    if (!spells(value, own) || !spells(spelled_expression, own))
        script = pf::spell_in_a_script(has_high_bytes(value) ? value : spelled_expression).script;
    respell(spelled_value, script, spelling.unmapped);
    respell(spelled_expression, script, spelling.unmapped);
    value = spelled_value;
    expression = spelled_expression;
    if (script != own) store_u16(format + kFmtFont, font_of_script(script, layer));
}

bool sylk_cell_in_utf8(const uint8_t* cell, int16_t font, SylkVariant variant) {
    return variant == SylkVariant::other_spreadsheets || pf::font_to_script(font) != pf::kScriptRoman ||
           value_script(cell, font) != pf::kScriptRoman;
}

void append_sylk_cell_text(const uint8_t* cell, std::string_view text, int16_t font, bool utf8, std::string& out) {
    if (utf8) escape_sylk_controls(cell_field_utf8(cell, text, font), out);
    else escape_sylk_text(text, out);
}
