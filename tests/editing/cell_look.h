// The look of a stored cell, as its format and style runs hold it: what a
// change of its letters must keep.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "model/text_runs.h"
#include "platform/text/mac_roman.h"
#include "platform/text/text.h"

struct RunLookSeen {
    int16_t font = 0;
    uint8_t face = 0;
    int16_t size = 0;
    uint16_t colour[3] = {0, 0, 0};
};

struct CellLook {
    bool stored = false;
    // The format bytes a change of letters keeps (font aside: it follows the script).
    uint8_t size = 0, face = 0, align = 0, flags_a = 0, flags_b = 0, colour = 0, pattern = 0;
    std::vector<RunLookSeen> runs;
    std::map<int16_t, int16_t> run_fonts;  // script -> font of its runs
};

inline CellLook cell_look(MemoryRef layer, CellPoint where) {
    CellLook look;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return look;
    look.stored = true;
    look.size = cell[kFmtSize];
    look.face = cell[kFmtFace];
    look.align = cell[kFmtAlign];
    look.flags_a = cell[kFmtFlagsA];
    look.flags_b = cell[kFmtFlagsB];
    look.colour = cell[kFmtTextColour];
    look.pattern = cell[kFmtPattern];
    if (_cellType_(cell) != kCellText || _styleLength_(cell) < 2) return look;
    const uint8_t* style = _stylePtr_(cell);
    const int16_t count = load_i16(style);
    for (int16_t i = 0; i < count && 2 + (i + 1) * kRunEntrySize <= _styleLength_(cell); ++i) {
        const uint8_t* run = style + 2 + i * kRunEntrySize;
        RunLookSeen seen;
        seen.font = load_i16(run + kRunFont);
        seen.face = run[kRunFace];
        seen.size = load_i16(run + kRunFontSize);
        for (int k = 0; k < 3; ++k) seen.colour[k] = load_u16(run + kRunColour + 2 * k);
        look.runs.push_back(seen);
        look.run_fonts.emplace(pf::font_to_script(seen.font), seen.font);
    }
    return look;
}

// What `after` changed of the look of `before` ("" for nothing): the same
// format bytes, every run set in the face, size and colour of the runs before,
// and the runs of a script that was there before in the font it had (a text
// one script spells needs no runs).
inline std::string look_changes(const CellLook& before, const CellLook& after) {
    std::string changes;
    auto differ = [&](const char* what, int was, int now) {
        if (was != now) changes += std::string(what) + " " + std::to_string(was) + " -> " + std::to_string(now) + "; ";
    };
    differ("stored", before.stored, after.stored);
    differ("size", before.size, after.size);
    differ("face", before.face, after.face);
    differ("align", before.align, after.align);
    differ("flags A", before.flags_a, after.flags_a);
    differ("flags B", before.flags_b, after.flags_b);
    differ("colour", before.colour, after.colour);
    differ("pattern", before.pattern, after.pattern);
    if (before.runs.empty() || after.runs.empty()) return changes;
    const RunLookSeen& was = before.runs.front();
    for (const RunLookSeen& run : after.runs) {
        differ("run face", was.face, run.face);
        differ("run size", was.size, run.size);
        for (int k = 0; k < 3; ++k) differ("run colour", was.colour[k], run.colour[k]);
        const auto font = before.run_fonts.find(pf::font_to_script(run.font));
        if (font != before.run_fonts.end()) differ("run font", font->second, run.font);
    }
    return changes;
}

// Each letter of a text cell in runs with the font, face and red of its run.
struct LetterLook {
    char32_t letter = 0;
    int16_t font = 0;
    uint8_t face = 0;
    uint16_t red = 0;
    bool operator==(const LetterLook&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const LetterLook& look) {
    return out << "U+" << std::hex << uint32_t(look.letter) << std::dec << " font " << look.font << " face "
               << int(look.face) << " red " << look.red;
}

inline std::vector<LetterLook> letter_looks(MemoryRef layer, CellPoint where) {
    std::vector<LetterLook> looks;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer) || _cellType_(cell) != kCellText) return looks;
    const std::string_view text(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
    const std::string_view runs(reinterpret_cast<const char*>(_stylePtr_(cell)), size_t(_styleLength_(cell)));
    for (const TextRun& run : text_runs(runs, text.size())) {
        const std::string utf8 =
            pf::script_to_utf8(text.substr(run.start, run.end - run.start), pf::font_to_script(load_i16(run.entry + kRunFont)));
        char32_t c = 0;
        for (size_t i = 0; i < utf8.size();)
            if (pf::decode_utf8(utf8, i, c))
                looks.push_back({c, load_i16(run.entry + kRunFont), run.entry[kRunFace], load_u16(run.entry + kRunColour)});
    }
    return looks;
}
