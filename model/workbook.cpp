// Workbooks: making and disposing them, their layer list and their fields.
#include "model/workbook.h"

#include <algorithm>
#include <cstring>

#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/record_bytes.h"
#include "platform/fonts/classic_fonts.h"
#include "core/foundation_services.h"
#include "model/model_services.h"
#include "model/calc_context.h"
#include "model/insert_delete.h"

namespace {

constexpr int16_t kDefaultColumnWidth = 76;
constexpr int16_t kMinimumRowHeight = 14;
constexpr int kUndoListExtend = 10;

// Reads one field of a workbook between a use and an unuse.
template <typename Field>
Field read_workbook(MemoryRef workbook, Field WorkSheet::*field, Field none) {
    if (!workbook) return none;
    return MemoryUse<WorkSheet>(workbook)->*field;
}

MemoryRef layer_workbook(MemoryRef layer) {
    if (!layer) return nullptr;
    return LayerUse(layer)->workbook;
}

// A layer takes its new index in the list as its id.
void renumber_layer(MemoryRef layer, int32_t index) {
    if (layer) SetSheetID(layer, int16_t(index));
}

}  // namespace

void font_name_of(int16_t font, unsigned char* name) {
    std::string text = model_services.name_of_font_number(font);
    name[0] = uint8_t(std::min<size_t>(text.size(), 63));
    std::memcpy(name + 1, text.data(), name[0]);
}

int16_t CalcRowSize(int16_t font, int16_t size) {
    return std::max<int16_t>(int16_t(model_services.plain_line_height(font, size) + 2), kMinimumRowHeight);
}

MemoryRef New_WorkSheet(MachineRecord* machine, MemoryRef file_info, const uint8_t* settings) {
    MemoryGlobals* globals = machine->memory;
    MemoryRef workbook = nullptr;
    bool listed = false;
    int16_t error = with_failure_handler(globals, [&] {
        globals->default_id += 1;
        workbook = pgAllocateNewRef(globals, sizeof(WorkSheet), 1, 0, true);
        if (!workbook) msFailure(globals, kNoMemoryErr, nullptr);
        MemoryUse<WorkSheet> book(workbook);
        *book = WorkSheet{};
        book->machine = machine;
        book->default_font = int16_t(load_u16(settings + kFmtFont));
        font_name_of(book->default_font, book->default_font_name);
        book->default_size = settings[kFmtSize];
        book->default_row_height = CalcRowSize(book->default_font, book->default_size);
        book->default_column_width = settings[kFmtCellType] ? settings[kFmtCellType] : kDefaultColumnWidth;
        book->spell_layer = -1;
        book->second_layer_marker = -1;
        book->file_info = file_info;
        book->layers = pgAllocateNewRef(globals, sizeof(MemoryRef), 0, 4, true);
        book->undo_list = pgAllocateNewRef(globals, sizeof(MemoryRef), 0, kUndoListExtend, true);
        if (!book->layers || !book->undo_list) msFailure(globals, kNoMemoryErr, nullptr);
        book.release();
        add_open_workbook(machine, workbook);
        listed = true;
        SetMemoryPurge(workbook, kNeverPurge, false);
    });
    globals->default_id += 1;
    if (!error) return workbook;
    if (listed) remove_open_workbook(machine, workbook);
    if (workbook) {
        UnuseFailedMemory(workbook);
        MemoryUse<WorkSheet> book(workbook);
        DisposeNonNilMemory(book->layers);
        DisposeNonNilMemory(book->undo_list);
        book.release();
        DisposeMemory(workbook);
    }
    return nullptr;
}

void DisposeWorkSheet(MemoryRef workbook) {
    if (!workbook) return;
    MemoryUse<WorkSheet> book(workbook);
    MachineRecord* machine = book->machine;
    MemoryRef undo = book->undo_list, redo = book->redo, layers = book->layers;
    MemoryRef file_info = book->file_info;
    int16_t count = book->layer_count;
    book.release();
    if (undo) ClobberMultUndo(undo);
    DisposeNonNilMemory(undo);
    if (redo) foundation_services.dispose_undo(redo);
    for (int16_t i = 0; i < count; ++i) DisposeSpreadSheet(find_SpreadSheet_item(workbook, i));
    DisposeNonNilMemory(file_info);
    DisposeNonNilMemory(layers);
    remove_open_workbook(machine, workbook);
    forget_calculation_context(workbook);
    DisposeMemory(workbook);
}

int16_t num_SpreadSheets(MemoryRef workbook) {
    return read_workbook<int16_t>(workbook, &WorkSheet::layer_count, 0);
}

MemoryRef find_SpreadSheet_item(MemoryRef workbook, int32_t index) {
    if (!workbook || index < 0) return nullptr;
    MemoryRef layers = read_workbook<MemoryRef>(workbook, &WorkSheet::layers, nullptr);
    if (!layers || index >= GetMemorySize(layers)) return nullptr;
    MemoryRef layer = nullptr;
    GetMemoryRecord(layers, index, &layer);
    return layer;
}

int16_t add_SpreadSheet(MemoryRef workbook, MemoryRef layer) {
    MemoryRef layers = read_workbook<MemoryRef>(workbook, &WorkSheet::layers, nullptr);
    if (!layers || GetMemorySize(layers) >= kMaxLayers) return 0;
    PtrAndMemory(&layer, layers, 1);
    return 1;
}

void remove_last_SpreadSheet(MemoryRef workbook) {
    MemoryUse<WorkSheet> book(workbook);
    book->layer_count -= 1;
    MemoryRef layers = book->layers;
    book.release();
    SetMemorySize(layers, GetMemorySize(layers) - 1);
}

int16_t set_SpreadSheet_item(MemoryRef workbook, int32_t index, MemoryRef layer) {
    MemoryRef layers = read_workbook<MemoryRef>(workbook, &WorkSheet::layers, nullptr);
    if (!layers || index < 0 || index >= GetMemorySize(layers)) return 0;
    MemoryUse<MemoryRef> slots(layers);
    slots[index] = layer;
    return 1;
}

int16_t num_WorkSheet_winds(MemoryRef workbook) {
    int16_t shown = 0;
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i)
        if (GetSheetWind(find_SpreadSheet_item(workbook, i))) ++shown;
    return shown;
}

int16_t FindSheetName(const unsigned char* name, MemoryRef workbook) {
    unsigned char layer_name[32];
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        GetSheetName(layer_name, find_SpreadSheet_item(workbook, i));
        if (layer_name[0] == name[0] && std::memcmp(layer_name + 1, name + 1, name[0]) == 0) return i;
    }
    return -1;
}

void MoveSheets(int32_t index, MemoryRef workbook) {
    int32_t count = num_SpreadSheets(workbook);
    for (int32_t i = index; i + 1 < count; ++i) {
        MemoryRef later = find_SpreadSheet_item(workbook, i + 1);
        set_SpreadSheet_item(workbook, i, later);
        renumber_layer(later, i);
    }
    set_SpreadSheet_item(workbook, count - 1, nullptr);
}

void DeleteSheet(MemoryRef layer) {
    MemoryRef workbook = layer_workbook(layer);
    if (!workbook) return;
    increment_change_ctr(layer);
    int16_t id = GetSheetID(layer);
    ResetLayers(1, id, 0, workbook);
    MoveSheets(id, workbook);
    remove_last_SpreadSheet(workbook);
    DisposeSpreadSheet(layer);
}

void MoveBefore(int16_t from, int16_t to, MemoryRef workbook) {
    int16_t count = num_SpreadSheets(workbook);
    if (to == kLayerEnd) to = int16_t(count - 1);
    if (from == to || from < 0 || from >= count || to < 0 || to >= count) return;
    ResetLayers(0, from, to, workbook);
    MemoryRef moved = find_SpreadSheet_item(workbook, from);
    MoveSheets(from, workbook);
    for (int16_t i = int16_t(count - 1); i > to; --i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i - 1);
        set_SpreadSheet_item(workbook, i, layer);
        renumber_layer(layer, i);
    }
    set_SpreadSheet_item(workbook, to, moved);
    renumber_layer(moved, to);
    for (int16_t i = 0; i < count; ++i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i);
        CellRange everything{{0, 0}, {kLastCell, kLastCell}};
        if (GetSheetWind(layer)) model_services.invalidate_cells(&everything, layer);
    }
    increment_change_ctr(moved);
}

MemoryRef Get_fileinfo(MemoryRef workbook) {
    return read_workbook<MemoryRef>(workbook, &WorkSheet::file_info, nullptr);
}

void Set_WorkSheet_Font(MemoryRef workbook, int16_t font) {
    MemoryUse<WorkSheet> book(workbook);
    book->default_font = font;
    font_name_of(font, book->default_font_name);
}

void Set_WorkSheet_TxSize(MemoryRef workbook, int16_t size) {
    MemoryUse<WorkSheet> book(workbook);
    book->default_size = size;
    book->default_row_height = CalcRowSize(book->default_font, size);
}

int16_t get_change_ctr(MemoryRef workbook) {
    return read_workbook<int16_t>(workbook, &WorkSheet::change_counter, 0);
}

void set_change_ctr(MemoryRef workbook, int16_t value) {
    MemoryUse<WorkSheet>(workbook)->change_counter = value;
}

void increment_change_ctr(MemoryRef layer) {
    MemoryRef workbook = layer_workbook(layer);
    if (!workbook) return;
    MemoryUse<WorkSheet> book(workbook);
    book->change_counter += 1;
    book->edit_count += 1;
}

void count_edit(MemoryRef workbook) {
    if (!workbook) return;
    MemoryUse<WorkSheet>(workbook)->edit_count += 1;
}

uint32_t get_edit_count(MemoryRef workbook) {
    return read_workbook<uint32_t>(workbook, &WorkSheet::edit_count, 0);
}

int16_t doc_is_really_dirty(MemoryRef workbook) {
    int16_t count = num_SpreadSheets(workbook);
    if (count > 1) return 1;
    MemoryRef layer = find_SpreadSheet_item(workbook, 0);
    if (!layer) return 0;
    LayerUse sheet(layer);
    bool dirty = GetByteSize(sheet->cells) > kCellFormatSize || sheet->column_formats || sheet->row_formats ||
                 (sheet->objects && GetMemorySize(sheet->objects) > 0);
    sheet.release();
    return dirty ? 1 : 0;
}

uint16_t Get_Work_Flags(MemoryRef workbook) {
    return read_workbook<uint16_t>(workbook, &WorkSheet::work_flags, 0);
}

void Set_Work_Flags(MemoryRef workbook, uint16_t flags) {
    MemoryUse<WorkSheet>(workbook)->work_flags = flags;
}

int16_t Get_1900Date_Flag(MemoryRef workbook) {
    return (Get_Work_Flags(workbook) & kWork1900Dates) ? 1 : 0;
}

int16_t GetSheet_1900Date_Flag(MemoryRef layer) { return Get_1900Date_Flag(layer_workbook(layer)); }

void Set_1900Date_Flag(MemoryRef workbook, bool on) {
    uint16_t flags = Get_Work_Flags(workbook);
    Set_Work_Flags(workbook, on ? (flags | kWork1900Dates) : (flags & ~kWork1900Dates));
}

int16_t check_access(MemoryRef layer) {
    return (Get_Work_Flags(layer_workbook(layer)) & kWorkProtected) ? 1 : 0;
}

MemoryRef Get_Worksheet(MemoryRef layer) { return layer_workbook(layer); }
MemoryRef GetWorkSheet(MemoryRef layer) { return layer_workbook(layer); }

namespace {

// The kind (first 16-bit field) of an undo record, 0 for none.
int16_t undo_kind(MemoryRef undo) {
    if (!undo) return 0;
    return load_i16(MemoryUse<uint8_t>(undo).get());
}

}  // namespace

int16_t GetSheetUndo(MemoryRef layer) {
    MemoryRef workbook = layer_workbook(layer);
    MemoryRef list = read_workbook<MemoryRef>(workbook, &WorkSheet::undo_list, nullptr);
    return list ? undo_kind(pg_GetMultUndo(list, -1)) : 0;
}

int16_t GetSheetRedo(MemoryRef layer) {
    return undo_kind(read_workbook<MemoryRef>(layer_workbook(layer), &WorkSheet::redo, nullptr));
}
