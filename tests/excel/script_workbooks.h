// Pieces of Excel workbooks whose texts and formulas are of every script, set
// in fonts of every script: the fonts and the XF of each, the texts in the
// shared string table, and formulas of string constants in UTF-16.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text/text.h"
#include "tests/excel/biff_builder.h"

namespace biff {

inline Record font_named(const std::string& name) {
    return {0x0031, Body().u16(200).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0).text8(name, true).v};
}
inline Record xf_of_font(uint16_t font) {
    return {0x00E0, Body().u16(font).u16(0).u16(0x0001).u8(0).u8(0).u8(0).u8(0).u32(0).u32(0).u16(0).v};
}

inline std::u16string utf16(std::string_view utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        pf::decode_utf8(utf8, i, c);
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

// A string constant of a formula, in UTF-16.
inline std::vector<uint8_t> text_token(std::string_view utf8) {
    const std::u16string text = utf16(utf8);
    Body body;
    body.u8(0x17).u8(uint8_t(text.size())).u8(1);
    for (char16_t c : text) body.u16(c);
    return body.v;
}

// A formula of string constants joined by "&", with the text result the
// workbook gives in the STRING record after it.
inline std::vector<Record> joined_texts_formula(uint16_t row, uint16_t column, const std::vector<std::string>& texts,
                                                const std::string& result, uint16_t xf) {
    constexpr uint16_t kString = 0x0207;
    std::vector<uint8_t> tokens;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::vector<uint8_t> token = text_token(texts[i]);
        tokens.insert(tokens.end(), token.begin(), token.end());
        if (i > 0) tokens.push_back(0x08);
    }
    Record formula = formula_marked(row, column, tokens, 0, 0);
    formula.body[4] = uint8_t(xf);
    formula.body[5] = uint8_t(xf >> 8);
    return {formula, {kString, Body().wide8(utf16(result)).v}};
}

// Fonts of every script; XF n of script_globals is set in kScriptFonts[n].
inline const char* const kScriptFonts[] = {"Arial",           "Noto Sans CJK JP", "DejaVu Sans Cyrillic",
                                           "DejaVu Sans Greek", "DejaVu Sans CE", "Noto Sans CJK KR"};

// The globals of a workbook of kScriptFonts, an XF for each, and the texts
// as its shared strings (label_sst index n is texts[n]).
inline std::vector<Record> script_globals(const std::vector<std::string>& texts) {
    std::vector<Record> globals;
    for (const char* font : kScriptFonts) globals.push_back(font_named(font));
    for (uint16_t font : {0, 1, 2, 3, 5, 6}) globals.push_back(xf_of_font(font));  // Excel skips font 4
    Body strings;
    strings.u32(uint32_t(texts.size())).u32(uint32_t(texts.size()));
    for (const std::string& text : texts) strings.wide8(utf16(text));
    globals.push_back({kSst, strings.v});
    return globals;
}

}  // namespace biff
