// Text services documents and the composition of the host's input method, sent on
// as update events to the active document.
#include "platform/events/input_method.h"
#include "platform/text/text.h"

#include "platform/appleevents/appleevents.h"

#include <algorithm>
#include <string>
#include <vector>

namespace pf {

namespace {

struct Document {
    TSMDocumentID id;
    int32_t refcon;
};

struct State {
    std::vector<Document> documents;
    TSMDocumentID next_id = 1;
    TSMDocumentID active = 0;
    bool composing = false;
    std::string composition;
    std::string just_fixed;  // a composition confirmed here, which the host may still commit
    void (*reset_hook)() = nullptr;
    void (*start_hook)() = nullptr;
    void (*area_hook)(const Rect&) = nullptr;
};

State state;

const Document* find_document(TSMDocumentID id) {
    for (const Document& d : state.documents)
        if (d.id == id) return &d;
    return nullptr;
}

void put_range(std::vector<uint8_t>& out, int32_t start, int32_t end, int16_t kind) {
    const uint8_t* s = reinterpret_cast<const uint8_t*>(&start);
    const uint8_t* e = reinterpret_cast<const uint8_t*>(&end);
    const uint8_t* k = reinterpret_cast<const uint8_t*>(&kind);
    out.insert(out.end(), s, s + 4);
    out.insert(out.end(), e, e + 4);
    out.insert(out.end(), k, k + 2);
}

// The update event of the active document; with a range array when given.
OSErr send_update(std::string_view text, int32_t fixed, const std::vector<uint8_t>* ranges, int32_t send_mode) {
    const Document* document = find_document(state.active);
    if (!document) return kParamErr;
    AEDesc target;
    ae_address_of_self(target);
    AppleEvent event;
    if (OSErr err = ae_create_apple_event(kTextServiceClass, kUpdateActiveInputArea, target, kAutoGenerateReturnId,
                                          kAnyTransactionId, event))
        return err;
    ae_put_param_ptr(event, kKeyRefCon, kTypeLong, &document->refcon, sizeof document->refcon);
    ae_put_param_ptr(event, kKeyText, kTypeText, text.data(), text.size());
    ae_put_param_ptr(event, kKeyFixLength, kTypeLong, &fixed, sizeof fixed);
    if (ranges) ae_put_param_ptr(event, kKeyHiliteRange, kTypeTextRangeArray, ranges->data(), ranges->size());
    AppleEvent reply;
    return ae_send(event, send_mode == kAEWaitReply ? &reply : nullptr, send_mode);
}

}  // namespace

OSErr new_tsm_document(FourCC interface_type, int32_t refcon, TSMDocumentID& out) {
    out = 0;
    if (interface_type != kTextServiceClass) return kParamErr;
    out = state.next_id++;
    state.documents.push_back(Document{out, refcon});
    return noErr;
}

OSErr delete_tsm_document(TSMDocumentID document) {
    auto it = std::find_if(state.documents.begin(), state.documents.end(),
                           [&](const Document& d) { return d.id == document; });
    if (it == state.documents.end()) return kParamErr;
    if (state.active == document) deactivate_tsm_document(document);
    state.documents.erase(it);
    return noErr;
}

OSErr activate_tsm_document(TSMDocumentID document) {
    if (!find_document(document)) return kParamErr;
    if (state.active != document) {
        state.composing = false;
        state.composition.clear();
    }
    state.active = document;
    return noErr;
}

OSErr deactivate_tsm_document(TSMDocumentID document) {
    if (!find_document(document)) return kParamErr;
    if (state.active == document) {
        fix_tsm_document(document);
        state.active = 0;
    }
    return noErr;
}

TSMDocumentID active_tsm_document() { return state.active; }

OSErr fix_tsm_document(TSMDocumentID document) {
    if (!find_document(document)) return kParamErr;
    if (document != state.active || !state.composing) return noErr;
    state.composing = false;
    std::string text = std::move(state.composition);
    state.composition.clear();
    state.just_fixed = text;
    if (state.reset_hook) state.reset_hook();
    return send_update(text, -1, nullptr, kAEWaitReply);
}

void input_composition(std::string_view mac_roman, int32_t caret, int32_t selected_length) {
    state.just_fixed.clear();
    if (!state.active && !mac_roman.empty() && state.start_hook) state.start_hook();
    if (!state.active) return;
    if (mac_roman.empty() && !state.composing) return;
    state.composing = !mac_roman.empty();
    state.composition = std::string(mac_roman);
    int32_t length = int32_t(mac_roman.size());
    caret = std::clamp(caret, 0, length);
    selected_length = std::clamp(selected_length, 0, length - caret);
    std::vector<uint8_t> ranges;
    int16_t count = selected_length > 0 ? 3 : 2;
    const uint8_t* c = reinterpret_cast<const uint8_t*>(&count);
    ranges.insert(ranges.end(), c, c + 2);
    put_range(ranges, 0, length, kRawText);
    if (selected_length > 0) put_range(ranges, caret, caret + selected_length, kSelectedRawText);
    put_range(ranges, caret, caret, kCaretPosition);
    send_update(mac_roman, 0, &ranges, kAENoReply);
}

bool input_commit(std::string_view mac_roman) {
    if (!state.just_fixed.empty() && mac_roman == state.just_fixed) {
        state.just_fixed.clear();
        return true;  // already confirmed when the document was fixed
    }
    state.just_fixed.clear();
    if (!state.active || !state.composing) return false;
    state.composing = false;
    state.composition.clear();
    send_update(mac_roman, -1, nullptr, kAENoReply);
    return true;
}

bool composing() { return state.composing; }

std::string keyboard_text_from_utf8(std::string_view utf8) {
    ScriptText spelled = spell_in_a_script(utf8);
    const bool ascii = std::ranges::all_of(utf8, [](char c) { return uint8_t(c) < 0x80; });
    if (!ascii) set_keyboard_script(spelled.script);  // ASCII is spelled alike in every script
    return std::move(spelled.bytes);
}

namespace {

// The byte length, in a script, of the first `characters` characters of UTF-8 text.
int32_t script_bytes_of_characters(std::string_view utf8, int32_t characters, int16_t script) {
    size_t end = 0;
    for (int32_t n = 0; n < characters && end < utf8.size(); ++n) {
        char32_t ignored = 0;
        decode_utf8(utf8, end, ignored);
    }
    std::string bytes;
    if (!utf8_to_script(utf8.substr(0, end), script, bytes)) return int32_t(end > 0 ? characters : 0);
    return int32_t(bytes.size());
}

}  // namespace

void input_composition_utf8(std::string_view utf8, int32_t caret, int32_t selected_length) {
    const std::string bytes = keyboard_text_from_utf8(utf8);
    const int16_t script = keyboard_script();
    const int32_t caret_bytes = script_bytes_of_characters(utf8, caret, script);
    const int32_t selected_bytes = script_bytes_of_characters(utf8, caret + selected_length, script) - caret_bytes;
    input_composition(bytes, caret_bytes, selected_bytes);
}

void set_composition_reset_hook(void (*hook)()) { state.reset_hook = hook; }

void set_composition_start_hook(void (*hook)()) { state.start_hook = hook; }

void set_composition_area(const Rect& global) {
    if (state.area_hook) state.area_hook(global);
}

void set_composition_area_hook(void (*hook)(const Rect& global)) { state.area_hook = hook; }

void text_services_reset() {
    void (*reset_hook)() = state.reset_hook;
    void (*start_hook)() = state.start_hook;
    void (*area_hook)(const Rect&) = state.area_hook;
    state = State{};
    state.reset_hook = reset_hook;
    state.start_hook = start_hook;
    state.area_hook = area_hook;
}

}  // namespace pf
