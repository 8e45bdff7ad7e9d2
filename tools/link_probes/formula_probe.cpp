// A formula routine that reads a document itself: linked with the formula
// layer alone it must fail, for the document code is not there.
#include "files/document_file.h"

int main() {
    pf::FileSpec spec{};
    return Read_File(nullptr, spec, nullptr);
}
