// The spelling scan over a layer's text cells with the US English dictionary:
// unknown words with their place in the cell, repeated words, the stop cell,
// long words, and cells that are not text left alone.
#include "../spelling/spelling_fixture.h"

#include "editing/find_scan.h"
#include "cell_look.h"
#include <array>

#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "platform/text/text.h"
#include "editing/spell_scan.h"
#include "editing/undo.h"
#include "files/entry_store.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "shell/shell_commands.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "window/front_document.h"
#include "window/cell_entry.h"
#include "window/selection_tracking.h"
#include "resource_ids.h"

namespace {

struct SpellScanTest : SpellingTest {
    MemoryRef layer = nullptr;

    void SetUp() override {
        SpellingTest::SetUp();
        ASSERT_TRUE(spelling_available());
        DoCommand(code_value("newd"));
        run_until_idle();
        layer = doc_window_layer(front_document_record());
        ASSERT_NE(layer, nullptr);
    }
    void enter(int16_t row, int16_t column, const std::string& text) {
        const CellRange range{{row, column}, {row, column}};
        LSelect(range.topLeft, &range, nullptr, 0, layer);
        MemoryRef block = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
        uint16_t at = 0;
        ASSERT_EQ(Enter_Data(layer, block, nullptr, &at, 0), kEntryStored) << text;
        DisposeMemory(block);
    }
    // Text of any script as typed in it: in the script's font.
    void enter_in_script(int16_t row, int16_t column, const std::string& utf8) {
        const pf::ScriptText spelled = pf::spell_in_a_script(utf8);
        ASSERT_EQ(spelled.unmapped, 0) << utf8;
        std::array<uint8_t, 2 + kRunEntrySize> runs{};
        store_i16(runs.data(), 1);
        store_i16(runs.data() + 2 + kRunFont, pf::script_font(spelled.script));
        store_i16(runs.data() + 2 + kRunFontSize, 12);
        const CellRange range{{row, column}, {row, column}};
        LSelect(range.topLeft, &range, nullptr, 0, layer);
        MemoryRef block = Bytes2Memory(&mem_globals, spelled.bytes.data(), 1, int32_t(spelled.bytes.size()));
        MemoryRef styles = Bytes2Memory(&mem_globals, runs.data(), 1, int32_t(runs.size()));
        uint16_t at = 0;
        ASSERT_EQ(Enter_Data(layer, block, styles, &at, 0), kEntryStored) << utf8;
        DisposeMemory(block);
        DisposeMemory(styles);
    }
    // Whether a cell holds the text as it is spelled in its script.
    bool holds(int16_t row, int16_t column, const std::string& utf8) {
        const std::vector<uint8_t> text = cell_contents_text(layer, CellPoint{row, column});
        return std::string(text.begin(), text.end()) == pf::spell_in_a_script(utf8).bytes;
    }
    struct Report {
        int16_t answer;
        CellPoint cell;
        int32_t start, length;
    };
    // The next report, the scan then moved past the word.
    Report next(SpellScan& scan) {
        int16_t reason = 0;
        const int16_t answer = spellcheck_cells(scan, &reason);
        const Report report{answer, scan.cell, scan.word_start, scan.word_length};
        if (answer) scan.offset = scan.word_start + scan.word_length;
        return report;
    }
    SpellScan scan_from(CellPoint cell) {
        SpellScan scan;
        scan.layer = layer;
        scan.cell = cell;
        return scan;
    }
};

TEST_F(SpellScanTest, UnknownAndRepeatedWordsInTextCellsOnly) {
    enter(0, 0, "This is teh house");
    enter(0, 1, "=\"wrogn\"");  // a formula is not checked
    enter(1, 0, "12345");
    enter(2, 0, "over the");
    enter(2, 1, "the hill, a a cat");
    SpellScan scan = scan_from(CellPoint{0, 0});
    Report r = next(scan);
    EXPECT_EQ(r.answer, kSpellScanUnknown);
    EXPECT_EQ(r.cell, (CellPoint{0, 0}));
    EXPECT_EQ(r.start, 8);
    EXPECT_EQ(r.length, 3);
    r = next(scan);  // the last word carries across cells
    EXPECT_EQ(r.answer, kSpellScanRepeated);
    EXPECT_EQ(r.cell, (CellPoint{2, 1}));
    EXPECT_EQ(r.start, 0);
    r = next(scan);  // punctuation between words, then a single letter twice
    EXPECT_EQ(r.answer, kSpellScanRepeated);
    EXPECT_EQ(r.start, 12);
    EXPECT_EQ(next(scan).answer, kSpellScanDone);
}

TEST_F(SpellScanTest, AStopCellEndsTheScanAndLongWordsKeepTheirLength) {
    enter(0, 0, "fine");
    enter(0, 2, "wrogn");
    enter(1, 0, "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz");
    SpellScan scan = scan_from(CellPoint{0, 0});
    scan.has_stop = true;
    scan.stop = CellPoint{0, 2};
    EXPECT_EQ(next(scan).answer, kSpellScanDone);
    scan = scan_from(CellPoint{0, 1});
    EXPECT_EQ(next(scan).cell, (CellPoint{0, 2}));
    const Report r = next(scan);
    EXPECT_EQ(r.answer, kSpellScanUnknown);
    EXPECT_EQ(r.length, 40);
}

TEST_F(SpellScanTest, TheWindowsWordsWrapOnceAndReplacementsAreStored) {
    enter(0, 0, "teh end");
    enter(3, 0, "a wrogn word and teh rest");
    LayerWords words = layer_words(layer, CellPoint{3, 0});
    const SpellWordSource source = layer_word_source(words);
    char word[kSpellWordLimit + 1];
    int16_t reason = 0;
    ASSERT_TRUE(source.next_word(source.context, word, &reason));
    EXPECT_STREQ(word, "wrogn");
    source.replace_word(source.context, "wrong");
    ASSERT_TRUE(source.next_word(source.context, word, &reason));
    EXPECT_STREQ(word, "teh");
    source.replace_word(source.context, "the");
    ASSERT_TRUE(source.next_word(source.context, word, &reason));  // from the top
    EXPECT_STREQ(word, "teh");
    EXPECT_EQ(words.scan.cell, (CellPoint{0, 0}));
    EXPECT_FALSE(source.next_word(source.context, word, &reason));  // stops where it began
    const std::vector<uint8_t> text = cell_contents_text(layer, CellPoint{3, 0});
    EXPECT_EQ(std::string(text.begin(), text.end()), "a wrong word and the rest");
}

// Words of scripts the US English dictionary is not written in (Cyrillic,
// Greek, Japanese, Korean, Chinese, and the letters of Czech and Polish) are
// passed over, each word whole; a misspelt Latin word among them is reported
// as it reads and replaced in its own script, its neighbours untouched.
TEST_F(SpellScanTest, OnlyLatinWordsOfTheDictionarysAlphabetAreChecked) {
    enter_in_script(0, 0, "The quick brwn fox");
    enter_in_script(1, 0, "P\u0159\u00edli\u0161 \u017elu\u0165ou\u010dk\u00fd k\u016f\u0148, "
                          "Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105");
    enter_in_script(2, 0, "\u041c\u043e\u0441\u043a\u0432\u0430 Moscw \u0441\u0442\u043e\u043b\u0438\u0446\u0430");
    enter_in_script(3, 0, "\u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1");
    enter_in_script(4, 0, "\u6771\u4eac \u30c7\u30fc\u30bf \u6771\u4eac");
    enter_in_script(5, 0, "\uc11c\uc6b8 \ud55c\uad6d\uc5b4");
    enter_in_script(6, 0, "\u5317\u4eac\u7b80\u4f53");
    LayerWords words = layer_words(layer, CellPoint{0, 0});
    const SpellWordSource source = layer_word_source(words);
    char word[kSpellWordLimit + 1];
    int16_t reason = 0;
    ASSERT_TRUE(source.next_word(source.context, word, &reason));
    EXPECT_STREQ(word, "brwn");
    source.replace_word(source.context, "brown");
    ASSERT_TRUE(source.next_word(source.context, word, &reason));
    EXPECT_STREQ(word, "Moscw");
    EXPECT_EQ(reason, kSpellScanUnknown);
    source.replace_word(source.context, "Moscow");
    EXPECT_FALSE(source.next_word(source.context, word, &reason));
    EXPECT_TRUE(holds(0, 0, "The quick brown fox"));
    EXPECT_TRUE(holds(2, 0, "\u041c\u043e\u0441\u043a\u0432\u0430 Moscow \u0441\u0442\u043e\u043b\u0438\u0446\u0430"));
    EXPECT_TRUE(holds(3, 0, "\u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1"));
}

// Change puts a replacement of several scripts in the cell as it reads, in a
// Roman cell and in a Cyrillic one, and the scan goes on behind it wherever
// its bytes lie; one that no installed script spells is refused with an
// alert, the cell left as it was.
TEST_F(SpellScanTest, AChangeInSeveralScriptsIsStoredAsItReads) {
    const std::string replacement = "caf\u00e9\u6771\u4eac";  // café東京
    const std::string tokyo = "\u6771\u4eac";
    enter(0, 0, "a wrogn teh rest");
    enter_in_script(1, 0, "\u041c\u043e\u0441\u043a\u0432\u0430 Moscw \u0441\u0442\u043e\u043b\u0438\u0446\u0430");
    enter(2, 0, "wrogn teh");
    enter(3, 0, "teh end");
    LayerWords words = layer_words(layer, CellPoint{0, 0});
    const SpellWordSource source = layer_word_source(words);
    char word[kSpellWordLimit + 1];
    int16_t reason = 0;
    const auto next_is = [&](const char* expected, CellPoint cell) {
        ASSERT_TRUE(source.next_word(source.context, word, &reason)) << expected;
        EXPECT_STREQ(word, expected);
        EXPECT_EQ(words.scan.cell, cell) << expected;
    };
    next_is("wrogn", CellPoint{0, 0});
    source.replace_word(source.context, replacement.c_str());
    next_is("teh", CellPoint{0, 0});
    source.replace_word(source.context, "the");
    EXPECT_EQ(cell_contents_utf8(layer, CellPoint{0, 0}), "a " + replacement + " the rest");

    next_is("Moscw", CellPoint{1, 0});
    source.replace_word(source.context, replacement.c_str());
    EXPECT_EQ(cell_contents_utf8(layer, CellPoint{1, 0}),
              "\u041c\u043e\u0441\u043a\u0432\u0430 " + replacement + " \u0441\u0442\u043e\u043b\u0438\u0446\u0430");

    next_is("wrogn", CellPoint{2, 0});
    source.replace_word(source.context, (tokyo + tokyo + tokyo + tokyo).c_str());  // 16 bytes, 24 in UTF-8
    next_is("teh", CellPoint{2, 0});

    next_is("teh", CellPoint{3, 0});
    alert_requests().clear();
    source.replace_word(source.context, "caf\u00e9\U0001F642");
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].alert_id, kUnspelledReplacementAlert);
    EXPECT_EQ(cell_contents_utf8(layer, CellPoint{3, 0}), "teh end");
    EXPECT_FALSE(source.next_word(source.context, word, &reason));
}

// Change over a styled cell of two scripts beyond Roman changes its letters
// only: the cell keeps its size, face, colour and alignment, its runs their
// fonts; undo brings back the word, the format kept.
TEST_F(SpellScanTest, AChangeKeepsTheFormatOfAStyledCell) {
    const std::string text = "\u00da\u010det \u2013 \u0411\u044e\u0434\u0436\u0435\u0442 wrogn";
    const CellPoint cell{0, 0};
    ASSERT_EQ(store_unicode_entry(layer, cell, text), kEntryStored);
    const CellRange range{cell, cell};
    LSelect(cell, &range, nullptr, 0, layer);
    DoStyleMenu(nullptr, 3);  // bold
    DoStyleMenu(nullptr, 4);  // italic
    DoSizeMenu(nullptr, 6);   // 18
    DoAlignMenu(nullptr, 4);  // right
    Format_Sheet(kFormatUndoKind, kFmtTextColour, 5, false, true, true, layer);
    const CellLook before = cell_look(layer, cell);
    ASSERT_EQ(before.face, 0x03);
    ASSERT_GE(before.runs.size(), 2u);

    LayerWords words = layer_words(layer, cell);
    const SpellWordSource source = layer_word_source(words);
    char word[kSpellWordLimit + 1];
    int16_t reason = 0;
    ASSERT_TRUE(source.next_word(source.context, word, &reason));
    EXPECT_STREQ(word, "wrogn");
    source.replace_word(source.context, "wrong");
    EXPECT_EQ(cell_contents_utf8(layer, cell), "\u00da\u010det \u2013 \u0411\u044e\u0434\u0436\u0435\u0442 wrong");
    EXPECT_EQ(look_changes(before, cell_look(layer, cell)), "");
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(cell_contents_utf8(layer, cell), text);
    EXPECT_EQ(look_changes(before, cell_look(layer, cell)), "");
}

}  // namespace
