// Storing the document layout settings into a layer.
#include "files/layout_settings.h"

#include <cstring>

#include "model/cell_format.h"
#include "model/layer.h"
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
    }
    return {0, 0};
}

bool layout_value_fits(LayoutField field, int32_t value) {
    const LayoutRange range = layout_field_range(field);
    return value >= range.minimum && value <= range.maximum;
}

int16_t shown_column_width(MemoryRef layer) {
    SpreadSheet* sheet = use_layer(layer);
    const int16_t width = format_extent(sheet->default_column_format);
    release_layer(layer);
    return width == kDefaultWidthMark ? kDefaultWidthShown : width;
}

void ResetDocSettings(MemoryRef layer, uint32_t layer_flags, int16_t font, int16_t size, int16_t column_width) {
    SpreadSheet* sheet = use_layer(layer);
    sheet->font = font;
    font_name_of(font, sheet->font_name);
    sheet->size = size;
    sheet->row_height = CalcRowSize(font, size);
    sheet->flags = merged(sheet->flags, layer_flags, kLayerDisplayBits);
    set_format_extent(sheet->default_column_format,
                      column_width == kDefaultWidthShown ? kDefaultWidthMark : column_width);
    sheet->flags |= kLayerFormatStale;
    release_layer(layer);
}

void ResetPageSettings(MemoryRef layer, const int16_t margins[4]) {
    SpreadSheet* sheet = use_layer(layer);
    std::memcpy(sheet->margins, margins, sizeof sheet->margins);
    release_layer(layer);
}

void ResetPrintSettings(MemoryRef layer, uint32_t layer_flags, uint32_t print_flags, MemoryRef header,
                        MemoryRef footer) {
    SpreadSheet* sheet = use_layer(layer);
    sheet->flags = merged(sheet->flags, layer_flags, kLayerPrintBits);
    sheet->print_options = uint16_t(merged(sheet->print_options, print_flags, kPrintOptionBits));
    if (print_flags & kPrintHeader) take_list(&sheet->header, header, sheet->memory_id);
    if (print_flags & kPrintFooter) take_list(&sheet->footer, footer, sheet->memory_id);
    release_layer(layer);
}
