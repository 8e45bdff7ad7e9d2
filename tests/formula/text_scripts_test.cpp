// Text values of scripts other than Roman through references, lookups, text
// functions and joins: each keeps the script it came from.
#include "files/entry_script.h"
#include "formula/functions_text.h"
#include "formula/library_support.h"
#include "model/layer.h"
#include "platform/text/text.h"
#include "recalc_fixture.h"

namespace {

class TextScripts : public RecalcTest {
protected:
    void SetUp() override {
        RecalcTest::SetUp();
        clear_unspelled_joins();
    }

    uint8_t* cell_at(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        return get_cell_ptr(&cell, &length, CellPoint{row, column}, layer) ? cell : nullptr;
    }

    void set_font(int16_t row, int16_t column, int16_t font) { store_u16(cell_at(row, column) + kFmtFont, uint16_t(font)); }

    // A formula typed in a cell set in the font of `script`.
    void put_formula_in(int16_t row, int16_t column, const std::string& utf8, int16_t script) {
        std::string bytes;
        ASSERT_TRUE(pf::utf8_to_script(utf8, script, bytes)) << utf8;
        put_formula(row, column, bytes);
        set_font(row, column, pf::script_font(script));
    }

    // What a cell's value reads as outside: UTF-8 by the value's script.
    std::string value_utf8(int16_t row, int16_t column) {
        const uint8_t* cell = cell_at(row, column);
        if (!cell) return "(none)";
        const std::string bytes = _cellType_(cell) == kCellText
                                      ? std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)))
                                      : text_result(row, column);
        return cell_field_utf8(cell, bytes, format_font_in(cell, layer));
    }

    void calculate() { calculate_without_windows(workbook); }
};

TEST_F(TextScripts, ReferencesAndTextFunctionsKeepTheScriptAndWholeCharacters) {
    put_spelled(0, 0, "東京");
    put_formula(0, 1, "=A1");
    put_formula(0, 2, "=LEFT(A1,1)");
    put_formula(0, 3, "=MID(A1,2,1)");
    put_formula(0, 4, "=LEN(A1)");
    put_spelled(1, 0, "москва");
    put_formula(1, 1, "=UPPER(A2)");
    put_spelled(2, 0, "příliš");
    put_formula(2, 1, "=UPPER(A3)");
    put_formula(2, 2, "=RIGHT(A3,3)");
    calculate();
    EXPECT_EQ(value_utf8(0, 1), "東京");
    EXPECT_EQ(_resultType_(cell_at(0, 1)), text_result_type(pf::kScriptJapanese, pf::kScriptRoman));
    EXPECT_EQ(value_utf8(0, 2), "東");
    EXPECT_EQ(value_utf8(0, 3), "京");
    EXPECT_EQ(result(0, 4), 2);
    EXPECT_EQ(value_utf8(1, 1), "МОСКВА");
    EXPECT_EQ(value_utf8(2, 1), "PŘÍLIŠ");
    EXPECT_EQ(value_utf8(2, 2), "liš");
    EXPECT_EQ(unspelled_join_characters(), 0);
}

TEST_F(TextScripts, LookupsFindTextsOfTheirScript) {
    const char* names[] = {"Praha", "Москва", "Αθήνα"};
    for (int16_t row = 1; row <= 3; ++row) {
        put_number(row, 0, row);
        put_spelled(row, 1, names[row - 1]);
    }
    put_formula(0, 4, "=VLOOKUP(2,A2:B4,2,0)");
    put_formula(0, 5, "=INDEX(B2:B4,3,1)");
    calculate();
    EXPECT_EQ(value_utf8(0, 4), "Москва");
    EXPECT_EQ(value_utf8(0, 5), "Αθήνα");
}

TEST_F(TextScripts, JoinedTextsOfTwoScriptsAreSpelledInOneOrCountedWhereNoneCan) {
    put_spelled(0, 0, "Москва");
    put_spelled(0, 1, "東京");
    put_spelled(0, 2, "Ελλάδα");
    put_formula(1, 0, "=A1&\", \"&B1");
    put_formula(1, 1, "=CONCATENATE(B1,\" \",A1)");
    calculate();
    EXPECT_EQ(value_utf8(1, 0), "Москва, 東京");
    EXPECT_EQ(value_utf8(1, 1), "東京 Москва");
    EXPECT_EQ(unspelled_join_characters(), 0);
    // Japanese spells Cyrillic and Greek, but not the accented alpha.
    put_formula(1, 2, "=A1&\", \"&C1");
    calculate();
    EXPECT_EQ(value_utf8(1, 2), "Москва, Ελλ?δα");
    EXPECT_EQ(unspelled_join_characters(), 1);
}

TEST_F(TextScripts, TextsWrittenInAFormulaAreInItsCellsScript) {
    put_formula_in(0, 0, "=\"東京\"&\"!\"", pf::kScriptJapanese);
    put_formula(0, 1, "=A1");
    calculate();
    EXPECT_EQ(_resultType_(cell_at(0, 0)), kResultText);
    EXPECT_EQ(value_utf8(0, 0), "東京!");
    EXPECT_EQ(value_utf8(0, 1), "東京!");
    // A Roman text in a cell of another script's font says it is Roman.
    put_spelled(1, 0, "café");
    put_formula_in(1, 1, "=A2", pf::kScriptJapanese);
    calculate();
    EXPECT_EQ(value_utf8(1, 1), "café");
}

TEST_F(TextScripts, ProperRaisesEachWordsFirstLetterInItsScript) {
    const char* words[] = {"čaj", "москва", "αθήνα", "łódź", "москва и кофе"};
    const char* raised[] = {"Čaj", "Москва", "Αθήνα", "Łódź"};
    for (int16_t row = 0; row < 4; ++row) {
        put_spelled(row, 0, words[row]);
        put_formula(row, 1, "=PROPER(A" + std::to_string(row + 1) + ")");
    }
    put_formula_in(4, 1, std::string("=PROPER(\"") + words[4] + "\")", pf::kScriptCyrillic);
    calculate();
    for (int16_t row = 0; row < 4; ++row) EXPECT_EQ(value_utf8(row, 1), raised[row]);
    EXPECT_EQ(value_utf8(4, 1), "Москва И Кофе");
}

TEST_F(TextScripts, ComparisonsOrderTextsByTheirScriptsAlphabets) {
    put_formula_in(0, 0, "=\"Кофе\"<\"Москва\"", pf::kScriptCyrillic);
    put_formula_in(0, 1, "=\"Cukr\"<\"Čaj\"", pf::kScriptCentralEuro);
    put_formula_in(0, 2, "=\"Ёж\">\"Елена\"", pf::kScriptCyrillic);
    put_spelled(1, 0, "Řeka");
    put_spelled(1, 1, "Ruka");
    put_formula(0, 3, "=B2<A2");
    put_formula(0, 4, "=A2=\"Řeka\"");
    calculate();
    for (int16_t column = 0; column < 4; ++column) EXPECT_EQ(result(0, column), 1) << column;
    EXPECT_EQ(result(0, 4), 0);  // a Roman formula cannot spell Ř
}

TEST_F(TextScripts, LookupsAndCriteriaFollowTheScriptsOrder) {
    const char* sorted[] = {"Анна", "Борис", "Елена", "Ёж", "Кофе", "Москва", "Яна"};
    for (int16_t row = 0; row < 7; ++row) put_spelled(row, 0, sorted[row]);
    put_spelled(0, 1, "Лев");
    put_formula(1, 1, "=LOOKUP(B1,A1:A7)");
    put_formula(2, 1, "=COUNTIF(A1:A7,\"<\"&B1)");
    calculate();
    EXPECT_EQ(value_utf8(1, 1), "Кофе");
    EXPECT_EQ(result(2, 1), 5);
}

TEST(TextJoins, JoinsNeverSplitACharacterAtTheLengthLimit) {
    TextBuffer left, right, out;
    std::string kanji;
    for (int i = 0; i < 127; ++i) kanji += "\x93\x8C";  // 東, 254 bytes
    pstr(left, kanji);
    pstr(right, "\x8B\x9E");  // 京
    int32_t unspelled = 0;
    EXPECT_EQ(join_texts(left, pf::kScriptJapanese, right, pf::kScriptJapanese, out, &unspelled), pf::kScriptJapanese);
    EXPECT_EQ(out[0], 254);
    // Plain ASCII takes the other side's script.
    pstr(left, "abc ");
    EXPECT_EQ(join_texts(left, pf::kScriptRoman, right, pf::kScriptJapanese, out, &unspelled), pf::kScriptJapanese);
    EXPECT_EQ(text_of(out), "abc \x8B\x9E");
    EXPECT_EQ(unspelled, 0);
}

// The letters a formula loses are told once for each cause: the same cell
// recalculated with the same loss is not taken again, a new loss or another
// cell is.
TEST_F(TextScripts, EachCauseOfLostLettersIsTakenOnce) {
    put_spelled(0, 0, "Москва");
    put_spelled(0, 2, "Ελλάδα");
    put_formula(1, 2, "=A1&\", \"&C1");
    calculate();
    EXPECT_EQ(take_untold_unspelled_joins(), 1);
    for (int again = 0; again < 2; ++again) {
        calculate();
        EXPECT_EQ(take_untold_unspelled_joins(), 0);
    }
    put_spelled(0, 2, "Ελλάδά");  // two accented alphas now
    calculate();
    EXPECT_EQ(take_untold_unspelled_joins(), 2);
    put_formula(1, 3, "=C1&A1");
    calculate();
    EXPECT_EQ(take_untold_unspelled_joins(), 2);
    EXPECT_EQ(unspelled_join_characters(), 0);  // taken
}

}  // namespace
