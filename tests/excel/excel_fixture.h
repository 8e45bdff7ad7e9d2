// A workbook of one layer into which Excel workbooks made by the test are
// read, and what the reading left in its layers.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "excel/excel_formats.h"
#include "excel/excel_import.h"
#include "formula/formula_text.h"
#include "model/cell_formats.h"
#include "model/display_text.h"
#include "formula/recalc.h"
#include "tests/excel/biff_builder.h"
#include "tests/formula/formula_fixture.h"

class ExcelTest : public FormulaTest {
protected:
    ImportReport notes;

    int16_t import(const std::vector<uint8_t>& file) {
        notes = {};
        return read_excel_bytes(file, layer, &notes);
    }
    // A BIFF8 workbook of the sheets in a compound file.
    int16_t import8(const std::vector<biff::Record>& globals, const std::vector<biff::Sheet>& sheets) {
        return import(biff::compound_file(biff::workbook(true, globals, sheets)));
    }

    MemoryRef layer_at(int index) { return find_SpreadSheet_item(workbook, index); }
    int layers() { return num_SpreadSheets(workbook); }

    std::string layer_name(int index) {
        unsigned char name[32];
        GetSheetName(name, layer_at(index));
        return text_of(name);
    }

    const uint8_t* cell_at(int index, int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        return get_cell_ptr(&cell, &length, CellPoint{row, column}, layer_at(index)) ? cell : nullptr;
    }

    // The number of a constant, or the number result of a formula; NaN for none.
    double number_at(int index, int16_t row, int16_t column) {
        const uint8_t* cell = cell_at(index, row, column);
        if (!cell) return std::nan("");
        if (_cellType_(cell) == kCellConstant) return load_f64(_formulaPtr_(cell));
        if (_cellType_(cell) == kCellFormula && _resultType_(cell) < 0) return load_f64(_resultPtr_(cell));
        return std::nan("");
    }

    // The text of a text cell, or the text result of a formula.
    std::string text_at(int index, int16_t row, int16_t column) {
        const uint8_t* cell = cell_at(index, row, column);
        if (!cell) return "<none>";
        if (_cellType_(cell) == kCellText)
            return std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
        if (_cellType_(cell) == kCellFormula && _resultType_(cell) > 0)
            return std::string(reinterpret_cast<const char*>(_resultPtr_(cell)), size_t(_resultLength_(cell)));
        return "<not text>";
    }

    // The formula of a cell as this program writes it, "" when it holds none.
    std::string formula_at(int index, int16_t row, int16_t column) {
        const uint8_t* cell = cell_at(index, row, column);
        if (!cell || _cellType_(cell) != kCellFormula) return "";
        MemoryRef text = Interpret(int32_t(row) | int32_t(column) << 16, _formulaPtr_(cell),
                                   _formulaPtr_(cell) + _formulaLength_(cell), layer_at(index), nullptr);
        std::vector<uint8_t> bytes = bytes_of(text);
        DisposeNonNilMemory(text);
        return std::string(bytes.begin(), bytes.end());
    }

    // A cell's note, "" for none.
    std::string note_at(int index, int16_t row, int16_t column) {
        unsigned char text[256] = {};
        GetCellStrings(CellPoint{row, column}, nullptr, text, layer_at(index));
        return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
    }

    uint8_t format_code_at(int index, int16_t row, int16_t column) {
        const uint8_t* cell = cell_at(index, row, column);
        return cell ? cell[kFmtCode] : 0;
    }

    void recalculate() {
        ResetWorkbookCalc(workbook);
        calculate_workbook(workbook, kNoTickLimit);
    }
};
