#include "formula_fixture.h"

namespace {

std::vector<FormulaToken> tokens_of(const std::vector<uint8_t>& bytes, bool* complete = nullptr) {
    std::vector<FormulaToken> tokens;
    bool whole = walk_formula(bytes.data(), int32_t(bytes.size()), [&](const FormulaToken& t) {
        tokens.push_back(t);
        return true;
    });
    if (complete) *complete = whole;
    return tokens;
}

// The worked example: =A1*2+SUM($B$1:B3) typed into B2.
std::vector<uint8_t> worked_example() {
    return Bytes()
        .s("=@").b(0xBA).i16(-1).i16(-1)
        .s("*I").i16(2)
        .s("+").b(0xC4).b(10).s("(@r#").b(0xBA).i16(0).i16(1).i16(1).i16(0).s(")")
        .v;
}

TEST(StoredFormula, WalkerFindsEveryTokenOfTheWorkedExample) {
    bool complete = false;
    const std::vector<uint8_t> bytes = worked_example();
    auto tokens = tokens_of(bytes, &complete);
    ASSERT_TRUE(complete);
    ASSERT_EQ(tokens.size(), 8u);
    EXPECT_EQ(tokens[0].kind, FormulaTokenKind::reference);
    EXPECT_EQ(tokens[0].ref.kind, ReferenceKind::cell);
    EXPECT_EQ(tokens[0].ref.top, -1);
    EXPECT_EQ(tokens[0].ref.left, -1);
    EXPECT_EQ(tokens[2].kind, FormulaTokenKind::small_int);
    EXPECT_EQ(tokens[2].value, 2);
    EXPECT_EQ(tokens[4].kind, FormulaTokenKind::function);
    EXPECT_EQ(tokens[4].value, 10);
    const StoredReference& range = tokens[6].ref;
    EXPECT_EQ(range.kind, ReferenceKind::range);
    EXPECT_EQ(range.markers[0], kMarkBothAbsolute);
    EXPECT_EQ(range.markers[1], kMarkBothRelative);
    EXPECT_EQ(range.top, 0);
    EXPECT_EQ(range.left, 1);
    EXPECT_EQ(range.bottom, 1);
    EXPECT_EQ(range.right, 0);
    EXPECT_EQ(tokens[7].start[0], ')');
}

TEST(StoredFormula, OperandBytesInsideTokensAreNeverTakenForTokens) {
    // The i16 values hold the bytes of "@", 0xC4 and a double quote: a walker
    // that stepped byte by byte would take them for tokens.
    auto bytes = Bytes().s("=I").b('@').b(0xC4).s("+@").b('#').b('"').b(0).b('!').b(0).s("&\"a@b\"").v;
    auto tokens = tokens_of(bytes);
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[1].start[0], '+');
    EXPECT_EQ(tokens[2].kind, FormulaTokenKind::reference);
    EXPECT_EQ(tokens[4].kind, FormulaTokenKind::text);
    EXPECT_EQ(tokens[4].length, 5);
}

TEST(StoredFormula, ThreeDimensionalNamesAndLinksDecode) {
    auto bytes = Bytes().s("=!").i16(3).s("@R").b(0xA8).i16(-1).i16(4).s("&").b(5).s("Total").s("<>").s("1.5E-3").v;
    auto tokens = tokens_of(bytes);
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].kind, FormulaTokenKind::link);
    EXPECT_EQ(tokens[0].value, 3);
    const StoredReference& ref = tokens[1].ref;
    EXPECT_TRUE(ref.three_d);
    EXPECT_EQ(ref.layer_marker, 0xA8);
    EXPECT_EQ(ref.first_layer, -1);
    EXPECT_EQ(ref.last_layer, 4);
    EXPECT_EQ(ref.kind, ReferenceKind::name);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ref.name + 1), ref.name[0]), "Total");
    EXPECT_EQ(tokens[2].length, 2);
    EXPECT_EQ(tokens[3].kind, FormulaTokenKind::number);
    EXPECT_EQ(tokens[3].length, 6);
}

TEST(StoredFormula, TruncatedTokensEndTheWalkWithoutReadingPastTheEnd) {
    std::vector<std::vector<uint8_t>> cut = {
        Bytes().s("=I").b(1).v,
        Bytes().s("=").b(0xC4).v,
        Bytes().s("=!").b(0).v,
        Bytes().s("=\"abc").v,
        Bytes().s("=@r#").b('#').i16(0).i16(0).i16(0).v,
        Bytes().s("=@&").b(9).s("abc").v,
        Bytes().s("=@R#").i16(0).v,
        Bytes().s("=@").b('x').i16(0).i16(0).v,
    };
    for (const auto& bytes : cut) {
        // Exactly-sized copies, so that a read past the end is caught by the
        // sanitizers as well as by the answer.
        auto* exact = new uint8_t[bytes.size()];
        std::memcpy(exact, bytes.data(), bytes.size());
        int visited = 0;
        bool complete = walk_formula(exact, int32_t(bytes.size()), [&](const FormulaToken&) {
            ++visited;
            return true;
        });
        EXPECT_FALSE(complete) << visited;
        delete[] exact;
    }
}

TEST(StoredFormula, MarkersFollowTheirAbsoluteFlags) {
    EXPECT_EQ(ParamChar(true, true), '#');
    EXPECT_EQ(ParamChar(true, false), 0xA8);
    EXPECT_EQ(ParamChar(false, true), 0xA9);
    EXPECT_EQ(ParamChar(false, false), 0xBA);
    for (uint8_t marker : {uint8_t('#'), uint8_t(0xA8), uint8_t(0xA9), uint8_t(0xBA)})
        EXPECT_EQ(ParamChar(marker_first_absolute(marker), marker_second_absolute(marker)), marker);
}

}  // namespace
