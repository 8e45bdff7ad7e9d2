// Every kind of change, done and undone, and redone: undo gives back every
// layer of the workbook as it was before the change, and redo as it was
// after it (cells, column and row formats, default formats, names). The same
// corpus runs again with a memory ceiling so small that the records' blocks
// live in the swap file between the steps.
#include <functional>

#include "undo_fixture.h"
#include "model/cell_formats.h"
#include "model/insert_delete.h"

namespace {

// A format array of records of `size` bytes with the given ids, each record's
// extent word set to `extent`.
MemoryRef format_array(int32_t size, std::initializer_list<int16_t> ids, int16_t extent) {
    MemoryRef array = pgAllocateNewRef(&mem_globals, size, 0, 4, true);
    for (int16_t id : ids) {
        std::vector<uint8_t> record(size_t(size), 0);
        GetDefaultFormat(record.data());
        set_format_id(record.data(), id);
        store_i16(record.data() + kFmtExtent, extent);
        PtrAndMemory(record.data(), array, 1);
    }
    return array;
}

class RoundTrip : public UndoTest, public ::testing::WithParamInterface<std::tuple<int, bool>> {
protected:
    MemoryRef second = nullptr;

    void SetUp() override {
        UndoTest::SetUp();
        second = add_layer(workbook);
        fill_workbook();
        if (std::get<1>(GetParam())) use_small_memory(32 * 1024);
    }

    // Numbers, texts and formulas pointing every way, names, formats, and
    // references from the second layer.
    void fill_workbook() {
        for (int16_t row = 0; row < 30; ++row) {
            put_number(row, 0, row + 1);
            put_text(row, 1, "item " + std::to_string(row));
            put_formula(row, 2, "=A" + std::to_string(row + 1) + "*2");
            if (row > 0) put_formula(row, 3, "=SUM($A$1:A" + std::to_string(row) + ")+E1");
        }
        put_number(0, 4, 7);
        put_formula(0, 5, "=C5+A30");
        define_name("top", cells(0, 0, 4, 1));
        define_name("column", cells(0, 2, 29, 2));
        SetSpreadSheetColumnFormats(layer, format_array(kColumnFormatSize, {0, 2, 6}, 90));
        SetSpreadSheetRowFormats(layer, format_array(kRowFormatSize, {1, 3, 20}, 18));
        SpreadSheet* sheet = use_layer(layer);
        const int16_t row_breaks[] = {4, 12}, column_breaks[] = {1, 3};
        sheet->row_page_breaks = Bytes2Memory(&mem_globals, row_breaks, 2, 2);
        sheet->column_page_breaks = Bytes2Memory(&mem_globals, column_breaks, 2, 2);
        release_layer(layer);
        put_formula(0, 0, "=1:A5+1:$C$10", second);
        put_formula(1, 0, "=SUM(1:A2:C8)", second);
    }

    // The writers of the cell kinds: the record, then the change.
    void change_cells(int16_t kind, int16_t extent, CellRange range, bool copying_writer) {
        MemoryRef copy = nullptr;
        ASSERT_TRUE(CopyCellInfo(range.topLeft, range.botRight, &copy, store()));
        MemoryRef columns = saves_column_formats(extent) ? MemoryDuplicate(GetSpreadSheetColumnFormats(layer)) : nullptr;
        MemoryRef rows = saves_row_formats(extent) ? MemoryDuplicate(GetSpreadSheetRowFormats(layer)) : nullptr;
        if (copying_writer) {
            ASSERT_EQ(WriteUndo(kind, extent, &range, nullptr, copy, nullptr, columns, rows, nullptr, nullptr, layer), 1);
            for (MemoryRef block : {copy, columns, rows}) DisposeNonNilMemory(block);
        } else {
            ASSERT_EQ(WriteMemUndo(kind, extent, &range, nullptr, copy, nullptr, columns, rows, nullptr, layer), 1);
        }
        if (kind == kUndoCut || kind == kUndoClear) {
            clobberCache(layer);
            Clear_Cells(&range, store());
        } else {
            for (int16_t row = range.topLeft.v; row <= std::min<int16_t>(range.botRight.v, 40); ++row)
                for (int16_t column = range.topLeft.h; column <= std::min<int16_t>(range.botRight.h, 6); ++column)
                    put_number(row, column, 1000 + row * 10 + column);
        }
        if (saves_column_formats(extent))
            DisposeNonNilMemory(layer_takes(layer, &SpreadSheet::column_formats, format_array(kColumnFormatSize, {1}, 40)));
        if (saves_row_formats(extent))
            DisposeNonNilMemory(layer_takes(layer, &SpreadSheet::row_formats, nullptr));
        // The commands of the cell kinds may change the layer's default widths
        // too; table format and font leave them here.
        if (kind != kUndoTableFormat && kind != kUndoFont) set_default_extents(33, 55);
    }

    void set_default_extents(int16_t row_height, int16_t column_width) {
        SpreadSheet* sheet = use_layer(layer);
        store_i16(sheet->default_row_format + kFmtExtent, row_height);
        store_i16(sheet->default_column_format + kFmtExtent, column_width);
        release_layer(layer);
    }

    void change_sizes(int16_t kind) {
        const bool rows = kind == kUndoRowHeight;
        CellRange range = rows ? cells(3, 0, 3, kLastCell) : cells(0, 2, kLastCell, 2);
        MemoryRef formats = rows ? GetSpreadSheetRowFormats(layer) : GetSpreadSheetColumnFormats(layer);
        ASSERT_EQ(WriteUndo(kind, 0, &range, nullptr, nullptr, nullptr, rows ? nullptr : formats,
                            rows ? formats : nullptr, nullptr, nullptr, layer), 1);
        MemoryRef changed = rows ? format_array(kRowFormatSize, {1, 3, 20}, 40) : format_array(kColumnFormatSize, {0, 2, 6}, 150);
        DisposeNonNilMemory(layer_takes(layer, rows ? &SpreadSheet::row_formats : &SpreadSheet::column_formats, changed));
        SpreadSheet* sheet = use_layer(layer);
        store_i16((rows ? sheet->default_row_format : sheet->default_column_format) + kFmtExtent, rows ? 25 : 99);
        release_layer(layer);
    }

    void insert_or_delete(int16_t kind, CellRange range) {
        select_range(range);
        const int16_t rows = range.topLeft.h == 0 && range.botRight.h == kLastCell;
        ASSERT_EQ(kind == kUndoInsertRowsColumns ? insert_rowcol(layer, rows) : delete_rowcol(layer, rows), 0);
    }

    void move(int16_t kind, CellRange range, int16_t drow, int16_t dcol) {
        select_range(range);
        ASSERT_EQ(MoveSheetCells(dcol, drow, 0, kind, layer), 0);
    }

    void apply(int which) {
        switch (which) {
            case 0: return change_cells(kUndoCut, kExtentRange, cells(2, 0, 6, 2), false);
            case 1: return change_cells(kUndoPaste, kExtentRange, cells(10, 1, 14, 4), false);
            case 2: return change_cells(kUndoClear, kExtentRange, cells(0, 0, 29, 3), true);
            case 3: return change_cells(kUndoSort, kExtentRange, cells(5, 0, 9, 3), false);
            case 4: return change_cells(kUndoEntry, kExtentRange, cells(7, 2, 7, 2), true);
            case 5: return change_cells(kUndoFormat, kExtentBoth, cells(0, 0, 29, 5), false);
            case 6: return change_cells(10, kExtentRange, cells(0, 0, 2, 2), false);
            case 7: return change_cells(11, kExtentRange, cells(0, 0, 2, 2), false);
            case 8: return change_cells(kUndoFillDown, kExtentRange, cells(0, 0, 20, 0), false);
            case 9: return change_cells(kUndoFillRight, kExtentRange, cells(4, 0, 4, 6), false);
            case 10: return change_cells(kUndoTableFormat, kExtentColumns, cells(0, 0, 10, 4), false);
            case 11: return change_cells(kUndoFont, kExtentRows, cells(0, 0, 10, 4), false);
            case 12: return change_cells(kUndoFillDownAlternate, kExtentRange, cells(1, 1, 9, 1), false);
            case 13: return change_cells(kUndoFillRightAlternate, kExtentRange, cells(1, 1, 1, 5), false);
            case 14: return change_cells(kUndoFillSeries, kExtentRange, cells(0, 4, 12, 4), false);
            case 15: return change_cells(kUndoCut, kExtentColumns, cells(0, 1, kLastCell, 2), false);
            case 16: return change_sizes(kUndoRowHeight);
            case 17: return change_sizes(kUndoColumnWidth);
            case 18: return insert_or_delete(kUndoInsertRowsColumns, cells(3, 0, 5, kLastCell));
            case 19: return insert_or_delete(kUndoDeleteRowsColumns, cells(3, 0, 5, kLastCell));
            case 20: return insert_or_delete(kUndoInsertRowsColumns, cells(0, 1, kLastCell, 1));
            case 21: return insert_or_delete(kUndoDeleteRowsColumns, cells(0, 0, kLastCell, 0));
            case 22: return move(kUndoMove, cells(0, 0, 4, 2), 40, 3);
            case 23: return move(kUndoMove, cells(10, 0, 19, 3), -5, 2);
            case 24: return move(kUndoInsertCells, cells(5, 0, 29, 3), 4, 0);
            case 25: return move(kUndoDeleteCells, cells(8, 0, 29, 3), -3, 0);
            default:
                // Drawing-object kinds: nothing of the cells changes.
                ASSERT_EQ(WriteUndo(int16_t(which - 26 + kUndoClearObjects), 0, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, layer), 1);
        }
    }

    // Pushes every idle block out to the swap file in the small-memory runs.
    void squeeze() {
        if (swap) MemoryPurge(&mem_globals, 64 << 20, nullptr);
    }
};

constexpr int kChangeCount = 26 + (kLastUndoKind - kUndoClearObjects + 1);

TEST_P(RoundTrip, UndoGivesBackTheStateBeforeAndRedoTheStateAfter) {
    const int which = std::get<0>(GetParam());
    const auto before = workbook_state();
    apply(which);
    if (HasFatalFailure()) return;
    const auto after = workbook_state();
    const int16_t kind = undo_kind();
    ASSERT_NE(kind, 0);
    squeeze();
    if (swap) {
        MemoryRef saved = read_undo(pg_GetMultUndo(workbook_undo_list(workbook), -1)).first;
        EXPECT_TRUE(!saved || GetByteSize(saved) < kSmallestPurgedBytes || (saved->flags & kPurged)) << "the record's cells stayed in memory";
    }

    DoUndo(workbook);
    EXPECT_TRUE(undo_test::alerts.empty());
    EXPECT_EQ(undo_test::differences(workbook_state(), before), "") << "undo of change " << which;
    EXPECT_EQ(redo_kind(), kind);
    EXPECT_EQ(undo_count(), 0);
    squeeze();

    DoRedo(workbook);
    EXPECT_EQ(undo_test::differences(workbook_state(), after), "") << "redo of change " << which;
    EXPECT_EQ(redo_kind(), 0);
    EXPECT_EQ(undo_kind(), kind);
    squeeze();

    DoUndo(workbook);  // the redone change can be undone again
    EXPECT_EQ(undo_test::differences(workbook_state(), before), "") << "second undo of change " << which;
    EXPECT_TRUE(store_is_sound(store()));
    EXPECT_TRUE(undo_test::alerts.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryKind, RoundTrip,
                         ::testing::Combine(::testing::Range(0, kChangeCount), ::testing::Bool()),
                         [](const auto& info) {
                             return "change" + std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) ? "_purged" : "");
                         });

}  // namespace
