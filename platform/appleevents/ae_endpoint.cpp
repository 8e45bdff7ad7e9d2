// The endpoint's socket: listening, peer checks, framing, replies; and the
// sending side used by command-line senders.
#include "platform/appleevents/ae_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

#include "platform/appleevents/ae_flatten.h"
#include "platform/events/events.h"
#include "platform/files/files.h"
#include "platform/host/host.h"

namespace pf {

namespace {

constexpr size_t kReadChunk = 4096;
// Unsent replies past which a connection's requests are no longer read, so
// that a sender that never reads holds no more than this.
constexpr size_t kMaxUnsentBytes = 64 * 1024;

// A reply owed to a connection, in the order of its requests.
struct OwedReply {
    long ticket = 0;  // names the request to the reply sink
    bool ready = false;
    std::vector<uint8_t> message;
};

struct Connection {
    int fd = -1;
    std::vector<uint8_t> in, out;
    std::deque<OwedReply> owed;
    bool closing = false;      // take no more requests: close once everything owed is written
    bool input_ended = false;  // the sender has shut down its writing side
};

struct Endpoint {
    int listener = -1;
    std::string path;
    std::vector<Connection> connections;
    long next_ticket = 1;
};

Endpoint& endpoint() {
    static Endpoint e;
    return e;
}

bool make_address(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

int connect_to(const std::string& path) {
    sockaddr_un address;
    if (!make_address(path, address)) return -1;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
    return -1;
}

// The folder of the socket: made 0700 when missing; else it must be ours and closed to others.
bool private_folder(const std::string& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info;
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    return info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

std::string folder_of(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool peer_is_us(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

// Moves the replies that are ready, up to the first still awaited, to the bytes to send.
void release_ready_replies(Connection& c) {
    while (!c.owed.empty() && c.owed.front().ready) {
        const std::vector<uint8_t>& message = c.owed.front().message;
        c.out.insert(c.out.end(), message.begin(), message.end());
        c.owed.pop_front();
    }
}

void owe_ready_reply(Connection& c, const AppleEvent& reply) {
    c.owed.push_back(OwedReply{0, true, ae_flat_message(reply)});
    release_ready_replies(c);
}

void send_reply(const AppleEvent& reply, long ticket) {
    for (Connection& c : endpoint().connections)
        for (OwedReply& owed : c.owed)
            if (owed.ticket == ticket) {
                owed.message = ae_flat_message(reply);
                owed.ready = true;
                return release_ready_replies(c);
            }
    // The sender went away.
}

// An answer event with only an error and its reason.
AppleEvent error_reply(OSErr err) {
    AEDesc self;
    ae_address_of_self(self);
    AppleEvent reply;
    ae_create_apple_event(kCoreEventClass, kAnswerEvent, self, 0, kAnyTransactionId, reply);
    ae_put_error(reply, err);
    return reply;
}

long requests_waiting(const Connection& c) {
    return std::count_if(c.owed.begin(), c.owed.end(), [](const OwedReply& r) { return !r.ready; });
}

// Whether the connection's next request may be taken now: a sender with as
// many waiting as one may have is not read from until one is carried out.
bool takes_requests(const Connection& c) { return !c.closing && requests_waiting(c) < kMaxRequestsWaiting; }

void refuse(Connection& c, OSErr err) {
    owe_ready_reply(c, error_reply(err));
    c.in.clear();
    c.closing = true;
}

// The request joins the pending events.
void take_request(Connection& c, const AppleEvent& event) {
    const long ticket = endpoint().next_ticket++;
    c.owed.push_back(OwedReply{ticket, false, {}});
    ae_receive_event(event, send_reply, ticket);
}

// Hands the complete messages of the connection on while it may have more
// waiting; a bad one is refused.
void take_messages(Connection& c) {
    while (takes_requests(c) && c.in.size() >= kFlatLengthSize) {
        const uint32_t length = ae_flat_message_length(c.in.data());
        if (length > kMaxFlatMessage) return refuse(c, kAECorruptDataErr);
        if (c.in.size() < kFlatLengthSize + length) return;
        AppleEvent event;
        OSErr err = ae_unflatten(c.in.data() + kFlatLengthSize, length, event);
        if (!err && event.kind != AEDescKind::event) err = kAENotAppleEventErr;
        if (err) return refuse(c, kAECorruptDataErr);
        c.in.erase(c.in.begin(), c.in.begin() + long(kFlatLengthSize + length));
        take_request(c, event);
    }
}

// Whether more of what the sender wrote is read now: not while it has as many
// requests waiting as it may have, nor while the replies it has not read are many.
bool reads_more(const Connection& c) {
    return takes_requests(c) && !c.input_ended && c.out.size() < kMaxUnsentBytes;
}

// Takes the messages already read, then reads what the sender wrote while
// reads_more. False when the connection broke.
bool read_ready(Connection& c) {
    take_messages(c);
    uint8_t chunk[kReadChunk];
    while (reads_more(c)) {
        ssize_t got = recv(c.fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got > 0) {
            c.in.insert(c.in.end(), chunk, chunk + got);
            take_messages(c);
            continue;
        }
        if (got == 0) {
            c.input_ended = true;  // what it asked is still answered
            break;
        }
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    }
    return true;
}

// False when the connection broke.
bool write_ready(Connection& c) {
    while (!c.out.empty()) {
        ssize_t sent = send(c.fd, c.out.data(), c.out.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent > 0) {
            c.out.erase(c.out.begin(), c.out.begin() + sent);
            continue;
        }
        return sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
    }
    return true;
}

// False when the connection is done with: broken, or everything owed to it
// written after it stopped asking.
bool serve(Connection& c) {
    if (!read_ready(c) || !write_ready(c)) return false;
    const bool asking = !c.closing && !c.input_ended;
    return asking || !c.owed.empty() || !c.out.empty();
}

// Accepts waiting connections up to the most served at once; the rest wait
// in the listening queue until a served one ends.
void accept_waiting() {
    Endpoint& e = endpoint();
    while (e.connections.size() < size_t(kMaxEndpointConnections)) {
        int fd = accept4(e.listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        if (!peer_is_us(fd)) {
            close(fd);
            continue;
        }
        e.connections.push_back(Connection{fd, {}, {}, {}, false, false});
    }
}

bool poll_source(uint16_t, EventRecord&, bool) {
    ae_endpoint_poll();
    return false;
}

// What ends the host's wait: a connection coming while there is room for it, a
// request arriving while the sender's are read, room for a reply that waits
// to be written. (What is not taken now would end every wait at once.)
void watched_descriptors(std::vector<pollfd>& descriptors) {
    Endpoint& e = endpoint();
    if (e.listener >= 0 && e.connections.size() < size_t(kMaxEndpointConnections))
        descriptors.push_back(pollfd{e.listener, POLLIN, 0});
    for (const Connection& c : e.connections) {
        short events = 0;
        if (reads_more(c)) events |= POLLIN;
        if (!c.out.empty()) events |= POLLOUT;
        if (events) descriptors.push_back(pollfd{c.fd, events, 0});
    }
}

void close_at_exit() { ae_endpoint_close(); }

}  // namespace

std::string ae_endpoint_default_path() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return std::string(runtime) + "/quorvin/events";
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/quorvin/events";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.config/quorvin/events";
    return {};
}

OSErr ae_endpoint_open(const std::string& path) {
    ae_endpoint_close();
    sockaddr_un address;
    if (!make_address(path, address) || !private_folder(folder_of(path))) return kParamErr;
    if (int live = connect_to(path); live >= 0) {
        close(live);
        return kFileBusyErr;
    }
    unlink(path.c_str());
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return kParamErr;
    const mode_t mask = umask(077);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    umask(mask);
    if (!bound || chmod(path.c_str(), 0600) != 0 || listen(fd, SOMAXCONN) != 0) {
        close(fd);
        return kParamErr;
    }
    Endpoint& e = endpoint();
    e.listener = fd;
    e.path = path;
    add_event_source(poll_source, EventSourceOrder::kAfterQueue);
    host_watch_descriptors(watched_descriptors);
    static const bool registered = (std::atexit(close_at_exit), true);
    (void)registered;
    return noErr;
}

void ae_endpoint_close() {
    Endpoint& e = endpoint();
    remove_event_source(poll_source);
    host_unwatch_descriptors(watched_descriptors);
    for (Connection& c : e.connections) close(c.fd);
    e.connections.clear();
    if (e.listener >= 0) {
        close(e.listener);
        unlink(e.path.c_str());
    }
    e.listener = -1;
    e.path.clear();
}

void ae_endpoint_poll() {
    Endpoint& e = endpoint();
    if (e.listener < 0) return;
    accept_waiting();
    std::erase_if(e.connections, [](Connection& c) {
        const bool open = serve(c);
        if (!open) close(c.fd);
        return !open;
    });
}

OSErr ae_endpoint_send(const std::string& path, const AppleEvent& event, AppleEvent& reply, int timeout_ms) {
    int fd = connect_to(path);
    if (fd < 0) return kProcessNotFoundErr;
    const std::vector<uint8_t> message = ae_flat_message(event);
    OSErr err = noErr;
    for (size_t sent = 0; sent < message.size() && !err;) {
        ssize_t n = send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) err = kProcessNotFoundErr;
        else sent += size_t(n);
    }
    std::vector<uint8_t> in;
    while (!err) {
        if (in.size() >= kFlatLengthSize) {
            const uint32_t length = ae_flat_message_length(in.data());
            if (length > kMaxFlatMessage) err = kAECorruptDataErr;
            else if (in.size() >= kFlatLengthSize + length) {
                err = ae_unflatten(in.data() + kFlatLengthSize, length, reply);
                break;
            }
        }
        pollfd ready{fd, POLLIN, 0};
        if (!err && poll(&ready, 1, timeout_ms) <= 0) err = kAETimeoutErr;
        uint8_t chunk[kReadChunk];
        ssize_t got = err ? 0 : recv(fd, chunk, sizeof chunk, 0);
        if (!err && got <= 0) err = kProcessNotFoundErr;
        if (!err) in.insert(in.end(), chunk, chunk + got);
    }
    close(fd);
    return err;
}

}  // namespace pf
