#include "platform/sdl/x11_drag.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <vector>

#include "platform/sdl/x11_selection.h"

namespace pf {

namespace {

// The oldest and newest protocol versions spoken.
constexpr long kOldestXdndVersion = 3;
constexpr long kNewestVersion = 5;

struct Atoms {
    Atom aware, proxy, selection, enter, position, status, leave, drop, finished, copy;
    Atom utf8_string, text_utf8, png;
};

// The window under the mouse that takes drags, and how the talk with it stands.
struct Target {
    Window window = None;     // the aware window the messages name
    Window addressee = None;  // where they go: the window or its proxy
    long version = 0;
    bool accepted = false;
    bool awaiting_status = false;
    int last_x = -1, last_y = -1;
};

Atoms atoms{};
Window host_window = None;
OutsideDragOffer make_offer;
bool offered = false;  // the offer is made and owns the selection
std::vector<Atom> types;
Target target;

Display* display() { return x11::display(); }

void send(const Target& to, Atom type, long l1, long l2, long l3, long l4) {
    XEvent event{};
    XClientMessageEvent& message = event.xclient;
    message.type = ClientMessage;
    message.display = display();
    message.window = to.window;
    message.message_type = type;
    message.format = 32;
    message.data.l[0] = long(x11::window());
    message.data.l[1] = l1;
    message.data.l[2] = l2;
    message.data.l[3] = l3;
    message.data.l[4] = l4;
    XSendEvent(display(), to.addressee, False, NoEventMask, &event);
    XFlush(display());
}

// A window property of one 32-bit item; false when it has none of the type.
bool property_value(Window window, Atom property, Atom type, long& value) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display(), window, property, 0, 1, False, type, &actual, &format, &count,
                                          &after, &data) == Success &&
                       actual == type && format == 32 && count == 1;
    if (found) value = *reinterpret_cast<long*>(data);
    if (data) XFree(data);
    return found;
}

// The drag-aware window under the mouse: none over ours, over no program or
// over one that takes no drags of our versions.
Target target_under_mouse() {
    Window root = DefaultRootWindow(display()), child = None, ignored = None;
    int root_x = 0, root_y = 0, x = 0, y = 0;
    unsigned int mask = 0;
    Target found;
    if (!XQueryPointer(display(), root, &ignored, &child, &root_x, &root_y, &x, &y, &mask)) return found;
    found.last_x = root_x;
    found.last_y = root_y;
    for (Window window = child; window != None && window != host_window;) {
        long version = 0;
        if (property_value(window, atoms.aware, XA_ATOM, version)) {
            if (version < kOldestXdndVersion) return found;
            found.window = window;
            found.version = std::min(version, kNewestVersion);
            long proxy = 0;
            found.addressee = property_value(window, atoms.proxy, XA_WINDOW, proxy) ? Window(proxy) : window;
            return found;
        }
        if (!XTranslateCoordinates(display(), root, window, root_x, root_y, &x, &y, &child)) return found;
        window = child;
    }
    return found;
}

// The data go under the drag's selection when a program first might take them.
bool offer_made() {
    if (offered) return !types.empty();
    offered = true;
    const ClipboardOffer offer = make_offer ? make_offer() : ClipboardOffer{};
    types.clear();
    if (offer.has_text) types.insert(types.end(), {atoms.text_utf8, atoms.utf8_string});
    if (offer.png) types.push_back(atoms.png);
    if (!types.empty() && !x11::offer_selection(atoms.selection, offer)) types.clear();
    return !types.empty();
}

void enter(Target& to) {
    // Three types fit in the message; more would go in XdndTypeList.
    send(to, atoms.enter, to.version << 24, types.size() > 0 ? long(types[0]) : 0, types.size() > 1 ? long(types[1]) : 0,
         types.size() > 2 ? long(types[2]) : 0);
}

void send_position(Target& to, int x, int y) {
    to.last_x = x;
    to.last_y = y;
    to.awaiting_status = true;
    send(to, atoms.position, 0, (long(x) << 16) | long(y & 0xFFFF), long(x11::offered_since()), long(atoms.copy));
}

void leave() {
    if (target.window != None) send(target, atoms.leave, 0, 0, 0, 0);
    target = Target{};
}

void take_message(const XClientMessageEvent& message) {
    if (message.message_type != atoms.status || Window(message.data.l[0]) != target.window) return;
    target.awaiting_status = false;
    target.accepted = (message.data.l[1] & 1) != 0;
}

bool status_came(const XEvent& event) {
    return event.type == ClientMessage && event.xclient.message_type == atoms.status &&
           Window(event.xclient.data.l[0]) == target.window;
}

bool finished_came(const XEvent& event) {
    return event.type == ClientMessage && event.xclient.message_type == atoms.finished &&
           Window(event.xclient.data.l[0]) == target.window;
}

// Drops on the target once its answer to the last position is in: true when
// it took the drop and said it was done.
bool drop_on_target() {
    XEvent event;
    if (target.awaiting_status) {
        if (!x11::await(status_came, event)) return false;
        take_message(event.xclient);
    }
    if (!target.accepted) return false;
    send(target, atoms.drop, 0, long(x11::offered_since()), 0, 0);
    if (!x11::await(finished_came, event)) return false;
    // Before version 5 finishing says nothing of success.
    return target.version < 5 || (event.xclient.data.l[1] & 1) != 0;
}

}  // namespace

void x11_drag_open(unsigned long window) {
    host_window = Window(window);
    atoms = x11::atoms<Atoms>({"XdndAware", "XdndProxy", "XdndSelection", "XdndEnter", "XdndPosition", "XdndStatus",
                               "XdndLeave", "XdndDrop", "XdndFinished", "XdndActionCopy", "UTF8_STRING",
                               "text/plain;charset=utf-8", "image/png"});
    x11::set_client_message_handler(take_message);
}

void x11_begin_outside_drag(OutsideDragOffer offer) {
    make_offer = std::move(offer);
    offered = false;
    types.clear();
    target = Target{};
}

void x11_follow_outside_drag() {
    if (!display()) return;
    Target under = target_under_mouse();
    if (under.window != target.window) {
        leave();
        if (under.window == None || !offer_made()) return;
        target = under;
        enter(target);
        target.last_x = target.last_y = -1;
    }
    if (target.window != None && !target.awaiting_status && (under.last_x != target.last_x || under.last_y != target.last_y))
        send_position(target, under.last_x, under.last_y);
}

bool x11_end_outside_drag(bool drop) {
    if (!display()) return false;
    bool taken = false;
    if (target.window != None) {
        x11_follow_outside_drag();
        if (drop && target.window != None) taken = drop_on_target();
        if (!taken) leave();
    }
    target = Target{};
    if (offered) x11::withdraw_selection();
    make_offer = nullptr;
    offered = false;
    return taken;
}

}  // namespace pf
