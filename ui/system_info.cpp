#include "ui/system_info.h"

#include <string>

#include "ui/alerts.h"
#include "core/file_utils.h"
#include "platform/files/files.h"
#include "platform/fonts/fonts.h"
#include "platform/screen/cursor.h"
#include "platform/system/system.h"
#include "platform/text/text.h"

SystemInfo g_system;

namespace {

bool capability(const char (&selector)[5], int32_t& response) {
    return pf::query_capability(pf::four_cc(selector), response) == pf::noErr;
}

bool capability_present(const char (&selector)[5]) {
    int32_t ignored;
    return capability(selector, ignored);
}

bool capability_bit(const char (&selector)[5], int bit) {
    int32_t response;
    return capability(selector, response) && (response & (1 << bit)) != 0;
}

void record_scripts() {
    int32_t count;
    g_system.script_count = 1;
    if (capability("scr#", count)) g_system.script_count = int16_t(count);
    g_system.geneva_font = pf::font_number("Geneva");
    g_system.application_font = pf::kApplFont;
    g_system.system_script = 0;
    g_system.application_script = 0;
    g_system.flags |= kSysColorQD;
    if (capability_present("help")) g_system.flags |= kSysHelp;
    if (g_system.script_count > 1) {
        g_system.several_scripts = 1;
        g_system.application_script = pf::font_to_script(pf::kApplFont);
        if (pf::script_enabled(pf::kScriptJapanese)) g_system.flags |= kSysSecondScript;
    }
}

// The folder of the program's own file, and this process.
void record_application() {
    g_system.resource_file = 0;
    pf::FileSpec spec;
    std::string exe = executable_path();
    if (!exe.empty() && pf::file_spec_from_path(exe, spec) == pf::noErr) {
        g_system.application_volume = spec.volume;
        g_system.application_folder = spec.parent;
    }
    pf::ProcessSerialNumber self = pf::current_process();
    g_system.process[0] = self.high;
    g_system.process[1] = self.low;
    g_system.flags |= kSysInBackground;
    if (pf::front_process() == self) g_system.flags &= ~kSysInBackground;
}

void record_capabilities() {
    if (capability_present("qdgx") && capability_present("pmgr")) g_system.flags |= kSysGXPrinting;
    if (capability_bit("evnt", 1) && capability_present("ascr")) g_system.flags |= kSysScripting;
    int32_t response;
    if (capability("sysa", response) && response == 2) g_system.flags |= kSysArchitecture;
    if (capability_bit("xlat", 3)) g_system.flags |= kSysTranslation;
    if (capability_present("qtim")) g_system.flags |= kSysQuickTime;
    if (capability_bit("ttsc", 0)) g_system.flags |= kSysTextServices;
    if (g_system.system_version <= 0x0800) return;
    if (capability_present("appr") && capability("apvr", response)) {
        if (response > 0x0100) g_system.flags |= kSysAppearance;
        if (response > 0x010F) g_system.flags |= kSysAppearance11;
    }
    if (capability("cbon", response)) g_system.flags |= response > 0x0103 ? kSysCarbonLib14 : kSysCarbonLib;
}

void record_international() {
    const pf::IntlSettings& intl = pf::international_settings();
    g_system.international[0] = uint8_t(intl.decimal_point);
    g_system.international[1] = uint8_t(intl.thousands_separator);
    g_system.international[2] = uint8_t(intl.date_separator);
    g_system.international[3] = intl.currency.empty() ? uint8_t('$') : uint8_t(intl.currency[0]);
    g_system.international[4] = uint8_t(intl.list_separator);
    g_system.international[5] = uint8_t(intl.date_order);
    g_system.international[6] = intl.metric ? 1 : 0;
    g_system.flags |= kSysNavigation;
}

}  // namespace

bool System_Init() {
    g_system = SystemInfo{};
    int32_t version = 0;
    capability("sysv", version);
    g_system.system_version = int16_t(version);
    g_system.flags = kSysSelectWindows | kSysProxyIcons;
    pf::set_arrow_cursor();
    if (g_system.system_version <= kOldestRefusedSystem) {
        unsigned char empty[1] = {0};
        key_caution_alert(empty, kRefusedSystemAlert, kCautionAlertKind);
        return false;
    }
    record_scripts();
    record_application();
    record_capabilities();
    g_system.application_font = pf::kApplFont;
    g_system.application_script = g_system.system_script;
    record_international();
    return true;
}

int16_t DRAG_Available() { return 1; }

bool TSMTE_Available() {
    int32_t version;
    return capability("tsmv", version) && version > 0;
}
