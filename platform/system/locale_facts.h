// What a locale says about numbers, money and dates, as UTF-8 texts in the
// locale's own notation, and how it becomes international settings. Kept
// apart from the reading so that locales the machine lacks can be tried.
#pragma once

#include <array>
#include <string>

#include "platform/system/international.h"

namespace pf {

struct LocaleFacts {
    bool c_locale = false;              // C or POSIX: the US settings stand
    std::string decimal_point;          // RADIXCHAR
    std::string thousands_separator;    // THOUSEP
    std::string currency;               // CRNCYSTR: "-", "+" or "." then the symbol
    std::string international_currency; // INT_CURR_SYMBOL, e.g. "EUR "
    std::string date_format;            // D_FMT, e.g. "%d.%m.%Y"
    std::string time_format;            // T_FMT, e.g. "%H:%M:%S"
    std::string am, pm;
    int measurement = 0;                // 1 metric, 2 US, 0 unknown
    std::array<std::string, 12> month_names, month_abbreviations;
    std::array<std::string, 7> day_names, day_abbreviations;
};

IntlSettings settings_from_locale_facts(const LocaleFacts& facts);

}  // namespace pf
