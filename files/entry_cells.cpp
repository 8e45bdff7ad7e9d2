// Entry texts of interchange files to cell records, through the parser.
#include "files/entry_cells.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/invariant_checks.h"
#include "core/memory_use.h"
#include "files/entry_script.h"
#include "files/text_encoding.h"
#include "core/number_text.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "formula/trace.h"
#include "formula/cell_values.h"
#include "formula/typed_entry.h"
#include "model/display_text.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/cell_letters.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/cell_formats.h"
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "model/workbook.h"
#include "platform/text/text.h"

namespace {

// Appends `bytes` to `row` through the library's copy: the string
// instructions the compiler puts inline for a text of bounded length start
// slower than the call.
[[gnu::noinline]] void append_copy(std::string& row, std::string_view bytes) { row.append(bytes.data(), bytes.size()); }

[[gnu::always_inline]] inline void append_bytes(std::string& row, std::string_view bytes) {
    if (!bytes.empty()) append_copy(row, bytes);
}

// The work of append_cell_record, inline where the parts are known: a number
// read from a file is written straight into the row. The header is appended
// as it is (it may lie in `row`) and its fields set in place afterwards:
// fields set in a copy on the stack and then read back whole stall the copy.
[[gnu::always_inline]] inline void write_cell_record(std::string& row, const CellRecordParts& parts) {
    const size_t at = row.size();
    row.append(reinterpret_cast<const char*>(parts.header), kCellHeaderSize);
    append_bytes(row, parts.label_note);
    if (parts.number) {
        uint8_t slot[kNumberSlotSize] = {};
        store_f64(slot, *parts.number);
        row.append(reinterpret_cast<const char*>(slot), sizeof slot);
    }
    append_bytes(row, parts.body);
    append_bytes(row, parts.tail);
    const size_t length = row.size() - at;
    const size_t body_size = length - kCellHeaderSize - parts.label_note.size() - parts.tail.size();
    auto* cell = reinterpret_cast<uint8_t*>(row.data() + at);
    _SetCellID_(cell, parts.column);
    cell[kFmtCellType] = parts.type;
    cell[kFmtLabelLength] = parts.label_length;
    cell[kFmtNoteLength] = uint8_t(parts.label_note.size() - parts.label_length);
    _SetCellLength_(cell, int16_t(length));
    _SetFormulaLength_(cell, int16_t(body_size));
    store_i16(cell + kFmtStyleLength, parts.tail_is_style ? int16_t(parts.tail.size()) : int16_t(0));
    _SetResultType_(cell, parts.result_type);
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

// Whether the parser could read the entry as anything but text: every
// number, date and time it reads holds a digit, and only "=" begins a
// formula. The rest is text whatever the cell's format.
bool may_be_number_or_formula(std::string_view entry) {
    return std::ranges::any_of(entry, [](char c) { return (c >= '0' && c <= '9') || c == '='; });
}

}  // namespace

namespace {

int16_t run_count(std::string_view runs) {
    return runs.size() >= 2 ? load_i16(reinterpret_cast<const uint8_t*>(runs.data())) : 0;
}

// An entry's text and runs, spelled again when its runs are in several
// scripts and one script spells it all.
struct EntryText {
    std::string_view text;
    std::string_view runs;
    OneScriptEntry respelled;  // holds the bytes when spelled again
};

// A cell's text is in the script of its font: an entry whose runs set it in
// several scripts is spelled again in one when one spells it all (else kept
// in its runs), and the cell's font follows the one script of a text beyond
// ASCII. False when the text stays in runs of several scripts.
bool settle_entry_script(EntryText& entry, int16_t text_script, uint8_t* header, MemoryRef layer) {
    if (!has_high_bytes(entry.text)) return true;
    const int16_t font = format_font_in(header, layer);
    if (run_count(entry.runs) < 1) {
        if (text_script >= 0 && text_script != pf::font_to_script(font))
            store_u16(header + kFmtFont, uint16_t(pf::script_font(text_script)));
        return true;
    }
    int16_t script = runs_script(entry.text, entry.runs, font);
    if (script < 0 && spell_entry_in_one_script(entry.text, entry.runs, font, entry.respelled)) {
        entry.text = entry.respelled.text;
        entry.runs = entry.respelled.runs;
        script = entry.respelled.script;
    }
    if (script >= 0 && script != pf::font_to_script(font)) store_u16(header + kFmtFont, uint16_t(pf::script_font(script)));
    return script >= 0;
}

// The run table a text cell keeps: two runs or more, cut to the text; one run
// is folded into the cell's format instead.
std::string_view kept_runs(std::string_view runs, size_t text_length, uint8_t* header, MemoryRef layer) {
    const int16_t count = run_count(runs);
    if (count == 1 && layer && runs.size() >= size_t(2 + kRunEntrySize))
        synchronise_style(layer, reinterpret_cast<const uint8_t*>(runs.data()), header, false);
    if (count < 2 || runs.size() < size_t(2 + 2 * kRunEntrySize)) return {};
    const auto* table = reinterpret_cast<const uint8_t*>(runs.data());
    int32_t kept = std::min<int32_t>(count, int32_t((runs.size() - 2) / kRunEntrySize));
    while (kept > 1 && load_i32(table + 2 + size_t(kept - 1) * kRunEntrySize + kRunStart) >= int32_t(text_length)) --kept;
    return kept < 2 ? std::string_view() : runs.substr(0, 2 + size_t(kept) * kRunEntrySize);
}

struct CellParts {
    uint8_t* header;
    const EntryCell& entry;
};

void append_parts(std::string& row, const CellParts& cell, uint8_t type, std::string_view body,
                  std::string_view tail, bool tail_is_style, int16_t result_type,
                  std::optional<double> number = std::nullopt) {
    append_cell_record(row, CellRecordParts{.header = cell.header,
                                            .column = cell.entry.where.h,
                                            .type = type,
                                            .label_note = cell.entry.label_note,
                                            .label_length = cell.entry.label_length,
                                            .number = number,
                                            .body = body,
                                            .tail = tail,
                                            .tail_is_style = tail_is_style,
                                            .result_type = result_type});
}

// A text cell of the entry with its runs; a text read from outside is cut
// to kMaxCellText, its runs with it.
uint8_t append_text_entry(std::string& row, const CellParts& cell, const EntryText& text, bool quote,
                          MemoryRef layer) {
    std::string quoted;
    std::string_view body = text.text;
    if (quote) {
        quoted = "'";
        quoted += body;
        body = quoted;
    }
    std::string runs;
    if (!cell.entry.typed) body = body.substr(0, size_t(kMaxCellText) - std::min<size_t>(text.runs.size(), kMaxCellText / 2));
    std::string_view table = kept_runs(text.runs, body.size(), cell.header, layer);
    if (quote && !table.empty()) {  // the apostrophe goes before the first run
        runs.assign(table);
        for (int16_t i = 1; i < run_count(runs); ++i) {
            uint8_t* start = reinterpret_cast<uint8_t*>(runs.data()) + 2 + size_t(i) * kRunEntrySize + kRunStart;
            store_i32(start, load_i32(start) + 1);
        }
        table = runs;
    }
    append_parts(row, cell, kCellText, body, table, !table.empty(), kResultNone);
    return kCellText;
}

// While one lives, texts written in the formula being calculated are in the
// script of the entered cell's font (the cell is not stored yet).
struct EntryCellScript {
    explicit EntryCellScript(int16_t script) { g_calcCellScript = script; }
    ~EntryCellScript() { g_calcCellScript = -1; }
    EntryCellScript(const EntryCellScript&) = delete;
    EntryCellScript& operator=(const EntryCellScript&) = delete;
};

// A typed formula evaluated once in its cell; kEntryCircular when it would
// refer to itself. The layer's row cache is held meanwhile: the check and the
// evaluation look up every precedent.
int32_t append_calculated_formula(std::string& row, const CellParts& cell, const std::vector<uint8_t>& compiled,
                                  MemoryRef layer) {
    const CellPoint where = cell.entry.where;
    const EntryCellScript script(pf::font_to_script(format_font_in(cell.header, layer)));
    CalcRowPtr(layer);
    g_calcSheet = layer;
    g_calcWork = GetWorkSheet(layer);
    g_calcCell = where;
    const bool circular = TraceCell(layer, compiled.data(), int32_t(compiled.size())) == kTraceCircle;
    if (!circular) {
        g_calcSheet = layer;
        g_calcWork = GetWorkSheet(layer);
        g_calcCell = where;
        Calculate(compiled.data(), int32_t(compiled.size()));
    }
    ReleaseCache(layer);
    if (circular) return kEntryCircular;
    const std::string_view formula(reinterpret_cast<const char*>(compiled.data()), compiled.size());
    const int16_t result_type = stored_result_type(cell.header, Get_Default_Font(layer));
    if (g_resultType < 0) {
        uint8_t slot[kNumberSlotSize];
        store_f64(slot, g_value);
        append_parts(row, cell, kCellFormula, formula, std::string_view(reinterpret_cast<const char*>(slot), sizeof slot),
                     false, result_type);
    } else {
        const std::string_view text(reinterpret_cast<const char*>(g_CellString + 1), g_resultType > 0 ? g_CellString[0] : 0);
        append_parts(row, cell, kCellFormula, formula, text, false, result_type);
    }
    return 0;
}

// A formula read from outside, with the result the file gives (the parser's
// number without one).
void append_file_formula(std::string& row, const CellParts& cell, const std::vector<uint8_t>& compiled) {
    const EntryCell& entry = cell.entry;
    std::string body(compiled.begin(), compiled.end());
    const int32_t formula_length = int32_t(body.size());
    double number = entry.result_value ? *entry.result_value : 0;
    int16_t result_type = kResultNumber;
    if (!entry.has_result || (!entry.result_is_text && file_number(entry.result, &number))) {
        body += number_cell_body(number, {});
    } else {
        body.append(entry.result.substr(0, size_t(kMaxCellText - formula_length)));
        result_type = kResultText;
    }
    const std::string_view whole(body);
    append_parts(row, cell, kCellFormula, whole.substr(0, size_t(formula_length)), whole.substr(size_t(formula_length)),
                 false, result_type);
}

// A number cell, with the text it was typed as.
void append_number_entry(std::string& row, const CellParts& cell, double value, std::string_view typed) {
    if (cell.entry.label_note.empty()) append_number_cell(row, cell.header, cell.entry.where.h, value, typed);
    else append_parts(row, cell, kCellConstant, typed.substr(0, 255), {}, false, kResultNumber, value);
}

}  // namespace

std::string entry_letters(const EntryCell& entry, MemoryRef layer) {
    const int16_t font = format_font_in(entry.header, layer);
    if (run_count(entry.runs) >= 1) return styled_text_utf8(entry.entry, entry.runs, font);
    return pf::script_to_utf8(entry.entry, entry.script >= 0 ? entry.script : pf::font_to_script(font));
}

namespace {

EntryCellAnswer build_entry_cell(std::string& row, const EntryCell& entry, MemoryRef layer);

// Whether an entry whose text no one script spells reads as a formula: its
// letters spelled in the script that spells most of them (the rest "?") and
// read in a cell of that script's font.
bool formula_of_several_scripts(const EntryCell& entry, const uint8_t* header, MemoryRef layer) {
    if (entry.entry.empty() || entry.entry[0] != '=') return false;
    const pf::ScriptText spelled = pf::spell_in_a_script(entry_letters(entry, layer));
    if (spelled.bytes.empty() || spelled.bytes.size() > size_t(kLongestParsedEntry)) return false;
    uint8_t in_script[kCellHeaderSize];
    std::memcpy(in_script, header, kCellHeaderSize);
    store_u16(in_script + kFmtFont, uint16_t(pf::script_font(spelled.script)));
    return settle_typed_entry(spelled.bytes, entry.where, layer, in_script).outcome == EntryOutcome::formula;
}

}  // namespace

// Checked builds check where the cell store writes the cell that it reads
// back as the text entered: a cell from outside is told to the store of its
// block here, a typed one to the store of its cell by its road.
EntryCellAnswer append_entry_cell(std::string& row, const EntryCell& entry, MemoryRef layer) {
    const size_t start = row.size();
    const EntryCellAnswer answer = build_entry_cell(row, entry, layer);
    if (invariants_checked() && !entry.typed && layer && row.size() > start && row.size() - start <= size_t(INT16_MAX))
        expect_block_letters(layer, reinterpret_cast<const uint8_t*>(row.data() + start), entry_letters(entry, layer));
    return answer;
}

namespace {

// A formula no one script spells: its texts would be read in the cell's one
// script, so typing refuses it and any other road keeps it as a text cell,
// its letters as written.
EntryCellAnswer formula_in_scripts(std::string& row, const CellParts& cell, const EntryText& text, MemoryRef layer) {
    EntryCellAnswer answer;
    if (cell.entry.typed) {
        answer.type = kCellFormula;
        answer.refusal = kEntryFormulaInScripts;
        return answer;
    }
    answer.formula_kept_as_text = true;
    answer.type = append_text_entry(row, cell, text, cell.entry.quote_failed_formulas, layer);
    return answer;
}

EntryCellAnswer build_entry_cell(std::string& row, const EntryCell& entry, MemoryRef layer) {
    uint8_t header[kCellHeaderSize];  // a typed date may give it a date format
    std::memcpy(header, entry.header, kCellHeaderSize);
    _SetCellID_(header, entry.where.h);
    const CellParts cell{header, entry};
    EntryCellAnswer answer;
    if (entry.entry.empty() && !entry.text) {
        append_parts(row, cell, kCellFormatOnly, {}, {}, false, kResultNone);
        return answer;
    }
    EntryText text{entry.entry, entry.runs, {}};
    if (entry.text) {
        settle_entry_script(text, entry.script, header, layer);
        answer.type = append_text_entry(row, cell, text, false, layer);
        return answer;
    }
    double number = 0;
    answer.type = kCellConstant;
    if (!is_date_format(header[kFmtCode]) && plain_number(entry.entry, &number)) {
        append_number_entry(row, cell, number, entry.entry);
        return answer;
    }
    const bool one_script = settle_entry_script(text, entry.script, header, layer);
    if (!one_script && formula_of_several_scripts(entry, header, layer))
        return formula_in_scripts(row, cell, text, layer);
    SettledEntry settled;
    if (text.text.size() <= size_t(kLongestParsedEntry)) {
        if (may_be_number_or_formula(text.text)) settled = settle_typed_entry(text.text, entry.where, layer, header);
    } else if (entry.typed && text.text[0] == '=') {
        answer.refusal = kEntryFormulaTooLong;
        answer.error_offset = kLongestParsedEntry;
        return answer;
    }
    switch (settled.outcome) {
        case EntryOutcome::number: append_number_entry(row, cell, settled.value, text.text); return answer;
        case EntryOutcome::formula:
            answer.type = kCellFormula;
            if (!one_script) return formula_in_scripts(row, cell, text, layer);
            if (!entry.typed) append_file_formula(row, cell, settled.formula);
            else answer.refusal = append_calculated_formula(row, cell, settled.formula, layer);
            return answer;
        case EntryOutcome::refused:
            if (entry.typed) {
                answer.refusal = settled.error;
                answer.error_offset = std::clamp<int32_t>(settled.error_offset, 0, int32_t(text.text.size()));
                return answer;
            }
            break;
        case EntryOutcome::text: break;
    }
    answer.type = append_text_entry(row, cell, text, entry.quote_failed_formulas && text.text[0] == '=', layer);
    return answer;
}

}  // namespace

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
    append_cell_record(row, CellRecordParts{.header = header,
                                            .column = column,
                                            .type = kCellFormatOnly,
                                            .label_note = {},
                                            .label_length = 0,
                                            .number = {},
                                            .body = {},
                                            .tail = {},
                                            .tail_is_style = false,
                                            .result_type = kResultNone});
}

void append_text_cell(std::string& row, const uint8_t* header, int16_t column, std::string_view text,
                      std::string_view runs, MemoryRef layer) {
    EntryCell entry{CellPoint{0, column}, header, text};
    entry.text = true;
    entry.runs = runs;
    append_entry_cell(row, entry, layer);
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
    const CellRange grid{{0, 0}, {kLastCell, kLastCell}};
    const auto* bytes = reinterpret_cast<const uint8_t*>(store.data());
    const BlockCheck check = block_check_before(bytes, bytes + store.size(), CellPoint{0, 0}, grid, layer);
    MemoryRef cells = GetSpreadSheetCells(layer);
    SetMemorySize(cells, int32_t(store.size()));
    if (!store.empty()) {
        std::memcpy(MemoryUse<>(cells).get(), store.data(), store.size());
    }
    clobberCache(layer);
    check_block_stored(check, true, layer);
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
    const BlockCheck check = block_check_before(block_, layer);
    LayerUse sheet(layer);
    DisposeNonNilMemory(sheet->cells);
    sheet->cells = block_;
    sheet.release();
    block_ = nullptr;
    clobberCache(layer);
    check_block_stored(check, true, layer);
}

namespace {

// A text a file gives in one script, spelled in the script of the cell's font
// when that spells it too, as typed text is: the cell keeps its font.
std::string_view in_cell_script(std::string_view text, int16_t& script, const uint8_t* header, MemoryRef layer,
                                std::string& respelled) {
    if (script < 0 || !has_high_bytes(text)) return text;
    const int16_t own = pf::font_to_script(format_font_in(header, layer));
    if (script == own) return text;
    if (!pf::utf8_to_script(pf::script_to_utf8(text, script), own, respelled)) return text;
    script = own;
    return respelled;
}

// A cell whose font is of another script than `script` takes that script's
// font, as a text's cell does (settle_entry_script).
void follow_shown_script(uint8_t* header, int16_t script, MemoryRef layer) {
    if (script >= 0 && script != pf::font_to_script(format_font_in(header, layer)))
        store_u16(header + kFmtFont, uint16_t(pf::script_font(script)));
}

// The format a file gives its value's cell, with the cell's column.
void copy_cell_format(const FileValueCell& value, uint8_t* header) {
    std::memcpy(header, value.header, kCellHeaderSize);
    _SetCellID_(header, value.where.h);
}

// The entry a file's value stands for, for the parts of its record.
EntryCell entry_of(const FileValueCell& value) {
    return EntryCell{.where = value.where,
                     .header = value.header,
                     .entry = value.text,
                     .result = {},
                     .runs = value.runs,
                     .script = value.script,
                     .text = true,
                     .label_note = value.label_note,
                     .label_length = value.label_length};
}

// A formula a file gives, set in a font of the script of its texts, with its
// result: a number, or a text in its own script (cut to what the cell holds).
EntryCellAnswer append_file_value_formula(std::string& row, const FileValueCell& value, MemoryRef layer) {
    uint8_t header[kCellHeaderSize];
    copy_cell_format(value, header);
    EntryText formula_text{value.formula_text, {}, {}};
    settle_entry_script(formula_text, value.formula_script, header, layer);
    if (!value.result_is_text && !has_high_bytes(value.formula_text)) follow_shown_script(header, value.shown_script, layer);
    const EntryCell entry = entry_of(value);
    const CellParts cell{header, entry};
    EntryCellAnswer answer;
    answer.type = kCellFormula;
    if (!value.result_is_text) {
        uint8_t slot[kNumberSlotSize] = {};
        store_f64(slot, value.number);
        append_parts(row, cell, kCellFormula, value.formula,
                     std::string_view(reinterpret_cast<const char*>(slot), sizeof slot), false, kResultNumber);
        return answer;
    }
    const size_t room = size_t(kMaxCellText) - std::min<size_t>(value.formula.size(), kMaxCellText);
    answer.text_cut = value.text.size() > room;
    const std::string_view result = value.text.substr(0, room);
    const int16_t cell_script = pf::font_to_script(format_font_in(header, layer));
    const int16_t result_type = has_high_bytes(result) ? text_result_type(value.script, cell_script) : kResultText;
    append_parts(row, cell, kCellFormula, value.formula, result, false, result_type);
    return answer;
}

// A text a file gives, spelled in the cell's script where that spells it.
EntryCellAnswer append_file_value_text(std::string& row, const FileValueCell& value, MemoryRef layer) {
    EntryCell entry = entry_of(value);
    std::string respelled;
    if (run_count(value.runs) < 1) entry.entry = in_cell_script(value.text, entry.script, value.header, layer, respelled);
    EntryCellAnswer answer;
    const size_t room = size_t(kMaxCellText) - std::min<size_t>(value.runs.size(), kMaxCellText / 2);
    answer.text_cut = entry.entry.size() > room;
    answer.type = append_entry_cell(row, entry, layer).type;
    return answer;
}

EntryCellAnswer build_file_value_cell(std::string& row, const FileValueCell& value, MemoryRef layer) {
    if (value.type == kCellFormula) return append_file_value_formula(row, value, layer);
    if (value.type == kCellText) return append_file_value_text(row, value, layer);
    const EntryCell entry = entry_of(value);
    uint8_t header[kCellHeaderSize];
    copy_cell_format(value, header);
    const CellParts cell{header, entry};
    EntryCellAnswer answer;
    answer.type = value.type;
    if (value.type == kCellConstant) {
        follow_shown_script(header, value.shown_script, layer);
        append_number_entry(row, cell, value.number, value.typed);
    } else {
        answer.type = kCellFormatOnly;
        append_parts(row, cell, kCellFormatOnly, {}, {}, false, kResultNone);
    }
    return answer;
}

}  // namespace

// Checked builds check where the cell store writes it that a formula reads
// back in the letters of its texts (a text is told by append_entry_cell).
EntryCellAnswer append_file_value_cell(std::string& row, const FileValueCell& value, MemoryRef layer) {
    const size_t start = row.size();
    const EntryCellAnswer answer = build_file_value_cell(row, value, layer);
    if (value.type == kCellFormula && invariants_checked() && layer && row.size() - start <= size_t(INT16_MAX))
        expect_block_letters(layer, reinterpret_cast<const uint8_t*>(row.data() + start),
                             pf::script_to_utf8(value.formula_text, value.formula_script));
    return answer;
}
