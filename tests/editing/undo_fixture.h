// A workbook shown in a document window, with the whole state of its layers
// taken for comparison, formula text read back, the alerts of the
// calculation library recorded, and a swap file for tests that purge.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

#include "../formula/recalc_fixture.h"
#include "editing/editing_commands.h"
#include "editing/undo.h"
#include "model/replay_steps.h"
#include "model/undo_record.h"
#include "model/named_ranges.h"
#include "platform/files/files.h"
#include "../support/hidden_layer_window.h"

namespace undo_test {

inline std::vector<int32_t> alerts;
inline int16_t alert_answer = 1;
inline int16_t record_alert(int32_t code) {
    alerts.push_back(code);
    return alert_answer;
}

// Everything of a layer that undo restores, byte for byte.
struct LayerState {
    std::vector<uint8_t> cells, column_formats, row_formats, names, default_column, default_row, page_breaks;
    bool operator==(const LayerState&) const = default;
};

// Which parts of which layers differ, for failure messages.
inline std::string differences(const std::vector<LayerState>& a, const std::vector<LayerState>& b) {
    if (a.size() != b.size()) return "layer count";
    std::string out;
    for (size_t i = 0; i < a.size(); ++i) {
        const std::string at = " of layer " + std::to_string(i + 1) + ";";
        if (a[i].cells != b[i].cells) out += " cells" + at;
        if (a[i].column_formats != b[i].column_formats) out += " column formats" + at;
        if (a[i].row_formats != b[i].row_formats) out += " row formats" + at;
        if (a[i].names != b[i].names) out += " names" + at;
        if (a[i].page_breaks != b[i].page_breaks) out += " page breaks" + at;
        if (a[i].default_column != b[i].default_column || a[i].default_row != b[i].default_row)
            out += " default formats" + at;
    }
    return out;
}

}  // namespace undo_test

class UndoTest : public RecalcTest {
protected:
    int16_t swap = 0;
    pf::FileSpec swap_spec{};

    void SetUp() override {
        RecalcTest::SetUp();
        shown_window = show_layer_in_hidden_window(layer);
        g_Clip = nullptr;  // the last test's clipboard went with its memory
        undo_test::alerts.clear();
        undo_test::alert_answer = 1;
        quorvin_rsrv.alert = undo_test::record_alert;
        pg_setUndoLevels(10);
    }

    void TearDown() override {
        RecalcTest::TearDown();
        dispose_hidden_window(shown_window);
        g_Clip = nullptr;
        if (swap) {
            pf::close_file(swap);
            pf::delete_file(swap_spec);
        }
        pg_setUndoLevels(10);
    }

    // Purged blocks go to a swap file; the memory manager keeps at most
    // `ceiling` bytes in memory.
    void use_small_memory(int32_t ceiling) {
        int16_t volume;
        uint32_t folder;
        ASSERT_EQ(pf::find_folder(pf::FolderKind::temporary_items, true, volume, folder), 0);
        std::string name = "undo-swap-" + std::to_string(getpid());
        unsigned char pname[64];
        pstr(pname, name);
        pf::make_file_spec(volume, folder, pname, swap_spec);
        pf::delete_file(swap_spec);
        ASSERT_EQ(pf::create_file(swap_spec, pf::four_cc("QRVA"), pf::four_cc("QRVM")), 0);
        ASSERT_EQ(pf::open_data_fork(swap_spec, pf::kReadWritePermission, swap), 0);
        InitVirtualMemory(&mem_globals, nullptr, swap);
        mem_globals.ceiling = ceiling;
    }

    undo_test::LayerState state_of(MemoryRef of) {
        undo_test::LayerState state;
        state.cells = bytes_of(GetSpreadSheetCells(of));
        state.column_formats = bytes_of(GetSpreadSheetColumnFormats(of));
        state.row_formats = bytes_of(GetSpreadSheetRowFormats(of));
        state.names = bytes_of(Get_rangeinfo(of));
        SpreadSheet* sheet = use_layer(of);
        MemoryRef row_breaks = sheet->row_page_breaks, column_breaks = sheet->column_page_breaks;
        state.default_column.assign(sheet->default_column_format, sheet->default_column_format + kCellFormatSize);
        state.default_row.assign(sheet->default_row_format, sheet->default_row_format + kRowFormatSize);
        release_layer(of);
        state.page_breaks = bytes_of(row_breaks);
        const std::vector<uint8_t> columns = bytes_of(column_breaks);
        state.page_breaks.push_back(0xFF);
        state.page_breaks.insert(state.page_breaks.end(), columns.begin(), columns.end());
        return state;
    }

    std::vector<undo_test::LayerState> workbook_state() {
        std::vector<undo_test::LayerState> states;
        for (int16_t index = 0; index < num_SpreadSheets(workbook); ++index)
            states.push_back(state_of(find_SpreadSheet_item(workbook, index)));
        return states;
    }

    void select_range(CellRange range, MemoryRef on = nullptr) {
        SpreadSheet* sheet = use_layer(on ? on : layer);
        sheet->selection = range;
        sheet->active_cell = range.topLeft;
        release_layer(on ? on : layer);
    }

    CellRange selection() {
        SpreadSheet* sheet = use_layer(layer);
        CellRange range = sheet->selection;
        release_layer(layer);
        return range;
    }

    int undo_count() { return GetMemorySize(workbook_undo_list(workbook)); }
    int16_t undo_kind() { return GetSheetUndo(layer); }
    int16_t redo_kind() { return GetSheetRedo(layer); }
};

inline CellRange cells(int16_t top, int16_t left, int16_t bottom, int16_t right) {
    return CellRange{{top, left}, {bottom, right}};
}
