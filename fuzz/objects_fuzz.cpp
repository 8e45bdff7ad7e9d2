// Drawing objects and charts as a document stores them: read into a layer,
// saved in a native document and opened again. Whatever reads must save, and
// open again to the same stored objects.
#include <cstdlib>
#include <span>
#include <vector>

#include "files/document_file.h"
#include "files/document_saving.h"
#include "files/files_services.h"
#include "fuzz/fuzz_support.h"
#include "model/workbook.h"
#include "objects/object_store.h"

namespace {

// The stored objects of the first layer of the document saved from `layer`,
// opened again; false when it does not open.
bool reopened_objects(MemoryRef layer, std::vector<uint8_t>& stored) {
    fuzz_empty_folder();
    pf::FileSpec spec;
    pf::file_spec_from_path(fuzz_folder() + "/Objects.qrv", spec);
    if (save_workbook_file(layer, kWholeWorkbook, spec, kFormatNative, false, false)) return false;
    MemoryRef again = sample::new_workbook(&spec);
    const bool opened = Read_File(again, spec, Get_fileinfo(again)) == 0;
    if (opened) stored = stored_from_objects(find_SpreadSheet_item(again, 0));
    fuzz_close_workbook(again);
    return opened;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    files_services.adopt_objects_read = adopt_stored_objects;
    files_services.objects_for_writing = objects_to_store;
    MemoryRef workbook = sample::new_workbook();
    MemoryRef layer = sample::new_layer(workbook);
    if (objects_from_stored(layer, std::span<const uint8_t>(data, size)) == 0) {
        const std::vector<uint8_t> read = stored_from_objects(layer);
        std::vector<uint8_t> again;
        if (!reopened_objects(layer, again) || again != read) std::abort();
    }
    fuzz_close_workbook(workbook);
    return 0;
}
