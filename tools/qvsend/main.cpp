// qvsend: sends one object-model event to a running Quorvin through its local
// endpoint and prints the reply. Built for tests and scripts; not installed.
//
//   qvsend [--socket PATH] [--timeout SECONDS] COMMAND ...
//     get SPECIFIER            the data of an object ("value of cell B2 of layer 1 of document 1")
//     set SPECIFIER VALUE      sets it as if VALUE were typed ("=SUM(A1:B1)")
//     size SPECIFIER           the size of its data
//     exists SPECIFIER         true or false
//     select SPECIFIER         selects a range or brings a window to the front
//     count ELEMENTS [of SPECIFIER]   e.g. "layers of document 1", "documents",
//                              "cells whose value > 3 of range A1:C9"
//     create CLASS [SPECIFIER]  a new document, or a new layer in a document
// The timeout is a whole number of seconds from 1 to 86400 (30 when not given).
// Exit status: 0 for a reply without error, 1 for an error reply, 2 when the
// arguments are wrong or the program cannot be reached or does not answer in time.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/appleevents/ae_endpoint.h"
#include "platform/appleevents/object_text.h"
#include "platform/text/mac_roman.h"

namespace {

constexpr int kUsageStatus = 2;

struct Command {
    const char* word;
    pf::FourCC event_class, event_id;
};

int usage(const char* why) {
    std::fprintf(stderr,
                 "qvsend: %s\nusage: qvsend [--socket PATH] [--timeout SECONDS] "
                 "get|set|size|exists|select|count|create ...\n",
                 why);
    return kUsageStatus;
}

bool parse(const std::string& text, pf::AEDesc& spec) {
    std::string error;
    if (pf::parse_object_text(text, spec, error)) return true;
    std::fprintf(stderr, "qvsend: %s: %s\n", text.c_str(), error.c_str());
    return false;
}

pf::AppleEvent make_event(pf::FourCC event_class, pf::FourCC event_id) {
    pf::AEDesc target;
    const pf::FourCC signature = pf::four_cc("QRVA");
    pf::ae_create_desc(pf::kTypeApplicationSignature, &signature, 4, target);
    pf::AppleEvent event;
    pf::ae_create_apple_event(event_class, event_id, target, 1, pf::kAnyTransactionId, event);
    return event;
}

// "layers of document 1": the class of the first word and the container after
// "of"; "cells whose value > 3 of range A1:C9": the cells the test picks.
bool parse_count(const std::string& text, pf::FourCC& element, pf::AEDesc& container) {
    const size_t space = text.find(' ');
    element = pf::object_class_code(text.substr(0, space));
    if (!element) {
        std::fprintf(stderr, "qvsend: %s: no class to count\n", text.c_str());
        return false;
    }
    if (space == std::string::npos) return true;
    std::string rest = text.substr(space + 1);
    if (rest.rfind("whose ", 0) == 0) return parse(text, container);
    if (rest.rfind("of ", 0) != 0) {
        std::fprintf(stderr, "qvsend: %s: expected \"of\" after the class\n", text.c_str());
        return false;
    }
    return parse(rest.substr(3), container);
}

void print_desc(const pf::AEDesc& d) {
    if (d.kind == pf::AEDescKind::list) {
        std::printf("{");
        for (size_t i = 0; i < d.items.size(); ++i) {
            if (i) std::printf(", ");
            print_desc(d.items[i]);
        }
        std::printf("}");
        return;
    }
    if (d.type == pf::kTypeText) {
        std::printf("%s", pf::mac_roman_to_utf8(std::string(d.data.begin(), d.data.end())).c_str());
    } else if (d.type == pf::kTypeUtf8Text) {
        std::printf("%.*s", int(d.data.size()), reinterpret_cast<const char*>(d.data.data()));
    } else if (d.type == pf::kTypeDouble && d.data.size() == 8) {
        double v;
        std::memcpy(&v, d.data.data(), 8);
        std::printf("%.15g", v);
    } else if (d.type == pf::kTypeLong && d.data.size() == 4) {
        int32_t v;
        std::memcpy(&v, d.data.data(), 4);
        std::printf("%d", v);
    } else if (d.type == pf::kTypeBoolean && d.data.size() == 1) {
        std::printf("%s", d.data[0] ? "true" : "false");
    } else if (d.type == pf::kTypeObjectSpecifier) {
        std::printf("(object)");
    } else {
        std::printf("(%zu bytes)", d.data.size());
    }
}

// Prints the reply's result or its error; answers the exit status.
int report(const pf::AppleEvent& reply) {
    int32_t error = 0;
    if (pf::ae_get_param_ptr(reply, pf::kKeyErrorNumber, pf::kTypeLong, nullptr, &error, 4, nullptr) == pf::noErr &&
        error) {
        pf::AEDesc text;
        std::string message;
        if (pf::ae_get_param_desc(reply, pf::four_cc("errs"), pf::kTypeText, text) == pf::noErr)
            message = ": " + pf::mac_roman_to_utf8(std::string(text.data.begin(), text.data.end()));
        std::fprintf(stderr, "qvsend: error %d%s\n", error, message.c_str());
        return 1;
    }
    pf::AEDesc result;
    if (pf::ae_get_param_desc(reply, pf::kKeyDirectObject, pf::kTypeWildCard, result) == pf::noErr) {
        print_desc(result);
        std::printf("\n");
    }
    return 0;
}

const Command kCommands[] = {
    {"get", pf::four_cc("core"), pf::four_cc("getd")},     {"set", pf::four_cc("core"), pf::four_cc("setd")},
    {"size", pf::four_cc("core"), pf::four_cc("dsiz")},    {"exists", pf::four_cc("core"), pf::four_cc("doex")},
    {"select", pf::four_cc("misc"), pf::four_cc("slct")},  {"count", pf::four_cc("core"), pf::four_cc("cnte")},
    {"create", pf::four_cc("core"), pf::four_cc("crel")},
};

// Fills the event's parameters from the command's arguments.
bool fill_event(const std::string& word, const std::vector<std::string>& args, pf::AppleEvent& event) {
    pf::AEDesc spec;
    if (word == "count") {
        pf::FourCC element = 0;
        if (args.size() != 1 || !parse_count(args[0], element, spec)) return false;
        pf::ae_put_param_desc(event, pf::kKeyDirectObject, spec);
        pf::ae_put_param_ptr(event, pf::kKeyClass, pf::kTypeType, &element, 4);
        return true;
    }
    if (word == "create") {
        const pf::FourCC element = args.empty() ? 0 : pf::object_class_code(args[0]);
        if (!element || args.size() > 2) return false;
        pf::ae_put_param_ptr(event, pf::kKeyClass, pf::kTypeType, &element, 4);
        if (args.size() == 2) {
            if (!parse(args[1], spec)) return false;
            pf::ae_put_param_desc(event, pf::kKeyInsertHere, spec);
        }
        return true;
    }
    if (args.size() != (word == "set" ? 2u : 1u) || !parse(args[0], spec)) return false;
    pf::ae_put_param_desc(event, pf::kKeyDirectObject, spec);
    if (word == "set") pf::ae_put_param_ptr(event, pf::kKeyNewData, pf::kTypeUtf8Text, args[1].data(), args[1].size());
    return true;
}

// A whole number of seconds from 1 to a day; false for anything else.
bool read_seconds(const char* text, int& seconds) {
    constexpr long kLongestWait = 24 * 60 * 60;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno || end == text || *end || value < 1 || value > kLongestWait) return false;
    seconds = int(value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = pf::ae_endpoint_default_path();
    int timeout_seconds = 30;
    int at = 1;
    for (; at + 1 < argc && argv[at][0] == '-'; at += 2) {
        if (!std::strcmp(argv[at], "--socket")) path = argv[at + 1];
        else if (!std::strcmp(argv[at], "--timeout")) {
            if (!read_seconds(argv[at + 1], timeout_seconds))
                return usage("the timeout is a whole number of seconds from 1 to 86400");
        } else return usage("unknown option");
    }
    if (at >= argc) return usage("no command");
    const std::string word = argv[at];
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (word == c.word) command = &c;
    if (!command) return usage("unknown command");
    std::vector<std::string> args(argv + at + 1, argv + argc);
    pf::AppleEvent event = make_event(command->event_class, command->event_id);
    if (!fill_event(word, args, event)) return usage("wrong arguments for this command");
    pf::AppleEvent reply;
    const pf::OSErr err = pf::ae_endpoint_send(path, event, reply, timeout_seconds * 1000);
    if (err == pf::kAETimeoutErr) {
        std::fprintf(stderr, "qvsend: Quorvin at %s did not answer within the timeout of %d s\n", path.c_str(), timeout_seconds);
        return kUsageStatus;
    }
    if (err) {
        std::fprintf(stderr, "qvsend: cannot reach Quorvin at %s (error %d)\n", path.c_str(), err);
        return kUsageStatus;
    }
    return report(reply);
}
