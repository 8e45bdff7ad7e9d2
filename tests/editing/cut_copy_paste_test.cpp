// Cut, copy, clear and paste of cells: round trips with formats and moved
// references, the fitting of a block to selections of every shape, refusals
// that change nothing, and undo of each.
#include "clipboard_fixture.h"
#include "core/memory_internal.h"
#include "model/cell_formats.h"
#include "platform/events/keyboard.h"
#include "platform/events/events.h"
#include "platform/events/keyboard.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/windows/windows.h"
#include "locked_cell.h"

namespace {

constexpr uint8_t kFixedCode = 'F';

class CutCopyPaste : public ClipboardTest {};

TEST_F(CutCopyPaste, PastedBlockEqualsTheSourceWithReferencesMoved) {
    put_number(0, 0, 4);
    put_text(0, 1, "label");
    put_formula(1, 0, "=A1*2");
    put_formula(1, 1, "=$A$1+A1");
    set_format_code(0, 0, kFixedCode);
    ASSERT_EQ(copy(cells(0, 0, 1, 1)), kEditDone);
    const auto before = workbook_state();
    ASSERT_EQ(paste(cells(4, 3, 4, 3)), kEditDone);
    EXPECT_EQ(cell(4, 3), "C:4");
    EXPECT_EQ(format_code(4, 3), kFixedCode);
    EXPECT_EQ(cell(4, 4), "T:label");
    EXPECT_EQ(cell(5, 3), "F:=D5*2");
    EXPECT_EQ(cell(5, 4), "F:=$A$1+D5");
    EXPECT_EQ(selection(), cells(4, 3, 5, 4));
    EXPECT_EQ(undo_kind(), kUndoPaste);
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before) << undo_test::differences(workbook_state(), before);
    // The clipboard is unchanged by a paste: it pastes again.
    ASSERT_EQ(paste(cells(10, 0, 10, 0)), kEditDone);
    EXPECT_EQ(cell(11, 0), "F:=A11*2");
}

TEST_F(CutCopyPaste, CopyOfAnEmptyRangeKeepsTheClipboard) {
    put_number(0, 0, 7);
    ASSERT_EQ(copy(cells(0, 0, 0, 0)), kEditDone);
    EXPECT_EQ(copy(cells(5, 5, 6, 6)), kEditNothing);
    ASSERT_EQ(paste(cells(2, 2, 2, 2)), kEditDone);
    EXPECT_EQ(cell(2, 2), "C:7");
}

TEST_F(CutCopyPaste, CutRemovesAfterRecordingAndUndoBringsBack) {
    put_number(0, 0, 1);
    put_number(1, 0, 2);
    const auto before = workbook_state();
    ASSERT_EQ(copy_range(layer, cells(0, 0, 1, 0), true), kEditDone);
    EXPECT_EQ(cell(0, 0), "");
    EXPECT_EQ(undo_kind(), kUndoCut);
    ASSERT_EQ(paste(cells(0, 2, 0, 2)), kEditDone);
    EXPECT_EQ(cell(1, 2), "C:2");
    DoUndo(workbook);
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before);
}

TEST_F(CutCopyPaste, LockedCellsStopCutAndPasteButNotCopy) {
    put_number(0, 0, 1);
    put_number(0, 1, 2);
    lock_cell(layer, CellPoint{0, 1});
    const auto before = workbook_state();
    EXPECT_EQ(copy_range(layer, cells(0, 0, 0, 1), true), kEditLockedCells);
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{1});
    ASSERT_EQ(copy(cells(0, 0, 0, 0)), kEditDone);
    EXPECT_EQ(paste(cells(0, 1, 0, 1)), kEditLockedCells);
    EXPECT_EQ(paste(cells(0, 0, 0, 0)), kEditDone);  // onto itself
    EXPECT_EQ(cell(0, 1), "C:2");
}

// ---- Clear -------------------------------------------------------------------------

TEST_F(CutCopyPaste, ClearModesKeepWhatTheyShouldAndUndo) {
    put_number(0, 0, 5);
    put_formula(1, 0, "=A1+1");
    set_format_code(0, 0, kFixedCode);
    set_format_code(1, 0, kFixedCode);
    const auto before = workbook_state();
    const CellRange range = cells(0, 0, 1, 0);

    ASSERT_EQ(clear_range(layer, range, kClearContents), kEditDone);
    EXPECT_EQ(cell(0, 0), "0:");
    EXPECT_EQ(format_code(0, 0), kFixedCode);
    EXPECT_EQ(cell(1, 0), "0:");
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before);

    ASSERT_EQ(clear_range(layer, range, kClearFormats), kEditDone);
    EXPECT_EQ(cell(0, 0), "C:5");
    EXPECT_EQ(format_code(0, 0), kFormatGeneral);
    EXPECT_EQ(cell(1, 0), "F:=A1+1");
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before);

    ASSERT_EQ(clear_range(layer, range, kClearAll), kEditDone);
    EXPECT_EQ(cell(0, 0), "");
    EXPECT_EQ(undo_kind(), kUndoClear);
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before);
}

TEST_F(CutCopyPaste, TheDeleteKeyClearsContentsAndTheMenuAsks) {
    put_number(0, 0, 5);
    set_format_code(0, 0, kFixedCode);
    select_range(cells(0, 0, 0, 0));
    ASSERT_EQ(Do_Clear(0, layer), kEditDone);
    EXPECT_EQ(cell(0, 0), "0:");
    DoUndo(workbook);
    const auto before = workbook_state();
    pf::headless_host_open(400, 300);
    pf::windows_open();
    pf::driver_focus(true);
    EXPECT_EQ(Do_Clear(1, layer), kEditCancelled);  // Escape
    EXPECT_TRUE(workbook_state() == before);
    pf::events_reset();
    set_unattended_run(false);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(Do_Clear(1, layer), kEditDone);  // Return: the first choice, everything
    set_unattended_run(true);
    pf::events_reset();
    pf::windows_close();
    pf::driver_reset();
    pf::host_close();
    EXPECT_EQ(cell(0, 0), "");
}

// The record comes before the cells go: when it cannot be made and the user
// declines to go on, nothing is lost; going on clears without undo.
TEST_F(CutCopyPaste, ClearWithoutRoomForUndoAsksFirst) {
    for (int16_t row = 0; row < 2000; ++row) put_number(row, 0, row);
    put_number(0, 5, 1);
    CellRange first = cells(0, 5, 0, 5);
    ASSERT_EQ(clear_range(layer, first, kClearAll), kEditDone);
    const auto before = workbook_state();
    const CellRange range = cells(0, 0, 1999, 0);
    auto short_of_memory = [&] {
        free_tire(&mem_globals);
        pf::set_heap_budget(pf::heap_bytes_in_use() + GetByteSize(store()) * 3 / 2);
        pf::set_temp_budget(0);
        const int16_t answer = clear_range(layer, range, kClearAll);
        pf::set_heap_budget(pf::kNoBudget);
        pf::set_temp_budget(pf::kNoBudget);
        return answer;
    };
    undo_test::alert_answer = 2;
    EXPECT_EQ(short_of_memory(), kEditCancelled);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{3});
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(undo_count(), 1);

    undo_test::alert_answer = 1;
    EXPECT_EQ(short_of_memory(), kEditDone);
    EXPECT_EQ(cell(5, 0), "");
    EXPECT_EQ(undo_count(), 0);
}

TEST_F(CutCopyPaste, APasteThatRunsOutOfMemoryChangesNothing) {
    for (int16_t row = 0; row < 2000; ++row) put_number(row, 0, row);
    ASSERT_EQ(copy(cells(0, 0, 1999, 0)), kEditDone);
    const auto before = workbook_state();
    free_tire(&mem_globals);
    pf::set_heap_budget(pf::heap_bytes_in_use() + GetByteSize(store()) * 3 / 2);
    pf::set_temp_budget(0);
    const int16_t answer = paste(cells(0, 1, 0, 1));
    pf::set_heap_budget(pf::kNoBudget);
    pf::set_temp_budget(pf::kNoBudget);
    EXPECT_EQ(answer, kEditNoMemory);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{25});
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(undo_count(), 0);
    EXPECT_EQ(paste(cells(0, 1, 0, 1)), kEditDone);
}

// ---- Fitting the block to the selection ------------------------------------------

TEST_F(CutCopyPaste, BlockFitsSelectionsOfEveryShape) {
    const CellRange one_by_three = cells(0, 0, 0, 2);
    // A single cell takes the whole block.
    EXPECT_EQ(fit_block(cells(0, 0, 1, 2), cells(5, 5, 5, 5)).target, cells(5, 5, 6, 7));
    // Rows that are a multiple of the block's repeat it.
    PasteFit four_rows = fit_block(one_by_three, cells(10, 0, 13, 2));
    EXPECT_EQ(four_rows.target, cells(10, 0, 13, 2));
    EXPECT_TRUE(four_rows.repeat);
    EXPECT_EQ(fit_block(one_by_three, cells(10, 0, 13, 5)).target, cells(10, 0, 13, 5));
    // Five rows are a multiple of one row too: the block fills all five.
    PasteFit five_rows = fit_block(one_by_three, cells(10, 0, 14, 2));
    EXPECT_EQ(five_rows.refusal, kEditDone);
    EXPECT_EQ(five_rows.target, cells(10, 0, 14, 2));
    // A selection smaller than the block, or not a multiple of it, is refused.
    EXPECT_EQ(fit_block(cells(0, 0, 1, 2), cells(10, 0, 14, 2)).refusal, kEditMisfit);
    EXPECT_EQ(fit_block(one_by_three, cells(10, 0, 10, 1)).refusal, kEditMisfit);
    EXPECT_EQ(fit_block(one_by_three, cells(10, 0, 11, 3)).refusal, kEditMisfit);
    // One row or column of the selection takes the block's whole side.
    EXPECT_EQ(fit_block(cells(0, 0, 2, 2), cells(10, 0, 10, 5)).target, cells(10, 0, 12, 5));
    EXPECT_EQ(fit_block(cells(0, 0, 2, 0), cells(kLastCell - 1, 0, kLastCell - 1, 0)).refusal, kEditOffGrid);
    EXPECT_EQ(fit_block(cells(0, 0, 0, 2), cells(0, kLastCell - 2, 0, kLastCell - 2)).refusal, kEditDone);
}

TEST_F(CutCopyPaste, RepeatedPasteFillsEveryCellOfTheSelection) {
    put_number(0, 0, 1);
    put_number(0, 1, 2);
    put_formula(0, 2, "=A1+B1");
    ASSERT_EQ(copy(cells(0, 0, 0, 2)), kEditDone);
    ASSERT_EQ(paste(cells(10, 0, 14, 3)), kEditMisfit);
    ASSERT_EQ(paste(cells(10, 0, 14, 2)), kEditDone);
    for (int16_t row = 10; row <= 14; ++row) {
        EXPECT_EQ(cell(row, 0), "C:1");
        EXPECT_EQ(cell(row, 2), "F:=A" + std::to_string(row + 1) + "+B" + std::to_string(row + 1));
    }
    ASSERT_EQ(paste(cells(20, 0, 23, 5)), kEditDone);
    EXPECT_EQ(cell(23, 3), "C:1");
    EXPECT_EQ(cell(23, 5), "F:=D24+E24");
    EXPECT_EQ(cell(24, 0), "");
    EXPECT_EQ(cell(20, 6), "");
}

TEST_F(CutCopyPaste, RefusedPastesChangeNothing) {
    put_number(0, 0, 1);
    put_number(2, 0, 3);
    put_number(kLastCell, 1, 9);
    ASSERT_EQ(copy(cells(0, 0, 2, 0)), kEditDone);
    const auto before = workbook_state();
    EXPECT_EQ(paste(cells(kLastCell - 1, 1, kLastCell - 1, 1)), kEditOffGrid);
    EXPECT_EQ(paste(cells(5, 0, 8, 0)), kEditMisfit);
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(undo_count(), 0);
    EXPECT_TRUE(alert_says("past the last row"));
    EXPECT_TRUE(alert_says("does not match"));
    EXPECT_EQ(paste(cells(kLastCell - 2, 1, kLastCell - 2, 1)), kEditDone);
    EXPECT_EQ(cell(kLastCell, 1), "C:3");
}

TEST_F(CutCopyPaste, WholeColumnsBringTheirFormatsAndRepeatThem) {
    put_number(0, 1, 1);
    ASSERT_EQ(InputColumnFormat(layer, (1 << 16) | 1), 0);
    MemoryRef columns = GetSpreadSheetColumnFormats(layer);
    uint8_t* record = FindColumnFormatID(columns, 1);
    ASSERT_NE(record, nullptr);
    set_format_extent(record, 99);
    record[kFmtCode] = kFixedCode;
    UnuseMemory(columns);
    ASSERT_EQ(copy(cells(0, 1, kLastCell, 1)), kEditDone);
    const auto before = workbook_state();
    ASSERT_EQ(paste(cells(0, 4, kLastCell, 6)), kEditDone);
    for (int16_t column = 4; column <= 6; ++column) {
        uint8_t* pasted = FindColumnFormatID(GetSpreadSheetColumnFormats(layer), column);
        ASSERT_NE(pasted, nullptr) << column;
        EXPECT_EQ(format_extent(pasted), 99);
        EXPECT_EQ(pasted[kFmtCode], kFixedCode);
        UnuseMemory(GetSpreadSheetColumnFormats(layer));
        EXPECT_EQ(cell(0, column), "C:1");
    }
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before) << undo_test::differences(workbook_state(), before);
}

}  // namespace
