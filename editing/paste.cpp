// Paste: fitting the copied block to the selection (a single cell takes the
// whole block, a larger selection repeats it), storing it with one undo
// record, and the whole-column and whole-row formats that came with it.
#include <algorithm>
#include <cstring>
#include <string>

#include "ui/alerts.h"
#include "core/memory_use.h"
#include "editing/clipboard.h"
#include "files/entry_cells.h"
#include "files/sylk_format.h"
#include "formula/date_functions.h"
#include "formula/error_values.h"
#include "model/date_serials.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "files/link_lists.h"
#include "formula/recalc.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_letters.h"
#include "model/cell_store.h"
#include "model/default_font_cells.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "objects/object_clipboard.h"
#include "platform/scrap/scrap.h"
#include "window/doc_window.h"
#include "window/selection_tracking.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOffGridItem = 22;
constexpr int16_t kMisfitItem = 24;

CellRange range_of_size(CellPoint top_left, int32_t rows, int32_t columns) {
    return CellRange{top_left, {int16_t(top_left.v + rows - 1), int16_t(top_left.h + columns - 1)}};
}

// Whether a selection side of `selected` cells takes a block side of `copied`.
bool side_fits(int32_t selected, int32_t copied) {
    return selected == 1 || (selected >= copied && selected % copied == 0);
}

void append_bytes(std::string& out, const uint8_t* bytes, size_t length) {
    out.append(reinterpret_cast<const char*>(bytes), length);
}

}  // namespace

PasteFit fit_block(const CellRange& clip, const CellRange& selection) {
    const int32_t h = range_rows(clip), w = range_columns(clip);
    const int32_t sh = range_rows(selection), sw = range_columns(selection);
    PasteFit fit{range_of_size(selection.topLeft, 1, 1), false, kEditDone};
    if (selection.topLeft.v + h - 1 > kLastCell || selection.topLeft.h + w - 1 > kLastCell) {
        fit.refusal = kEditOffGrid;
        return fit;
    }
    fit.target = range_of_size(selection.topLeft, h, w);
    if (sh == 1 && sw == 1) return fit;
    if (!side_fits(sh, h) || !side_fits(sw, w)) {
        fit.refusal = kEditMisfit;
        return fit;
    }
    if (sh > h) fit.target.botRight.v = selection.botRight.v;
    if (sw > w) fit.target.botRight.h = selection.botRight.h;
    fit.repeat = sh > h || sw > w;
    return fit;
}

void refuse_fit(int16_t refusal) { error_alert(kCalcStrings, refusal == kEditOffGrid ? kOffGridItem : kMisfitItem); }

PasteFit fit_for_paste(MemoryRef layer, const CellRange& clip, const CellRange& selection, int16_t* refusal) {
    PasteFit fit{};
    if (!*refusal) {
        fit = fit_block(clip, selection);
        *refusal = fit.refusal;
    }
    if (*refusal == kEditOffGrid || *refusal == kEditMisfit) refuse_fit(*refusal);
    if (!*refusal && has_locked_cell(fit.target, layer)) *refusal = refuse_with_alert(layer, kEditLockedCells);
    return fit;
}

int16_t MakeCopies(MemoryRef* block, const CellRange* clip, const CellRange* target) {
    const int32_t h = range_rows(*clip), w = range_columns(*clip);
    const int32_t th = range_rows(*target), tw = range_columns(*target);
    std::string rows, copies, row_cells;
    MemoryUse<const uint8_t> start(*block);
    const uint8_t* end = start + GetByteSize(*block);
    for (const uint8_t* row = start; row < end; row += _RowLength_(row)) {
        row_cells.clear();
        for (int32_t shift = 0; shift < tw; shift += w) {
            for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
                const size_t at = row_cells.size();
                append_bytes(row_cells, cell, size_t(_cellLength_(cell)));
                _SetCellID_(reinterpret_cast<uint8_t*>(row_cells.data() + at), int16_t(_cellID_(cell) + shift));
            }
        }
        uint8_t header[kRowHeaderSize];
        _SetRowID_(header, _RowID_(row));
        _SetRowLength_(header, uint32_t(kRowHeaderSize + row_cells.size()));
        append_bytes(rows, header, kRowHeaderSize);
        rows += row_cells;
    }
    start.release();
    for (int32_t shift = 0; shift < th; shift += h) {
        const size_t first = copies.size();
        copies += rows;
        for (size_t at = first; at < copies.size(); at += _RowLength_(reinterpret_cast<uint8_t*>(copies.data() + at))) {
            auto* row = reinterpret_cast<uint8_t*>(copies.data() + at);
            _SetRowID_(row, int16_t(_RowID_(row) + shift));
        }
    }
    MemoryRef made = Bytes2Memory(GetMemoryGlobals(*block), copies.data(), 1, int32_t(copies.size()));
    if (!made) return kEditNoMemory;
    DisposeMemory(*block);
    *block = made;
    return 0;
}

namespace {

// The clipboard's format records written from `at` (a column or row number)
// on, as records of `clip_first` and after would lie.
void paste_format_records(bool columns, int16_t clip_first, int16_t at, MemoryRef layer) {
    const MemoryRef copied = read_clip().formats;
    if (!copied) return;
    const int size = columns ? kColumnFormatSize : kRowFormatSize;
    const int32_t count = GetByteSize(copied) / size;
    int32_t previous = -1;
    for (int32_t i = 0; i < count; ++i) {
        uint8_t record[kCellFormatSize];
        std::memcpy(record, MemoryUse<const uint8_t>(copied).get() + i * size, kCellFormatSize);
        const int32_t id = format_id(record);
        const int32_t place = at + id - clip_first;
        if (id <= previous || id < 0 || place > kLastCell) return;
        previous = id;
        const int32_t span = (place << 16) | place;
        if (columns ? InputColumnFormat(layer, span) : InputRowFormat(layer, span)) return;
        MemoryRef array = columns ? GetSpreadSheetColumnFormats(layer) : GetSpreadSheetRowFormats(layer);
        uint8_t* target = columns ? FindColumnFormatID(array, int16_t(place)) : FindRowFormatID(array, int16_t(place));
        if (!target) return;
        std::memcpy(target, record, kCellFormatSize);
        set_format_id(target, int16_t(place));
        UnuseMemory(array);
    }
}

CellRange layer_selection(MemoryRef layer) {
    LayerUse sheet(layer);
    CellRange selection = sheet->selection;
    return selection;
}

}  // namespace

void paste_formats_over(const CellRange& clip, const CellRange& target, MemoryRef layer) {
    if (!read_clip().formats) return;
    if (whole_columns(clip)) {
        for (int32_t at = target.topLeft.h; at <= target.botRight.h; at += range_columns(clip))
            paste_format_records(true, clip.topLeft.h, int16_t(at), layer);
    } else if (spans_rows(clip)) {
        for (int32_t at = target.topLeft.v; at <= target.botRight.v; at += range_rows(clip))
            paste_format_records(false, clip.topLeft.v, int16_t(at), layer);
    }
}

namespace {

// The number slot of a number cell or of a formula's number result, or null.
const uint8_t* number_slot_of(const uint8_t* cell) {
    if (_cellType_(cell) == kCellConstant) return _formulaPtr_(cell);
    if (_cellType_(cell) == kCellFormula && _resultType_(cell) == kResultNumber) return _resultPtr_(cell);
    return nullptr;
}

// Whether a cell's number counts days from the start of its date system
// (a date, a time of day on a date), given the system it counts in.
bool counts_days(const uint8_t* cell, const uint8_t* slot, bool dates_1900) {
    double value = load_f64(slot);
    return checkValue(&value) == 0 && serial_counts_days(cell[kFmtCode], dates_1900 ? value - k1900ShiftDays : value);
}

// A number cell moved by `days`: the digits it was typed as moved digit by
// digit, so the number stays exact; a date typed as a date keeps its text,
// which names the same day in either system.
void append_moved_number(std::string& row, const uint8_t* cell, int32_t days) {
    const std::string_view typed(reinterpret_cast<const char*>(_constTextPtr_(cell)),
                                 size_t(std::max(_formulaLength_(cell) - kNumberSlotSize, 0)));
    double value = load_f64(_formulaPtr_(cell)) + days;
    std::string text = decimal_moved_by_days(typed, days);
    if (double read = 0; !text.empty() && file_number(text, &read)) value = read;
    else if (typed_as_date(typed)) text.assign(typed);
    else text = file_number_text(value);
    const std::string_view label_note(reinterpret_cast<const char*>(_labelPtr_(cell)),
                                      size_t(_labelLength_(cell)) + _noteLength_(cell));
    append_cell_record(row, CellRecordParts{.header = cell,
                                            .column = _cellID_(cell),
                                            .type = kCellConstant,
                                            .label_note = label_note,
                                            .label_length = _labelLength_(cell),
                                            .number = value,
                                            .body = text,
                                            .tail = {},
                                            .tail_is_style = false,
                                            .result_type = _resultType_(cell)});
}

// The dates of copied cells (row records) moved from the date system they
// count in into the other: each number that counts days, and each formula's
// number result that does, by the 1,462 days between the systems.
int16_t move_copied_dates(MemoryRef* block, bool from_1900) {
    const int32_t days = int32_t(from_1900 ? -k1900ShiftDays : k1900ShiftDays);
    std::string store, row_cells;
    MemoryUse<const uint8_t> start(*block);
    const uint8_t* end = start + GetByteSize(*block);
    for (const uint8_t* row = start; row < end; row += _RowLength_(row)) {
        row_cells.clear();
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            const uint8_t* slot = number_slot_of(cell);
            const bool moves = slot && counts_days(cell, slot, from_1900);
            if (moves && _cellType_(cell) == kCellConstant) {
                append_moved_number(row_cells, cell, days);
                continue;
            }
            const size_t at = row_cells.size();
            append_bytes(row_cells, cell, size_t(_cellLength_(cell)));
            if (moves)
                store_f64(reinterpret_cast<uint8_t*>(row_cells.data()) + at + (slot - cell), load_f64(slot) + days);
        }
        append_row_record(store, _RowID_(row), row_cells);
    }
    start.release();
    MemoryRef moved = Bytes2Memory(GetMemoryGlobals(*block), store.data(), 1, int32_t(store.size()));
    if (!moved) return kEditNoMemory;
    DisposeMemory(*block);
    *block = moved;
    return kEditDone;
}

}  // namespace

int16_t cells_for_layer(MemoryRef* block, bool from_1900, int16_t from_default, MemoryRef layer) {
    if (!*block) return kEditDone;
    if (from_1900 != (Get_1900Date_Flag(GetWorkSheet(layer)) != 0)) {
        if (int16_t error = move_copied_dates(block, from_1900)) return error;
    }
    MemoryRef kept = cells_from_default(*block, from_default, layer);
    if (!kept) return kEditNoMemory;
    if (kept != *block) {
        DisposeMemory(*block);
        *block = kept;
    }
    return kEditDone;
}

int16_t clip_cells_for(MemoryRef layer, const CellRange& selection, MemoryRef* block, CellRange* range,
                       bool* from_text) {
    *block = nullptr;
    const ClipRecord clip = read_clip();
    *from_text = clip.kind == kClipText;
    if (!clip.cells || (clip.kind != kClipCells && clip.kind != kClipText)) return kEditNothing;
    if (clip.kind == kClipCells) {
        *range = clip.range;
        *block = DuplicateNonNilMemory(clip.cells);
        if (!*block) return kEditNoMemory;
        return cells_for_layer(block, clip.dates_1900 != 0, clip.default_font, layer);
    }
    MemoryUse<const char> chars(clip.cells);
    std::string_view text(chars, size_t(GetByteSize(clip.cells)));
    const int32_t rows = text_rows(text);
    if (rows == 0 || selection.topLeft.v + rows - 1 > kLastCell) return rows == 0 ? kEditNothing : kEditOffGrid;
    std::string store;
    text_to_cells(text, selection.topLeft, layer, store, range, clip.unicode != 0);
    chars.release();
    if (!report_clip_text_losses()) return kEditCancelled;
    *block = Bytes2Memory(GetMemoryGlobals(layer), store.data(), 1, int32_t(store.size()));
    return *block ? kEditDone : kEditNoMemory;
}

int16_t store_with_undo(MemoryRef layer, const CellRange& clip, const CellRange& target, MemoryRef block,
                        bool column_formats_apply) {
    MemoryRef former = nullptr;
    SavedFormats saved;
    int16_t error = with_failure_handler(GetMemoryGlobals(layer), [&] { save_formats(clip, layer, &saved); });
    if (!error && !CopyCellInfo(target.topLeft, target.botRight, &former, GetSpreadSheetCells(layer))) error = 1;
    if (!error)
        error = with_failure_handler(GetMemoryGlobals(layer), [&] {
            WriteMemUndo(kUndoPaste, saved.extent, &target, nullptr, former, nullptr, saved.columns, saved.rows,
                         nullptr, layer);
        });
    if (error) {
        DisposeNonNilMemory(former);
        saved.dispose();
        return kEditNoMemory;
    }
    LSelect(target.topLeft, &target, nullptr, 0, layer);
    const CellPoint shift{int16_t(target.topLeft.v - clip.topLeft.v), int16_t(target.topLeft.h - clip.topLeft.h)};
    const RangeLetters letters = block_letters(block, Get_Default_Font(layer), shift, layer);
    if (InputDataWithFormat(clip.topLeft, clip.botRight, column_formats_apply, block, layer)) {
        take_back_newest_undo(layer);
        return kEditNoMemory;
    }
    check_letters_kept(letters, layer, "paste");
    return kEditDone;
}

bool reaches_past_used(MemoryRef layer, const CellRange& target) {
    LayerUse sheet(layer);
    const bool beyond = target.botRight.v > sheet->last_row || target.botRight.h > sheet->last_column;
    return beyond;
}

void show_pasted(MemoryRef layer, const CellRange& target, bool past_used) {
    LSelect(target.topLeft, &target, nullptr, 0, layer);
    ResetCalc(target.topLeft, GetSheetWind(layer));
    if (past_used)
        resize_sheet(layer, 1);
    else
        DrawCells(&target, layer);
}

int16_t paste_range(MemoryRef layer, const CellRange& selection) {
    if (check_access(layer)) return refuse_with_alert(layer, kEditLockedWorkbook);
    MemoryRef block = nullptr;
    CellRange clip{};
    bool from_text = false;
    int16_t refusal = clip_cells_for(layer, selection, &block, &clip, &from_text);
    PasteFit fit = fit_for_paste(layer, clip, selection, &refusal);
    CellRange pasted = clip;
    if (!refusal && fit.repeat) {
        refusal = MakeCopies(&block, &clip, &fit.target);
        pasted = range_of_size(clip.topLeft, range_rows(fit.target), range_columns(fit.target));
    }
    const bool past_used = !refusal && reaches_past_used(layer, fit.target);
    if (!refusal) refusal = store_with_undo(layer, pasted, fit.target, block, from_text);
    DisposeNonNilMemory(block);
    if (refusal == kEditNoMemory) return refuse_with_alert(layer, kEditNoMemory);
    if (refusal) return refusal;
    if (read_clip().links) resolve_linkID(layer);
    paste_formats_over(clip, fit.target, layer);
    show_pasted(layer, fit.target, past_used);
    return kEditDone;
}

int16_t DoPaste(MemoryRef layer) {
    if (check_access(layer)) return refuse_with_alert(layer, kEditLockedWorkbook);
    if (paste_clip_objects(layer)) return kEditDone;
    return paste_range(layer, layer_selection(layer));
}

int16_t edit_paste(MemoryRef layer) {
    if (ReadClip() == pf::kScrapPictureTooLargeErr) {
        refuse_large_clip_picture();
        return kEditDone;
    }
    return DoPaste(layer);
}
