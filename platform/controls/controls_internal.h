// What the control module's files share: the per-window registry, the drawing
// scope, the parts of a scroll bar, the edit-text engine and the list-box hooks
// (the list manager implements those).
#pragma once

#include "platform/controls/controls.h"

namespace pf::controls_detail {

struct WindowControls {
    ControlRef root = nullptr;
    std::vector<ControlRef> top;  // controls with no container, in drawing order
    ControlRef focus = nullptr;
    ControlRef default_button = nullptr;
    ControlRef cancel_button = nullptr;
};
WindowControls& controls_of(WindowRef window);
WindowControls* find_controls_of(WindowRef window);
void forget_window(WindowRef window);

// Sets the control's window port as the current port for a scope.
struct ControlPortScope {
    explicit ControlPortScope(ControlRef control);
    PortScope scope;
};

// Draws a control (its contents too) when it shows.
void redraw(ControlRef control);
// Whether the control shows: it and its containers visible.
bool shows(ControlRef control);

// Scroll bars.
bool is_vertical(ControlRef bar);
Rect scroll_part_rect(ControlRef bar, int16_t part);
// The value for a thumb whose leading edge is at `position` along the track.
int32_t scroll_value_at(ControlRef bar, int position);
int thumb_position(ControlRef bar);

// Edit text.
void draw_edit_text(ControlRef control);
// The font a control's text is drawn in: an edit text's of its script.
int16_t control_text_font(ControlRef control);
int16_t edit_text_key(ControlRef control, unsigned char ch, uint16_t modifiers);
void edit_text_click(ControlRef control, Point where, uint16_t modifiers);
// A field going away: a later field in its place counts its clicks afresh.
void edit_text_forget_clicks(ControlRef control);
void edit_text_set_text(ControlRef control, std::string_view text);
std::string edit_text_shown(ControlRef control);  // the text as drawn (bullets for passwords)
bool takes_focus(ControlRef control);
void draw_focus(ControlRef control, bool focused);

// List boxes (platform/lists/list_box.cpp).
void list_box_make(ControlRef control);
void list_box_dispose(ControlRef control);
void list_box_draw(ControlRef control);
void list_box_moved(ControlRef control);
int16_t list_box_click(ControlRef control, Point where, uint16_t modifiers);
int16_t list_box_key(ControlRef control, unsigned char ch, uint16_t modifiers);
void list_box_activate(ControlRef control, bool active);

}  // namespace pf::controls_detail
