// UTF-8 text set in the fonts of the scripts that spell it.
#include "platform/draw/unicode_text.h"

#include "platform/draw/port.h"
#include "platform/draw/text.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"

namespace pf {

namespace {

// The script a letter is set in: the stretch's when it spells the letter,
// else the font's, else the first that does; -1 for none.
int16_t letter_script(const ScriptLetters& letters, size_t k, int16_t going_on, int16_t own) {
    if (going_on >= 0 && letters.spells(k, k + 1, going_on)) return going_on;
    return letters.script_spelling(k, k + 1, own);
}

}  // namespace

std::vector<FontPiece> pieces_in_fonts(std::string_view utf8, int16_t font) {
    std::vector<FontPiece> pieces;
    const int16_t own = font_to_script(font);
    const ScriptLetters letters(utf8);
    int16_t going_on = -1;
    for (size_t k = 0; k < letters.size(); ++k) {
        const int16_t script = letter_script(letters, k, going_on, own);
        const int16_t set_in = script < 0 ? own : script;
        if (pieces.empty() || set_in != going_on)
            pieces.push_back(FontPiece{set_in == own ? font : script_font(set_in), {}});
        going_on = set_in;
        if (script < 0 || !letters.append_spelled(k, k + 1, script, pieces.back().bytes)) pieces.back().bytes += '?';
    }
    return pieces;
}

void draw_unicode_text(std::string_view utf8) {
    const int16_t font = port_text_style().font;
    for (const FontPiece& piece : pieces_in_fonts(utf8, font)) {
        text_font(piece.font);
        draw_text(piece.bytes);
    }
    text_font(font);
}

int16_t unicode_text_width(std::string_view utf8) {
    const int16_t font = port_text_style().font;
    int width = 0;
    for (const FontPiece& piece : pieces_in_fonts(utf8, font)) {
        text_font(piece.font);
        width += text_width(piece.bytes);
    }
    text_font(font);
    return int16_t(width);
}

}  // namespace pf
