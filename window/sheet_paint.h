// Pens, colours and patterns of worksheet drawing: the program's colour table
// and pattern list (read once per installed bundle), the greys of headers and
// grid, and lines between two points.
#pragma once

#include <cstdint>

#include "platform/draw/draw.h"
#include "resource_ids.h"

constexpr int16_t kRowPageMarkPattern = 20;
constexpr int16_t kColumnPageMarkPattern = 30;
constexpr int16_t kSolidFillPattern = 4;
constexpr int16_t kGreyFillPattern = 2;
constexpr uint16_t kHeaderGrey = 0xDDDD;
constexpr uint16_t kGridGrey = 0xCCCC;
constexpr uint16_t kShadowGrey = 0x8888;

// Colour drawing is used above this colour style (the colour class of the window).
constexpr int16_t kColourStyle = 3;
inline bool colour_style(int16_t style) { return style >= kColourStyle; }

// Entry `n` of the colour table (black when missing); item `n` of the
// pattern list from 1 (black for none, the last one past the end).
pf::RGBColor table_colour(int16_t n);
pf::Pattern list_pattern(int16_t n);
// The pattern moved right by `dh` and down by `dv` pixels.
pf::Pattern shifted_pattern(const pf::Pattern& pattern, int dh, int dv);

// Patterns drawn in a pane keep their place on the sheet while it scrolls:
// while a phase is set, phased() moves a pattern so that its (0, 0) lies on
// the sheet's first pixel (dh, dv are that pixel's window position, mod 8).
struct PatternPhase {
    PatternPhase(int dh, int dv);
    ~PatternPhase();
    PatternPhase(const PatternPhase&) = delete;
    PatternPhase& operator=(const PatternPhase&) = delete;
    int saved_dh, saved_dv;
};
pf::Pattern phased(const pf::Pattern& pattern);

void fore_grey(uint16_t level);
void draw_line(int16_t h1, int16_t v1, int16_t h2, int16_t v2);
