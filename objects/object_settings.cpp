// The settings of the selected objects: one property given to all of them,
// and the Object Settings dialog a double click opens (line width and lock, and
// for text boxes their frame and the alignment of their text). Each change is
// one undoable step over the selected objects.
#include <vector>

#include "core/alert_kinds.h"
#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "objects/object_commands.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "objects/objects.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kWidthItem = 3, kLockedItem = 5, kFrameItem = 6, kLeftItem = 7,
                  kRightItem = 9, kAlignmentTitleItem = 10;

// The width typed in the item, or false (with the refusal shown and the
// field selected) when it is no whole number from 0 to kLargestLineWidth.
bool read_line_width(DialogRef dialog, int16_t item, int16_t* width) {
    unsigned char text[256];
    GetDEditText(dialog, item, text);
    int32_t typed = 0;
    if (parse_whole_number(text, &typed) && typed >= 0 && typed <= kLargestLineWidth) {
        *width = int16_t(typed);
        return true;
    }
    str_multi_alert(kObjectRefusals, 1, kStandardStopAlert, kStopAlertKind);
    SelectTheDialogItemText(dialog, item, 0, kAllCharacters);
    return false;
}

// Text alignment radios 7 to 9 from the info byte of a text box (1 centre, 2 right).
int16_t alignment_radio(int16_t info) { return int16_t(kLeftItem + (info == 1 || info == 2 ? info : 0)); }

}  // namespace

int16_t set_selected_property(MemoryRef layer, pf::FourCC tag, int16_t value) {
    const std::vector<MemoryRef> objects = selected_objects(layer);
    if (objects.empty()) return 0;
    record_object_attributes(objects, layer);
    for (MemoryRef object : objects)
        if (GetObj_info(object, tag) != value) SetObj_info(object, tag, value);
    DrawAllObjects(layer);
    return 1;
}

ObjectSettings object_settings_of(MemoryRef object) {
    ObjectSettings settings{};
    settings.line_width = int16_t(GetObj_info(object, pf::four_cc("lsiz")));
    settings.locked = GetObj_info(object, pf::four_cc("prot")) != 0;
    settings.text = GetObj_info(object, pf::four_cc("type")) == kTextObject;
    settings.framed = GetObj_info(object, pf::four_cc("fram")) != 0;
    settings.alignment = int16_t(GetObj_info(object, pf::four_cc("info")));
    return settings;
}

int16_t object_settings_dialog(ObjectSettings* settings) {
    DialogRef dialog = StdNewDLOG(kObjectSettingsDialog, kOkItem, nullptr);
    if (!dialog) return 0;
    SetDNum(dialog, kWidthItem, settings->line_width, true);
    SetCheckbox(dialog, kLockedItem, settings->locked);
    SetCheckbox(dialog, kFrameItem, settings->framed);
    SetDRadios(dialog, kLeftItem, kRightItem, alignment_radio(settings->alignment));
    if (!settings->text) SetControlState(dialog, kFrameItem, kRightItem, false);
    DimAppearanceText(dialog, kAlignmentTitleItem, !settings->text);
    auto accept = [&] {
        if (!read_line_width(dialog, kWidthItem, &settings->line_width)) return false;
        settings->locked = GetCheckbox(dialog, kLockedItem) != 0;
        settings->framed = GetCheckbox(dialog, kFrameItem) != 0;
        settings->alignment = int16_t(GetDRadios(dialog, kLeftItem, kRightItem) - kLeftItem);
        return true;
    };
    auto click = [&](int16_t item) {
        if (item == kLockedItem || item == kFrameItem) FlipCheckbox(dialog, item);
        if (item >= kLeftItem && item <= kRightItem) SetDRadios(dialog, kLeftItem, kRightItem, item);
    };
    return run_ok_cancel_dialog(dialog, accept, click);
}

void apply_object_settings(MemoryRef layer, const ObjectSettings& settings) {
    const std::vector<MemoryRef> objects = selected_objects(layer);
    if (objects.empty()) return;
    record_object_attributes(objects, layer);
    for (MemoryRef object : objects) {
        SetObj_info(object, pf::four_cc("lsiz"), settings.line_width);
        SetObj_info(object, pf::four_cc("prot"), settings.locked);
        if (GetObj_info(object, pf::four_cc("type")) != kTextObject) continue;
        SetObj_info(object, pf::four_cc("fram"), settings.framed);
        SetObj_info(object, pf::four_cc("info"), settings.alignment);
    }
    DrawAllObjects(layer);
}

int16_t InfoSwitcher(MemoryRef layer, int16_t) {
    MemoryRef first = get_selected_object(layer, 1);
    if (!first) return 0;
    ObjectSettings settings = object_settings_of(first);
    if (!object_settings_dialog(&settings)) return 0;
    apply_object_settings(layer, settings);
    return 1;
}
