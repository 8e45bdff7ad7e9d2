// The Window menu's window items and the recent-documents entries.
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "../app/app_fixture.h"
#include "app/app_menus.h"
#include "app/required_events.h"
#include "shell/shell_commands.h"
#include "resource_ids.h"
#include "shell/file_menu.h"
#include "platform/resources/resource_format.h"
#include "platform/resources/resources.h"

namespace {

pf::WindowRef titled(const char* title) {
    pf::WindowRef w = pf::create_window(pf::kDocumentWindowClass, 0, pf::Rect{60, 10, 200, 300});
    pf::set_window_title(w, std::string(title));
    return w;
}

std::string item_text(int16_t item) { return pf::get_menu_item_text(pf::get_menu_handle(kWindowMenu), item); }

std::string entry_name(int i) {
    const unsigned char* name = app_prefs.items[i].name;
    return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
}

}  // namespace

struct AppMenus : AppTest {
    pf::FileSpec file(const std::string& name, bool create = true) {
        if (create) std::ofstream(home + "/" + name) << "1\n";
        pf::FileSpec spec;
        pf::file_spec_from_path(home + "/" + name, spec);
        return spec;
    }
};

TEST_F(AppMenus, AddingAListedWindowOnlyRenamesItsItem) {
    pf::WindowRef a = titled("First");
    AddToWindowMenu(a);
    pf::set_window_title(a, std::string("Renamed"));
    AddToWindowMenu(a);
    EXPECT_EQ(find_window_item(a), kFirstWindowItem);
    EXPECT_EQ(item_text(kFirstWindowItem), "Renamed");
    EXPECT_EQ(pf::count_menu_items(pf::get_menu_handle(kWindowMenu)), kFirstWindowItem);
    RemoveFromWindowMenu(a);
    pf::dispose_window(a);
}

TEST_F(AppMenus, RemovingTheMiddleWindowKeepsTheOthersInOrder) {
    pf::WindowRef a = titled("One"), b = titled("Two"), c = titled("Three");
    for (pf::WindowRef w : {a, b, c}) AddToWindowMenu(w);
    RemoveFromWindowMenu(b);
    EXPECT_EQ(item_text(8), "One");
    EXPECT_EQ(item_text(9), "Three");
    EXPECT_EQ(GetWindowMenuItem(b), 0);
    EXPECT_EQ(window_of_menu_item(9), c);
    for (pf::WindowRef w : {a, c}) RemoveFromWindowMenu(w);
    for (pf::WindowRef w : {a, b, c}) pf::dispose_window(w);
}

TEST_F(AppMenus, ChoosingAWindowItemBringsThatWindowForward) {
    DoFileMenu(nullptr, kFileNewItem);
    pf::WindowRef first = pf::front_non_floating_window();
    DoFileMenu(nullptr, kFileNewItem);
    MenuChoice choice{kWindowMenu, kFirstWindowItem};
    app_menu_proc(nullptr, 0, uintptr_t(&choice));
    EXPECT_EQ(pf::front_non_floating_window(), first);
}

// A collapsed window chosen from the menu is expanded, behind another window
// or already in front.
TEST_F(AppMenus, ChoosingACollapsedWindowExpandsIt) {
    DoFileMenu(nullptr, kFileNewItem);
    pf::WindowRef first = pf::front_non_floating_window();
    pf::collapse_window(first, true);
    DoFileMenu(nullptr, kFileNewItem);
    MenuChoice choice{kWindowMenu, kFirstWindowItem};
    app_menu_proc(nullptr, 0, uintptr_t(&choice));
    EXPECT_EQ(pf::front_non_floating_window(), first);
    EXPECT_FALSE(pf::window_collapsed(first));
    pf::collapse_window(first, true);
    app_menu_proc(nullptr, 0, uintptr_t(&choice));
    EXPECT_FALSE(pf::window_collapsed(first));
}

TEST_F(AppMenus, ARecentDocumentOpenedAgainMovesToTheTop) {
    const char* names[] = {"a.csv", "b.csv", "c.csv", "d.csv", "e.csv", "f.csv"};
    for (int i = 5; i >= 0; --i) {
        pf::FileSpec spec = file(names[i]);
        update_pref_specs(&spec, 1);
    }
    pf::FileSpec d = file("d.csv", false);
    update_pref_specs(&d, 1);
    std::vector<std::string> order;
    for (int i = 0; i < 6; ++i) order.push_back(entry_name(i));
    EXPECT_EQ(order, (std::vector<std::string>{"d.csv", "a.csv", "b.csv", "c.csv", "e.csv", "f.csv"}));
    pf::FileSpec g = file("g.csv");
    update_pref_specs(&g, 1);
    EXPECT_EQ(entry_name(0), "g.csv");
    EXPECT_EQ(entry_name(5), "e.csv");
}

TEST_F(AppMenus, AMissingRecentDocumentShowsAnErrorAndLeavesTheList) {
    pf::FileSpec kept = file("kept.csv");
    pf::FileSpec gone = file("gone.csv");
    update_pref_specs(&kept, 1);
    update_pref_specs(&gone, 1);
    std::filesystem::remove(home + "/gone.csv");
    open_special(0);
    EXPECT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(entry_name(0), "kept.csv");
    EXPECT_EQ(entry_name(1), "");
}

TEST_F(AppMenus, AnOpenDocumentIsFoundByItsFileNotByALookAlikeName) {
    write_document(home + "/R\xC3\xA9sum\xC3\xA9.qrv");
    write_document(home + "/Resume.qrv");
    pf::FileSpec accented = file("R\xC3\xA9sum\xC3\xA9.qrv", false);
    pf::FileSpec plain = file("Resume.qrv", false);
    ASSERT_EQ(AppOpenHandler(&accented), pf::noErr);
    EXPECT_EQ(is_file_open(&plain), 0);
    EXPECT_EQ(is_file_open(&accented), 1);
    ASSERT_EQ(AppOpenHandler(&plain), pf::noErr);
    int documents = 0;
    for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w)) documents += !pf::is_floating_window(w);
    EXPECT_EQ(documents, 2);
}

TEST_F(AppMenus, TheRecentDocumentsMenuListsTheEntriesAboveItsClearItem) {
    pf::FileSpec one = file("one.csv"), two = file("two.csv");
    update_pref_specs(&one, 1);
    update_pref_specs(&two, 1);
    pf::MenuRef menu = pf::get_menu_handle(kRecentMenu);
    ASSERT_EQ(pf::count_menu_items(menu), 4);
    EXPECT_EQ(pf::get_menu_item_text(menu, 1), "two.csv");
    EXPECT_EQ(pf::get_menu_item_text(menu, 2), "one.csv");
    open_special(3);  // the last item: Clear Menu
    EXPECT_EQ(pf::count_menu_items(menu), 2);
    EXPECT_EQ(entry_name(0), "");
}

// A recent document on a read-only disk opens read-only, as it does from the
// Open dialog, and keeps its entry. The disk is made read-only in a mount
// namespace of a child process, so nothing outside the test sees it.
TEST_F(AppMenus, ARecentDocumentOnAReadOnlyDiskOpensAndKeepsItsEntry) {
    pf::FileSpec kept = file("kept.csv");
    update_pref_specs(&kept, 1);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const char* folder = home.c_str();
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount(folder, folder, nullptr, MS_BIND, nullptr) != 0 ||
            mount(nullptr, folder, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            _exit(77);
        open_special(0);
        int documents = 0;
        for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w)) documents += !pf::is_floating_window(w);
        _exit(alert_requests().empty() && documents == 1 && entry_name(0) == "kept.csv" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the recent document did not open read-only";
}

// Command-minus and Command-equals belong to the Window menu's window items, and
// no two fixed items share a key: the first item found would take it from the other.
TEST_F(AppMenus, EveryKeyEquivalentChoosesOneItem) {
    std::map<std::pair<int, int>, std::string> owners;
    for (int16_t id : pf::resource_ids(pf::kMenuType)) {
        pf::MenuRef menu = pf::get_menu(id);
        ASSERT_NE(menu, nullptr) << id;
        for (const pf::MenuItem& item : menu->items) {
            if (!item.key) continue;
            const int key = (item.key >= 'a' && item.key <= 'z') ? item.key & 0xDF : item.key;
            EXPECT_NE(key, '-') << item.text << " takes the previous window's key";
            EXPECT_NE(key, '=') << item.text << " takes the next window's key";
            auto [at, fresh] = owners.emplace(std::pair{key, int(item.modifiers)}, item.text);
            EXPECT_TRUE(fresh) << item.text << " and " << at->second << " share a key";
        }
        pf::dispose_menu(menu);
    }
}
