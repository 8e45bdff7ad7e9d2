// Error values, text -> number, and the number formatter.
#include "core/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "core/string_utils.h"

namespace {

constexpr int kMaxDigits = 36;         // a decimal record holds at most 36 digits
constexpr int kDisplayDigits = 14;     // significant digits of every positional number
constexpr int kLowestPlainExponent = -14;
constexpr int kHighestPlainExponent = 13;
constexpr int kMaxDigitPositions = 252;
constexpr char kTooWide[] = ">>>>>>";

uint64_t bits_of(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double double_of(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The value as sign, exponent and digit string: value = digits x 10^exponent, the
// digits correctly rounded to n significant ones, trailing zeros moved into the exponent.
// Infinities give "INF" and NaNs "NANxx" (xx the error code).
struct DecimalDigits {
    bool negative = false;
    int exponent = 0;
    int count = 0;
    char digits[kMaxDigits + 1] = {};
};

// Up to this many significant digits, a normal double's shortest digits that
// read back as it, when there are no more of them, are its digits correctly
// rounded: half a unit in the last place is below half a unit of the 15th digit.
constexpr int kShortestExactDigits = 15;

// `magnitude` in the scientific notation of "%.*e" with n - 1 decimals
// ("d.ddde+xx"), its trailing zeros perhaps left out; answers the end.
char* scientific_digits(double magnitude, int n, char* text, size_t size) {
    if (n <= kShortestExactDigits && magnitude >= std::numeric_limits<double>::min()) {
        std::to_chars_result shortest = std::to_chars(text, text + size, magnitude, std::chars_format::scientific);
        int digits = int(std::find(text, shortest.ptr, 'e') - text);
        if (digits > 1) --digits;  // the point
        if (digits <= n) return shortest.ptr;
    }
    return std::to_chars(text, text + size, magnitude, std::chars_format::scientific, n - 1).ptr;
}

DecimalDigits digits_of(double value, int n) {
    DecimalDigits d;
    d.negative = std::signbit(value);
    if (std::isnan(value)) {
        d.negative = false;
        d.count = std::snprintf(d.digits, sizeof d.digits, "NAN%02d", checkValue(&value) % 100);
        return d;
    }
    if (std::isinf(value)) {
        d.count = std::snprintf(d.digits, sizeof d.digits, "INF");
        return d;
    }
    n = std::clamp(n, 1, kMaxDigits);
    char text[kMaxDigits + 16];
    const char* end = scientific_digits(std::fabs(value), n, text, sizeof text);
    const char* p = text;
    for (; *p != 'e'; ++p)
        if (*p != '.') d.digits[d.count++] = *p;
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
    d.exponent = exponent - (d.count - 1);
    while (d.count > 1 && d.digits[d.count - 1] == '0') {
        --d.count;
        ++d.exponent;
    }
    d.digits[d.count] = 0;
    if (d.count == 1 && d.digits[0] == '0') {
        d.negative = false;
        d.exponent = 0;
    }
    return d;
}

// Where the digits go: positions F..L of the digit string (1-based; positions
// outside it read "0"), the decimal character after position P, and an exponent X.
struct DigitLayout {
    int first = 1;
    int last = kDisplayDigits;
    int point = 1;
    int exponent = 0;
    bool with_exponent = true;
};

int decimal_exponent(const DecimalDigits& d) { return d.count + d.exponent - 1; }

// Plain notation when the exponent allows it; the last position is cut to the
// digits there are, but never before the point.
void lay_out_positional(const DecimalDigits& d, DigitLayout& layout) {
    layout.exponent = decimal_exponent(d);
    layout.first = layout.point = 1;
    if (layout.exponent >= kLowestPlainExponent && layout.exponent <= kHighestPlainExponent) {
        layout.with_exponent = false;
        layout.point = layout.exponent + 1;
        if (layout.point <= 0) layout.first = layout.point;
    }
    if (layout.last > d.count) layout.last = d.count;
    if (d.count < layout.point) layout.last = layout.point;
}

// Rounds the value to the given count of decimals the way cells show it.
double rounded_to_decimals(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    if (decimals == 0) return final_Round(&value);
    double scale = std::pow(10.0, decimals);
    double scaled = value * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 0x1p52) return value;  // already whole
    return final_Round(&scaled) / scale;
}

char digit_at(const DecimalDigits& d, int position) {
    return position >= 1 && position <= d.count ? d.digits[position - 1] : '0';
}

// Room for the widest layout written: the digit positions, a sign, the
// decimal character and an exponent.
constexpr int kFormattedRoom = kMaxDigitPositions + 16;

// Writes the digits in the layout at `out`; answers the count of characters.
int formatted_text(const DecimalDigits& d, const DigitLayout& layout, char decimal_char, char* out) {
    char* p = out;
    if (d.negative) *p++ = '-';
    if (d.digits[0] < '0' || d.digits[0] > '9') {
        std::memcpy(p, d.digits, size_t(d.count));
        return int(p + d.count - out);
    }
    for (int position = layout.first; position <= layout.last; ++position) {
        *p++ = digit_at(d, position);
        if (position == layout.point && position != layout.last) *p++ = decimal_char;
    }
    if (layout.with_exponent) {
        *p++ = 'E';
        *p++ = layout.exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(layout.exponent);
        if (magnitude < 10) *p++ = '0';
        p = std::to_chars(p, out + kFormattedRoom, magnitude).ptr;
    }
    return int(p - out);
}

}  // namespace

// Zero, normal and subnormal numbers are numbers; NaNs and infinities errors.
int16_t checkValue(const double* value) {
    if (std::isfinite(*value)) return 0;
    int16_t code = static_cast<int16_t>(bits_of(*value) & 0xFF);
    return code == 0 ? 4 : code;
}

int16_t checkgValue() { return checkValue(&g_value); }

double N_AN(int16_t code) {
    return double_of(0x7FF8000000000000ull | static_cast<uint16_t>(code));
}

// from_chars reads "." as the decimal point whatever the process locale is.
int32_t decimal_text_to_double(const char* text, int32_t length, double* value) {
    const char* first = text;
    const char* end = text + length;
    bool negative = false;
    if (first < end && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    if (first == end || !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.')) return 0;
    double magnitude = 0;
    auto [stop, fault] = std::from_chars(first, end, magnitude, std::chars_format::general);
    if (fault == std::errc::invalid_argument) return 0;
    if (fault == std::errc::result_out_of_range) {
        // Past the range of doubles: overflow to infinity, underflow to zero.
        const char* e = first;
        while (e < stop && *e != 'e' && *e != 'E') ++e;
        bool tiny = e + 1 < stop && e[1] == '-';
        magnitude = tiny ? 0.0 : HUGE_VAL;
    }
    *value = negative ? -magnitude : magnitude;
    return int32_t(stop - text);
}

int16_t StrToExtended(const unsigned char* text, double* value) {
    int32_t consumed = decimal_text_to_double(reinterpret_cast<const char*>(text + 1), text[0], value);
    bool consumed_all = text[0] > 0 && consumed == text[0];
    return consumed_all && checkValue(value) == 0 ? 1 : 0;
}

double dbl_2_x80(const unsigned char* extended) {
    bool negative = extended[0] & 0x80;
    int biased = ((extended[0] & 0x7F) << 8) | extended[1];
    uint64_t mantissa = 0;
    for (int i = 2; i < 10; ++i) mantissa = (mantissa << 8) | extended[i];
    double magnitude;
    if (biased == 0x7FFF)
        magnitude = (mantissa << 1) == 0 ? INFINITY : double_of(0x7FF8000000000000ull | (mantissa >> 11));
    else
        magnitude = std::ldexp(static_cast<double>(mantissa), biased - 16383 - 63);
    return negative ? -magnitude : magnitude;
}

namespace {

// Shortest digits of 16 or more, rounded to 14: no 15-digit midpoint reads
// back as the value, so the value and these digits round alike.
void round_shortest_digits(char* digits, int& count, int& exponent) {
    const bool up = digits[kDisplayDigits] >= '5';
    count = kDisplayDigits;
    if (!up) return;
    int at = count - 1;
    for (; at >= 0 && digits[at] == '9'; --at) digits[at] = '0';
    if (at >= 0) {
        ++digits[at];
        return;
    }
    digits[0] = '1';
    ++exponent;
}

constexpr int kFewDecimals = 6;
constexpr double kFewDecimalsScale = 1e6;

// The digits of a number that reads back from at most six decimals, as typed
// prices and rates do: such a decimal of at most 14 digits lies on their grid
// within half a unit in the last place, so it is the number's digits rounded
// to 14. False when the number has no such decimal.
bool few_decimals_digits(double magnitude, char* digits, int& count, int& exponent) {
    // Below 2^53 a cast after adding a half rounds; the check after it decides.
    const auto nearest_whole = [](double positive) { return double(int64_t(positive + 0.5)); };
    const double scaled = magnitude * kFewDecimalsScale;
    if (!(scaled < 0x1p53) || std::fabs(scaled - nearest_whole(scaled)) > scaled * 1e-15) return false;
    double scale = 1;
    for (int decimals = 1; decimals <= kFewDecimals; ++decimals) {
        scale *= 10;
        const double whole = nearest_whole(magnitude * scale);
        if (whole / scale != magnitude) continue;
        const int written = int(std::to_chars(digits, digits + kMaxDigits, static_cast<uint64_t>(whole)).ptr - digits);
        if (written > kDisplayDigits) return false;
        count = written;
        exponent = count - 1 - decimals;
        return true;
    }
    return false;
}

}  // namespace

// Whole numbers below 10^14 are their integer digits; other numbers are their
// digits_of digits laid out as lay_out_positional does, when the first of them
// sits within the plain exponents.
int plain_general_text(double value, unsigned char decimal_char, char* out) {
    const double magnitude = std::fabs(value);
    if (!(magnitude < 1e14)) return 0;  // NaNs too
    if (magnitude == std::trunc(magnitude))
        return int(std::to_chars(out, out + kPlainTextRoom, static_cast<int64_t>(value)).ptr - out);
    if (magnitude < 1e-15) return 0;
    char digits[kMaxDigits];
    int count = 0;
    int exponent = 0;
    if (!few_decimals_digits(magnitude, digits, count, exponent)) {
        char scientific[kMaxDigits + 16];
        const char* end = std::to_chars(scientific, scientific + sizeof scientific, magnitude,
                                        std::chars_format::scientific).ptr;
        const char* e = std::find(static_cast<const char*>(scientific), end, 'e');
        std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
        for (const char* p = scientific; p < e; ++p)
            if (*p != '.') digits[count++] = *p;
        if (count == kDisplayDigits + 1) return 0;  // may sit on a rounding midpoint
        if (count > kDisplayDigits) round_shortest_digits(digits, count, exponent);
    }
    if (exponent < kLowestPlainExponent || exponent > kHighestPlainExponent) return 0;
    while (count > 1 && digits[count - 1] == '0') --count;
    char* p = out;
    if (value < 0) *p++ = '-';
    if (exponent < 0) {
        *p++ = '0';
        *p++ = static_cast<char>(decimal_char);
        p = std::fill_n(p, -exponent - 1, '0');
        return int(std::copy_n(digits, count, p) - out);
    }
    for (int position = 0; position < count || position <= exponent; ++position) {
        *p++ = position < count ? digits[position] : '0';
        if (position == exponent && position + 1 < count) *p++ = static_cast<char>(decimal_char);
    }
    return int(p - out);
}

void ExtendedtoStr(unsigned char* dest, const double* value, int16_t decimals, bool positional,
                   bool trim, unsigned char decimal_char) {
    DecimalDigits d;
    DigitLayout layout;
    if (!positional) {
        if (decimals < 0 && trim) decimals = kDisplayDigits;
        int n = std::max(decimals + 1, 1);
        d = digits_of(*value, n);
        layout.exponent = decimal_exponent(d);
        layout.last = trim ? std::max(d.count, 1) : n;
    } else if (decimals < 0) {
        d = digits_of(*value, kDisplayDigits);
        lay_out_positional(d, layout);
    } else {
        d = digits_of(rounded_to_decimals(*value, decimals), kDisplayDigits);
        int exponent = decimal_exponent(d);
        if (!trim && exponent >= kLowestPlainExponent && exponent <= kHighestPlainExponent) {
            layout.with_exponent = false;
            layout.point = d.count + d.exponent;
            layout.first = layout.point < 2 ? layout.point : 1;
            layout.last = decimals + layout.point;
        } else {
            lay_out_positional(d, layout);
        }
    }
    char text[kFormattedRoom];
    int length = layout.last - layout.first > kMaxDigitPositions
                     ? 0
                     : formatted_text(d, layout, static_cast<char>(decimal_char), text);
    if (length == 0 || length > kMaxPStringLength) {
        length = int(sizeof kTooWide - 1);
        std::memcpy(text, kTooWide, sizeof kTooWide - 1);
    }
    dest[0] = static_cast<unsigned char>(length);
    std::memcpy(dest + 1, text, size_t(length));
}

double final_Round(const double* value) {
    double whole;
    double fraction = std::fabs(std::modf(*value, &whole));
    bool away = fraction >= 0.5 ||
                (fraction > 0.49 && std::round(fraction * 1e14) / 1e14 >= 0.5);
    return away ? whole + std::copysign(1.0, *value) : whole;
}

void fixed_to_string(int32_t fixed, unsigned char* dest) {
    int64_t magnitude = fixed < 0 ? -int64_t(fixed) : int64_t(fixed);
    Num_To_String(static_cast<int32_t>(magnitude >> 16), dest);
    if (fixed < 0) FrontConcat(reinterpret_cast<const unsigned char*>("\1-"), dest);
    AppendChar(dest, '.');
    uint32_t fraction = static_cast<uint32_t>(magnitude & 0xFFFF);
    if (fraction == 0) AppendChar(dest, '0');
    for (int digits = 0; digits < 3 && fraction != 0; ++digits) {
        fraction *= 10;
        AppendChar(dest, static_cast<unsigned char>('0' + (fraction >> 16)));
        fraction &= 0xFFFF;
    }
}
