#include "model/program_colours.h"

#include "platform/resources/resource_format.h"
#include "platform/resources/resource_templates.h"
#include "platform/resources/resources.h"
#include "resource_ids.h"

const std::vector<pf::RGBColor>& program_colours() {
    static const pf::Resource* source = nullptr;
    static std::vector<pf::RGBColor> colours;
    const pf::Resource* now = pf::get_resource(pf::kColorTableType, kProgramColourTable);
    if (now == source) return colours;
    source = now;
    colours.clear();
    pf::ColorTableResource table;
    if (now && pf::decode_color_table(now->bytes, table))
        for (const pf::ColorTableEntry& entry : table.entries) colours.push_back({entry.red, entry.green, entry.blue});
    return colours;
}

bool program_colour(int16_t n, pf::RGBColor* rgb) {
    const std::vector<pf::RGBColor>& colours = program_colours();
    if (n < 0 || size_t(n) >= colours.size()) return false;
    *rgb = colours[size_t(n)];
    return true;
}

void install_program_colours() { pf::set_color_table(program_colours()); }
