// The date and time forms of the display text: the fixed date and time codes,
// the Japanese era forms and the custom date patterns held in a cell's label.
#include <cmath>
#include <cstring>

#include "core/string_utils.h"
#include "model/cell_record.h"
#include "model/date_serials.h"
#include "model/display_text.h"
#include "model/display_text_internal.h"
#include "platform/resources/resources.h"
#include "platform/system/date_time.h"
#include "platform/system/international.h"

namespace {

// Shift_JIS texts of the Japanese forms.
constexpr char kYearMark[] = "\x94\x4E";
constexpr char kMonthMark[] = "\x8C\x8E";
constexpr char kDayMark[] = "\x93\xFA";
constexpr char kHourMark[] = "\x8E\x9E:";
constexpr char kMinuteMark[] = "\x95\xAA";
constexpr char kSecondMark[] = "\x95\x62";

struct Era {
    double first_day;  // 1904-system day count of its first day
    int32_t year_offset;
    const char* name;
    char initial;
};

// Meiji, Taisho, Showa, Heisei, Reiwa (from 1 May 2019).
constexpr Era kEras[] = {
    {-1e9, 1867, "\x96\xBE\x8E\xA1", 'M'}, {3133, 1911, "\x91\xE5\x90\xB3", 'T'},
    {8394, 1925, "\x8F\xBA\x98\x61", 'S'}, {31054, 1988, "\x95\xBD\x90\xAC", 'H'},
    {42124, 2018, "\x97\xDF\x98\x61", 'R'},
};

enum NumberMode : int16_t { kPlain = 0, kTwoDigits = 1, kTwoDigitYear = 2 };

struct DateText {
    unsigned char* out;
    pf::DateTimeRec date;
    uint32_t seconds;

    void number(int32_t value, int16_t mode = kPlain, const char* suffix = nullptr) {
        unsigned char part[256];
        DateComponentStr(value, part, nullptr, mode);
        append_text(out, reinterpret_cast<const char*>(part + 1), part[0]);
        if (suffix) append_text(out, suffix, std::strlen(suffix));
    }
    void text(const std::string& bytes) { append_text(out, bytes); }
    void text(const char* bytes) { append_text(out, bytes, std::strlen(bytes)); }
    int32_t hour12() const { return date.hour % 12 == 0 ? 12 : date.hour % 12; }
    const char* meridian() const { return date.hour < 12 ? " AM" : " PM"; }
};

const Era& era_of(double days) {
    const Era* found = &kEras[0];
    for (const Era& era : kEras)
        if (days >= era.first_day) found = &era;
    return *found;
}

std::string month_name(int16_t list, int32_t month) { return pf::get_indexed_string(list, month); }

std::string platform_text(DateText& d, pf::DateForm form) { return pf::date_string(d.seconds, form); }

void era_year_month_day(DateText& d, const Era& era, bool with_name, bool with_marks) {
    if (with_name) d.text(era.name);
    int32_t year = d.date.year - era.year_offset;
    if (with_marks) {
        d.number(year, kPlain, kYearMark);
        d.number(d.date.month, kPlain, kMonthMark);
        d.number(d.date.day, kPlain, kDayMark);
    } else {
        d.number(year, kPlain, "/");
        d.number(d.date.month, kPlain, "/");
        d.number(d.date.day);
    }
}

void year_month_day_marks(DateText& d) {
    d.number(d.date.year, kPlain, kYearMark);
    d.number(d.date.month, kPlain, kMonthMark);
    d.number(d.date.day, kPlain, kDayMark);
}

// Codes 11 to 20 in the Japanese script.
void japanese_date(DateText& d, uint8_t code) {
    const Era& era = era_of(double(d.seconds / 86400));
    switch (code) {
    case 11: era_year_month_day(d, era, false, false); break;
    case 12:
        d.text(era.name);
        d.number(d.date.year - era.year_offset, kPlain, kYearMark);
        d.number(d.date.month, kPlain, kMonthMark);
        break;
    case 13: era_year_month_day(d, era, false, true); break;
    case 14: era_year_month_day(d, era, true, true); break;
    case 15:
        d.number(d.date.month, kPlain, kMonthMark);
        d.number(d.date.day, kPlain, kDayMark);
        break;
    case 16:
        d.number(d.date.year, kTwoDigitYear, "/");
        d.number(d.date.month, kPlain, kMonthMark);
        break;
    case 17: year_month_day_marks(d); break;
    case 18:
        year_month_day_marks(d);
        d.text("(" + pf::japanese_day_name(d.date.day_of_week) + ")");
        break;
    case 19:
        year_month_day_marks(d);
        d.text(pf::japanese_day_name(d.date.day_of_week));
        break;
    case 20:
        d.text(std::string(1, era.initial));
        era_year_month_day(d, era, false, false);
        break;
    }
}

// Codes 11 to 20 and 26, 27 without the Japanese script.
void roman_fallback(DateText& d, uint8_t code) {
    if (code == 15) d.text(platform_text(d, pf::DateForm::short_date));
    else if (code >= 17 && code <= 19) d.text(platform_text(d, pf::DateForm::abbreviated_date));
    else if (code == 26 || code == 27) d.text(pf::time_string(d.seconds, true));
    else d.text(platform_text(d, pf::DateForm::long_date));
}

void time_text(DateText& d, uint8_t code) {
    const pf::DateTimeRec& t = d.date;
    switch (code) {
    case 21: d.number(t.hour, kPlain, ":"), d.number(t.minute, kTwoDigits); break;
    case 22:
        d.number(t.hour, kPlain, ":"), d.number(t.minute, kTwoDigits, ":"), d.number(t.second, kTwoDigits);
        break;
    case 23: d.number(d.hour12(), kPlain, ":"), d.number(t.minute, kTwoDigits, d.meridian()); break;
    case 24:
        d.number(d.hour12(), kPlain, ":"), d.number(t.minute, kTwoDigits, ":");
        d.number(t.second, kTwoDigits, d.meridian());
        break;
    case 25:
        d.text(platform_text(d, pf::DateForm::short_date) + "  ");
        d.number(t.hour, kPlain, ":"), d.number(t.minute, kTwoDigits);
        break;
    case 26: d.number(t.hour, kPlain, kHourMark), d.number(t.minute, kTwoDigits, kMinuteMark); break;
    case 27:
        d.number(t.hour, kPlain, kHourMark), d.number(t.minute, kTwoDigits, kMinuteMark);
        d.text(":"), d.number(t.second, kTwoDigits, kSecondMark);
        break;
    case 28:
        d.number(t.year, kPlain, "/"), d.number(t.month, kPlain, "/"), d.number(t.day, kPlain, " ");
        d.number(t.hour, kPlain, ":"), d.number(t.minute, kTwoDigits);
        break;
    case 29: d.number(t.minute, kTwoDigits, ":"), d.number(t.second, kTwoDigits); break;
    }
}

void plain_date(DateText& d, uint8_t code) {
    const pf::DateTimeRec& t = d.date;
    switch (code) {
    case 0: d.number(t.month, kPlain, "/"), d.number(t.day, kPlain, "/"), d.number(t.year, kTwoDigitYear); break;
    case 1: d.number(t.month, kPlain, "/"), d.number(t.day); break;
    case 2: d.number(t.year, kTwoDigitYear, "/"), d.number(t.month); break;
    case 3:
    case 4: {
        const char* separator = code == 3 ? "/" : ".";
        d.number(t.year, kTwoDigitYear, separator), d.number(t.month, kPlain, separator), d.number(t.day);
        break;
    }
    case 5: d.number(t.year, kPlain, "/"), d.number(t.month, kPlain, "/"), d.number(t.day); break;
    case 6: d.number(t.month, kPlain, "/"), d.number(t.day, kPlain, "/"), d.number(t.year); break;
    case 7: d.number(t.day, kPlain, "-"), d.text(month_name(kMonthNamesStrList, t.month)); break;
    case 8: d.text(month_name(kMonthNamesStrList, t.month) + "-"), d.number(t.year); break;
    case 9:
        d.number(t.day, kPlain, "-"), d.text(month_name(kMonthNamesStrList, t.month) + "-"), d.number(t.year);
        break;
    case 10: d.number(t.year, kPlain, "."), d.number(t.month, kTwoDigits, "."), d.number(t.day, kTwoDigits); break;
    case 110: d.number(t.day, kPlain, "/"), d.number(t.month, kPlain, "/"), d.number(t.year, kTwoDigitYear); break;
    case 111: d.number(t.day, kPlain, "."), d.number(t.month, kPlain, "."), d.number(t.year, kTwoDigitYear); break;
    case 112: d.number(t.year, kTwoDigitYear, "/"), d.number(t.month, kPlain, "/"), d.number(t.day); break;
    case 113:
        d.number(t.month, kTwoDigits, "/"), d.number(t.day, kTwoDigits, "/"), d.number(t.year, kTwoDigitYear);
        break;
    case 114: d.text(month_name(kMonthInitialsStrList, t.month) + "-"), d.number(t.year, kTwoDigitYear); break;
    case 115:
    case 116:
        d.text(month_name(kMonthInitialsStrList, t.month).substr(0, 1));
        if (code == 116) d.text("-"), d.number(t.year, kTwoDigitYear);
        break;
    default: d.text(platform_text(d, pf::DateForm::long_date)); break;
    }
}

// ---- Custom date patterns ------------------------------------------------------

struct Pattern {
    const unsigned char* bytes;  // length-prefixed
    int position = 1;

    int length() const { return bytes[0]; }
    unsigned char at(int i) const { return i >= 1 && i <= length() ? bytes[i] : 0; }
    int run() const { return CountSequentialChars(bytes, int16_t(position), bytes[position]); }
    bool follows(int from, const char* word) const {
        for (int i = 0; word[i]; ++i)
            if (at(from + i) != static_cast<unsigned char>(word[i])) return false;
        return true;
    }
    bool meridian_later() const {
        for (int i = position; i <= length(); ++i)
            if (follows(i, "AM/PM") || follows(i, "am/pm")) return true;
        return false;
    }
};

const std::string& full_day_name(int day_of_week) { return pf::international_settings().day_names[size_t(day_of_week - 1)]; }
const std::string& full_month_name(int month) { return pf::international_settings().month_names[size_t(month - 1)]; }

void quoted_run(DateText& d, Pattern& p) {
    ++p.position;
    while (p.position <= p.length()) {
        unsigned char c = p.at(p.position);
        if (c == '"') {
            if (p.at(p.position + 1) != '"') break;
            ++p.position;
        }
        append_byte(d.out, c);
        ++p.position;
    }
    ++p.position;
}

// One element of the pattern at its position; advances past it.
void pattern_element(DateText& d, Pattern& p, bool& after_hour) {
    const unsigned char c = p.at(p.position);
    const int run = p.run();
    const pf::DateTimeRec& t = d.date;
    switch (c) {
    case '"': quoted_run(d, p); return;
    case 'A':
    case 'a':
        if (p.follows(p.position, c == 'A' ? "AM/PM" : "am/pm")) {
            d.text(t.hour < 12 ? (c == 'A' ? "AM" : "am") : (c == 'A' ? "PM" : "pm"));
            p.position += 5;
            return;
        }
        append_byte(d.out, c);
        break;
    case 'D':
    case 'd':
        if (run >= 3) d.text(full_day_name(t.day_of_week));
        else d.number(t.day, run == 2 ? kTwoDigits : kPlain);
        p.position += run;
        return;
    case 'Y':
    case 'y':
        d.number(t.year, run == 4 ? kPlain : kTwoDigitYear);
        p.position += run;
        return;
    case 'H':
    case 'h': {
        int32_t hour = p.meridian_later() ? d.hour12() : t.hour;
        d.number(hour, run == 2 ? kTwoDigits : kPlain);
        after_hour = true;
        p.position += run;
        return;
    }
    case 'M':
    case 'm':
        if (after_hour) d.number(t.minute, run == 2 ? kTwoDigits : kPlain);
        else if (run >= 3) d.text(full_month_name(t.month));
        else d.number(t.month, run == 2 ? kTwoDigits : kPlain);
        p.position += run;
        return;
    case 'S':
    case 's':
        d.number(t.second, run == 2 ? kTwoDigits : kPlain);
        p.position += run;
        return;
    case '[': break;
    default: append_byte(d.out, c); break;
    }
    ++p.position;
}

void custom_date(DateText& d, const unsigned char* pattern) {
    Pattern p{pattern};
    bool after_hour = false;
    while (p.position <= p.length()) pattern_element(d, p, after_hour);
}

bool has_custom_pattern(const CellInfoRecord* info) {
    return (info->format.bytes[kFmtFlagsB] & kFlagBCustomDate) && info->format.bytes[kFmtLabelLength] > 0 &&
           info->cell;
}

void custom_pattern(const CellInfoRecord* info, unsigned char* pattern) {
    pattern[0] = info->format.bytes[kFmtLabelLength];
    std::memcpy(pattern + 1, _labelPtr_(info->cell), pattern[0]);
}

// Whether a custom pattern shows a part of the date: a day, a year, or a
// month (an "m" before any hour); quoted runs and "AM/PM" are passed over.
bool pattern_shows_date(const unsigned char* bytes) {
    Pattern p{bytes};
    bool after_hour = false;
    for (; p.position <= p.length(); ++p.position) {
        const unsigned char c = p.at(p.position);
        if (c == '"') {
            while (++p.position <= p.length())
                if (p.at(p.position) == '"' && p.at(++p.position) != '"') break;
            --p.position;
        } else if (p.follows(p.position, "AM/PM") || p.follows(p.position, "am/pm")) {
            p.position += 4;
        } else if (c == 'H' || c == 'h') {
            after_hour = true;
        } else if (c == 'D' || c == 'd' || c == 'Y' || c == 'y' || ((c == 'M' || c == 'm') && !after_hour)) {
            return true;
        }
    }
    return false;
}

// Whether the record's format shows a date (with or without its time), not
// only a time of day.
bool shows_a_date(const CellInfoRecord* info) {
    const uint8_t code = info->format.bytes[kFmtCode];
    if (code == kFormatCustomDate && has_custom_pattern(info)) {
        unsigned char pattern[256];
        custom_pattern(info, pattern);
        return pattern_shows_date(pattern);
    }
    return format_shows_date(code);
}

// The calendar seconds the record's value shows in its format: its date's
// (with the time) for a format that shows a date, its time of day's for one
// that shows only a time; false when the calendar has none to show, as for
// a date before 1904 or after 6 February 2040.
bool seconds_shown(const CellInfoRecord* info, uint32_t& seconds) {
    const bool system_1900 = info->layer ? layer_uses_1900_dates(info->layer) : info->dates_1900;
    if (shows_a_date(info)) {
        if (!serial_shows_its_date(info->value, system_1900)) return false;
        seconds = seconds_of_serial(info->value, system_1900);
        return true;
    }
    pf::DateTimeRec time;
    if (!serial_time_of_day(info->value, time)) return false;
    seconds = uint32_t((time.hour * 60 + time.minute) * 60 + time.second);
    return true;
}

// A duration of the record's value in days as hours, minutes and seconds
// (whole seconds, rounded); false for one of more hours than a text holds.
bool elapsed_time_text(CellInfoRecord* info) {
    constexpr double kMostHours = 1e9;
    constexpr double kSecondsADay = 86400;
    double seconds = std::round(std::fabs(info->value) * kSecondsADay);
    if (!(seconds / 3600 < kMostHours)) return false;
    DateText d{info->text, {}, 0};
    if (info->value < 0 && seconds > 0) d.text("-");
    const auto whole = int64_t(seconds);
    d.number(int32_t(whole / 3600), kPlain, ":");
    d.number(int32_t(whole / 60 % 60), kTwoDigits, ":");
    d.number(int32_t(whole % 60), kTwoDigits);
    return true;
}

}  // namespace

JapaneseEra japanese_era(double days_1904, int32_t year) {
    const Era& era = era_of(days_1904);
    return JapaneseEra{int16_t(&era - kEras + 1), year - era.year_offset};
}

bool format_date_text(CellInfoRecord* info) {
    info->text[0] = 0;
    if (info->format.bytes[kFmtCode] == kFormatElapsedTime) return elapsed_time_text(info);
    DateText d{info->text, {}, 0};
    if (!seconds_shown(info, d.seconds)) return false;
    pf::seconds_to_date(d.seconds, d.date);
    const uint8_t code = info->format.bytes[kFmtCode];
    const bool japanese = display_system_facts().japanese_enabled;
    if (code >= 11 && code <= 20)
        japanese ? japanese_date(d, code) : roman_fallback(d, code);
    else if ((code == 26 || code == 27) && !japanese)
        roman_fallback(d, code);
    else if (code >= 21 && code <= 29)
        time_text(d, code);
    else if (code == kFormatCustomDate && has_custom_pattern(info)) {
        unsigned char pattern[256];
        custom_pattern(info, pattern);
        custom_date(d, pattern);
    } else
        plain_date(d, code);
    return true;
}
