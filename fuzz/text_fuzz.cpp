// Tab-separated and comma-separated text read into a fresh layer; the first
// byte chooses the separator.
#include <string_view>

#include "files/text_exchange.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    fuzz_start_application();
    MemoryRef workbook = sample::new_workbook();
    MemoryRef layer = sample::new_layer(workbook);
    const uint8_t separator = data[0] & 1 ? kCommaSeparator : kTabSeparator;
    read_text_bytes(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), separator, layer, nullptr);
    fuzz_close_workbook(workbook);
    return 0;
}
