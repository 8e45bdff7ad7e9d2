// Calendar time: seconds since 1 January 1904, 00:00 local time, held in an
// unsigned 32-bit number (so the last second is 6 February 2040, 06:28:15),
// and their split into a date-time record.
#pragma once

#include <cstdint>

namespace pf {

struct DateTimeRec {
    int32_t year = 1904;
    int32_t month = 1;        // 1 January ... 12 December
    int32_t day = 1;          // 1 ... 31
    int32_t hour = 0;         // 0 ... 23
    int32_t minute = 0;       // 0 ... 59
    int32_t second = 0;       // 0 ... 59
    int32_t day_of_week = 6;  // 1 Sunday ... 7 Saturday (1 January 1904 was a Friday)
    friend bool operator==(const DateTimeRec&, const DateTimeRec&) = default;
};

constexpr uint32_t kLastSecond = 0xFFFFFFFFu;

// Splits seconds into a date-time record, day of the week included.
void seconds_to_date(uint32_t seconds, DateTimeRec& date);

// The seconds of a record. Fields out of range carry over as on a calendar:
// month 13 is January of the next year, month 0 December of the year before,
// day 0 the last day of the month before, 32 January is 1 February, hour 24
// the next day, negative values count back. The day of the week is not read.
// False, with `seconds` pinned to 0 or kLastSecond, when the moment lies
// before 1904 or after the last second.
bool date_to_seconds(const DateTimeRec& date, uint32_t& seconds);

// The same on a signed 64-bit count, for any year.
int64_t date_to_long_seconds(const DateTimeRec& date);
void long_seconds_to_date(int64_t seconds, DateTimeRec& date);

// Brings every field of a record into range as date_to_seconds counts it.
void normalize_date(DateTimeRec& date);

// The current local date and time. Tests may fix it; unfix returns to the clock.
uint32_t current_date_time();
void fix_current_date_time(uint32_t seconds);
void unfix_current_date_time();

}  // namespace pf
