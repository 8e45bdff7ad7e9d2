// The installation of the object model's callbacks and coercions, the
// required-parameter check, file specifications from descriptors, and the
// layer of a document window.
#include <cstring>
#include <string>

#include "ui/task_manager.h"
#include "files/entry_cells.h"
#include "scripting/object_model.h"
#include "window/window_commands.h"

namespace {

// Numbers become the text files write for them.
pf::OSErr number_to_text(const pf::AEDesc& from, pf::FourCC to, long, pf::AEDesc& out) {
    pf::AEDesc number;
    if (pf::OSErr err = pf::ae_coerce_desc(from, pf::kTypeDouble, number)) return err;
    double value = 0;
    if (number.data.size() != sizeof value) return pf::kAECoercionFailErr;
    std::memcpy(&value, number.data.data(), sizeof value);
    const std::string text = file_number_text(value);
    pf::AEDesc roman;
    pf::ae_create_desc(pf::kTypeText, text.data(), text.size(), roman);
    return pf::ae_coerce_desc(roman, to, out);
}

// A text that is a whole number as files write it becomes that number.
pf::OSErr text_to_number(const pf::AEDesc& from, pf::FourCC to, long, pf::AEDesc& out) {
    double value = 0;
    if (!file_number(std::string_view(reinterpret_cast<const char*>(from.data.data()), from.data.size()), &value))
        return pf::kAECoercionFailErr;
    pf::AEDesc number;
    pf::ae_create_desc(pf::kTypeDouble, &value, sizeof value, number);
    return pf::ae_coerce_desc(number, to, out);
}

}  // namespace

// The accessors and the counting of elements are one fixed table of this
// folder (object_tokens.cpp): nothing to register.
void InstallObjectCallbacks() {}
void InstallAccessors() {}

void InstallCoercions() {
    for (pf::FourCC number : {pf::kTypeShort, pf::kTypeLong, pf::kTypeDouble}) {
        pf::ae_install_coercion_handler(number, pf::kTypeText, number_to_text, 0);
        pf::ae_install_coercion_handler(number, pf::kTypeUtf8Text, number_to_text, 0);
        pf::ae_install_coercion_handler(pf::kTypeText, number, text_to_number, 0);
    }
}

pf::OSErr GotRequiredParams(const pf::AppleEvent* event) {
    pf::FourCC type;
    size_t size;
    pf::FourCC missed;
    pf::OSErr err = pf::ae_get_attribute_ptr(*event, pf::kKeyMissedKeyword, pf::kTypeWildCard, &type, &missed,
                                             sizeof missed, &size);
    if (err == pf::kAEDescNotFoundErr) return pf::noErr;
    if (err == pf::noErr) return pf::kAEParamMissedErr;
    return err;
}

pf::OSErr GetSpecFromDescriptor(const pf::AEDesc* descriptor, pf::FileSpec* spec) {
    pf::AEDesc coerced;
    pf::OSErr err = pf::ae_coerce_desc(*descriptor, pf::kTypeFileSpec, coerced);
    if (err) return err;
    if (coerced.data.size() != sizeof(pf::FileSpec)) return pf::kAECoercionFailErr;
    std::memcpy(spec, coerced.data.data(), sizeof *spec);
    return pf::noErr;
}

MemoryRef sheetRefFromWindow(WindowRef window) {
    if (!window) return nullptr;
    uintptr_t record = GetTaskAppRef(window);
    return record ? doc_window_layer(reinterpret_cast<MemoryRef>(record)) : nullptr;
}
