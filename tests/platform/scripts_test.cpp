#include "platform/text/scripts.h"
#include "platform/text/text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

struct Spelled {
    const char* utf8;
    int16_t script;
};

// Texts of each script and the script they are stored in.
constexpr Spelled kTexts[] = {
    {"Zürich", pf::kScriptRoman},        {"Ελλάδα", pf::kScriptGreek},
    {"Москва", pf::kScriptCyrillic},     {"Příliš žluťoučký kůň", pf::kScriptCentralEuro},
    {"東京タワー", pf::kScriptJapanese}, {"简体中文", pf::kScriptSimpChinese},
    {"說話", pf::kScriptTradChinese}, {"서울 한국어", pf::kScriptKorean},
};

TEST(Scripts, TextFromOutsideIsKeptInTheFirstScriptThatSpellsItAndComesBackTheSame) {
    for (const Spelled& t : kTexts) {
        pf::ScriptText spelled = pf::spell_in_a_script(t.utf8);
        EXPECT_EQ(spelled.script, t.script) << t.utf8;
        EXPECT_EQ(spelled.unmapped, 0) << t.utf8;
        EXPECT_EQ(pf::script_to_utf8(spelled.bytes, spelled.script), t.utf8);
    }
}

TEST(Scripts, OnlyWhatNoScriptSpellsBecomesAQuestionMark) {
    // Hangul and Thai: Korean spells the first, no script the second.
    pf::ScriptText spelled = pf::spell_in_a_script("한국 ไทย");
    EXPECT_EQ(spelled.script, pf::kScriptKorean);
    EXPECT_EQ(spelled.unmapped, 3);
    EXPECT_EQ(pf::script_to_utf8(spelled.bytes, spelled.script), "한국 ???");
    // An emoji outside every script.
    spelled = pf::spell_in_a_script("ok \xF0\x9F\x98\x80");
    EXPECT_EQ(spelled.script, pf::kScriptRoman);
    EXPECT_EQ(spelled.bytes, "ok ?");
}

TEST(Scripts, ConversionsAreStrictOnTheWayInAndKeepEveryByteOnTheWayOut) {
    std::string out;
    // The wave dash has no way back from code page 932: refused rather than changed.
    EXPECT_FALSE(pf::utf8_to_script("\u301C", pf::kScriptJapanese, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(pf::utf8_to_script("ñ", pf::kScriptGreek, out));
    EXPECT_FALSE(pf::utf8_to_script("a", 4, out));
    // A lone lead byte and a byte Mac Greek leaves undefined come out as Mac Roman.
    EXPECT_EQ(pf::script_to_utf8("a\x94", pf::kScriptJapanese), "a\u00EE");
    EXPECT_EQ(pf::script_to_utf8("\x94\x4E", pf::kScriptJapanese), "年");
    EXPECT_EQ(pf::script_to_utf8("\xE1", pf::kScriptGreek), "α");
}

// The double-byte scripts as the system's converter spells and reads them,
// each text whole: strict on the way in (every character must come back the
// same), and on the way out whole when it converts, else character by
// character, what the script leaves undefined as Mac Roman.
struct ConverterScript {
    int16_t script;
    const char* encoding;
};
constexpr ConverterScript kDoubleByteScripts[] = {{pf::kScriptJapanese, "CP932"},
                                                  {pf::kScriptSimpChinese, "EUC-CN"},
                                                  {pf::kScriptTradChinese, "BIG5"},
                                                  {pf::kScriptKorean, "EUC-KR"}};

bool converter_spells(std::string_view utf8, const char* encoding, std::string& out) {
    std::string back;
    if (pf::convert_encoding(utf8, "UTF-8", encoding, out) && pf::convert_encoding(out, encoding, "UTF-8", back) &&
        back == utf8)
        return true;
    out.clear();
    return false;
}

std::string converter_reads(std::string_view bytes, const ConverterScript& s) {
    std::string out, one;
    if (pf::convert_encoding(bytes, s.encoding, "UTF-8", out)) return out;
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = pf::script_lead_byte(uint8_t(bytes[i]), s.script) && i + 1 < bytes.size() ? 2 : 1;
        if (pf::convert_encoding(bytes.substr(i, length), s.encoding, "UTF-8", one) && !one.empty()) out += one;
        else out += pf::mac_roman_to_utf8(bytes.substr(i, length));
        i += length;
    }
    return out;
}

TEST(Scripts, DoubleByteScriptsSpellAndReadEveryCharacterAsTheSystemsConverter) {
    for (const ConverterScript& s : kDoubleByteScripts) {
        int differences = 0;
        auto differ = [&](const std::string& what) {
            if (differences++ < 5) ADD_FAILURE() << s.encoding << ": " << what;
        };
        std::string ours, theirs;
        for (char32_t c = 1; c < 0x10000; c += (c == 0xD7FF ? 0x801 : 1)) {
            std::string utf8 = "a";
            pf::append_utf8(utf8, c);
            const bool spelled = pf::utf8_to_script(utf8, s.script, ours);
            if (spelled != converter_spells(utf8, s.encoding, theirs) || ours != theirs)
                differ("U+" + std::to_string(unsigned(c)));
        }
        for (const char* utf8 : {"\xF0\x9F\x98\x80", "a\xF0\xA0\x80\x8B", "\xEF\xBF\xBD", "\xEF\xBF\xBF", ""})
            if (pf::utf8_to_script(utf8, s.script, ours) != converter_spells(utf8, s.encoding, theirs) || ours != theirs)
                differ(utf8);
        for (int lead = 0; lead < 0x100; ++lead) {
            const std::string one(1, char(lead));
            if (pf::script_to_utf8(one, s.script) != converter_reads(one, s)) differ("byte " + std::to_string(lead));
            for (int trail = 0; trail < 0x100; ++trail) {
                const std::string pair = one + char(trail) + "b" + one;
                if (pf::script_to_utf8(pair, s.script) != converter_reads(pair, s))
                    differ("bytes " + std::to_string(lead) + " " + std::to_string(trail));
            }
        }
        EXPECT_EQ(differences, 0) << s.encoding;
    }
}

TEST(Scripts, FontNumbersBelongToTheirScriptsRanges) {
    EXPECT_EQ(pf::script_font(pf::kScriptRoman), 1);
    EXPECT_EQ(pf::script_font(pf::kScriptJapanese), 16384);
    EXPECT_EQ(pf::script_font(pf::kScriptTradChinese), 16896);
    EXPECT_EQ(pf::script_font(pf::kScriptKorean), 17408);
    EXPECT_EQ(pf::script_font(pf::kScriptGreek), 18944);
    EXPECT_EQ(pf::script_font(pf::kScriptCyrillic), 19456);
    EXPECT_EQ(pf::script_font(pf::kScriptSimpChinese), 28672);
    EXPECT_EQ(pf::script_font(pf::kScriptCentralEuro), 30720);
    EXPECT_EQ(pf::script_font(4), -1);
    for (int16_t script : pf::enabled_scripts()) EXPECT_EQ(pf::font_to_script(pf::script_font(script)), script);
    EXPECT_EQ(pf::font_to_script(16384 + 31), pf::kScriptJapanese);
    EXPECT_EQ(pf::font_to_script(16384 + 32), pf::kScriptRoman);  // a family's hashed number
    EXPECT_EQ(pf::font_to_script(20480), pf::kScriptRoman);        // script 9 is not enabled
    EXPECT_EQ(pf::font_to_script(2497), pf::kScriptRoman);
    EXPECT_EQ(pf::script_count(), 8);
}

TEST(Scripts, ByteTypesOfEachDoubleByteScript) {
    // "a" + two two-byte characters, in each script.
    const std::pair<int16_t, std::string> texts[] = {
        {pf::kScriptJapanese, "a\x93\x8C\x8B\x9E"},
        {pf::kScriptSimpChinese, "a\xBC\xF2\xCC\xE5"},
        {pf::kScriptTradChinese, "a\xC1\x63\xC5\xE9"},
        {pf::kScriptKorean, "a\xBC\xAD\xBF\xEF"},
    };
    const int16_t expected[] = {0, -1, 1, -1, 1};
    for (const auto& [script, text] : texts) {
        for (int i = 0; i < 5; ++i) EXPECT_EQ(pf::character_byte_type(text.data(), i, script), expected[i]) << script;
        EXPECT_EQ(pf::character_type(text.data(), 3, script), pf::kCharDoubleByte);
        pf::WordRange w = pf::find_word_breaks(text.data(), 5, 3, true, script);
        EXPECT_EQ(w.start, 3) << script;
        EXPECT_EQ(w.end, 5) << script;
    }
    EXPECT_EQ(pf::character_byte_type("\xBC\xF2", 0, pf::kScriptGreek), 0);
}

TEST(Scripts, LettersAndWordsOfSingleByteScripts) {
    std::string greek, cyrillic, czech;
    ASSERT_TRUE(pf::utf8_to_script("Αθήνα, Ελλάδα", pf::kScriptGreek, greek));
    ASSERT_TRUE(pf::utf8_to_script("Москва", pf::kScriptCyrillic, cyrillic));
    ASSERT_TRUE(pf::utf8_to_script("Žluť", pf::kScriptCentralEuro, czech));
    EXPECT_EQ(pf::character_type(greek.data(), 0, pf::kScriptGreek), pf::kCharEuro | pf::kCharUpper);
    EXPECT_EQ(pf::character_type(greek.data(), 1, pf::kScriptGreek), pf::kCharEuro);
    EXPECT_EQ(pf::character_type(greek.data(), 5, pf::kScriptGreek), pf::kPunctNormal);
    EXPECT_EQ(pf::character_type(cyrillic.data(), 0, pf::kScriptCyrillic), pf::kCharEuro | pf::kCharUpper);
    EXPECT_EQ(pf::character_type(cyrillic.data(), 1, pf::kScriptCyrillic), pf::kCharEuro);
    EXPECT_EQ(pf::character_type(czech.data(), 0, pf::kScriptCentralEuro), pf::kCharEuro | pf::kCharUpper);
    EXPECT_EQ(pf::character_type(czech.data(), 3, pf::kScriptCentralEuro), pf::kCharEuro);
    pf::WordRange w = pf::find_word_breaks(greek.data(), int32_t(greek.size()), 2, true, pf::kScriptGreek);
    EXPECT_EQ(w.start, 0);
    EXPECT_EQ(w.end, 5);
    w = pf::find_word_breaks(greek.data(), int32_t(greek.size()), 8, true, pf::kScriptGreek);
    EXPECT_EQ(w.start, 7);
    EXPECT_EQ(w.end, 13);
}

}  // namespace

// A text that one script's tables spell whole goes in one pass to the same
// script and bytes as letter by letter; any other is left to the letters.
TEST(Scripts, ATextOneScriptSpellsWholeIsSpelledInOnePassAsLetterByLetter) {
    int differences = 0;
    auto compare = [&](const std::string& utf8, int16_t preferred) {
        std::string fast = "x", letters = "x";
        const int16_t script = pf::append_spelled_by_tables(utf8, preferred, fast);
        const pf::ScriptLetters decoded(utf8);
        const int16_t expected = decoded.append_in_script_spelling(0, decoded.size(), preferred, letters);
        const bool same = script < 0 ? fast == "x" : script == expected && fast == letters;
        if (!same && differences++ < 5) ADD_FAILURE() << utf8 << " preferring " << preferred;
    };
    for (int16_t preferred : pf::enabled_scripts()) {
        for (char32_t c = 0x80; c < 0x10000; c += (c == 0xD7FF ? 0x801 : 1)) {
            std::string utf8 = "a ";
            pf::append_utf8(utf8, c);
            compare(utf8, preferred);
        }
        for (const Spelled& t : kTexts) compare(t.utf8, preferred);
        for (const char* utf8 : {"", "Tokyo 東京 Москва", "\xE6\x9D", "ok \xF0\x9F\x98\x80", "\u301C", "한국 ไทย"})
            compare(utf8, preferred);
    }
    EXPECT_EQ(differences, 0);
}
