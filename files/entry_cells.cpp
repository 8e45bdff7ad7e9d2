// Entry texts of interchange files to cell records, through the parser.
#include "files/entry_cells.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/memory_use.h"
#include "core/number_text.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "formula/typed_entry.h"
#include "model/display_text.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"

namespace {

// Copies `bytes` to `to`; answers the byte after them.
[[gnu::always_inline]] inline uint8_t* put_bytes(uint8_t* to, std::string_view bytes) {
    if (!bytes.empty()) std::memcpy(to, bytes.data(), bytes.size());
    return to + bytes.size();
}

// The work of append_cell_record, inline where the parts are known: a number
// read from a file is written straight into the row.
[[gnu::always_inline]] inline void write_cell_record(std::string& row, const CellRecordParts& parts) {
    const size_t slot_size = parts.number ? kNumberSlotSize : 0;
    const size_t body_size = slot_size + parts.body.size();
    const size_t length = kCellHeaderSize + parts.label_note.size() + body_size + parts.tail.size();
    uint8_t head[kCellHeaderSize];  // the header may lie in `row`, which grows
    std::memcpy(head, parts.header, kCellHeaderSize);
    _SetCellID_(head, parts.column);
    head[kFmtCellType] = parts.type;
    head[kFmtLabelLength] = parts.label_length;
    head[kFmtNoteLength] = uint8_t(parts.label_note.size() - parts.label_length);
    _SetCellLength_(head, int16_t(length));
    _SetFormulaLength_(head, int16_t(body_size));
    store_i16(head + kFmtStyleLength, parts.tail_is_style ? int16_t(parts.tail.size()) : int16_t(0));
    _SetResultType_(head, parts.result_type);
    const size_t at = row.size();
    row.resize(at + length);
    auto* cell = reinterpret_cast<uint8_t*>(row.data() + at);
    std::memcpy(cell, head, kCellHeaderSize);
    uint8_t* next = put_bytes(cell + kCellHeaderSize, parts.label_note);
    if (parts.number) {
        store_f64(next, *parts.number);
        next += kNumberSlotSize;
    }
    put_bytes(put_bytes(next, parts.body), parts.tail);
}

// A cell whose body holds its first `body_length` bytes, and its result after them.
void append_cell(std::string& row, const uint8_t* header, int16_t column, uint8_t type, const std::string& body,
                 int32_t body_length, int16_t result_type) {
    const std::string_view whole(body);
    append_cell_record(row, CellRecordParts{.header = header,
                                            .column = column,
                                            .type = type,
                                            .label_note = {},
                                            .label_length = 0,
                                            .number = {},
                                            .body = whole.substr(0, size_t(body_length)),
                                            .tail = whole.substr(size_t(body_length)),
                                            .tail_is_style = false,
                                            .result_type = result_type});
}

void append_text_body(std::string& row, const uint8_t* header, int16_t column, std::string_view text, bool quote) {
    std::string body;
    if (quote) body.push_back('\'');
    body.append(text.substr(0, size_t(kMaxCellText) - body.size()));
    append_cell(row, header, column, kCellText, body, int32_t(body.size()), kResultNone);
}

// A plain decimal number ("-12.5", "3e-7") in the system's own form, read
// without the parser: what the parser makes of it in a cell of no date
// format, found faster.
bool plain_number(std::string_view text, double* value) {
    if (text.empty() || text.size() >= 64 || decimalPt != '.') return false;
    size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
        } else if ((c == 'e' || c == 'E') && digits) {
            if (i + 1 < text.size() && (text[i + 1] == '-' || text[i + 1] == '+')) ++i;
            if (i + 1 >= text.size()) return false;
            for (++i; i < text.size(); ++i)
                if (text[i] < '0' || text[i] > '9') return false;
            break;
        } else {
            return false;
        }
    }
    if (!digits || (text.size() > 1 && uint8_t(dateSep) == '.' && point)) return false;
    return decimal_text_to_double(text.data(), int32_t(text.size()), value) == int32_t(text.size()) &&
           checkValue(value) == 0;
}

}  // namespace

uint8_t append_entry_cell(std::string& row, const EntryCell& entry, MemoryRef layer) {
    uint8_t header[kCellHeaderSize];  // a typed date may give it a date format
    std::memcpy(header, entry.header, kCellHeaderSize);
    const int16_t column = entry.where.h;
    _SetCellID_(header, column);
    if (entry.entry.empty()) {
        append_format_cell(row, header, column);
        return kCellFormatOnly;
    }
    double number = 0;
    if (!is_date_format(header[kFmtCode]) && plain_number(entry.entry, &number)) {
        append_number_cell(row, header, column, number, entry.entry);
        return kCellConstant;
    }
    SettledEntry settled;
    if (entry.entry.size() <= size_t(kLongestParsedEntry))
        settled = settle_typed_entry(entry.entry, entry.where, layer, header);
    if (settled.outcome == EntryOutcome::number) {
        append_number_cell(row, header, column, settled.value, entry.entry);
        return kCellConstant;
    }
    if (settled.outcome != EntryOutcome::formula) {
        bool quote = entry.quote_failed_formulas && entry.entry[0] == '=';
        append_text_body(row, header, column, entry.entry, quote);
        return kCellText;
    }
    std::string body(settled.formula.begin(), settled.formula.end());
    const int32_t formula_length = int32_t(body.size());
    number = entry.result_value ? *entry.result_value : 0;
    int16_t result_type = kResultNumber;
    if (!entry.has_result || (!entry.result_is_text && file_number(entry.result, &number))) {
        body += number_cell_body(number, {});
    } else {
        body.append(entry.result.substr(0, size_t(kMaxCellText - formula_length)));
        result_type = kResultText;
    }
    append_cell(row, header, column, kCellFormula, body, formula_length, result_type);
    return kCellFormula;
}

bool file_number(std::string_view text, double* value) {
    return !text.empty() && text.size() < 64 &&
           decimal_text_to_double(text.data(), int32_t(text.size()), value) == int32_t(text.size()) &&
           std::isfinite(*value);
}

std::string file_number_text(double value) {
    if (checkValue(&value) != 0) {
        unsigned char error[256];
        error_text(checkValue(&value), error);
        return std::string(reinterpret_cast<const char*>(error + 1), error[0]);
    }
    char digits[32];
    auto done = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, done.ptr);
}

void append_format_cell(std::string& row, const uint8_t* header, int16_t column) {
    append_cell(row, header, column, kCellFormatOnly, std::string(), 0, kResultNone);
}

void append_text_cell(std::string& row, const uint8_t* header, int16_t column, std::string_view text) {
    append_text_body(row, header, column, text, false);
}

void append_number_cell(std::string& row, const uint8_t* header, int16_t column, double value,
                        std::string_view typed) {
    write_cell_record(row, CellRecordParts{.header = header,
                                           .column = column,
                                           .type = kCellConstant,
                                           .label_note = {},
                                           .label_length = 0,
                                           .number = value,
                                           .body = typed.substr(0, 255),
                                           .tail = {},
                                           .tail_is_style = false,
                                           .result_type = kResultNumber});
}

void append_cell_record(std::string& row, const CellRecordParts& parts) { write_cell_record(row, parts); }

std::string number_cell_body(double value, std::string_view typed) {
    std::string body(kNumberSlotSize, '\0');
    store_f64(reinterpret_cast<uint8_t*>(body.data()), value);
    body.append(typed);
    return body;
}

void append_row_record(std::string& store, int16_t row, const std::string& cells) {
    uint8_t head[kRowHeaderSize];
    _SetRowID_(head, row);
    _SetRowLength_(head, uint32_t(kRowHeaderSize + cells.size()));
    store.append(reinterpret_cast<const char*>(head), kRowHeaderSize);
    store.append(cells);
}

void set_layer_cells(MemoryRef layer, const std::string& store) {
    MemoryRef cells = GetSpreadSheetCells(layer);
    SetMemorySize(cells, int32_t(store.size()));
    if (!store.empty()) {
        std::memcpy(MemoryUse<>(cells).get(), store.data(), store.size());
    }
    clobberCache(layer);
}

CellBlockRows::CellBlockRows(MemoryGlobals* globals)
    : block_(pgAllocateNewRef(globals, 1, 0, kCellStoreExtend, false)), failed_(block_ == nullptr) {}

CellBlockRows::~CellBlockRows() { DisposeNonNilMemory(block_); }

void CellBlockRows::reserve(size_t bytes) {
    if (!failed_) ReserveMemoryGrowth(block_, int32_t(std::min<size_t>(bytes, INT32_MAX / 2)));
}

uint8_t* CellBlockRows::grow(int32_t length) {
    if (failed_) return nullptr;
    ReserveMemoryGrowth(block_, length);
    auto* added = static_cast<uint8_t*>(AppendMemory(block_, length, false));
    failed_ = added == nullptr;
    return added;
}

void CellBlockRows::append(int16_t row, std::string_view cells) {
    const size_t at = size();
    const auto length = int32_t(kRowHeaderSize + cells.size());
    uint8_t* record = grow(length);
    if (!record) return;
    _SetRowID_(record, row);
    _SetRowLength_(record, uint32_t(length));
    std::memcpy(record + kRowHeaderSize, cells.data(), cells.size());
    UnuseMemory(block_);
    last_row_ = row;
    last_row_at_ = at;
}

uint32_t CellBlockRows::append_cell(int16_t row, std::string_view cell) {
    const size_t at = size();
    if (at == 0 || row != last_row_) {
        append(row, cell);
        return uint32_t(at + kRowHeaderSize);
    }
    uint8_t* added = grow(int32_t(cell.size()));
    if (!added) return uint32_t(at);
    std::memcpy(added, cell.data(), cell.size());
    _SetRowLength_(added - at + last_row_at_, uint32_t(at + cell.size() - last_row_at_));
    UnuseMemory(block_);
    return uint32_t(at);
}

uint8_t* CellBlockRows::use() { return static_cast<uint8_t*>(UseMemory(block_)); }

void CellBlockRows::unuse() { UnuseMemory(block_); }

size_t CellBlockRows::size() const { return block_ ? size_t(GetByteSize(block_)) : 0; }

void CellBlockRows::install(MemoryRef layer) {
    LayerUse sheet(layer);
    DisposeNonNilMemory(sheet->cells);
    sheet->cells = block_;
    sheet.release();
    block_ = nullptr;
    clobberCache(layer);
}
