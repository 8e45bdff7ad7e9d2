// The colour and pattern commands: text colour, fill colours and pattern, line
// colours and pattern, line size and frame type, applied to the selected
// drawing objects of the front document when there are any, else to its
// selected cells (which have no lines or frames); and the values the colour
// palette shows for the selection (negative: not applicable or mixed).
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Slots of the values shown.
enum : int16_t {
    kTextColourSlot = 1, kFrameTypeSlot, kLineBackSlot, kLineForeSlot, kLineSizeSlot,
    kFillForeSlot, kLinePatternSlot, kFillBackSlot, kFillPatternSlot, kColourSlots
};
int16_t color_palette_value(int16_t slot);

void update_text_color(int16_t value, bool force);
void update_fills(int16_t fore, int16_t back, int16_t pattern, bool force);
void update_lines(int16_t fore, int16_t back, int16_t pattern, bool force);
void update_line_size(int16_t value, bool force);
void update_frametype(int16_t value, bool force);

// Menu items: colour item n is value n - 1; text colour item 1 stands for
// black (value 2); pattern items 1 and 2 both give none, item n > 2 gives n - 1.
void ColorTextMenu(MemoryRef window_record, int16_t item);
void DoColorPattern(MemoryRef window_record, int16_t item, bool foreground, bool fill);
void DoPatternMenu(MemoryRef window_record, int16_t item, bool fill);
// Line size (0 a hairline, else pixels) and frame type (0 to 3) of the
// selected objects, as one undo step; nothing without selected objects.
void set_line_size(MemoryRef window_record, int16_t value);
void set_frame_type(MemoryRef window_record, int16_t value);
