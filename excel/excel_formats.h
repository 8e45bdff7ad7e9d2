// Excel's cell formats (XF records with their fonts and number formats) as
// this program's 32-byte format blocks, where the block can hold them.
#pragma once

#include <cstdint>
#include <string>

#include "excel/excel_book.h"

// This program's format code and decimals for an Excel number format.
struct NumberFormatMatch {
    uint8_t code;
    int8_t decimals;
    bool thousands;
    bool fixed_decimals;
    bool currency_left_out = false;  // a currency no format here shows
    bool duration_left_out = false;  // a duration no format here shows
};
// `format` is UTF-8.
NumberFormatMatch match_number_format(const std::string& format);

// The format string of a number format index: the workbook's own or a built-in one.
std::string number_format_string(const ExcelBook& book, uint16_t index);

// Fills a format block (already holding the defaults) from cell format `xf`;
// answers the match of its number format, which tells what was left out.
NumberFormatMatch apply_excel_format(const ExcelBook& book, uint16_t xf, bool sheet_protected, uint8_t* format);
