// The letters of a cell, and the check that a format change keeps them.
#include "model/cell_letters.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>
#include <string_view>
#include <unordered_map>

#include "core/invariant_checks.h"
#include "core/memory_use.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/display_text.h"
#include "model/layer.h"
#include "model/model_services.h"
#include "model/text_runs.h"
#include "platform/text/text.h"

namespace {

std::string_view bytes_at(const uint8_t* p, int32_t length) {
    return std::string_view(reinterpret_cast<const char*>(p), size_t(std::max(length, 0)));
}

}  // namespace

std::string cell_formula_bytes(const uint8_t* cell, CellPoint where, MemoryRef layer) {
    if (!model_services.formula_text) return {};
    const int32_t packed = int32_t(uint32_t(uint16_t(where.h)) << 16 | uint16_t(where.v));
    MemoryRef text = model_services.formula_text(packed, _formulaPtr_(cell), _formulaPtr_(cell) + _formulaLength_(cell),
                                                 layer, GetMemoryGlobals(layer));
    if (!text) return {};
    std::string bytes(size_t(GetByteSize(text)), '\0');
    if (!bytes.empty()) std::memcpy(bytes.data(), MemoryUse<>(text).get(), bytes.size());
    DisposeMemory(text);
    return bytes;
}

namespace {

// The letters of the cell stored at `where`, read from a copy (reading a
// formula makes blocks); false when none is stored.
bool stored_letters(CellPoint where, MemoryRef layer, std::string& letters) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return false;
    const std::vector<uint8_t> copy(cell, cell + _cellLength_(cell));
    letters = cell_unicode_text(copy.data(), where, layer);
    return true;
}

}  // namespace

std::string cell_unicode_text(const uint8_t* cell, CellPoint where, MemoryRef layer) {
    return cell_letters_in_default(cell, where, Get_Default_Font(layer), layer);
}

std::string cell_shown_unicode(MemoryRef layer, CellPoint where) {
    std::string letters;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!layer || !get_cell_ptr(&cell, &length, where, layer)) return letters;
    if (_cellType_(cell) == kCellText) {
        stored_letters(where, layer, letters);
        return letters;
    }
    int16_t font = 0;
    const std::string shown = displayed_cell_text(layer, where, &font);
    return pf::script_to_utf8(shown, pf::font_to_script(font));
}

std::string cell_letters_in_default(const uint8_t* cell, CellPoint where, int16_t default_font, MemoryRef layer) {
    const int16_t font = format_font(cell) == kDefaultFontNumber ? default_font : format_font_in(cell, layer);
    const int16_t script = pf::font_to_script(font);
    switch (_cellType_(cell)) {
        case kCellText:
            return styled_text_utf8(bytes_at(_formulaPtr_(cell), _formulaLength_(cell)),
                                    bytes_at(_stylePtr_(cell), _styleLength_(cell)), font);
        case kCellConstant:
            return pf::script_to_utf8(
                bytes_at(_constTextPtr_(cell), _formulaLength_(cell) - kNumberSlotSize), script);
        case kCellFormula: {
            std::string letters = pf::script_to_utf8(cell_formula_bytes(cell, where, layer), script);
            if (_resultType_(cell) > 0)
                letters += "\n" + pf::script_to_utf8(bytes_at(_resultPtr_(cell), _resultLength_(cell)),
                                                     text_result_script(_resultType_(cell), script));
            return letters;
        }
        default: return {};
    }
}

RangeLetters letters_in_range(const CellRange& range, MemoryRef layer) {
    RangeLetters letters;
    if (!invariants_checked()) return letters;
    std::string text;
    for (const CellPoint& where : stored_cells_in_range(range, layer))
        if (stored_letters(where, layer, text)) letters.cells.emplace_back(where, text);
    return letters;
}

RangeLetters block_letters(MemoryRef block, int16_t default_font, CellPoint shift, MemoryRef layer) {
    RangeLetters letters;
    if (!invariants_checked() || !block) return letters;
    std::vector<uint8_t> bytes(size_t(GetByteSize(block)));
    if (!bytes.empty()) std::memcpy(bytes.data(), MemoryUse<>(block).get(), bytes.size());
    const uint8_t* end = bytes.data() + bytes.size();
    for (const uint8_t* row = bytes.data(); row < end; row += _RowLength_(row))
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            if (_cellType_(cell) == kCellFormatOnly) continue;
            const CellPoint where{int16_t(_RowID_(row) + shift.v), int16_t(_cellID_(cell) + shift.h)};
            letters.cells.emplace_back(where, cell_letters_in_default(cell, where, default_font, layer));
        }
    return letters;
}

void check_letters_kept(const RangeLetters& before, MemoryRef layer, const char* change) {
    std::string now;
    for (const auto& [where, letters] : before.cells)
        check_invariant(stored_letters(where, layer, now) && now == letters, change, 1,
                        "a change that edits no letter changed the letters of a cell");
}

namespace {

// The characters of a text beyond ASCII, in order.
std::u32string letters_beyond_ascii(std::string_view utf8) {
    std::u32string letters;
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = 0xFFFD;
        if (!pf::decode_utf8(utf8, i, c)) c = 0xFFFD;
        if (c >= 0x80) letters.push_back(c);
    }
    return letters;
}

// The letters told for the next store, and where.
struct ExpectedLetters {
    MemoryRef layer = nullptr;
    CellPoint where{};
    std::string utf8;
    bool told = false;
};
ExpectedLetters expected;

// The look a change of letters keeps: face, alignment, colours, pattern and
// borders (font and number format may follow the entry). A text in runs
// sets its own faces and colours, so the format's face and text colour count
// only between plain texts.
bool same_look(const uint8_t* a, const uint8_t* b) {
    const bool in_runs = _styleLength_(a) > 0 || _styleLength_(b) > 0;
    if (!in_runs && (a[kFmtFace] != b[kFmtFace] || a[kFmtTextColour] != b[kFmtTextColour])) return false;
    return a[kFmtAlign] == b[kFmtAlign] && std::memcmp(a + kFmtPattern, b + kFmtPattern, kFmtExtent - kFmtPattern) == 0;
}

}  // namespace

bool cell_reads_as(const uint8_t* cell, CellPoint where, MemoryRef layer, std::string_view meant) {
    std::string read = cell_unicode_text(cell, where, layer);
    // A formula reads as its text, then after a line break its text result.
    if (_cellType_(cell) == kCellFormula && _resultType_(cell) > 0) read.erase(std::min(read.rfind('\n'), read.size()));
    if (_cellType_(cell) != kCellText) return letters_beyond_ascii(read) == letters_beyond_ascii(meant);
    if (read == meant || (!read.empty() && read[0] == '\'' && read.substr(1) == meant)) return true;
    return !read.empty() && meant.substr(0, read.size()) == read && read.size() + 8 >= size_t(kLongestCellText) / 2;
}

void expect_stored_letters(MemoryRef layer, CellPoint where, std::string_view utf8) {
    if (invariants_checked()) expected = ExpectedLetters{layer, where, std::string(utf8), true};
}

StoreCheck store_check_before(CellPoint where, MemoryRef layer) {
    StoreCheck check;
    if (!invariants_checked()) return check;
    check.taken = true;
    const ExpectedLetters told = std::exchange(expected, ExpectedLetters{});
    check.told = told.told && told.layer == layer && told.where == where;
    if (check.told) check.meant = told.utf8;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return check;
    check.had_cell = true;
    std::memcpy(check.format, cell, sizeof check.format);
    stored_letters(where, layer, check.letters);
    return check;
}

namespace {

// A record as told, wherever it is placed and whatever format it is given
// later: its type and the bytes after its format.
std::string told_record(const uint8_t* cell) {
    std::string record(1, char(_cellType_(cell)));
    const int16_t length = _cellLength_(cell);
    if (length > kCellHeaderSize)
        record.append(reinterpret_cast<const char*>(cell) + kCellHeaderSize, size_t(length - kCellHeaderSize));
    return record;
}

// The letters told for block records, by layer and record.
using ToldRecords = std::unordered_map<std::string, std::vector<std::string>>;
std::unordered_map<MemoryRef, ToldRecords> told_blocks;

// Ends the process when the stored cell at `where` reads as none of `meant`.
void check_reads_as_told(const uint8_t* cell, CellPoint where, MemoryRef layer, const std::vector<std::string>& meant) {
    if (_cellType_(cell) == kCellFormatOnly) return;
    for (const std::string& utf8 : meant)
        if (cell_reads_as(cell, where, layer, utf8)) return;
    std::fprintf(stderr, "cell %d,%d reads \"%.200s\", not \"%.200s\"\n", where.v, where.h,
                 cell_unicode_text(cell, where, layer).c_str(), meant.back().c_str());
    invariant_broken("cell store", 1, "a stored cell does not read back as the text entered");
}

}  // namespace

void expect_block_letters(MemoryRef layer, const uint8_t* cell, std::string_view utf8) {
    if (!invariants_checked() || !layer) return;
    std::vector<std::string>& meant = told_blocks[layer][told_record(cell)];
    if (std::find(meant.begin(), meant.end(), utf8) == meant.end()) meant.emplace_back(utf8);
}

void forget_block_letters(MemoryRef layer, const uint8_t* cell) {
    if (!invariants_checked()) return;
    const auto told = told_blocks.find(layer);
    if (told != told_blocks.end()) told->second.erase(told_record(cell));
}

void forget_block_letters(MemoryRef layer) {
    if (invariants_checked()) told_blocks.erase(layer);
}

BlockCheck block_check_before(const uint8_t* start, const uint8_t* end, CellPoint shift, const CellRange& into,
                              MemoryRef layer) {
    BlockCheck check;
    if (!invariants_checked()) return check;
    const auto told = told_blocks.find(layer);
    if (told == told_blocks.end()) return check;
    const ToldRecords records = std::move(told->second);
    told_blocks.erase(told);
    for (const uint8_t* row = start; row < end; row += _RowLength_(row))
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            const CellPoint where{int16_t(_RowID_(row) + shift.v), int16_t(_cellID_(cell) + shift.h)};
            if (!range_contains(into, where.v, where.h)) continue;
            const auto meant = records.find(told_record(cell));
            if (meant == records.end()) continue;
            BlockCheck::Cell& checked = check.cells.emplace_back(BlockCheck::Cell{where, meant->second, {}});
            std::memcpy(checked.format, cell, sizeof checked.format);
        }
    return check;
}

BlockCheck block_check_before(MemoryRef block, MemoryRef layer) {
    if (!invariants_checked() || !block || told_blocks.find(layer) == told_blocks.end()) return {};
    std::vector<uint8_t> bytes(size_t(GetByteSize(block)));
    if (!bytes.empty()) std::memcpy(bytes.data(), MemoryUse<>(block).get(), bytes.size());
    const CellRange grid{{0, 0}, {kLastCell, kLastCell}};
    return block_check_before(bytes.data(), bytes.data() + bytes.size(), CellPoint{0, 0}, grid, layer);
}

void check_block_stored(const BlockCheck& before, bool look_kept, MemoryRef layer) {
    for (const BlockCheck::Cell& told : before.cells) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        check_invariant(get_cell_ptr(&cell, &length, told.where, layer), "cell store", 3,
                        "a cell of a block written is not stored");
        if (!cell) continue;
        const std::vector<uint8_t> copy(cell, cell + _cellLength_(cell));  // reading a formula makes blocks
        check_reads_as_told(copy.data(), told.where, layer, told.meant);
        if (look_kept)
            check_invariant(same_look(copy.data(), told.format), "cell store", 2,
                            "a store changed the look of a cell it wrote");
    }
}

void check_stored_cell(const StoreCheck& before, CellPoint where, MemoryRef layer) {
    if (!before.taken) return;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return;
    const std::vector<uint8_t> copy(cell, cell + _cellLength_(cell));  // reading a formula makes blocks
    if (before.told) check_reads_as_told(copy.data(), where, layer, {before.meant});
    if (before.had_cell && cell_unicode_text(copy.data(), where, layer) != before.letters)
        check_invariant(same_look(copy.data(), before.format), "cell store", 2,
                        "a store that changed a cell's letters changed its look");
}
