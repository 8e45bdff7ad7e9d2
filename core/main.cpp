// Quorvin: the program's entry point.
#include <cstdio>

#include "platform/events/events.h"
#include "platform/host/host.h"
#include "platform/resources/resources.h"
#include "platform/sdl/sdl_host.h"
#include "platform/windows/window_manager.h"
#include "resource_bundle.h"

int main() {
    if (pf::resources_install(resource_bundle_data(), resource_bundle_size()) != pf::noErr) {
        std::fprintf(stderr, "quorvin: the linked resource bundle is damaged\n");
        return 1;
    }
    if (!pf::sdl_host_open(1024, 768)) return 1;
    pf::windows_open();
    while (!pf::host_quit_requested()) {
        pf::EventRecord event;
        pf::wait_next_event(pf::kEveryEvent, event, 20, nullptr);
    }
    pf::windows_close();
    pf::host_close();
    return 0;
}
