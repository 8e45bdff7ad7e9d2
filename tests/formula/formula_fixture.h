// A workbook of one layer with the calculation library started from the
// bundle's resources, and helpers that parse, evaluate and show formulas.
#pragma once

#include <string>
#include <vector>

#include "../model/model_fixture.h"
#include "core/number_text.h"
#include "formula/compiled_formula.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "model/named_ranges.h"
#include "platform/resources/resources.h"
#include "platform/system/international.h"
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

// Byte-building helpers for expected stored formulas.
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
        use_settings('.', ',', ',', '/', 0);
    }

    void TearDown() override {
        pf::set_international_settings(pf::us_international_settings());
        Init_Quorvin_Globals();
        ModelTest::TearDown();
    }

    static void use_settings(char decimal, char thousands, char list, char date, int order) {
        pf::IntlSettings settings = pf::us_international_settings();
        settings.decimal_point = decimal;
        settings.thousands_separator = thousands;
        settings.list_separator = list;
        settings.date_separator = date;
        settings.date_order = pf::DateOrder(order);
        pf::set_international_settings(settings);
        Init_Quorvin_Globals();
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
