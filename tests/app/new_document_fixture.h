// The whole program with a new untitled document in the front window.
#pragma once

#include "app_fixture.h"
#include "resource_ids.h"
#include "shell/file_menu.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"

class NewDocumentTest : public AppTest {
protected:
    pf::WindowRef window = nullptr;
    MemoryRef record = nullptr, layer = nullptr;

    void SetUp() override {
        AppTest::SetUp();
        DoFileMenu(nullptr, kFileNewItem);
        run_until_idle();
        window = pf::front_non_floating_window();
        record = window_doc_record(window);
        layer = doc_window_layer(record);
    }

    // The middle of a cell of the first pane, in the window's coordinates.
    pf::Point cell_middle(CellPoint cell) {
        pf::Rect rect;
        Cell_Location(0, &rect, 0, cell, layer);
        return pf::Point{int16_t((rect.top + rect.bottom) / 2), int16_t((rect.left + rect.right) / 2)};
    }
};
