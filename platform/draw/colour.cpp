#include "platform/draw/colour.h"

namespace pf {

namespace {

ColorTable program_table;
RGBColor hilite_color{0xB5B5, 0xD5D5, 0xFFFF};
RGBColor op_color{0x7FFF, 0x7FFF, 0x7FFF};

constexpr uint16_t level8(int v) { return uint16_t(v * 0x101); }

ColorTable make_system_palette() {
    ColorTable t;
    t.colors.reserve(256);
    for (int i = 0; i < 215; ++i) {
        int r = 5 - i / 36, g = 5 - (i / 6) % 6, b = 5 - i % 6;
        t.colors.push_back(RGBColor{level8(r * 0x33), level8(g * 0x33), level8(b * 0x33)});
    }
    // Ramps skip the cube's levels (multiples of 0x33).
    constexpr int kRamp[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    for (int channel = 0; channel < 4; ++channel) {
        for (int level : kRamp) {
            uint16_t l = level8(level);
            switch (channel) {
                case 0: t.colors.push_back(RGBColor{l, 0, 0}); break;
                case 1: t.colors.push_back(RGBColor{0, l, 0}); break;
                case 2: t.colors.push_back(RGBColor{0, 0, l}); break;
                default: t.colors.push_back(RGBColor{l, l, l}); break;
            }
        }
    }
    t.colors.push_back(kBlackColor);
    return t;
}

}  // namespace

ColorTable color_table_of(const ColorTableResource& clut) {
    ColorTable t;
    t.colors.reserve(clut.entries.size());
    for (const ColorTableEntry& e : clut.entries) t.colors.push_back(RGBColor{e.red, e.green, e.blue});
    return t;
}

void set_color_table(const std::vector<RGBColor>& colors) { program_table.colors = colors; }
const ColorTable& color_table() { return program_table; }

void index_color(int index, RGBColor& out) {
    if (index >= 0 && size_t(index) < program_table.colors.size()) out = program_table.colors[index];
}

const ColorTable& system_palette() {
    static const ColorTable palette = make_system_palette();
    return palette;
}

RGBColor get_op_color() { return op_color; }
void set_op_color(const RGBColor& c) { op_color = c; }

RGBColor get_hilite_color() { return hilite_color; }
void set_hilite_color(const RGBColor& c) { hilite_color = c; }

bool get_gray(const RGBColor& back, RGBColor& fore_in_out) {
    // The grey of the mean luminance; told apart at 8 bits a channel, as pixels are.
    uint32_t luminance_back = uint32_t(back.red) * 30 + back.green * 59 + back.blue * 11;
    uint32_t luminance_fore =
        uint32_t(fore_in_out.red) * 30 + fore_in_out.green * 59 + fore_in_out.blue * 11;
    uint16_t level = uint16_t((luminance_back + luminance_fore) / 200);
    RGBColor grey{level, level, level};
    auto same8 = [](const RGBColor& a, const RGBColor& b) {
        return (a.red >> 8) == (b.red >> 8) && (a.green >> 8) == (b.green >> 8) && (a.blue >> 8) == (b.blue >> 8);
    };
    if (same8(grey, back) || same8(grey, fore_in_out)) return false;
    fore_in_out = grey;
    return true;
}

}  // namespace pf
