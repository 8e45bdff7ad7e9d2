// Any input read as SYLK and written as this program's own SYLK, read and
// written again: the two writes are the same text.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/sylk.h"
#include "fuzz/fuzz_support.h"

namespace {

std::string read_and_write(std::string_view bytes) {
    MemoryRef workbook = sample::new_workbook();
    MemoryRef layer = sample::new_layer(workbook);
    std::string written;
    if (read_sylk_bytes(bytes, layer) == 0) written = sylk_layer_text(layer);
    fuzz_close_workbook(workbook);
    return written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    const std::string first = read_and_write(std::string_view(reinterpret_cast<const char*>(data), size));
    if (first.empty()) return 0;
    const std::string second = read_and_write(first);
    if (second != first) {
        std::fprintf(stderr, "written again differently:\n--- first\n%s\n--- second\n%s\n", first.c_str(),
                     second.c_str());
        std::abort();
    }
    return 0;
}
