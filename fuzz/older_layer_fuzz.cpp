// Layer blocks of the previous generation behind a fixed document header of
// version 1000, so that every input reaches the older layer reader: opened,
// recalculated and saved. Whatever opens must also save.
#include <cstdlib>
#include <vector>

#include "files/document_file.h"
#include "files/document_saving.h"
#include "formula/recalc.h"
#include "fuzz/fuzz_support.h"
#include "model/workbook.h"
#include "tests/files/older_document_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    fuzz_empty_folder();
    std::vector<uint8_t> document = older::document(1000, {});
    document.insert(document.end(), data, data + size);
    pf::FileSpec input, output;
    pf::file_spec_from_path(fuzz_write_file("Input.qrv", document.data(), document.size()), input);
    pf::file_spec_from_path(fuzz_folder() + "/Output.qrv", output);
    MemoryRef workbook = sample::new_workbook(&input);
    if (Read_File(workbook, input, Get_fileinfo(workbook)) == 0 && (recalculate_workbook(workbook), true) &&
        save_workbook_file(find_SpreadSheet_item(workbook, 0), kWholeWorkbook, output, kFormatNative, false, false))
        std::abort();
    fuzz_close_workbook(workbook);
    return 0;
}
