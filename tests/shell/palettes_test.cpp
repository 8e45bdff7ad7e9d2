// The grid and tool palettes and their pop-up menus in the running program:
// the box geometry, the border tools applied and marked from a click, the
// drawing tools armed and drawing their object with the next sheet drag,
// closing, and their pictures.
#include <cairo.h>

#include "format_fixture.h"
#include "../window/golden_image.h"
#include "palette_picture.h"
#include "model/cell_format.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "platform/draw/draw.h"
#include "platform/draw/paint.h"
#include "platform/draw/text.h"
#include "platform/fonts/fonts.h"
#include "platform/scrap/scrap.h"
#include "platform/screen/cursor.h"
#include "shell/grid_palette.h"
#include "shell/palette_grid.h"
#include "shell/shell_commands.h"
#include "shell/tool_palette.h"
#include "ui/task_manager.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/front_document.h"
#include "app/event_loop.h"
#include "resource_ids.h"

namespace {

TEST(PaletteGeometry, BoxesAndHitsAgree) {
    EXPECT_EQ(palette_width(), 68);
    EXPECT_EQ(palette_height(kToolRows), 83);
    EXPECT_EQ(palette_height(kLongPaletteRows), 104);
    pf::Rect box;
    FindToolBox(kToolRows, 12, &box);
    EXPECT_EQ(box, (pf::Rect{63, 46, 83, 68}));
    for (int16_t item = 1; item <= 12; ++item) {
        FindToolBox(kToolRows, item, &box);
        EXPECT_EQ(FindTItem(kToolRows, pf::Point{int16_t(box.top + 1), int16_t(box.left + 1)}), item);
        EXPECT_EQ(FindTItem(kToolRows, pf::Point{int16_t(box.bottom - 1), int16_t(box.right - 1)}), item);
    }
    EXPECT_EQ(FindTItem(kToolRows, pf::Point{0, 10}), 0);        // the first pixel row
    EXPECT_EQ(FindTItem(kToolRows, pf::Point{10, 0}), 0);        // the first pixel column
    EXPECT_EQ(FindTItem(kToolRows, pf::Point{90, 10}), 0);       // a fifth row
    EXPECT_EQ(FindTItem(kLongPaletteRows, pf::Point{90, 10}), 13);
    EXPECT_EQ(FindTItem(kToolRows, pf::Point{10, 70}), 0);       // a fourth column
    FindToolBox(kToolRows, 13, &box);
    EXPECT_TRUE(box.empty());
}

cairo_surface_t* window_picture(WindowRef window) {
    return palette_picture(window, palette_width(), palette_height(kToolRows));
}

struct Palettes : FormatMenuTest {
    void TearDown() override {
        if (GridPalette) close_grid_proc(nullptr, 0, 0);
        if (ToolPalette) close_Tool_proc(nullptr, 0, 0);
        FormatMenuTest::TearDown();
    }
    // Clicks the middle of an item's box in a palette window.
    void click_item(WindowRef window, int16_t item) {
        pf::Rect box;
        FindToolBox(kToolRows, item, &box);
        const pf::Rect content = pf::window_content_rect(window);
        pf::driver_click(pf::Point{int16_t(content.top + (box.top + box.bottom) / 2),
                                   int16_t(content.left + (box.left + box.right) / 2)});
        run_until_idle();
    }
    uint16_t word(int16_t row, int16_t column) { return format_border_styles(at(row, column).bytes); }
    uint16_t pending_tool() { return read_doc_window(front_document_record()).tool; }
    void click_cell(int16_t dv, int16_t dh) {
        pf::driver_click(inside(read_doc_window(front_document_record()).window, dv, dh));
        run_until_idle();
    }
    void drag_in_sheet(int16_t from_v, int16_t from_h, int16_t to_v, int16_t to_h) {
        const WindowRef window = read_doc_window(front_document_record()).window;
        pf::driver_drag(inside(window, from_v, from_h), inside(window, to_v, to_h), 0, 6);
        run_until_idle();
    }
};

TEST_F(Palettes, GridClickAppliesTheToolAndMarksIt) {
    select(CellRange{{1, 1}, {2, 2}});
    MakeGridWindow();
    ASSERT_NE(GridPalette, nullptr);
    run_until_idle();
    click_item(GridPalette, 10);  // thin on all four sides
    EXPECT_EQ(word(1, 1), 0x2222);
    EXPECT_EQ(word(2, 2), 0x2222);
    EXPECT_EQ(g_grid_tool, 10);
    pf::set_text_antialiasing(false);
    cairo_surface_t* shot = window_picture(GridPalette);
    EXPECT_TRUE(matches_golden_image(shot, "grid_palette"));
    cairo_surface_destroy(shot);
    pf::set_text_antialiasing(true);

    click_item(GridPalette, 2);  // bottom thin keeps the other sides
    EXPECT_EQ(word(1, 1), 0x2222);
    EXPECT_EQ(g_grid_tool, 10);
    click_item(GridPalette, 1);
    EXPECT_EQ(word(2, 2), 0);
    EXPECT_EQ(g_grid_tool, 1);
}

TEST_F(Palettes, MixedBordersDimTheFaceAndAUniformWordRestoresIt) {
    MakeGridWindow();
    run_until_idle();
    const uint16_t mixed = 0xFFFF, thick_outline = 0x4400;
    update_grid(&mixed, false);
    EXPECT_EQ(g_grid_tool, -1);
    cairo_surface_t* dimmed = window_picture(GridPalette);
    update_grid(&thick_outline, false);
    EXPECT_EQ(g_grid_tool, 12);
    cairo_surface_t* restored = window_picture(GridPalette);
    // The outline tool's top-left corner: black when active, grey when dimmed.
    const int x = 46 + 4, y = 63 + 3;
    auto at = [](cairo_surface_t* s, int px, int py) {
        return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) + py * cairo_image_surface_get_stride(s))[px] &
               0xFFFFFF;
    };
    EXPECT_EQ(at(restored, x, y), 0x000000u);
    EXPECT_NE(at(dimmed, x, y), 0x000000u);
    cairo_surface_destroy(dimmed);
    cairo_surface_destroy(restored);
}

TEST_F(Palettes, ClosingAPaletteDisarmsTheToolUnlessQuitting) {
    app_prefs.options |= kPrefGridPalette | kPrefToolPalette;
    MakeGridWindow();
    MakeToolWindow();
    DoToolMenu(nullptr, 8);
    EventRecord quitting{};
    quitting.message = kCloseForQuit;
    close_grid_proc(&quitting, 0, 0);
    EXPECT_EQ(GridPalette, nullptr);
    EXPECT_TRUE(app_prefs.options & kPrefGridPalette);
    EXPECT_EQ(pending_tool(), 8);
    EventRecord by_user{};
    close_Tool_proc(&by_user, 0, 0);
    EXPECT_EQ(ToolPalette, nullptr);
    EXPECT_FALSE(app_prefs.options & kPrefToolPalette);
    EXPECT_EQ(pending_tool(), 0);
    MakeToolWindow();  // opens again where it was closed
    EXPECT_NE(ToolPalette, nullptr);
}

TEST_F(Palettes, AnArmedToolDrawsItsObjectWithTheNextSheetDragOnly) {
    MakeToolWindow();
    ASSERT_NE(ToolPalette, nullptr);
    run_until_idle();
    auto corner_of_oval_box = [] {
        cairo_surface_t* shot = window_picture(ToolPalette);
        const uint32_t pixel =
            reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(shot) + 44 * cairo_image_surface_get_stride(shot))[2];
        cairo_surface_destroy(shot);
        return pixel & 0xFFFFFF;
    };
    const uint32_t unmarked = corner_of_oval_box();
    click_item(ToolPalette, 7);  // oval
    EXPECT_EQ(pending_tool(), 7);
    EXPECT_NE(corner_of_oval_box(), unmarked);  // the armed tool is shown
    const int beeps = pf::beep_count();
    drag_in_sheet(60, 150, 110, 230);
    EXPECT_EQ(pending_tool(), 0);  // the tool is disarmed
    EXPECT_EQ(corner_of_oval_box(), unmarked);
    std::vector<MemoryRef> objects = layer_objects(layer);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(static_cast<ObjectRecord*>(UseMemory(objects[0]))->kind, kOvalObject);
    UnuseMemory(objects[0]);

    click_item(ToolPalette, 8);  // rectangle
    drag_in_sheet(150, 150, 200, 260);
    objects = layer_objects(layer);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(static_cast<ObjectRecord*>(UseMemory(objects[1]))->kind, kRectObject);
    UnuseMemory(objects[1]);

    click_cell(250, 300);  // no tool armed: selects cells and makes nothing
    EXPECT_EQ(get_selected_object(layer, 1), nullptr);
    EXPECT_EQ(layer_objects(layer).size(), 2u);
    EXPECT_EQ(pf::beep_count(), beeps);
}

TEST_F(Palettes, NewDocumentWindowsOpenRightOfTheToolPaletteColumn) {
    MakeToolWindow();
    run_until_idle();
    ASSERT_NE(ToolPalette, nullptr);
    DoCommand(code_value("newd"));
    run_until_idle();
    ASSERT_NE(FrontDocWindow(), nullptr);
    EXPECT_GE(pf::window_struct_rect(FrontDocWindow()).left, pf::window_struct_rect(ToolPalette).right);
}

TEST_F(Palettes, TheDrawingToolsSubmenuArmsAToolWhileADocumentIsInFront) {
    pf::MenuRef object_menu = pf::get_menu_handle(kObjectMenu);
    set_object_menu(nullptr);
    EXPECT_FALSE(pf::is_menu_item_enabled(object_menu, 13));
    set_object_menu(doc_window_layer(front_document_record()));
    EXPECT_TRUE(pf::is_menu_item_enabled(object_menu, 13));
    do_menu_button(kToolMenu, 8);
    EXPECT_EQ(pending_tool(), 8);
}

TEST_F(Palettes, ToolsAreRefusedWhileTypingAndThePictureToolActsAtOnce) {
    EditorKey('4', front_document_record(), 0);
    ASSERT_NE(Editor_Wind, nullptr);
    int beeps = pf::beep_count();
    DoToolMenu(nullptr, 4);
    EXPECT_EQ(pf::beep_count(), beeps + 1);
    EXPECT_EQ(pending_tool(), 0);
    EditorKey(pf::kEscapeChar, front_document_record(), 0);
    ASSERT_EQ(Editor_Wind, nullptr);

    const int32_t scrap = pf::scrap_change_count();
    beeps = pf::beep_count();
    DoToolMenu(nullptr, kPictureTool);
    EXPECT_EQ(pending_tool(), 0);
    EXPECT_EQ(pf::beep_count(), beeps);
    EXPECT_NE(pf::scrap_change_count(), scrap);
    std::vector<uint8_t> picture;
    ASSERT_EQ(pf::get_scrap(pf::kScrapPicture, picture), pf::noErr);
    EXPECT_GT(picture.size(), 10u);  // a picture of the selected cell, not an empty one
}

TEST_F(Palettes, ToolPalettePicture) {
    MakeToolWindow();
    run_until_idle();
    cairo_surface_t* shot = window_picture(ToolPalette);
    EXPECT_TRUE(matches_golden_image(shot, "tool_palette"));
    cairo_surface_destroy(shot);
}

struct PaletteMenus : AppTest {
    cairo_surface_t* surface = nullptr;
    pf::Port port;
    pf::MenuRef menu = nullptr;

    void draw(int16_t id) {
        menu = pf::get_menu(id);
        ASSERT_NE(menu, nullptr);
        pf::Rect rect{};
        pf::MenuDefParams params;
        menu->proc(pf::kMenuSizeMsg, menu, rect, params);
        rect = pf::Rect{0, 0, menu->menu_height, menu->menu_width};
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, rect.width(), rect.height());
        pf::open_port(port, surface, rect.width(), rect.height());
        pf::set_port(&port);
        menu->proc(pf::kMenuDrawMsg, menu, rect, params);
        params.previous_item = 0;
        params.new_item = 5;
        menu->proc(pf::kMenuHiliteItemMsg, menu, rect, params);
    }
    void TearDown() override {
        pf::set_port(nullptr);
        pf::close_port(port);
        if (surface) cairo_surface_destroy(surface);
        pf::dispose_menu(menu);
        AppTest::TearDown();
    }
};

TEST_F(PaletteMenus, ToolsMenuPicture) {
    draw(kToolMenu);
    EXPECT_TRUE(matches_golden_image(surface, "tools_menu"));
}

TEST_F(PaletteMenus, BordersMenuPictureAndItsItems) {
    draw(kBordersMenu);
    EXPECT_TRUE(matches_golden_image(surface, "borders_menu"));
    pf::Rect rect{200, 300, 283, 368};
    pf::MenuDefParams params;
    params.hit = pf::Point{200 + 63 + 5, 300 + 46 + 5};
    PaletteMDEF(pf::kMenuFindItemMsg, menu, rect, params);
    EXPECT_EQ(params.item_selected, 12);
    EXPECT_EQ(params.item_rect, (pf::Rect{263, 346, 283, 368}));
    params.hit = pf::Point{199, 310};  // above the menu
    PaletteMDEF(pf::kMenuFindItemMsg, menu, rect, params);
    EXPECT_EQ(params.item_selected, 0);
}

}  // namespace
