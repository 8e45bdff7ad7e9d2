// Reading one layer block of the current generation (versions 1025..1029).
// Every length is checked against the block and the file before it is used;
// a layer that fails is taken out of the workbook again with all it read.
#include <cmath>
#include <cstring>
#include <string>

#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/document_reading.h"
#include "files/formula_walk.h"
#include "files/layer_header.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/layer_use.h"
#include "model/links.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "files/files_services.h"
#include "files/object_record_sizes.h"
#include "model/header_part_record.h"
#include "model/model_services.h"
#include "platform/fonts/classic_fonts.h"
#include "resource_ids.h"

namespace {

constexpr int kFixedAfterLength = 2 + kSheetHeaderSize;
constexpr uint32_t kPrintOptionsMask = 0xFFFF;
constexpr int16_t kApplicationFont = 1;
// The low twelve bits of a new layer's flags come from its creator.
constexpr uint32_t kNewLayerFlags = kLayerGridLines | kLayerHeadings;

}  // namespace

int16_t read_fixed(int32_t n, int32_t* counter, int32_t block_end, uint8_t* bytes) {
    if (*counter + n > block_end) return fail_file(kDamagedFileErr);
    return ReadItem(n, counter, bytes);
}

int16_t read_swapped_block(MemoryRef* field, int32_t* counter, uint32_t id, int32_t rec_size,
                           void (*flip)(MemoryRef)) {
    if (int16_t error = Read_Ref(field, counter, &mem_globals, rec_size, id)) return error;
    if (flip) flip(*field);
    return 0;
}

int16_t damaged() { return fail_file(kDamagedFileErr); }

bool ids_in_grid(MemoryRef ref, int offset) {
    if (!ref) return true;
    int32_t count = GetMemorySize(ref), size = GetMemoryRecSize(ref);
    MemoryUse<const uint8_t> records(ref);
    bool sound = true;
    for (int32_t i = 0; i < count && sound; ++i) {
        int16_t id = load_i16(records + i * size + offset);
        sound = id >= 0 && id <= kLastCell;
    }
    return sound;
}

namespace {

// A name's range lies in the grid, or ends one before it starts (-1).
bool name_in_grid(const uint8_t* record) {
    CellRange r = named_range_cells(record);
    bool sound = true;
    for (int16_t value : {r.topLeft.v, r.topLeft.h, r.botRight.v, r.botRight.h})
        sound = sound && value >= -1 && value <= kLastCell;
    return sound;
}

// Takes out the names whose range leaves the grid, so that one bad name does
// not cost the whole document; answers how many were taken out.
int32_t drop_names_outside_grid(MemoryRef names) {
    int32_t dropped = 0;
    for (int32_t i = names ? GetMemorySize(names) - 1 : -1; i >= 0; --i) {
        uint8_t record[kNamedRangeSize];
        GetMemoryRecord(names, i, record);
        if (name_in_grid(record)) continue;
        DeleteMemory(names, i, 1);
        ++dropped;
    }
    return dropped;
}

}  // namespace

void clamp_records_text(MemoryRef ref, int offset, int capacity) {
    if (!ref) return;
    int32_t count = GetMemorySize(ref), size = GetMemoryRecSize(ref);
    MemoryUse<uint8_t> records(ref);
    for (int32_t i = 0; i < count; ++i) clamp_pstring(records + i * size + offset, capacity);
}

int16_t read_names(SpreadSheet* sheet, int32_t* counter) {
    if (int16_t error = read_swapped_block(&sheet->named_ranges, counter, sheet->memory_id, kNamedRangeSize,
                                           ByteFlipRangeRef))
        return error;
    if (drop_names_outside_grid(sheet->named_ranges)) document_prompts.tell(kFileStrings, kNamesDropped);
    clamp_records_text(sheet->named_ranges, 0, kNamedRangeNameSize);
    return 0;
}

int16_t read_header_parts(MemoryRef* field, int32_t* counter, uint32_t id) {
    if (int16_t error = read_swapped_block(field, counter, id, kHeaderPartSize, ByteFlipHeaderRef)) return error;
    verifyHeaderRef(*field);
    return 0;
}

namespace {

// Cells in host order become the layer's.
int16_t install_cells(SpreadSheet* sheet, MemoryRef cells) {
    if (!cells) return 0;
    cells->extend = kCellStoreExtend;
    DisposeNonNilMemory(sheet->cells);
    sheet->cells = cells;
    return 0;
}

int16_t read_cells(SpreadSheet* sheet, int32_t* counter) {
    MemoryRef cells = nullptr;
    bool sound = true;
    if (int16_t error = read_swapped_cells(&cells, counter, sheet->memory_id, &sound)) return error;
    return sound ? install_cells(sheet, cells) : damaged();
}

}  // namespace

int16_t install_read_cells(SpreadSheet* sheet, MemoryRef cells) {
    if (cells && ByteFlipCells(cells, 0) != 0) {
        DisposeMemory(cells);
        return damaged();
    }
    return install_cells(sheet, cells);
}

namespace {

int16_t read_formats(SpreadSheet* sheet, int32_t* counter, int16_t version) {
    uint32_t id = sheet->memory_id;
    int16_t error = version >= kCurrentVersion
                        ? Read_Ref(&sheet->column_formats, counter, &mem_globals, kColumnFormatSize, id)
                        : Read_ModRef(&sheet->column_formats, counter, &mem_globals, kCellFormatSize, id);
    if (error) return error;
    ByteFlipCellFRef(sheet->column_formats);
    if ((error = read_swapped_block(&sheet->row_formats, counter, id, kRowFormatSize, ByteFlipCellFRef)))
        return error;
    if (!ids_in_grid(sheet->column_formats, kFmtId) || !ids_in_grid(sheet->row_formats, kFmtId)) return damaged();
    clamp_records_text(sheet->column_formats, kColumnNameOffset, kColumnFormatSize - kColumnNameOffset);
    VerifyColumnFormat(&sheet->column_formats);
    VerifyRowFormat(&sheet->row_formats);
    return 0;
}

}  // namespace

int16_t read_page_breaks(SpreadSheet* sheet, int32_t* counter) {
    uint32_t id = sheet->memory_id;
    if (int16_t error = read_swapped_block(&sheet->row_page_breaks, counter, id, 2, ByteFlipShortsRef)) return error;
    if (int16_t error = read_swapped_block(&sheet->column_page_breaks, counter, id, 2, ByteFlipShortsRef))
        return error;
    if (!ids_in_grid(sheet->row_page_breaks, 0) || !ids_in_grid(sheet->column_page_breaks, 0)) return damaged();
    return 0;
}

namespace {

int16_t read_links_and_texts(SpreadSheet* sheet, int32_t* counter) {
    uint32_t id = sheet->memory_id;
    int16_t error = read_swapped_block(&sheet->links, counter, id, kLinkRecordSize, ByteFlipFileRef);
    if (!error) error = read_header_parts(&sheet->footer, counter, id);
    if (!error) error = read_header_parts(&sheet->header, counter, id);
    if (!error) error = read_names(sheet, counter);
    if (error) return error;
    clamp_records_text(sheet->links, kLinkNameOffset, 64);
    clamp_records_text(sheet->footer, kHeaderPartTextOffset, kHeaderPartTextSize);
    clamp_records_text(sheet->header, kHeaderPartTextOffset, kHeaderPartTextSize);
    return 0;
}

// A print record read into its field of the layer, replacing what was there.
int16_t read_print_record(PrintRecord* field, int32_t* counter) {
    pf::Handle read = nullptr;
    if (int16_t error = ReadHandle(&read, counter)) return error;
    if (*field) pf::dispose_handle(*field);
    *field = read;
    return 0;
}

// The older print record is dropped; the page format and the print settings
// (from 1028 on) are kept as stored, for printing and for the next save.
int16_t read_print_records(SpreadSheet* sheet, int32_t* counter, int16_t version) {
    if (int16_t error = skip_ref_block(counter)) return error;
    if (version < kPrintDataVersion) return 0;
    if (int16_t error = read_print_record(&sheet->page_format, counter)) return error;
    return read_print_record(&sheet->print_settings, counter);
}

int16_t read_trailing_fields(SpreadSheet* sheet, int32_t* counter, int32_t block_end, int16_t version) {
    uint8_t bytes[kPrintFieldsSize + 2 * kCellFormatSize + kFontNameSize + 2];
    int32_t size = kPrintFieldsSize;
    if (version >= kDefaultFormatsVersion) size += 2 * kCellFormatSize;
    if (version >= kPrintDataVersion) size += kFontNameSize + 2;
    if (int16_t error = read_fixed(size, counter, block_end, bytes)) return error;
    pf::ByteReader in{{bytes, size_t(size)}};
    get_print_fields(in, sheet);
    if (version >= kDefaultFormatsVersion) {
        uint8_t formats[2 * kCellFormatSize];
        in.copy(formats, sizeof formats);
        ByteFlipCellFData(formats);
        ByteFlipCellFData(formats + kCellFormatSize);
        std::memcpy(sheet->default_column_format, formats, kCellFormatSize);
        std::memcpy(sheet->default_row_format, formats + kCellFormatSize, kCellFormatSize);
    }
    if (version >= kPrintDataVersion) {
        in.copy(sheet->font_name, kFontNameSize);
        clamp_pstring(sheet->font_name, kFontNameSize);
        sheet->size = in.i16();
    }
    return 0;
}

// Steps over one block framed by its length; false when the length is
// negative or runs past the end.
bool step_over_block(pf::ByteReader& in) {
    int32_t length = int32_t(in.u32());
    if (length < 0) return false;
    in.skip(size_t(length));
    return in.ok;
}

// Steps over one drawing object and its chart, if any; false when it does not
// fit before the end.
bool step_over_object(pf::ByteReader& in) {
    in.skip(kObjectRecordSize);
    for (int part = 0; part < 3; ++part)
        if (!step_over_block(in)) return false;
    bool with_chart = in.u32() != 0;
    if (!with_chart) return in.ok;
    in.skip(kStoredChartSize);
    return step_over_block(in);
}

// The drawing objects fill the block exactly, one whole object after another.
bool objects_sound(MemoryRef objects) {
    MemoryUse<const uint8_t> bytes(objects);
    pf::ByteReader in{{bytes.get(), size_t(GetByteSize(objects))}};
    bool sound = true;
    while (sound && !in.at_end()) sound = step_over_object(in);
    return sound;
}

// The drawing objects up to the block's end, checked and kept as they stand:
// there are no live drawing objects to read them into yet.
int16_t read_stored_objects(SpreadSheet* sheet, int32_t* counter, int32_t block_end) {
    MemoryRef objects = nullptr;
    if (int16_t error = read_raw_bytes(&objects, block_end - *counter, counter, &mem_globals, sheet->memory_id))
        return error;
    if (!objects) return 0;
    DisposeNonNilMemory(sheet->stored_objects);
    sheet->stored_objects = objects;
    return objects_sound(objects) ? 0 : damaged();
}

int16_t read_fixed_part(SpreadSheet* sheet, int32_t* counter, int32_t block_end, int16_t version) {
    uint8_t bytes[kFixedAfterLength + 12 + 12];
    int32_t size = kFixedAfterLength + (version >= kFrozenRectVersion ? 12 : 0) + 12;
    if (int16_t error = read_fixed(size, counter, block_end, bytes)) return error;
    pf::ByteReader in{{bytes, size_t(size)}};
    in.i16();  // the stored index: the layer takes its position in the workbook
    get_sheet_header(in, sheet);
    if (!sheet_header_sound(sheet)) return damaged();
    if (version >= kFrozenRectVersion) {
        pf::Rect frozen = in.rect();
        sheet->frozen_titles = CellRange{{frozen.top, frozen.left}, {frozen.bottom, frozen.right}};
        sheet->print_options = uint16_t(in.u32() & kPrintOptionsMask);
    }
    // The window flag: windows are made later for the layers that had one.
    sheet->window = in.u32() ? kWindowWanted : nullptr;
    sheet->pane_rects[0] = in.rect();
    return 0;
}

int16_t read_layer_contents(MemoryRef layer, int32_t* counter, int32_t block_end, int16_t version) {
    LayerUse sheet(layer);
    int16_t error = read_fixed_part(sheet, counter, block_end, version);
    if (!error) error = read_cells(sheet, counter);
    if (!error) error = read_formats(sheet, counter, version);
    if (!error) error = read_page_breaks(sheet, counter);
    if (!error) error = read_links_and_texts(sheet, counter);
    if (!error) error = read_print_records(sheet, counter, version);
    if (!error) error = read_trailing_fields(sheet, counter, block_end, version);
    if (!error) error = read_stored_objects(sheet, counter, block_end);
    return error;
}

// The layer's font from its name; an unknown name keeps the workbook's font.
void settle_layer_font(MemoryRef layer) {
    LayerUse sheet(layer);
    sheet->font = font_by_name(sheet->font_name, sheet->font);
    sheet->row_height = CalcRowSize(sheet->font, sheet->size);
}

}  // namespace

void* const kWindowWanted = reinterpret_cast<void*>(1);

int16_t font_by_name(const unsigned char* name, int16_t fallback) {
    if (name[0] == 0) return fallback;
    bool found = false;
    std::string text(reinterpret_cast<const char*>(name + 1), name[0]);
    int16_t number = model_services.number_of_font_name(text, &found);
    if (found) return number;
    if (text == model_services.name_of_font_number(kApplicationFont)) return kApplicationFont;
    return fallback;
}

void drop_last_layer(MemoryRef workbook) {
    int16_t count = num_SpreadSheets(workbook);
    if (count < 1) return;
    MemoryRef layer = find_SpreadSheet_item(workbook, count - 1);
    MemoryUse<WorkSheet> book(workbook);
    book->layer_count -= 1;
    MemoryRef layers = book->layers;
    book.release();
    SetMemorySize(layers, count - 1);
    if (layer) {
        SetSheetWind(layer, nullptr);
        DisposeSpreadSheet(layer);
    }
}

MemoryRef read_layer_block(int32_t* counter, int16_t slot_format, int16_t version, int32_t file_length,
                           MemoryRef workbook, int32_t least_length, LayerContentsReader read_contents) {
    int32_t start = *counter;
    int32_t length = 0;
    if (ReadLongValue(counter, &length)) return nullptr;
    if (length < least_length || length > file_length - start) {
        damaged();
        return nullptr;
    }
    MemoryRef layer = nullptr;
    MemoryUse<WorkSheet> book(workbook);
    MachineRecord* machine = book->machine;
    book.release();
    if (New_SpreadSheet(machine, workbook, &layer, kNewLayerFlags, nullptr) != 0) {
        CleanUp(kNoMemoryErr);
        return nullptr;
    }
    int16_t read_error = 0;
    int16_t memory_error = with_failure_handler(&mem_globals, [&] {
        read_error = read_contents(layer, counter, start + length, version);
        if (!read_error && *counter != start + length) read_error = damaged();
        if (!read_error && !formula_links_sound(layer)) read_error = damaged();
        if (!read_error && files_services.adopt_objects_read(layer)) read_error = damaged();
    });
    if (memory_error) {
        if (GetAccessCtr(layer) > 0) UnuseFailedMemory(layer);
        CleanUp(memory_error);
    }
    if (memory_error || read_error) {
        drop_last_layer(workbook);
        return nullptr;
    }
    settle_layer_font(layer);
    report_document_progress(workbook, *counter, file_length);
    if (slot_format != kSlotDoubles) ResetSheetConstants(layer);
    return layer;
}

MemoryRef ReadSheet(int32_t* counter, int16_t slot_format, int16_t version, int32_t file_length,
                    MemoryRef workbook) {
    return read_layer_block(counter, slot_format, version, file_length, workbook, 4 + kFixedAfterLength,
                            read_layer_contents);
}
