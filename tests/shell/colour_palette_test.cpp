// The colour palette in the running program: its swatches' hit order, the
// values it shows for the selection, and its picture.
#include <cairo.h>

#include <cstring>
#include <functional>
#include <vector>

#include "format_fixture.h"
#include "../window/golden_image.h"
#include "platform/draw/draw.h"
#include "platform/draw/paint.h"
#include "platform/fonts/fonts.h"
#include "shell/colour_commands.h"
#include "shell/colour_palette.h"
#include "shell/graphic_menus.h"
#include "shell/shell_commands.h"
#include "editing/undo.h"
#include "model/workbook.h"
#include "objects/objects.h"
#include "shell/document_facts.h"
#include "window/entry_line.h"
#include "window/keyboard_navigation.h"
#include "window/front_document.h"

namespace {

TEST(ColourPaletteItems, OverlapsBelongToTheEarlierItem) {
    constexpr int16_t right = 68;
    EXPECT_EQ(find_color_item(pf::Point{10, 50}, right, true), 1);
    EXPECT_EQ(find_color_item(pf::Point{10, 50}, right, false), 0);  // text colour not shown
    EXPECT_EQ(find_color_item(pf::Point{36, 30}, right, true), 2);   // fill fore over its back
    EXPECT_EQ(find_color_item(pf::Point{45, 40}, right, true), 3);
    EXPECT_EQ(find_color_item(pf::Point{65, 20}, right, true), 4);
    EXPECT_EQ(find_color_item(pf::Point{99, 30}, right, true), 8);   // line size over frame type
    EXPECT_EQ(find_color_item(pf::Point{110, 30}, right, true), 9);
    EXPECT_EQ(find_color_item(pf::Point{50, 2}, right, true), 0);
}

struct ColourPalette : FormatMenuTest {
    void TearDown() override {
        if (ColorPalette) close_Color_proc(nullptr, 0, 0);
        FormatMenuTest::TearDown();
    }
    uint32_t pixel(int x, int y) {
        pf::Port* port = pf::window_port(ColorPalette);
        pf::surface_flush(*port);
        return pf::surface_row(*port, y - port->bounds.top)[x - port->bounds.left] & 0xFFFFFF;
    }
};

TEST_F(ColourPalette, ShowsTheSelectionsFillAndGreysWhatCellsLack) {
    pf::set_text_antialiasing(false);
    select(CellRange{{1, 1}, {2, 2}});
    ColorMenus(kFillForeMenu, 7);
    PatternMenus(kFillPatternMenu, 8);
    MakeColorWindow();
    ASSERT_NE(ColorPalette, nullptr);
    run_until_idle();
    EXPECT_EQ(color_palette_value(kFillForeSlot), 6);
    EXPECT_EQ(color_palette_value(kFillPatternSlot), 7);
    EXPECT_LT(color_palette_value(kLineForeSlot), 0);
    EXPECT_LT(color_palette_value(kFrameTypeSlot), 0);

    const int width = 68, height = 118;
    cairo_surface_t* shot = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(shot));
    const int stride = cairo_image_surface_get_stride(shot) / 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) data[y * stride + x] = pixel(x, y);
    cairo_surface_mark_dirty(shot);
    EXPECT_TRUE(matches_golden_image(shot, "colour_palette"));
    cairo_surface_destroy(shot);
    pf::set_text_antialiasing(true);

    select(CellRange{{5, 5}, {5, 5}});
    app_prefs.options2 |= kPrefRefreshButtons;  // as a change of selection asks
    run_until_idle();
    EXPECT_EQ(color_palette_value(kFillForeSlot), 0);
}

TEST_F(ColourPalette, ClosingForgetsTheWindowAndItsStartUpBit) {
    app_prefs.options |= kPrefColorPalette;
    MakeColorWindow();
    EventRecord close{};
    close_Color_proc(&close, 0, 0);
    EXPECT_EQ(ColorPalette, nullptr);
    EXPECT_FALSE(app_prefs.options & kPrefColorPalette);
}

}  // namespace

namespace {

// A selected drawing object's own values reach the palette and the entry
// line shows no cell text; lines have no fill, and a mixed frame no one line size.
struct SelectedObject : FormatMenuTest {
    MemoryRef object_of(pf::FourCC kind) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, layer), 1);
        using pf::four_cc;
        for (auto [tag, value] : {std::pair{four_cc("fcol"), 4}, {four_cc("bcol"), 5}, {four_cc("pat "), 6},
                                  {four_cc("lfcl"), 7}, {four_cc("bfcl"), 8}, {four_cc("lpat"), 9},
                                  {four_cc("lsiz"), 3}, {four_cc("fram"), 1}})
            SetObj_info(object, tag, value);
        add_selected(layer, object);
        return object;
    }
    void show() { show_selection_in_color_palette(read_document_facts(front_document_record())); }
};

TEST_F(SelectedObject, PaletteShowsTheObjectsLinesAndFill) {
    MemoryRef rect = object_of(kRectObject);
    show();
    EXPECT_EQ(color_palette_value(kFillForeSlot), 4);
    EXPECT_EQ(color_palette_value(kFillBackSlot), 5);
    EXPECT_EQ(color_palette_value(kFillPatternSlot), 6);
    EXPECT_EQ(color_palette_value(kLineForeSlot), 7);
    EXPECT_EQ(color_palette_value(kLineBackSlot), 8);
    EXPECT_EQ(color_palette_value(kLinePatternSlot), 9);
    EXPECT_EQ(color_palette_value(kLineSizeSlot), 3);
    EXPECT_EQ(color_palette_value(kFrameTypeSlot), 1);
    EXPECT_EQ(color_palette_value(kTextColourSlot), -1);

    SetObj_info(rect, pf::four_cc("fram"), 3);
    show();
    EXPECT_EQ(color_palette_value(kLineSizeSlot), -1);

    clear_selected_objects(layer);
    add_selected(layer, object_of(kLineObject));
    show();
    EXPECT_EQ(color_palette_value(kFillForeSlot), -1);
    EXPECT_EQ(color_palette_value(kLineForeSlot), 7);
}

// Several objects show what they share; a property in which they differ
// shows as mixed, and a line has no fill to differ in.
TEST_F(SelectedObject, SeveralObjectsShowWhatTheyShareAndMixedWhereTheyDiffer) {
    MemoryRef rect = object_of(kRectObject);
    MemoryRef oval = object_of(kOvalObject);
    SetObj_info(oval, pf::four_cc("fcol"), 3);
    SetObj_info(oval, pf::four_cc("lsiz"), 2);
    show();
    EXPECT_EQ(color_palette_value(kFillForeSlot), -1);
    EXPECT_EQ(color_palette_value(kLineSizeSlot), -1);
    EXPECT_EQ(color_palette_value(kFillBackSlot), 5);
    EXPECT_EQ(color_palette_value(kLineForeSlot), 7);
    EXPECT_EQ(color_palette_value(kFrameTypeSlot), 1);

    SetObj_info(oval, pf::four_cc("fcol"), 4);
    SetObj_info(oval, pf::four_cc("lsiz"), 3);
    add_selected(layer, object_of(kLineObject));
    SetObj_info(rect, pf::four_cc("lfcl"), 2);
    show();
    EXPECT_EQ(color_palette_value(kFillForeSlot), 4) << "the line has no fill";
    EXPECT_EQ(color_palette_value(kLineSizeSlot), 3);
    EXPECT_EQ(color_palette_value(kLineForeSlot), -1);
}

TEST_F(SelectedObject, EntryLineShowsNoCellTextWhileAnObjectIsSelected) {
    EditorKey('x', front_document_record(), 0);
    EditorKey(kKeyReturn, front_document_record(), 0);
    select(CellRange{{0, 0}, {0, 0}});
    DisplayText(front_document_record(), 1);
    unsigned char text[16];
    ASSERT_EQ(entry_text(text, sizeof text), 1);
    object_of(kOvalObject);
    DisplayText(front_document_record(), 1);
    EXPECT_EQ(entry_text(text, sizeof text), 0);
}

}  // namespace

namespace {

// Each colour, pattern, line size and frame choice goes to the selected
// objects alone, shows in the palette and is undone as one step; the cells
// keep their formats.
struct ObjectColours : SelectedObject {
    MemoryRef rect = nullptr, oval = nullptr, apart = nullptr;
    void SetUp() override {
        SelectedObject::SetUp();
        rect = object_of(kRectObject);
        oval = object_of(kOvalObject);
        apart = object_of(kRectObject);
        RemoveSelected(layer, apart);
    }
    std::vector<int> values(pf::FourCC tag) {
        return {int(GetObj_info(rect, tag)), int(GetObj_info(oval, tag)), int(GetObj_info(apart, tag))};
    }
    void undo() { DoUndo(GetWorkSheet(layer)); }
};

TEST_F(ObjectColours, EveryChoiceGoesToTheSelectedObjectsWithOneUndoStep) {
    using pf::four_cc;
    struct Step {
        std::function<void()> choose;
        pf::FourCC tag;
        int value;
        int16_t slot;
    };
    const Step steps[] = {
        {[] { ColorMenus(kFillForeMenu, 11); }, four_cc("fcol"), 10, kFillForeSlot},
        {[] { ColorMenus(kFillBackMenu, 1); }, four_cc("bcol"), 0, kFillBackSlot},
        {[] { ColorMenus(kLineForeMenu, 3); }, four_cc("lfcl"), 2, kLineForeSlot},
        {[] { ColorMenus(kLineBackMenu, 6); }, four_cc("bfcl"), 5, kLineBackSlot},
        {[] { PatternMenus(kFillPatternMenu, 2); }, four_cc("pat "), 0, kFillPatternSlot},
        {[] { PatternMenus(kLinePatternMenu, 13); }, four_cc("lpat"), 12, kLinePatternSlot},
        {[] { set_line_size(nullptr, 6); }, four_cc("lsiz"), 6, kLineSizeSlot},
        {[] { set_frame_type(nullptr, 2); }, four_cc("fram"), 2, kFrameTypeSlot},
    };
    const CellFormat cells_before = at(0, 0);
    for (const Step& step : steps) {
        const std::vector<int> before = values(step.tag);
        step.choose();
        EXPECT_EQ(values(step.tag), (std::vector<int>{step.value, step.value, before[2]})) << step.slot;
        EXPECT_EQ(color_palette_value(step.slot), step.value);
        undo();
        EXPECT_EQ(values(step.tag), before) << step.slot;
        DoRedo(GetWorkSheet(layer));
        EXPECT_EQ(values(step.tag), (std::vector<int>{step.value, step.value, before[2]})) << step.slot;
    }
    EXPECT_EQ(std::memcmp(at(0, 0).bytes, cells_before.bytes, sizeof cells_before.bytes), 0);
}

TEST_F(ObjectColours, LineSizeAndFrameNeedSelectedObjects) {
    clear_selected_objects(layer);
    select(CellRange{{1, 1}, {1, 1}});
    set_line_size(nullptr, 5);
    set_frame_type(nullptr, 3);
    EXPECT_EQ(values(pf::four_cc("lsiz")), (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(values(pf::four_cc("fram")), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(GetSheetUndo(layer), 0);
}

}  // namespace

namespace {

// The line size and frame rows pop up their menus under the row; the item
// released on goes to the selected objects.
TEST_F(ObjectColours, TheLineSizeAndFrameRowsPopUpTheirMenus) {
    MakeColorWindow();
    ASSERT_NE(ColorPalette, nullptr);
    show();
    run_until_idle();
    const pf::Rect content = pf::window_content_rect(ColorPalette);
    for (int16_t item : {int16_t(8), int16_t(9)}) {
        const pf::FourCC tag = pf::four_cc(item == 8 ? "lsiz" : "fram");
        const pf::Rect row = color_item_rect(item, 68);
        const pf::Point press{int16_t(content.top + row.top + 8), int16_t(content.left + 20)};
        pf::driver_drag(press, pf::Point{int16_t(press.v + 60), int16_t(press.h + 10)});
        run_until_idle();
        const int chosen = int(GetObj_info(rect, tag));
        EXPECT_EQ(values(tag), (std::vector<int>{chosen, chosen, item == 8 ? 3 : 1})) << item;
        EXPECT_NE(chosen, item == 8 ? 3 : 1) << "an item below the row was chosen";
        EXPECT_EQ(color_palette_value(item == 8 ? kLineSizeSlot : kFrameTypeSlot), chosen);
    }
    close_Color_proc(nullptr, 0, 0);
}

}  // namespace
