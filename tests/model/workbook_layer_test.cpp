#include "model/cell_formats.h"
#include "model/model_services.h"
#include "model/named_ranges.h"
#include "model_fixture.h"
#include "platform/fonts/classic_fonts.h"

namespace {

using Workbook = ModelTest;

TEST_F(Workbook, SettingsWithoutAColumnWidthGiveSeventySixPixels) {
    auto* book = static_cast<WorkSheet*>(UseMemory(workbook));
    EXPECT_EQ(book->default_column_width, 76);
    EXPECT_EQ(book->spell_layer, -1);
    EXPECT_EQ(book->second_layer_marker, -1);
    UnuseMemory(workbook);
    CellFormat settings = default_settings(90);
    MemoryRef other = New_WorkSheet(&quorvin_rsrv, make_file_info(-1, 2, "Other"), settings.bytes);
    EXPECT_EQ(static_cast<WorkSheet*>(UseMemory(other))->default_column_width, 90);
    UnuseMemory(other);
    EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), 2);
    DisposeWorkSheet(other);
    EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), 1);
}

TEST_F(Workbook, RowHeightIsTheLineHeightPlusTwoButAtLeastFourteen) {
    EXPECT_EQ(CalcRowSize(pf::kGenevaFont, 9), 14);
    EXPECT_EQ(CalcRowSize(pf::kGenevaFont, 24), model_services.plain_line_height(pf::kGenevaFont, 24) + 2);
    EXPECT_GT(CalcRowSize(pf::kGenevaFont, 24), 14);
}

TEST_F(Workbook, FontChangesKeepTheNameAndRowHeight) {
    Set_WorkSheet_Font(workbook, pf::kTimesFont);
    Set_WorkSheet_TxSize(workbook, 30);
    auto* book = static_cast<WorkSheet*>(UseMemory(workbook));
    std::string name(reinterpret_cast<char*>(book->default_font_name + 1), book->default_font_name[0]);
    EXPECT_EQ(name, model_services.name_of_font_number(pf::kTimesFont));
    EXPECT_EQ(book->default_row_height, CalcRowSize(pf::kTimesFont, 30));
    UnuseMemory(workbook);
}

TEST_F(Workbook, LayersKeepIdsEqualToTheirIndexes) {
    MemoryRef second = add_layer(workbook), third = add_layer(workbook);
    unsigned char names[3][8] = {"\x01" "A", "\x01" "B", "\x01" "C"};
    SetSheetName(names[0], layer);
    SetSheetName(names[1], second);
    SetSheetName(names[2], third);
    EXPECT_EQ(num_SpreadSheets(workbook), 3);
    EXPECT_EQ(FindSheetName(names[2], workbook), 2);
    DeleteSheet(second);
    EXPECT_EQ(num_SpreadSheets(workbook), 2);
    EXPECT_EQ(find_SpreadSheet_item(workbook, 1), third);
    EXPECT_EQ(GetSheetID(third), 1);
    EXPECT_EQ(find_SpreadSheet_item(workbook, 2), nullptr);
    EXPECT_EQ(get_change_ctr(workbook), 1);
}

TEST_F(Workbook, MovingALayer) {
    MemoryRef second = add_layer(workbook), third = add_layer(workbook);
    set_change_ctr(workbook, 0);
    MoveBefore(1, 1, workbook);
    EXPECT_EQ(get_change_ctr(workbook), 0);
    MoveBefore(0, kLayerEnd, workbook);
    EXPECT_EQ(find_SpreadSheet_item(workbook, 0), second);
    EXPECT_EQ(find_SpreadSheet_item(workbook, 1), third);
    EXPECT_EQ(find_SpreadSheet_item(workbook, 2), layer);
    for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(GetSheetID(find_SpreadSheet_item(workbook, i)), i);
    MoveBefore(2, 0, workbook);
    EXPECT_EQ(find_SpreadSheet_item(workbook, 0), layer);
    EXPECT_EQ(GetSheetID(third), 2);
    EXPECT_EQ(get_change_ctr(workbook), 2);
}

TEST_F(Workbook, DirtyOnlyWithMoreThanALayerOrContents) {
    EXPECT_EQ(doc_is_really_dirty(workbook), 0);
    put(300, 300, 1);
    EXPECT_EQ(doc_is_really_dirty(workbook), 1);
    CellRange all{{0, 0}, {kLastCell, kLastCell}};
    Clear_Cells(&all, store());
    EXPECT_EQ(doc_is_really_dirty(workbook), 0);
    ASSERT_EQ(InputRowFormat(layer, (3 << 16) | 3), 0);
    EXPECT_EQ(doc_is_really_dirty(workbook), 1);
}

TEST_F(Workbook, FlagsAndTheDateSystem) {
    Set_Work_Flags(workbook, kWorkProtected);
    EXPECT_EQ(check_access(layer), 1);
    Set_1900Date_Flag(workbook, true);
    EXPECT_EQ(Get_Work_Flags(workbook), kWorkProtected | kWork1900Dates);
    EXPECT_EQ(GetSheet_1900Date_Flag(layer), 1);
    Set_1900Date_Flag(workbook, false);
    EXPECT_EQ(Get_1900Date_Flag(workbook), 0);
    EXPECT_EQ(Get_1900Date_Flag(nullptr), 0);
    EXPECT_EQ(GetSheetUndo(layer), 0);
    EXPECT_EQ(GetSheetRedo(layer), 0);
}

using Layer = ModelTest;

TEST_F(Layer, NewLayerDefaults) {
    SpreadSheet* sheet = use_layer(layer);
    EXPECT_EQ(sheet->setup_words[0], 65536u);
    EXPECT_EQ(sheet->setup_words[1], 268435457u);
    EXPECT_EQ(sheet->margins[2], 36);
    EXPECT_EQ(sheet->first_page_number, 1);
    EXPECT_LT(sheet->print_area.botRight.v, 0);
    EXPECT_TRUE(sheet->flags & kLayerFormatStale);
    EXPECT_EQ(format_extent(sheet->default_column_format), 76);
    EXPECT_EQ(format_extent(sheet->default_row_format), -1);
    EXPECT_EQ(GetMemoryRefID(sheet->cells), GetMemoryRefID(workbook));
    release_layer(layer);
}

TEST_F(Layer, ColumnSplitHasNoLowerLimit) {
    set_h_divider(40, layer);  // headings are shown
    EXPECT_EQ(get_h_divider(layer), 40);
    EXPECT_EQ(get_change_ctr(workbook), 1);
    set_h_divider(0, layer);
    CellRange pane;
    GetVisibleCells(&pane, 2, layer);
    EXPECT_EQ(pane.topLeft.v, -1);
}

TEST_F(Layer, SmallRowSplitOnlyStoresThePosition) {
    CellRange before;
    GetVisibleCells(&before, 1, layer);
    set_v_divider(10, layer);
    EXPECT_EQ(get_v_divider(layer), 10);
    CellRange after;
    GetVisibleCells(&after, 1, layer);
    EXPECT_EQ(before, after);
    EXPECT_EQ(get_change_ctr(workbook), 0);
}

TEST_F(Layer, PrintAreaToggles) {
    select({{1, 2}, {3, 4}});
    SetPrintArea(layer);
    CellRange area;
    GetPrintArea(&area, layer);
    EXPECT_EQ(area, (CellRange{{1, 2}, {4, 5}}));
    SetPrintArea(layer);
    GetPrintArea(&area, layer);
    EXPECT_LT(area.botRight.v, 0);
}

TEST_F(Layer, SelectedObjectHidesTheSelection) {
    select({{1, 1}, {2, 2}});
    SpreadSheet* sheet = use_layer(layer);
    MemoryRef some_object = sheet->own_ref;
    PtrAndMemory(&some_object, sheet->selected_objects, 1);
    release_layer(layer);
    CellRange range;
    GetSheetRange(&range, layer);
    EXPECT_EQ(range, (CellRange{{-1, -1}, {-1, -1}}));
    sheet = use_layer(layer);
    SetMemorySize(sheet->selected_objects, 0);
    release_layer(layer);
}

TEST_F(Layer, CloneWithoutContentsKeepsFormatsOnly) {
    put(1, 1, 11);
    ASSERT_EQ(InputColumnFormat(layer, (2 << 16) | 3), 0);
    MemoryRef names = pgAllocateNewRef(&mem_globals, kNamedRangeSize, 1, 0, true);
    set_named_range(static_cast<uint8_t*>(UseMemory(names)), (const unsigned char*)"\x04" "Cost",
                    CellRange{{0, 0}, {1, 1}});
    UnuseMemory(names);
    Set_rangeinfo(layer, names);
    set_v_divider(30, layer);
    MemoryRef plain = CloneLayer(false, layer);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(GetByteSize(GetSpreadSheetCells(plain)), 0);
    EXPECT_EQ(GetMemorySize(GetSpreadSheetColumnFormats(plain)), 2);
    EXPECT_EQ(Get_rangeinfo(plain), nullptr);
    EXPECT_EQ(get_v_divider(plain), 30);
    MemoryRef full = CloneLayer(true, layer);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(GetSheetID(full), 2);
    EXPECT_TRUE(store_is_sound(GetSpreadSheetCells(full)));
    EXPECT_EQ(GetByteSize(GetSpreadSheetCells(full)), GetByteSize(store()));
    CellRange found;
    EXPECT_EQ(find_named_range(Get_rangeinfo(full), (const unsigned char*)"\x04" "COST", &found), 1);
}

TEST_F(Layer, StoredObjectsAreCopiedWithContentsAndFreedWithTheLayer) {
    const uint8_t stored[] = {'p', 'i', 'e', ' ', 0, 0, 0, 9};
    SpreadSheet* sheet = use_layer(layer);
    sheet->stored_objects = Bytes2Memory(&mem_globals, stored, 1, int32_t(sizeof stored));
    MemoryRef original = sheet->stored_objects;
    release_layer(layer);
    MemoryRef plain = CloneLayer(false, layer);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(use_layer(plain)->stored_objects, nullptr);
    release_layer(plain);
    int32_t before_full_clone = mem_globals.bytes_in_use;
    MemoryRef full = CloneLayer(true, layer);
    ASSERT_NE(full, nullptr);
    MemoryRef copy = use_layer(full)->stored_objects;
    release_layer(full);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, original);
    ASSERT_EQ(GetByteSize(copy), int32_t(sizeof stored));
    EXPECT_EQ(std::memcmp(UseMemory(copy), stored, sizeof stored), 0);
    UnuseMemory(copy);
    DeleteSheet(full);
    EXPECT_EQ(mem_globals.bytes_in_use, before_full_clone);
}

TEST_F(Layer, ActiveBitsFollowActivation) {
    ActivateSheet(kLayerActive, layer);
    EXPECT_EQ(SheetActive(layer), 1);
    DeActivateSheet(layer);
    EXPECT_EQ(SheetActive(layer), 0);
}

TEST_F(Layer, ScrollMaximaArePackedWithTheLastRow) {
    SpreadSheet* sheet = use_layer(layer);
    sheet->last_row = 120;
    sheet->scroll_max[0][0] = 90;
    release_layer(layer);
    EXPECT_EQ(GetVScrollMax(0, layer), (120 << 16) | 90);
    EXPECT_EQ(GetHScrollMax(0, layer), -1);
}

}  // namespace
