// Scroll bars that work in 32-bit values over the controls' 16-bit ones (a
// long-value record hangs on the control's reference value), and the entry
// line's scrolling by its scroll bar.
#pragma once

#include <cstdint>

#include "platform/controls/controls.h"
#include "styledtext/styled_text.h"

struct LongValue {
    int32_t value;
    int32_t minimum;
    int32_t maximum;
};

int16_t LCAttach(pf::ControlRef control);
void LCDetach(pf::ControlRef control);
int32_t LCGetValue(pf::ControlRef control);
int32_t LCGetMax(pf::ControlRef control);
void LCSetValue(pf::ControlRef control, int32_t value);
void LCSetMax(pf::ControlRef control, int32_t maximum);
void LCSynch(pf::ControlRef control);

// The entry line's scroll offset against its text height: the bar's maximum
// and whether it is active.
void AdjustIconBars(int32_t offset, int32_t below);
// The same, from the entry line's view and text.
void AdjustIconBars();
// The entry line's text moved so that its offset is the bar's value.
void ScrollBarChanged();
// The entry line's scrolled hook, and its click loop while text is selected
// with the mouse (scrolls by a line when the mouse is above or below it).
void IconTextScrolled(WEReference instance);
bool IconClickLoop(WEReference instance);
// The command bar's height fitted to the entry line's text height below the
// entry line's top, and the entry line's scroll bar shown or hidden.
void fit_command_bar_to_entry(int32_t height, bool scroll_shown);
// The step an arrow or page part scrolls by, for a view of that height.
int32_t scroll_step(int16_t part, int16_t view_height);
void HandleWEScroll(pf::ControlRef control, int16_t part);
// Tracks a click on the entry line's scroll bar.
void track_entry_scroll(pf::Point where);
