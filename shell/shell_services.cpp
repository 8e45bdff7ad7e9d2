// The headless answers of the commands' services: no menu carries out a
// command, no window is listed and no document opens.
#include "shell/shell_services.h"

namespace {

void no_command(int16_t, int16_t) {}
int16_t not_listed(pf::WindowRef) { return 0; }
pf::OSErr nothing_opened(const pf::FileSpec*) { return pf::noErr; }

constexpr ShellServices kHeadless{
    .menu_button = no_command, .window_menu_item = not_listed, .open_or_bring_document = nothing_opened};

}  // namespace

ShellServices shell_services = kHeadless;

ShellServices headless_shell_services() { return kHeadless; }
