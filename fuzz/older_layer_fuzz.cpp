// Layer blocks of the previous generation behind a fixed document header of
// version 1000, so that every input reaches the older layer reader: opened,
// recalculated and saved. Whatever opens must also save.
#include <vector>

#include "fuzz/fuzz_support.h"
#include "tests/files/older_document_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    std::vector<uint8_t> document = older::document(1000, {});
    document.insert(document.end(), data, data + size);
    fuzz_open_and_save_document(document.data(), document.size());
    return 0;
}
