// Date serials, typed dates and times.
#include "model/date_serials.h"

#include <cmath>
#include <cstring>

#include "core/number_text.h"
#include "core/string_utils.h"
#include "model/calc_globals.h"
#include "model/display_text.h"
#include "platform/system/date_time.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;

int32_t component_of(const pf::DateTimeRec& date, int16_t component) {
    switch (component) {
    case kYear: return date.year;
    case kMonth: return date.month;
    case kDay: return date.day;
    case kHour: return date.hour;
    case kMinute: return date.minute;
    case kSecond: return date.second;
    case kWeekday: return date.day_of_week;
    default: return 0;
    }
}

int32_t* field_of(pf::DateTimeRec& date, int16_t component) {
    switch (component) {
    case kYear: return &date.year;
    case kMonth: return &date.month;
    case kDay: return &date.day;
    case kHour: return &date.hour;
    case kMinute: return &date.minute;
    default: return &date.second;
    }
}


// A serial from calendar fields, or the error 21 when they leave 1904 ... 2040.
double serial_of_date(const pf::DateTimeRec& date) {
    uint32_t seconds = 0;
    if (!pf::date_to_seconds(date, seconds)) return N_AN(kErrValue);
    return serial_of_seconds(seconds, calc_uses_1900_dates());
}

// ---- Reading typed dates -------------------------------------------------------

struct TypedDate {
    int32_t date[3] = {0, 0, 0};
    bool date_given[3] = {false, false, false};
    int32_t time[3] = {0, 0, 0};
    bool time_given[3] = {false, false, false};
    int slashes = 0, colons = 0;
    bool time_started = false;
};

// Step 2 of the reading: numbers of at most four digits between "/", ":"
// and one space.
bool scan_typed_date(const unsigned char* text, TypedDate& t) {
    int32_t number = 0;
    int digits = 0, spaces = 0, date_slot = 0;
    auto store_date = [&](bool advance) {
        if (digits > 0) {
            t.date[date_slot] = number;
            t.date_given[date_slot] = true;
        }
        if (advance) ++date_slot;
        number = digits = 0;
    };
    for (int i = 1; i <= text[0]; ++i) {
        unsigned char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++digits > 4) return false;
            number = number * 10 + (c - '0');
        } else if (c == '/') {
            // A space only parts the date from its time: "12 1/2" is no date.
            if (t.time_started || spaces > 0 || ++t.slashes > 2) return false;
            store_date(true);
        } else if (c == ':') {
            if (++t.colons > 2) return false;
            if (digits > 0) {
                t.time[t.colons - 1] = number;
                t.time_given[t.colons - 1] = true;
            }
            t.time_started = true;
            number = digits = 0;
        } else if (c == ' ') {
            if (++spaces > 1 || t.time_started) return false;
            store_date(false);
        } else {
            return false;
        }
    }
    if (digits > 0) {
        if (t.time_started) {
            t.time[t.colons] = number;
            t.time_given[t.colons] = true;
        } else {
            store_date(false);
        }
    }
    return true;
}

int32_t full_year(int32_t year) {
    if (year < 21) return year + 2000;
    if (year <= 99) return year + 1900;
    return year;
}

// Step 4: the date parts in the order's arrangement.
bool arrange_date(const TypedDate& t, int parts, int16_t order, int32_t today_year, pf::DateTimeRec& date) {
    for (int i = 0; i < parts; ++i)
        if (!t.date_given[i]) return false;
    const int32_t* p = t.date;
    int32_t year = today_year, month = 0, day = 0;
    bool year_given = parts == 3;
    switch (order) {
    case 1:
        day = p[0], month = p[1];
        if (parts == 3) year = p[2];
        break;
    case 2:
        if (parts == 3) {
            year = p[0], month = p[1], day = p[2];
        } else if (p[0] > 100) {
            year = p[0], month = p[1], day = 1, year_given = true;
        } else {
            month = p[0], day = p[1];
        }
        break;
    case 5:
        if (parts == 3)
            year = p[0], day = p[1], month = p[2];
        else
            day = p[0], month = p[1];
        break;
    default:  // 0, 3, 4: month/day/year
        if (parts == 3) {
            month = p[0], day = p[1], year = p[2];
        } else if (order == 0 && p[1] >= 101) {
            month = p[0], year = p[1], day = 1, year_given = true;
        } else {
            month = p[0], day = p[1];
        }
        break;
    }
    date.year = year_given ? full_year(year) : year;
    date.month = month;
    date.day = day;
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool arrange_time(const TypedDate& t, pf::DateTimeRec& date) {
    int parts = t.colons + 1;
    for (int i = 0; i < parts; ++i)
        if (!t.time_given[i]) return false;
    date.hour = t.time[0];
    date.minute = t.time[1];
    date.second = parts == 3 ? t.time[2] : 0;
    return date.hour <= 23 && date.minute <= 59 && date.second <= 59;
}

void append_number(unsigned char* text, int32_t number, int16_t mode) {
    unsigned char part[32];
    DateComponentStr(number, part, nullptr, mode);
    std::memcpy(text + 1 + text[0], part + 1, part[0]);
    text[0] = uint8_t(text[0] + part[0]);
}

void append_byte(unsigned char* text, unsigned char c) { text[++text[0]] = c; }

// Step 9: the standard form of a date read.
void rewrite_date(unsigned char* text, const pf::DateTimeRec& date, bool with_date, int time_parts,
                  int16_t order, unsigned char separator) {
    text[0] = 0;
    if (with_date) {
        int32_t parts[3];
        switch (order) {
        case 1: parts[0] = date.day, parts[1] = date.month, parts[2] = date.year; break;
        case 2: parts[0] = date.year, parts[1] = date.month, parts[2] = date.day; break;
        case 5: parts[0] = date.year, parts[1] = date.day, parts[2] = date.month; break;
        default: parts[0] = date.month, parts[1] = date.day, parts[2] = date.year; break;
        }
        for (int i = 0; i < 3; ++i) {
            if (i) append_byte(text, separator);
            append_number(text, parts[i], 0);
        }
    }
    if (time_parts > 0) {
        if (text[0]) append_byte(text, ' ');
        append_number(text, date.hour, 0);
        append_byte(text, ':');
        append_number(text, date.minute, 1);
        if (time_parts == 3) {
            append_byte(text, ':');
            append_number(text, date.second, 1);
        }
    }
}

}  // namespace

double SecsToFloat(uint32_t seconds) { return double(seconds) / kSecondsPerDay; }

uint32_t ConvertToSecs(double serial) {
    double seconds = serial * kSecondsPerDay;
    seconds = final_Round(&seconds);
    if (!(seconds > 0)) return 0;
    if (seconds >= 4294967295.0) return pf::kLastSecond;
    return uint32_t(seconds);
}

double SpreadSheetTime() { return SecsToFloat(pf::current_date_time()); }

double serial_of_seconds(uint32_t seconds, bool system_1900) {
    return SecsToFloat(seconds) + (system_1900 ? k1900ShiftDays : 0.0);
}

uint32_t seconds_of_serial(double serial, bool system_1900) {
    return ConvertToSecs(system_1900 ? serial - k1900ShiftDays : serial);
}

namespace {

constexpr int64_t kWholeDay = 86400;
// 31 December 9999, the last day a serial names, in days from 1 January 1904.
constexpr int64_t kLastNamedDay = 2957003;
// Days of the 1900 system: 29 February 1900, which it counts and no calendar
// has, and 1 January 1904.
constexpr int64_t kNoSuchDay1900 = 60;
constexpr int64_t k1904InThe1900System = int64_t(k1900ShiftDays);

// A serial's whole seconds, rounded as ConvertToSecs rounds; false for a
// negative serial or one past the year 9999.
bool whole_seconds(double serial, int64_t& seconds) {
    double rounded = serial * kSecondsPerDay;
    rounded = final_Round(&rounded);
    if (!(rounded >= 0) || rounded >= double((kLastNamedDay + k1904InThe1900System + 1) * kWholeDay)) return false;
    seconds = int64_t(rounded);
    return true;
}

}  // namespace

bool serial_names_date(double serial, bool system_1900, pf::DateTimeRec& date) {
    int64_t seconds = 0;
    if (!whole_seconds(serial, seconds)) return false;
    int64_t day = seconds / kWholeDay;
    if (system_1900) {
        if (day < 1 || day == kNoSuchDay1900) return false;
        // Before 1 March 1900 the system counts one day less than the calendar.
        day -= day < kNoSuchDay1900 ? k1904InThe1900System - 1 : k1904InThe1900System;
    }
    if (day > kLastNamedDay) return false;
    pf::long_seconds_to_date(day * kWholeDay + seconds % kWholeDay, date);
    return true;
}

bool serial_time_of_day(double serial, pf::DateTimeRec& time) {
    int64_t seconds = 0;
    if (!whole_seconds(serial, seconds)) return false;
    pf::long_seconds_to_date(seconds % kWholeDay, time);
    return true;
}

double Datefunc(int32_t year, int32_t month, int32_t day) {
    if (year > 20) {
        if (year <= 99) year += 1900;
        if (year < 1904 || year > 2040) return N_AN(kErrValue);
    } else {
        year += 2000;
        if (year < 1904 || year > 2020) return N_AN(kErrValue);
    }
    pf::DateTimeRec date;
    date.year = year;
    date.month = month;
    date.day = day;
    date.hour = date.minute = date.second = 0;
    return serial_of_date(date);
}

bool serial_component(double serial, bool system_1900, int16_t component, int32_t& part) {
    if (component < kYear || component > kWeekday) return false;
    pf::DateTimeRec date;
    const bool time_part = component >= kHour && component <= kSecond;
    if (!(time_part ? serial_time_of_day(serial, date) : serial_names_date(serial, system_1900, date))) return false;
    part = component_of(date, component);
    return true;
}

int16_t AddTimeComponent(int16_t component, int32_t amount, double* serial) {
    int16_t error = checkValue(serial);
    if (error) return error;
    if (component < kYear || component > kSecond) return 0;
    const bool system_1900 = calc_uses_1900_dates() && *serial >= k1900ShiftDays;
    if (!serial_shows_its_date(*serial, system_1900)) {  // no calendar date to move
        *serial = N_AN(kErrValue);
        return 0;
    }
    pf::DateTimeRec date;
    pf::seconds_to_date(seconds_of_serial(*serial, system_1900), date);
    int32_t* field = field_of(date, component);
    *field += amount;
    uint32_t seconds = 0;
    *serial = pf::date_to_seconds(date, seconds) ? serial_of_seconds(seconds, system_1900) : N_AN(kErrValue);
    return 0;
}

void DateComponentStr(int32_t number, unsigned char* text, const unsigned char* suffix, int16_t mode) {
    if (mode == 2) number %= 100;
    Num_To_String(number, text);
    if (mode >= 1 && number >= 0 && number <= 9) {
        std::memmove(text + 2, text + 1, text[0]);
        text[1] = '0';
        ++text[0];
    }
    if (suffix) ConcatPString(text, suffix);
}

namespace {

// A date or time read from typed text, with its seconds since 1904.
struct ReadDate {
    pf::DateTimeRec date;
    uint32_t seconds = 0;
    bool with_date = false;
    int time_parts = 0;  // 0 when no time was typed
    unsigned char separator = '/';
};

// Reads typed text as a date, a time or both (a time alone falls on today);
// false when it is neither or names no real moment.
bool read_typed_date(const unsigned char* text, int16_t order, ReadDate& read) {
    unsigned char copy[256];
    std::memcpy(copy, text, text[0] + 1);
    if (dateSep != '/' && std::memchr(copy + 1, dateSep, copy[0])) {
        read.separator = dateSep;
        for (int i = 1; i <= copy[0]; ++i)
            if (copy[i] == dateSep) copy[i] = '/';
    }
    TypedDate typed;
    if (copy[0] == 0 || !scan_typed_date(copy, typed)) return false;
    read.with_date = typed.date_given[0] && typed.date[0] != 0;
    const int date_parts = read.with_date ? typed.slashes + 1 : 0;
    if (date_parts == 1) return false;
    if (!read.with_date && !typed.time_started) return false;

    pf::DateTimeRec now;
    pf::seconds_to_date(pf::current_date_time(), now);
    if (read.with_date) {
        if (!arrange_date(typed, date_parts, order, now.year, read.date)) return false;
        read.date.hour = read.date.minute = read.date.second = 0;
    } else {
        read.date = now;
        read.date.second = 0;
    }
    if (typed.time_started && !arrange_time(typed, read.date)) return false;
    read.time_parts = typed.time_started ? typed.colons + 1 : 0;
    if (!pf::date_to_seconds(read.date, read.seconds)) return false;
    if (read.with_date) {
        pf::DateTimeRec check;
        pf::seconds_to_date(read.seconds, check);
        if (check.month != read.date.month) return false;  // a day past the month's end
    }
    return true;
}

}  // namespace

int16_t read_date_serial(unsigned char* text, int16_t order, bool rewrite, double* serial) {
    ReadDate read;
    if (!read_typed_date(text, order, read)) return 0;
    *serial = serial_of_seconds(read.seconds, calc_uses_1900_dates());
    if (rewrite) rewrite_date(text, read.date, read.with_date, read.time_parts, order, read.separator);
    return 1;
}

bool format_shows_date(uint8_t code) {
    constexpr uint8_t kDateAndTime = 25, kLongDateAndTime = 28;  // time codes that show a date too
    return is_date_format(code) || code == kDateAndTime || code == kLongDateAndTime;
}

bool holds_date_serial(uint8_t code, double value) { return format_shows_date(code) && value >= 1; }

bool serial_shows_its_date(double serial, bool system_1900) {
    double seconds = (system_1900 ? serial - k1900ShiftDays : serial) * kSecondsPerDay;
    seconds = final_Round(&seconds);
    return seconds >= 0 && seconds <= double(pf::kLastSecond);
}

bool shows_another_date(uint8_t code, double serial, bool system_1900) {
    return format_shows_date(code) && !serial_shows_its_date(serial, system_1900);
}

bool serial_counts_days(uint8_t code, double value) {
    return format_shows_date(code) || (is_time_format(code) && value >= 1);
}

void date_entry_text(double serial, bool system_1900, unsigned char* text) {
    const uint32_t seconds = seconds_of_serial(serial, system_1900);
    pf::DateTimeRec date;
    pf::seconds_to_date(seconds, date);
    const uint32_t time_of_day = seconds % uint32_t(kSecondsPerDay);
    const int time_parts = time_of_day == 0 ? 0 : time_of_day % 60 ? 3 : 2;
    rewrite_date(text, date, true, time_parts, dateOrder, dateSep);
}

int16_t parse_time_of_day(const unsigned char* text, int16_t order, double* fraction) {
    ReadDate read;
    if (!read_typed_date(text, order, read)) return 0;
    int32_t seconds = (read.date.hour * 60 + read.date.minute) * 60 + read.date.second;
    *fraction = double(seconds) / kSecondsPerDay;
    return 1;
}
