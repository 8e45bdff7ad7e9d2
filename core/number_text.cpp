// Error values, text -> number, and the number formatter.
#include "core/number_text.h"

#include <algorithm>
#include <array>
#include <bit>
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

constexpr uint64_t bits_of(double value) { return std::bit_cast<uint64_t>(value); }

constexpr double double_of(uint64_t bits) { return std::bit_cast<double>(bits); }

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

constexpr uint64_t kFirstFourteenDigit = 10'000'000'000'000;  // 10^13
constexpr uint64_t kPastFourteenDigits = 10 * kFirstFourteenDigit;
constexpr int kMostScaleDigits = 27;  // 5^27 is the largest power of five below 2^64

constexpr std::array<uint64_t, kMostScaleDigits + 1> kPowersOfFive = [] {
    std::array<uint64_t, kMostScaleDigits + 1> powers{};
    powers[0] = 1;
    for (size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 5;
    return powers;
}();

// A positive normal double as mantissa x 2^exponent, the mantissa a whole number.
struct BinaryParts {
    uint64_t mantissa;
    int exponent;
};

BinaryParts binary_parts_of(uint64_t magnitude_bits) {
    return {(magnitude_bits & ((1ull << 52) - 1)) | (1ull << 52), int(magnitude_bits >> 52) - 1075};
}

// The binary exponents of the magnitudes in [1e-14, 1e14), as powers of two
// with a mantissa in [1, 2).
constexpr int kLowestBinaryExponent = -47;
constexpr int kHighestBinaryExponent = 46;

// For the magnitudes of one binary exponent, the decimal exponent of the
// smallest of them and the mantissa from which on it is one more.
struct DecimalExponentStep {
    uint64_t next_from;
    int exponent;
};

using DecimalExponentSteps = std::array<DecimalExponentStep, kHighestBinaryExponent - kLowestBinaryExponent + 1>;

constexpr DecimalExponentSteps kDecimalExponentSteps = [] {
    using Wide = unsigned __int128;
    const auto power_of_ten = [](int n) {
        Wide power = 1;
        while (n-- > 0) power *= 10;
        return power;
    };
    DecimalExponentSteps steps{};
    for (int binary = kLowestBinaryExponent; binary <= kHighestBinaryExponent; ++binary) {
        // 10^decimal <= 2^binary < 10^(decimal + 1)
        int decimal = 0;
        if (binary >= 0)
            while (power_of_ten(decimal + 1) <= Wide(1) << binary) ++decimal;
        else
            while (power_of_ten(-decimal) < Wide(1) << -binary) --decimal;
        // The least m with m x 2^(binary - 52) >= 10^(decimal + 1).
        const int shift = 52 - binary;
        const Wide divisor = power_of_ten(-(decimal + 1));
        const Wide next_from =
            decimal + 1 >= 0 ? power_of_ten(decimal + 1) << shift : ((Wide(1) << shift) + divisor - 1) / divisor;
        steps[size_t(binary - kLowestBinaryExponent)] = {uint64_t(next_from), decimal};
    }
    return steps;
}();

// The 14 significant digits of a magnitude in [1e-14, 1e14), correctly
// rounded from its exact binary value as digits_of rounds them: a whole number
// in [10^13, 10^14) and the decimal exponent of its first digit. False for an
// exact half in the 15th digit and for the magnitudes just below 10^-14; the
// full formatter takes those.
bool fourteen_digits_of(const BinaryParts& parts, uint64_t& digits, int& exponent) {
    using Wide = unsigned __int128;
    const DecimalExponentStep& step = kDecimalExponentSteps[size_t(parts.exponent + 52 - kLowestBinaryExponent)];
    exponent = step.exponent + (parts.mantissa >= step.next_from ? 1 : 0);
    if (exponent < kLowestPlainExponent) return false;
    const int scale = kDisplayDigits - 1 - exponent;
    // The magnitude x 10^scale is product / 2^shift, in [10^13, 10^14); the
    // product's low zero bits are the mantissa's, so it ends in an exact half
    // when those reach the half's bit.
    const Wide product = Wide(parts.mantissa) * kPowersOfFive[size_t(scale)];
    const int shift = -(parts.exponent + scale);
    if (std::countr_zero(parts.mantissa) == shift - 1) return false;
    digits = (uint64_t(product >> (shift - 1)) + 1) >> 1;
    if (digits == kPastFourteenDigits) {
        digits = kFirstFourteenDigit;
        ++exponent;
    }
    return true;
}

// Eight decimal digits of a number below 10^8, one to a byte, the first in
// the lowest byte: the divisions by 10^4, 100 and 10 are done on all parts at
// once, by multiplications with reciprocals exact in these ranges.
[[gnu::always_inline]] inline uint64_t eight_digit_bytes(uint32_t number) {
    const uint64_t ten_thousands = uint64_t(number / 10000) | (uint64_t(number % 10000) << 32);
    const uint64_t hundreds_high = ((ten_thousands * 10486) >> 20) & 0x0000007F0000007Full;
    const uint64_t hundreds = (ten_thousands - 100 * hundreds_high) << 16 | hundreds_high;
    const uint64_t tens_high = ((hundreds * 103) >> 10) & 0x000F000F000F000Full;
    return (hundreds - 10 * tens_high) << 8 | tens_high;
}

constexpr uint64_t kAsciiZeros = 0x3030303030303030ull;
constexpr uint64_t kLowEightDigits = 100'000'000;

// Trailing zero digits of eight_digit_bytes that are not all zeros.
int trailing_zero_digits(uint64_t digit_bytes) { return std::countl_zero(digit_bytes) / 8; }

// Text in an integer, the first byte the lowest, stored in its order.
template <typename Bytes>
void put_text_bytes(Bytes bytes, char* out) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &bytes, sizeof bytes);
    } else {
        for (size_t i = 0; i < sizeof bytes; ++i) out[i] = char(bytes >> (8 * i));
    }
}

// The digits of a number below 10^8 without its leading zeros (a zero keeps
// one); writes 8 bytes at `out` and answers the end.
char* short_whole_text(uint32_t number, char* out) {
    const uint64_t digits = eight_digit_bytes(number);
    const int leading_zeros = std::countr_zero(digits | (1ull << 56)) / 8;  // up to the last digit
    put_text_bytes((digits + kAsciiZeros) >> (8 * leading_zeros), out);
    return out + 8 - leading_zeros;
}

// The digits of a whole number below 10^16; writes 16 bytes at `out`.
char* whole_text(uint64_t number, char* out) {
    if (number < kLowEightDigits) return short_whole_text(uint32_t(number), out);
    out = short_whole_text(uint32_t(number / kLowEightDigits), out);
    put_text_bytes(eight_digit_bytes(uint32_t(number % kLowEightDigits)) + kAsciiZeros, out);
    return out + 8;
}

using TextBytes = unsigned __int128;

// 14 digits as text in the low bytes of `text`, and their count without trailing zeros.
struct FourteenDigits {
    TextBytes text;
    int count;
};

// The text of a number in [10^13, 10^14).
FourteenDigits fourteen_digit_text(uint64_t digits) {
    constexpr int kHighDigits = kDisplayDigits - 8;
    constexpr uint64_t kHighDigitsMask = (1ull << (8 * kHighDigits)) - 1;
    // The six high digits as eight with two zeros after them.
    const uint64_t high = eight_digit_bytes(uint32_t(digits / kLowEightDigits * 100));
    const uint32_t low_digits = uint32_t(digits % kLowEightDigits);  // often none, as in prices
    const uint64_t low = low_digits != 0 ? eight_digit_bytes(low_digits) : 0;
    const int count = low != 0 ? kDisplayDigits - trailing_zero_digits(low) : 8 - trailing_zero_digits(high);
    return {TextBytes((high + kAsciiZeros) & kHighDigitsMask) | TextBytes(low + kAsciiZeros) << (8 * kHighDigits),
            count};
}

constexpr char kZeroRun[sizeof(TextBytes) + 1] = "0000000000000000";

// The digits laid out in plain notation, the first at decimal `exponent`
// (-14..13); answers the end. Writes up to 32 bytes at `out`.
char* plain_layout(const FourteenDigits& digits, int exponent, char decimal_char, char* out) {
    if (exponent < 0) {
        const int zeros = -exponent - 1;
        *out++ = '0';
        *out++ = decimal_char;
        std::memcpy(out, kZeroRun, sizeof(TextBytes));
        put_text_bytes(digits.text, out + zeros);
        return out + zeros + digits.count;
    }
    const int whole = exponent + 1;
    if (digits.count <= whole) {  // the zeros of whole numbers among the digits
        put_text_bytes(digits.text, out);
        return out + whole;
    }
    put_text_bytes(digits.text, out);
    put_text_bytes(digits.text >> (8 * whole), out + whole + 1);  // the fraction's digits moved on
    out[whole] = decimal_char;
    return out + digits.count + 1;
}

}  // namespace

// The number's 14 digits correctly rounded, laid out as lay_out_positional
// does when the first of them sits within the plain exponents; whole numbers
// below 10^14 are their integer digits so.
int plain_general_text(double value, unsigned char decimal_char, char* out) {
    constexpr uint64_t kSignBit = 1ull << 63;
    const uint64_t bits = bits_of(value);
    const uint64_t magnitude_bits = bits & ~kSignBit;  // ordered as the magnitudes are
    if (magnitude_bits >= bits_of(1e14)) return 0;     // NaNs too
    if (magnitude_bits == 0) {
        out[0] = '0';
        return 1;
    }
    if (magnitude_bits < bits_of(1e-14)) return 0;
    out[0] = '-';
    char* p = out + (bits >> 63);
    const BinaryParts parts = binary_parts_of(magnitude_bits);
    const int fraction_bits = -parts.exponent;              // at least 6 below 1e14
    if (std::countr_zero(parts.mantissa) >= fraction_bits)  // a whole number
        return int(whole_text(parts.mantissa >> fraction_bits, p) - out);
    uint64_t rounded = 0;
    int exponent = 0;
    if (!fourteen_digits_of(parts, rounded, exponent)) return 0;
    if (exponent > kHighestPlainExponent) return 0;
    return int(plain_layout(fourteen_digit_text(rounded), exponent, static_cast<char>(decimal_char), p) - out);
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

void error_text(int16_t code, unsigned char* text) {
    const char* literal;
    switch (code) {
    case kErrDivZero:
    case kErrDivZeroAlt: literal = "#DIV/0!"; break;
    case kErrTextValue: literal = "#TVALUE!"; break;
    case kErrValue: literal = "#VALUE!"; break;
    case kErrRef: literal = "#REF!"; break;
    case kErrBlank: literal = ""; break;
    case kErrNA: literal = "#N/A"; break;
    default: literal = "#NUM!"; break;
    }
    text[0] = uint8_t(std::strlen(literal));
    std::memcpy(text + 1, literal, text[0]);
}

void CellErrStr(unsigned char* text, const double* value, int16_t digits, int16_t a, int16_t b,
                unsigned char decimal_char) {
    text[0] = 0;
    int16_t code = checkValue(value);
    if (code != 0) {
        error_text(code, text);
        return;
    }
    ExtendedtoStr(text, value, digits, b != 0, a != 0, decimal_char);
}

std::string general_value_text(double value, unsigned char decimal_char) {
    unsigned char text[256];
    CellErrStr(text, &value, -1, 1, 1, decimal_char);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}
