// Theme drawing: the system-styled pieces the application draws itself, in one flat,
// light look. Each call draws in the current port and leaves its drawing state and
// clip as they were.
#pragma once

#include "platform/draw/port.h"

namespace pf {

// Drawing states.
enum : int16_t { kThemeStateInactive = 0, kThemeStateActive = 1, kThemeStatePressed = 2 };

// Button kinds and values of draw_theme_button.
enum : int16_t { kThemeBevelButton = 3, kThemePopupButton = 8 };
enum : int16_t { kThemeButtonOff = 0, kThemeButtonOn = 1 };

// A bevel button (square corners) or a pop-up button face (rounded, without arrows),
// raised when off and not pressed, pushed in when pressed or on.
void draw_theme_button(const Rect& r, int16_t kind, int16_t state, int16_t value);

// A complete pop-up button: the rounded face with a divider and a pair of arrows at
// its right end.
void draw_theme_popup_button(const Rect& r, int16_t state);

// A small triangle at the rectangle's top-left: large is 9 wide and 5 rows, small 5
// wide and 3 rows. Pressed arrows are drawn white, inactive ones grey.
enum class ArrowDirection : uint8_t { kDown, kUp, kLeft, kRight };
enum class ArrowSize : uint8_t { kSmall, kLarge };
void draw_theme_popup_arrow(const Rect& r, ArrowDirection direction, ArrowSize size, int16_t state);

void draw_theme_placard(const Rect& r, int16_t state);
// A one-pixel line along the middle of the rectangle: vertical when it is taller than
// wide, else horizontal.
void draw_theme_separator(const Rect& r, int16_t state);
void draw_theme_window_header(const Rect& r, int16_t state);
void draw_theme_menu_background(const Rect& r);

// Tabs on a pane. A front tab joins the pane; the direction is where tabs stand from
// the pane (south: they hang below it).
enum : int16_t {
    kThemeTabNonFront = 0, kThemeTabNonFrontPressed = 1, kThemeTabNonFrontInactive = 2,
    kThemeTabFront = 3, kThemeTabFrontInactive = 4,
};
enum class TabDirection : uint8_t { kNorth, kSouth };
void draw_theme_tab_pane(const Rect& r, int16_t state);
void draw_theme_tab(const Rect& r, int16_t style, TabDirection direction);

// The focus ring: two pixels around the rectangle, in the accent colour; without
// focus the ring is erased to the back colour.
void draw_theme_focus_rect(const Rect& r, bool has_focus);

// A progress bar: the track with its part from min to value filled.
void draw_theme_progress(const Rect& r, int32_t min, int32_t max, int32_t value, int16_t state);

// Frames drawn just outside the rectangle of a list or an editable field.
void draw_theme_list_box_frame(const Rect& r, int16_t state);
void draw_theme_edit_text_frame(const Rect& r, int16_t state);

}  // namespace pf
