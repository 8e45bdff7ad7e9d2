// Descriptors, lists, records, and the parameters and attributes of events.
#include <algorithm>
#include <cstring>

#include "platform/appleevents/appleevents.h"
#include "platform/files/files.h"

namespace pf {

namespace {

bool has_items(const AEDesc& d) { return d.kind != AEDescKind::plain; }
bool is_keyed(const AEDesc& d) { return d.kind == AEDescKind::record || d.kind == AEDescKind::event; }

AEDesc plain_desc(FourCC type, const void* data, size_t size) {
    AEDesc d;
    d.type = type;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (size) d.data.assign(bytes, bytes + size);
    return d;
}

// Copies coerced data out to a caller's buffer.
OSErr copy_out(const AEDesc& d, FourCC* actual_type, void* buffer, size_t max_size, size_t* actual_size) {
    if (has_items(d)) return kAEWrongDataTypeErr;
    if (actual_type) *actual_type = d.type;
    if (actual_size) *actual_size = d.data.size();
    if (buffer && max_size && !d.data.empty()) std::memcpy(buffer, d.data.data(), std::min(max_size, d.data.size()));
    return noErr;
}

using KeyedGetter = OSErr (*)(const AEDesc&, FourCC key, FourCC desired, AEDesc& out);

// A keyed item coerced and copied out to a caller's buffer.
OSErr get_keyed_ptr(KeyedGetter get, const AEDesc& d, FourCC key, FourCC desired, FourCC* actual_type,
                    void* buffer, size_t max_size, size_t* actual_size) {
    AEDesc item;
    if (OSErr err = get(d, key, desired, item)) return err;
    return copy_out(item, actual_type, buffer, max_size, actual_size);
}

using KeyedPutter = OSErr (*)(AEDesc&, FourCC key, const AEDesc& desc);

// A caller's bytes put as a plain descriptor; no bytes at all are refused
// unless the size is 0.
OSErr put_keyed_ptr(KeyedPutter put, AEDesc& d, FourCC key, FourCC type, const void* data, size_t size) {
    if (size && !data) return kParamErr;
    return put(d, key, plain_desc(type, data, size));
}

long key_index(const std::vector<FourCC>& keys, FourCC key) {
    auto it = std::find(keys.begin(), keys.end(), key);
    return it == keys.end() ? -1 : long(it - keys.begin());
}

void put_keyed(std::vector<FourCC>& keys, std::vector<AEDesc>& items, FourCC key, const AEDesc& desc) {
    long at = key_index(keys, key);
    if (at >= 0) {
        items[size_t(at)] = desc;
        return;
    }
    keys.push_back(key);
    items.push_back(desc);
}

OSErr get_keyed(const std::vector<FourCC>& keys, const std::vector<AEDesc>& items, FourCC key,
                FourCC desired, AEDesc& out) {
    long at = key_index(keys, key);
    if (at < 0) return kAEDescNotFoundErr;
    return ae_coerce_desc(items[size_t(at)], desired, out);
}

void mark_read(const AppleEvent& event, FourCC key) {
    long at = key_index(event.keys, key);
    if (at < 0) return;
    if (event.item_read.size() < event.items.size()) event.item_read.resize(event.items.size(), false);
    event.item_read[size_t(at)] = true;
}

bool is_optional(const AppleEvent& event, FourCC key) {
    long at = key_index(event.attribute_keys, kKeyOptionalKeywords);
    if (at < 0) return false;
    const AEDesc& list = event.attributes[size_t(at)];
    for (const AEDesc& item : list.items) {
        FourCC code = 0;
        if (item.data.size() == 4) std::memcpy(&code, item.data.data(), 4);
        if (code == key) return true;
    }
    return false;
}

// The missed-keyword attribute: the first parameter a handler has not read.
OSErr missed_keyword(const AppleEvent& event, AEDesc& out) {
    for (size_t i = 0; i < event.items.size(); ++i) {
        bool read = i < event.item_read.size() && event.item_read[i];
        if (!read && !is_optional(event, event.keys[i])) {
            FourCC key = event.keys[i];
            return ae_create_desc(kTypeKeyword, &key, sizeof key, out);
        }
    }
    return kAEDescNotFoundErr;
}

}  // namespace

OSErr ae_create_desc(FourCC type, const void* data, size_t size, AEDesc& out) {
    if (size && !data) return kParamErr;
    out = plain_desc(type, data, size);
    return noErr;
}

void ae_dispose_desc(AEDesc& desc) { desc = AEDesc{}; }

OSErr ae_duplicate_desc(const AEDesc& desc, AEDesc& out) {
    out = desc;
    return noErr;
}

OSErr ae_create_list(bool is_record, AEDesc& out) {
    out = AEDesc{};
    out.type = is_record ? kTypeRecord : kTypeList;
    out.kind = is_record ? AEDescKind::record : AEDescKind::list;
    return noErr;
}

OSErr ae_count_items(const AEDesc& list, long& count) {
    if (!has_items(list)) return kAEWrongDataTypeErr;
    count = long(list.items.size());
    return noErr;
}

OSErr ae_put_desc(AEDesc& list, long index, const AEDesc& desc) {
    if (list.kind != AEDescKind::list && list.kind != AEDescKind::record) return kAEWrongDataTypeErr;
    long count = long(list.items.size());
    if (index < 0 || index > count + 1) return kAEIllegalIndexErr;
    if (index == 0 || index == count + 1) {
        list.items.push_back(desc);
        if (is_keyed(list)) list.keys.push_back(kTypeWildCard);
        return noErr;
    }
    list.items[size_t(index - 1)] = desc;
    return noErr;
}

OSErr ae_put_ptr(AEDesc& list, long index, FourCC type, const void* data, size_t size) {
    if (size && !data) return kParamErr;
    return ae_put_desc(list, index, plain_desc(type, data, size));
}

OSErr ae_get_nth_desc(const AEDesc& list, long index, FourCC desired, FourCC* keyword, AEDesc& out) {
    if (!has_items(list)) return kAEWrongDataTypeErr;
    if (index < 1 || size_t(index) > list.items.size()) return kAEIllegalIndexErr;
    if (keyword) *keyword = is_keyed(list) ? list.keys[size_t(index - 1)] : kTypeWildCard;
    return ae_coerce_desc(list.items[size_t(index - 1)], desired, out);
}

OSErr ae_get_nth_ptr(const AEDesc& list, long index, FourCC desired, FourCC* keyword,
                     FourCC* actual_type, void* buffer, size_t max_size, size_t* actual_size) {
    AEDesc item;
    if (OSErr err = ae_get_nth_desc(list, index, desired, keyword, item)) return err;
    return copy_out(item, actual_type, buffer, max_size, actual_size);
}

OSErr ae_delete_item(AEDesc& list, long index) {
    if (!has_items(list)) return kAEWrongDataTypeErr;
    if (index < 1 || size_t(index) > list.items.size()) return kAEIllegalIndexErr;
    list.items.erase(list.items.begin() + (index - 1));
    if (is_keyed(list)) list.keys.erase(list.keys.begin() + (index - 1));
    if (size_t(index) <= list.item_read.size()) list.item_read.erase(list.item_read.begin() + (index - 1));
    return noErr;
}

OSErr ae_put_key_desc(AEDesc& record, FourCC key, const AEDesc& desc) {
    if (!is_keyed(record)) return kAEWrongDataTypeErr;
    long at = key_index(record.keys, key);
    if (at >= 0 && size_t(at) < record.item_read.size()) record.item_read[size_t(at)] = false;
    put_keyed(record.keys, record.items, key, desc);
    return noErr;
}

OSErr ae_put_key_ptr(AEDesc& record, FourCC key, FourCC type, const void* data, size_t size) {
    return put_keyed_ptr(ae_put_key_desc, record, key, type, data, size);
}

OSErr ae_get_key_desc(const AEDesc& record, FourCC key, FourCC desired, AEDesc& out) {
    if (!is_keyed(record)) return kAEWrongDataTypeErr;
    return get_keyed(record.keys, record.items, key, desired, out);
}

OSErr ae_get_key_ptr(const AEDesc& record, FourCC key, FourCC desired, FourCC* actual_type,
                     void* buffer, size_t max_size, size_t* actual_size) {
    return get_keyed_ptr(ae_get_key_desc, record, key, desired, actual_type, buffer, max_size, actual_size);
}

OSErr ae_delete_key_desc(AEDesc& record, FourCC key) {
    if (!is_keyed(record)) return kAEWrongDataTypeErr;
    long at = key_index(record.keys, key);
    return at < 0 ? kAEDescNotFoundErr : ae_delete_item(record, at + 1);
}

OSErr ae_create_apple_event(FourCC event_class, FourCC event_id, const AEDesc& target,
                            int16_t return_id, int32_t transaction_id, AppleEvent& out) {
    static int16_t next_return_id = 1;
    out = AEDesc{};
    out.type = kTypeAppleEvent;
    out.kind = AEDescKind::event;
    if (return_id == kAutoGenerateReturnId) {
        return_id = next_return_id;
        next_return_id = int16_t(next_return_id == INT16_MAX ? 1 : next_return_id + 1);
    }
    ae_put_attribute_ptr(out, kKeyEventClass, kTypeType, &event_class, sizeof event_class);
    ae_put_attribute_ptr(out, kKeyEventId, kTypeType, &event_id, sizeof event_id);
    ae_put_attribute_desc(out, kKeyAddress, target);
    ae_put_attribute_ptr(out, kKeyReturnId, kTypeShort, &return_id, sizeof return_id);
    ae_put_attribute_ptr(out, kKeyTransactionId, kTypeLong, &transaction_id, sizeof transaction_id);
    return noErr;
}

OSErr ae_put_param_desc(AppleEvent& event, FourCC key, const AEDesc& desc) {
    if (event.kind != AEDescKind::event) return kAENotAppleEventErr;
    return ae_put_key_desc(event, key, desc);
}

OSErr ae_put_param_ptr(AppleEvent& event, FourCC key, FourCC type, const void* data, size_t size) {
    return put_keyed_ptr(ae_put_param_desc, event, key, type, data, size);
}

OSErr ae_get_param_desc(const AppleEvent& event, FourCC key, FourCC desired, AEDesc& out) {
    if (event.kind != AEDescKind::event) return kAENotAppleEventErr;
    mark_read(event, key);
    return ae_get_key_desc(event, key, desired, out);
}

OSErr ae_get_param_ptr(const AppleEvent& event, FourCC key, FourCC desired, FourCC* actual_type,
                       void* buffer, size_t max_size, size_t* actual_size) {
    return get_keyed_ptr(ae_get_param_desc, event, key, desired, actual_type, buffer, max_size, actual_size);
}

OSErr ae_delete_param(AppleEvent& event, FourCC key) {
    if (event.kind != AEDescKind::event) return kAENotAppleEventErr;
    return ae_delete_key_desc(event, key);
}

OSErr ae_put_attribute_desc(AppleEvent& event, FourCC key, const AEDesc& desc) {
    if (event.kind != AEDescKind::event) return kAENotAppleEventErr;
    put_keyed(event.attribute_keys, event.attributes, key, desc);
    return noErr;
}

OSErr ae_put_attribute_ptr(AppleEvent& event, FourCC key, FourCC type, const void* data, size_t size) {
    return put_keyed_ptr(ae_put_attribute_desc, event, key, type, data, size);
}

OSErr ae_get_attribute_desc(const AppleEvent& event, FourCC key, FourCC desired, AEDesc& out) {
    if (event.kind != AEDescKind::event) return kAENotAppleEventErr;
    if (key == kKeyMissedKeyword) {
        AEDesc missed;
        if (OSErr err = missed_keyword(event, missed)) return err;
        return ae_coerce_desc(missed, desired, out);
    }
    return get_keyed(event.attribute_keys, event.attributes, key, desired, out);
}

OSErr ae_get_attribute_ptr(const AppleEvent& event, FourCC key, FourCC desired, FourCC* actual_type,
                           void* buffer, size_t max_size, size_t* actual_size) {
    return get_keyed_ptr(ae_get_attribute_desc, event, key, desired, actual_type, buffer, max_size, actual_size);
}

}  // namespace pf
