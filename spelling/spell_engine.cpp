// Checking words against the dictionaries, the ignore list, suggestions, and
// the engine's start and end.
#include "spelling/spell_engine.h"

#include <algorithm>
#include <cstring>

#include "ui/alerts.h"
#include "core/string_utils.h"
#include "platform/resources/resources.h"
#include "platform/text/mac_roman.h"
#include "platform/text/text.h"
#include "spelling/dictionaries.h"
#include "spelling/spelling.h"
#include "resource_ids.h"

Dictionaries dictionaries;
IgnoreList* ignore_ref = nullptr;

namespace {

constexpr const char* kUtf8 = "UTF-8";

bool has_digit(const char* word) { return std::strpbrk(word, "0123456789") != nullptr; }

bool is_ignored(const char* word) {
    if (!ignore_ref) return false;
    for (const std::string& ignored : ignore_ref->words)
        if (dict_strcmp(ignored.c_str(), word) == 0) return true;
    return false;
}

bool in_main_dictionary(const std::string& word) {
    std::string text;
    return to_dictionary_text(word, text) && dictionaries.main->spell(text);
}

std::string lower_case(std::string word) {
    pf::lowercase_text(word.data(), int32_t(word.size()));
    return word;
}

std::string upper_case(std::string word) {
    pf::uppercase_text(word.data(), int32_t(word.size()));
    return word;
}

std::string capitalised(const std::string& word) {
    std::string result = lower_case(word);
    result[0] = char(pf::to_upper_mac_roman(uint8_t(result[0])));
    return result;
}

std::string with_capital_first(std::string word) {
    if (!word.empty()) word[0] = char(pf::to_upper_mac_roman(uint8_t(word[0])));
    return word;
}

// A word capitalised as at the start of a sentence ("Teh", not "TEH" or "teh").
bool starts_a_sentence(const std::string& word) {
    return word.size() > 1 && word == capitalised(word) && word != lower_case(word);
}

void add_once(std::vector<std::string>& list, const std::string& word) {
    if (std::find(list.begin(), list.end(), word) == list.end()) list.push_back(word);
}

// The main dictionary's suggestions for one spelling, in its order, those
// Mac Roman can hold.
std::vector<std::string> dictionary_suggestions(const std::string& word) {
    std::string text;
    if (!dictionaries.main || !to_dictionary_text(word, text)) return {};
    std::vector<std::string> suggestions;
    for (const std::string& suggestion : dictionaries.main->suggest(text)) {
        std::string mac_roman;
        if (from_dictionary_text(suggestion, mac_roman) && mac_roman.size() <= size_t(kSpellWordLimit))
            suggestions.push_back(mac_roman);
    }
    return suggestions;
}

bool known_in_another_case(const std::string& word) {
    for (const std::string& variant : {lower_case(word), capitalised(word), upper_case(word)})
        if (variant != word && in_main_dictionary(variant)) return true;
    return false;
}

// The main dictionary named in the preferences, or else the one found (then named there).
std::string main_dictionary_path() {
    std::string main_path = named_main_dictionary();
    if (main_path.empty() && find_main_dictionary() == pf::noErr) main_path = named_main_dictionary();
    return main_path;
}

void open_dictionaries() {
    if (!open_main_dictionary(main_dictionary_path())) {
        report_dictionary_fault(main_dictionary_name());
        return;
    }
    if (!read_custom_dictionary()) report_dictionary_fault(custom_dictionary_name());
}

}  // namespace

bool to_dictionary_text(const std::string& mac_roman, std::string& out) {
    const std::string utf8 = pf::mac_roman_to_utf8(mac_roman);
    if (dictionaries.encoding == kUtf8) {
        out = utf8;
        return true;
    }
    return pf::convert_encoding(utf8, kUtf8, dictionaries.encoding.c_str(), out);
}

bool from_dictionary_text(const std::string& text, std::string& mac_roman) {
    std::string utf8 = text;
    if (dictionaries.encoding != kUtf8 && !pf::convert_encoding(text, dictionaries.encoding.c_str(), kUtf8, utf8))
        return false;
    mac_roman = pf::utf8_to_mac_roman(utf8, 0);
    return mac_roman.find('\0') == std::string::npos;
}

void report_dictionary_fault(const std::string& name) {
    if (dictionaries.reported) return;
    dictionaries.reported = true;
    pf::Str255 text;
    set_pstring(text, name);
    key_caution_alert(text, kDictionaryFaultAlert, kStopAlertKind);
}

void init_spell() {
    dictionaries.reported = false;
    dictionaries.open_pending = true;
}

bool open_spelling() {
    if (dictionaries.open_pending) {
        dictionaries.open_pending = false;
        open_dictionaries();
    }
    return dictionaries.main != nullptr;
}

void close_spell() {
    dictionaries.open_pending = false;
    dictionaries.main.reset();
    dictionaries.encoding.clear();
    dictionaries.alphabet.clear();
    dictionaries.custom.clear();
    clear_Ignore();
}

bool spelling_available() {
    if (dictionaries.open_pending) return usable_dictionary(main_dictionary_path());
    return dictionaries.main != nullptr;
}

int16_t spell_check(const char* word, int16_t report_capitals) {
    open_spelling();
    const size_t length = std::strlen(word);
    if (length > size_t(kSpellWordLimit)) return kSpellUnknown;
    if (!dictionaries.main || length == 0 || has_digit(word) || is_ignored(word) || in_main_dictionary(word))
        return kSpellAccepted;
    if (!known_in_another_case(word)) return kSpellUnknown;
    return report_capitals ? kSpellWrongCapitals : kSpellAccepted;
}

bool spelling_covers(std::string_view utf8_word) {
    if (!open_spelling()) return false;
    size_t at = 0;
    char32_t c = 0;
    while (at < utf8_word.size()) {
        if (!pf::decode_utf8(utf8_word, at, c)) return false;
        if (is_letter(c) && dictionaries.alphabet.find(c) == std::u32string::npos) return false;
    }
    return true;
}

int16_t dict_strcmp(const char* a, const char* b) {
    return int16_t(pf::compare_text(a, b, pf::TextCompare{false, true}));
}

void ignore_word(const char* word) {
    if (is_ignored(word)) return;
    if (!ignore_ref) ignore_ref = new IgnoreList;
    ignore_ref->words.emplace_back(word);
}

void clear_Ignore() {
    delete ignore_ref;
    ignore_ref = nullptr;
}

std::vector<std::string> spell_suggestions(const char* word) {
    if (!open_spelling()) return {};
    const std::string spelled = word;
    std::vector<std::string> ordered;
    if (starts_a_sentence(spelled))
        for (const std::string& suggestion : dictionary_suggestions(lower_case(spelled)))
            add_once(ordered, with_capital_first(suggestion));
    for (const std::string& suggestion : dictionary_suggestions(spelled)) add_once(ordered, suggestion);
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const std::string& suggestion) { return suggestion.find(' ') == std::string::npos; });
    return ordered;
}
