// Numbers to text and back, error values, column letters, lengths in the user's
// units, Mac Roman case mapping and the function library's small random generator.
// Numbers are IEEE doubles; texts are length-prefixed strings of at most 255 bytes.
#pragma once

#include <cstdint>
#include <string>

// Error values: a quiet NaN whose low payload byte is the code. Infinities and
// NaNs without a code count as code 4; every finite value is a number.
int16_t checkValue(const double* value);
double N_AN(int16_t code);

// The codes of the error values the calculation makes; 8 and 200 only show.
constexpr int16_t kErrDivZero = 4;
constexpr int16_t kErrDivZeroAlt = 8;
constexpr int16_t kErrTextValue = 17;
constexpr int16_t kErrNum = 20;
constexpr int16_t kErrValue = 21;
constexpr int16_t kErrRef = 64;
constexpr int16_t kErrBlank = 200;  // shows nothing
constexpr int16_t kErrNA = 255;

// The display text of a code ("#DIV/0!", "#NUM!" ...); the empty text for 200.
void error_text(int16_t code, unsigned char* text);

// The text of a value: an error's text, else the number formatted with the
// digits as decimals (b positional, a trimmed) and the decimal character.
void CellErrStr(unsigned char* text, const double* value, int16_t digits, int16_t a, int16_t b,
                unsigned char decimal_char);

// The general display text of a value (an error's text for an error value).
std::string general_value_text(double value, unsigned char decimal_char);

// Text -> number: 1 when all of the text was a finite number.
int16_t StrToExtended(const unsigned char* text, double* value);

// A decimal number at the start of a text ("." as the point, an optional
// sign and exponent), read the same in every process locale: answers the
// bytes read, 0 when none. Too large gives an infinity, too small zero.
int32_t decimal_text_to_double(const char* text, int32_t length, double* value);

// A 10-byte 80-bit extended value (sign and exponent first, then the 64-bit
// mantissa, most significant byte first) as a double.
double dbl_2_x80(const unsigned char* extended);

// Number -> text with at most 14 significant digits in positional notation for
// decimal exponents -14..13 (see number_text.cpp). decimals < 0: as many as needed.
void ExtendedtoStr(unsigned char* dest, const double* value, int16_t decimals, bool positional,
                   bool trim, unsigned char decimal_char);

// ExtendedtoStr(value, -1, positional) of a number that shows in plain
// notation, written at `out` (room for kPlainTextRoom bytes, any of which may
// be written) without the length byte: answers the length, 0 when the number
// needs the full formatter.
constexpr int kPlainTextRoom = 32;
int plain_general_text(double value, unsigned char decimal_char, char* out);

// Rounds to an integer, halves away from zero, fractions just short of a half
// (within 14 decimal places) counting as halves.
double final_Round(const double* value);

// Column names: 0 is A, 31999 is AUHT. Negative columns give the empty text;
// ColumnToNumber answers -1 for texts that are not 1 to 4 characters long.
void NumberToColumn(unsigned char* dest, int16_t column);
int16_t ColumnToNumber(const unsigned char* text);

// Decimal text of a 16.16 fixed-point number, at most three fraction digits, cut.
void fixed_to_string(int32_t fixed, unsigned char* dest);

// Lengths are whole points; units as the preferences number them.
enum LengthUnit : int16_t { kUnitCentimetres = 0, kUnitInches = 1, kUnitPoints = 2, kUnitPicas = 3 };
void strip_unit_chars(unsigned char* text);
void concat_unit_str(unsigned char* text, int16_t unit);
// The points of a length typed in a field ("1 in", "2.54cm", "6 pi", "72.9"); the
// text the field should show afterwards goes to echo when it is not null. Text that
// is not a number gives 0 and an empty echo.
int16_t margin_text_to_points(const unsigned char* text, unsigned char* echo, int16_t default_unit);
void convert_margin_num(int16_t points, unsigned char* dest, int16_t unit);

// Mac Roman case mapping.
unsigned char extended_toupper(unsigned char ch);
unsigned char extended_tolower(unsigned char ch);
bool is_ext_upper(unsigned char ch);

// The function library's random numbers, in (0, 1).
struct RandomSeed {
    int16_t s1, s2, s3;
};
extern RandomSeed g_seed;
void init_rand();
double random_small();
