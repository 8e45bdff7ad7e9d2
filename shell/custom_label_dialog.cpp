// The custom label dialog (DLOG 2050): a label put in front of or behind the
// selected cells' values, shown on a sample of the active cell.
#include "shell/custom_label_dialog.h"

#include <cstring>
#include <string>

#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/display_text.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "platform/screen/cursor.h"
#include "shell/format_menus.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOKItem = 1, kPositionItem = 3, kLabelItem = 4, kSampleItem = 7;
constexpr int16_t kNoLabel = 1, kInFront = 2, kBehind = 3;
constexpr int16_t kLabelInFrontBit = 7, kCustomPatternBit = 7;
constexpr double kStandInValue = 1234.56;
constexpr int kBeepTicks = 9;

struct ActiveCell {
    CellFormat format;
    double value = kStandInValue;
    unsigned char label[256] = {0};
};

// The active cell's format, its value (1234.56 standing in for 0 or none)
// and its label (none while the label holds a date pattern).
ActiveCell read_active_cell(MemoryRef layer) {
    ActiveCell a;
    GetSelectFormat(a.format.bytes, layer, 1);
    double value = 0;
    if (active_cell_number(layer, &value) && value != 0) a.value = value;
    if (!(a.format.bytes[kFmtFlagsB] & (1 << kCustomPatternBit)))
        GetCellStrings(active_cell_of(layer), a.label, nullptr, layer);
    a.format.bytes[kFmtLabelLength] = 0;
    return a;
}

std::string text_of(const unsigned char* pstr) { return std::string(reinterpret_cast<const char*>(pstr) + 1, pstr[0]); }

int16_t position(pf::DialogRef dialog) {
    pf::ControlRef control = GetDialogControl(dialog, kPositionItem);
    return control ? int16_t(pf::get_control_value(control)) : kNoLabel;
}

void show_sample(pf::DialogRef dialog, const ActiveCell& a, MemoryRef layer) {
    unsigned char value[256], label[256];
    get_format_string(value, a.format.bytes, &a.value, layer);
    GetDEditText(dialog, kLabelItem, label);
    std::string sample = text_of(value);
    if (position(dialog) == kInFront) sample = text_of(label) + " " + sample;
    else if (position(dialog) == kBehind) sample += " " + text_of(label);
    pf::set_dialog_item_text(dialog, kSampleItem, sample);
}

void follow_position(pf::DialogRef dialog) {
    const bool labelled = position(dialog) != kNoLabel;
    pf::enable_dialog_item(dialog, kLabelItem, labelled);
    if (labelled) SelectTheDialogItemText(dialog, kLabelItem, 0, kAllCharacters);
}

// The position and text chosen; false when cancelled.
bool ask_label(MemoryRef layer, int16_t* which, unsigned char* text) {
    pf::DialogRef dialog = StdNewDLOG(kLabelDialog, kOKItem, nullptr);
    if (!dialog) return false;
    const ActiveCell active = read_active_cell(layer);
    SetDEditText(dialog, kLabelItem, active.label);
    if (pf::ControlRef control = GetDialogControl(dialog, kPositionItem)) {
        const bool in_front = active.format.bytes[kFmtFlagsA] & (1 << kLabelInFrontBit);
        pf::set_control_value(control, active.label[0] == 0 ? kNoLabel : in_front ? kInFront : kBehind);
    }
    follow_position(dialog);
    show_sample(dialog, active, layer);
    const auto read = [&] {
        *which = int16_t(position(dialog) - 1);
        return GetDRomanText(dialog, kLabelItem, text);
    };
    const auto click = [&](int16_t item) {
        if (item == kPositionItem) follow_position(dialog);
        if (item == kModalKey && position(dialog) == kNoLabel) pf::sys_beep(kBeepTicks);
        show_sample(dialog, active, layer);
    };
    return run_ok_cancel_dialog(dialog, read, click) != 0;
}

}  // namespace

CellPoint active_cell_of(MemoryRef layer) {
    LayerUse sheet(layer);
    const CellPoint where = sheet->active_cell;
    return where;
}

bool active_cell_number(MemoryRef layer, double* value) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, active_cell_of(layer), layer)) return false;
    if (_cellType_(cell) == kCellConstant) *value = load_f64(_formulaPtr_(cell));
    else if (_cellType_(cell) == kCellFormula && _resultType_(cell) < 0) *value = load_f64(_resultPtr_(cell));
    else return false;
    return true;
}

void apply_custom_label(MemoryRef layer, int16_t which, const unsigned char* text) {
    if (!Format_Sheet(kFormatUndoKind, -1, 0, false, true, true, layer)) return;
    const unsigned char empty[1] = {0};
    if (which == 0 || text[0] == 0) {
        selection_bits(layer, kFmtFlagsA, kLabelInFrontBit, true);
        AddCustomLabel(layer, empty, 0);
        return;
    }
    selection_bits(layer, kFmtFlagsB, kCustomPatternBit, true);
    selection_bits(layer, kFmtFlagsA, kLabelInFrontBit, which != 1);
    AddCustomLabel(layer, text, 0);
}

void custom_label_dialog(MemoryRef layer) {
    int16_t which = 0;
    unsigned char text[256] = {0};
    if (ask_label(layer, &which, text)) apply_custom_label(layer, which, text);
}
