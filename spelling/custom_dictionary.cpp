// The custom dictionary: the file named in the preferences (entry 7), else
// "Custom Dictionary" in the preferences folder; one UTF-8 word a line. Words
// are only ever appended, so nothing the user wrote there is lost.
#include <cstring>

#include "core/string_utils.h"
#include "files/running_copies.h"
#include "platform/resources/resources.h"
#include "platform/text/mac_roman.h"
#include "ui/app_prefs.h"
#include "spelling/dictionaries.h"
#include "spelling/spell_engine.h"
#include "resource_ids.h"

namespace {

constexpr int kCustomDictionaryItem = 7;
constexpr int16_t kCustomDictionaryNameItem = 1;
constexpr pf::FourCC kCustomDictionaryType = pf::four_cc("DICU");
// Far more than a person adds word by word; a larger file is not a dictionary.
constexpr int32_t kLargestCustomDictionary = 16 * 1024 * 1024;

// The custom dictionary's spec; with `create`, the file is made when missing.
pf::OSErr custom_dictionary_spec(bool create, pf::FileSpec& spec) {
    const pf::FileSpec& named = app_prefs.items[kCustomDictionaryItem];
    if (named.name[0] == 0) {
        pf::Str255 name;
        pf::get_indexed_string(name, kSpellingStrings, kCustomDictionaryNameItem);
        return open_program_file(name, &spec, kCustomDictionaryType,
                                 create ? pf::kReadWritePermission : pf::kReadPermission, nullptr);
    }
    spec = named;
    pf::FileSpec probe;
    pf::OSErr err = pf::make_file_spec(spec.volume, spec.parent, spec.name, probe);
    if (err == pf::kFileNotFoundErr && create) err = pf::create_file(spec, kQuorvinCreator, kCustomDictionaryType);
    return err;
}

// The Mac Roman word of a line; false for a line that is empty, too long, or
// has a character Mac Roman cannot spell.
bool word_of_line(std::string line, std::string& word) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    word = pf::utf8_to_mac_roman(line, 0);
    return !word.empty() && word.size() <= size_t(kSpellWordLimit) && word.find('\0') == std::string::npos;
}

void accept_custom_word(const std::string& word) {
    dictionaries.custom.push_back(word);
    std::string text;
    if (dictionaries.main && to_dictionary_text(word, text)) dictionaries.main->add(text);
}

// Appends a line, after a line break when the file does not end with one.
pf::OSErr append_line(const pf::FileSpec& spec, const std::string& utf8) {
    int16_t ref;
    pf::OSErr err = pf::open_data_fork(spec, pf::kReadWritePermission, ref);
    if (err) return err;
    int32_t length = 0;
    err = pf::get_end_of_file(ref, length);
    char last = '\n';
    if (!err && length > 0) {
        int32_t one = 1;
        err = pf::set_file_position(ref, pf::kFromStart, length - 1);
        if (!err) err = pf::read_file(ref, one, &last);
    }
    const std::string line = (last == '\n' ? "" : "\n") + utf8 + "\n";
    if (!err) err = pf::set_file_position(ref, pf::kFromStart, length);
    int32_t count = int32_t(line.size());
    if (!err) err = pf::write_file(ref, count, line.data());
    if (!err && count != int32_t(line.size())) err = pf::kDiskFullErr;
    if (err) pf::set_end_of_file(ref, length);  // a word half-written is taken back
    pf::close_file(ref);
    return err;
}

bool is_custom_word(const std::string& word) {
    for (const std::string& known : dictionaries.custom)
        if (known == word) return true;
    return false;
}

}  // namespace

bool read_custom_dictionary() {
    dictionaries.custom.clear();
    pf::FileSpec spec;
    pf::OSErr err = custom_dictionary_spec(false, spec);
    if (err == pf::kFileNotFoundErr) return true;
    std::vector<uint8_t> file;
    if (err || pf::read_whole_file(spec, kLargestCustomDictionary, file) != pf::noErr) return false;
    const std::string bytes(file.begin(), file.end());
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string word;
        if (word_of_line(bytes.substr(start, end - start), word) && !is_custom_word(word)) accept_custom_word(word);
        start = end + 1;
    }
    return true;
}

std::string custom_dictionary_name() {
    const pf::FileSpec& named = app_prefs.items[kCustomDictionaryItem];
    if (named.name[0] != 0) return pstring_text(named.name);
    return pf::get_indexed_string(kSpellingStrings, kCustomDictionaryNameItem);
}

int16_t add_to_custom_dictionary(const char* word) {
    open_spelling();
    const size_t length = std::strlen(word);
    if (length == 0 || length > size_t(kSpellWordLimit) || std::strpbrk(word, "\r\n")) return pf::kParamErr;
    if (is_custom_word(word)) return pf::noErr;
    pf::FileSpec spec;
    pf::OSErr err = custom_dictionary_spec(true, spec);
    if (!err) err = append_line(spec, pf::mac_roman_to_utf8(word));
    if (!err) accept_custom_word(word);
    return err;
}
