#include "app/required_events.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "ui/alerts.h"
#include "platform/text/mac_roman.h"

#include "app/app_menus.h"
#include "app/event_loop.h"
#include "core/file_utils.h"
#include "ui/system_info.h"
#include "ui/task_manager.h"
#include "files/document_file.h"
#include "window/open_command.h"
#include "model/workbook.h"
#include "platform/appleevents/ae_endpoint.h"
#include "scripting/object_model.h"
#include "shell/shell_commands.h"
#include "styledtext/styled_text.h"
#include "window/window_commands.h"
#include "shell/file_menu.h"

namespace {

constexpr int16_t kPreferencesEventVersion = 0x0FFF;
constexpr long kObjectModelRefcon = -1;
constexpr pf::OSErr kModalWindowInFront = -1;

void post_high_level_event(pf::FourCC event_class, pf::FourCC) {
    pf::post_event(pf::kHighLevelEvent, event_class);
}

void install_object_model() {
    struct Entry {
        pf::FourCC event_class, event_id;
        pf::AEEventHandler handler;
    };
    const Entry entries[] = {
        {pf::four_cc("core"), pf::four_cc("setd"), DoSetData},
        {pf::four_cc("core"), pf::four_cc("getd"), DoGetData},
        {pf::four_cc("core"), pf::four_cc("dsiz"), DoGetDataSize},
        {pf::four_cc("core"), pf::four_cc("cnte"), DoCountElements},
        {pf::four_cc("core"), pf::four_cc("doex"), DoObjectsExist},
        {pf::four_cc("core"), pf::four_cc("crel"), DoNewElement},
        {pf::four_cc("misc"), pf::four_cc("slct"), DoSelect},
    };
    for (const Entry& e : entries) pf::ae_install_event_handler(e.event_class, e.event_id, e.handler, kObjectModelRefcon);
    InstallObjectCallbacks();
    InstallAccessors();
    InstallCoercions();
    // Other programs reach the object model through the local endpoint; a run
    // with no one at the keyboard (tests) opens none.
    if (!unattended_run()) {
        const std::string path = pf::ae_endpoint_default_path();
        if (pf::ae_endpoint_open(path) != pf::noErr)
            std::fprintf(stderr, "quorvin: scripts cannot reach this program: no event socket at %s\n", path.c_str());
    }
}

// Opens every file listed in the event's direct object; the first error answers.
pf::OSErr open_listed_documents(const pf::AppleEvent* event) {
    pf::AEDesc list;
    pf::OSErr err = pf::ae_get_param_desc(*event, pf::kKeyDirectObject, pf::kTypeList, list);
    if (err) return err;
    if ((err = GotRequiredParams(event))) return err;
    long count = 0;
    if ((err = pf::ae_count_items(list, count))) return err;
    for (long i = 1; i <= count; ++i) {
        pf::AEDesc item;
        pf::FileSpec spec;
        if ((err = pf::ae_get_nth_desc(list, i, pf::kTypeWildCard, nullptr, item))) return err;
        if ((err = GetSpecFromDescriptor(&item, &spec))) return err;
        if ((err = AppOpenHandler(&spec))) return err;
    }
    return pf::noErr;
}

// Files named at launch that cannot exist (their folder is missing): each is
// said by the name it was given.
void report_unfound_launch_files() {
    constexpr size_t kLongestShownPath = 120;  // room left for the message around it
    for (const std::string& path : pf::ae_take_unfound_launch_paths()) {
        std::string name = pf::utf8_to_mac_roman(path);
        pf::Str255 pascal;
        pascal[0] = uint8_t(std::min(name.size(), kLongestShownPath));
        std::copy_n(name.begin(), pascal[0], pascal + 1);
        show_named_file_error(pf::kFileNotFoundErr, pascal);
    }
}

// The file of a document window's workbook; false for a window without one.
bool window_file(WindowRef window, pf::FileSpec& spec) {
    uintptr_t record = GetTaskAppRef(window);
    if (!record) return false;
    MemoryRef workbook = doc_window_workbook(reinterpret_cast<MemoryRef>(record));
    if (!workbook) return false;
    spec = file_record_of(workbook).spec;
    return spec.name[0] != 0;
}

}  // namespace

void InstallAppleEvents() {
    pf::ae_set_post_hook(post_high_level_event);
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kOpenApplication, handle_open_app, 0);
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kOpenDocuments, handle_open_docs, 0);
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kPrintDocuments, handle_print_docs, 0);
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kQuitApplication, handle_quit_app, 0);
    if (g_system.system_version > kPreferencesEventVersion)
        pf::ae_install_event_handler(pf::kCoreEventClass, pf::kShowPreferences, handle_app_prefs, 0);
    if (TSMTE_Available()) WEInstallTSMHandlers();
    if (g_system.flags & kSysScripting) install_object_model();
}

pf::OSErr handle_open_app(const pf::AppleEvent* event, pf::AppleEvent*, long) {
    if (pf::OSErr err = GotRequiredParams(event)) return err;
    report_unfound_launch_files();
    AppInitHandler();
    return pf::noErr;
}

void AppInitHandler() {
    switch (app_prefs.startup_action) {
        case kStartupNothing: break;
        case kStartupNewDocument: DoFileMenu(nullptr, 1); break;
        case kStartupOpenDialog: DoFileMenu(nullptr, 2); break;
        case kStartupWorkspace: OpenWorkspaceItems(); break;
        default: app_prefs.startup_action = kStartupNewDocument; break;
    }
}

pf::OSErr handle_open_docs(const pf::AppleEvent* event, pf::AppleEvent*, long) {
    if (WindowIsModal(pf::front_window())) return kModalWindowInFront;
    report_unfound_launch_files();
    return open_listed_documents(event);
}

pf::OSErr handle_print_docs(const pf::AppleEvent* event, pf::AppleEvent*, long) {
    return open_listed_documents(event);
}

// The workspace is rewritten by the documents that close for the quit; when a
// window refuses, the list goes back to what it was before the request. A quit
// asked for while a modal window is up is queued until that window has gone.
pf::OSErr handle_quit_app(const pf::AppleEvent* event, pf::AppleEvent*, long) {
    if (pf::OSErr err = GotRequiredParams(event)) return err;
    // A second request while the first asks about documents adds nothing.
    static bool quitting = false;
    if (quitting) return pf::noErr;
    if (WindowIsModal(pf::front_window())) {
        queue_quit_request();
        return pf::noErr;
    }
    struct Underway {
        Underway() { quitting = true; }
        ~Underway() { quitting = false; }
    } underway;
    MemoryRef saved = CopyWorkspaceItems();
    RemoveWorkspaceItems();
    int16_t answer = QuitDocuments();
    if (answer != 0) RestoreWorkspaceItems(saved);
    else DisposeNonNilMemory(saved);
    return answer;
}

pf::OSErr handle_app_prefs(const pf::AppleEvent* event, pf::AppleEvent*, long) {
    if (pf::OSErr err = GotRequiredParams(event)) return err;
    get_app_prefs(app_prefs.prefs_panel);
    return pf::noErr;
}

pf::OSErr AppOpenHandler(const pf::FileSpec* spec) {
    if (is_file_open(spec)) return pf::noErr;
    PushWindowPort(command_bar_window());
    Open_File(kOpenGivenFile, spec, nullptr);
    PopPort();
    return pf::noErr;
}

int16_t is_file_open(const pf::FileSpec* spec) {
    for (int16_t item = kFirstWindowItem;; ++item) {
        WindowRef window = window_of_menu_item(item);
        if (!window) return 0;
        pf::FileSpec open_file;
        if (window_file(window, open_file) && SameFile(&open_file, spec)) {
            SelectReferencedWindow(window);
            return 1;
        }
    }
}
