// The program's colour table: the colours cell colour codes stand for.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/draw/colour.h"

// The entries of the program's colour table (clut 129), decoded once for the
// resources installed; empty without them. Colour code n (from 1) is entry n - 1.
const std::vector<pf::RGBColor>& program_colours();
// Entry n into `rgb`; false, leaving `rgb` as it was, when there is none.
bool program_colour(int16_t n, pf::RGBColor* rgb);
// Makes the program's colour table the platform's, from which style runs take
// the colours of colour codes.
void install_program_colours();
