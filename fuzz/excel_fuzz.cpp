// Excel workbooks, a compound file or a bare record stream, read into a fresh layer.
#include <vector>

#include "excel/excel_import.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    MemoryRef workbook = sample::new_workbook();
    MemoryRef layer = sample::new_layer(workbook);
    read_excel_bytes(std::vector<uint8_t>(data, data + size), layer, nullptr);
    fuzz_close_workbook(workbook);
    return 0;
}
