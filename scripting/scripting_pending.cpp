// The object model is not built yet: its events are not handled. The
// required-parameter check and file specifications from descriptors work.
#include <cstring>

#include "scripting/object_model.h"

namespace {

pf::OSErr not_handled(const pf::AppleEvent*, pf::AppleEvent*, long) { return pf::kAEEventNotHandledErr; }

}  // namespace

pf::OSErr DoSetData(const pf::AppleEvent* e, pf::AppleEvent* r, long c) { return not_handled(e, r, c); }
pf::OSErr DoGetData(const pf::AppleEvent* e, pf::AppleEvent* r, long c) { return not_handled(e, r, c); }
pf::OSErr DoGetDataSize(const pf::AppleEvent* e, pf::AppleEvent* r, long c) { return not_handled(e, r, c); }
pf::OSErr DoCountElements(const pf::AppleEvent* e, pf::AppleEvent* r, long c) { return not_handled(e, r, c); }
pf::OSErr DoObjectsExist(const pf::AppleEvent* e, pf::AppleEvent* r, long c) { return not_handled(e, r, c); }
pf::OSErr DoNewElement(const pf::AppleEvent* e, pf::AppleEvent* r, long c) { return not_handled(e, r, c); }
pf::OSErr DoSelect(const pf::AppleEvent* e, pf::AppleEvent* r, long c) { return not_handled(e, r, c); }
void InstallObjectCallbacks() {}
void InstallAccessors() {}
void InstallCoercions() {}

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
