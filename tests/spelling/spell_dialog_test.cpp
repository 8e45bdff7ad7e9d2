// The spelling window over a scan: each button acts on the word shown and on the
// words the scan hands over after it; a picture of the window over a sheet.
#include <cstdio>
#include <fstream>
#include <utility>

#include "../window/road_fixture.h"
#include "editing/editing_services.h"
#include "platform/screen/screen.h"
#include "shell/app_prefs.h"
#include "spelling/spell_dialog.h"
#include "spelling/spelling_services.h"
#include "tests/core/dialog_test_support.h"

namespace {

constexpr int16_t kChange = 1, kCancel = 2, kIgnore = 3, kIgnoreAll = 4, kChangeAll = 5, kAdd = 6;
constexpr int16_t kMessage = 8, kWord = 9, kReplacement = 11;

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

SpellWordSource source_of(ListedWords& listed) {
    SpellWordSource source;
    source.context = &listed;
    source.next_word = next_listed;
    source.replace_word = replace_listed;
    return source;
}

// What the window showed each time its word changed, and the buttons the
// script pressed then; Cancel once the script is played.
struct Shown {
    std::string message, word, replacement;
    bool front = false;
};
std::vector<Shown> shown;
std::vector<int16_t> script;
std::string picture_name;

void press(pf::DialogRef dialog, int16_t item) {
    pf::Rect content = pf::window_content_rect(pf::get_dialog_window(dialog));
    pf::Rect box = pf::get_dialog_item_box(dialog, item);
    pf::driver_click(pf::Point{int16_t(content.top + (box.top + box.bottom) / 2),
                               int16_t(content.left + (box.left + box.right) / 2)});
}

void play_script() {
    pf::compose_screen();
    pf::DialogRef dialog = spell_dialog;
    if (dialog && pf::driver_pending_steps() == 0) {
        Shown now{dialogtest::field(dialog, kMessage), dialogtest::field(dialog, kWord),
                  dialogtest::field(dialog, kReplacement), is_spelling_window(pf::front_window())};
        if (shown.empty() || now.message != shown.back().message || now.word != shown.back().word) {
            shown.push_back(now);
            if (!picture_name.empty()) pf::screen_write_png(dialogtest::screenshot_path(picture_name));
            picture_name.clear();
            const size_t step = shown.size() - 1;
            press(dialog, step < script.size() ? script[step] : kCancel);
        }
    }
    dialogtest::guarded_compose_step();
}

struct SpellDialogTest : TypedRoadTest {
    void SetUp() override {
        TypedRoadTest::SetUp();
        ASSERT_TRUE(spelling_available()) << "the US English dictionary is installed by tools/install-deps";
        shown.clear();
        script.clear();
        picture_name.clear();
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
    script = {kChangeAll, kChange, kAdd, kIgnoreAll, kIgnore};
    open_spell_dialog(source_of(listed));

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
    EXPECT_FALSE(is_spelling_window(pf::front_window()));
}

TEST_F(SpellDialogTest, TheSpellingWindowOverASheetShowsTheMisspelledWord) {
    enter("Quarterly recieve totals");
    click(CellPoint{0, 0});
    ListedWords listed;
    listed.words = {"Quarterly", "recieve", "totals"};
    picture_name = "spelling_window.png";
    open_spell_dialog(source_of(listed));
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].word, "recieve");
    EXPECT_EQ(shown[0].message, "Not in dictionary:");
    EXPECT_TRUE(listed.replaced.empty());
}

TEST_F(SpellDialogTest, WithoutADictionaryTheSpellingCommandIsDimmedAndTheWindowDoesNotOpen) {
    constexpr int16_t kEditMenu = 130, kSpellingItem = 13;
    set_edit_menu(window_doc_record(window));
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kEditMenu), kSpellingItem));
    close_spell();
    set_edit_menu(window_doc_record(window));
    EXPECT_FALSE(pf::is_menu_item_enabled(pf::get_menu_handle(kEditMenu), kSpellingItem));
    ListedWords listed;
    listed.words = {"recieve"};
    open_spell_dialog(source_of(listed));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(listed.next, 0u);
}
