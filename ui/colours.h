// Colours by index from the program's colour table ('clut' 129), pen and
// colour resets, and the pixel depth of the screens under a rectangle.
#pragma once

#include <cstdint>

#include "platform/draw/draw.h"
#include "platform/windows/windows.h"

extern const pf::RGBColor black_color;
extern const pf::RGBColor white_color;

void index_color(int16_t n, pf::RGBColor* rgb);
void set_index_forecolor(int16_t n);
void set_index_backcolor(int16_t n);
void set_gray_pattern();
void set_white_pattern();
void SetPenToNormal();
void SetFrontPenToNormal();
void SetRGBFrontColor(const pf::RGBColor* rgb);
void SetRGBBackColor(const pf::RGBColor* rgb);
void SetBackColorToNormal(pf::RGBColor* saved);
int16_t ColorDepth(const pf::Rect* rect);
int16_t checkColor(pf::WindowRef window);
