// The display text of a cell: a number formatted by its cell's format code, a
// date or time, a text, an error text or the formula itself, cut at 255 bytes,
// with a flag telling the caller to draw it in red.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_manager.h"
#include "model/cell_format.h"
#include "model/cell_range.h"
#include "resource_ids.h"

// Format codes with a name of their own.
constexpr uint8_t kFormatBoolean = 'B';
constexpr uint8_t kFormatFixed = 'F';
constexpr uint8_t kFormatPercent = 'I';
constexpr uint8_t kFormatFraction = 'J';
constexpr uint8_t kFormatScientific = 'S';
constexpr uint8_t kFormatShowFormula = 'f';
constexpr uint8_t kFormatCustomDate = 120;
// A duration: its hours as many as there are, then two-digit minutes and
// seconds ("36:00:00"); a number of days, never a date.
constexpr uint8_t kFormatElapsedTime = 30;

// Flags A (byte 9) and flags B (byte 13) read by the display text.
constexpr uint8_t kFlagAThousands = 0x02;
constexpr uint8_t kFlagANegativeRed = 0x10;
constexpr uint8_t kFlagANegativeParens = 0x20;
constexpr uint8_t kFlagAZeroEmpty = 0x40;
constexpr uint8_t kFlagALabelBefore = 0x80;
constexpr uint8_t kFlagBTriangle = 0x01;
constexpr uint8_t kFlagBSecondCurrency = 0x40;

// String lists of month names: STR# 131 for the day-month forms, STR# 250 for
// the month-year and initial forms (entry = month).

struct CellInfoRecord {
    unsigned char text[256];    // out; length byte 255 when a longer text was cut
    CellPoint where;            // the cell, for relative references in shown formulas
    const uint8_t* cell;        // the CellRecord in its row block, or null
    int16_t available_width;    // pixels; 0 or less: no fitting
    CellFormat format;          // copy of the cell's format header
    double value;
    MemoryRef layer;            // or null
    bool dates_1900;            // without a layer: the value counts dates from 1900
    int16_t default_font;
    const uint8_t* long_text;   // out: the whole text of a text cell of 255 bytes or more
    int16_t text_length;        // out: the full length of the text
    int16_t negative_in_red;    // out
    MemoryGlobals* memory;
};

// The facts of the system the display text depends on, read from the
// platform on first use; start-up and tests may change them.
struct DisplaySystemFacts {
    bool japanese_enabled;
    int16_t system_script;
    uint16_t system_version;  // 0x0850 is 8.5
};
DisplaySystemFacts& display_system_facts();

void CellString(CellInfoRecord* info);
// The text a stored cell shows, whole (not fitted to a width); empty for no cell.
// `font`, when given, takes the font it is shown in (its bytes are in that
// font's script, but for a text of runs in several).
std::string displayed_cell_text(MemoryRef layer, CellPoint where, int16_t* font = nullptr);
int16_t FormatCellString(CellInfoRecord* info);
void CustomFormatString(unsigned char* text, const uint8_t* format, const double* value, MemoryRef layer);
void get_format_string(unsigned char* text, const uint8_t* format, const double* value, MemoryRef layer);

bool is_date_format(uint8_t code);
bool is_time_format(uint8_t code);

// Text routines shared by the number forms.
void AddCommas(unsigned char* text, unsigned char separator, unsigned char decimal_char);
void AddBrackets(unsigned char* text);
void AddCurrency(unsigned char* text, const unsigned char* symbol, bool before_sign);
int16_t AddLabel(unsigned char* text, const CellInfoRecord* info);
void InsertConcat(const unsigned char* source, unsigned char* target, int16_t position);
int16_t NegDigits(double* value, int16_t decimals);
int16_t CountSequentialChars(const unsigned char* text, int16_t position, unsigned char ch);

// The Japanese era of a 1904-system day count: 1 Meiji ... 5 Reiwa, and the
// year within it.
struct JapaneseEra {
    int16_t era;
    int32_t year;
};
JapaneseEra japanese_era(double days_1904, int32_t year);
