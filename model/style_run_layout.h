// The style-run table of a text cell: a 16-bit count, then 20-byte entries:
// start offset (i32), line height (i16), ascent (i16), font (i16), face (u8 and
// a filler), size (i16), colour (three u16).
#pragma once

constexpr int kRunEntrySize = 20;
constexpr int kRunStart = 0;
constexpr int kRunHeight = 4;
constexpr int kRunAscent = 6;
constexpr int kRunFont = 8;
constexpr int kRunFace = 10;
constexpr int kRunFontSize = 12;
constexpr int kRunColour = 14;  // red, green, blue
