// The current port's text state, and whole-window redraws.
#pragma once

#include <cstdint>

namespace pf {
struct Window;
}

void TriggerUpdate(pf::Window* window);  // the whole port needs redrawing

// The current port's text font, face, mode and size.
struct TextState {
    int16_t font, face, mode, size;
};
void GetTextState(TextState* state);
void SetTextState(const TextState* state);
// The script of the current port's font (Roman without a port).
int16_t port_script();
