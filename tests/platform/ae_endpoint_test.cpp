// Flattened descriptors and the local endpoint: round trips, untrusted bytes
// (truncated, huge counts, deep nesting), the socket's permissions, and
// events sent by another program answered on their connection.
#include "platform/appleevents/ae_endpoint.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "platform/appleevents/ae_flatten.h"
#include "platform/appleevents/object_text.h"
#include "tests/platform/temp_folder.h"

namespace {

using pf::AEDesc;
using pf::AppleEvent;
using pf::four_cc;
using pf::FourCC;

AppleEvent sample_event() {
    AEDesc self;
    pf::ae_address_of_self(self);
    AppleEvent event;
    pf::ae_create_apple_event(four_cc("core"), four_cc("getd"), self, 7, 0, event);
    AEDesc spec;
    std::string error;
    EXPECT_TRUE(pf::parse_object_text("value of cell B2 of layer 1 of document \"Bud\\\"get\"", spec, error)) << error;
    pf::ae_put_param_desc(event, pf::kKeyDirectObject, spec);
    AEDesc rows;
    pf::ae_create_list(false, rows);
    pf::ae_put_ptr(rows, 0, pf::kTypeText, "", 0);
    pf::ae_put_ptr(rows, 0, pf::kTypeDouble, "\0\0\0\0\0\0\xf0\x3f", 8);
    pf::ae_put_param_desc(event, four_cc("rows"), rows);
    return event;
}

bool same(const AEDesc& a, const AEDesc& b) {
    if (a.type != b.type || a.kind != b.kind || a.data != b.data || a.keys != b.keys ||
        a.attribute_keys != b.attribute_keys || a.items.size() != b.items.size() ||
        a.attributes.size() != b.attributes.size())
        return false;
    for (size_t i = 0; i < a.items.size(); ++i)
        if (!same(a.items[i], b.items[i])) return false;
    for (size_t i = 0; i < a.attributes.size(); ++i)
        if (!same(a.attributes[i], b.attributes[i])) return false;
    return true;
}

std::vector<uint8_t> flat(const AEDesc& d) {
    std::vector<uint8_t> bytes;
    pf::ae_flatten(d, bytes);
    return bytes;
}

TEST(Flattening, EventsListsAndNestedRecordsComeBackAsTheyWere) {
    const AppleEvent event = sample_event();
    const std::vector<uint8_t> bytes = flat(event);
    AppleEvent back;
    ASSERT_EQ(pf::ae_unflatten(bytes.data(), bytes.size(), back), pf::noErr);
    EXPECT_TRUE(same(event, back));
    AEDesc name;
    ASSERT_EQ(pf::ae_get_param_desc(back, pf::kKeyDirectObject, pf::kTypeWildCard, name), pf::noErr);
    EXPECT_EQ(name.type, pf::kTypeObjectSpecifier);

    const std::vector<uint8_t> message = pf::ae_flat_message(event);
    EXPECT_EQ(pf::ae_flat_message_length(message.data()), bytes.size());
}

TEST(Flattening, EveryTruncationAndTrailingByteIsRefused) {
    const std::vector<uint8_t> bytes = flat(sample_event());
    for (size_t size = 0; size < bytes.size(); ++size) {
        AEDesc out;
        EXPECT_EQ(pf::ae_unflatten(bytes.data(), size, out), pf::kAECorruptDataErr) << size;
    }
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    AEDesc out;
    EXPECT_EQ(pf::ae_unflatten(longer.data(), longer.size(), out), pf::kAECorruptDataErr);
}

TEST(Flattening, HugeCountsSizesAndDeepNestingAreRefusedBeforeAllocation) {
    const std::vector<std::vector<uint8_t>> bad = {
        {1, 'l', 'i', 's', 't', 0xFF, 0xFF, 0xFF, 0xFF},             // four billion items
        {2, 'r', 'e', 'c', 'o', 0x10, 0, 0, 0, 'k', 'e', 'y', ' '},  // a huge record
        {0, 'T', 'E', 'X', 'T', 0x7F, 0xFF, 0xFF, 0xFF, 'a'},        // data past the end
        {3, 'a', 'e', 'v', 't', 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xF0},  // huge parameter count
        {9, 'T', 'E', 'X', 'T', 0, 0, 0, 0},                         // no such kind
    };
    for (const auto& bytes : bad) {
        AEDesc out;
        EXPECT_EQ(pf::ae_unflatten(bytes.data(), bytes.size(), out), pf::kAECorruptDataErr);
    }
    AEDesc deep;
    pf::ae_create_desc(pf::kTypeLong, "\0\0\0\1", 4, deep);
    for (int i = 0; i < pf::kMaxFlatDepth + 2; ++i) {
        AEDesc outer;
        pf::ae_create_list(false, outer);
        pf::ae_put_desc(outer, 0, deep);
        deep = outer;
    }
    const std::vector<uint8_t> bytes = flat(deep);
    AEDesc out;
    EXPECT_EQ(pf::ae_unflatten(bytes.data(), bytes.size(), out), pf::kAECorruptDataErr);
}

TEST(ObjectText, SpecifierTextsNestAndBadOnesSayWhere) {
    AEDesc spec;
    std::string error;
    ASSERT_TRUE(pf::parse_object_text("formula of cell C1 of document \"Budget\"", spec, error));
    AEDesc container, data;
    ASSERT_EQ(pf::ae_get_key_desc(spec, pf::kKeyContainer, pf::kTypeWildCard, container), pf::noErr);
    ASSERT_EQ(pf::ae_get_key_desc(container, pf::kKeyData, pf::kTypeWildCard, data), pf::noErr);
    EXPECT_EQ(std::string(data.data.begin(), data.data.end()), "C1");
    EXPECT_FALSE(pf::parse_object_text("value of cell", spec, error));
    EXPECT_FALSE(pf::parse_object_text("value of document \"open", spec, error));
    EXPECT_FALSE(pf::parse_object_text("colour of cell A1", spec, error));
    EXPECT_NE(error.find("colour"), std::string::npos);
    EXPECT_FALSE(pf::parse_object_text("document A1", spec, error)) << "only cells and ranges take references";
    std::string deep = "cell A1";
    for (int i = 0; i < pf::kMaxObjectTextDepth; ++i) deep += " of layer 1";
    EXPECT_FALSE(pf::parse_object_text(deep, spec, error));
    EXPECT_EQ(pf::object_class_code("Layers"), pf::kClassLayer);
    EXPECT_TRUE(pf::parse_object_text("cells whose value >= -2.5 of range A1:B9", spec, error)) << error;
    EXPECT_FALSE(pf::parse_object_text("cells whose colour > 3", spec, error));
    EXPECT_FALSE(pf::parse_object_text("cells whose value ~ 3", spec, error));
    EXPECT_FALSE(pf::parse_object_text("cells whose value > three", spec, error));
}

class Endpoint : public ::testing::Test {
protected:
    TempFolder temp;
    std::string path;

    void SetUp() override {
        path = temp.path + "/run/events";
        ASSERT_EQ(pf::ae_endpoint_open(path), pf::noErr);
        pf::ae_install_event_handler(four_cc("core"), four_cc("getd"), answer_42, 0);
    }
    void TearDown() override {
        pf::ae_endpoint_close();
        pf::ae_remove_event_handler(four_cc("core"), four_cc("getd"));
        pf::ae_clear_pending();
    }

    static pf::OSErr answer_42(const AppleEvent*, AppleEvent* reply, long) {
        int32_t answer = 42;
        return pf::ae_put_param_ptr(*reply, pf::kKeyDirectObject, pf::kTypeLong, &answer, 4);
    }

    // Serves the endpoint as the event loop does until `done`.
    void serve(const std::atomic<bool>& done) {
        while (!done) {
            pf::ae_endpoint_poll();
            while (pf::ae_pending_count()) pf::ae_process_apple_event();
            usleep(1000);
        }
    }

    int raw_connection() {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path.c_str());
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        return fd;
    }
};

TEST_F(Endpoint, TheSocketIsTheOwnersAlone) {
    struct stat folder, socket_file;
    ASSERT_EQ(stat((temp.path + "/run").c_str(), &folder), 0);
    ASSERT_EQ(stat(path.c_str(), &socket_file), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(socket_file.st_mode & 0777, 0600u);
    EXPECT_EQ(pf::ae_endpoint_open(path), pf::noErr) << "reopening replaces its own socket";

    ASSERT_EQ(chmod((temp.path + "/run").c_str(), 0755), 0);
    pf::ae_endpoint_close();
    EXPECT_EQ(pf::ae_endpoint_open(path), pf::kParamErr) << "a folder open to others is refused";
    ASSERT_EQ(chmod((temp.path + "/run").c_str(), 0700), 0);
}

TEST_F(Endpoint, EventsFromAnotherProgramAreAnsweredOnTheirConnection) {
    std::atomic<bool> done{false};
    AppleEvent reply;
    pf::OSErr sent = -1;
    std::thread sender([&] {
        sent = pf::ae_endpoint_send(path, sample_event(), reply, 5000);
        done = true;
    });
    serve(done);
    sender.join();
    ASSERT_EQ(sent, pf::noErr);
    int32_t answer = 0;
    ASSERT_EQ(pf::ae_get_param_ptr(reply, pf::kKeyDirectObject, pf::kTypeLong, nullptr, &answer, 4, nullptr), pf::noErr);
    EXPECT_EQ(answer, 42);

    AppleEvent unknown;
    pf::ae_create_apple_event(four_cc("none"), four_cc("such"), AEDesc{}, 1, 0, unknown);
    done = false;
    std::thread second([&] {
        sent = pf::ae_endpoint_send(path, unknown, reply, 5000);
        done = true;
    });
    serve(done);
    second.join();
    ASSERT_EQ(sent, pf::noErr);
    int32_t error = 0;
    pf::ae_get_param_ptr(reply, pf::kKeyErrorNumber, pf::kTypeLong, nullptr, &error, 4, nullptr);
    EXPECT_EQ(error, pf::kAEEventNotHandledErr);
}

TEST_F(Endpoint, MalformedMessagesGetAnErrorReplyAndTheEndpointCarriesOn) {
    const std::vector<std::vector<uint8_t>> bad = {
        {0, 0, 0, 5, 9, 1, 2, 3, 4},         // no such kind
        {0xFF, 0xFF, 0xFF, 0xFF},             // longer than any message may be
        {0, 0, 0, 9, 0, 'T', 'E', 'X', 'T', 0, 0, 0, 0},  // a descriptor, not an event
    };
    for (const auto& bytes : bad) {
        int fd = raw_connection();
        ASSERT_EQ(send(fd, bytes.data(), bytes.size(), 0), ssize_t(bytes.size()));
        std::vector<uint8_t> in;
        for (int i = 0; i < 2000 && recv(fd, nullptr, 0, MSG_PEEK | MSG_DONTWAIT) < 0; ++i) {
            pf::ae_endpoint_poll();
            usleep(1000);
        }
        uint8_t buffer[256];
        ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        close(fd);
        ASSERT_GT(got, 4);
        AppleEvent reply;
        ASSERT_EQ(pf::ae_unflatten(buffer + 4, size_t(got - 4), reply), pf::noErr);
        int32_t error = 0;
        pf::ae_get_param_ptr(reply, pf::kKeyErrorNumber, pf::kTypeLong, nullptr, &error, 4, nullptr);
        EXPECT_EQ(error, pf::kAECorruptDataErr);
    }
    EXPECT_EQ(pf::ae_pending_count(), 0u);
}

// The value last set, as a "setd" handler keeps it and a "getd" handler answers it.
int32_t stored_value = 0;

pf::OSErr store_value(const AppleEvent* event, AppleEvent*, long) {
    return pf::ae_get_param_ptr(*event, pf::kKeyNewData, pf::kTypeLong, nullptr, &stored_value, 4, nullptr);
}

pf::OSErr answer_stored_value(const AppleEvent*, AppleEvent* reply, long) {
    return pf::ae_put_param_ptr(*reply, pf::kKeyDirectObject, pf::kTypeLong, &stored_value, 4);
}

std::vector<uint8_t> value_event(FourCC id, int32_t value) {
    AEDesc self;
    pf::ae_address_of_self(self);
    AppleEvent event;
    pf::ae_create_apple_event(four_cc("core"), id, self, 1, 0, event);
    if (id == four_cc("setd")) pf::ae_put_param_ptr(event, pf::kKeyNewData, pf::kTypeLong, &value, 4);
    return pf::ae_flat_message(event);
}

// The replies in a stream of messages, in order.
std::vector<AppleEvent> replies_in(const std::vector<uint8_t>& data) {
    std::vector<AppleEvent> replies;
    for (size_t at = 0; at + pf::kFlatLengthSize <= data.size();) {
        const uint32_t length = pf::ae_flat_message_length(data.data() + at);
        AppleEvent reply;
        if (at + pf::kFlatLengthSize + length > data.size() ||
            pf::ae_unflatten(data.data() + at + pf::kFlatLengthSize, length, reply))
            break;
        replies.push_back(reply);
        at += pf::kFlatLengthSize + length;
    }
    return replies;
}

int32_t long_param(const AppleEvent& reply, FourCC key) {
    int32_t value = 0;
    pf::ae_get_param_ptr(reply, key, pf::kTypeLong, nullptr, &value, 4, nullptr);
    return value;
}

// A sender that writes 1,000 set and get pairs before it reads any reply is
// slowed down, not refused: every request is carried out, in order.
TEST_F(Endpoint, PipelinedRequestsAreAllCarriedOutInOrder) {
    pf::ae_install_event_handler(four_cc("core"), four_cc("setd"), store_value, 0);
    pf::ae_install_event_handler(four_cc("core"), four_cc("getd"), answer_stored_value, 0);
    constexpr int kPairs = 1000;
    std::vector<uint8_t> requests;
    for (int i = 1; i <= kPairs; ++i)
        for (FourCC id : {four_cc("setd"), four_cc("getd")}) {
            const std::vector<uint8_t> message = value_event(id, i);
            requests.insert(requests.end(), message.begin(), message.end());
        }
    const int fd = raw_connection();
    std::atomic<bool> done{false};
    std::vector<uint8_t> data;
    std::thread sender([&] {
        EXPECT_EQ(send(fd, requests.data(), requests.size(), MSG_NOSIGNAL), ssize_t(requests.size()));
        shutdown(fd, SHUT_WR);
    });
    std::thread reader([&] {
        uint8_t chunk[4096];
        for (ssize_t got; (got = recv(fd, chunk, sizeof chunk, 0)) > 0;) data.insert(data.end(), chunk, chunk + got);
        done = true;
    });
    serve(done);
    sender.join();
    reader.join();
    close(fd);
    pf::ae_remove_event_handler(four_cc("core"), four_cc("setd"));

    const std::vector<AppleEvent> replies = replies_in(data);
    ASSERT_EQ(replies.size(), size_t(2 * kPairs));
    for (int i = 1; i <= kPairs; ++i) {
        EXPECT_EQ(long_param(replies[size_t(2 * i - 2)], pf::kKeyErrorNumber), 0) << "set " << i;
        EXPECT_EQ(long_param(replies[size_t(2 * i - 1)], pf::kKeyDirectObject), i) << "get " << i;
    }
}

// Many more senders at once than are served at once all get their answers:
// the ones past the limit wait to be accepted.
TEST_F(Endpoint, SixtyFourSendersAtOnceAreAllAnswered) {
    constexpr int kSenders = 64;
    std::atomic<int> finished{0};
    std::atomic<bool> done{false};
    std::vector<pf::OSErr> sent(kSenders, -1);
    std::vector<int32_t> answers(kSenders, 0);
    std::vector<std::thread> senders;
    for (int k = 0; k < kSenders; ++k)
        senders.emplace_back([&, k] {
            AppleEvent reply;
            sent[size_t(k)] = pf::ae_endpoint_send(path, sample_event(), reply, 30000);
            answers[size_t(k)] = long_param(reply, pf::kKeyDirectObject);
            if (++finished == kSenders) done = true;
        });
    serve(done);
    for (std::thread& t : senders) t.join();
    for (int k = 0; k < kSenders; ++k) {
        EXPECT_EQ(sent[size_t(k)], pf::noErr) << k;
        EXPECT_EQ(answers[size_t(k)], 42) << k;
    }
}

TEST_F(Endpoint, NothingListeningIsReportedToTheSender) {
    AppleEvent reply;
    EXPECT_EQ(pf::ae_endpoint_send(temp.path + "/nobody", sample_event(), reply, 100), pf::kProcessNotFoundErr);
}

}  // namespace
