// A started memory manager and calculation library with one workbook of one
// layer, functions that build cell blocks, and the cell store's invariant check.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/clip_record.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/system/international.h"

// The system's number and date settings as given, then the calculation
// globals read again from them.
inline void use_system_settings(char decimal, char thousands, char list, char date, int order) {
    pf::IntlSettings settings = pf::us_international_settings();
    settings.decimal_point = decimal;
    settings.thousands_separator = thousands;
    settings.list_separator = list;
    settings.date_separator = date;
    settings.date_order = pf::DateOrder(order);
    pf::set_international_settings(settings);
    Init_Quorvin_Globals();
}

// A file specification (volume, folder, name) as the FileInfoRecord starts.
inline MemoryRef make_file_info(int16_t volume, int32_t folder, const std::string& name) {
    std::vector<uint8_t> info(kFileInfoFlagsOffset + 4, 0);
    store_i16(info.data(), volume);
    store_i32(info.data() + kFileSpecFolderOffset, folder);
    info[kFileSpecNameOffset] = uint8_t(name.size());
    std::memcpy(info.data() + kFileSpecNameOffset + 1, name.data(), name.size());
    return Bytes2Memory(&mem_globals, info.data(), 1, int32_t(info.size()));
}

inline CellFormat default_settings(uint8_t column_width = 0) {
    CellFormat settings;
    GetDefaultFormat(settings.bytes);
    store_u16(settings.bytes + kFmtFont, 1);
    settings.bytes[kFmtSize] = 12;
    settings.bytes[kFmtCellType] = column_width;
    return settings;
}

// A one-cell block: row header, then a number-constant cell with its typed text.
inline std::vector<uint8_t> number_cell(int16_t row, int16_t column, double value,
                                        uint8_t format_code = kFormatGeneral) {
    std::string typed = std::to_string(int64_t(value));
    std::vector<uint8_t> block(kRowHeaderSize + kCellHeaderSize + kNumberSlotSize + typed.size(), 0);
    _SetRowID_(block.data(), row);
    _SetRowLength_(block.data(), uint32_t(block.size()));
    uint8_t* cell = block.data() + kRowHeaderSize;
    GetDefaultFormat(cell);
    _SetCellID_(cell, column);
    cell[kFmtCode] = format_code;
    cell[kFmtCellType] = kCellConstant;
    cell[kFmtLabelLength] = 0;
    cell[kFmtNoteLength] = 0;
    _SetCellLength_(cell, int16_t(block.size() - kRowHeaderSize));
    _SetFormulaLength_(cell, int16_t(kNumberSlotSize + typed.size()));
    _SetResultType_(cell, 0);
    store_i16(cell + kFmtStyleLength, 0);
    store_f64(_formulaPtr_(cell), value);
    std::memcpy(_constTextPtr_(cell), typed.data(), typed.size());
    return block;
}

inline double cell_number(const uint8_t* cell) { return load_f64(_formulaPtr_(cell)); }

// Rows sorted and unique, cells sorted and unique within a row, every length
// consistent, no empty row, everything inside the grid.
inline ::testing::AssertionResult store_is_sound(MemoryRef store) {
    auto* start = static_cast<uint8_t*>(UseMemory(store));
    const uint8_t* end = start + GetByteSize(store);
    std::string fault;
    int previous_row = -1;
    for (const uint8_t* row = start; row < end && fault.empty();) {
        if (end - row < kRowHeaderSize) { fault = "truncated row header"; break; }
        int id = _RowID_(row);
        uint32_t length = _RowLength_(row);
        if (id <= previous_row) fault = "row " + std::to_string(id) + " out of order";
        if (id < 0 || id > kLastCell) fault = "row outside the grid";
        if (length <= uint32_t(kRowHeaderSize) || length > uint32_t(end - row))
            fault = "bad length of row " + std::to_string(id);
        if (!fault.empty()) break;
        int previous_column = -1;
        uint32_t cells = 0;
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + length;) {
            int column = _cellID_(cell), cell_length = _cellLength_(cell);
            int parts = kCellHeaderSize + _labelLength_(cell) + _noteLength_(cell) + _formulaLength_(cell);
            if (column <= previous_column) fault = "cell out of order in row " + std::to_string(id);
            if (column < 0 || column > kLastCell) fault = "cell outside the grid";
            if (cell_length < parts || cell + cell_length > row + length) fault = "bad cell length";
            if (!fault.empty()) break;
            previous_column = column;
            cells += uint32_t(cell_length);
            cell += cell_length;
        }
        if (fault.empty() && cells + kRowHeaderSize != length) fault = "row length differs from its cells";
        previous_row = id;
        row += length;
    }
    UnuseMemory(store);
    if (fault.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << fault;
}

class ModelTest : public ::testing::Test {
protected:
    MemoryRef workbook = nullptr;
    MemoryRef layer = nullptr;

    void SetUp() override {
        pf::set_heap_budget(pf::kNoBudget);
        pf::set_temp_budget(pf::kNoBudget);
        msMemStartup(&mem_globals, 0);
        QuorvinInit(&quorvin_rsrv, &mem_globals);
        workbook = make_workbook("Budget", 1);
        ASSERT_NE(workbook, nullptr);
        layer = add_layer(workbook);
        ASSERT_NE(layer, nullptr);
    }

    void TearDown() override {
        while (count_open_workbooks(&quorvin_rsrv) > 0) DisposeWorkSheet(open_workbook_at(&quorvin_rsrv, 0));
        msMachineShutdown(&quorvin_rsrv);
        msMemShutdown(&mem_globals);
        g_Clip = nullptr;  // its block went with the memory
        pf::set_heap_budget(pf::kNoBudget);
        pf::set_temp_budget(pf::kNoBudget);
    }

    MemoryRef make_workbook(const std::string& name, int32_t folder) {
        CellFormat settings = default_settings();
        return New_WorkSheet(&quorvin_rsrv, make_file_info(-1, folder, name), settings.bytes);
    }

    MemoryRef add_layer(MemoryRef book) {
        MemoryRef made = nullptr;
        New_SpreadSheet(&quorvin_rsrv, book, &made, kLayerGridLines | kLayerHeadings, nullptr);
        return made;
    }

    MemoryRef store() { return GetSpreadSheetCells(layer); }

    void put(int16_t row, int16_t column, double value, uint8_t format_code = kFormatGeneral) {
        std::vector<uint8_t> block = number_cell(row, column, value, format_code);
        CellRange range{{row, column}, {row, column}};
        InputCell(&range, block.data(), int32_t(block.size()), layer);
        ASSERT_TRUE(store_is_sound(store()));
    }

    // The number stored at a cell, or -1 when there is none.
    double at(int16_t row, int16_t column) {
        uint8_t* cell;
        int16_t length;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer)) return -1;
        return cell_number(cell);
    }

    int count_cells() {
        int count = 0;
        auto* start = static_cast<uint8_t*>(UseMemory(store()));
        const uint8_t* end = start + GetByteSize(store());
        for (const uint8_t* row = start; row < end; row += _RowLength_(row))
            for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row);
                 cell += _cellLength_(cell))
                ++count;
        UnuseMemory(store());
        return count;
    }

    void select(CellRange range) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->selection = range;
        sheet->active_cell = range.topLeft;
        release_layer(layer);
    }
};
