// The life of the application: start-up in its fixed order, the event loop,
// and shutdown in its fixed order; the procedures start-up installs for the
// task manager and the calculation library.
#pragma once

#include <cstdint>

// Start-up up to the event loop; false when the system is refused.
bool app_startup();
// Its first steps, which programs that calculate without windows share: the
// system's facts (separators, scripts), memory, and the calculation library's
// globals (error values, separators, function names).
bool calc_startup();
// The command bar, then each palette whose preference bit is set, in fixed order.
void open_command_bar_and_palettes();
// Shutdown after the event loop has ended.
void app_shutdown();
// Start-up, the command line's documents (or the start-up action), the loop, shutdown.
int run_application(int argc, const char* const* argv);

// The swap file's reference number (0 when none is open).
extern int16_t swap_file_ref;

int32_t purge_func(int32_t bytes);
int32_t urgent_func(int32_t code);
int16_t title_click_func(uintptr_t app_ref);

// Whether start-up writes the preferences after reading them answered this.
bool prefs_need_writing(int16_t read_answer);
