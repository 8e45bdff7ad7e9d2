// The scripts of a text and its style runs (model/style_run_layout.h: a
// 16-bit count, then the runs): each run's bytes are in the script of its
// font. A cell has one font, so an entry whose runs are in several scripts is
// spelled again in one script that spells it all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "model/text_runs.h"
#include "platform/text/scripts.h"

// The script of a cell's value, the cell set in `font`: a formula's text
// result in the script it carries, a text in the script of its runs; -1 for
// a text whose runs are in several scripts.
int16_t value_script(const uint8_t* cell, int16_t font);

// A field a writer took from a cell, as UTF-8 for a file or another program:
// the cell's value decoded by its script (each run of a text by its own),
// any other field (a formula's text) by the script of `font`.
std::string cell_field_utf8(const uint8_t* cell, std::string_view field, int16_t font);
// The same appended to `out`.
void append_cell_field_utf8(const uint8_t* cell, std::string_view field, int16_t font, std::string& out);

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

// How the runs of a text spelled in several scripts are set: `font` for the
// parts of its script, each other script's own font for the rest.
struct RunLook {
    int16_t font = 1;
    int16_t size = 0;
    uint8_t face = 0;
    uint16_t colour[3] = {0, 0, 0};
};

// A text from outside (UTF-8) as a cell keeps it: in the script of `look`'s
// font when that spells it all, else in the first installed script that does
// (Roman first); else in runs, each word in a script that spells it (the
// run's script going on while it can), with a run table. A character no
// installed script spells becomes "?", and is counted and named.
struct ScriptedText {
    std::string text;
    std::string runs;  // a run table when the text is in several scripts, else empty
    int16_t script = pf::kScriptRoman;  // the one script; -1 with runs
    int32_t unspelled = 0;
    std::u32string unspelled_characters;  // each once, in order
};
ScriptedText spell_text_in_scripts(std::string_view utf8, const RunLook& look);
// The run table of a spelled text: its own, or one run setting it all in the
// font of its one script.
std::string run_table_of(const ScriptedText& text, const RunLook& look);
// The runs of a spelled text set as `look` sets text: its size, face and
// colour, and its font for the runs of the font's script.
void set_runs_look(std::string& runs, const RunLook& look);

// A field of text from outside (UTF-8), taken for a cell whose format is
// `header`: `field` becomes its bytes and `runs` their run table when it is
// in several scripts (spell_text_in_scripts), the cell's font following its
// one script beyond Roman (then in `spelled`, which is answered; else
// `header`). What no installed script spells is counted in `unspelled` and
// added once to `characters`.
const uint8_t* spell_field_for_cell(std::string& field, std::string& runs, const uint8_t* header, uint8_t* spelled,
                                    MemoryRef layer, int32_t& unspelled, std::u32string* characters = nullptr);
// How the runs of a text from outside for a cell of format `header` are set:
// in the font and size the cell reads it in (its own, else the layer's
// default); the text is spelled in that font's script first.
RunLook field_look(const uint8_t* header, MemoryRef layer);
// The same, for a reader of many fields of one format that finds their look
// once.
const uint8_t* spell_field_for_cell(std::string& field, std::string& runs, const uint8_t* header, const RunLook& look,
                                    uint8_t* spelled, int32_t& unspelled, std::u32string* characters = nullptr);
