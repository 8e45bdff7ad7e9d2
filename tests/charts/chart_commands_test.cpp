// The chart commands in the running program: the chart-kind palette chooses
// the kind, a click in the document makes a chart over the selected cells,
// the chart kind and chart options menus change the selected chart.
#include "charts/chart_commands.h"
#include "charts/chart_palette.h"
#include "charts/chart_record.h"
#include "charts/charts.h"
#include "objects/objects.h"
#include "model/workbook.h"
#include "objects/object_records.h"
#include "tests/shell/format_fixture.h"
#include "tests/window/golden_image.h"
#include "window/doc_window.h"

namespace {

struct ChartCommandsTest : FormatMenuTest {
    uint16_t tool() { return read_doc_window(front_document_record()).tool; }

    void click_palette(int16_t tool) {
        const pf::Rect content = pf::window_content_rect(ChartBar);
        const pf::Rect box = chart_box(tool, chart_face_rect());
        pf::driver_click(pf::Point{int16_t(content.top + (box.top + box.bottom) / 2),
                                   int16_t(content.left + (box.left + box.right) / 2)});
        run_until_idle();
    }

    // A column chart over B2:C5, made by the palette and a click in the sheet.
    MemoryRef made_chart() {
        select(CellRange{{1, 1}, {4, 2}});
        MakeChartWindow();
        click_palette(15);
        pf::driver_click(inside(FrontDocWindow(), 120, 300));
        run_until_idle();
        return get_selected_object(layer, 1);
    }
};

TEST_F(ChartCommandsTest, ThePaletteChoosesAKindAndTheNextClickMakesTheChart) {
    MakeChartWindow();
    ASSERT_NE(ChartBar, nullptr);
    click_palette(20);
    EXPECT_EQ(tool(), 20);
    click_palette(20);  // chosen again: taken back
    EXPECT_EQ(tool(), 0);

    const int16_t changes = get_change_ctr(GetWorkSheet(layer));
    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(num_objects(layer), 1);
    EXPECT_NE(get_change_ctr(GetWorkSheet(layer)), changes);  // the document has changed
    EXPECT_EQ(pf::FourCC(GetObj_info(object, pf::four_cc("type"))), pf::four_cc("bcht"));
    EXPECT_EQ(chart_range(object_chart(object)), (CellRange{{1, 1}, {4, 2}}));
    EXPECT_EQ(tool(), 0);  // one chart per choice
    const ObjectRecord record = *use_object(object);
    release_object(object);
    EXPECT_EQ(record.width, kNewChartWidth);
    EXPECT_EQ(record.height, kNewChartHeight);
}

TEST_F(ChartCommandsTest, TheMenusChangeTheSelectedChartOrChooseTheNextKind) {
    DoChartMenu(nullptr, 5);  // nothing selected: the kind of the next chart
    EXPECT_EQ(tool(), 17);
    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    DoChartMenu(nullptr, 1);
    EXPECT_EQ(pf::FourCC(GetObj_info(object, pf::four_cc("type"))), pf::four_cc("pie "));
    EXPECT_EQ(tool(), 0);

    const uint32_t flags = chart_flags(object_chart(object));
    DoChartOptionMenu(nullptr, 1);
    EXPECT_EQ(chart_flags(object_chart(object)), flags ^ kChartLegend);
    DoChartOptionMenu(nullptr, 2);
    DoChartOptionMenu(nullptr, 1);
    EXPECT_EQ(chart_flags(object_chart(object)), flags ^ kChartGridLines);
    set_object_menu(layer);
    EXPECT_TRUE(checked(150, 1));  // the legend is back
    EXPECT_TRUE(checked(150, 2));  // grid lines turned on
    EXPECT_TRUE(checked(190, 1));  // a pie
}

TEST_F(ChartCommandsTest, ThePaletteFace) {
    pf::set_text_antialiasing(false);
    const pf::Rect face = chart_face_rect();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, face.right, face.bottom);
    pf::Port port;
    pf::open_port(port, surface, face.right, face.bottom);
    pf::set_port(&port);
    DrawChartImage(face, 32, true, 22);
    EXPECT_TRUE(matches_golden_image(surface, "chart_palette_face"));
    pf::set_port(nullptr);
    pf::close_port(port);
    cairo_surface_destroy(surface);
    pf::set_text_antialiasing(true);
}

}  // namespace
