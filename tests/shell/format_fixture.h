// A new document in the running program whose selection the format menus
// work on, with the formats of its cells and the marks of the menus read back.
#pragma once

#include "../app/app_fixture.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "window/front_document.h"

struct FormatMenuTest : AppTest {
    MemoryRef layer = nullptr;

    void SetUp() override {
        AppTest::SetUp();
        DoCommand(code_value("newd"));
        run_until_idle();
        layer = doc_window_layer(front_document_record());
        ASSERT_NE(layer, nullptr);
    }
    void select(CellRange range) { select_cells(layer, range); }
    CellFormat at(int16_t row, int16_t column) {
        CellFormat f;
        get_cell_format(f.bytes, CellPoint{row, column}, layer);
        return f;
    }
    bool checked(int16_t menu, int16_t item) {
        return pf::get_item_mark(pf::get_menu_handle(menu), item) == pf::kCheckMark;
    }
    // The first checked item of a menu, 0 for none.
    int16_t checked_item(int16_t menu_id) {
        for (int16_t i = 1; i <= pf::count_menu_items(pf::get_menu_handle(menu_id)); ++i)
            if (checked(menu_id, i)) return i;
        return 0;
    }
};
