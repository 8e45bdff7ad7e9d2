// Fill Series: the source range's values continued step by step into the
// destination that extends it, linearly, by growth, by date unit, or
// automatically with the step measured from the source. The steps are
// gathered into one block and stored in one go.
#include "editing/fill.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "ui/alerts.h"
#include "core/number_text.h"
#include "editing/fill_sort_strings.h"
#include "files/entry_cells.h"
#include "model/layer.h"
#include "platform/text/text.h"
#include "model/undo_record.h"
#include "formula/error_values.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/date_serials.h"
#include "model/display_text.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "platform/system/date_time.h"
#include "window/selection_tracking.h"

namespace {

constexpr uint8_t kCellConstantAlt = 'D';
constexpr int32_t kFriday = 6;
constexpr size_t kLongestCountedText = 255;
constexpr uint8_t kEntryFont = 1;

// The format code of a new number's entry text, by the cell's format flags.
struct EntryCode {
    uint8_t flag;
    uint8_t code;
};
constexpr EntryCode kEntryCodes[] = {{0x02, 6}, {0x10, 12}, {0x08, 11}, {0x04, 5}};

struct SeriesRule {
    int16_t kind;
    int16_t unit;
    double step;
    const double* stop;
    bool vertical;
    bool backward;
    bool first_step;
    bool system_1900;
    MemoryRef layer;
    CellRange source;
    std::vector<SeriesStepStats>* stats;  // automatic kind only
    bool skipped_results = false;         // formulas whose results are not numbers
};

bool ordinary(double value) { return checkValue(&value) == 0; }

bool cell_in_range(const CellRange& range, int16_t row, int16_t column) {
    return row >= range.topLeft.v && row <= range.botRight.v && column >= range.topLeft.h && column <= range.botRight.h;
}

// Span of a range along the series (columns of a horizontal series).
struct Axis {
    bool horizontal;
    int16_t& first(CellRange& range) const { return horizontal ? range.topLeft.h : range.topLeft.v; }
    int16_t& last(CellRange& range) const { return horizontal ? range.botRight.h : range.botRight.v; }
    int16_t first(const CellRange& range) const { return horizontal ? range.topLeft.h : range.topLeft.v; }
    int16_t last(const CellRange& range) const { return horizontal ? range.botRight.h : range.botRight.v; }
    int16_t along(int16_t row, const uint8_t* cell) const { return horizontal ? _cellID_(cell) : row; }
};

// ---- Reading numbers -------------------------------------------------------

struct TrailingNumber {
    size_t digits_at;  // where the digits start in the text
    double value;
};

// Text of at most 255 characters, without style runs, ending in digits.
bool trailing_number(const uint8_t* cell, TrailingNumber* found) {
    const size_t length = size_t(_formulaLength_(cell));
    if (_styleLength_(cell) > 0 || length > kLongestCountedText) return false;
    const uint8_t* text = _formulaPtr_(cell);
    size_t at = length;
    while (at > 0 && std::isdigit(text[at - 1])) --at;
    if (at == length) return false;
    unsigned char digits[256];
    digits[0] = uint8_t(length - at);
    std::memcpy(digits + 1, text + at, length - at);
    if (!StrToExtended(digits, &found->value)) return false;
    found->digits_at = at;
    return true;
}

bool is_number_cell(const uint8_t* cell) {
    return _cellType_(cell) == kCellConstant || _cellType_(cell) == kCellConstantAlt;
}

// The number a source cell holds for measuring the step.
bool series_number(const uint8_t* cell, double* value) {
    if (is_number_cell(cell)) *value = load_f64(_formulaPtr_(cell));
    else if (_cellType_(cell) == kCellFormula && _resultType_(cell) < 0) *value = load_f64(_resultPtr_(cell));
    else if (TrailingNumber found; _cellType_(cell) == kCellText && trailing_number(cell, &found))
        *value = found.value;
    else return false;
    return ordinary(*value);
}

void count_number(SeriesStepStats& stats, uint32_t position, double value) {
    stats.mean += value;
    if (stats.first_position) {
        const double difference = value - stats.last_value;
        if (stats.reference_step == 0) stats.reference_step = difference;
        else if (difference != stats.reference_step) ++stats.step_changes;
        stats.mean_step += difference;
    }
    stats.last_value = value;
    stats.last_position = position;
    if (!stats.first_position) {
        stats.first_position = position;
        stats.first_value = value;
    }
    ++stats.count;
}

// ---- The next value ----------------------------------------------------------

// A date moved by months and years on the calendar; an error for a date the
// calendar cannot show, or moved past its reach.
double moved_date(double serial, int32_t months, int32_t years, bool system_1900) {
    if (!serial_shows_its_date(serial, system_1900)) return N_AN(kErrValue);
    pf::DateTimeRec date;
    pf::seconds_to_date(seconds_of_serial(serial, system_1900), date);
    date.month += months;
    date.year += years;
    uint32_t seconds = 0;
    if (!pf::date_to_seconds(date, seconds)) return N_AN(kErrValue);
    return serial_of_seconds(seconds, system_1900);
}

// The day of the week of the date a serial names; 0 when it names none.
int32_t weekday_of(double serial, bool system_1900) {
    int32_t weekday = 0;
    return serial_component(serial, system_1900, kWeekday, weekday) ? weekday : 0;
}

double next_date(double serial, const SeriesRule& rule) {
    switch (rule.unit) {
        case kUnitYear: return moved_date(serial, 0, 1, rule.system_1900);
        case kUnitMonth: return moved_date(serial, 1, 0, rule.system_1900);
        case kUnitWeekday: return serial + (weekday_of(serial, rule.system_1900) == kFriday ? 3.0 : 1.0);
        default: return serial + 1.0;
    }
}

double next_automatic(double value, const SeriesRule& rule, SeriesStepStats& stats, bool edge) {
    const double count = stats.count;
    if (!rule.first_step) return rule.backward ? value - count * stats.mean_step : value + count * stats.mean_step;
    const bool step_changed = stats.count > 2 && stats.step_changes != 0;
    double made;
    if (!edge) made = stats.last_value + stats.mean_step;
    else if (!rule.backward)
        made = step_changed ? stats.last_value - stats.first_value + stats.mean : stats.last_value + stats.mean_step;
    else
        made = step_changed ? stats.first_value - stats.last_value + stats.mean - (count - 1) * stats.mean_step
                            : stats.first_value - stats.mean_step - (count - 1) * stats.mean_step;
    stats.last_value = made;
    return made;
}

double next_number(double value, SeriesRule& rule, int16_t row, const uint8_t* cell) {
    switch (rule.kind) {
        case kSeriesGrowth: return value * rule.step;
        case kSeriesDate: return next_date(value, rule);
        case kSeriesAutomatic:
            if (rule.stats) {
                const int16_t column = _cellID_(cell);
                const size_t index = size_t(rule.vertical ? column - rule.source.topLeft.h : row - rule.source.topLeft.v);
                const bool edge = rule.vertical ? row == rule.source.topLeft.v : column == rule.source.topLeft.h;
                return next_automatic(value, rule, (*rule.stats)[index], edge);
            }
            [[fallthrough]];
        default: return value + rule.step;
    }
}

// ---- New cells -------------------------------------------------------------

size_t head_length(const uint8_t* cell) { return kCellHeaderSize + _labelLength_(cell) + _noteLength_(cell); }

void entry_text(const uint8_t* cell, double value, MemoryRef layer, unsigned char* text) {
    for (const EntryCode& entry : kEntryCodes) {
        if (!(cell[kFmtFlagsB] & entry.flag)) continue;
        uint8_t format[kCellHeaderSize];
        std::memcpy(format, cell, kCellHeaderSize);
        store_i16(format + kFmtFont, kEntryFont);
        format[kFmtCode] = entry.code;
        get_format_string(text, format, &value, layer);
        return;
    }
    CellErrStr(text, &value, -1, 1, 1, '.');
}

// A cell of the same head (format, label, note) with a new body.
uint8_t* put_with_body(BlockWriter& out, const uint8_t* cell, uint8_t type, size_t body_length) {
    const size_t head = head_length(cell);
    uint8_t* made = out.add_cell_space(int32_t(head + body_length));
    std::memcpy(made, cell, head);
    made[kFmtCellType] = type;
    _SetCellLength_(made, int16_t(head + body_length));
    _SetFormulaLength_(made, int16_t(body_length));
    store_i16(made + kFmtStyleLength, 0);
    return made;
}

void put_number(BlockWriter& out, const uint8_t* cell, double value, MemoryRef layer) {
    unsigned char text[256];
    entry_text(cell, value, layer, text);
    uint8_t* made = put_with_body(out, cell, kCellConstant, kNumberSlotSize + text[0]);
    _SetResultType_(made, kResultNone);
    uint8_t* slot = _formulaPtr_(made);
    std::memset(slot, 0, kNumberSlotSize);
    store_f64(slot, value);
    std::memcpy(slot + kNumberSlotSize, text + 1, text[0]);
}

// A text with a number at its end, counted on: the text in its cell's script
// made a cell by the one road from a text to a cell, its label and note kept.
void put_counted_text(BlockWriter& out, const uint8_t* cell, const TrailingNumber& number, double step,
                      MemoryRef layer) {
    const size_t old_digits = size_t(_formulaLength_(cell)) - number.digits_at;
    const double value = number.value + step;
    std::string counted = general_value_text(value, decimalPt);
    const auto* text = reinterpret_cast<const char*>(_formulaPtr_(cell));
    if (text[number.digits_at] == '0' && (counted.empty() || counted[0] != '-') && counted.size() < old_digits)
        counted.insert(0, old_digits - counted.size(), '0');
    std::string made(text, number.digits_at);
    made += counted;
    made.resize(std::min(made.size(), kLongestCountedText));
    const auto* label = reinterpret_cast<const char*>(_labelPtr_(cell));
    std::string record;
    append_file_value_cell(record,
                           FileValueCell{.where = {0, _cellID_(cell)},
                                         .header = cell,
                                         .type = kCellText,
                                         .text = made,
                                         .script = pf::font_to_script(format_font_in(cell, layer)),
                                         .label_note = std::string_view(label, head_length(cell) - kCellHeaderSize),
                                         .label_length = _labelLength_(cell)},
                           layer);
    std::memcpy(out.add_cell_space(int32_t(record.size())), record.data(), record.size());
}

void put_next_number(BlockWriter& out, const uint8_t* cell, double value, SeriesRule& rule, int16_t row) {
    const double next = next_number(value, rule, row, cell);
    if (!ordinary(next) || (rule.stop && next > *rule.stop)) return;
    put_number(out, cell, next, rule.layer);
}

void put_next_cell(BlockWriter& out, const uint8_t* cell, SeriesRule& rule, int16_t row) {
    const bool automatic = rule.kind == kSeriesAutomatic;
    const uint8_t type = _cellType_(cell);
    if (is_number_cell(cell)) {
        put_next_number(out, cell, load_f64(_formulaPtr_(cell)), rule, row);
    } else if (type == kCellFormula) {
        if (automatic) out.add_cell(cell, _cellID_(cell));
        else if (_resultType_(cell) < 0 && ordinary(load_f64(_resultPtr_(cell))))
            put_next_number(out, cell, load_f64(_resultPtr_(cell)), rule, row);
        else rule.skipped_results = true;
    } else if (automatic) {
        TrailingNumber number;
        if (type == kCellText && trailing_number(cell, &number)) put_counted_text(out, cell, number, rule.step, rule.layer);
        else out.add_cell(cell, _cellID_(cell));
    }
}

// The next block of the series from the present one (both in the source's numbering).
CellBytes increment_cell_value(const CellBytes& block, SeriesRule& rule) {
    BlockWriter out;
    for_each_block_cell(block, [&](int16_t row, const uint8_t* cell) {
        out.use_row(row);
        put_next_cell(out, cell, rule, row);
    });
    return out.take();
}

// ---- Gathering the steps -----------------------------------------------------

// Cells placed by the steps, in any order, written out as one block.
class StepCells {
public:
    // The block's cells moved by `offset` along the axis, those that land
    // from `first` to `last`.
    void place(const CellBytes& block, int32_t offset, const Axis& axis, int32_t first, int32_t last) {
        for_each_block_cell(block, [&](int16_t row, const uint8_t* cell) {
            const int32_t at = axis.along(row, cell) + offset;
            if (at < first || at > last) return;
            Placed placed{row, _cellID_(cell), bytes_.size()};
            (axis.horizontal ? placed.column : placed.row) = int16_t(at);
            bytes_.insert(bytes_.end(), cell, cell + _cellLength_(cell));
            placed_.push_back(placed);
        });
    }

    CellBytes block() {
        std::sort(placed_.begin(), placed_.end(), [](const Placed& a, const Placed& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        BlockWriter out;
        for (const Placed& cell : placed_) {
            out.use_row(cell.row);
            out.add_cell(bytes_.data() + cell.at, cell.column);
        }
        return out.take();
    }

private:
    struct Placed {
        int16_t row;
        int16_t column;
        size_t at;
    };
    std::vector<Placed> placed_;
    CellBytes bytes_;
};

struct SeriesSteps {
    CellBytes block;
    CellRange covered;  // the destination's cells the steps reached
    bool any = false;
};

// Runs the steps from source R into destination D along the axis. A last
// step that reaches past D is made whole and cut when placed, so that its
// values stand where a whole step would put them.
SeriesSteps run_steps(CellBytes block, SeriesRule& rule, const CellRange& destination, const Axis& axis) {
    const CellRange& source = rule.source;
    const int32_t length = axis.last(source) - axis.first(source) + 1;
    rule.backward = axis.last(source) >= axis.last(destination);
    const int32_t move = rule.backward ? -length : length;
    int32_t first = axis.first(source) + move;
    SeriesSteps steps{{}, destination, false};
    StepCells placed;
    for (rule.first_step = true; rule.backward ? first + length - 1 >= axis.first(destination)
                                               : first <= axis.last(destination);
         rule.first_step = false, first += move) {
        block = increment_cell_value(block, rule);
        if (!block_has_cells(block)) break;
        const int32_t shown_first = std::max<int32_t>(first, axis.first(destination));
        const int32_t shown_last = std::min<int32_t>(first + length - 1, axis.last(destination));
        placed.place(block, first - axis.first(source), axis, shown_first, shown_last);
        if (!steps.any || shown_first < axis.first(steps.covered)) axis.first(steps.covered) = int16_t(shown_first);
        if (!steps.any || shown_last > axis.last(steps.covered)) axis.last(steps.covered) = int16_t(shown_last);
        steps.any = true;
    }
    steps.block = placed.block();
    return steps;
}

// ---- Source and destination -----------------------------------------------

// The selection cut to its data: the last row holding a cell, the greatest
// column holding one (rows below the selection are not looked at).
CellRange shrunk_to_data(MemoryRef layer, const CellRange& selection) {
    CellBytes cells;
    CellRange data{selection.topLeft, selection.topLeft};
    if (copy_range_bytes(layer, selection, &cells)) return selection;
    for_each_block_cell(cells, [&](int16_t row, const uint8_t* cell) {
        data.botRight.v = std::max(data.botRight.v, row);
        data.botRight.h = std::max(data.botRight.h, _cellID_(cell));
    });
    return data;
}

CellRange dialog_source(MemoryRef layer, const CellRange& selection, int16_t direction, int16_t kind) {
    CellRange source = selection;
    const bool automatic = kind == kSeriesAutomatic;
    const CellRange data = automatic ? shrunk_to_data(layer, selection) : selection;
    if (direction == kSeriesDown) source.botRight.v = automatic ? data.botRight.v : selection.topLeft.v;
    else source.botRight.h = automatic ? data.botRight.h : selection.topLeft.h;
    return source;
}

// D extends R along one axis, sharing an edge with it.
bool extends(const CellRange& r, const CellRange& d) {
    if (r.topLeft.v == d.topLeft.v && r.botRight.v == d.botRight.v)
        return d.topLeft.h == r.topLeft.h || d.botRight.h == r.botRight.h;
    return d.topLeft.h == r.topLeft.h && d.botRight.h == r.botRight.h &&
           (d.topLeft.v == r.topLeft.v || d.botRight.v == r.botRight.v);
}

void tell_skipped_results() {
    unsigned char message[256];
    pf::get_indexed_string(message, kFillSortStrings, kSeriesTextResultItem);
    key_caution_alert(message, kStandardStopAlert, kCautionAlertKind);
}

}  // namespace

std::vector<SeriesStepStats> find_data_step(const CellBytes& block, const CellRange& source, bool by_columns) {
    const int32_t records = by_columns ? source.botRight.h - source.topLeft.h + 1 : source.botRight.v - source.topLeft.v + 1;
    std::vector<SeriesStepStats> stats(size_t(std::max(records, 0)), SeriesStepStats{});
    for_each_block_cell(block, [&](int16_t row, const uint8_t* cell) {
        const int16_t column = _cellID_(cell);
        double value;
        if (!cell_in_range(source, row, column) || !series_number(cell, &value)) return;
        SeriesStepStats& record = stats[size_t(by_columns ? column - source.topLeft.h : row - source.topLeft.v)];
        count_number(record, uint32_t(by_columns ? row - source.topLeft.v + 1 : column - source.topLeft.h + 1), value);
    });
    for (SeriesStepStats& record : stats) {
        if (!record.first_position) continue;
        record.mean /= record.count;
        if (record.count > 1) record.mean_step /= record.count - 1;
    }
    return stats;
}

int16_t FillSeries(MemoryRef layer, const CellRange* destination, int16_t direction, int16_t kind, int16_t unit,
                   const double* step, const double* stop) {
    const CellRange selection = current_selection(layer);
    if (destination && *destination == selection) return 0;
    const CellRange target = destination ? *destination : selection;
    const CellRange source = destination ? selection : dialog_source(layer, selection, direction, kind);
    if (source == target || !extends(source, target)) return 0;
    const Axis axis{source.topLeft.v == target.topLeft.v && source.botRight.v == target.botRight.v};
    if (axis.first(target) >= axis.first(source) && axis.last(target) <= axis.last(source)) return 0;

    CellBytes block;
    if (int16_t error = copy_range_bytes(layer, source, &block)) return error;
    if (!block_has_cells(block)) return 0;
    std::vector<SeriesStepStats> stats;
    if (kind == kSeriesAutomatic) stats = find_data_step(block, source, !axis.horizontal);
    SeriesRule rule{kind, unit, step ? *step : 1.0, stop, !axis.horizontal, false, true,
                    Get_1900Date_Flag(GetWorkSheet(layer)) != 0, layer, source,
                    kind == kSeriesAutomatic ? &stats : nullptr};
    const SeriesSteps steps = run_steps(std::move(block), rule, target, axis);
    int16_t error = 0;
    if (steps.any) {
        error = replace_cells(layer, target, steps.covered, steps.block, kUndoFillSeries);
        if (!error) LSelect(target.topLeft, &target, nullptr, 0, layer);
    }
    if (rule.skipped_results) tell_skipped_results();
    return error;
}
