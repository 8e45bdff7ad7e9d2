// Cell data entry: every kind of entry against the stored cell, refusals
// that change nothing, and the undo record of an entry.
#include "entry_fixture.h"

#include <cairo.h>
#include <cmath>

#include "files/entry_cells.h"
#include "files/entry_script.h"
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "platform/text/text.h"
#include "model/cell_formats.h"
#include "model/display_text.h"
#include "platform/draw/port.h"
#include "ui/app_prefs.h"
#include "window/cell_geometry.h"
#include "window/keyboard_navigation.h"
#include "window/resizing.h"
#include "window/sheet_drawing.h"

namespace {

TEST_F(EntryTest, NumbersAreStoredAsConstantsWithTheTypedText) {
    struct Case {
        const char* typed;
        double value;
    } cases[] = {{"12", 12}, {"-3.5", -3.5}, {"1,234.5", 1234.5}, {"2e3", 2000}, {"1 1/2", 1.5}};
    for (const Case& c : cases) {
        ASSERT_EQ(enter_at(0, 0, c.typed), kEntryStored) << c.typed;
        const Stored s = stored(0, 0);
        EXPECT_EQ(s.type, kCellConstant) << c.typed;
        EXPECT_DOUBLE_EQ(s.number(), c.value) << c.typed;
        EXPECT_EQ(s.typed(), c.typed);
        EXPECT_EQ(s.result_type, kResultNumber);
    }
    EXPECT_EQ(stored(0, 0).code, kFormatFraction) << "a fraction shows as one";
    EXPECT_TRUE(store_is_sound(GetSpreadSheetCells(layer)));
}

TEST_F(EntryTest, NumbersFollowTheSystemsDecimalComma) {
    use_system_settings(',', '.', ';', '.', 1);
    ASSERT_EQ(enter_at(0, 0, "1.234,5"), kEntryStored);
    EXPECT_EQ(stored(0, 0).type, kCellConstant);
    EXPECT_DOUBLE_EQ(stored(0, 0).number(), 1234.5);
    ASSERT_EQ(enter_at(1, 0, "15/3/2024"), kEntryStored);
    const Stored date = stored(1, 0);
    EXPECT_EQ(date.type, kCellConstant);
    EXPECT_TRUE(is_date_format(date.code));
    EXPECT_EQ(date.flags_b & 0x1E, 0x08) << "day-month-year order";
}

TEST_F(EntryTest, PercentagesAreHundredthsInPercentFormat) {
    ASSERT_EQ(enter_at(0, 0, "12.5%"), kEntryStored);
    const Stored s = stored(0, 0);
    EXPECT_EQ(s.type, kCellConstant);
    EXPECT_DOUBLE_EQ(s.number(), 0.125);
    EXPECT_EQ(s.code, kFormatPercent);
    EXPECT_EQ(s.typed(), "12.5%");
    ASSERT_EQ(enter_at(1, 0, "abc%"), kEntryStored);
    EXPECT_EQ(stored(1, 0).type, kCellText) << "only a number before the sign makes a percentage";
}

TEST_F(EntryTest, DatesAndTimesTakeTheirFormats) {
    app_prefs.default_format[5] = 3;
    ASSERT_EQ(enter_at(0, 0, "3/15/2024"), kEntryStored);
    EXPECT_EQ(stored(0, 0).type, kCellConstant);
    EXPECT_EQ(stored(0, 0).code, 3) << "the preferences' date format";
    EXPECT_EQ(stored(0, 0).flags_b & 0x1E, 0x02);
    EXPECT_EQ(stored(0, 0).typed(), "3/15/2024");
    ASSERT_EQ(enter_at(1, 0, "10:30"), kEntryStored);
    EXPECT_EQ(stored(1, 0).code, 21);
    EXPECT_NEAR(std::fmod(stored(1, 0).number(), 1.0), 10.5 / 24, 1e-9);
    ASSERT_EQ(enter_at(2, 0, "10:30:15"), kEntryStored);
    EXPECT_EQ(stored(2, 0).code, 22);
    ASSERT_EQ(enter_at(3, 0, "3/15/2024 10:30"), kEntryStored);
    EXPECT_EQ(stored(3, 0).code, 25);
}

// A text read from a file makes the cell that typing it makes: its type, its
// format code, decimals and date order, its number and the text kept with it,
// or its formula (a file's formula keeps the file's result, a typed one is
// calculated at once).
TEST_F(EntryTest, TypingAndImportOfOneTextMakeOneCell) {
    app_prefs.default_format[5] = 3;
    const char* texts[] = {"12",      "1,234.5",   "1 1/2",           "12.5%",      "3/15/2024", "10:30",
                           "10:30:15", "3/15/2024 10:30", "=1+2",     "=DATE(2024,1,2)", "=NOW()-1", "words",
                           "="};
    int16_t row = 0;
    for (const char* text : texts) {
        ASSERT_EQ(enter_at(row, 0, text), kEntryStored) << text;
        const Stored typed = stored(row, 0);
        uint8_t header[kCellHeaderSize];
        get_format(header, CellPoint{row, 0}, layer);
        std::string imported;
        append_entry_cell(imported, EntryCell{CellPoint{row, 0}, header, text}, layer);
        ASSERT_GE(imported.size(), size_t(kCellHeaderSize)) << text;
        const auto* cell = reinterpret_cast<const uint8_t*>(imported.data());
        EXPECT_EQ(_cellType_(cell), typed.type) << text;
        EXPECT_EQ(cell[kFmtCode], typed.code) << text;
        EXPECT_EQ(cell[kFmtFlagsB], typed.flags_b) << text;
        EXPECT_EQ(std::vector<uint8_t>(_formulaPtr_(cell), _formulaPtr_(cell) + _formulaLength_(cell)), typed.body)
            << text;
        ++row;
    }
    // What the two used to disagree on: a time read from a file takes a time
    // format, and a date the order it was read in.
    EXPECT_EQ(stored(5, 0).code, 21);
    EXPECT_EQ(stored(4, 0).flags_b & kDateOrderMask, 0x02);
}

// A plain number typed into a date cell is a number, not a date, from a file too.
TEST_F(EntryTest, APlainNumberInADateCellTurnsGeneralFromAFileToo) {
    uint8_t header[kCellHeaderSize];
    GetDefaultFormat(header);
    header[kFmtCode] = 3;
    std::string imported;
    append_entry_cell(imported, EntryCell{CellPoint{0, 0}, header, "45"}, layer);
    const auto* cell = reinterpret_cast<const uint8_t*>(imported.data());
    EXPECT_EQ(_cellType_(cell), kCellConstant);
    EXPECT_EQ(cell[kFmtCode], kFormatGeneral);
    EXPECT_EQ(load_f64(_formulaPtr_(cell)), 45);
}

TEST_F(EntryTest, TextsQuotedTextsAndALoneEqualSignAreText) {
    for (const char* typed : {"hello", "'123", "=", "12 apples"}) {
        ASSERT_EQ(enter_at(0, 0, typed), kEntryStored) << typed;
        EXPECT_EQ(stored(0, 0).type, kCellText) << typed;
        EXPECT_EQ(stored(0, 0).body_text(), typed);
    }
}

TEST_F(EntryTest, FormulasAreStoredWithTheirFirstResult) {
    put_number(0, 0, 1);
    put_number(1, 0, 2);
    put_number(2, 0, 3);
    ASSERT_EQ(enter_at(3, 0, "=SUM(A1:A3)"), kEntryStored);
    const Stored s = stored(3, 0);
    EXPECT_EQ(s.type, kCellFormula);
    EXPECT_EQ(s.result_type, kResultNumber);
    EXPECT_DOUBLE_EQ(result(3, 0), 6);
    EXPECT_EQ(formula(3, 0), "=SUM(A1:A3)");
    ASSERT_EQ(enter_at(4, 0, "=\"a\"&\"b\""), kEntryStored);
    EXPECT_EQ(stored(4, 0).result_type, kResultText);
    EXPECT_EQ(text_result(4, 0), "ab");
    ASSERT_EQ(enter_at(5, 0, "=25%"), kEntryStored);
    EXPECT_DOUBLE_EQ(result(5, 0), 0.25);
}

TEST_F(EntryTest, RefusedFormulasChangeNothingAndMarkTheirFault) {
    ASSERT_EQ(enter_at(0, 0, "7"), kEntryStored);
    const auto before = workbook_state();
    const int undos = undo_count();
    uint16_t offset = 0;
    select(0, 0);
    EXPECT_GT(type_entry("=1+*2", 0, &offset), 1);
    EXPECT_GE(offset, 2);
    EXPECT_LE(offset, 3);
    EXPECT_EQ(type_entry("=SUM(1,2", 0, &offset), kParseMissingClose);
    EXPECT_EQ(type_entry("=A1+1"), kEntryCircular) << "its own cell";
    EXPECT_EQ(workbook_state(), before);
    EXPECT_EQ(undo_count(), undos);
}

TEST_F(EntryTest, CircularReferencesThroughOtherCellsAreRefused) {
    put_formula(0, 1, "=A1*2");
    EXPECT_EQ(enter_at(0, 0, "=B1+1"), kEntryCircular);
    EXPECT_FALSE(has_cell(0, 0));
}

TEST_F(EntryTest, LongTextsAreKeptWholeAndLongFormulasRefused) {
    const std::string long_text(300, 'x');
    ASSERT_EQ(enter_at(0, 0, long_text), kEntryStored);
    EXPECT_EQ(stored(0, 0).type, kCellText);
    EXPECT_EQ(stored(0, 0).body_text(), long_text);

    ASSERT_EQ(enter_at(1, 0, "5"), kEntryStored);
    std::string long_formula = "=1";
    while (long_formula.size() < 300) long_formula += "+1";
    EXPECT_EQ(enter_at(1, 0, long_formula), kEntryFormulaTooLong);
    EXPECT_DOUBLE_EQ(stored(1, 0).number(), 5) << "the old cell stays";

    EXPECT_EQ(enter_at(2, 0, std::string(40000, 'y')), kEntryTooLong);
    EXPECT_FALSE(has_cell(2, 0));
}

TEST_F(EntryTest, AnEmptyEntryKeepsFormatLabelAndNote) {
    std::vector<uint8_t> block(kRowHeaderSize + kCellHeaderSize + 2 + 4 + kNumberSlotSize + 1, 0);
    _SetRowID_(block.data(), 0);
    _SetRowLength_(block.data(), uint32_t(block.size()));
    uint8_t* cell = block.data() + kRowHeaderSize;
    GetDefaultFormat(cell);
    _SetCellID_(cell, 0);
    cell[kFmtCode] = 'P';
    cell[kFmtCellType] = kCellConstant;
    cell[kFmtLabelLength] = 2;
    cell[kFmtNoteLength] = 4;
    std::memcpy(_labelPtr_(cell), "Lbnote", 6);
    _SetCellLength_(cell, int16_t(block.size() - kRowHeaderSize));
    _SetFormulaLength_(cell, kNumberSlotSize + 1);
    store_i16(cell + kFmtStyleLength, 0);
    store_f64(_formulaPtr_(cell), 9);
    _constTextPtr_(cell)[0] = '9';
    CellRange at{{0, 0}, {0, 0}};
    InputCell(&at, block.data(), int32_t(block.size()), layer);
    ASSERT_EQ(enter_at(0, 0, ""), kEntryStored);
    const Stored s = stored(0, 0);
    EXPECT_EQ(s.type, kCellFormatOnly);
    EXPECT_EQ(s.code, 'P');
    EXPECT_TRUE(s.body.empty());
    unsigned char label[256], note[256];
    GetCellStrings(CellPoint{0, 0}, label, note, layer);
    EXPECT_EQ(text_of(label), "Lb");
    EXPECT_EQ(text_of(note), "note");
    ASSERT_EQ(type_entry("=2*3"), kEntryStored);
    GetCellStrings(CellPoint{0, 0}, label, note, layer);
    EXPECT_EQ(text_of(note), "note") << "typing never removes a note";
}

TEST_F(EntryTest, AnEntryIsOneUndoableStep) {
    ASSERT_EQ(enter_at(0, 0, "5"), kEntryStored);
    const auto five = workbook_state();
    ASSERT_EQ(enter_at(0, 0, "hello"), kEntryStored);
    EXPECT_EQ(undo_kind(), kUndoEntry);
    DoUndo(workbook);
    EXPECT_EQ(workbook_state(), five);
    DoUndo(workbook);
    EXPECT_FALSE(has_cell(0, 0));
}

// A port for measuring text, as the document window's is.
class MeasuringPort {
public:
    MeasuringPort() : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 64)) {
        pf::open_port(port_, surface_, 64, 64);
        pf::set_port(&port_);
    }
    ~MeasuringPort() {
        pf::set_port(nullptr);
        pf::close_port(port_);
        cairo_surface_destroy(surface_);
    }

private:
    cairo_surface_t* surface_;
    pf::Port port_;
};

// A plain entry keeps the height the user gave its row; a wrapped one fits
// its row, and Undo and Redo of that entry take the height with the cells.
TEST_F(EntryTest, OnlyWrappedOrStyledEntriesRefitTheirRowAndUndoTakesTheHeightBack) {
    MeasuringPort measuring;
    ASSERT_EQ(apply_row_height(layer, cells(2, 0, 2, kLastCell), 40), 1);
    const auto dragged = workbook_state();
    ASSERT_EQ(enter_at(2, 0, "hello"), kEntryStored);
    EXPECT_EQ(GetRowSize(2, layer), 40) << "the user's height stays";
    ASSERT_EQ(enter_at(2, 1, "12"), kEntryStored);
    EXPECT_EQ(GetRowSize(2, layer), 40);
    DoUndo(workbook);
    DoUndo(workbook);
    EXPECT_EQ(workbook_state(), dragged);

    // Column C wraps its text in 40 pixels.
    ASSERT_EQ(InputColumnFormat(layer, 2 << 16 | 2), 0);
    SetColumnByte(2, 2, kFmtAlign, 10 + 6, false, GetSpreadSheetColumnFormats(layer));  // option bit 6: wrap
    SetColumnSize(2, 2, 40, GetSpreadSheetColumnFormats(layer));
    const int16_t one_line = GetRowSize(5, layer);
    const auto before = workbook_state();
    ASSERT_EQ(enter_at(5, 2, "one two three four five six"), kEntryStored);
    const int16_t fitted = GetRowSize(5, layer);
    EXPECT_GT(fitted, 2 * one_line) << "wrapped lines make the row taller";
    const auto entered = workbook_state();
    DoUndo(workbook);
    EXPECT_EQ(GetRowSize(5, layer), one_line);
    EXPECT_EQ(workbook_state(), before);
    DoRedo(workbook);
    EXPECT_EQ(GetRowSize(5, layer), fitted);
    EXPECT_EQ(workbook_state(), entered);
    DoUndo(workbook);
    EXPECT_EQ(workbook_state(), before);

    // In the user's 40-pixel row a short wrapped entry fits to one line, and
    // Undo brings the 40 back.
    ASSERT_EQ(GetRowSize(2, layer), 40);
    const auto tall = workbook_state();
    ASSERT_EQ(enter_at(2, 2, "a"), kEntryStored);
    EXPECT_LT(GetRowSize(2, layer), 40);
    DoUndo(workbook);
    EXPECT_EQ(workbook_state(), tall);

    // A layer that keeps its row heights keeps them for wrapped text too.
    SetSheetFlags(layer, GetSheetFlags(layer) | kLayerFixedRowHeights);
    ASSERT_EQ(enter_at(2, 2, "one two three four five six"), kEntryStored);
    EXPECT_EQ(GetRowSize(2, layer), 40);
}

// An entry whose one style run sets a size of its own fits its row, as one in
// several runs does; a run in the cell's own look leaves the row alone.
TEST_F(EntryTest, AnEntryInASizeOfItsOwnRefitsItsRow) {
    MeasuringPort measuring;
    ASSERT_EQ(apply_row_height(layer, cells(0, 0, 1, kLastCell), 40), 1);
    auto enter_in_size = [&](int16_t row, int16_t size) {
        select(row, 0);
        std::string runs(2 + kRunEntrySize, '\0');
        auto* table = reinterpret_cast<uint8_t*>(runs.data());
        store_i16(table, 1);
        store_i16(table + 2 + kRunFont, Get_Default_Font(layer));
        store_i16(table + 2 + kRunFontSize, size);
        const std::string text = "big";
        MemoryRef block = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
        MemoryRef styles = Bytes2Memory(&mem_globals, runs.data(), 1, int32_t(runs.size()));
        uint16_t offset = 0;
        const int32_t answer = Enter_Data(layer, block, styles, &offset, 0);
        DisposeMemory(block);
        DisposeMemory(styles);
        return answer;
    };
    ASSERT_EQ(enter_in_size(0, Get_Default_Size(layer)), kEntryStored);
    EXPECT_EQ(GetRowSize(0, layer), 40) << "the run only repeats the cell's look";
    const auto before = workbook_state();
    ASSERT_EQ(enter_in_size(1, 24), kEntryStored);
    EXPECT_NE(GetRowSize(1, layer), 40);
    EXPECT_GT(GetRowSize(1, layer), GetRowSize(2, layer)) << "taller than a row of the default size";
    DoUndo(workbook);
    EXPECT_EQ(workbook_state(), before);
}

TEST_F(EntryTest, TheCommittingKeyMovesTheSelection) {
    select(0, 0);
    ASSERT_EQ(type_entry("1", kKeyReturn), kEntryStored);
    EXPECT_EQ(selection(), cells(1, 0, 1, 0));
    ASSERT_EQ(type_entry("2", kKeyTab), kEntryStored);
    EXPECT_EQ(selection(), cells(1, 1, 1, 1));
    ASSERT_EQ(type_entry("3", kKeyEnter), kEntryStored);
    EXPECT_EQ(selection(), cells(1, 1, 1, 1)) << "Enter stays without the preference";
}

TEST_F(EntryTest, AStoredEntryRestartsTheRecalculation) {
    ASSERT_EQ(enter_at(0, 0, "1"), kEntryStored);
    ASSERT_EQ(enter_at(1, 0, "=A1*10"), kEntryStored);
    run_until_rest();
    ASSERT_EQ(enter_at(0, 0, "4"), kEntryStored);
    run_until_rest();
    EXPECT_DOUBLE_EQ(result(1, 0), 40);
}

}  // namespace

namespace {

// Text typed a piece at a time, each piece (UTF-8) in the font of its script,
// as the entry line hands it over: the bytes and their run table.
struct TypedRuns {
    std::string text;
    std::string runs;
};

TypedRuns typed_in_scripts(const std::vector<std::pair<std::string, int16_t>>& pieces) {
    TypedRuns t;
    t.runs.assign(2, '\0');
    for (const auto& [utf8, script] : pieces) {
        std::string bytes;
        EXPECT_TRUE(pf::utf8_to_script(utf8, script, bytes)) << utf8;
        std::string run(kRunEntrySize, '\0');
        auto* entry = reinterpret_cast<uint8_t*>(run.data());
        store_i32(entry + kRunStart, int32_t(t.text.size()));
        store_i16(entry + kRunFont, pf::script_font(script));
        store_i16(entry + kRunFontSize, 12);
        t.runs += run;
        t.text += bytes;
    }
    store_i16(reinterpret_cast<uint8_t*>(t.runs.data()), int16_t(pieces.size()));
    return t;
}

}  // namespace

// Typed letters of two scripts that no one script spells together are kept
// in their runs, as an imported or pasted text of them is: the one road.
TEST_F(EntryTest, TypedTextOfTwoScriptsIsKeptInItsRunsAsImportedTextIs) {
    const TypedRuns typed = typed_in_scripts({{"ö ", pf::kScriptRoman}, {"東京", pf::kScriptJapanese}});
    select(0, 0);
    MemoryRef text = Bytes2Memory(&mem_globals, typed.text.data(), 1, int32_t(typed.text.size()));
    MemoryRef styles = Bytes2Memory(&mem_globals, typed.runs.data(), 1, int32_t(typed.runs.size()));
    uint16_t offset = 0;
    ASSERT_EQ(Enter_Data(layer, text, styles, &offset, 0), kEntryStored);
    DisposeMemory(text);
    DisposeMemory(styles);
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer));
    EXPECT_EQ(_cellType_(cell), kCellText);
    ASSERT_EQ(_styleLength_(cell), int16_t(typed.runs.size()));
    const std::string_view stored(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
    EXPECT_EQ(cell_field_utf8(cell, stored, Get_Default_Font(layer)), "ö 東京");

    // The same text read from a file makes the same cell.
    uint8_t header[kCellHeaderSize];
    get_format(header, CellPoint{0, 0}, layer);
    std::string field = "ö 東京", runs, imported;
    uint8_t spelled[kCellHeaderSize];
    int32_t unspelled = 0;
    EntryCell entry{CellPoint{0, 0}, spell_field_for_cell(field, runs, header, spelled, layer, unspelled), field};
    entry.runs = runs;
    append_entry_cell(imported, entry, layer);
    const auto* read = reinterpret_cast<const uint8_t*>(imported.data());
    EXPECT_EQ(unspelled, 0);
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(_formulaPtr_(read)), size_t(_formulaLength_(read))), stored);
    EXPECT_EQ(_styleLength_(read), _styleLength_(cell));
}
