#include "tests/support/platform_stand_ins.h"

#include <cstring>

#include "files/files_services.h"
#include "formula/calc_services.h"
#include "model/model_services.h"
#include "platform/memory/memory.h"
#include "tests/support/user_events.h"

namespace {

struct User {
    int16_t character_width = 0;
    int events_waiting = 0;
    bool command_period = false;
    std::vector<uint8_t> old_print_record;
};
User user;

int16_t fixed_width_text(const unsigned char* text) {
    return user.character_width ? int16_t(text[0] * user.character_width) : int16_t(-1);
}
bool user_event_waiting() { return user.events_waiting > 0; }
bool always_in_front() { return true; }

bool command_period_held() { return user.command_period; }

PrintRecord copied_old_print_record(const uint8_t* record, int32_t length) {
    user.old_print_record.assign(record, record + length);
    pf::Handle format = pf::new_handle(length);
    if (format) std::memcpy(*format, record, size_t(length));
    return format;
}

void fill_stand_ins() {
    model_services.measured_text_width = fixed_width_text;
    calc_services.event_waiting = user_event_waiting;
    calc_services.program_in_front = always_in_front;
    files_services.stop_requested = command_period_held;
    files_services.page_format_of_old_record = copied_old_print_record;
}

const bool filled = (fill_stand_ins(), true);

}  // namespace

namespace stand_in {

void measure_characters_at(int16_t width) { user.character_width = width; }
void post_user_event() { ++user.events_waiting; }
void take_user_event() {
    if (user.events_waiting > 0) --user.events_waiting;
}
void hold_command_period(bool down) { user.command_period = down; }
const std::vector<uint8_t>& last_old_print_record() { return user.old_print_record; }
void reset() { user = User{}; }

}  // namespace stand_in

void forget_user_events() { stand_in::reset(); }
