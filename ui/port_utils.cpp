// The current port's text state and text smoothing, and whole-window redraws.
#include "ui/port_utils.h"

#include "platform/draw/port.h"
#include "platform/fonts/fonts.h"
#include "platform/system/system.h"
#include "platform/text/text.h"
#include "platform/windows/windows.h"

namespace {

constexpr int32_t kQDTextAntiAliased = 2;
constexpr int16_t kQDTextFlagsVersion = 0x1015;

}  // namespace

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

// Flag 2 draws text anti-aliased, other flags plainly; answers the flags before.
int32_t CallQDTextFlags(int32_t flags) {
    int32_t version = 0;
    pf::query_capability(pf::four_cc("sysv"), version);
    if (version < kQDTextFlagsVersion) return 0;
    int32_t before = pf::text_antialiasing() ? kQDTextAntiAliased : 0;
    pf::set_text_antialiasing((flags & kQDTextAntiAliased) != 0);
    return before;
}

void SetQDText() { CallQDTextFlags(1); }
void SetAliasText() { CallQDTextFlags(kQDTextAntiAliased); }
