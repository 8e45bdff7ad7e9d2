// Update regions: what each window must draw again, kept in content
// coordinates so that set_origin does not move them; update events; begin and
// end of an update.
#include "platform/windows/windows.h"
#include "platform/windows/windows_internal.h"

namespace pf {

using namespace windows_detail;

namespace {

Point local_origin(WindowRef w) { return Point{w->port.port_rect.top, w->port.port_rect.left}; }

// A region given in the window port's local coordinates, as content coordinates.
RgnHandle content_copy_of_local(WindowRef w, RgnHandle local) {
    RgnHandle r = new_region();
    copy_region(local, r);
    Point o = local_origin(w);
    offset_region(r, int16_t(-o.h), int16_t(-o.v));
    return r;
}

RgnHandle content_rect_region(WindowRef w, const Rect& local) {
    RgnHandle r = new_region();
    rect_region(r, local);
    Point o = local_origin(w);
    offset_region(r, int16_t(-o.h), int16_t(-o.v));
    return r;
}

void add_content_region(WindowRef w, RgnHandle content) {
    RgnHandle whole = new_region();
    rect_region(whole, content_local_rect(w));
    sect_region(content, whole, content);
    union_region(w->update_rgn, content, w->update_rgn);
    dispose_region(whole);
}

void remove_content_region(WindowRef w, RgnHandle content) { diff_region(w->update_rgn, content, w->update_rgn); }

// Adds a region in content coordinates to the update region, or removes it
// (change), then disposes of it.
void change_update_region(WindowRef w, RgnHandle content, void (*change)(WindowRef, RgnHandle)) {
    change(w, content);
    dispose_region(content);
}

}  // namespace

namespace windows_detail {

Rect content_local_rect(WindowRef w) { return Rect{0, 0, int16_t(w->content.height()), int16_t(w->content.width())}; }

void add_update(WindowRef w, const Rect& content_rect) {
    RgnHandle r = new_region();
    rect_region(r, content_rect);
    add_content_region(w, r);
    dispose_region(r);
}

bool update_source(uint16_t mask, EventRecord& event, bool /*take*/) {
    if (!(mask & kUpdateMask)) return false;
    for (WindowRef w : window_list()) {
        if (!shows(w) || w->collapsed || empty_region(w->update_rgn)) continue;
        stamp_event(event);
        event.what = kUpdateEvent;
        event.message = reinterpret_cast<uintptr_t>(w);
        return true;
    }
    return false;
}

}  // namespace windows_detail

void inval_window_rect(WindowRef w, const Rect& local) {
    change_update_region(w, content_rect_region(w, local), add_content_region);
}

void inval_window_region(WindowRef w, RgnHandle local) {
    change_update_region(w, content_copy_of_local(w, local), add_content_region);
}

void valid_window_rect(WindowRef w, const Rect& local) {
    change_update_region(w, content_rect_region(w, local), remove_content_region);
}

void valid_window_region(WindowRef w, RgnHandle local) {
    change_update_region(w, content_copy_of_local(w, local), remove_content_region);
}

void get_window_update_region(WindowRef w, RgnHandle local) {
    copy_region(w->update_rgn, local);
    Point o = local_origin(w);
    offset_region(local, o.h, o.v);
}

void begin_update(WindowRef w) {
    get_window_update_region(w, w->port.vis_rgn);
    set_empty_region(w->update_rgn);
    w->updating = true;
}

void end_update(WindowRef w) {
    w->updating = false;
    rect_region(w->port.vis_rgn, w->port.port_rect);
}

}  // namespace pf
