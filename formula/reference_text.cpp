// Reference text to reference tokens and ranges.
#include "formula/reference_text.h"

#include <cstring>

#include "core/memory_use.h"
#include "core/number_text.h"
#include "model/compiled_formula.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "model/layer.h"
#include "model/links.h"
#include "model/named_ranges.h"
#include "platform/text/text.h"

namespace {

constexpr int kMaxParts = 4;  // three colons

bool is_letter(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

struct Coord {
    int16_t value = 0;
    bool absolute = false;
};

enum class PartKind { none, cell, column, digits, name };

// One colon-separated part of a reference text.
struct Part {
    PartKind kind = PartKind::none;
    Coord row, column;    // cell; column alone for column; row alone for digits
    unsigned char name[kNamedRangeNameSize] = {0};  // the name as defined
    CellRange name_rect{};
};

// What a whole text refers to.
struct Reference {
    bool has_layers = false;
    Coord first_layer, last_layer;
    ReferenceKind kind = ReferenceKind::cell;
    Coord top, left, bottom, right;
    unsigned char name[kNamedRangeNameSize] = {0};
};

// The part of `text` from byte `from` (0-based) for `length` bytes.
void part_text(const unsigned char* text, int from, int length, unsigned char* out) {
    out[0] = uint8_t(length);
    std::memcpy(out + 1, text + 1 + from, length);
}

Part classify_part(const unsigned char* piece, MemoryRef layer, bool names_allowed) {
    Part part;
    if (names_allowed && layer && piece[0] < kNamedRangeNameSize) {
        std::memcpy(part.name, piece, piece[0] + 1);
        double kept = g_value;
        if (MatchRangeStr(part.name, &part.name_rect, layer)) {
            part.kind = PartKind::name;
            return part;
        }
        g_value = kept;
    }
    bool letters = false, digits = false;
    if (piece[0] == 0 || Chunk_Type(piece, &letters, &digits)) return part;
    int position = 0;
    if (letters) {
        int32_t column = LetterChunk(piece, &position, &part.column.absolute);
        if (column < 0) return part;
        part.column.value = int16_t(column);
        if (position == piece[0]) {
            part.kind = PartKind::column;
            return part;
        }
        int32_t row = NumberChunk(piece, &position, &part.row.absolute);
        // The whole part must be read: A1B or A1$ are no cells.
        if (row < 0 || position != piece[0]) return part;
        part.row.value = int16_t(row);
        part.kind = PartKind::cell;
        return part;
    }
    int32_t number = NumberChunk(piece, &position, &part.row.absolute);
    if (number < 0 || position != piece[0]) return part;
    part.row.value = int16_t(number);
    part.kind = PartKind::digits;
    return part;
}

void set_cell(Reference& ref, const Part& cell) {
    ref.kind = ReferenceKind::cell;
    ref.top = ref.bottom = cell.row;
    ref.left = ref.right = cell.column;
}

void set_name(Reference& ref, const Part& name) {
    ref.kind = ReferenceKind::name;
    std::memcpy(ref.name, name.name, name.name[0] + 1);
}

void set_layers(Reference& ref, const Coord& first, const Coord& last) {
    ref.has_layers = true;
    ref.first_layer = first;
    ref.last_layer = last;
}

// Corners in order, so that a range typed from its bottom-right corner covers
// the same cells; each coordinate keeps its own "$".
void order_corners(Reference& ref) {
    if (ref.top.value > ref.bottom.value) std::swap(ref.top, ref.bottom);
    if (ref.left.value > ref.right.value) std::swap(ref.left, ref.right);
}

// The two-part forms every colon count shares: a range, whole columns, whole
// rows. False for any other mixture.
bool read_range_pair(const Part& x, const Part& y, Reference& ref) {
    ref.kind = ReferenceKind::range;
    if (x.kind == PartKind::cell && y.kind == PartKind::cell) {
        ref.top = x.row;
        ref.left = x.column;
        ref.bottom = y.row;
        ref.right = y.column;
    } else if (x.kind == PartKind::column && y.kind == PartKind::column) {
        ref.top = {0, true};
        ref.bottom = {kLastCell, true};
        ref.left = x.column;
        ref.right = y.column;
    } else if (x.kind == PartKind::digits && y.kind == PartKind::digits) {
        ref.top = x.row;
        ref.bottom = y.row;
        ref.left = {0, true};
        ref.right = {kLastCell, true};
    } else {
        return false;
    }
    order_corners(ref);
    return true;
}

// How a digits part before a cell or a name is read.
enum class LeadingDigits { layer, last_layer, not_allowed };

bool read_pair(const Part& x, const Part& y, LeadingDigits digits, Reference& ref) {
    if (x.kind == PartKind::digits && digits != LeadingDigits::not_allowed &&
        (y.kind == PartKind::cell || y.kind == PartKind::name)) {
        if (digits == LeadingDigits::layer)
            set_layers(ref, x.row, x.row);
        else
            ref.last_layer = x.row;
        if (y.kind == PartKind::cell)
            set_cell(ref, y);
        else
            set_name(ref, y);
        return true;
    }
    return read_range_pair(x, y, ref);
}

// A part that must be a layer number.
bool read_layer(const Part& part, Coord& layer) {
    if (part.kind != PartKind::digits) return false;
    layer = part.row;
    return true;
}

bool read_parts(const Part* parts, int count, Reference& ref);

bool read_reference(const unsigned char* text, MemoryRef layer, Reference& ref) {
    int starts[kMaxParts + 1], count = 0, from = 0;
    for (int i = 0; i <= text[0]; ++i) {
        if (i < text[0] && text[1 + i] != ':') continue;
        if (count == kMaxParts) return false;
        starts[count++] = from;
        from = i + 1;
    }
    starts[count] = text[0] + 1;
    Part parts[kMaxParts];
    for (int i = 0; i < count; ++i) {
        unsigned char piece[256];
        part_text(text, starts[i], starts[i + 1] - starts[i] - 1, piece);
        // Names stand alone or last after layer numbers.
        bool names_allowed = i == count - 1;
        parts[i] = classify_part(piece, layer, names_allowed);
        if (parts[i].kind == PartKind::none) return false;
    }
    if (read_parts(parts, count, ref)) return true;
    // A name spelled like a cell ends a range as the cell it spells.
    if (count < 2 || parts[count - 1].kind != PartKind::name) return false;
    unsigned char piece[256];
    part_text(text, starts[count - 1], starts[count] - starts[count - 1] - 1, piece);
    parts[count - 1] = classify_part(piece, nullptr, false);
    return parts[count - 1].kind != PartKind::none && read_parts(parts, count, ref);
}

bool read_parts(const Part* parts, int count, Reference& ref) {
    ref = Reference{};
    switch (count) {
    case 1:
        if (parts[0].kind == PartKind::name) {
            set_name(ref, parts[0]);
            return true;
        }
        if (parts[0].kind != PartKind::cell) return false;
        set_cell(ref, parts[0]);
        return true;
    case 2:
        return read_pair(parts[0], parts[1], LeadingDigits::layer, ref);
    case 3: {
        Coord first;
        if (!read_layer(parts[0], first)) return false;
        set_layers(ref, first, first);
        return read_pair(parts[1], parts[2], LeadingDigits::last_layer, ref);
    }
    default: {
        Coord first, last;
        if (!read_layer(parts[0], first) || !read_layer(parts[1], last)) return false;
        set_layers(ref, first, last);
        return read_range_pair(parts[2], parts[3], ref);
    }
    }
}

int16_t relative(const Coord& coord, int16_t origin) {
    return coord.absolute ? coord.value : int16_t(coord.value - origin);
}

int16_t calc_layer_id() { return g_calcSheet ? GetSheetID(g_calcSheet) : 0; }

void emit_reference(const Reference& ref) {
    MemoryRef out = ParserReturn;
    append_formula_byte(out, kTokReference);
    if (ref.has_layers) {
        int16_t own = calc_layer_id();
        append_formula_byte(out, kBodyLayers);
        append_formula_byte(out, ParamChar(ref.last_layer.absolute, ref.first_layer.absolute));
        append_formula_i16(out, relative(ref.first_layer, own));
        append_formula_i16(out, relative(ref.last_layer, own));
    }
    const CellPoint cell = g_calcCell;
    switch (ref.kind) {
    case ReferenceKind::name:
        append_formula_byte(out, kBodyName);
        append_formula_bytes(out, ref.name, ref.name[0] + 1);
        break;
    case ReferenceKind::range:
        append_formula_byte(out, kBodyRange);
        append_formula_byte(out, ParamChar(ref.top.absolute, ref.left.absolute));
        append_formula_byte(out, ParamChar(ref.bottom.absolute, ref.right.absolute));
        append_formula_i16(out, relative(ref.top, cell.v));
        append_formula_i16(out, relative(ref.left, cell.h));
        append_formula_i16(out, relative(ref.bottom, cell.v));
        append_formula_i16(out, relative(ref.right, cell.h));
        break;
    case ReferenceKind::cell:
        append_formula_byte(out, ParamChar(ref.top.absolute, ref.left.absolute));
        append_formula_i16(out, relative(ref.top, cell.v));
        append_formula_i16(out, relative(ref.left, cell.h));
        break;
    }
}

}  // namespace

int16_t Chunk_Type(const unsigned char* text, bool* has_letters, bool* has_digits) {
    *has_letters = *has_digits = false;
    int16_t other = 0;
    for (int i = 1; i <= text[0]; ++i) {
        unsigned char c = text[i];
        if (is_letter(c))
            *has_letters = true;
        else if (is_digit(c))
            *has_digits = true;
        else if (c != '$')
            other = 1;
    }
    return other;
}

int32_t NumberChunk(const unsigned char* text, int* position, bool* absolute) {
    int p = *position;
    *absolute = p < text[0] && text[1 + p] == '$';
    if (*absolute) ++p;
    int32_t number = 0;
    int digits = 0;
    for (; p < text[0] && is_digit(text[1 + p]); ++p, ++digits)
        if (number <= kLastCell + 1) number = number * 10 + (text[1 + p] - '0');
    *position = p;
    if (digits == 0 || number == 0 || number > kLastCell + 1) return -1;
    return number - 1;
}

int32_t LetterChunk(const unsigned char* text, int* position, bool* absolute) {
    int p = *position;
    *absolute = p < text[0] && text[1 + p] == '$';
    if (*absolute) ++p;
    unsigned char letters[256];
    letters[0] = 0;
    for (; p < text[0] && is_letter(text[1 + p]); ++p) letters[++letters[0]] = text[1 + p];
    *position = p;
    if (letters[0] == 0) return -1;
    int32_t column = ColumnToNumber(letters);
    return column >= 0 && column <= kLastCell ? column : -1;
}

void RangeToRect(const unsigned char* text, MemoryRef layer) {
    Sy = kSyUnknown;
    Reference ref;
    if (!read_reference(text, layer, ref)) return;
    emit_reference(ref);
    Sy = kSyReference;
}

int16_t Parse_Rect(uint8_t* record, int16_t* layers, MemoryRef layer) {
    MemoryRef saved_output = ParserReturn;
    MemoryRef saved_sheet = g_calcSheet;
    CellPoint saved_cell = g_calcCell;
    int16_t saved_sy = Sy;
    unsigned char text[kNamedRangeNameSize];
    std::memcpy(text, record, kNamedRangeNameSize);
    if (text[0] >= kNamedRangeNameSize) text[0] = kNamedRangeNameSize - 1;
    pf::uppercase_text(reinterpret_cast<char*>(text + 1), text[0]);
    std::memcpy(record + 1, text + 1, text[0]);

    ParserReturn = pgAllocateNewRef(&mem_globals, 1, 0, 32, false);
    g_calcSheet = layer;
    g_calcCell = CellPoint{0, 0};
    int16_t found = 0;
    if (ParserReturn) {
        RangeToRect(text, nullptr);
        int32_t size = GetMemorySize(ParserReturn);
        if (size > 0) {
            MemoryUse<const uint8_t> bytes(ParserReturn);
            FormulaToken token = read_formula_token(bytes, bytes + size);
            if (token.kind == FormulaTokenKind::reference && token.ref.kind != ReferenceKind::name) {
                const StoredReference& ref = token.ref;
                if (layers) {
                    layers[0] = layers[1] = -1;
                    if (ref.three_d) {
                        int16_t own = layer ? GetSheetID(layer) : 0;
                        layers[0] = int16_t(ref.first_layer + (marker_second_absolute(ref.layer_marker) ? 0 : own));
                        layers[1] = int16_t(ref.last_layer + (marker_first_absolute(ref.layer_marker) ? 0 : own));
                    }
                }
                CellRange rect{{ref.top, ref.left}, {ref.bottom, ref.right}};
                set_named_range(record, text, rect);
                found = 1;
            }
        }
        DisposeMemory(ParserReturn);
    }
    ParserReturn = saved_output;
    g_calcSheet = saved_sheet;
    g_calcCell = saved_cell;
    Sy = saved_sy;
    return found;
}

int16_t MatchRangeStr(unsigned char* name, CellRange* rect, MemoryRef layer) {
    MemoryRef list = layer ? Get_rangeinfo(layer) : nullptr;
    int16_t found = 0;
    if (list) {
        MemoryUse<uint8_t> records(list);
        int32_t count = GetMemorySize(list);
        unsigned char stored[kNamedRangeNameSize];
        for (int32_t i = 0; i < count && !found; ++i) {
            named_range_name(records + i * kNamedRangeSize, stored);
            if (!pf::equal_pstring(stored, name, false, false)) continue;
            *rect = named_range_cells(records + i * kNamedRangeSize);
            std::memcpy(name, stored, stored[0] + 1);
            found = 1;
        }
    }
    if (!found) g_value = N_AN(kErrRef);
    return found;
}

int16_t TestRangeChars(const unsigned char* text) {
    if (text[0] > 0 && is_digit(text[1])) return 1;
    static constexpr unsigned char kRefused[] = {'+', '-', '*', '/', '=', '<', '>', '^', '&', '%',
                                                 0xAD, 0xB2, 0xB3, 0xD6, '(', ')', '.', '$', ',',
                                                 '!', '"', '\''};
    for (int i = 1; i <= text[0]; ++i)
        for (unsigned char refused : kRefused)
            if (text[i] == refused) return 1;
    return 0;
}

void GetFileStr(int16_t id, unsigned char* name, MemoryRef layer) {
    name[0] = 0;
    MemoryRef links = layer ? GetSheetLinks(layer) : nullptr;
    if (!links) return;
    MemoryUse<uint8_t> records(links);
    int32_t count = GetMemorySize(links);
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* record = records + i * kLinkRecordSize;
        if (link_id(record) != id) continue;
        const uint8_t* stored = record + kLinkNameOffset;
        std::memcpy(name, stored, stored[0] + 1);
        break;
    }
}

bool range_by_text(const std::string& text, MemoryRef layer, CellRange& range) {
    if (text.empty() || text.size() >= size_t(kNamedRangeNameSize)) return false;
    uint8_t record[kNamedRangeSize] = {0};
    record[0] = uint8_t(text.size());
    std::memcpy(record + 1, text.data(), text.size());
    int16_t layers[2];
    if (Parse_Rect(record, layers, layer)) {
        if (layers[0] >= 0) return false;  // references to other layers are not cells of this one
        range = named_range_cells(record);
        return true;
    }
    unsigned char name[256];
    name[0] = uint8_t(text.size());
    std::memcpy(name + 1, text.data(), text.size());
    return MatchRangeStr(name, &range, layer) != 0;
}
