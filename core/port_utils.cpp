// The current port's text state, and whole-window redraws.
#include "core/port_utils.h"

#include "platform/draw/port.h"
#include "platform/text/text.h"
#include "platform/windows/windows.h"

void TriggerUpdate(pf::Window* window) {
    pf::inval_window_rect(window, pf::window_port(window)->port_rect);
}

void GetTextState(TextState* state) {
    const pf::Port* port = pf::get_port();
    *state = port ? TextState{port->text_font, port->text_face, port->text_mode, port->text_size} : TextState{};
}

void SetTextState(const TextState* state) {
    pf::text_font(state->font);
    pf::text_face(static_cast<uint8_t>(state->face));
    pf::text_mode(state->mode);
    pf::text_size(state->size);
}

int16_t port_script() {
    const pf::Port* port = pf::get_port();
    return port ? pf::font_to_script(port->text_font) : pf::kScriptRoman;
}
