// Placement of the bytes of a text in whole pixels, shared by text drawing and
// measuring.
#pragma once

#include "platform/draw/text.h"
#include "platform/fonts/font_instance.h"

#include <string_view>
#include <vector>

namespace pf {

// The font of the current port's text state.
const FontInstance& port_font();

// x[i] = distance from the text's left edge to byte i, x[length] = the width; spaces
// that stretch take their share of the slop (text.h, draw_justified).
void layout_text(const FontInstance& font, std::string_view text, Fixed slop, int16_t run_position,
                 std::vector<int32_t>& x);

}  // namespace pf
