// The data of single cells: their values and the texts of their formulas.
#include <string>

#include "core/memory_use.h"
#include "core/number_text.h"
#include "files/entry_cells.h"
#include "formula/cell_values.h"
#include "formula/recalc.h"
#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "scripting/object_model.h"

namespace {

std::string bytes_text(MemoryRef block) {
    if (!block) return {};
    std::string text(MemoryUse<const char>(block).get(), size_t(GetByteSize(block)));
    DisposeMemory(block);
    return text;
}

}  // namespace

// Formula results are brought up to date before a value is read.
void finish_recalculation(MemoryRef layer) {
    if (stopCalc > 0 || GetSpreadSheetCalcCycle(layer) == kCycleDone) return;
    MemoryRef workbook = GetWorkSheet(layer);
    ResetWorkbookCalc(workbook);
    calculate_workbook(workbook, kNoTickLimit);
}

// A cell's value: a number, a text, an error's text, or an empty text.
pf::AEDesc cell_value(MemoryRef layer, CellPoint where) {
    pf::AEDesc out;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    StoredValue value;
    if (!get_cell_ptr(&cell, &length, where, layer) || !stored_value(cell, &value)) {
        pf::ae_create_desc(pf::kTypeText, "", 0, out);
    } else if (value.type == kValueText) {
        out = cell_value_desc(cell, std::string_view(reinterpret_cast<const char*>(value.text), size_t(value.length)),
                              format_font_in(cell, layer));
    } else if (checkValue(&value.number) != 0) {
        const std::string text = file_number_text(value.number);
        pf::ae_create_desc(pf::kTypeText, text.data(), text.size(), out);
    } else {
        pf::ae_create_desc(pf::kTypeDouble, &value.number, sizeof value.number, out);
    }
    return out;
}

// The text the entry line shows for a cell: a formula with its "=", a text
// decoded run by run when its runs are in several scripts.
pf::AEDesc cell_formula(MemoryRef layer, CellPoint where) {
    uint8_t format[kCellFormatSize];
    const std::string text = bytes_text(Get_CellText(where, format, nullptr, layer));
    const int16_t font = format_font_in(format, layer);
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (get_cell_ptr(&cell, &length, where, layer) && _cellType_(cell) == kCellText)
        return cell_value_desc(cell, text, font);
    return cell_text_desc(text, font);
}

