// The scripts installed beside Roman: their numbers, fonts, byte forms and
// conversions to and from UTF-8. Roman (Mac Roman) is the system script;
// Japanese (Shift_JIS as code page 932), Traditional Chinese (Big5), Korean
// (EUC-KR) and Simplified Chinese (EUC-CN) are double-byte scripts; Greek,
// Cyrillic and Central European are single-byte scripts in their Mac
// encodings. A text is in the script of its font.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

constexpr int16_t kScriptRoman = 0;
constexpr int16_t kScriptJapanese = 1;
constexpr int16_t kScriptTradChinese = 2;
constexpr int16_t kScriptKorean = 3;
constexpr int16_t kScriptGreek = 6;
constexpr int16_t kScriptCyrillic = 7;
constexpr int16_t kScriptSimpChinese = 25;
constexpr int16_t kScriptCentralEuro = 29;

// Each script but Roman owns the font numbers 16384 + 512 * (script - 1) up to
// 31 above; the first of them is the script's own font. Every other number is
// a Roman font.
constexpr int16_t kFirstScriptFont = 16384;
constexpr int16_t kScriptFontSpan = 512;
constexpr int16_t kScriptFontsKept = 32;

// The enabled scripts, Roman first, then in the order text from outside
// tries them.
std::span<const int16_t> enabled_scripts();
int16_t script_count();
bool double_byte_script(int16_t script);
// The script's own font (Roman: the application font); -1 for a script that
// is not enabled.
int16_t script_font(int16_t script);
// A short English name of the script ("Japanese"), "" when not enabled.
const char* script_name(int16_t script);

// Whether `byte` begins a two-byte character of the script.
bool script_lead_byte(unsigned char byte, int16_t script);

// Strict: false (and `out` emptied) when the text holds a character the
// script cannot spell, or one that would not come back the same.
bool utf8_to_script(std::string_view utf8, int16_t script, std::string& out);
// Every byte comes through: a byte sequence the script does not define is
// taken as Mac Roman.
std::string script_to_utf8(std::string_view bytes, int16_t script);
// The same appended to `out`.
void append_script_utf8(std::string_view bytes, int16_t script, std::string& out);

// A text from outside spelled in one script: Roman when Mac Roman can,
// otherwise the first other script that spells it all; when none does, the
// script that spells most of it, each character it cannot spell becoming
// "?" and counted.
struct ScriptText {
    std::string bytes;
    int16_t script = kScriptRoman;
    int32_t unmapped = 0;
};
ScriptText spell_in_a_script(std::string_view utf8);
// A text from outside spelled in the given script, each character it cannot
// spell (and malformed UTF-8) becoming "?" and counted.
ScriptText spell_in_script(std::string_view utf8, int16_t script);

// A text in script `from` set in a font of script `to`, every letter kept.
// When the scripts are one, or `to` spells it all, it is one piece in `to`
// (its bytes in `to`); otherwise it goes word by word (stretches between ASCII
// spaces, each space going with the word before it): the words `to` spells
// are spelled in `to`, the others keep their bytes in `from`. Empty when a
// word of the text does not come back whole from `from`.
struct ScriptPiece {
    bool in_target;
    std::string bytes;
};
std::vector<ScriptPiece> pieces_in_script(std::string_view bytes, int16_t from, int16_t to);

// A text that the tables of one script spell whole (that script_spelling
// would choose; no system converter asked), appended to `out` in its bytes in
// one pass; answers the script, or -1 (`out` unchanged) for a text left to
// ScriptLetters.
int16_t append_spelled_by_tables(std::string_view utf8, int16_t preferred, std::string& out);

// A UTF-8 text decoded once into its characters (letters), to be spelled
// in scripts. A malformed sequence is a letter no script spells.
class ScriptLetters {
public:
    explicit ScriptLetters(std::string_view utf8);

    ScriptLetters(const ScriptLetters&) = delete;
    ScriptLetters& operator=(const ScriptLetters&) = delete;

    size_t size() const { return count_ - 1; }
    // The first byte of letter `k`; the text's end at size().
    size_t start(size_t k) const { return letters_[k].start; }
    bool well_formed(size_t k) const { return letters_[k].character != kMalformed; }
    // U+FFFD for a malformed sequence.
    char32_t character(size_t k) const { return well_formed(k) ? letters_[k].character : 0xFFFD; }
    std::string_view text(size_t first, size_t last) const {
        return utf8_.substr(start(first), start(last) - start(first));
    }

    // How each enabled script spells all the letters: two bits a script, read
    // by the spelling routines.
    uint32_t whole_spellings() const { return whole_spellings_; }

    // The script that spells letters [first, last) all: `preferred` when it
    // does, else the first enabled one that does; -1 when none does.
    int16_t script_spelling(size_t first, size_t last, int16_t preferred) const;
    // Letters [first, last) appended to `out` in the bytes of the script
    // script_spelling answers, which is answered; -1 (`out` unchanged) when
    // none spells them.
    int16_t append_in_script_spelling(size_t first, size_t last, int16_t preferred, std::string& out) const;
    // Whether `script` spells letters [first, last) all, as utf8_to_script.
    bool spells(size_t first, size_t last, int16_t script) const;
    // Letters [first, last) appended to `out` in the bytes of `script`; false
    // (`out` unchanged) when it does not spell them all.
    bool append_spelled(size_t first, size_t last, int16_t script, std::string& out) const;

private:
    static constexpr char32_t kMalformed = 0xFFFFFFFF;
    struct Letter {
        size_t start;
        char32_t character;
    };
    // The letters, and an end letter: in place for a short text.
    static constexpr size_t kInPlace = 32;
    std::string_view utf8_;
    Letter in_place_[kInPlace];
    std::vector<Letter> more_;
    Letter* letters_ = in_place_;
    size_t count_ = 0;
    uint32_t whole_spellings_ = 0;
};

// The characters of a UTF-8 text that no installed script spells, each once,
// in order of appearance; U+FFFD stands for malformed UTF-8.
std::u32string unspelled_characters(std::string_view utf8);

// The characters named " U+XXXX" each, at most `most` of them, then a Mac
// Roman ellipsis when there are more: for messages about them.
std::string code_point_names(std::u32string_view characters, size_t most);

// The code point of a byte of a single-byte script.
char32_t single_byte_code_point(unsigned char byte, int16_t script);

}  // namespace pf
