// Range text.
#include "formula/range_string.h"

#include <cstring>

#include "core/memory_use.h"
#include "core/number_text.h"
#include "core/string_utils.h"
#include "model/named_ranges.h"

namespace {

// The name of the layer's first named range covering exactly `range`.
bool name_of_range(MemoryRef layer, const CellRange& range, unsigned char* text) {
    MemoryRef list = Get_rangeinfo(layer);
    if (!list) return false;
    MemoryUse<uint8_t> records(list);
    int32_t count = GetMemorySize(list);
    bool found = false;
    for (int32_t i = 0; i < count && !found; ++i) {
        if (!(named_range_cells(records + i * kNamedRangeSize) == range)) continue;
        named_range_name(records + i * kNamedRangeSize, text);
        found = true;
    }
    return found;
}

void append_column(unsigned char* text, int16_t column, bool absolute) {
    if (absolute) AppendChar(text, '$');
    unsigned char letters[8];
    NumberToColumn(letters, column);
    ConcatPString(text, letters);
}

void append_row(unsigned char* text, int16_t row, bool absolute) {
    if (absolute) AppendChar(text, '$');
    unsigned char digits[16];
    Num_To_String(row + 1, digits);
    ConcatPString(text, digits);
}

enum class CornerForm { cell, row_only, column_only };

void append_corner(unsigned char* text, CellPoint corner, bool row_absolute, bool column_absolute, CornerForm form) {
    if (form != CornerForm::row_only) append_column(text, corner.h, column_absolute);
    if (form != CornerForm::column_only) append_row(text, corner.v, row_absolute);
}

}  // namespace

int16_t RangeString(unsigned char* text, const CellRange* range, const bool absolute[4], MemoryRef layer) {
    text[0] = 0;
    if (layer && name_of_range(layer, *range, text)) return 1;
    const CellRange& r = *range;
    if (r.topLeft.v < 0 || r.topLeft.h < 0 || r.botRight.v < 0 || r.botRight.h < 0) {
        const unsigned char kRefError[] = "\x04REF!";
        std::memcpy(text, kRefError, 5);
        return 0;
    }
    CornerForm form = CornerForm::cell;
    if (r.topLeft.h == 0 && r.botRight.h == kLastCell) form = CornerForm::row_only;
    else if (r.topLeft.v == 0 && r.botRight.v == kLastCell) form = CornerForm::column_only;
    append_corner(text, r.topLeft, absolute[0], absolute[1], form);
    if (r.topLeft == r.botRight) return 0;
    AppendChar(text, ':');
    append_corner(text, r.botRight, absolute[2], absolute[3], form);
    return 0;
}
