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
    const std::string off_sheet = pf::get_indexed_string(kCalcStrings, kOffSheetItem);
    const std::string unknown_link = pf::get_indexed_string(kCalcStrings, kUnknownLinkItem);
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

// A one-cell range stays a range (the lookup functions need one), and rows
// or columns that only look whole keep their own marks.
TEST_F(FormulaText, RangesThatLookLikeOtherFormsStayRanges) {
    EXPECT_EQ(shown(parse("=LOOKUP(4,A1:A1)").bytes, {0, 0}), "=LOOKUP(4,A1:A1)");
    EXPECT_EQ(shown(parse("=$B$2:B2", {3, 3}).bytes, {3, 3}), "=$B$2:B2");
    EXPECT_EQ(shown(parse("=SUM(A1:B32000)", {0, 0}).bytes, {0, 0}), "=SUM(A1:B32000)");
    EXPECT_EQ(shown(parse("=SUM(A1:AUHT1)", {0, 0}).bytes, {0, 0}), "=SUM(A1:AUHT1)");
    add_layer(workbook);
    EXPECT_EQ(shown(parse("=$1:1:A1").bytes, {0, 0}), "=$1:1:A1");
    for (const char* formula : {"=INDEX(A1:A1,1,1)", "=VLOOKUP(1,B2:B2,1)", "=VAR(C3:C3)", "=MAX(1:1:D4:D4)"})
        round_trip(formula, {0, 0});
}

// Every reference form the parser writes, with every pair of marks, reads
// back from its text to the same stored bytes.
TEST_F(FormulaText, EveryStoredReferenceFormReadsBackFromItsText) {
    add_layer(workbook);
    const uint8_t marks[] = {kMarkBothAbsolute, kMarkFirstAbsolute, kMarkSecondAbsolute, kMarkBothRelative};
    const CellPoint at{5, 7};
    auto stored = [](int16_t value, bool absolute, int16_t origin) {
        return absolute ? value : int16_t(value - origin);
    };
    auto body = [&](Bytes& b, uint8_t first, uint8_t second, CellRange r, bool range) {
        if (range) b.b(kBodyRange).b(first).b(second);
        else b.b(first);
        b.i16(stored(r.topLeft.v, marker_first_absolute(first), at.v));
        b.i16(stored(r.topLeft.h, marker_second_absolute(first), at.h));
        if (!range) return;
        b.i16(stored(r.botRight.v, marker_first_absolute(second), at.v));
        b.i16(stored(r.botRight.h, marker_second_absolute(second), at.h));
    };
    const CellRange ranges[] = {
        {{2, 3}, {2, 3}}, {{1, 1}, {4, 6}}, {{0, 2}, {kLastCell, 3}},
        {{4, 0}, {6, kLastCell}}, {{0, 0}, {kLastCell, kLastCell}},
    };
    auto check = [&](const std::vector<uint8_t>& bytes) {
        std::string text = shown(bytes, at);
        Parsed again = parse(text, at);
        ASSERT_EQ(again.result, 0) << text;
        EXPECT_EQ(again.bytes, bytes) << text;
    };
    for (uint8_t first : marks) {
        check(Bytes().s("=@").b(first).i16(stored(2, marker_first_absolute(first), at.v))
                  .i16(stored(3, marker_second_absolute(first), at.h)).v);
        for (uint8_t second : marks)
            for (const CellRange& r : ranges) {
                Bytes b;
                body(b.s("=").b(kTokFunction).b(10).s("(@"), first, second, r, true);
                check(b.s(")").v);
            }
        for (int16_t last_layer : {0, 1}) {
            Bytes b;
            b.s("=@").b(kBodyLayers).b(first);
            b.i16(0).i16(stored(last_layer, marker_first_absolute(first), 0));
            body(b, kMarkBothRelative, kMarkFirstAbsolute, ranges[1], true);
            check(b.v);
        }
    }
}

}  // namespace
