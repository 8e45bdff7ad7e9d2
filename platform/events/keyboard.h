// Key codes (positions on the keyboard, as the keyboard map and key events
// report them) and the mapping of a Linux keyboard onto them.
//
// Linux keys and what they give:
//   Ctrl (either)           Command   (modifier 0x0100, key code 55)
//   Alt (left / right)      Option    (modifier 0x0800, key codes 58 / 61)
//   Super, the Windows key  Control   (modifier 0x1000, key codes 59 / 62);
//                           Super with a letter types character 1-26
//   Shift, Caps Lock        Shift, Caps Lock (0x0200, 0x0400)
//   Insert                  Help      (character 5)
//   Num Lock                Clear     (keypad, character 27)
//   keypad Enter            Enter     (character 3)
//   Delete                  forward delete (character 127); Backspace gives 8
//   F1-F15                  function keys (character 16)
// Keys that type text take their characters from the host's text input (so
// keyboard layouts and composed characters work), converted to Mac Roman.
// While Command or Control is held the character comes from the key itself.
#pragma once

#include <cstdint>

namespace pf {

// Named key codes (the rest follow the table in keyboard.cpp).
constexpr uint8_t kKeyCodeReturn = 36;
constexpr uint8_t kKeyCodeTab = 48;
constexpr uint8_t kKeyCodeSpace = 49;
constexpr uint8_t kKeyCodeBackspace = 51;
constexpr uint8_t kKeyCodeEscape = 53;
constexpr uint8_t kKeyCodePeriod = 47;
constexpr uint8_t kKeyCodeCommand = 55;
constexpr uint8_t kKeyCodeShift = 56;
constexpr uint8_t kKeyCodeCapsLock = 57;
constexpr uint8_t kKeyCodeOption = 58;
constexpr uint8_t kKeyCodeControl = 59;
constexpr uint8_t kKeyCodeRightShift = 60;
constexpr uint8_t kKeyCodeRightOption = 61;
constexpr uint8_t kKeyCodeRightControl = 62;
constexpr uint8_t kKeyCodeKeypadEnter = 76;
constexpr uint8_t kKeyCodeHelp = 114;
constexpr uint8_t kKeyCodeHome = 115;
constexpr uint8_t kKeyCodePageUp = 116;
constexpr uint8_t kKeyCodeForwardDelete = 117;
constexpr uint8_t kKeyCodeEnd = 119;
constexpr uint8_t kKeyCodePageDown = 121;
constexpr uint8_t kKeyCodeLeftArrow = 123;
constexpr uint8_t kKeyCodeRightArrow = 124;
constexpr uint8_t kKeyCodeDownArrow = 125;
constexpr uint8_t kKeyCodeUpArrow = 126;
constexpr uint8_t kNoKeyCode = 0xFF;

// Modifier keys as a host reports them, independent of any host library.
constexpr uint32_t kHostShift = 0x01;
constexpr uint32_t kHostCtrl = 0x02;
constexpr uint32_t kHostAlt = 0x04;
constexpr uint32_t kHostSuper = 0x08;
constexpr uint32_t kHostCapsLock = 0x10;

// The key code of a Linux key given by its USB HID usage (the scancode SDL and
// evdev report); kNoKeyCode for keys that have none.
uint8_t key_code_from_usb_usage(int usage);

// The modifier word of the host's modifier keys.
uint16_t modifiers_from_host(uint32_t host_modifiers);

// The character of a key that types none (Return, arrows, function keys ...);
// 0 for keys whose character comes from text input.
unsigned char special_key_char(uint8_t key_code);

// The character of a key typed with Command or Control held: `layout_char` is
// the key's unshifted character on the current layout (0 when unknown). A
// letter is upper case with Shift; Control with a letter gives 1-26.
unsigned char command_key_char(uint8_t key_code, char32_t layout_char, uint16_t modifiers);

// Command, Shift, Caps Lock, Option, Control (left or right).
bool is_modifier_key(uint8_t key_code);

// Whether a key-down should wait for its character from text input.
bool key_waits_for_text(uint8_t key_code, uint16_t modifiers);

}  // namespace pf
