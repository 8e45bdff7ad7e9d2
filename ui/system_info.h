// SystemInfo: what the platform offers and the application's run state, filled
// once at start-up by System_Init. Bits 0x1000, 0x2000 and 0x4000 change while
// the event loop runs; the others stay as start-up left them (except 0x02 and 0x10).
#pragma once

#include <cstdint>
#include "resource_ids.h"

// Flag bits of SystemInfo.flags.
constexpr uint32_t kSysDragInUse = 0x00000002;
constexpr uint32_t kSysHelp = 0x00000004;
constexpr uint32_t kSysInlineInput = 0x00000010;
constexpr uint32_t kSysColorQD = 0x00000020;
constexpr uint32_t kSysGXPrinting = 0x00000040;
constexpr uint32_t kSysScripting = 0x00000080;
constexpr uint32_t kSysArchitecture = 0x00000100;
constexpr uint32_t kSysTranslation = 0x00000200;
constexpr uint32_t kSysQuickTime = 0x00000400;
constexpr uint32_t kSysLowMemoryShown = 0x00001000;
constexpr uint32_t kSysNotificationUp = 0x00002000;
constexpr uint32_t kSysInBackground = 0x00004000;
constexpr uint32_t kSysInputGlue = 0x00010000;
constexpr uint32_t kSysTextServices = 0x00020000;
constexpr uint32_t kSysAppearance = 0x00040000;
constexpr uint32_t kSysNavigation = 0x00080000;
constexpr uint32_t kSysSecondScript = 0x00100000;
constexpr uint32_t kSysAppearance11 = 0x00200000;
constexpr uint32_t kSysSelectWindows = 0x00400000;
constexpr uint32_t kSysProxyIcons = 0x00800000;
constexpr uint32_t kSysCarbonLib = 0x01000000;
constexpr uint32_t kSysCarbonLib14 = 0x03000000;

// The oldest system the program runs on is above this version.
constexpr int16_t kOldestRefusedSystem = 0x085F;

struct SystemInfo {
    uint32_t flags;
    int16_t script_count;
    int16_t system_script;
    int16_t several_scripts;
    int16_t application_script;
    int16_t geneva_font;
    int16_t application_font;
    int16_t system_version;
    int16_t resource_file;
    int16_t application_volume;
    uint32_t application_folder;
    uint32_t process[2];
    // Decimal point, thousands separator, date separator, first currency
    // character, list separator, date order, metric flag.
    uint8_t international[7];
};

extern SystemInfo g_system;

// Fills g_system; answers false for a system too old to run on (after its alert).
bool System_Init();
int16_t DRAG_Available();
bool TSMTE_Available();

// Whether the application is in the background (bit 0x4000).
inline bool in_background() { return (g_system.flags & kSysInBackground) != 0; }
