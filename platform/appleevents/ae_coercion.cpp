// Coercion of descriptors between types: installed handlers first, then the
// built-in rules.
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/appleevents/appleevents.h"
#include "platform/files/files.h"
#include "platform/text/mac_roman.h"

namespace pf {

namespace {

struct CoercionEntry {
    FourCC from, to;
    AECoercionProc proc;
    long refcon;
};

std::vector<CoercionEntry>& coercions() {
    static std::vector<CoercionEntry> table;
    return table;
}

bool is_number_type(FourCC t) {
    return t == kTypeShort || t == kTypeLong || t == kTypeDouble || t == kTypeBoolean ||
           t == kTypeTrue || t == kTypeFalse;
}

bool is_code_type(FourCC t) { return t == kTypeEnumerated || t == kTypeType || t == kTypeKeyword; }

bool number_of(const AEDesc& d, double& value) {
    auto fits = [&](size_t n) { return d.data.size() == n; };
    if (d.type == kTypeTrue) value = 1;
    else if (d.type == kTypeFalse) value = 0;
    else if (d.type == kTypeBoolean && fits(1)) value = d.data[0] ? 1 : 0;
    else if (d.type == kTypeShort && fits(2)) { int16_t v; std::memcpy(&v, d.data.data(), 2); value = v; }
    else if (d.type == kTypeLong && fits(4)) { int32_t v; std::memcpy(&v, d.data.data(), 4); value = v; }
    else if (d.type == kTypeDouble && fits(8)) std::memcpy(&value, d.data.data(), 8);
    else return false;
    return true;
}

OSErr number_to(double value, FourCC to, AEDesc& out) {
    if (to == kTypeDouble) return ae_create_desc(to, &value, sizeof value, out);
    if (to == kTypeBoolean) {
        if (value != 0 && value != 1) return kAECoercionFailErr;
        uint8_t b = value != 0;
        return ae_create_desc(to, &b, 1, out);
    }
    if (std::isnan(value) || value != std::trunc(value)) return kAECoercionFailErr;
    if (to == kTypeShort) {
        if (value < INT16_MIN || value > INT16_MAX) return kAECoercionFailErr;
        int16_t v = int16_t(value);
        return ae_create_desc(to, &v, sizeof v, out);
    }
    if (to == kTypeLong) {
        if (value < INT32_MIN || value > INT32_MAX) return kAECoercionFailErr;
        int32_t v = int32_t(value);
        return ae_create_desc(to, &v, sizeof v, out);
    }
    return kAECoercionFailErr;
}

std::string text_of(const AEDesc& d) { return {d.data.begin(), d.data.end()}; }

OSErr text_to(const AEDesc& d, FourCC to, AEDesc& out) {
    std::string text = text_of(d);
    std::string converted = to == kTypeText ? utf8_to_mac_roman(text) : mac_roman_to_utf8(text);
    return ae_create_desc(to, converted.data(), converted.size(), out);
}

OSErr file_spec_of(const AEDesc& d, FileSpec& spec) {
    if (d.type == kTypeFileSpec) {
        if (d.data.size() != sizeof spec) return kAECorruptDataErr;
        std::memcpy(&spec, d.data.data(), sizeof spec);
        return noErr;
    }
    if (d.type == kTypeAlias) {
        bool changed;
        OSErr err = resolve_alias(d.data.data(), d.data.size(), spec, changed);
        return err == kParamErr ? kAECorruptDataErr : err;
    }
    std::string path = text_of(d);
    if (d.type == kTypeText) path = mac_roman_to_utf8(path);
    OSErr err = file_spec_from_path(path, spec);
    return err == kFileNotFoundErr ? noErr : err;
}

OSErr file_coercion(const AEDesc& d, FourCC to, AEDesc& out) {
    FileSpec spec;
    if (OSErr err = file_spec_of(d, spec)) return err == kAECorruptDataErr ? err : kAECoercionFailErr;
    if (to == kTypeFileSpec) return ae_create_desc(to, &spec, sizeof spec, out);
    if (to == kTypeAlias) {
        std::vector<uint8_t> alias;
        if (new_alias(spec, alias)) return kAECoercionFailErr;
        return ae_create_desc(to, alias.data(), alias.size(), out);
    }
    std::string path;
    if (path_from_file_spec(spec, path)) return kAECoercionFailErr;
    if (to == kTypeText) path = utf8_to_mac_roman(path);
    return ae_create_desc(to, path.data(), path.size(), out);
}

bool is_file_type(FourCC t) { return t == kTypeFileSpec || t == kTypeAlias; }
bool is_text_type(FourCC t) { return t == kTypeText || t == kTypeUtf8Text; }

OSErr built_in_coercion(const AEDesc& d, FourCC to, AEDesc& out) {
    if (d.kind == AEDescKind::list) {
        if (d.items.size() == 1) return ae_coerce_desc(d.items[0], to, out);
        return kAECoercionFailErr;
    }
    if (to == kTypeList) {
        ae_create_list(false, out);
        return ae_put_desc(out, 0, d);
    }
    if (d.kind == AEDescKind::record) {  // a record becomes a record of another type
        if (to == kTypeFileSpec || is_number_type(to) || is_text_type(to)) return kAECoercionFailErr;
        out = d;
        out.type = to;
        return noErr;
    }
    if (d.kind == AEDescKind::event) return kAECoercionFailErr;
    double number;
    if (is_number_type(d.type) && is_number_type(to) && number_of(d, number)) return number_to(number, to, out);
    if (is_code_type(d.type) && is_code_type(to) && d.data.size() == 4)
        return ae_create_desc(to, d.data.data(), 4, out);
    if (is_text_type(d.type) && is_text_type(to)) return text_to(d, to, out);
    if ((is_file_type(d.type) && (is_file_type(to) || is_text_type(to))) ||
        (is_text_type(d.type) && is_file_type(to)))
        return file_coercion(d, to, out);
    return kAECoercionFailErr;
}

}  // namespace

OSErr ae_install_coercion_handler(FourCC from, FourCC to, AECoercionProc proc, long refcon) {
    if (!proc) return kParamErr;
    ae_remove_coercion_handler(from, to);
    coercions().push_back({from, to, proc, refcon});
    return noErr;
}

OSErr ae_remove_coercion_handler(FourCC from, FourCC to) {
    size_t removed = std::erase_if(coercions(), [&](const CoercionEntry& c) { return c.from == from && c.to == to; });
    return removed ? noErr : kAEDescNotFoundErr;
}

OSErr ae_coerce_desc(const AEDesc& desc, FourCC to, AEDesc& out) {
    if (to == kTypeWildCard || to == desc.type) {
        out = desc;
        return noErr;
    }
    for (const CoercionEntry& c : coercions()) {
        if ((c.from == desc.type || c.from == kTypeWildCard) && c.to == to) {
            AEDesc result;
            OSErr err = c.proc(desc, to, c.refcon, result);
            if (!err) out = std::move(result);
            return err;
        }
    }
    AEDesc result;
    OSErr err = built_in_coercion(desc, to, result);
    if (!err) out = std::move(result);
    return err;
}

OSErr ae_coerce_ptr(FourCC type, const void* data, size_t size, FourCC to, AEDesc& out) {
    AEDesc desc;
    if (OSErr err = ae_create_desc(type, data, size, desc)) return err;
    return ae_coerce_desc(desc, to, out);
}

}  // namespace pf
