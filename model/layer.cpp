// Layers: making, disposing and cloning them, their fields, pane splits and
// the print area.
#include "model/layer.h"

#include <cstring>

#include "core/invariant_checks.h"
#include "model/cell_letters.h"
#include "model/cell_store.h"
#include "model/layer_use.h"
#include "model/model_services.h"
#include "model/workbook.h"
#include "model/calc_context.h"

namespace {

constexpr uint32_t kSetupWords[2] = {65536, 268435457};
constexpr int16_t kDefaultMargin = 36;
constexpr int16_t kVSplitMinimum = 16;
constexpr int16_t kVSplitProbeH = 33;
constexpr int16_t kHSplitProbeV = 15;
constexpr int kObjectListExtend = 10;
constexpr int16_t kNotShown = -1;

// The flags byte (locked and the other cell flags) of the preferences'
// default format.
uint8_t preferences_format_flags() { return model_services.preferred_cell_format()[kFmtFlagsA]; }

// Whether the platform offers drag and drop to windows.
bool drag_and_drop_available() { return true; }

template <typename Field>
Field read_layer(MemoryRef layer, Field SpreadSheet::*field, Field none) {
    if (!layer) return none;
    return LayerUse(layer)->*field;
}

template <typename Field>
void write_layer(MemoryRef layer, Field SpreadSheet::*field, Field value) {
    if (!layer) return;
    LayerUse(layer)->*field = value;
}

void hide_pane(SpreadSheet* sheet, int pane) {
    sheet->pane_rects[pane].left = kNotShown;
    sheet->visible_ranges[pane].topLeft = {kNotShown, kNotShown};
}

bool pane_shown(const SpreadSheet* sheet, int pane) { return sheet->pane_rects[pane].left != kNotShown; }

void init_layer_defaults(SpreadSheet* sheet, const WorkSheet* book) {
    std::memcpy(sheet->font_name, book->default_font_name, sizeof sheet->font_name);
    sheet->font = book->default_font;
    sheet->size = book->default_size;
    sheet->row_height = book->default_row_height;
    for (int16_t& margin : sheet->margins) margin = kDefaultMargin;
    sheet->first_page_number = 1;
    sheet->print_area = {{-1, -1}, {-1, -1}};
    sheet->print_title_rows[0] = sheet->print_title_rows[1] = -1;
    sheet->print_title_columns[0] = sheet->print_title_columns[1] = -1;
    sheet->frozen_titles = {{-1, -1}, {-1, -1}};
    for (int pane = 0; pane < kPaneCount; ++pane) hide_pane(sheet, pane);
    for (auto& maxima : sheet->scroll_max) maxima[0] = maxima[1] = -1;
    GetDefaultFormat(sheet->default_column_format);
    set_format_extent(sheet->default_column_format, book->default_column_width);
    GetDefaultFormat(sheet->default_row_format);
    sheet->default_column_format[kFmtFlagsA] = preferences_format_flags();
    sheet->default_row_format[kFmtFlagsA] = preferences_format_flags();
}

}  // namespace

SpreadSheet* use_layer(MemoryRef layer) { return static_cast<SpreadSheet*>(UseMemoryOrFail(layer)); }
void release_layer(MemoryRef layer) { UnuseMemory(layer); }

int16_t New_SpreadSheet(MachineRecord* machine, MemoryRef workbook, MemoryRef* layer, uint32_t flags,
                        const pf::Rect* view_rect) {
    *layer = nullptr;
    MemoryGlobals* globals = machine->memory;
    uint32_t saved_id = globals->default_id;
    uint32_t workbook_id = GetMemoryRefID(workbook);
    MemoryRef made = nullptr;
    int16_t error = with_failure_handler(globals, [&] {
        globals->default_id = workbook_id;
        made = pgAllocateNewRef(globals, sizeof(SpreadSheet), 1, 0, true);
        if (!made) msFailure(globals, kNoMemoryErr, nullptr);
        SetMemoryPurge(made, kNeverPurge, false);
        LayerUse sheet(made);
        *sheet = SpreadSheet{};
        sheet->machine = machine;
        sheet->setup_words[0] = kSetupWords[0];
        sheet->setup_words[1] = kSetupWords[1];
        sheet->own_ref = made;
        sheet->memory_id = workbook_id;
        sheet->workbook = workbook;
        if (view_rect) sheet->view_rect = *view_rect;
        if ((flags & kLayerDragAndDrop) && !drag_and_drop_available()) flags &= ~kLayerDragAndDrop;
        sheet->flags = flags | kLayerFormatStale;
        sheet->cells = pgAllocateNewRef(globals, 1, 0, kCellStoreExtend, false);
        sheet->objects = pgAllocateNewRef(globals, sizeof(MemoryRef), 0, kObjectListExtend, true);
        sheet->selected_objects = pgAllocateNewRef(globals, sizeof(MemoryRef), 0, kObjectListExtend, true);
        if (!sheet->cells || !sheet->objects || !sheet->selected_objects)
            msFailure(globals, kNoMemoryErr, nullptr);
        SetMemoryPurge(sheet->cells, kNeverPurge, false);
        MemoryUse<WorkSheet> book(workbook);
        init_layer_defaults(sheet, book);
        sheet->layer_id = book->layer_count;
        book.release();
        sheet.release();
        if (!add_SpreadSheet(workbook, made)) msFailure(globals, kNoMemoryErr, nullptr);
        MemoryUse<WorkSheet>(workbook)->layer_count += 1;
    });
    globals->default_id = saved_id;
    if (error) {
        if (made) {
            UnuseFailedMemory(made);
            DisposeSpreadSheet(made);
        }
        return -1;
    }
    *layer = made;
    return 0;
}

void DisposeSpreadSheet(MemoryRef layer) {
    if (!layer) return;
    clobberCache(layer);
    model_services.clobber_all_objects(layer);
    LayerUse sheet(layer);
    MemoryRef blocks[] = {sheet->cells,           sheet->row_formats,        sheet->column_formats,
                          sheet->row_page_breaks, sheet->column_page_breaks, sheet->row_page_bounds,
                          sheet->column_page_bounds, sheet->links,           sheet->header,
                          sheet->footer,          sheet->named_ranges,       sheet->objects,
                          sheet->selected_objects, sheet->stored_objects};
    PrintRecord print_data[] = {sheet->page_format, sheet->print_settings};
    sheet.release();
    for (MemoryRef block : blocks) DisposeNonNilMemory(block);
    for (PrintRecord handle : print_data)
        if (handle) pf::dispose_handle(handle);
    forget_calculation_context(layer);
    if (invariants_checked()) forget_block_letters(layer);
    DisposeMemory(layer);
}

namespace {

// Settings and formats that every clone copies; blocks are duplicated.
void copy_layer_settings(SpreadSheet* to, const SpreadSheet* from) {
    to->v_divider = from->v_divider;
    to->h_divider = from->h_divider;
    to->print_area = from->print_area;
    std::memcpy(to->print_title_rows, from->print_title_rows, sizeof to->print_title_rows);
    std::memcpy(to->print_title_columns, from->print_title_columns, sizeof to->print_title_columns);
    to->frozen_titles = from->frozen_titles;
    std::memcpy(to->default_column_format, from->default_column_format, kCellFormatSize);
    std::memcpy(to->default_row_format, from->default_row_format, kRowFormatSize);
    if (from->page_format) to->page_format = pf::hand_to_hand(from->page_format);
    std::memcpy(to->margins, from->margins, sizeof to->margins);
    to->printable_rect = from->printable_rect;
    std::memcpy(to->page_setup, from->page_setup, sizeof to->page_setup);
    to->first_page_number = from->first_page_number;
    // The default font, which spells the letters of the cells set in it.
    to->font = from->font;
    std::memcpy(to->font_name, from->font_name, sizeof to->font_name);
    to->size = from->size;
    to->row_height = from->row_height;
}

void copy_layer_blocks(SpreadSheet* to, const SpreadSheet* from, bool with_contents) {
    DisposeNonNilMemory(to->header);
    DisposeNonNilMemory(to->footer);
    to->row_page_breaks = DuplicateNonNilMemory(from->row_page_breaks);
    to->column_page_breaks = DuplicateNonNilMemory(from->column_page_breaks);
    to->header = DuplicateNonNilMemory(from->header);
    to->footer = DuplicateNonNilMemory(from->footer);
    to->column_formats = DuplicateNonNilMemory(from->column_formats);
    to->row_formats = DuplicateNonNilMemory(from->row_formats);
    if (!with_contents) return;
    MemoryCopy(from->cells, to->cells);
    to->links = DuplicateNonNilMemory(from->links);
    to->named_ranges = DuplicateNonNilMemory(from->named_ranges);
    to->stored_objects = DuplicateNonNilMemory(from->stored_objects);
}

}  // namespace

MemoryRef CloneLayer(bool with_contents, MemoryRef layer) {
    LayerUse source(layer);
    MachineRecord* machine = source->machine;
    MemoryRef workbook = source->workbook;
    uint32_t flags = source->flags;
    MemoryRef clone = nullptr;
    if (New_SpreadSheet(machine, workbook, &clone, flags, nullptr) != 0) {
        return nullptr;
    }
    LayerUse copy(clone);
    copy_layer_settings(copy, source);
    int16_t error = with_failure_handler(machine->memory, [&] {
        copy_layer_blocks(copy, source, with_contents);
        if (with_contents) model_services.copy_objects(layer, clone);
    });
    copy->flags = flags | kLayerFormatStale;
    copy.release();
    source.release();
    if (error) {
        // Take the half-made layer out of the workbook again.
        remove_last_SpreadSheet(workbook);
        DisposeSpreadSheet(clone);
        return nullptr;
    }
    increment_change_ctr(clone);
    return clone;
}

// ---------------------------------------------------------------------------
// Field access

MemoryRef GetSpreadSheetCells(MemoryRef layer) { return read_layer<MemoryRef>(layer, &SpreadSheet::cells, nullptr); }
MemoryRef GetSpreadSheetColumnFormats(MemoryRef layer) {
    return read_layer<MemoryRef>(layer, &SpreadSheet::column_formats, nullptr);
}
MemoryRef GetSpreadSheetRowFormats(MemoryRef layer) {
    return read_layer<MemoryRef>(layer, &SpreadSheet::row_formats, nullptr);
}
void SetSpreadSheetColumnFormats(MemoryRef layer, MemoryRef formats) {
    write_layer(layer, &SpreadSheet::column_formats, formats);
}
void SetSpreadSheetRowFormats(MemoryRef layer, MemoryRef formats) {
    write_layer(layer, &SpreadSheet::row_formats, formats);
}
int16_t GetSpreadSheetCalcCycle(MemoryRef layer) { return read_layer<int16_t>(layer, &SpreadSheet::calc_cycle, 0); }
void SetSpreadSheetCalcCycle(MemoryRef layer, int16_t cycle) { write_layer(layer, &SpreadSheet::calc_cycle, cycle); }
int16_t GetSpreadSheetResetCells(MemoryRef layer) { return read_layer<int16_t>(layer, &SpreadSheet::reset_cells, 0); }
void SetSpreadSheetResetCells(MemoryRef layer, int16_t count) {
    write_layer(layer, &SpreadSheet::reset_cells, count);
}
void IncrementSpreadSheetResetCells(MemoryRef layer) {
    SetSpreadSheetResetCells(layer, int16_t(GetSpreadSheetResetCells(layer) + 1));
}
LayerWindow GetSheetWind(MemoryRef layer) { return read_layer<LayerWindow>(layer, &SpreadSheet::window, nullptr); }
void SetSheetWind(MemoryRef layer, LayerWindow window) { write_layer(layer, &SpreadSheet::window, window); }

void GetSheetName(unsigned char* name, MemoryRef layer) {
    name[0] = 0;
    if (!layer) return;
    std::memcpy(name, LayerUse(layer)->name, sizeof SpreadSheet::name);
}

void SetSheetName(const unsigned char* name, MemoryRef layer) {
    LayerUse sheet(layer);
    std::memset(sheet->name, 0, sizeof sheet->name);
    unsigned char length = name[0] < sizeof sheet->name ? name[0] : sizeof sheet->name - 1;
    sheet->name[0] = length;
    std::memcpy(sheet->name + 1, name + 1, length);
}

int16_t GetSheetID(MemoryRef layer) { return read_layer<int16_t>(layer, &SpreadSheet::layer_id, 0); }
void SetSheetID(MemoryRef layer, int16_t id) { write_layer(layer, &SpreadSheet::layer_id, id); }
int16_t GetSheetColors(MemoryRef layer) { return read_layer<int16_t>(layer, &SpreadSheet::sheet_colours, 0); }
void SetSheetColors(MemoryRef layer, int16_t colours) { write_layer(layer, &SpreadSheet::sheet_colours, colours); }
uint32_t GetSheetFlags(MemoryRef layer) { return read_layer<uint32_t>(layer, &SpreadSheet::flags, 0); }
void SetSheetFlags(MemoryRef layer, uint32_t flags) { write_layer(layer, &SpreadSheet::flags, flags); }
int16_t SheetActive(MemoryRef layer) { return (GetSheetFlags(layer) & kLayerActiveBits) ? 1 : 0; }

void GetVisibleCells(CellRange* range, int16_t pane, MemoryRef layer) {
    if (pane < 0 || pane >= kPaneCount) return;
    *range = LayerUse(layer)->visible_ranges[pane];
}

void GetPaneRect(pf::Rect* rect, int16_t pane, MemoryRef layer) {
    if (pane < 0 || pane >= kPaneCount) return;
    *rect = LayerUse(layer)->pane_rects[pane];
}

int16_t get_v_divider(MemoryRef layer) { return read_layer<int16_t>(layer, &SpreadSheet::v_divider, 0); }
int16_t get_h_divider(MemoryRef layer) { return read_layer<int16_t>(layer, &SpreadSheet::h_divider, 0); }

void GetPrintArea(CellRange* area, MemoryRef layer) {
    *area = read_layer<CellRange>(layer, &SpreadSheet::print_area, CellRange{{-1, -1}, {-1, -1}});
}

namespace {

// Packed (last row or column << 16 | maximum), or -1 when the maximum is negative.
int32_t packed_scroll_max(MemoryRef layer, int16_t pane, int axis) {
    if (pane < 0 || pane > 1) return -1;
    LayerUse sheet(layer);
    int16_t maximum = sheet->scroll_max[pane][axis];
    int16_t last = axis == 0 ? sheet->last_row : sheet->last_column;
    sheet.release();
    if (maximum < 0) return -1;
    return int32_t(uint32_t(uint16_t(last)) << 16 | uint16_t(maximum));
}

}  // namespace

int32_t GetVScrollMax(int16_t pane, MemoryRef layer) { return packed_scroll_max(layer, pane, 0); }
int32_t GetHScrollMax(int16_t pane, MemoryRef layer) { return packed_scroll_max(layer, pane, 1); }

CellPoint GetClickCell(MemoryRef layer) { return read_layer<CellPoint>(layer, &SpreadSheet::active_cell, CellPoint{}); }

void GetSheetRange(CellRange* range, MemoryRef layer) {
    LayerUse sheet(layer);
    bool object_selected = sheet->selected_objects && GetMemorySize(sheet->selected_objects) > 0;
    *range = object_selected ? CellRange{{-1, -1}, {-1, -1}} : sheet->selection;
}

MemoryRef GetObjEditor(MemoryRef layer, TextEditor* editor) {
    LayerUse sheet(layer);
    MemoryRef object = sheet->edited_object;
    if (editor) *editor = object ? sheet->edited_object_text : nullptr;
    return object;
}

MemoryRef GetSheetLinks(MemoryRef layer) { return read_layer<MemoryRef>(layer, &SpreadSheet::links, nullptr); }
int16_t Get_Default_Font(MemoryRef layer) { return read_layer<int16_t>(layer, &SpreadSheet::font, 0); }
int16_t Get_Default_Size(MemoryRef layer) { return read_layer<int16_t>(layer, &SpreadSheet::size, 0); }

int16_t format_font_in(const uint8_t* format, MemoryRef layer) {
    const uint16_t font = format_font(format);
    if (font != kDefaultFontNumber) return int16_t(font);
    return layer ? Get_Default_Font(layer) : int16_t(format_font(model_services.preferred_cell_format()));
}

int16_t format_size_in(const uint8_t* format, MemoryRef layer) {
    return format[kFmtSize] < kLayerDefaultSize ? format[kFmtSize] : Get_Default_Size(layer);
}

// ---------------------------------------------------------------------------
// View, panes and print area

void resize_sheet(MemoryRef layer, int16_t force) {
    clobberCache(layer);
    if (!GetSheetWind(layer)) return;
    model_services.recompute_page_breaks(layer);
    if (model_services.set_active_rects(layer) || force) {
        CellRange everything{{0, 0}, {kLastCell, kLastCell}};
        model_services.invalidate_cells(&everything, layer);
    }
}

void set_v_divider(int16_t pixels, MemoryRef layer) {
    LayerUse sheet(layer);
    bool was_split = sheet->v_divider != 0;
    sheet->v_divider = pixels;
    bool changed_split = false;
    if (!was_split && pixels >= kVSplitMinimum) {
        CellPoint cell;
        model_services.cell_at_point(&cell, pf::Point{pixels, kVSplitProbeH}, 0, layer);
        sheet->visible_ranges[1] = sheet->visible_ranges[0];
        sheet->visible_ranges[1].topLeft.v = int16_t(cell.v + 1);
        if (pane_shown(sheet, 2)) {
            sheet->visible_ranges[3] = sheet->visible_ranges[2];
            sheet->visible_ranges[3].topLeft.v = int16_t(cell.v + 1);
        }
        changed_split = true;
    } else if (pixels == 0) {
        hide_pane(sheet, 1);
        hide_pane(sheet, 3);
        changed_split = true;
    }
    sheet.release();
    if (changed_split) increment_change_ctr(layer);
}

// Any positive position splits: the window's split tracking, which sets it,
// has no lower limit for the column split.
void set_h_divider(int16_t pixels, MemoryRef layer) {
    LayerUse sheet(layer);
    bool was_split = sheet->h_divider != 0;
    if (pixels < 0) pixels = 0;
    sheet->h_divider = pixels;
    bool changed_split = false;
    if (!was_split && pixels > 0) {
        CellPoint cell;
        model_services.cell_at_point(&cell, pf::Point{kHSplitProbeV, pixels}, 0, layer);
        sheet->visible_ranges[2] = sheet->visible_ranges[0];
        sheet->visible_ranges[2].topLeft.h = int16_t(cell.h + 1);
        if (pane_shown(sheet, 1)) {
            sheet->visible_ranges[3] = sheet->visible_ranges[1];
            sheet->visible_ranges[3].topLeft.h = int16_t(cell.h + 1);
        }
        changed_split = true;
    } else if (pixels == 0) {
        hide_pane(sheet, 2);
        hide_pane(sheet, 3);
        changed_split = true;
    }
    sheet.release();
    if (changed_split) increment_change_ctr(layer);
}

void SetPrintArea(MemoryRef layer) {
    LayerUse sheet(layer);
    if (sheet->print_area.botRight.v < 0) {
        sheet->print_area = sheet->selection;
        sheet->print_area.botRight.v += 1;
        sheet->print_area.botRight.h += 1;
    } else {
        sheet->print_area = {{-1, -1}, {-1, -1}};
    }
    sheet.release();
    model_services.recompute_page_breaks(layer);
    increment_change_ctr(layer);
}

void ActivateSheet(uint32_t active_bits, MemoryRef layer) {
    uint32_t flags = GetSheetFlags(layer);
    if ((flags & kLayerActiveBits) == (active_bits & kLayerActiveBits)) return;
    model_services.invert_cells(layer);
    SetSheetFlags(layer, (flags & ~kLayerActiveBits) | (active_bits & kLayerActiveBits));
    model_services.invert_cells(layer);
}

void DeActivateSheet(MemoryRef layer) {
    if (GetObjEditor(layer, nullptr)) model_services.clobber_object_editor(layer);
    uint32_t flags = GetSheetFlags(layer);
    if (!(flags & kLayerActiveBits)) return;
    if (flags & kLayerActive) model_services.invert_cells(layer);
    SetSheetFlags(layer, flags & ~kLayerActiveBits);
    model_services.invert_cells(layer);
}

void set_layer_selection(CellPoint cell, const CellRange* range, MemoryRef layer) {
    LayerUse sheet(layer);
    sheet->selection = range ? *range : CellRange{cell, cell};
    sheet->active_cell = range && cell.v < 0 ? range->topLeft : cell;
    sheet->flags |= kLayerFormatStale;
}
