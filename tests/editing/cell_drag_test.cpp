// Dragging the selection's border in the running program: cells move within
// their layer (Option copies), copy to another window, and text dropped by
// another program becomes cells; each is one undo step, and a drop whose
// cells would reach past the grid is refused with nothing changed.
#include <string>

#include "../window/road_fixture.h"
#include "editing/sheet_drag.h"
#include "platform/drag/drag.h"
#include "window/window_commands.h"

namespace {

class CellDrag : public TypedRoadTest {
protected:
    void select(CellRange range) {
        LSelect(range.topLeft, &range, nullptr, 0, layer);
        run_until_idle();
    }
    CellRange selection() {
        CellRange range;
        GetSelectRect(&range, layer);
        return range;
    }
    // A point on the selection's top edge, over its first column.
    pf::Point top_edge() {
        const CellRange range = selection();
        pf::Rect r;
        Range_Location(0, &r, 1, &range, layer);
        const pf::Rect content = pf::window_content_rect(window);
        return pf::Point{int16_t(content.top + r.top), int16_t(content.left + r.left + 10)};
    }
    // Drags the selection by its top edge so that its top-left lands on `cell`.
    void drag_to(CellPoint cell, uint16_t modifiers = 0) {
        pf::driver_drag(top_edge(), top_left_point(cell), modifiers);
        run_until_idle();
    }
    pf::Point top_left_point(CellPoint cell) {
        pf::Rect r;
        Cell_Location(0, &r, 1, cell, layer);
        const pf::Rect content = pf::window_content_rect(window);
        return pf::Point{int16_t(content.top + r.top + 2), int16_t(content.left + r.left + 10)};
    }
    // 1 and 2 over 3 and =B3+C3, at B3.
    void put_two_by_two() {
        click(CellPoint{2, 1});
        enter("1");
        enter("2");
        click(CellPoint{2, 2});
        enter("3");
        enter("=B3+C3");
        select(CellRange{{2, 1}, {3, 2}});
    }
};

TEST_F(CellDrag, TheBorderMovesTheCellsAndUndoPutsThemBack) {
    put_two_by_two();
    drag_to(CellPoint{6, 3});
    EXPECT_EQ(value(2, 1), -1);
    EXPECT_EQ(value(6, 3), 1);
    EXPECT_EQ(value(7, 3), 2);
    EXPECT_EQ(value(7, 4), 4) << "the moved formula follows the cells it uses";
    EXPECT_EQ(selection(), (CellRange{{6, 3}, {7, 4}}));
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(value(2, 1), 1);
    EXPECT_EQ(value(6, 3), -1);
}

TEST_F(CellDrag, OptionCopiesAndLeavesTheCellsWhereTheyWere) {
    put_two_by_two();
    drag_to(CellPoint{5, 1}, pf::kOptionKey);
    EXPECT_EQ(value(2, 1), 1);
    EXPECT_EQ(value(5, 1), 1);
    EXPECT_EQ(value(6, 2), 4) << "the copied formula points at the copied cells";
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(value(5, 1), -1);
    EXPECT_EQ(value(2, 1), 1);
}

TEST_F(CellDrag, AClickOnTheBorderWithoutMovingChangesNothing) {
    put_two_by_two();
    const pf::Point edge = top_edge();
    pf::driver_click(edge);
    run_until_idle();
    EXPECT_EQ(value(2, 1), 1);
    EXPECT_EQ(selection(), (CellRange{{2, 1}, {3, 2}}));
    // A drop on the cells' own place does nothing either.
    pf::driver_drag(edge, pf::Point{int16_t(edge.v + 3), int16_t(edge.h + 3)});
    run_until_idle();
    EXPECT_EQ(value(2, 1), 1);
}

TEST_F(CellDrag, ADropPastTheLastRowIsRefusedAndNothingChanges) {
    SheetAutoScroll(layer, CellPoint{kLastCell, 0}, 1);
    run_until_idle();
    click(CellPoint{kLastCell - 3, 0});
    enter("8");
    enter("9");
    select(CellRange{{kLastCell - 3, 0}, {kLastCell - 2, 0}});
    alert_requests().clear();
    drag_to(CellPoint{kLastCell, 0});
    EXPECT_EQ(value(kLastCell - 3, 0), 8);
    EXPECT_EQ(value(kLastCell, 0), -1);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_NE(alert_requests()[0].text.find("past the last row"), std::string::npos);
    // A copy is refused the same way.
    drag_to(CellPoint{kLastCell, 0}, pf::kOptionKey);
    EXPECT_EQ(value(kLastCell, 0), -1);
    EXPECT_EQ(alert_requests().size(), 2u);
    // The target is kept whole, so that it can be refused.
    EXPECT_EQ(drop_target(CellPoint{kLastCell, 5}, CellPoint{0, 0}, CellRange{{0, 0}, {1, 1}}).botRight,
              (CellPoint{kLastCell + 1, 6}));
    EXPECT_EQ(drop_target(CellPoint{1, 1}, CellPoint{3, 2}, CellRange{{5, 5}, {8, 6}}).topLeft, (CellPoint{0, 0}));
}

TEST_F(CellDrag, ADropOnAnotherWindowCopies) {
    put_two_by_two();
    pf::move_window(window, 0, 60, true);
    pf::size_window(window, 390, 400, true);
    DoFileMenu(nullptr, 1);
    run_until_idle();
    pf::WindowRef other = pf::front_non_floating_window();
    ASSERT_NE(other, window);
    MemoryRef other_layer = doc_window_layer(window_doc_record(other));
    pf::move_window(other, 400, 60, true);
    pf::size_window(other, 390, 400, true);
    pf::select_window(window);
    run_until_idle();
    pf::Rect r;
    Cell_Location(0, &r, 1, CellPoint{2, 1}, other_layer);
    const pf::Rect content = pf::window_content_rect(other);
    pf::driver_drag(top_edge(), pf::Point{int16_t(content.top + r.top + 2), int16_t(content.left + r.left + 10)});
    run_until_idle();
    EXPECT_EQ(value(2, 1), 1) << "the source stays";
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{2, 1}, other_layer));
    EXPECT_EQ(load_f64(_formulaPtr_(cell)), 1);
}

TEST_F(CellDrag, TextDroppedByAnotherProgramBecomesCells) {
    pf::driver_drop_text(cell_point(CellPoint{2, 1}), "5\t6\n7\tword\n");
    run_until_idle();
    EXPECT_EQ(value(2, 1), 5);
    EXPECT_EQ(value(2, 2), 6);
    EXPECT_EQ(value(3, 1), 7);
    EXPECT_EQ(selection(), (CellRange{{2, 1}, {3, 2}}));
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(value(2, 1), -1);
}

}  // namespace
