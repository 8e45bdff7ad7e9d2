// The local endpoint through which other programs of the same user send
// events: a Unix-domain socket "events" in a folder "quorvin" of
// $XDG_RUNTIME_DIR (else of the configuration folder, $XDG_CONFIG_HOME or
// ~/.config). The folder is the user's own with mode 0700, the socket 0600,
// and a connecting program of another user is refused (its credentials are
// asked of the socket).
//
// Each message is a flattened event (ae_flatten.h). The endpoint is polled
// from the event wait as an event source and never blocks: a complete event
// joins the pending events and arrives as a high-level event; its reply goes
// back on the same connection. A message that is too long or not a valid
// event gets a reply with "errn" kAECorruptDataErr and the connection is
// closed; the program carries on. Replies go back in the order of the
// requests. A connection has at most kMaxRequestsWaiting requests waiting to
// be carried out: while it has that many, nothing more is read from it, so a
// sender faster than the program is slowed down, never refused. A sender that
// shuts down its writing side still gets the replies to what it sent; one
// that does not read its replies is not read from until it does. At most
// kMaxEndpointConnections connections are served at once; further ones wait
// to be accepted until one of them ends.
#pragma once

#include <string>

#include "platform/appleevents/appleevents.h"

namespace pf {

constexpr int kMaxEndpointConnections = 16;
constexpr long kMaxRequestsWaiting = 8;

// The socket's path as above; empty when no folder can be named.
std::string ae_endpoint_default_path();
// Listens at `path` (its folder is made 0700 when missing, refused when it is
// not the user's own or open to others). kFileBusyErr when another running
// program listens there already; a socket left by an ended one is replaced.
OSErr ae_endpoint_open(const std::string& path);
// Stops listening, closes the connections and removes the socket.
void ae_endpoint_close();
// Accepts, reads and writes what is ready, without waiting (the event source
// does this; tests call it).
void ae_endpoint_poll();

// The sending side: connects to `path`, sends the event and waits up to
// `timeout_ms` for the reply. kProcessNotFoundErr when nothing listens there.
OSErr ae_endpoint_send(const std::string& path, const AppleEvent& event, AppleEvent& reply, int timeout_ms);

}  // namespace pf
