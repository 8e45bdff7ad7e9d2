// A command bar button dispatched by the commands themselves: linked with their
// own layer alone it must fail, for the application's dispatch is above them.
#include "app/event_loop.h"

int main() {
    do_menu_button(0, 0);
    return 0;
}
