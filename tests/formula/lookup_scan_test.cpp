// The lookup searches over tables of every kind of cell: numbers, texts,
// errors, blanks, format-only cells and formulas with number, text, error
// or no results, in unsorted order, down columns and along rows, and on
// another layer; then random tables against a model of the searches.
#include <random>

#include "formula/error_values.h"
#include "formula/lookup_columns.h"
#include "library_fixture.h"

namespace {

// One cell of a searched vector as the test puts it.
struct Entry {
    enum Kind {
        kBlank,
        kNumber,
        kText,
        kError,
        kFormatOnly,
        kFormulaNumber,
        kFormulaText,
        kFormulaError,
        kUncalculated
    };
    Kind kind = kBlank;
    double number = 0;
    std::string text;
};

class LookupScan : public LibraryTest {
protected:
    void put_formula_text(int16_t row, int16_t column, const std::string& text, MemoryRef on) {
        put_cell(row, column, kCellFormula, Bytes().s("=I").i16(0).v, std::vector<uint8_t>(text.begin(), text.end()),
                 kResultText, on);
    }

    void put_formula(int16_t row, int16_t column, double result, int16_t result_type, MemoryRef on) {
        std::vector<uint8_t> slot(kNumberSlotSize, 0);
        store_f64(slot.data(), result);
        put_cell(row, column, kCellFormula, Bytes().s("=I").i16(0).v, slot, result_type, on);
    }

    void put_entry(CellPoint at, const Entry& entry, MemoryRef on = nullptr) {
        switch (entry.kind) {
        case Entry::kBlank: break;
        case Entry::kNumber: put_number(at.v, at.h, entry.number, on); break;
        case Entry::kText: put_text(at.v, at.h, entry.text, on); break;
        case Entry::kError: put_number(at.v, at.h, N_AN(kErrNA), on); break;
        case Entry::kFormatOnly: put_cell(at.v, at.h, kCellFormatOnly, {}, {}, 0, on); break;
        case Entry::kFormulaNumber: put_formula(at.v, at.h, entry.number, kResultNumber, on); break;
        case Entry::kFormulaText: put_formula_text(at.v, at.h, entry.text, on); break;
        case Entry::kFormulaError: put_formula(at.v, at.h, N_AN(kDiv0), kResultNumber, on); break;
        case Entry::kUncalculated: put_formula(at.v, at.h, 0, kResultNone, on); break;
        }
    }

    // The entries down column A from row 1 (or along row 1 from column A when
    // `along_row`), each with its position times 10 + 10 beside it (in column
    // B, or row 2).
    void put_table(const std::vector<Entry>& entries, bool along_row, MemoryRef on = nullptr) {
        for (size_t i = 0; i < entries.size(); ++i) {
            auto at = int16_t(i);
            put_entry(along_row ? CellPoint{0, at} : CellPoint{at, 0}, entries[i], on);
            if (along_row)
                put_number(1, at, 10.0 * double(i) + 10, on);
            else
                put_number(at, 1, 10.0 * double(i) + 10, on);
        }
    }

    // Runs `check` with the layer's store read from its start, then with the
    // rows found through the row index, as a recalculation holds it, and
    // with that and the number columns copied, as in a calculation step.
    template <typename Check>
    void in_each_way_of_reading(Check check, MemoryRef on = nullptr) {
        MemoryRef target = on ? on : layer;
        clobberCache(target);
        {
            SCOPED_TRACE("store read from its start");
            check();
        }
        CalcRowPtr(target);
        {
            SCOPED_TRACE("rows found through the index");
            check();
        }
        {
            SCOPED_TRACE("number columns copied");
            const NumberColumnsKept copied;
            check();
        }
        ReleaseCache(target);
    }
};

Entry number_cell(double value) { return {Entry::kNumber, value, {}}; }
Entry text_cell(const std::string& value) { return {Entry::kText, 0, value}; }
Entry formula_number(double value) { return {Entry::kFormulaNumber, value, {}}; }
Entry formula_text(const std::string& value) { return {Entry::kFormulaText, 0, value}; }
Entry other(Entry::Kind kind) { return {kind, 0, {}}; }

// Unsorted, with an equal number twice (a formula's result first).
const std::vector<Entry> kMixed = {
    number_cell(5),               // 10
    text_cell("pear"),            // 20
    other(Entry::kError),         // 30
    other(Entry::kBlank),         // 40
    other(Entry::kFormatOnly),    // 50
    formula_number(3),            // 60
    formula_text("apple"),        // 70
    number_cell(9),               // 80
    other(Entry::kUncalculated),  // 90
    number_cell(3),               // 100
    text_cell("banana"),          // 110
    number_cell(7),               // 120
    other(Entry::kFormulaError),  // 130
};

TEST_F(LookupScan, VerticalSearchesOfAMixedTable) {
    put_table(kMixed, false);
    in_each_way_of_reading([&] {
        check_numbers({
            {"=VLOOKUP(3,A1:B13,2)", {60}},           // the first equal cell is a formula's result
            {"=VLOOKUP(4,A1:B13,2)", {60}},           // the largest smaller: the earliest of the two 3s
            {"=VLOOKUP(8,A1:B13,2)", {120}},
            {"=VLOOKUP(100,A1:B13,2)", {80}},
            {"=VLOOKUP(9,A1:B13,2,0)", {80}},
            {"=VLOOKUP(8,A1:B13,2,0)", {0, kNA}},
            {"=VLOOKUP(1,A1:B13,2)", {0, kNA}},
            {"=VLOOKUP(0,A1:B13,2)", {0, kNA}},       // neither blanks nor uncalculated formulas are zeros
            {"=VLOOKUP(\"apple\",A1:B13,2,0)", {70}}, // a formula's text result
            {"=VLOOKUP(\"banana\",A1:B13,2)", {110}},
            {"=VLOOKUP(\"cherry\",A1:B13,2)", {110}},
            {"=VLOOKUP(\"zebra\",A1:B13,2)", {20}},
            {"=VLOOKUP(\"aardvark\",A1:B13,2)", {0, kNA}},
            {"=VLOOKUP(\"5\",A1:B13,2)", {0, kNA}},   // a text never meets a number
            {"=VLOOKUP(NA(),A1:B13,2)", {0, kNA}},
            {"=VLOOKUP(7,A3:B13,2)", {120}},          // a range starting inside the table
            {"=VLOOKUP(5,A2:B13,2)", {60}},
        });
    });
}

TEST_F(LookupScan, HorizontalSearchAlongARow) {
    put_table(kMixed, true);
    in_each_way_of_reading([&] {
        check_numbers({
            {"=HLOOKUP(3,A1:M2,2)", {60}},
            {"=HLOOKUP(4,A1:M2,2)", {60}},
            {"=HLOOKUP(8,A1:M2,2)", {120}},
            {"=HLOOKUP(8,A1:M2,2,0)", {0, kNA}},
            {"=HLOOKUP(\"cherry\",A1:M2,2)", {110}},
            {"=HLOOKUP(\"apple\",A1:M2,2,0)", {70}},
            {"=HLOOKUP(5,A1:L2,2)", {10}},
            {"=VLOOKUP(3,A1:M2,1)", {0, kNA}},        // the vertical search reads column A only
        });
    });
}

TEST_F(LookupScan, TableOnAnotherLayer) {
    MemoryRef second = add_layer(workbook);
    put_table(kMixed, false, second);
    put_number(6, 0, 8);  // the formula's own layer holds another table
    put_number(6, 1, -1);
    in_each_way_of_reading([&] {
        check_numbers({
            {"=VLOOKUP(8,2:A1:B13,2)", {120}},
            {"=VLOOKUP(\"cherry\",2:A1:B13,2)", {110}},
            {"=VLOOKUP(8,A1:B13,2)", {-1}},
        });
    }, second);
}

TEST_F(LookupScan, VectorSearchStopsAtTheFirstEqualOrLarger) {
    put_table({text_cell("a"), number_cell(2), other(Entry::kBlank), formula_number(4), other(Entry::kError),
               number_cell(6), formula_text("m"), number_cell(8), number_cell(1)},
              false);
    in_each_way_of_reading([&] {
        check_numbers({
            {"=LOOKUP(5,A1:A9,B1:B9)", {40}},
            {"=LOOKUP(6,A1:A9,B1:B9)", {60}},
            {"=LOOKUP(99,A1:A9,B1:B9)", {90}},    // the last number is smaller than the one before
            {"=LOOKUP(1,A1:A9,B1:B9)", {0, kRef}},
            {"=LOOKUP(1,A2:A9,B2:B9)", {0, kNA}},  // larger at the very first cell
            {"=LOOKUP(\"b\",A1:A9,B1:B9)", {10}},
            {"=LOOKUP(\"z\",A1:A9,B1:B9)", {70}},
            {"=LOOKUP(4,A1:B9)", {40}},            // the last column of the range
        });
    });
}

// ---- Random tables against a model of the searches -------------------------------------

constexpr int kNoMatch = -1;

// A cell's order against the lookup value, or 2 when it cannot be compared.
int model_order(const Entry& entry, bool text_lookup, double number, const std::string& text) {
    if (text_lookup) {
        if (entry.kind != Entry::kText && entry.kind != Entry::kFormulaText) return 2;
        return entry.text < text ? -1 : entry.text > text ? 1 : 0;
    }
    if (entry.kind != Entry::kNumber && entry.kind != Entry::kFormulaNumber) return 2;
    return entry.number < number ? -1 : entry.number > number ? 1 : 0;
}

bool model_larger(const Entry& a, const Entry& b, bool text_lookup) {
    return text_lookup ? a.text > b.text : a.number > b.number;
}

// The vertical search: the first equal, else the earliest largest smaller.
int model_vertical(const std::vector<Entry>& entries, bool text_lookup, double number, const std::string& text,
                   bool* exact) {
    int best = kNoMatch;
    *exact = false;
    for (int i = 0; i < int(entries.size()); ++i) {
        int order = model_order(entries[size_t(i)], text_lookup, number, text);
        if (order == 0) {
            *exact = true;
            return i;
        }
        if (order == -1 && (best == kNoMatch || model_larger(entries[size_t(i)], entries[size_t(best)], text_lookup)))
            best = i;
    }
    return best;
}

Entry random_entry(std::mt19937& random) {
    static const char* const kWords[] = {"ant", "bee", "cat", "cow", "dog", "eel", "fox", "gnu"};
    auto kind = Entry::Kind(std::uniform_int_distribution<int>(0, 8)(random));
    Entry entry{kind, double(std::uniform_int_distribution<int>(0, 20)(random)), kWords[random() % 8]};
    return entry;
}

std::string quote(const std::string& text) { return "\"" + text + "\""; }

TEST_F(LookupScan, RandomTablesMatchTheModel) {
    std::mt19937 random(18);
    std::vector<Entry> entries;
    for (int i = 0; i < 60; ++i) entries.push_back(random_entry(random));
    put_table(entries, false);
    std::vector<Entry> probes;
    for (int i = 0; i < 120; ++i) probes.push_back(random_entry(random));
    in_each_way_of_reading([&] {
        for (size_t trial = 0; trial < probes.size(); ++trial) {
            const Entry& probe = probes[trial];
            bool text_lookup = trial % 2 == 1;
            bool exact_only = trial % 3 == 0;
            bool exact = false;
            int found = model_vertical(entries, text_lookup, probe.number, probe.text, &exact);
            std::string formula = "=VLOOKUP(" + (text_lookup ? quote(probe.text) : std::to_string(int(probe.number))) +
                                  ",A1:B60,2" + (exact_only ? ",0)" : ")");
            SCOPED_TRACE(formula);
            Value v = eval(formula);
            if (found == kNoMatch || (exact_only && !exact))
                EXPECT_EQ(v.error(), kNA);
            else
                EXPECT_EQ(v.number, 10.0 * found + 10);
        }
    });
}

}  // namespace
