// A workbook in a document window with undo, and functions that type an
// entry into a cell through cell data entry and read the stored cell back.
#pragma once

#include <string>
#include <vector>

#include "../editing/undo_fixture.h"
#include "window/cell_entry.h"

class EntryTest : public UndoTest {
protected:
    struct Stored {
        uint8_t type = 0;
        uint8_t code = 0;
        uint8_t flags_b = 0;
        int16_t result_type = 0;
        std::vector<uint8_t> body;
        std::string body_text() const { return std::string(body.begin(), body.end()); }
        double number() const { return load_f64(body.data()); }
        std::string typed() const { return std::string(body.begin() + kNumberSlotSize, body.end()); }
    };

    void select(int16_t row, int16_t column) { select_range(cells(row, column, row, column)); }

    // Types `text` into the active cell; the answer of the entry.
    int32_t type_entry(const std::string& text, uint8_t key = 0, uint16_t* offset = nullptr) {
        MemoryRef block = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
        uint16_t at = 0;
        int32_t answer = Enter_Data(layer, block, nullptr, &at, key);
        DisposeMemory(block);
        if (offset) *offset = at;
        return answer;
    }

    int32_t enter_at(int16_t row, int16_t column, const std::string& text) {
        select(row, column);
        return type_entry(text);
    }

    bool has_cell(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        return get_cell_ptr(&cell, &length, CellPoint{row, column}, layer) != 0;
    }

    Stored stored(int16_t row, int16_t column) {
        Stored s;
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer)) return s;
        s.type = _cellType_(cell);
        s.code = cell[kFmtCode];
        s.flags_b = cell[kFmtFlagsB];
        s.result_type = _resultType_(cell);
        s.body.assign(_formulaPtr_(cell), _formulaPtr_(cell) + _formulaLength_(cell));
        return s;
    }
};
