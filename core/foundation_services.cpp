// The headless answers of core's foundation services: no sound, the Roman
// script, nothing to note when the memory reserve is full again.
#include "core/foundation_services.h"

#include "platform/text/text.h"

namespace {

void no_beep(int16_t) {}
int16_t roman_script() { return pf::kScriptRoman; }
void nothing_to_note() {}

}  // namespace

FoundationServices headless_foundation_services() { return FoundationServices{no_beep, roman_script, nothing_to_note}; }

FoundationServices foundation_services = headless_foundation_services();
