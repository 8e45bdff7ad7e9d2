#include "platform/system/system.h"

#include "platform/events/events.h"
#include "platform/events/input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

pf::FourCC code(const char* s) {
    return (pf::FourCC(uint8_t(s[0])) << 24) | (pf::FourCC(uint8_t(s[1])) << 16) | (pf::FourCC(uint8_t(s[2])) << 8) |
           pf::FourCC(uint8_t(s[3]));
}

TEST(Capabilities, TheStartUpQueries) {
    struct Case {
        const char* selector;
        int32_t expected;
    };
    const Case present[] = {{"sysv", 0x1040}, {"scr#", 8}, {"evnt", 3}, {"apvr", 0x110}, {"sysa", 2}};
    for (const Case& c : present) {
        int32_t response = -1;
        EXPECT_EQ(pf::query_capability(code(c.selector), response), pf::noErr) << c.selector;
        EXPECT_EQ(response, c.expected) << c.selector;
    }
    int32_t response = 0;
    for (const char* present_selector : {"help", "ascr", "appr", "cbon", "tsmv", "tmTE"}) {
        EXPECT_EQ(pf::query_capability(code(present_selector), response), pf::noErr) << present_selector;
        EXPECT_GT(response, 0) << present_selector;
    }
    ASSERT_EQ(pf::query_capability(pf::four_cc("cbon"), response), pf::noErr);
    EXPECT_GT(response, 0x103);  // the newer toolbox
    for (const char* absent : {"qdgx", "pmgr", "xlat", "qtim", "ttsc", "zzzz"}) {
        EXPECT_EQ(pf::query_capability(code(absent), response), pf::kCapabilityUnknownErr) << absent;
    }
}

TEST(Processes, ThisProgramAndTheDesktop) {
    pf::ProcessSerialNumber desktop, self;
    EXPECT_EQ(pf::find_process(pf::kDesktopSignature, desktop), pf::noErr);
    EXPECT_EQ(pf::find_process(pf::kApplicationSignature, self), pf::noErr);
    EXPECT_EQ(self, pf::current_process());
    EXPECT_FALSE(desktop == self);
    EXPECT_EQ(pf::find_process(pf::four_cc("XCEL"), self), pf::kProcessNotFoundErr);

    pf::input_focus(false);
    EXPECT_EQ(pf::front_process(), desktop);
    pf::input_focus(true);
    EXPECT_EQ(pf::front_process(), pf::current_process());
    pf::events_reset();
    EXPECT_EQ(pf::set_front_process(desktop), pf::noErr);
    EXPECT_EQ(pf::set_front_process({7, 7}), pf::kProcessNotFoundErr);
}

std::vector<const pf::NotificationRequest*> g_notified;
void record_notification(const pf::NotificationRequest* r) { g_notified.push_back(r); }

TEST(Services, NotificationStaysUntilRemoved) {
    g_notified.clear();
    pf::set_notification_proc(record_notification);
    pf::install_notification({8, 1, 128});
    ASSERT_NE(pf::pending_notification(), nullptr);
    EXPECT_EQ(pf::pending_notification()->icon_id, 128);
    pf::remove_notification();
    EXPECT_EQ(pf::pending_notification(), nullptr);
    ASSERT_EQ(g_notified.size(), 2u);
    EXPECT_NE(g_notified[0], nullptr);
    EXPECT_EQ(g_notified[1], nullptr);
    pf::set_notification_proc(nullptr);
}

TEST(Services, HelpDelayIsKept) {
    int32_t saved = pf::help_tag_delay();
    pf::set_help_tag_delay(20);
    EXPECT_EQ(pf::help_tag_delay(), 20);
    pf::set_help_tag_delay(saved);
}

std::vector<std::string> g_opened;
pf::OSErr record_opening(const std::string& target) {
    g_opened.push_back(target);
    return pf::noErr;
}

TEST(Services, OpenerTakesOnlyAddressesAndAbsolutePaths) {
    g_opened.clear();
    pf::set_desktop_opener(record_opening);
    EXPECT_EQ(pf::open_url("https://example.org/help?a=1&b=2"), pf::noErr);
    EXPECT_EQ(pf::open_url("mailto:support@example.org"), pf::noErr);
    EXPECT_EQ(pf::open_with_desktop("/home/user/My Documents; rm -rf"), pf::noErr);  // one argument, no shell
    EXPECT_EQ(pf::open_url("--help"), -50);
    EXPECT_EQ(pf::open_url("javascript:alert(1)"), -50);
    EXPECT_EQ(pf::open_url("https://x\n-y"), -50);
    EXPECT_EQ(pf::open_with_desktop("relative/folder"), -50);
    EXPECT_EQ(pf::open_with_desktop("-x"), -50);
    pf::set_desktop_opener(nullptr);
    EXPECT_EQ(g_opened, (std::vector<std::string>{"https://example.org/help?a=1&b=2", "mailto:support@example.org",
                                                  "/home/user/My Documents; rm -rf"}));
}

}  // namespace
