// Numbers with no typed text written as text fields: the plain-notation
// shortcut gives the general formatter's text for every number it takes, and
// the writer quotes and separates such fields as any other.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/memory_use.h"
#include "formula/error_values.h"
#include "model/cell_formats.h"
#include "tests/files/text_fixture.h"

namespace {

// The writer's text of a number: the shortcut, else the formatter.
std::string general_text(double value, unsigned char decimal_char = '.') {
    char text[kPlainTextRoom];
    const int length = plain_general_text(value, decimal_char, text);
    return length ? std::string(text, size_t(length)) : general_value_text(value, decimal_char);
}

double from_bits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Numbers on both sides of the shortcut's edges: 10^14, 10^-14, whole
// numbers, exact halves in the 15th digit, 14 nines rounding up, the powers of
// ten and two where the first digit's place changes, and the neighbours of each.
std::vector<double> edge_values() {
    std::vector<double> values = {0.0, -0.0, 0.1 + 0.2, 1e14, 1e14 - 1, 1e14 - 0.5, 99999999999999.5,
                                  1e15 - 1, 1e15 + 1, 9.99999999999999e22, 1e-14, 9.99999999999995e-15,
                                  1e-15, 5e-324, 2.2250738585072014e-308, 4.76837158203125e-07,
                                  0.000030517578125, 1234567.890123455, 0.999999999999995, 9007199254740993.0,
                                  std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity(),
                                  N_AN(7)};
    for (int exponent = -15; exponent <= 14; ++exponent) values.push_back(std::pow(10.0, exponent));
    for (int exponent = -48; exponent <= 47; ++exponent) values.push_back(std::ldexp(1.0, exponent));
    for (double base : std::vector<double>(values))
        values.insert(values.end(), {std::nextafter(base, 0.0), std::nextafter(base, HUGE_VAL), -base});
    return values;
}

TEST(NumberFields, TheShortcutWritesWhatTheFormatterWrites) {
    std::vector<double> values = edge_values();
    uint64_t state = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 200000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        values.push_back(from_bits(state));                                        // any exponent
        values.push_back(std::ldexp(double(state >> 11), int(state % 100) - 100));  // mostly plain ones
        values.push_back(double(int64_t(state >> 17)) / std::pow(10.0, double(state % 9)));  // few decimals
    }
    int taken = 0;
    for (double value : values)
        for (unsigned char decimal_char : {'.', ','}) {
            char text[kPlainTextRoom];
            const int length = plain_general_text(value, decimal_char, text);
            if (!length) continue;
            ++taken;
            ASSERT_EQ(std::string(text, size_t(length)), general_value_text(value, decimal_char)) << value;
        }
    EXPECT_GT(taken, 600000);
}

TEST(NumberFields, TextsAtTheEdges) {
    EXPECT_EQ(general_text(0.1 + 0.2), "0.3");
    EXPECT_EQ(general_text(-0.0), "0");
    EXPECT_EQ(general_text(1e14 - 1), "99999999999999");
    EXPECT_EQ(general_text(99999999999999.5), "1E+14");
    EXPECT_EQ(general_text(1e15 + 1), "1E+15");
    EXPECT_EQ(general_text(9.99999999999999e22), "1E+23");
    EXPECT_EQ(general_text(1e-14), "0.00000000000001");
    EXPECT_EQ(general_text(9.99999999999995e-15), "9.9999999999999E-15");
    EXPECT_EQ(general_text(1e-15), "1E-15");
    EXPECT_EQ(general_text(5e-324), "4.9406564584125E-324");
    EXPECT_EQ(general_text(-2.0 / 3, ','), "-0,66666666666667");
    EXPECT_EQ(general_text(1234567.890123455), "1234567.8901235");
    EXPECT_EQ(general_text(100.000000000001), "100");
    // Whole numbers keep their inner and trailing zeros and lose only leading ones.
    EXPECT_EQ(general_text(7), "7");
    EXPECT_EQ(general_text(10), "10");
    EXPECT_EQ(general_text(-40), "-40");
    EXPECT_EQ(general_text(99999999), "99999999");
    EXPECT_EQ(general_text(100000000), "100000000");
    EXPECT_EQ(general_text(100000001), "100000001");
    EXPECT_EQ(general_text(12345678901234), "12345678901234");
    // An exact half in the 15th digit rounds to even, as the formatter rounds.
    EXPECT_EQ(general_text(4.76837158203125e-07), "0.00000047683715820312");
    EXPECT_EQ(general_text(0.000030517578125), "0.000030517578125");
}

class NumberFieldsWritten : public TextTest {
protected:
    // Numbers with no typed text in row 0 and formula results in row 1.
    void store_numbers(const std::vector<double>& numbers) {
        std::vector<sample::Bytes> constants, results;
        for (size_t i = 0; i < numbers.size(); ++i) {
            constants.push_back(sample::constant_cell(int16_t(i), numbers[i], ""));
            results.push_back(sample::formula_number_cell(int16_t(i), sample::formula({0}), numbers[i]));
        }
        sample::Bytes store;
        sample::append_row(store, 0, constants);
        sample::append_row(store, 1, results);
        sample::install_cells(layer, store);
    }

    // The text a cell shows in the entry line.
    std::string entry_text(CellPoint where) {
        uint8_t format[kCellFormatSize];
        MemoryRef text = Get_CellText(where, format, nullptr, layer);
        std::string bytes(MemoryUse<const char>(text).get(), size_t(GetByteSize(text)));
        DisposeMemory(text);
        return bytes;
    }
};

TEST_F(NumberFieldsWritten, NumbersAreFieldsOfTheirGeneralText) {
    store_numbers({1, -2.5, 0.1 + 0.2, 1e15 + 1, 2.0 / 3});
    EXPECT_EQ(layer_text(layer, FieldSource::values, kCommaSeparator),
              "1,-2.5,0.3,1E+15,0.66666666666667\r\n1,-2.5,0.3,1E+15,0.66666666666667\r\n");
    EXPECT_EQ(layer_text(layer, FieldSource::formulas, kTabSeparator).substr(0, 35),
              "1\t-2.5\t0.3\t1E+15\t0.66666666666667\r\n");
}

// A decimal comma in a comma-separated file keeps the number one field.
TEST_F(NumberFieldsWritten, ADecimalCharacterThatSeparatesIsQuoted) {
    const unsigned char saved = decimalPt;
    decimalPt = ',';
    store_numbers({1.5, 2, -0.25});
    const std::string csv = layer_text(layer, FieldSource::values, kCommaSeparator);
    const std::string tabs = layer_text(layer, FieldSource::values, kTabSeparator);
    decimalPt = saved;
    EXPECT_EQ(csv, "\"1,5\",2,\"-0,25\"\r\n\"1,5\",2,\"-0,25\"\r\n");
    EXPECT_EQ(tabs, "1,5\t2\t-0,25\r\n1,5\t2\t-0,25\r\n");
}

// A number stored without typed text shows for editing as the writer writes
// it, with the system's decimal character; an error value read from SYLK
// shows its name.
TEST_F(NumberFieldsWritten, NumbersWithoutTypedTextShowTheirGeneralTextForEditing) {
    const unsigned char saved = decimalPt;
    decimalPt = ',';
    store_numbers({2.0 / 3, -0.25, N_AN(kErrDivZero)});
    const std::vector<std::string> shown = {entry_text(CellPoint{0, 0}), entry_text(CellPoint{0, 1}),
                                            entry_text(CellPoint{0, 2})};
    decimalPt = saved;
    EXPECT_EQ(shown, (std::vector<std::string>{"0,66666666666667", "-0,25", "#DIV/0!"}));
    ASSERT_EQ(read_sylk_bytes("ID;PTEST\r\nC;Y1;X1;K#N/A\r\nE\r\n", layer), 0);
    EXPECT_EQ(entry_text(CellPoint{0, 0}), "#N/A");
}

}  // namespace
