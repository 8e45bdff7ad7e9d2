// Date serials: days since 1 January 1904, 00:00, with the time of day as the
// fraction. A workbook in the 1900 date system counts days from 1 January
// 1900 as day 1, with a day 60 for the 29 February 1900 that never was, so
// that 1 January 1904 is day 1,462. One rule says which date a serial names
// (serial_names_date) and whether the calendar here, whose seconds run from
// 1 January 1904 to 6 February 2040, shows it (serial_shows_its_date): dates
// are built, typed, split, moved and shown by it, so a serial never shows or
// gives the parts of another date than its own.
#pragma once

#include <cstdint>

#include "model/calc_context.h"  // calc_uses_1900_dates
#include "platform/system/date_time.h"

constexpr double k1900ShiftDays = 1462.0;  // 1 January 1904 in the 1900 system

// The components of a date, as serial_component and AddTimeComponent number them.
constexpr int16_t kYear = 1, kMonth = 2, kDay = 3, kHour = 4, kMinute = 5, kSecond = 6, kWeekday = 7;


double SecsToFloat(uint32_t seconds);
uint32_t ConvertToSecs(double serial);
// The current time as a 1904-system serial.
double SpreadSheetTime();

// Calendar seconds of a date to its serial in the workbook's system, and back
// (pinned to the calendar's first or last second for a serial it cannot show).
double serial_of_seconds(uint32_t seconds, bool system_1900);
uint32_t seconds_of_serial(double serial, bool system_1900);

// The date and time a serial names in its date system, for any year up to
// 9999; false when it names none: a negative serial, a 1900-system serial
// below 1 (day 0) or on day 60 (29 February 1900).
bool serial_names_date(double serial, bool system_1900, pf::DateTimeRec& date);
// The time of day of a serial from 0 to the last day of 9999 (its fraction,
// in whole seconds), whether or not it names a date; false for others.
bool serial_time_of_day(double serial, pf::DateTimeRec& time);
// One component (1 year ... 6 second, 7 day of the week) of a serial: the
// time's of any serial that has a time of day, the date's of a serial that
// names a date; false when it has none.
bool serial_component(double serial, bool system_1900, int16_t component, int32_t& part);

// The serial of a date at 00:00, or the error value 21 for a year out of range.
double Datefunc(int32_t year, int32_t month, int32_t day);
// Adds a whole amount to one component (1 ... 6); an error serial is returned.
// A 1900-system serial before 1 January 1904 is a time or a duration: it is
// moved as one counted from 1 January 1904 and stays one. A serial the
// calendar cannot show, or moved past its reach, becomes the error value 21.
int16_t AddTimeComponent(int16_t component, int32_t amount, double* serial);
// The decimal text of a number: mode 1 pads up to 9 with "0", mode 2 keeps
// the last two digits; the suffix, when given, is appended.
void DateComponentStr(int32_t number, unsigned char* text, const unsigned char* suffix, int16_t mode);
// 1 with *serial set when the text is a date, a time or both (in the date
// system of the workbook being calculated). With rewrite the text becomes its
// standard form.
int16_t read_date_serial(unsigned char* text, int16_t order, bool rewrite, double* serial);
// The time of day in typed text (with or without a date) as a fraction of a
// day, from its hours, minutes and seconds alone; 0 when the text is neither.
int16_t parse_time_of_day(const unsigned char* text, int16_t order, double* fraction);

// Whether a cell of this format code shows a date (with or without a time).
bool format_shows_date(uint8_t code);
// Whether a number of a cell of this format code is a date serial: the cell
// shows a date, or a date and time; a time of day alone is not.
bool holds_date_serial(uint8_t code, double value);
// Whether a number of a cell of this format code counts its days from the
// start of the date system, given as a serial of the 1904 system: any number
// in a format that shows a date, and a time of day on a date (a number of 1
// or more in a time format); a time of day alone, or a plain number, does not.
bool serial_counts_days(uint8_t code, double value);
// Whether the calendar here shows the date a serial names: from 1 January
// 1904 to 6 February 2040, as far as the calendar seconds reach.
bool serial_shows_its_date(double serial, bool system_1900);
// Whether a number in a format of that code would show another date than its
// own: the format shows a date the calendar cannot show for the serial.
bool shows_another_date(uint8_t code, double serial, bool system_1900);
// The standard form of a serial's date as a user types it (the parts in the
// date order, joined by the date separator, the year in full) and its time
// of day when it has one; for a serial of the 1900 or the 1904 system.
void date_entry_text(double serial, bool system_1900, unsigned char* text);
