// The separator of a text file whose kind does not tell it (DLOG 170).
#include <cstdint>

#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "files/document_prompts.h"
#include "files/text_exchange.h"
#include "window/document_dialogs.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOpenItem = 1;
constexpr int16_t kFirstRadio = 3;
constexpr int16_t kLastRadio = 6;
constexpr uint8_t kSeparators[] = {kTabSeparator, kCommaSeparator, kSpaceSeparator, kSemicolonSeparator};

// The radio button of a separator; tab's for any other byte.
int16_t radio_of(uint8_t separator) {
    for (int16_t i = 0; i <= kLastRadio - kFirstRadio; ++i)
        if (kSeparators[i] == separator) return int16_t(kFirstRadio + i);
    return kFirstRadio;
}

}  // namespace

int16_t run_separator_dialog(uint8_t* separator) {
    // With nobody to ask, a separator the file itself suggests is taken.
    if (unattended_run() && *separator != 0) return kAnswerOK;
    DialogRef dialog = StdNewDLOG(kSeparatorDialog, kOpenItem, nullptr);
    if (!dialog) return kAnswerCancel;
    SetDRadios(dialog, kFirstRadio, kLastRadio, radio_of(*separator));
    int16_t radio = 0;
    if (!run_radio_dialog(dialog, kFirstRadio, kLastRadio, &radio)) return kAnswerCancel;
    *separator = kSeparators[radio ? radio - kFirstRadio : 0];
    return kAnswerOK;
}
