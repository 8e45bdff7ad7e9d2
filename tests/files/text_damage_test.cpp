// Damaged text and SYLK files: every truncation of a real file and random
// byte changes read into a sound cell store, never a crash.
#include <random>

#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "tests/files/text_fixture.h"

namespace {

class TextDamageTest : public TextTest {
protected:
    // A layer with cells of every kind, formats, names and a long text.
    void fill_real_layer() {
        type_entries(layer, {{{0, 0}, "12.5"}, {{0, 1}, "caf\x8E; \"quoted\""}, {{0, 2}, "=A1*2+SUM($A$1:A1)"},
                             {{0, 3}, "=\"a;b\"&B1"}, {{1, 0}, "1/2/2024"}, {{1, 4}, "=IF(A1>3,1/0,\"x\")"},
                             {{2, 1}, "two\nlines"}, {{3, 0}, "=R1C1"}, {{3, 2}, "3 1/4"}});
        uint8_t* cell = nullptr;
        int16_t length = 0;
        get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer);
        cell[kFmtCode] = 37, cell[kFmtFace] = 3;
        store_u16(cell + kFmtBorderStyles, 0x2222);
        InputColumnFormat(layer, 1 << 16 | 2);
        SetColumnSize(1, 2, 120, GetSpreadSheetColumnFormats(layer));
        recalculate(layer);
    }

    // Reads the bytes into a fresh layer: success, and a sound store.
    void read_damaged(const std::string& bytes, bool sylk) {
        MemoryRef into = fresh_layer();
        int16_t result = sylk ? read_sylk_bytes(bytes, into) : read_text_bytes(bytes, kCommaSeparator, into, nullptr);
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(store_is_sound(into));
        sylk_layer_text(into);
        layer_text(into, FieldSource::displayed, kCommaSeparator);
        DisposeWorkSheet(GetWorkSheet(into));
    }

    void every_truncation(const std::string& real, bool sylk) {
        for (size_t length = 0; length <= real.size(); ++length) {
            read_damaged(real.substr(0, length), sylk);
            if (HasFailure()) return (void)(ADD_FAILURE() << "at length " << length);
        }
    }

    void random_changes(const std::string& real, bool sylk, unsigned seed) {
        std::mt19937 random(seed);
        for (int round = 0; round < 600; ++round) {
            std::string damaged = real;
            for (int n = 1 + int(random() % 8); n > 0; --n) {
                const char pick[] = {';', '"', '\x1B', '\r', '\n', ',', 'R', 'C', '[', ']', '=', '\0', char(0xFF)};
                damaged[random() % damaged.size()] = random() % 2 ? pick[random() % sizeof pick] : char(random());
            }
            read_damaged(damaged, sylk);
            if (HasFailure()) return (void)(ADD_FAILURE() << "in round " << round);
        }
    }
};

TEST_F(TextDamageTest, CsvTruncatedOrChangedReadsSoundly) {
    fill_real_layer();
    const std::string real = layer_text(layer, FieldSource::formulas, kCommaSeparator);
    every_truncation(real, false);
    random_changes(real, false, 4180);
}

TEST_F(TextDamageTest, SylkTruncatedOrChangedReadsSoundly) {
    fill_real_layer();
    std::string real = sylk_layer_text(layer);
    // Records as other programs write them: a format after its cell, a
    // formula that does not convert.
    real.insert(real.rfind("E\r\n"), "C;Y40;X1;K5\r\nF;P0;FF2G;Y40;X1\r\nC;Y41;X1;K9;E'Sh\x1BNHuet'!R1C1\r\n");
    // The picture lines are the same in every file: only the rest is cut.
    const size_t pictures_end = real.find("P;F");
    for (size_t length = pictures_end; length <= real.size(); ++length) {
        read_damaged(real.substr(0, length), true);
        if (HasFailure()) return (void)(ADD_FAILURE() << "at length " << length);
    }
    random_changes(real.substr(0, 3) + real.substr(pictures_end), true, 1987);
}

TEST_F(TextDamageTest, HostileRecordsAreRefusedOneByOne) {
    const std::string hostile[] = {
        "C;Y0;X0;K1",       "C;Y32001;X1;K1",  "C;Y1;X-5;K1",        "C;Y99999999999;X1;K1",
        "F;W0 32001 9",     "F;W1 32000 9999", "F;M-20;R3",          "F;M20;R-3",
        "F;SM999;Y1;X1",    "F;P-1;Y1;X1",     "F;FG",               "NN;N;ER1C1",
        "NN;NA;ER0C0:R5C5", "NN;NB;ERxC1",     "C;Y1;X1;E'unclosed", "C;Y1;X1;E[unclosed",
        "C;Y1;X1;K\"",      "C;Y1;X1;ER[99999]C[-99999]", "P;F",  "\x1B",
        "C;Y1;X1;K\x1BN",   "C;Y1;X1;K\x1B!"};
    for (const std::string& record : hostile) {
        MemoryRef into = read_sylk("ID;P\r\n" + record + "\r\nC;Y2;X2;K7\r\nE\r\n");
        EXPECT_TRUE(store_is_sound(into)) << record;
        EXPECT_EQ(cell(into, 1, 1).number, 7) << record;
    }
}

}  // namespace
