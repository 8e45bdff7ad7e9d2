// Workbooks kept encrypted under the default password: the input is the
// records after the FILEPASS record, in clear; they are encrypted as another
// spreadsheet encrypts them, behind the globals' BOF and FILEPASS, so that
// every input goes through decryption before the record filter reads it.
#include <vector>

#include "excel/biff_stream.h"
#include "excel/excel_import.h"
#include "excel/workbook_decryption.h"
#include "fuzz/fuzz_support.h"
#include "tests/excel/excel_samples.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    static const Rc4Scheme scheme = rc4_scheme(false, 128, biff::kOtherProgramsSalt, u"VelvetSweatshop");
    std::vector<uint8_t> stream;
    biff::append(stream, biff::bof(true, 0x0005));
    biff::append(stream, biff::default_password_filepass());
    const size_t encrypted_from = stream.size();
    stream.insert(stream.end(), data, data + size);
    try {
        rc4_apply_to_records(stream, encrypted_from, scheme);
    } catch (const ExcelDamaged&) {
        // Encrypted as far as its records are whole; the reader meets the rest.
    }
    MemoryRef workbook = sample::new_workbook();
    MemoryRef layer = sample::new_layer(workbook);
    read_excel_bytes(stream, layer, nullptr);
    fuzz_close_workbook(workbook);
    return 0;
}
