// The command bar in the running program: opened at start-up with the shown
// bar's buttons, the message area's texts and progress bar, switching bars,
// the bar pop-up rebuilt on each use, and pictures of every factory bar.
#include <filesystem>

#include "../app/app_fixture.h"
#include "app/event_loop.h"
#include "model/cell_range.h"
#include "model/layer.h"
#include "platform/screen/cursor.h"
#include "platform/screen/screen.h"
#include "ui/app_prefs.h"
#include "shell/button_bars.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "shell/shell_commands.h"
#include "ui/screen_geometry.h"
#include "window/entry_line.h"

namespace {

// The screen as presented now, written to the screenshots folder.
bool write_screen(const std::string& name) {
    pf::host_present();
    std::filesystem::path folder = std::filesystem::path(QUORVIN_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    return pf::screen_write_png((folder / name).string());
}

struct CommandBarTest : AppTest {
    void SetUp() override {
        forget_command_bar();
        AppTest::SetUp();
    }

    // One idle pass of the application: the buttons are brought up to date.
    void refresh() {
        app_prefs.options2 |= kPrefRefreshButtons;
        command_idle();
        run_until_idle();
    }
};

TEST_F(CommandBarTest, OpensAtStartUpWithTheFirstBar) {
    refresh();
    ASSERT_NE(IconBar, nullptr);
    ASSERT_TRUE(has_current_bar);
    EXPECT_FALSE(current_bar.buttons.empty());
    pf::Rect content = pf::window_content_rect(IconBar);
    EXPECT_GE(content.right - content.left, 500);
    EXPECT_GE(content.bottom - content.top, 45);
    EXPECT_TRUE(write_screen("command_bar_start.png"));
}

TEST_F(CommandBarTest, ASavedPlaceOffEveryScreenGivesTheTopLeftCorner) {
    pf::Rect first = pf::window_content_rect(IconBar);
    CloseTaskFromWindow(IconBar);
    ASSERT_EQ(IconBar, nullptr);
    app_prefs.palette_positions[kCommandBarPosition] = pf::Point{-900, 5000};
    ASSERT_NE(MakeIconWindow(), nullptr);
    pf::Rect content = pf::window_content_rect(IconBar);
    EXPECT_EQ(content.top, first.top);
    EXPECT_EQ(content.left, first.left);
    EXPECT_LT(content.left, 30);
    app_prefs.palette_positions[kCommandBarPosition] = pf::Point{200, 150};
    CloseTaskFromWindow(IconBar);
    // Closing keeps the place it had; a place on the screen is used as it is.
    EXPECT_EQ(app_prefs.palette_positions[kCommandBarPosition], (pf::Point{content.top, content.left}));
    app_prefs.palette_positions[kCommandBarPosition] = pf::Point{200, 150};
    MakeIconWindow();
    EXPECT_EQ(pf::window_content_rect(IconBar).top, 200);
    EXPECT_EQ(pf::window_content_rect(IconBar).left, 150);
}

TEST_F(CommandBarTest, EveryFactoryBarPictured) {
    DoCommand(code_value("newd"));
    for (size_t bar = 1; bar <= button_list.size(); ++bar) {
        switch_bars(int16_t(bar));
        refresh();
        EXPECT_TRUE(write_screen("command_bar_" + std::to_string(bar) + ".png"));
    }
}

TEST_F(CommandBarTest, MessageAreaShowsSelectionAndProgress) {
    CellRange range{{1, 1}, {5, 3}};
    DisplaySelection(&range);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(cmd_msg + 1), cmd_msg[0]), "3C x 5R");
    EXPECT_TRUE(write_screen("command_bar_selection.png"));
    draw_progress(0, 10);
    draw_progress(4, 10);
    EXPECT_TRUE(write_screen("command_bar_progress.png"));
}

}  // namespace

#include "platform/dialogs/dialogs.h"
#include "platform/menus/menus.h"
#include "shell/command_codes.h"
#include "shell/menu_enabling.h"
#include "shell/splash_about.h"
#include "platform/draw/text.h"
#include "window/selection_tracking.h"

namespace {

bool item_enabled(int16_t menu, int16_t item) { return pf::is_menu_item_enabled(pf::get_menu_handle(menu), item); }
bool menu_enabled(int16_t menu) { return pf::get_menu_handle(menu)->enabled; }

// The menus enabled as for the window in front.
void hilite_menus_for(WindowRef window) {
    TaskRecord task;
    get_task_from_window(window, &task);
    MenuHiliteProc(nullptr, task.app_ref, uintptr_t(window));
}

WindowRef new_document(CommandBarTest& test) {
    DoCommand(code_value("newd"));
    test.run_until_idle();
    return wxFrontNonFloatingWindow();
}

const ButtonRecord* shown_button(const char* code) {
    for (const ButtonRecord& b : current_bar.buttons) {
        if (b.command == code_value(code)) return &b;
    }
    return nullptr;
}

TEST_F(CommandBarTest, ClickingTheNewButtonOpensADocument) {
    refresh();
    EXPECT_EQ(wxFrontNonFloatingWindow(), nullptr);
    const ButtonRecord* button = shown_button("newd");
    ASSERT_NE(button, nullptr);
    pf::Rect content = pf::window_content_rect(IconBar);
    pf::driver_click(pf::Point{int16_t(content.top + button->rect.top + 8), int16_t(content.left + button->rect.left + 8)});
    run_until_idle();
    EXPECT_NE(wxFrontNonFloatingWindow(), nullptr);
    EXPECT_EQ(gLastCommand, code_value("newd"));
}

// A document's window sets the buttons as it opens: no moment passes in which
// they still show the state of the bar without a document.
TEST_F(CommandBarTest, TheButtonsFollowADocumentAsItsWindowOpens) {
    refresh();
    ASSERT_EQ(shown_button("bold")->state, kButtonDisabled);  // no document
    DoCommand(code_value("newd"));
    ASSERT_NE(wxFrontNonFloatingWindow(), nullptr);
    EXPECT_EQ(shown_button("bold")->state, kButtonEnabled);
    EXPECT_EQ(shown_button("save")->state, kButtonDisabled);  // nothing to save yet
    EXPECT_EQ(shown_button("undo")->state, kButtonDisabled);
    EXPECT_EQ(shown_button("bold")->drawn_state, kButtonEnabled);
}

TEST_F(CommandBarTest, ADisabledButtonRunsNothing) {
    refresh();
    const ButtonRecord* button = shown_button("save");
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(button->state, kButtonDisabled);
    gLastCommand = 0;
    pf::Rect content = pf::window_content_rect(IconBar);
    pf::driver_click(pf::Point{int16_t(content.top + button->rect.top + 8), int16_t(content.left + button->rect.left + 8)});
    run_until_idle();
    EXPECT_EQ(gLastCommand, 0u);
}

TEST_F(CommandBarTest, ThePreferencesCodeOpensTheDialogWithoutABeep) {
    new_document(*this);
    const int beeps = pf::beep_count();
    const int16_t panel = app_prefs.prefs_panel;
    DoCommand(code_value("prfd"));  // unattended: the dialog is cancelled at once
    EXPECT_EQ(pf::beep_count(), beeps);
    EXPECT_EQ(app_prefs.prefs_panel, panel);
}

// The codes that act on the selection, run with no document and with one:
// each reaches its handler or stand-in without harm.
TEST_F(CommandBarTest, SelectionCommandsRunWithAndWithoutADocument) {
    const char* codes[] = {"undo", "redo", "cut ", "copy", "past", "delo", "fild", "filr", "filu", "filL",
                           "plan", "bold", "ital", "undl", "outl", "shad", "cond", "pexp", "jdef", "left",
                           "cent", "rght", "full", "genl", "scie", "perc", "ffor", "trfa", "frac", "coma",
                           "hzer", "pren", "incd", "decd", "txlr", "txsm", "asum", "delc", "delr", "insc",
                           "insr", "srta", "srtd", "prot", "op**", "op<=", "op,,", "copt", "cloa", "zzzz"};
    for (int with_document = 0; with_document < 2; ++with_document) {
        if (with_document) ASSERT_NE(new_document(*this), nullptr);
        for (const char* code : codes) {
            EXPECT_EQ(DoCommand(code_value(code)), 0) << code;
            EXPECT_EQ(gLastCommand, code_value(code));
            run_until_idle();
        }
    }
}

TEST_F(CommandBarTest, ProtectionWithoutADocumentAsksTheDefaultFormat) {
    ASSERT_EQ(wxFrontNonFloatingWindow(), nullptr);
    DoCommand(code_value("prot"));
    EXPECT_EQ(gLastCommand, code_value("prot"));
}

TEST_F(CommandBarTest, TheQuitCodeQuitsAsTheMenuCommandDoes) {
    DoCommand(code_value("quit"));
    run_until_idle();
    EXPECT_TRUE(task_quit_flag());
    EXPECT_EQ(IconBar, nullptr);
    EXPECT_NE(app_prefs.palette_positions[kCommandBarPosition], (pf::Point{0, 0}));
}

TEST_F(CommandBarTest, AboutIsOfferedWhetherOrNotADocumentIsOpen) {
    enable_menus();
    EXPECT_TRUE(item_enabled(kAppleMenu, kAppAboutItem));
    new_document(*this);
    enable_menus();
    EXPECT_TRUE(item_enabled(kAppleMenu, kAppAboutItem));
}

TEST_F(CommandBarTest, MenusWithoutADocument) {
    MenuHiliteProc(nullptr, 0, 0);
    for (int16_t item = 1; item <= 3; ++item) EXPECT_TRUE(item_enabled(129, item)) << item;
    for (int16_t item : {4, 6, 7, 17}) EXPECT_FALSE(item_enabled(129, item)) << item;
    for (int16_t item = 4; item <= 7; ++item) EXPECT_TRUE(item_enabled(130, item)) << item;
    EXPECT_FALSE(item_enabled(kEditMenu, kEditUndoItem));
    EXPECT_FALSE(item_enabled(kEditMenu, kEditFindItem));
    for (int16_t menu : {131, 132, 133, 135, 136}) EXPECT_FALSE(menu_enabled(menu)) << menu;
    EXPECT_TRUE(menu_enabled(kAppleMenu));
}

TEST_F(CommandBarTest, MenusOfAnUnsavedNewDocument) {
    WindowRef window = new_document(*this);
    ASSERT_NE(window, nullptr);
    hilite_menus_for(window);
    EXPECT_TRUE(item_enabled(kFileMenu, kFileNewItem));
    EXPECT_TRUE(item_enabled(kFileMenu, kFileCloseItem));
    EXPECT_FALSE(item_enabled(kFileMenu, kFileRevertItem));
    EXPECT_FALSE(item_enabled(kFileMenu, kFileSaveItem));
    for (int16_t menu : {131, 132, 133, 136}) EXPECT_TRUE(menu_enabled(menu)) << menu;
}

// Customize Command Bar is offered under File > Settings whenever the View
// menu offers it: with a document, also after a start without one.
TEST_F(CommandBarTest, CustomizeCommandBarFollowsOneRuleInBothMenus) {
    MenuHiliteProc(nullptr, 0, 0);
    EXPECT_FALSE(item_enabled(kPrefsMenu, kSettingsCustomizeBarItem));
    WindowRef window = new_document(*this);
    ASSERT_NE(window, nullptr);
    hilite_menus_for(window);
    EXPECT_TRUE(item_enabled(kViewMenu, kViewCustomizeItem));
    EXPECT_TRUE(item_enabled(kPrefsMenu, kSettingsCustomizeBarItem));
    EXPECT_TRUE(item_enabled(kPrefsMenu, kSettingsSaveBarItem));
}

// Over the entry line the pointer is the text cursor, also while a cell is typed.
TEST_F(CommandBarTest, TheEntryLineShowsTheTextCursorWhileACellIsTyped) {
    ASSERT_NE(new_document(*this), nullptr);
    const pf::Rect content = pf::window_content_rect(IconBar);
    const pf::Point over_entry{int16_t(content.top + edit_rect.top + 8),
                               int16_t(content.left + edit_rect.left + 40)};
    pf::driver_move(over_entry);
    run_until_idle();
    EXPECT_EQ(current_cursor_id(), kTextCursor);
    pf::driver_type("12");
    pf::driver_move(pf::Point{int16_t(over_entry.v + 1), over_entry.h});
    run_until_idle();
    ASSERT_NE(Editor_Wind, nullptr);
    EXPECT_EQ(current_cursor_id(), kTextCursor);
}

TEST_F(CommandBarTest, WindowMenuKeysStepThroughTheWindows) {
    WindowRef first = new_document(*this);
    WindowRef second = new_document(*this);
    WindowRef third = new_document(*this);
    ASSERT_TRUE(first && second && third);
    pf::MenuRef menu = pf::get_menu_handle(kWindowMenu);
    auto keys = [menu] {
        std::string k;
        for (int16_t i = 8; i <= 10; ++i) k += pf::get_item_key(menu, i) ? char(pf::get_item_key(menu, i)) : '.';
        return k;
    };
    auto hilite = [](WindowRef w) {
        pf::select_window(w);
        hilite_menus_for(w);
    };
    hilite(second);
    EXPECT_EQ(keys(), "-.=");
    hilite(first);
    EXPECT_EQ(keys(), ".=-");
    hilite(third);
    EXPECT_EQ(keys(), "=-.");
}

TEST_F(CommandBarTest, ModalDialogsDisableEveryButtonAndThePreferencesAndQuit) {
    refresh();
    ASSERT_EQ(shown_button("newd")->state, kButtonEnabled);
    DialogMenubar(0, 0);
    for (const ButtonRecord& b : current_bar.buttons) EXPECT_EQ(b.state, kButtonDisabled);
    pf::MenuRef menu;
    int16_t item;
    ASSERT_TRUE(pf::get_index_menu_item_with_command_id(pf::four_cc("quit"), 1, &menu, &item));
    EXPECT_FALSE(pf::is_menu_item_enabled(menu, item));
    EXPECT_FALSE(menu_enabled(kFileMenu));
    DialogMenubar(1, 0);
    EXPECT_TRUE(app_prefs.options2 & kPrefRefreshButtons);
    EXPECT_TRUE(menu_enabled(kFileMenu));
    EXPECT_FALSE(pf::is_menu_item_enabled(pf::get_menu_handle(kFileMenu), kFileCloseItem))
        << "a dialog's end enables no command that stays dimmed: Close with no document";
}

TEST_F(CommandBarTest, BarMenuListsEachBarOnceHoweverOftenItIsShown) {
    pf::MenuRef menu = pf::get_menu(265);
    ASSERT_NE(menu, nullptr);
    fill_bar_menu(menu);
    int16_t count = pf::count_menu_items(menu);
    fill_bar_menu(menu);
    EXPECT_EQ(pf::count_menu_items(menu), count);
    EXPECT_EQ(count, int16_t(3 + button_list.size()));
    EXPECT_EQ(pf::get_menu_item_text(menu, 5), "Formatting");
    EXPECT_EQ(pf::get_item_mark(menu, 4), pf::kCheckMark);
    pf::dispose_menu(menu);
}

TEST_F(CommandBarTest, BarSwitchArrowsWrapAround) {
    pf::Rect content = pf::window_content_rect(IconBar);
    ASSERT_EQ(app_prefs.bar_shown, 0);
    pf::driver_click(pf::Point{int16_t(content.top + 5), int16_t(content.left + 3)});
    run_until_idle();
    EXPECT_EQ(app_prefs.bar_shown, int16_t(button_list.size() - 1));
    pf::driver_click(pf::Point{int16_t(content.top + 5), int16_t(content.left + 14)});
    run_until_idle();
    EXPECT_EQ(app_prefs.bar_shown, 0);
}

TEST_F(CommandBarTest, MessageTexts) {
    unsigned char text[256];
    selection_size_text(CellRange{{0, 1}, {kLastCell, 3}}, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "3C");
    selection_size_text(CellRange{{1, 0}, {5, kLastCell}}, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "5R");
    Display_WidthHeight(120, 18);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(cmd_msg + 1), cmd_msg[0]), "120W x 18H");
    // A message longer than the area keeps its first 31 characters.
    get_cmd_msg(16);
    unsigned char long_text[64] = {40};
    std::fill(long_text + 1, long_text + 41, 'x');
    draw_cmd_msg(long_text, 0);
    EXPECT_EQ(cmd_msg[0], 31);
}

TEST_F(CommandBarTest, ProgressNeverDividesByAnEmptyTotal) {
    EXPECT_EQ(progress_percent(0, 0), 100);
    EXPECT_EQ(progress_percent(5, 0), 0);
    EXPECT_EQ(progress_percent(1, 3), 33);
    EXPECT_EQ(progress_percent(7, 5), 100);
    EXPECT_EQ(progress_percent(2000000000, 2100000000), 95);
    draw_progress(5, 0);
    EXPECT_EQ(cmd_msg[0], 1);
}

TEST_F(CommandBarTest, ReferenceOfTheActiveCell) {
    WindowRef window = new_document(*this);
    ASSERT_NE(window, nullptr);
    MemoryRef layer = doc_window_layer(reinterpret_cast<MemoryRef>(GetTaskAppRef(window)));
    ASSERT_NE(layer, nullptr);
    SpreadSheet* sheet = use_layer(layer);
    sheet->active_cell = CellPoint{11, 27};
    release_layer(layer);
    DisplayRange(layer);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(cmd_msg + 1), cmd_msg[0]), "AB12");
    refresh();
    DisplayRange(layer);
    EXPECT_TRUE(write_screen("command_bar_reference.png"));
}

std::string message() { return std::string(reinterpret_cast<char*>(cmd_msg + 1), cmd_msg[0]); }

TEST_F(CommandBarTest, TheReferenceBoxNamesTheCellOfAClickAndOfTheWindowInFront) {
    WindowRef first = new_document(*this);
    ASSERT_NE(first, nullptr);
    MemoryRef layer = doc_window_layer(reinterpret_cast<MemoryRef>(GetTaskAppRef(first)));
    CellPoint last{-1, -1};
    LSelect(CellPoint{2, 1}, nullptr, nullptr, 0, layer);
    SelectIt(&last, CellPoint{2, 1}, layer);  // a click that does not drag
    EXPECT_EQ(message(), "B3");
    SelectIt(&last, CellPoint{4, 2}, layer);
    EXPECT_EQ(message(), "2C x 3R");

    // Another layer in the window shows its own cell.
    MemoryRef record = reinterpret_cast<MemoryRef>(GetTaskAppRef(first));
    MemoryRef added = nullptr;
    ASSERT_EQ(New_SpreadSheet(&quorvin_rsrv, doc_window_workbook(record), &added, 0, nullptr), 0);
    SpreadSheet* sheet = use_layer(added);
    sheet->active_cell = CellPoint{4, 3};
    release_layer(added);
    select_layer(record, 1);
    EXPECT_EQ(message(), "D5");

    // A new window shows its cell, also while the mouse rests on the window behind.
    pf::driver_move(visible_point(first));
    run_until_idle();
    WindowRef second = new_document(*this);
    ASSERT_NE(second, first);
    EXPECT_EQ(message(), "A1");
}

// Wherever the mouse rests but over the command bar (the menu bar after a menu
// was dismissed, a palette, a window's frame), the box names the front
// document's cell: never blank, never a button's help left behind, and it
// follows a selection made without the mouse.
TEST_F(CommandBarTest, TheReferenceBoxNamesTheCellWhereverTheMouseRestsButTheBar) {
    WindowRef window = new_document(*this);
    ASSERT_NE(window, nullptr);
    MemoryRef layer = doc_window_layer(reinterpret_cast<MemoryRef>(GetTaskAppRef(window)));
    const pf::Point on_menu_bar{5, 300};
    get_cmd_msg(19);  // a button's help, as the mouse passed over it
    pf::driver_move(on_menu_bar);
    run_until_idle();
    EXPECT_EQ(message(), "A1");
    LSelect(CellPoint{2, 3}, nullptr, nullptr, 0, layer);
    run_until_idle();
    EXPECT_EQ(message(), "D3");
    const pf::Rect title = pf::window_struct_rect(window);
    get_cmd_msg(19);
    pf::driver_move(pf::Point{int16_t(title.top + 4), int16_t(title.left + 40)});
    run_until_idle();
    EXPECT_EQ(message(), "D3");
}

TEST_F(CommandBarTest, AFinishedTaskGivesTheReferenceBoxBack) {
    WindowRef window = new_document(*this);
    ASSERT_NE(window, nullptr);
    SheetWaitProc(nullptr, 1, 0, 10);
    SheetWaitProc(nullptr, 1, 4, 10);
    EXPECT_EQ(message(), " ");
    SheetWaitProc(nullptr, 1, 10, 10);
    EXPECT_EQ(message(), "A1");
}

// Whether the text can be shown whole in the message area: on one line, or
// broken at a space into two lines that each fit.
bool fits_in_two_lines(const std::string& text, int16_t room) {
    if (pf::text_width(text) <= room) return true;
    for (size_t space = text.find(' '); space != std::string::npos; space = text.find(' ', space + 1)) {
        if (pf::text_width(text.substr(0, space)) <= room && pf::text_width(text.substr(space + 1)) <= room)
            return true;
    }
    return false;
}

TEST_F(CommandBarTest, EveryHelpTextIsShownWhole) {
    PushWindowPort(IconBar);
    pf::text_font(1);
    pf::text_size(9);
    const int16_t room = int16_t(message_rect().width() - 4);
    for (int16_t item = 1; item <= pf::string_list_count(706); ++item) {
        std::string text = pf::get_indexed_string(706, item);
        EXPECT_TRUE(fits_in_two_lines(text, room)) << text;
    }
    for (const ButtonRecord& button : current_bar.buttons) {
        std::string text = pf::get_indexed_string(button.help_list, button.help_index);
        EXPECT_TRUE(fits_in_two_lines(text, room)) << text;
    }
    pf::text_font(0);
    pf::text_size(0);
    PopPort();
    get_cmd_msg(19);
    EXPECT_EQ(message(), "Click to edit the cell");
    EXPECT_TRUE(write_screen("command_bar_help_text.png"));
}

TEST_F(CommandBarTest, CalculationProgressShowsUnlessItsKindAsksForNone) {
    const unsigned char text[] = "\x05ready";
    draw_cmd_msg(text, 0);
    SheetWaitProc(nullptr, 5, 3, 10);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(cmd_msg + 1), cmd_msg[0]), "ready");
    SheetWaitProc(nullptr, 1, 3, 10);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(cmd_msg + 1), cmd_msg[0]), " ");
    SheetWaitProc(nullptr, 1, 10, 10);
}

TEST_F(CommandBarTest, SplashAndAboutBoxes) {
    WindowRef splash = Do_Splash();
    ASSERT_NE(splash, nullptr);
    run_until_idle();
    EXPECT_TRUE(write_screen("splash.png"));
    pf::dispose_dialog(pf::get_dialog_from_window(splash));
    // The About box tells what the heap can still give within its budget.
    pf::set_heap_budget(pf::heap_bytes_in_use() + 50500000);
    pf::DialogRef about = make_about_box();
    pf::set_heap_budget(pf::kNoBudget);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(pf::get_dialog_item_text(about, 7), "Version 0.1");
    EXPECT_EQ(pf::get_dialog_item_text(about, 6), "50 MB memory available");
    run_until_idle();
    EXPECT_TRUE(write_screen("about.png"));
    pf::dispose_dialog(about);
}

TEST(MemoryText, SaysTheAmountInAUnitThatKeepsItShort) {
    EXPECT_EQ(memory_text(1234567), "1234 K memory available");
    EXPECT_EQ(memory_text(2147483647), "2147 MB memory available");
    EXPECT_EQ(memory_text(int64_t(16) * 1000 * 1000 * 1000), "16 GB memory available");
    EXPECT_EQ(memory_text(-5), "0 K memory available");
}

}  // namespace

#include "shell/button_states.h"
#include "styledtext/styled_text.h"

namespace {

// A text being edited gives the style buttons its own style and alignment.
TEST_F(CommandBarTest, AnEditedTextsStyleAndAlignmentShowInTheButtons) {
    PushWindowPort(IconBar);
    LongRect view{0, 0, 40, 200};
    WEReference we = nullptr;
    ASSERT_EQ(WENew(view, view, 0, false, &we), pf::noErr);
    const char text[] = "Total";
    WEInsert(text, 5, nullptr, nullptr, we);
    WESetSelection(0, 5, we);
    WETextStyle bold;
    bold.tsFace = 0x01;
    WESetStyle(weDoFace, bold, we);
    WESetAlignment(weFlushRight, we);
    TextFacts facts;
    ASSERT_TRUE(editor_text_facts(we, &facts));
    EXPECT_EQ(facts.style, 0x01);
    EXPECT_EQ(facts.alignment, 3);
    EXPECT_FALSE(facts.selection_empty);
    DocumentFacts document;
    document.record = reinterpret_cast<MemoryRef>(0x10);
    document.style = facts.style;
    document.alignment = facts.alignment;
    ButtonRecord right;
    right.command = code_value("rght");
    right.flags = kButtonShowsValue;
    EXPECT_EQ(button_value(right, document), 1);
    WESetSelection(2, 2, we);
    ASSERT_TRUE(editor_text_facts(we, &facts));
    EXPECT_TRUE(facts.selection_empty);
    WEDispose(we);
    PopPort();
}

}  // namespace
