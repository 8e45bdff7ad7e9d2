// The state rules of the command-bar buttons: whether a button is enabled and
// whether it shows its property pressed, from the front document's facts.
#pragma once

#include <cstdint>

#include "shell/button_bars.h"
#include "shell/document_facts.h"

// The value a button shows (0 or 1; the font number or point size for the
// font and size pop-ups). Buttons without a value show 0.
int16_t button_value(const ButtonRecord& button, const DocumentFacts& facts);
// Enabled (1) or disabled (0): with a document by the rules of its code;
// without one, only New, Open, Preferences and Quit while a window is open.
int16_t button_state(const ButtonRecord& button, const DocumentFacts& facts, bool has_window);
// Brings every button of the shown bar up to date, drawing those that changed.
void refresh_buttons(MemoryRef record, pf::WindowRef window);
// Draws one button of the shown bar in the command bar's port.
void draw_bar_button(ButtonRecord& button);

// Currency pop-up: the item checked for a format, and the format a choice gives.
struct FormatChange {
    bool valid = false;
    uint8_t code = 0;
    int16_t decimals = -1;  // -1: unchanged
    uint8_t flags_a_set = 0, flags_a_clear = 0;
    uint8_t flags_b_set = 0, flags_b_clear = 0;
};
int16_t currency_checked_item(const CellFormat& format);
FormatChange currency_choice(int16_t item);
// Fixed-decimals pop-up: the item checked, and the change of a choice (item
// 10 runs the precision dialog instead: not valid).
int16_t fixed_decimals_checked_item(const CellFormat& format);
FormatChange fixed_decimals_choice(int16_t item);
