// Unit names and conversion factors.
#include "formula/unit_conversion.h"

#include <cmath>
#include <cstring>

#include "core/number_text.h"
#include "formula/arguments.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "platform/resources/resources.h"
#include "platform/text/text.h"

namespace {

constexpr int kPrefixCount = 5;
constexpr int kPrefixableUnits = 2;
constexpr double kSquareInchesPerSquareMetre = 1550.0;
constexpr double kOuncesPerGram = 0.03527314285714286;
constexpr double kMetresPerFoot = 0.30480060960121924;
constexpr double kCubicInchesPerCc = 0.061024425;

struct Factor {
    int16_t unit;
    double value;  // value in the base unit = value x factor
};

const Factor kArea[] = {
    {1, kSquareInchesPerSquareMetre}, {2, 15500000.0}, {3, 1.0}, {4, 144.0}, {5, 1296.0},
    {6, 144.0 * 43560.0}, {7, 1550.0 * 3.3}, {8, 19.845 * 144.0}, {9, 144.0 * 27878400.0},
    {11, 1550.0 * 1000000.0}, {21, 1550.0 * 100.0}, {31, 1550.0 / 100.0}, {41, 0.155},
    {51, 0.155 / 100.0},
};

const Factor kMass[] = {
    {1, 1.0}, {2, 16.0 / kOuncesPerGram}, {3, 1.0 / kOuncesPerGram}, {4, 1000000.0},
    {5, 32000.0 / kOuncesPerGram}, {6, 2240.0 * 16.0 / kOuncesPerGram}, {7, 1.0 / 15.432},
    {11, 1000.0}, {21, 10.0}, {31, 1.0 / 10.0}, {41, 1.0 / 100.0}, {51, 1.0 / 1000.0},
};

const Factor kLength[] = {
    {1, 1.0 / kMetresPerFoot}, {2, 5280.0}, {3, 6080.2}, {4, 1.0 / 12.0}, {5, 1.0}, {6, 3.0},
    {11, 1000.0 / kMetresPerFoot}, {21, 10.0 / kMetresPerFoot}, {31, 0.1 / kMetresPerFoot},
    {41, 0.01 / kMetresPerFoot}, {51, 0.001 / kMetresPerFoot},
};

const Factor kVolume[] = {
    {1, 1000.0 * kCubicInchesPerCc}, {2, 1000000.0 * kCubicInchesPerCc}, {3, 1.8046875},
    {4, 14.4375}, {5, 28.875}, {6, 57.75}, {7, 231.0}, {8, 0.30078125}, {9, 0.90234375},
    {10, 1728.0}, {11, 1000000.0 * kCubicInchesPerCc}, {12, 1e15 * kCubicInchesPerCc},
    {21, 10000.0 * kCubicInchesPerCc}, {22, 1e9 * kCubicInchesPerCc}, {31, 100.0 * kCubicInchesPerCc},
    {32, 1000.0 * kCubicInchesPerCc}, {41, 10.0 * kCubicInchesPerCc}, {42, kCubicInchesPerCc},
    {51, kCubicInchesPerCc}, {52, kCubicInchesPerCc / 1000.0},
};

template <size_t N>
const Factor* find_factor(const Factor (&table)[N], int16_t unit) {
    for (const Factor& f : table)
        if (f.unit == unit) return &f;
    return nullptr;
}

const Factor* factor_of(int16_t category, int16_t unit) {
    switch (category) {
    case 2: return find_factor(kArea, unit);
    case 3: return find_factor(kMass, unit);
    case 4: return find_factor(kLength, unit);
    case 5: return find_factor(kVolume, unit);
    default: return nullptr;
    }
}

constexpr int16_t kCelsius = 1, kFahrenheit = 2, kKelvin = 3;

bool to_celsius(int16_t unit, double v, double* out) {
    switch (unit) {
    case kCelsius: *out = v; return true;
    case kFahrenheit: *out = (v - 32.0) * 0.5555555555555556; return true;
    case kKelvin: *out = v - 273.15; return true;
    default: return false;
    }
}

bool from_celsius(int16_t unit, double v, double* out) {
    switch (unit) {
    case kCelsius: *out = v; return true;
    case kFahrenheit: *out = v * 1.8 + 32.0; return true;
    case kKelvin: *out = v + 273.15; return true;
    default: return false;
    }
}

bool same_name(const std::string& item, const unsigned char* name) {
    unsigned char text[256];
    text[0] = uint8_t(item.size());
    std::memcpy(text + 1, item.data(), item.size());
    return item.size() > 0 && pf::equal_pstring(text, name, false, false);
}

}  // namespace

int16_t cUnits(int16_t* unit) {
    const unsigned char* name = g_CellString;
    for (int category = 1; category <= kUnitCategories; ++category) {
        int16_t list = int16_t(kUnitPrefixList + category);
        for (int item = 1;; ++item) {
            std::string text = pf::get_indexed_string(list, item);
            if (text.empty()) break;
            if (same_name(text, name)) {
                *unit = int16_t(item);
                return int16_t(category);
            }
        }
    }
    for (int category = 1; category <= kUnitCategories; ++category) {
        int16_t list = int16_t(kUnitPrefixList + category);
        for (int item = 1; item <= kPrefixableUnits; ++item) {
            std::string base = pf::get_indexed_string(list, item);
            if (base.empty()) continue;
            for (int prefix = 1; prefix <= kPrefixCount; ++prefix) {
                std::string prefixed = pf::get_indexed_string(kUnitPrefixList, prefix);
                if (prefixed.empty() || !same_name(prefixed + base, name)) continue;
                *unit = int16_t(10 * prefix + item);
                return int16_t(category);
            }
        }
    }
    return -1;
}

void unit_convert(int16_t category, int16_t from, int16_t to, double value) {
    if (category == 1) {
        double celsius = 0, result = 0;
        if (to_celsius(from, value, &celsius) && from_celsius(to, celsius, &result)) g_value = result;
        return;
    }
    const Factor* f = factor_of(category, from);
    const Factor* t = factor_of(category, to);
    if (f && t) g_value = value * f->value / t->value;
}

void unit_conversion_function() {
    GetNextValue();
    const double value = g_value;
    AdvValue();
    int16_t from_unit = 0, to_unit = 0;
    int16_t from_category = g_valueType == kValueText ? cUnits(&from_unit) : -1;
    AdvValue();
    int16_t to_category = g_valueType == kValueText ? cUnits(&to_unit) : -1;
    g_CellString[0] = 0;
    g_value = N_AN(kErrNA);
    if (from_category > 0 && from_category == to_category) unit_convert(from_category, from_unit, to_unit, value);
    SetNValue();
}
