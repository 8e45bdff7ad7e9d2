// Quorvin: the program's entry point.
#include "platform/host/host.h"
#include "platform/sdl/sdl_host.h"

int main() {
    if (!pf::sdl_host_open(1024, 768)) return 1;
    while (pf::host_pump()) {
        pf::host_present();
        pf::host_wait(16);
    }
    pf::host_close();
    return 0;
}
