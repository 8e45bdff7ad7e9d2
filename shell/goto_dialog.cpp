#include "shell/goto_dialog.h"

#include <cctype>
#include <string>

#include "core/alert_kinds.h"
#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/lists_and_menus.h"
#include "ui/modal_dialog.h"
#include "ui/dialog_pictures.h"
#include "formula/range_string.h"
#include "formula/reference_text.h"
#include "model/named_ranges.h"
#include "shell/command_dialogs.h"
#include "shell/range_names.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2, kReferenceItem = 3, kNamesItem = 6, kSelectItem = 7;
constexpr size_t kLongestReference = kNamedRangeNameSize - 1;

// Letters, then digits, once or twice around a colon, "$" allowed: the shape
// of a cell reference, whatever its size.
bool looks_like_reference(const std::string& text) {
    size_t at = 0;
    auto corner = [&]() {
        size_t letters = 0, digits = 0;
        if (at < text.size() && text[at] == '$') ++at;
        while (at < text.size() && std::isalpha(uint8_t(text[at]))) ++at, ++letters;
        if (at < text.size() && text[at] == '$') ++at;
        while (at < text.size() && std::isdigit(uint8_t(text[at]))) ++at, ++digits;
        return letters + digits > 0;
    };
    if (!corner()) return false;
    if (at < text.size() && text[at] == ':') {
        ++at;
        if (!corner()) return false;
    }
    return at == text.size();
}

bool has_text(DialogRef dialog) {
    unsigned char text[256];
    GetDEditText(dialog, kReferenceItem, text);
    return text[0] != 0;
}

// A click on a name writes its reference into the text; a double click goes
// there at once (answers OK).
int16_t take_name(DialogRef dialog, pf::ListHandle names, MemoryRef layer) {
    if (FindSelect(names) < 0) return kNamesItem;
    add_record_text(dialog, Get_rangeinfo(layer), names, 0, kReferenceItem);
    SelectTheDialogItemText(dialog, kReferenceItem, 0, kAllCharacters);
    reset_ok_button(dialog, true);
    return list_box_double_clicked(dialog, kNamesItem) ? kOkItem : kNamesItem;
}

}  // namespace

void say_goto_refusal(GotoRefusal why) {
    str_multi_alert(kGotoRefusals, int16_t(why), kStandardStopAlert, kStopAlertKind);
}

GotoRefusal check_goto_text(const unsigned char* text, MemoryRef layer, CellRange* range) {
    const std::string typed(reinterpret_cast<const char*>(text + 1), text[0]);
    if (typed.size() > kLongestReference) return GotoRefusal::kTooLong;
    if (range_by_text(typed, layer, *range)) return GotoRefusal::kNone;
    return looks_like_reference(typed) ? GotoRefusal::kOffTheGrid : GotoRefusal::kNotAReference;
}

int16_t goto_dialog(MemoryRef layer, CellRange* range, bool* select) {
    DialogRef dialog = StdNewDLOG(kGotoDialog, kOkItem, nullptr);
    if (!dialog) return 0;
    unsigned char text[256];
    const bool relative[4] = {false, false, false, false};
    RangeString(text, range, relative, layer);
    SetDEditText(dialog, kReferenceItem, text);
    SelectTheDialogItemText(dialog, kReferenceItem, 0, 255);
    SetCheckbox(dialog, kSelectItem, *select ? 1 : 0);
    pf::ListHandle names = GetDialogListHandle(dialog, kNamesItem);
    if (names) range_data(Get_rangeinfo(layer), names);
    pf::draw_dialog(dialog);
    int16_t answer = 0;
    for (;;) {
        int16_t item = next_dialog_item(dialog);
        if (item == kCancelItem) break;
        if (item == kSelectItem) FlipCheckbox(dialog, kSelectItem);
        if (item == kReferenceItem) reset_ok_button(dialog, has_text(dialog));
        if (item == kNamesItem && names) item = take_name(dialog, names, layer);
        if (item != kOkItem) continue;
        GetDEditText(dialog, kReferenceItem, text);
        CellRange chosen{};
        const GotoRefusal why = check_goto_text(text, layer, &chosen);
        if (why != GotoRefusal::kNone) {
            say_goto_refusal(why);
            SelectTheDialogItemText(dialog, kReferenceItem, 0, 255);
            continue;
        }
        *range = chosen;
        *select = GetCheckbox(dialog, kSelectItem) != 0;
        answer = 1;
        break;
    }
    StdDLOG_close(dialog, nullptr);
    return answer;
}

bool go_to_asked(MemoryRef layer, CellRange* range) {
    bool select = false;
    if (!layer || !goto_dialog(layer, range, &select)) return false;
    if (select) LSelect(range->topLeft, range, nullptr, 0, layer);
    else LSelect(range->topLeft, nullptr, nullptr, 0, layer);
    SheetAutoScroll(layer, range->topLeft, 1);
    return true;
}

void go_to_command(MemoryRef layer) {
    if (!layer) return;
    CellRange range{};
    GetSelectRect(&range, layer);
    go_to_asked(layer, &range);
}
