// The spelling check running an Edit menu command itself: linked with its own
// layer alone it must fail, for editing is above spelling.
#include "editing/editing_commands.h"

int main() {
    DoEditMenu(nullptr, 0);
    return 0;
}
