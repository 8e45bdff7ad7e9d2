// The range-names dialog (DLOG 501): names defined, moved and deleted on a
// copy of the layer's names, which the layer takes on OK.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/alert_kinds.h"
#include "ui/alerts.h"
#include "ui/lists_and_menus.h"
#include "ui/modal_dialog.h"
#include "ui/dialog_items.h"
#include "ui/dialog_pictures.h"
#include "formula/range_string.h"
#include "formula/recalc.h"
#include "model/cell_letters.h"
#include "model/layer.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "platform/controls/controls.h"
#include "platform/screen/cursor.h"
#include "shell/command_dialogs.h"
#include "ui/app_prefs.h"
#include "shell/border_tools.h"
#include "shell/range_names.h"
#include "shell/sheet_dialogs.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2, kNameItem = 4, kRangeItem = 6, kLabelsItem = 7;
constexpr int16_t kTopItem = 8, kLeftItem = 9, kBottomItem = 10, kRightItem = 11;
constexpr int16_t kAddItem = 13, kDeleteItem = 14, kListItem = 15;
constexpr int kRangeNamesPosition = 8;  // of the saved dialog positions
constexpr int kBeepTicks = 9;
constexpr int16_t kLabelsNotRoman = 7;  // of the range messages

struct RangeDialog {
    DialogRef dialog = nullptr;
    pf::ListHandle list = nullptr;
    MemoryRef names = nullptr;  // the edited copy
    MemoryRef layer = nullptr;
};

bool checked(DialogRef dialog, int16_t item) { return GetCheckbox(dialog, item) != 0; }

bool has_text(DialogRef dialog, int16_t item) {
    unsigned char text[256];
    GetDEditText(dialog, item, text);
    return text[0] != 0;
}

void rebuild_list(RangeDialog& d) {
    range_data(d.names, d.list);
    DrawDialogItem(d.dialog, kListItem);
}

void enable_buttons(RangeDialog& d) {
    const bool labels = checked(d.dialog, kLabelsItem);
    EnableButton(d.dialog, kAddItem, labels || (has_text(d.dialog, kNameItem) && has_text(d.dialog, kRangeItem)));
    EnableButton(d.dialog, kDeleteItem, FindSelect(d.list) >= 0);
}

void refuse(RangeDialog& d, NameRefusal why) {
    str_multi_alert(kRangeMessages, int16_t(why), kStandardStopAlert, kStopAlertKind);
    const bool reference = why == NameRefusal::kNotAReference || why == NameRefusal::kReferenceTooLong;
    const int16_t item = reference ? kRangeItem : kNameItem;
    SetEditTextDialogItemFocus(d.dialog, item);
    SelectTheDialogItemText(d.dialog, item, 0, kAllCharacters);
}

void add_typed_name(RangeDialog& d) {
    unsigned char name[256], reference[256];
    if (!GetDRomanText(d.dialog, kNameItem, name)) return;
    GetDEditText(d.dialog, kRangeItem, reference);
    const NameRefusal why = add_range_name(&d.names, name, reference, d.layer);
    if (why != NameRefusal::kNone) return refuse(d, why);
    rebuild_list(d);
    SelectTheDialogItemText(d.dialog, kNameItem, 0, kAllCharacters);
}

// The cells of labels that named nothing as "B1, C1", the first few of them.
std::string cells_named(const std::vector<CellPoint>& cells) {
    constexpr size_t kMostNamed = 6;
    std::string named;
    for (size_t i = 0; i < std::min(cells.size(), kMostNamed); ++i) {
        const CellRange one{cells[i], cells[i]};
        const bool absolute[4] = {false, false, false, false};
        unsigned char reference[256];
        RangeString(reference, &one, absolute, nullptr);
        named += (i ? ", " : "") + std::string(reinterpret_cast<const char*>(reference + 1), reference[0]);
    }
    return cells.size() > kMostNamed ? named + ", \xC9" : named;
}

// Says which labels named nothing for holding letters names cannot keep, and
// the scripts of those letters.
void tell_unkept_labels(const std::vector<CellPoint>& cells, MemoryRef layer) {
    std::string letters;
    for (const CellPoint& where : cells) letters += cell_shown_unicode(layer, where);
    figures_alert(kRangeMessages, kLabelsNotRoman, {scripts_roman_lacks(letters), cells_named(cells)});
}

void name_by_labels(RangeDialog& d) {
    LabelSides sides;
    sides.top = checked(d.dialog, kTopItem), sides.left = checked(d.dialog, kLeftItem);
    sides.bottom = checked(d.dialog, kBottomItem), sides.right = checked(d.dialog, kRightItem);
    std::vector<CellPoint> unkept;
    const int16_t added = add_label_names(&d.names, selected_range(d.layer), sides, d.layer, &unkept);
    if (added) rebuild_list(d);
    if (!unkept.empty()) tell_unkept_labels(unkept, d.layer);
    else if (!added) pf::sys_beep(kBeepTicks);
}

void flip_labels(RangeDialog& d) {
    const bool on = FlipCheckbox(d.dialog, kLabelsItem) != 0;
    SetControlState(d.dialog, kTopItem, kRightItem, on);
}

void delete_selected(RangeDialog& d) {
    unsigned char name[256];
    GetDEditText(d.dialog, kNameItem, name);
    if (delete_range_name(d.names, FindSelect(d.list), name)) rebuild_list(d);
    else pf::sys_beep(kBeepTicks);
}

void open_fields(RangeDialog& d) {
    const CellRange range = selected_range(d.layer);
    unsigned char reference[256];
    absolute_reference_text(range, reference);
    SetDEditText(d.dialog, kRangeItem, reference);
    SetControlState(d.dialog, kTopItem, kRightItem, false);
    SetCheckbox(d.dialog, kTopItem, range.botRight.h - range.topLeft.h + 1 > 2);
    SetCheckbox(d.dialog, kLeftItem, range.botRight.v - range.topLeft.v + 1 > 2);
    range_data(d.names, d.list);
    SetEditTextDialogItemFocus(d.dialog, kNameItem);
    SelectTheDialogItemText(d.dialog, kNameItem, 0, kAllCharacters);
}

bool run(RangeDialog& d) {
    for (;;) {
        enable_buttons(d);
        const int16_t item = next_dialog_item(d.dialog);
        switch (item) {
            case kOkItem: return true;
            case kCancelItem: return false;
            case kLabelsItem: flip_labels(d); break;
            case kTopItem:
            case kLeftItem:
            case kBottomItem:
            case kRightItem: FlipCheckbox(d.dialog, item); break;
            case kAddItem:
                if (checked(d.dialog, kLabelsItem)) name_by_labels(d);
                else add_typed_name(d);
                break;
            case kDeleteItem: delete_selected(d); break;
            case kListItem: add_record_text(d.dialog, d.names, d.list, kNameItem, kRangeItem); break;
            default: break;
        }
    }
}

}  // namespace

int16_t range_dialog(MemoryRef layer) {
    if (!layer) return 0;
    pf::Point* position = &app_prefs.dialog_positions[kRangeNamesPosition];
    RangeDialog d;
    d.layer = layer;
    d.dialog = StdNewDLOG(kRangeDialog, kOkItem, position);
    if (!d.dialog) return 0;
    d.list = GetDialogListHandle(d.dialog, kListItem);
    if (MemoryRef names = Get_rangeinfo(layer)) d.names = MemoryDuplicate(names);
    open_fields(d);
    pf::draw_dialog(d.dialog);
    const bool ok = d.list && run(d);
    StdDLOG_close(d.dialog, position);
    if (!ok) {
        DisposeNonNilMemory(d.names);
        return 0;
    }
    DisposeNonNilMemory(Get_rangeinfo(layer));
    Set_rangeinfo(layer, d.names);
    increment_change_ctr(layer);
    // Formulas read the names anew: recalculate the layer as after an entry.
    ResetCalc(CellPoint{0, 0}, GetSheetWind(layer));
    return 1;
}
