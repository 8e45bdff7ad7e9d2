// The one modal loop of the system (GetModalDialogItem) and the routing of
// events to modeless and floating dialogs (dialog_routing.h).
#pragma once

#include <cstdint>

#include "ui/dialog_items.h"
#include "ui/dialog_routing.h"
#include "platform/dialogs/dialogs.h"

// Options of GetModalDialogItem.
constexpr int16_t kModalLeftRightArrows = 0x01;  // left and right arrows go to the dialog
constexpr int16_t kModalUpDownArrows = 0x02;     // up and down arrows go to the dialog
constexpr int16_t kModalReturnDefault = 0x10;    // Return answers the default item
constexpr int16_t kModalEnterDefault = 0x20;     // Enter answers the default item
constexpr int16_t kModalCancelKeys = 0x40;       // Escape and Command-period answer item 2
constexpr int16_t kModalAllOptions = 255;

// Answers of GetModalDialogItem besides items.
constexpr int16_t kModalCloseBox = -1;
constexpr int16_t kModalDragged = -2;
constexpr int16_t kModalKey = -3;  // a key for the caller, in the event record
constexpr int16_t kModalMenuBar = -4;
constexpr int16_t kModalClickOutside = -5;

// Waits for the user in a modal dialog: a positive item; 1 when dialog_timer ran
// out; 2 for a cancel key; or one of the answers above. `event` gets the event.
int16_t GetModalDialogItem(pf::DialogRef dialog, pf::EventRecord* event, int16_t options);

// Escape or Command-period.
bool is_cancel_key(const pf::EventRecord& event);

// A mouse-down in the menu bar (-4, the Apple menu served), the window's drag
// region (-2, dragged) or its close box (-1); 0 otherwise.
int16_t modal_window_item(pf::WindowRef window, pf::EventRecord* event);

// Runs a dialog whose item 1 is OK and item 2 Cancel until OK with fields
// `accept` takes, or Cancel or the close box; `click` answers the other
// items. Closes the dialog, keeping its place in `saved_position` when given;
// 1 when confirmed.
template <typename Accept, typename Click>
int16_t run_ok_cancel_dialog(DialogRef dialog, Accept&& accept, Click&& click, pf::Point* saved_position = nullptr) {
    constexpr int16_t kOk = 1, kCancel = 2;
    pf::draw_dialog(dialog);
    int16_t answer = 0;
    for (;;) {
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
        if (item == kCancel || item == kModalCloseBox) break;
        if (item != kOk) {
            click(item);
            continue;
        }
        if (!accept()) continue;
        answer = 1;
        break;
    }
    StdDLOG_close(dialog, saved_position);
    return answer;
}

// Runs a dialog like run_ok_cancel_dialog whose items `first` to `last` are
// radio buttons, one on at a time. True on OK with `chosen` the radio then on
// (0 when none is).
bool run_radio_dialog(DialogRef dialog, int16_t first, int16_t last, int16_t* chosen,
                      pf::Point* saved_position = nullptr);
