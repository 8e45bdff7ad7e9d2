// Font numbers, names and the files that draw them (the table is in fonts.h).
#include "platform/draw/draw.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/fonts/font_instance.h"
#include "platform/fonts/fonts.h"
#include "platform/text/mac_roman.h"
#include "platform/text/text.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <memory>

namespace pf {

namespace {

// The files of our own configuration: fonts-dejavu-core (upright), fonts-dejavu-extra
// (slanted) and fonts-liberation2.
constexpr const char* kDejaVuDir = "/usr/share/fonts/truetype/dejavu/";
constexpr const char* kLiberationDir = "/usr/share/fonts/truetype/liberation2/";
constexpr const char* kDejaVuFiles[] = {
    "DejaVuSans.ttf",          "DejaVuSans-Bold.ttf",           "DejaVuSans-Oblique.ttf",
    "DejaVuSans-BoldOblique.ttf", "DejaVuSansMono.ttf",         "DejaVuSansMono-Bold.ttf",
    "DejaVuSansMono-Oblique.ttf", "DejaVuSansMono-BoldOblique.ttf", "DejaVuSerif.ttf",
    "DejaVuSerif-Bold.ttf",    "DejaVuSerif-Italic.ttf",        "DejaVuSerif-BoldItalic.ttf",
};
constexpr const char* kLiberationFiles[] = {
    "LiberationSans-Regular.ttf",  "LiberationSans-Bold.ttf",  "LiberationSans-Italic.ttf",
    "LiberationSans-BoldItalic.ttf", "LiberationSerif-Regular.ttf", "LiberationSerif-Bold.ttf",
    "LiberationSerif-Italic.ttf",  "LiberationSerif-BoldItalic.ttf", "LiberationMono-Regular.ttf",
    "LiberationMono-Bold.ttf",     "LiberationMono-Italic.ttf", "LiberationMono-BoldItalic.ttf",
};
constexpr const char* kNotoCjkDir = "/usr/share/fonts/opentype/noto/";
constexpr const char* kNotoCjkFiles[] = {"NotoSansCJK-Regular.ttc", "NotoSansCJK-Bold.ttc"};
constexpr const char* kFallbackFamily = "DejaVu Sans";

// A family that only a double-byte script draws with; it is listed under the
// script's number alone.
bool is_script_family(std::string_view fc_family) {
    return std::ranges::any_of(script_fonts(), [&](const ScriptFont& f) {
        return double_byte_script(f.script) && fc_family == f.family;
    });
}


constexpr int kFirstHashedNumber = 1024;
constexpr int kHashedNumbers = 32768 - kFirstHashedNumber;

// A family found on the machine, under a hashed number.
struct InstalledFamily {
    std::string name;      // Mac Roman
    std::string fc_family;  // as fontconfig spells it (UTF-8)
    bool ours = false;      // in our own configuration
};

struct Catalog {
    FcConfig* ours = nullptr;
    FcConfig* machine = nullptr;  // loaded on first need
    bool machine_listed = false;
    bool double_byte_files_added = false;
    std::map<int16_t, InstalledFamily> installed;
};

Catalog& catalog() {
    static Catalog c;
    if (!c.ours) {
        c.ours = FcConfigCreate();
        for (const char* f : kDejaVuFiles)
            FcConfigAppFontAddFile(c.ours, reinterpret_cast<const FcChar8*>((std::string(kDejaVuDir) + f).c_str()));
        for (const char* f : kLiberationFiles)
            FcConfigAppFontAddFile(c.ours,
                                   reinterpret_cast<const FcChar8*>((std::string(kLiberationDir) + f).c_str()));
    }
    return c;
}

// The double-byte scripts' files join our configuration when one of those
// scripts is first drawn: reading them costs many times what the rest of the
// catalogue does, and most documents never need them.
void add_double_byte_files(Catalog& c) {
    if (c.double_byte_files_added) return;
    c.double_byte_files_added = true;
    for (const char* f : kNotoCjkFiles)
        FcConfigAppFontAddFile(c.ours, reinterpret_cast<const FcChar8*>((std::string(kNotoCjkDir) + f).c_str()));
}

uint32_t fnv1a(std::string_view s) {
    uint32_t h = 2166136261u;
    for (unsigned char ch : s) h = (h ^ ch) * 16777619u;
    return h;
}

std::vector<std::string> families_of(FcConfig* config) {
    FcPattern* all = FcPatternCreate();
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(config, all, os);
    std::vector<std::string> names;
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
            names.emplace_back(reinterpret_cast<const char*>(family));
    }
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(os);
    FcPatternDestroy(all);
    std::ranges::sort(names);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// Numbers a script keeps for its own fonts are never given to a family.
bool number_free(const std::map<int16_t, InstalledFamily>& taken, int16_t number) {
    return !taken.contains(number) && font_to_script(number) == kScriptRoman;
}

int16_t free_hashed_number(const std::map<int16_t, InstalledFamily>& taken, std::string_view name) {
    int slot = int(fnv1a(name) % kHashedNumbers);
    while (!number_free(taken, int16_t(kFirstHashedNumber + slot))) slot = (slot + 1) % kHashedNumbers;
    return int16_t(kFirstHashedNumber + slot);
}

// Numbers every family of the machine and of our configuration, in byte order of names.
void list_installed(Catalog& c) {
    if (c.machine_listed) return;
    c.machine_listed = true;
    c.machine = FcInitLoadConfigAndFonts();
    std::vector<std::string> ours = families_of(c.ours);
    std::vector<std::string> names = ours;
    if (c.machine) {
        std::vector<std::string> theirs = families_of(c.machine);
        names.insert(names.end(), theirs.begin(), theirs.end());
        std::ranges::sort(names);
        names.erase(std::unique(names.begin(), names.end()), names.end());
    }
    for (const std::string& fc_family : names) {
        if (c.installed.size() >= size_t(kHashedNumbers)) break;  // every number is taken
        std::string name = utf8_to_mac_roman(fc_family);
        if (known_font_number(name) >= 0 || is_script_family(fc_family)) continue;
        InstalledFamily family{name, fc_family, std::ranges::binary_search(ours, fc_family)};
        c.installed.emplace(free_hashed_number(c.installed, name), std::move(family));
    }
}

std::string pattern_string(FcPattern* p, const char* object) {
    FcChar8* s = nullptr;
    return FcPatternGetString(p, object, 0, &s) == FcResultMatch ? reinterpret_cast<const char*>(s) : "";
}

int pattern_int(FcPattern* p, const char* object, int fallback) {
    int v = fallback;
    FcPatternGetInteger(p, object, 0, &v);
    return v;
}

// The best face of `family` in `config`; an empty file when the configuration has none.
FontSource match_face(FcConfig* config, const char* family, bool bold, bool italic) {
    FcPattern* want = FcPatternCreate();
    FcPatternAddString(want, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(want, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(want, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(want, FC_SCALABLE, FcTrue);
    FcDefaultSubstitute(want);
    FcResult result = FcResultNoMatch;
    FcPattern* got = FcFontMatch(config, want, &result);
    FontSource source;
    if (got) {
        source.file = pattern_string(got, FC_FILE);
        source.index = pattern_int(got, FC_INDEX, 0);
        source.embolden = bold && pattern_int(got, FC_WEIGHT, FC_WEIGHT_REGULAR) < FC_WEIGHT_DEMIBOLD;
        source.slant = italic && pattern_int(got, FC_SLANT, FC_SLANT_ROMAN) == FC_SLANT_ROMAN;
        FcPatternDestroy(got);
    }
    FcPatternDestroy(want);
    return source;
}

}  // namespace

FontSource resolve_font_source(int16_t number, bool bold, bool italic) {
    Catalog& c = catalog();
    FontSource source;
    if (const ClassicFont* f = classic_font(number)) {
        source = match_face(c.ours, f->family, bold, italic);
    } else if (const ScriptFont* f = script_font_of(number)) {
        if (double_byte_script(f->script)) add_double_byte_files(c);
        source = match_face(c.ours, f->family, bold, italic);
    } else if (number >= kFirstHashedNumber) {
        list_installed(c);
        auto it = c.installed.find(number);
        if (it != c.installed.end()) {
            FcConfig* config = it->second.ours ? c.ours : c.machine;
            source = match_face(config, it->second.fc_family.c_str(), bold, italic);
        }
    }
    if (source.file.empty() && number != kApplFont) return resolve_font_source(kApplFont, bold, italic);
    if (source.file.empty()) {
        // Our files are missing: draw with what the machine offers rather than nothing.
        list_installed(c);
        if (c.machine) source = match_face(c.machine, kFallbackFamily, bold, italic);
    }
    return source;
}

std::vector<FontFamily> font_list() {
    Catalog& c = catalog();
    list_installed(c);
    std::vector<FontFamily> list;
    for (const ClassicFont& f : classic_fonts()) list.push_back({f.number, f.name});
    for (const ScriptFont& f : script_fonts()) list.push_back({script_font(f.script), f.name});
    for (const auto& [number, family] : c.installed) list.push_back({number, family.name});
    std::ranges::sort(list, [](const FontFamily& a, const FontFamily& b) { return a.name < b.name; });
    return list;
}

std::string font_name(int16_t number) {
    if (std::string name = known_font_name(number); !name.empty()) return name;
    if (number < kFirstHashedNumber || script_font_of(number)) return "";
    Catalog& c = catalog();
    list_installed(c);
    auto it = c.installed.find(number);
    return it == c.installed.end() ? "" : it->second.name;
}

int16_t font_number(std::string_view name, bool* found) {
    if (found) *found = true;
    if (int16_t number = known_font_number(name); number >= 0) return number;
    Catalog& c = catalog();
    list_installed(c);
    for (const auto& [number, family] : c.installed)
        if (same_font_name(family.name, name)) return number;
    if (found) *found = false;
    return kSystemFont;
}

bool real_font(int16_t number, int16_t size) { return size > 0 && !font_name(number).empty(); }

std::string font_file(int16_t number, uint8_t face) {
    return resolve_font_source(number, face & kBold, face & kItalic).file;
}

}  // namespace pf
