// The splash window shown during start-up and the About box, both from the
// bundle's dialog templates with the version and the memory filled in.
#include <algorithm>
#include <iterator>
#include <string>

#include "ui/modal_dialog.h"
#include "ui/task_manager.h"
#include "platform/events/events.h"
#include "platform/host/host.h"
#include "platform/memory/memory.h"
#include "platform/resources/resources.h"
#include "shell/shell_commands.h"
#include "shell/splash_about.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kVersionItem = 7;
constexpr int16_t kMemoryItem = 6;
constexpr int16_t kLastClosingItem = 3;
constexpr int16_t kApplicationFont = 1;
constexpr int16_t kSplashTextSize = 9;

}  // namespace

std::string version_text() {
    std::string text = "Version ";
    const pf::Resource* vers = pf::get_resource(pf::four_cc("vers"), 1);
    pf::VersionInfo info;
    if (vers && pf::decode_version(vers->bytes, info)) text += info.short_version;
    return text;
}

// Whole kilobytes up to 10 MB, then whole megabytes up to 10 GB, then gigabytes:
// never more than four or five digits.
std::string memory_text(int64_t bytes) {
    constexpr int64_t kUnitStep = 1000;
    constexpr int64_t kLargestInUnit = 10 * kUnitStep;
    static const char* const kUnits[] = {" K", " MB", " GB", " TB"};
    int64_t amount = std::max<int64_t>(bytes, 0) / kUnitStep;
    size_t unit = 0;
    while (amount >= kLargestInUnit && unit + 1 < std::size(kUnits)) {
        amount /= kUnitStep;
        ++unit;
    }
    return std::to_string(amount) + kUnits[unit] + " memory available";
}

WindowRef Do_Splash() {
    pf::EventRecord event;
    pf::event_avail(pf::kEveryEvent, event);
    pf::event_avail(pf::kEveryEvent, event);
    pf::DialogRef dialog = pf::get_new_dialog(kSplashDialog);
    if (!dialog) return nullptr;
    WindowRef window = pf::get_dialog_window(dialog);
    PushWindowPort(window);
    pf::text_font(kApplicationFont);
    pf::text_size(kSplashTextSize);
    WindowTransition(window);
    pf::draw_dialog(dialog);
    PopPort();
    pf::host_present();
    return window;
}

pf::DialogRef make_about_box() {
    pf::DialogRef dialog = pf::get_new_dialog(kAboutDialog);
    if (!dialog) return nullptr;
    pf::set_dialog_item_text(dialog, kVersionItem, version_text());
    pf::set_dialog_item_text(dialog, kMemoryItem, memory_text(pf::heap_bytes_available()));
    WindowTransition(pf::get_dialog_window(dialog));
    return dialog;
}

void DoAbout() {
    DeactivateFloatersAndFirstDocumentWindow();
    pf::DialogRef dialog = make_about_box();
    if (!dialog) {
        ActivateFloatersAndFirstDocumentWindow();
        return;
    }
    pf::EventRecord event;
    int16_t item;
    do {
        item = GetModalDialogItem(dialog, &event, kModalAllOptions);
    } while (item < 1 || item > kLastClosingItem);
    dialog_timer = 0;
    pf::dispose_dialog(dialog);
    ActivateFloatersAndFirstDocumentWindow();
}
