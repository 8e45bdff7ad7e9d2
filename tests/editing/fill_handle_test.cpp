// The selection's fill handle dragged in the running program: numbers, dates
// and texts ending in digits continue as series, the direction follows the
// first cell left outside the selection, and a protected workbook refuses.
#include <string>

#include "../window/road_fixture.h"
#include "editing/sheet_drag.h"

namespace {

class FillHandle : public TypedRoadTest {
protected:
    // The fill handle of the selection, in global coordinates.
    pf::Point handle() {
        CellRange selection;
        GetSelectRect(&selection, layer);
        pf::Rect r;
        Range_Location(0, &r, 1, &selection, layer);
        const pf::Rect content = pf::window_content_rect(window);
        return pf::Point{int16_t(content.top + r.bottom), int16_t(content.left + r.right)};
    }
    void select(CellRange range) {
        LSelect(range.topLeft, &range, nullptr, 0, layer);
        run_until_idle();
    }
    void drag_handle_to(CellPoint cell) {
        pf::driver_drag(handle(), cell_point(cell));
        run_until_idle();
    }
    // The entry line's text for a cell, as a click on it shows it.
    std::string entry_of(CellPoint cell) {
        click(cell);
        unsigned char text[256];
        const int32_t length = entry_text(text, sizeof text);
        return std::string(reinterpret_cast<char*>(text), size_t(length));
    }
};

TEST_F(FillHandle, IsFoundAtTheSelectionsBottomRightCorner) {
    select(CellRange{{1, 1}, {2, 2}});
    pf::Rect r;
    const CellRange selection{{1, 1}, {2, 2}};
    Range_Location(0, &r, 1, &selection, layer);
    EXPECT_EQ(pt_in_drag(pf::Point{r.bottom, r.right}, 0, layer), kOnFillHandle);
    EXPECT_EQ(pt_in_drag(pf::Point{r.top, int16_t(r.left + 10)}, 0, layer), kOnSelectionBorder);
    EXPECT_EQ(pt_in_drag(pf::Point{int16_t(r.top + 8), int16_t(r.left + 10)}, 0, layer), 0);
    EXPECT_EQ(pt_in_drag(pf::Point{int16_t(r.bottom + 40), int16_t(r.right + 1)}, 0, layer), 0);
}

TEST_F(FillHandle, NumbersContinueByTheirStepAndUndoTakesThemBack) {
    enter("3");
    enter("5");
    select(CellRange{{0, 0}, {1, 0}});
    drag_handle_to(CellPoint{4, 0});
    EXPECT_EQ(value(2, 0), 7);
    EXPECT_EQ(value(3, 0), 9);
    EXPECT_EQ(value(4, 0), 11);
    CellRange selection;
    GetSelectRect(&selection, layer);
    EXPECT_EQ(selection, (CellRange{{0, 0}, {4, 0}}));
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(value(2, 0), -1);
    EXPECT_EQ(value(1, 0), 5);
}

TEST_F(FillHandle, DatesGoOnByTheirStepAndTextsByTheirLastNumber) {
    enter("3/30/2026");
    enter("4/6/2026");
    select(CellRange{{0, 0}, {1, 0}});
    drag_handle_to(CellPoint{3, 0});
    EXPECT_EQ(value(3, 0) - value(0, 0), 21);
    EXPECT_EQ(entry_of(CellPoint{3, 0}), "4/20/2026");

    click(CellPoint{6, 0});
    enter("Week 9");
    select(CellRange{{6, 0}, {6, 0}});
    drag_handle_to(CellPoint{6, 3});
    EXPECT_EQ(entry_of(CellPoint{6, 1}), "Week 10");
    EXPECT_EQ(entry_of(CellPoint{6, 3}), "Week 12");
}

TEST_F(FillHandle, UpwardDragsStretchOverTheSelection) {
    click(CellPoint{4, 0});
    enter("10");
    enter("20");
    select(CellRange{{4, 0}, {5, 0}});
    drag_handle_to(CellPoint{2, 0});
    EXPECT_EQ(value(3, 0), 0);
    EXPECT_EQ(value(2, 0), -10);
    EXPECT_EQ(value(5, 0), 20);
}

TEST_F(FillHandle, TheDirectionIsChosenOutsideTheSelectionAndChosenAgainInside) {
    FillHandleTrack track{CellRange{{2, 2}, {3, 3}}, FillDirection::kNone};
    // Below and right at once: across, on the selection's bottom row.
    EXPECT_EQ(fill_handle_cell(track, CellPoint{6, 5}), (CellPoint{3, 5}));
    EXPECT_EQ(fill_handle_cell(track, CellPoint{8, 4}), (CellPoint{3, 4}));
    // Back inside: the selection's corner, and the next move chooses again.
    EXPECT_EQ(fill_handle_cell(track, CellPoint{2, 3}), (CellPoint{3, 3}));
    EXPECT_EQ(fill_handle_cell(track, CellPoint{7, 3}), (CellPoint{7, 3}));
    EXPECT_EQ(fill_handle_cell(track, CellPoint{9, 6}), (CellPoint{9, 3}));
    EXPECT_EQ(track.direction, FillDirection::kVertical);
    // Above the selection: down the selection's right column.
    FillHandleTrack above{CellRange{{2, 2}, {3, 3}}, FillDirection::kNone};
    EXPECT_EQ(fill_handle_cell(above, CellPoint{0, 2}), (CellPoint{0, 3}));
}

TEST_F(FillHandle, AProtectedWorkbookShowsTheLockedAlertAndChangesNothing) {
    enter("1");
    enter("2");
    select(CellRange{{0, 0}, {1, 0}});
    MemoryRef workbook = GetWorkSheet(layer);
    Set_Work_Flags(workbook, uint16_t(Get_Work_Flags(workbook) | kWorkProtected));
    alert_requests().clear();
    drag_handle_to(CellPoint{3, 0});
    EXPECT_EQ(value(2, 0), -1);
    EXPECT_EQ(alert_requests().size(), 1u);
}

}  // namespace
