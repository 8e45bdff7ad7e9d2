// Circular references: a breadth-first walk over the precedents of a formula.
#include "formula/trace.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "core/memory_use.h"
#include "model/model_services.h"
#include "core/foundation_services.h"
#include "formula/calc_services.h"
#include "model/compiled_formula.h"
#include "formula/evaluator.h"
#include "formula/recalc.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/links.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "platform/events/clock.h"
#include "platform/resources/resources.h"
#include "formula/range_string.h"
#include "resource_ids.h"

struct TraceLists {
    std::vector<TraceRecord> records;  // [0, next) visited, [next, end) still to visit
    size_t next = 0;
    // Bottom-right corners of the records, by layers and top-left corner.
    std::unordered_map<uint64_t, std::vector<CellPoint>> corners;
};

namespace {

// What the check looks for: a counting reference that covers this cell.
struct CheckedCell {
    MemoryRef layer = nullptr;
    MemoryRef workbook = nullptr;
    int16_t layer_id = 0;
    CellPoint cell{0, 0};
};

constexpr int kDamagedFormulaBeep = 9;

CheckedCell checked;
bool give_up_reported = false;

// The formula being read and where it stands.
struct Home {
    MemoryRef layer;
    MemoryRef workbook;
    int16_t layer_id;
    CellPoint cell;
};

uint64_t corner_key(int16_t first, int16_t last, CellPoint top_left) {
    return uint64_t(uint16_t(first)) << 48 | uint64_t(uint16_t(last)) << 32 | uint64_t(uint16_t(top_left.v)) << 16 |
           uint64_t(uint16_t(top_left.h));
}

int16_t resolve(int16_t stored, bool absolute, int16_t origin) { return absolute ? stored : int16_t(stored + origin); }

MemoryRef layer_of(MemoryRef workbook, int32_t id) {
    if (!workbook || id < 0 || id >= num_SpreadSheets(workbook)) return nullptr;
    return find_SpreadSheet_item(workbook, id);
}

// A reference of a formula made absolute: the rectangle and the layers.
struct ResolvedReference {
    MemoryRef workbook;
    int16_t first_layer, last_layer;
    CellRange rect;
};

bool resolve_reference(const StoredReference& ref, const Home& home, MemoryRef workbook, int16_t base_layer,
                       ResolvedReference* out) {
    out->workbook = workbook;
    out->first_layer = out->last_layer = base_layer;
    if (ref.three_d) {
        out->first_layer = resolve(ref.first_layer, marker_second_absolute(ref.layer_marker), home.layer_id);
        out->last_layer = resolve(ref.last_layer, marker_first_absolute(ref.layer_marker), home.layer_id);
    }
    if (ref.kind == ReferenceKind::name) {
        MemoryRef named_on = ref.three_d ? layer_of(workbook, out->first_layer) : home.layer;
        unsigned char name[kNamedRangeNameSize];
        name[0] = uint8_t(std::min<int>(ref.name[0], kNamedRangeNameSize - 1));
        std::memcpy(name + 1, ref.name + 1, name[0]);
        return named_on && find_named_range(Get_rangeinfo(named_on), name, &out->rect);
    }
    out->rect.topLeft.v = resolve(ref.top, marker_first_absolute(ref.markers[0]), home.cell.v);
    out->rect.topLeft.h = resolve(ref.left, marker_second_absolute(ref.markers[0]), home.cell.h);
    out->rect.botRight.v = resolve(ref.bottom, marker_first_absolute(ref.markers[1]), home.cell.v);
    out->rect.botRight.h = resolve(ref.right, marker_second_absolute(ref.markers[1]), home.cell.h);
    return cell_in_grid(out->rect.topLeft.v, out->rect.topLeft.h) &&
           cell_in_grid(out->rect.botRight.v, out->rect.botRight.h);
}

bool covers_checked_cell(const ResolvedReference& ref) {
    return ref.workbook == checked.workbook && checked.layer_id >= ref.first_layer &&
           checked.layer_id <= ref.last_layer && range_contains(ref.rect, checked.cell.v, checked.cell.h);
}

// Offers every counting reference of a formula to the lists; true when one
// covers the checked cell. References used for their position only (0xA7)
// do not depend on the value behind them and are not followed; a reference
// into a linked document is followed in that document when it is open.
bool read_references(const uint8_t* bytes, int32_t length, const Home& home, TraceLists& lists,
                     bool* damaged = nullptr) {
    bool closes = false;
    MemoryRef linked = nullptr;
    bool after_link = false;
    bool whole = walk_formula(bytes, length, [&](const FormulaToken& token) {
        if (token.kind == FormulaTokenKind::link) {
            after_link = true;
            linked = nullptr;
            if (check_fileaccess(token.start + 1, home.layer, &linked)) linked = nullptr;
            return true;
        }
        if (token.kind != FormulaTokenKind::reference) return true;
        const bool through_link = after_link;
        after_link = false;
        if (token.ref.position_only || (through_link && !linked)) return true;
        MemoryRef workbook = through_link ? linked : home.workbook;
        ResolvedReference ref;
        if (!resolve_reference(token.ref, home, workbook, through_link ? 0 : home.layer_id, &ref)) return true;
        if (covers_checked_cell(ref)) closes = true;
        write_trace(lists, ref.first_layer, ref.last_layer, ref.rect, layer_of(workbook, ref.first_layer));
        return true;
    });
    if (damaged) *damaged = !whole;
    return closes;
}

// The stored formula of one cell, read while the store is held.
bool read_cell_references(MemoryRef layer, CellPoint cell, TraceLists& lists) {
    uint8_t* record = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&record, &length, cell, layer) || _cellType_(record) != kCellFormula) return false;
    MemoryUse<> store(GetSpreadSheetCells(layer));  // the record stays where it is while it is read
    Home home{layer, GetWorkSheet(layer), GetSheetID(layer), cell};
    return read_references(_formulaPtr_(record), _formulaLength_(record), home, lists);
}

bool single_cell(const TraceRecord& record) {
    return record.first_layer == record.last_layer && record.rect.topLeft == record.rect.botRight;
}

// Visits one record; true when the circle closes in it.
bool visit_record(const TraceRecord& record, TraceLists& lists, const uint8_t* first_formula, int32_t first_length) {
    if (!record.layer) return false;
    if (single_cell(record)) {
        if (first_formula) {
            // The formula being entered: a damaged one (a text without its
            // closing quote) ends its walk with a beep.
            Home home{record.layer, GetWorkSheet(record.layer), GetSheetID(record.layer), record.rect.topLeft};
            bool damaged = false;
            bool closes = read_references(first_formula, first_length, home, lists, &damaged);
            if (damaged) foundation_services.sound_beep(kDamagedFormulaBeep);
            return closes;
        }
        return read_cell_references(record.layer, record.rect.topLeft, lists);
    }
    bool closes = false;
    const int16_t count = num_SpreadSheets(GetWorkSheet(record.layer));
    for (int32_t id = std::max<int16_t>(record.first_layer, 0); id <= record.last_layer && id < count; ++id)
        if (CheckAccessRect(record.rect, int16_t(id), record.layer, lists)) closes = true;
    return closes;
}

enum class WalkEnd { none, circle, gave_up };

// The walk from the checked cell: answers where it ended and, on a circle,
// the record in which it closed.
WalkEnd walk(const uint8_t* formula, int32_t length, TraceRecord* found) {
    TraceLists lists;
    write_trace(lists, checked.layer_id, checked.layer_id, CellRange{checked.cell, checked.cell}, checked.layer);
    const uint32_t start = pf::tick_count();
    const TraceLimits& limits = trace_limits();
    WalkEnd end = WalkEnd::none;
    bool first = true;
    while (lists.next < lists.records.size()) {
        const TraceRecord record = lists.records[lists.next++];
        if (visit_record(record, lists, first ? formula : nullptr, length)) {
            *found = record;
            end = WalkEnd::circle;
            break;
        }
        first = false;
        const uint32_t elapsed = pf::tick_count() - start;
        if (elapsed >= limits.max_ticks || (elapsed >= limits.polite_ticks && calc_services.event_waiting())) {
            end = WalkEnd::gave_up;
            break;
        }
    }
    clobber_tracelist(lists);
    return end;
}

void check_from(MemoryRef layer, CellPoint cell) {
    checked.layer = layer;
    checked.workbook = GetWorkSheet(layer);
    checked.layer_id = GetSheetID(layer);
    checked.cell = cell;
}

void set_message(unsigned char* text, int item) {
    pf::get_indexed_string(text, kCalcDialogStrings, item);
}

// The circle found during recalculation, shown to the user.
void report_circle(const TraceRecord& found) {
    unsigned char place[256] = {0};
    unsigned char own[256] = {0};
    TraceString(place, found.rect, layer_of(GetWorkSheet(found.layer), found.first_layer));
    TraceString(own, CellRange{checked.cell, checked.cell}, checked.layer);
    std::memcpy(g_CellString, place, size_t(place[0]) + 1);
    if (place[0] + own[0] + 2 <= 255) {
        g_CellString[++g_CellString[0]] = ' ';
        g_CellString[++g_CellString[0]] = ' ';
        std::memcpy(g_CellString + 1 + g_CellString[0], own + 1, own[0]);
        g_CellString[0] = uint8_t(g_CellString[0] + own[0]);
    }
    unsigned char message[256];
    set_message(message, kCircleMessageItem);
    if (message[0] + g_CellString[0] <= 255) {
        std::memcpy(message + 1 + message[0], g_CellString + 1, g_CellString[0]);
        message[0] = uint8_t(message[0] + g_CellString[0]);
    }
    LayerWindow window = GetSheetWind(checked.layer);
    if (window && window != calc_services.front_document_window()) calc_services.raise_document_window(window);
    model_services.select_layer_cells(checked.cell, nullptr, nullptr, 0, checked.layer);
    model_services.show_caution_alert(message, kStandardStopAlert, kCautionAlertKind);
    stopCalc = kCalcManualIdle;
    g_CellString[0] = 0;
}

}  // namespace

TraceLimits& trace_limits() {
    static TraceLimits limits;
    return limits;
}

int16_t TraceCell(MemoryRef layer, const uint8_t* formula, int32_t length) {
    check_from(layer, g_calcCell);
    g_CellString[0] = 0;
    TraceRecord found{};
    switch (walk(formula, length, &found)) {
    case WalkEnd::circle:
        TraceString(g_CellString, found.rect, layer_of(GetWorkSheet(found.layer), found.first_layer));
        return kTraceCircle;
    case WalkEnd::gave_up:
        set_message(g_CellString, kGaveUpMessageItem);
        return kTraceGaveUp;
    default: return kTraceNoCircle;
    }
}

int16_t CheckCircular() {
    g_CellString[0] = 0;
    if (!g_calcSheet) return 0;
    uint8_t* record = nullptr;
    int16_t record_length = 0;
    if (!get_cell_ptr(&record, &record_length, g_calcCell, g_calcSheet) || _cellType_(record) != kCellFormula) return 0;
    check_from(g_calcSheet, g_calcCell);
    TraceRecord found{};
    WalkEnd end = walk(nullptr, 0, &found);
    if (end == WalkEnd::circle) {
        report_circle(found);
        return 1;
    }
    if (end == WalkEnd::gave_up && !give_up_reported) {
        give_up_reported = true;
        unsigned char message[256];
        set_message(message, kGaveUpMessageItem);
        model_services.show_caution_alert(message, kStandardStopAlert, kNoteAlertKind);
    }
    return 0;
}

int16_t CheckAccessRect(const CellRange& rect, int16_t layer_id, MemoryRef layer, TraceLists& lists) {
    MemoryRef target = layer_of(GetWorkSheet(layer), layer_id);
    if (!target) return 0;
    MemoryRef store = GetSpreadSheetCells(target);
    MemoryUse<uint8_t> start(store);
    const uint8_t* end = start + GetByteSize(store);
    Home home{target, GetWorkSheet(target), layer_id, {0, 0}};
    bool closes = false;
    for (const uint8_t* row = start; row < end; row += _RowLength_(row)) {
        const int16_t id = _RowID_(row);
        if (id < rect.topLeft.v) continue;
        if (id > rect.botRight.v) break;
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            const int16_t column = _cellID_(cell);
            if (column > rect.botRight.h) break;
            if (column < rect.topLeft.h || _cellType_(cell) != kCellFormula) continue;
            home.cell = CellPoint{id, column};
            if (read_references(_formulaPtr_(cell), _formulaLength_(cell), home, lists)) closes = true;
        }
    }
    start.release();
    return closes ? 1 : 0;
}

void write_trace(TraceLists& lists, int16_t first_layer, int16_t last_layer, const CellRange& rect, MemoryRef layer) {
    std::vector<CellPoint>& corners = lists.corners[corner_key(first_layer, last_layer, rect.topLeft)];
    for (CellPoint corner : corners)
        if (corner.v >= rect.botRight.v && corner.h >= rect.botRight.h) return;
    corners.push_back(rect.botRight);
    lists.records.push_back(TraceRecord{layer, last_layer, first_layer, rect});
}

int16_t check_fileaccess(const uint8_t* link_id, MemoryRef layer, MemoryRef* workbook) {
    int16_t id = 0;
    std::memcpy(&id, link_id, 2);
    *workbook = nullptr;
    return find_link_workbook(layer, id, workbook) ? 0 : 1;
}

void TraceString(unsigned char* text, const CellRange& rect, MemoryRef layer) {
    std::string piece;
    if (layer && GetWorkSheet(layer) != g_calcWork && g_calcWork) {
        MemoryRef info = Get_fileinfo(GetWorkSheet(layer));
        if (info) {
            MemoryUse<const uint8_t> bytes(info);
            piece.assign(reinterpret_cast<const char*>(bytes + kFileSpecNameOffset + 1), bytes[kFileSpecNameOffset]);
            bytes.release();
            piece += '!';
        }
    }
    piece += std::to_string((layer ? GetSheetID(layer) : 0) + 1) + ":";
    unsigned char range[256];
    const bool relative[4] = {false, false, false, false};
    RangeString(range, &rect, relative, nullptr);
    piece.append(reinterpret_cast<const char*>(range + 1), range[0]);
    piece += "...";
    size_t room = size_t(255 - text[0]);
    size_t count = std::min(room, piece.size());
    std::memcpy(text + 1 + text[0], piece.data(), count);
    text[0] = uint8_t(text[0] + count);
}

void clobber_tracelist(TraceLists& lists) {
    lists.records.clear();
    lists.corners.clear();
    lists.next = 0;
}

void reset_circular_give_up() { give_up_reported = false; }
