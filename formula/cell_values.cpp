// Fetching cell values into the evaluator's registers.
#include "formula/date_functions.h"
#include "formula/cell_values.h"

#include <algorithm>
#include <cstring>

#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/functions_text.h"
#include "formula/library_support.h"
#include "formula/parser.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/date_serials.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/text_runs.h"
#include "model/workbook.h"
#include "platform/text/text.h"

namespace {

void set_empty() {
    g_valueType = kValueEmpty;
    g_CellString[0] = 0;
    g_value = 0.0;
}

// A text cut to 255 bytes, never within a character of its script.
void set_text(const uint8_t* text, int32_t length, int16_t script) {
    length = whole_character_bytes(text, std::max(length, 0), 255, script);
    g_CellString[0] = uint8_t(length);
    std::memcpy(g_CellString + 1, text, size_t(length));
    g_valueType = kValueText;
    g_textScript = script;
    g_value = number_of_text(g_CellString);
}

// The script of a cell's font, the layer's default font `font`.
int16_t font_script_of(const uint8_t* cell, int16_t font) {
    const uint16_t own = format_font(cell);
    return pf::font_to_script(own == kDefaultFontNumber ? font : int16_t(own));
}


// A text cell whose runs set it in several scripts: its text spelled in the
// one script that spells most of it, each character that script lacks
// becoming "?" and noted against the formula (as joined texts are).
bool set_text_of_several_scripts(const uint8_t* cell, const StoredValue& value, int16_t font) {
    if (_cellType_(cell) != kCellText || _styleLength_(cell) <= 0) return false;
    const uint16_t own = format_font(cell);
    const int16_t cell_font = own == kDefaultFontNumber ? font : int16_t(own);
    const std::string_view text(reinterpret_cast<const char*>(value.text), size_t(std::max(value.length, 0)));
    const std::string_view runs(reinterpret_cast<const char*>(_stylePtr_(cell)), size_t(_styleLength_(cell)));
    if (runs_script(text, runs, cell_font) >= 0) return false;
    const pf::ScriptText spelled = pf::spell_in_a_script(styled_text_utf8(text, runs, cell_font));
    note_unspelled_characters(spelled.unmapped);
    set_text(reinterpret_cast<const uint8_t*>(spelled.bytes.data()), int32_t(spelled.bytes.size()), spelled.script);
    return true;
}

// The store start the layer's row cursor was taken in: a cursor kept across
// a move of the store's bytes is not used.
MemoryRef cursor_layer = nullptr;
const uint8_t* cursor_base = nullptr;

// The row record of `row` in a held store, searched from the layer's row
// cursor when it lies at or before the row (so that ascending fetches go on
// from the last row found), else from the start; a found row becomes the
// cursor. Null when the store has no such row.
uint8_t* find_row_from_cursor(MemoryRef layer, SpreadSheet* sheet, uint8_t* start, const uint8_t* end, int16_t row) {
    uint8_t* p = start;
    uint8_t* cursor = sheet->row_cursor;
    if (cursor && cursor_layer == layer && cursor_base == start && cursor >= start &&
        end - cursor >= kRowHeaderSize && _RowID_(cursor) <= row)
        p = cursor;
    while (end - p >= kRowHeaderSize) {
        int16_t id = _RowID_(p);
        uint32_t length = _RowLength_(p);
        if (id > row || length < uint32_t(kRowHeaderSize) || length > uint32_t(end - p)) return nullptr;
        if (id == row) {
            sheet->row_cursor = p;
            cursor_layer = layer;
            cursor_base = start;
            return p;
        }
        p += length;
    }
    return nullptr;
}

const HeldLayerCells* held_calc_layer = nullptr;

// The cell of a layer into the registers; empty when it has no value.
void fetch_from_layer(MemoryRef layer, CellPoint where) {
    if (held_calc_layer && layer == held_calc_layer->layer) {
        const uint8_t* cell = find_held_cell(*held_calc_layer, where);
        if (!cell || extract_value(cell, held_calc_layer->sheet->font) != 0) set_empty();
        return;
    }
    LayerUse sheet(layer);
    bool found = false;
    const int16_t font = sheet->font;
    if (sheet->row_cache_data) {
        sheet.release();
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (get_cell_ptr(&cell, &length, where, layer) && extract_value(cell, font) == 0) return;
        set_empty();
        return;
    }
    MemoryRef store = sheet->cells;
    MemoryUse<uint8_t> start(store);
    const uint8_t* end = start + GetByteSize(store);
    if (uint8_t* row = find_row_from_cursor(layer, sheet, start, end, where.v)) {
        uint8_t* cell = row + kRowHeaderSize;
        int16_t column = where.h;
        found = FindCell(&column, row + _RowLength_(row), &cell) && extract_value(cell, font) == 0;
    }
    start.release();
    sheet.release();
    if (!found) set_empty();
}

bool outside_grid(CellPoint where) { return where.v < 0 || where.h < 0; }

}  // namespace

int16_t value_script_of(const uint8_t* cell, int16_t font) {
    const int16_t script = font_script_of(cell, font);
    return _cellType_(cell) == kCellFormula ? text_result_script(_resultType_(cell), script) : script;
}

double number_of_text(const unsigned char* text) {
    if (text[0] == 0) return g_TextErr;
    double kept = g_value;
    unsigned char copy[256];
    std::memcpy(copy, text, text[0] + 1);
    double number = g_TextErr;
    int16_t saved_kind = ParserCellType;
    if (validConstant(copy, 0)) {
        number = g_value;
    } else {
        std::memcpy(copy, text, text[0] + 1);
        if (parseDate(copy, dateOrder, false)) number = g_value;
    }
    ParserCellType = saved_kind;
    g_value = kept;
    return number;
}

int16_t extract_value(const uint8_t* cell, int16_t font) {
    StoredValue value;
    if (!stored_value(cell, &value)) return 1;
    if (value.type == kValueText) {
        if (!set_text_of_several_scripts(cell, value, font)) set_text(value.text, value.length, value_script_of(cell, font));
    } else if (value.type == kValueEmpty) {
        set_empty();  // not calculated yet: 0
    } else {
        g_valueType = value.type;
        g_CellString[0] = 0;
        g_value = value.number;
    }
    return 0;
}

HeldCalcLayer::HeldCalcLayer(const HeldLayerCells& held) : before_(held_calc_layer) { held_calc_layer = &held; }
HeldCalcLayer::~HeldCalcLayer() { held_calc_layer = before_; }

int16_t stored_result_type(const uint8_t* format, int16_t font) {
    if (g_resultType <= 0) return g_resultType;
    return plain_ascii(g_CellString) ? kResultText : text_result_type(g_textScript, font_script_of(format, font));
}

int16_t calc_cell_script() {
    if (g_calcCellScript >= 0) return g_calcCellScript;
    if (!g_calcSheet) return pf::kScriptRoman;
    if (held_calc_layer && g_calcSheet == held_calc_layer->layer) {
        const uint8_t* cell = find_held_cell(*held_calc_layer, g_calcCell);
        return cell ? font_script_of(cell, held_calc_layer->sheet->font) : pf::font_to_script(held_calc_layer->sheet->font);
    }
    uint8_t* cell = nullptr;
    int16_t length = 0;
    const int16_t font = Get_Default_Font(g_calcSheet);
    return get_cell_ptr(&cell, &length, g_calcCell, g_calcSheet) ? font_script_of(cell, font)
                                                                 : pf::font_to_script(font);
}

int16_t calc_layer_id() {
    if (!g_calcSheet) return 0;
    if (held_calc_layer && g_calcSheet == held_calc_layer->layer) return held_calc_layer->sheet->layer_id;
    return GetSheetID(g_calcSheet);
}

void GetCellValue(CellPoint cell) {
    if (outside_grid(cell)) {
        SetError(kErrRef);
        return;
    }
    fetch_from_layer(g_calcSheet, cell);
}

void GetLayerValue(MemoryRef workbook, int16_t layer_index, CellPoint cell, int16_t use_cache) {
    const bool own_book = workbook == g_calcWork;
    if (own_book && g_calcSheet && layer_index == GetSheetID(g_calcSheet)) {
        GetCellValue(cell);
        return;
    }
    if (layer_index < 0) {
        SetError(kErrRef);
        return;
    }
    MemoryRef layer = workbook ? find_SpreadSheet_item(workbook, layer_index) : nullptr;
    if (!layer) {
        set_empty();
        return;
    }
    if (layer == g_calcSheet) {
        GetCellValue(cell);
        return;
    }
    if (outside_grid(cell)) {
        SetError(kErrRef);
        return;
    }
    if (use_cache) {
        CalcRowPtr(layer);
        fetch_from_layer(layer, cell);
        ReleaseCache(layer);
        return;
    }
    fetch_from_layer(layer, cell);
}

int16_t CellValue(MemoryRef layer, CellPoint where, double* value) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return 0;
    StoredValue stored;
    if (!stored_value(cell, &stored) || stored.type >= 0) return 0;
    *value = stored.number;
    return 1;
}
