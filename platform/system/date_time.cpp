#include "platform/system/date_time.h"

#include <ctime>
#include <optional>

namespace pf {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int kFridayOf1904 = 6;

std::optional<uint32_t> g_fixed_now;

constexpr int64_t floor_div(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
constexpr int64_t floor_mod(int64_t a, int64_t b) { return a - floor_div(a, b) * b; }

// Days since 1 March of year 0 (proleptic Gregorian) of a date with the month in 1 ... 12.
constexpr int64_t days_from_civil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    int64_t era = floor_div(year, 400);
    int64_t year_of_era = year - era * 400;
    int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era;
}

constexpr int64_t kDaysTo1904 = days_from_civil(1904, 1, 1);
static_assert(days_from_civil(1970, 1, 1) - kDaysTo1904 == 24107);

void civil_from_days(int64_t days, int64_t& year, int64_t& month, int64_t& day) {
    int64_t era = floor_div(days, 146097);
    int64_t day_of_era = days - era * 146097;
    int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    int64_t shifted_month = (5 * day_of_year + 2) / 153;
    day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    year = year_of_era + era * 400 + (month <= 2);
}

uint32_t clock_now() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateTimeRec date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     local.tm_sec, 0};
    uint32_t seconds = 0;
    date_to_seconds(date, seconds);
    return seconds;
}

}  // namespace

int64_t date_to_long_seconds(const DateTimeRec& date) {
    int64_t months = int64_t(date.month) - 1;
    int64_t year = int64_t(date.year) + floor_div(months, 12);
    int64_t days = days_from_civil(year, floor_mod(months, 12) + 1, 1) + int64_t(date.day) - 1 - kDaysTo1904;
    return days * kSecondsPerDay + int64_t(date.hour) * 3600 + int64_t(date.minute) * 60 + date.second;
}

void long_seconds_to_date(int64_t seconds, DateTimeRec& date) {
    int64_t days = floor_div(seconds, kSecondsPerDay);
    int64_t rest = seconds - days * kSecondsPerDay;
    int64_t year = 0, month = 0, day = 0;
    civil_from_days(days + kDaysTo1904, year, month, day);
    date.year = int32_t(year);
    date.month = int32_t(month);
    date.day = int32_t(day);
    date.hour = int32_t(rest / 3600);
    date.minute = int32_t(rest / 60 % 60);
    date.second = int32_t(rest % 60);
    date.day_of_week = int32_t(floor_mod(days + kFridayOf1904 - 1, 7) + 1);
}

void seconds_to_date(uint32_t seconds, DateTimeRec& date) { long_seconds_to_date(seconds, date); }

bool date_to_seconds(const DateTimeRec& date, uint32_t& seconds) {
    int64_t s = date_to_long_seconds(date);
    if (s < 0 || s > int64_t(kLastSecond)) {
        seconds = s < 0 ? 0 : kLastSecond;
        return false;
    }
    seconds = uint32_t(s);
    return true;
}

void normalize_date(DateTimeRec& date) { long_seconds_to_date(date_to_long_seconds(date), date); }

uint32_t current_date_time() { return g_fixed_now ? *g_fixed_now : clock_now(); }
void fix_current_date_time(uint32_t seconds) { g_fixed_now = seconds; }
void unfix_current_date_time() { g_fixed_now.reset(); }

}  // namespace pf
