// What the SYLK reader and writer share: escapes of characters, the picture
// formats and the fields of a record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include "resource_ids.h"

constexpr uint8_t kEscape = 27;

// The program the ID record names in the files this program writes.
constexpr char kSylkProgramName[] = "QUORVIN";
// Date systems as the options record's "V" field names them.
constexpr int16_t kSylk1900Dates = 0, kSylk1904Dates = 4;
// The ID record's field of this program's own (the options record's in files
// written before): the date system of the workbook the file was written from
// (its serials are in the options record's "V" field's).
constexpr char kSylkBookDatesField = 'B';
// The "F" record's field of this program's own: the colours of a format, as
// numbers apart by spaces, in the order of these bytes of the format.
constexpr int kSylkColourBytes[] = {14, 15, 16, 17, 20, 21, 22, 23};
constexpr char kSylkColoursField = 'Q';
// The "F" record's field of this program's own: the bits of a format's
// flags A and flags B (bytes 9 and 13) that shape how its number shows
// (thousands separators, negatives in red or parentheses, zero as empty, the
// label before, fixed decimals, the second currency, a date of its own), as
// two numbers apart by a space.
constexpr char kSylkNumberFlagsField = 'U';
constexpr uint8_t kSylkNumberFlagsA = 0x02 | 0x10 | 0x20 | 0x40 | 0x80;
constexpr uint8_t kSylkNumberFlagsB = 0x20 | 0x40 | 0x80;

// Decodes the escape at *p (an ESC) and moves *p to its last character;
// answers the character it stands for.
uint8_t EscFilter(const uint8_t** p, const uint8_t* end);

// A text as it stands in a SYLK value: each ";" doubled, characters below 32
// (but tab, which other programs write as it is) and the accented letters
// SYLK spells with escapes written as escapes.
void escape_sylk_text(std::string_view text, std::string& out);
// A text as it stands in a SYLK value with its characters as they are (UTF-8,
// or Mac Roman in a line converted later): each ";" doubled and characters
// below 32 but tab written as escapes.
void escape_sylk_controls(std::string_view text, std::string& out);

// The text of a number moved by whole days, added digit by digit to its
// shortest decimal text so that moving the text back by as many days gives
// the number's own text, and so the number, again. Empty when the text is
// no plain decimal (an exponent, an error) or too long to move that way.
std::string decimal_moved_by_days(std::string_view text, int32_t days);
// A number's file text moved by whole days: exact as above where it can be.
std::string number_text_moved_by_days(double value, int32_t days);

// The format code of a picture (its position in STR# 500, from 1), or -1.
int16_t code_of_picture(int16_t item);
// The picture of a format code, or 0 when the code is written by its type
// letter alone.
int16_t picture_of_code(uint8_t code);
// The number of pictures in STR# 500.
int16_t picture_count();

// Fields of a record: the text after the type, each field starting at a
// single ";". The value of a field is kept raw (";;" pairs and escapes as
// they stand).
struct SylkField {
    char letter = 0;
    std::string_view value;
};

struct SylkRecord {
    std::string_view type;
    std::string_view rest;  // from the ";" after the type
};

SylkRecord split_record(std::string_view line);
// The next field of `rest` (which starts at a ";"); false at the end.
bool next_field(std::string_view& rest, SylkField& field);
// A raw value with ";;" pairs made one and escapes decoded; with `drop_controls`
// other characters below 32 but tab and line feed (a text broken over
// lines) are dropped.
std::string unescape_value(std::string_view raw, bool drop_controls);
// The same for a value of a UTF-8 file: the Mac Roman characters escapes
// stand for come out in UTF-8.
std::string unescape_unicode_value(std::string_view raw, bool drop_controls);
// Whether unescape_value would give the raw value back as it stands.
bool value_as_written(std::string_view raw, bool drop_controls);
// A raw value unescaped with controls dropped: the raw text itself when it
// reads as written, else its unescaped copy kept in `unescaped`.
std::string_view field_value(std::string_view raw, std::string& unescaped);

// A decimal integer (sign allowed); false when the text is not one or out of
// the 32-bit range.
bool read_integer(std::string_view text, int32_t* value);
