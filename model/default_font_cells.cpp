// Cells carried from one default font to another.
#include "model/default_font_cells.h"

#include <cstring>
#include <vector>

#include "core/memory_use.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_letters.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "platform/text/text.h"

std::string cell_from_default(const uint8_t* cell, CellPoint where, int16_t former_default, MemoryRef layer) {
    std::string kept(reinterpret_cast<const char*>(cell), size_t(_cellLength_(cell)));
    if (format_font(cell) != kDefaultFontNumber ||
        cell_letters_in_default(cell, where, former_default, layer) == cell_unicode_text(cell, where, layer))
        return kept;
    store_u16(reinterpret_cast<uint8_t*>(kept.data()) + kFmtFont, uint16_t(former_default));
    return cell_in_font(reinterpret_cast<const uint8_t*>(kept.data()), where, kDefaultFontNumber, layer);
}

MemoryRef cells_from_default(MemoryRef block, int16_t former_default, MemoryRef layer) {
    if (!block || pf::font_to_script(former_default) == pf::font_to_script(Get_Default_Font(layer))) return block;
    // A copy: reading a formula's text makes blocks.
    std::vector<uint8_t> bytes(size_t(GetByteSize(block)));
    if (!bytes.empty()) std::memcpy(bytes.data(), MemoryUse<>(block).get(), bytes.size());
    std::string carried, row_cells;
    bool changed = false;
    const uint8_t* end = bytes.data() + bytes.size();
    for (const uint8_t* row = bytes.data(); row < end; row += _RowLength_(row)) {
        row_cells.clear();
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            const std::string kept =
                cell_from_default(cell, CellPoint{_RowID_(row), _cellID_(cell)}, former_default, layer);
            changed = changed || kept.compare(0, std::string::npos, reinterpret_cast<const char*>(cell),
                                              size_t(_cellLength_(cell))) != 0;
            row_cells += kept;
        }
        uint8_t header[kRowHeaderSize];
        _SetRowID_(header, _RowID_(row));
        _SetRowLength_(header, uint32_t(kRowHeaderSize + row_cells.size()));
        carried.append(reinterpret_cast<const char*>(header), kRowHeaderSize).append(row_cells);
    }
    if (!changed) return block;
    return Bytes2Memory(GetMemoryGlobals(block), carried.data(), 1, int32_t(carried.size()));
}
