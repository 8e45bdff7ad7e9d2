// Cell data entry. The new cell is built completely before anything changes;
// then the old cell is copied for undo, the undo record written, and the new
// cell stored in place of the old one, so a failure at any step leaves the
// old cell and the undo list as they were.
#include "window/cell_entry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/undo_kinds.h"
#include "model/undo_record.h"
#include "model/undo_write.h"
#include "formula/cell_values.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "formula/recalc.h"
#include "formula/trace.h"
#include "formula/typed_entry.h"
#include "files/entry_cells.h"
#include "files/entry_script.h"
#include "model/calc_globals.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/display_text.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "platform/text/text.h"
#include "window/auto_size.h"
#include "window/keyboard_navigation.h"
#include "window/doc_window.h"
#include "window/window_services.h"

namespace {

constexpr int kLongestCell = 32767;

std::vector<uint8_t> bytes_of(MemoryRef block) {
    std::vector<uint8_t> bytes;
    if (!block || GetByteSize(block) == 0) return bytes;
    MemoryUse<const uint8_t> p(block);
    bytes.assign(p.get(), p + GetByteSize(block));
    return bytes;
}

// Style runs of an entry: a 16-bit count first.
int16_t style_run_count(const std::vector<uint8_t>& styles) {
    return styles.size() >= 2 ? load_i16(styles.data()) : 0;
}

CellPoint active_cell(MemoryRef layer) {
    LayerUse sheet(layer);
    const CellPoint cell = sheet->active_cell;
    return cell;
}

// The label and note bytes of the cell stored now, with their lengths.
struct LabelNote {
    std::vector<uint8_t> bytes;
    uint8_t label_length = 0;
    uint8_t note_length = 0;
};

LabelNote label_and_note(MemoryRef layer, CellPoint where) {
    LabelNote kept;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return kept;
    kept.label_length = _labelLength_(cell);
    kept.note_length = _noteLength_(cell);
    kept.bytes.assign(_labelPtr_(cell), _labelPtr_(cell) + kept.label_length + kept.note_length);
    return kept;
}

// What the entry becomes: the cell type, its body and the bytes after it.
struct NewCell {
    uint8_t type = kCellFormatOnly;
    std::string body;
    std::string tail;  // a formula's result or a text's style runs
    int16_t result_type = 0;
    bool tail_is_style = false;
};

std::string chars_of(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

NewCell text_cell(const std::vector<uint8_t>& typed, const std::vector<uint8_t>& styles, MemoryRef layer,
                  uint8_t* header) {
    NewCell cell;
    cell.type = kCellText;
    cell.body = chars_of(typed);
    const int16_t runs = style_run_count(styles);
    if (runs >= 2) {
        cell.tail = chars_of(styles);
        cell.tail_is_style = true;
    } else if (runs == 1) {
        synchronise_style(layer, styles.data(), header, false);
    }
    return cell;
}

// While one lives, texts written in the formula being calculated are in the
// script of the entered cell's font (the cell is not stored yet).
struct EntryCellScript {
    explicit EntryCellScript(int16_t script) { g_calcCellScript = script; }
    ~EntryCellScript() { g_calcCellScript = -1; }
    EntryCellScript(const EntryCellScript&) = delete;
    EntryCellScript& operator=(const EntryCellScript&) = delete;
};

// A formula evaluated once in its cell; kEntryCircular when it would refer to itself.
// The layer's row cache is held meanwhile: the check and the evaluation look
// up every precedent.
int32_t formula_cell(const std::vector<uint8_t>& compiled, MemoryRef layer, CellPoint where, const uint8_t* header,
                     NewCell* cell) {
    const int16_t font = Get_Default_Font(layer);
    const EntryCellScript script(pf::font_to_script(format_font_in(header, layer)));
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
    cell->type = kCellFormula;
    cell->body = chars_of(compiled);
    cell->result_type = stored_result_type(header, font);
    if (g_resultType < 0) cell->tail = number_cell_body(g_value, {});
    else if (g_resultType > 0) cell->tail.assign(g_CellString + 1, g_CellString + 1 + g_CellString[0]);
    return kEntryStored;
}

NewCell number_cell(double value, const std::vector<uint8_t>& typed) {
    NewCell cell;
    cell.type = kCellConstant;
    cell.body = number_cell_body(value, chars_of(typed));
    cell.result_type = kResultNumber;
    return cell;
}

std::string_view view_of(const std::vector<uint8_t>& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

bool has_high_bytes(const std::vector<uint8_t>& bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b >= 0x80; });
}

// A cell's text is in the script of its font: an entry whose runs set it in
// several scripts is spelled again in one, and the cell's font follows the
// script of a text beyond ASCII. kEntryNoOneScript when no script spells it all.
int32_t settle_entry_script(std::vector<uint8_t>& typed, std::vector<uint8_t>& runs, MemoryRef layer,
                            uint8_t* header) {
    if (style_run_count(runs) < 1 || !has_high_bytes(typed)) return kEntryStored;
    const int16_t font = format_font_in(header, layer);
    int16_t script = runs_script(view_of(typed), view_of(runs), font);
    if (script < 0) {
        OneScriptEntry spelled;
        if (!spell_entry_in_one_script(view_of(typed), view_of(runs), font, spelled)) return kEntryNoOneScript;
        typed.assign(spelled.text.begin(), spelled.text.end());
        runs.assign(spelled.runs.begin(), spelled.runs.end());
        script = spelled.script;
    }
    if (script != pf::font_to_script(font)) store_u16(header + kFmtFont, uint16_t(pf::script_font(script)));
    return kEntryStored;
}

// Parses a typed text of at most kLongestParsedEntry bytes into the new cell.
int32_t parsed_cell(const std::vector<uint8_t>& typed, const std::vector<uint8_t>& styles, MemoryRef layer,
                    CellPoint where, uint8_t* header, uint16_t* error_offset, NewCell* cell) {
    SettledEntry entry = settle_typed_entry(std::string_view(reinterpret_cast<const char*>(typed.data()), typed.size()),
                                            where, layer, header);
    switch (entry.outcome) {
        case EntryOutcome::refused:
            *error_offset = uint16_t(std::clamp<int32_t>(entry.error_offset, 0, int32_t(typed.size())));
            return entry.error;
        case EntryOutcome::text: *cell = text_cell(typed, styles, layer, header); return kEntryStored;
        case EntryOutcome::formula: return formula_cell(entry.formula, layer, where, header, cell);
        case EntryOutcome::number: break;
    }
    *cell = number_cell(entry.value, typed);
    return kEntryStored;
}

int32_t build_cell(const std::vector<uint8_t>& typed, const std::vector<uint8_t>& styles, MemoryRef layer,
                   CellPoint where, uint8_t* header, uint16_t* error_offset, NewCell* cell) {
    if (typed.empty()) return kEntryStored;
    if (typed.size() <= size_t(kLongestParsedEntry))
        return parsed_cell(typed, styles, layer, where, header, error_offset, cell);
    if (typed[0] == '=') {
        *error_offset = uint16_t(kLongestParsedEntry);
        return kEntryFormulaTooLong;
    }
    *cell = text_cell(typed, styles, layer, header);
    return kEntryStored;
}

// The one-row block of the new cell: row header, format header, label and
// note of the old cell, body, tail.
std::string cell_block(CellPoint where, const uint8_t* header, const LabelNote& kept, const NewCell& cell) {
    std::string record;
    append_cell_record(record, CellRecordParts{.header = header,
                                               .column = where.h,
                                               .type = cell.type,
                                               .label_note = view_of(kept.bytes),
                                               .label_length = kept.label_length,
                                               .number = {},
                                               .body = cell.body,
                                               .tail = cell.tail,
                                               .tail_is_style = cell.tail_is_style,
                                               .result_type = cell.result_type});
    std::string block;
    append_row_record(block, int16_t(where.v), record);
    return block;
}

bool stored_as(MemoryRef layer, CellPoint where, const std::string& block) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return false;
    const size_t expected = block.size() - kRowHeaderSize;
    return size_t(_cellLength_(cell)) == expected && std::memcmp(cell, block.data() + kRowHeaderSize, expected) == 0;
}

// Copies the old cell for undo, writes the undo record and stores the block:
// all of it, or nothing.
int32_t store_with_undo(MemoryRef layer, CellPoint where, const std::string& block) {
    const CellRange range{where, where};
    MemoryRef old = nullptr;
    if (!CopyCellInfo(where, where, &old, GetSpreadSheetCells(layer))) return kEntryNoMemory;
    const int16_t written = WriteUndo(kUndoEntry, kExtentRange, &range, nullptr, old, nullptr, nullptr,
                                                       nullptr, nullptr, nullptr, layer);
    DisposeNonNilMemory(old);
    if (!written) return kEntryNoMemory;
    const int16_t failed = with_failure_handler(GetMemoryGlobals(layer), [&] {
        InputCell(&range, reinterpret_cast<const uint8_t*>(block.data()), int32_t(block.size()), layer);
    });
    if (!failed && stored_as(layer, where, block)) return kEntryStored;
    take_back_newest_undo(layer);
    return kEntryNoMemory;
}

// Grows the layer's used extent when the cell lies beyond it.
void note_entered_cell(MemoryRef layer, CellPoint where) {
    LayerUse(layer)->last_entered = where;
}

// Wrapped, vertically aligned or styled text may need a taller row.
bool may_change_row_height(const uint8_t* header, const std::vector<uint8_t>& styles) {
    constexpr uint8_t kPlainAlignments = 63;
    return header[kFmtAlign] > kPlainAlignments || style_run_count(styles) >= 1;
}

// A cell past the layer's used extent grows the layer; then the cell's row
// fits its height, unless the layer keeps its row heights. (A new last row
// is fitted too: wrapped text typed there would otherwise stay cut off.)
void fit_layer_to_entry(MemoryRef layer, CellPoint where, bool fit_row) {
    LayerUse sheet(layer);
    const bool beyond = where.v > sheet->last_row || where.h > sheet->last_column;
    const bool fixed_rows = (sheet->flags & kLayerFixedRowHeights) != 0;
    sheet.release();
    if (beyond) resize_sheet(layer, 1);
    if (fit_row && !fixed_rows) {
        const CellRange row{where, where};
        CheckRowSize(&row, layer);
    }
}

}  // namespace

int32_t Enter_Data(MemoryRef layer, MemoryRef text, MemoryRef styles, uint16_t* error_offset, uint8_t key) {
    *error_offset = 0;
    if (MemoryRef chart = window_services.selected_chart(layer))
        return window_services.take_typed_chart_range(chart, bytes_of(text), layer);
    uint8_t header[kCellHeaderSize];
    GetSelectFormat(header, layer, 1);
    clobberCache(layer);
    const CellPoint where = active_cell(layer);
    header[kFmtFlagsB] &= uint8_t(~kDateOrderMask);
    std::vector<uint8_t> typed = bytes_of(text);
    std::vector<uint8_t> runs = bytes_of(styles);
    NewCell cell;
    int32_t refused = kEntryStored;
    const int16_t failed = with_failure_handler(GetMemoryGlobals(layer), [&] {
        refused = settle_entry_script(typed, runs, layer, header);
        if (!refused) refused = build_cell(typed, runs, layer, where, header, error_offset, &cell);
    });
    if (failed) return kEntryNoMemory;
    if (refused) return refused;
    const LabelNote kept = label_and_note(layer, where);
    const std::string block = cell_block(where, header, kept, cell);
    if (block.size() - kRowHeaderSize > size_t(kLongestCell)) return kEntryTooLong;
    if (int32_t failed = store_with_undo(layer, where, block)) return failed;
    const CellRange range{where, where};
    DrawCells(&range, layer);
    note_entered_cell(layer, where);
    if (key) SheetArrowKeys(key, layer);
    ResetCalc(where, GetSheetWind(layer));
    fit_layer_to_entry(layer, where, may_change_row_height(header, runs));
    return kEntryStored;
}
