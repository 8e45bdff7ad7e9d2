// Scripting running a File menu command itself: linked with the features
// alone it must fail, for the commands are above them.
#include "shell/file_menu.h"

int main() {
    DoFileMenu(nullptr, 0);
    return 0;
}
