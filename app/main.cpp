// Quorvin: the program's entry point. Opens the host window as the screen and
// runs the application; file paths on the command line are opened as documents.
#include <cstdio>

#include "app/startup.h"
#include "platform/host/host.h"
#include "platform/resources/resources.h"
#include "platform/sdl/sdl_host.h"
#include "platform/windows/window_manager.h"
#include "resource_bundle.h"

int main(int argc, char** argv) {
    if (pf::resources_install(resource_bundle_data(), resource_bundle_size()) != pf::noErr) {
        std::fprintf(stderr, "quorvin: the linked resource bundle is damaged\n");
        return 1;
    }
    if (!pf::sdl_host_open(1024, 768)) return 1;
    pf::windows_open();
    int status = run_application(argc, argv);
    pf::windows_close();
    pf::host_close();
    return status;
}
