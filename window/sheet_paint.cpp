#include "window/sheet_paint.h"

#include <algorithm>
#include <vector>

#include "model/program_colours.h"
#include "platform/resources/resource_format.h"
#include "platform/resources/resource_templates.h"
#include "platform/resources/resources.h"

namespace {

// Decoded resources, kept while the same resource stays installed.
template <typename Entry, typename Decode>
const std::vector<Entry>& cached(pf::FourCC type, int16_t id, Decode decode) {
    static const pf::Resource* source = nullptr;
    static std::vector<Entry> entries;
    const pf::Resource* now = pf::get_resource(type, id);
    if (now != source) {
        source = now;
        entries.clear();
        if (now) decode(now, entries);
    }
    return entries;
}

}  // namespace

pf::RGBColor table_colour(int16_t n) {
    pf::RGBColor colour = pf::kBlackColor;
    program_colour(n, &colour);
    return colour;
}

pf::Pattern list_pattern(int16_t n) {
    const auto& patterns = cached<pf::Pattern>(pf::kPatternListType, kPatternList,
                                               [](const pf::Resource* r, std::vector<pf::Pattern>& out) {
                                                   std::vector<pf::PatternBytes> list;
                                                   if (!pf::decode_patterns(r->bytes, list)) return;
                                                   for (const auto& bytes : list) {
                                                       pf::Pattern p;
                                                       for (int i = 0; i < 8; ++i) p.pat[i] = bytes[size_t(i)];
                                                       out.push_back(p);
                                                   }
                                               });
    if (n < 1 || patterns.empty()) return pf::kBlackPattern;
    return patterns[std::min(size_t(n), patterns.size()) - 1];  // past the list: its last pattern
}

pf::Pattern shifted_pattern(const pf::Pattern& pattern, int dh, int dv) {
    pf::Pattern moved;
    int right = ((dh % 8) + 8) % 8;
    int down = ((dv % 8) + 8) % 8;
    for (int row = 0; row < 8; ++row) {
        unsigned bits = pattern.pat[(row - down + 8) % 8];
        moved.pat[row] = uint8_t(((bits >> right) | (bits << (8 - right))) & 0xFF);
    }
    return moved;
}

namespace {
int phase_dh = 0, phase_dv = 0;
}  // namespace

PatternPhase::PatternPhase(int dh, int dv) : saved_dh(phase_dh), saved_dv(phase_dv) {
    phase_dh = dh;
    phase_dv = dv;
}

PatternPhase::~PatternPhase() {
    phase_dh = saved_dh;
    phase_dv = saved_dv;
}

pf::Pattern phased(const pf::Pattern& pattern) { return shifted_pattern(pattern, phase_dh, phase_dv); }

void fore_grey(uint16_t level) { pf::rgb_fore_color(pf::RGBColor{level, level, level}); }

void draw_line(int16_t h1, int16_t v1, int16_t h2, int16_t v2) {
    pf::move_to(h1, v1);
    pf::line_to(h2, v2);
}
