// What the engine asks that the platform alone answers.
#include "ui/platform_answers.h"

#include <utility>

#include "files/files_services.h"
#include "formula/calc_services.h"
#include "model/model_services.h"
#include "platform/draw/port.h"
#include "platform/draw/text.h"
#include "platform/events/events.h"
#include "platform/events/input.h"
#include "platform/events/keyboard.h"
#include "platform/fonts/fonts.h"
#include "platform/memory/memory.h"
#include "platform/print/print.h"

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

// A print record of the older printing interface: its resolutions and its
// page and paper rectangles, in dots, at these offsets (big-endian).
constexpr int32_t kOldResolutionV = 4, kOldResolutionH = 6, kOldPageRect = 8, kOldPaperRect = 16, kOldRecordUsed = 24;

int16_t big_endian_word(const uint8_t* bytes) { return int16_t((bytes[0] << 8) | bytes[1]); }

pf::Rect old_rect(const uint8_t* bytes) {
    return pf::Rect{big_endian_word(bytes), big_endian_word(bytes + 2), big_endian_word(bytes + 4),
                    big_endian_word(bytes + 6)};
}

// The paper of the record in points, standing upright, its orientation (a
// page wider than tall prints across) and its resolution.
pf::Handle old_record_page_format(const uint8_t* record, int32_t length) {
    if (!record || length < kOldRecordUsed) return nullptr;
    const int16_t v_res = big_endian_word(record + kOldResolutionV), h_res = big_endian_word(record + kOldResolutionH);
    const pf::Rect page = old_rect(record + kOldPageRect), paper = old_rect(record + kOldPaperRect);
    if (v_res <= 0 || h_res <= 0 || paper.width() <= 0 || paper.height() <= 0) return nullptr;
    const bool across = page.width() > page.height();
    double width = paper.width() * 72.0 / h_res, height = paper.height() * 72.0 / v_res;
    if (across) std::swap(width, height);
    pf::PageFormatRef format = nullptr;
    if (pf::print_create_page_format(format) != pf::noErr) return nullptr;
    pf::Handle flattened = nullptr;
    if (pf::print_set_paper_size(format, width, height) == pf::noErr &&
        pf::print_set_orientation(format, across ? pf::kLandscapeOrientation : pf::kPortraitOrientation) == pf::noErr) {
        pf::print_set_resolution(format, h_res, v_res);  // one past the largest keeps one dot per point
        pf::print_flatten_page_format(format, flattened);
    }
    pf::print_dispose_page_format(format);
    return flattened;
}

}  // namespace

void fill_platform_answers() {
    model_services.name_of_font_number = installed_font_name;
    model_services.number_of_font_name = installed_font_number;
    model_services.plain_line_height = font_line_height;
    model_services.measured_text_width = port_text_width;
    calc_services.event_waiting = user_event_waiting;
    calc_services.program_in_front = pf::in_foreground;
    files_services.stop_requested = command_period_pressed;
    files_services.page_format_of_old_record = old_record_page_format;
}
