// The Fill Series dialog: the kind of series, its date unit, step and stop
// values and direction, then the fill over the selection.
#include "ui/alerts.h"
#include "ui/dialog_pictures.h"
#include "ui/modal_dialog.h"
#include "core/alert_kinds.h"
#include "core/number_text.h"
#include "editing/cell_blocks.h"
#include "editing/clipboard.h"
#include "editing/fill.h"
#include "model/undo_record.h"
#include "ui/app_prefs.h"
#include "shell/command_dialogs.h"
#include "window/selection_tracking.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2;
constexpr int16_t kLinearItem = 4, kDateItem = 6, kAutomaticItem = 7;
constexpr int16_t kUnitGroup = 8, kYearItem = 9, kDayItem = 11, kWeekdayItem = 12;
constexpr int16_t kStepItem = 13, kStepLabel = 14, kStopItem = 15, kStopLabel = 16;
constexpr int16_t kSeriesPictureItem = 17, kDownItem = 19, kAcrossItem = 20;
constexpr int32_t kOneCellAlert = 104;
constexpr int kSeriesPosition = 7;  // of the saved dialog positions

bool is_blank(const unsigned char* text) { return text[0] == 0; }

// Linear and growth series take a step and a stop.
bool kind_takes_values(int16_t kind) { return kind == kSeriesLinear || kind == kSeriesGrowth; }

void set_kind(DialogRef dialog, int16_t radio) {
    SetDRadios(dialog, kLinearItem, kAutomaticItem, radio);
    SetControlState(dialog, kUnitGroup, kWeekdayItem, radio == kDateItem);
    const bool values = kind_takes_values(int16_t(radio - kLinearItem));
    for (int16_t item : {kStepItem, kStepLabel, kStopItem, kStopLabel}) {
        EnableButton(dialog, item, values);
        DimAppearanceText(dialog, item, !values);
    }
}

// A value field holding more than digits, a decimal point and a leading minus
// goes back to 1 as it is typed.
void filter_value_field(DialogRef dialog, int16_t item) {
    unsigned char text[256];
    GetDEditText(dialog, item, text);
    if (is_blank(text) || filter_Num_Chars(true, true, text)) return;
    SetDNum(dialog, item, 1, true);
}

void refuse(DialogRef dialog, SeriesRefusal why) {
    str_multi_alert(kSeriesStrings, int16_t(why), kStandardStopAlert, kStopAlertKind);
    SelectTheDialogItemText(dialog, why == SeriesRefusal::kStep ? kStepItem : kStopItem, 0, kAllCharacters);
}

struct SeriesChoice {
    int16_t kind, unit, direction;
    double step, stop;
    bool has_stop;
};

// The choice on OK, or false with the refusal said when a value is bad.
bool read_choice(DialogRef dialog, SeriesChoice* choice) {
    choice->kind = int16_t(GetDRadios(dialog, kLinearItem, kAutomaticItem) - kLinearItem);
    choice->unit = int16_t(GetDRadios(dialog, kYearItem, kWeekdayItem) - kYearItem);
    choice->direction = GetCheckbox(dialog, kDownItem) ? kSeriesDown : kSeriesAcross;
    choice->has_stop = false;
    if (!kind_takes_values(choice->kind)) return true;
    unsigned char step[256], stop[256];
    GetDEditText(dialog, kStepItem, step);
    GetDEditText(dialog, kStopItem, stop);
    const SeriesRefusal why = check_series_values(step, stop, &choice->step, &choice->stop, &choice->has_stop);
    if (why == SeriesRefusal::kNone) return true;
    refuse(dialog, why);
    return false;
}

// Runs the dialog; false after Cancel.
bool ask_series(const CellRange& selection, SeriesChoice* choice) {
    pf::Point* position = &app_prefs.dialog_positions[kSeriesPosition];
    DialogRef dialog = StdNewDLOG(kSeriesDialog, kOkItem, position);
    if (!dialog) return false;
    AttachDUserProc(dialog, kSeriesPictureItem, Draw_series_item);
    SetDNum(dialog, kStepItem, 1, true);
    set_kind(dialog, kLinearItem);
    SetDRadios(dialog, kYearItem, kWeekdayItem, kDayItem);
    const bool wide = selection.botRight.v - selection.topLeft.v < selection.botRight.h - selection.topLeft.h;
    SetDRadios(dialog, kDownItem, kAcrossItem, wide ? kAcrossItem : kDownItem);
    const auto click = [&](int16_t item) {
        if (item >= kLinearItem && item <= kAutomaticItem) set_kind(dialog, item);
        else if (item >= kYearItem && item <= kWeekdayItem) SetDRadios(dialog, kYearItem, kWeekdayItem, item);
        else if (item == kStepItem || item == kStopItem) filter_value_field(dialog, item);
        else if (item == kDownItem || item == kAcrossItem) {
            SetDRadios(dialog, kDownItem, kAcrossItem, item);
            DrawDialogItem(dialog, kSeriesPictureItem);
        }
    };
    return run_ok_cancel_dialog(dialog, [&] { return read_choice(dialog, choice); }, click, position) != 0;
}

}  // namespace

SeriesRefusal check_series_values(const unsigned char* step_text, const unsigned char* stop_text, double* step,
                                  double* stop, bool* has_stop) {
    if (!StrToExtended(step_text, step)) return SeriesRefusal::kStep;
    *has_stop = !is_blank(stop_text);
    if (*has_stop && !StrToExtended(stop_text, stop)) return SeriesRefusal::kStop;
    return SeriesRefusal::kNone;
}

void Draw_series_item(DialogRef dialog, int16_t item) {
    draw_item_picture(dialog, item, GetCheckbox(dialog, kAcrossItem) ? kAcrossPicture : kDownPicture);
}

int16_t series_dialog(MemoryRef layer) {
    if (!layer) return 0;
    const CellRange selection = current_selection(layer);
    if (is_single_cell(selection)) {
        layer_alert(layer, kOneCellAlert);
        return 0;
    }
    if (refuse_protected_change(layer, selection)) return 0;
    SeriesChoice choice{};
    if (!ask_series(selection, &choice)) return 0;
    const bool values = kind_takes_values(choice.kind);
    const int16_t error = FillSeries(layer, nullptr, choice.direction, choice.kind, choice.unit,
                                     values ? &choice.step : nullptr, values && choice.has_stop ? &choice.stop : nullptr);
    if (error) show_file_error(error);
    return 1;
}
