// The headless answers of the sheet view's services: no menu lists windows,
// no document is remembered, and an alert is answered by its first button.
#include "window/window_services.h"

namespace {

void not_listed(pf::WindowRef) {}
int16_t none_listed() { return 0; }
void not_remembered(const pf::FileSpec*, int16_t) {}
void nothing_to_open(int16_t) {}
int16_t first_button(int32_t) { return 1; }

constexpr WindowServices kHeadless{not_listed,     not_listed,      none_listed,
                                   not_remembered, nothing_to_open, first_button};

}  // namespace

WindowServices window_services = kHeadless;

WindowServices headless_window_services() { return kHeadless; }
