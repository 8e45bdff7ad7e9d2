// The document layout settings stored into a layer: which bits each store
// takes, the default column-width mark, the header and footer copies, the
// ranges typed values must lie in, and the settings after a save and reopen.
#include <cstring>
#include <vector>

#include "files/layout_settings.h"
#include "model/cell_format.h"
#include "tests/files/document_fixture.h"

namespace {

MemoryRef header_list(const std::string& text) {
    sample::Bytes part = sample::header_part(1, 10, text);
    return sample::block_of(part.data(), int32_t(part.size()), 1);
}

std::string list_text(MemoryRef list) {
    if (!list) return "(none)";
    auto* bytes = static_cast<uint8_t*>(UseMemory(list));
    std::string text(reinterpret_cast<char*>(bytes + 9), bytes[8]);
    UnuseMemory(list);
    return text;
}

TEST_F(DocumentTest, DisplaySettingsTakeOnlyTheirBitsAndMarkTheDefaultWidth) {
    MemoryRef book = sample::new_workbook();
    MemoryRef layer = sample::new_layer(book);
    SetSheetFlags(layer, kLayerGridLines | kLayerPrintGrid | kLayerCentreVertically);
    ResetDocSettings(layer, kLayerHeadings | kLayerPageBreaks | kLayerFixedRowHeights | kLayerPrintHeadings, 3, 18,
                     90);
    SpreadSheet* sheet = use_layer(layer);
    EXPECT_EQ(sheet->flags & ~kLayerFormatStale,
              kLayerHeadings | kLayerPageBreaks | kLayerFixedRowHeights | kLayerPrintGrid | kLayerCentreVertically);
    EXPECT_EQ(sheet->font, 3);
    EXPECT_EQ(sheet->size, 18);
    EXPECT_EQ(sheet->row_height, CalcRowSize(3, 18));
    EXPECT_GT(sheet->font_name[0], 0);
    EXPECT_EQ(format_extent(sheet->default_column_format), 90);
    release_layer(layer);
    EXPECT_EQ(shown_column_width(layer), 90);

    // 76 follows the workbook's default; 0 is a width like any other.
    ResetDocSettings(layer, 0, 3, 18, kDefaultWidthShown);
    EXPECT_EQ(format_extent(use_layer(layer)->default_column_format), kDefaultWidthMark);
    release_layer(layer);
    EXPECT_EQ(shown_column_width(layer), 76);
    ResetDocSettings(layer, 0, 3, 18, 0);
    EXPECT_EQ(shown_column_width(layer), 0);
    DisposeWorkSheet(book);
}

TEST_F(DocumentTest, PrintSettingsCopyTheWorkingHeaderOnlyWhenItIsPrinted) {
    MemoryRef book = sample::new_workbook();
    MemoryRef layer = sample::new_layer(book);
    SetSheetFlags(layer, kLayerGridLines | kLayerHeadings);
    MemoryRef header = header_list("Budget");
    MemoryRef footer = header_list("Page");

    ResetPrintSettings(layer, kLayerPrintGrid | kLayerCentreHorizontally | kLayerPageBreaks, kPrintHeader | 0x2,
                       header, footer);
    SpreadSheet* sheet = use_layer(layer);
    EXPECT_EQ(sheet->flags, kLayerGridLines | kLayerHeadings | kLayerPrintGrid | kLayerCentreHorizontally);
    EXPECT_EQ(sheet->print_options, kPrintHeader);
    EXPECT_EQ(list_text(sheet->header), "Budget");
    EXPECT_EQ(sheet->footer, nullptr);
    EXPECT_NE(sheet->header, header);
    MemoryRef layer_header = sheet->header;
    release_layer(layer);

    // A later edit is copied into the layer's own block; the working copy stays the caller's.
    DisposeMemory(header);
    header = header_list("Forecast");
    ResetPrintSettings(layer, 0, kPrintHeader | kPrintFooter | kPrintNotes, header, footer);
    sheet = use_layer(layer);
    EXPECT_EQ(sheet->header, layer_header);
    EXPECT_EQ(list_text(sheet->header), "Forecast");
    EXPECT_EQ(list_text(sheet->footer), "Page");
    EXPECT_EQ(sheet->print_options, kPrintHeader | kPrintFooter | kPrintNotes);
    EXPECT_EQ(sheet->flags, kLayerGridLines | kLayerHeadings);
    release_layer(layer);
    DisposeMemory(header);
    DisposeMemory(footer);
    DisposeWorkSheet(book);
}

TEST_F(DocumentTest, EachLayoutFieldRefusesValuesPastItsRange) {
    struct Case {
        LayoutField field;
        int32_t lowest, highest;
    };
    for (const Case& c : {Case{LayoutField::kColumnWidth, 0, 801}, Case{LayoutField::kMargin, 0, 1440},
                          Case{LayoutField::kFirstPageNumber, 1, 32767}}) {
        EXPECT_TRUE(layout_value_fits(c.field, c.lowest));
        EXPECT_TRUE(layout_value_fits(c.field, c.highest));
        EXPECT_FALSE(layout_value_fits(c.field, c.lowest - 1));
        EXPECT_FALSE(layout_value_fits(c.field, c.highest + 1));
        EXPECT_FALSE(layout_value_fits(c.field, 0xFFFF));
        EXPECT_FALSE(layout_value_fits(c.field, -1));
    }
    EXPECT_TRUE(layout_value_fits(LayoutField::kColumnWidth, kDefaultWidthShown));
}

TEST_F(DocumentTest, LayoutSettingsComeBackAfterSaveAndReopen) {
    MemoryRef book = sample::new_workbook();
    MemoryRef layer = sample::new_layer(book);
    MemoryRef header = header_list("Quarterly report");
    const int16_t margins[4] = {36, 54, 72, 90};
    ResetDocSettings(layer, kLayerHeadings | kLayerFixedRowHeights, 3, 14, 120);
    ResetPageSettings(layer, margins);
    ResetPrintSettings(layer, kLayerPrintHeadings | kLayerCentreVertically | kLayerPrintColours,
                       kPrintHeader | kPrintNotes, header, nullptr);
    use_layer(layer)->first_page_number = 7;
    release_layer(layer);
    ASSERT_EQ(save(book, "Layout.qrv"), 0);

    MemoryRef opened = open("Layout.qrv");
    ASSERT_NE(opened, nullptr);
    MemoryRef back = find_SpreadSheet_item(opened, 0);
    SpreadSheet* sheet = use_layer(back);
    EXPECT_EQ(sheet->flags & (kLayerDisplayBits | kLayerPrintBits),
              kLayerHeadings | kLayerFixedRowHeights | kLayerPrintHeadings | kLayerCentreVertically |
                  kLayerPrintColours);
    EXPECT_EQ(sheet->font, 3);
    EXPECT_EQ(sheet->size, 14);
    EXPECT_EQ(format_extent(sheet->default_column_format), 120);
    EXPECT_EQ(std::memcmp(sheet->margins, margins, sizeof margins), 0);
    EXPECT_EQ(sheet->print_options, kPrintHeader | kPrintNotes);
    EXPECT_EQ(sheet->first_page_number, 7);
    EXPECT_EQ(list_text(sheet->header), "Quarterly report");
    release_layer(back);
    DisposeMemory(header);
    DisposeWorkSheet(book);
    DisposeWorkSheet(opened);
}

int16_t use_workbook_size(MemoryRef book) {
    int16_t size = static_cast<WorkSheet*>(UseMemory(book))->default_size;
    UnuseMemory(book);
    return size;
}

std::vector<MemoryRef> laid_out;
void note_laid_out(MemoryRef layer) { laid_out.push_back(layer); }

int16_t left_margin(MemoryRef layer) {
    int16_t margin = use_layer(layer)->margins[1];
    release_layer(layer);
    return margin;
}

TEST_F(DocumentTest, LayoutChoicesGoToTheEditedLayerOrToEveryLayer) {
    MemoryRef book = sample::new_workbook();
    MemoryRef first = sample::new_layer(book);
    MemoryRef second = sample::new_layer(book);
    MemoryRef third = sample::new_layer(book);
    set_change_ctr(book, 0);
    LayoutChoices choices;
    take_layout_choices(second, &choices);
    choices.margins[1] = 99;
    choices.size = 24;

    // Nothing marked changed: nothing stored, the workbook stays clean.
    laid_out.clear();
    apply_layout_choices(choices, second, note_laid_out);
    EXPECT_TRUE(laid_out.empty());
    EXPECT_EQ(get_change_ctr(book), 0);

    choices.changed[kMarginsGroup] = true;
    apply_layout_choices(choices, second, note_laid_out);
    EXPECT_EQ(laid_out, std::vector<MemoryRef>{second});
    EXPECT_EQ(left_margin(second), 99);
    EXPECT_NE(left_margin(first), 99);
    EXPECT_NE(Get_Default_Size(second), 24);
    EXPECT_GT(get_change_ctr(book), 0);

    // Display for all layers: every layer, and the workbook's defaults too; the
    // changed margins still reach only the edited layer.
    choices.margins[1] = 45;
    choices.all_layers[kDisplayGroup] = true;
    laid_out.clear();
    apply_layout_choices(choices, second, note_laid_out);
    EXPECT_EQ(laid_out, (std::vector<MemoryRef>{first, second, third}));
    for (MemoryRef layer : {first, second, third}) EXPECT_EQ(Get_Default_Size(layer), 24);
    EXPECT_EQ(left_margin(second), 45);
    EXPECT_NE(left_margin(third), 45);
    EXPECT_EQ(use_workbook_size(book), 24);
    drop_layout_choices(&choices);
    EXPECT_EQ(choices.header, nullptr);
    DisposeWorkSheet(book);
}

}  // namespace
