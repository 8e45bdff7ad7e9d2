// Command codes: the four-character codes that command-bar buttons carry, and
// what each one does.
#pragma once

#include <cstdint>

#include "platform/types.h"

enum class CommandKind : uint8_t {
    kNone,        // sets the last command and the refresh request only
    kMenuItem,    // a menu handler with (0, item)
    kAutoSum,
    kDeleteColumns,
    kDeleteRows,
    kInsertColumns,
    kInsertRows,
    kSortAscending,
    kSortDescending,
    kProtection,
    kPreferences,
    kTypeText,    // characters typed into the entry line
    kListSeparator,
};

struct CommandAction {
    CommandKind kind = CommandKind::kNone;
    int16_t menu = 0;
    int16_t item = 0;
    char text[3] = {};
};

constexpr int16_t kAppleMenuId = 128;
constexpr int16_t kFileMenuId = 129;
constexpr int16_t kEditMenuId = 130;
constexpr int16_t kFormatMenuId = 131;
constexpr int16_t kOptionsMenuId = 132;
constexpr int16_t kSizeMenuId = 143;
constexpr int16_t kStyleMenuId = 144;
constexpr int16_t kAlignMenuId = 146;
constexpr int16_t kFillMenuId = 147;
constexpr int16_t kFormatOptionMenuId = 148;
constexpr int16_t kPrecisionMenuId = 149;
constexpr int16_t kFirstFunctionMenuId = 151;
constexpr int16_t kArrangeMenuId = 160;
constexpr int16_t kLayerMenuId = 163;

// The code spelled by four characters, the first in the high byte.
constexpr uint32_t code_value(const char* c) {
    return uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 | uint32_t(uint8_t(c[2])) << 8 |
           uint32_t(uint8_t(c[3]));
}

CommandAction command_action(uint32_t code);
// Runs a menu item's handler with no document record, as a menu choice would.
void run_menu_handler(int16_t menu, int16_t item);
// The list separator typed for function arguments.
char argument_separator();
