#include "shell/range_names.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/memory_use.h"
#include "ui/lists_and_menus.h"
#include "formula/range_string.h"
#include "formula/reference_text.h"
#include "core/string_utils.h"
#include "model/calc_globals.h"
#include "model/cell_letters.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/named_ranges.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"

namespace {

constexpr uint8_t kLongestName = kNamedRangeNameSize - 1;

using Record = uint8_t[kNamedRangeSize];

// The index of the record with that name, -1 for none.
int32_t find_record(MemoryRef names, const unsigned char* name) {
    if (!names) return -1;
    MemoryUse<const uint8_t> records(names);
    const int32_t count = GetMemorySize(names);
    int32_t found = -1;
    unsigned char stored[kNamedRangeNameSize];
    for (int32_t i = 0; i < count && found < 0; ++i) {
        named_range_name(records + i * kNamedRangeSize, stored);
        if (stored[0] && pf::equal_pstring(stored, name, false, false)) found = i;
    }
    return found;
}

void append_record(MemoryRef* names, const unsigned char* name, const CellRange& range) {
    if (!*names) *names = pgAllocateNewRef(&mem_globals, kNamedRangeSize, 0, 4, false);
    auto* record = static_cast<uint8_t*>(AppendMemory(*names, 1, true));
    set_named_range(record, name, range);
    UnuseMemory(*names);
}

// The entry-line text of a cell as a name candidate, in Mac Roman (empty past
// 31 characters); false, with `label` empty, for a label holding letters
// Roman cannot spell.
bool label_of(CellPoint where, MemoryRef layer, unsigned char* label) {
    label[0] = 0;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return true;
    const std::vector<uint8_t> copy(cell, cell + _cellLength_(cell));
    std::string letters = cell_unicode_text(copy.data(), where, layer);
    letters.erase(std::min(letters.find('\n'), letters.size()));  // a formula's text, not its result
    std::string roman;
    if (!pf::utf8_to_script(letters, pf::kScriptRoman, roman)) return false;
    if (!roman.empty() && roman.size() <= kLongestName) set_pstring(label, roman);
    return true;
}

// Adds a name from the label cell for the range, when the label makes a new
// good name; a label Roman cannot spell is noted in `unkept`.
bool add_label_name(MemoryRef* names, CellPoint label_cell, const CellRange& named, MemoryRef layer,
                    std::vector<CellPoint>* unkept) {
    if (named.topLeft.v > named.botRight.v || named.topLeft.h > named.botRight.h) return false;
    unsigned char label[256];
    if (!label_of(label_cell, layer, label)) {
        if (unkept) unkept->push_back(label_cell);
        return false;
    }
    if (!good_range_name(label, layer) || find_record(*names, label) >= 0) return false;
    append_record(names, label, named);
    return true;
}

}  // namespace

bool range_of_reference(const unsigned char* text, MemoryRef layer, CellRange* range) {
    Record record{};
    set_named_range(record, text, CellRange{});
    int16_t layers[2] = {-1, -1};
    if (!Parse_Rect(record, layers, layer)) return false;
    const int16_t own = GetSheetID(layer);
    if (layers[0] >= 0 && (layers[0] != own || layers[1] != own)) return false;
    *range = named_range_cells(record);
    return true;
}

int16_t testMatch(bool* same_range, const unsigned char* name, MemoryRef names, const CellRange& range) {
    *same_range = false;
    const int32_t index = find_record(names, name);
    if (index < 0) return 0;
    MemoryUse<const uint8_t> records(names);
    const CellRange stored = named_range_cells(records + index * kNamedRangeSize);
    records.release();
    *same_range = std::memcmp(&stored, &range, sizeof range) == 0;
    return 1;
}

bool good_range_name(const unsigned char* name, MemoryRef layer) {
    if (name[0] == 0 || name[0] > kLongestName || TestRangeChars(name)) return false;
    CellRange range{};
    return !range_of_reference(name, layer, &range);
}

NameRefusal add_range_name(MemoryRef* names, const unsigned char* name, const unsigned char* reference,
                           MemoryRef layer) {
    if (reference[0] > kLongestName) return NameRefusal::kReferenceTooLong;
    CellRange range{};
    if (!range_of_reference(reference, layer, &range)) return NameRefusal::kNotAReference;
    if (name[0] == 0) return NameRefusal::kEmptyName;
    if (name[0] > kLongestName) return NameRefusal::kNameTooLong;
    if (!good_range_name(name, layer)) return NameRefusal::kBadName;
    bool same_range = false;
    if (!testMatch(&same_range, name, *names, range)) {
        append_record(names, name, range);
        return NameRefusal::kNone;
    }
    if (same_range) return NameRefusal::kAlreadyThere;
    const int32_t index = find_record(*names, name);
    MemoryUse<uint8_t> records(*names);
    unsigned char stored[kNamedRangeNameSize];
    named_range_name(records + index * kNamedRangeSize, stored);
    set_named_range(records + index * kNamedRangeSize, stored, range);
    records.release();
    return NameRefusal::kNone;
}

int16_t add_label_names(MemoryRef* names, const CellRange& range, LabelSides sides, MemoryRef layer,
                        std::vector<CellPoint>* unkept) {
    const int16_t top = range.topLeft.v, left = range.topLeft.h, bottom = range.botRight.v, right = range.botRight.h;
    const int16_t first_row = int16_t(sides.top ? top + 1 : top), last_row = int16_t(sides.bottom ? bottom - 1 : bottom);
    const int16_t first_column = int16_t(sides.left ? left + 1 : left);
    const int16_t last_column = int16_t(sides.right ? right - 1 : right);
    int16_t added = 0;
    for (int16_t column = left; column <= right; ++column) {
        const CellRange named{{first_row, column}, {last_row, column}};
        if (sides.top) added += add_label_name(names, CellPoint{top, column}, named, layer, unkept);
        if (sides.bottom) added += add_label_name(names, CellPoint{bottom, column}, named, layer, unkept);
    }
    for (int16_t row = top; row <= bottom; ++row) {
        const CellRange named{{row, first_column}, {row, last_column}};
        if (sides.left) added += add_label_name(names, CellPoint{row, left}, named, layer, unkept);
        if (sides.right) added += add_label_name(names, CellPoint{row, right}, named, layer, unkept);
    }
    return added;
}

int32_t record_of_row(MemoryRef names, int16_t row) {
    if (!names || row < 0) return -1;
    MemoryUse<const uint8_t> records(names);
    const int32_t count = GetMemorySize(names);
    int32_t found = -1;
    for (int32_t i = 0, listed = 0; i < count && found < 0; ++i)
        if (records[i * kNamedRangeSize] != 0 && listed++ == row) found = i;
    return found;
}

bool delete_range_name(MemoryRef names, int16_t row, const unsigned char* name) {
    const int32_t index = record_of_row(names, row);
    if (index < 0) return false;
    unsigned char stored[kNamedRangeNameSize];
    named_range_name(MemoryUse<const uint8_t>(names).get() + index * kNamedRangeSize, stored);
    if (!pf::equal_pstring(stored, name, false, false)) return false;
    DeleteMemory(names, index, 1);
    return true;
}

void range_data(MemoryRef names, pf::ListHandle list) {
    clear_list_data(list);
    if (!names) return;
    const int32_t count = GetMemorySize(names);
    unsigned char name[kNamedRangeNameSize];
    for (int32_t i = 0; i < count; ++i) {
        named_range_name(MemoryUse<const uint8_t>(names).get() + i * kNamedRangeSize, name);
        add_list_str(name, list);
    }
}

void absolute_reference_text(const CellRange& range, unsigned char* text) {
    const bool absolute[4] = {true, true, true, true};
    RangeString(text, &range, absolute, nullptr);
}

void add_record_text(DialogRef dialog, MemoryRef names, pf::ListHandle list, int16_t name_item, int16_t range_item) {
    unsigned char name[256] = {0}, reference[256] = {0};
    const int32_t index = record_of_row(names, FindSelect(list));
    if (index >= 0) {
        MemoryUse<const uint8_t> names_bytes(names);
        const auto* record = names_bytes + index * kNamedRangeSize;
        named_range_name(record, name);
        const CellRange range = named_range_cells(record);
        names_bytes.release();
        absolute_reference_text(range, reference);
    }
    if (name_item) SetDEditText(dialog, name_item, name);
    if (range_item) SetDEditText(dialog, range_item, reference);
}
