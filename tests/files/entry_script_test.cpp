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
