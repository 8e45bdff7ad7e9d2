// Decoding stored formulas into programs, the table that keeps them, and
// running them against the held cells of the calculated layer.
#include "formula/formula_program.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/number_text.h"
#include "formula/arithmetic.h"
#include "formula/cell_values.h"
#include "model/compiled_formula.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "formula/range_walk.h"
#include "model/cell_record.h"
#include "model/cell_store_index.h"
#include "model/layer.h"
#include "model/workbook.h"

namespace {

constexpr int16_t kSumFunction = 10;
constexpr int kMostStackDepth = 16;
constexpr int kMostNesting = 32;

enum class StepKind : uint8_t {
    constant,    // pushes `constant`
    cell,        // pushes the value of the cell at `corners[0]`
    negate,      // negates the top value
    arithmetic,  // replaces the two top values by `op` of them
    sum_start,   // pushes the total of a SUM, 0
    sum_cell,    // adds the cell at `corners[0]` to the total when it holds a number
    sum_range,   // adds the sum of the range `corners` to the total
};

// A corner of a reference: its stored row and column, each absolute or an
// offset from the calculated cell.
struct Corner {
    int16_t row = 0, column = 0;
    bool row_absolute = false, column_absolute = false;

    CellPoint at(CellPoint origin) const {
        return CellPoint{row_absolute ? row : int16_t(row + origin.v),
                         column_absolute ? column : int16_t(column + origin.h)};
    }
};

struct ProgramStep {
    StepKind kind = StepKind::constant;
    int16_t op = kOpNone;  // of an arithmetic step; kOpNone is the power
    double constant = 0;
    Corner corners[2] = {};
};

ProgramStep step_of(StepKind kind, int16_t op = kOpNone, double constant = 0) {
    ProgramStep step;
    step.kind = kind;
    step.op = op;
    step.constant = constant;
    return step;
}

// ---- Decoding ------------------------------------------------------------------------

bool is_operator(const FormulaToken* token, uint8_t byte) {
    return token && token->kind == FormulaTokenKind::op && token->length == 1 && token->start[0] == byte;
}

bool is_sign(const FormulaToken* token) { return is_operator(token, '+') || is_operator(token, '-'); }

bool is_multiplication(const FormulaToken* token) {
    return is_operator(token, '*') || is_operator(token, '/') || is_operator(token, kDivisionSign);
}

// A reference of the calculated layer, read for its value.
bool is_flat_reference(const FormulaToken* token) {
    return token && token->kind == FormulaTokenKind::reference && !token->ref.three_d && !token->ref.position_only &&
           token->ref.kind != ReferenceKind::name;
}

Corner corner_of(const StoredReference& ref, int index) {
    const uint8_t marker = ref.markers[index];
    return index == 0 ? Corner{ref.top, ref.left, marker_first_absolute(marker), marker_second_absolute(marker)}
                      : Corner{ref.bottom, ref.right, marker_first_absolute(marker), marker_second_absolute(marker)};
}

ProgramStep reference_step(StepKind kind, const StoredReference& ref) {
    ProgramStep step = step_of(kind);
    step.corners[0] = corner_of(ref, 0);
    step.corners[1] = corner_of(ref, 1);
    return step;
}

// A recursive descent over the formula's tokens that follows the
// evaluator's levels step for step, refusing whatever it does not cover.
class ProgramDecoder {
public:
    ProgramDecoder(const uint8_t* bytes, int32_t length, std::vector<ProgramStep>& steps) : steps_(steps) {
        ok_ = read_tokens(bytes, length);
    }

    bool decode() {
        if (!ok_ || tokens_.empty()) return false;
        expression();
        if (!ok_ || next_ != tokens_.size()) return false;
        // A formula that is one value keeps that value's type: the evaluator's.
        const StepKind last = steps_.back().kind;
        return last == StepKind::negate || last == StepKind::arithmetic || last == StepKind::sum_range ||
               last == StepKind::sum_cell;
    }

private:
    // The tokens after the "=", spaces left out, as c_InSymbol reads them.
    bool read_tokens(const uint8_t* p, int32_t length) {
        const uint8_t* end = p + length;
        if (p < end && *p == '=') ++p;
        while (p < end) {
            FormulaToken token = read_formula_token(p, end);
            p += token.length;
            if (token.kind == FormulaTokenKind::space) continue;
            if (token.kind == FormulaTokenKind::malformed || token.kind == FormulaTokenKind::link) return false;
            if (token.start[0] < 33 || token.start[0] > 214) return false;  // the evaluator would stop there
            tokens_.push_back(token);
        }
        return true;
    }

    const FormulaToken* peek() const { return next_ < tokens_.size() ? &tokens_[next_] : nullptr; }
    void advance() { ++next_; }
    void fail() { ok_ = false; }

    void emit(ProgramStep step) {
        switch (step.kind) {
        case StepKind::constant:
        case StepKind::cell:
        case StepKind::sum_start: ++depth_; break;
        case StepKind::arithmetic: --depth_; break;
        default: break;
        }
        if (depth_ > kMostStackDepth) fail();
        steps_.push_back(step);
    }
    void emit_arithmetic(int16_t op) { emit(step_of(StepKind::arithmetic, op)); }
    void emit_negate() { emit(step_of(StepKind::negate)); }

    void expression() {
        if (++nesting_ > kMostNesting) return fail();
        add_term();
        --nesting_;
    }

    void add_term() {
        bool negate = false;
        if (is_sign(peek())) {
            negate = is_operator(peek(), '-');
            advance();
            // A sign before a number constant belongs to the constant.
            const FormulaToken* next = peek();
            if (negate && next &&
                (next->kind == FormulaTokenKind::small_int || next->kind == FormulaTokenKind::number)) {
                negate_constant_ = true;
                negate = false;
            }
        }
        mult_term();
        if (negate) emit_negate();
        while (ok_ && is_sign(peek())) {
            const int16_t op = is_operator(peek(), '-') ? kOpSubtract : kOpAdd;
            advance();
            mult_term();
            emit_arithmetic(op);
        }
    }

    void mult_term() {
        exp_term();
        while (ok_ && is_multiplication(peek())) {
            const int16_t op = is_operator(peek(), '*') ? kOpMultiply : kOpDivide;
            advance();
            const bool negate = is_operator(peek(), '-');
            if (negate) advance();
            exp_term();
            if (negate) emit_negate();
            emit_arithmetic(op);
        }
    }

    void exp_term() {
        factor();
        while (ok_ && is_operator(peek(), '^')) {
            advance();
            bool negate = false;
            if (is_sign(peek())) {
                negate = is_operator(peek(), '-');
                advance();
            }
            factor();
            if (negate) emit_negate();
            emit_arithmetic(kOpNone);
        }
    }

    void factor() {
        const FormulaToken* token = peek();
        if (!ok_ || !token) return fail();
        if (is_operator(token, '(')) {
            advance();
            expression();
            if (!is_operator(peek(), ')')) return fail();
            advance();
            return;
        }
        if (token->kind == FormulaTokenKind::small_int || token->kind == FormulaTokenKind::number) {
            constant(*token);
            return;
        }
        if (is_flat_reference(token) && token->ref.kind == ReferenceKind::cell) {
            emit(reference_step(StepKind::cell, token->ref));
            advance();
            return;
        }
        if (token->kind == FormulaTokenKind::function && token->value == kSumFunction) return sum();
        fail();
    }

    void constant(const FormulaToken& token) {
        double value = token.value;
        if (token.kind == FormulaTokenKind::number &&
            decimal_text_to_double(reinterpret_cast<const char*>(token.start), token.length, &value) == 0)
            return fail();
        if (negate_constant_) value = -value;
        negate_constant_ = false;
        emit(step_of(StepKind::constant, kOpNone, value));
        advance();
    }

    // SUM of cells and ranges, each argument one reference.
    void sum() {
        advance();
        if (!is_operator(peek(), '(')) return fail();
        advance();
        emit(step_of(StepKind::sum_start));
        for (;;) {
            const FormulaToken* argument = peek();
            if (!is_flat_reference(argument)) return fail();
            const StepKind kind = argument->ref.kind == ReferenceKind::cell ? StepKind::sum_cell : StepKind::sum_range;
            emit(reference_step(kind, argument->ref));
            advance();
            if (is_operator(peek(), ',')) {
                advance();
                continue;
            }
            if (!is_operator(peek(), ')')) return fail();
            advance();
            return;
        }
    }

    std::vector<ProgramStep>& steps_;
    std::vector<FormulaToken> tokens_;
    size_t next_ = 0;
    int depth_ = 0;
    int nesting_ = 0;
    bool negate_constant_ = false;
    bool ok_ = true;
};

// ---- The table of programs -----------------------------------------------------------

// Programs by the bytes of their formulas, with open addressing. A formula
// that has no program is kept too, so that it is decoded only once.
class ProgramTable {
public:
    struct Program {
        const ProgramStep* steps;
        uint32_t count;  // 0 for a formula without a program
    };

    Program find_or_decode(const uint8_t* bytes, int32_t length) {
        if (last_ != kNoLast && same_key(entries_[last_], bytes, length)) return program_of(entries_[last_]);
        if (entries_.empty() || used_ * 2 >= entries_.size()) grow();
        const uint64_t hash = hash_of(bytes, length);
        size_t at = size_t(hash) & (entries_.size() - 1);
        for (; entries_[at].used; at = (at + 1) & (entries_.size() - 1))
            if (entries_[at].hash == hash && same_key(entries_[at], bytes, length)) {
                last_ = at;
                return program_of(entries_[at]);
            }
        entries_[at] = decode(bytes, length, hash);
        ++used_;
        last_ = at;
        return program_of(entries_[at]);
    }

    void clear() {
        entries_.clear();
        keys_.clear();
        steps_.clear();
        used_ = 0;
        last_ = kNoLast;
    }

private:
    static constexpr size_t kNoLast = size_t(-1);
    static constexpr size_t kFirstSize = 1024;
    static constexpr size_t kMostPrograms = size_t(1) << 16;

    struct Entry {
        uint64_t hash = 0;
        uint32_t key_at = 0, key_length = 0;
        uint32_t first_step = 0, step_count = 0;
        bool used = false;
    };

    static uint64_t hash_of(const uint8_t* bytes, int32_t length) {
        uint64_t hash = 14695981039346656037ull;
        for (int32_t i = 0; i < length; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
        return hash;
    }

    bool same_key(const Entry& entry, const uint8_t* bytes, int32_t length) const {
        return entry.key_length == uint32_t(length) &&
               std::memcmp(keys_.data() + entry.key_at, bytes, size_t(length)) == 0;
    }

    Program program_of(const Entry& entry) const { return Program{steps_.data() + entry.first_step, entry.step_count}; }

    Entry decode(const uint8_t* bytes, int32_t length, uint64_t hash) {
        Entry entry{hash, uint32_t(keys_.size()), uint32_t(length), uint32_t(steps_.size()), 0, true};
        keys_.insert(keys_.end(), bytes, bytes + length);
        if (ProgramDecoder(bytes, length, steps_).decode())
            entry.step_count = uint32_t(steps_.size() - entry.first_step);
        else steps_.resize(entry.first_step);
        return entry;
    }

    // Doubles the slots; past the most programs, starts again empty.
    void grow() {
        if (used_ >= kMostPrograms) clear();
        std::vector<Entry> old(std::max(kFirstSize, entries_.size() * 2));
        old.swap(entries_);
        for (const Entry& entry : old) {
            if (!entry.used) continue;
            size_t at = size_t(entry.hash) & (entries_.size() - 1);
            while (entries_[at].used) at = (at + 1) & (entries_.size() - 1);
            entries_[at] = entry;
        }
        last_ = kNoLast;
    }

    std::vector<Entry> entries_;
    std::vector<uint8_t> keys_;
    std::vector<ProgramStep> steps_;
    size_t used_ = 0;
    size_t last_ = kNoLast;
};

ProgramTable& program_table() {
    static ProgramTable table;
    return table;
}

// ---- Running -------------------------------------------------------------------------

// A cell value as a program reads it: a number, or the empty value 0.
struct ReadValue {
    double number = 0;
    int16_t type = kValueEmpty;
};

class ProgramRunner {
public:
    explicit ProgramRunner(const HeldLayerCells& cells) : cells_(cells), origin_(g_calcCell) {}

    // False when the run met what it leaves to the evaluator.
    bool run(const ProgramStep* steps, uint32_t count, double* result) {
        double stack[kMostStackDepth];
        stack[0] = 0;
        int top = -1;
        for (const ProgramStep* step = steps; step < steps + count; ++step) {
            switch (step->kind) {
            case StepKind::constant: stack[++top] = step->constant; break;
            case StepKind::cell: {
                ReadValue value;
                if (!read_cell(step->corners[0].at(origin_), &value)) return false;
                stack[++top] = value.number;
                break;
            }
            case StepKind::negate: stack[top] = -stack[top]; break;
            case StepKind::arithmetic:
                stack[top - 1] = arithmetic(stack[top - 1], stack[top], step->op);
                --top;
                break;
            case StepKind::sum_start: stack[++top] = 0.0; break;
            case StepKind::sum_cell: {
                ReadValue value;
                if (!read_cell(step->corners[0].at(origin_), &value)) return false;
                if (value.type < 0) stack[top] = arithmetic(stack[top], value.number, kOpAdd);
                break;
            }
            case StepKind::sum_range: {
                double sum = 0;
                if (!sum_range(step->corners, &sum)) return false;
                stack[top] = arithmetic(stack[top], sum, kOpAdd);
                break;
            }
            }
        }
        *result = stack[0];
        return true;
    }

    const FormulaCellsRead& formula_cells_read() const { return read_; }
    bool read_any() const { return read_any_; }
    const CellRange& last_rectangle() const { return last_rectangle_; }

private:
    void note_formula_cell(const uint8_t* cell, int16_t row, int16_t column) {
        if (_cellType_(cell) != kCellFormula) return;
        if (row == origin_.v && column == origin_.h) read_.own = true;
        else if (row < origin_.v || (row == origin_.v && column < origin_.h)) read_.before = true;
        else read_.after = true;
    }

    // The value of a stored cell; false for a text.
    bool value_of(const uint8_t* cell, int16_t row, int16_t column, ReadValue* value) {
        note_formula_cell(cell, row, column);
        StoredValue stored;
        if (!stored_value(cell, &stored) || stored.type == kValueEmpty) return true;
        if (stored.type == kValueText) return false;
        value->number = stored.number;
        value->type = stored.type;
        return true;
    }

    bool read_cell(CellPoint where, ReadValue* value) {
        note_rectangle(CellRange{where, where});
        if (where.v < 0 || where.h < 0) return false;  // the reference error: the evaluator's
        const uint8_t* cell = find_held_cell(cells_, where);
        return !cell || value_of(cell, where.v, where.h, value);
    }

    // The sum of a range's stored numbers, row by row, as the range walk
    // adds them.
    bool sum_range(const Corner* corners, double* sum) {
        const CellRange rect{corners[0].at(origin_), corners[1].at(origin_)};
        note_rectangle(rect);
        const int16_t layer = cells_.sheet->layer_id;
        if (!cell_in_grid(rect.topLeft.v, rect.topLeft.h) || !cell_in_grid(rect.botRight.v, rect.botRight.h) ||
            rect.topLeft.v > rect.botRight.v || rect.topLeft.h > rect.botRight.h || layer < 0 || layer >= kMaxLayers ||
            !cells_.rows)
            return false;
        const uint8_t* store_end = cells_.start + cells_.size;
        const int32_t last = std::min<int32_t>(rect.botRight.v, cells_.sheet->last_row);
        for (int32_t r = rect.topLeft.v; r <= last; ++r) {
            const uint32_t entry = cells_.rows[r];
            if (!entry) continue;
            const uint8_t* row = cells_.start + entry - 1;
            if (!row_fits(row, store_end) || _RowID_(row) != r) return false;
            if (!sum_row(row, int16_t(r), rect, sum)) return false;
        }
        return true;
    }

    bool sum_row(const uint8_t* row, int16_t id, const CellRange& rect, double* sum) {
        const uint8_t* row_end = row + _RowLength_(row);
        for (const uint8_t* cell = row + kRowHeaderSize; int16_t length = cell_fits(cell, row_end); cell += length) {
            const int16_t column = _cellID_(cell);
            if (column > rect.botRight.h) break;
            if (column < rect.topLeft.h) continue;
            ReadValue value;
            if (!value_of(cell, id, column, &value)) return false;
            if (value.type != kValueEmpty) *sum = arithmetic(*sum, value.number, kOpAdd);
        }
        return true;
    }

    void note_rectangle(const CellRange& rect) {
        last_rectangle_ = rect;
        read_any_ = true;
    }

    const HeldLayerCells& cells_;
    const CellPoint origin_;
    CellRange last_rectangle_{};
    FormulaCellsRead read_;
    bool read_any_ = false;
};

// The registers as the evaluator leaves them after a number result.
void set_number_result(double value, const ProgramRunner& runner, const HeldLayerCells& cells,
                       const uint8_t* formula_end) {
    g_value = value;
    g_valueType = g_resultType = kValueNumber;
    g_CellString[0] = 0;
    g_AccessError = 0;
    g_layerWorkSheet = g_calcWork;
    if (runner.read_any()) {
        g_rangeRect = runner.last_rectangle();
        g_layerRange[0] = g_layerRange[1] = cells.sheet->layer_id;
    }
    mark_scalar();
    g_formulaPtr = formula_end + 1;
    g_endPtr = formula_end;
    Ch = 0;
    Sy = kSyEnd;
    Op = kOpNone;
}

}  // namespace

bool run_formula_program(const uint8_t* formula, int32_t length, const HeldLayerCells& cells, FormulaCellsRead* read) {
    const ProgramTable::Program program = program_table().find_or_decode(formula, length);
    if (program.count == 0 || cells.layer != g_calcSheet) return false;
    ProgramRunner runner(cells);
    double result = 0;
    if (!runner.run(program.steps, program.count, &result)) return false;
    set_number_result(result, runner, cells, formula + length);
    *read = runner.formula_cells_read();
    return true;
}

bool has_formula_program(const uint8_t* formula, int32_t length) {
    return program_table().find_or_decode(formula, length).count != 0;
}

void forget_formula_programs() { program_table().clear(); }
