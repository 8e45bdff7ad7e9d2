// Routing of clicks and keys by the event loop, and the low-memory alert.
#include "app_fixture.h"
#include "model/cell_store.h"
#include "objects/object_records.h"
#include "window/front_document.h"
#include "window/sheet_tabs.h"
#include "platform/events/keyboard.h"
#include "platform/screen/cursor.h"
#include "shell/shell_commands.h"
#include "window/window_commands.h"
#include "app/event_loop.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

int clicks = 0;
int keys = 0;

int32_t count_click(EventRecord*, uintptr_t, uintptr_t) { return ++clicks; }
int32_t count_key(EventRecord*, uintptr_t, uintptr_t) { return ++keys; }

pf::WindowRef new_document() {
    DoFileMenu(nullptr, kFileNewItem);
    return pf::front_non_floating_window();
}

void set_slots(pf::WindowRef window) {
    TaskRecord* task = get_task_ptr(window, nullptr);
    task->click = count_click;
    task->key = count_key;
    UnuseMemory(task_list);
}

}  // namespace

struct EventLoop : AppTest {
    void SetUp() override {
        AppTest::SetUp();
        clicks = keys = 0;
    }
    // Clicks a part of the window's frame and lets the loop take the click;
    // false when the frame has no such part.
    [[nodiscard]] bool click_part(pf::WindowRef window, int16_t part) {
        const pf::Point at = point_of_part(window, part);
        if (at.v < 0) return false;
        pf::driver_click(at);
        run_until_idle();
        return true;
    }
};

TEST_F(EventLoop, AClickInABackWindowOnlyBringsItForward) {
    pf::WindowRef back = new_document();
    pf::WindowRef front = new_document();
    set_slots(back);
    set_slots(front);
    ASSERT_EQ(pf::front_non_floating_window(), front);
    pf::Point in_back = visible_point(back);
    ASSERT_GE(in_back.v, 0);

    pf::driver_click(in_back);
    run_until_idle();
    EXPECT_EQ(pf::front_non_floating_window(), back);
    EXPECT_EQ(clicks, 0);

    pf::driver_click(in_back);
    run_until_idle();
    EXPECT_EQ(clicks, 1);
}

TEST_F(EventLoop, ACommandKeyWithNoMenuBeepsAndThePlainKeyReachesTheWindow) {
    set_slots(new_document());
    int beeps = pf::beep_count();
    pf::driver_key(16, 'y', pf::kCmdKey);
    run_until_idle();
    EXPECT_EQ(pf::beep_count(), beeps + 1);
    EXPECT_EQ(keys, 0);

    pf::driver_key(16, 'y');
    run_until_idle();
    EXPECT_EQ(pf::beep_count(), beeps + 1);
    EXPECT_EQ(keys, 1);
}

TEST_F(EventLoop, TheCloseBoxClosesTheDocument) {
    pf::WindowRef document = new_document();
    ASSERT_TRUE(click_part(document, pf::kInGoAway));
    EXPECT_EQ(pf::front_non_floating_window(), nullptr);
}

TEST_F(EventLoop, TheCollapseBoxCollapsesTheWindow) {
    pf::WindowRef document = new_document();
    ASSERT_TRUE(click_part(document, pf::kInCollapseBox));
    EXPECT_TRUE(pf::window_collapsed(document));
}

TEST_F(EventLoop, SuspendAndResumeFollowTheHostFocus) {
    pf::driver_focus(false);
    run_until_idle();
    EXPECT_TRUE(in_background());
    pf::driver_focus(true);
    run_until_idle();
    EXPECT_FALSE(in_background());
}

TEST_F(EventLoop, TheLowMemoryAlertShowsOnceBelow20000BytesOfReserve) {
    set_spare_reserve(19999);
    pf::set_heap_budget(pf::heap_bytes_in_use());
    set_low_memory_code(kLowMemoryAlert);
    task_master_pass();
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].alert_id, kLowMemoryAlert);
    EXPECT_EQ(alert_requests()[0].kind, 0);
    EXPECT_TRUE(g_system.flags & kSysLowMemoryShown);

    set_low_memory_code(kLowMemoryAlert);
    task_master_pass();
    EXPECT_EQ(alert_requests().size(), 1u);
}

TEST_F(EventLoop, NoLowMemoryAlertWithAReserveOf20000Bytes) {
    set_spare_reserve(20000);
    pf::set_heap_budget(pf::heap_bytes_in_use());
    set_low_memory_code(kLowMemoryAlert);
    task_master_pass();
    EXPECT_TRUE(alert_requests().empty());
    EXPECT_FALSE(g_system.flags & kSysLowMemoryShown);
}

TEST_F(EventLoop, TheReserveRegrowsAtIdleAndClearsTheShownFlag) {
    set_spare_reserve(0);
    g_system.flags |= kSysLowMemoryShown;
    run_until_idle();
    EXPECT_EQ(spare_reserve_size(), 40000);
    EXPECT_FALSE(g_system.flags & kSysLowMemoryShown);
}

TEST_F(EventLoop, AnErrorDeferredInTheBackgroundShowsOnceBackInFront) {
    pf::driver_focus(false);
    run_until_idle();
    SetTaskError((20000 << 16) | 3);
    SetTaskError((20000 << 16) | 4);  // the first stays
    EXPECT_TRUE(g_system.flags & kSysNotificationUp);
    run_until_idle();
    EXPECT_TRUE(alert_requests().empty());
    pf::driver_focus(true);
    run_until_idle();
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, pf::get_indexed_string(20000, 3));
    EXPECT_FALSE(g_system.flags & kSysNotificationUp);
}

TEST_F(EventLoop, ACommandClickInAnUnsavedDocumentsTitlePopsUpItsPathInsteadOfMoving) {
    pf::WindowRef document = new_document();
    pf::Point title = point_of_part(document, pf::kInDrag);
    ASSERT_GE(title.v, 0);
    pf::Rect before = pf::window_struct_rect(document);
    pf::driver_drag(title, pf::Point{int16_t(title.v + 60), int16_t(title.h + 40)}, pf::kCmdKey);
    run_until_idle();
    EXPECT_EQ(pf::window_struct_rect(document), before);

    pf::driver_drag(title, pf::Point{int16_t(title.v + 60), int16_t(title.h + 40)});
    run_until_idle();
    EXPECT_EQ(pf::window_struct_rect(document).top, before.top + 60);
}

TEST_F(EventLoop, GrowingADocumentKeepsItsSmallestSize) {
    pf::WindowRef document = new_document();
    pf::Rect content = pf::window_content_rect(document);
    pf::Point grow_box{int16_t(content.bottom - 3), int16_t(content.right - 3)};
    pf::WindowRef hit = nullptr;
    ASSERT_EQ(pf::find_window(grow_box, &hit), pf::kInGrow);
    pf::driver_drag(grow_box, pf::Point{int16_t(content.top + 10), int16_t(content.left + 10)});
    run_until_idle();
    pf::Rect grown = pf::window_content_rect(document);
    EXPECT_EQ(grown.width(), 250);
    EXPECT_EQ(grown.height(), 120);
}

TEST_F(EventLoop, TheZoomBoxZoomsToTheStandardState) {
    pf::WindowRef document = new_document();
    ASSERT_TRUE(click_part(document, pf::kInZoomOut));
    EXPECT_EQ(pf::window_content_rect(document), pf::window_standard_state(document));
}

namespace {
int menu_commands = 0;
int32_t count_menu(EventRecord*, uintptr_t, uintptr_t pair) {
    const MenuChoice* choice = reinterpret_cast<const MenuChoice*>(pair);
    if (choice->menu == kFileMenu && choice->item == kFileNewItem) ++menu_commands;
    return 1;
}
}  // namespace

TEST_F(EventLoop, AMenuButtonBeepsForADisabledItemAndRunsAnEnabledOne) {
    pf::WindowRef document = new_document();
    get_task_ptr(document, nullptr)->menu = count_menu;
    UnuseMemory(task_list);
    menu_commands = 0;
    int beeps = pf::beep_count();
    // Revert is disabled for a document never saved.
    do_menu_button(kFileMenu, kFileRevertItem);
    EXPECT_EQ(pf::beep_count(), beeps + 1);
    EXPECT_EQ(menu_commands, 0);
    do_menu_button(kFileMenu, kFileNewItem);
    EXPECT_EQ(menu_commands, 1);
    do_menu_button(999, 1);
    do_menu_button(kFileMenu, 0);
    EXPECT_EQ(menu_commands, 1);
    EXPECT_EQ(pf::beep_count(), beeps + 1);
}

TEST_F(EventLoop, AKeyEquivalentRunsItsMenuThroughTheFrontWindowsTask) {
    pf::WindowRef document = new_document();
    get_task_ptr(document, nullptr)->menu = count_menu;
    UnuseMemory(task_list);
    menu_commands = 0;
    pf::driver_key(45, 'n', pf::kCmdKey);
    run_until_idle();
    EXPECT_EQ(menu_commands, 1);
}

TEST_F(EventLoop, TheLoopSleepsNotAfterAKeyAtMost20TicksInFrontAnd60Behind) {
    close_Tab_proc(nullptr, 0, 0);  // the tab bar in front asks for one more mouse-moved pass after a key
    set_slots(new_document());
    run_until_idle();
    pf::driver_key(16, 'y');
    task_master_pass();  // plays the key script
    while (keys == 0) task_master_pass();
    uint32_t before = pf::tick_count();
    task_master_pass();  // right after the key: no sleep
    EXPECT_EQ(pf::tick_count(), before);
    task_master_pass();
    uint32_t slept = pf::tick_count() - before;
    EXPECT_GE(slept, 1u);
    EXPECT_LE(slept, 21u);
    pf::driver_focus(false);
    run_until_idle();
    before = pf::tick_count();
    task_master_pass();
    EXPECT_GE(pf::tick_count() - before, 59u);
}

namespace {

void send_quit() {
    pf::AppleEvent quit;
    pf::AEDesc self;
    pf::ae_address_of_self(self);
    pf::ae_create_apple_event(pf::kCoreEventClass, pf::kQuitApplication, self, -1, 0, quit);
    pf::ae_send(quit, nullptr, pf::kAENoReply);
}

constexpr uint8_t kKeyCodeQ = 12;

}  // namespace

TEST_F(EventLoop, AQuitRequestedWhileAnAlertIsUpIsActedOnOnceItCloses) {
    set_unattended_run(false);
    new_document();
    // The host window closed (or a signal came) while the alert waits.
    send_quit();
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    error_alert(20000, 3);
    EXPECT_FALSE(task_quit_flag());
    EXPECT_TRUE(quit_request_queued());
    ASSERT_NE(pf::front_non_floating_window(), nullptr);  // the alert closed nothing else
    run_until_idle();
    EXPECT_FALSE(quit_request_queued());
    EXPECT_TRUE(task_quit_flag());
}

// Command-Q closes a note of one button at once (the Return typed after it
// is left over) and the program goes on to quit.
TEST_F(EventLoop, CommandQClosesANoteAndTheProgramQuits) {
    set_unattended_run(false);
    pf::driver_key(kKeyCodeQ, 'q', pf::kCmdKey);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(error_alert(20000, 3), 1);
    EXPECT_GE(pf::driver_pending_steps(), 2) << "the Return is left over";
    EXPECT_TRUE(quit_request_queued());
    run_until_idle();
    EXPECT_TRUE(task_quit_flag());
}

// A question stays up until it is answered; the quit is kept for after it.
TEST_F(EventLoop, CommandQInAQuestionIsKeptForAfterTheAnswer) {
    set_unattended_run(false);
    const unsigned char question[] = "\x0f" "Replace it now?";
    pf::driver_key(kKeyCodeQ, 'q', pf::kCmdKey);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(key_caution_alert(question, kStandardCautionAlert, kCautionAlertKind), 2);
    EXPECT_TRUE(quit_request_queued());
    run_until_idle();
    EXPECT_TRUE(task_quit_flag());
}

TEST_F(EventLoop, CloseAndSaveNeedADocumentAndTheChartOptionsAreOffered) {
    pf::MenuRef file = pf::get_menu_handle(kFileMenu);
    enable_menus();
    EXPECT_FALSE(pf::is_menu_item_enabled(file, 4));  // Close, with no document
    EXPECT_FALSE(pf::is_menu_item_enabled(file, 6));  // Save, with no document
    EXPECT_FALSE(pf::is_menu_item_enabled(file, 8));  // Revert
    EXPECT_TRUE(pf::is_menu_item_enabled(file, 1));   // New
    EXPECT_FALSE(pf::get_menu_handle(kOptionsMenu)->enabled);  // the whole Options menu
    new_document();
    enable_menus();
    EXPECT_TRUE(pf::is_menu_item_enabled(file, 4));
    EXPECT_FALSE(pf::is_menu_item_enabled(file, 6));  // Save: nothing to save yet
    EXPECT_TRUE(pf::is_menu_item_enabled(file, 7));   // Save As
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kEditMenu), kEditCopyItem));   // Copy
    EXPECT_FALSE(pf::is_menu_item_enabled(pf::get_menu_handle(kEditMenu), kEditPasteSpecialItem));  // Paste Special
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kEditMenu), kEditMoveCellsItem));  // Move Cells
    enable_menus();
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kOptionsMenu), kOptionsCalcNowItem));   // Calculate Now
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kOptionsMenu), kOptionsNamesItem));   // Names
    for (int16_t item : {kChartDataLabelsItem, kChartAxesItem, kChartTitlesItem})
        EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kChartOptionMenu), item)) << item;
}

TEST_F(EventLoop, ThePalettesMenuReopensAClosedPalette) {
    auto tools_open = [] {
        for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w))
            if (pf::window_title(w) == "Tools" && pf::window_visible(w)) return true;
        return false;
    };
    if (!tools_open()) do_menu_button(kPaletteMenu, kPalettesToolsItem);
    ASSERT_TRUE(tools_open());
    EXPECT_TRUE(app_prefs.options & kPrefToolPalette);
    do_menu_button(kPaletteMenu, kPalettesToolsItem);  // open: closes it
    EXPECT_FALSE(tools_open());
    EXPECT_FALSE(app_prefs.options & kPrefToolPalette);
    do_menu_button(kPaletteMenu, kPalettesToolsItem);
    EXPECT_TRUE(tools_open());
    do_menu_button(kPaletteMenu, kPalettesCloseAllItem);
    EXPECT_FALSE(tools_open());
    do_menu_button(kPaletteMenu, kPalettesOpenAllItem);
    EXPECT_TRUE(tools_open());
    EXPECT_TRUE(app_prefs.options & kPrefColorPalette);
}

TEST_F(EventLoop, NewWindowsStaggerFromTheNumberOfWindowsOpen) {
    pf::Rect first = pf::window_struct_rect(new_document());
    pf::Rect second = pf::window_struct_rect(new_document());
    EXPECT_GT(second.top, first.top);
    EXPECT_GT(second.left, first.left);
    new_document();
    while (WindowRef front = FrontDocWindow()) CloseTaskFromWindow(front);
    EXPECT_EQ(pf::window_struct_rect(new_document()), first);
    EXPECT_EQ(pf::window_struct_rect(new_document()), second);
}

namespace {

bool a1_holds_a_cell() {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    return get_cell_ptr(&cell, &length, CellPoint{0, 0}, doc_window_layer(front_document_record())) != 0;
}

}  // namespace

// Escape gives the Clear key's character: with nothing being typed it leaves
// the selected cell and the selected drawing object alone.
TEST_F(EventLoop, EscapeLeavesTheSelectionAlone) {
    new_document();
    pf::driver_key(18, '1');
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    run_until_idle();
    MemoryRef layer = doc_window_layer(front_document_record());
    select_cells(layer, CellRange{{0, 0}, {0, 0}});
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    run_until_idle();
    EXPECT_TRUE(a1_holds_a_cell());
    MemoryRef object = nullptr;
    ASSERT_TRUE(NewObject(pf::four_cc("rect"), &object, 0, layer));
    add_selected(layer, object);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    run_until_idle();
    EXPECT_EQ(get_selected_object(layer, 1), object);
}
