#include "files/entry_script.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "platform/text/text.h"

namespace {

const int16_t kRoman = pf::script_font(pf::kScriptRoman);
const int16_t kCentral = pf::script_font(pf::kScriptCentralEuro);
const int16_t kJapanese = pf::script_font(pf::kScriptJapanese);
const int16_t kCyrillic = pf::script_font(pf::kScriptCyrillic);

// Text typed a piece at a time, each piece (UTF-8) in the font of its script,
// as the entry line keeps it: the bytes and their run table.
struct Typed {
    std::string text;
    std::string runs;
};

Typed typed(const std::vector<std::pair<std::string, int16_t>>& pieces, uint8_t face = 0) {
    Typed t;
    t.runs.assign(2, '\0');
    for (const auto& [utf8, font] : pieces) {
        std::string bytes;
        EXPECT_TRUE(pf::utf8_to_script(utf8, pf::font_to_script(font), bytes)) << utf8;
        std::string run(kRunEntrySize, '\0');
        auto* entry = reinterpret_cast<uint8_t*>(run.data());
        store_i32(entry + kRunStart, int32_t(t.text.size()));
        store_i16(entry + kRunFont, font);
        store_i16(entry + kRunFontSize, 12);
        entry[kRunFace] = face;
        t.runs += run;
        t.text += bytes;
    }
    store_i16(reinterpret_cast<uint8_t*>(t.runs.data()), int16_t(pieces.size()));
    return t;
}

int16_t run_count(const std::string& runs) { return load_i16(reinterpret_cast<const uint8_t*>(runs.data())); }
int16_t run_font(const std::string& runs, int i) {
    return load_i16(reinterpret_cast<const uint8_t*>(runs.data()) + 2 + i * kRunEntrySize + kRunFont);
}

// Czech typed on a keyboard that switches script by letter: "í" and "š" are
// Mac Roman letters too, "ř" only Central European.
Typed czech() { return typed({{"P", kRoman}, {"ř", kCentral}, {"íli", kRoman}, {"š", kCentral}}); }

}  // namespace

TEST(EntryScripts, EachRunIsReadInTheScriptOfItsFont) {
    const Typed t = czech();
    EXPECT_EQ(styled_text_utf8(t.text, t.runs, kRoman), "Příliš");
    EXPECT_EQ(runs_script(t.text, t.runs, kRoman), -1);
    // Without runs, the font says the script.
    std::string moscow;
    ASSERT_TRUE(pf::utf8_to_script("Москва", pf::kScriptCyrillic, moscow));
    EXPECT_EQ(styled_text_utf8(moscow, "", kCyrillic), "Москва");
    // ASCII runs do not count as a script of their own.
    const Typed tokyo = typed({{"Tokyo ", kRoman}, {"東京", kJapanese}});
    EXPECT_EQ(runs_script(tokyo.text, tokyo.runs, kRoman), pf::kScriptJapanese);
}

TEST(EntryScripts, AnEntryOfSeveralScriptsIsSpelledInOneThatSpellsItAll) {
    struct Case {
        Typed entry;
        const char* utf8;
        int16_t script;
    };
    const Case cases[] = {
        {czech(), "Příliš", pf::kScriptCentralEuro},
        {typed({{"Za", kRoman}, {"ż", kCentral}, {"ó", kRoman}, {"łć", kCentral}, {" g", kRoman}, {"ęś", kCentral},
                {"l", kRoman}, {"ą", kCentral}}),
         "Zażółć gęślą", pf::kScriptCentralEuro},
        {typed({{"abc ", kRoman}, {"Москва", kCyrillic}}), "abc Москва", pf::kScriptCyrillic},
        {typed({{"Tokyo ", kRoman}, {"東京", kJapanese}}), "Tokyo 東京", pf::kScriptJapanese},
        {typed({{"ď", kCentral}, {"ábel", kRoman}}), "ďábel", pf::kScriptCentralEuro},
    };
    for (const Case& c : cases) {
        OneScriptEntry spelled;
        ASSERT_TRUE(spell_entry_in_one_script(c.entry.text, c.entry.runs, kRoman, spelled)) << c.utf8;
        EXPECT_EQ(spelled.script, c.script) << c.utf8;
        EXPECT_EQ(pf::script_to_utf8(spelled.text, spelled.script), c.utf8);
        // Runs that came out alike are one: the cell takes its font from it.
        ASSERT_EQ(run_count(spelled.runs), 1) << c.utf8;
        EXPECT_EQ(pf::font_to_script(run_font(spelled.runs, 0)), c.script) << c.utf8;
        EXPECT_EQ(styled_text_utf8(spelled.text, spelled.runs, kRoman), c.utf8);
    }
}

TEST(EntryScripts, RunsThatDifferInStyleStayApartAndNoOneScriptIsRefused) {
    Typed bold = typed({{"P", kRoman}, {"ř", kCentral}}, 1);
    const Typed plain = typed({{"íliš", kCentral}});
    bold.runs += plain.runs.substr(2);
    store_i32(reinterpret_cast<uint8_t*>(bold.runs.data()) + 2 + 2 * kRunEntrySize + kRunStart,
              int32_t(bold.text.size()));
    bold.text += plain.text;
    store_i16(reinterpret_cast<uint8_t*>(bold.runs.data()), 3);
    OneScriptEntry spelled;
    ASSERT_TRUE(spell_entry_in_one_script(bold.text, bold.runs, kRoman, spelled));
    EXPECT_EQ(run_count(spelled.runs), 2);
    EXPECT_EQ(styled_text_utf8(spelled.text, spelled.runs, kRoman), "Příliš");

    // Czech beside Japanese: Central European lacks the one, Japanese the other.
    const Typed mixed = typed({{"ř", kCentral}, {"東京", kJapanese}});
    OneScriptEntry untouched;
    untouched.text = "kept";
    EXPECT_FALSE(spell_entry_in_one_script(mixed.text, mixed.runs, kRoman, untouched));
    EXPECT_EQ(untouched.text, "kept");
}

// Text from outside (a paste, an import, the socket) is kept as typed text
// is: in one script when one spells it all, the script of the cell's or the
// caret's font first; else word by word in runs of the scripts that spell it.
TEST(EntryScripts, TextFromOutsideIsKeptInTheScriptsThatSpellIt) {
    const int16_t kGreek = pf::script_font(pf::kScriptGreek);
    struct Case {
        const char* utf8;
        int16_t font;
        int16_t script;      // -1: in runs
        std::vector<int16_t> run_fonts;
    };
    const Case cases[] = {
        {" 大阪", kJapanese, pf::kScriptJapanese, {}},
        {" столица", kCyrillic, pf::kScriptCyrillic, {}},
        {" café ábc", kJapanese, pf::kScriptRoman, {}},
        {"Tokyo 東京", kRoman, pf::kScriptJapanese, {}},
        {"ö 東京", kRoman, -1, {kRoman, kJapanese}},
        {"naïve Москва", kRoman, -1, {kRoman, kCyrillic}},
        {"ÜÖ Ñ 東京", kRoman, -1, {kRoman, kJapanese}},
        {"mixed 日本 Ελλάδα", kJapanese, -1, {kJapanese, kGreek}},
        {"mixed 日本 Ελλάδα", kCyrillic, -1, {kCyrillic, kJapanese, kGreek}},
    };
    for (const Case& c : cases) {
        RunLook look;
        look.font = c.font;
        look.size = 12;
        const ScriptedText t = spell_text_in_scripts(c.utf8, look);
        EXPECT_EQ(t.script, c.script) << c.utf8;
        EXPECT_EQ(t.unspelled, 0) << c.utf8;
        EXPECT_EQ(styled_text_utf8(t.text, t.runs, pf::script_font(std::max<int16_t>(t.script, 0))), c.utf8);
        if (c.run_fonts.empty()) {
            EXPECT_TRUE(t.runs.empty()) << c.utf8;
            continue;
        }
        ASSERT_EQ(run_count(t.runs), int16_t(c.run_fonts.size())) << c.utf8;
        for (size_t i = 0; i < c.run_fonts.size(); ++i) EXPECT_EQ(run_font(t.runs, int(i)), c.run_fonts[i]) << c.utf8;
        // The run table the entry line takes is the text's own.
        EXPECT_EQ(run_table_of(t, look), t.runs);
    }
    // A single script's text takes one run in the font of its script.
    RunLook japanese;
    japanese.font = kJapanese;
    const ScriptedText cafe = spell_text_in_scripts(" café", japanese);
    const std::string one_run = run_table_of(cafe, japanese);
    ASSERT_EQ(run_count(one_run), 1);
    EXPECT_EQ(run_font(one_run, 0), kRoman);
}

TEST(EntryScripts, WhatNoScriptSpellsIsCountedAndNamed) {
    RunLook look;
    const ScriptedText t = spell_text_in_scripts("東京 \xF0\x9F\x99\x82 ไทย é", look);
    EXPECT_EQ(t.unspelled, 4);
    EXPECT_EQ(t.unspelled_characters, std::u32string(U"\U0001F642\u0E44\u0E17\u0E22"));
    EXPECT_EQ(styled_text_utf8(t.text, t.runs, kRoman), "東京 ? ??? é");
}

// Fields whose characters several scripts share: the cell's own script when
// it spells all, else the first script in enabled order that does, else each
// word in the script that spells it (the run's script first), and a
// character none spells as "?".
TEST(EntryScripts, SharedCharactersGoToTheScriptTheRulesChoose) {
    const int16_t kGreek = pf::script_font(pf::kScriptGreek);
    const int16_t kKorean = pf::script_font(pf::kScriptKorean);
    const int16_t kSimplified = pf::script_font(pf::kScriptSimpChinese);
    const int16_t kTraditional = pf::script_font(pf::kScriptTradChinese);
    struct Case {
        const char* utf8;
        int16_t font;
        int16_t script;  // -1: in runs
        std::vector<int16_t> run_fonts;
        const char* reads;  // what no script spells as "?"
        int32_t unspelled;
    };
    const Case cases[] = {
        {"\u03A9mega \u00B5m \u03C0", kRoman, pf::kScriptRoman, {}, "\u03A9mega \u00B5m \u03C0", 0},
        {"\u03A9mega \u00B5m \u03C0", kGreek, pf::kScriptRoman, {}, "\u03A9mega \u00B5m \u03C0", 0},
        {"\u03C0\u03BB", kRoman, pf::kScriptGreek, {}, "\u03C0\u03BB", 0},
        {"\u0451\u043B\u043A\u0430 \u00B5", kRoman, pf::kScriptCyrillic, {}, "\u0451\u043B\u043A\u0430 \u00B5", 0},
        {"\u0141\u00F3d\u017A \u03C0", kRoman, -1, {kCentral, kRoman}, "\u0141\u00F3d\u017A \u03C0", 0},
        {"\u041C\u043E\u0441\u043A\u0432\u0430\u6771\u4EAC", kCyrillic, pf::kScriptJapanese, {}, "\u041C\u043E\u0441\u043A\u0432\u0430\u6771\u4EAC", 0},
        {"\uFF21\uFF22\uFF23 \uFF76\uFF80", kRoman, pf::kScriptJapanese, {}, "\uFF21\uFF22\uFF23 \uFF76\uFF80", 0},
        {"\u5B66\u6821", kRoman, pf::kScriptJapanese, {}, "\u5B66\u6821", 0},
        {"\u5B66\u6821", kSimplified, pf::kScriptSimpChinese, {}, "\u5B66\u6821", 0},
        {"\u5B66\u6821", kTraditional, pf::kScriptJapanese, {}, "\u5B66\u6821", 0},
        {"\u8BED\u8A00", kJapanese, pf::kScriptSimpChinese, {}, "\u8BED\u8A00", 0},
        {"\u3055\u304F\u3089 \u5317\u4EAC", kRoman, pf::kScriptJapanese, {}, "\u3055\u304F\u3089 \u5317\u4EAC", 0},
        {"\u3055\u304F\u3089 \u5317\u4EAC", kKorean, pf::kScriptKorean, {}, "\u3055\u304F\u3089 \u5317\u4EAC", 0},
        {"\uD55C\uAD6D\uC5B4 \u5B66\u6821", kRoman, -1, {kKorean, kJapanese}, "\uD55C\uAD6D\uC5B4 \u5B66\u6821", 0},
        {"\u6771\u4EAC \U0001F600", kRoman, pf::kScriptJapanese, {}, "\u6771\u4EAC ?", 1},
        {"a\xFF\u6771 \u03A9", kRoman, -1, {kRoman, kJapanese}, "a?\u6771 \u03A9", 1},
        {"\uFEFF\u6771\u4EAC caf\u00E9", kRoman, -1, {kRoman, kJapanese, kRoman}, "?\u6771\u4EAC caf\u00E9", 1},
        {"e\u0301 \u00E9", kRoman, pf::kScriptRoman, {}, "e? \u00E9", 1},
    };
    for (const Case& c : cases) {
        RunLook look;
        look.font = c.font;
        look.size = 12;
        const ScriptedText t = spell_text_in_scripts(c.utf8, look);
        EXPECT_EQ(t.script, c.script) << c.utf8;
        EXPECT_EQ(t.unspelled, c.unspelled) << c.utf8;
        EXPECT_EQ(styled_text_utf8(t.text, t.runs, pf::script_font(std::max<int16_t>(t.script, 0))), c.reads);
        ASSERT_EQ(t.runs.empty() ? 0 : run_count(t.runs), int16_t(c.run_fonts.size())) << c.utf8;
        for (size_t i = 0; i < c.run_fonts.size(); ++i) EXPECT_EQ(run_font(t.runs, int(i)), c.run_fonts[i]) << c.utf8;
    }
}
