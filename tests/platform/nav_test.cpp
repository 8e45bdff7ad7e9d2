#include "platform/controls/controls.h"
#include "platform/dialogs/dialogs.h"
#include "platform/events/keyboard.h"
#include "platform/lists/lists.h"
#include "platform/menus/menus.h"
#include "platform/nav/nav.h"
#include "platform/screen/screen.h"
#include "platform/windows/windows.h"
#include "platform/text/text.h"
#include "tests/platform/temp_folder.h"
#include "tests/platform/toolbox_test_support.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <string>
#include <vector>

namespace {

using pf::Point;
using pf::Rect;

std::string spec_name(const pf::FileSpec& spec) {
    return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
}

struct Nav : toolboxtest::Screen {
    TempFolder temp;
    pf::FileSpec location;

    void SetUp() override {
        toolboxtest::Screen::SetUp();
        install("");
        namespace fs = std::filesystem;
        fs::create_directories(temp.path + "/a_sub/deeper");
        std::ofstream(temp.path + "/a_sub/inner.txt") << "inner";
        std::ofstream(temp.path + "/b.txt") << "b";
        std::ofstream(temp.path + "/c.qrv") << "c";
        std::ofstream(temp.path + "/.hidden") << "h";
        ASSERT_EQ(pf::file_spec_from_path(temp.path, location), pf::noErr);
        scripted.clear();
    }
    void TearDown() override {
        pf::dialogs_reset();
        pf::controls_reset();
        toolboxtest::Screen::TearDown();
    }

    static std::vector<uint32_t> scripted;  // folders whose clicks were scripted

    void key(unsigned char ch, uint8_t code, uint16_t modifiers = 0) { pf::driver_key(code, ch, modifiers); }
};
std::vector<uint32_t> Nav::scripted;

// Global point of a local point of the front window (the dialog).
Point in_front(Point local) {
    Rect content = pf::window_content_rect(pf::front_window());
    return Point{int16_t(content.top + local.v), int16_t(content.left + local.h)};
}

constexpr Point kFirstRow{102, 60};     // inside the list's first row
constexpr Point kOpenButton{366, 415};  // the default button

// Scripts the clicks of the open test as each folder is listed: a double click on
// the first row (the sub-folder), then in it a click on the first file and Open.
bool script_clicks(const pf::FileSpec& item, const pf::CatalogInfo&, void*) {
    if (std::find(Nav::scripted.begin(), Nav::scripted.end(), uint32_t(item.parent)) != Nav::scripted.end()) return true;
    Nav::scripted.push_back(uint32_t(item.parent));
    if (Nav::scripted.size() == 1) {
        pf::driver_click(in_front(kFirstRow));
        pf::driver_click(in_front(kFirstRow));
    } else {
        pf::driver_click(in_front(Point{int16_t(kFirstRow.v + 24), kFirstRow.h}));  // below the folder "deeper"
        pf::driver_click(in_front(kOpenButton));
    }
    return true;
}

std::string capture_path;
void capture_open_dialog() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (front && pf::window_title(front) == "Open") pf::screen_write_png(capture_path);
}

TEST_F(Nav, OpenChoosesAFileInASubFolderWithTheMouse) {
    pf::NavDialogOptions options;
    options.filter = script_clicks;
    capture_path = toolboxtest::screenshot_path("open_dialog.png");
    pf::host_set_composer(capture_open_dialog);
    pf::NavReply reply;
    EXPECT_EQ(pf::nav_get_file(&location, options, reply), pf::noErr);
    pf::host_set_composer(toolboxtest::guarded_compose);
    ASSERT_TRUE(reply.valid);
    ASSERT_EQ(reply.selection.size(), 1u);
    std::string path;
    pf::path_from_file_spec(reply.selection[0], path);
    EXPECT_EQ(path, temp.path + "/a_sub/inner.txt");
    EXPECT_EQ(pf::front_window(), nullptr);
}

TEST_F(Nav, OpenIsUsableFromTheKeyboardAndRemembersTheFolder) {
    pf::NavDialogOptions options;
    pf::driver_type("a_");
    key(pf::kReturnChar, pf::kKeyCodeReturn);  // Open on a folder goes into it
    pf::driver_type("inn");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::NavReply reply;
    ASSERT_EQ(pf::nav_get_file(&location, options, reply), pf::noErr);
    ASSERT_EQ(reply.selection.size(), 1u);
    EXPECT_EQ(spec_name(reply.selection[0]), "inner.txt");

    // No location: the folder last shown. Command-Up goes to its parent.
    key(pf::kUpArrowChar, pf::kKeyCodeUpArrow, pf::kCmdKey);
    pf::driver_type("c");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    ASSERT_EQ(pf::nav_get_file(nullptr, options, reply), pf::noErr);
    EXPECT_EQ(spec_name(reply.selection[0]), "c.qrv");

    key(pf::kEscapeChar, pf::kKeyCodeEscape);
    EXPECT_EQ(pf::nav_get_file(&location, options, reply), pf::kUserCanceledErr);
    EXPECT_FALSE(reply.valid);
}

// The items of the open dialog's folder pop-up (dialog item 4) as the screen
// first shows them: each item's text and whether it is UTF-8.
std::vector<std::pair<std::string, bool>> path_items;
void read_path_popup() {
    toolboxtest::guarded_compose();
    pf::DialogRef dialog = pf::get_dialog_from_window(pf::front_window());
    pf::ControlRef popup = dialog ? pf::get_dialog_item_control(dialog, 4) : nullptr;
    pf::MenuRef menu = nullptr;
    if (!popup || !path_items.empty() ||
        pf::get_control_data(popup, 0, pf::kControlPopupButtonMenuHandleTag, sizeof menu, &menu, nullptr) != pf::noErr)
        return;
    for (int16_t item = 1; item <= pf::count_menu_items(menu); ++item)
        path_items.emplace_back(pf::get_menu_item_text(menu, item), pf::menu_item(menu, item)->utf8);
}

// Folders are named in the pop-up as they read (UTF-8, each letter in the
// font of a script that spells it), whatever their scripts, never as
// question marks.
TEST_F(Nav, ThePathPopUpNamesFoldersAsTheyRead) {
    const std::string data = "\xD0\x94\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5";  // "Данные"
    const std::string mixed = "Rozpo\xC4\x8D" "et " + data;
    std::filesystem::create_directories(temp.path + "/" + mixed + "/" + data);
    std::ofstream(temp.path + "/" + mixed + "/" + data + "/x.txt") << "x";
    pf::FileSpec folder;
    ASSERT_EQ(pf::file_spec_from_path(temp.path + "/" + mixed + "/" + data, folder), pf::noErr);
    pf::NavDialogOptions options;
    path_items.clear();
    pf::host_set_composer(read_path_popup);
    key(pf::kEscapeChar, pf::kKeyCodeEscape);
    pf::NavReply reply;
    EXPECT_EQ(pf::nav_get_file(&folder, options, reply), pf::kUserCanceledErr);
    pf::host_set_composer(toolboxtest::guarded_compose);
    ASSERT_GE(path_items.size(), 3u);
    EXPECT_EQ(path_items[0].first, data);
    EXPECT_EQ(path_items[1].first, mixed);
    EXPECT_EQ(path_items[2].first, std::filesystem::path(temp.path).filename().string());
}

bool only_text(const pf::FileSpec&, const pf::CatalogInfo& info, void*) { return info.finder.type == pf::four_cc("TEXT"); }

TEST_F(Nav, FiltersChooseWhatIsListed) {
    pf::NavDialogOptions options;
    options.filter = only_text;
    options.allow_multiple = true;
    // Listed: a_sub, b.txt (c.qrv is filtered out, .hidden is invisible).
    key(pf::kEndChar, pf::kKeyCodeEnd);
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::NavReply reply;
    ASSERT_EQ(pf::nav_get_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(spec_name(reply.selection[0]), "b.txt");

    options.filter = nullptr;
    options.types = {pf::four_cc("TEXT")};
    key(pf::kDownArrowChar, pf::kKeyCodeDownArrow);
    key(pf::kDownArrowChar, pf::kKeyCodeDownArrow, pf::kShiftKey);  // a folder and a file: the file opens
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    ASSERT_EQ(pf::nav_get_file(&location, options, reply), pf::noErr);
    ASSERT_EQ(reply.selection.size(), 1u);
    EXPECT_EQ(spec_name(reply.selection[0]), "b.txt");
}

TEST_F(Nav, ChooseFolderAnswersTheSelectedFolder) {
    std::filesystem::create_directories(temp.path + "/uxentry");
    std::filesystem::create_directories(temp.path + "/uxfolder");
    // The first folder at the start; typing selects the first starting with what was typed.
    for (auto [typed, chosen] : {std::pair{"", "/a_sub"}, std::pair{"uxf", "/uxfolder"}}) {
        pf::NavDialogOptions options;
        pf::driver_type(typed);
        key(pf::kReturnChar, pf::kKeyCodeReturn);
        pf::NavReply reply;
        ASSERT_EQ(pf::nav_choose_folder(&location, options, reply), pf::noErr);
        std::string path;
        pf::path_from_file_spec(reply.selection[0], path);
        EXPECT_EQ(path, temp.path + chosen) << typed;
    }
}

int custom_starts = 0;
void add_format_popup(pf::DialogRef dialog, const Rect& area, void*) {
    ++custom_starts;
    pf::ControlRef format = pf::new_control(pf::get_dialog_window(dialog), Rect{area.top, area.left, int16_t(area.top + 20), 300},
                                            "Format:", true, 1, 0, 0, pf::kPopupButtonControl, 0);
    pf::MenuRef menu = pf::new_menu(0, "");
    pf::append_menu_item_text(menu, "Quorvin document");
    pf::append_menu_item_text(menu, "Text (tab separated)");
    pf::set_control_data(format, 0, pf::kControlPopupButtonMenuHandleTag, sizeof menu, &menu);
    pf::append_dialog_control_item(dialog, format);
}

TEST_F(Nav, SaveRefusesAnEmptyNameAndAsksBeforeReplacing) {
    pf::NavDialogOptions options;
    options.custom.height = 30;
    options.custom.start = add_format_popup;
    key(pf::kReturnChar, pf::kKeyCodeReturn);  // nothing typed: refused, the dialog stays
    pf::driver_type("Report");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::NavReply reply;
    ASSERT_EQ(pf::nav_put_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(custom_starts, 1);
    EXPECT_EQ(spec_name(reply.selection[0]), "Report");
    uint32_t folder = 0;
    ASSERT_EQ(pf::folder_id_of_spec(location, folder), pf::noErr);
    EXPECT_EQ(uint32_t(reply.selection[0].parent), folder);
    EXPECT_FALSE(reply.replacing);

    // An existing name: the question's default is Cancel; Replace takes a click.
    options.saved_file_name = "b.txt";
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    key(pf::kReturnChar, pf::kKeyCodeReturn);  // Cancel: back in the save dialog
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::driver_click(Point{242, 364});        // Replace
    ASSERT_EQ(pf::nav_put_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(spec_name(reply.selection[0]), "b.txt");
    EXPECT_TRUE(reply.replacing);

    options.saved_file_name = "";
    pf::driver_type("a_sub");  // a folder's name cannot be saved over
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    key(pf::kEscapeChar, pf::kKeyCodeEscape);
    EXPECT_EQ(pf::nav_put_file(&location, options, reply), pf::kUserCanceledErr);
}

// The texts of the refusals shown while a dialog runs.
std::vector<std::string> refusals;
void record_refusals() {
    toolboxtest::guarded_compose();
    pf::DialogRef dialog = pf::get_dialog_from_window(pf::front_window());
    if (!dialog || dialog->alert_kind != pf::kStopAlert) return;
    std::string text = pf::get_dialog_item_text(dialog, 4);
    if (refusals.empty() || refusals.back() != text) refusals.push_back(text);
}

std::string saved_path(const pf::NavReply& reply) {
    std::string path;
    if (reply.selection.size() == 1) pf::path_from_file_spec(reply.selection[0], path);
    return path;
}

// A name typed in another script than Roman names the file as it reads
// (UTF-8), and a proposed name of that script is saved under it too.
TEST_F(Nav, SaveNamesTheFileInTheScriptOfTheTypedName) {
    const std::string moscow = "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0";
    pf::NavDialogOptions options;
    pf::driver_type(moscow + ".csv");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::NavReply reply;
    ASSERT_EQ(pf::nav_put_file(&location, options, reply), pf::noErr);
    std::string path;
    ASSERT_EQ(pf::path_from_file_spec(reply.selection.at(0), path), pf::noErr);
    EXPECT_EQ(path, temp.path + "/" + moscow + ".csv");

    pf::set_keyboard_script(pf::kScriptRoman);
    options.saved_file_name = pf::spell_in_script(moscow + " 2.csv", pf::kScriptCyrillic).bytes;
    options.saved_file_name_script = pf::kScriptCyrillic;
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    ASSERT_EQ(pf::nav_put_file(&location, options, reply), pf::noErr);
    ASSERT_EQ(pf::path_from_file_spec(reply.selection.at(0), path), pf::noErr);
    EXPECT_EQ(path, temp.path + "/" + moscow + " 2.csv");
}

// A name typed in several scripts (Czech and Cyrillic) names the file as it
// was typed, in UTF-8, never spelled again in one script with "?" for the rest.
TEST_F(Nav, SaveNamesTheFileAsTypedInSeveralScripts) {
    const std::string name = "Rozpo\xC4\x8D" "et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82.qrv";
    pf::NavDialogOptions options;
    pf::driver_type("Rozpo\xC4\x8D" "et ");  // on a Czech keyboard, then a Russian one
    pf::driver_type("\xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82.qrv");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::NavReply reply;
    ASSERT_EQ(pf::nav_put_file(&location, options, reply), pf::noErr);
    std::string path, real;
    ASSERT_EQ(pf::path_from_file_spec(reply.selection.at(0), path), pf::noErr);
    EXPECT_EQ(path, temp.path + "/" + name);
    std::ofstream(path) << "x";
    EXPECT_TRUE(pf::file_spec_real_name(reply.selection.at(0), real));
    EXPECT_EQ(real, name);
}

TEST_F(Nav, SaveTakesATypedPathAsItsFolderAndName) {
    pf::NavDialogOptions options;
    pf::NavReply reply;
    options.saved_file_name = temp.path + "/a_sub/t1.qrv";
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    ASSERT_EQ(pf::nav_put_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(spec_name(reply.selection[0]), "t1.qrv");
    EXPECT_EQ(saved_path(reply), temp.path + "/a_sub/t1.qrv");

    options.saved_file_name = "a_sub/../a_sub/deeper/t2.qrv";  // from the folder shown
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    ASSERT_EQ(pf::nav_put_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(saved_path(reply), temp.path + "/a_sub/deeper/t2.qrv");

    std::string home = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", (temp.path + "/a_sub").c_str(), 1);
    options.saved_file_name = "~/t3.qrv";
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::OSErr home_err = pf::nav_put_file(&location, options, reply);
    setenv("HOME", home.c_str(), 1);
    ASSERT_EQ(home_err, pf::noErr);
    EXPECT_EQ(saved_path(reply), temp.path + "/a_sub/t3.qrv");

    // A folder alone is shown; the name typed next saves in it. An existing file asks first.
    options.saved_file_name = "a_sub/";
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::driver_type("inner.txt");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::driver_click(Point{242, 364});  // Replace
    ASSERT_EQ(pf::nav_put_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(saved_path(reply), temp.path + "/a_sub/inner.txt");
    EXPECT_TRUE(reply.replacing);
}

TEST_F(Nav, SaveRefusesAMissingFolderOrADotNameAndStaysOpen) {
    pf::host_set_composer(record_refusals);
    refusals.clear();
    pf::NavDialogOptions options;
    pf::NavReply reply;
    const std::string long_name(64, 'n');
    for (std::string typed : {std::string("nope/t1.qrv"), std::string("/no/such/dir/t1.qrv"), std::string(".."),
                              std::string("a_sub/."), long_name}) {
        options.saved_file_name = typed;
        key(pf::kReturnChar, pf::kKeyCodeReturn);  // refused
        key(pf::kReturnChar, pf::kKeyCodeReturn);  // OK: back in the save dialog
        key(pf::kEscapeChar, pf::kKeyCodeEscape);
        EXPECT_EQ(pf::nav_put_file(&location, options, reply), pf::kUserCanceledErr) << typed;
        EXPECT_FALSE(reply.valid) << typed;
    }
    pf::host_set_composer(toolboxtest::guarded_compose);
    ASSERT_EQ(refusals.size(), 5u);
    EXPECT_EQ(refusals[0], "There is no folder \xE2\x80\x9Cnope\xE2\x80\x9D.");
    EXPECT_EQ(refusals[1], "There is no folder \xE2\x80\x9C/no/such/dir\xE2\x80\x9D.");
    EXPECT_EQ(refusals[2], "\xE2\x80\x9C..\xE2\x80\x9D cannot be used as a name.");
    EXPECT_EQ(refusals[3], "\xE2\x80\x9C.\xE2\x80\x9D cannot be used as a name.");
    EXPECT_EQ(refusals[4], "The name \xE2\x80\x9C" + long_name + "\xE2\x80\x9D is too long.");
    for (const auto& entry : std::filesystem::directory_iterator(temp.path))
        EXPECT_EQ(entry.path().filename().string().find(':'), std::string::npos) << entry.path();
}

constexpr Point kGoToField{23, 200};
constexpr Point kShowAllBox{335, 30};

// Input for the dialog, posted once its window is up (at its first listing);
// the listing is then filtered to text files.
std::function<void()> dialog_script;
bool script_then_only_text(const pf::FileSpec& item, const pf::CatalogInfo& info, void* user) {
    if (dialog_script) std::exchange(dialog_script, nullptr)();
    return only_text(item, info, user);
}

void type_path(const std::string& path) {
    pf::driver_click(in_front(kGoToField));
    pf::driver_type(path);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar, 0);
}

TEST_F(Nav, OpenTakesATypedPathAndCanShowAllFiles) {
    pf::host_set_composer(record_refusals);
    refusals.clear();
    pf::NavDialogOptions options;
    options.filter = script_then_only_text;
    pf::NavReply reply;
    // A typed file opens whatever the filter says; a typed folder is shown.
    dialog_script = [&] { type_path(temp.path + "/c.qrv"); };
    ASSERT_EQ(pf::nav_get_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(spec_name(reply.selection[0]), "c.qrv");

    // A path typed straight away, without a click in the Go to field, goes there.
    dialog_script = [&] {
        pf::driver_type(temp.path + "/a_sub/inner.txt");
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar, 0);
    };
    ASSERT_EQ(pf::nav_get_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(spec_name(reply.selection[0]), "inner.txt");

    dialog_script = [&] {
        type_path("a_sub");
        pf::driver_click(in_front(Point{int16_t(kFirstRow.v + 24), kFirstRow.h}));  // below the folder "deeper"
        pf::driver_click(in_front(kOpenButton));
    };
    ASSERT_EQ(pf::nav_get_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(spec_name(reply.selection[0]), "inner.txt");

    // Hidden by the filter until all files are shown.
    dialog_script = [&] {
        pf::driver_click(in_front(kShowAllBox));
        pf::driver_type("c");
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar, 0);
    };
    ASSERT_EQ(pf::nav_get_file(&location, options, reply), pf::noErr);
    EXPECT_EQ(spec_name(reply.selection[0]), "c.qrv");

    dialog_script = [&] {
        type_path("nope");                         // refused
        key(pf::kReturnChar, pf::kKeyCodeReturn);  // OK: back in the open dialog
        key(pf::kEscapeChar, pf::kKeyCodeEscape);
    };
    EXPECT_EQ(pf::nav_get_file(&location, options, reply), pf::kUserCanceledErr);
    pf::host_set_composer(toolboxtest::guarded_compose);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0], "There is no file or folder \xE2\x80\x9Cnope\xE2\x80\x9D.");
}

// The rows of the Open dialog's list, read as each listing is drawn: the
// first listing, then the one after a click on "Show all files".
std::vector<std::string> listed_rows[2];
int listing_step = 0;
std::vector<std::string> open_dialog_rows() {
    std::vector<std::string> rows;
    pf::WindowRef front = pf::front_window();
    pf::DialogRef dialog = front && pf::window_title(front) == "Open" ? pf::get_dialog_from_window(front) : nullptr;
    pf::ListHandle list = nullptr;
    if (!dialog || pf::get_control_data(pf::get_dialog_item_control(dialog, 5), 0, pf::kControlListBoxListHandleTag,
                                        sizeof list, &list, nullptr) != pf::noErr || !list)
        return rows;
    for (int16_t row = 0; row < list->rows; ++row) rows.push_back(pf::list_get_cell(list, Point{row, 0}));
    return rows;
}
void read_listings_composer() {
    toolboxtest::guarded_compose();
    const std::vector<std::string> rows = open_dialog_rows();
    if (rows.empty()) return;
    if (listing_step == 0) {
        listed_rows[0] = rows;
        pf::driver_click(in_front(kShowAllBox));
        listing_step = 1;
    } else if (listing_step == 1 && rows != listed_rows[0]) {
        listed_rows[1] = rows;
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar, 0);
        listing_step = 2;
    }
}

TEST_F(Nav, HiddenFoldersAndFilesAreListedOnlyWithAllFilesShown) {
    std::filesystem::create_directories(temp.path + "/.cache");
    listing_step = 0;
    pf::host_set_composer(read_listings_composer);
    pf::NavDialogOptions options;
    pf::NavReply reply;
    EXPECT_EQ(pf::nav_get_file(&location, options, reply), pf::kUserCanceledErr);
    pf::host_set_composer(toolboxtest::guarded_compose);
    ASSERT_EQ(listing_step, 2);
    EXPECT_EQ(listed_rows[0], (std::vector<std::string>{"a_sub", "b.txt", "c.qrv"}));
    EXPECT_EQ(listed_rows[1], (std::vector<std::string>{".cache", ".hidden", "a_sub", "b.txt", "c.qrv"}));
}

// The pixels of the Open dialog's list as it first shows its folder.
std::vector<uint32_t> list_pixels;
void read_list_pixels() {
    toolboxtest::guarded_compose();
    pf::WindowRef front = pf::front_window();
    pf::DialogRef dialog = front && pf::window_title(front) == "Open" ? pf::get_dialog_from_window(front) : nullptr;
    if (!dialog || !list_pixels.empty()) return;
    const Rect box = pf::get_dialog_item_box(dialog, 5);
    const Point from = in_front(Point{box.top, box.left}), to = in_front(Point{box.bottom, box.right});
    for (int v = from.v; v < to.v; ++v)
        for (int h = from.h; h < to.h; ++h) list_pixels.push_back(pf::screen_pixel(h, v));
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar, 0);
}

// A file whose name no one script spells is listed as it reads, letter by
// letter, never with marks for what one script lacks.
TEST_F(Nav, TheListShowsFileNamesAsTheyRead) {
    const auto listing = [&](const std::string& folder, const std::string& name) {
        std::filesystem::create_directories(temp.path + "/" + folder);
        std::ofstream(temp.path + "/" + folder + "/" + name) << "x";
        pf::FileSpec spec;
        EXPECT_EQ(pf::file_spec_from_path(temp.path + "/" + folder, spec), pf::noErr);
        list_pixels.clear();
        pf::host_set_composer(read_list_pixels);
        pf::NavDialogOptions options;
        pf::NavReply reply;
        EXPECT_EQ(pf::nav_get_file(&spec, options, reply), pf::kUserCanceledErr);
        pf::host_set_composer(toolboxtest::guarded_compose);
        return list_pixels;
    };
    const std::vector<uint32_t> letters =
        listing("letters", "Rozpo\xC4\x8D" "et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82.qrv");
    const std::vector<uint32_t> marks = listing("marks", "Rozpo?et ??????.qrv");
    ASSERT_FALSE(letters.empty());
    EXPECT_NE(letters, marks);
    EXPECT_EQ(listing("marks again", "Rozpo?et ??????.qrv"), marks);
}

TEST_F(Nav, AskSaveChangesAnswersEachButton) {
    pf::NavDialogOptions options;
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    EXPECT_EQ(pf::nav_ask_save_changes("Budget", false, options), pf::kNavUserActionSaveChanges);
    key(pf::kEscapeChar, pf::kKeyCodeEscape);
    EXPECT_EQ(pf::nav_ask_save_changes("Budget", true, options), pf::kNavUserActionCancel);
    key('d', 2, pf::kCmdKey);
    EXPECT_EQ(pf::nav_ask_save_changes("Budget", false, options), pf::kNavUserActionDontSaveChanges);
}

}  // namespace
