// The cursor a document window sets for what lies under the pointer where no
// drawing object or heading answers: an armed tool, the calculation's state,
// the selection's fill handle (not while a cell is typed in), and a text box
// under edit, whose view the idle time keeps over the box; over a selected
// chart, the outline of the part under the pointer.
#include "../app/new_document_fixture.h"
#include "charts/chart_data.h"
#include "charts/chart_drawing.h"
#include "charts/chart_record.h"
#include "editing/find_replace.h"
#include "platform/controls/control_look.h"
#include "platform/screen/screen.h"
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

namespace {

class SheetCursorTest : public NewDocumentTest {
protected:
    void SetUp() override {
        NewDocumentTest::SetUp();
        select_cells(layer, CellRange{{2, 1}, {3, 2}});
    }
    void TearDown() override {
        stopCalc = kCalcAutoDone;
        NewDocumentTest::TearDown();
    }

    // The cursor shown once the pointer rests at a point of the window.
    int16_t cursor_at(pf::Point local) {
        pf::Rect content = pf::window_content_rect(window);
        pf::driver_move(pf::Point{int16_t(content.top + local.v), int16_t(content.left + local.h)});
        run_until_idle();
        return pf::current_cursor_resource();
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

    // The view lies inside the frame by the line size and 4 pixels more, at least 5.
    for (const auto& [line_size, inset] : {std::pair{1, 5}, std::pair{0, 5}, std::pair{3, 7}}) {
        SetObj_info(object, pf::four_cc("lsiz"), line_size);
        WEReference we = object_text_editor(layer);
        LongRect away;
        WESetLongRect(away, 0, 0, 10, 10);
        WESetViewRect(away, we);
        SheetIdle(layer);
        LongRect view;
        WEGetViewRect(view, we);
        EXPECT_EQ(view.left, box.left + inset) << "line size " << line_size;
        EXPECT_EQ(view.top, box.top + inset) << "line size " << line_size;
        EXPECT_EQ(view.right, box.right - inset) << "line size " << line_size;
        EXPECT_EQ(view.bottom, box.bottom - inset) << "line size " << line_size;
    }
    end_text_editing(layer, false);
}

}  // namespace

namespace {

// The screen's pixels along the top edge of a chart part's outline, read at
// every present while the pointer rests over the part.
pf::Rect outline_edge;
std::vector<uint32_t> edge_at_rest;
bool outline_seen = false;

std::vector<uint32_t> edge_pixels() {
    std::vector<uint32_t> row;
    for (int16_t h = outline_edge.left; h < outline_edge.right; ++h) row.push_back(pf::screen_pixel(h, outline_edge.top) & 0xFFFFFF);
    return row;
}

void watch_outline() {
    pf::compose_screen();
    if (!edge_at_rest.empty() && !outline_seen && edge_pixels() != edge_at_rest) {
        outline_seen = true;
        pf::screen_write_png(std::string(QUORVIN_BINARY_DIR) + "/chart_part_outline.png");
    }
}

}  // namespace

// Over a selected chart the cursor is the chart cursor and the part under the
// pointer blinks its outline: drawn for a moment, then gone again.
TEST_F(SheetCursorTest, OverASelectedChartThePartUnderThePointerBlinksItsOutline) {
    store_typed_text(layer, CellPoint{0, 0}, "4");
    store_typed_text(layer, CellPoint{1, 0}, "9");
    MemoryRef object = nullptr;
    ASSERT_EQ(NewObject(pf::four_cc("bcht"), &object, 0, layer), 1);
    MemoryRef chart = NewChartRecord(&mem_globals, CellRange{{0, 0}, {1, 0}});
    SetObj_info(object, pf::four_cc("chrt"), reinterpret_cast<intptr_t>(chart));
    ObjectRecord* fields = use_object(object);
    fields->anchor_row = 5, fields->anchor_column = 1, fields->height = 160, fields->width = 260;
    release_object(object);
    select_cells(layer, CellRange{{0, 0}, {0, 0}});
    add_selected(layer, object);
    pf::inval_window_rect(window, pf::window_port(window)->port_rect);
    run_until_idle();

    pf::Rect rect;
    ASSERT_TRUE(ObjectOnScreen(0, 0, &rect, object, layer));
    const ChartParts parts = chart_parts(pf::four_cc("bcht"), chart, chart_data(chart, layer), rect);
    const pf::Rect content = pf::window_content_rect(window);
    outline_edge = pf::offset_rect(pf::inset_rect(parts.plot, -1, -1), content.left, content.top);
    edge_at_rest = edge_pixels();
    outline_seen = false;
    pf::host_set_composer(watch_outline);
    const pf::Point plot_middle{int16_t((parts.plot.top + parts.plot.bottom) / 2), int16_t((parts.plot.left + parts.plot.right) / 2)};
    EXPECT_EQ(cursor_at(plot_middle), kChartCursor);
    pf::host_set_composer(pf::compose_screen);
    EXPECT_TRUE(outline_seen) << "the plot's outline was drawn";
    pf::compose_screen();
    EXPECT_EQ(edge_pixels(), edge_at_rest) << "and taken away again";
    edge_at_rest.clear();
}
