// The operands of a stored formula, found through the formula engine's one
// token reader, with the checks a formula read from a file needs on top.
#include "files/formula_walk.h"

#include <algorithm>

#include "formula/function_table.h"
#include "model/compiled_formula.h"

namespace {

constexpr int kLongestName = 31;

// The walk reads through const pointers into the caller's own bytes.
struct WalkState {
    const FormulaWalk& walk;
    bool link_open = false;  // a link token waits for its reference

    void word_at(const uint8_t* operand) {
        if (walk.word) walk.word(const_cast<uint8_t*>(operand), walk.context);
    }
};

// The 16-bit fields of a reference token and whether its markers and name are sound.
bool visit_reference(WalkState& state, const FormulaToken& token) {
    const StoredReference& ref = token.ref;
    const uint8_t* body = token.start + 1;
    if (ref.three_d) {
        if (!is_position_marker(ref.layer_marker)) return false;
        state.word_at(body + 2), state.word_at(body + 4);
        body += 6;
    }
    switch (ref.kind) {
    case ReferenceKind::cell:
        state.word_at(body + 1), state.word_at(body + 3);
        return true;
    case ReferenceKind::range:
        if (!is_position_marker(ref.markers[0]) || !is_position_marker(ref.markers[1])) return false;
        for (int offset = 3; offset < 11; offset += 2) state.word_at(body + offset);
        return true;
    case ReferenceKind::name:
        return ref.name[0] >= 1 && ref.name[0] <= kLongestName;
    }
    return false;
}

bool visit_token(WalkState& state, const FormulaToken& token) {
    bool after_link = state.link_open;
    state.link_open = false;
    if (after_link && (token.kind != FormulaTokenKind::reference || token.ref.position_only)) return false;
    switch (token.kind) {
    case FormulaTokenKind::small_int:
        state.word_at(token.start + 1);
        return true;
    case FormulaTokenKind::function:
        return worksheet_function(token.start[1]) != nullptr;
    case FormulaTokenKind::link:
        state.word_at(token.start + 1);
        if (state.walk.link) state.walk.link(const_cast<uint8_t*>(token.start + 1), state.walk.context);
        state.link_open = true;
        return true;
    case FormulaTokenKind::reference:
        return visit_reference(state, token);
    default:
        return true;
    }
}

}  // namespace

bool walk_stored_formula(uint8_t* body, int32_t length, const FormulaWalk& walk) {
    if (length < 0) return false;
    WalkState state{walk};
    bool sound = true;
    bool complete = walk_formula(body, length, [&](const FormulaToken& token) {
        sound = visit_token(state, token);
        return sound;
    });
    return complete && sound && !state.link_open;
}

void reference_layers(const StoredReference& ref, int32_t own, int32_t* first, int32_t* last) {
    const uint8_t m = ref.layer_marker;
    const bool known = is_position_marker(m);
    *first = known && !marker_second_absolute(m) ? ref.first_layer + own : ref.first_layer;
    *last = known && !marker_first_absolute(m) ? ref.last_layer + own : ref.last_layer;
}

bool formula_layers_kept(const uint8_t* formula, int32_t length, int32_t own, bool (*kept)(int32_t layer, void* context),
                         void* context) {
    bool after_link = false, all_kept = true;
    walk_formula(formula, length, [&](const FormulaToken& token) {
        if (token.kind == FormulaTokenKind::reference && token.ref.three_d && !after_link) {
            int32_t first = 0, last = 0;
            reference_layers(token.ref, own, &first, &last);
            for (int32_t layer = std::min(first, last); layer <= std::max(first, last) && all_kept; ++layer)
                all_kept = kept(layer, context);
        }
        after_link = token.kind == FormulaTokenKind::link;
        return all_kept;
    });
    return all_kept;
}

bool formula_names_range(const uint8_t* formula, int32_t length) {
    bool after_link = false, named = false;
    walk_formula(formula, length, [&](const FormulaToken& token) {
        named = token.kind == FormulaTokenKind::reference && token.ref.kind == ReferenceKind::name && !after_link;
        after_link = token.kind == FormulaTokenKind::link;
        return !named;
    });
    return named;
}
