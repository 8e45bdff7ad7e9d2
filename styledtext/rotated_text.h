// Text drawn turned by quarter turns (chart axis titles and labels) and text
// drawn with extra width spread over its characters.
#pragma once

#include <cstdint>

// Draws a length-prefixed string turned by `angle` degrees at the pen of the
// current port, with no extra width; answers RotateText's result.
int16_t RotateTextStr(const unsigned char* text, int16_t angle, bool withComments);

// Draws `length` bytes turned by `angle` degrees (counter-clockwise, rounded to the
// nearest quarter turn) at the pen. At a quarter of 0 the text is drawn as it is
// and 0 is answered; otherwise the answer is the advance (width + extraWidth) and
// the pen moves that far along the turned baseline: up at 90, left at 180, down at
// 270. With `withComments` while a picture is recorded, picture comments let a
// printer draw real turned text.
int16_t RotateText(const char* text, int16_t length, int16_t extraWidth, int16_t justifyMode, int16_t angle,
                   bool withComments);

// Draws at the pen with extraWidth pixels spread between the characters; the
// modes place the spread: 0 between characters, 2 and 3 with half a step first.
void draw_justtext(const char* text, int16_t length, int16_t extraWidth, int16_t justifyMode);

// The quarter turn an angle rounds to: 0, 90, 180 or 270.
int16_t RotationQuarter(int16_t angle);
