// A new document in the attended program, whose front layer's selection the
// sheet dialogs work on; alerts and dialogs wait for scripted input.
#pragma once

#include "tests/app/modal_scripts.h"
#include "window/doc_window.h"

struct SheetDialogTest : AttendedTest {
    MemoryRef record = nullptr;
    MemoryRef layer = nullptr;

    void SetUp() override {
        AttendedTest::SetUp();
        set_unattended_run(true);
        DoFileMenu(nullptr, 1);
        run_until_idle();
        set_unattended_run(false);
        record = window_doc_record(FrontDocWindow());
        ASSERT_NE(record, nullptr);
        layer = doc_window_layer(record);
        alert_requests().clear();
    }
    void select(CellRange range) { select_cells(layer, range); }
};
