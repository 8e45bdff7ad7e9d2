// Start-up and shutdown of the whole program, the launch event and quitting.
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editing/find_window.h"
#include "app_fixture.h"
#include "app/app_menus.h"
#include "app/required_events.h"
#include "app/event_loop.h"
#include "editing/editing_commands.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "model/calc_globals.h"
#include "model/cell_formats.h"
#include "model/workbook.h"
#include "shell/colour_palette.h"
#include "shell/command_bar.h"
#include "shell/grid_palette.h"
#include "shell/shell_commands.h"
#include "shell/tool_palette.h"
#include "window/doc_window.h"
#include "window/window_commands.h"
#include "ui/calc_alerts.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

std::vector<std::string> window_titles(bool floating) {
    std::vector<std::string> titles;
    for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w)) {
        if (pf::window_visible(w) && pf::is_floating_window(w) == floating) titles.push_back(pf::window_title(w));
    }
    return titles;
}

// Each running copy has its own swap file, named with its process number.
std::string swap_file_path(const std::string& home) {
    return home + "/Quorvin/Quorvin Swap " + std::to_string(getpid());
}

void post_launch(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "quorvin");
    ASSERT_EQ(pf::ae_post_launch_event(int(arguments.size()), arguments.data()), pf::noErr);
}

int32_t refuse_close(EventRecord*, uintptr_t, uintptr_t) { return 0; }

// The stop alert's text for a document that could not be opened.
std::string named_message(const std::string& name, int16_t error) {
    std::string text = pf::get_indexed_string(kErrorStrings, kNamedDocumentString);
    text.replace(text.find("^0"), 2, name);
    return text + " " + pf::get_indexed_string(kErrorStrings, file_error_string_index(error));
}

pf::WindowRef new_document() {
    DoFileMenu(nullptr, kFileNewItem);
    return pf::front_non_floating_window();
}

}  // namespace

TEST_F(AppTest, StartUpInstallsTheLoopTheMemoryHooksAndTheMenuBar) {
    TaskRecord app_task;
    get_task_from_window(nullptr, &app_task);
    EXPECT_EQ(app_task.menu, app_menu_proc);
    EXPECT_EQ(app_task.index, 0u);
    EXPECT_EQ(spare_reserve_size(), 40000);
    EXPECT_EQ(mem_globals.engine, &quorvin_rsrv);
    EXPECT_EQ(quorvin_rsrv.alert, quorvin_alert);
    EXPECT_EQ(quorvin_rsrv.click_loop, ClickLoop);
    EXPECT_NE(g_Clip, nullptr);
    EXPECT_NE(swap_file_ref, 0);
    EXPECT_TRUE(std::filesystem::exists(swap_file_path(home)));
    EXPECT_EQ(pf::grow_zone(), GrowZoneFunc);
    std::vector<int16_t> bar = pf::menu_bar_ids();
    std::vector<int16_t> expected{128, 129, 130, 131, 135, 132, 133, 136, 134};
    ASSERT_GE(bar.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bar.begin()));
    EXPECT_NE(pf::get_menu_handle(kRecentMenu), nullptr);
    EXPECT_NE(pf::get_menu_handle(kToolMenu), nullptr);
}

TEST_F(AppTest, ShutdownDeletesTheSwapFileAndDisposesTheTasks) {
    // Another copy's swap file is left alone.
    std::string other = home + "/Quorvin/Quorvin Swap 1";
    std::ofstream(other) << "in use";
    app_shutdown();
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_EQ(swap_file_ref, 0);
    EXPECT_FALSE(std::filesystem::exists(swap_file_path(home)));
    EXPECT_EQ(task_list, nullptr);
    EXPECT_EQ(pf::menu_bar_ids().size(), 0u);
    msMemShutdown(&mem_globals);
    ASSERT_TRUE(app_startup());  // the fixture shuts down once more
}

// The private clipboard's block goes with the memory of a closed program: a
// later test in the same process finds no clipboard rather than a freed one.
TEST(ClosedProgram, LeavesNoClipboardBehind) {
    std::string home;
    AppTest::open_program(home);
    ASSERT_NE(g_Clip, nullptr);
    AppTest::close_program(home);
    EXPECT_EQ(g_Clip, nullptr);
}

// Quitting closes the Find window: the next program of the process finds no
// Find window rather than a freed one.
TEST(ClosedProgram, LeavesNoFindWindowBehind) {
    std::string home;
    AppTest::open_program(home);
    open_find_dialog();
    ASSERT_NE(find_wind, nullptr);
    AppTest::close_program(home);
    EXPECT_EQ(find_wind, nullptr);
}

// The number of a process that has ended.
pid_t ended_process() {
    pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// Start-up removes what copies that were killed left: their swap files, their
// half-written preferences, and the temporary files of the saves they were
// making; a complete new copy a killed save left takes its document's place,
// and the user is told. Files of a running copy stay, and so does a temporary
// file that a running copy may be writing, or a copy whose document is missing.
TEST_F(AppTest, StartUpRemovesLeftoversOfCopiesThatNoLongerRun) {
    const std::string folder = home + "/Quorvin/", dead = std::to_string(ended_process()),
                      live = std::to_string(getppid());
    for (const std::string& name : {"doc.qrv", ".doc.qrv.saving", "busy.qrv", ".busy.qrv.saving", ".gone.qrv.old"})
        std::ofstream(home + "/" + name) << name;
    std::ofstream(folder + "Quorvin Swap " + dead) << "swapped blocks";
    std::ofstream(folder + "Quorvin Swap " + live) << "in use";
    std::ofstream(folder + "Quorvin Preferences " + dead + ".tmp") << "half";
    std::ofstream(folder + "Quorvin Saving " + dead) << home + "/doc.qrv";
    std::ofstream(folder + "Quorvin Saving " + dead + "1") << home + "/busy.qrv";
    std::ofstream(folder + "Quorvin Saving " + live) << home + "/busy.qrv";
    std::ofstream(folder + "Quorvin Saving 2" + dead) << home + "/gone.qrv";
    std::ofstream(home + "/done.qrv") << "old";
    std::ofstream(home + "/.done.qrv.saved") << "new";
    std::ofstream(folder + "Quorvin Saving 3" + dead) << home + "/done.qrv";
    std::ofstream(folder + "Quorvin Swap of mine") << "not a copy's";
    if (pf::process_is_running(std::stoi(dead + "1")) || pf::process_is_running(std::stoi("2" + dead)) ||
        pf::process_is_running(std::stoi("3" + dead)))
        GTEST_SKIP() << "a process number of the test is in use";
    app_shutdown();
    msMemShutdown(&mem_globals);
    alert_requests().clear();
    ASSERT_TRUE(app_startup());

    for (const std::string& gone : {"Quorvin Swap " + dead, "Quorvin Preferences " + dead + ".tmp",
                                    "Quorvin Saving " + dead, "Quorvin Saving " + dead + "1",
                                    "Quorvin Saving 2" + dead})
        EXPECT_FALSE(std::filesystem::exists(folder + gone)) << gone;
    for (const std::string& kept : {"Quorvin Swap " + live, "Quorvin Saving " + live, std::string("Quorvin Swap of mine")})
        EXPECT_TRUE(std::filesystem::exists(folder + kept)) << kept;
    EXPECT_FALSE(std::filesystem::exists(home + "/.doc.qrv.saving"));
    for (const std::string& kept : {"doc.qrv", "busy.qrv", ".busy.qrv.saving", ".gone.qrv.old"})
        EXPECT_TRUE(std::filesystem::exists(home + "/" + kept)) << kept;
    std::string done;
    std::getline(std::ifstream(home + "/done.qrv"), done);
    EXPECT_EQ(done, "new");
    EXPECT_FALSE(std::filesystem::exists(home + "/.done.qrv.saved"));
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_NE(alert_requests()[0].text.find("\"done.qrv\" was cut short"), std::string::npos) << alert_requests()[0].text;
    EXPECT_TRUE(std::filesystem::exists(swap_file_path(home)));
}

// Opening a document whose save was killed after its new contents were
// complete opens those contents, in the document's place, and says so.
TEST_F(AppTest, OpeningADocumentFinishesItsKilledSave) {
    const std::string path = home + "/cut.qrv";
    std::ofstream(path) << "half a document";
    write_document(home + "/.cut.qrv.saved");
    alert_requests().clear();
    post_launch({path.c_str()});
    run_until_idle();
    EXPECT_FALSE(std::filesystem::exists(home + "/.cut.qrv.saved"));
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_NE(alert_requests()[0].text.find("\"cut.qrv\" was cut short"), std::string::npos);
    pf::WindowRef front = pf::front_non_floating_window();
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(pf::window_title(front).rfind("cut.qrv", 0), 0u) << pf::window_title(front);
}

// A save over a document keeps a note of it in the preferences folder while it
// writes, and none is left once it is done.
TEST_F(AppTest, ASaveOverADocumentKeepsItsNoteOnlyWhileItWrites) {
    const std::string note = home + "/Quorvin/Quorvin Saving " + std::to_string(getpid());
    const std::string path = home + "/kept.qrv";
    write_document(path);
    pf::FileSpec document;
    ASSERT_EQ(pf::file_spec_from_path(path, document), pf::noErr);
    save_notes.started(document);
    std::string noted;
    std::getline(std::ifstream(note), noted);
    EXPECT_EQ(noted, path);
    save_notes.ended();
    EXPECT_FALSE(std::filesystem::exists(note));

    post_launch({path.c_str()});
    run_until_idle();
    static std::string note_path, noted_while_saving;
    note_path = note;
    save_notes.started = [](const pf::FileSpec& saved) {
        note_save_started(saved);
        std::getline(std::ifstream(note_path), noted_while_saving);
    };
    MemoryRef layer = doc_window_layer(window_doc_record(pf::front_non_floating_window()));
    EXPECT_EQ(DoSave(false, layer, kWholeWorkbook), 0);
    save_notes.started = note_save_started;
    EXPECT_EQ(noted_while_saving, path);
    EXPECT_FALSE(std::filesystem::exists(note));
}

TEST_F(AppTest, PalettesOpenInTheirFixedOrderWhateverBitsAreSet) {
    app_prefs.options |= kPrefOptionsPalette | kPrefToolPalette | kPrefGridPalette | kPrefColorPalette |
                         kPrefChartPalette;
    open_command_bar_and_palettes();
    // Each palette opens in front of those before it; the sheet tabs wait for a document.
    std::vector<std::string> expected{"Options", "Borders", "Charts", "Tools", "Colors", "Command Bar"};
    EXPECT_EQ(window_titles(true), expected);
}

// Shutdown disposes the palettes' windows; none of them may keep its window
// for a later start-up in the same process to draw in.
TEST_F(AppTest, ShutdownLeavesNoPaletteHoldingItsDisposedWindow) {
    app_prefs.options |= kPrefToolPalette | kPrefGridPalette | kPrefColorPalette;
    open_command_bar_and_palettes();
    ASSERT_NE(ColorPalette, nullptr);
    app_shutdown();
    EXPECT_EQ(ColorPalette, nullptr);
    EXPECT_EQ(GridPalette, nullptr);
    EXPECT_EQ(ToolPalette, nullptr);
    EXPECT_EQ(IconBar, nullptr);
    msMemShutdown(&mem_globals);
    ASSERT_TRUE(app_startup());  // the palettes open again, as the preferences kept them
    EXPECT_NE(ColorPalette, nullptr);
}

TEST_F(AppTest, OpenApplicationRunsTheStartUpAction) {
    post_launch({});
    run_until_idle();
    EXPECT_EQ(window_titles(false), std::vector<std::string>{"Untitled 1:Layer 1"});

    app_prefs.startup_action = 7;
    post_launch({});
    run_until_idle();
    EXPECT_EQ(app_prefs.startup_action, kStartupNewDocument);
    EXPECT_EQ(window_titles(false).size(), 1u);
}

TEST_F(AppTest, AFileOnTheCommandLineReachesTheOpenDocumentsHandler) {
    std::string path = home + "/figures.qrv";
    write_document(path);
    post_launch({path.c_str()});
    run_until_idle();
    EXPECT_EQ(window_titles(false), std::vector<std::string>{"figures.qrv:Layer 1"});

    // The same file again only brings its window forward. The opened file
    // counted as a document, so the new one is the second.
    new_document();
    post_launch({path.c_str(), path.c_str()});
    run_until_idle();
    EXPECT_EQ(window_titles(false), (std::vector<std::string>{"figures.qrv:Layer 1", "Untitled 2:Layer 1"}));
}

TEST_F(AppTest, CommaAndTabSeparatedFilesOpenAsChangedDocuments) {
    const std::string csv = home + "/prices.csv", tab = home + "/stock.tab";
    std::ofstream(csv) << "Name,Price\n\"Pear, green\",1.25\n";
    std::ofstream(tab) << "Item\tCount\nbolt\t40\n";
    post_launch({csv.c_str()});
    run_until_idle();
    ASSERT_EQ(window_titles(false), std::vector<std::string>{"prices.csv:Layer 1"});
    EXPECT_EQ(front_cell_text(CellPoint{1, 0}), "Pear, green");
    EXPECT_EQ(front_cell_text(CellPoint{1, 1}), "1.25");
    MemoryRef record = window_doc_record(pf::front_non_floating_window());
    EXPECT_EQ(get_change_ctr(doc_window_workbook(record)), 1) << "closing asks whether to save";

    post_launch({tab.c_str()});
    run_until_idle();
    EXPECT_EQ(front_cell_text(CellPoint{1, 1}), "40");
}

TEST_F(AppTest, OpenDocumentsUnderAModalWindowIsRefused) {
    pf::WindowRef modal = pf::create_window(pf::kModalWindowClass, 0, pf::Rect{100, 100, 200, 300});
    pf::show_window(modal);
    std::string path = home + "/later.qrv";
    write_document(path);
    pf::AppleEvent event;
    ASSERT_EQ(pf::ae_make_launch_event({path}, event), pf::noErr);
    EXPECT_EQ(pf::ae_send(event, nullptr, pf::kAEWaitReply), -1);
    pf::dispose_window(modal);
}

TEST_F(AppTest, QuitFromTheMenuEndsTheLoop) {
    new_document();
    pf::driver_key(12, 'q', pf::kCmdKey);
    run_until_idle();
    EXPECT_TRUE(task_quit_flag());
    EXPECT_EQ(window_titles(false).size(), 0u);
}

TEST_F(AppTest, QuitRefusedByACloseProcedureAnswers1711AndTheLoopGoesOn) {
    pf::WindowRef document = new_document();
    get_task_ptr(document, nullptr)->close = refuse_close;
    UnuseMemory(task_list);
    AddWorkspaceItem(pf::ptr_to_hand("alias", 5));

    pf::AppleEvent quit;
    pf::AEDesc self;
    pf::ae_address_of_self(self);
    pf::ae_create_apple_event(pf::kCoreEventClass, pf::kQuitApplication, self, -1, 0, quit);
    EXPECT_EQ(pf::ae_send(quit, nullptr, pf::kAEWaitReply), kQuitRefusedErr);
    EXPECT_FALSE(task_quit_flag());
    EXPECT_TRUE(task_master_pass());
    EXPECT_EQ(pf::front_non_floating_window(), document);
    EXPECT_EQ(CountWorkspaceItems(), 1);
}

TEST_F(AppTest, AnAcceptedQuitEmptiesTheWorkspaceBeforeTheWindowsClose) {
    new_document();
    AddWorkspaceItem(pf::ptr_to_hand("alias", 5));
    pf::AppleEvent quit;
    pf::AEDesc self;
    pf::ae_address_of_self(self);
    pf::ae_create_apple_event(pf::kCoreEventClass, pf::kQuitApplication, self, -1, 0, quit);
    EXPECT_EQ(pf::ae_send(quit, nullptr, pf::kAEWaitReply), pf::noErr);
    EXPECT_TRUE(task_quit_flag());
    EXPECT_EQ(CountWorkspaceItems(), 0);
}

TEST(StartUpPreferences, OnlyAMissingFileIsWrittenAtOnce) {
    EXPECT_TRUE(prefs_need_writing(pf::kFileNotFoundErr));
    EXPECT_FALSE(prefs_need_writing(pf::noErr));
    EXPECT_FALSE(prefs_need_writing(pf::kIOErr));
    EXPECT_FALSE(prefs_need_writing(pf::kPermissionErr));
}

TEST_F(AppTest, PrintDocumentsOpensTheDocumentsAndPrintsNothing) {
    std::string path = home + "/report.qrv";
    write_document(path);
    pf::AppleEvent event;
    ASSERT_EQ(pf::ae_make_launch_event({path}, event), pf::noErr);
    pf::AEDesc self;
    pf::ae_address_of_self(self);
    pf::AEDesc list;
    ASSERT_EQ(pf::ae_get_param_desc(event, pf::kKeyDirectObject, pf::kTypeList, list), pf::noErr);
    pf::AppleEvent print;
    pf::ae_create_apple_event(pf::kCoreEventClass, pf::kPrintDocuments, self, -1, 0, print);
    pf::ae_put_param_desc(print, pf::kKeyDirectObject, list);
    EXPECT_EQ(pf::ae_send(print, nullptr, pf::kAEWaitReply), pf::noErr);
    EXPECT_EQ(window_titles(false), std::vector<std::string>{"report.qrv:Layer 1"});

    pf::AppleEvent missing;
    pf::ae_create_apple_event(pf::kCoreEventClass, pf::kOpenDocuments, self, -1, 0, missing);
    EXPECT_EQ(pf::ae_send(missing, nullptr, pf::kAEWaitReply), pf::kAEDescNotFoundErr);
}

TEST_F(AppTest, SystemInfoRecordsTheCapabilitiesAndTheSeparators) {
    pf::set_international_settings(pf::us_international_settings());
    ASSERT_TRUE(System_Init());
    EXPECT_EQ(g_system.system_version, 0x1040);
    EXPECT_TRUE(g_system.flags & kSysSelectWindows);
    EXPECT_TRUE(g_system.flags & kSysProxyIcons);
    EXPECT_TRUE(g_system.flags & kSysColorQD);
    EXPECT_TRUE(g_system.flags & kSysScripting);
    EXPECT_TRUE(g_system.flags & kSysAppearance11);
    EXPECT_TRUE(g_system.flags & kSysNavigation);
    EXPECT_FALSE(g_system.flags & kSysQuickTime);
    EXPECT_EQ(g_system.script_count, 8);
    EXPECT_EQ(g_system.several_scripts, 1);
    EXPECT_TRUE(g_system.flags & kSysSecondScript);  // the Japanese script is enabled
    EXPECT_EQ(g_system.system_script, 0);
    EXPECT_EQ(g_system.application_script, 0);
    EXPECT_EQ(g_system.international[0], '.');
    EXPECT_EQ(g_system.international[1], ',');
    EXPECT_EQ(g_system.international[3], '$');
}

TEST_F(AppTest, AMissingFileOnTheCommandLineIsReportedByName) {
    std::string path = home + "/missing.csv";
    std::string unreachable = home + "/no such folder/lost.qrv";
    post_launch({path.c_str(), unreachable.c_str()});
    run_until_idle();
    ASSERT_EQ(alert_requests().size(), 2u);
    EXPECT_EQ(alert_requests()[0].text, named_message(unreachable, pf::kFileNotFoundErr));
    EXPECT_EQ(alert_requests()[1].text, named_message("missing.csv", pf::kFileNotFoundErr));
    EXPECT_TRUE(window_titles(false).empty());
}

TEST_F(AppTest, EachOfSeveralFilesThatCannotOpenIsNamedAndATruncatedDocumentIsDamaged) {
    std::string whole = home + "/whole.qrv";
    write_document(whole);
    std::string cut = home + "/cut.qrv";
    std::string bytes;
    {
        std::ifstream in(whole, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() * 2 / 3);
    std::string gone = home + "/gone.qrv";
    post_launch({cut.c_str(), gone.c_str(), whole.c_str()});
    run_until_idle();
    ASSERT_EQ(alert_requests().size(), 2u);
    EXPECT_EQ(alert_requests()[0].text, named_message("cut.qrv", 1001));
    EXPECT_EQ(alert_requests()[1].text, named_message("gone.qrv", pf::kFileNotFoundErr));
    EXPECT_EQ(window_titles(false), std::vector<std::string>{"whole.qrv:Layer 1"});
}

TEST_F(AppTest, TheTaskManagerHooksOfStartUp) {
    EXPECT_EQ(purge_func(0), 1);
    EXPECT_EQ(urgent_func(191), 1);
    EXPECT_EQ(title_click_func(0), 0);
    pf::WindowRef untitled = new_document();
    EXPECT_EQ(title_click_func(GetTaskAppRef(untitled)), 670);
    std::string path = home + "/saved.qrv";
    write_document(path);
    post_launch({path.c_str()});
    run_until_idle();
    EXPECT_EQ(title_click_func(GetTaskAppRef(pf::front_non_floating_window())), 0);
}

TEST_F(AppTest, WhatIsNotADocumentIsRefusedWithItsReasonAndOpensNothing) {
    std::string folder = home + "/a folder";
    std::filesystem::create_directory(folder);
    std::string noise = home + "/noise.bin";
    std::ofstream(noise, std::ios::binary) << std::string("\x12\x9a\x07\xc3\x55\x01\xfe", 7);
    std::string empty = home + "/empty.qrv";
    std::ofstream{empty};
    std::string newer = home + "/newer.qrv";
    std::ofstream(newer, std::ios::binary) << std::string("\xFF\xFF\x04\x06", 4);
    // Another program's zipped workbook: its second word reads as an older version's.
    std::string zipped = home + "/prices.xlsx";
    std::ofstream(zipped, std::ios::binary) << std::string("PK\x03\x04\x14\x00\x08\x08", 8);
    struct Case {
        std::string path;
        int16_t error;
    } cases[] = {{folder, pf::kNotAFileErr}, {noise, kUnreadableKindErr}, {zipped, kUnreadableKindErr},
                 {empty, 1001},             {newer, 1000}};
    for (const Case& c : cases) {
        alert_requests().clear();
        post_launch({c.path.c_str()});
        run_until_idle();
        ASSERT_EQ(alert_requests().size(), 1u) << c.path;
        EXPECT_EQ(alert_requests()[0].text, named_message(std::filesystem::path(c.path).filename(), c.error)) << c.path;
        EXPECT_TRUE(window_titles(false).empty()) << c.path;
    }
}
