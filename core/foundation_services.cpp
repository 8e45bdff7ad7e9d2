// The headless answers of core's foundation services: no sound, the Roman
// script, nothing to note when the memory reserve is full again, and an undo
// record goes alone (the model, which knows what it holds, answers with a
// disposal of everything it holds).
#include "core/foundation_services.h"

#include "platform/text/text.h"

namespace {

void no_beep(int16_t) {}
int16_t roman_script() { return pf::kScriptRoman; }
void nothing_to_note() {}
void dispose_record_alone(MemoryRef undo) { DisposeNonNilMemory(undo); }

constexpr FoundationServices kHeadless{.sound_beep = no_beep,
                                       .script_of_port = roman_script,
                                       .reserve_refilled = nothing_to_note,
                                       .dispose_undo = dispose_record_alone};

}  // namespace

// Constant-initialised, so that start-up code of any file may fill it.
FoundationServices foundation_services = kHeadless;
