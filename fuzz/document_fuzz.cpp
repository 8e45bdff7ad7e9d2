// Native documents of every version, current and older generation, taken as
// the converter takes them: opened, recalculated, saved. Whatever opens must
// also save.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    fuzz_open_and_save_document(data, size);
    return 0;
}
