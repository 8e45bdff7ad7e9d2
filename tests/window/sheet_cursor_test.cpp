// The cursor a document window sets for what lies under the pointer where no
// drawing object or heading answers: an armed tool, the calculation's state,
// the selection's fill handle (not while a cell is typed in), and a text box
// under edit, whose view the idle time keeps over the box.
#include "../app/app_fixture.h"
#include "ui/screen_geometry.h"
#include "formula/recalc.h"
#include "model/layer.h"
#include "objects/object_drawing.h"
#include "objects/object_mouse.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"
#include "platform/events/events.h"
#include "platform/host/driver.h"
#include "platform/screen/cursor.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/sheet_cursor.h"
#include "resource_ids.h"

namespace {

class SheetCursorTest : public AppTest {
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
        select_cells(layer, CellRange{{2, 1}, {3, 2}});
    }
    void TearDown() override {
        stopCalc = kCalcAutoDone;
        AppTest::TearDown();
    }

    // The cursor shown once the pointer rests at a point of the window.
    int16_t cursor_at(pf::Point local) {
        pf::Rect content = pf::window_content_rect(window);
        pf::driver_move(pf::Point{int16_t(content.top + local.v), int16_t(content.left + local.h)});
        run_until_idle();
        return pf::current_cursor_resource();
    }
    pf::Point cell_middle(CellPoint cell) {
        pf::Rect rect;
        Cell_Location(0, &rect, 0, cell, layer);
        return pf::Point{int16_t((rect.top + rect.bottom) / 2), int16_t((rect.left + rect.right) / 2)};
    }
    pf::Point fill_handle() {
        CellRange selection{{2, 1}, {3, 2}};
        pf::Rect rect;
        Range_Location(0, &rect, 0, &selection, layer);
        return pf::Point{rect.bottom, rect.right};
    }
    void arm_tool(uint16_t tool) {
        DocWindowRecord fields = read_doc_window(record);
        fields.tool = tool;
        write_doc_window(record, fields);
    }
};

TEST_F(SheetCursorTest, AnArmedToolThenTheCalculationStateAnswerWhereTheLayerHasNoCursor) {
    const pf::Point cell = cell_middle(CellPoint{10, 3});
    EXPECT_EQ(cursor_at(cell), kArrowCursor);
    stopCalc = kCalcManualIdle;
    EXPECT_EQ(cursor_at(cell), kStopCursor);
    arm_tool(5);
    EXPECT_EQ(cursor_at(cell), kToolCursor);
    arm_tool(0);
    stopCalc = kCalcAutoDone;
    EXPECT_EQ(cursor_at(cell), kArrowCursor);
}

TEST_F(SheetCursorTest, TheFillHandleAnswersItsCursorExceptWhileACellIsTypedIn) {
    EXPECT_EQ(cursor_at(fill_handle()), 140);
    ASSERT_TRUE(ActivateEditor(0, 0, layer));
    EXPECT_EQ(cursor_at(fill_handle()), kArrowCursor);
    EXPECT_EQ(cursor_at(cell_middle(CellPoint{2, 1})), kTextCursor);
    DeActivateEditor();
}

TEST_F(SheetCursorTest, AnEditedTextBoxAnswersTheTextCursorAndKeepsItsViewOverTheBox) {
    MemoryRef object = nullptr;
    ASSERT_EQ(NewObject(kTextObject, &object, 0, layer), 1);
    const pf::Point corner = cell_middle(CellPoint{6, 2});
    const pf::Rect box{corner.v, corner.h, int16_t(corner.v + 60), int16_t(corner.h + 120)};
    move_object_to(object, box, 0, layer);
    ASSERT_EQ(begin_text_editing(object, 0, layer), 1);
    const pf::Point middle{int16_t(corner.v + 30), int16_t(corner.h + 60)};
    EXPECT_EQ(SheetCursor(layer, middle), kTextCursor);
    EXPECT_EQ(cursor_at(middle), 1);

    WEReference we = object_text_editor(layer);
    LongRect away;
    WESetLongRect(away, 0, 0, 10, 10);
    WESetViewRect(away, we);
    SheetIdle(layer);
    LongRect view;
    WEGetViewRect(view, we);
    EXPECT_GT(view.left, box.left);
    EXPECT_GT(view.top, box.top);
    EXPECT_LT(view.right, box.right);
    EXPECT_LT(view.bottom, box.bottom);
    end_text_editing(layer, false);
}

}  // namespace
