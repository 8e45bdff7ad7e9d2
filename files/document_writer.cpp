// The native writer: the header, then one layer block per layer, every field
// swapped on a copy (the cells through a buffer of a fixed size); live data
// is never touched. A memory failure ends the file with the manager's error.
#include <cstring>

#include "core/passwords.h"
#include "files/files_services.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/layer_header.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"

namespace {

constexpr int kFixedBlockSize = 4 + 2 + kSheetHeaderSize + 8 + 4 + 4 + 8;
constexpr int kDocumentHeaderSize = kCurrentHeaderSize;

int16_t write_document_header(MemoryRef workbook, int32_t* counter) {
    uint8_t bytes[kDocumentHeaderSize] = {};
    BigEndianWriter out{bytes};
    MemoryUse<WorkSheet> book(workbook);
    out.put16(kDocumentMarker);
    out.put16(kCurrentVersion);
    out.put32(0);
    out.put_bytes(book->default_font_name, kFontNameSize);
    out.put16(book->default_size);
    out.put16(kSlotDoubles);
    out.put32(0);
    out.put32(0);
    out.put_bytes(book->password, kPasswordFieldBytes);
    out.put16(int16_t(book->work_flags));
    book.release();
    return WriteItem(kDocumentHeaderSize, bytes, counter);
}

// The fixed part up to the window rectangle; the length is patched later.
// The rectangle is the window's global content rectangle; a layer without a
// window keeps the one it was read with.
int16_t write_fixed_part(const SpreadSheet* sheet, const pf::Rect& window_rect, int16_t index, int32_t* counter) {
    uint8_t bytes[kFixedBlockSize] = {};
    BigEndianWriter out{bytes};
    out.put32(0);
    out.put16(index);
    put_sheet_header(out, sheet);
    out.put16(sheet->frozen_titles.topLeft.v), out.put16(sheet->frozen_titles.topLeft.h);
    out.put16(sheet->frozen_titles.botRight.v), out.put16(sheet->frozen_titles.botRight.h);
    out.put32(sheet->print_options);
    out.put32(sheet->window || sheet->window_flag_kept ? 1 : 0);
    out.put_rect(window_rect);
    return WriteItem(kFixedBlockSize, bytes, counter);
}

int16_t write_blocks(const SpreadSheet* sheet, int32_t* counter) {
    int16_t error = write_swapped_cells(sheet->cells, counter);
    if (!error) error = WriteCellFRef(sheet->column_formats, counter);
    if (!error) error = WriteCellFRef(sheet->row_formats, counter);
    if (!error) error = WriteShortsRef(sheet->row_page_breaks, counter);
    if (!error) error = WriteShortsRef(sheet->column_page_breaks, counter);
    if (!error) error = write_swapped_ref(sheet->links, counter, ByteFlipFileRef);
    if (!error) error = WriteHeaderRef(sheet->footer, counter);
    if (!error) error = WriteHeaderRef(sheet->header, counter);
    if (!error) error = write_swapped_ref(sheet->named_ranges, counter, ByteFlipRangeRef);
    // The older print record is never kept: it is written empty.
    if (!error) error = WriteHandle(nullptr, counter);
    if (!error) error = WriteHandle(sheet->page_format, counter);
    if (!error) error = WriteHandle(sheet->print_settings, counter);
    return error;
}

int16_t write_trailing_fields(const SpreadSheet* sheet, int32_t* counter) {
    uint8_t bytes[kPrintFieldsSize + 2 * kCellFormatSize + kFontNameSize + 2];
    BigEndianWriter out{bytes};
    put_print_fields(out, sheet);
    uint8_t* formats = out.at;
    out.put_bytes(sheet->default_column_format, kCellFormatSize);
    out.put_bytes(sheet->default_row_format, kCellFormatSize);
    ByteFlipCellFData(formats);
    ByteFlipCellFData(formats + kCellFormatSize);
    out.put_bytes(sheet->font_name, kFontNameSize);
    out.put16(sheet->size);
    return WriteItem(int32_t(sizeof bytes), bytes, counter);
}

// Goes back to the block's start, stores its length and comes back.
int16_t patch_block_length(int32_t start, int32_t* counter) {
    int32_t end = *counter;
    if (pf::OSErr error = pf::set_file_position(f_ref, pf::kFromStart, start)) return fail_file(error);
    if (int16_t error = WriteLongItem(end - start, counter)) return error;
    *counter -= 4;
    if (pf::OSErr error = pf::set_file_position(f_ref, pf::kFromStart, end)) return fail_file(error);
    return 0;
}

// The layer's live drawing objects, or with none the objects as the document
// they came from stored them.
int16_t write_layer_objects(MemoryRef layer, MemoryRef stored, int32_t* counter) {
    MemoryRef live = nullptr;
    if (int16_t error = files_services.objects_for_writing(layer, &live)) return fail_file(error);
    int16_t error = write_raw_bytes(live ? live : stored, counter);
    DisposeNonNilMemory(live);
    return error;
}

int16_t write_layer_block(MemoryRef layer, int16_t index, int32_t* counter) {
    int32_t start = *counter;
    pf::Rect window_rect;
    const bool shown = files_services.window_rect_of_layer(layer, &window_rect);
    LayerUse sheet(layer);
    if (!shown) window_rect = sheet->pane_rects[0];
    int16_t error = 0;
    int16_t failure = with_failure_handler(sheet->machine->memory, [&] {
        error = write_fixed_part(sheet, window_rect, index, counter);
        if (!error) error = write_blocks(sheet, counter);
        if (!error) error = write_trailing_fields(sheet, counter);
        if (!error) error = write_layer_objects(layer, sheet->stored_objects, counter);
    });
    sheet.release();
    if (failure) return fail_file(memory_error_to_tell(failure));
    if (!error) error = patch_block_length(start, counter);
    return error;
}

}  // namespace

int16_t write_native_document(MemoryRef workbook, uint16_t layer_number) {
    int32_t counter = 0;
    report_document_progress(workbook, 0, kProgressTotal);
    int16_t error = write_document_header(workbook, &counter);
    int16_t count = num_SpreadSheets(workbook);
    bool whole = layer_number == kWholeWorkbook;
    int16_t first = whole ? 0 : int16_t(layer_number);
    int16_t last = whole ? int16_t(count - 1) : int16_t(layer_number);
    if (!whole && (first < 0 || first >= count)) error = pf::kParamErr;
    for (int16_t index = first; index <= last && !error; ++index) {
        error = write_layer_block(find_SpreadSheet_item(workbook, index), whole ? index : 0, &counter);
        report_document_progress(workbook, index - first + 1, last - first + 1);
    }
    if (!error) error = end_file_at(counter);
    report_document_progress(workbook, kProgressTotal, kProgressTotal);
    return error;
}
