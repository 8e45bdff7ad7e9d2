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

struct StoredReference;

// The first and last layer (indexes of the workbook) that a reference with a
// layer part names from the layer with id `own`.
void reference_layers(const StoredReference& ref, int32_t own, int32_t* first, int32_t* last);

// Whether `kept` answers true for every layer that the formula's references
// name from the layer with id `own` (references into a linked document
// aside). A formula that is not well formed answers true: its references are
// not read.
bool formula_layers_kept(const uint8_t* formula, int32_t length, int32_t own, bool (*kept)(int32_t layer, void* context),
                         void* context);

// Whether the formula refers to a named range (a linked document's names aside).
bool formula_names_range(const uint8_t* formula, int32_t length);
