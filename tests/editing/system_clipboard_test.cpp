// The exchange with the system clipboard: copied cells go out as
// tab-separated UTF-8 rows, text from other programs (quoted fields, CR LF,
// characters Mac Roman lacks, long rows) pastes as cells.
#include "clipboard_fixture.h"
#include "files/entry_cells.h"
#include "model/cell_formats.h"
#include "model/cell_letters.h"
#include "model/layer_use.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/scrap/scrap.h"
#include "platform/text/scripts.h"

namespace {

class SystemClipboard : public ClipboardTest {
protected:
    void SetUp() override {
        ClipboardTest::SetUp();
        pf::headless_host_open(64, 48);
        pf::driver_reset();
        pf::scrap_reset();
    }
    void TearDown() override {
        ClipboardTest::TearDown();
        pf::host_close();
    }

    std::string system_text() {
        std::string text;
        pf::driver_system_clipboard(text);
        return text;
    }

    // Another program copies the text; it is pasted at the cell.
    int16_t paste_from_system(const std::string& utf8, CellPoint at) {
        pf::driver_set_system_clipboard(utf8);
        ReadClip();
        return paste(CellRange{at, at});
    }
};

TEST_F(SystemClipboard, CopiedCellsGoOutAsTabSeparatedRows) {
    put_number(0, 0, 1.5);
    put_text(0, 2, "caf\x8E");
    put_number(1, 1, -2);
    ASSERT_EQ(copy(cells(0, 0, 1, 2)), kEditDone);
    WriteClip();
    EXPECT_EQ(system_text(), "1.5\t\tcaf\u00e9\n\t-2\n");
    // Our own export does not come back as text: the cells paste as cells.
    put_formula(3, 0, "=A1*2");
    ASSERT_EQ(copy(cells(3, 0, 3, 0)), kEditDone);
    WriteClip();
    ReadClip();
    ASSERT_EQ(paste(cells(5, 0, 5, 0)), kEditDone);
    EXPECT_EQ(cell(5, 0), "F:=A3*2");
}

TEST_F(SystemClipboard, TextsWithTabsOrLineEndsGoOutQuotedAndComeBackWhole) {
    put_text(0, 0, "a\tb");
    put_text(0, 2, "two\rlines");
    put_number(1, 1, 7);
    ASSERT_EQ(copy(cells(0, 0, 1, 2)), kEditDone);
    WriteClip();
    const std::string exported = system_text();
    EXPECT_EQ(exported, "\"a\tb\"\t\t\"two\nlines\"\n\t7\n");
    ClobberScrap(0);  // the cells are gone: only the text is left to paste
    ASSERT_EQ(paste_from_system(exported, {5, 0}), kEditDone);
    EXPECT_EQ(cell(5, 0), "T:a\tb");
    EXPECT_EQ(cell(5, 2), "T:two\rlines");
    EXPECT_EQ(cell(6, 1), "C:7");
}

TEST_F(SystemClipboard, ATextBeginningWithAQuoteComesBackAsItWasWithTheCellsAfterIt) {
    put_text(0, 0, "\"quoted\" word");
    put_text(0, 1, "x");
    put_text(1, 0, "say \"hi\"");
    put_number(1, 1, 3);
    ASSERT_EQ(copy(cells(0, 0, 1, 1)), kEditDone);
    WriteClip();
    const std::string exported = system_text();
    EXPECT_EQ(exported, "\"\"\"quoted\"\" word\"\tx\n\"say \"\"hi\"\"\"\t3\n");
    ClobberScrap(0);
    ASSERT_EQ(paste_from_system(exported, {5, 0}), kEditDone);
    EXPECT_EQ(cell(5, 0), "T:\"quoted\" word");
    EXPECT_EQ(cell(5, 1), "T:x");
    EXPECT_EQ(cell(6, 0), "T:say \"hi\"");
    EXPECT_EQ(cell(6, 1), "C:3");
}

TEST_F(SystemClipboard, TheMenusCopyExportsAtOnceAndItsPasteTakesNewerText) {
    put_number(0, 0, 42);
    select_range(cells(0, 0, 0, 0));
    ASSERT_EQ(edit_cut_copy(layer, false), kEditDone);
    EXPECT_EQ(system_text(), "42");  // one cell: its text alone
    select_range(cells(3, 3, 3, 3));
    ASSERT_EQ(edit_paste(layer), kEditDone);
    EXPECT_EQ(cell(3, 3), "C:42");
    pf::driver_set_system_clipboard("7\t8\n");
    ASSERT_EQ(edit_paste(layer), kEditDone);
    EXPECT_EQ(cell(3, 4), "C:8");
}

TEST_F(SystemClipboard, ExportWaitsForForceOrASmallBlock) {
    for (int16_t row = 0; row < 20; ++row) put_number(row, 0, row);
    ASSERT_EQ(copy(cells(0, 0, 19, 0)), kEditDone);
    PutToScrap(0);
    EXPECT_EQ(system_text(), "");
    PutToScrap(1);
    EXPECT_EQ(system_text().substr(0, 4), "0\n1\n");
}

TEST_F(SystemClipboard, TextFromOtherProgramsPastesAsCells) {
    ASSERT_EQ(paste_from_system("a\t\"x\ty\"\t12\r\n\"two\nlines\"\t3.5\t\"say \"\"hi\"\"\"\r\n", {1, 1}),
              kEditDone);
    EXPECT_EQ(cell(1, 1), "T:a");
    EXPECT_EQ(cell(1, 2), "T:x\ty");
    EXPECT_EQ(cell(1, 3), "C:12");
    EXPECT_EQ(cell(2, 1), "T:two\rlines");
    EXPECT_EQ(cell(2, 2), "C:3.5");
    EXPECT_EQ(cell(2, 3), "T:say \"hi\"");
    EXPECT_EQ(cell(3, 1), "");
    EXPECT_EQ(selection(), cells(1, 1, 2, 3));
    EXPECT_EQ(undo_kind(), kUndoPaste);
}

TEST_F(SystemClipboard, FormulasInTextReferToTheCellsTheyName) {
    ASSERT_EQ(paste_from_system("=A1+1\n", {4, 2}), kEditDone);
    EXPECT_EQ(cell(4, 2), "F:=A1+1");
}

TEST_F(SystemClipboard, CharactersNoScriptSpellsAreReported) {
    ASSERT_EQ(paste_from_system("caf\u00e9\t\u4e2d\U0001F600\n", {0, 0}), kEditDone);
    EXPECT_EQ(cell(0, 0), "T:caf\x8E");
    EXPECT_EQ(cell(0, 1), "T:\x92\x86?");  // the Han character kept in the Japanese script
    EXPECT_TRUE(alert_says("U+1F600"));
    EXPECT_FALSE(alert_says("U+4E2D"));
}

uint16_t font_at(MemoryRef layer, int16_t row, int16_t column) {
    uint8_t* at = nullptr;
    int16_t length = 0;
    return get_cell_ptr(&at, &length, CellPoint{row, column}, layer) ? format_font(at) : 0;
}

// Text of other scripts goes out in UTF-8 from each cell's script and comes
// back in the script that spells it, each cell set in that script's font.
TEST_F(SystemClipboard, TextOfOtherScriptsGoesOutAndComesBackInItsScript) {
    put_text(0, 0, "\x93\x8C\x8B\x9E");  // Tokyo in Shift_JIS
    uint8_t* at = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&at, &length, CellPoint{0, 0}, layer));
    store_u16(at + kFmtFont, uint16_t(pf::script_font(pf::kScriptJapanese)));
    put_text(0, 1, "caf\x8E");
    ASSERT_EQ(copy(cells(0, 0, 0, 1)), kEditDone);
    WriteClip();
    EXPECT_EQ(system_text(), "\u6771\u4eac\tcaf\u00e9\n");
    ASSERT_EQ(copy(cells(0, 0, 0, 0)), kEditDone);
    WriteClip();
    EXPECT_EQ(system_text(), "\u6771\u4eac");

    ClobberScrap(0);
    ASSERT_EQ(paste_from_system("\u0391\u03b8\u03ae\u03bd\u03b1\t\uc11c\uc6b8\tplain\n", {2, 0}), kEditDone);
    EXPECT_EQ(font_at(layer, 2, 0), pf::script_font(pf::kScriptGreek));
    EXPECT_EQ(font_at(layer, 2, 1), pf::script_font(pf::kScriptKorean));
    EXPECT_EQ(cell(2, 2), "T:plain");
    EXPECT_EQ(font_at(layer, 2, 2), kDefaultFontNumber);
    copy(cells(2, 0, 2, 1));
    WriteClip();
    EXPECT_EQ(system_text(), "\u0391\u03b8\u03ae\u03bd\u03b1\t\uc11c\uc6b8\n");
}

std::string letters_at(MemoryRef layer, int16_t row, int16_t column) {
    uint8_t* at = nullptr;
    int16_t length = 0;
    const CellPoint where{row, column};
    return get_cell_ptr(&at, &length, where, layer) ? cell_unicode_text(at, where, layer) : std::string();
}

// Text another program copied reads as it was copied whatever the script of
// the layer's default font or of the font of the column it lands in: Mac
// Roman letters too, which a font of another script would read as others.
TEST_F(SystemClipboard, PastedTextReadsAsCopiedUnderAFontOfAnyScript) {
    const std::string copied = "na\u00efve caf\u00e9\tZ\u00fcrich\n\u00c5sa\tcr\u00e8me\n";
    const std::string expected[2][2] = {{"na\u00efve caf\u00e9", "Z\u00fcrich"}, {"\u00c5sa", "cr\u00e8me"}};
    int16_t row = 0;
    for (int16_t script : {pf::kScriptRoman, pf::kScriptJapanese, pf::kScriptCyrillic, pf::kScriptGreek,
                           pf::kScriptCentralEuro}) {
        LayerUse(layer)->font = pf::script_font(script);
        ASSERT_EQ(paste_from_system(copied, {row, 0}), kEditDone);
        for (int16_t r = 0; r < 2; ++r)
            for (int16_t c = 0; c < 2; ++c)
                EXPECT_EQ(letters_at(layer, int16_t(row + r), c), expected[r][c]) << "default of script " << script;
        row = int16_t(row + 2);
    }
    LayerUse(layer)->font = 1;
    InputColumnFormat(layer, 5 << 16 | 6);
    SetColumnByte(5, 6, kFmtFont, pf::script_font(pf::kScriptCyrillic), false, LayerUse(layer)->column_formats);
    ASSERT_EQ(paste_from_system(copied, {20, 5}), kEditDone);
    for (int16_t r = 0; r < 2; ++r)
        for (int16_t c = 0; c < 2; ++c)
            EXPECT_EQ(letters_at(layer, int16_t(20 + r), int16_t(5 + c)), expected[r][c]) << "Cyrillic column";
}

// Text dropped by another program keeps its scripts as a paste does; what it
// loses is told for the drop alone, and the clipboard's own losses wait for
// its next paste.
TEST_F(SystemClipboard, DroppedTextKeepsItsScriptsAndItsLossesApart) {
    ASSERT_EQ(paste_from_system("\u0e44\n", {0, 0}), kEditDone);
    EXPECT_TRUE(alert_says("U+0E44"));
    alert_requests().clear();

    std::string store;
    CellRange range{};
    dropped_text_to_cells("\u6771\u4eac\t\u0391\u03b8\u03ae\u03bd\u03b1\nplain\n", true, CellPoint{2, 0}, layer,
                          store, &range);
    EXPECT_TRUE(alert_requests().empty());
    set_layer_cells(layer, store);
    EXPECT_EQ(cell(2, 0), "T:\x93\x8C\x8B\x9E");
    EXPECT_EQ(font_at(layer, 2, 0), pf::script_font(pf::kScriptJapanese));
    EXPECT_EQ(font_at(layer, 2, 1), pf::script_font(pf::kScriptGreek));
    EXPECT_EQ(cell(3, 0), "T:plain");
    EXPECT_EQ(range, (CellRange{{2, 0}, {3, 1}}));

    store.clear();
    dropped_text_to_cells("a\t\U0001F600\n", true, CellPoint{0, 0}, layer, store, &range);
    EXPECT_TRUE(alert_says("U+1F600"));
    EXPECT_FALSE(alert_says("U+0E44"));
    alert_requests().clear();
    ASSERT_EQ(paste(CellRange{{5, 0}, {5, 0}}), kEditDone);
    EXPECT_TRUE(alert_says("U+0E44"));
    EXPECT_FALSE(alert_says("U+1F600"));
}

// A formula whose texts one script spells pastes and drops as a formula in
// that script's font; one whose texts need several scripts is kept as a text
// cell, every letter as written, and the paste or drop says so.
TEST_F(SystemClipboard, AFormulaOfSeveralScriptsPastesAndDropsAsTextAndIsTold) {
    const std::string formula_of_one = "=\"\u6771\u4eac\"&\"\u99c5\"";      // ="東京"&"駅"
    const std::string formula_of_two = "=\"\u6771\u4eac\"&\"\u00fc\"";      // ="東京"&"ü"
    const std::string greek_and_japanese = "=\"\u0391\u03b8\u03ae\u03bd\u03b1\u6771\u4eac\"";
    const std::string text = formula_of_one + "\t" + formula_of_two + "\t" + greek_and_japanese + "\n";
    const std::string told = "no one script spells";
    auto check = [&](int16_t row) {
        EXPECT_EQ(cell(row, 0).substr(0, 2), "F:");
        EXPECT_EQ(font_at(layer, row, 0), pf::script_font(pf::kScriptJapanese));
        for (int16_t column : {1, 2}) {
            uint8_t* at = nullptr;
            int16_t length = 0;
            ASSERT_TRUE(get_cell_ptr(&at, &length, CellPoint{row, column}, layer));
            EXPECT_EQ(_cellType_(at), kCellText);
            const std::vector<uint8_t> copy(at, at + _cellLength_(at));
            EXPECT_EQ(cell_unicode_text(copy.data(), CellPoint{row, column}, layer),
                      column == 1 ? formula_of_two : greek_and_japanese);
        }
    };
    alert_requests().clear();
    ASSERT_EQ(paste_from_system(text, {0, 0}), kEditDone);
    check(0);
    EXPECT_TRUE(alert_says(told));

    alert_requests().clear();
    std::string store;
    CellRange range{};
    ASSERT_TRUE(dropped_text_to_cells(text, true, CellPoint{2, 0}, layer, store, &range));
    set_layer_cells(layer, store);
    check(2);
    EXPECT_TRUE(alert_says(told));

    alert_requests().clear();
    ClobberScrap(0);
    ASSERT_EQ(paste_from_system(formula_of_one + "\n", {4, 0}), kEditDone);
    EXPECT_FALSE(alert_says(told));
}

TEST_F(SystemClipboard, LongRowsAndRowsPastTheGrid) {
    std::string row;
    for (int column = 0; column < 600; ++column) row += std::to_string(column) + "\t";
    row.back() = '\n';
    ASSERT_EQ(paste_from_system(row, {0, 0}), kEditDone);
    EXPECT_EQ(cell(0, 599), "C:599");
    const auto before = workbook_state();
    EXPECT_EQ(paste_from_system("1\n2\n3\n", {kLastCell - 1, 0}), kEditOffGrid);
    EXPECT_TRUE(workbook_state() == before);
}

}  // namespace
