// Formats of a layer: cell formats, the column and row format arrays, and the
// effective format of an address.
#include "model/cell_formats.h"

#include <cstring>
#include <string>

#include "core/number_text.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/model_services.h"

// ---------------------------------------------------------------------------
// Cell formats

int16_t get_cell_format(uint8_t* format, CellPoint where, MemoryRef layer) {
    uint8_t* cell;
    int16_t length;
    if (!get_cell_ptr(&cell, &length, where, layer)) {
        GetDefaultFormat(format);
        return 0;
    }
    std::memcpy(format, cell, kCellFormatSize);
    return 1;
}

void GetCellStrings(CellPoint where, unsigned char* label, unsigned char* note, MemoryRef layer) {
    if (label) label[0] = 0;
    if (note) note[0] = 0;
    uint8_t* cell;
    int16_t length;
    if (!get_cell_ptr(&cell, &length, where, layer)) return;
    if (label) {
        label[0] = _labelLength_(cell);
        std::memcpy(label + 1, _labelPtr_(cell), label[0]);
    }
    if (note) {
        note[0] = _noteLength_(cell);
        std::memcpy(note + 1, _notePtr_(cell), note[0]);
    }
}

void AddFormatCell(int16_t column, MemoryRef block) {
    uint8_t cell[kCellHeaderSize];
    GetDefaultFormat(cell);
    _SetCellID_(cell, column);
    cell[kFmtCellType] = kCellFormatOnly;
    _SetCellLength_(cell, kCellHeaderSize);
    PtrAndMemory(cell, block, kCellHeaderSize);
}

// ---------------------------------------------------------------------------
// Format arrays: sorted by id, one record per id. Column and row arrays differ
// only in their record size.

namespace {

uint8_t* record_at(uint8_t* records, int32_t index, int record_size) {
    return records + index * record_size;
}

// The first record whose id is not below `id`, by binary search.
int32_t lower_bound_id(const uint8_t* records, int32_t count, int16_t id, int record_size) {
    int32_t low = 0, high = count;
    while (low < high) {
        int32_t middle = (low + high) / 2;
        if (format_id(records + middle * record_size) < id) low = middle + 1; else high = middle;
    }
    return low;
}

uint8_t* find_format_record(MemoryRef array, int16_t id, int record_size) {
    if (!array || id < 0) return nullptr;
    uint8_t* records = nullptr;
    int16_t error = with_failure_handler(GetMemoryGlobals(array), [&] {
        records = static_cast<uint8_t*>(UseMemory(array));
    });
    if (error || !records) return nullptr;
    int32_t count = GetMemorySize(array);
    int32_t index = lower_bound_id(records, count, id, record_size);
    if (index < count && format_id(record_at(records, index, record_size)) == id)
        return record_at(records, index, record_size);
    UnuseMemory(array);
    return nullptr;
}

// The records whose id lies in [first, last]: [*begin, *end) as indexes.
void id_span(MemoryRef array, int16_t first, int16_t last, int record_size, int32_t* begin,
             int32_t* end) {
    MemoryUse<uint8_t> records(array);
    int32_t count = GetMemorySize(array);
    *begin = lower_bound_id(records, count, first, record_size);
    *end = last < kLastCell + 1 ? lower_bound_id(records, count, int16_t(last + 1), record_size)
                                : count;
    if (*end < *begin) *end = *begin;
}

// A new record takes the layer's default format but no size of its own: it
// follows the layer's default width or height until one is set.
void fill_new_record(uint8_t* record, const uint8_t* format_template, int16_t id, int record_size) {
    std::memset(record, 0, record_size);
    std::memcpy(record, format_template, kCellFormatSize);
    set_format_id(record, id);
    set_format_extent(record, -1);
}

int16_t make_format_array(MemoryRef* array, const uint8_t* format_template, int16_t first,
                          int16_t last, int record_size, MemoryGlobals* globals, uint32_t id) {
    MemoryRef made = nullptr;
    int16_t error = with_failure_handler(globals, [&] {
        made = pgAllocateNewRef(globals, record_size, last - first + 1, kFormatArrayExtend, true);
        if (!made) msFailure(globals, kNoMemoryErr, nullptr);
        MemoryUse<uint8_t> records(made);
        for (int32_t i = 0; i <= last - first; ++i)
            fill_new_record(record_at(records, i, record_size), format_template, int16_t(first + i),
                            record_size);
        records.release();
        SetMemoryPurge(made, kNeverPurge, false);
        SetMemoryRefID(made, id);
    });
    if (error) {
        DisposeNonNilFailedMemory(made);
        return kNoMemoryErr;
    }
    *array = made;
    return 0;
}

// Adds a record for each id in [first, last] that has none; the walk starts
// at the first id's place, found by binary search.
int16_t insert_missing_records(MemoryRef array, const uint8_t* format_template, int16_t first,
                               int16_t last, int record_size) {
    int32_t cursor = lower_bound_id(MemoryUse<uint8_t>(array), GetMemorySize(array), first, record_size);
    for (int32_t id = first; id <= last; ++id) {
        int32_t count = GetMemorySize(array);
        MemoryUse<uint8_t> records(array);
        while (cursor < count && format_id(record_at(records, cursor, record_size)) < id) ++cursor;
        bool present = cursor < count && format_id(record_at(records, cursor, record_size)) == id;
        records.release();
        if (present) continue;
        int16_t error = with_failure_handler(GetMemoryGlobals(array), [&] {
            ReserveMemoryGrowth(array, 1);
            auto* record = static_cast<uint8_t*>(InsertMemory(array, cursor, 1));
            fill_new_record(record, format_template, int16_t(id), record_size);
            UnuseMemory(array);
        });
        if (error) {
            UnuseFailedMemory(array);
            FixFailedMemory(array);
            SetMemorySize(array, count);
            return kNoMemoryErr;
        }
    }
    return 0;
}

int16_t input_formats(MemoryRef layer, int32_t range, bool columns) {
    int16_t first = int16_t(range >> 16), last = int16_t(range & 0xFFFF);
    if (first < 0 || last < 0) return kBadRangeErr;
    if (first > last) return 0;
    int record_size = columns ? kColumnFormatSize : kRowFormatSize;
    LayerUse sheet(layer);
    uint8_t format_template[kCellFormatSize];
    std::memcpy(format_template, columns ? sheet->default_column_format : sheet->default_row_format,
                kCellFormatSize);
    MemoryRef& array = columns ? sheet->column_formats : sheet->row_formats;
    int16_t result;
    if (!array)
        result = make_format_array(&array, format_template, first, last, record_size,
                                   sheet->machine->memory, sheet->memory_id);
    else
        result = insert_missing_records(array, format_template, first, last, record_size);
    return result;
}

void dispose_if_empty(MemoryRef* array) {
    if (*array && GetMemorySize(*array) == 0) {
        DisposeMemory(*array);
        *array = nullptr;
    }
}

// Records with a size of their own keep it (and a column its name) and go back
// to the default format; the others are removed.
void delete_formats(int16_t first, int16_t last, MemoryRef* array, int record_size) {
    if (!*array) return;
    int32_t begin, end;
    id_span(*array, first, last, record_size, &begin, &end);
    for (int32_t i = end - 1; i >= begin; --i) {
        MemoryUse<uint8_t> records(*array);
        uint8_t* record = record_at(records, i, record_size);
        int16_t id = format_id(record), extent = format_extent(record);
        if (extent >= 0) {
            GetDefaultFormat(record);
            set_format_id(record, id);
            set_format_extent(record, extent);
        }
        records.release();
        if (extent < 0) DeleteMemory(*array, i, 1);
    }
    dispose_if_empty(array);
}

void verify_formats(MemoryRef* array, int record_size) {
    if (!*array) return;
    int16_t previous = -1;
    for (int32_t i = 0; i < GetMemorySize(*array);) {
        int16_t id = format_id(record_at(MemoryUse<uint8_t>(*array), i, record_size));
        if (id <= previous) {
            DeleteMemory(*array, i, 1);
        } else {
            previous = id;
            ++i;
        }
    }
    dispose_if_empty(array);
}

// The one-byte size that the window's pattern phases read from byte 11 of a
// row or column record: the height (below 251), or a quarter of the width
// (below 201); 255 for the default or a larger size.
uint8_t phase_size(int16_t extent, int record_size) {
    if (extent < 0) return 255;
    if (record_size == kColumnFormatSize) return extent / 4 < 201 ? uint8_t(extent / 4) : 255;
    return extent < 251 ? uint8_t(extent) : 255;
}

void set_sizes(int16_t first, int16_t last, int16_t extent, MemoryRef array, int record_size) {
    if (!array) return;
    int32_t begin, end;
    id_span(array, first, last, record_size, &begin, &end);
    MemoryUse<uint8_t> records(array);
    for (int32_t i = begin; i < end; ++i) {
        uint8_t* record = record_at(records, i, record_size);
        set_format_extent(record, extent);
        record[kFmtCellType] = phase_size(extent, record_size);
    }
}

MemoryRef copy_formats(int16_t first, int16_t last, MemoryRef array, int record_size) {
    if (!array) return nullptr;
    int32_t begin, end;
    id_span(array, first, last, record_size, &begin, &end);
    if (begin == end) return nullptr;
    MemoryGlobals* globals = GetMemoryGlobals(array);
    MemoryRef copy = pgAllocateNewRef(globals, record_size, end - begin, kFormatArrayExtend, false);
    if (!copy) return nullptr;
    MemoryUse<uint8_t> records(array);
    std::memcpy(MemoryUse<>(copy).get(), record_at(records, begin, record_size), size_t(end - begin) * record_size);
    return copy;
}

void set_format_bytes(int16_t first, int16_t last, int16_t field, int16_t value, bool clear,
                      MemoryRef array, int record_size) {
    if (!array) return;
    int32_t begin, end;
    id_span(array, first, last, record_size, &begin, &end);
    MemoryUse<uint8_t> records(array);
    for (int32_t i = begin; i < end; ++i)
        SetFormatByte(record_at(records, i, record_size), field, value, clear);
}

}  // namespace

uint8_t* FindColumnFormatID(MemoryRef array, int16_t column) {
    return find_format_record(array, column, kColumnFormatSize);
}

uint8_t* FindRowFormatID(MemoryRef array, int16_t row) {
    return find_format_record(array, row, kRowFormatSize);
}

int16_t InputColumnFormat(MemoryRef layer, int32_t range) { return input_formats(layer, range, true); }
int16_t InputRowFormat(MemoryRef layer, int32_t range) { return input_formats(layer, range, false); }

void DeleteColumnFormat(int16_t first, int16_t last, MemoryRef* array) {
    delete_formats(first, last, array, kColumnFormatSize);
}
void DeleteRowFormat(int16_t first, int16_t last, MemoryRef* array) {
    delete_formats(first, last, array, kRowFormatSize);
}
void VerifyColumnFormat(MemoryRef* array) { verify_formats(array, kColumnFormatSize); }
void VerifyRowFormat(MemoryRef* array) { verify_formats(array, kRowFormatSize); }

void SetColumnSize(int16_t first, int16_t last, int16_t width, MemoryRef array) {
    set_sizes(first, last, width, array, kColumnFormatSize);
}
void SetRowSize(int16_t first, int16_t last, int16_t height, MemoryRef array) {
    set_sizes(first, last, height, array, kRowFormatSize);
}

MemoryRef CopyColumnFormat(int16_t first, int16_t last, MemoryRef array) {
    return copy_formats(first, last, array, kColumnFormatSize);
}
MemoryRef CopyRowFormat(int16_t first, int16_t last, MemoryRef array) {
    return copy_formats(first, last, array, kRowFormatSize);
}

int32_t CountRowColumns(int16_t first, int16_t last, MemoryRef array) {
    if (!array) return 0;
    // Both kinds keep their id in the first two bytes of each record.
    int record_size = GetMemoryRecSize(array);
    int32_t begin, end;
    id_span(array, first, last, record_size, &begin, &end);
    return end - begin;
}

void SetColumnByte(int16_t first, int16_t last, int16_t field, int16_t value, bool clear,
                   MemoryRef array) {
    set_format_bytes(first, last, field, value, clear, array, kColumnFormatSize);
}
void SetRowByte(int16_t first, int16_t last, int16_t field, int16_t value, bool clear, MemoryRef array) {
    set_format_bytes(first, last, field, value, clear, array, kRowFormatSize);
}

// ---------------------------------------------------------------------------
// Effective formats

namespace {

// Copies the first 32 bytes of a found record and releases its array.
bool copy_record_format(uint8_t* format, MemoryRef array, uint8_t* record) {
    if (!record) return false;
    std::memcpy(format, record, kCellFormatSize);
    UnuseMemory(array);
    return true;
}

}  // namespace

int16_t get_format(uint8_t* format, CellPoint where, MemoryRef layer) {
    LayerUse sheet(layer);
    int16_t result = 1;
    uint8_t column_format[kCellFormatSize];
    MemoryRef columns = sheet->column_formats, rows = sheet->row_formats;
    bool column_speaks =
        copy_record_format(column_format, columns, FindColumnFormatID(columns, where.h)) &&
        format_differs_visibly(column_format, sheet->default_column_format);
    if (column_speaks) {
        std::memcpy(format, column_format, kCellFormatSize);
    } else if (!copy_record_format(format, rows, FindRowFormatID(rows, where.v))) {
        std::memcpy(format, sheet->default_column_format, kCellFormatSize);
        result = 0;
    }
    return result;
}

void GetSelectFormat(uint8_t* format, MemoryRef layer, int16_t use_cache) {
    LayerUse sheet(layer);
    if (!(sheet->flags & kLayerFormatStale) && use_cache) {
        if (format) std::memcpy(format, sheet->cached_format.bytes, kCellFormatSize);
        return;
    }
    uint8_t found[kCellFormatSize];
    const CellRange& selection = sheet->selection;
    uint8_t* cell;
    int16_t length;
    bool have = get_cell_ptr(&cell, &length, sheet->active_cell, layer) != 0;
    if (have) {
        std::memcpy(found, cell, kCellFormatSize);
        if (use_cache && _styleLength_(cell) > 0) get_style_format(cell, found);
    }
    if (!have && whole_columns(selection))
        have = copy_record_format(found, sheet->column_formats,
                                  FindColumnFormatID(sheet->column_formats, selection.topLeft.h));
    else if (!have && whole_rows(selection))
        have = copy_record_format(found, sheet->row_formats,
                                  FindRowFormatID(sheet->row_formats, selection.topLeft.v));
    if (!have) get_format(found, sheet->active_cell, layer);
    std::memcpy(sheet->cached_format.bytes, found, kCellFormatSize);
    if (use_cache)
        sheet->flags &= ~kLayerFormatStale;
    else
        sheet->flags |= kLayerFormatStale;
    if (format) std::memcpy(format, found, kCellFormatSize);
}

namespace {

// The typed text of a number, its first "." shown as the system's decimal
// point; a number stored without one (an error value read from SYLK, a number
// another program wrote) shows its general text.
void append_typed_number(MemoryRef text, const uint8_t* cell) {
    const uint8_t* typed = _constTextPtr_(cell);
    int32_t length = _formulaLength_(cell) - kNumberSlotSize;
    if (length <= 0) {
        const std::string general = general_value_text(load_f64(_formulaPtr_(cell)), decimalPt);
        PtrAndMemory(general.data(), text, int32_t(general.size()));
        return;
    }
    PtrAndMemory(typed, text, length);
    MemoryUse<uint8_t> bytes(text);
    if (auto* point = static_cast<uint8_t*>(std::memchr(bytes, '.', size_t(length)))) *point = decimalPt;
}

}  // namespace

MemoryRef Get_CellText(CellPoint where, uint8_t* format, MemoryRef* style_runs, MemoryRef layer) {
    LayerUse sheet(layer);
    MemoryGlobals* globals = sheet->machine->memory;
    if (style_runs) *style_runs = nullptr;
    uint8_t* cell;
    int16_t length;
    MemoryRef text = nullptr;
    uint8_t found[kCellFormatSize];
    if (get_cell_ptr(&cell, &length, where, layer)) {
        std::memcpy(found, cell, kCellFormatSize);
        if (_styleLength_(cell) > 0) get_style_format(cell, found);
        switch (_cellType_(cell)) {
        case kCellFormula: {
            int32_t packed = int32_t(uint32_t(uint16_t(where.h)) << 16 | uint16_t(where.v));
            text = model_services.formula_text(packed, _formulaPtr_(cell), _formulaPtr_(cell) + _formulaLength_(cell), layer,
                             globals);
            break;
        }
        case kCellText:
            text = Bytes2Memory(globals, _formulaPtr_(cell), 1, _formulaLength_(cell));
            if (style_runs) *style_runs = _get_style_handle(globals, cell);
            break;
        case kCellConstant:
            text = pgAllocateNewRef(globals, 1, 0, 255, false);
            if (text) append_typed_number(text, cell);
            break;
        default: break;
        }
    } else {
        get_format(found, where, layer);
    }
    if (!text) text = pgAllocateNewRef(globals, 1, 0, 255, false);
    if (sheet->flags & kLayerFormatStale) {
        std::memcpy(sheet->cached_format.bytes, found, kCellFormatSize);
        sheet->flags &= ~kLayerFormatStale;
    }
    if (format) std::memcpy(format, found, kCellFormatSize);
    return text;
}
