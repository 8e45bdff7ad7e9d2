// The order of texts of every script: each script's words in its alphabet's
// order, Roman texts as before, and one total order over texts of mixed scripts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/text/text.h"

namespace {

struct Scripted {
    std::string bytes;
    int16_t script;
};

// A UTF-8 text in the script that spells it, as a cell would hold it.
Scripted spelled(const std::string& utf8) {
    const pf::ScriptText text = pf::spell_in_a_script(utf8);
    return {text.bytes, text.script};
}

int compare(const Scripted& a, const Scripted& b, pf::TextCompare how = pf::kExactOrder) {
    return pf::compare_text(a.bytes, a.script, b.bytes, b.script, how);
}

std::vector<std::string> sorted_utf8(std::vector<std::string> words) {
    std::vector<Scripted> texts;
    for (const std::string& w : words) texts.push_back(spelled(w));
    std::stable_sort(texts.begin(), texts.end(), [](const Scripted& a, const Scripted& b) { return compare(a, b) < 0; });
    std::vector<std::string> out;
    for (const Scripted& t : texts) out.push_back(pf::script_to_utf8(t.bytes, t.script));
    return out;
}

TEST(ScriptOrder, EachScriptInItsAlphabet) {
    const std::vector<std::string> cyrillic = {"Анна", "Борис", "Елена", "Ёж", "Кофе", "Москва", "Яна"};
    const std::vector<std::string> greek = {"Αθήνα", "Άλφα", "Βήτα", "Γάμμα", "Ωμέγα"};
    const std::vector<std::string> czech = {"Cukr", "Čaj", "Dům", "Ruka", "Řeka", "Sůl", "Šála"};
    for (const auto& ordered : {cyrillic, greek, czech}) {
        std::vector<std::string> shuffled(ordered.rbegin(), ordered.rend());
        std::rotate(shuffled.begin(), shuffled.begin() + 2, shuffled.end());
        EXPECT_EQ(sorted_utf8(shuffled), ordered);
    }
    EXPECT_EQ(spelled("Čaj").script, pf::kScriptCentralEuro);
    EXPECT_EQ(spelled("Москва").script, pf::kScriptCyrillic);
}

TEST(ScriptOrder, LettersBesideRomanOnes) {
    // A marked letter its alphabet ranks with a Roman letter compares as that
    // letter first, its mark after; the same letter in any script is equal.
    EXPECT_EQ(compare(spelled("Dům"), spelled("Duma")), -1);
    EXPECT_EQ(compare(spelled("Dum"), spelled("Dům")), -1);
    EXPECT_EQ(compare(spelled("dům"), spelled("Dům"), pf::kIgnoreCaseAndMarks), 0);
    EXPECT_EQ(compare(spelled("Dům"), spelled("Dum"), pf::kIgnoreCaseAndMarks), 0);
    EXPECT_EQ(pf::compare_text("caf\x8E", pf::kScriptRoman, "caf\x8E", pf::kScriptCentralEuro), 0);
    // Latin before Greek before Cyrillic; case and marks as in Roman.
    EXPECT_EQ(compare(spelled("zebra"), spelled("άλφα")), -1);
    EXPECT_EQ(compare(spelled("ωμέγα"), spelled("анна")), -1);
    EXPECT_EQ(compare(spelled("Москва"), spelled("москва")), -1);
    EXPECT_EQ(compare(spelled("москва"), spelled("МОСКВА"), pf::kIgnoreCaseAndMarks), 0);
    EXPECT_EQ(compare(spelled("αθηνα"), spelled("αθήνα")), -1);
    EXPECT_EQ(compare(spelled("αθηνα"), spelled("αθήνα"), {true, false}), 0);
}

TEST(ScriptOrder, RomanTextsKeepTheirOrder) {
    // Texts of Roman compare byte for byte as the Roman order does, also when
    // handed over with a script that reads them as ASCII.
    const std::vector<std::string> roman = {"", " a", "1", "A", "a", "\x87", "AE", "\xAE", "b", "{", "\xA5", "Z\x8E"};
    for (const std::string& a : roman)
        for (const std::string& b : roman) {
            EXPECT_EQ(pf::compare_text(a, pf::kScriptRoman, b, pf::kScriptRoman), pf::compare_text(a, b));
            pf::CollationText ca = pf::collation_text(a, pf::kScriptRoman), cb = pf::collation_text(b, pf::kScriptRoman);
            EXPECT_EQ(pf::compare_collation_texts(ca, cb, pf::kIgnoreCaseAndMarks),
                      pf::compare_text(a, b, pf::kIgnoreCaseAndMarks));
        }
    EXPECT_EQ(pf::compare_text("abc", pf::kScriptCyrillic, "ABC", pf::kScriptRoman), pf::compare_text("abc", "ABC"));
}

TEST(ScriptOrder, MixedTextsFormOneTotalOrder) {
    const std::vector<std::string> pieces = {"a", "A", "é", "Ω", "ω", "č", "Č", "c", "d", "ů", "u", "ё", "е", "Ж",
                                             "ж", "1", " ", "-", "{", "æ", "ß", "s", "š", "Ａ", "あ", "ア", "日",
                                             "π", "µ", "©", "ł", "l", "ő", "ο"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> piece(0, pieces.size() - 1), length(0, 3), roman(0, 3);
    std::vector<Scripted> texts;
    for (int i = 0; i < 300; ++i) {
        std::string utf8;
        for (size_t n = length(random); n > 0; --n) utf8 += pieces[piece(random)];
        Scripted text = spelled(utf8);
        // Also as Roman bytes where Mac Roman spells it, and in several scripts.
        std::string mac;
        if (roman(random) == 0 && pf::utf8_to_script(utf8, pf::kScriptRoman, mac)) text = {mac, pf::kScriptRoman};
        else if (roman(random) == 1) text = {utf8, pf::kUtf8Text};
        texts.push_back(text);
    }
    const pf::TextCompare hows[] = {pf::kExactOrder, pf::kIgnoreCaseAndMarks, {false, true}, {true, false}};
    for (const pf::TextCompare how : hows) {
        std::vector<std::vector<int>> order(texts.size(), std::vector<int>(texts.size()));
        for (size_t i = 0; i < texts.size(); ++i)
            for (size_t j = 0; j < texts.size(); ++j) order[i][j] = compare(texts[i], texts[j], how);
        for (size_t i = 0; i < texts.size(); ++i)
            for (size_t j = 0; j < texts.size(); ++j) {
                ASSERT_EQ(order[i][j], -order[j][i]) << i << " " << j;
                for (size_t k = 0; k < texts.size(); ++k) {
                    if (order[i][j] <= 0 && order[j][k] <= 0) {
                        ASSERT_LE(order[i][k], 0) << i << " " << j << " " << k;
                    }
                    if (order[i][j] == 0 && order[j][k] == 0) {
                        ASSERT_EQ(order[i][k], 0) << i << " " << j << " " << k;
                    }
                }
            }
    }
}

}  // namespace
