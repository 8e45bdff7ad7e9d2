#include "platform/sdl/x11_clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include "platform/sdl/x11_selection.h"
#include <X11/extensions/Xfixes.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <functional>

#include "platform/host/host.h"
#include "platform/scrap/scrap.h"

namespace pf {

namespace {

// Data above this many bytes go in INCR steps of this size.
constexpr size_t kStepBytes = 64 * 1024;
// How long another program has to answer one request or step.
constexpr int kAnswerMilliseconds = 2000;

struct Atoms {
    Atom clipboard, targets, timestamp, incr, png, utf8_string, text_utf8, transfer, time_probe;
};

// A transfer to another program in INCR steps: each step goes when the
// receiver has deleted the one before.
struct Outgoing {
    Window requestor;
    Atom property, type;
    std::vector<uint8_t> data;
    size_t sent = 0;
};

// What we offer under one selection; its picture is made when first asked for.
struct Offered {
    Atom selection = None;
    bool owned = false;
    Time since = CurrentTime;
    ClipboardOffer offer;
    bool png_made = false;
    std::vector<uint8_t> png;

    const std::vector<uint8_t>& picture() {
        if (!png_made) png = offer.png ? offer.png() : std::vector<uint8_t>();
        png_made = true;
        return png;
    }
    void take(const ClipboardOffer& given, Time time) {
        offer = given;
        png_made = false;
        png.clear();
        since = time;
    }
    void forget() {
        owned = false;
        take(ClipboardOffer{}, CurrentTime);
    }
};

// What was last read from another program's clipboard, kept until its owner changes.
struct ReadCache {
    uint64_t generation = UINT64_MAX;
    bool has_text = false, has_png = false;
    std::string utf8;
    std::vector<uint8_t> png;
};

Display* display = nullptr;
Window window = 0;
Atoms atoms{};
int fixes_event_base = -1;
uint64_t owner_generation = 0;  // moves whenever the clipboard gets an owner (every one, when XFixes is had)

Offered clipboard;  // the CLIPBOARD selection
Offered other;      // a second selection (a drag's), while we own it
std::vector<Outgoing> outgoing;
ReadCache cache;
void (*client_message_handler)(const XClientMessageEvent&) = nullptr;

void put_bytes(Window requestor, Atom property, Atom type, const uint8_t* data, size_t size) {
    XChangeProperty(display, requestor, property, type, 8, PropModeReplace, data, int(size));
}

void send_bytes(Window requestor, Atom property, Atom type, std::vector<uint8_t> data) {
    if (data.size() <= kStepBytes) return put_bytes(requestor, property, type, data.data(), data.size());
    XSelectInput(display, requestor, PropertyChangeMask);
    const long size = long(data.size());
    XChangeProperty(display, requestor, property, atoms.incr, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&size), 1);
    outgoing.push_back(Outgoing{requestor, property, type, std::move(data)});
}

void send_next_step(Outgoing& transfer) {
    const size_t size = std::min(kStepBytes, transfer.data.size() - transfer.sent);
    put_bytes(transfer.requestor, transfer.property, transfer.type, transfer.data.data() + transfer.sent, size);
    transfer.sent += size;
    if (size == 0) transfer.requestor = 0;  // the empty step ends it
}

// Fills the property with the target's data; false when it is not offered.
bool answer(Offered& offered, Window requestor, Atom property, Atom target) {
    if (!offered.owned) return false;
    const ClipboardOffer& offer = offered.offer;
    const bool picture = offer.png != nullptr;
    if (target == atoms.targets) {
        std::vector<Atom> targets{atoms.targets, atoms.timestamp};
        if (offer.has_text) targets.insert(targets.end(), {atoms.utf8_string, atoms.text_utf8});
        if (picture) targets.push_back(atoms.png);
        XChangeProperty(display, requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(targets.data()), int(targets.size()));
        return true;
    }
    if (target == atoms.timestamp) {
        const long time = long(offered.since);
        XChangeProperty(display, requestor, property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&time), 1);
        return true;
    }
    if (offer.has_text && (target == atoms.utf8_string || target == atoms.text_utf8)) {
        send_bytes(requestor, property, target, std::vector<uint8_t>(offer.utf8.begin(), offer.utf8.end()));
        return true;
    }
    if (picture && target == atoms.png && !offered.picture().empty()) {
        send_bytes(requestor, property, target, offered.picture());
        return true;
    }
    return false;
}

void serve(const XSelectionRequestEvent& request) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = display;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    // Clients of the oldest convention name no property: the target is used.
    const Atom property = request.property == None ? request.target : request.property;
    Offered* offered = request.selection == clipboard.selection ? &clipboard
                       : request.selection == other.selection ? &other
                                                              : nullptr;
    reply.property = offered && answer(*offered, request.requestor, property, request.target) ? property : None;
    XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
}

void lose_ownership() {
    if (!clipboard.owned) return;
    clipboard.forget();
    scrap_system_changed();
}

void handle(XEvent& event) {
    if (event.type == SelectionRequest) return serve(event.xselectionrequest);
    if (event.type == SelectionClear && event.xselectionclear.selection == atoms.clipboard) return lose_ownership();
    if (event.type == SelectionClear && event.xselectionclear.selection == other.selection) return other.forget();
    if (event.type == ClientMessage && client_message_handler) return client_message_handler(event.xclient);
    if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
        for (Outgoing& transfer : outgoing)
            if (transfer.requestor == event.xproperty.window && transfer.property == event.xproperty.atom)
                send_next_step(transfer);
        std::erase_if(outgoing, [](const Outgoing& transfer) { return transfer.requestor == 0; });
        return;
    }
    if (fixes_event_base >= 0 && event.type == fixes_event_base + XFixesSelectionNotify) {
        ++owner_generation;
        // A notice older than our own taking of the clipboard is no loss.
        const auto& notice = reinterpret_cast<XFixesSelectionNotifyEvent&>(event);
        if (notice.owner != window && notice.selection_timestamp >= clipboard.since) lose_ownership();
    }
}

// Takes events, handling them, until one the test accepts comes (true) or the time is up.
bool wait_for(const std::function<bool(const XEvent&)>& wanted, XEvent& found) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMilliseconds);
    for (;;) {
        while (XPending(display)) {
            XNextEvent(display, &found);
            if (wanted(found)) return true;
            handle(found);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
        poll(&descriptor, 1, int(left.count()));
    }
}

// The property of our window, taken whole and deleted; false when absent.
bool take_property(Atom property, Atom* type, std::vector<uint8_t>& bytes) {
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, LONG_MAX / 4, True, AnyPropertyType, type, &format, &count,
                           &after, &data) != Success)
        return false;
    const size_t unit = format == 32 ? sizeof(long) : size_t(format / 8);
    bytes.assign(data, data + count * unit);
    if (data) XFree(data);
    return *type != None;
}

bool property_came(const XEvent& event) {
    return event.type == PropertyNotify && event.xproperty.window == window &&
           event.xproperty.atom == atoms.transfer && event.xproperty.state == PropertyNewValue;
}

// INCR steps until the empty one.
bool receive_steps(std::vector<uint8_t>& data) {
    data.clear();
    for (XEvent event;;) {
        if (!wait_for(property_came, event)) return false;
        Atom type = None;
        std::vector<uint8_t> step;
        if (!take_property(atoms.transfer, &type, step)) return false;
        if (step.empty()) return true;
        data.insert(data.end(), step.begin(), step.end());
    }
}

// Another program's clipboard in the target's form; false when it gives none.
bool convert(Atom target, std::vector<uint8_t>& data) {
    if (XGetSelectionOwner(display, atoms.clipboard) == None) return false;
    XDeleteProperty(display, window, atoms.transfer);
    XConvertSelection(display, atoms.clipboard, target, atoms.transfer, window, CurrentTime);
    XFlush(display);
    XEvent event;
    auto notified = [](const XEvent& e) { return e.type == SelectionNotify && e.xselection.requestor == window; };
    if (!wait_for(notified, event) || event.xselection.property == None) return false;
    Atom type = None;
    if (!take_property(atoms.transfer, &type, data)) return false;
    if (type == atoms.incr) return receive_steps(data);
    return true;
}

// The server's time now, from a property change on our window.
Time now_on_server() {
    XChangeProperty(display, window, atoms.time_probe, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XFlush(display);
    XEvent event;
    auto changed = [](const XEvent& e) {
        return e.type == PropertyNotify && e.xproperty.window == window && e.xproperty.atom == atoms.time_probe;
    };
    return wait_for(changed, event) ? event.xproperty.time : CurrentTime;
}

// The targets the owner lists; none when it lists none.
std::vector<Atom> offered_targets() {
    std::vector<uint8_t> bytes;
    if (!convert(atoms.targets, bytes)) return {};
    std::vector<Atom> targets(bytes.size() / sizeof(long));
    for (size_t i = 0; i < targets.size(); ++i) {
        long value;
        std::memcpy(&value, bytes.data() + i * sizeof(long), sizeof value);
        targets[i] = Atom(value);
    }
    return targets;
}

void refresh_cache() {
    if (cache.generation == owner_generation && fixes_event_base >= 0) return;
    cache = ReadCache{};
    cache.generation = owner_generation;
    // Some owners answer every target with their one kind of data: only
    // targets they list are asked for (all of ours when they list none).
    std::vector<Atom> listed = offered_targets();
    auto offered = [&](Atom target) {
        return listed.empty() || std::find(listed.begin(), listed.end(), target) != listed.end();
    };
    std::vector<uint8_t> bytes;
    cache.has_text = (offered(atoms.utf8_string) && convert(atoms.utf8_string, bytes)) ||
                     (offered(atoms.text_utf8) && convert(atoms.text_utf8, bytes));
    if (cache.has_text) cache.utf8.assign(bytes.begin(), bytes.end());
    else cache.has_png = offered(atoms.png) && convert(atoms.png, cache.png);
}

// Makes our window the selection's owner, offering `given` under it.
bool take_selection(Offered& offered, Atom selection, const ClipboardOffer& given) {
    const Time since = now_on_server();
    offered.selection = selection;
    offered.take(given, since);
    XSetSelectionOwner(display, selection, window, since);
    offered.owned = XGetSelectionOwner(display, selection) == window;
    XFlush(display);
    return offered.owned;
}

}  // namespace

bool x11_clipboard_open() {
    display = XOpenDisplay(nullptr);
    if (!display) return false;
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display, window, PropertyChangeMask);
    atoms = x11::atoms<Atoms>({"CLIPBOARD", "TARGETS", "TIMESTAMP", "INCR", "image/png", "UTF8_STRING",
                               "text/plain;charset=utf-8", "QUORVIN_TRANSFER", "QUORVIN_TIME"});
    clipboard.selection = atoms.clipboard;
    int error_base = 0;
    if (XFixesQueryExtension(display, &fixes_event_base, &error_base))
        XFixesSelectSelectionInput(display, window, atoms.clipboard,
                                   XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
    else
        fixes_event_base = -1;
    XFlush(display);
    return true;
}

void x11_clipboard_close() {
    if (!display) return;
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    display = nullptr;
    clipboard.forget();
    other.forget();
    outgoing.clear();
    cache = ReadCache{};
}

void x11_clipboard_pump() {
    if (!display) return;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        handle(event);
    }
    XFlush(display);
}

int x11_clipboard_descriptor() { return display ? ConnectionNumber(display) : -1; }

bool x11_clipboard_text(std::string& utf8) {
    if (!display) return false;
    if (clipboard.owned) {
        utf8 = clipboard.offer.utf8;
        return clipboard.offer.has_text;
    }
    refresh_cache();
    utf8 = cache.utf8;
    return cache.has_text;
}

bool x11_clipboard_png(std::vector<uint8_t>& png) {
    if (!display) return false;
    if (clipboard.owned) {
        png = clipboard.picture();
        return !png.empty();
    }
    refresh_cache();
    png = cache.png;
    return cache.has_png;
}

void x11_clipboard_offer(const ClipboardOffer& given) {
    if (!display) return;
    take_selection(clipboard, atoms.clipboard, given);
}

namespace x11 {

Display* display() { return pf::display; }
Window window() { return pf::window; }

bool offer_selection(Atom selection, const ClipboardOffer& offer) {
    if (other.owned && other.selection != selection) withdraw_selection();
    return take_selection(other, selection, offer);
}

Time offered_since() { return other.since; }

void withdraw_selection() {
    if (other.owned) XSetSelectionOwner(pf::display, other.selection, None, other.since);
    other.forget();
    XFlush(pf::display);
}

void set_client_message_handler(void (*handler)(const XClientMessageEvent&)) { client_message_handler = handler; }

bool await(const std::function<bool(const XEvent&)>& wanted, XEvent& found) { return wait_for(wanted, found); }

}  // namespace x11

}  // namespace pf
