// A document routine that calls the Excel reader itself: linked with the
// document code alone it must fail, for the Excel import is not there.
#include "excel/excel_import.h"

int main() {
    pf::FileSpec spec{};
    return ReadExcelFile(spec, nullptr, nullptr);
}
