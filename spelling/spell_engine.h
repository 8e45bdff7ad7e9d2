// The spelling engine: the main dictionary (a Hunspell dictionary, named in the
// preferences or found in the system's dictionary folders), the user's custom
// dictionary (a word list, one UTF-8 word a line, in the preferences folder),
// the words ignored until close_spell, and suggestions. Words are Mac Roman,
// zero-terminated, of at most kSpellWordLimit bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int kSpellWordLimit = 63;

// Answers of spell_check.
constexpr int16_t kSpellAccepted = 0;
constexpr int16_t kSpellUnknown = 1;
constexpr int16_t kSpellWrongCapitals = 2;

// 0 when the word is accepted: empty, holding a digit, ignored, in the main or
// the custom dictionary, or spelled there in another case when
// `report_capitals` is 0. Else kSpellUnknown, or kSpellWrongCapitals when the
// word is known only in another case (Paris for "paris", hello for "hELLO").
// A word longer than kSpellWordLimit is unknown. Without a main dictionary
// every word is accepted: nothing can be reported.
int16_t spell_check(const char* word, int16_t report_capitals);
// Whether the main dictionary's language is written with the letters of a
// word (UTF-8): a word with a letter its alphabet lacks (of another script,
// or of another language's alphabet) is not its to check. Characters that are
// not letters (digits, punctuation) do not count.
bool spelling_covers(std::string_view utf8_word);
// The dictionary's order, letters compared without regard to case: 0 when equal.
int16_t dict_strcmp(const char* a, const char* b);
// Whether a main dictionary can check spelling: the one open, or, before
// spelling is first used, one there to be opened (not read for the asking).
bool spelling_available();
// Opens the dictionaries the first time spelling is used since init_spell (a
// dictionary that cannot be opened is reported then); whether a main one is open.
bool open_spelling();

// The words that Ignore All chose; null while there are none.
struct IgnoreList {
    std::vector<std::string> words;
};
extern IgnoreList* ignore_ref;
void ignore_word(const char* word);
void clear_Ignore();

// Searches the dictionary folders ($DICPATH, colon-separated, when set; else
// the system's hunspell and myspell folders) for a main dictionary: the one of
// the user's language first, then US English, then any other. 0 when one was
// found and stored in the preferences (entry 6), else kFileNotFoundErr.
int16_t find_main_dictionary();

// Appends the word to the custom dictionary file (made when missing) and
// accepts it from now on. noErr, kParamErr for a word that is empty, too long
// or holds a line break, or the file's error.
int16_t add_to_custom_dictionary(const char* word);

// The main dictionary's suggestions for a word, best first, those Mac Roman can
// spell in at most kSpellWordLimit bytes. A word capitalised as at the start
// of a sentence gets those of its lower-case spelling first, capitalised;
// words split in two come after whole words.
std::vector<std::string> spell_suggestions(const char* word);
