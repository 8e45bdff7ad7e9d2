// The main dictionary: named in the preferences (entry 6, the .dic file of a
// Hunspell dictionary with its .aff beside it) or found in the dictionary folders.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "core/string_utils.h"
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

}  // namespace

bool usable_dictionary(const std::string& dic_path) {
    return readable(affix_path(dic_path)) && starts_with_word_count(dic_path);
}

bool open_main_dictionary(const std::string& dic_path) {
    dictionaries.main.reset();
    dictionaries.encoding.clear();
    if (!usable_dictionary(dic_path)) return false;
    dictionaries.main = std::make_unique<Hunspell>(affix_path(dic_path).c_str(), dic_path.c_str());
    dictionaries.encoding = dictionaries.main->get_dict_encoding();
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
