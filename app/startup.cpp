#include "app/startup.h"

#include <cstring>

#include "charts/charts.h"
#include "ui/alerts.h"
#include "ui/calc_alerts.h"
#include "app/engine_slots.h"
#include "app/app_menus.h"
#include "core/file_utils.h"
#include "ui/port_utils.h"
#include "ui/screen_geometry.h"
#include "app/required_events.h"
#include "app/event_loop.h"
#include "core/string_utils.h"
#include "ui/system_info.h"
#include "ui/task_manager.h"
#include "ui/text_input.h"
#include "editing/editing_commands.h"
#include "editing/find_window.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "model/calc_globals.h"
#include "model/workbook.h"
#include "platform/appleevents/appleevents.h"
#include "platform/dialogs/dialogs.h"
#include "platform/events/clock.h"
#include "platform/menus/menus.h"
#include "shell/help_tags.h"
#include "shell/shell_commands.h"
#include "spelling/spelling.h"
#include "window/window_commands.h"
#include "window/entry_line.h"
#include "resource_ids.h"

int16_t swap_file_ref = 0;

namespace {

constexpr int32_t kSpareReserve = 40000;
constexpr uint32_t kSplashTicks = 30;
constexpr uint32_t kSplashStep = 5;

void wait_for_splash(WindowRef splash, uint32_t shown_at) {
    if (!splash) return;
    while (pf::tick_count() - shown_at < kSplashTicks) pf::clock_sleep(int(pf::ticks_to_milliseconds(kSplashStep)));
    pf::dispose_dialog(pf::get_dialog_from_window(splash));
}

void install_machine_slots() {
    QuorvinInit(&quorvin_rsrv, &mem_globals);
    quorvin_rsrv.alert = quorvin_alert;
    quorvin_rsrv.wait = SheetWaitProc;
    quorvin_rsrv.display_selection = DisplaySelection;
    quorvin_rsrv.display_range = DisplayRange;
    quorvin_rsrv.display_size = DisplaySize;
    quorvin_rsrv.object_message = Display_WidthHeight;
    quorvin_rsrv.click_loop = ClickLoop;
    quorvin_rsrv.cells_scrolled = CellsScrolled;
}

void make_private_clipboard() {
    g_Clip = pgAllocateNewRef(&mem_globals, sizeof(ClipRecord), 1, 0, true);
}

// While a modal dialog is up, the command bar's message area shows the front
// document's reference, never help the pointer left there on its way to a menu.
void modal_dialog_idle() {
    show_resting_message(nullptr);
    SetCursorTo(kArrowCursor);
}

void register_menu_definitions() {
    pf::register_menu_definition(kColorGridDefinition, COLORMDEF);
    pf::register_menu_definition(kPaletteDefinition, PaletteMDEF);
    pf::register_menu_definition(kPatternDefinition, PatternMDEF);
}

}  // namespace

bool prefs_need_writing(int16_t read_answer) { return read_answer == pf::kFileNotFoundErr || prefs_were_reset; }

bool calc_startup() {
    if (!System_Init()) return false;
    engine_startup();
    return true;
}

bool app_startup() {
    install_app_services();
    swap_file_ref = 0;
    if (!calc_startup()) return false;
    keep_folder_ids_across_runs();
    const std::vector<pf::FileSpec> finished_saves = remove_leftovers_of_dead_copies();
    save_notes = SaveNotes{note_save_started, note_save_ended};
    int16_t prefs_answer = ReadPrefs();
    InstallAppleEvents();
    if (app_prefs.options & kPrefInlineInput) InitTSMTE();
    if ((app_prefs.options & kPrefDragAndDrop) && DRAG_Available()) g_system.flags |= kSysDragInUse;
    InitHelpDelay();
    register_menu_definitions();
    InitAppMenus();
    if (prefs_need_writing(prefs_answer)) WritePrefs();
    if (app_prefs.options2 & kPrefAntiAliasedText) SetAliasText();
    WindowRef splash = Do_Splash();
    uint32_t splash_shown = pf::tick_count();
    SetTaskGrowProc(purge_func, kSpareReserve);
    SetTaskUrgentProc(urgent_func);
    SetTaskTitleProc(title_click_func);
    SetTaskdlogIdle(modal_dialog_idle);
    access_vm_file(&swap_file_ref);
    mem_globals.engine = &quorvin_rsrv;
    mem_globals.no_handler_proc = last_gasp_error_handler;
    mem_globals.creator = pf::four_cc("QRVA");
    mem_globals.swap_file_type = pf::four_cc("QRVM");
    InitVirtualMemory(&mem_globals, pgStandardPurgeProc, swap_file_ref);
    install_machine_slots();
    pg_setUndoLevels(app_prefs.undo_depth);
    make_private_clipboard();
    TaskRecord app_task;
    InitAppTask(&app_task);
    init_task_windows(&app_task);
    wait_for_splash(splash, splash_shown);
    open_command_bar_and_palettes();
    if (prefs_were_reset) note_message_alert(kPrefsMessages, kPrefsResetMessage);
    for (const pf::FileSpec& document : finished_saves) tell_save_finished(document);
    init_spell();
    install_help_tags();
    SetTaskIdle(command_idle);
    return true;
}

void open_command_bar_and_palettes() {
    MakeIconWindow();
    struct Palette {
        uint32_t bit;
        void (*make)();
    };
    const Palette palettes[] = {
        {kPrefSheetTabs, MakeTabWindow},   {kPrefColorPalette, MakeColorWindow},
        {kPrefToolPalette, MakeToolWindow}, {kPrefChartPalette, MakeChartWindow},
        {kPrefGridPalette, MakeGridWindow}, {kPrefOptionsPalette, MakeOpWindow},
    };
    for (const Palette& p : palettes) {
        if (app_prefs.options & p.bit) p.make();
    }
}

void app_shutdown() {
    // Closed as a quit closes it when the loop ended otherwise.
    if (WindowRef bar = command_bar_window()) CloseTaskFromWindow(bar);
    PutToScrap(1);
    QuitTSMTE();
    close_spell();
    close_find_window();
    switch_language(0);
    WritePrefs();
    dispose_task_windows();
    DisposeEntryLine();
    window_list = DisposeNonNilMemory(window_list);
    msMachineShutdown(&quorvin_rsrv);
    if (swap_file_ref != 0) access_vm_file(&swap_file_ref);
    save_notes = kNoSaveNotes;
    DisposeHelpDelay();
    set_task_quit_flag(false);
}

int run_application(int argc, const char* const* argv) {
    if (!app_startup()) return 1;
    pf::ae_post_launch_event(argc, argv);
    TaskMaster(nullptr, nullptr, 0);
    app_shutdown();
    return 0;
}

int32_t purge_func(int32_t bytes) {
    if (bytes == 0) return 1;
    return MemoryPurge(&mem_globals, bytes, nullptr) == 0 ? 1 : 0;
}

int32_t urgent_func(int32_t code) {
    if (code == kToolMenu) do_menu_button(kPaletteMenu, kPalettesToolsItem);
    else if (code == kChartKindMenu) do_menu_button(kPaletteMenu, kPalettesChartsItem);
    else if (code == kBordersMenu) do_menu_button(kPaletteMenu, kPalettesBordersItem);
    return 1;
}

// The path pop-up of a document never saved is menu 670.
int16_t title_click_func(uintptr_t app_ref) {
    if (!app_ref) return 0;
    MemoryRef workbook = doc_window_workbook(reinterpret_cast<MemoryRef>(app_ref));
    bool saved = workbook && file_record_of(workbook).spec.parent != 0;
    return saved ? 0 : kNeverSavedMenu;
}
