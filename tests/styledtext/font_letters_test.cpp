// A font set over a selection keeping its letters: the font goes to the words
// its script spells, spelled in that script, the others keep their run's
// font; undo and redo bring back each text whole.
#include "platform/fonts/classic_fonts.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"
#include "tests/styledtext/styled_text_fixture.h"

namespace {

using wetest::Instance;

struct FontLetters : Instance {
    std::string_view run_bytes(const WERunInfo& info) {
        const int32_t end = std::min(info.runEnd, WEGetTextLength(we));
        return std::string_view(WEText(we) + info.runStart, size_t(end - info.runStart));
    }
    // The text decoded run by run in the scripts of the runs' fonts.
    std::string letters() {
        std::string utf8;
        for (int32_t i = 0; i < WEI(we).runCount; ++i) {
            WERunInfo info;
            _WEGetIndStyle(i, info, we);
            utf8 += pf::script_to_utf8(run_bytes(info), pf::font_to_script(info.runAttrs.runStyle.tsFont));
        }
        return utf8;
    }
    // Appends a text spelled in the script's own font.
    void append(const std::string& utf8, int16_t script) {
        std::string bytes;
        ASSERT_TRUE(pf::utf8_to_script(utf8, script, bytes)) << utf8;
        const int32_t end = WEGetTextLength(we);
        select(end, end);
        ASSERT_EQ(WEInsert(bytes.data(), int32_t(bytes.size()), nullptr, nullptr, we), pf::noErr);
        WETextStyle style;
        style.tsFont = pf::script_font(script);
        select(end, end + int32_t(bytes.size()));
        ASSERT_EQ(WESetStyle(weDoFont, style, we), pf::noErr);
    }
    // Roman, Japanese, Cyrillic, Greek and Roman again, and a Japanese text
    // of kanji and Cyrillic letters.
    void make_mixed() {
        make();
        append("Tokyo café ", pf::kScriptRoman);
        append("東京 ", pf::kScriptJapanese);
        append("Москва ", pf::kScriptCyrillic);
        append("Αθήνα ", pf::kScriptGreek);
        append("crème", pf::kScriptRoman);
        append(" 東京Москва", pf::kScriptJapanese);
        WEClearUndo(we);
    }
    pf::OSErr set_font(int16_t font) {
        WETextStyle style;
        style.tsFont = font;
        return WESetStyle(weDoFont | weDoKeepLetters, style, we);
    }
    // The fonts of the runs that decode to `utf8`, in order.
    std::vector<int16_t> fonts_of(const std::string& utf8) {
        std::vector<int16_t> fonts;
        for (int32_t i = 0; i < WEI(we).runCount; ++i) {
            WERunInfo info;
            _WEGetIndStyle(i, info, we);
            const int16_t font = info.runAttrs.runStyle.tsFont;
            if (pf::script_to_utf8(run_bytes(info), pf::font_to_script(font)).find(utf8) != std::string::npos)
                fonts.push_back(font);
        }
        return fonts;
    }
};

const char kMixed[] = "Tokyo café 東京 Москва Αθήνα crème 東京Москва";

TEST_F(FontLetters, EveryScriptsFontOverTheWholeTextKeepsItsLettersAndUndoes) {
    std::vector<int16_t> fonts{pf::kTimesFont};
    for (int16_t script : pf::enabled_scripts()) fonts.push_back(pf::script_font(script));
    for (int16_t font : fonts) {
        make_mixed();
        ASSERT_EQ(letters(), kMixed);
        const wetest::Snapshot before = wetest::snapshot(we);
        select(0, WEGetTextLength(we));
        ASSERT_EQ(set_font(font), pf::noErr) << font;
        EXPECT_EQ(letters(), kMixed) << font;
        EXPECT_EQ(sel_start(), 0);
        EXPECT_EQ(sel_end(), WEGetTextLength(we));
        const wetest::Snapshot set = wetest::snapshot(we);
        expect_valid();
        ASSERT_EQ(WEUndo(we), pf::noErr);
        EXPECT_EQ(wetest::snapshot(we).text, before.text) << font;
        EXPECT_EQ(wetest::snapshot(we).runs, before.runs) << font;
        ASSERT_EQ(WEUndo(we), pf::noErr);
        EXPECT_EQ(wetest::snapshot(we), set) << font << " redone";
        expect_valid();
        WEDispose(we);
        we = nullptr;
    }
}

TEST_F(FontLetters, AFontGoesToTheWordsItsScriptSpellsAndTheOthersKeepTheirs) {
    make_mixed();
    const int16_t roman = pf::kTimesFont, japanese = pf::script_font(pf::kScriptJapanese);
    select(0, WEGetTextLength(we));
    ASSERT_EQ(set_font(roman), pf::noErr);
    EXPECT_EQ(fonts_of("Tokyo café"), std::vector<int16_t>{roman});
    EXPECT_EQ(fonts_of("東京 "), std::vector<int16_t>{japanese});
    EXPECT_EQ(fonts_of("Москва"), (std::vector<int16_t>{pf::script_font(pf::kScriptCyrillic), japanese}));
    EXPECT_EQ(fonts_of("東京Москва"), std::vector<int16_t>{japanese});  // no word of it Roman
    // Japanese spells the Cyrillic words, in longer bytes, and the ASCII
    // ones; not the accented Roman or Greek ones.
    const int32_t length = WEGetTextLength(we);
    select(0, length);
    ASSERT_EQ(set_font(japanese), pf::noErr);
    EXPECT_EQ(letters(), kMixed);
    EXPECT_GT(WEGetTextLength(we), length);
    EXPECT_EQ(fonts_of("Tokyo "), std::vector<int16_t>{japanese});
    EXPECT_EQ(fonts_of("café"), std::vector<int16_t>{roman});
    EXPECT_EQ(fonts_of("Москва"), (std::vector<int16_t>{japanese, japanese}));
    EXPECT_EQ(fonts_of("Αθήνα"), std::vector<int16_t>{pf::script_font(pf::kScriptGreek)});
    EXPECT_EQ(fonts_of("crème"), std::vector<int16_t>{roman});
    expect_valid();
}

TEST_F(FontLetters, APartOfTheTextChangesAloneAndTheSelectionHoldsItAsSpelled) {
    make_mixed();
    const std::string text = wetest::text_of(we);
    std::string cyrillic;
    ASSERT_TRUE(pf::utf8_to_script("Москва", pf::kScriptCyrillic, cyrillic));
    const int32_t moscow = int32_t(text.find(cyrillic));
    ASSERT_GT(moscow, 0);
    select(moscow, moscow + 3);  // "Мос"
    ASSERT_EQ(set_font(pf::script_font(pf::kScriptJapanese)), pf::noErr);
    EXPECT_EQ(letters(), kMixed);
    EXPECT_EQ(sel_start(), moscow);
    EXPECT_EQ(sel_end(), moscow + 6);  // three characters of two bytes
    EXPECT_EQ(wetest::text_of(we).substr(0, size_t(moscow)), text.substr(0, size_t(moscow)));
    ASSERT_EQ(WEUndo(we), pf::noErr);
    EXPECT_EQ(wetest::text_of(we), text);
    EXPECT_EQ(sel_end(), moscow + 3);
    expect_valid();
}

// A font over text its script reads as it is takes the plain road: the same
// runs, the same undo, whether or not letters are asked to stay.
TEST_F(FontLetters, ARomanFontOverRomanTextIsAPlainStyleChange) {
    std::vector<wetest::Snapshot> results;
    for (uint16_t keep : {uint16_t(0), uint16_t(weDoKeepLetters)}) {
        make();
        set_text("Tokyo café crème");
        set_face(6, 10, pf::kBold);
        select(3, 12);
        WETextStyle style;
        style.tsFont = pf::kTimesFont;
        ASSERT_EQ(WESetStyle(uint16_t(weDoFont | keep), style, we), pf::noErr);
        results.push_back(wetest::snapshot(we));
        ASSERT_EQ(WEUndo(we), pf::noErr);
        results.push_back(wetest::snapshot(we));
        WEDispose(we);
        we = nullptr;
    }
    EXPECT_EQ(results[0], results[2]);
    EXPECT_EQ(results[1], results[3]);
}

}  // namespace
