// A bounded walk over a stored formula that finds every 16-bit operand (small
// integers, link ids, rows, columns and layers) and every link id, and refuses
// a formula that is not well formed: a token or reference running past the
// end, a text constant without its closing quote, a function number outside
// 1..143, a link not followed by a reference, an unknown reference marker, or
// a name of no or more than 31 characters.
#pragma once

#include <cstdint>

struct FormulaWalk {
    void (*word)(uint8_t* operand, void* context);    // every 16-bit operand, or null
    void (*link)(uint8_t* link_id, void* context);    // the id after a link token, or null
    void* context;
};

// True when the formula is well formed; the callbacks have then seen every
// operand. A false answer may come after some callbacks.
bool walk_stored_formula(uint8_t* body, int32_t length, const FormulaWalk& walk);
