#include <random>

#include "formula/formula_text.h"
#include "formula_fixture.h"

namespace {

using DamagedFormulas = FormulaTest;

// Parsing a long typed entry straight from its text block, as the entry code
// does for 256 bytes and more.
int16_t parse_block(const std::string& text, MemoryRef layer, std::vector<uint8_t>* bytes) {
    MemoryRef source = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
    InitParser({0, 0}, source, layer);
    unsigned char empty[256] = {0};
    MemoryRef formula = nullptr;
    int16_t kind = 1;
    int16_t result = ParseText(empty, &formula, &kind, kFormatGeneral, &mem_globals);
    UnuseMemory(source);
    DisposeMemory(source);
    *bytes = bytes_of(formula);
    DisposeNonNilMemory(formula);
    return result;
}

TEST_F(DamagedFormulas, DeepNestingIsRefusedBeforeTheStackRunsOut) {
    std::vector<uint8_t> bytes;
    std::string deep = "=" + std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_EQ(parse_block(deep, layer, &bytes), kParseUnknownSymbol);
    std::string nested = "=" + std::string(500, '(') + "1" + std::string(500, ')');
    EXPECT_EQ(parse_block(nested, layer, &bytes), 0);
    EXPECT_EQ(calculate(bytes).number, 1);
    std::string chain = "=\"a\"";
    for (int i = 0; i < 2000; ++i) chain += "&\"\"";
    EXPECT_EQ(parse_block(chain, layer, &bytes), kParseUnknownSymbol);

    // A stored formula nested deeper than any parse: an error value, no crash.
    std::vector<uint8_t> stored(1, '=');
    stored.insert(stored.end(), 100000, '(');
    stored.insert(stored.end(), {'I', 1, 0});
    EXPECT_EQ(calculate(stored).error(), kErrValue);
}

TEST_F(DamagedFormulas, RandomBytesNeitherCrashNorReadPastTheEnd) {
    std::mt19937 random(20261207);
    const uint8_t alphabet[] = {'=', '@', 0xA7, '!', '"', 'I', 0xC4, 'r', 'R', '&', '#', 0xA8, 0xA9, 0xBA,
                                '(', ')', ',', '+', '-', '*', '/', '^', '%', '<', '>', '1', '.', 'E', ' ', 0, 0xFF};
    for (int round = 0; round < 3000; ++round) {
        size_t length = random() % 40;
        auto* bytes = new uint8_t[length + 1];
        for (size_t i = 0; i < length; ++i) bytes[i] = alphabet[random() % sizeof alphabet];
        g_calcSheet = layer;
        g_calcWork = workbook;
        g_calcCell = {int16_t(random() % 5), int16_t(random() % 5)};
        Calculate(bytes, int32_t(length));
        MemoryRef text = Interpret(0, bytes, bytes + length, layer, nullptr);
        ASSERT_NE(text, nullptr);
        DisposeMemory(text);
        delete[] bytes;
    }
}

TEST_F(DamagedFormulas, RandomTypedTextEitherParsesToAFormulaThatRoundTripsOrIsRefused) {
    std::mt19937 random(7);
    const char* pieces[] = {"A1", "$B$2", "1:2", "C:D", "SUM(", "PI", "IF(", ")", "(", ",", "+", "-", "*", "/",
                            "^", "&", "=", "<>", "%", "1", "2.5", "\"x\"", " ", "ROWS(", "1E3", ":"};
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = "=";
        int count = 1 + random() % 8;
        for (int i = 0; i < count; ++i) text += pieces[random() % (sizeof pieces / sizeof *pieces)];
        Parsed first = parse(text, {3, 3});
        if (first.result != 0) {
            EXPECT_GE(first.error_offset, 0) << text;
            EXPECT_LE(first.error_offset, int32_t(text.size())) << text;
            continue;
        }
        ++parsed;
        calculate(first.bytes, {3, 3});
        MemoryRef shown = Interpret(3 | (3 << 16), first.bytes.data(), first.bytes.data() + first.bytes.size(), layer,
                                    nullptr);
        auto shown_bytes = bytes_of(shown);
        DisposeMemory(shown);
        std::string again(shown_bytes.begin(), shown_bytes.end());
        Parsed second = parse(again, {3, 3});
        EXPECT_EQ(second.result, 0) << text << " -> " << again;
        EXPECT_EQ(second.bytes, first.bytes) << text << " -> " << again;
    }
    EXPECT_GT(parsed, 100);
}

}  // namespace
