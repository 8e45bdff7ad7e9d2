#include "formula/formula_text.h"
#include "formula_fixture.h"
#include "model/layer.h"

namespace {

class FormulaText : public FormulaTest {
protected:
    std::string shown(const std::vector<uint8_t>& bytes, CellPoint cell) {
        int32_t packed = int32_t(uint16_t(cell.v)) | (int32_t(cell.h) << 16);
        MemoryRef text = Interpret(packed, bytes.data(), bytes.data() + bytes.size(), layer, nullptr);
        auto out = bytes_of(text);
        DisposeMemory(text);
        return std::string(out.begin(), out.end());
    }

    // Parse, write back as text, parse again: the same bytes and the same text.
    void round_trip(const std::string& formula, CellPoint cell) {
        Parsed first = parse(formula, cell);
        ASSERT_EQ(first.result, 0) << formula << " at " << first.error_offset;
        std::string text = shown(first.bytes, cell);
        Parsed second = parse(text, cell);
        ASSERT_EQ(second.result, 0) << formula << " -> " << text << " at " << second.error_offset;
        EXPECT_EQ(second.bytes, first.bytes) << formula << " -> " << text;
        EXPECT_EQ(shown(second.bytes, cell), text);
    }
};

TEST_F(FormulaText, ReferencesResolveAgainstTheHoldingCell) {
    auto stored = parse("=A1", {1, 1}).bytes;
    EXPECT_EQ(shown(stored, {1, 1}), "=A1");
    EXPECT_EQ(shown(stored, {2, 2}), "=B2");
    EXPECT_EQ(shown(stored, {0, 0}), "=#REF!");
    EXPECT_EQ(shown(parse("=$A1:B$2", {5, 5}).bytes, {5, 5}), "=$A1:B$2");
    EXPECT_EQ(shown(parse("=$B$2:C3", {0, 0}).bytes, {0, 0}), "=$B$2:C3");
    EXPECT_EQ(shown(parse("=SUM(A:C,2:5)", {0, 0}).bytes, {0, 0}), "=SUM(A:C,2:5)");
}

TEST_F(FormulaText, NumbersNamesAndSeparatorsFollowTheSettings) {
    auto stored = parse("=ROUND(1.5,5)+I9").bytes;
    EXPECT_EQ(shown(stored, {0, 0}), "=ROUND(1.5,5)+I9");
    use_system_settings(',', '.', ';', '.', 1);
    EXPECT_EQ(shown(stored, {0, 0}), "=ROUND(1,5;5)+I9");
    EXPECT_EQ(shown(parse("=\"a.b,c\"").bytes, {0, 0}), "=\"a.b,c\"");
}

TEST_F(FormulaText, LayersAndDeletedLayers) {
    add_layer(workbook);
    EXPECT_EQ(shown(parse("=2:A1+$1:2:B2").bytes, {0, 0}), "=2:A1+$1:2:B2");
    auto stored = parse("=2:A1").bytes;
    store_i16(stored.data() + 4, int16_t(65534));
    store_i16(stored.data() + 6, int16_t(65534));
    EXPECT_EQ(shown(stored, {0, 0}), "=#REF!:A1");
}

// The texts standing in for a reference off the sheet and for an unknown
// linked document are the calculation string list's.
TEST_F(FormulaText, OffSheetAndUnknownLinkTextsComeFromTheStringList) {
    const std::string off_sheet = pf::get_indexed_string(kFormulaTextStrList, kOffSheetItem);
    const std::string unknown_link = pf::get_indexed_string(kFormulaTextStrList, kUnknownLinkItem);
    EXPECT_EQ(off_sheet, "#REF!");
    EXPECT_EQ(unknown_link, "#LINK!");
    auto reference = parse("=$A$1").bytes;
    std::vector<uint8_t> linked = Bytes().s("=!").i16(7).v;
    linked.insert(linked.end(), reference.begin() + 1, reference.end());
    EXPECT_EQ(shown(linked, {0, 0}), "='" + unknown_link + "'!$A$1");
    EXPECT_EQ(shown(parse("=A1", {1, 1}).bytes, {0, 0}), "=" + off_sheet);
}

TEST_F(FormulaText, ParseTextParseRoundTripsACorpus) {
    define_name("Total", {{0, 0}, {3, 0}});
    add_layer(workbook);
    const char* corpus[] = {
        "=1+2*3",
        "=-2^2",
        "=-(A1)^2",
        "=(1+2)*3/4-5",
        "=2^3^2",
        "=50%+(1+1)%",
        "=1.5E-3+0.25+.5",
        "=31999+32000+123456789",
        "=A1*2+SUM($B$1:B3)",
        "=$A$1+A$1+$A1+A1",
        "=SUM(A1:B3,C5,$D$7:$E$9)",
        "=SUM(A:C)+SUM(2:5)+SUM($A:$B)",
        "=2:A1+1:2:B2:C3+$1:$2:A1",
        "=SUM(1:2:A:A)",
        "=TOTAL*2+SUM(TOTAL)",
        "=2:TOTAL",
        "=\"text, with (parens) and 'quotes'\"&\"\"",
        "=A1=B1&C1",
        "=A1<>B1",
        "=A1<=B1",
        "=A1>=B1",
        "=IF(A1>0,\"pos\",\"neg\")",
        "=IF(A1,B1)",
        "=PI+RAND+NOW+TODAY+TRUE+FALSE",
        "=ROW()+COLUMN()+ROW(B7)+COLUMNS(A1:C1)",
        "=VLOOKUP(A1,$B$1:$C$100,2)",
        "=HLOOKUP(1,B1:Z2,2,1)",
        "=INDEX(A1:C3,2,2)",
        "=LOOKUP(5,A1:A9,B1:B9)",
        "=SUM(1,,2)",
        "=ROUND(SUM(A1:A9)/COUNT(A1:A9),2)",
        "=DATE(99,12,31)-DATE(2000,1,1)",
        "=DATEADD(A1,1,2,3,4,5,6)",
        "=CONVERT(1,\"mi\",\"km\")",
        "=MID(\"abc\",2)&LEFT(\"abc\",1)",
        "=2*-3",
        "=2^-1+2^+1",
        "=+A1",
        "=AUHT32000",
        "=",
    };
    CellPoint cells[] = {{0, 0}, {5, 7}, {31999, 31999}};
    for (CellPoint cell : cells)
        for (const char* formula : corpus) {
            // References that would leave the sheet from this cell are skipped.
            if (cell.v == 31999 && std::string(formula).find("A1") != std::string::npos) continue;
            round_trip(formula, cell);
        }
}

}  // namespace
