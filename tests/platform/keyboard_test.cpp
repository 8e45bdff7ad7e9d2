#include "platform/events/events.h"
#include "platform/events/keyboard.h"

#include <gtest/gtest.h>

namespace {

// USB HID usages of the keys the tests name.
constexpr int kUsageA = 4, kUsageC = 6, kUsageQ = 20, kUsage1 = 30, kUsageReturn = 40, kUsageEscape = 41,
              kUsageBackspace = 42, kUsageTab = 43, kUsageSpace = 44, kUsagePeriod = 55, kUsageF1 = 58,
              kUsageF12 = 69, kUsageInsert = 73, kUsageHome = 74, kUsagePageUp = 75, kUsageDelete = 76,
              kUsageEnd = 77, kUsagePageDown = 78, kUsageRight = 79, kUsageLeft = 80, kUsageDown = 81,
              kUsageUp = 82, kUsageNumLock = 83, kUsageKeypadEnter = 88, kUsageKeypad5 = 93,
              kUsageLeftCtrl = 224, kUsageLeftShift = 225, kUsageLeftAlt = 226, kUsageLeftSuper = 227,
              kUsageRightCtrl = 228, kUsageRightAlt = 230;

TEST(KeyMapping, LinuxKeysGiveTheClassicKeyCodes) {
    struct Case { int usage; uint8_t code; } cases[] = {
        {kUsageA, 0},           {kUsageC, 8},            {kUsageQ, 12},          {kUsage1, 18},
        {kUsageReturn, 36},     {kUsageTab, 48},         {kUsageSpace, 49},      {kUsageBackspace, 51},
        {kUsageEscape, 53},     {kUsagePeriod, 47},      {kUsageLeftCtrl, 55},   {kUsageRightCtrl, 55},
        {kUsageLeftShift, 56},  {kUsageLeftAlt, 58},     {kUsageRightAlt, 61},   {kUsageLeftSuper, 59},
        {kUsageKeypadEnter, 76}, {kUsageKeypad5, 87},    {kUsageF1, 122},        {kUsageF12, 111},
        {kUsageInsert, 114},    {kUsageHome, 115},       {kUsagePageUp, 116},    {kUsageDelete, 117},
        {kUsageEnd, 119},       {kUsagePageDown, 121},   {kUsageLeft, 123},      {kUsageRight, 124},
        {kUsageDown, 125},      {kUsageUp, 126},         {kUsageNumLock, 71},
    };
    for (const Case& c : cases) EXPECT_EQ(pf::key_code_from_usb_usage(c.usage), c.code) << "usage " << c.usage;
    EXPECT_EQ(pf::key_code_from_usb_usage(9999), pf::kNoKeyCode);
}

TEST(KeyMapping, CtrlIsCommandAltIsOptionSuperIsControl) {
    EXPECT_EQ(pf::modifiers_from_host(pf::kHostCtrl), pf::kCmdKey);
    EXPECT_EQ(pf::modifiers_from_host(pf::kHostAlt), pf::kOptionKey);
    EXPECT_EQ(pf::modifiers_from_host(pf::kHostSuper), pf::kControlKey);
    EXPECT_EQ(pf::modifiers_from_host(pf::kHostShift | pf::kHostCapsLock), pf::kShiftKey | pf::kAlphaLock);
    EXPECT_EQ(pf::kCmdKey, 0x100);
    EXPECT_EQ(pf::kShiftKey, 0x200);
    EXPECT_EQ(pf::kAlphaLock, 0x400);
    EXPECT_EQ(pf::kOptionKey, 0x800);
    EXPECT_EQ(pf::kControlKey, 0x1000);
}

TEST(KeyMapping, NonPrintingKeysHaveTheirCharacters) {
    auto char_of = [](int usage) { return pf::special_key_char(pf::key_code_from_usb_usage(usage)); };
    EXPECT_EQ(char_of(kUsageHome), 1);
    EXPECT_EQ(char_of(kUsageKeypadEnter), 3);
    EXPECT_EQ(char_of(kUsageEnd), 4);
    EXPECT_EQ(char_of(kUsageInsert), 5);
    EXPECT_EQ(char_of(kUsageBackspace), 8);
    EXPECT_EQ(char_of(kUsageTab), 9);
    EXPECT_EQ(char_of(kUsagePageUp), 11);
    EXPECT_EQ(char_of(kUsagePageDown), 12);
    EXPECT_EQ(char_of(kUsageReturn), 13);
    EXPECT_EQ(char_of(kUsageF1), 16);
    EXPECT_EQ(char_of(kUsageEscape), 27);
    EXPECT_EQ(char_of(kUsageLeft), 28);
    EXPECT_EQ(char_of(kUsageRight), 29);
    EXPECT_EQ(char_of(kUsageUp), 30);
    EXPECT_EQ(char_of(kUsageDown), 31);
    EXPECT_EQ(char_of(kUsageDelete), 127);
    EXPECT_EQ(char_of(kUsageA), 0);  // typed through text input
}

TEST(KeyMapping, CommandAndControlKeysMakeTheirOwnCharacters) {
    uint8_t c = pf::key_code_from_usb_usage(kUsageC);
    EXPECT_EQ(pf::command_key_char(c, U'c', pf::kCmdKey), 'c');
    EXPECT_EQ(pf::command_key_char(c, U'c', pf::kCmdKey | pf::kShiftKey), 'C');
    EXPECT_EQ(pf::command_key_char(c, U'c', pf::kControlKey), 3);   // Control-C
    EXPECT_EQ(pf::command_key_char(0, U'a', pf::kControlKey), 1);
    EXPECT_EQ(pf::command_key_char(6, U'z', pf::kControlKey), 26);
    // The layout's letter wins over the key's US letter (an AZERTY 'a' on the Q key).
    EXPECT_EQ(pf::command_key_char(pf::key_code_from_usb_usage(kUsageQ), U'a', pf::kCmdKey), 'a');
    // Unknown layout character: the US character of the key; Command-period stays a period.
    EXPECT_EQ(pf::command_key_char(pf::kKeyCodePeriod, 0, pf::kCmdKey), '.');
    EXPECT_EQ(pf::command_key_char(pf::kKeyCodeLeftArrow, 0, pf::kCmdKey), pf::kLeftArrowChar);
}

TEST(KeyMapping, OnlyPlainAndOptionPrintingKeysWaitForText) {
    uint8_t a = pf::key_code_from_usb_usage(kUsageA);
    EXPECT_TRUE(pf::key_waits_for_text(a, 0));
    EXPECT_TRUE(pf::key_waits_for_text(a, pf::kShiftKey | pf::kOptionKey));
    EXPECT_FALSE(pf::key_waits_for_text(a, pf::kCmdKey));
    EXPECT_FALSE(pf::key_waits_for_text(a, pf::kControlKey));
    EXPECT_FALSE(pf::key_waits_for_text(pf::kKeyCodeReturn, 0));
    EXPECT_FALSE(pf::key_waits_for_text(pf::kKeyCodeShift, 0));
    EXPECT_TRUE(pf::key_waits_for_text(pf::kNoKeyCode, 0));
}

}  // namespace
