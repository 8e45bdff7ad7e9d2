// Paste special: what of the copied cells is pasted (all, values, formulas
// or formats), an operation between each copied cell and the cell it lands
// on, blank copied cells that leave their targets alone, and transposition.
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "core/memory_use.h"
#include "editing/clipboard.h"
#include "files/entry_cells.h"
#include "formula/error_values.h"
#include "formula/parser.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_letters.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "platform/screen/cursor.h"
#include "platform/text/text.h"
#include "formula/formula_text.h"

namespace {

constexpr int kNoClipBeep = 9;

using Position = std::pair<int32_t, int32_t>;  // row, column

// The cells of a block by position, held while the map is used.
struct IndexedCells {
    MemoryUse<const uint8_t> block;
    std::map<Position, const uint8_t*> at;

    explicit IndexedCells(MemoryRef cells) : block(cells) {
        if (!block) return;
        const uint8_t* start = block;
        const uint8_t* end = start + GetByteSize(cells);
        for (const uint8_t* row = start; row < end; row += _RowLength_(row))
            for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
                at[{_RowID_(row), _cellID_(cell)}] = cell;
    }
    IndexedCells(const IndexedCells&) = delete;
    IndexedCells& operator=(const IndexedCells&) = delete;

    const uint8_t* find(Position where) const {
        auto it = at.find(where);
        return it == at.end() ? nullptr : it->second;
    }
};

// A cell record from its parts: the format bytes of `format` and the rest.
struct CellParts {
    const uint8_t* format;
    uint8_t type = kCellFormatOnly;
    std::string_view label, note, body, tail;  // tail: the result or the style runs
    int16_t result_type = kResultNone;
    int16_t style_length = 0;
};

std::string_view bytes_at(const uint8_t* p, int32_t length) {
    return std::string_view(reinterpret_cast<const char*>(p), size_t(length > 0 ? length : 0));
}

std::string_view label_of(const uint8_t* cell) { return bytes_at(_labelPtr_(cell), _labelLength_(cell)); }
std::string_view note_of(const uint8_t* cell) { return bytes_at(_notePtr_(cell), _noteLength_(cell)); }
std::string_view body_of(const uint8_t* cell) { return bytes_at(_formulaPtr_(cell), _formulaLength_(cell)); }
std::string_view tail_of(const uint8_t* cell) { return bytes_at(_resultPtr_(cell), _resultLength_(cell)); }

void append_cell(std::string& row, int16_t column, const CellParts& parts) {
    uint8_t header[kCellHeaderSize];
    std::memcpy(header, parts.format, kCellHeaderSize);
    _SetCellID_(header, column);
    header[kFmtLabelLength] = uint8_t(parts.label.size());
    header[kFmtCellType] = parts.type;
    header[kFmtNoteLength] = uint8_t(parts.note.size());
    _SetFormulaLength_(header, int16_t(parts.body.size()));
    store_i16(header + kFmtStyleLength, parts.style_length);
    _SetResultType_(header, parts.result_type);
    _SetCellLength_(header, int16_t(kCellHeaderSize + parts.label.size() + parts.note.size() + parts.body.size() +
                                    parts.tail.size()));
    row.append(reinterpret_cast<const char*>(header), kCellHeaderSize);
    row.append(parts.label).append(parts.note).append(parts.body).append(parts.tail);
}

// A stored cell as it stands, in another column.
void append_unchanged(std::string& row, int16_t column, const uint8_t* cell) {
    const size_t at = row.size();
    row.append(reinterpret_cast<const char*>(cell), size_t(_cellLength_(cell)));
    _SetCellID_(reinterpret_cast<uint8_t*>(row.data() + at), column);
}

// Everything of a cell but its format, which comes from `format`.
CellParts contents_of(const uint8_t* cell, const uint8_t* format) {
    return CellParts{format,         _cellType_(cell),   label_of(cell),        note_of(cell), body_of(cell),
                     tail_of(cell), _resultType_(cell), _styleLength_(cell)};
}

// Collects the cells of each row, in order, into a store of row records.
struct StoreBuilder {
    std::string store, row_cells;
    int32_t row = -1;

    std::string& row_for(int32_t wanted) {
        if (wanted != row) flush();
        row = wanted;
        return row_cells;
    }
    void flush() {
        if (!row_cells.empty()) append_row_record(store, int16_t(row), row_cells);
        row_cells.clear();
    }
    MemoryRef finish(MemoryRef layer) {
        flush();
        return Bytes2Memory(GetMemoryGlobals(layer), store.data(), 1, int32_t(store.size()));
    }
};

// ---- Combining a copied cell with its target -------------------------------------

bool is_text(const uint8_t* cell) { return cell && _cellType_(cell) == kCellText; }
bool is_empty(const uint8_t* cell) { return !cell || _cellType_(cell) == kCellFormatOnly; }
bool is_formula(const uint8_t* cell) { return cell && _cellType_(cell) == kCellFormula; }

double value_of(const uint8_t* cell) { return is_empty(cell) ? 0.0 : load_f64(_formulaPtr_(cell)); }

// A number constant as it was typed ("0" for an empty cell).
std::string typed_text(const uint8_t* cell) {
    if (is_empty(cell)) return "0";
    std::string_view typed = bytes_at(_constTextPtr_(cell), _formulaLength_(cell) - kNumberSlotSize);
    return typed.empty() ? file_number_text(value_of(cell)) : std::string(typed);
}

// A formula's text without its "=", read at the cell's place.
std::string formula_text(const uint8_t* cell, Position where, MemoryRef layer) {
    const uint8_t* first = _formulaPtr_(cell);
    const int32_t packed = int32_t(uint16_t(where.first)) | (where.second << 16);
    MemoryRef text = Interpret(packed, first, first + _formulaLength_(cell), layer, GetMemoryGlobals(layer));
    if (!text) return "0";
    std::string out(MemoryUse<const char>(text).get(), size_t(GetByteSize(text)));
    DisposeMemory(text);
    if (!out.empty() && out[0] == '=') out.erase(0, 1);
    return out;
}

double combine(double first, double second, uint8_t operation) {
    switch (operation) {
        case '+': return first + second;
        case '-': return first - second;
        case '*': return first * second;
        default:
            if (second == 0 && !std::isnan(first)) return N_AN(kErrDivZero);
            return first / second;
    }
}

struct Combining {
    MemoryRef layer;
    uint8_t operation;
    bool all;
};

// The formula text of the combination, or empty when neither is a formula.
std::string combined_formula(const Combining& c, const uint8_t* first, const uint8_t* second, Position where) {
    const std::string op(1, char(c.operation));
    if (is_formula(second)) {
        const std::string right = "(" + formula_text(second, where, c.layer) + ")";
        if (is_formula(first)) return "=(" + formula_text(first, where, c.layer) + ")" + op + right;
        return "=" + typed_text(first) + op + right;
    }
    if (is_formula(first)) return "=(" + formula_text(first, where, c.layer) + ")" + op + typed_text(second);
    return {};
}

// Appends the combination of the target (first) and the copied cell (second).
void with_option(std::string& row, const Combining& c, const uint8_t* first, const uint8_t* first_header,
                 const uint8_t* second, Position where) {
    const int16_t column = int16_t(where.second);
    auto keep_first = [&] {
        if (first) append_unchanged(row, column, first);
    };
    if (is_text(first) || is_text(second)) return keep_first();
    const uint8_t* header = c.all && second ? second : first_header;
    const std::string text = combined_formula(c, first, second, where);
    if (text.empty()) {
        const double value = combine(value_of(first), value_of(second), c.operation);
        const std::string shown = general_value_text(value, decimalPt);
        std::string body(kNumberSlotSize, '\0');
        store_f64(reinterpret_cast<uint8_t*>(body.data()), value);
        body += shown;
        append_cell(row, column, CellParts{header, kCellConstant, {}, {}, body, {}, kResultNone, 0});
        return;
    }
    unsigned char typed[256];
    MemoryRef formula = nullptr;
    int16_t kind = 0;
    int32_t error_offset = 0;
    if (text.size() > 255) return keep_first();  // longer than a typed formula can be
    typed[0] = uint8_t(text.size());
    std::memcpy(typed + 1, text.data(), text.size());
    parse_formula_text(typed, CellPoint{int16_t(where.first), column}, c.layer, &formula, &kind, &error_offset);
    if (!formula) return keep_first();
    const std::string body(MemoryUse<const char>(formula).get(), size_t(GetByteSize(formula)));
    DisposeMemory(formula);
    const std::string result(kNumberSlotSize, '\0');
    append_cell(row, column, CellParts{header, kCellFormula, {}, {}, body, result, kResultNumber, 0});
}

// The format a position of the layer has without a cell of its own.
struct PlaceFormat {
    uint8_t bytes[kCellFormatSize];
};
PlaceFormat place_format(Position where, MemoryRef layer) {
    PlaceFormat format{};
    get_format(format.bytes, CellPoint{int16_t(where.first), int16_t(where.second)}, layer);
    format.bytes[kFmtCellType] = kCellFormatOnly;
    return format;
}

// Every position that holds a copied or a target cell, in order.
std::set<Position> positions_of(const IndexedCells& a, const IndexedCells& b) {
    std::set<Position> all;
    for (const auto& [where, cell] : a.at) all.insert(where);
    for (const auto& [where, cell] : b.at) all.insert(where);
    return all;
}

bool is_format_only(const uint8_t* cell) { return cell && _cellType_(cell) == kCellFormatOnly; }

}  // namespace

// ---- The working block ------------------------------------------------------------

namespace {

void shift_block(MemoryRef block, int32_t rows, int32_t columns) {
    MemoryUse<uint8_t> start(block);
    uint8_t* end = start + GetByteSize(block);
    for (uint8_t* row = start; row < end; row += _RowLength_(row)) {
        _SetRowID_(row, int16_t(_RowID_(row) + rows));
        for (uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            _SetCellID_(cell, int16_t(_cellID_(cell) + columns));
    }
}

// Replaces the block's bytes by `store`: 0 or an error.
int16_t replace_block(MemoryRef block, const std::string& store) {
    if (with_failure_handler(GetMemoryGlobals(block), [&] { SetMemorySize(block, int32_t(store.size())); }))
        return kEditNoMemory;
    if (!store.empty()) std::memcpy(MemoryUse<>(block).get(), store.data(), store.size());
    return 0;
}

}  // namespace

int16_t Transpose(MemoryRef block, CellPoint top_left, CellPoint) {
    StoreBuilder built;
    {
        IndexedCells cells(block);
        std::map<Position, const uint8_t*> moved;
        for (const auto& [where, cell] : cells.at)
            moved[{top_left.v + (where.second - top_left.h), top_left.h + (where.first - top_left.v)}] = cell;
        for (const auto& [where, cell] : moved)
            append_unchanged(built.row_for(where.first), int16_t(where.second), cell);
        built.flush();
    }
    return replace_block(block, built.store);
}

namespace {

// A formula's text result as a text cell, by the one road from a text to a
// cell: the cell's font follows the script the result carries.
void append_text_result(std::string& row, int16_t column, const uint8_t* cell, MemoryRef layer) {
    const int16_t script = text_result_script(_resultType_(cell), pf::font_to_script(format_font_in(cell, layer)));
    const std::string label_note = std::string(label_of(cell)).append(note_of(cell));
    append_file_value_cell(row,
                           FileValueCell{.where = {0, column},
                                         .header = cell,
                                         .type = kCellText,
                                         .text = tail_of(cell),
                                         .script = script,
                                         .label_note = label_note,
                                         .label_length = _labelLength_(cell)},
                           layer);
}

}  // namespace

int16_t ConvertFormulas(MemoryRef block, MemoryRef layer) {
    StoreBuilder built;
    {
        IndexedCells cells(block);
        for (const auto& [where, cell] : cells.at) {
            std::string& row = built.row_for(where.first);
            const int16_t column = int16_t(where.second);
            if (!is_formula(cell)) {
                append_unchanged(row, column, cell);
            } else if (_resultType_(cell) > 0) {
                append_text_result(row, column, cell, layer);
            } else {
                const double value = _resultType_(cell) < 0 ? load_f64(_resultPtr_(cell)) : 0.0;
                std::string body(kNumberSlotSize, '\0');
                store_f64(reinterpret_cast<uint8_t*>(body.data()), value);
                body += general_value_text(value, decimalPt);
                append_cell(row, column,
                            CellParts{cell, kCellConstant, label_of(cell), note_of(cell), body, {}, kResultNone, 0});
            }
        }
        built.flush();
    }
    return replace_block(block, built.store);
}

// ---- Storing -------------------------------------------------------------------------

namespace {

// The block over the target that InputSpecial stores, built from the working
// block (in the target's coordinates) and the target's present cells.
MemoryRef special_cells(const CellRange& target, MemoryRef working, MemoryRef present, const Combining& c,
                        bool skip_blanks) {
    IndexedCells source(working), former(present);
    StoreBuilder built;
    for (const Position& where : positions_of(source, former)) {
        if (!range_contains(target, where.first, where.second)) continue;
        const uint8_t* copied = source.find(where);
        const uint8_t* there = former.find(where);
        const int16_t column = int16_t(where.second);
        std::string& row = built.row_for(where.first);
        const PlaceFormat place = there ? PlaceFormat{} : place_format(where, c.layer);
        const uint8_t* header = there ? there : place.bytes;
        const bool keep_target = skip_blanks && (!copied || is_format_only(copied));
        if (keep_target) {
            if (there) append_unchanged(row, column, there);
        } else if (c.operation && (copied || there)) {
            with_option(row, c, there, header, copied, where);
        } else if (copied && c.all) {
            append_unchanged(row, column, copied);
        } else if (copied) {  // the contents under the target's format, every letter kept
            const std::string kept = cell_in_format(copied, CellPoint{int16_t(where.first), column}, header, c.layer);
            const auto* record = reinterpret_cast<const uint8_t*>(kept.data());
            append_cell(row, column, contents_of(record, record));
        }
    }
    return built.finish(c.layer);
}

// The block of choice 3 in the coordinates of `source` (the copied range),
// over the cells from the target's top-left.
MemoryRef format_cells(const CellRange& source, const CellRange& target, MemoryRef working, MemoryRef present,
                       bool skip_blanks, MemoryRef layer) {
    const int32_t drow = target.topLeft.v - source.topLeft.v, dcol = target.topLeft.h - source.topLeft.h;
    shift_block(present, -drow, -dcol);
    IndexedCells copied_cells(working), former(present);
    uint8_t plain[kCellFormatSize];
    GetDefaultFormat(plain);
    StoreBuilder built;
    for (const Position& where : positions_of(copied_cells, former)) {
        if (!range_contains(source, where.first, where.second)) continue;
        const uint8_t* copied = copied_cells.find(where);
        const uint8_t* there = former.find(where);
        const int16_t column = int16_t(where.second);
        std::string& row = built.row_for(where.first);
        if (skip_blanks && there && (!copied || is_format_only(copied))) {
            append_unchanged(row, column, there);
        } else if (there) {
            const CellPoint at{int16_t(where.first), column};
            const std::string kept = cell_in_format(there, at, copied ? copied : plain, layer);
            const auto* record = reinterpret_cast<const uint8_t*>(kept.data());
            CellParts parts = contents_of(record, record);
            parts.label = copied ? label_of(copied) : std::string_view();
            parts.note = {};
            append_cell(row, column, parts);
        } else {
            append_cell(row, column, CellParts{copied, kCellFormatOnly, label_of(copied), {}, {}, {}, kResultNone, 0});
        }
    }
    return built.finish(layer);
}

CellRange transposed(const CellRange& range) {
    return CellRange{range.topLeft, {int16_t(range.topLeft.v + range_columns(range) - 1),
                                     int16_t(range.topLeft.h + range_rows(range) - 1)}};
}

CellRange moved_to(const CellRange& range, CellPoint top_left) {
    return CellRange{top_left, {int16_t(top_left.v + range_rows(range) - 1),
                                int16_t(top_left.h + range_columns(range) - 1)}};
}

// The working block (cells of the copied range `clip`) made ready for
// InputSpecial over the target.
int16_t prepare_contents(MemoryRef* block, const CellRange& clip, const PasteFit& fit, const PasteOptions& o,
                         MemoryRef layer) {
    shift_block(*block, fit.target.topLeft.v - clip.topLeft.v, fit.target.topLeft.h - clip.topLeft.h);
    const CellRange placed = moved_to(o.transpose ? transposed(clip) : clip, fit.target.topLeft);
    int16_t error = o.transpose ? Transpose(*block, placed.topLeft, placed.botRight) : 0;
    if (!error && o.choice == kPasteValues) error = ConvertFormulas(*block, layer);
    if (!error && fit.repeat) error = MakeCopies(block, &placed, &fit.target);
    return error;
}

// Choice 3: the working block made ready for its formats, and the range it
// covers (on entry the copied range).
int16_t prepare_formats(MemoryRef* block, CellRange* source, const PasteFit& fit, const PasteOptions& o) {
    int16_t error = 0;
    if (o.transpose) {
        *source = transposed(*source);
        error = Transpose(*block, source->topLeft, source->botRight);
    }
    if (!error && fit.repeat) {
        error = MakeCopies(block, source, &fit.target);
        source->botRight = {int16_t(source->topLeft.v + range_rows(fit.target) - 1),
                            int16_t(source->topLeft.h + range_columns(fit.target) - 1)};
    }
    return error;
}

// The final block over the target, or an error.
int16_t special_block(MemoryRef layer, MemoryRef* block, CellRange clip, const PasteFit& fit,
                      const PasteOptions& o, MemoryRef* made, CellRange* made_range) {
    MemoryRef present = nullptr;
    if (!CopyCellInfo(fit.target.topLeft, fit.target.botRight, &present, GetSpreadSheetCells(layer)))
        return kEditNoMemory;
    int16_t error = 0;
    if (o.choice == kPasteFormats) {
        error = prepare_formats(block, &clip, fit, o);
        if (!error) *made = format_cells(clip, fit.target, *block, present, o.skip_blanks, layer);
        *made_range = clip;
    } else {
        error = prepare_contents(block, clip, fit, o, layer);
        const Combining c{layer, o.operation, o.choice == kPasteAll};
        if (!error) *made = special_cells(fit.target, *block, present, c, o.skip_blanks);
        *made_range = fit.target;
    }
    DisposeMemory(present);
    if (error) return error;
    return *made ? int16_t(kEditDone) : int16_t(kEditNoMemory);
}

}  // namespace

int16_t paste_special_range(MemoryRef layer, const CellRange& selection, const PasteOptions& o) {
    if (check_access(layer)) return refuse_with_alert(layer, kEditLockedWorkbook);
    if (o.choice < kPasteAll || o.choice > kPasteFormats) return kEditNothing;
    MemoryRef block = nullptr;
    CellRange clip{};
    bool from_text = false;
    int16_t refusal = clip_cells_for(layer, selection, &block, &clip, &from_text);
    if (refusal == kEditNothing) pf::sys_beep(kNoClipBeep);
    if (!refusal && GetByteSize(block) < kCellHeaderSize) refusal = kEditNothing;
    const CellRange source = o.transpose ? transposed(clip) : clip;
    const PasteFit fit = fit_for_paste(layer, source, selection, &refusal);
    MemoryRef made = nullptr;
    CellRange made_range{};
    if (!refusal) refusal = special_block(layer, &block, clip, fit, o, &made, &made_range);
    const bool past_used = !refusal && reaches_past_used(layer, fit.target);
    const RangeLetters letters = o.choice == kPasteFormats ? letters_in_range(fit.target, layer) : RangeLetters{};
    if (!refusal) refusal = store_with_undo(layer, made_range, fit.target, made, false);
    if (!refusal) check_letters_kept(letters, layer, "paste formats");
    DisposeNonNilMemory(block);
    DisposeNonNilMemory(made);
    if (refusal == kEditNoMemory) return refuse_with_alert(layer, kEditNoMemory);
    if (refusal) return refusal;
    if (o.choice != kPasteFormats) paste_formats_over(clip, fit.target, layer);
    show_pasted(layer, fit.target, past_used);
    return kEditDone;
}

int16_t PasteSpecial(MemoryRef layer, int16_t choice, int16_t skip_blanks, int16_t transpose, int16_t operation) {
    LayerUse sheet(layer);
    const CellRange selection = sheet->selection;
    sheet.release();
    PasteOptions options;
    options.choice = choice;
    options.skip_blanks = skip_blanks != 0;
    options.transpose = transpose != 0;
    options.operation = uint8_t(operation);
    return paste_special_range(layer, selection, options);
}
