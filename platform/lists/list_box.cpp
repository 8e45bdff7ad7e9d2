// List-box controls: a control that holds a one-column list in its bounds (less a
// one-pixel frame), with the list's scroll bar embedded in it.
#include "platform/controls/control_look.h"
#include "platform/controls/controls.h"
#include "platform/controls/controls_internal.h"
#include "platform/lists/lists.h"

namespace pf::controls_detail {

namespace {

Rect list_view_of(ControlRef control) {
    Rect r = inset_rect(control->bounds, 1, 1);
    r.right = int16_t(r.right - kListScrollBarWidth + 1);
    return r;
}

}  // namespace

void list_box_make(ControlRef control) {
    ListHandle list = new_list(list_view_of(control), 0, 1, Point{}, nullptr, control->window, false, true);
    control->list = list;
    if (list->v_scroll) embed_control(list->v_scroll, control);
    list->draw_on = true;
}

void list_box_dispose(ControlRef control) {
    if (!control->list) return;
    // The scroll bar is one of the control's contents and was disposed with them.
    control->list->v_scroll = nullptr;
    dispose_list(control->list);
    control->list = nullptr;
}

void list_box_draw(ControlRef control) {
    if (!control->list) return;
    draw_focus_ring(control->bounds, get_keyboard_focus(control->window) == control);
    frame_rect_color(control->bounds, kLookFrame);
    list_update(control->list);
}

void list_box_moved(ControlRef control) {
    if (control->list) list_move(control->list, list_view_of(control));
}

int16_t list_box_click(ControlRef control, Point where, uint16_t modifiers) {
    control->double_clicked = list_click(control->list, where, modifiers);
    return kControlListBoxPart;
}

int16_t list_box_key(ControlRef control, unsigned char ch, uint16_t modifiers) {
    return list_key(control->list, ch, modifiers) ? kControlListBoxPart : kControlNoPart;
}

void list_box_activate(ControlRef control, bool active) {
    if (control->list) list_activate(control->list, active);
}

}  // namespace pf::controls_detail
