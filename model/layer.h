// One layer of a workbook: a grid of up to 32,000 x 32,000 cells with its cell
// store, column and row formats, names, links, page breaks, panes, selection
// and recalculation state. A layer is a never-purged MemoryRef holding one
// SpreadSheet; every field is reached between UseMemory and UnuseMemory.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/memory/memory.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/cell_range.h"

// Layer flags.
constexpr uint32_t kLayerGridLines = 0x1;
constexpr uint32_t kLayerHeadings = 0x2;
constexpr uint32_t kLayerPrintGrid = 0x4;
constexpr uint32_t kLayerPrintHeadings = 0x8;
constexpr uint32_t kLayerPageBreaks = 0x20;  // page-break marks shown
constexpr uint32_t kLayerDragAndDrop = 0x80;
constexpr uint32_t kLayerPrintColours = 0x100;  // the colour setting used in print and chart pictures
constexpr uint32_t kLayerCentreHorizontally = 0x200;
constexpr uint32_t kLayerCentreVertically = 0x400;
constexpr uint32_t kLayerFixedRowHeights = 0x800;  // data entry leaves row heights alone
constexpr uint32_t kLayerPrinting = 0x4000;
constexpr uint32_t kLayerActive = 0x8000;
constexpr uint32_t kLayerActiveSuppressed = 0x10000;
constexpr uint32_t kLayerActiveBits = kLayerActive | kLayerActiveSuppressed;
constexpr uint32_t kLayerChartMarkMode = 0x20000;
constexpr uint32_t kLayerHasLinks = 0x400000;
constexpr uint32_t kLayerFormatStale = 0x800000;
constexpr uint32_t kLayerColouredFills = 0x2000000;
constexpr uint32_t kLayerFrozenTitles = 0x4000000;

constexpr int kPaneCount = 4;
constexpr int kCellStoreExtend = 1000;

// Opaque references to records of other subsystems.
using LayerWindow = void*;
using TextEditor = void*;
using PrintRecord = pf::Handle;  // flattened print data of the print system

struct SpreadSheet {
    MachineRecord* machine;
    uint32_t setup_words[2];
    MemoryRef own_ref;
    uint32_t memory_id;
    MemoryRef workbook;
    LayerWindow window;
    // The document's "shown in a window" flag for a layer whose window could not
    // be made: saved as it was read.
    bool window_flag_kept;
    pf::Rect view_rect;
    int16_t layer_id;
    unsigned char name[32];
    CellPoint active_cell;
    CellRange selection;
    int16_t v_divider;  // row split, pixels; 0 none
    int16_t h_divider;  // column split, pixels; 0 none
    CellRange print_area;  // bottom and right one past; bottom < 0 none
    int16_t print_title_rows[2];     // last, first; first < 0 none
    int16_t print_title_columns[2];  // last, first; first < 0 none
    uint32_t flags;
    pf::Rect pane_rects[kPaneCount];       // left -1: pane not shown
    CellRange visible_ranges[kPaneCount];  // top-left -1,-1: pane not shown
    CellRange frozen_titles;
    int16_t last_row;
    int16_t last_column;
    int16_t scroll_max[2][2];  // [i] = {vertical of pane i, horizontal of pane 2i}
    uint16_t print_options;
    CellFormat cached_format;
    MemoryRef edited_object;
    int16_t edited_object_pane;
    TextEditor edited_object_text;
    MemoryRef cells;
    MemoryRef named_ranges;
    MemoryRef column_formats;
    MemoryRef row_formats;
    MemoryRef row_page_breaks;
    MemoryRef column_page_breaks;
    MemoryRef row_page_bounds;
    MemoryRef column_page_bounds;
    MemoryRef objects;
    MemoryRef selected_objects;
    // Drawing objects and charts as a document stored them: the raw bytes that
    // follow the layer's fixed fields, big-endian, in file order. The program
    // with windows turns them into live objects as the layer is read; without
    // windows they stay these checked bytes and are written back unchanged.
    MemoryRef stored_objects;
    MemoryRef header;
    MemoryRef footer;
    MemoryRef links;
    MemoryRef row_cache;
    uint32_t* row_cache_data;  // while the row cache is held
    uint32_t cell_store_size;  // of the store the row cache describes
    uint8_t* row_cursor;
    // Kept by the cell store's writers with the row cache: the store it
    // describes, and the cell found or stored last (row -1: none) and its offset.
    MemoryRef row_cache_store;
    CellPoint cell_hint;
    uint32_t cell_hint_offset;
    struct ColumnMarks* column_marks;  // positions within long rows (row_marks.h)
    CellPoint recalc_resume;
    int16_t calc_cycle;
    int16_t reset_cells;
    int16_t sheet_colours;
    pf::Point click_point;
    uint32_t last_click_time;
    int16_t click_count;
    uint16_t click_modifiers;
    CellPoint last_entered;  // the cell that data entry stored last
    int16_t next_object_id;
    // The layer a document kept as text was read into or last saved from: a
    // plain Save writes this layer (never written to a document).
    bool holds_document_text;
    PrintRecord page_format;
    PrintRecord print_settings;
    int16_t margins[4];  // top, left, bottom, right in points
    pf::Rect printable_rect;
    uint8_t page_setup[32];
    int16_t first_page_number;
    uint8_t default_column_format[kCellFormatSize];  // width in its extent word
    uint8_t default_row_format[kRowFormatSize];      // height in its extent word
    int16_t font;
    int16_t size;
    unsigned char font_name[64];
    int16_t row_height;
};

int16_t New_SpreadSheet(MachineRecord* machine, MemoryRef workbook, MemoryRef* layer,
                        uint32_t flags, const pf::Rect* view_rect);
void DisposeSpreadSheet(MemoryRef layer);
MemoryRef CloneLayer(bool with_contents, MemoryRef layer);

MemoryRef GetSpreadSheetCells(MemoryRef layer);
MemoryRef GetSpreadSheetColumnFormats(MemoryRef layer);
MemoryRef GetSpreadSheetRowFormats(MemoryRef layer);
void SetSpreadSheetColumnFormats(MemoryRef layer, MemoryRef formats);
void SetSpreadSheetRowFormats(MemoryRef layer, MemoryRef formats);
int16_t GetSpreadSheetCalcCycle(MemoryRef layer);
void SetSpreadSheetCalcCycle(MemoryRef layer, int16_t cycle);
int16_t GetSpreadSheetResetCells(MemoryRef layer);
void SetSpreadSheetResetCells(MemoryRef layer, int16_t count);
void IncrementSpreadSheetResetCells(MemoryRef layer);
LayerWindow GetSheetWind(MemoryRef layer);
void SetSheetWind(MemoryRef layer, LayerWindow window);
void GetSheetName(unsigned char* name, MemoryRef layer);
void SetSheetName(const unsigned char* name, MemoryRef layer);
int16_t GetSheetID(MemoryRef layer);
void SetSheetID(MemoryRef layer, int16_t id);
int16_t GetSheetColors(MemoryRef layer);
void SetSheetColors(MemoryRef layer, int16_t colours);
uint32_t GetSheetFlags(MemoryRef layer);
void SetSheetFlags(MemoryRef layer, uint32_t flags);
int16_t SheetActive(MemoryRef layer);
void GetVisibleCells(CellRange* range, int16_t pane, MemoryRef layer);
void GetPaneRect(pf::Rect* rect, int16_t pane, MemoryRef layer);
int16_t get_v_divider(MemoryRef layer);
int16_t get_h_divider(MemoryRef layer);
void GetPrintArea(CellRange* area, MemoryRef layer);
int32_t GetVScrollMax(int16_t pane, MemoryRef layer);
int32_t GetHScrollMax(int16_t pane, MemoryRef layer);
CellPoint GetClickCell(MemoryRef layer);
void GetSheetRange(CellRange* range, MemoryRef layer);
MemoryRef GetObjEditor(MemoryRef layer, TextEditor* editor);
MemoryRef GetSheetLinks(MemoryRef layer);
int16_t Get_Default_Font(MemoryRef layer);
// The font a cell format sets, the layer's default font standing in for the
// default font number (without a layer, the preferences' default font).
int16_t format_font_in(const uint8_t* format, MemoryRef layer);
int16_t Get_Default_Size(MemoryRef layer);
// The size a cell format sets, the layer's default size standing in for the
// default size.
int16_t format_size_in(const uint8_t* format, MemoryRef layer);

void resize_sheet(MemoryRef layer, int16_t force);
void set_v_divider(int16_t pixels, MemoryRef layer);
void set_h_divider(int16_t pixels, MemoryRef layer);
void SetPrintArea(MemoryRef layer);
void ActivateSheet(uint32_t active_bits, MemoryRef layer);
// Sets the selection without drawing: with a range, the range with `cell` (or
// its top-left when the cell is off the grid) active; with only a cell, that
// cell alone.
void set_layer_selection(CellPoint cell, const CellRange* range, MemoryRef layer);
void DeActivateSheet(MemoryRef layer);

// A pointer to the layer's record, held until release_layer.
SpreadSheet* use_layer(MemoryRef layer);
void release_layer(MemoryRef layer);
