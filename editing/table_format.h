// Table auto-format: one of fourteen looks (border lines and fills) with its
// options (number formats, italic headings, fitted widths, bold totals, a
// totals row and column, centring) given to a range of at least two columns
// by three rows, as one undo step. The dialog's sample is drawn from the same
// steps on a table of six rows by five columns, so that what it shows is what
// the range gets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_format.h"
#include "model/cell_range.h"
#include "platform/draw/rects.h"

constexpr int16_t kTableLooks = 14;

// Options, one bit per check box of the dialog (item 6 is bit 0).
enum TableOption : uint8_t {
    kTableNumbers = 0x01,
    kTableItalicHeadings = 0x02,
    kTableFitWidths = 0x04,
    kTableBoldTotals = 0x08,
    kTableTotalsRow = 0x10,
    kTableTotalsColumn = 0x20,
    kTableCentre = 0x40,
};
constexpr uint8_t kTableOpeningOptions = 0x3F;  // all but centring

// One SetBits call of the look: a field set to a value over a rectangle.
struct TableStep {
    CellRange range;
    int16_t field;
    int16_t value;
    bool clear;
};

// The options as they apply: without number formats there are no totals and
// no bold totals; bold totals need a totals row or column.
uint8_t applied_table_options(uint8_t options);
// Every step of a look over a range, in order: the reset of the range, the
// options, then the look's lines and fills.
std::vector<TableStep> table_format_steps(const CellRange& range, int16_t look, uint8_t options);
// 0 when the range of the layer may take a table format, else the alert code:
// 6 a protected workbook, 105 a range under two columns or three rows, 1 a
// locked cell in it.
int32_t table_format_refusal(MemoryRef layer, const CellRange& range);
// Gives the layer's selection the look, with one undo record; false when
// Format_Sheet refused it.
bool apply_table_format(MemoryRef layer, int16_t look, uint8_t options);

// The Format menu's Table Format command: the checks, the dialog, the look.
void TableDialog(MemoryRef layer);

// ---- The sample table of the dialog ------------------------------------------------

constexpr int16_t kSampleRows = 6, kSampleColumns = 5;

struct TableSample {
    uint8_t formats[kSampleRows][kSampleColumns][kCellFormatSize] = {};  // what the look gives each cell
    std::string texts[kSampleRows][kSampleColumns];           // as drawn, "$" prefixes included
    int16_t left = 0, top = 0, row_height = 0;                // the table's place in the port
    int16_t widths[kSampleColumns] = {};
};

// The sample of a look with its options, laid out in `box` (the user item).
TableSample table_sample(const pf::Rect& box, int16_t look, uint8_t options);
// A sample cell's rectangle.
pf::Rect sample_cell_rect(const TableSample& sample, int row, int column);
// Draws the sample into the port: erased 2 pixels beyond the box, drawn inside it.
void draw_table_sample(const pf::Rect& box, int16_t look, uint8_t options);
