// The state that travels through the drawing of a layer's rows (one redraw):
// the current cell with its display text and format, where its text may go
// and where it went, its neighbours for fills and border joins. Shared by the
// row drawing and the border drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "model/display_text.h"
#include "platform/types.h"

struct SpreadSheet;
struct SheetAxes;

constexpr int16_t kNoLeftLimit = -32000;

struct RowDrawState {
    CellInfoRecord info;          // display text and format copy of the current cell
    MemoryRef layer = nullptr;
    const SpreadSheet* sheet = nullptr;
    const SheetAxes* axes = nullptr;
    int16_t default_font = 0;
    int16_t default_size = 0;
    int16_t colour_style = 0;
    bool hairlines = false;       // printing: style-5 borders as hairlines
    bool printing = false;        // drawing for print or picture: grid lines stay
    int16_t pane = 0;

    int16_t column = 0;
    const uint8_t* cell = nullptr;
    const uint8_t* next_cell = nullptr;
    const uint8_t* row_end = nullptr;
    int16_t next_column = 32000;
    int16_t left_limit = kNoLeftLimit;  // right edge of the last cell drawn in the row
    int16_t text_left = 0, text_right = 0;
    pf::Rect box{};                     // where the text may go; grows with overflow
    int16_t own_left = 0, own_right = 0;
    int16_t box_first_column = 0, box_last_column = 0;
    const uint8_t* cell_above = nullptr;
    const uint8_t* cell_left = nullptr;
    const uint8_t* cell_right = nullptr;
    const uint8_t* row_above = nullptr;   // the row record of the row above, or null
    std::vector<const uint8_t*> crossed;  // format-only cells that overflowing text crossed
    const unsigned char* text = nullptr;  // the text as it will be drawn (cut, apostrophe gone)
    int32_t text_length = 0;
    int16_t text_width = 0;
    // Style runs of a text cell (20-byte entries), and how many bytes of the
    // cell's text come before `text`; none for other cells.
    const uint8_t* runs = nullptr;
    int16_t run_count = 0;
    int32_t text_offset = 0;
};

// Border styles of a format's border word and its colours.
struct BorderStyles {
    int left, top, right, bottom;
};
BorderStyles border_styles(const uint8_t* format);
inline BorderStyles border_styles_or_none(const uint8_t* cell) {
    return cell ? border_styles(cell) : BorderStyles{0, 0, 0, 0};
}

void DrawBorders(RowDrawState* state);
// A cell's borders drawn in its box as the sheet draws them (the bottom and
// right lines on the box's last pixels), with the side colours (0 none, c
// table entry c - 1) and the neighbours' styles for the joins (null: none).
void draw_cell_borders(const pf::Rect& box, const BorderStyles& styles, const BorderStyles& colours,
                       const BorderStyles* left, const BorderStyles* above, const BorderStyles* right,
                       int16_t colour_style);
void DrawNoteMarker(RowDrawState* state);
// The cell of a row record at a column, or null.
const uint8_t* cell_in_row(const uint8_t* row, int16_t column);
