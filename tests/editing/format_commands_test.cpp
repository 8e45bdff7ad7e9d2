// Format commands over a cell, a block, whole rows, whole columns and the
// whole layer, each undone and redone; the refusals and the questions about
// many records; the Clear command's partial clears, custom labels and notes;
// the codes of the Date and Time menus.
#include "undo_fixture.h"
#include "model/cell_formats.h"
#include "model/format_commands.h"

namespace {

class FormatCommands : public UndoTest {
protected:
    CellFormat cell_format(int16_t row, int16_t column) {
        CellFormat format;
        get_cell_format(format.bytes, CellPoint{row, column}, layer);
        return format;
    }
    bool has_cell(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        return get_cell_ptr(&cell, &length, CellPoint{row, column}, layer) != 0;
    }
    // A field of a row's or column's record; 0xEE when it has none.
    uint8_t record_field(bool rows, int16_t id, int field) {
        MemoryRef array = rows ? GetSpreadSheetRowFormats(layer) : GetSpreadSheetColumnFormats(layer);
        uint8_t* record = rows ? FindRowFormatID(array, id) : FindColumnFormatID(array, id);
        if (!record) return 0xEE;
        uint8_t value = record[field];
        UnuseMemory(array);
        return value;
    }
    uint8_t row_field(int16_t row, int field) { return record_field(true, row, field); }
    uint8_t column_field(int16_t column, int field) { return record_field(false, column, field); }
    int16_t bold(CellRange range, int16_t kind = kFormatUndoKind) {
        select_range(range);
        return Format_Sheet(kind, kFmtFace, 0, false, true, true, layer);
    }
    // Undo gives back `before` exactly; redo gives back `after`.
    void expect_undo_and_redo(const std::vector<undo_test::LayerState>& before) {
        const auto after = workbook_state();
        DoUndo(workbook);
        EXPECT_TRUE(workbook_state() == before) << undo_test::differences(workbook_state(), before);
        DoRedo(workbook);
        EXPECT_TRUE(workbook_state() == after) << undo_test::differences(workbook_state(), after);
    }
};

TEST_F(FormatCommands, OneCellAndABlockGetCellsWithTheFieldAndUndoTakesThemAway) {
    put_number(2, 1, 5);
    auto before = workbook_state();
    ASSERT_EQ(bold(cells(2, 1, 2, 1)), 1);
    EXPECT_EQ(cell_format(2, 1).bytes[kFmtFace], 0x01);
    EXPECT_EQ(undo_kind(), kFormatUndoKind);
    expect_undo_and_redo(before);

    before = workbook_state();
    ASSERT_EQ(bold(cells(1, 0, 3, 2)), 1);
    for (int16_t row = 1; row <= 3; ++row)
        for (int16_t column = 0; column <= 2; ++column) {
            EXPECT_TRUE(has_cell(row, column));
            EXPECT_EQ(cell_format(row, column).bytes[kFmtFace], 0x01);
        }
    EXPECT_EQ(result(2, 1), 5);  // the number stays
    EXPECT_TRUE(store_is_sound(store()));
    expect_undo_and_redo(before);
    DoUndo(workbook);
    EXPECT_FALSE(has_cell(1, 0));
}

TEST_F(FormatCommands, WholeRowsGetRowRecordsAndTheirCellsChange) {
    ASSERT_EQ(InputRowFormat(layer, (20 << 16) | 20), 0);
    put_number(6, 4, 1);
    auto before = workbook_state();
    ASSERT_EQ(bold(cells(5, 0, 9, kLastCell)), 1);
    for (int16_t row = 5; row <= 9; ++row) EXPECT_EQ(row_field(row, kFmtFace), 0x01);
    EXPECT_EQ(row_field(20, kFmtFace), 0);
    EXPECT_EQ(row_field(4, kFmtFace), 0xEE);  // no record made outside
    EXPECT_EQ(cell_format(6, 4).bytes[kFmtFace], 0x01);
    EXPECT_FALSE(has_cell(5, 0));  // no cells made for whole rows
    expect_undo_and_redo(before);
}

TEST_F(FormatCommands, WholeColumnsGetColumnRecordsAndTheirCellsChange) {
    put_number(100, 3, 0.5);
    auto before = workbook_state();
    select_range(cells(0, 2, kLastCell, 3));
    ASSERT_EQ(Format_Sheet(kFormatUndoKind, kFmtCode, 'I', false, true, true, layer), 1);
    EXPECT_EQ(column_field(2, kFmtCode), 'I');
    EXPECT_EQ(column_field(3, kFmtCode), 'I');
    EXPECT_EQ(column_field(4, kFmtCode), 0xEE);
    EXPECT_EQ(cell_format(100, 3).bytes[kFmtCode], 'I');
    expect_undo_and_redo(before);
}

TEST_F(FormatCommands, TheWholeLayerChangesDefaultsRecordsAndCellsWithoutMakingRecords) {
    ASSERT_EQ(InputRowFormat(layer, (3 << 16) | 3), 0);
    ASSERT_EQ(InputColumnFormat(layer, (7 << 16) | 7), 0);
    put_number(40, 40, 2);
    auto before = workbook_state();
    select_range(cells(0, 0, kLastCell, kLastCell));
    ASSERT_EQ(Format_Sheet(kFormatUndoKind, kFmtAlign, 2, false, true, true, layer), 1);
    EXPECT_EQ(GetMemorySize(GetSpreadSheetRowFormats(layer)), 1);
    EXPECT_EQ(GetMemorySize(GetSpreadSheetColumnFormats(layer)), 1);
    EXPECT_EQ(row_field(3, kFmtAlign), 2);
    EXPECT_EQ(column_field(7, kFmtAlign), 2);
    EXPECT_EQ(cell_format(40, 40).bytes[kFmtAlign], 2);
    SpreadSheet* sheet = use_layer(layer);
    EXPECT_EQ(sheet->default_column_format[kFmtAlign], 2);
    EXPECT_EQ(sheet->default_row_format[kFmtAlign], 2);
    release_layer(layer);
    expect_undo_and_redo(before);
}

TEST_F(FormatCommands, AFontChangeOnABlockKeepsTheRowRecordsForUndo) {
    ASSERT_EQ(InputRowFormat(layer, (1 << 16) | 1), 0);
    auto before = workbook_state();
    select_range(cells(1, 1, 2, 2));
    ASSERT_EQ(Format_Sheet(kFontUndoKind, kFmtSize, 18, false, true, true, layer), 1);
    SetRowSize(1, 1, 40, GetSpreadSheetRowFormats(layer));  // as the row heights follow the font
    EXPECT_EQ(cell_format(2, 2).bytes[kFmtSize], 18);
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before) << undo_test::differences(workbook_state(), before);
}

TEST_F(FormatCommands, ACellMadeInAFormattedRowKeepsTheRowsFormat) {
    ASSERT_EQ(bold(cells(5, 0, 5, kLastCell)), 1);
    select_range(cells(5, 2, 5, 3));
    ASSERT_EQ(Format_Sheet(kFormatUndoKind, kFmtFace, 1, false, true, true, layer), 1);
    EXPECT_EQ(cell_format(5, 2).bytes[kFmtFace], 0x03);  // bold from the row, italic from the command
}

TEST_F(FormatCommands, AProtectedWorkbookAndLockedCellsRefuseAndChangeNothing) {
    put_number(1, 1, 3);
    Set_Work_Flags(workbook, kWorkProtected);
    auto before = workbook_state();
    EXPECT_EQ(bold(cells(0, 0, 2, 2)), 0);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{kProtectedWorkbookAlert});
    EXPECT_TRUE(workbook_state() == before);
    Set_Work_Flags(workbook, 0);

    select_range(cells(1, 1, 1, 1));
    ASSERT_EQ(Format_Sheet(kFormatUndoKind, kFmtFlagsA, 0, false, true, true, layer), 1);  // the lock passes
    const int undos = undo_count();
    before = workbook_state();
    undo_test::alerts.clear();
    EXPECT_EQ(bold(cells(0, 0, 2, 2)), 0);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{kLockedCellsAlert});
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(undo_count(), undos);
    select_range(cells(0, 0, 2, 2));
    EXPECT_EQ(Format_Sheet(kFormatUndoKind, kFmtFlagsA, 0, true, true, true, layer), 1);  // unlocking passes
}

TEST_F(FormatCommands, ManyMissingRecordsAskFirstAndCancelLeavesAllAsItWas) {
    for (int16_t i = 0; i < 150; ++i) put_number(int16_t(i / 40), int16_t(i % 40), i);
    auto before = workbook_state();
    undo_test::alert_answer = 1;  // Cancel
    EXPECT_EQ(bold(cells(0, 0, 29, 39)), 0);
    ASSERT_EQ(undo_test::alerts.size(), 1u);
    EXPECT_EQ(undo_test::alerts[0], kManyCellsAlert | (1050 << 16));
    EXPECT_TRUE(workbook_state() == before);

    undo_test::alert_answer = 2;  // Continue
    EXPECT_EQ(bold(cells(0, 0, 29, 39)), 1);
    EXPECT_EQ(cell_format(29, 39).bytes[kFmtFace], 0x01);
    expect_undo_and_redo(before);

    undo_test::alerts.clear();
    undo_test::alert_answer = 1;
    EXPECT_EQ(bold(cells(0, 0, 300, kLastCell)), 0);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{kManyRowsAlert | (301 << 16)});
    undo_test::alerts.clear();
    EXPECT_EQ(bold(cells(0, 10, kLastCell, 210)), 0);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{kManyColumnsAlert | (201 << 16)});
    undo_test::alerts.clear();
    EXPECT_EQ(bold(cells(0, 0, kLastCell, kLastCell)), 1);  // the whole layer makes no records
    EXPECT_TRUE(undo_test::alerts.empty());
}

std::vector<std::pair<int32_t, int32_t>> progress;
void record_progress(MemoryRef, int32_t kind, int32_t done, int32_t total) {
    if (kind == 2) progress.emplace_back(done, total);
}

TEST_F(FormatCommands, MakingMoreThan500CellsShowsProgressRowByRow) {
    progress.clear();
    quorvin_rsrv.wait = record_progress;
    EXPECT_EQ(bold(cells(0, 0, 3, 100)), 1);  // 404 cells: no progress
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(bold(cells(10, 0, 14, 100)), 1);  // 505 cells in 5 rows
    quorvin_rsrv.wait = DefaultWaitProc;
    const std::vector<std::pair<int32_t, int32_t>> expected{{0, 100}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {100, 100}};
    EXPECT_EQ(progress, expected);
}

TEST_F(FormatCommands, CompanionBitsAreSetWithoutUndoOrNewRecords) {
    put_number(0, 0, 1);
    select_range(cells(0, 0, 1, 0));
    const CellRange range = selection();
    const int undos = undo_count();
    SetBits(kFmtFlagsB, 5, &range, false, false, true, layer);
    EXPECT_EQ(cell_format(0, 0).bytes[kFmtFlagsB], 0x20);
    EXPECT_FALSE(has_cell(1, 0));
    EXPECT_EQ(undo_count(), undos);
    SetBits(kFmtFlagsB, 5, &range, true, false, true, layer);
    EXPECT_EQ(cell_format(0, 0).bytes[kFmtFlagsB], 0);
}

TEST_F(FormatCommands, PartialClearsKeepWhatTheyPromise) {
    put_number(0, 0, 7);
    put_text(0, 1, "note me");
    select_range(cells(0, 0, 0, 2));
    ASSERT_EQ(Format_Sheet(kFormatUndoKind, kFmtFace, 1, false, true, true, layer), 1);
    AddCustomLabel(layer, reinterpret_cast<const unsigned char*>("\3 kg"), 0);
    AddCustomLabel(layer, reinterpret_cast<const unsigned char*>("\4memo"), 1);
    EXPECT_TRUE(store_is_sound(store()));
    unsigned char label[256], note[256];
    GetCellStrings(CellPoint{0, 0}, label, note, layer);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(label) + 1, label[0]), " kg");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(note) + 1, note[0]), "memo");
    EXPECT_EQ(result(0, 0), 7);

    MemoryRef copy = nullptr;
    ASSERT_EQ(copy_cells(0, CellPoint{0, 0}, CellPoint{0, 2}, &copy, layer), 0);
    ClearCellFormat(copy, layer);
    DisposeMemory(copy);
    EXPECT_TRUE(store_is_sound(store()));
    EXPECT_EQ(cell_format(0, 0).bytes[kFmtFace], 0);
    EXPECT_EQ(result(0, 0), 7);
    EXPECT_FALSE(has_cell(0, 2));  // the format-only cell went
    GetCellStrings(CellPoint{0, 1}, label, note, layer);
    EXPECT_EQ(label[0], 0);
    EXPECT_EQ(note[0], 4);

    select_range(cells(0, 0, 0, 1));
    ASSERT_EQ(Format_Sheet(kFormatUndoKind, kFmtFace, 2, false, true, true, layer), 1);
    ASSERT_EQ(copy_cells(0, CellPoint{0, 0}, CellPoint{0, 1}, &copy, layer), 0);
    ClearFormulas(copy, layer);
    DisposeMemory(copy);
    EXPECT_TRUE(store_is_sound(store()));
    EXPECT_EQ(_cellType_(cell_format(0, 0).bytes), kCellFormatOnly);
    EXPECT_EQ(cell_format(0, 1).bytes[kFmtFace], 0x04);
    GetCellStrings(CellPoint{0, 1}, label, note, layer);
    EXPECT_EQ(note[0], 4);
}

TEST(FormatMenuCodes, DateAndTimeItemsMapToTheirCodesAndBack) {
    EXPECT_EQ(date_verb(12), 110);
    EXPECT_EQ(date_verb(15), -1);  // the separator
    EXPECT_EQ(date_verb(16), -1);  // Custom opens a dialog
    EXPECT_EQ(format_to_dateitem(120), -1);
    EXPECT_EQ(time_verb(6), 28);
    EXPECT_EQ(format_to_timeitem(26), -1);  // not offered without the Japanese script
}

}  // namespace
