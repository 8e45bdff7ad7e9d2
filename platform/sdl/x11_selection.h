// The clipboard's X connection shared with the other X11 exchanges of the
// host (drags): its display and hidden window, a second selection offered
// with the clipboard's conversions, and the client messages sent to the window.
#pragma once

#include <X11/Xlib.h>

#include <array>
#include <bit>
#include <cstddef>
#include <functional>
#include <type_traits>

#include "platform/host/host.h"

namespace pf::x11 {

// Null and 0 while the clipboard's connection is closed.
Display* display();
Window window();
// A record of atoms, one for each name in order, asked for in one round trip.
template <class Record, size_t N>
Record atoms(const char* const (&names)[N]) {
    static_assert(sizeof(Record) == N * sizeof(Atom) && std::is_trivially_copyable_v<Record>);
    std::array<Atom, N> found{};
    XInternAtoms(display(), const_cast<char**>(names), int(N), False, found.data());
    return std::bit_cast<Record>(found);
}

// Offers `offer` under `selection` (one at a time besides CLIPBOARD), answered
// as the clipboard answers; false when another program took it at once.
bool offer_selection(Atom selection, const ClipboardOffer& offer);
// When the offer was made (its ownership's time).
Time offered_since();
void withdraw_selection();

// Client messages to our window go to the handler (null: none).
void set_client_message_handler(void (*handler)(const XClientMessageEvent&));
// Takes events, handling the rest, until a wanted one comes (true) or the
// clipboard's answer time is up.
bool await(const std::function<bool(const XEvent&)>& wanted, XEvent& found);

}  // namespace pf::x11
