// Drawing tools in the running program: an object drawn by dragging in a
// document window, its outline following the mouse while it is made
// (screenshot object_being_made.png), and a marquee selecting what it meets.
#include <filesystem>
#include <vector>

#include "app/app_menus.h"
#include "app/event_loop.h"
#include "ui/task_manager.h"
#include "editing/editing_commands.h"
#include "model/layer.h"
#include "objects/object_drawing.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"
#include "platform/menus/menus.h"
#include "platform/screen/screen.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "window/front_document.h"
#include "tests/app/app_fixture.h"
#include "tests/core/dialog_test_support.h"
#include "tests/window/golden_image.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/selection_tracking.h"
#include "resource_ids.h"

namespace {

std::string mid_drag_png;
int composed = 0;

// Writes the screen once, halfway through the drag.
void capture_mid_drag() {
    pf::compose_screen();
    if (++composed == 7) pf::screen_write_png(mid_drag_png);
}

struct ObjectTools : AppTest {
    MemoryRef record = nullptr, layer = nullptr;
    pf::WindowRef window = nullptr;
    void SetUp() override {
        AppTest::SetUp();
        DoCommand(code_value("newd"));
        run_until_idle();
        record = front_document_record();
        layer = doc_window_layer(record);
        window = layer_window(layer);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        pf::host_set_composer(pf::compose_screen);
        AppTest::TearDown();
    }
    // A point of the first pane, in the window and on the screen.
    pf::Point local(int16_t v, int16_t h) {
        pf::Rect pane;
        GetPaneRect(&pane, 0, layer);
        return pf::Point{int16_t(pane.top + v), int16_t(pane.left + h)};
    }
    pf::Point global(pf::Point p) {
        const pf::Rect content = pf::window_content_rect(window);
        return pf::Point{int16_t(p.v + content.top), int16_t(p.h + content.left)};
    }
    // The user presses at `from`, drags to `to` and lets go; the window's
    // click procedure hands the press to the tool.
    template <typename Press>
    void drag_with(pf::Point from, pf::Point to, Press&& press) {
        pf::driver_drag(global(from), global(to), 0, 6);
        PushWindowPort(window);
        press();
        PopPort();
        // The press and release were the tool's, as the click procedure takes them.
        pf::flush_events(pf::kMouseDownMask | pf::kMouseUpMask, 0);
        run_until_idle();
    }
};

TEST_F(ObjectTools, AnOvalIsDrawnByDraggingItsOutline) {
    mid_drag_png = dialogtest::screenshot_path("object_being_made.png");
    std::filesystem::remove(mid_drag_png);
    composed = 0;
    pf::host_set_composer(capture_mid_drag);
    const pf::Point from = local(30, 40), to = local(110, 200);
    drag_with(from, to, [&] { EXPECT_TRUE(CreateObject(record, 7, from)); });
    ASSERT_EQ(num_objects(layer), 1);
    EXPECT_EQ(object_rect(find_object_item(layer, 1), 0, layer), (pf::Rect{from.v, from.h, to.v, to.h}));
    cairo_surface_t* shot = cairo_image_surface_create_from_png(mid_drag_png.c_str());
    EXPECT_TRUE(matches_golden_image(shot, "object_being_made"));
    cairo_surface_destroy(shot);
}

TEST_F(ObjectTools, AMarqueeSelectsWhatItMeets) {
    drag_with(local(20, 20), local(60, 80), [&] { CreateObject(record, 8, local(20, 20)); });
    drag_with(local(20, 200), local(60, 260), [&] { CreateObject(record, 8, local(20, 200)); });
    drag_with(local(10, 70), local(30, 90), [&] { Select_Object_Tool(record, local(10, 70)); });
    EXPECT_EQ(get_selected_object(layer, 1), find_object_item(layer, 1));
    EXPECT_EQ(get_selected_object(layer, 2), nullptr);
}

}  // namespace

namespace {

TEST_F(ObjectTools, ClosingADocumentWhileATextBoxIsEditedEndsTheEditing) {
    drag_with(local(20, 20), local(60, 120), [&] { CreateObject(record, 10, local(20, 20)); });
    ASSERT_NE(GetObjEditor(layer, nullptr), nullptr);
    pf::driver_type("Closing");
    run_until_idle();
    MemoryRef box = find_object_item(layer, 1);
    DoCommand(code_value("clos"));
    run_until_idle();
    EXPECT_EQ(GetObjEditor(layer, nullptr), nullptr);
    const TextBoxParts parts = text_box_parts(reinterpret_cast<MemoryRef>(GetObj_info(box, pf::four_cc("data"))));
    EXPECT_EQ(std::string(parts.text.begin(), parts.text.end()), "Closing");
    // The box is something to save: the question comes (and is cancelled in this run).
    EXPECT_EQ(front_document_record(), record);
}

}  // namespace

namespace {

TEST_F(ObjectTools, TheEditMenuSpeaksForTheTextOfABoxUnderEdit) {
    drag_with(local(20, 20), local(60, 120), [&] { CreateObject(record, 10, local(20, 20)); });
    pf::driver_type("Words");
    run_until_idle();
    set_edit_menu(record);
    pf::MenuRef edit = pf::get_menu_handle(kEditMenu);
    EXPECT_EQ(pf::get_menu_item_text(edit, 1), "Undo Typing");
    EXPECT_FALSE(pf::is_menu_item_enabled(edit, 11));  // no Find in a box's text
    DoEditMenu(record, kEditUndoItem);  // the typing goes, the box stays
    ClobberObjectEditor(layer);
    EXPECT_EQ(num_objects(layer), 1);
}

}  // namespace

namespace {

TEST_F(ObjectTools, AClickOnARowOrColumnHeadingSelectsCellsAndLetsTheObjectsGo) {
    drag_with(local(20, 20), local(60, 80), [&] { CreateObject(record, 8, local(20, 20)); });
    drag_with(local(10, 10), local(70, 90), [&] { Select_Object_Tool(record, local(10, 10)); });
    ASSERT_NE(get_selected_object(layer, 1), nullptr);
    pf::Rect pane;
    GetPaneRect(&pane, 0, layer);
    const pf::Point row_heading{int16_t(pane.top + 40), int16_t(pane.left - 10)};
    pf::driver_click(global(row_heading));
    run_until_idle();
    EXPECT_EQ(get_selected_object(layer, 1), nullptr) << "the row heading takes the selection";
    CellRange selection;
    GetSelectRect(&selection, layer);
    EXPECT_TRUE(whole_rows(selection));

    drag_with(local(10, 10), local(70, 90), [&] { Select_Object_Tool(record, local(10, 10)); });
    ASSERT_NE(get_selected_object(layer, 1), nullptr);
    const pf::Point column_heading{int16_t(pane.top - 6), int16_t(pane.left + 120)};
    pf::driver_click(global(column_heading));
    run_until_idle();
    EXPECT_EQ(get_selected_object(layer, 1), nullptr) << "and so does a column heading";
    GetSelectRect(&selection, layer);
    EXPECT_TRUE(whole_columns(selection));
}

}  // namespace

namespace {

// The pixels of a menu title as the screen shows it.
std::vector<uint32_t> title_pixels(int16_t menu_id) {
    pf::compose_screen();
    const pf::Rect title = pf::menu_title_rect(menu_id);
    std::vector<uint32_t> pixels;
    for (int16_t v = title.top; v < title.bottom; ++v)
        for (int16_t h = title.left; h < title.right; ++h) pixels.push_back(pf::screen_pixel(h, v));
    return pixels;
}

// A menu used while an object is selected dims the Functions title; a click on
// a cell afterwards lights it again at once, on the screen, with no menu opened.
TEST_F(ObjectTools, TheFunctionsTitleLightsAgainWhenCellsAreSelectedAfterAnObject) {
    enable_menus();
    run_until_idle();
    const std::vector<uint32_t> lit = title_pixels(kFunctionsMenu);
    drag_with(local(20, 20), local(60, 80), [&] { CreateObject(record, 8, local(20, 20)); });
    ASSERT_NE(get_selected_object(layer, 1), nullptr);
    enable_menus();
    pf::draw_menu_bar();
    ASSERT_FALSE(pf::get_menu_handle(kFunctionsMenu)->enabled);
    ASSERT_NE(title_pixels(kFunctionsMenu), lit);
    pf::driver_click(global(local(150, 150)));
    run_until_idle();
    ASSERT_EQ(get_selected_object(layer, 1), nullptr);
    EXPECT_TRUE(pf::get_menu_handle(kFunctionsMenu)->enabled);
    EXPECT_EQ(title_pixels(kFunctionsMenu), lit);
}

}  // namespace
