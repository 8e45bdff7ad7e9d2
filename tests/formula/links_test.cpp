#include "formula/formula_text.h"
#include "formula_fixture.h"
#include "model/links.h"

namespace {

class Links : public FormulaTest {
protected:
    MemoryRef prices = nullptr;
    MemoryRef prices_layer = nullptr;

    void SetUp() override {
        FormulaTest::SetUp();
        prices = make_workbook("Prices", 2);
        ASSERT_NE(prices, nullptr);
        prices_layer = add_layer(prices);
        put_number(0, 0, 42, prices_layer);
    }
};

TEST_F(Links, AReferenceIntoAnOpenDocumentReadsItsLayer) {
    Parsed parsed = parse("='Prices'!1:A1*2", {3, 3});
    ASSERT_EQ(parsed.result, 0) << parsed.error_offset;
    ASSERT_GE(parsed.bytes.size(), 4u);
    EXPECT_EQ(parsed.bytes[1], '!');
    EXPECT_EQ(parsed.bytes[4], '@');
    EXPECT_EQ(calculate(parsed.bytes, {3, 3}).number, 84);
    EXPECT_EQ(g_AccessError, 0);

    int32_t packed = 3 | (3 << 16);
    MemoryRef text = Interpret(packed, parsed.bytes.data(), parsed.bytes.data() + parsed.bytes.size(), layer, nullptr);
    auto shown = bytes_of(text);
    DisposeMemory(text);
    EXPECT_EQ(std::string(shown.begin(), shown.end()), "='Prices'!1:A1*2");

    // The same document linked again keeps its one link.
    EXPECT_EQ(parse("='Prices'!1:B2", {3, 3}).bytes[2], parsed.bytes[2]);
}

TEST_F(Links, ALinkedReferenceWithoutALayerReadsTheDocumentsFirstLayer) {
    // The formula sits on a second layer so that "its own layer" would differ.
    MemoryRef second = add_layer(workbook);
    ASSERT_NE(second, nullptr);
    put_number(0, 0, 7, second);
    MemoryRef prices_second = add_layer(prices);
    put_number(0, 0, 99, prices_second);

    Parsed bare = parse("='Prices'!A1+1", {2, 2}, second);
    ASSERT_EQ(bare.result, 0) << bare.error_offset;
    Parsed layered = parse("='Prices'!1:A1+1", {2, 2}, second);
    EXPECT_EQ(bare.bytes, layered.bytes);
    g_calcSheet = second;
    g_calcWork = workbook;
    g_calcCell = {2, 2};
    Calculate(bare.bytes.data(), int32_t(bare.bytes.size()));
    EXPECT_EQ(g_value, 43);

    EXPECT_EQ(parse("='Prices'!$B$2:C3", {0, 0}).result, 0);
}

TEST_F(Links, ALinkedReferenceMustBeAReferenceIntoAnOpenDocument) {
    EXPECT_EQ(parse_error("='Nowhere'!1:A1"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("='Nowhere'!A1"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("='Prices'1:A1"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("='Prices'!SUM"), kParseUnknownSymbol);
}

TEST_F(Links, AnEmptyDocumentNameIsRefusedEvenWithAnUntitledDocumentOpen) {
    MemoryRef untitled = make_workbook("", 2);
    ASSERT_NE(untitled, nullptr);
    add_layer(untitled);
    EXPECT_EQ(parse_error("=''!1:B8"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=''!3:B8"), kParseUnknownSymbol);
}

TEST_F(Links, AClosedDocumentKeepsTheStoredResult) {
    Parsed parsed = parse("='Prices'!1:A1", {0, 0});
    ASSERT_EQ(parsed.result, 0);
    DisposeWorkSheet(prices);
    calculate(parsed.bytes);
    EXPECT_EQ(g_AccessError, 1);
}

}  // namespace
