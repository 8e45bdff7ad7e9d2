// A foundation routine that disposes an undo record itself: linked with core
// alone it must fail, for undo records are the model's.
#include "model/undo_fields.h"

int main() {
    DisposeUndo(nullptr);
    return 0;
}
