#include "platform/system/international.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <optional>

#include "platform/system/date_time.h"
#include "platform/system/locale_facts.h"
#include "platform/text/text.h"

namespace pf {
namespace {

constexpr unsigned char kNoBreakSpace = 0xCA;
constexpr size_t kLongestCurrency = 3;

std::optional<IntlSettings> g_settings;

// Mac Roman spelling of a UTF-8 text, or nothing when a character has none.
std::optional<std::string> spelled_in_mac_roman(const std::string& utf8) {
    std::string roman = utf8_to_mac_roman(utf8, 0);
    if (roman.find('\0') != std::string::npos) return std::nullopt;
    return roman;
}

bool is_space_like(const std::string& utf8) {
    return utf8 == " " || utf8 == "\u00A0" || utf8 == "\u202F" || utf8 == "\u2009";
}

// One separator character: spaces of every width become the no-break space.
std::optional<char> separator_of(const std::string& utf8) {
    if (is_space_like(utf8)) return char(kNoBreakSpace);
    auto roman = spelled_in_mac_roman(utf8);
    if (!roman || roman->size() != 1) return std::nullopt;
    return (*roman)[0];
}

template <size_t N>
void take_names(const std::array<std::string, N>& utf8, std::array<std::string, N>& names) {
    std::array<std::string, N> roman;
    for (size_t i = 0; i < N; ++i) {
        auto spelled = spelled_in_mac_roman(utf8[i]);
        if (!spelled || spelled->empty()) return;  // keep the whole set as it was
        roman[i] = *spelled;
    }
    names = roman;
}

// Position of each of day, month and year in a strftime date format.
struct DateFields {
    int day = -1, month = -1, year = -1;
    char separator = 0;
};

void note_field(DateFields& f, char conversion, int position) {
    switch (conversion) {
        case 'd': case 'e': f.day = position; break;
        case 'm': case 'b': case 'B': case 'h': f.month = position; break;
        case 'y': case 'Y': case 'C': f.year = position; break;
        default: break;
    }
}

DateFields date_fields(const std::string& format) {
    std::string expanded = format;
    if (expanded == "%D" || expanded == "%x") expanded = "%m/%d/%y";
    if (expanded == "%F") expanded = "%Y-%m-%d";
    DateFields fields;
    int position = 0;
    for (size_t i = 0; i < expanded.size(); ++i) {
        char c = expanded[i];
        if (c == '%' && i + 1 < expanded.size()) {
            size_t k = i + 1;
            while (k < expanded.size() && std::strchr("-_0^#EO", expanded[k])) ++k;  // flags and modifiers
            if (k < expanded.size()) note_field(fields, expanded[k], position++);
            i = k;
        } else if (position == 1 && !fields.separator && c > ' ' && static_cast<unsigned char>(c) < 0x80) {
            fields.separator = c;
        }
    }
    return fields;
}

std::optional<DateOrder> date_order_of(const DateFields& f) {
    if (f.day < 0 || f.month < 0 || f.year < 0) return std::nullopt;
    if (f.month < f.day) return f.year > f.day ? kMonthDayYear : f.year < f.month ? kYearMonthDay : kMonthYearDay;
    return f.year > f.month ? kDayMonthYear : f.year < f.day ? kYearDayMonth : kDayYearMonth;
}

bool has_any(const std::string& text, std::initializer_list<const char*> parts) {
    for (const char* p : parts)
        if (text.find(p) != std::string::npos) return true;
    return false;
}

void take_currency(const LocaleFacts& facts, IntlSettings& s) {
    if (facts.currency.size() < 2) return;
    auto symbol = spelled_in_mac_roman(facts.currency.substr(1));
    if (!symbol || symbol->size() > kLongestCurrency) {
        symbol = spelled_in_mac_roman(facts.international_currency.substr(0, kLongestCurrency));
        if (!symbol || symbol->empty()) return;
    }
    s.currency = *symbol;
    s.currency_before = facts.currency[0] != '+';
}

void take_numbers(const LocaleFacts& facts, IntlSettings& s) {
    if (auto point = separator_of(facts.decimal_point)) s.decimal_point = *point;
    if (auto thousands = separator_of(facts.thousands_separator)) s.thousands_separator = *thousands;
    if (s.thousands_separator == s.decimal_point) s.thousands_separator = s.decimal_point == ',' ? '.' : ',';
    if (facts.measurement) s.metric = facts.measurement == 1;
}

void take_dates(const LocaleFacts& facts, IntlSettings& s) {
    DateFields fields = date_fields(facts.date_format);
    if (auto order = date_order_of(fields)) s.date_order = *order;
    if (fields.separator) s.date_separator = fields.separator;
    if (has_any(facts.time_format, {"%H", "%k", "%T", "%R"})) s.twenty_four_hour = true;
    if (has_any(facts.time_format, {"%I", "%l", "%r"})) s.twenty_four_hour = false;
    DateFields time_fields = date_fields(facts.time_format);
    if (time_fields.separator) s.time_separator = time_fields.separator;
    auto am = spelled_in_mac_roman(facts.am), pm = spelled_in_mac_roman(facts.pm);
    if (am && pm && !am->empty() && !pm->empty()) {
        s.am = *am;
        s.pm = *pm;
    }
    take_names(facts.month_names, s.month_names);
    take_names(facts.month_abbreviations, s.month_abbreviations);
    take_names(facts.day_names, s.day_names);
    take_names(facts.day_abbreviations, s.day_abbreviations);
}

// ---- Reading the locale ------------------------------------------------------

struct LocaleHandle {
    locale_t locale;
    explicit LocaleHandle(const char* name) : locale(newlocale(LC_ALL_MASK, name, locale_t(0))) {}
    ~LocaleHandle() {
        if (locale) freelocale(locale);
    }
    LocaleHandle(const LocaleHandle&) = delete;
    LocaleHandle& operator=(const LocaleHandle&) = delete;
};

// A langinfo item in UTF-8.
std::string item(locale_t locale, nl_item what) {
    const char* raw = nl_langinfo_l(what, locale);
    std::string text = raw ? raw : "";
    std::string codeset = nl_langinfo_l(CODESET, locale);
    if (codeset == "UTF-8" || codeset == "ANSI_X3.4-1968") return text;
    std::string utf8;
    return convert_encoding(text, codeset.c_str(), "UTF-8", utf8) ? utf8 : std::string();
}

bool is_c_locale(locale_t locale) {
    std::string name = nl_langinfo_l(_NL_LOCALE_NAME(LC_TIME), locale);
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

LocaleFacts read_locale_facts(locale_t locale) {
    LocaleFacts f;
    f.c_locale = is_c_locale(locale);
    f.decimal_point = item(locale, RADIXCHAR);
    f.thousands_separator = item(locale, THOUSEP);
    f.currency = item(locale, CRNCYSTR);
    f.international_currency = item(locale, __INT_CURR_SYMBOL);
    f.date_format = item(locale, D_FMT);
    f.time_format = item(locale, T_FMT);
    f.am = item(locale, AM_STR);
    f.pm = item(locale, PM_STR);
    const char* measurement = nl_langinfo_l(_NL_MEASUREMENT_MEASUREMENT, locale);
    f.measurement = measurement ? measurement[0] : 0;
    for (int i = 0; i < 12; ++i) {
        f.month_names[i] = item(locale, MON_1 + i);
        f.month_abbreviations[i] = item(locale, ABMON_1 + i);
    }
    for (int i = 0; i < 7; ++i) {
        f.day_names[i] = item(locale, DAY_1 + i);
        f.day_abbreviations[i] = item(locale, ABDAY_1 + i);
    }
    return f;
}

// ---- Date and time texts -----------------------------------------------------

std::string number(int32_t n) { return std::to_string(n); }

std::string two_digits(int32_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// Day, month and year texts joined in the date order.
std::string in_date_order(DateOrder order, const std::string& day, const std::string& month,
                          const std::string& year, const std::string& between) {
    switch (order) {
        case kDayMonthYear: return day + between + month + between + year;
        case kYearMonthDay: return year + between + month + between + day;
        case kMonthYearDay: return month + between + year + between + day;
        case kDayYearMonth: return day + between + year + between + month;
        case kYearDayMonth: return year + between + day + between + month;
        case kMonthDayYear: break;
    }
    return month + between + day + between + year;
}

std::string written_date(const DateTimeRec& d, const IntlSettings& s, bool abbreviated) {
    const std::string& weekday = (abbreviated ? s.day_abbreviations : s.day_names)[d.day_of_week - 1];
    const std::string& month = (abbreviated ? s.month_abbreviations : s.month_names)[d.month - 1];
    if (s.date_order == kMonthDayYear) return weekday + ", " + month + " " + number(d.day) + ", " + number(d.year);
    return weekday + ", " + in_date_order(s.date_order, number(d.day), month, number(d.year), " ");
}

}  // namespace

IntlSettings us_international_settings() {
    IntlSettings s;
    s.month_names = {"January", "February", "March",     "April",   "May",      "June",
                     "July",    "August",   "September", "October", "November", "December"};
    s.month_abbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    s.day_names = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    s.day_abbreviations = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return s;
}

IntlSettings settings_from_locale_facts(const LocaleFacts& facts) {
    IntlSettings s = us_international_settings();
    if (facts.c_locale) return s;
    take_numbers(facts, s);
    take_currency(facts, s);
    take_dates(facts, s);
    return s;
}

IntlSettings international_settings_of_locale(const char* locale_name) {
    LocaleHandle handle(locale_name);
    if (!handle.locale) return us_international_settings();
    return settings_from_locale_facts(read_locale_facts(handle.locale));
}

const IntlSettings& international_settings() {
    if (!g_settings) g_settings = international_settings_of_locale("");
    return *g_settings;
}

void set_international_settings(const IntlSettings& settings) { g_settings = settings; }

std::string date_string(uint32_t seconds, DateForm form) {
    const IntlSettings& s = international_settings();
    DateTimeRec d;
    seconds_to_date(seconds, d);
    if (form == DateForm::short_date)
        return in_date_order(s.date_order, number(d.day), number(d.month), number(d.year),
                             std::string(1, s.date_separator));
    return written_date(d, s, form == DateForm::abbreviated_date);
}

std::string time_string(uint32_t seconds, bool with_seconds) {
    const IntlSettings& s = international_settings();
    DateTimeRec d;
    seconds_to_date(seconds, d);
    int32_t hour = d.hour;
    if (!s.twenty_four_hour) hour = hour % 12 == 0 ? 12 : hour % 12;
    std::string text = number(hour) + s.time_separator + two_digits(d.minute);
    if (with_seconds) text += s.time_separator + two_digits(d.second);
    if (!s.twenty_four_hour) text += " " + (d.hour < 12 ? s.am : s.pm);
    return text;
}

std::string japanese_day_name(int day_of_week) {
    static const char* const kNames[] = {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"};
    if (day_of_week < 1 || day_of_week > 7) return {};
    std::string shift_jis;
    utf8_to_shift_jis(kNames[day_of_week - 1], shift_jis);
    return shift_jis;
}

}  // namespace pf
