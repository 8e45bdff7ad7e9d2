// The string matcher and the cell scan of Find and Replace.
#include "editing/find_scan.h"

#include <algorithm>
#include <cstring>

#include "core/memory_use.h"
#include "files/entry_script.h"
#include "files/entry_store.h"
#include "files/text_encoding.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/display_text.h"
#include "model/layer.h"
#include "platform/text/mac_roman.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"

namespace {

uint8_t other_case(uint8_t byte) {
    if (byte >= 'A' && byte <= 'Z') return uint8_t(byte + 32);
    if (byte >= 'a' && byte <= 'z') return uint8_t(byte - 32);
    return byte;
}

bool matches_at(const uint8_t* text, const unsigned char* search, bool exact) {
    for (int i = 0; i < search[0]; ++i) {
        const uint8_t want = search[1 + i];
        if (text[i] != want && (exact || text[i] != other_case(want))) return false;
    }
    return true;
}

std::vector<uint8_t> bytes_of_block(MemoryRef block) {
    std::vector<uint8_t> bytes;
    if (!block) return bytes;
    MemoryUse<const uint8_t> p(block);
    bytes.assign(p.get(), p + GetByteSize(block));
    p.release();
    DisposeMemory(block);
    return bytes;
}

// The scan's key of a cell: cells are visited in ascending key order.
int32_t order_key(CellPoint cell, bool by_columns) {
    return by_columns ? (int32_t(cell.h) << 16) | uint16_t(cell.v) : (int32_t(cell.v) << 16) | uint16_t(cell.h);
}

// The hit in one searched text, from `offset`.
bool find_in(const std::string& text, int32_t* offset, uint32_t options, const unsigned char* search) {
    return !text.empty() && find_word(reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size()), offset,
                                      !(options & kFindIgnoreCase), (options & kFindWholeText) != 0, search);
}

bool continues_character(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

void set_find_string(FindString out, const unsigned char* bytes, int32_t length) {
    int32_t kept = 0;
    int characters = 0;
    for (; kept < length && kept + 1 < int32_t(sizeof(FindString)); ++kept)
        if (!continues_character(bytes[kept]) && ++characters > kLongestFindString) break;
    out[0] = uint8_t(kept);
    if (kept) std::memcpy(out + 1, bytes, size_t(kept));
}

std::string_view whole_characters(std::string_view utf8, size_t most) {
    return utf8.substr(0, pf::utf8_whole_letters(utf8, most));
}

int16_t find_word(const uint8_t* text, int32_t length, int32_t* offset, bool exact, bool whole,
                  const unsigned char* search) {
    const int32_t size = search[0];
    if (size == 0 || length < size || (whole && length != size)) return 0;
    const int32_t first = *offset < 0 ? 0 : *offset + 1;
    for (int32_t at = first; at <= length - size; ++at) {
        if (matches_at(text + at, search, exact)) {
            *offset = at;
            return 1;
        }
    }
    return 0;
}

std::vector<CellPoint> layer_cells_in_order(MemoryRef layer, bool by_columns) {
    std::vector<CellPoint> cells;
    MemoryRef store = layer ? GetSpreadSheetCells(layer) : nullptr;
    if (!store || GetByteSize(store) < kRowHeaderSize) return cells;
    MemoryUse<const uint8_t> start(store);
    const uint8_t* end = start + GetByteSize(store);
    for (const uint8_t* row = start; row < end && _RowLength_(row) > 0; row += _RowLength_(row)) {
        const uint8_t* row_end = std::min(end, row + _RowLength_(row));
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row_end && _cellLength_(cell) > 0;
             cell += _cellLength_(cell))
            cells.push_back(CellPoint{_RowID_(row), _cellID_(cell)});
    }
    start.release();
    if (by_columns)
        std::sort(cells.begin(), cells.end(),
                  [](CellPoint a, CellPoint b) { return order_key(a, true) < order_key(b, true); });
    return cells;
}

std::vector<uint8_t> cell_contents_text(MemoryRef layer, CellPoint where) {
    uint8_t format[kCellFormatSize];
    return bytes_of_block(Get_CellText(where, format, nullptr, layer));
}

std::string cell_contents_utf8(MemoryRef layer, CellPoint where) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return {};
    uint8_t format[kCellHeaderSize];
    entry_format(format, where, layer);
    const int16_t font = format_font_in(format, layer);
    const bool text = _cellType_(cell) == kCellText;
    const bool roman = (text ? value_script(cell, font) : pf::font_to_script(font)) == pf::kScriptRoman;
    if (text && !roman)
        return cell_field_utf8(cell, std::string_view(reinterpret_cast<const char*>(_formulaPtr_(cell)),
                                                      size_t(_formulaLength_(cell))),
                               font);
    const std::vector<uint8_t> contents = cell_contents_text(layer, where);
    const std::string_view bytes(reinterpret_cast<const char*>(contents.data()), contents.size());
    return roman ? pf::mac_roman_to_utf8(bytes) : encode_cell_text(bytes, font);
}

std::string formula_value_utf8(MemoryRef layer, CellPoint where) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer) || _cellType_(cell) != kCellFormula) return {};
    const int16_t script = value_script(cell, format_font_in(cell, layer));
    return pf::script_to_utf8(displayed_cell_text(layer, where), script);
}

int16_t find_cells(MemoryRef layer, CellPoint start, const unsigned char* search, int32_t offset, uint32_t options,
                   bool by_columns, FindHit* hit) {
    if (!layer || search[0] == 0) return 0;
    const int32_t start_key = order_key(start, by_columns);
    for (CellPoint where : layer_cells_in_order(layer, by_columns)) {
        if (order_key(where, by_columns) < start_key) continue;
        if (!(where == start)) offset = -1;
        int32_t at = offset;
        if ((options & kFindInContents) && find_in(cell_contents_utf8(layer, where), &at, options, search)) {
            *hit = FindHit{where, at, true};
            return 1;
        }
        at = offset;
        if ((options & kFindInValues) && find_in(formula_value_utf8(layer, where), &at, options, search)) {
            *hit = FindHit{where, at, false};
            return 1;
        }
    }
    return 0;
}
