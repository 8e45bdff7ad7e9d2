// SYLK records read into a fresh layer.
#include <string_view>

#include "files/sylk.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    MemoryRef workbook = sample::new_workbook();
    MemoryRef layer = sample::new_layer(workbook);
    read_sylk_bytes(std::string_view(reinterpret_cast<const char*>(data), size), layer);
    fuzz_close_workbook(workbook);
    return 0;
}
