#include "editing/paste_special_dialog.h"

#include "editing/clipboard.h"
#include "platform/controls/controls.h"
#include "ui/app_prefs.h"
#include "ui/dialog_pictures.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2, kAllItem = 4, kFormatsItem = 7;
constexpr int16_t kTransposeItem = 9, kSkipBlanksItem = 10, kOperationPopup = 12, kSampleItem = 13;
constexpr int kPasteSpecialPosition = 12;        // of the saved dialog positions

int16_t popup_value(DialogRef dialog) {
    pf::ControlRef popup = GetDialogControl(dialog, kOperationPopup);
    return popup ? int16_t(pf::get_control_value(popup)) : 1;
}

void set_choice(DialogRef dialog, int16_t radio) {
    SetDRadios(dialog, kAllItem, kFormatsItem, radio);
    EnableButton(dialog, kOperationPopup, radio != kFormatsItem);
}

// The arguments of the paste, or false after Cancel.
bool ask_paste_options(PasteOptions* options) {
    pf::Point* position = &app_prefs.dialog_positions[kPasteSpecialPosition];
    DialogRef dialog = StdNewDLOG(kPasteSpecialDialog, kOkItem, position);
    if (!dialog) return false;
    AttachDUserProc(dialog, kSampleItem, draw_sample_item);
    const int16_t saved = app_prefs.paste_special_choice;
    set_choice(dialog, int16_t(kAllItem + (saved >= kPasteAll && saved <= kPasteFormats ? saved : kPasteAll)));
    pf::draw_dialog(dialog);
    bool ok = false;
    for (;;) {
        const int16_t item = next_dialog_item(dialog);
        if (item == kCancelItem) break;
        if (item >= kAllItem && item <= kFormatsItem) set_choice(dialog, item);
        else if (item == kTransposeItem || item == kSkipBlanksItem) FlipCheckbox(dialog, item);
        else if (item == kOperationPopup) DrawDialogItem(dialog, kSampleItem);
        else if (item == kOkItem) {
            options->choice = int16_t(GetDRadios(dialog, kAllItem, kFormatsItem) - kAllItem);
            options->transpose = GetCheckbox(dialog, kTransposeItem) != 0;
            options->skip_blanks = GetCheckbox(dialog, kSkipBlanksItem) != 0;
            options->operation = uint8_t(paste_operation_of(popup_value(dialog)));
            app_prefs.paste_special_choice = options->choice;
            ok = true;
            break;
        }
    }
    StdDLOG_close(dialog, position);
    return ok;
}

}  // namespace

int16_t paste_operation_of(int16_t popup_value) {
    switch (popup_value) {
        case 2: return '+';
        case 3: return '-';
        case 4: return '*';
        case 5: return '/';
        default: return 0;
    }
}

void draw_sample_item(DialogRef dialog, int16_t item) {
    const int16_t value = popup_value(dialog);
    draw_item_picture(dialog, item, value >= 2 ? int16_t(kAddPicture + value - 2) : 0);
}

void paste_special_dialog(MemoryRef layer) {
    if (!layer) return;
    ReadClip();
    PasteOptions options;
    if (!ask_paste_options(&options)) return;
    PasteSpecial(layer, options.choice, options.skip_blanks, options.transpose, options.operation);
}
