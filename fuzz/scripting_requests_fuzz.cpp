// What another program writes to the event socket: the input is the bytes of
// one connection, sent whole, its writing side then shut down. The requests
// it frames are carried out by the object model's handlers; every reply must
// come back framed, and the connection must end once all are answered.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/appleevents/ae_endpoint.h"
#include "platform/appleevents/ae_flatten.h"
#include "scripting/object_model.h"

namespace {

constexpr int kMostPasses = 100000;

// The object model's handlers that read and change what exists; none that
// makes documents or windows.
struct Handler {
    pf::FourCC id;
    pf::AEEventHandler handler;
};
const Handler kHandlers[] = {{pf::four_cc("getd"), DoGetData},
                             {pf::four_cc("setd"), DoSetData},
                             {pf::four_cc("dsiz"), DoGetDataSize},
                             {pf::four_cc("cnte"), DoCountElements},
                             {pf::four_cc("doex"), DoObjectsExist}};

bool open_endpoint() {
    for (const Handler& entry : kHandlers) pf::ae_install_event_handler(pf::four_cc("core"), entry.id, entry.handler, -1);
    return pf::ae_endpoint_open(fuzz_folder() + "/events") == pf::noErr;
}

int connect_to_endpoint() {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = fuzz_folder() + "/events";
    std::memcpy(address.sun_path, path.data(), path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0 || connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) std::abort();
    return fd;
}

// Each reply whole: its length, then a flattened event.
void check_replies(const std::vector<uint8_t>& replies) {
    size_t at = 0;
    while (at < replies.size()) {
        if (replies.size() - at < pf::kFlatLengthSize) std::abort();
        const uint32_t length = pf::ae_flat_message_length(replies.data() + at);
        if (replies.size() - at - pf::kFlatLengthSize < length) std::abort();
        pf::AEDesc reply;
        if (pf::ae_unflatten(replies.data() + at + pf::kFlatLengthSize, length, reply) != pf::noErr) std::abort();
        at += pf::kFlatLengthSize + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    static const bool opened = open_endpoint();
    if (!opened) std::abort();
    const int fd = connect_to_endpoint();
    std::vector<uint8_t> replies;
    size_t sent = 0;
    bool ended = false;
    for (int pass = 0; pass < kMostPasses && !ended; ++pass) {
        if (sent < size) {
            const ssize_t n = send(fd, data + sent, size - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n > 0) sent += size_t(n);
        }
        if (sent == size) shutdown(fd, SHUT_WR);
        pf::ae_endpoint_poll();
        while (pf::ae_pending_count() > 0) pf::ae_process_apple_event();
        uint8_t chunk[4096];
        ssize_t got;
        while ((got = recv(fd, chunk, sizeof chunk, MSG_DONTWAIT)) > 0) replies.insert(replies.end(), chunk, chunk + got);
        ended = got == 0;
    }
    close(fd);
    if (!ended) std::abort();  // the endpoint kept a connection whose requests were all answered
    check_replies(replies);
    return 0;
}
