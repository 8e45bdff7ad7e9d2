// The spelling engine: words the dictionaries accept, know in another case or
// do not know; suggestions; the custom dictionary; the ignore list; and
// dictionaries that are missing or damaged.
#include <algorithm>
#include <set>

#include "spelling/dictionaries.h"
#include "tests/spelling/spelling_fixture.h"

namespace {

bool suggests(const char* word, const std::string& expected) {
    std::vector<std::string> found = spell_suggestions(word);
    return std::find(found.begin(), found.end(), expected) != found.end();
}

// A word of `length` letters that no dictionary holds.
std::string long_word(size_t length) {
    std::string word = "Quorvinesque";
    while (word.size() < length) word += "zq";
    return word.substr(0, length);
}

}  // namespace

TEST_F(SpellingTest, DictionariesAreReadWhenSpellingIsFirstUsedNotAtStart) {
    close_spell();
    init_spell();
    EXPECT_EQ(dictionaries.main, nullptr);
    EXPECT_TRUE(spelling_available());  // one is there: the command is not dimmed
    EXPECT_EQ(dictionaries.main, nullptr);
    EXPECT_EQ(spell_check("recieve", 1), kSpellUnknown);
    EXPECT_NE(dictionaries.main, nullptr);

    // One named and removed since is reported when spelling is used.
    write_text(dictionaries_folder + "/fr_FR.dic", "1\nmot\n");
    ASSERT_EQ(pf::file_spec_from_path(dictionaries_folder + "/fr_FR.dic", app_prefs.items[6]), pf::noErr);
    std::filesystem::remove(dictionaries_folder + "/fr_FR.dic");
    close_spell();
    alert_requests().clear();
    init_spell();
    EXPECT_FALSE(spelling_available());
    EXPECT_TRUE(alert_requests().empty());
    EXPECT_TRUE(spell_suggestions("recieve").empty());
    EXPECT_EQ(alert_requests().size(), 1u);
}

TEST_F(SpellingTest, KnownUnknownAndWronglyCapitalisedWords) {
    ASSERT_TRUE(spelling_available());
    for (const char* word : {"house", "House", "HOUSE", "Paris", "receive", "the"})
        EXPECT_EQ(spell_check(word, 1), kSpellAccepted) << word;
    for (const char* word : {"recieve", "teh", "seperate", "xqzvwk"}) EXPECT_EQ(spell_check(word, 1), kSpellUnknown) << word;
    for (const char* word : {"paris", "hOUSE", "receIVE"}) EXPECT_EQ(spell_check(word, 1), kSpellWrongCapitals) << word;
    // Asked not to report capitals, a word known in another case passes.
    EXPECT_EQ(spell_check("paris", 0), kSpellAccepted);
    EXPECT_EQ(spell_check("recieve", 0), kSpellUnknown);
}

TEST_F(SpellingTest, ApostrophesNumbersAndMacRomanLetters) {
    // The typewriter apostrophe and the typographic one (Mac Roman 0xD5).
    for (const char* word : {"don't", "don\xD5t", "it's", "John's"}) EXPECT_EQ(spell_check(word, 1), kSpellAccepted) << word;
    EXPECT_EQ(spell_check("does'nt", 1), kSpellUnknown);
    // Words with digits are codes, references and ordinals, never misspellings.
    for (const char* word : {"A1", "3rd", "B2B", "teh2"}) EXPECT_EQ(spell_check(word, 1), kSpellAccepted) << word;
}

TEST_F(SpellingTest, WordsReachADictionaryInItsOwnEncodingAndComeBack) {
    // A Latin-1 dictionary of accented words: café, naïve, résumé.
    write_text(dictionaries_folder + "/fr_XX.aff", "SET ISO8859-1\nTRY esianrtolcdugmphbyfvkwz\xE9\xEF\n");
    write_text(dictionaries_folder + "/fr_XX.dic", "3\ncaf\xE9\nna\xEFve\nr\xE9sum\xE9\n");
    ASSERT_EQ(pf::file_spec_from_path(dictionaries_folder + "/fr_XX.dic", app_prefs.items[6]), pf::noErr);
    reopen_spelling();
    ASSERT_TRUE(spelling_available());
    for (const char* word : {"caf\x8E", "na\x95ve", "CAF\x83", "R\x8Esum\x8E"}) EXPECT_EQ(spell_check(word, 1), kSpellAccepted) << word;
    EXPECT_EQ(spell_check("cafe", 1), kSpellUnknown);
    EXPECT_TRUE(suggests("cafe", "caf\x8E"));
    // A word the dictionary's encoding cannot hold (Mac Roman's apple, 0xF0) is unknown.
    EXPECT_EQ(spell_check("caf\xF0", 1), kSpellUnknown);
}

TEST_F(SpellingTest, WordsAtTheSixtyThreeByteLimit) {
    const std::string at_limit = long_word(63), past_limit = long_word(64);
    EXPECT_EQ(spell_check(at_limit.c_str(), 1), kSpellUnknown);
    EXPECT_EQ(add_to_custom_dictionary(at_limit.c_str()), pf::noErr);
    EXPECT_EQ(spell_check(at_limit.c_str(), 1), kSpellAccepted);
    // One byte more is refused by the custom dictionary and never accepted.
    EXPECT_EQ(add_to_custom_dictionary(past_limit.c_str()), pf::kParamErr);
    EXPECT_EQ(spell_check(past_limit.c_str(), 1), kSpellUnknown);
    EXPECT_EQ(spell_check(std::string(200, 'a').c_str(), 1), kSpellUnknown);
    EXPECT_EQ(add_to_custom_dictionary(""), pf::kParamErr);
    EXPECT_EQ(add_to_custom_dictionary("two\nlines"), pf::kParamErr);
}

TEST_F(SpellingTest, CommonMisspellingsGetTheRightSuggestion) {
    EXPECT_TRUE(suggests("recieve", "receive"));
    EXPECT_TRUE(suggests("teh", "the"));
    EXPECT_TRUE(suggests("seperate", "separate"));
    EXPECT_TRUE(suggests("definately", "definitely"));
    EXPECT_TRUE(suggests("paris", "Paris"));
}

TEST_F(SpellingTest, ACapitalisedWordGetsTheSuggestionsOfItsLowerCaseSpellingFirst) {
    const std::vector<std::string> found = spell_suggestions("Teh");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front(), "The");
    const auto first_split = std::find_if(found.begin(), found.end(),
                                          [](const std::string& s) { return s.find(' ') != std::string::npos; });
    EXPECT_TRUE(std::all_of(first_split, found.end(),
                            [](const std::string& s) { return s.find(' ') != std::string::npos; }))
        << "words split in two come last";
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()).size(), found.size());
    EXPECT_EQ(spell_suggestions("teh").front(), "the");
}

TEST_F(SpellingTest, AddedWordsAreAcceptedAndKeptInTheCustomDictionary) {
    EXPECT_EQ(spell_check("Quorvinish", 1), kSpellUnknown);
    ASSERT_EQ(add_to_custom_dictionary("Quorvinish"), pf::noErr);
    ASSERT_EQ(add_to_custom_dictionary("Z\x9Frichsee"), pf::noErr);  // Zürichsee
    EXPECT_EQ(add_to_custom_dictionary("Quorvinish"), pf::noErr);     // once in the file
    EXPECT_EQ(spell_check("Quorvinish", 1), kSpellAccepted);
    EXPECT_EQ(spell_check("QUORVINISH", 1), kSpellAccepted);
    EXPECT_EQ(spell_check("quorvinish", 1), kSpellWrongCapitals);
    EXPECT_EQ(file_text(custom_dictionary_path()), "Quorvinish\nZ\xC3\xBCrichsee\n");

    // The next run reads the words back; lines it cannot use are passed over.
    write_text(custom_dictionary_path(), file_text(custom_dictionary_path()) + "\n\xFF\xFE\r\nglorbish\r\n" + long_word(64));
    reopen_spelling();
    EXPECT_TRUE(alert_requests().empty());
    for (const char* word : {"Quorvinish", "Z\x9Frichsee", "glorbish"}) EXPECT_EQ(spell_check(word, 1), kSpellAccepted) << word;
    EXPECT_EQ(spell_check(long_word(64).c_str(), 1), kSpellUnknown);

    // A word added after a last line without a break starts a line of its own,
    // and what the user wrote stays.
    const std::string before = file_text(custom_dictionary_path());
    ASSERT_EQ(add_to_custom_dictionary("plonkish"), pf::noErr);
    EXPECT_EQ(file_text(custom_dictionary_path()), before + "\nplonkish\n");
}

TEST_F(SpellingTest, ACustomDictionaryNamedInThePreferencesIsUsed) {
    const std::string path = home + "/words/Team Words";
    write_text(path, "frobnicator\n");
    ASSERT_EQ(pf::file_spec_from_path(path, app_prefs.items[7]), pf::noErr);
    reopen_spelling();
    EXPECT_EQ(spell_check("frobnicator", 1), kSpellAccepted);
    ASSERT_EQ(add_to_custom_dictionary("blivet"), pf::noErr);
    EXPECT_EQ(file_text(path), "frobnicator\nblivet\n");
    EXPECT_FALSE(std::filesystem::exists(custom_dictionary_path()));
}

TEST_F(SpellingTest, IgnoreAllLastsUntilTheEngineCloses) {
    EXPECT_EQ(ignore_ref, nullptr);
    EXPECT_EQ(spell_check("xyzzyq", 1), kSpellUnknown);
    ignore_word("xyzzyq");
    ASSERT_NE(ignore_ref, nullptr);
    EXPECT_EQ(spell_check("xyzzyq", 1), kSpellAccepted);
    EXPECT_EQ(spell_check("XYZZYQ", 1), kSpellAccepted);
    EXPECT_EQ(spell_check("xyzzyqq", 1), kSpellUnknown);

    reopen_spelling();
    EXPECT_EQ(ignore_ref, nullptr);
    EXPECT_EQ(spell_check("xyzzyq", 1), kSpellUnknown);

    ignore_word("xyzzyq");
    clear_Ignore();
    EXPECT_EQ(ignore_ref, nullptr);
    EXPECT_EQ(spell_check("xyzzyq", 1), kSpellUnknown);
}

TEST_F(SpellingTest, DictStrcmpIgnoresCaseButNotMarks) {
    EXPECT_EQ(dict_strcmp("Word", "wORD"), 0);
    EXPECT_EQ(dict_strcmp("caf\x8E", "CAF\x83"), 0);  // café, CAFÉ
    EXPECT_NE(dict_strcmp("cafe", "caf\x8E"), 0);
    EXPECT_LT(dict_strcmp("word", "words"), 0);
    EXPECT_GT(dict_strcmp("Zebra", "apple"), 0);
}

TEST_F(SpellingTest, TheMainDictionaryFoundIsStoredInThePreferences) {
    EXPECT_EQ(main_dictionary_name_in_prefs(), "en_US.dic");
    // The user's language wins over US English.
    install_dictionary("en_GB");
    setenv("LC_ALL", "en_GB.UTF-8", 1);
    EXPECT_EQ(find_main_dictionary(), pf::noErr);
    unsetenv("LC_ALL");
    EXPECT_EQ(main_dictionary_name_in_prefs(), "en_GB.dic");
}

TEST_F(SpellingTest, AMissingMainDictionaryIsReportedOnceAndChecksNothing) {
    // The dictionary named in the preferences was removed since.
    write_text(dictionaries_folder + "/fr_FR.dic", "1\nmot\n");
    ASSERT_EQ(pf::file_spec_from_path(dictionaries_folder + "/fr_FR.dic", app_prefs.items[6]), pf::noErr);
    std::filesystem::remove(dictionaries_folder + "/fr_FR.dic");
    reopen_spelling();
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].alert_id, 24000);
    EXPECT_EQ(alert_requests()[0].text, "fr_FR.dic");
    EXPECT_FALSE(spelling_available());
    EXPECT_EQ(spell_check("recieve", 1), kSpellAccepted);
    EXPECT_TRUE(spell_suggestions("recieve").empty());
    EXPECT_EQ(alert_requests().size(), 1u);

    // None named and none to be found.
    std::filesystem::remove_all(dictionaries_folder);
    forget_main_dictionary();
    reopen_spelling();
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, "Main Dictionary");
    EXPECT_FALSE(spelling_available());
}

TEST_F(SpellingTest, DamagedDictionariesAreReportedNotRead) {
    // A word list without its count, and one without its affix file.
    write_text(dictionaries_folder + "/xx_XX.dic", "\xFF\x00garbage");
    write_text(dictionaries_folder + "/xx_XX.aff", "SET UTF-8\n");
    write_text(dictionaries_folder + "/yy_YY.dic", "3\na\nb\nc\n");
    for (const char* name : {"xx_XX.dic", "yy_YY.dic"}) {
        ASSERT_EQ(pf::file_spec_from_path(dictionaries_folder + "/" + name, app_prefs.items[6]), pf::noErr);
        reopen_spelling();
        EXPECT_EQ(alert_requests().size(), 1u) << name;
        EXPECT_FALSE(spelling_available()) << name;
    }

    // A custom dictionary that cannot be read is reported; the main one still checks.
    forget_main_dictionary();
    std::filesystem::create_directories(custom_dictionary_path());
    reopen_spelling();
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, "Custom Dictionary");
    EXPECT_EQ(spell_check("recieve", 1), kSpellUnknown);
    EXPECT_NE(add_to_custom_dictionary("blivet"), pf::noErr);

    // So is one far larger than any list of words (sparse: nothing is written).
    std::filesystem::remove(custom_dictionary_path());
    write_text(custom_dictionary_path(), "glorbish\n");
    std::filesystem::resize_file(custom_dictionary_path(), 64u * 1024 * 1024);
    reopen_spelling();
    EXPECT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(spell_check("glorbish", 1), kSpellUnknown);
}
