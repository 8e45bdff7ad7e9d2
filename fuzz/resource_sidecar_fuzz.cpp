// Resource forks kept as sidecar files: the map read whole on opening, then
// every resource of the kinds the program keeps there; aliases resolved.
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/resources/resource_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    fuzz_empty_folder();
    const std::string path = fuzz_write_file("Preferences", nullptr, 0);
    fuzz_write_file(pf::resource_sidecar_path(path).substr(fuzz_folder().size() + 1), data, size);
    pf::FileSpec spec;
    pf::file_spec_from_path(path, spec);
    int16_t ref = 0;
    if (pf::resource_file_open(spec, pf::kReadPermission, ref) != pf::noErr) return 0;
    for (pf::FourCC type : {pf::four_cc("alis"), pf::four_cc("STR "), pf::four_cc("wksp")}) {
        const int count = pf::resource_file_count(ref, type);
        for (int index = 1; index <= count; ++index) {
            int16_t id = 0;
            std::vector<uint8_t> bytes;
            if (pf::resource_file_get_indexed(ref, type, index, id, bytes) != pf::noErr) continue;
            pf::FileSpec target;
            bool changed = false;
            if (type == pf::four_cc("alis")) pf::resolve_alias(bytes.data(), bytes.size(), target, changed);
        }
    }
    pf::resource_file_close(ref);
    return 0;
}
