// Tracking a drag over our windows, the windows' handlers, and drops that
// other programs make on us.
#include "platform/draw/draw.h"
#include "platform/drag/drag.h"
#include "platform/drag/drag_internal.h"
#include "platform/host/host.h"
#include "platform/scrap/scrap.h"

#include <map>
#include <memory>
#include <string>

namespace pf {

namespace {

template <typename Proc>
struct Handler {
    Proc proc = nullptr;
    void* refcon = nullptr;
};

std::map<WindowRef, Handler<DragTrackingHandler>> tracking_handlers;
std::map<WindowRef, Handler<DragReceiveHandler>> receive_handlers;

template <typename Proc>
OSErr install(std::map<WindowRef, Handler<Proc>>& handlers, Proc proc, WindowRef window, void* refcon) {
    if (!proc || !window) return kParamErr;
    if (handlers.count(window)) return kDuplicateHandlerErr;
    handlers[window] = Handler<Proc>{proc, refcon};
    return noErr;
}

template <typename Proc>
OSErr remove(std::map<WindowRef, Handler<Proc>>& handlers, Proc proc, WindowRef window) {
    auto it = handlers.find(window);
    if (it == handlers.end() || it->second.proc != proc) return kHandlerNotFoundErr;
    handlers.erase(it);
    return noErr;
}

// Our window under a global point; null over the desktop and the menu bar.
WindowRef window_at(Point where) {
    WindowRef window = nullptr;
    find_window(where, &window);
    return window;
}

void send_tracking(int16_t message, WindowRef window, DragRef drag) {
    auto it = tracking_handlers.find(window);
    if (window && it != tracking_handlers.end()) it->second.proc(message, window, it->second.refcon, drag);
}

// The tracking messages as the mouse goes from one window (or none) to another.
void cross(WindowRef from, WindowRef to, DragRef drag) {
    if (from == to) return;
    send_tracking(kDragTrackingLeaveWindow, from, drag);
    send_tracking(kDragTrackingEnterWindow, to, drag);
}

// Records where the drop lands and hands the drag to that window's receiver.
OSErr drop_on(WindowRef window, DragRef drag) {
    drag->drop_window = window;
    drag->drop = window ? DropKind::kOurWindow : DropKind::kDesktop;
    auto it = window ? receive_handlers.find(window) : receive_handlers.end();
    if (it == receive_handlers.end()) return kDragNotAcceptedErr;
    return it->second.proc(window, it->second.refcon, drag);
}

// The outline drawn over the screen by exclusive or in grey: showing it twice
// takes it away.
class Ghost {
  public:
    explicit Ghost(RgnHandle outline) : shape_(new_region()) {
        copy_region(outline, shape_);
        open_screen_port(port_, screen_bounds());
        PortScope scope(&port_);
        pen_mode(kPatXor);
        pen_pat(kGrayPattern);
    }
    ~Ghost() {
        close_port(port_);
        dispose_region(shape_);
    }
    Ghost(const Ghost&) = delete;
    Ghost& operator=(const Ghost&) = delete;

    // Moves the outline by (dh, dv) from where it was given and shows it.
    void show(int16_t dh, int16_t dv) {
        offset_region(shape_, int16_t(dh - shown_h_), int16_t(dv - shown_v_));
        shown_h_ = dh;
        shown_v_ = dv;
        toggle();
    }
    void hide() { toggle(); }

  private:
    void toggle() {
        PortScope scope(&port_);
        paint_region(shape_);
    }
    RgnHandle shape_;
    Port port_;
    int16_t shown_h_ = 0, shown_v_ = 0;
};

// Where the mouse is and which modifiers are held, while the drag runs.
WindowRef follow_mouse(DragRef drag, WindowRef sender) {
    drag->mouse = mouse_location();
    drag->modifiers = current_modifiers();
    WindowRef over = window_at(drag->mouse);
    if (over == sender) {
        drag->attributes |= kDragInsideSenderWindow;
    } else {
        drag->attributes &= ~kDragInsideSenderWindow;
        drag->attributes |= kDragHasLeftSenderWindow;
    }
    return over;
}

// The release that ended the drag: its point and modifiers.
void take_release(DragRef drag) {
    EventRecord up;
    if (take_event(kMouseUpMask, up, 0)) {
        drag->mouse = up.where;
        drag->up_modifiers = up.modifiers;
    } else {
        drag->mouse = mouse_location();
        drag->up_modifiers = current_modifiers();
    }
    drag->modifiers = drag->up_modifiers;
}

// ---- Drops of other programs ----------------------------------------------------

std::unique_ptr<DragRecord> pending_drop;

// The pending drop goes to the window it was dropped on when the program next
// takes an event; it answers no event itself.
bool deliver_pending_drop(uint16_t, EventRecord&, bool take) {
    if (!take || !pending_drop) return false;
    std::unique_ptr<DragRecord> drag = std::move(pending_drop);
    remove_event_source(deliver_pending_drop);
    drag->modifiers = drag->down_modifiers = drag->up_modifiers = current_modifiers();
    WindowRef window = window_at(drag->mouse);
    cross(nullptr, window, drag.get());
    send_tracking(kDragTrackingInWindow, window, drag.get());
    cross(window, nullptr, drag.get());
    drop_on(window, drag.get());
    return false;
}

DragRecord& pending() {
    if (!pending_drop) {
        pending_drop = std::make_unique<DragRecord>();
        pending_drop->mouse = mouse_location();  // where the drop began
        add_event_source(deliver_pending_drop, EventSourceOrder::kBeforeQueue);
    }
    return *pending_drop;
}

DragItemRef next_item_ref() { return DragItemRef(pending().items.size() + 1); }

}  // namespace

OSErr track_drag(DragRef drag, const EventRecord& start, RgnHandle outline) {
    if (!drag) return kBadDragRefErr;
    if (!outline) return kParamErr;
    drag->down_modifiers = drag->modifiers = start.modifiers;
    drag->mouse = start.where;
    drag->attributes = kDragInsideSenderApplication | kDragInsideSenderWindow;
    drag->drop = DropKind::kNotDropped;
    WindowRef sender = window_at(start.where);
    WindowRef over = sender;
    send_tracking(kDragTrackingEnterWindow, over, drag);

    host_begin_outside_drag([drag] { return drag_offer_for_others(drag); });
    Ghost ghost(outline);
    ghost.show(0, 0);
    bool moved = false;
    while (still_down()) {  // presents the screen with the outline on it
        ghost.hide();
        WindowRef now = follow_mouse(drag, sender);
        moved = moved || drag->mouse != start.where;
        cross(over, now, drag);
        over = now;
        send_tracking(kDragTrackingInWindow, over, drag);
        host_follow_outside_drag();
        compose_screen();  // what the handlers drew, before the outline goes over it
        ghost.show(int16_t(drag->mouse.h - start.where.h), int16_t(drag->mouse.v - start.where.v));
    }
    ghost.hide();
    take_release(drag);
    moved = moved || drag->mouse != start.where;
    WindowRef target = window_at(drag->mouse);
    cross(over, target, drag);
    send_tracking(kDragTrackingLeaveWindow, target, drag);
    hide_drag_hilite(drag);
    if (host_end_outside_drag(moved)) {
        drag->drop = DropKind::kOtherProgram;
        return noErr;
    }
    if (!moved) return kUserCanceledErr;
    return drop_on(target, drag);
}

OSErr install_tracking_handler(DragTrackingHandler handler, WindowRef window, void* refcon) {
    return install(tracking_handlers, handler, window, refcon);
}

OSErr install_receive_handler(DragReceiveHandler handler, WindowRef window, void* refcon) {
    return install(receive_handlers, handler, window, refcon);
}

OSErr remove_tracking_handler(DragTrackingHandler handler, WindowRef window) {
    return remove(tracking_handlers, handler, window);
}

OSErr remove_receive_handler(DragReceiveHandler handler, WindowRef window) {
    return remove(receive_handlers, handler, window);
}

void receive_dropped_file(std::string_view path) {
    HfsFlavor file;
    if (file_spec_from_path(path, file.spec) != noErr) return;  // gone already: nothing to give
    FinderInfo info;
    if (get_finder_info(file.spec, info) == noErr) {
        file.file_type = info.type;
        file.file_creator = info.creator;
        file.finder_flags = info.flags;
    }
    add_drag_item_flavor(&pending(), next_item_ref(), kFlavorTypeHfs, &file, sizeof file, 0);
}

void receive_dropped_text(std::string_view utf8) {
    std::vector<uint8_t> text = scrap_text_from_utf8(utf8);
    if (text.empty()) return;
    const DragItemRef item = next_item_ref();
    add_drag_item_flavor(&pending(), item, kFlavorTypeText, text.data(), int32_t(text.size()), 0);
    const std::vector<uint8_t> unicode = scrap_unicode_text_from_utf8(utf8);
    if (!unicode.empty())
        add_drag_item_flavor(&pending(), item, kFlavorTypeUnicodeText, unicode.data(), int32_t(unicode.size()), 0);
}

void drag_reset() {
    tracking_handlers.clear();
    receive_handlers.clear();
    remove_event_source(deliver_pending_drop);
    pending_drop.reset();
}

}  // namespace pf
