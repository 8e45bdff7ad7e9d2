// The scripts of a text and its style runs (model/style_run_layout.h: a
// 16-bit count, then the runs): each run's bytes are in the script of its font.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One run: its bytes of the text and its entry in the run table.
struct TextRun {
    size_t start = 0, end = 0;
    const uint8_t* entry = nullptr;
};

// The runs of a run table over a text of `length` bytes, each cut to the
// text; the first takes in any text before it.
std::vector<TextRun> text_runs(std::string_view runs, size_t length);
// The font of a run, its default font number standing for `font`.
int16_t run_font(const TextRun& run, int16_t font);
int16_t run_script(const TextRun& run, int16_t font);

// The text as UTF-8, each run decoded by the script of its font; without
// runs, by the script of `font` (a run's default font number stands for
// `font` too).
std::string styled_text_utf8(std::string_view text, std::string_view runs, int16_t font);

// The script of the runs when all that set a byte above 127 share one; the
// script of `font` when none does; -1 when they are several.
int16_t runs_script(std::string_view text, std::string_view runs, int16_t font);
