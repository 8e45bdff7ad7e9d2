// A dialog that redraws cells of the sheet view: linked with the user
// interface's layer alone it must fail, for the sheet view is above it.
#include "window/doc_window.h"

int main() {
    DrawCells(nullptr, nullptr);
    return 0;
}
