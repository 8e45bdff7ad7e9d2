// The Clear dialog (DLOG 130): everything, formats only or contents only.
#include <cstdint>

#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "editing/clipboard.h"
#include "ui/app_prefs.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kClearItem = 1;
constexpr int16_t kFirstRadio = 4;  // everything, formats, contents: the clear modes in order
constexpr int16_t kLastRadio = 6;
constexpr int kClearPosition = 3;  // of the saved dialog positions

}  // namespace

bool ask_clear_mode(int16_t* mode) {
    pf::Point* position = &app_prefs.dialog_positions[kClearPosition];
    DialogRef dialog = StdNewDLOG(kClearDialog, kClearItem, position);
    if (!dialog) return false;
    SetDRadios(dialog, kFirstRadio, kLastRadio, kFirstRadio);
    int16_t radio = 0;
    if (!run_radio_dialog(dialog, kFirstRadio, kLastRadio, &radio, position)) return false;
    *mode = int16_t(radio ? radio - kFirstRadio : kClearAll);
    return true;
}
