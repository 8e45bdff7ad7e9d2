// Flattened events as other programs send them to the endpoint: read back
// bounded, flattened again to the same bytes, and their direct object
// resolved by the object model of the running program.
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "platform/appleevents/ae_flatten.h"
#include "scripting/object_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    pf::AEDesc desc;
    if (pf::ae_unflatten(data, size, desc) != pf::noErr) return 0;
    std::vector<uint8_t> again;
    pf::ae_flatten(desc, again);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
    pf::AEDesc object;
    ObjectToken token;
    if (pf::ae_get_param_desc(desc, pf::kKeyDirectObject, pf::kTypeWildCard, object) == pf::noErr)
        resolve_object(object, token);
    return 0;
}
