// The current port's text state and text smoothing, and whole-window redraws.
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
// Text drawing: flag 2 anti-aliased, other flags plainly; answers the flags
// before. SetQDText draws plainly, SetAliasText anti-aliased.
int32_t CallQDTextFlags(int32_t flags);
void SetQDText();
void SetAliasText();
