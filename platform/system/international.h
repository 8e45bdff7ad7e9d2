// International settings: separators, currency, date order, measurement and
// the names of months and days, taken from the user's locale (US settings in
// the C locale, or where the locale says nothing usable), in Mac Roman.
// Tests set them outright. Also the date and time texts made from them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pf {

// Order of day, month and year in a date.
enum DateOrder : uint8_t {
    kMonthDayYear = 0,
    kDayMonthYear = 1,
    kYearMonthDay = 2,
    kMonthYearDay = 3,
    kDayYearMonth = 4,
    kYearDayMonth = 5,
};

struct IntlSettings {
    char decimal_point = '.';
    char thousands_separator = ',';
    char list_separator = ';';
    char date_separator = '/';
    char time_separator = ':';
    std::string currency = "$";  // at most 3 bytes
    bool currency_before = true;
    DateOrder date_order = kMonthDayYear;
    bool metric = false;
    bool twenty_four_hour = false;
    std::string am = "AM";
    std::string pm = "PM";
    std::array<std::string, 12> month_names;  // January first
    std::array<std::string, 12> month_abbreviations;
    std::array<std::string, 7> day_names;  // Sunday first
    std::array<std::string, 7> day_abbreviations;
};

// The US settings.
IntlSettings us_international_settings();

// The settings of the named locale ("" for the user's own), over the US ones.
IntlSettings international_settings_of_locale(const char* locale_name);

// The settings in force: the user's locale, read on first use, unless set.
const IntlSettings& international_settings();
void set_international_settings(const IntlSettings& settings);

// Date and time texts of calendar seconds in the settings in force:
// long "Friday, January 1, 1904", abbreviated "Fri, Jan 1, 1904" (the parts
// in the date order), short "1/1/1904" (four-digit year, date separator);
// time "1:05 PM", "1:05:09 PM", or "13:05" on a 24-hour clock.
enum class DateForm { long_date = 0, short_date = 1, abbreviated_date = 2 };
std::string date_string(uint32_t seconds, DateForm form);
std::string time_string(uint32_t seconds, bool with_seconds);

// Weekday names of the Japanese script, in Shift_JIS ("日曜日" ...).
std::string japanese_day_name(int day_of_week);

}  // namespace pf
