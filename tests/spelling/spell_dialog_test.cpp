// The spelling window over a scan: each button acts on the word shown and on the
// words the scan hands over after it; a picture of the window over a sheet. It
// is a window of its own: documents come to the front over it, Spelling brings
// it back, Close closes it, and a scan whose document closed or whose word was
// typed over changes nothing.
#include <cstdio>
#include <functional>
#include <fstream>
#include <utility>

#include "../window/road_fixture.h"
#include "editing/editing_commands.h"
#include "model/workbook.h"
#include "window/document_windows.h"
#include "window/document_closing.h"
#include "ui/lists_and_menus.h"
#include "platform/lists/lists.h"
#include "platform/draw/port.h"
#include "platform/draw/text.h"
#include "platform/screen/screen.h"
#include "platform/text/text.h"
#include "ui/app_prefs.h"
#include "spelling/spell_dialog.h"
#include "spelling/spelling.h"
#include "tests/core/dialog_test_support.h"
#include "app/event_loop.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

constexpr int16_t kChange = 1, kCancel = 2, kIgnore = 3, kIgnoreAll = 4, kChangeAll = 5, kAdd = 6;
constexpr int16_t kSuggest = 7, kMessage = 8, kWord = 9, kReplacement = 11, kSuggestions = 12;

// A scan over a list of words that reports what spell_check does not accept,
// as the scan over cells does.
struct ListedWords {
    std::vector<std::string> words;
    size_t next = 0;
    std::vector<std::pair<size_t, std::string>> replaced;  // word index, replacement
};

bool next_listed(void* context, char word[kSpellWordLimit + 1], int16_t* reason) {
    auto* listed = static_cast<ListedWords*>(context);
    while (listed->next < listed->words.size()) {
        const std::string& candidate = listed->words[listed->next++];
        *reason = spell_check(candidate.c_str(), 1);
        if (*reason == kSpellAccepted) continue;
        std::snprintf(word, kSpellWordLimit + 1, "%s", candidate.c_str());
        return true;
    }
    return false;
}

void replace_listed(void* context, const char* replacement) {
    auto* listed = static_cast<ListedWords*>(context);
    listed->replaced.emplace_back(listed->next - 1, replacement);
}

int finished_count = 0;
void count_finished(void*) { ++finished_count; }

SpellWordSource source_of(ListedWords& listed) {
    SpellWordSource source;
    source.context = &listed;
    source.next_word = next_listed;
    source.replace_word = replace_listed;
    source.finished = count_finished;
    return source;
}

// What the window showed each time it changed, and the script of actions taken
// then, one for each change; Cancel once the script is played.
struct Shown {
    std::string message, word, replacement, first_suggestion;
    bool front = false;
    size_t alerts = 0;
    bool operator==(const Shown&) const = default;
};
using Action = std::function<void(pf::DialogRef)>;
std::vector<Shown> shown;
std::vector<Action> script;
std::string picture_name;

pf::Point global_centre(pf::DialogRef dialog, pf::Rect box) {
    pf::Rect content = pf::window_content_rect(pf::get_dialog_window(dialog));
    return pf::Point{int16_t(content.top + (box.top + box.bottom) / 2), int16_t(content.left + (box.left + box.right) / 2)};
}

Action press(int16_t item) {
    return [item](pf::DialogRef dialog) { pf::driver_click(global_centre(dialog, pf::get_dialog_item_box(dialog, item))); };
}

pf::ListHandle suggestion_list(pf::DialogRef dialog) { return GetDialogListHandle(dialog, kSuggestions); }

Action double_click_suggestion(int16_t row) {
    return [row](pf::DialogRef dialog) {
        pf::Point at = global_centre(dialog, pf::list_cell_rect(suggestion_list(dialog), pf::Point{row, 0}));
        pf::driver_click(at);
        pf::driver_click(at);
    };
}

Action type_into_field(std::string text) {
    return [text](pf::DialogRef) { pf::driver_type(text); };
}

Shown what_is_shown(pf::DialogRef dialog) {
    pf::ListHandle list = suggestion_list(dialog);
    return Shown{dialogtest::field(dialog, kMessage), dialogtest::field(dialog, kWord), dialogtest::field(dialog, kReplacement),
                 list && list->rows ? pf::list_get_cell(list, pf::Point{0, 0}) : std::string(),
                 is_spelling_window(pf::front_non_floating_window()), alert_requests().size()};
}

void play_script() {
    pf::compose_screen();
    pf::DialogRef dialog = spell_dialog;
    const bool idle = pf::driver_pending_steps() == 0 && pf::queued_event_count() == 0;
    if (dialog && idle && pf::is_modal_window(pf::front_window())) {
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // an alert over the window
    } else if (dialog && idle) {
        Shown now = what_is_shown(dialog);
        if (shown.empty() || !(now == shown.back())) {
            shown.push_back(now);
            if (!picture_name.empty()) pf::screen_write_png(dialogtest::screenshot_path(picture_name));
            picture_name.clear();
            const size_t step = shown.size() - 1;
            (step < script.size() ? script[step] : press(kCancel))(dialog);
        }
    }
    dialogtest::guarded_compose_step();
}

struct SpellDialogTest : TypedRoadTest {
    // Opens the window over the words and runs the loop, the script playing,
    // until the window has closed.
    void check(ListedWords& listed) {
        open_spell_dialog(source_of(listed));
        for (int i = 0; i < 100 && spell_dialog; ++i) run_until_idle();
    }
    // The item's button pressed in the window, which is in front.
    void press_now(int16_t item) {
        ASSERT_NE(spell_dialog, nullptr);
        press(item)(spell_dialog);
        run_until_idle();
    }
    void SetUp() override {
        TypedRoadTest::SetUp();
        ASSERT_TRUE(open_spelling()) << "the US English dictionary is installed by tools/install-deps";
        shown.clear();
        script.clear();
        picture_name.clear();
        finished_count = 0;
        set_unattended_run(false);
        pf::host_set_composer(play_script);
    }
    void TearDown() override {
        set_unattended_run(true);
        pf::host_set_composer(pf::compose_screen);
        TypedRoadTest::TearDown();
    }
};

}  // namespace

TEST_F(SpellDialogTest, EachButtonActsOnTheWordShownAndOnThoseAfterIt) {
    ListedWords listed;
    listed.words = {"teh", "cat", "recieve", "teh", "Quorvinish", "xyzzyq", "sat", "xyzzyq", "paris", "Quorvinish"};
    script = {press(kChangeAll), press(kChange), press(kAdd), press(kIgnoreAll), press(kIgnore)};
    check(listed);

    ASSERT_EQ(shown.size(), 6u);
    const std::vector<std::string> words = {"teh", "recieve", "Quorvinish", "xyzzyq", "paris", ""};
    for (size_t i = 0; i < words.size(); ++i) EXPECT_EQ(shown[i].word, words[i]) << i;
    EXPECT_EQ(shown[0].message, "Not in dictionary:");
    EXPECT_EQ(shown[4].message, "Wrong capitals:");
    EXPECT_EQ(shown[5].message, "The spelling check is complete.");
    EXPECT_TRUE(shown[0].front);
    // The first suggestion is offered, and Change All also changed the later "teh".
    EXPECT_EQ(shown[0].replacement, "the");
    EXPECT_EQ(shown[1].replacement, "receive");
    EXPECT_EQ(listed.replaced, (std::vector<std::pair<size_t, std::string>>{{0, "the"}, {2, "receive"}, {3, "the"}}));
    // Added and ignored words are not shown again, and stay accepted.
    EXPECT_EQ(spell_check("Quorvinish", 1), kSpellAccepted);
    std::ifstream custom(home + "/Quorvin/Custom Dictionary");
    std::string line;
    EXPECT_TRUE(std::getline(custom, line) && line == "Quorvinish");
    ASSERT_NE(ignore_ref, nullptr);
    EXPECT_EQ(ignore_ref->words, std::vector<std::string>{"xyzzyq"});
    EXPECT_EQ(spell_dialog, nullptr);
    EXPECT_FALSE(is_spelling_window(pf::front_non_floating_window()));
    EXPECT_EQ(finished_count, 1) << "the source is told once that the window closed";
}

TEST_F(SpellDialogTest, TheSpellingWindowOverASheetShowsTheMisspelledWord) {
    enter("Quarterly recieve totals");
    click(CellPoint{0, 0});
    ListedWords listed;
    listed.words = {"Quarterly", "recieve", "totals"};
    picture_name = "spelling_window.png";
    check(listed);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].word, "recieve");
    EXPECT_EQ(shown[0].message, "Not in dictionary:");
    EXPECT_TRUE(listed.replaced.empty());
}

// The end message on one line in its box, not cut above the "Change to:"
// label (spelling_complete.png).
TEST_F(SpellDialogTest, TheEndMessageFitsOnItsLine) {
    ListedWords listed;
    listed.words = {"cat", "sat"};
    picture_name = "spelling_complete.png";
    int16_t message_width = 0, box_width = 0;
    script = {[&](pf::DialogRef dialog) {
        pf::PortScope scope(pf::window_port(pf::get_dialog_window(dialog)));
        message_width = pf::text_width(dialogtest::field(dialog, kMessage));
        box_width = pf::get_dialog_item_box(dialog, kMessage).width();
        press(kCancel)(dialog);
    }};
    check(listed);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message, "The spelling check is complete.");
    EXPECT_GT(message_width, 0);
    EXPECT_LE(message_width, box_width);
}

TEST_F(SpellDialogTest, WithoutADictionaryTheSpellingCommandIsDimmedAndTheWindowDoesNotOpen) {
    set_edit_menu(window_doc_record(window));
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kEditMenu), kEditSpellingItem));
    close_spell();
    set_edit_menu(window_doc_record(window));
    EXPECT_FALSE(pf::is_menu_item_enabled(pf::get_menu_handle(kEditMenu), kEditSpellingItem));
    ListedWords listed;
    listed.words = {"recieve"};
    check(listed);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(listed.next, 0u);
}

TEST_F(SpellDialogTest, ATypedReplacementGetsSuggestionsAndADoubleClickedOneReplacesTheWord) {
    ListedWords listed;
    listed.words = {"seperate", "recieve"};
    script = {type_into_field("recieved"), press(kSuggest), double_click_suggestion(0), press(kChange)};
    check(listed);

    ASSERT_GE(shown.size(), 5u);
    EXPECT_EQ(shown[0].replacement, "separate");
    EXPECT_EQ(shown[1].replacement, "recieved");
    EXPECT_EQ(shown[2].first_suggestion, "received");  // suggestions for what was typed
    EXPECT_EQ(shown[3].word, "recieve");
    EXPECT_EQ(listed.replaced, (std::vector<std::pair<size_t, std::string>>{{0, "received"}, {1, "receive"}}));
}

// "Change to" is read as it reads: "café" typed, then "東京" on a Japanese
// keyboard, reach the word's source as UTF-8.
TEST_F(SpellDialogTest, AReplacementTypedOnSeveralKeyboardsIsHandedOnAsItReads) {
    ListedWords listed;
    listed.words = {"seperate"};
    script = {type_into_field("caf\u00e9"), type_into_field("\u6771\u4eac"), press(kChange)};
    check(listed);
    pf::set_keyboard_script(pf::kScriptRoman);
    EXPECT_EQ(listed.replaced, (std::vector<std::pair<size_t, std::string>>{{0, "caf\u00e9\u6771\u4eac"}}));
}

TEST_F(SpellDialogTest, AWordThatCannotBeAddedIsReportedAndStaysShown) {
    std::filesystem::create_directories(home + "/Quorvin/Custom Dictionary");
    alert_requests().clear();
    ListedWords listed;
    listed.words = {"Quorvinish"};
    script = {press(kAdd)};
    check(listed);

    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].word, "Quorvinish");
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].alert_id, 24001);
    EXPECT_EQ(alert_requests()[0].text, "Quorvinish");
    EXPECT_EQ(spell_check("Quorvinish", 1), kSpellUnknown);
}

namespace {

std::string text_in(MemoryRef layer, CellPoint where) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer) || _cellType_(cell) != kCellText) return {};
    return std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
}

// The document comes to the front over the open window and the window stays
// open on its word; Spelling brings it back as it was, and Close with it in
// front closes it and leaves the document open.
TEST_F(SpellDialogTest, TheWindowStaysOpenBehindADocumentAndCloseClosesIt) {
    pf::host_set_composer(pf::compose_screen);  // no script: the test acts itself
    enter("Quarterly recieve totals");
    click(CellPoint{0, 0});
    ListedWords listed;
    listed.words = {"Quarterly", "recieve", "totals"};
    open_spell_dialog(source_of(listed));
    run_until_idle();
    ASSERT_NE(spell_dialog, nullptr);
    pf::WindowRef spelling = pf::get_dialog_window(spell_dialog);
    EXPECT_EQ(pf::front_non_floating_window(), spelling);
    EXPECT_EQ(dialogtest::field(spell_dialog, kWord), "recieve");

    click(CellPoint{2, 0});
    EXPECT_EQ(pf::front_non_floating_window(), window) << "a click on the document brings it to the front";
    select_cells(layer, CellRange{{2, 0}, {2, 0}});
    enter("typed while the window waits");
    EXPECT_EQ(text_in(layer, CellPoint{2, 0}), "typed while the window waits");
    ASSERT_EQ(spell_dialog, pf::get_dialog_from_window(spelling));

    open_spell_dialog(source_of(listed));  // Spelling again: the same window, the same word
    run_until_idle();
    EXPECT_EQ(pf::front_non_floating_window(), spelling);
    EXPECT_EQ(dialogtest::field(spell_dialog, kWord), "recieve");
    EXPECT_EQ(listed.next, 2u);
    enable_menus();
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kFileMenu), kFileCloseItem));

    DoFileMenu(nullptr, kFileCloseItem);
    run_until_idle();
    EXPECT_EQ(spell_dialog, nullptr);
    EXPECT_EQ(finished_count, 1);
    EXPECT_EQ(pf::front_non_floating_window(), window);
    EXPECT_TRUE(listed.replaced.empty());
}

// The layer's scan from Edit > Spelling: a word typed over while the window
// waited is not replaced, and once the document has closed the window's
// buttons change nothing and the check ends.
TEST_F(SpellDialogTest, AScanLeavesAloneAWordTypedOverAndADocumentThatClosed) {
    pf::host_set_composer(pf::compose_screen);
    enter("recieve");
    enter("seperate teh");
    click(CellPoint{0, 0});
    MemoryRef record = window_doc_record(window);
    DoEditMenu(record, kEditSpellingItem);
    run_until_idle();
    ASSERT_NE(spell_dialog, nullptr);
    EXPECT_EQ(dialogtest::field(spell_dialog, kWord), "recieve");

    click(CellPoint{0, 0});
    ASSERT_EQ(pf::front_non_floating_window(), window);
    select_cells(layer, CellRange{{0, 0}, {0, 0}});
    enter("received at last");
    DoEditMenu(record, kEditSpellingItem);
    run_until_idle();
    press_now(kChange);
    EXPECT_EQ(text_in(layer, CellPoint{0, 0}), "received at last") << "the word typed over stays as typed";
    EXPECT_EQ(dialogtest::field(spell_dialog, kWord), "seperate");

    pf::driver_type("d");  // Don't Save
    CloseFrontWorkSheet(record);
    run_until_idle();
    ASSERT_EQ(first_document_window(), nullptr) << "the document closed";
    pf::select_window(pf::get_dialog_window(spell_dialog));
    run_until_idle();
    press_now(kChange);
    EXPECT_EQ(dialogtest::field(spell_dialog, kMessage), "The spelling check is complete.");
    press_now(kCancel);
    EXPECT_EQ(spell_dialog, nullptr);
}

}  // namespace
