// Apple events: typed descriptors, lists and records, events with parameters
// and attributes, coercions, a handler table by event class and id, and
// events the program sends to itself.
//
// An event sent to ourselves without waiting for a reply joins a list of
// pending events and the post hook is told (the event queue installs it and
// posts a high-level event); taking that event from the queue, the program
// calls ae_process_apple_event, which dispatches the oldest pending event to
// its handler. Sent with kAEWaitReply, the event is dispatched at once and the
// reply comes back. Other targets answer kProcessNotFoundErr.
//
// Parameters read by a handler are remembered: the missed-keyword attribute
// ("miss") answers the first parameter not read yet (and not listed in the
// optional-keywords attribute "optk"), or kAEDescNotFoundErr when none is left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system/system.h"
#include "platform/types.h"

namespace pf {

// ---- Types, keywords, events ----------------------------------------------
constexpr FourCC kTypeNull = four_cc("null");
constexpr FourCC kTypeWildCard = four_cc("****");
constexpr FourCC kTypeList = four_cc("list");
constexpr FourCC kTypeRecord = four_cc("reco");
constexpr FourCC kTypeAppleEvent = four_cc("aevt");
constexpr FourCC kTypeFileSpec = four_cc("fss ");
constexpr FourCC kTypeAlias = four_cc("alis");
constexpr FourCC kTypeText = four_cc("TEXT");       // Mac Roman
constexpr FourCC kTypeUtf8Text = four_cc("utf8");
constexpr FourCC kTypeShort = four_cc("shor");
constexpr FourCC kTypeLong = four_cc("long");
constexpr FourCC kTypeDouble = four_cc("doub");
constexpr FourCC kTypeBoolean = four_cc("bool");
constexpr FourCC kTypeTrue = four_cc("true");
constexpr FourCC kTypeFalse = four_cc("fals");
constexpr FourCC kTypeEnumerated = four_cc("enum");
constexpr FourCC kTypeType = four_cc("type");
constexpr FourCC kTypeKeyword = four_cc("keyw");
constexpr FourCC kTypeProcessSerialNumber = four_cc("psn ");
constexpr FourCC kTypeApplicationSignature = four_cc("sign");

constexpr FourCC kKeyDirectObject = four_cc("----");
constexpr FourCC kKeyMissedKeyword = four_cc("miss");
constexpr FourCC kKeyEventClass = four_cc("evcl");
constexpr FourCC kKeyEventId = four_cc("evid");
constexpr FourCC kKeyAddress = four_cc("addr");
constexpr FourCC kKeyReturnId = four_cc("rtid");
constexpr FourCC kKeyTransactionId = four_cc("tran");
constexpr FourCC kKeyOptionalKeywords = four_cc("optk");
constexpr FourCC kKeyErrorNumber = four_cc("errn");
constexpr FourCC kKeyErrorString = four_cc("errs");

constexpr FourCC kCoreEventClass = four_cc("aevt");
constexpr FourCC kOpenApplication = four_cc("oapp");
constexpr FourCC kOpenDocuments = four_cc("odoc");
constexpr FourCC kPrintDocuments = four_cc("pdoc");
constexpr FourCC kQuitApplication = four_cc("quit");
constexpr FourCC kShowPreferences = four_cc("pref");
constexpr FourCC kAnswerEvent = four_cc("ansr");

constexpr int16_t kAutoGenerateReturnId = -1;
constexpr int32_t kAnyTransactionId = 0;

constexpr int32_t kAENoReply = 1;
constexpr int32_t kAEQueueReply = 2;
constexpr int32_t kAEWaitReply = 3;

constexpr int32_t kAEDefaultTimeout = -1;

// ---- Errors ----------------------------------------------------------------
constexpr OSErr kAECoercionFailErr = -1700;
constexpr OSErr kAEDescNotFoundErr = -1701;
constexpr OSErr kAECorruptDataErr = -1702;
constexpr OSErr kAEWrongDataTypeErr = -1703;
constexpr OSErr kAENotAEDescErr = -1704;
constexpr OSErr kAEBadListItemErr = -1705;
constexpr OSErr kAENotAppleEventErr = -1707;
constexpr OSErr kAEEventNotHandledErr = -1708;
constexpr OSErr kAEUnknownSendModeErr = -1710;
constexpr OSErr kAETimeoutErr = -1712;
constexpr OSErr kAEParamMissedErr = -1715;
constexpr OSErr kAEUnknownAddressTypeErr = -1716;
constexpr OSErr kAEIllegalIndexErr = -1719;
constexpr OSErr kAENotAnObjSpecErr = -1727;
constexpr OSErr kAENoSuchObjectErr = -1728;
constexpr OSErr kAEEventFailedErr = -10000;
constexpr OSErr kAEBadKeyFormErr = -10002;
constexpr OSErr kAENotModifiableErr = -10003;
constexpr OSErr kAECantHandleClassErr = -10010;

// ---- Descriptors -------------------------------------------------------------
enum class AEDescKind : uint8_t { plain, list, record, event };

struct AEDesc {
    FourCC type = kTypeNull;
    AEDescKind kind = AEDescKind::plain;
    std::vector<uint8_t> data;         // plain descriptors
    std::vector<AEDesc> items;         // lists, records, event parameters
    std::vector<FourCC> keys;          // records and events: the keyword of each item
    std::vector<AEDesc> attributes;    // events
    std::vector<FourCC> attribute_keys;
    mutable std::vector<bool> item_read;  // events: parameters a handler has read
};
using AppleEvent = AEDesc;

constexpr ProcessSerialNumber kCurrentProcess{0, 2};

OSErr ae_create_desc(FourCC type, const void* data, size_t size, AEDesc& out);
void ae_dispose_desc(AEDesc& desc);  // back to a null descriptor
OSErr ae_duplicate_desc(const AEDesc& desc, AEDesc& out);

// Lists and records. Indexes count from 1; putting at index 0 or count + 1 appends.
OSErr ae_create_list(bool is_record, AEDesc& out);
OSErr ae_count_items(const AEDesc& list, long& count);
OSErr ae_put_ptr(AEDesc& list, long index, FourCC type, const void* data, size_t size);
OSErr ae_put_desc(AEDesc& list, long index, const AEDesc& desc);
// The index-th item coerced to `desired` (kTypeWildCard: as it is). The data
// are copied up to max_size bytes; actual_size gets their whole size.
OSErr ae_get_nth_ptr(const AEDesc& list, long index, FourCC desired, FourCC* keyword,
                     FourCC* actual_type, void* buffer, size_t max_size, size_t* actual_size);
OSErr ae_get_nth_desc(const AEDesc& list, long index, FourCC desired, FourCC* keyword, AEDesc& out);
OSErr ae_delete_item(AEDesc& list, long index);

OSErr ae_put_key_ptr(AEDesc& record, FourCC key, FourCC type, const void* data, size_t size);
OSErr ae_put_key_desc(AEDesc& record, FourCC key, const AEDesc& desc);
OSErr ae_get_key_ptr(const AEDesc& record, FourCC key, FourCC desired, FourCC* actual_type,
                     void* buffer, size_t max_size, size_t* actual_size);
OSErr ae_get_key_desc(const AEDesc& record, FourCC key, FourCC desired, AEDesc& out);
OSErr ae_delete_key_desc(AEDesc& record, FourCC key);

// Events.
OSErr ae_create_apple_event(FourCC event_class, FourCC event_id, const AEDesc& target,
                            int16_t return_id, int32_t transaction_id, AppleEvent& out);
OSErr ae_put_param_ptr(AppleEvent& event, FourCC key, FourCC type, const void* data, size_t size);
OSErr ae_put_param_desc(AppleEvent& event, FourCC key, const AEDesc& desc);
OSErr ae_get_param_ptr(const AppleEvent& event, FourCC key, FourCC desired, FourCC* actual_type,
                       void* buffer, size_t max_size, size_t* actual_size);
OSErr ae_get_param_desc(const AppleEvent& event, FourCC key, FourCC desired, AEDesc& out);
OSErr ae_delete_param(AppleEvent& event, FourCC key);
OSErr ae_put_attribute_ptr(AppleEvent& event, FourCC key, FourCC type, const void* data, size_t size);
OSErr ae_put_attribute_desc(AppleEvent& event, FourCC key, const AEDesc& desc);
OSErr ae_get_attribute_ptr(const AppleEvent& event, FourCC key, FourCC desired, FourCC* actual_type,
                           void* buffer, size_t max_size, size_t* actual_size);
OSErr ae_get_attribute_desc(const AppleEvent& event, FourCC key, FourCC desired, AEDesc& out);

// ---- Coercions ----------------------------------------------------------------
// Built in: to the same type or kTypeWildCard; anything to a one-item list; a
// one-item list to what its item coerces to; among shor, long, doub, bool
// (and true, fals); among enum, type, keyw; TEXT <-> utf8; fss <-> utf8 and
// TEXT (the full path); alis <-> fss; a record to any record type and back.
using AECoercionProc = OSErr (*)(const AEDesc& from, FourCC to, long refcon, AEDesc& out);
OSErr ae_install_coercion_handler(FourCC from, FourCC to, AECoercionProc proc, long refcon);
OSErr ae_remove_coercion_handler(FourCC from, FourCC to);
OSErr ae_coerce_desc(const AEDesc& desc, FourCC to, AEDesc& out);
OSErr ae_coerce_ptr(FourCC type, const void* data, size_t size, FourCC to, AEDesc& out);

// ---- Handlers, sending, dispatch ------------------------------------------------
using AEEventHandler = OSErr (*)(const AppleEvent* event, AppleEvent* reply, long refcon);
// kTypeWildCard serves as any class or any id.
OSErr ae_install_event_handler(FourCC event_class, FourCC event_id, AEEventHandler handler, long refcon);
OSErr ae_remove_event_handler(FourCC event_class, FourCC event_id);
OSErr ae_get_event_handler(FourCC event_class, FourCC event_id, AEEventHandler& handler, long& refcon);

// The target descriptor of this program.
OSErr ae_address_of_self(AEDesc& out);
OSErr ae_send(const AppleEvent& event, AppleEvent* reply, int32_t send_mode, int32_t timeout = kAEDefaultTimeout);

// An event from another program joins the pending events like one sent to
// ourselves; once handled, its reply (with "errn" when the handler failed or
// no handler took it) goes to the sink.
using AEReplySink = void (*)(const AppleEvent& reply, long sink_ref);
OSErr ae_receive_event(const AppleEvent& event, AEReplySink sink, long sink_ref);

using AEPostHook = void (*)(FourCC event_class, FourCC event_id);
void ae_set_post_hook(AEPostHook hook);
size_t ae_pending_count();
// Dispatches the oldest pending event; kAEEventNotHandledErr when none is
// pending or no handler takes it, else the handler's answer.
OSErr ae_process_apple_event();
// Forgets pending events (tests, shutdown).
void ae_clear_pending();

// Why a request failed with `err`, in a sentence for the person who sent it.
const char* ae_error_reason(OSErr err);
// Puts the error number in the reply and, unless the handler said why
// already, its reason.
void ae_put_error(AppleEvent& reply, OSErr err);

// The program may interact with the user: always granted here.
OSErr ae_interact_with_user(int32_t timeout);

// The launch event: open-documents with the file specs of the given paths
// (paths whose folder does not exist are left out), or open-application when
// there are none.
OSErr ae_make_launch_event(const std::vector<std::string>& paths, AppleEvent& out);
// Makes the launch event from the command line and sends it to ourselves.
OSErr ae_post_launch_event(int argc, const char* const* argv);
// The paths given at launch that name no possible file (their folder is
// missing), in the order given; answered once, then forgotten.
std::vector<std::string> ae_take_unfound_launch_paths();

}  // namespace pf
