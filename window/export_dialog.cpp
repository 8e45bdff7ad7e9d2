// The export options (DLOG 1020): export or cancel, and the format of the
// layers' files.
#include <cstdint>

#include "window/document_dialogs.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kExportItem = 1;
constexpr int16_t kSylkCheckBox = 5;

}  // namespace

int16_t run_export_dialog(int16_t* code) {
    DialogRef dialog = StdNewDLOG(kExportDialog, kExportItem, nullptr);
    if (!dialog) return kAnswerCancel;
    SetCheckbox(dialog, kSylkCheckBox, 0);
    const auto read_format = [&] {
        *code = GetCheckbox(dialog, kSylkCheckBox) ? kFormatSylk : kFormatNative;
        return true;
    };
    const auto click = [&](int16_t item) {
        if (item == kSylkCheckBox) FlipCheckbox(dialog, kSylkCheckBox);
    };
    return run_ok_cancel_dialog(dialog, read_format, click) ? kAnswerOK : kAnswerCancel;
}
