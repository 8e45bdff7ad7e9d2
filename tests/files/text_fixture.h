// Layers read from and written to text and SYLK: a session with the bundle's
// strings and the function names, layers made by typing entries, and a view
// of each stored cell to compare.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "files/entry_cells.h"
#include "files/sylk.h"
#include "files/text_exchange.h"
#include "formula/formula_text.h"
#include "formula/recalc.h"
#include "model/cell_letters.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "platform/resources/resources.h"
#include "platform/system/international.h"
#include "resource_bundle.h"
#include "tests/files/document_fixture.h"

struct CellView {
    uint8_t type = 0;
    double number = 0;       // a number, or a formula's number result
    std::string text;        // a text, or a formula's text result
    std::string formula;     // a formula as typed
    std::string format;      // the format bytes that show (2-9, 13-23; not the date order of 13)
};

inline bool operator==(const CellView& a, const CellView& b) {
    // Errors are the same error whatever their form (an infinity, a NaN with its code).
    const bool same_number = a.number == b.number || (checkValue(&a.number) != 0 &&
                                                      checkValue(&a.number) == checkValue(&b.number));
    return a.type == b.type && same_number && a.text == b.text && a.formula == b.formula && a.format == b.format;
}

inline std::ostream& operator<<(std::ostream& out, const CellView& c) {
    out << "{type " << int(c.type) << " number " << c.number << " text '" << c.text << "' formula '" << c.formula
        << "' format";
    for (unsigned char b : c.format) out << ' ' << int(b);
    return out << "}";
}

using CellMap = std::map<std::pair<int, int>, CellView>;

// The cell at (row, column), or an empty view.
inline CellView at(const CellMap& cells, int row, int column) {
    auto found = cells.find({row, column});
    return found == cells.end() ? CellView{} : found->second;
}

class TextTest : public DocumentTest {
protected:
    MemoryRef book = nullptr;
    MemoryRef layer = nullptr;

    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_EQ(pf::resources_install(resource_bundle_data(), resource_bundle_size()), pf::noErr);
        pf::set_international_settings(pf::us_international_settings());
        Init_Quorvin_Globals();
        book = sample::new_workbook();
        layer = sample::new_layer(book);
    }

    MemoryRef fresh_layer() {
        MemoryRef other = sample::new_workbook();
        return sample::new_layer(other);
    }

    // Each entry typed into its cell (rows in order), as the text readers make them.
    void type_entries(MemoryRef into, const std::map<std::pair<int, int>, std::string>& entries) {
        std::string store, row_cells;
        int row = -1;
        uint8_t header[32];
        GetDefaultFormat(header);
        for (const auto& [where, text] : entries) {
            if (where.first != row && !row_cells.empty()) append_row_record(store, int16_t(row), row_cells), row_cells.clear();
            row = where.first;
            append_entry_cell(row_cells, EntryCell{CellPoint{int16_t(row), int16_t(where.second)}, header, text, {}}, into);
        }
        if (!row_cells.empty()) append_row_record(store, int16_t(row), row_cells);
        set_layer_cells(into, store);
    }

    MemoryRef read_text(const std::string& bytes, uint8_t separator, ImportReport* report = nullptr) {
        MemoryRef into = fresh_layer();
        EXPECT_EQ(read_text_bytes(bytes, separator, into, report), 0);
        return into;
    }

    MemoryRef read_sylk(const std::string& text) {
        MemoryRef into = fresh_layer();
        EXPECT_EQ(read_sylk_bytes(text, into), 0);
        return into;
    }

    // Every stored cell by (row, column).
    CellMap cells_of(MemoryRef of) {
        CellMap out;
        MemoryRef cells = GetSpreadSheetCells(of);
        const auto* start = static_cast<const uint8_t*>(UseMemory(cells));
        const uint8_t* end = start + GetByteSize(cells);
        for (const uint8_t* row = start; row < end; row += _RowLength_(row))
            for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
                out[{_RowID_(row), _cellID_(cell)}] = view_of(cell, CellPoint{_RowID_(row), _cellID_(cell)}, of);
        UnuseMemory(cells);
        return out;
    }

    CellView cell(MemoryRef of, int row, int column) { return at(cells_of(of), row, column); }

    // The stored cell as the user reads it (UTF-8; a formula as its text).
    static std::string letters(MemoryRef of, int row, int column) {
        uint8_t* found = nullptr;
        int16_t length = 0;
        const CellPoint where{int16_t(row), int16_t(column)};
        if (!get_cell_ptr(&found, &length, where, of)) return {};
        const std::vector<uint8_t> copy(found, found + _cellLength_(found));
        return cell_unicode_text(copy.data(), where, of);
    }

    static std::string bytes(const uint8_t* p, int32_t n) { return std::string(reinterpret_cast<const char*>(p), size_t(n)); }

    CellView view_of(const uint8_t* cell, CellPoint where, MemoryRef of) {
        CellView v;
        v.type = _cellType_(cell);
        v.format = bytes(cell + 2, 8) + bytes(cell + 13, 11);
        v.format[8] = char(v.format[8] & ~kDateOrderMask);  // the order a date was typed in does not show
        if (v.type == kCellText) v.text = bytes(_formulaPtr_(cell), _formulaLength_(cell));
        if (v.type == kCellConstant) v.number = load_f64(_formulaPtr_(cell));
        if (v.type == kCellFormula) {
            const int32_t position = (int32_t(uint16_t(where.h)) << 16) | uint16_t(where.v);
            MemoryRef text = Interpret(position, _formulaPtr_(cell), _formulaPtr_(cell) + _formulaLength_(cell), of, nullptr);
            v.formula = bytes(static_cast<const uint8_t*>(UseMemory(text)), GetByteSize(text));
            UnuseMemory(text);
            DisposeMemory(text);
            if (_resultType_(cell) == kResultText) v.text = bytes(_resultPtr_(cell), _resultLength_(cell));
            else v.number = load_f64(_resultPtr_(cell));
        }
        return v;
    }

    // Whether the cell store is sound: rows and columns ascending, every length in bounds.
    static bool store_is_sound(MemoryRef of) {
        MemoryRef copy = MemoryDuplicate(GetSpreadSheetCells(of));
        bool sound = ByteFlipCells(copy, 1) == 0;
        DisposeMemory(copy);
        return sound;
    }

    void recalculate(MemoryRef of) {
        ResetWorkbookCalc(GetWorkSheet(of));
        calculate_workbook(GetWorkSheet(of), kNoTickLimit);
    }
};
