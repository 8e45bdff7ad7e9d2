#include "core/number_text.h"
#include "platform/system/international.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string text_of(const unsigned char* s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

void set_text(unsigned char* s, const std::string& text) {
    s[0] = static_cast<unsigned char>(text.size());
    std::memcpy(s + 1, text.data(), text.size());
}

// The way cells show a number in the general format.
std::string general(double value) {
    unsigned char out[256];
    ExtendedtoStr(out, &value, -1, true, true, '.');
    return text_of(out);
}

std::string formatted(double value, int16_t decimals, bool positional, bool trim) {
    unsigned char out[256];
    ExtendedtoStr(out, &value, decimals, positional, trim, '.');
    return text_of(out);
}

TEST(NumberText, GeneralFormatUsesFourteenDigits) {
    EXPECT_EQ(general(0.1), "0.1");
    EXPECT_EQ(general(1e-15), "1E-15");
    EXPECT_EQ(general(1e-14), "0.00000000000001");
    EXPECT_EQ(general(1e14), "1E+14");
    EXPECT_EQ(general(1e13), "10000000000000");
    EXPECT_EQ(general(-0.0), "0");
    EXPECT_EQ(general(0.0), "0");
    EXPECT_EQ(general(123456789012345678.0), "1.2345678901235E+17");
    EXPECT_EQ(general(1234.5), "1234.5");
    EXPECT_EQ(general(0.00001), "0.00001");
    EXPECT_EQ(general(-2.75), "-2.75");
    EXPECT_EQ(general(0.1 + 0.2), "0.3");
    EXPECT_EQ(general(1.0 / 3), "0.33333333333333");
    EXPECT_EQ(general(2.0 / 3), "0.66666666666667");
    EXPECT_EQ(general(99999999999999.5), "1E+14");  // rounds up into the next exponent
    EXPECT_EQ(general(1.5e-300), "1.5E-300");
    EXPECT_EQ(general(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(general(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(general(N_AN(7)).substr(0, 3), "NAN");
    EXPECT_EQ(general(N_AN(7)).size(), 5u);
}

// "%.*E" of the C library, the correctly rounded digits in the notation the
// formatter writes without trimming.
std::string library_scientific(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*E", decimals, value);
    return text;
}

// Values whose digits are easy to get wrong: halves at every place, powers of
// ten and their neighbours, the smallest normal and below, and bit patterns
// spread over the whole range.
std::vector<double> hard_values() {
    std::vector<double> values{0.5, 2.5, 0.125, 1.005, 2.675, 1e23, 9.5e-5, 0.3, 1.0 / 3, 5e-324, 1e-310,
                               std::numeric_limits<double>::min(), std::numeric_limits<double>::max()};
    for (int e = -30; e <= 30; ++e) {
        const double power = std::pow(10.0, e);
        values.insert(values.end(), {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300)});
    }
    uint64_t bits = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 20000; ++i) {
        bits = bits * 6364136223846793005ull + 1442695040888963407ull;
        double value;
        const uint64_t finite = bits & ~(uint64_t(1) << 62);  // exponent below the one of infinities
        std::memcpy(&value, &finite, sizeof value);
        values.push_back(value);
        values.push_back(double(bits >> 40) / 1000.0);  // the kind of numbers sheets hold
    }
    return values;
}

TEST(NumberText, DigitsAreCorrectlyRoundedAtEveryCount) {
    for (double value : hard_values())
        for (int decimals : {0, 1, 2, 6, 13, 14, 15, 16, 20})
            ASSERT_EQ(formatted(value, int16_t(decimals), false, false), library_scientific(value, decimals))
                << value << " to " << decimals << " decimals";
}

// Numbers of the plain range at every exponent, with 14, 15 and more digits,
// midpoints of the 14th digit and their neighbours among them.
std::vector<double> plain_values() {
    std::vector<double> values = hard_values();
    uint64_t state = 0x2545F4914F6CDD1Dull;
    for (int e = -15; e <= 14; ++e) {
        const double power = std::pow(10.0, e);
        for (int i = 0; i < 2000; ++i) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            const double mantissa = 1 + double(state >> 11) / double(1ull << 53) * 9;
            const double midpoint = (double(state >> 17 & 0x3FFFFFFFFFFF) * 10 + 5) * 1e-14 * power;
            for (double value : {mantissa * power, std::round(mantissa * 1e6) / 1e6 * power, midpoint,
                                 std::nextafter(midpoint, 0.0), std::nextafter(midpoint, 1e300)})
                values.insert(values.end(), {value, -value});
        }
    }
    values.insert(values.end(), {-0.0, 99999999999999.5, 99999999999999.4, 9.99999999999995e-15,
                                 0.999999999999995, 1.00000000000005, 12345678901234.5});
    return values;
}

TEST(NumberText, PlainGeneralTextMatchesTheFormatter) {
    int plain = 0;
    for (double value : plain_values())
        for (unsigned char decimal_char : {'.', ','}) {
            char text[kPlainTextRoom];
            const int length = plain_general_text(value, decimal_char, text);
            if (!length) continue;
            ++plain;
            unsigned char expected[256];
            ExtendedtoStr(expected, &value, -1, true, true, decimal_char);
            ASSERT_EQ(std::string(text, size_t(length)), text_of(expected)) << value;
        }
    EXPECT_GT(plain, 500000);  // the fast path takes most of them
}

TEST(NumberText, FixedDecimalsAndScientific) {
    EXPECT_EQ(formatted(1.5, 2, true, false), "1.50");
    EXPECT_EQ(formatted(0.05, 2, true, false), "0.05");
    EXPECT_EQ(formatted(0, 2, true, false), "0.00");
    EXPECT_EQ(formatted(-0.001, 2, true, false), "0.00");
    EXPECT_EQ(formatted(1234.5, 0, true, false), "1235");
    EXPECT_EQ(formatted(1500, 2, false, false), "1.50E+03");
    EXPECT_EQ(formatted(0.000123, 1, false, false), "1.2E-04");
    EXPECT_EQ(formatted(1500, -1, false, true), "1.5E+03");
    EXPECT_EQ(formatted(1e20, 2, true, false), "1E+20");
    EXPECT_EQ(formatted(2.5, 3, true, true), "2.5");
}

// Fractions just short of a half within 14 places round up, as they show.
TEST(NumberText, RoundingBand) {
    double v = 2.4999999999999996;
    EXPECT_EQ(final_Round(&v), 3);
    v = -2.5;
    EXPECT_EQ(final_Round(&v), -3);
    v = 0.5;
    EXPECT_EQ(final_Round(&v), 1);
    v = -0.5;
    EXPECT_EQ(final_Round(&v), -1);
    v = 0.49;
    EXPECT_EQ(final_Round(&v), 0);
    v = 0.4999999;
    EXPECT_EQ(final_Round(&v), 0);
    EXPECT_EQ(formatted(2.4999999999999996, 0, true, false), "3");
    EXPECT_EQ(formatted(0.125, 2, true, false), "0.13");
    EXPECT_EQ(formatted(-0.125, 2, true, false), "-0.13");
    EXPECT_EQ(formatted(0.1249, 2, true, false), "0.12");
}

TEST(NumberText, NeverMoreThan255Characters) {
    EXPECT_EQ(formatted(1, 250, true, false), "1." + std::string(250, '0'));
    EXPECT_EQ(formatted(1, 300, true, false), ">>>>>>");
    EXPECT_EQ(formatted(-123456, 250, true, false), ">>>>>>");
    EXPECT_EQ(formatted(1, 300, false, false), ">>>>>>");
    EXPECT_EQ(formatted(1e300, 32767, true, false), "1E+300");  // beyond 13: exponent form
    EXPECT_LE(formatted(-1e-5, 252, true, false).size(), 255u);
}

TEST(NumberText, TextToNumber) {
    unsigned char text[257];
    double value = 0;
    set_text(text, "1.5");
    EXPECT_EQ(StrToExtended(text, &value), 1);
    EXPECT_EQ(value, 1.5);
    set_text(text, "1.5x");
    EXPECT_EQ(StrToExtended(text, &value), 0);
    set_text(text, "");
    EXPECT_EQ(StrToExtended(text, &value), 0);
    set_text(text, "1e999");
    EXPECT_EQ(StrToExtended(text, &value), 0);
    set_text(text, "1e-310");  // a subnormal is a number
    EXPECT_EQ(StrToExtended(text, &value), 1);
    EXPECT_EQ(value, 1e-310);
    // A full 255-byte text: nothing is written behind it.
    text[256] = 0x5A;
    set_text(text, "1" + std::string(254, '0'));
    EXPECT_EQ(StrToExtended(text, &value), 1);
    EXPECT_EQ(value, 1e254);
    EXPECT_EQ(text[256], 0x5A);
}

TEST(NumberText, ErrorValueCodes) {
    double v = std::numeric_limits<double>::infinity();
    EXPECT_EQ(checkValue(&v), 4);
    v = std::nan("");
    EXPECT_EQ(checkValue(&v), 4);
    volatile double zero = 0;
    v = zero / zero;
    EXPECT_EQ(checkValue(&v), 4);
    v = N_AN(23);
    EXPECT_TRUE(std::isnan(v));
    EXPECT_EQ(checkValue(&v), 23);
    v = 0.0;
    EXPECT_EQ(checkValue(&v), 0);
    v = 1.0;
    EXPECT_EQ(checkValue(&v), 0);
}

TEST(NumberText, ExtendedEightyBits) {
    const unsigned char one[10] = {0x3F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0};
    const unsigned char minus_three[10] = {0xC0, 0x00, 0xC0, 0, 0, 0, 0, 0, 0, 0};
    const unsigned char zero[10] = {};
    const unsigned char infinity[10] = {0x7F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(dbl_2_x80(one), 1.0);
    EXPECT_EQ(dbl_2_x80(minus_three), -3.0);
    EXPECT_EQ(dbl_2_x80(zero), 0.0);
    EXPECT_TRUE(std::isinf(dbl_2_x80(infinity)));
}

TEST(ColumnLetters, BothWays) {
    const std::pair<int16_t, const char*> cases[] = {
        {0, "A"},      {25, "Z"},      {26, "AA"},     {701, "ZZ"},
        {702, "AAA"},  {18277, "ZZZ"}, {18278, "AAAA"}, {31999, "AUHT"},
    };
    unsigned char text[256];
    for (auto [column, name] : cases) {
        NumberToColumn(text, column);
        EXPECT_EQ(text_of(text), name);
        EXPECT_EQ(ColumnToNumber(text), column) << name;
    }
    NumberToColumn(text, -1);
    EXPECT_EQ(text[0], 0);
    set_text(text, "auht");
    EXPECT_EQ(ColumnToNumber(text), 31999);
    for (const char* bad : {"", "ABCDE", "BAAA"}) {
        set_text(text, bad);
        EXPECT_EQ(ColumnToNumber(text), -1) << bad;
    }
    set_text(text, "AUHU");
    EXPECT_EQ(ColumnToNumber(text), 32000);  // past the last column: callers refuse it
}

TEST(NumberText, FixedPoint) {
    unsigned char text[256];
    fixed_to_string(0x00018000, text);
    EXPECT_EQ(text_of(text), "1.5");
    fixed_to_string(-0x00018000, text);
    EXPECT_EQ(text_of(text), "-1.5");
    fixed_to_string(0x00020000, text);
    EXPECT_EQ(text_of(text), "2.0");
    fixed_to_string(0x5555, text);
    EXPECT_EQ(text_of(text), "0.333");  // cut, not rounded
    fixed_to_string(INT32_MIN, text);
    EXPECT_EQ(text_of(text), "-32768.0");
}

int16_t points_of(const std::string& typed, int16_t unit, std::string* echo = nullptr) {
    unsigned char text[256], shown[256];
    set_text(text, typed);
    int16_t points = margin_text_to_points(text, shown, unit);
    if (echo) *echo = text_of(shown);
    return points;
}

TEST(LengthUnits, TypedLengthsBecomePoints) {
    pf::set_international_settings(pf::us_international_settings());
    EXPECT_EQ(points_of("1 in", kUnitPoints), 72);
    EXPECT_EQ(points_of("2.54cm", kUnitPoints), 72);
    EXPECT_EQ(points_of("6 pi", kUnitPoints), 72);
    EXPECT_EQ(points_of("72.9 pt", kUnitInches), 72);
    EXPECT_EQ(points_of("1.5", kUnitInches), 108);
    EXPECT_EQ(points_of("-1 IN", kUnitPoints), -72);
    EXPECT_EQ(points_of("", kUnitInches), 0);
    EXPECT_EQ(points_of("0.25 p", kUnitPoints), 3);
    std::string echo;
    EXPECT_EQ(points_of("2 inches", kUnitCentimetres, &echo), 57);  // unknown word: default unit
    EXPECT_EQ(echo, "2 cm");
    EXPECT_EQ(points_of("1.5 i", kUnitPoints, &echo), 108);
    EXPECT_EQ(echo, "1.5 in");
}

TEST(LengthUnits, TextThatIsNotANumberGivesNothing) {
    std::string echo = "x";
    EXPECT_EQ(points_of("1a2 in", kUnitPoints, &echo), 0);
    EXPECT_EQ(echo, "");
    EXPECT_EQ(points_of("1-2", kUnitPoints, &echo), 0);
    EXPECT_EQ(echo, "");
    EXPECT_EQ(points_of("1.2.3", kUnitPoints), 0);
    EXPECT_EQ(points_of("9999999 in", kUnitPoints), INT16_MAX);  // 7 characters at most, held in range
    EXPECT_EQ(points_of("-9999999", kUnitPicas), -INT16_MAX);
}

TEST(LengthUnits, PointsShownInAUnit) {
    pf::set_international_settings(pf::us_international_settings());
    unsigned char text[256];
    convert_margin_num(72, text, kUnitInches);
    EXPECT_EQ(text_of(text), "1.00 in");
    convert_margin_num(72, text, kUnitPoints);
    EXPECT_EQ(text_of(text), "72 pt");
    convert_margin_num(72, text, kUnitCentimetres);
    EXPECT_EQ(text_of(text), "2.53 cm");
    convert_margin_num(720, text, kUnitPicas);
    EXPECT_EQ(text_of(text), "60.00 pi");
    pf::IntlSettings comma = pf::us_international_settings();
    comma.decimal_point = ',';
    pf::set_international_settings(comma);
    convert_margin_num(36, text, kUnitInches);
    EXPECT_EQ(text_of(text), "0,50 in");
    EXPECT_EQ(points_of("0,5 in", kUnitPoints), 36);
    EXPECT_EQ(points_of("0.5 in", kUnitPoints), 36);  // the full stop is always read
    pf::set_international_settings(pf::us_international_settings());
    convert_margin_num(72, text, -1);
    EXPECT_EQ(text[0], 0);
    set_text(text, "12345");
    concat_unit_str(text, kUnitInches);
    EXPECT_EQ(text_of(text), "12345");
    set_text(text, "12 in");
    strip_unit_chars(text);
    EXPECT_EQ(text_of(text), "12");
}

TEST(MacRomanCase, AccentedPairs) {
    EXPECT_EQ(extended_tolower(239), 153);
    EXPECT_EQ(extended_toupper(153), 239);
    EXPECT_EQ(extended_toupper('q'), 'Q');
    EXPECT_EQ(extended_toupper(167), 167);  // sharp s has no capital
    EXPECT_TRUE(is_ext_upper(128));
    EXPECT_FALSE(is_ext_upper(138));
    EXPECT_FALSE(is_ext_upper('1'));
    for (int c = 0; c < 256; ++c)
        if (is_ext_upper(static_cast<unsigned char>(c)))
            EXPECT_EQ(extended_toupper(extended_tolower(static_cast<unsigned char>(c))), c);
}

TEST(SmallRandom, SeededSequence) {
    init_rand();
    EXPECT_NEAR(random_small(), 11687 * 3.0899e-5, 1e-12);
    EXPECT_NEAR(random_small(), 19634 * 3.0899e-5, 1e-12);
    EXPECT_NEAR(random_small(), 30032 * 3.0899e-5, 1e-12);
    for (int i = 0; i < 100000; ++i) {
        double r = random_small();
        ASSERT_GT(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

}  // namespace
