// Processes, notification, help-tag delay and the desktop's opener.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <optional>
#include <thread>

#include "platform/events/events.h"
#include "platform/files/files.h"
#include "platform/system/system.h"

extern char** environ;

namespace pf {
namespace {

constexpr ProcessSerialNumber kThisProcess{0, 2};
constexpr ProcessSerialNumber kDesktopProcess{0, 1};

struct ServiceState {
    RaiseProc raise = nullptr;
    std::optional<NotificationRequest> notification;
    NotificationProc notify = nullptr;
    int32_t help_tag_delay = kDefaultHelpTagDelay;
    DesktopOpener opener = nullptr;
};

ServiceState g_services;

bool starts_with(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool is_openable_address(const std::string& url) {
    return starts_with(url, "http://") || starts_with(url, "https://") || starts_with(url, "mailto:");
}

bool has_control_characters(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

// Starts xdg-open on the target and reaps it in the background.
OSErr spawn_desktop_opener(const std::string& target) {
    char program[] = "xdg-open";
    std::string argument = target;
    char* argv[] = {program, argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return kFileNotFoundErr;
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return noErr;
}

OSErr hand_to_opener(const std::string& target) {
    return g_services.opener ? g_services.opener(target) : spawn_desktop_opener(target);
}

}  // namespace

ProcessSerialNumber current_process() { return kThisProcess; }

OSErr find_process(FourCC signature, ProcessSerialNumber& process) {
    if (signature == kApplicationSignature) return process = kThisProcess, noErr;
    if (signature == kDesktopSignature) return process = kDesktopProcess, noErr;
    return kProcessNotFoundErr;
}

ProcessSerialNumber front_process() { return in_foreground() ? kThisProcess : kDesktopProcess; }

OSErr set_front_process(const ProcessSerialNumber& process) {
    if (process == kDesktopProcess) return noErr;
    if (!(process == kThisProcess)) return kProcessNotFoundErr;
    if (g_services.raise) g_services.raise();
    return noErr;
}

void set_raise_proc(RaiseProc proc) { g_services.raise = proc; }

void install_notification(const NotificationRequest& request) {
    g_services.notification = request;
    if (g_services.notify) g_services.notify(&*g_services.notification);
}

void remove_notification() {
    g_services.notification.reset();
    if (g_services.notify) g_services.notify(nullptr);
}

const NotificationRequest* pending_notification() {
    return g_services.notification ? &*g_services.notification : nullptr;
}

void set_notification_proc(NotificationProc proc) { g_services.notify = proc; }

int32_t help_tag_delay() { return g_services.help_tag_delay; }
void set_help_tag_delay(int32_t ticks) { g_services.help_tag_delay = ticks < 0 ? 0 : ticks; }

OSErr open_url(const std::string& url) {
    if (!is_openable_address(url) || has_control_characters(url)) return kParamErr;
    return hand_to_opener(url);
}

OSErr open_with_desktop(const std::string& path) {
    if (!starts_with(path, "/") || has_control_characters(path)) return kParamErr;
    return hand_to_opener(path);
}

void set_desktop_opener(DesktopOpener opener) { g_services.opener = opener; }

}  // namespace pf
