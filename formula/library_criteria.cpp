// The conditional sum and count: a criterion typed as text (">=3", "<>x",
// "B2") or given as a value, tested against every cell of a range.
#include <charconv>
#include <cstring>
#include <vector>

#include "formula/arguments.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/function_values.h"
#include "formula/library.h"
#include "formula/library_support.h"
#include "formula/lookup_support.h"
#include "model/calc_globals.h"
#include "model/workbook.h"

namespace {

enum class CriterionOp { equal, not_equal, less, greater, at_most, at_least };

struct Criterion {
    CriterionOp op = CriterionOp::equal;
    bool is_number = true;
    double number = 0;
    TextBuffer text = {0};
    int16_t script = 0;
};

// The run of operators and spaces at the start of a criterion text; the
// index of the first byte after it.
int read_operators(const unsigned char* text, CriterionOp* op) {
    int i = 1;
    while (i <= text[0]) {
        unsigned char c = text[i], next = i < text[0] ? text[i + 1] : 0;
        if (c == ' ') {
            i += 1;
        } else if (c == '<' && next == '>') {
            *op = CriterionOp::not_equal, i += 2;
        } else if (c == '<' && next == '=') {
            *op = CriterionOp::at_most, i += 2;
        } else if (c == '>' && next == '=') {
            *op = CriterionOp::at_least, i += 2;
        } else if (c == '<') {
            *op = CriterionOp::less, i += 1;
        } else if (c == '>') {
            *op = CriterionOp::greater, i += 1;
        } else if (c == '=') {
            *op = CriterionOp::equal, i += 1;
        } else {
            break;
        }
    }
    return i;
}

bool numeric_character(unsigned char c) {
    return c == ' ' || c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 'E' || c == 'e' ||
           c == decimalPt;
}

// The text as a number when it is made only of the characters of one. False
// when it is not; a number beyond the doubles is the "#NUM!" value.
bool parse_for_numericvalue(const unsigned char* text, double* number) {
    char digits[256];
    int n = 0;
    for (int i = 1; i <= text[0]; ++i) {
        if (!numeric_character(text[i])) return false;
        if (text[i] == ' ') continue;
        digits[n++] = text[i] == decimalPt ? '.' : static_cast<char>(text[i]);
    }
    const char* start = digits;
    if (n > 0 && digits[0] == '+') ++start;
    auto [end, error] = std::from_chars(start, digits + n, *number);
    if (error == std::errc::result_out_of_range) {
        *number = N_AN(kErrNum);
        return true;
    }
    return error == std::errc() && end == digits + n;
}

// A typed criterion: operators, then a number, a reference or a text. False
// for a number that no double holds.
bool parse_if_criteria(const unsigned char* typed, Criterion* criterion) {
    int rest_start = read_operators(typed, &criterion->op);
    TextBuffer rest;
    rest[0] = static_cast<unsigned char>(typed[0] - rest_start + 1);
    std::memcpy(rest + 1, typed + rest_start, rest[0]);
    if (rest[0] > 0 && parse_for_numericvalue(rest, &criterion->number))
        return !is_error_value(criterion->number);
    if (rest[0] > 0 && find_referenceCell(rest) > 0) {
        // A cell named in the criterion: its number, or its text.
        criterion->is_number = g_valueType != kValueText;
        criterion->number = g_valueType == kValueNumber ? g_value : 0;
        copy_register_text(criterion->text);
        return true;
    }
    criterion->is_number = false;
    std::memcpy(criterion->text, rest, rest[0] + 1);
    return true;
}

bool order_matches(CriterionOp op, int order) {
    switch (op) {
    case CriterionOp::equal: return order == 0;
    case CriterionOp::not_equal: return order != 0;
    case CriterionOp::less: return order < 0;
    case CriterionOp::greater: return order > 0;
    case CriterionOp::at_most: return order <= 0;
    case CriterionOp::at_least: return order >= 0;
    }
    return false;
}

// The value in the registers against the criterion.
bool cell_matches(const Criterion& criterion) {
    if (criterion.is_number && g_valueType == kValueNumber) {
        if (is_error_value(criterion.number)) return false;
        if (is_error_value(g_value)) return criterion.op == CriterionOp::not_equal;
        return order_matches(criterion.op, g_value < criterion.number ? -1 : g_value > criterion.number ? 1 : 0);
    }
    if (!criterion.is_number && g_valueType == kValueText)
        return order_matches(criterion.op, LookupCompareText(g_CellString, g_textScript, criterion.text, criterion.script));
    return criterion.op == CriterionOp::not_equal;
}

// The criterion from the current argument: 0, or the error code of a value
// that cannot be one.
int16_t read_criterion(Criterion* criterion) {
    if (g_valueType == kValueText) {
        TextBuffer typed;
        copy_register_text(typed);
        criterion->script = argument_text_script();
        return parse_if_criteria(typed, criterion) ? 0 : kErrNum;
    }
    if (g_valueType != kValueNumber && g_valueType != kValueEmpty) return kErrNA;
    criterion->number = g_valueType == kValueEmpty ? 0 : g_value;
    return 0;
}

// A cell's place relative to a range's first layer and top-left, ordered as
// the walk visits cells.
int64_t place_key(int32_t layer, int32_t row, int32_t column) {
    return (int64_t(layer) << 32) | (int64_t(row) << 16) | int64_t(column);
}

struct CriteriaWalk {
    const Criterion* criterion;
    HeldRange range;
    int32_t count = 0;
    std::vector<int64_t>* matches = nullptr;  // places of the matching cells, for the sum
};

bool test_cell(void* context) {
    auto& walk = *static_cast<CriteriaWalk*>(context);
    if (!cell_matches(*walk.criterion)) return true;
    walk.count += 1;
    if (walk.matches)
        walk.matches->push_back(place_key(g_walkLayer - walk.range.first_layer, g_walkCell.v - walk.range.rect.topLeft.v,
                                          g_walkCell.h - walk.range.rect.topLeft.h));
    return true;
}

struct SumWalk {
    HeldRange range;
    const std::vector<int64_t>* matches;
    size_t next = 0;
    double total = 0;
};

bool add_matching_cell(void* context) {
    auto& walk = *static_cast<SumWalk*>(context);
    int64_t key = place_key(g_walkLayer - walk.range.first_layer, g_walkCell.v - walk.range.rect.topLeft.v,
                            g_walkCell.h - walk.range.rect.topLeft.h);
    while (walk.next < walk.matches->size() && (*walk.matches)[walk.next] < key) ++walk.next;
    if (walk.next == walk.matches->size()) return false;
    if ((*walk.matches)[walk.next] == key && g_valueType == kValueNumber && !is_error_value(walk.total))
        walk.total = is_error_value(g_value) ? g_value : walk.total + g_value;
    return true;
}

// The cells of the sum range that stand where the criteria range's cells do:
// its top-left and first layer with the criteria range's extent.
HeldRange sum_area(const HeldRange& sum, const HeldRange& criteria) {
    HeldRange area = sum;
    auto clip = [](int32_t value, int32_t last) { return int16_t(value > last ? last : value); };
    area.rect.botRight.v = clip(sum.rect.topLeft.v + (criteria.rect.botRight.v - criteria.rect.topLeft.v), kLastCell);
    area.rect.botRight.h = clip(sum.rect.topLeft.h + (criteria.rect.botRight.h - criteria.rect.topLeft.h), kLastCell);
    area.last_layer = clip(sum.first_layer + (criteria.last_layer - criteria.first_layer), kMaxLayers - 1);
    return area;
}

void conditional(bool sum) {
    bool criteria_is_range = read_argument_noting_reference(true) || !value_is_scalar();
    HeldRange criteria_range = hold_range();
    AdvValue();
    Criterion criterion;
    int16_t criterion_error = read_criterion(&criterion);
    bool sum_is_range = false;
    HeldRange sum_range{};
    if (sum) {
        sum_is_range = read_argument_noting_reference(false) || !value_is_scalar();
        sum_range = hold_range();
    }
    skip_remaining_arguments();
    if (!criteria_is_range || (sum && !sum_is_range)) {
        error_result(kErrRef);
        return;
    }
    if (criterion_error) {
        error_result(criterion_error);
        return;
    }
    std::vector<int64_t> matches;
    CriteriaWalk walk{&criterion, criteria_range, 0, sum ? &matches : nullptr};
    select_range(criteria_range);
    walk_range_cells(&walk, test_cell);
    if (!sum) {
        number_result(walk.count);
        return;
    }
    SumWalk adding{sum_area(sum_range, criteria_range), &matches};
    select_range(adding.range);
    if (!matches.empty()) walk_range_cells(&adding, add_matching_cell);
    number_result(adding.total);
}

}  // namespace

void SumIf() { conditional(true); }
void CountIf() { conditional(false); }
