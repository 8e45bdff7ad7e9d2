#include "ui/calc_alerts.h"

#include "core/string_utils.h"
#include "ui/alerts.h"
#include "resource_ids.h"

namespace {


struct CalcAlert {
    int16_t code;
    int16_t list;
    int16_t item;
    int16_t alert;
};

constexpr CalcAlert kCalcAlerts[] = {
    {1, kCalcStrings, 1, kStandardStopAlert},      {2, kCalcStrings, 2, kStandardStopAlert},
    {3, kCalcStrings, 17, kStandardCautionAlert},  {5, kCalcStrings, 17, kStandardCautionAlert},
    {6, kCalcStrings, 4, kStandardStopAlert},      {25, kErrorStrings, 12, kStandardStopAlert},
    {100, kCalcStrings, 10, kStandardCautionAlert}, {102, kCalcStrings, 19, kStandardStopAlert},
    {103, kParserErrorStrList, 7, kStandardStopAlert},   {104, kCalcStrings, 23, kStandardStopAlert},
};

}  // namespace

int16_t quorvin_alert(int32_t code) {
    int16_t which = int16_t(code & 0xFFFF);
    int16_t number = int16_t(uint32_t(code) >> 16);
    if (which == 4) {
        os_error_alert(number);
        return 1;
    }
    if (which >= 8 && which <= 10) {
        unsigned char text[16];
        Num_To_String(number, text);
        return key_caution_alert(text, int16_t(kNewCellsAlert + which - 8), kCautionAlertKind);
    }
    for (const CalcAlert& a : kCalcAlerts) {
        if (a.code == which) return str_multi_alert(a.list, a.item, a.alert, kCautionAlertKind);
    }
    return 1;
}
