// The dictionaries behind the spelling engine, shared by its files.
#pragma once

#include <hunspell.hxx>

#include <memory>
#include <string>
#include <vector>

#include "platform/files/files.h"

struct Dictionaries {
    std::unique_ptr<Hunspell> main;
    std::string encoding;             // the main dictionary's, as iconv names it
    std::u32string alphabet;          // the letters of its language, each case
    std::vector<std::string> custom;  // the custom dictionary's words, Mac Roman
    bool reported = false;            // a dictionary fault was shown since init_spell
    bool open_pending = false;        // init_spell was called; opened when spelling is first used
};
extern Dictionaries dictionaries;

// Opens the main dictionary of a path to its .dic file (the .aff beside it):
// false, leaving none open, when either file is missing or unreadable or the
// word list does not begin with its count.
bool open_main_dictionary(const std::string& dic_path);
// Whether the .dic file and the .aff beside it are there to be opened (the
// word list beginning with its count), without reading them.
bool usable_dictionary(const std::string& dic_path);
// The .dic path of the main dictionary named in the preferences; empty when none.
std::string named_main_dictionary();
// The main dictionary's name for messages (Mac Roman).
std::string main_dictionary_name();

// Reads the custom dictionary: false when it exists but cannot be read.
bool read_custom_dictionary();
// The custom dictionary's name for messages (Mac Roman).
std::string custom_dictionary_name();

// A word in the main dictionary's encoding and back; false when the word has a
// character the other side cannot spell.
bool to_dictionary_text(const std::string& mac_roman, std::string& out);
bool from_dictionary_text(const std::string& text, std::string& mac_roman);

// The letters of the main dictionary's language, both cases: those its affix
// file offers for suggestions (its TRY line, in the dictionary's encoding);
// without one, the Latin letters of Mac Roman.
std::u32string dictionary_alphabet(const std::string& affix_text, const std::string& encoding);

// Whether a character is a letter of a word rather than a digit, a mark of
// punctuation or a symbol.
bool is_letter(char32_t c);

// Shows once per init_spell that the named dictionary could not be opened.
void report_dictionary_fault(const std::string& name);
