// The handler table, events sent to ourselves, the pending-event list, and
// the launch event made from the command line.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <utility>

#include "platform/appleevents/appleevents.h"
#include "platform/files/files.h"
#include "platform/memory/memory.h"

namespace pf {

namespace {

constexpr FourCC kOwnSignature = four_cc("QRVA");

struct HandlerEntry {
    FourCC event_class, event_id;
    AEEventHandler handler;
    long refcon;
};

std::vector<HandlerEntry>& handlers() {
    static std::vector<HandlerEntry> table;
    return table;
}

AEPostHook& post_hook() {
    static AEPostHook hook = nullptr;
    return hook;
}

HandlerEntry* exact_entry(FourCC event_class, FourCC event_id) {
    for (HandlerEntry& e : handlers()) {
        if (e.event_class == event_class && e.event_id == event_id) return &e;
    }
    return nullptr;
}

// The handler for an event, trying wildcards after the exact class and id.
const HandlerEntry* entry_for(FourCC event_class, FourCC event_id) {
    const std::pair<FourCC, FourCC> tries[] = {{event_class, event_id},
                                               {event_class, kTypeWildCard},
                                               {kTypeWildCard, event_id},
                                               {kTypeWildCard, kTypeWildCard}};
    for (auto [c, i] : tries) {
        if (const HandlerEntry* e = exact_entry(c, i)) return e;
    }
    return nullptr;
}

FourCC code_attribute(const AppleEvent& event, FourCC key) {
    FourCC code = 0;
    ae_get_attribute_ptr(event, key, kTypeType, nullptr, &code, sizeof code, nullptr);
    return code;
}

// An event waiting for the loop, and where its reply goes (nowhere for
// events sent to ourselves without waiting).
struct PendingEvent {
    AppleEvent event;
    AEReplySink sink = nullptr;
    long sink_ref = 0;
};

std::deque<PendingEvent>& pending() {
    static std::deque<PendingEvent> events;
    return events;
}

void queue_event(const AppleEvent& event, AEReplySink sink, long sink_ref) {
    pending().push_back(PendingEvent{event, sink, sink_ref});
    if (AEPostHook hook = post_hook())
        hook(code_attribute(event, kKeyEventClass), code_attribute(event, kKeyEventId));
}

bool addressed_to_self(const AppleEvent& event, OSErr& err) {
    AEDesc address;
    err = ae_get_attribute_desc(event, kKeyAddress, kTypeWildCard, address);
    if (err) return false;
    if (address.type == kTypeProcessSerialNumber && address.data.size() == sizeof(ProcessSerialNumber)) {
        ProcessSerialNumber psn;
        std::memcpy(&psn, address.data.data(), sizeof psn);
        bool self = (psn.high == kCurrentProcess.high && psn.low == kCurrentProcess.low) ||
                    (psn.high == 0 && psn.low == uint32_t(getpid()));
        err = self ? noErr : kProcessNotFoundErr;
        return self;
    }
    if (address.type == kTypeApplicationSignature && address.data.size() == 4) {
        FourCC sign;
        std::memcpy(&sign, address.data.data(), 4);
        err = sign == kOwnSignature ? noErr : kProcessNotFoundErr;
        return !err;
    }
    err = kAEUnknownAddressTypeErr;
    return false;
}

OSErr dispatch(const AppleEvent& event, AppleEvent& reply) {
    const HandlerEntry* entry =
        entry_for(code_attribute(event, kKeyEventClass), code_attribute(event, kKeyEventId));
    event.item_read.assign(event.items.size(), false);
    const OSErr err = entry ? entry->handler(&event, &reply, entry->refcon) : kAEEventNotHandledErr;
    if (err) ae_put_error(reply, err);
    return err;
}

OSErr make_reply(const AppleEvent& event, AppleEvent& reply) {
    AEDesc self;
    ae_address_of_self(self);
    int16_t return_id = 0;
    ae_get_attribute_ptr(event, kKeyReturnId, kTypeShort, nullptr, &return_id, sizeof return_id, nullptr);
    return ae_create_apple_event(kCoreEventClass, kAnswerEvent, self, return_id, kAnyTransactionId, reply);
}

}  // namespace

OSErr ae_install_event_handler(FourCC event_class, FourCC event_id, AEEventHandler handler, long refcon) {
    if (!handler) return kParamErr;
    if (HandlerEntry* e = exact_entry(event_class, event_id)) {
        e->handler = handler;
        e->refcon = refcon;
        return noErr;
    }
    handlers().push_back({event_class, event_id, handler, refcon});
    return noErr;
}

OSErr ae_remove_event_handler(FourCC event_class, FourCC event_id) {
    size_t removed = std::erase_if(handlers(), [&](const HandlerEntry& e) {
        return e.event_class == event_class && e.event_id == event_id;
    });
    return removed ? noErr : kAEDescNotFoundErr;
}

OSErr ae_get_event_handler(FourCC event_class, FourCC event_id, AEEventHandler& handler, long& refcon) {
    const HandlerEntry* e = exact_entry(event_class, event_id);
    if (!e) return kAEDescNotFoundErr;
    handler = e->handler;
    refcon = e->refcon;
    return noErr;
}

OSErr ae_address_of_self(AEDesc& out) {
    return ae_create_desc(kTypeProcessSerialNumber, &kCurrentProcess, sizeof kCurrentProcess, out);
}

OSErr ae_send(const AppleEvent& event, AppleEvent* reply, int32_t send_mode, int32_t) {
    if (event.kind != AEDescKind::event) return kAENotAppleEventErr;
    int32_t reply_mode = send_mode & 3;
    if (reply_mode == 0) return kAEUnknownSendModeErr;
    OSErr err;
    if (!addressed_to_self(event, err)) return err;
    if (reply_mode == kAEWaitReply) {
        AppleEvent own_reply;
        AppleEvent& answer = reply ? *reply : own_reply;
        make_reply(event, answer);
        return dispatch(event, answer);
    }
    if (reply) ae_dispose_desc(*reply);
    queue_event(event, nullptr, 0);
    return noErr;
}

OSErr ae_receive_event(const AppleEvent& event, AEReplySink sink, long sink_ref) {
    if (event.kind != AEDescKind::event) return kAENotAppleEventErr;
    queue_event(event, sink, sink_ref);
    return noErr;
}

void ae_set_post_hook(AEPostHook hook) { post_hook() = hook; }

size_t ae_pending_count() { return pending().size(); }

OSErr ae_process_apple_event() {
    if (pending().empty()) return kAEEventNotHandledErr;
    PendingEvent next = std::move(pending().front());
    pending().pop_front();
    AppleEvent reply;
    make_reply(next.event, reply);
    OSErr err = dispatch(next.event, reply);
    if (next.sink) next.sink(reply, next.sink_ref);
    return err;
}

void ae_clear_pending() { pending().clear(); }

const char* ae_error_reason(OSErr err) {
    switch (err) {
    case kAECoercionFailErr: return "The data given cannot be made into what is wanted.";
    case kAEDescNotFoundErr: return "The request lacks a part it needs.";
    case kAECorruptDataErr: return "The message is damaged or too long.";
    case kAEWrongDataTypeErr: return "The data given are of the wrong kind.";
    case kAENotAEDescErr:
    case kAEBadListItemErr: return "The request holds a damaged list.";
    case kAENotAppleEventErr: return "The message is not a request.";
    case kAEEventNotHandledErr: return "Quorvin does not carry out this request.";
    case kAEParamMissedErr: return "The request has a part Quorvin does not take.";
    case kAEUnknownAddressTypeErr:
    case kProcessNotFoundErr: return "The request is addressed to another program.";
    case kAEIllegalIndexErr: return "No object has that number.";
    case kAENotAnObjSpecErr: return "The request names no object.";
    case kAENoSuchObjectErr: return "No such object: the document, window, layer or cell named does not exist.";
    case kAEEventFailedErr: return "The request could not be carried out.";
    case kAEBadKeyFormErr: return "Objects of that kind cannot be named that way.";
    case kAENotModifiableErr: return "That object or property cannot be changed.";
    case kAECantHandleClassErr: return "Quorvin cannot do that with objects of that kind.";
    case kParamErr: return "A value of the request is out of range.";
    case kMemFullErr: return "There is not enough memory.";
    case kUserCanceledErr: return "The request was cancelled.";
    default: return "The request failed.";
    }
}

void ae_put_error(AppleEvent& reply, OSErr err) {
    if (reply.kind != AEDescKind::event) return;
    int32_t number = err;
    ae_put_param_ptr(reply, kKeyErrorNumber, kTypeLong, &number, sizeof number);
    AEDesc said;
    if (ae_get_param_desc(reply, kKeyErrorString, kTypeWildCard, said) == noErr) return;
    const char* reason = ae_error_reason(err);
    ae_put_param_ptr(reply, kKeyErrorString, kTypeText, reason, std::strlen(reason));
}

OSErr ae_interact_with_user(int32_t) { return noErr; }

namespace {
std::vector<std::string> unfound_launch_paths;
}

std::vector<std::string> ae_take_unfound_launch_paths() { return std::exchange(unfound_launch_paths, {}); }

OSErr ae_make_launch_event(const std::vector<std::string>& paths, AppleEvent& out) {
    AEDesc documents;
    ae_create_list(false, documents);
    for (const std::string& path : paths) {
        FileSpec spec;
        OSErr err = file_spec_from_path(path, spec);
        if (err != noErr && err != kFileNotFoundErr) {
            unfound_launch_paths.push_back(path);
            continue;
        }
        ae_put_ptr(documents, 0, kTypeFileSpec, &spec, sizeof spec);
    }
    AEDesc self;
    ae_address_of_self(self);
    FourCC id = documents.items.empty() ? kOpenApplication : kOpenDocuments;
    ae_create_apple_event(kCoreEventClass, id, self, kAutoGenerateReturnId, kAnyTransactionId, out);
    if (id == kOpenDocuments) return ae_put_param_desc(out, kKeyDirectObject, documents);
    return noErr;
}

OSErr ae_post_launch_event(int argc, const char* const* argv) {
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] && argv[i][0]) paths.emplace_back(argv[i]);
    }
    AppleEvent event;
    if (OSErr err = ae_make_launch_event(paths, event)) return err;
    long count = 0;
    AEDesc documents;
    if (ae_get_param_desc(event, kKeyDirectObject, kTypeList, documents) == noErr)
        ae_count_items(documents, count);
    if (size_t(count) < paths.size())
        std::fprintf(stderr, "quorvin: %zu of the files named could not be found\n", paths.size() - size_t(count));
    return ae_send(event, nullptr, kAENoReply);
}

}  // namespace pf
