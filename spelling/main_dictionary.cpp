// The main dictionary: named in the preferences (entry 6, the .dic file of a
// Hunspell dictionary with its .aff beside it) or found in the dictionary folders.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "core/string_utils.h"
#include "platform/text/mac_roman.h"
#include "platform/text/text.h"
#include "platform/resources/resources.h"
#include "ui/app_prefs.h"
#include "spelling/dictionaries.h"
#include "spelling/spell_engine.h"
#include "resource_ids.h"

namespace {

constexpr int kMainDictionaryItem = 6;
constexpr const char* kSystemFolders[] = {"/usr/share/hunspell", "/usr/share/myspell/dicts", "/usr/share/myspell"};
constexpr const char* kFallbackLanguage = "en_US";
constexpr int16_t kMainDictionaryNameItem = 2;

std::string affix_path(const std::string& dic_path) {
    return std::filesystem::path(dic_path).replace_extension(".aff").string();
}

// A word list begins with the number of its words.
bool starts_with_word_count(const std::string& dic_path) {
    std::ifstream in(dic_path);
    long count = 0;
    return in && (in >> count) && count > 0;
}

bool readable(const std::string& path) { return std::ifstream(path).good(); }

std::vector<std::string> dictionary_folders() {
    std::vector<std::string> folders;
    const char* dicpath = std::getenv("DICPATH");
    if (!dicpath) return {std::begin(kSystemFolders), std::end(kSystemFolders)};
    std::string list = dicpath;
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) folders.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

// The user's language as dictionaries name it ("en_GB" of "en_GB.UTF-8").
std::string user_language() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        std::string language = value;
        language = language.substr(0, language.find_first_of(".@"));
        return language == "C" || language == "POSIX" ? std::string() : language;
    }
    return {};
}

std::optional<std::string> dictionary_of_language(const std::vector<std::string>& folders, const std::string& language) {
    if (language.empty()) return std::nullopt;
    for (const std::string& folder : folders) {
        std::string path = folder + "/" + language + ".dic";
        if (usable_dictionary(path)) return path;
    }
    return std::nullopt;
}

std::optional<std::string> any_dictionary(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        std::error_code error;
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.path().extension() == ".dic" && usable_dictionary(entry.path().string()))
                found.push_back(entry.path().string());
        if (!found.empty()) return *std::min_element(found.begin(), found.end());
    }
    return std::nullopt;
}

// The letter of the other case where the alphabets of the dictionaries this
// program meets have one (Latin, Greek, Cyrillic); else the letter itself.
char32_t other_case(char32_t c) {
    const bool latin_a_even_upper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool latin_a_odd_upper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? c ^ 0x20 : c;
    if (c == 0xD7 || c == 0xF7) return c;
    if (c >= 0xC0 && c <= 0xDE) return c + 0x20;
    if (c >= 0xE0 && c <= 0xFE) return c - 0x20;
    if (latin_a_even_upper) return c % 2 == 0 ? c + 1 : c - 1;
    if (latin_a_odd_upper) return c % 2 == 1 ? c + 1 : c - 1;
    if ((c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
    if ((c >= 0x3B1 && c <= 0x3C9) || (c >= 0x430 && c <= 0x44F)) return c - 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

void add_letter(std::u32string& alphabet, char32_t letter) {
    for (char32_t c : {letter, other_case(letter)})
        if (alphabet.find(c) == std::u32string::npos) alphabet.push_back(c);
}

// The letters of a dictionary without a TRY line: Mac Roman's.
std::u32string mac_roman_letters() {
    std::u32string alphabet;
    for (int byte = 0x20; byte < 0x100; ++byte) {
        const std::string utf8 = pf::mac_roman_to_utf8(std::string(1, char(byte)));
        size_t at = 0;
        char32_t c = 0;
        if (pf::decode_utf8(utf8, at, c) && is_letter(c)) add_letter(alphabet, c);
    }
    return alphabet;
}

// The TRY line of an affix file, without its keyword; empty when there is none.
std::string try_line(const std::string& affix_text) {
    size_t start = 0;
    while (start < affix_text.size()) {
        size_t end = affix_text.find('\n', start);
        if (end == std::string::npos) end = affix_text.size();
        std::string_view line(affix_text.data() + start, end - start);
        if (line.starts_with("TRY ")) {
            line.remove_prefix(4);
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
            return std::string(line);
        }
        start = end + 1;
    }
    return {};
}

std::string read_text_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

bool is_letter(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool punctuation = c < 0xC0 || c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c <= 0x206F);
    return !punctuation;
}

std::u32string dictionary_alphabet(const std::string& affix_text, const std::string& encoding) {
    std::string letters = try_line(affix_text);
    if (encoding != "UTF-8" && !pf::convert_encoding(std::string(letters), encoding.c_str(), "UTF-8", letters))
        letters.clear();
    std::u32string alphabet;
    size_t at = 0;
    char32_t c = 0;
    while (at < letters.size())
        if (pf::decode_utf8(letters, at, c) && is_letter(c)) add_letter(alphabet, c);
    return alphabet.empty() ? mac_roman_letters() : alphabet;
}

bool usable_dictionary(const std::string& dic_path) {
    return readable(affix_path(dic_path)) && starts_with_word_count(dic_path);
}

bool open_main_dictionary(const std::string& dic_path) {
    dictionaries.main.reset();
    dictionaries.encoding.clear();
    if (!usable_dictionary(dic_path)) return false;
    dictionaries.main = std::make_unique<Hunspell>(affix_path(dic_path).c_str(), dic_path.c_str());
    dictionaries.encoding = dictionaries.main->get_dict_encoding();
    dictionaries.alphabet = dictionary_alphabet(read_text_file(affix_path(dic_path)), dictionaries.encoding);
    return true;
}

std::string named_main_dictionary() {
    const pf::FileSpec& spec = app_prefs.items[kMainDictionaryItem];
    std::string path;
    if (spec.name[0] == 0 || pf::path_from_file_spec(spec, path) != pf::noErr) return {};
    return path;
}

std::string main_dictionary_name() {
    const pf::FileSpec& spec = app_prefs.items[kMainDictionaryItem];
    if (spec.name[0] == 0) return pf::get_indexed_string(kSpellingStrings, kMainDictionaryNameItem);
    return pstring_text(spec.name);
}

int16_t find_main_dictionary() {
    std::vector<std::string> folders = dictionary_folders();
    std::optional<std::string> found = dictionary_of_language(folders, user_language());
    if (!found) found = dictionary_of_language(folders, kFallbackLanguage);
    if (!found) found = any_dictionary(folders);
    pf::FileSpec spec;
    if (!found || pf::file_spec_from_path(*found, spec) != pf::noErr) return pf::kFileNotFoundErr;
    app_prefs.items[kMainDictionaryItem] = spec;
    return pf::noErr;
}
