// The scripts of texts in style runs.
#include "model/text_runs.h"

#include <algorithm>

#include "model/cell_format.h"
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "platform/text/text.h"

std::vector<TextRun> text_runs(std::string_view runs, size_t length) {
    std::vector<TextRun> found;
    if (runs.size() < 2) return found;
    const auto* table = reinterpret_cast<const uint8_t*>(runs.data());
    const int32_t count = std::min<int32_t>(load_i16(table), int32_t((runs.size() - 2) / kRunEntrySize));
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* entry = table + 2 + size_t(i) * kRunEntrySize;
        size_t start = size_t(std::clamp<int32_t>(load_i32(entry + kRunStart), 0, int32_t(length)));
        if (found.empty()) start = 0;
        else start = found.back().end = std::max(found.back().start, start);
        found.push_back(TextRun{start, length, entry});
    }
    return found;
}

int16_t run_font(const TextRun& run, int16_t font) {
    const int16_t own = load_i16(run.entry + kRunFont);
    return own == int16_t(kDefaultFontNumber) ? font : own;
}

int16_t run_script(const TextRun& run, int16_t font) { return pf::font_to_script(run_font(run, font)); }

std::string styled_text_utf8(std::string_view text, std::string_view runs, int16_t font) {
    const std::vector<TextRun> found = text_runs(runs, text.size());
    if (found.empty()) return pf::script_to_utf8(text, pf::font_to_script(font));
    std::string utf8;
    for (const TextRun& run : found)
        utf8 += pf::script_to_utf8(text.substr(run.start, run.end - run.start), run_script(run, font));
    return utf8;
}

int16_t runs_script(std::string_view text, std::string_view runs, int16_t font) {
    int16_t script = -1;
    for (const TextRun& run : text_runs(runs, text.size())) {
        const std::string_view bytes = text.substr(run.start, run.end - run.start);
        if (std::none_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) >= 0x80; })) continue;
        const int16_t own = run_script(run, font);
        if (script >= 0 && own != script) return -1;
        script = own;
    }
    return script >= 0 ? script : pf::font_to_script(font);
}
