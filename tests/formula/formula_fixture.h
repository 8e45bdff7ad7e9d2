// A workbook of one layer with the calculation library started from the
// bundle's resources, and functions that parse, evaluate and show formulas.
#pragma once

#include <string>
#include <vector>

#include "../model/model_fixture.h"
#include "core/number_text.h"
#include "model/compiled_formula.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "model/named_ranges.h"
#include "platform/resources/resources.h"
#include "platform/system/international.h"
#include "platform/text/scripts.h"
#include "resource_bundle.h"

inline std::vector<uint8_t> bytes_of(MemoryRef block) {
    std::vector<uint8_t> bytes;
    if (!block) return bytes;
    auto* p = static_cast<uint8_t*>(UseMemory(block));
    bytes.assign(p, p + GetByteSize(block));
    UnuseMemory(block);
    return bytes;
}

inline void pstr(unsigned char* out, const std::string& text) {
    out[0] = uint8_t(text.size());
    std::memcpy(out + 1, text.data(), text.size());
}

inline std::string text_of(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// Byte-building functions for expected stored formulas.
struct Bytes {
    std::vector<uint8_t> v;
    Bytes& b(uint8_t byte) { v.push_back(byte); return *this; }
    Bytes& s(const std::string& text) { v.insert(v.end(), text.begin(), text.end()); return *this; }
    Bytes& i16(int16_t value) {
        uint8_t two[2];
        store_i16(two, value);
        v.insert(v.end(), two, two + 2);
        return *this;
    }
};

class FormulaTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        ASSERT_EQ(pf::resources_install(resource_bundle_data(), resource_bundle_size()), pf::noErr);
        use_system_settings('.', ',', ',', '/', 0);
    }

    void TearDown() override {
        pf::set_international_settings(pf::us_international_settings());
        Init_Quorvin_Globals();
        ModelTest::TearDown();
    }


    struct Parsed {
        int16_t result = 0;
        int16_t kind = 0;
        int32_t error_offset = 0;
        std::vector<uint8_t> bytes;
    };

    Parsed parse(const std::string& text, CellPoint cell = {0, 0}, MemoryRef on = nullptr) {
        unsigned char typed[256];
        pstr(typed, text);
        Parsed parsed;
        MemoryRef formula = nullptr;
        parsed.result = parse_formula_text(typed, cell, on ? on : layer, &formula, &parsed.kind,
                                           &parsed.error_offset);
        parsed.bytes = bytes_of(formula);
        DisposeNonNilMemory(formula);
        return parsed;
    }

    int16_t parse_error(const std::string& text) { return parse(text).result; }

    // A cell whose body is `body` and whose trailing bytes are `tail`.
    void put_cell(int16_t row, int16_t column, uint8_t type, const std::vector<uint8_t>& body,
                  const std::vector<uint8_t>& tail, int16_t result_type, MemoryRef on = nullptr) {
        std::vector<uint8_t> block(kRowHeaderSize + kCellHeaderSize + body.size() + tail.size(), 0);
        _SetRowID_(block.data(), row);
        _SetRowLength_(block.data(), uint32_t(block.size()));
        uint8_t* cell = block.data() + kRowHeaderSize;
        GetDefaultFormat(cell);
        _SetCellID_(cell, column);
        cell[kFmtCellType] = type;
        cell[kFmtLabelLength] = 0;
        cell[kFmtNoteLength] = 0;
        _SetCellLength_(cell, int16_t(block.size() - kRowHeaderSize));
        _SetFormulaLength_(cell, int16_t(body.size()));
        _SetResultType_(cell, result_type);
        store_i16(cell + kFmtStyleLength, 0);
        std::memcpy(_formulaPtr_(cell), body.data(), body.size());
        if (!tail.empty()) std::memcpy(_formulaPtr_(cell) + body.size(), tail.data(), tail.size());
        CellRange range{{row, column}, {row, column}};
        InputCell(&range, block.data(), int32_t(block.size()), on ? on : layer);
    }

    void put_text(int16_t row, int16_t column, const std::string& text, MemoryRef on = nullptr) {
        put_cell(row, column, kCellText, std::vector<uint8_t>(text.begin(), text.end()), {}, 0, on);
    }

    // A text typed in the script that spells it, its cell set in that script's font.
    void put_spelled(int16_t row, int16_t column, const std::string& utf8) {
        const pf::ScriptText spelled = pf::spell_in_a_script(utf8);
        put_text(row, column, spelled.bytes);
        uint8_t* cell = nullptr;
        int16_t length = 0;
        ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{row, column}, layer));
        store_u16(cell + kFmtFont, uint16_t(pf::script_font(spelled.script)));
    }

    void put_number(int16_t row, int16_t column, double value, MemoryRef on = nullptr) {
        std::vector<uint8_t> slot(kNumberSlotSize, 0);
        store_f64(slot.data(), value);
        put_cell(row, column, kCellConstant, slot, {}, 0, on);
    }

    // A formula cell holding `result`, as a recalculation would leave it.
    void put_formula_result(int16_t row, int16_t column, double result) {
        std::vector<uint8_t> slot(kNumberSlotSize, 0);
        store_f64(slot.data(), result);
        put_cell(row, column, kCellFormula, Bytes().s("=I").i16(0).v, slot, kResultNumber);
    }

    struct Value {
        double number = 0;
        int16_t type = 0;
        std::string text;
        int16_t error() const { return checkValue(&number); }
    };

    // Parses and evaluates a formula typed into `cell`.
    Value eval(const std::string& formula, CellPoint cell = {0, 0}) {
        Parsed parsed = parse(formula, cell);
        EXPECT_EQ(parsed.result, 0) << formula << " at " << parsed.error_offset;
        return calculate(parsed.bytes, cell);
    }

    Value calculate(const std::vector<uint8_t>& bytes, CellPoint cell = {0, 0}) {
        g_calcSheet = layer;
        g_calcWork = workbook;
        g_calcCell = cell;
        Calculate(bytes.data(), int32_t(bytes.size()));
        Value v;
        v.number = g_value;
        v.type = g_resultType;
        if (g_resultType > 0) v.text = text_of(g_CellString);
        return v;
    }

    double number(const std::string& formula, CellPoint cell = {0, 0}) {
        Value v = eval(formula, cell);
        EXPECT_LT(v.type, 0) << formula;
        return v.number;
    }

    int16_t error_of(const std::string& formula) { return eval(formula).error(); }

    std::string text(const std::string& formula) {
        Value v = eval(formula);
        EXPECT_GT(v.type, 0) << formula;
        return v.text;
    }

    void define_name(const std::string& name, CellRange range, MemoryRef on = nullptr) {
        MemoryRef target = on ? on : layer;
        MemoryRef list = Get_rangeinfo(target);
        if (!list) {
            list = pgAllocateNewRef(&mem_globals, kNamedRangeSize, 0, 4, true);
            Set_rangeinfo(target, list);
        }
        unsigned char text[256];
        pstr(text, name);
        uint8_t record[kNamedRangeSize];
        set_named_range(record, text, range);
        PtrAndMemory(record, list, 1);
    }
};
