// A layer shown in a document window's panes, for drawing objects made,
// pressed on and dragged with the mouse: the window's record, points of the
// first pane, and presses the tracking loops read.
#pragma once

#include "objects/object_records.h"
#include "objects/objects.h"
#include "platform/events/events.h"
#include "platform/events/input.h"
#include "tests/window/sheet_fixture.h"
#include "window/doc_window.h"

class DrawingTest : public SheetTest {
protected:
    MemoryRef record = nullptr;

    void SetUp() override {
        SheetTest::SetUp();
        pf::events_reset();
        record = pgAllocateNewRef(&mem_globals, sizeof(DocWindowRecord), 1, 0, true);
        write_doc_window(record, DocWindowRecord{nullptr, layer, workbook, record, {}, {}, 0});
    }
    void TearDown() override {
        ClobberObjectEditor(layer);
        DisposeMemory(record);
        pf::events_reset();
        SheetTest::TearDown();
    }

    // The user presses at `from` and lets go at `to`.
    static void drag(pf::Point from, pf::Point to) {
        pf::input_mouse_button(true, from);
        pf::input_mouse_button(false, to);
    }

    pf::Point in_pane(int16_t v, int16_t h) {
        const pf::Rect pane = pane_rect(0);
        return pf::Point{int16_t(pane.top + v), int16_t(pane.left + h)};
    }

    // Makes an object with the tool by dragging from one point of the pane to another.
    MemoryRef make_with(int16_t tool, pf::Point from, pf::Point to) {
        drag(from, to);
        EXPECT_TRUE(CreateObject(record, tool, from));
        return find_object_item(layer, num_objects(layer));
    }

    static ObjectRecord fields(MemoryRef object) {
        ObjectRecord copy = *use_object(object);
        release_object(object);
        return copy;
    }
};
