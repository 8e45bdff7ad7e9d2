// What core's foundation (memory manager, strings, failure handlers) needs
// from the application, as a record of procedure slots the application fills
// in at start-up. The defaults answer as a program without windows.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

struct FoundationServices {
    // Sounds the alert beep for a number of ticks.
    void (*sound_beep)(int16_t ticks);
    // The script of the current port's font (the text being measured or drawn).
    int16_t (*script_of_port)();
    // The spare memory reserve is back to its full size (the low-memory alert
    // may be shown again).
    void (*reserve_refilled)();
    // Disposes an undo record of an undo list with every block it holds.
    void (*dispose_undo)(MemoryRef undo);
};

extern FoundationServices foundation_services;
