// Storing the document layout settings into a layer.
#include "files/layout_settings.h"

#include <cstring>

#include "model/cell_format.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"

namespace {

constexpr int16_t kLargestMargin = 1440;     // 20 inches
constexpr int16_t kWidestColumn = 801;

uint32_t merged(uint32_t old_bits, uint32_t new_bits, uint32_t mask) { return (old_bits & ~mask) | (new_bits & mask); }

// The layer's list becomes a copy of the working one, in a block of the
// layer's own when it had none.
void take_list(MemoryRef* field, MemoryRef working, uint32_t memory_id) {
    if (!working) return;
    if (*field) MemoryCopy(working, *field);
    else *field = MemoryDuplicateID(working, memory_id);
}

}  // namespace

LayoutRange layout_field_range(LayoutField field) {
    switch (field) {
        case LayoutField::kColumnWidth: return {0, kWidestColumn};
        case LayoutField::kMargin: return {0, kLargestMargin};
        case LayoutField::kFirstPageNumber: return {1, 32767};
        case LayoutField::kPageScale: return {10, 400};
    }
    return {0, 0};
}

bool layout_value_fits(LayoutField field, int32_t value) {
    const LayoutRange range = layout_field_range(field);
    return value >= range.minimum && value <= range.maximum;
}

int16_t shown_column_width(MemoryRef layer) {
    LayerUse sheet(layer);
    const int16_t width = format_extent(sheet->default_column_format);
    sheet.release();
    return width == kDefaultWidthMark ? kDefaultWidthShown : width;
}

void ResetDocSettings(MemoryRef layer, uint32_t layer_flags, int16_t font, int16_t size, int16_t column_width) {
    set_layer_default_font(layer, font);
    LayerUse sheet(layer);
    sheet->size = size;
    sheet->row_height = CalcRowSize(font, size);
    sheet->flags = merged(sheet->flags, layer_flags, kLayerDisplayBits);
    set_format_extent(sheet->default_column_format,
                      column_width == kDefaultWidthShown ? kDefaultWidthMark : column_width);
    sheet->flags |= kLayerFormatStale;
}

void ResetPageSettings(MemoryRef layer, const int16_t margins[4]) {
    LayerUse sheet(layer);
    std::memcpy(sheet->margins, margins, sizeof sheet->margins);
    sheet->printable_rect = pf::Rect{};  // computed again from the page and the new margins
}

void ResetPrintSettings(MemoryRef layer, uint32_t layer_flags, uint32_t print_flags, MemoryRef header,
                        MemoryRef footer) {
    LayerUse sheet(layer);
    sheet->flags = merged(sheet->flags, layer_flags, kLayerPrintBits);
    sheet->print_options = uint16_t(merged(sheet->print_options, print_flags, kPrintOptionBits));
    if (print_flags & kPrintHeader) take_list(&sheet->header, header, sheet->memory_id);
    if (print_flags & kPrintFooter) take_list(&sheet->footer, footer, sheet->memory_id);
}

void take_layout_choices(MemoryRef layer, LayoutChoices* choices) {
    *choices = LayoutChoices{};
    choices->column_width = shown_column_width(layer);
    LayerUse sheet(layer);
    choices->font = sheet->font;
    choices->size = sheet->size;
    choices->layer_flags = sheet->flags;
    choices->print_flags = sheet->print_options;
    std::memcpy(choices->margins, sheet->margins, sizeof choices->margins);
    choices->first_page_number = sheet->first_page_number;
    choices->header = DuplicateNonNilMemory(sheet->header);
    choices->footer = DuplicateNonNilMemory(sheet->footer);
}

void drop_layout_choices(LayoutChoices* choices) {
    DisposeNonNilMemory(choices->header);
    DisposeNonNilMemory(choices->footer);
    choices->header = choices->footer = nullptr;
}

namespace {

// Stores the groups that apply to this layer; true when any did.
bool store_groups(const LayoutChoices& c, MemoryRef layer, bool edited) {
    auto applies = [&](LayoutGroup group) { return c.all_layers[group] || (edited && c.changed[group]); };
    bool stored = false;
    if (applies(kDisplayGroup)) {
        ResetDocSettings(layer, c.layer_flags, c.font, c.size, c.column_width);
        stored = true;
    }
    if (applies(kMarginsGroup)) {
        ResetPageSettings(layer, c.margins);
        stored = true;
    }
    if (applies(kPrintGroup)) {
        ResetPrintSettings(layer, c.layer_flags, c.print_flags, c.header, c.footer);
        LayerUse(layer)->first_page_number = c.first_page_number;
        stored = true;
    }
    return stored;
}

void after_store(MemoryRef layer, void (*laid_out)(MemoryRef)) {
    increment_change_ctr(layer);
    if (laid_out) laid_out(layer);
}

}  // namespace

void apply_layout_choices(const LayoutChoices& choices, MemoryRef edited, void (*laid_out)(MemoryRef layer)) {
    const bool any_all = choices.all_layers[kDisplayGroup] || choices.all_layers[kMarginsGroup] ||
                         choices.all_layers[kPrintGroup];
    if (!any_all) {
        if (store_groups(choices, edited, true)) after_store(edited, laid_out);
        return;
    }
    MemoryRef workbook = Get_Worksheet(edited);
    const int16_t count = num_SpreadSheets(workbook);
    for (int16_t i = 0; i < count; ++i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i);
        if (store_groups(choices, layer, layer == edited)) after_store(layer, laid_out);
    }
    if (choices.all_layers[kDisplayGroup]) {
        Set_WorkSheet_Font(workbook, choices.font);
        Set_WorkSheet_TxSize(workbook, choices.size);
    }
}
