// The dialogs that customise the command bar: choosing, making, editing,
// deleting and resetting bars, and the bar editor that adds tools to a bar,
// removes and reorders its buttons and names it. Accepted changes are written
// to the bar file.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/button_bars.h"

// The customise dialog; 1, or 0 when it could not be opened.
int16_t customize_commandbar();
// The bar editor on a new bar (-1) or the shown one (0); 1 when accepted.
int16_t command_dialog(int16_t new_bar);

// Edits of a bar's buttons. Rows are counted from 0; each answers the row to
// select afterwards (-1 for none).
// A tool inserted at the row, or after it, held within the bar.
int16_t insert_bar_button(std::vector<ButtonRecord>& buttons, const ButtonRecord& tool, int16_t row, bool after);
int16_t remove_bar_button(std::vector<ButtonRecord>& buttons, int16_t row);
// The button of row `from` moved to row `to`.
int16_t move_bar_button(std::vector<ButtonRecord>& buttons, int16_t from, int16_t to);
