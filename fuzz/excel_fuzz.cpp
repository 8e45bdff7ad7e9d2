// Excel record streams read bare into a fresh layer. Compound files are left
// out: their container is libgsf's to read, and it keeps a few bytes of some
// damaged directories.
#include <vector>

#include "excel/compound_file.h"
#include "excel/excel_import.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (is_compound_file(data, size)) return 0;
    fuzz_start_application();
    MemoryRef workbook = sample::new_workbook();
    MemoryRef layer = sample::new_layer(workbook);
    read_excel_bytes(std::vector<uint8_t>(data, data + size), layer, nullptr);
    fuzz_close_workbook(workbook);
    return 0;
}
