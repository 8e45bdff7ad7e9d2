#include "platform/events/keyboard.h"

#include "platform/events/events.h"

namespace pf {

namespace {

struct KeyEntry {
    int usage;           // USB HID usage
    uint8_t key_code;
    unsigned char special;  // character of a non-printing key, else 0
    char plain;             // the key's character on a US layout, for Command keys
};

// Every key we map. Letters and digits follow the USB order; the key codes are
// the positions of the classic extended keyboard.
constexpr KeyEntry kKeys[] = {
    {4, 0, 0, 'a'},    {5, 11, 0, 'b'},   {6, 8, 0, 'c'},    {7, 2, 0, 'd'},    {8, 14, 0, 'e'},
    {9, 3, 0, 'f'},    {10, 5, 0, 'g'},   {11, 4, 0, 'h'},   {12, 34, 0, 'i'},  {13, 38, 0, 'j'},
    {14, 40, 0, 'k'},  {15, 37, 0, 'l'},  {16, 46, 0, 'm'},  {17, 45, 0, 'n'},  {18, 31, 0, 'o'},
    {19, 35, 0, 'p'},  {20, 12, 0, 'q'},  {21, 15, 0, 'r'},  {22, 1, 0, 's'},   {23, 17, 0, 't'},
    {24, 32, 0, 'u'},  {25, 9, 0, 'v'},   {26, 13, 0, 'w'},  {27, 7, 0, 'x'},   {28, 16, 0, 'y'},
    {29, 6, 0, 'z'},
    {30, 18, 0, '1'},  {31, 19, 0, '2'},  {32, 20, 0, '3'},  {33, 21, 0, '4'},  {34, 23, 0, '5'},
    {35, 22, 0, '6'},  {36, 26, 0, '7'},  {37, 28, 0, '8'},  {38, 25, 0, '9'},  {39, 29, 0, '0'},
    {40, kKeyCodeReturn, kReturnChar, 0},
    {41, kKeyCodeEscape, kEscapeChar, 0},
    {42, kKeyCodeBackspace, kBackspaceChar, 0},
    {43, kKeyCodeTab, kTabChar, 0},
    {44, kKeyCodeSpace, 0, ' '},
    {45, 27, 0, '-'},  {46, 24, 0, '='},  {47, 33, 0, '['},  {48, 30, 0, ']'},  {49, 42, 0, '\\'},
    {50, 42, 0, '\\'}, {51, 41, 0, ';'},  {52, 39, 0, '\''}, {53, 50, 0, '`'},  {54, 43, 0, ','},
    {55, kKeyCodePeriod, 0, '.'},         {56, 44, 0, '/'},
    {57, kKeyCodeCapsLock, 0, 0},
    {58, 122, kFunctionKeyChar, 0},  {59, 120, kFunctionKeyChar, 0},  {60, 99, kFunctionKeyChar, 0},
    {61, 118, kFunctionKeyChar, 0},  {62, 96, kFunctionKeyChar, 0},   {63, 97, kFunctionKeyChar, 0},
    {64, 98, kFunctionKeyChar, 0},   {65, 100, kFunctionKeyChar, 0},  {66, 101, kFunctionKeyChar, 0},
    {67, 109, kFunctionKeyChar, 0},  {68, 103, kFunctionKeyChar, 0},  {69, 111, kFunctionKeyChar, 0},
    {104, 105, kFunctionKeyChar, 0}, {105, 107, kFunctionKeyChar, 0}, {106, 113, kFunctionKeyChar, 0},
    {73, kKeyCodeHelp, kHelpChar, 0},
    {74, kKeyCodeHome, kHomeChar, 0},
    {75, kKeyCodePageUp, kPageUpChar, 0},
    {76, kKeyCodeForwardDelete, kDeleteChar, 0},
    {77, kKeyCodeEnd, kEndChar, 0},
    {78, kKeyCodePageDown, kPageDownChar, 0},
    {79, kKeyCodeRightArrow, kRightArrowChar, 0},
    {80, kKeyCodeLeftArrow, kLeftArrowChar, 0},
    {81, kKeyCodeDownArrow, kDownArrowChar, 0},
    {82, kKeyCodeUpArrow, kUpArrowChar, 0},
    {83, 71, kClearChar, 0},
    {84, 75, 0, '/'},  {85, 67, 0, '*'},  {86, 78, 0, '-'},  {87, 69, 0, '+'},
    {88, kKeyCodeKeypadEnter, kEnterChar, 0},
    {89, 83, 0, '1'},  {90, 84, 0, '2'},  {91, 85, 0, '3'},  {92, 86, 0, '4'},  {93, 87, 0, '5'},
    {94, 88, 0, '6'},  {95, 89, 0, '7'},  {96, 91, 0, '8'},  {97, 92, 0, '9'},  {98, 82, 0, '0'},
    {99, 65, 0, '.'},  {100, 10, 0, '<'}, {103, 81, 0, '='},
    {117, kKeyCodeHelp, kHelpChar, 0},
    {224, kKeyCodeCommand, 0, 0},       // left Ctrl
    {225, kKeyCodeShift, 0, 0},
    {226, kKeyCodeOption, 0, 0},        // left Alt
    {227, kKeyCodeControl, 0, 0},       // left Super
    {228, kKeyCodeCommand, 0, 0},       // right Ctrl
    {229, kKeyCodeRightShift, 0, 0},
    {230, kKeyCodeRightOption, 0, 0},   // right Alt
    {231, kKeyCodeRightControl, 0, 0},  // right Super
};

const KeyEntry* entry_by_usage(int usage) {
    for (const KeyEntry& k : kKeys)
        if (k.usage == usage) return &k;
    return nullptr;
}

const KeyEntry* entry_by_key_code(uint8_t key_code) {
    for (const KeyEntry& k : kKeys)
        if (k.key_code == key_code) return &k;
    return nullptr;
}

}  // namespace

bool is_modifier_key(uint8_t key_code) { return key_code >= kKeyCodeCommand && key_code <= kKeyCodeRightControl; }

uint8_t key_code_from_usb_usage(int usage) {
    const KeyEntry* k = entry_by_usage(usage);
    return k ? k->key_code : kNoKeyCode;
}

uint16_t modifiers_from_host(uint32_t host) {
    uint16_t m = 0;
    if (host & kHostCtrl) m |= kCmdKey;
    if (host & kHostShift) m |= kShiftKey;
    if (host & kHostCapsLock) m |= kAlphaLock;
    if (host & kHostAlt) m |= kOptionKey;
    if (host & kHostSuper) m |= kControlKey;
    return m;
}

unsigned char special_key_char(uint8_t key_code) {
    const KeyEntry* k = entry_by_key_code(key_code);
    return k ? k->special : 0;
}

unsigned char command_key_char(uint8_t key_code, char32_t layout_char, uint16_t modifiers) {
    if (unsigned char special = special_key_char(key_code)) return special;
    unsigned char c = 0;
    if (layout_char > 0 && layout_char < 0x80) {
        c = static_cast<unsigned char>(layout_char);
    } else if (const KeyEntry* k = entry_by_key_code(key_code)) {
        c = static_cast<unsigned char>(k->plain);
    }
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (letter && (modifiers & kControlKey)) return static_cast<unsigned char>((c | 0x20) - 'a' + 1);
    if (letter && (modifiers & kShiftKey)) return static_cast<unsigned char>(c & ~0x20);
    if (letter) return static_cast<unsigned char>(c | 0x20);
    return c;
}

bool key_waits_for_text(uint8_t key_code, uint16_t modifiers) {
    if (is_modifier_key(key_code)) return false;
    if (special_key_char(key_code)) return false;
    return (modifiers & (kCmdKey | kControlKey)) == 0;
}

}  // namespace pf
