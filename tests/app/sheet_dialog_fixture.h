// A new document in the attended program, whose front layer's selection the
// sheet dialogs work on; alerts and dialogs wait for scripted input.
#pragma once

#include "tests/app/modal_scripts.h"

struct SheetDialogTest : AttendedDocumentTest {
    void select(CellRange range) { select_cells(layer, range); }
};
