// The evaluator: the stored-token reader and the levels of the descent.
#include "formula/evaluator.h"

#include <cfenv>
#include <cmath>
#include <cstring>

#include "core/number_text.h"
#include "formula/arithmetic.h"
#include "formula/cell_values.h"
#include "model/compiled_formula.h"
#include "formula/error_values.h"
#include "formula/library_support.h"
#include "formula/parser.h"
#include "formula/reference_text.h"
#include "model/calc_globals.h"
#include "model/date_serials.h"
#include "model/layer.h"
#include "model/links.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "platform/text/text.h"

namespace {

// Set when a concatenation meets an error on its left: the evaluation of the
// formula stops there with that error as its result.
bool evaluation_stopped = false;
double stopped_value = 0.0;
int expression_depth = 0;

void stop_evaluation(double error) {
    evaluation_stopped = true;
    stopped_value = error;
    g_formulaPtr = g_endPtr + 1;
    Ch = 0;
    Sy = kSyEnd;
    Op = kOpNone;
}

void mark_number_result() {
    g_valueType = kValueNumber;
    g_resultType = kValueNumber;
    mark_scalar();
}

int16_t resolve(int16_t stored, bool absolute, int16_t origin) {
    return absolute ? stored : int16_t(stored + origin);
}

void resolve_corners(const StoredReference& ref) {
    const CellPoint at = g_calcCell;
    g_rangeRect.topLeft.v = resolve(ref.top, marker_first_absolute(ref.markers[0]), at.v);
    g_rangeRect.topLeft.h = resolve(ref.left, marker_second_absolute(ref.markers[0]), at.h);
    g_rangeRect.botRight.v = resolve(ref.bottom, marker_first_absolute(ref.markers[1]), at.v);
    g_rangeRect.botRight.h = resolve(ref.right, marker_second_absolute(ref.markers[1]), at.h);
}

// A named range of the formula's layer into g_rangeRect; false, with the
// reference error as the value, when there is none.
bool resolve_name(const StoredReference& ref) {
    unsigned char name[kNamedRangeNameSize];
    name[0] = ref.name[0] < kNamedRangeNameSize ? ref.name[0] : kNamedRangeNameSize - 1;
    std::memcpy(name + 1, ref.name + 1, name[0]);
    CellRange rect{};
    if (!MatchRangeStr(name, &rect, g_calcSheet)) {
        SetError(kErrRef);
        mark_scalar();
        return false;
    }
    g_rangeRect = rect;
    return true;
}

void read_flat_reference(const StoredReference& ref) {
    if (ref.kind == ReferenceKind::name) {
        if (!resolve_name(ref)) return;
        GetCellValue(g_rangeRect.topLeft);
        if (g_rangeRect.topLeft == g_rangeRect.botRight) mark_scalar();
        return;
    }
    resolve_corners(ref);
    GetCellValue(g_rangeRect.topLeft);
    if (ref.kind == ReferenceKind::cell) mark_scalar();
}

bool layer_exists(MemoryRef workbook, int16_t index) {
    return workbook && index >= 0 && index < num_SpreadSheets(workbook);
}

void read_three_d_reference(const StoredReference& ref) {
    const int16_t own = calc_layer_id();
    int16_t first = resolve(ref.first_layer, marker_second_absolute(ref.layer_marker), own);
    int16_t last = resolve(ref.last_layer, marker_first_absolute(ref.layer_marker), own);
    g_layerRange[0] = last;
    g_layerRange[1] = first;
    if (ref.kind == ReferenceKind::name) {
        if (!layer_exists(g_calcWork, first)) {
            SetError(kErrRef);
            mark_scalar();
            return;
        }
        if (!resolve_name(ref)) return;
    } else {
        resolve_corners(ref);
    }
    // A three-dimensional cell stays a range, so that functions over ranges
    // walk it across the layers.
    CellRange rect = g_rangeRect;
    GetLayerValue(g_layerWorkSheet, first, rect.topLeft, 0);
    g_rangeRect = rect;
}

void read_reference(const FormulaToken& token) {
    Sy = kSyReference;
    const int16_t own = calc_layer_id();
    g_layerRange[0] = g_layerRange[1] = own;
    if (token.ref.three_d)
        read_three_d_reference(token.ref);
    else
        read_flat_reference(token.ref);
}

// A link: the linked workbook when it is open; the reference follows.
void read_link(const FormulaToken& link) {
    MemoryRef linked = nullptr;
    if (!g_calcSheet || !find_link_workbook(g_calcSheet, link.value, &linked)) {
        linked = nullptr;
        g_AccessError = 1;
    }
    g_formulaPtr = link.start + link.length;
    AdvPChar();
    if (g_formulaPtr - 1 >= g_endPtr || Ch != kTokReference) {
        Sy = kSyEnd;
        return;
    }
    FormulaToken token = read_formula_token(g_formulaPtr - 1, g_endPtr);
    if (token.kind != FormulaTokenKind::reference) {
        Sy = kSyEnd;
        return;
    }
    g_layerWorkSheet = linked;
    g_formulaPtr = token.start + token.length;
    AdvPChar();
    read_reference(token);
}

void read_text_constant(const FormulaToken& token) {
    Sy = kSyText;
    int32_t length = token.length - 2;
    if (length > 255) length = 255;
    g_CellString[0] = uint8_t(length);
    std::memcpy(g_CellString + 1, token.start + 1, size_t(length));
    g_valueType = kValueText;
    g_textScript = plain_ascii(g_CellString) ? pf::kScriptRoman : calc_cell_script();
    g_value = number_of_text(g_CellString);
}

void read_number_text(const FormulaToken& token) {
    Sy = kSyNumber;
    double value = 0;
    if (decimal_text_to_double(reinterpret_cast<const char*>(token.start), token.length, &value) == 0)
        value = g_StdErr;
    g_value = value;
    g_valueType = kValueNumber;
    g_resultType = kValueNumber;
}

void set_operator(int16_t sy, int16_t op) {
    Sy = sy;
    Op = op;
}

void read_comparison(const FormulaToken& token) {
    uint8_t first = token.start[0];
    uint8_t second = token.length == 2 ? token.start[1] : 0;
    Sy = kSyCompare;
    switch (first) {
    case '=': Op = kOpEqual; break;
    case kNotEqualSign: Op = kOpNotEqual; break;
    case kLessEqualSign: Op = kOpLessEqual; break;
    case kGreaterEqualSign: Op = kOpGreaterEqual; break;
    case '<': Op = second == '>' ? kOpNotEqual : second == '=' ? kOpLessEqual : kOpLessThan; break;
    default: Op = second == '=' ? kOpGreaterEqual : kOpGreaterThan; break;
    }
}

void read_operator(const FormulaToken& token) {
    switch (token.start[0]) {
    case '+': set_operator(kSyAdd, kOpAdd); break;
    case '-': set_operator(kSyAdd, kOpSubtract); break;
    case '*': set_operator(kSyMultiply, kOpMultiply); break;
    case '/': case kDivisionSign: set_operator(kSyMultiply, kOpDivide); break;
    case '^': set_operator(kSyPower, kOpNone); break;
    case '&': set_operator(kSyConcat, kOpNone); break;
    case '(': set_operator(kSyOpen, kOpNone); break;
    case ')': set_operator(kSyClose, kOpNone); break;
    case ',': set_operator(kSySeparator, kOpNone); break;
    case '=': case '<': case '>': case kNotEqualSign: case kLessEqualSign: case kGreaterEqualSign:
        read_comparison(token);
        break;
    default: set_operator(kSyEnd, kOpNone); break;
    }
}

// ---- Concatenation and comparison ----------------------------------------------------

void concatenate() {
    unsigned char left[256];
    double error = 0;
    if (!argument_text(left, &error)) {
        stop_evaluation(error);
        return;
    }
    const int16_t left_script = argument_text_script();
    c_InSymbol();
    c_Expression();
    if (evaluation_stopped) return;
    unsigned char right[256];
    if (!argument_text(right, &error)) {
        mark_number_result();
        return;  // the error on the right is the result
    }
    join_register_texts(left, left_script, right, argument_text_script(), g_CellString, &g_textScript);
    g_value = g_TextErr;
    g_valueType = kValueText;
    g_resultType = kValueText;
    mark_scalar();
}

bool numeric_type(int16_t type) { return type <= kValueEmpty; }
bool text_type(int16_t type) { return type >= kValueEmpty; }

// One side of a comparison; a text with its script.
struct ComparedValue {
    double number;
    int16_t type;
    const unsigned char* text;
    int16_t script;
};

// -1, 0 or 1 for the order of the two sides; `unordered` for a NaN.
int order_of(const ComparedValue& left_side, const ComparedValue& right_side, bool* unordered) {
    const double left = left_side.number, right = right_side.number;
    const int16_t left_type = left_side.type, right_type = right_side.type;
    *unordered = false;
    if (numeric_type(left_type) && numeric_type(right_type)) {
        if (std::isnan(left) || std::isnan(right)) {
            *unordered = true;
            return 0;
        }
        return left < right ? -1 : left > right ? 1 : 0;
    }
    if (text_type(left_type) && text_type(right_type)) {
        unsigned char empty[1] = {0};
        return pf::compare_pstring(left_type == kValueText ? left_side.text : empty, left_side.script,
                                   right_type == kValueText ? right_side.text : empty, right_side.script);
    }
    // A number and a text: the text is greater.
    return left_type == kValueText ? 1 : -1;
}

void compare() {
    const int16_t op = Op;
    const double left = g_value;
    const int16_t left_type = g_valueType;
    const int16_t left_script = argument_text_script();
    unsigned char left_text[256];
    std::memcpy(left_text, g_CellString, g_CellString[0] + 1);
    c_InSymbol();
    c_Expression();
    if (evaluation_stopped) return;
    bool unordered = false;
    bool mixed = numeric_type(left_type) != numeric_type(g_valueType) && !(left_type == 0 || g_valueType == 0);
    int order = order_of({left, left_type, left_text, left_script},
                         {g_value, g_valueType, g_CellString, argument_text_script()}, &unordered);
    bool result = false;
    switch (op) {
    case kOpEqual: result = !unordered && !mixed && order == 0; break;
    case kOpNotEqual: result = unordered || mixed || order != 0; break;
    case kOpLessThan: result = !unordered && order < 0; break;
    case kOpGreaterThan: result = !unordered && order > 0; break;
    case kOpLessEqual: result = !unordered && order <= 0; break;
    default: result = !unordered && order >= 0; break;
    }
    g_value = result ? 1.0 : g_zero;
    g_valueType = kValueNumber;
    g_resultType = kValueEmpty;
    g_CellString[0] = 0;
    mark_scalar();
}

}  // namespace

void c_InSymbol() {
    while (Ch == ' ') AdvPChar();
    const uint8_t* at = g_formulaPtr - 1;
    if (evaluation_stopped || at >= g_endPtr || Ch < 33 || Ch > 214) {
        set_operator(kSyEnd, kOpNone);
        return;
    }
    FormulaToken token = read_formula_token(at, g_endPtr);
    if (token.kind == FormulaTokenKind::malformed) {
        // A damaged formula cut inside a token: its value is no number.
        SetError(kErrRef);
        set_operator(kSyEnd, kOpNone);
        return;
    }
    if (token.kind == FormulaTokenKind::link) {
        read_link(token);
        return;
    }
    g_formulaPtr = at + token.length;
    AdvPChar();
    Op = kOpNone;
    switch (token.kind) {
    case FormulaTokenKind::small_int:
        Sy = kSyNumber;
        g_value = token.value;
        g_valueType = kValueNumber;
        return;
    case FormulaTokenKind::number:
        read_number_text(token);
        return;
    case FormulaTokenKind::text:
        read_text_constant(token);
        return;
    case FormulaTokenKind::function:
        Sy = kSyFunction;
        g_functionNum = token.value;
        return;
    case FormulaTokenKind::reference:
        g_layerWorkSheet = g_calcWork;
        read_reference(token);
        return;
    default:
        break;
    }
    if (token.start[0] == '%') {
        g_value /= 100.0;
        c_InSymbol();
        return;
    }
    read_operator(token);
}

void c_Factor() {
    switch (Sy) {
    case kSyOpen:
        c_InSymbol();
        c_Expression();
        if (Sy == kSyClose) c_InSymbol();
        return;
    case kSyArgument:
        c_InSymbol();
        c_Expression();
        return;
    case kSyText:
    case kSyNumber:
    case kSyReference:
        c_InSymbol();
        return;
    case kSyFunction:
        c_FuncTerm();
        return;
    default:
        return;
    }
}

void c_ExpTerm() {
    c_Factor();
    while (Sy == kSyPower) {
        double left = g_value;
        c_InSymbol();
        bool negate = false;
        if (Sy == kSyAdd) {
            negate = Op == kOpSubtract;
            c_InSymbol();
        }
        c_Factor();
        if (negate) g_value = -g_value;
        g_value = arithmetic(left, g_value, kOpNone);
        mark_number_result();
    }
}

void c_MultTerm() {
    c_ExpTerm();
    while (Sy == kSyMultiply) {
        int16_t op = Op;
        double left = g_value;
        c_InSymbol();
        bool negate = false;
        if (Sy == kSyAdd && Op == kOpSubtract) {
            negate = true;
            c_InSymbol();
        }
        c_ExpTerm();
        if (negate) g_value = -g_value;
        g_value = arithmetic(left, g_value, op);
        mark_number_result();
    }
}

void c_AddTerm() {
    bool negate = false;
    if (Sy == kSyAdd) {
        negate = Op == kOpSubtract;
        c_InSymbol();
        // A sign before a number constant belongs to the constant: -2^2 is 4.
        if (negate && Sy == kSyNumber) {
            g_value = -g_value;
            negate = false;
        }
    }
    c_MultTerm();
    if (negate) {
        g_value = -g_value;
        mark_number_result();
    }
    while (Sy == kSyAdd) {
        int16_t op = Op;
        double left = g_value;
        c_InSymbol();
        c_MultTerm();
        g_value = arithmetic(left, g_value, op);
        mark_number_result();
    }
}

void c_Expression() {
    // A formula nested past what the parser accepts (a damaged one) stops.
    if (++expression_depth > kMaxExpressionDepth) {
        stop_evaluation(N_AN(kErrValue));
        --expression_depth;
        return;
    }
    c_AddTerm();
    if (!evaluation_stopped && Sy == kSyConcat)
        concatenate();
    else if (!evaluation_stopped && Sy == kSyCompare)
        compare();
    --expression_depth;
}

namespace {

void evaluate(const uint8_t* formula, int32_t length) {
    g_CellString[0] = 0;
    g_value = 0.0;
    g_resultType = g_valueType = kValueEmpty;
    g_AccessError = 0;
    g_layerWorkSheet = g_calcWork;
    mark_scalar();
    evaluation_stopped = false;
    expression_depth = 0;
    g_formulaPtr = formula;
    g_endPtr = formula + length;
    AdvPChar();
    if (Ch == '=') AdvPChar();
    c_InSymbol();
    if (Sy != kSyEnd) c_Expression();
    if (evaluation_stopped) {
        g_value = stopped_value;
        g_CellString[0] = 0;
        g_valueType = g_resultType = kValueNumber;
        evaluation_stopped = false;
    }
    if (g_resultType == kValueEmpty) g_resultType = g_valueType;
}

}  // namespace

void Calculate(const uint8_t* formula, int32_t length) {
    // No floating-point exception may trap during the evaluation: its faults
    // are error values. Holding the environment costs as much as a short
    // formula, so it is held only when some exception would trap; otherwise
    // the flags simply accumulate. A held environment is restored without
    // the flags the evaluation raised, since setting them with traps enabled
    // would trap at the next floating-point instruction.
    const bool traps_enabled = fegetexcept() != 0;
    std::fenv_t environment;
    if (traps_enabled) std::feholdexcept(&environment);
    evaluate(formula, length);
    if (traps_enabled) std::fesetenv(&environment);
}

void calculate_without_traps(const uint8_t* formula, int32_t length) { evaluate(formula, length); }
