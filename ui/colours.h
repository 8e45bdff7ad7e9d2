// Colours by index from the program's colour table ('clut' 129), pen and
// colour resets, and the pixel depth of the screens under a rectangle.
#pragma once

#include <cstdint>

#include "platform/draw/draw.h"
#include "platform/windows/windows.h"

extern const pf::RGBColor black_color;
extern const pf::RGBColor white_color;

void index_color(int16_t n, pf::RGBColor* rgb);
void SetFrontPenToNormal();
void SetBackColorToNormal(pf::RGBColor* saved);
int16_t ColorDepth(const pf::Rect* rect);
int16_t checkColor(pf::WindowRef window);

// The program's colours and patterns offered in the palettes and menus.
constexpr int16_t kColourItems = 256;
constexpr int16_t kPatternItems = 40;
// Values stored in documents and preferences, brought within the palettes:
// a colour 0..255 (0 none, v table entry v - 1), a pattern 0..39.
int16_t clamp_colour_value(int16_t value);
int16_t clamp_pattern_value(int16_t value);
