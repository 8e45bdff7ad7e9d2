// Find, Replace and Replace All over the front document's cells.
#include "editing/find_replace.h"

#include <algorithm>
#include <cstring>

#include "ui/alerts.h"
#include "core/memory_use.h"
#include "core/string_utils.h"
#include "editing/clipboard.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "files/entry_script.h"
#include "files/entry_store.h"
#include "formula/parser.h"
#include "platform/screen/cursor.h"
#include "platform/text/scripts.h"
#include "ui/app_prefs.h"
#include "ui/lists_and_menus.h"
#include "ui/task_manager.h"
#include "window/cell_entry.h"
#include "window/entry_line.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"
#include "resource_ids.h"

FindState find_state;

namespace {

constexpr int kFindBeepTicks = 9;
constexpr size_t kNamedCharacters = 5;  // of a replacement no script spells

struct Target {
    MemoryRef record = nullptr;
    MemoryRef layer = nullptr;
};

Target front_target() {
    Target target;
    target.record = get_find_doc();
    target.layer = target.record ? doc_window_layer(target.record) : nullptr;
    return target;
}

uint32_t find_options() { return app_prefs.options; }

bool searching_all_layers() { return (find_options() & kFindAllLayers) != 0; }

void no_hit() {
    forget_find_hit();
    pf::sys_beep(kFindBeepTicks);
}

void select_cell(MemoryRef layer, CellPoint cell) {
    const CellRange range{cell, cell};
    LSelect(cell, &range, nullptr, 0, layer);
}

void show_hit(MemoryRef layer, const FindHit& hit) {
    find_state.first_find = 1;
    find_state.found_offset = hit.offset;
    find_state.go_on_in_cell = false;
    find_state.found_in_contents = hit.in_contents;
    show_cell(layer, hit.cell);
}

// The cell after `cell` in the scan's order.
CellPoint next_cell(CellPoint cell) {
    if (find_state.by_columns) return CellPoint{int16_t(cell.v + 1), cell.h};
    return CellPoint{cell.v, int16_t(cell.h + 1)};
}

// Where a search from the active cell begins: after the last hit.
int16_t scan_from_active(MemoryRef layer, bool after_hit, FindHit* hit) {
    CellPoint start = GetClickCell(layer);
    int32_t offset = -1;
    if (after_hit) {
        if (find_state.found_offset >= 0 || find_state.go_on_in_cell) offset = find_state.found_offset;
        else start = next_cell(start);
    }
    return find_cells(layer, start, find_state.find_str, offset, find_options(), find_state.by_columns, hit);
}

int16_t scan_from_top(MemoryRef layer, FindHit* hit) {
    return find_cells(layer, CellPoint{0, 0}, find_state.find_str, -1, find_options(), find_state.by_columns, hit);
}

int16_t find_in_layer(const Target& target, int16_t mode) {
    FindHit hit;
    bool found = false;
    if (mode == kFindFromTop) {
        forget_find_hit();
        found = scan_from_top(target.layer, &hit);
    } else {
        found = scan_from_active(target.layer, find_state.first_find == 1, &hit);
        if (!found && mode == kFindFromActive) found = scan_from_top(target.layer, &hit);
    }
    if (!found) {
        no_hit();
        return 0;
    }
    show_hit(target.layer, hit);
    return 1;
}

// The layer at the index, shown in the front document's window.
MemoryRef bring_layer_forward(Target& target, MemoryRef workbook, int16_t index) {
    MemoryRef layer = find_SpreadSheet_item(workbook, index);
    if (layer != target.layer) {
        select_layer(target.record, index);
        target = front_target();
    }
    return layer;
}

int16_t find_in_all_layers(Target target, int16_t mode) {
    MemoryRef workbook = GetWorkSheet(target.layer);
    const int16_t count = num_SpreadSheets(workbook);
    int16_t index = find_state.search_layer;
    FindHit hit;
    bool found = false;
    if (mode == kFindFromTop || index < 0 || index >= count) {
        forget_find_hit();
        index = 0;
        found = scan_from_top(find_SpreadSheet_item(workbook, index), &hit);
    } else {
        found = scan_from_active(find_SpreadSheet_item(workbook, index), find_state.first_layerfind == 1, &hit);
    }
    while (!found && ++index < count) found = scan_from_top(find_SpreadSheet_item(workbook, index), &hit);
    if (!found) {
        no_hit();
        return 0;
    }
    MemoryRef layer = bring_layer_forward(target, workbook, index);
    find_state.search_layer = index;
    find_state.first_layerfind = 1;
    show_hit(layer, hit);
    return 1;
}

// The layer Replace acts on.
MemoryRef replace_layer(const Target& target) {
    if (!searching_all_layers() || find_state.search_layer < 0) return target.layer;
    MemoryRef layer = find_SpreadSheet_item(GetWorkSheet(target.layer), find_state.search_layer);
    return layer ? layer : target.layer;
}

// A cell's new text, UTF-8.
struct CellChange {
    CellPoint cell;
    std::string utf8;
};

// The hits of the search in a cell's text (UTF-8) replaced, left to right in
// the text as it was: every hit, or with `only` >= 0 the hit at that offset.
// False when none was replaced.
bool replace_hits(std::string& utf8, uint32_t options, int32_t only) {
    const unsigned char* search = find_state.find_str;
    const int32_t length = search[0];
    std::string result;
    size_t kept_from = 0;
    bool any = false;
    int32_t at = only < 0 ? -1 : only - 1;
    while (find_word(reinterpret_cast<const uint8_t*>(utf8.data()), int32_t(utf8.size()), &at,
                     !(options & kFindIgnoreCase), (options & kFindWholeText) != 0, search) &&
           (only < 0 || at == only)) {
        result.append(utf8, kept_from, size_t(at) - kept_from);
        result += find_state.replacement;
        kept_from = size_t(at + length);
        any = true;
        if (only >= 0) break;
        at += length - 1;
    }
    if (!any) return false;
    result.append(utf8, kept_from, std::string::npos);
    utf8 = std::move(result);
    return true;
}

// The cell's text with every hit replaced; false when there is no hit.
bool planned_change(MemoryRef layer, CellPoint cell, uint32_t options, CellChange& change) {
    std::string utf8 = cell_contents_utf8(layer, cell);
    if (!replace_hits(utf8, options, -1)) return false;
    change = CellChange{cell, std::move(utf8)};
    return true;
}

bool is_locked(MemoryRef layer, CellPoint cell) { return has_locked_cell(CellRange{cell, cell}, layer); }

// The cells whose contents change, in search order; a locked cell with a hit
// is left out and noted.
std::vector<CellChange> planned_changes(MemoryRef layer, bool* locked_hit) {
    std::vector<CellChange> changes;
    const uint32_t options = find_options();
    if (!(options & kFindInContents)) return changes;
    for (CellPoint cell : layer_cells_in_order(layer, find_state.by_columns)) {
        CellChange change;
        if (!planned_change(layer, cell, options, change)) continue;
        if (is_locked(layer, cell)) *locked_hit = true;
        else changes.push_back(std::move(change));
    }
    return changes;
}

CellRange bounds_of(const std::vector<CellChange>& changes) {
    CellRange bounds{changes.front().cell, changes.front().cell};
    for (const CellChange& change : changes) {
        bounds.topLeft.v = std::min(bounds.topLeft.v, change.cell.v);
        bounds.topLeft.h = std::min(bounds.topLeft.h, change.cell.h);
        bounds.botRight.v = std::max(bounds.botRight.v, change.cell.v);
        bounds.botRight.h = std::max(bounds.botRight.h, change.cell.h);
    }
    return bounds;
}

// A cell that kept its contents because cell entry refused the replaced text.
struct Refusal {
    CellPoint cell{};
    int32_t code = kEntryStored;
    std::string utf8;
};

// What cell entry says of a replaced text it refused, as typing it would,
// with that text in the entry line (as far as Roman spells it).
void report_refusal(MemoryRef layer, const std::string& utf8, int32_t code) {
    const std::string roman = spell_text_in_scripts(utf8, RunLook{}).text;
    show_refused_entry(std::vector<uint8_t>(roman.begin(), roman.end()), layer);
    error_alert(kParserErrorStrList, int16_t(code));
}

// Whether the layer's row formats hold what `saved` held.
bool row_formats_kept(MemoryRef saved, MemoryRef layer) {
    MemoryRef present = GetSpreadSheetRowFormats(layer);
    if (!saved || !present) return saved == present;
    const int32_t size = GetByteSize(saved);
    if (size != GetByteSize(present)) return false;
    MemoryUse<const uint8_t> a(saved), b(present);
    return size == 0 || std::memcmp(a.get(), b.get(), size_t(size)) == 0;
}

// Makes the planned changes under one undo record of the cells they cover
// (and of the row heights, when a wrapped or styled text refitted a row),
// stopping at Command-period; the first cell that refused its change is noted.
int32_t apply_changes(MemoryRef layer, const std::vector<CellChange>& changes, Refusal* refusal) {
    const CellRange bounds = bounds_of(changes);
    MemoryRef before = nullptr, rows_before = nullptr;
    if (!CopyCellInfo(bounds.topLeft, bounds.botRight, &before, GetSpreadSheetCells(layer))) return 0;
    if (with_failure_handler(GetMemoryGlobals(layer),
                             [&] { rows_before = DuplicateNonNilMemory(GetSpreadSheetRowFormats(layer)); })) {
        DisposeNonNilMemory(before);
        return 0;
    }
    int32_t stored = 0;
    for (const CellChange& change : changes) {
        if (CommandPeriod()) break;
        const int32_t answer = store_typed_text(layer, change.cell, change.utf8);
        if (answer != kEntryStored) {
            if (refusal->code == kEntryStored) *refusal = Refusal{change.cell, answer, change.utf8};
            continue;
        }
        take_back_newest_undo(layer);
        ++stored;
    }
    if (stored) {
        const bool refitted = !row_formats_kept(rows_before, layer);
        WriteUndo(kUndoEntry, refitted ? kExtentRows : kExtentRange, &bounds, nullptr, before, nullptr, nullptr,
                  refitted ? rows_before : nullptr, nullptr, nullptr, layer);
    }
    DisposeNonNilMemory(before);
    DisposeNonNilMemory(rows_before);
    return stored;
}

int32_t replace_all_in(const Target& target, MemoryRef layer, bool* locked_hit) {
    const std::vector<CellChange> changes = planned_changes(layer, locked_hit);
    if (changes.empty()) return 0;
    Refusal refusal;
    const int32_t stored = apply_changes(layer, changes, &refusal);
    if (refusal.code != kEntryStored) {
        select_cell(layer, refusal.cell);
        if (layer == target.layer) SheetAutoScroll(layer, refusal.cell, 0);
        report_refusal(layer, refusal.utf8, refusal.code);
    } else if (layer == target.layer) {
        SheetAutoScroll(layer, changes.back().cell, 0);
    }
    return stored;
}

}  // namespace

void show_cell(MemoryRef layer, CellPoint cell) {
    select_cell(layer, cell);
    SheetAutoScroll(layer, cell, 0);
    DisplayText(get_find_doc(), 1);
}

bool replacement_spelled(std::string_view utf8) {
    const std::u32string unspelled = pf::unspelled_characters(utf8);
    if (unspelled.empty()) return true;
    unsigned char named[256];
    set_pstring(named, pf::code_point_names(unspelled, kNamedCharacters).substr(1));
    key_caution_alert(named, kUnspelledReplacementAlert, kStopAlertKind);
    return false;
}

int32_t store_typed_text(MemoryRef layer, CellPoint cell, std::string_view utf8) {
    select_cell(layer, cell);
    uint8_t format_before[kCellHeaderSize];
    entry_format(format_before, cell, layer);
    const int32_t answer = store_unicode_entry(layer, cell, utf8);
    if (answer == kEntryStored) show_entered_cell(layer, cell, format_before);
    return answer;
}

MemoryRef get_find_doc() {
    for (pf::WindowRef window = pf::front_window(); window; window = pf::next_window(window)) {
        if (!pf::window_visible(window)) continue;
        TaskRecord task;
        get_task_from_window(window, &task);
        if (task.kind == kDocumentTask && task.index != 0 && task.app_ref)
            return reinterpret_cast<MemoryRef>(task.app_ref);
    }
    return nullptr;
}

void forget_find_hit() {
    find_state.first_find = 0;
    find_state.first_layerfind = 0;
    find_state.found_offset = -1;
    find_state.go_on_in_cell = false;
    find_state.search_layer = -1;
}

int16_t do_find_next(int16_t mode) {
    const Target target = front_target();
    if (!target.layer || find_state.find_str[0] == 0) return 0;
    return searching_all_layers() ? find_in_all_layers(target, mode) : find_in_layer(target, mode);
}

int16_t do_freplace(int16_t forget) {
    const Target target = front_target();
    if (!target.layer || find_state.find_str[0] == 0) return 0;
    const int32_t kept = find_state.found_offset;
    MemoryRef layer = replace_layer(target);
    const CellPoint cell = GetClickCell(layer);
    std::string text = cell_contents_utf8(layer, cell);
    const bool still_there = find_state.first_find && kept >= 0 && find_state.found_in_contents &&
                             replace_hits(text, find_options(), kept);
    if (!still_there) {
        pf::sys_beep(kFindBeepTicks);
        return 0;
    }
    if (!replacement_spelled(find_state.replacement) || refuse_protected_change(layer, CellRange{cell, cell}))
        return 0;
    const int32_t answer = store_typed_text(layer, cell, text);
    if (answer != kEntryStored) report_refusal(layer, text, answer);
    if (forget) {
        const int16_t layer_searched = find_state.search_layer;
        forget_find_hit();
        find_state.search_layer = layer_searched;
    } else {
        find_state.found_offset = kept + int32_t(find_state.replacement.size()) - 1;
        find_state.go_on_in_cell = true;
    }
    DisplayText(target.record, 1);
    return answer == kEntryStored ? 1 : 0;
}

int32_t replace_all() {
    const Target target = front_target();
    if (!target.layer || find_state.find_str[0] == 0) return 0;
    forget_find_hit();
    if (check_access(target.layer)) {
        refuse_with_alert(target.layer, kEditLockedWorkbook);
        return 0;
    }
    if (!replacement_spelled(find_state.replacement)) return 0;
    int32_t changed = 0;
    bool locked_hit = false;
    if (searching_all_layers()) {
        MemoryRef workbook = GetWorkSheet(target.layer);
        for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i)
            changed += replace_all_in(target, find_SpreadSheet_item(workbook, i), &locked_hit);
    } else {
        changed = replace_all_in(target, target.layer, &locked_hit);
    }
    if (locked_hit) refuse_with_alert(target.layer, kEditLockedCells);
    else if (!changed) pf::sys_beep(kFindBeepTicks);
    DisplayText(target.record, 1);
    return changed;
}
