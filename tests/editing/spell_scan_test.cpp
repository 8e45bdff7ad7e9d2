// The spelling scan over a layer's text cells with the US English dictionary:
// unknown words with their place in the cell, repeated words, the stop cell,
// long words, and cells that are not text left alone.
#include "../spelling/spelling_fixture.h"

#include "editing/find_scan.h"
#include "editing/spell_scan.h"
#include "model/layer.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "window/front_document.h"
#include "window/cell_entry.h"
#include "window/selection_tracking.h"

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

}  // namespace
