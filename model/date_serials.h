// Date serials: days since 1 January 1904, 00:00, with the time of day as the
// fraction. A workbook in the 1900 date system counts 1,462 days more, except
// that serials up to 1,462 keep their 1904 meaning (the calendar seconds
// cannot reach before 1904). One pair of conversions applies this rule to
// every date built, typed, split or moved, so a typed date and the same date
// built from its parts have one serial.
#pragma once

#include <cstdint>

constexpr uint32_t k1900ShiftSeconds = 126316800;  // 1,462 days
constexpr double k1900ShiftDays = 1462.0;
constexpr double kLastComponentSerial = 49210.0;

// Whether the workbook being calculated (or parsed into) uses the 1900 system.
bool calc_uses_1900_dates();

double SecsToFloat(uint32_t seconds);
uint32_t ConvertToSecs(double serial);
// The current time as a 1904-system serial.
double SpreadSheetTime();

// Calendar seconds of a date to its serial in the workbook's system, and back.
double serial_of_seconds(uint32_t seconds, bool system_1900);
uint32_t seconds_of_serial(double serial, bool system_1900);

// The serial of a date at 00:00, or the error value 21 for a year out of range.
double Datefunc(int32_t year, int32_t month, int32_t day);
// One component (1 year ... 6 second, 7 day of the week) of the date of a
// serial's calendar seconds (as ConvertToSecs gives them); 0 outside 1 ... 7.
int32_t DateComponent(uint32_t seconds, int16_t component);
// Adds a whole amount to one component (1 ... 6); an error serial is returned.
int16_t AddTimeComponent(int16_t component, int32_t amount, double* serial);
// The decimal text of a number: mode 1 pads up to 9 with "0", mode 2 keeps
// the last two digits; the suffix, when given, is appended.
void DateComponentStr(int32_t number, unsigned char* text, const unsigned char* suffix, int16_t mode);
// 1 with g_value set to the serial when the text is a date, a time or both.
// With rewrite the text becomes its standard form.
int16_t parseDate(unsigned char* text, int16_t order, bool rewrite);
// The time of day in typed text (with or without a date) as a fraction of a
// day, from its hours, minutes and seconds alone; 0 when the text is neither.
int16_t parse_time_of_day(const unsigned char* text, int16_t order, double* fraction);

// Whether a cell of this format code shows a date (with or without a time).
bool format_shows_date(uint8_t code);
// Whether a number of a cell of this format code is a date serial: the cell
// shows a date, or a date and time; a time of day alone is not.
bool holds_date_serial(uint8_t code, double value);
// Whether such a number counts its days from the start of the date system:
// a date, or a time of day on a date (a number of 1 or more in a time format).
bool serial_counts_days(uint8_t code, double value);
// Whether the calendar here shows a serial as the date it counts from the
// start of its date system: from 1 January 1904 (in the 1900 system from 2
// January 1904, as serials up to 1,462 keep their 1904 meaning) to 6 February
// 2040, as far as the calendar seconds reach.
bool serial_shows_its_date(double serial, bool system_1900);
// The standard form of a serial's date as a user types it (the parts in the
// date order, joined by the date separator, the year in full) and its time
// of day when it has one; for a serial of the 1900 or the 1904 system.
void date_entry_text(double serial, bool system_1900, unsigned char* text);

// The date worksheet functions, reading their arguments from the formula.
void Date_Func(int16_t number);  // 29 ... 35 on the serial in g_value
void read_date();                // 78
void read_time();                // 118
void add_time();                 // 63
void date360func();              // 120
