// The Line Width dialog of the Object menu: one width for the lines and
// frames of the selected objects, undoable as a change of their attributes.
#include <cstring>

#include "core/alert_kinds.h"
#include "core/alerts.h"
#include "core/dialog_items.h"
#include "core/modal_dialog.h"
#include "objects/object_commands.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "objects/objects.h"

namespace {

constexpr int16_t kLineWidthDialog = 1331, kRefusalStrings = 1331;
constexpr int16_t kOkItem = 1, kCancelItem = 2, kWidthItem = 3;

}  // namespace

int16_t line_width_dialog(int16_t* width) {
    DialogRef dialog = StdNewDLOG(kLineWidthDialog, kOkItem, nullptr);
    if (!dialog) return 0;
    SetDNum(dialog, kWidthItem, *width, true);
    pf::draw_dialog(dialog);
    int16_t answer = 0;
    for (;;) {
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
        if (item == kCancelItem || item == kModalCloseBox) break;
        if (item != kOkItem) continue;
        unsigned char text[256];
        GetDEditText(dialog, kWidthItem, text);
        int32_t typed = 0;
        if (!parse_whole_number(text, &typed) || typed < 0 || typed > kLargestLineWidth) {
            str_multi_alert(kRefusalStrings, 1, kStandardStopAlert, kStopAlertKind);
            SelectTheDialogItemText(dialog, kWidthItem, 0, kAllCharacters);
            continue;
        }
        *width = int16_t(typed);
        answer = 1;
        break;
    }
    StdDLOG_close(dialog, nullptr);
    return answer;
}

int16_t set_selected_line_width(MemoryRef layer, int16_t width) {
    std::vector<MemoryRef> changing;
    for (MemoryRef object : selected_objects(layer))
        if (!GetObj_info(object, pf::four_cc("prot")) && GetObj_info(object, pf::four_cc("lsiz")) != width)
            changing.push_back(object);
    if (changing.empty()) return 0;
    record_object_attributes(changing, layer);
    for (MemoryRef object : changing) SetObj_info(object, pf::four_cc("lsiz"), width);
    DrawAllObjects(layer);
    return 1;
}

void line_width_command(MemoryRef layer) {
    MemoryRef first = get_selected_object(layer, 1);
    if (!first) return;
    auto width = int16_t(GetObj_info(first, pf::four_cc("lsiz")));
    if (line_width_dialog(&width)) set_selected_line_width(layer, width);
}
