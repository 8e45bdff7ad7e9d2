// Cells of a layer read back by kind, for the fill and sort tests.
#pragma once

#include <string>

#include "undo_fixture.h"
#include "editing/fill.h"
#include "editing/sort.h"

class FillTest : public UndoTest {
protected:
    // The cell type, or -1 when there is no cell.
    int type_at(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer)) return -1;
        return _cellType_(cell);
    }

    // The text of a text cell, or the typed text of a number ("" for others).
    std::string text_at(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer)) return "";
        const uint8_t* body = _formulaPtr_(cell);
        if (_cellType_(cell) == kCellText) return std::string(body, body + _formulaLength_(cell));
        if (_cellType_(cell) == kCellConstant) return std::string(body + kNumberSlotSize, body + _formulaLength_(cell));
        return "";
    }

    uint8_t* cell_at(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        get_cell_ptr(&cell, &length, CellPoint{row, column}, layer);
        return cell;
    }

    void put_format_only(int16_t row, int16_t column) { put_cell(row, column, kCellFormatOnly, {}, {}, 0); }

    // A formula cell holding a text result, as a recalculation would leave it.
    void put_text_result(int16_t row, int16_t column, const std::string& text) {
        const std::vector<uint8_t> body{'=', 'I', 0, 0};
        put_cell(row, column, kCellFormula, body, std::vector<uint8_t>(text.begin(), text.end()), kResultText);
    }

    // Runs `change`, checks it made one undo record of `kind`, undoes it and
    // checks the workbook is back as it was.
    template <typename Change>
    void expect_undone(int16_t kind, Change&& change) {
        const auto before = workbook_state();
        const int records = undo_count();
        change();
        ASSERT_EQ(undo_count(), records + 1);
        EXPECT_EQ(undo_kind(), kind);
        DoUndo(workbook);
        const auto after = workbook_state();
        EXPECT_TRUE(after == before) << undo_test::differences(before, after);
    }
};
