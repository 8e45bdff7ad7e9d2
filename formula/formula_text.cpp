// Stored formulas back to text.
#include "formula/formula_text.h"

#include <cstring>

#include "core/number_text.h"
#include "core/string_utils.h"
#include "model/compiled_formula.h"
#include "formula/function_table.h"
#include "formula/reference_text.h"
#include "model/calc_globals.h"
#include "model/layer.h"
#include "platform/resources/resources.h"
#include "formula/range_string.h"

namespace {

// The layer parts a formula's text writes: every one, or none for a
// reference to the formula's own layer.
enum class LayerParts : uint8_t { every, other_layers };

struct TextOut {
    MemoryRef block;
    LayerParts parts;
    bool of_link = false;  // the reference to come is of a linked document
};

void put_bytes(TextOut& out, const uint8_t* bytes, int32_t count) {
    if (count > 0) PtrAndMemory(bytes, out.block, count);
}

void put_byte(TextOut& out, uint8_t byte) { put_bytes(out, &byte, 1); }

void put_pstring(TextOut& out, const unsigned char* text) { put_bytes(out, text + 1, text[0]); }

// An item of the formula-text string list.
void put_item(TextOut& out, int item) {
    const std::string text = pf::get_indexed_string(kCalcStrings, item);
    put_bytes(out, reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size()));
}

void put_number(TextOut& out, int32_t number) {
    unsigned char digits[16];
    Num_To_String(number, digits);
    put_pstring(out, digits);
}

bool in_grid(int32_t value) { return value >= 0 && value <= kLastCell; }

int32_t adjusted(int16_t stored, bool absolute, int32_t origin) { return absolute ? stored : stored + origin; }

void put_layers(TextOut& out, const StoredReference& ref, MemoryRef layer) {
    const int32_t own = layer ? GetSheetID(layer) : 0;
    const uint8_t m = ref.layer_marker;
    const bool known = is_position_marker(m);
    const bool first_absolute = !known || marker_second_absolute(m);
    const bool last_absolute = !known || marker_first_absolute(m);
    const int32_t first = known ? adjusted(ref.first_layer, first_absolute, own) : ref.first_layer;
    const int32_t last = known ? adjusted(ref.last_layer, last_absolute, own) : ref.last_layer;
    if (out.parts == LayerParts::other_layers && !out.of_link && layer && first == own && last == own) return;
    auto put_layer = [&](int32_t index, bool absolute) {
        if (!in_grid(index)) {
            put_item(out, kOffSheetItem);
            return;
        }
        if (absolute && known) put_byte(out, '$');
        put_number(out, index + 1);
    };
    put_layer(first, first_absolute);
    // One layer is written once only when both of its marks agree.
    if (first != last || (known && first_absolute != last_absolute)) {
        put_byte(out, ':');
        put_layer(last, last_absolute);
    }
    put_byte(out, ':');
}

// Whether the worksheet's text of a range parses back to a range with the
// same corners and marks: it shows one corner alone when both are the same
// cell, and leaves out the rows of whole columns and the columns of whole
// rows, which read back as absolute.
bool range_text_reads_back(const CellRange& range, const bool absolute[4]) {
    if (range.topLeft == range.botRight) return false;
    if (range.topLeft.h == 0 && range.botRight.h == kLastCell) return absolute[1] && absolute[3];
    if (range.topLeft.v == 0 && range.botRight.v == kLastCell) return absolute[0] && absolute[2];
    return true;
}

void put_corner(TextOut& out, CellPoint corner, bool row_absolute, bool column_absolute) {
    const CellRange cell{corner, corner};
    const bool absolute[4] = {row_absolute, column_absolute, row_absolute, column_absolute};
    unsigned char text[256];
    RangeString(text, &cell, absolute, nullptr);
    put_pstring(out, text);
}

void put_cells(TextOut& out, const StoredReference& ref, CellPoint at) {
    bool absolute[4];
    int32_t corners[4];
    const int16_t stored[4] = {ref.top, ref.left, ref.bottom, ref.right};
    for (int i = 0; i < 4; ++i) {
        const uint8_t marker = ref.markers[i / 2];
        const bool known = is_position_marker(marker);
        const bool row = i % 2 == 0;
        absolute[i] = !known || (row ? marker_first_absolute(marker) : marker_second_absolute(marker));
        corners[i] = known ? adjusted(stored[i], absolute[i], row ? at.v : at.h) : stored[i];
        if (!known) absolute[i] = false;
    }
    for (int32_t c : corners)
        if (!in_grid(c)) {
            put_item(out, kOffSheetItem);
            return;
        }
    CellRange range{{int16_t(corners[0]), int16_t(corners[1])}, {int16_t(corners[2]), int16_t(corners[3])}};
    unsigned char text[256];
    if (ref.kind == ReferenceKind::range && !range_text_reads_back(range, absolute)) {
        put_corner(out, range.topLeft, absolute[0], absolute[1]);
        put_byte(out, ':');
        put_corner(out, range.botRight, absolute[2], absolute[3]);
        return;
    }
    RangeString(text, &range, absolute, nullptr);
    put_pstring(out, text);
}

void put_reference(TextOut& out, const StoredReference& ref, CellPoint at, MemoryRef layer) {
    if (ref.three_d) put_layers(out, ref, layer);
    if (ref.kind == ReferenceKind::name)
        put_pstring(out, ref.name);
    else
        put_cells(out, ref, at);
}

void put_link(TextOut& out, int16_t link, MemoryRef layer) {
    unsigned char name[256];
    name[0] = 0;
    if (layer) GetFileStr(link, name, layer);
    put_byte(out, '\'');
    if (name[0])
        put_pstring(out, name);
    else
        put_item(out, kUnknownLinkItem);
    put_byte(out, '\'');
    put_byte(out, '!');
}

void put_token(TextOut& out, const FormulaToken& token, CellPoint at, MemoryRef layer) {
    switch (token.kind) {
    case FormulaTokenKind::small_int:
        put_number(out, token.value);
        return;
    case FormulaTokenKind::function:
        put_pstring(out, function_name(token.value));
        return;
    case FormulaTokenKind::link:
        put_link(out, token.value, layer);
        out.of_link = true;
        return;
    case FormulaTokenKind::reference:
        put_reference(out, token.ref, at, layer);
        out.of_link = false;
        return;
    case FormulaTokenKind::text:
        put_bytes(out, token.start, token.length);
        return;
    default:
        break;
    }
    for (int32_t i = 0; i < token.length; ++i) {
        uint8_t byte = token.start[i];
        if (byte == '.') byte = decimalPt;
        else if (byte == ',' && token.kind == FormulaTokenKind::op) byte = listSep;
        put_byte(out, byte);
    }
}

MemoryRef formula_text(int32_t cell, const uint8_t* first, const uint8_t* end, MemoryRef layer,
                       MemoryGlobals* memory, LayerParts parts) {
    if (!memory) memory = layer ? GetMemoryGlobals(layer) : &mem_globals;
    TextOut out{pgAllocateNewRef(memory, 1, 0, 255, false), parts};
    if (!out.block) return nullptr;
    const CellPoint at{int16_t(cell & 0xFFFF), int16_t((cell >> 16) & 0xFFFF)};
    for (const uint8_t* p = first; p < end;) {
        FormulaToken token = read_formula_token(p, end);
        if (token.kind == FormulaTokenKind::malformed) {
            // A token cut short by the end: its bytes as they stand.
            put_bytes(out, p, int32_t(end - p));
            break;
        }
        put_token(out, token, at, layer);
        p += token.length;
    }
    return out.block;
}

}  // namespace

MemoryRef Interpret(int32_t cell, const uint8_t* first, const uint8_t* end, MemoryRef layer,
                    MemoryGlobals* memory) {
    return formula_text(cell, first, end, layer, memory, LayerParts::every);
}

MemoryRef layer_file_formula_text(int32_t cell, const uint8_t* first, const uint8_t* end, MemoryRef layer,
                                  MemoryGlobals* memory) {
    return formula_text(cell, first, end, layer, memory, LayerParts::other_layers);
}
