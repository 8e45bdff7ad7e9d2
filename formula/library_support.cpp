// Shared reading and result routines of the worksheet functions.
#include "formula/library_support.h"

#include <algorithm>
#include <compare>
#include <cstring>
#include <map>

#include "core/number_text.h"
#include "formula/arguments.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "model/calc_globals.h"

HeldValue hold_value() {
    HeldValue held;
    held.value = g_value;
    held.type = g_valueType;
    std::memcpy(held.text, g_CellString, g_CellString[0] + 1);
    held.script = g_textScript;
    return held;
}

void restore_value(const HeldValue& held) {
    g_value = held.value;
    g_valueType = held.type;
    std::memcpy(g_CellString, held.text, held.text[0] + 1);
    g_textScript = held.script;
}

HeldRange hold_range() {
    HeldRange held;
    held.is_range = !value_is_scalar();
    held.rect = g_rangeRect;
    held.first_layer = g_layerRange[1];
    held.last_layer = g_layerRange[0];
    held.workbook = g_layerWorkSheet;
    return held;
}

void select_range(const HeldRange& range) {
    g_rangeRect = range.rect;
    g_layerRange[0] = range.last_layer;
    g_layerRange[1] = range.first_layer;
    g_layerWorkSheet = range.workbook;
}

void number_result(double value) {
    g_value = value;
    g_CellString[0] = 0;
    mark_scalar();
    SetNValue();
}

void error_result(int16_t code) { number_result(N_AN(code)); }

void text_result(const unsigned char* text, int16_t script) {
    std::memmove(g_CellString, text, text[0] + 1);
    g_textScript = script;
    mark_scalar();
    SetTextValue();
    c_InSymbol();
}

void held_result(const HeldValue& held) {
    restore_value(held);
    mark_scalar();
    g_resultType = held.type;
    c_InSymbol();
}

bool argument_text(unsigned char* text, double* error) {
    if (g_valueType == kValueText) {
        std::memmove(text, g_CellString, g_CellString[0] + 1);
        return true;
    }
    if (g_valueType == kValueEmpty) {
        text[0] = 0;
        return true;
    }
    double value = g_value;
    if (checkValue(&value) != 0) {
        *error = value;
        return false;
    }
    ExtendedtoStr(text, &value, -1, true, true, decimalPt);
    return true;
}

int16_t argument_text_script() { return g_valueType == kValueText ? g_textScript : int16_t(0); }

namespace {

struct JoiningCell {
    MemoryRef layer;
    CellPoint where;
    auto operator<=>(const JoiningCell& other) const {
        if (layer != other.layer) return std::compare_three_way()(layer, other.layer);
        if (where.v != other.where.v) return where.v <=> other.where.v;
        return where.h <=> other.where.h;
    }
};

// Each formula cell's characters lost in a join, its most in one join.
std::map<JoiningCell, int32_t> unspelled_joins;
// The causes already taken: what each cell lost when it was.
std::map<JoiningCell, int32_t> told_joins;

}  // namespace

void join_register_texts(const unsigned char* left, int16_t left_script, const unsigned char* right,
                         int16_t right_script, unsigned char* out, int16_t* script) {
    int32_t unspelled = 0;
    *script = join_texts(left, left_script, right, right_script, out, &unspelled);
    note_unspelled_characters(unspelled);
}

void note_unspelled_characters(int32_t count) {
    if (count == 0) return;
    int32_t& noted = unspelled_joins[JoiningCell{g_calcSheet, g_calcCell}];
    noted = std::max(noted, count);
}

int32_t unspelled_join_characters() {
    int32_t total = 0;
    for (const auto& [cell, characters] : unspelled_joins) total += characters;
    return total;
}

void clear_unspelled_joins() {
    unspelled_joins.clear();
    told_joins.clear();
}

int32_t take_untold_unspelled_joins() {
    int32_t total = 0;
    for (const auto& [cell, characters] : unspelled_joins) {
        auto [told, added] = told_joins.try_emplace(cell, characters);
        if (!added && told->second == characters) continue;
        told->second = characters;
        total += characters;
    }
    unspelled_joins.clear();
    return total;
}

void read_numbers(double* values, int count, bool first) {
    for (int i = 0; i < count; ++i) {
        if (first && i == 0)
            GetNextValue();
        else
            AdvValue();
        values[i] = g_value;
    }
}

double optional_number(double fallback) {
    if (!more_arguments()) return fallback;
    AdvValue();
    return g_value;
}

bool read_argument_noting_reference(bool first) {
    if (first) c_InSymbol();  // the "("
    g_CellString[0] = 0;
    g_value = 0;
    g_valueType = kValueEmpty;
    mark_scalar();
    c_InSymbol();
    bool reference = Sy == kSyReference;
    c_Expression();
    if (reference && value_is_scalar()) g_rangeRect.topLeft = g_rangeRect.botRight;
    return reference;
}

void copy_register_text(unsigned char* text) { std::memcpy(text, g_CellString, g_CellString[0] + 1); }

bool argument_is_number() { return g_valueType == kValueNumber; }
