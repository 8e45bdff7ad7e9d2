// Worksheet functions evaluated from typed formula text, checked in tables.
#pragma once

#include <string>

#include "formula_fixture.h"
#include "function_test_support.h"

class LibraryTest : public FormulaTest {
protected:
    struct NumberCase {
        const char* formula;
        Expected want;
    };
    struct TextCase {
        const char* formula;
        std::string want;
    };

    void check_numbers(std::initializer_list<NumberCase> cases, double tolerance = 1e-9) {
        for (const NumberCase& c : cases) {
            SCOPED_TRACE(c.formula);
            Value v = eval(c.formula);
            EXPECT_LT(v.type, 0);
            expect_result(v.number, c.want, tolerance);
        }
    }

    void check_texts(std::initializer_list<TextCase> cases) {
        for (const TextCase& c : cases) {
            SCOPED_TRACE(c.formula);
            Value v = eval(c.formula);
            EXPECT_GT(v.type, 0);
            EXPECT_EQ(v.text, c.want);
        }
    }

    // Numbers down a column from row `top` (0-based).
    void put_column(int16_t column, std::initializer_list<double> values, int16_t top = 0) {
        int16_t row = top;
        for (double value : values) put_number(row++, column, value);
    }
};
