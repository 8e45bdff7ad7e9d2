#include "formula_fixture.h"
#include "formula/function_table.h"
#include "formula/typed_entry.h"

namespace {

using Parser = FormulaTest;

constexpr uint8_t kFn = 0xC4;

TEST_F(Parser, TokensAreStoredWithoutSpaces) {
    EXPECT_EQ(parse("= 1 + 2").bytes, Bytes().s("=I").i16(1).s("+I").i16(2).v);
    EXPECT_EQ(parse("=31999").bytes, Bytes().s("=I").i16(31999).v);
    EXPECT_EQ(parse("=32000").bytes, Bytes().s("=32000").v);
    EXPECT_EQ(parse("=1.0").bytes, Bytes().s("=1.0").v);
    EXPECT_EQ(parse("=2e3").bytes, Bytes().s("=2e3").v);
    EXPECT_EQ(parse("=\"a b\"&\"\"").bytes, Bytes().s("=\"a b\"&\"\"").v);
    EXPECT_EQ(parse("=1<>2").bytes, Bytes().s("=I").i16(1).s("<>I").i16(2).v);
    EXPECT_EQ(parse("=50%").bytes, Bytes().s("=I").i16(50).s("%").v);
}

TEST_F(Parser, TheWorkedExampleIsStoredByteForByte) {
    auto parsed = parse("=A1*2+SUM($B$1:B3)", {1, 1});
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.kind, kKindFormula);
    EXPECT_EQ(parsed.bytes, Bytes()
                                .s("=@").b(0xBA).i16(-1).i16(-1)
                                .s("*I").i16(2)
                                .s("+").b(kFn).b(10).s("(@r#").b(0xBA).i16(0).i16(1).i16(1).i16(0).s(")")
                                .v);
}

TEST_F(Parser, FunctionsWithoutArgumentsStoreNoParentheses) {
    auto bare = parse("=PI").bytes;
    EXPECT_EQ(bare, Bytes().s("=").b(kFn).b(11).v);
    EXPECT_EQ(parse("=pi()").bytes, bare);
    EXPECT_EQ(parse("=PI 5").result, kParseOperandFollows);
    EXPECT_EQ(parse("=PI(").result, kParseMissingClose);
    EXPECT_EQ(parse("=PI(1)").result, kParseMissingClose);
}

TEST_F(Parser, EuropeanSeparatorsAreStoredAsPointAndComma) {
    use_system_settings(',', '.', ';', '.', 1);
    EXPECT_EQ(parse("=1,5").bytes, Bytes().s("=1.5").v);
    EXPECT_EQ(parse("=ROUND(1,5;1)").bytes, Bytes().s("=").b(kFn).b(2).s("(1.5,I").i16(1).s(")").v);
    // The comma is the decimal character here, never a separator.
    EXPECT_EQ(parse("=ROUND(1,1)").bytes, Bytes().s("=").b(kFn).b(2).s("(1.1)").v);
}

TEST_F(Parser, AnEmptyFormulaAndOperatorEdges) {
    auto empty = parse("=");
    EXPECT_EQ(empty.result, 0);
    EXPECT_EQ(empty.kind, kKindFormula);
    EXPECT_EQ(empty.bytes, Bytes().s("=").v);
    EXPECT_EQ(parse_error("=1+"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=2*-3"), 0);
    EXPECT_EQ(parse_error("=2*+3"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=2^-1"), 0);
    EXPECT_EQ(parse_error("=A1 B1"), kParseOperandFollows);
    EXPECT_EQ(parse_error("=A1=B1&C1"), 0);
    EXPECT_EQ(parse_error("=A1&B1=C1"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=1=2=3"), kParseMissingSeparator);
    EXPECT_EQ(parse_error("=%"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=(1+2)%"), 0);
}

TEST_F(Parser, UnclosedOrStrayParenthesesAreRefused) {
    EXPECT_EQ(parse_error("=(1+2"), kParseMissingClose);
    EXPECT_EQ(parse_error("=SUM((1,2)"), kParseMissingClose);
    EXPECT_EQ(parse_error("=SUM(1,2"), kParseMissingClose);
    EXPECT_EQ(parse_error("=(1+2))"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=(1)2"), kParseOperandFollows);
}

// A formula cut off inside a parenthesis is refused for its missing closing
// parenthesis, though the parser stops at the end where an operand should be.
TEST_F(Parser, AnEntryEndingInsideAParenthesisLacksItsClosingOne) {
    const auto refusal = [&](const std::string& typed) {
        uint8_t header[kCellHeaderSize];
        GetDefaultFormat(header);
        return settle_typed_entry(typed, CellPoint{0, 0}, layer, header).error;
    };
    EXPECT_EQ(parse_error("=SUM("), kParseUnknownSymbol) << "the parser's own code";
    EXPECT_EQ(refusal("=SUM("), kParseMissingClose);
    EXPECT_EQ(refusal("=SUM(1, "), kParseMissingClose);
    EXPECT_EQ(refusal("=(1+"), kParseMissingClose);
    EXPECT_EQ(refusal("=1+"), kParseUnknownSymbol) << "no parenthesis open";
    EXPECT_EQ(refusal("=(1)+"), kParseUnknownSymbol) << "closed before the end";
    EXPECT_EQ(refusal("=\"(\"&"), kParseUnknownSymbol) << "a parenthesis inside a text constant";
    EXPECT_EQ(refusal("=SUM(Q)"), kParseUnknownSymbol) << "an unknown name before the end";
}

TEST_F(Parser, SloppyNumbersAndReferencesAreRefused) {
    EXPECT_EQ(parse_error("=A1B"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=1.2.3"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=2E"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=A0"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=NOSUCHNAME(1)"), kParseUnknownSymbol);
}

TEST_F(Parser, ArgumentCountsTheFunctionCannotTakeAreRefused) {
    EXPECT_EQ(parse_error("=SUM(1,,2)"), 0);         // an empty argument
    EXPECT_EQ(parse_error("=SUM()"), kParseUnknownSymbol);
    EXPECT_EQ(parse_error("=IF(1)"), kParseMissingClose);
    EXPECT_EQ(parse_error("=IF(1,2,3,4)"), kParseMissingClose);
    EXPECT_EQ(parse_error("=MOD(1)"), kParseMissingSeparator);
    EXPECT_EQ(parse_error("=ABS 5"), kParseMissingClose);
    // Counts the parser once let through and the evaluator then cut short.
    EXPECT_EQ(parse_error("=T(1,2)+100"), kParseMissingClose);
    EXPECT_EQ(parse_error("=REPLACE(\"ab\",1,1)"), kParseMissingSeparator);
    EXPECT_EQ(parse_error("=MID(\"ab\")"), kParseMissingSeparator);
    EXPECT_EQ(parse_error("=CELL(1,2,3,4)"), kParseMissingClose);
    EXPECT_EQ(parse_error("=DATEADD(1,2,3,4,5,6,7)"), 0);  // a date and six amounts
}

TEST_F(Parser, ReferenceArgumentsMustBeReferences) {
    EXPECT_EQ(parse_error("=ROW()"), 0);
    EXPECT_EQ(parse_error("=ROWS()"), kParseNotReference);
    EXPECT_EQ(parse_error("=ROWS(1)"), kParseNotReference);
    // A text in their place would be stored with a marker no reader knows.
    EXPECT_EQ(parse_error("=COLUMN(\"A1\")"), kParseNotReference);
    EXPECT_EQ(parse_error("=VLOOKUP(1,2,3)"), kParseNotReference);
    EXPECT_EQ(parse_error("=INDEX(\"A1:B2\",1,1)"), kParseNotReference);
    auto rows = parse("=ROWS(A1:B3)");
    ASSERT_EQ(rows.result, 0);
    EXPECT_EQ(rows.bytes[4], 0xA7);  // its reference is used for the position only
    auto lookup = parse("=VLOOKUP(1,A1:B3,2)");
    ASSERT_EQ(lookup.result, 0);
    EXPECT_EQ(std::count(lookup.bytes.begin(), lookup.bytes.end(), 0xA7), 0);
}

TEST_F(Parser, ErrorPositionsPointAtTheOffendingSymbol) {
    EXPECT_EQ(parse("=1+").error_offset, 3);
    EXPECT_EQ(parse("=A1 B1").error_offset, 4);
    EXPECT_EQ(parse("=1+#").error_offset, 3);
    EXPECT_EQ(parse("=A1&B1=C1").error_offset, 6);
    EXPECT_EQ(parse("=SUM(1,2").error_offset, 8);
    EXPECT_EQ(parse("=\"abc").result, kParseOpenText);
    EXPECT_EQ(parse("=\"abc").error_offset, 1);
    EXPECT_EQ(parse("='Budget!A1").result, kParseOpenDocName);
    EXPECT_EQ(parse("='Budget!A1").error_offset, 1);
}

// Slot 87 holds no function: no name can be typed for it.
TEST_F(Parser, TheEmptyFunctionSlotHasNoName) {
    EXPECT_EQ(function_name(87)[0], 0);
    EXPECT_NE(parse_error("=NONE(1)"), 0);
    EXPECT_NE(parse_error("=NONE"), 0);
    EXPECT_NE(parse_error("=()"), 0);
}

TEST_F(Parser, FunctionCallsSetTheKindOfTheEntry) {
    EXPECT_EQ(parse("=DATE(99,1,1)").kind, kKindDateFormula);
    EXPECT_EQ(parse("=TIMEVALUE(\"10:30\")").kind, kKindTimeFormula);
    EXPECT_EQ(parse("=NOW").kind, kKindDateFormula);
    // The call completed last decides; a function name first makes it "F".
    EXPECT_EQ(parse("=ABS(DATE(99,1,1))").kind, kKindDateFormula);
    EXPECT_EQ(parse("=DATE(99,1,1)+ABS(1)").kind, kKindFormula);
}

TEST_F(Parser, AFunctionNameWinsOverARangeName) {
    define_name("SUM", {{0, 0}, {0, 0}});
    define_name("Total", {{0, 0}, {1, 0}});
    EXPECT_EQ(parse("=SUM(total)").bytes, Bytes().s("=").b(kFn).b(10).s("(@&").b(5).s("Total)").v);
}

class Constants : public FormulaTest {
protected:
    bool number(const std::string& text, double* value, std::string* cleaned = nullptr) {
        unsigned char copy[256];
        pstr(copy, text);
        ParserCellType = kKindNumber;
        bool yes = validConstant(copy, 1) != 0;
        *value = g_value;
        if (cleaned) *cleaned = text_of(copy);
        return yes;
    }
};

TEST_F(Constants, FractionsCurrencyAndSeparators) {
    double v = 0;
    std::string cleaned;
    EXPECT_TRUE(number("12 1/2", &v));
    EXPECT_EQ(v, 12.5);
    EXPECT_EQ(ParserCellType, kKindFraction);
    EXPECT_TRUE(number("-1 1/2", &v));
    EXPECT_EQ(v, -1.5);
    EXPECT_TRUE(number("-1/2", &v));
    EXPECT_EQ(v, -0.5);
    EXPECT_FALSE(number("0/5", &v));
    EXPECT_FALSE(number("1/0", &v));
    EXPECT_TRUE(number("$1,234", &v, &cleaned));
    EXPECT_EQ(v, 1234);
    EXPECT_EQ(cleaned, "1234");
    EXPECT_FALSE(number("1,23", &v));
    EXPECT_TRUE(number("1e5", &v));
    EXPECT_EQ(v, 100000);
    EXPECT_FALSE(number("1 2", &v));
    EXPECT_FALSE(number(".", &v));
    EXPECT_FALSE(number("-", &v));
    EXPECT_FALSE(number("1e999", &v));
    EXPECT_TRUE(number("1E-310", &v));
}

TEST_F(Constants, EntriesBecomeNumbersDatesOrText) {
    auto entry = [&](const std::string& text) { return parse(text); };
    EXPECT_EQ(entry("12").kind, kKindNumber);
    EXPECT_EQ(entry("12").result, 0);
    EXPECT_EQ(entry("1/2/2000").kind, kKindDate);
    EXPECT_EQ(entry("1 1/2").kind, kKindFraction);
    EXPECT_EQ(entry("hello").result, 1);
    EXPECT_EQ(parse("=5").kind, kKindFormula);
}

TEST_F(Constants, ADateSeparatorOfAPointTestsNumbersFirst) {
    use_system_settings('.', ',', ',', '.', 1);
    EXPECT_EQ(parse("1.5").kind, kKindNumber);
    EXPECT_EQ(parse("1.5.2001").kind, kKindDate);
    EXPECT_EQ(parse("1/5").kind, kKindDate);
}

TEST_F(Constants, ANumberInADateCellIsMarked) {
    unsigned char text[256];
    pstr(text, "12");
    MemoryRef formula = nullptr;
    int16_t kind = 0;
    int32_t offset = 0;
    EXPECT_EQ(parse_formula_text(text, {0, 0}, layer, &formula, &kind, &offset, 'n'), 0);
    EXPECT_EQ(kind, kKindNumberInDateCell);
}

}  // namespace

namespace {

// Entries of 256 bytes or more reach ParseText with an empty copy of the text.
int16_t parse_long_entry(const std::string& text, MemoryRef layer, int16_t* kind) {
    MemoryRef source = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
    InitParser({0, 0}, source, layer);
    unsigned char empty[256] = {0};
    MemoryRef formula = nullptr;
    *kind = text[0] == '=' ? 1 : 0;
    int16_t result = ParseText(empty, &formula, kind, kFormatGeneral, &mem_globals);
    UnuseMemory(source);
    DisposeMemory(source);
    DisposeNonNilMemory(formula);
    return result;
}

TEST_F(Parser, LongEntriesAreTextUnlessFormulas) {
    int16_t kind = 0;
    EXPECT_EQ(parse_long_entry(std::string(300, '1'), layer, &kind), 1);
    std::string sum = "=1";
    while (sum.size() < 300) sum += "+1";
    EXPECT_EQ(parse_long_entry(sum, layer, &kind), 0);
    EXPECT_EQ(kind, kKindFormula);
}

}  // namespace
