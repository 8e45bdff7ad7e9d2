// A layer's layout settings as the document layout dialog stores them: the
// display settings, the page margins and the print settings, and the ranges
// a typed value must lie in before it is stored.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/layer.h"

// Print flags (the layer's print options).
constexpr uint32_t kPrintHeader = 0x40;
constexpr uint32_t kPrintFooter = 0x80;
constexpr uint32_t kPrintNotes = 0x100;

// The layer flags each store copies.
constexpr uint32_t kLayerDisplayBits = kLayerGridLines | kLayerHeadings | kLayerPageBreaks | kLayerFixedRowHeights;
constexpr uint32_t kLayerPrintBits =
    kLayerPrintColours | kLayerCentreHorizontally | kLayerCentreVertically | kLayerPrintHeadings | kLayerPrintGrid;
constexpr uint32_t kPrintOptionBits = kPrintHeader | kPrintFooter | kPrintNotes;

// The column width that stands for the workbook's default width.
constexpr int16_t kDefaultWidthShown = 76;
constexpr int16_t kDefaultWidthMark = -1;

// What a typed layout value may be.
enum class LayoutField : int16_t { kColumnWidth, kMargin, kFirstPageNumber, kPageScale };
struct LayoutRange {
    int32_t minimum;
    int32_t maximum;
};
LayoutRange layout_field_range(LayoutField field);
bool layout_value_fits(LayoutField field, int32_t value);

// The column width as the dialog shows it: the default mark as 76.
int16_t shown_column_width(MemoryRef layer);

// Font, size and the row height they make; layer-flag display bits; the
// column width (76 stored as the default mark).
void ResetDocSettings(MemoryRef layer, uint32_t layer_flags, int16_t font, int16_t size, int16_t column_width);
// Top, left, bottom, right in points.
void ResetPageSettings(MemoryRef layer, const int16_t margins[4]);
// Layer-flag print bits and the print options; with the header (footer) bit
// set and a working list given, the layer's list becomes a copy of it.
void ResetPrintSettings(MemoryRef layer, uint32_t layer_flags, uint32_t print_flags, MemoryRef header,
                        MemoryRef footer);

// The dialog's working copy of a layer's settings, by group.
enum LayoutGroup : int16_t { kDisplayGroup, kMarginsGroup, kPrintGroup, kLayoutGroups };
struct LayoutChoices {
    int16_t font = 0;
    int16_t size = 0;
    int16_t column_width = 0;  // 76: the workbook's default
    uint32_t layer_flags = 0;
    uint32_t print_flags = 0;
    int16_t margins[4] = {};
    int16_t first_page_number = 1;
    MemoryRef header = nullptr;  // working copies of the layer's lists
    MemoryRef footer = nullptr;
    bool changed[kLayoutGroups] = {};
    bool all_layers[kLayoutGroups] = {};
};

void take_layout_choices(MemoryRef layer, LayoutChoices* choices);
// Disposes the working header and footer.
void drop_layout_choices(LayoutChoices* choices);
// Stores the choices: into every layer of the workbook when a group applies
// to all, otherwise into the edited layer the groups that changed. Each layer
// stored into marks its workbook changed and is passed to `laid_out`; a
// display change for all layers also becomes the workbook's default font and size.
void apply_layout_choices(const LayoutChoices& choices, MemoryRef edited, void (*laid_out)(MemoryRef layer));
