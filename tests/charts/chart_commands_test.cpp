// The chart commands in the running program: the chart-kind palette chooses
// the kind, a click in the document makes a chart over the selected cells,
// the chart kind and chart options menus change the selected chart.
#include "charts/chart_commands.h"
#include "charts/chart_options.h"
#include "charts/chart_palette.h"
#include "charts/chart_record.h"
#include "charts/charts.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "window/cell_entry.h"
#include "window/entry_line.h"
#include "objects/objects.h"
#include "model/workbook.h"
#include "objects/object_records.h"
#include "platform/screen/screen.h"
#include "shell/shell_commands.h"
#include "shell/tool_palette.h"
#include "tests/shell/format_fixture.h"
#include "tests/window/golden_image.h"
#include "window/doc_window.h"
#include "window/front_document.h"
#include "resource_ids.h"

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

    // A column chart over B2:C5, made by the chart kind menu and a click in the sheet.
    MemoryRef made_chart() {
        select(CellRange{{1, 1}, {4, 2}});
        MakeChartWindow();
        DoChartMenu(nullptr, 15 - kFirstChartTool + 1);
        pf::driver_click(inside(FrontDocWindow(), 120, 300));
        run_until_idle();
        return get_selected_object(layer, 1);
    }

    MemoryRef workbook() { return GetWorkSheet(layer); }
    pf::FourCC kind_of(MemoryRef object) { return pf::FourCC(GetObj_info(object, pf::four_cc("type"))); }
    // The chart of the layer's one object.
    MemoryRef only_chart() { return num_objects(layer) == 1 ? object_chart(find_object_item(layer, 1)) : nullptr; }

    std::string entry_line() {
        unsigned char text[256];
        const int32_t length = entry_text(text, sizeof text);
        return std::string(reinterpret_cast<char*>(text), size_t(length));
    }
    // Types the text into the front document window and commits it with Return.
    void type_line(const std::string& typed) {
        MemoryRef record = front_document_record();
        for (unsigned char c : typed) EditorKey(c, record, 0);
        EditorKey('\r', record, 0);
        run_until_idle();
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

// A click on the palette with a chart selected does what Chart Kind does:
// the chart takes that kind, and no new chart is armed.
TEST_F(ChartCommandsTest, APaletteClickChangesTheSelectedChartAsChartKindDoes) {
    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    click_palette(kFirstChartTool);
    EXPECT_EQ(kind_of(object), pf::four_cc("pie "));
    EXPECT_EQ(tool(), 0);
    pf::driver_click(inside(FrontDocWindow(), 200, 40));
    run_until_idle();
    EXPECT_EQ(num_objects(layer), 1);
}

// The palette frames the kind chosen in the front document and lets go of it
// when the Tools palette chooses another tool.
TEST_F(ChartCommandsTest, ThePaletteLetsGoOfItsKindWhenTheToolsPaletteChoosesTheArrow) {
    MakeChartWindow();
    const pf::Rect content = pf::window_content_rect(ChartBar);
    const pf::Rect box = chart_box(20, chart_face_rect());
    auto frame_pixel = [&] {
        pf::compose_screen();
        return pf::screen_pixel(content.left + box.left + 8, content.top + box.top);
    };
    const uint32_t unframed = frame_pixel();
    click_palette(20);
    EXPECT_NE(frame_pixel(), unframed);
    DoToolMenu(nullptr, kSelectObjectsTool);
    run_until_idle();
    EXPECT_EQ(frame_pixel(), unframed);
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
    DoChartOptionMenu(nullptr, kChartLegendItem);
    EXPECT_EQ(chart_flags(object_chart(object)), flags ^ kChartLegend);
    DoChartOptionMenu(nullptr, kChartGridLinesItem);
    DoChartOptionMenu(nullptr, kChartLegendItem);
    EXPECT_EQ(chart_flags(object_chart(object)), flags ^ kChartGridLines);
    set_object_menu(layer);
    EXPECT_TRUE(checked(kChartOptionMenu, kChartLegendItem));  // the legend is back
    EXPECT_TRUE(checked(kChartOptionMenu, kChartGridLinesItem));  // grid lines turned on
    EXPECT_TRUE(checked(kChartKindMenu, 1));  // a pie
}

// With drawing objects selected, Chart Kind changes the charts among them and
// is dimmed when there is none; it never arms a new chart.
TEST_F(ChartCommandsTest, ChartKindNeedsAChartAmongTheSelectedObjects) {
    auto chart_kind_enabled = [&] {
        pf::MenuRef menu = pf::get_menu_handle(kObjectMenu);
        pf::enable_menu_item(menu, 0);
        set_object_menu(layer);
        return pf::is_menu_item_enabled(menu, kObjectChartKindItem);
    };
    EXPECT_TRUE(chart_kind_enabled());  // cells selected: the kind of the next chart
    MemoryRef chart = made_chart();
    ASSERT_NE(chart, nullptr);
    MemoryRef oval = nullptr, box = nullptr;
    ASSERT_EQ(NewObject(kOvalObject, &oval, 0, layer), 1);
    ASSERT_EQ(NewObject(kRectObject, &box, 0, layer), 1);
    for (const std::vector<MemoryRef>& drawings : {std::vector{oval}, std::vector{oval, box}}) {
        clear_selected_objects(layer);
        for (MemoryRef drawing : drawings) add_selected(layer, drawing);
        EXPECT_FALSE(chart_kind_enabled()) << drawings.size() << " drawings";
        DoChartMenu(nullptr, 1);
        EXPECT_EQ(tool(), 0) << drawings.size() << " drawings";
        EXPECT_EQ(kind_of(chart), pf::four_cc("bcht"));
    }
    add_selected(layer, chart);  // after the two drawings
    EXPECT_TRUE(chart_kind_enabled());
    DoChartMenu(nullptr, 1);
    EXPECT_EQ(kind_of(chart), pf::four_cc("pie "));
    EXPECT_EQ(kind_of(oval), kOvalObject);
    EXPECT_EQ(tool(), 0);
}

TEST_F(ChartCommandsTest, KindAndOptionChangesAreUndoneAndRedone) {
    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    const uint32_t flags = chart_flags(object_chart(object));
    DoChartMenu(nullptr, 1);
    EXPECT_EQ(GetSheetUndo(layer), kUndoChartEdited);
    DoChartOptionMenu(nullptr, kChartGridLinesItem);  // grid lines on
    DoChartOptionMenu(nullptr, kChartLegendItem);  // legend off

    DoUndo(workbook());
    EXPECT_EQ(chart_flags(only_chart()), flags ^ kChartGridLines);
    DoUndo(workbook());
    EXPECT_EQ(chart_flags(only_chart()), flags);
    DoUndo(workbook());
    EXPECT_EQ(kind_of(find_object_item(layer, 1)), pf::four_cc("bcht"));
    EXPECT_EQ(chart_range(only_chart()), (CellRange{{1, 1}, {4, 2}})) << "the chart keeps its data";

    DoRedo(workbook());
    EXPECT_EQ(kind_of(find_object_item(layer, 1)), pf::four_cc("pie "));
    EXPECT_EQ(GetSheetUndo(layer), kUndoChartEdited) << "the redone change can be undone again";
    DoUndo(workbook());
    EXPECT_EQ(kind_of(find_object_item(layer, 1)), pf::four_cc("bcht"));

    EXPECT_EQ(GetSheetUndo(layer), 0) << "three levels of undo, all used";
    DoChartMenu(nullptr, 3);  // the kind it has already: nothing to undo
    EXPECT_EQ(GetSheetUndo(layer), 0);
    EXPECT_EQ(num_objects(layer), 1);
}

TEST_F(ChartCommandsTest, UndoingAndRedoingANewChartKeepsItsData) {
    ASSERT_NE(made_chart(), nullptr);
    EXPECT_EQ(GetSheetUndo(layer), kUndoNewObject);
    DoUndo(workbook());
    EXPECT_EQ(num_objects(layer), 0);
    DoRedo(workbook());
    ASSERT_NE(only_chart(), nullptr);
    EXPECT_EQ(chart_range(only_chart()), (CellRange{{1, 1}, {4, 2}}));
    EXPECT_EQ(kind_of(find_object_item(layer, 1)), pf::four_cc("bcht"));
    DoUndo(workbook());
    DoRedo(workbook());
    ASSERT_NE(only_chart(), nullptr);
    EXPECT_EQ(chart_range(only_chart()), (CellRange{{1, 1}, {4, 2}}));
}

TEST_F(ChartCommandsTest, TheEntryLineShowsAndChangesTheDataRange) {
    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(entry_line(), "=B2:C5") << "shown as the new chart is selected";

    type_line("=A1:D9");
    EXPECT_EQ(chart_range(only_chart()), (CellRange{{0, 0}, {8, 3}}));
    EXPECT_EQ(GetSheetUndo(layer), kUndoChartRange);
    EXPECT_EQ(entry_line(), "=A1:D9");
    EXPECT_EQ(Editor_Wind, nullptr);

    type_line("1:C3:E7");  // its own layer named: kept as the source layer
    EXPECT_EQ(chart_range(only_chart()), (CellRange{{2, 2}, {6, 4}}));
    EXPECT_EQ(chart_word(only_chart(), kChartSourceLayer), 0);
    EXPECT_EQ(entry_line(), "=1:C3:E7");

    DoUndo(workbook());
    EXPECT_EQ(chart_range(only_chart()), (CellRange{{0, 0}, {8, 3}}));
    EXPECT_EQ(chart_word(only_chart(), kChartSourceLayer), -1);
    DoUndo(workbook());
    EXPECT_EQ(chart_range(only_chart()), (CellRange{{1, 1}, {4, 2}}));
    DoRedo(workbook());
    EXPECT_EQ(chart_range(only_chart()), (CellRange{{0, 0}, {8, 3}}));
    EXPECT_EQ(GetSheetUndo(layer), kUndoChartRange);
    DoUndo(workbook());
    EXPECT_EQ(chart_range(only_chart()), (CellRange{{1, 1}, {4, 2}}));
    EXPECT_EQ(num_objects(layer), 1);
}

TEST_F(ChartCommandsTest, AClickIntoTheEntryLineEditsAChartsRangeButNoOtherObject) {
    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    click_editor_at_end(front_document_record());
    EXPECT_NE(Editor_Wind, nullptr);
    DeActivateEditor();

    DisposeMemory(object_chart(object));  // the same object as a plain rectangle
    SetObj_info(object, pf::four_cc("chrt"), 0);
    SetObj_info(object, pf::four_cc("type"), intptr_t(pf::four_cc("rect")));
    click_editor_at_end(front_document_record());
    EXPECT_EQ(Editor_Wind, nullptr);
}

TEST_F(ChartCommandsTest, RangesAChartCannotTakeAreRefused) {
    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    const int16_t undo = GetSheetUndo(layer);
    auto enter = [&](const std::string& text) {
        MemoryRef block = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
        uint16_t offset = 99;
        const int32_t code = Enter_Data(layer, block, nullptr, &offset, 0);
        DisposeMemory(block);
        EXPECT_EQ(offset, 0);
        return code;
    };
    EXPECT_EQ(enter("=sales"), kEntryNotChartRange);
    EXPECT_EQ(enter("=1:3:A1:B4"), kEntryNotChartRange) << "several layers";
    EXPECT_EQ(enter("=7:A1:B4"), kEntryNotChartRange) << "no such layer";
    EXPECT_EQ(enter("=A1:F1"), kEntryChartTooNarrow) << "series down columns need more than one row";
    EXPECT_EQ(chart_range(object_chart(object)), (CellRange{{1, 1}, {4, 2}}));
    EXPECT_EQ(GetSheetUndo(layer), undo);
    set_chart_flags(object_chart(object), chart_flags(object_chart(object)) & ~kChartSeriesInColumns);
    EXPECT_EQ(enter("=A1:A9"), kEntryChartTooNarrow);
    EXPECT_EQ(enter("a1:f1"), kEntryStored);
    EXPECT_EQ(chart_range(object_chart(object)), (CellRange{{0, 0}, {0, 5}}));
    EXPECT_EQ(GetSheetUndo(layer), kUndoChartRange) << "no cell was stored";
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

TEST_F(ChartCommandsTest, DataLabelsAreToggledCheckedAndUndone) {
    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    EXPECT_FALSE(chart_flags(object_chart(object)) & kChartDataLabels);
    DoChartOptionMenu(nullptr, kChartDataLabelsItem);
    EXPECT_TRUE(chart_flags(object_chart(object)) & kChartDataLabels);
    set_object_menu(layer);
    EXPECT_TRUE(checked(kChartOptionMenu, kChartDataLabelsItem));
    EXPECT_EQ(GetSheetUndo(layer), kUndoChartEdited);
    DoUndo(workbook());
    EXPECT_FALSE(chart_flags(only_chart()) & kChartDataLabels);
    set_object_menu(layer);
    EXPECT_FALSE(checked(kChartOptionMenu, kChartDataLabelsItem));
}

// Titles of up to 31 characters are stored, as one undoable step; a longer
// one is refused and changes nothing.
TEST_F(ChartCommandsTest, TitlesAreStoredWholeOrRefused) {
    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    const std::string longest(31, 'x');
    ASSERT_TRUE(change_chart_titles(object, layer, ChartTitles{"Sales", "Month", longest}));
    EXPECT_EQ(chart_titles(object_chart(object)), (ChartTitles{"Sales", "Month", longest}));

    const int16_t undo = GetSheetUndo(layer);
    EXPECT_EQ(check_chart_titles(ChartTitles{"", longest + "y", ""}), ChartOptionRefusal::kTitleTooLong);
    EXPECT_FALSE(change_chart_titles(object, layer, ChartTitles{"New", longest + "y", ""}));
    EXPECT_EQ(chart_titles(object_chart(object)).chart, "Sales") << "a refused change changes nothing";
    EXPECT_EQ(GetSheetUndo(layer), undo);

    DoUndo(workbook());
    EXPECT_EQ(chart_titles(only_chart()), ChartTitles{}) << "all three titles undone in one step";
}

// The value axis texts: numbers or empty (automatic), trimmed; refused when
// one is no number or too long for its field, the minimum not below the
// maximum, or the unit not above zero.
TEST_F(ChartCommandsTest, ValueAxisTextsAreCheckedBeforeTheyAreStored) {
    const std::pair<ValueAxisTexts, ChartOptionRefusal> cases[] = {
        {{"", "", ""}, ChartOptionRefusal::kNone},
        {{" -5 ", "1e3", "250"}, ChartOptionRefusal::kNone},
        {{"ten", "", ""}, ChartOptionRefusal::kNotANumber},
        {{"", "12abc", ""}, ChartOptionRefusal::kNotANumber},
        {{"", "", "inf"}, ChartOptionRefusal::kNotANumber},
        {{"", "", "1234567890123456"}, ChartOptionRefusal::kNumberTooLong},
        {{"10", "10", ""}, ChartOptionRefusal::kNoRange},
        {{"10", "5", ""}, ChartOptionRefusal::kNoRange},
        {{"", "", "0"}, ChartOptionRefusal::kUnitNotPositive},
        {{"", "", "-2"}, ChartOptionRefusal::kUnitNotPositive},
    };
    for (const auto& [typed, why] : cases) {
        ValueAxisTexts texts = typed;
        EXPECT_EQ(check_value_axis(&texts), why) << typed.minimum << "|" << typed.maximum << "|" << typed.major;
    }

    MemoryRef object = made_chart();
    ASSERT_NE(object, nullptr);
    ASSERT_TRUE(change_value_axis(object, layer, ValueAxisTexts{" 0", "200 ", "50"}));
    EXPECT_EQ(value_axis_texts(object_chart(object)), (ValueAxisTexts{"0", "200", "50"}));
    EXPECT_EQ(chart_text_number(object_chart(object), kChartYMaximum, kChartTitleSize), 200);
    EXPECT_FALSE(change_value_axis(object, layer, ValueAxisTexts{"300", "200", ""}));
    EXPECT_EQ(value_axis_texts(object_chart(object)), (ValueAxisTexts{"0", "200", "50"}));
    DoUndo(workbook());
    EXPECT_EQ(value_axis_texts(only_chart()), ValueAxisTexts{}) << "automatic again";
}
