// The date worksheet functions, and typed dates read into the current value.
#include "formula/date_functions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/number_text.h"
#include "formula/arguments.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "model/calc_globals.h"
#include "model/date_serials.h"
#include "platform/system/date_time.h"

int16_t parseDate(unsigned char* text, int16_t order, bool rewrite) {
    return read_date_serial(text, order, rewrite, &g_value);
}

bool typed_as_date(std::string_view typed) {
    unsigned char text[256];
    text[0] = uint8_t(std::min<size_t>(typed.size(), 255));
    std::memcpy(text + 1, typed.data(), text[0]);
    return parseDate(text, dateOrder, false) != 0;
}

void Date_Func(int16_t number) {
    static constexpr int16_t kComponents[] = {kMinute, kHour, kSecond, kYear, kWeekday, kMonth, kDay};
    int32_t part = 0;
    if (checkgValue() == 0)
        g_value = serial_component(g_value, calc_uses_1900_dates(), kComponents[number - 29], part) ? part : g_StdErr;
    SetNValue();
}

namespace {

// Reads the first or the next argument; the first error in argument order is
// kept in `first_error` (0 while there is none).
double numeric_argument(bool first, double* first_error) {
    if (first)
        GetNextValue();
    else
        AdvValue();
    if (checkgValue() != 0 && checkValue(first_error) == 0) *first_error = g_value;
    return g_value;
}

// Whole-number limits that keep calendar arithmetic in range.
bool fits_calendar(double value) { return std::fabs(value) < 1e7; }

}  // namespace

void read_date() {
    double error = 0.0;
    double year = numeric_argument(true, &error);
    double month = numeric_argument(false, &error);
    double day = numeric_argument(false, &error);
    if (checkValue(&error)) {
        g_value = error;
    } else {
        double y = std::floor(year), m = std::floor(month), d = final_Round(&day);
        if (y < 21) y += 2000;
        if (y > 2040 || !fits_calendar(y) || !fits_calendar(m) || !fits_calendar(d))
            g_value = g_StdErr;
        else
            g_value = Datefunc(int32_t(y), int32_t(m), int32_t(d));
    }
    SetNValue();
}

void read_time() {
    double error = 0.0;
    double hour = numeric_argument(true, &error);
    double minute = numeric_argument(false, &error);
    double second = numeric_argument(false, &error);
    if (checkValue(&error)) {
        g_value = error;
    } else {
        double h = std::floor(hour), m = std::floor(minute), s = final_Round(&second);
        double serial = 0.0;
        if (!fits_calendar(h) || !fits_calendar(m) || !fits_calendar(s)) {
            serial = g_StdErr;
        } else {
            AddTimeComponent(kHour, int32_t(h), &serial);
            AddTimeComponent(kMinute, int32_t(m), &serial);
            AddTimeComponent(kSecond, int32_t(s), &serial);
        }
        g_value = serial;
    }
    SetNValue();
}

void add_time() {
    GetNextValue();
    GetDateArg();
    double serial = g_value;
    for (int16_t component = kYear; more_arguments(); ++component) {
        AdvValue();
        if (checkValue(&serial)) continue;  // an error stays the result
        if (!have_numeric_value()) {
            serial = g_StdErr;
            continue;
        }
        if (checkgValue()) {
            serial = g_value;
            continue;
        }
        double amount = final_Round(&g_value);
        if (!fits_calendar(amount)) {
            serial = g_StdErr;
            continue;
        }
        // Amounts past the sixth only round the serial to whole seconds.
        AddTimeComponent(component <= kSecond ? component : kSecond,
                         component <= kSecond ? int32_t(amount) : 0, &serial);
    }
    g_value = serial;
    SetNValue();
}

void date360func() {
    GetNextValue();
    GetDateArg();
    double start = g_value;
    AdvValue();
    GetDateArg();
    double end = g_value;
    double method = 0.0;
    if (more_arguments()) {
        AdvValue();
        method = g_value;
    }
    if (checkValue(&start)) {
        g_value = start;
    } else if (checkValue(&end)) {
        g_value = end;
    } else if (pf::DateTimeRec d1, d2; !serial_names_date(start, calc_uses_1900_dates(), d1) ||
                                        !serial_names_date(end, calc_uses_1900_dates(), d2)) {
        g_value = g_StdErr;
    } else {
        const bool european = method != 0.0;
        int32_t start_day = d1.day, end_day = d2.day;
        if (european) {
            if (start_day == 31) start_day = 30;
            if (end_day == 31) end_day = 30;
        } else {
            pf::DateTimeRec next = d1;
            next.day += 1;
            pf::normalize_date(next);
            if (d1.day == 31 || next.month != d1.month) start_day = 30;
            if (d2.day == 31) end_day = d1.day < 30 ? 31 : 30;
        }
        g_value = double(d2.year * 360 + d2.month * 30 + end_day) - double(d1.year * 360 + d1.month * 30 + start_day);
    }
    SetNValue();
}
