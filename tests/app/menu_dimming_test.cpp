// Menu items dimmed to fit what can be done: commands not built yet, the save
// commands of a document just saved, the recent-documents list, and every
// menu while a modal dialog is up.
#include <vector>

#include "app/app_menus.h"
#include "app/event_loop.h"
#include "editing/find_window.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "platform/appleevents/appleevents.h"
#include "platform/events/keyboard.h"
#include "platform/text/scripts.h"
#include "ui/app_prefs.h"
#include "window/entry_line.h"
#include "tests/app/attended_fixture.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

constexpr int16_t kBarMenus[] = {129, 130, 131, 132, 133, 135, 136, 134};

// The enabling the menu bar shows, as a click on it would find it.
bool item_enabled(int16_t menu, int16_t item) {
    enable_menus();
    return pf::is_menu_item_enabled(pf::get_menu_handle(menu), item);
}

pf::WindowRef new_document() {
    DoFileMenu(nullptr, kFileNewItem);
    return pf::front_non_floating_window();
}

}  // namespace

TEST_F(AppTest, TheSettingsMenuOffersPreferencesAndTheCommandBarCommands) {
    new_document();
    run_until_idle();
    for (int16_t item : {1, 3, 4}) EXPECT_TRUE(item_enabled(kPrefsMenu, item)) << item;
}

TEST_F(AppTest, SaveAndRevertAreDimmedRightAfterASaveAndTheFileIsRecent) {
    pf::WindowRef window = new_document();
    ASSERT_NE(window, nullptr);
    pf::driver_type("12");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    run_until_idle();
    EXPECT_TRUE(item_enabled(kFileMenu, kFileSaveItem));
    EXPECT_FALSE(item_enabled(kFileMenu, kFileRevertItem));  // never saved

    std::string path = home + "/kept.qrv";
    pf::FileSpec spec;
    pf::file_spec_from_path(path, spec);
    MemoryRef layer = GetSheetRef(window);
    ASSERT_EQ(save_workbook_file(layer, kWholeWorkbook, spec, kFormatNative, false, true), 0);
    run_until_idle();
    EXPECT_FALSE(item_enabled(kFileMenu, kFileSaveItem));
    EXPECT_FALSE(item_enabled(kFileMenu, kFileRevertItem));
    EXPECT_EQ(pf::get_menu_item_text(pf::get_menu_handle(kRecentMenu), 1), "kept.qrv");  // before the window closes
}

TEST_F(AppTest, ClearMenuIsDimmedWhileNoDocumentIsRecent) {
    pf::MenuRef recent = pf::get_menu_handle(kRecentMenu);
    ASSERT_NE(recent, nullptr);
    int16_t clear = pf::count_menu_items(recent);
    EXPECT_FALSE(pf::is_menu_item_enabled(recent, clear));
    std::string path = home + "/one.qrv";
    write_document(path);
    pf::FileSpec spec;
    pf::file_spec_from_path(path, spec);
    update_pref_specs(&spec, 1);
    clear = pf::count_menu_items(recent);
    EXPECT_TRUE(pf::is_menu_item_enabled(recent, clear));
    open_special(clear - 1);  // the Clear item, counted from 0
    EXPECT_FALSE(pf::is_menu_item_enabled(recent, pf::count_menu_items(recent)));
}

// A recent document whose name Mac Roman cannot spell is listed as it reads,
// in the font of its script, never as question marks.
TEST_F(AppTest, RecentDocumentsAreNamedInTheirScripts) {
    const std::string moscow = "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0";  // "Москва"
    std::string path = home + "/" + moscow + ".qrv";
    write_document(path);
    pf::FileSpec spec;
    pf::file_spec_from_path(path, spec);
    update_pref_specs(&spec, 1);
    pf::MenuRef recent = pf::get_menu_handle(kRecentMenu);
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(pf::get_menu_item_text(recent, 1), moscow + ".qrv");
    EXPECT_TRUE(pf::menu_item(recent, 1)->utf8);
}

namespace {

std::vector<int16_t> titles_enabled_under_dialog;
bool dialog_seen = false;
int16_t title_hilited_under_dialog = 0;

// Once the dialog is up: notes which menu titles are enabled, then Escape
// (and Return for an alert with OK alone).
void note_titles_then_escape() {
    pf::compose_screen();
    if (!dialog_seen && pf::is_modal_window(pf::front_window())) {
        dialog_seen = true;
        title_hilited_under_dialog = pf::hilited_menu();
        for (int16_t id : kBarMenus)
            if (pf::get_menu_handle(id)->enabled) titles_enabled_under_dialog.push_back(id);
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // an alert with OK alone
    }
    dialogtest::guarded_compose_step();
}

using ModalMenus = AttendedTest;

}  // namespace

TEST_F(ModalMenus, EveryMenuTitleIsDimmedWhileADialogAnAlertOrAFileDialogIsUp) {
    new_document();
    run_until_idle();
    pf::host_set_composer(note_titles_then_escape);
    const std::vector<std::pair<const char*, void (*)()>> modal_windows = {
        {"Insert dialog", [] { pf::driver_key(34, 'i', pf::kCmdKey | pf::kShiftKey); }},
        {"Open dialog", [] { pf::driver_key(31, 'o', pf::kCmdKey); }},
        {"alert", [] { error_alert(kErrorStrings, 9); }},
    };
    for (const auto& [what, show] : modal_windows) {
        titles_enabled_under_dialog.clear();
        dialog_seen = false;
        SCOPED_TRACE(what);
        show();
        run_until_idle();
        EXPECT_TRUE(dialog_seen) << what;
        EXPECT_TRUE(titles_enabled_under_dialog.empty()) << what << ": " << titles_enabled_under_dialog.front();
        EXPECT_TRUE(pf::get_menu_handle(kFileMenu)->enabled) << what;  // back after the dialog
    }
}

// Closing the last document dims the menus that need one right away, as the
// menu bar shows them, without waiting for a click in the bar.
TEST_F(AppTest, ClosingTheLastDocumentDimsTheDocumentMenusAtOnce) {
    constexpr int16_t kDocumentMenus[] = {131, 132, 133, 135, 136};
    new_document();
    run_until_idle();
    enable_menus();
    for (int16_t id : kDocumentMenus) ASSERT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(id), 0)) << id;
    DoFileMenu(nullptr, kFileCloseItem);
    run_until_idle();
    ASSERT_EQ(pf::front_non_floating_window(), nullptr);
    for (int16_t id : kDocumentMenus) EXPECT_FALSE(pf::is_menu_item_enabled(pf::get_menu_handle(id), 0)) << id;
}

// The next document after none lights those menus again at once, and the entry
// line keeps nothing of the closed document in between.
TEST_F(AppTest, ANewDocumentAfterTheLastClosedLightsTheDocumentMenusAtOnce) {
    constexpr int16_t kDocumentMenus[] = {131, 132, 133, 135, 136};
    const std::string path = home + "/shown.qrv";
    write_document(path);
    const char* arguments[] = {"quorvin", path.c_str()};
    ASSERT_EQ(pf::ae_post_launch_event(2, arguments), pf::noErr);
    run_until_idle();
    unsigned char text[64];
    ASSERT_GT(entry_text(text, sizeof text), 0);  // A1 of the document
    DoFileMenu(nullptr, kFileCloseItem);
    run_until_idle();
    ASSERT_EQ(pf::front_non_floating_window(), nullptr);
    EXPECT_EQ(entry_text(text, sizeof text), 0);
    new_document();
    run_until_idle();
    for (int16_t id : kDocumentMenus) EXPECT_TRUE(pf::get_menu_handle(id)->enabled) << id;
}

TEST_F(ModalMenus, NoMenuTitleStaysHighlightedUnderTheDialogOrQuestionOfACommand) {
    new_document();
    run_until_idle();
    pf::driver_type("x");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    run_until_idle();
    pf::host_set_composer(note_titles_then_escape);
    const std::vector<std::pair<const char*, void (*)()>> commands = {
        {"Insert dialog", [] { pf::driver_key(34, 'i', pf::kCmdKey | pf::kShiftKey); }},
        {"save question of Close", [] { pf::driver_key(13, 'w', pf::kCmdKey); }},
    };
    for (const auto& [what, give] : commands) {
        dialog_seen = false;
        title_hilited_under_dialog = -1;
        SCOPED_TRACE(what);
        give();
        run_until_idle();
        EXPECT_TRUE(dialog_seen);
        EXPECT_EQ(title_hilited_under_dialog, 0);
        EXPECT_EQ(pf::hilited_menu(), 0);
    }
}

// A dialog put up with no document open gives back the menus as they were: the
// ones that need a document stay dimmed once it is gone.
TEST_F(ModalMenus, ADialogClosedWithNoDocumentLeavesTheDocumentMenusDimmed) {
    constexpr int16_t kDocumentMenus[] = {131, 132, 133, 135, 136};
    ASSERT_EQ(pf::front_non_floating_window(), nullptr);
    pf::host_set_composer(note_titles_then_escape);
    dialog_seen = false;
    error_alert(kErrorStrings, 9);
    run_until_idle();
    ASSERT_TRUE(dialog_seen);
    EXPECT_TRUE(pf::get_menu_handle(kFileMenu)->enabled);
    for (int16_t id : kDocumentMenus) EXPECT_FALSE(pf::get_menu_handle(id)->enabled) << id;
}

// With the Find window in front, Close closes it and leaves the document open.
TEST_F(AppTest, CloseWithTheFindWindowInFrontClosesThatWindow) {
    pf::WindowRef document = new_document();
    run_until_idle();
    open_find_dialog();
    run_until_idle();
    ASSERT_NE(find_wind, nullptr);
    ASSERT_TRUE(is_find_window(pf::front_non_floating_window()));
    EXPECT_TRUE(item_enabled(kFileMenu, kFileCloseItem));
    DoFileMenu(nullptr, kFileCloseItem);
    run_until_idle();
    EXPECT_EQ(find_wind, nullptr);
    EXPECT_EQ(pf::front_non_floating_window(), document);
}

// Close, Save and Save As need a document window: the menu bar shows them
// dimmed from start-up until one opens, and again as soon as the last closes.
TEST_F(AppTest, CloseSaveAndSaveAsWaitForADocumentWindow) {
    run_until_idle();
    ASSERT_EQ(pf::front_non_floating_window(), nullptr);
    for (int16_t item : {kFileCloseItem, kFileSaveItem, kFileSaveAsItem})
        EXPECT_FALSE(pf::is_menu_item_enabled(pf::get_menu_handle(kFileMenu), item)) << item;
    new_document();
    run_until_idle();
    EXPECT_TRUE(item_enabled(kFileMenu, kFileCloseItem));
    EXPECT_TRUE(item_enabled(kFileMenu, kFileSaveAsItem));
    DoFileMenu(nullptr, kFileCloseItem);
    run_until_idle();
    for (int16_t item : {kFileCloseItem, kFileSaveItem, kFileSaveAsItem})
        EXPECT_FALSE(pf::is_menu_item_enabled(pf::get_menu_handle(kFileMenu), item)) << item;
}
