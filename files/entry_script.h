// The scripts of a text and its style runs (model/style_run_layout.h: a
// 16-bit count, then the runs): each run's bytes are in the script of its
// font. A cell has one font, so an entry whose runs are in several scripts is
// spelled again in one script that spells it all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The text as UTF-8, each run decoded by the script of its font; without
// runs, by the script of `font` (a run's default font number stands for
// `font` too).
std::string styled_text_utf8(std::string_view text, std::string_view runs, int16_t font);

// The script of the runs when all that set a byte above 127 share one; the
// script of `font` when none does; -1 when they are several.
int16_t runs_script(std::string_view text, std::string_view runs, int16_t font);

// The script of a cell's value, the cell set in `font`: a formula's text
// result in the script it carries, a text in the script of its runs; -1 for
// a text whose runs are in several scripts.
int16_t value_script(const uint8_t* cell, int16_t font);

// A field a writer took from a cell, as UTF-8 for a file or another program:
// the cell's value decoded by its script (each run of a text by its own),
// any other field (a formula's text) by the script of `font`.
std::string cell_field_utf8(const uint8_t* cell, std::string_view field, int16_t font);

// An entry spelled in one script: its bytes, and its runs each set in a font
// of that script, runs that came out alike joined.
struct OneScriptEntry {
    std::string text;
    std::string runs;
    int16_t script = 0;
};

// The entry in the first installed script that spells all of it; false
// (`out` unchanged) when no one script does.
bool spell_entry_in_one_script(std::string_view text, std::string_view runs, int16_t font, OneScriptEntry& out);
