// A range of cells as tab- or comma-separated text.
#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "core/memory_use.h"
#include "core/number_text.h"
#include "files/entry_cells.h"
#include "files/file_framing.h"
#include "files/formula_walk.h"
#include "files/entry_script.h"
#include "files/text_encoding.h"
#include "files/text_exchange.h"
#include "formula/date_functions.h"
#include "formula/error_values.h"
#include "formula/formula_text.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/date_serials.h"
#include "model/display_text.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "platform/memory/memory.h"

namespace {

struct TextWriter {
    FieldSource source;
    uint8_t separator;
    MemoryRef layer;
    int16_t default_font;
    std::string_view line_end;
    bool dates_1900;    // dates count from 1900
    std::string field;  // scratch
    bool utf8 = false;  // fields converted to UTF-8 from their cells' scripts
    // A file's: formulas that refer to other layers or to names go out as
    // their values, counted here. The clipboard's text (none) keeps every
    // formula as it is.
    ExportReport* file_losses = nullptr;
    // The bytes that make a field be quoted or converted.
    std::array<bool, 256> rewritten_bytes = rewritten_bytes_of(separator, utf8);

    static std::array<bool, 256> rewritten_bytes_of(uint8_t separator, bool utf8) {
        std::array<bool, 256> bytes{};
        if (separator != kTabSeparator)
            for (uint8_t quoted : {separator, uint8_t('"'), uint8_t('\r'), uint8_t('\n')}) bytes[quoted] = true;
        if (utf8) std::fill(bytes.begin() + 0x80, bytes.end(), true);
        return bytes;
    }
};

int16_t cell_font(const TextWriter& w, const uint8_t* cell) {
    const uint16_t font = format_font(cell);
    return font == kDefaultFontNumber ? w.default_font : int16_t(font);
}

// Whether a CSV field holds the separator, a double quote, a carriage return
// or a line feed.
bool csv_field_needs_quotes(std::string_view text, uint8_t separator) {
    return std::any_of(text.begin(), text.end(),
                       [separator](char c) { return c == char(separator) || c == '"' || c == '\r' || c == '\n'; });
}

std::string_view bytes_of(const uint8_t* p, int32_t length) {
    return std::string_view(reinterpret_cast<const char*>(p), size_t(length > 0 ? length : 0));
}

// A number the plain formatter leaves, or an error's text; kept apart so the
// common case stays small.
[[gnu::noinline]] void formatted_general_number(double value, std::string& out) {
    out.append(general_value_text(value, decimalPt));
}

// A number in general format with the system's decimal point, or an error's
// text. True when the text is digits, a sign and the point alone, none of
// them a byte the field would be rewritten for.
bool general_number(const TextWriter& w, double value, std::string& out) {
    char plain[kPlainTextRoom];
    if (const int length = plain_general_text(value, decimalPt, plain)) {
        out.append(plain, size_t(length));
        return !w.rewritten_bytes[decimalPt];
    }
    formatted_general_number(value, out);
    return false;
}

// A layer named in a text of the layer `context` alone: its own layer,
// written without a layer part, is the layer the file reads back into; a
// layer the workbook does not hold is written as it is shown, as in the
// workbook.
bool read_back_alike(int32_t index, void* context) {
    MemoryRef layer = static_cast<MemoryRef>(context);
    MemoryRef workbook = GetWorkSheet(layer);
    if (!workbook || index < 0 || index >= num_SpreadSheets(workbook)) return true;
    return index == GetSheetID(layer);
}

// Whether a formula reads back the same from a file of its layer alone, which
// holds no other layer and no names.
bool formula_read_back(const TextWriter& w, const uint8_t* cell) {
    const uint8_t* formula = _formulaPtr_(cell);
    const int32_t length = _formulaLength_(cell);
    return formula_layers_kept(formula, length, GetSheetID(w.layer), read_back_alike, w.layer) &&
           !formula_names_range(formula, length);
}

void formula_text_of(const TextWriter& w, const uint8_t* cell, CellPoint where, std::string& out) {
    const int32_t position = (int32_t(uint16_t(where.h)) << 16) | uint16_t(where.v);
    const uint8_t* formula = _formulaPtr_(cell);
    const uint8_t* end = formula + _formulaLength_(cell);
    MemoryRef text = w.file_losses ? layer_file_formula_text(position, formula, end, w.layer, &mem_globals)
                                   : Interpret(position, formula, end, w.layer, &mem_globals);
    if (!text) return;
    out.append(MemoryUse<const char>(text).get(), size_t(GetByteSize(text)));
    DisposeMemory(text);
}

void displayed_text_of(const TextWriter& w, const uint8_t* cell, CellPoint where, std::string& out) {
    CellInfoRecord info{};
    info.where = where;
    info.cell = cell;
    std::memcpy(info.format.bytes, cell, kCellFormatSize);
    info.layer = w.layer;
    info.dates_1900 = w.dates_1900;
    info.default_font = w.default_font;
    info.memory = &mem_globals;
    CellString(&info);
    if (info.long_text)
        out.append(bytes_of(info.long_text, info.text_length));
    else
        out.append(bytes_of(info.text + 1, info.text[0]));
}

bool layer_counts_from_1900(MemoryRef layer) {
    MemoryRef workbook = GetWorkSheet(layer);
    return workbook && Get_1900Date_Flag(workbook) != 0;
}

// A date of a cell in a date format, whose serial other programs would read
// in their own date system, is written as the date a user types instead; a
// date the calendar cannot show is written as its number, as it is shown.
bool written_as_date(const TextWriter& w, const uint8_t* cell, double value) {
    return holds_date_serial(cell[kFmtCode], value) && checkValue(&value) == 0 &&
           serial_shows_its_date(value, w.dates_1900);
}

void date_text(const TextWriter& w, double value, std::string& out) {
    unsigned char text[256];
    date_entry_text(value, w.dates_1900, text);
    out.append(bytes_of(text + 1, text[0]));
}

// True when the text needs no quoting or conversion, as in field_text.
bool result_of(const TextWriter& w, const uint8_t* cell, std::string& out) {
    const int16_t type = _resultType_(cell);
    if (type > 0) {
        out.append(bytes_of(_resultPtr_(cell), _resultLength_(cell)));
        return false;
    }
    const double value = type == kResultNumber ? load_f64(_resultPtr_(cell)) : 0;
    if (w.source == FieldSource::exact_values) {
        out.append(file_number_text(value));
    } else if (written_as_date(w, cell, value)) {
        date_text(w, value, out);
    } else {
        return general_number(w, value, out);
    }
    return false;
}

// A number as it was typed; a date that was not typed as a date (a serial
// typed, or a date read from a file) as a user types a date. True as in field_text.
bool number_of(const TextWriter& w, const uint8_t* cell, std::string& out) {
    const double value = load_f64(_formulaPtr_(cell));
    const std::string_view typed = bytes_of(_constTextPtr_(cell), _formulaLength_(cell) - kNumberSlotSize);
    if (w.source == FieldSource::exact_values) {
        out.append(file_number_text(value));
    } else if (written_as_date(w, cell, value) && !typed_as_date(typed)) {
        date_text(w, value, out);
    } else if (!typed.empty()) {
        out.append(typed);
    } else {
        return general_number(w, value, out);
    }
    return false;
}

// The text of the field of a cell other than a text cell, before any
// quoting: true when it is known to need none (a number in plain notation, or
// no value), false when it is to be looked at.
bool field_text(const TextWriter& w, const uint8_t* cell, CellPoint where, std::string& out) {
    const uint8_t type = _cellType_(cell);
    if (type != kCellFormula && type != kCellConstant) return true;
    if (w.source == FieldSource::displayed) {
        displayed_text_of(w, cell, where, out);
    } else if (type == kCellFormula) {
        if (w.source != FieldSource::formulas) return result_of(w, cell, out);
        if (w.file_losses && !formula_read_back(w, cell)) {
            ++w.file_losses->formulas_kept_as_values;
            return result_of(w, cell, out);
        }
        formula_text_of(w, cell, where, out);
    } else {
        return number_of(w, cell, out);
    }
    return false;
}

bool rewritten(const TextWriter& w, std::string_view field) {
    return std::any_of(field.begin(), field.end(), [&](char c) { return w.rewritten_bytes[uint8_t(c)]; });
}

// The field from `start` of the line, taken back and written again quoted
// when a CSV field must be.
void quote_field(TextWriter& w, size_t start, std::string& out) {
    const std::string_view field = std::string_view(out).substr(start);
    if (w.separator == kTabSeparator || !csv_field_needs_quotes(field, w.separator)) return;
    w.field.assign(field);
    out.resize(start);
    WriteCSVCell(w.field, w.separator, out);
}

// A field to be quoted (or, in a tab-separated file, written as it is).
void put_as_is(const TextWriter& w, std::string_view field, std::string& out) {
    if (w.separator == kTabSeparator) out.append(field);
    else WriteCSVCell(field, w.separator, out);
}

// A text cell's field: its bytes straight into the line, unless they are to
// be quoted, or decoded from their scripts for a file in UTF-8.
void put_text(TextWriter& w, const uint8_t* cell, std::string& out) {
    const std::string_view text = bytes_of(_formulaPtr_(cell), _formulaLength_(cell));
    if (!rewritten(w, text)) {
        out.append(text);
    } else if (w.utf8 && has_high_bytes(text)) {
        const size_t start = out.size();
        append_cell_field_utf8(cell, text, cell_font(w, cell), out);
        quote_field(w, start, out);
    } else {
        put_as_is(w, text, out);
    }
}

// The field's text goes straight to `out`; a field to be quoted or converted
// is taken back and written again.
void put_field(TextWriter& w, const uint8_t* cell, CellPoint where, std::string& out) {
    if (_cellType_(cell) == kCellText) return put_text(w, cell, out);
    const size_t start = out.size();
    if (field_text(w, cell, where, out) || !rewritten(w, std::string_view(out).substr(start))) return;
    w.field.assign(out, start);
    out.resize(start);
    if (w.utf8 && has_high_bytes(w.field)) {
        append_cell_field_utf8(cell, w.field, cell_font(w, cell), out);
        quote_field(w, start, out);
    } else {
        put_as_is(w, w.field, out);
    }
}

// The fields of one stored row within the columns [left, right].
void put_row(TextWriter& w, const uint8_t* row, int16_t left, int16_t right, std::string& out) {
    const uint8_t* cell = row + kRowHeaderSize;
    const uint8_t* end = row + _RowLength_(row);
    int32_t column = left;
    for (; cell < end; cell += _cellLength_(cell)) {
        const int16_t id = _cellID_(cell);
        if (id < left) continue;
        if (id > right) break;
        for (; column < id; ++column) out.push_back(char(w.separator));
        put_field(w, cell, CellPoint{_RowID_(row), id}, out);
    }
}

// Walks the rows of the range, handing the text of each line to `flush`.
template <typename Flush>
int16_t write_rows(TextWriter& w, MemoryRef cells, CellPoint top_left, CellPoint bottom_right, Flush&& flush) {
    if (!cells || GetByteSize(cells) < 2) return 0;
    const bool single = top_left == bottom_right;
    const bool whole_columns = bottom_right.v >= kLastCell;
    uint8_t* end = nullptr;
    uint8_t* start = SetRefStop(cells, &end);
    if (!start) return kNoMemoryErr;
    const uint8_t* row = start;
    std::string line;
    int16_t error = 0;
    for (int32_t r = top_left.v; r <= bottom_right.v && !error; ++r) {
        while (row < end && _RowID_(row) < r) row += _RowLength_(row);
        if (row >= end && whole_columns) break;
        line.clear();
        if (row < end && _RowID_(row) == r) {
            put_row(w, row, top_left.h, bottom_right.h, line);
            row += _RowLength_(row);  // done counts the rows written, so the last one reports the whole
        }
        if (!single) line.append(w.line_end);
        error = flush(line, int32_t(row - start), int32_t(end - start));
    }
    UnuseMemory(cells);
    return error;
}

// The style runs of the one text cell of a single-cell range, or null.
pf::Handle single_cell_style(MemoryRef cells, CellPoint where) {
    if (!cells || GetByteSize(cells) < kRowHeaderSize) return nullptr;
    MemoryUse<const uint8_t> start(cells);
    const uint8_t* end = start + GetByteSize(cells);
    pf::Handle runs = nullptr;
    for (const uint8_t* row = start; row < end && !runs; row += _RowLength_(row)) {
        if (_RowID_(row) != where.v) continue;
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            if (_cellID_(cell) == where.h && _cellType_(cell) == kCellText && _styleLength_(cell) > 0) {
                runs = pf::ptr_to_hand(_stylePtr_(cell), _styleLength_(cell));
                break;
            }
    }
    return runs;
}

void report_progress(MachineRecord* machine, MemoryRef layer, int32_t done, int32_t total) {
    if (machine && machine->wait) machine->wait(layer, 1, done, total > 0 ? total : 1);
}

}  // namespace

void WriteCSVCell(std::string_view text, uint8_t separator, std::string& out) {
    if (!csv_field_needs_quotes(text, separator)) {
        out.append(text);
        return;
    }
    out.push_back('"');
    for (char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

namespace {

// The whole layer as text in the form, piece by piece to `put` (bytes, and
// the share of the cells done): the encoding's byte-order mark first when it
// has one, then each line in the encoding, ending as the form's lines end.
template <typename Put>
int16_t put_layer_in_form(MemoryRef layer, FieldSource source, uint8_t separator, const TextFileForm& form,
                          ExportReport* losses, Put&& put) {
    ExportReport unreported;
    TextWriter w{source, separator, layer, Get_Default_Font(layer), line_end_text(form.line_ends),
                 layer_counts_from_1900(layer), {}, true};
    w.file_losses = losses ? losses : &unreported;
    const std::string_view mark = encoding_mark(form.encoding);
    if (int16_t error = mark.empty() ? 0 : put(mark, 0, 0)) return error;
    std::string encoded;
    return write_rows(w, GetSpreadSheetCells(layer), CellPoint{0, 0}, CellPoint{kLastCell, kLastCell},
                      [&](const std::string& line, int32_t done, int32_t total) -> int16_t {
                          if (!encode_in(line, form.encoding, encoded)) return kDamagedFileErr;
                          return put(std::string_view(encoded), done, total);
                      });
}

}  // namespace

int16_t layer_text(MemoryRef layer, FieldSource source, uint8_t separator, const TextFileForm& form, std::string& out,
                   ExportReport* losses) {
    out.clear();
    const int16_t error = put_layer_in_form(layer, source, separator, form, losses, [&](std::string_view bytes, int32_t, int32_t) {
        out.append(bytes);
        return int16_t(0);
    });
    if (error) out.clear();
    return error;
}

std::string layer_text(MemoryRef layer, FieldSource source, uint8_t separator) {
    std::string text;
    layer_text(layer, source, separator, TextFileForm{}, text);  // UTF-8 holds every text
    return text;
}

int16_t write_text_file(MemoryRef layer, FieldSource source, uint8_t separator, const TextFileForm& form,
                        int32_t* counter, ExportReport* losses) {
    MachineRecord* machine = LayerUse(layer)->machine;
    try {
        return put_layer_in_form(layer, source, separator, form, losses,
                                 [&](std::string_view bytes, int32_t done, int32_t total) -> int16_t {
                                     if (total > 0) report_progress(machine, layer, done, total);
                                     return WriteItem(int32_t(bytes.size()), bytes.data(), counter);
                                 });
    } catch (const std::bad_alloc&) {
        return kNoMemoryErr;
    }
}

int16_t WriteTextData(MachineRecord* machine, int16_t formulas, int16_t displayed, uint8_t separator,
                      MemoryRef cells, MemoryRef* out, pf::Handle* style, CellPoint top_left,
                      CellPoint bottom_right, int32_t* counter, MemoryRef layer, bool dates_1900) {
    if (out) *out = nullptr;
    if (style) *style = nullptr;
    const FieldSource source = formulas ? FieldSource::formulas : displayed ? FieldSource::displayed : FieldSource::values;
    TextWriter w{source,
                 separator,
                 layer,
                 layer ? Get_Default_Font(layer) : int16_t(0),
                 counter ? "\r\n" : "\r",
                 layer ? layer_counts_from_1900(layer) : dates_1900,
                 {},
                 counter != nullptr};
    std::string text;
    int16_t error = 0;
    try {
        error = write_rows(w, cells, top_left, bottom_right, [&](const std::string& line, int32_t done, int32_t total) {
            if (!counter) {
                text.append(line);
                if (!out) report_progress(machine, layer, done, total);
                return int16_t(0);
            }
            report_progress(machine, layer, done, total);
            return WriteItem(int32_t(line.size()), line.data(), counter);
        });
    } catch (const std::bad_alloc&) {
        error = kNoMemoryErr;
    }
    if (error || !out) return error;
    *out = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
    if (!*out) return kNoMemoryErr;
    if (style && top_left == bottom_right && separator == kTabSeparator) *style = single_cell_style(cells, top_left);
    return 0;
}
