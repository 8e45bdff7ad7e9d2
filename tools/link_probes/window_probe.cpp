// The sheet view handing a key to the Edit menu itself: linked with its own
// layer alone it must fail, for the features are above it.
#include "editing/editing_commands.h"

int main() {
    DoEditMenu(nullptr, 0);
    return 0;
}
