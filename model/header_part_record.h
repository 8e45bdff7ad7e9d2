// The `HeaderFooterPart` record: one part of a layer's header or footer, 72
// bytes in the host's byte order. A layer keeps one list of them for its header
// and one for its footer.
#pragma once

constexpr int kHeaderPartSize = 72;
constexpr int kHeaderPartAlignment = 0;  // i16: -1 right, 1 centre, otherwise left
constexpr int kHeaderPartFont = 2;       // i16: negative for the layer's font
constexpr int kHeaderPartFontSize = 4;   // i16: above 200 for the layer's size
constexpr int kHeaderPartFace = 6;       // u8
constexpr int kHeaderPartColour = 7;     // u8: colour index + 1
constexpr int kHeaderPartTextOffset = 8;  // a length-prefixed text in 64 bytes
constexpr int kHeaderPartTextSize = 64;
constexpr int kHeaderPartTextCapacity = kHeaderPartTextSize - 1;
