// The texts of SYLK files in the program's scripts.
#include "files/sylk_text.h"

#include <algorithm>
#include <cstring>

#include "files/entry_script.h"
#include "files/sylk_format.h"
#include "files/text_encoding.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "model/record_bytes.h"
#include "model/text_runs.h"
#include "platform/text/mac_roman.h"
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

// The font that sets a cell in `script`: the layer's default when that is of
// the script, else the script's own.
uint16_t font_of_script(int16_t script, MemoryRef layer) {
    if (pf::font_to_script(Get_Default_Font(layer)) == script) return kDefaultFontNumber;
    return uint16_t(pf::script_font(script));
}

// The one script that spells a formula (UTF-8) whole but for the letters no
// installed script spells, as the entry road reads it; -1 when its letters
// need several scripts.
int16_t script_of_formula(std::string_view utf8, const uint8_t* format, MemoryRef layer) {
    RunLook look;
    look.font = format_font_in(format, layer);
    const ScriptedText letters = spell_text_in_scripts(utf8, look);  // "?" for what none spells
    if (letters.script >= 0) return letters.script;
    const pf::ScriptText whole = pf::spell_in_a_script(styled_text_utf8(letters.text, letters.runs, look.font));
    return whole.unmapped > 0 ? int16_t(-1) : whole.script;
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

bool spell_sylk_cell(SylkSpelling& spelling, std::string_view& value, std::string& spelled_value,
                     std::string_view& expression, std::string& spelled_expression, std::string& runs,
                     uint8_t* format, MemoryRef layer) {
    runs.clear();
    if (!spelling.utf8 || (!has_high_bytes(value) && !has_high_bytes(expression))) return true;
    if (value.data() != spelled_value.data()) spelled_value.assign(value);
    value = spelled_value;
    spelled_expression.assign(expression);
    expression = spelled_expression;
    const int16_t own = pf::font_to_script(format_font_in(format, layer));
    if (expression.empty() && !spells(value, own) && pf::spell_in_a_script(value).unmapped > 0) {
        uint8_t spelled[kCellHeaderSize];
        const uint8_t* header = spell_field_for_cell(spelled_value, runs, format, spelled, layer, spelling.unmapped);
        if (header != format) std::memcpy(format, header, kCellHeaderSize);
        value = spelled_value;
        return true;
    }
    const int16_t formula = script_of_formula(spelled_expression, format, layer);
    if (formula < 0) return false;
    int16_t script = own;
    if (!spells(value, own) || !spells(spelled_expression, own))
        script = pf::spell_in_a_script(has_high_bytes(value) ? value : spelled_expression).script;
    if (!spells(spelled_expression, script)) script = formula;  // the formula's script before its value's
    respell(spelled_value, script, spelling.unmapped);
    respell(spelled_expression, script, spelling.unmapped);
    value = spelled_value;
    expression = spelled_expression;
    if (script != own) store_u16(format + kFmtFont, font_of_script(script, layer));
    return true;
}

bool sylk_cell_in_utf8(const uint8_t* cell, int16_t font, SylkVariant variant) {
    return variant == SylkVariant::other_spreadsheets || pf::font_to_script(font) != pf::kScriptRoman ||
           value_script(cell, font) != pf::kScriptRoman;
}

void append_sylk_cell_text(const uint8_t* cell, std::string_view text, int16_t font, bool utf8, std::string& out) {
    if (utf8) escape_sylk_controls(cell_field_utf8(cell, text, font), out);
    else escape_sylk_text(text, out);
}

// ---- Files for other spreadsheets ---------------------------------------------

namespace {

constexpr char kWindowsLatin[] = "CP1252";

// Calls visit(line) for each line of the text with its line end.
template <typename Visit>
void each_line(std::string_view text, Visit&& visit) {
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
        visit(text.substr(at, end - at));
        at = end;
    }
}

// Whether the file begins with the ID record this program writes, which
// names the workbook's date system (files written before it was named there
// were UTF-8 throughout; the program's older generations wrote Mac Roman).
bool names_this_program(std::string_view bytes) {
    const std::string_view first = bytes.substr(0, bytes.find_first_of("\r\n"));
    const SylkRecord record = split_record(first);
    if (record.type != "ID") return false;
    std::string_view rest = record.rest;
    bool ours = false, dates = false;
    SylkField field;
    while (next_field(rest, field)) {
        ours = ours || (field.letter == 'P' && field.value == kSylkProgramName);
        dates = dates || field.letter == kSylkBookDatesField;
    }
    return ours && dates;
}

}  // namespace

namespace {

// A line in Windows-1252, each letter it lacks (or a malformed sequence)
// written as "?" and counted.
std::string windows_latin_with_marks(std::string_view line, int32_t& unspelled) {
    std::string out, letter;
    out.reserve(line.size());
    for (size_t at = 0; at < line.size();) {
        const size_t start = at;
        char32_t code_point = 0;
        const bool decoded = pf::decode_utf8(line, at, code_point);
        if (decoded && pf::convert_encoding(line.substr(start, at - start), "UTF-8", kWindowsLatin, letter)) {
            out += letter;
        } else {
            out += '?';
            ++unspelled;
        }
    }
    return out;
}

}  // namespace

std::string sylk_lines_for_other_spreadsheets(std::string_view utf8, int32_t* unspelled) {
    std::string out, windows;
    int32_t marked = 0;
    out.reserve(utf8.size());
    each_line(utf8, [&](std::string_view line) {
        if (!has_high_bytes(line)) return out.append(line), void();
        if (!pf::convert_encoding(line, "UTF-8", kWindowsLatin, windows))
            return out.append(windows_latin_with_marks(line, marked)), void();
        out.append(pf::is_utf8(windows) ? line : std::string_view(windows));
    });
    if (unspelled) *unspelled += marked;
    return out;
}

namespace {

// The file's lines in UTF-8, those in Windows-1252 converted.
std::string windows_lines_in_utf8(std::string_view bytes) {
    std::string utf8, converted;
    utf8.reserve(bytes.size() + bytes.size() / 8);
    each_line(bytes, [&](std::string_view line) {
        const bool windows = has_high_bytes(line) && !pf::is_utf8(line) &&
                             pf::convert_encoding(line, kWindowsLatin, "UTF-8", converted);
        utf8.append(windows ? std::string_view(converted) : line);
    });
    return utf8;
}

}  // namespace

DecodedText decode_text_or_sylk_file(std::string_view bytes) {
    DecodedText decoded = decode_text_file(bytes);
    // Read as UTF-8 (or ASCII), the file is read; read otherwise, a file this
    // program wrote that is not UTF-8 throughout is read again from its lines
    // in UTF-8. Most files are thus looked through once.
    const bool read_as_utf8 = decoded.form.encoding == TextFileEncoding::utf8 && decoded.guessed == 0;
    if (read_as_utf8 || !has_high_bytes(bytes) || !names_this_program(bytes) || pf::is_utf8(bytes)) return decoded;
    decoded = DecodedText();  // let go before the second reading
    return decode_text_file(windows_lines_in_utf8(bytes));
}
