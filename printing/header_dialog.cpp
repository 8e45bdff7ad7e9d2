// The header and footer editor (DLOG 901): the left, centre and right texts
// of a working header or footer list, with their field codes.
#include "printing/header_dialog.h"

#include "core/alert_kinds.h"
#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "core/string_utils.h"
#include "platform/dialogs/dialogs.h"
#include "platform/windows/windows.h"
#include "printing/header_footer.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kTextTooLongMessage = 7;
constexpr int16_t kOKItem = 1;
constexpr int16_t kTextItems[3] = {4, 6, 8};  // left, centre, right

void fill_texts(DialogRef dialog, const std::vector<HeaderPart>& parts) {
    unsigned char text[256];
    for (int i = 0; i < 3; ++i) {
        set_pstring(text, aligned_text(parts, kHeaderAlignments[i]));
        SetDEditText(dialog, kTextItems[i], text);
    }
    SetEditTextDialogItemFocus(dialog, kTextItems[0]);
    SelectTheDialogItemText(dialog, kTextItems[0], 0, kAllCharacters);
}

// The three texts; false (with the refusal shown and the field selected)
// when one holds letters Roman cannot spell or is longer than a part holds.
bool read_texts(DialogRef dialog, std::string texts[3]) {
    unsigned char text[256];
    for (int i = 0; i < 3; ++i) {
        if (!GetDRomanText(dialog, kTextItems[i], text)) return false;
        texts[i] = pstring_text(text);
        if (texts[i].size() <= size_t(kHeaderPartTextCapacity)) continue;
        str_multi_alert(kPrintMessages, kTextTooLongMessage, kStandardStopAlert, kStopAlertKind);
        SetEditTextDialogItemFocus(dialog, kTextItems[i]);
        SelectTheDialogItemText(dialog, kTextItems[i], 0, kAllCharacters);
        return false;
    }
    return true;
}

bool same_texts(const std::vector<HeaderPart>& a, const std::vector<HeaderPart>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].text != b[i].text || a[i].alignment != b[i].alignment) return false;
    return true;
}

}  // namespace

int16_t HeaderDialog(MemoryRef* list, bool is_header) {
    DialogRef dialog = StdNewDLOG(kHeaderDialog, kOKItem, nullptr);
    if (!dialog) return 0;
    pf::set_window_title(pf::get_dialog_window(dialog), std::string(is_header ? "Header" : "Footer"));
    const std::vector<HeaderPart> parts = header_parts_of(*list);
    fill_texts(dialog, parts);
    std::string texts[3];
    const auto read = [&] { return read_texts(dialog, texts); };
    if (!run_ok_cancel_dialog(dialog, read, [](int16_t) {})) return 0;
    const std::vector<HeaderPart> edited = with_aligned_texts(parts, texts);
    if (same_texts(parts, edited)) return 0;
    DisposeNonNilMemory(*list);
    *list = header_parts_list(edited);
    return 1;
}
