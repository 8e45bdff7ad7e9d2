// The export options (DLOG 1020): export or cancel, and the format of the
// layers' files.
#include <cstdint>

#include "window/document_dialogs.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "files/document_file.h"
#include "files/document_prompts.h"

namespace {

constexpr int16_t kExportDialog = 1020;
constexpr int16_t kExportItem = 1;
constexpr int16_t kCancelItem = 2;
constexpr int16_t kSylkCheckBox = 5;

}  // namespace

int16_t run_export_dialog(int16_t* code) {
    DialogRef dialog = StdNewDLOG(kExportDialog, kExportItem, nullptr);
    if (!dialog) return kAnswerCancel;
    SetCheckbox(dialog, kSylkCheckBox, 0);
    pf::draw_dialog(dialog);
    int16_t answer = kAnswerCancel;
    for (;;) {
        pf::EventRecord event;
        int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
        if (item == kSylkCheckBox) {
            FlipCheckbox(dialog, kSylkCheckBox);
        } else if (item == kExportItem) {
            *code = GetCheckbox(dialog, kSylkCheckBox) ? kFormatSylk : kFormatNative;
            answer = kAnswerOK;
            break;
        } else if (item == kCancelItem || item == kModalCloseBox) {
            break;
        }
    }
    StdDLOG_close(dialog, nullptr);
    return answer;
}
