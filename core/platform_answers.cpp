// What the engine asks that the platform alone answers.
#include "core/platform_answers.h"

#include "files/files_services.h"
#include "formula/calc_services.h"
#include "model/model_services.h"
#include "platform/draw/port.h"
#include "platform/draw/text.h"
#include "platform/events/events.h"
#include "platform/events/input.h"
#include "platform/events/keyboard.h"
#include "platform/fonts/fonts.h"

namespace {

std::string installed_font_name(int16_t number) { return pf::font_name(number); }
int16_t installed_font_number(std::string_view name, bool* found) { return pf::font_number(name, found); }

int16_t font_line_height(int16_t font, int16_t size) {
    pf::FontInfo info = pf::font_info(pf::TextStyle{font, size, 0});
    return int16_t(info.ascent + info.descent + info.leading);
}

int16_t port_text_width(const unsigned char* text) { return pf::get_port() ? pf::string_width(text) : int16_t(-1); }

bool user_event_waiting() {
    pf::EventRecord event;
    return pf::event_avail(pf::kEveryEvent, event);
}

// Command-period, waiting or held down.
bool command_period_pressed() {
    pf::EventRecord event;
    if (pf::event_avail(pf::kKeyDownMask, event) && (event.modifiers & pf::kCmdKey) && pf::event_char(event) == '.') {
        pf::get_next_event(pf::kKeyDownMask, event);
        return true;
    }
    return pf::key_is_down(pf::kKeyCodePeriod) && (pf::current_modifiers() & pf::kCmdKey);
}

}  // namespace

void fill_platform_answers() {
    model_services.font_name = installed_font_name;
    model_services.font_number = installed_font_number;
    model_services.line_height = font_line_height;
    model_services.text_width = port_text_width;
    calc_services.event_waiting = user_event_waiting;
    calc_services.in_foreground = pf::in_foreground;
    files_services.stop_requested = command_period_pressed;
}
