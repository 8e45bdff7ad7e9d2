// Dialogs on the headless screen for the core's tests: a guard that fails a test
// waiting for input it never scripted, small dialogs built in code, key events.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "ui/dialog_items.h"
#include "platform/dialogs/dialogs.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/windows/windows.h"

namespace dialogtest {

inline int idle_presents = 0;

// Composes the screen; throws once the program has waited long with nothing scripted.
inline void guarded_compose_step() {
    pf::compose_screen();
    idle_presents = pf::driver_pending_steps() ? 0 : idle_presents + 1;
    if (idle_presents > 20000) {
        idle_presents = 0;
        throw std::runtime_error("waiting for input that the test never gives");
    }
}

inline void guard_against_waiting() {
    idle_presents = 0;
    pf::host_set_composer(guarded_compose_step);
}

inline std::string screenshot_path(const std::string& name) {
    std::filesystem::path folder = std::filesystem::path(QUORVIN_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

// A modal dialog in front: 1 OK, 2 Cancel, 3 an edit text, 4 a user item (for
// controls a test adds), 5 a second edit text.
inline pf::DialogRef two_button_dialog() {
    std::vector<pf::DialogItemSpec> items = {
        {pf::kButtonItem, pf::Rect{120, 230, 140, 300}, "OK", 0, true},
        {pf::kButtonItem, pf::Rect{120, 140, 140, 210}, "Cancel", 0, true},
        {pf::kEditTextItem, pf::Rect{20, 20, 40, 120}, "", 0, true},
        {pf::kUserItem, pf::Rect{20, 124, 42, 137}, "", 0, true},
        {pf::kEditTextItem, pf::Rect{60, 20, 80, 120}, "", 0, true},
    };
    pf::DialogRef dialog = pf::new_dialog(pf::Rect{100, 100, 250, 420}, "Test", pf::kDialogBoxProc, true, items);
    pf::select_window(pf::get_dialog_window(dialog));
    pf::draw_dialog(dialog);
    return dialog;
}

inline pf::EventRecord key_event(unsigned char ch, uint8_t code, uint16_t modifiers = 0) {
    pf::EventRecord event;
    event.what = pf::kKeyDown;
    event.message = (uintptr_t(code) << 8) | ch;
    event.modifiers = modifiers;
    return event;
}

inline void set_field(pf::DialogRef dialog, int16_t item, const std::string& text) {
    pf::set_dialog_item_text(dialog, item, text);
}

inline std::string field(pf::DialogRef dialog, int16_t item) { return pf::get_dialog_item_text(dialog, item); }

}  // namespace dialogtest
