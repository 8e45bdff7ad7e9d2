// The preferences file's record, read from bytes of its exact size.
#include <algorithm>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "ui/app_prefs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    uint8_t bytes[kPrefsFileSize] = {};
    std::memcpy(bytes, data, std::min<size_t>(size, kPrefsFileSize));
    AppPrefs prefs;
    prefs_from_file_bytes(bytes, prefs);
    uint8_t again[kPrefsFileSize];
    prefs_to_file_bytes(prefs, again);
    return 0;
}
