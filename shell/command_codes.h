// Command codes: the four-character codes that command-bar buttons carry, and
// what each one does.
#pragma once

#include <cstdint>

#include "platform/types.h"
#include "resource_ids.h"

enum class CommandKind : uint8_t {
    kNone,        // sets the last command and the refresh request only
    kMenuItem,    // the menu item the menu resources give the code
    kAutoSum,
    kDeleteColumns,
    kDeleteRows,
    kInsertColumns,
    kInsertRows,
    kSortAscending,
    kSortDescending,
    kProtection,
    kPreferences,
    kPrintSelection,  // the print dialog with the selection chosen
    kPrintWindow,     // the print dialog with the cells the window shows chosen
    kTypeText,    // characters typed into the entry line
    kListSeparator,
};

struct CommandAction {
    CommandKind kind = CommandKind::kNone;
    int16_t menu = 0;
    int16_t item = 0;
    char text[3] = {};
};


// The code spelled by four characters, the first in the high byte.
constexpr uint32_t code_value(const char* c) {
    return uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 | uint32_t(uint8_t(c[2])) << 8 |
           uint32_t(uint8_t(c[3]));
}

CommandAction command_action(uint32_t code);
// Carries out a menu item through the application's menu procedure, for the
// front document. The menus' enabling is not asked: the bar enables its
// buttons by rules of its own.
void choose_menu_item(int16_t menu, int16_t item);
// The list separator typed for function arguments.
char argument_separator();
