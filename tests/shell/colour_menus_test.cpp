// The colour and pattern menus in the running program: each choice on the
// front document's selection with undo, the choices they show for the
// selection, the hit rules and placement of their grids, and their pictures.
#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "format_fixture.h"
#include "../window/golden_image.h"
#include "editing/undo.h"
#include "model/workbook.h"
#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "shell/colour_commands.h"
#include "shell/graphic_menus.h"
#include "platform/fonts/fonts.h"
#include "shell/format_menus.h"
#include "shell/shell_commands.h"
#include "window/sheet_paint.h"
#include "window/front_document.h"
#include "resource_ids.h"

namespace {

struct ColourMenus : FormatMenuTest {
    void SetUp() override {
        FormatMenuTest::SetUp();
        select(CellRange{{1, 1}, {2, 2}});
    }
    void undo() { DoUndo(GetWorkSheet(layer)); }
    void redo() { DoRedo(GetWorkSheet(layer)); }
};

TEST_F(ColourMenus, FillColoursAndPatternGoToTheCellsEachWithUndo) {
    ColorMenus(kFillForeMenu, 4);
    EXPECT_EQ(at(2, 2).bytes[kFmtPatternFore], 3);
    EXPECT_EQ(color_palette_value(kFillForeSlot), 3);
    ColorMenus(kFillBackMenu, 7);
    EXPECT_EQ(at(1, 1).bytes[kFmtPatternBack], 6);
    PatternMenus(kFillPatternMenu, 12);
    EXPECT_EQ(at(1, 2).bytes[kFmtPattern], 11);
    undo();
    EXPECT_EQ(at(1, 2).bytes[kFmtPattern], 0);
    EXPECT_EQ(at(1, 2).bytes[kFmtPatternBack], 6);
    undo();
    EXPECT_EQ(at(1, 2).bytes[kFmtPatternBack], 0);
    redo();
    EXPECT_EQ(at(1, 2).bytes[kFmtPatternBack], 6);

    ColorMenus(kFillForeMenu, 1);  // none
    EXPECT_EQ(at(2, 1).bytes[kFmtPatternFore], 0);
    PatternMenus(kFillPatternMenu, 12);
    PatternMenus(kFillPatternMenu, 2);  // items 1 and 2 both mean none
    EXPECT_EQ(at(2, 1).bytes[kFmtPattern], 0);
}

TEST_F(ColourMenus, TextColourNoneMeansBlackAndLineChoicesLeaveCellsAlone) {
    ColorMenus(kTextColourMenu, 5);
    EXPECT_EQ(at(1, 1).bytes[kFmtTextColour], 4);
    ColorMenus(kTextColourMenu, 1);
    EXPECT_EQ(at(2, 2).bytes[kFmtTextColour], 2);
    EXPECT_EQ(color_palette_value(kTextColourSlot), 2);
    undo();
    EXPECT_EQ(at(2, 2).bytes[kFmtTextColour], 4);

    const CellFormat before = at(1, 1);
    const int16_t shown = color_palette_value(kLineForeSlot);
    ColorMenus(kLineForeMenu, 9);
    ColorMenus(kLineBackMenu, 9);
    PatternMenus(kLinePatternMenu, 9);
    EXPECT_EQ(0, memcmp(at(1, 1).bytes, before.bytes, sizeof before.bytes));
    EXPECT_EQ(color_palette_value(kLineForeSlot), shown);
}

TEST_F(ColourMenus, MenusShowTheActiveCellsValuesOutOfRangePatternsClamped) {
    ColorMenus(kTextColourMenu, 8);
    ColorMenus(kFillBackMenu, 3);
    selection_bits(layer, kFmtPattern, 200, false);  // as a damaged document holds it
    select(CellRange{{1, 1}, {1, 1}});
    run_until_idle();
    MenuHiliteProc(nullptr, reinterpret_cast<uintptr_t>(front_document_record()), 0);
    EXPECT_EQ(get_start_color(kTextColourMenu), 8);
    EXPECT_EQ(get_start_color(kFillBackMenu), 3);
    EXPECT_EQ(get_start_color(kLineForeMenu), 1);
    EXPECT_EQ(get_start_pat(kFillPatternMenu), kPatternItems);
    EXPECT_EQ(clamp_pattern_value(-3), 0);
    // The sheet draws such a fill with the last pattern of the list, not solid black.
    const pf::Pattern past = list_pattern(200), last = list_pattern(kPatternItems - 1);
    EXPECT_TRUE(std::equal(past.pat, past.pat + 8, last.pat));
    EXPECT_FALSE(std::equal(past.pat, past.pat + 8, pf::kBlackPattern.pat));
}

TEST_F(ColourMenus, PalettesMenuChecksTheOpenPalettes) {
    DoPaletteMenu(nullptr, kPalettesColoursItem);
    set_palette_menu();
    EXPECT_TRUE(checked(kPaletteMenu, kPalettesColoursItem));
    EXPECT_FALSE(checked(kPaletteMenu, kPalettesToolsItem));
    DoPaletteMenu(nullptr, kPalettesColoursItem);
    set_palette_menu();
    EXPECT_FALSE(checked(kPaletteMenu, kPalettesColoursItem));
}

TEST(GraphicMenuGrids, HitRulesAndBoxesAgree) {
    EXPECT_EQ(FindColorItem(pf::Point{30 + 8, 3 + 8}), 1);
    EXPECT_EQ(FindColorItem(pf::Point{30 + 128, 3 + 128}), 256);
    EXPECT_EQ(FindColorItem(pf::Point{30, 20}), 0);  // the grid's first pixel row
    EXPECT_EQ(FindColorItem(pf::Point{40, 3 + 129}), 0);
    EXPECT_EQ(FindPatItem(pf::Point{23 + 17 * 5 + 1, 10}), 0);  // a sixth row
    for (int16_t item : {1, 17, 40}) {
        pf::Rect box;
        FindPatBox(item, &box);
        EXPECT_EQ(FindPatItem(pf::Point{int16_t(box.top + 2), int16_t(box.left + 2)}), item);
    }
    pf::Rect box;
    FindColorBox(5, &box);
    EXPECT_EQ(box, (pf::Rect{30, 35, 38, 43}));
}

struct GraphicMenus : AppTest {
    cairo_surface_t* surface = nullptr;
    pf::Port port;

    pf::MenuRef menu = nullptr;

    void draw(int16_t id, int16_t chosen) {
        menu = pf::get_menu(id);
        ASSERT_NE(menu, nullptr);
        pf::Rect rect{};
        pf::MenuDefParams params;
        params.pop_item = chosen;
        menu->proc(pf::kMenuSizeMsg, menu, rect, params);
        menu->proc(pf::kMenuPopUpMsg, menu, rect, params);
        rect = pf::Rect{0, 0, menu->menu_height, menu->menu_width};
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, rect.width(), rect.height());
        pf::set_text_antialiasing(false);
        pf::open_port(port, surface, rect.width(), rect.height());
        pf::set_port(&port);
        menu->proc(pf::kMenuDrawMsg, menu, rect, params);
    }
    void TearDown() override {
        pf::set_port(nullptr);
        pf::close_port(port);
        pf::set_text_antialiasing(true);
        if (surface) cairo_surface_destroy(surface);
        pf::dispose_menu(menu);
        AppTest::TearDown();
    }
};

TEST_F(GraphicMenus, ColourGridShowsItsChoiceAndReleaseOutsideKeepsIt) {
    draw(kFillForeMenu, 5);
    EXPECT_TRUE(matches_golden_image(surface, "colour_grid_menu"));
    pf::Rect rect{100, 100, 262, 235};
    pf::MenuDefParams params;
    params.hit = pf::Point{110, 110};  // on the header
    COLORMDEF(pf::kMenuFindItemMsg, menu, rect, params);
    EXPECT_EQ(params.item_under_mouse, 0);
    EXPECT_EQ(params.item_selected, 5);
}

TEST_F(GraphicMenus, PatternGridShowsItsChoice) {
    draw(kFillPatternMenu, 9);
    EXPECT_TRUE(matches_golden_image(surface, "pattern_menu"));
}

TEST_F(GraphicMenus, PopUpStaysOnTheScreen) {
    menu = pf::get_menu(kFillPatternMenu);
    pf::Rect rect{};
    pf::MenuDefParams params;
    PatternMDEF(pf::kMenuSizeMsg, menu, rect, params);
    const pf::Rect screen = pf::screen_bounds();
    DoPopUpMsg(menu, &rect, int16_t(screen.bottom - 50), int16_t(screen.right - 10), 1);
    EXPECT_EQ(rect.bottom, screen.bottom - 50 + 112 - 112 - 20);
    EXPECT_EQ(rect.right, screen.right - 1);
}

// Every colour grid's title fits left of the sample in its header, where the
// sample would cover the end of a longer one.
TEST_F(GraphicMenus, ColourGridTitlesFitBesideTheirSample) {
    constexpr int kGridWidth = 135, kSampleFromRight = 80, kTitleLeft = 2;
    pf::TextStyle menu_text;
    menu_text.font = pf::kApplFont;
    menu_text.size = 9;
    for (int16_t id : {kTextColourMenu, kFillForeMenu, kFillBackMenu, kLineForeMenu, kLineBackMenu, kBorderColourMenu}) {
        pf::MenuRef grid = pf::get_menu(id);
        ASSERT_NE(grid, nullptr) << id;
        EXPECT_EQ(grid->definition, 251) << id;
        EXPECT_LT(pf::font_text_width(menu_text, grid->title), kGridWidth - kSampleFromRight - kTitleLeft)
            << id << " " << grid->title;
        pf::dispose_menu(grid);
    }
}

}  // namespace
