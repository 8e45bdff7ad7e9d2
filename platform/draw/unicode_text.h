// Text given in UTF-8, drawn and measured in the current port: each stretch
// in the port's font when the font's script spells it, else in the own font
// of a script that does (a stretch goes on in its script while that spells
// the next letter). A letter no installed script spells is drawn as "?".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

// A stretch of the text: its font and its bytes in that font's script.
struct FontPiece {
    int16_t font = 0;
    std::string bytes;
};
// The stretches of a text set in `font`.
std::vector<FontPiece> pieces_in_fonts(std::string_view utf8, int16_t font);

// Draws at the pen and moves the pen right; the port's font is kept.
void draw_unicode_text(std::string_view utf8);
int16_t unicode_text_width(std::string_view utf8);

}  // namespace pf
