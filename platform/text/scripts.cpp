// The installed scripts: their table, byte forms and conversions.
#include "platform/text/scripts.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdio>
#include <memory>

#include "platform/text/mac_roman.h"
#include "platform/text/text.h"

namespace pf {
namespace {

// Mac Greek, bytes 0x80-0xFF.
constexpr char16_t kGreekHighHalf[128] = {
    0x00C4, 0x00B9, 0x00B2, 0x00C9, 0x00B3, 0x00D6, 0x00DC, 0x0385, 0x00E0, 0x00E2, 0x00E4, 0x0384, 0x00A8,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00A3, 0x2122, 0x00EE, 0x00EF, 0x2022, 0x00BD, 0x2030, 0x00F4,
    0x00F6, 0x00A6, 0x20AC, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x0393, 0x0394, 0x0398, 0x039B, 0x039E, 0x03A0,
    0x00DF, 0x00AE, 0x00A9, 0x03A3, 0x03AA, 0x00A7, 0x2260, 0x00B0, 0x00B7, 0x0391, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x0392, 0x0395, 0x0396, 0x0397, 0x0399, 0x039A, 0x039C, 0x03A6, 0x03AB, 0x03A8, 0x03A9, 0x03AC,
    0x039D, 0x00AC, 0x039F, 0x03A1, 0x2248, 0x03A4, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x03A5, 0x03A7, 0x0386,
    0x0388, 0x0153, 0x2013, 0x2015, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x0389, 0x038A, 0x038C, 0x038E,
    0x03AD, 0x03AE, 0x03AF, 0x03CC, 0x038F, 0x03CD, 0x03B1, 0x03B2, 0x03C8, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
    0x03B7, 0x03B9, 0x03BE, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03CE, 0x03C1, 0x03C3, 0x03C4,
    0x03B8, 0x03C9, 0x03C2, 0x03C7, 0x03C5, 0x03B6, 0x03CA, 0x03CB, 0x0390, 0x03B0, 0x00AD,
};

struct Script {
    int16_t number;
    const char* name;
    const char* encoding;  // iconv's name; null for the tables kept here
    bool double_byte;
};

// Roman first; the rest in the order text from outside tries them: the
// single-byte scripts spell only their own letters, the double-byte ones also
// Greek and Cyrillic.
constexpr Script kScripts[] = {
    {kScriptRoman, "Roman", nullptr, false},
    {kScriptGreek, "Greek", nullptr, false},
    {kScriptCyrillic, "Cyrillic", "MAC-CYRILLIC", false},
    {kScriptCentralEuro, "Central European", "MAC-CENTRALEUROPE", false},
    {kScriptJapanese, "Japanese", "CP932", true},
    {kScriptSimpChinese, "Simplified Chinese", "EUC-CN", true},
    {kScriptTradChinese, "Traditional Chinese", "BIG5", true},
    {kScriptKorean, "Korean", "EUC-KR", true},
};

constexpr std::array<int16_t, std::size(kScripts)> kEnabled = [] {
    std::array<int16_t, std::size(kScripts)> numbers{};
    for (size_t i = 0; i < numbers.size(); ++i) numbers[i] = kScripts[i].number;
    return numbers;
}();

// Script numbers run below 32.
constexpr size_t kScriptNumbers = 32;
static_assert(std::ranges::all_of(kScripts,
                                  [](const Script& s) { return s.number >= 0 && s.number < int(kScriptNumbers); }));

// The place in kScripts of a script not enabled: past the last.
constexpr size_t kNoPlace = std::size(kScripts);

// Each number's place in kScripts; past the last for a script not enabled.
constexpr std::array<uint8_t, kScriptNumbers> kPlaces = [] {
    std::array<uint8_t, kScriptNumbers> places{};
    places.fill(uint8_t(kNoPlace));
    for (size_t i = 0; i < std::size(kScripts); ++i) places[size_t(kScripts[i].number)] = uint8_t(i);
    return places;
}();

size_t place_of(int16_t script) {
    return script >= 0 && size_t(script) < kScriptNumbers ? kPlaces[size_t(script)] : kNoPlace;
}

const Script* find_script(int16_t number) {
    const size_t place = place_of(number);
    return place < kNoPlace ? &kScripts[place] : nullptr;
}

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// The high half of a single-byte script, and its way back: by character of
// the basic plane, the byte (0 for none).
struct ByteTable {
    char32_t high[128];
    std::array<uint8_t, 0x10000> back;
};

ByteTable make_table(const Script& script) {
    ByteTable t{};
    for (int b = 0; b < 128; ++b) {
        const unsigned char byte = uint8_t(0x80 + b);
        if (script.number == kScriptRoman) t.high[b] = mac_roman_to_unicode(byte);
        else if (script.number == kScriptGreek) t.high[b] = kGreekHighHalf[b];
        else {
            std::string utf8;
            size_t i = 0;
            char32_t c = kNoCharacter;
            if (!convert_encoding(std::string_view(reinterpret_cast<const char*>(&byte), 1), script.encoding, "UTF-8",
                                  utf8) ||
                !decode_utf8(utf8, i, c) || i != utf8.size())
                c = kNoCharacter;
            t.high[b] = c;
        }
        if (t.high[b] < t.back.size() && t.back[t.high[b]] == 0) t.back[t.high[b]] = byte;
    }
    return t;
}

// Each script's own, by script number, made for every script of a kind the
// first time one is asked (threads share them: the socket's among them).
template <typename Table>
using ScriptTables = std::array<std::unique_ptr<Table>, kScriptNumbers>;

template <typename Table, typename Make>
ScriptTables<Table> make_tables(bool double_byte, Make&& make) {
    ScriptTables<Table> tables;
    for (const Script& script : kScripts)
        if (script.double_byte == double_byte) tables[size_t(script.number)] = make(script);
    return tables;
}

// An entry of a shared table found the first time it is asked: threads that
// ask at once each find the same.
template <typename Entry, typename Find>
Entry found_once(std::atomic<Entry>& entry, Entry unknown, Find&& find) {
    Entry value = entry.load(std::memory_order_relaxed);
    if (value != unknown) return value;
    value = find();
    entry.store(value, std::memory_order_relaxed);
    return value;
}

// A single-byte script's table.
const ByteTable& byte_table(int16_t script) {
    static const ScriptTables<ByteTable> tables =
        make_tables<ByteTable>(false, [](const Script& s) { return std::make_unique<ByteTable>(make_table(s)); });
    return *tables[size_t(script)];
}

bool single_byte_of(char32_t c, const ByteTable& t, unsigned char& byte) {
    if (c < 0x80) {
        byte = uint8_t(c);
        return true;
    }
    if (c >= t.back.size() || t.back[c] == 0) return false;
    byte = t.back[c];
    return true;
}

std::string roman_byte_as_utf8(unsigned char byte) {
    return mac_roman_to_utf8(std::string_view(reinterpret_cast<const char*>(&byte), 1));
}

// UTF-8 written into room for the most that a text of a script can take,
// three bytes for each of its bytes (every character of a script is of the
// basic plane): on the stack for a short text.
class Utf8Text {
public:
    explicit Utf8Text(size_t script_bytes) {
        const size_t room = 3 * script_bytes + kUtf8Longest;
        if (room <= sizeof short_) return;
        long_.resize(room);
        bytes_ = long_.data();
    }
    Utf8Text(const Utf8Text&) = delete;
    Utf8Text& operator=(const Utf8Text&) = delete;

    void put(char32_t c) { length_ += encode_utf8(c, bytes_ + length_); }
    void put_roman(unsigned char byte) { put(mac_roman_to_unicode(byte)); }
    void append_to(std::string& out) const { out.append(bytes_, length_); }

private:
    char short_[128];
    std::string long_;
    char* bytes_ = short_;
    size_t length_ = 0;
};

void append_single_byte_utf8(std::string_view bytes, int16_t script, std::string& out) {
    const ByteTable& t = byte_table(script);
    Utf8Text utf8(bytes.size());
    for (unsigned char b : bytes) {
        if (b < 0x80) utf8.put(b);
        else if (t.high[b - 0x80] != kNoCharacter) utf8.put(t.high[b - 0x80]);
        else utf8.put_roman(b);
    }
    utf8.append_to(out);
}

// One character of double-byte text: its bytes, as UTF-8 when the script
// defines them.
bool double_byte_character(std::string_view bytes, const Script& script, std::string& utf8) {
    return convert_encoding(bytes, script.encoding, "UTF-8", utf8) && !utf8.empty();
}

// Double-byte text to UTF-8 through the system's converter: whole, else
// character by character, what the script does not define as Mac Roman.
std::string double_byte_to_utf8_by_converter(std::string_view bytes, const Script& script) {
    std::string out, whole;
    if (convert_encoding(bytes, script.encoding, "UTF-8", whole)) return whole;
    std::string one;
    for (size_t i = 0; i < bytes.size();) {
        const bool pair = script_lead_byte(uint8_t(bytes[i]), script.number) && i + 1 < bytes.size();
        const size_t length = pair ? 2 : 1;
        if (double_byte_character(bytes.substr(i, length), script, one)) out += one;
        else for (size_t k = 0; k < length; ++k) out += roman_byte_as_utf8(uint8_t(bytes[i + k]));
        i += length;
    }
    return out;
}

// UTF-8 to double-byte text through the system's converter, when every
// character comes back the same.
bool utf8_to_double_byte_by_converter(std::string_view utf8, const Script& script, std::string& out) {
    std::string back;
    if (convert_encoding(utf8, "UTF-8", script.encoding, out) &&
        convert_encoding(out, script.encoding, "UTF-8", back) && back == utf8)
        return true;
    out.clear();
    return false;
}

// A double-byte script's characters of the basic plane both ways, each
// asked of the system's converter the first time it is needed: what it
// answers, character by character. A byte or a pair that gives more than
// one character, or one at U+FFFD or above, or a character whose bytes are
// longer than a pair, is left to the converter.
constexpr char16_t kUnknownCode = 0xFFFD;
constexpr char16_t kConverterCode = 0xFFFE;
constexpr char16_t kNoCode = 0xFFFF;
constexpr uint16_t kUnknownBytes = 0xFFFD;  // no script has a lead byte 0xFF
constexpr uint16_t kConverterBytes = 0xFFFE;
constexpr uint16_t kNoBytes = 0xFFFF;

struct DoubleByteTable {
    std::array<std::atomic<char16_t>, 0x10000> decoded;  // a byte at [byte], a pair at [lead << 8 | trail]
    std::array<std::atomic<uint16_t>, 0x10000> encoded;  // by code point: a byte, or a pair as lead << 8 | trail
};

// The one character below U+FFFD that `bytes` convert to.
char16_t code_of(std::string_view bytes, const Script& script) {
    std::string utf8;
    if (!convert_encoding(bytes, script.encoding, "UTF-8", utf8) || utf8.empty()) return kNoCode;
    size_t i = 0;
    char32_t c = 0;
    if (!decode_utf8(utf8, i, c) || i != utf8.size() || c >= kUnknownCode) return kConverterCode;
    return char16_t(c);
}

// The byte or pair the script spells `c` in, when it comes back the same.
uint16_t bytes_of(char16_t c, const Script& script) {
    std::string utf8, bytes;
    append_utf8(utf8, c);
    if (!utf8_to_double_byte_by_converter(utf8, script, bytes)) return kNoBytes;
    if (bytes.size() == 1) return uint8_t(bytes[0]);
    if (bytes.size() == 2 && script_lead_byte(uint8_t(bytes[0]), script.number))
        return uint16_t(uint8_t(bytes[0]) << 8 | uint8_t(bytes[1]));
    return kConverterBytes;
}

std::unique_ptr<DoubleByteTable> unknown_double_byte_table() {
    auto t = std::make_unique<DoubleByteTable>();
    for (auto& code : t->decoded) code.store(kUnknownCode, std::memory_order_relaxed);
    for (auto& bytes : t->encoded) bytes.store(kUnknownBytes, std::memory_order_relaxed);
    return t;
}

DoubleByteTable& double_byte_table(const Script& script) {
    static const ScriptTables<DoubleByteTable> tables =
        make_tables<DoubleByteTable>(true, [](const Script&) { return unknown_double_byte_table(); });
    return *tables[size_t(script.number)];
}

// The character of a byte (`pair` false) or a pair at the start of `bytes`.
char16_t decoded_code(DoubleByteTable& t, std::string_view bytes, bool pair, const Script& script) {
    const size_t at = pair ? size_t(uint8_t(bytes[0]) << 8 | uint8_t(bytes[1])) : uint8_t(bytes[0]);
    return found_once(t.decoded[at], kUnknownCode, [&] { return code_of(bytes.substr(0, pair ? 2 : 1), script); });
}

uint16_t encoded_bytes(DoubleByteTable& t, char32_t c, const Script& script) {
    if (c >= kUnknownCode) return kConverterBytes;
    return found_once(t.encoded[c], kUnknownBytes, [&] { return bytes_of(char16_t(c), script); });
}

void append_double_byte_utf8(std::string_view bytes, const Script& script, std::string& out) {
    DoubleByteTable& t = double_byte_table(script);
    Utf8Text utf8(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const bool pair = script_lead_byte(uint8_t(bytes[i]), script.number) && i + 1 < bytes.size();
        const char16_t c = decoded_code(t, bytes.substr(i), pair, script);
        if (c == kConverterCode) {
            out += double_byte_to_utf8_by_converter(bytes, script);
            return;
        }
        if (c != kNoCode) utf8.put(c);
        else
            for (size_t k = 0; k < (pair ? 2u : 1u); ++k) utf8.put_roman(uint8_t(bytes[i + k]));
        i += pair ? 2 : 1;
    }
    utf8.append_to(out);
}

// How a script spells a character or letters: by its tables, not at all, or
// through the system's converter, whose answer depends on the characters
// around.
enum class Spelling : uint8_t { tables, none, converter };

Spelling table_spelling(char32_t c, const Script& script) {
    unsigned char byte = 0;
    if (!script.double_byte) return single_byte_of(c, byte_table(script.number), byte) ? Spelling::tables : Spelling::none;
    const uint16_t bytes = encoded_bytes(double_byte_table(script), c, script);
    return bytes == kConverterBytes ? Spelling::converter : bytes == kNoBytes ? Spelling::none : Spelling::tables;
}

// How each script (by its place in kScripts) spells a character: two bits a
// script, the Spelling plus one, so that 0 is unknown.
using KnownSpellings = uint32_t;
static_assert(std::size(kScripts) * 2 <= sizeof(KnownSpellings) * 8);
constexpr KnownSpellings kTwoBits = 3;

constexpr KnownSpellings every_place(Spelling spelling) {
    KnownSpellings all = 0;
    for (size_t place = 0; place < std::size(kScripts); ++place) all |= (KnownSpellings(spelling) + 1) << (place * 2);
    return all;
}

constexpr KnownSpellings kAllTables = every_place(Spelling::tables);
constexpr KnownSpellings kAllNone = every_place(Spelling::none);
constexpr KnownSpellings kLowBits = kAllTables;  // tables + 1 is 01

// Places whose tables, and places whose system converter, may spell letters
// of `spellings`: a bit each, the low one of the place's two.
constexpr KnownSpellings places_spelling_by(KnownSpellings spellings, Spelling spelling) {
    const KnownSpellings low = spellings & kLowBits, high = spellings >> 1 & kLowBits;
    return spelling == Spelling::tables ? low & ~high : low & high;
}

[[gnu::noinline]] KnownSpellings find_spellings(char32_t c) {
    KnownSpellings all = 0;
    for (size_t place = 0; place < std::size(kScripts); ++place)
        all |= (KnownSpellings(table_spelling(c, kScripts[place])) + 1) << (place * 2);
    return all;
}

// How every script spells a character, those of the basic plane found once.
inline KnownSpellings character_spellings(char32_t c) {
    static std::array<std::atomic<KnownSpellings>, 0x10000> known{};
    if (c >= known.size()) return find_spellings(c);
    return found_once(known[c], KnownSpellings(0), [c] { return find_spellings(c); });
}

// The spellings of letters and of one more: a script whose tables spell the
// letters takes the new letter's spelling; the others keep theirs.
KnownSpellings with_letter(KnownSpellings spellings, KnownSpellings letter) {
    const KnownSpellings tables = places_spelling_by(spellings, Spelling::tables);
    const KnownSpellings open = tables | tables << 1;
    return (spellings & ~open) | (letter & open);
}

// How every script spells letters [first, last): by its tables when they
// spell each letter, else as it spells the first letter they do not.
KnownSpellings letters_spellings(const ScriptLetters& letters, size_t first, size_t last) {
    if (first == 0 && last == letters.size()) return letters.whole_spellings();
    KnownSpellings spellings = kAllTables;
    for (size_t k = first; k < last; ++k)
        spellings =
            with_letter(spellings, letters.well_formed(k) ? character_spellings(letters.character(k)) : kAllNone);
    return spellings;
}

Spelling spelling_at(KnownSpellings spellings, size_t place) {
    return Spelling(((spellings >> (place * 2)) & kTwoBits) - 1);
}

// Appends the bytes of letters [first, last) that the script's tables spell.
// The bytes a script's tables spell characters in, written at `at`: two at
// most a character; "?" for one they do not spell.
class TableBytes {
public:
    explicit TableBytes(const Script& script)
        : script_(script),
          single_(script.double_byte ? nullptr : &byte_table(script.number)),
          pairs_(script.double_byte ? &double_byte_table(script) : nullptr) {}

    static constexpr size_t kMost = 2;

    size_t put(char32_t c, char* at) const {
        if (single_) {
            unsigned char byte = '?';
            at[0] = single_byte_of(c, *single_, byte) ? char(byte) : '?';
            return 1;
        }
        const uint16_t pair = encoded_bytes(*pairs_, c, script_);
        if (pair <= 0xFF) {
            at[0] = char(pair);
            return 1;
        }
        at[0] = char(pair >> 8);
        at[1] = char(pair & 0xFF);
        return 2;
    }

private:
    const Script& script_;
    const ByteTable* single_;
    DoubleByteTable* pairs_;
};

// Appends the bytes of letters [first, last) that the script's tables spell.
void append_table_bytes(const ScriptLetters& letters, size_t first, size_t last, const Script& script,
                        std::string& out) {
    const TableBytes bytes(script);
    size_t end = out.size();
    out.resize(end + TableBytes::kMost * (last - first));
    for (size_t k = first; k < last; ++k) end += bytes.put(letters.character(k), out.data() + end);
    out.resize(end);
}

// Letters [first, last) appended to `out` (when given) in the bytes of the
// system's converter for the script, when every letter comes back the same.
[[gnu::cold]] bool spell_by_converter(const ScriptLetters& letters, size_t first, size_t last, const Script& script,
                                      std::string* out) {
    std::string bytes;
    if (!utf8_to_double_byte_by_converter(letters.text(first, last), script, bytes)) return false;
    if (out) *out += bytes;
    return true;
}

// Letters [first, last) appended to `out` (when given) in the bytes of the
// script at `place`, which spells them as `spelling` says, when it spells
// them all; false (`out` unchanged) when it does not.
bool spell_letters(const ScriptLetters& letters, size_t first, size_t last, size_t place, Spelling spelling,
                   std::string* out) {
    if (spelling == Spelling::tables) {
        if (out) append_table_bytes(letters, first, last, kScripts[place], *out);
        return true;
    }
    return spelling == Spelling::converter && spell_by_converter(letters, first, last, kScripts[place], out);
}

}  // namespace

ScriptLetters::ScriptLetters(std::string_view utf8) : utf8_(utf8) {
    if (utf8.size() >= kInPlace) {
        more_.resize(utf8.size() + 1);
        letters_ = more_.data();
    }
    KnownSpellings whole = kAllTables;
    for (size_t i = 0; i < utf8.size();) {
        Letter& letter = letters_[count_++];
        letter.start = i;
        const unsigned char lead = uint8_t(utf8[i]);
        if (lead < 0x80) {
            letter.character = lead;
            ++i;
        } else if (!decode_utf8(utf8, i, letter.character)) {
            letter.character = kMalformed;
        }
        whole = with_letter(whole, letter.character == kMalformed ? kAllNone : character_spellings(letter.character));
    }
    letters_[count_++] = Letter{utf8.size(), kMalformed};
    whole_spellings_ = whole;
}

namespace {

constexpr size_t kConverterToAsk = kNoPlace + 1;

// The place of the script whose tables spell letters of `spellings`:
// `preferred` when they do, else the first; kNoPlace when no script spells
// them, kConverterToAsk when a system converter is to be asked first.
inline size_t place_by_tables(KnownSpellings spellings, size_t preferred_place) {
    const KnownSpellings tables = places_spelling_by(spellings, Spelling::tables);
    if (preferred_place < kNoPlace && (tables >> (preferred_place * 2) & 1)) return preferred_place;
    if (places_spelling_by(spellings, Spelling::converter)) return kConverterToAsk;
    return tables ? size_t(std::countr_zero(tables)) / 2 : kNoPlace;
}

// The place among the enabled scripts of the script that spells letters
// [first, last) all, spelled as `spellings` says: `preferred` when it does,
// else the first that does; kNoPlace when none does.
size_t spelling_place(const ScriptLetters& letters, size_t first, size_t last, KnownSpellings spellings,
                      int16_t preferred) {
    const size_t preferred_place = place_of(preferred);
    const size_t by_tables = place_by_tables(spellings, preferred_place);
    if (by_tables != kConverterToAsk) return by_tables;
    const auto spelled = [&](size_t place) {
        const Spelling spelling = spelling_at(spellings, place);
        return spelling == Spelling::tables ||
               (spelling == Spelling::converter && spell_by_converter(letters, first, last, kScripts[place], nullptr));
    };
    if (preferred_place < kNoPlace && spelled(preferred_place)) return preferred_place;
    for (size_t place = 0; place < kNoPlace; ++place)
        if (place != preferred_place && spelled(place)) return place;
    return kNoPlace;
}

}  // namespace

int16_t ScriptLetters::script_spelling(size_t first, size_t last, int16_t preferred) const {
    const size_t place = spelling_place(*this, first, last, letters_spellings(*this, first, last), preferred);
    return place < kNoPlace ? kScripts[place].number : int16_t(-1);
}

int16_t ScriptLetters::append_in_script_spelling(size_t first, size_t last, int16_t preferred, std::string& out) const {
    const KnownSpellings spellings = letters_spellings(*this, first, last);
    const size_t place = spelling_place(*this, first, last, spellings, preferred);
    if (place == kNoPlace) return -1;
    spell_letters(*this, first, last, place, spelling_at(spellings, place), &out);
    return kScripts[place].number;
}

int16_t append_spelled_by_tables(std::string_view utf8, int16_t preferred, std::string& out) {
    // The characters of a short text are kept from the first pass for the second.
    constexpr size_t kKept = 32;
    char32_t kept[kKept];
    KnownSpellings spellings = kAllTables;
    size_t count = 0;
    for (size_t i = 0; i < utf8.size(); ++count) {
        char32_t c = 0;
        spellings = with_letter(spellings, decode_utf8(utf8, i, c) ? character_spellings(c) : kAllNone);
        if (count < kKept) kept[count] = c;
    }
    const size_t place = place_by_tables(spellings, place_of(preferred));
    if (place >= kNoPlace) return -1;
    const TableBytes bytes(kScripts[place]);
    if (count <= kKept) {
        char spelled[TableBytes::kMost * kKept];
        size_t length = 0;
        for (size_t k = 0; k < count; ++k) length += bytes.put(kept[k], spelled + length);
        out.append(spelled, length);
    } else {
        size_t end = out.size();
        out.resize(end + TableBytes::kMost * count);
        for (size_t i = 0; i < utf8.size();) {
            char32_t c = 0;
            decode_utf8(utf8, i, c);
            end += bytes.put(c, out.data() + end);
        }
        out.resize(end);
    }
    return kScripts[place].number;
}

bool ScriptLetters::spells(size_t first, size_t last, int16_t script) const {
    const size_t place = place_of(script);
    return place < kNoPlace &&
           spell_letters(*this, first, last, place, spelling_at(letters_spellings(*this, first, last), place), nullptr);
}

bool ScriptLetters::append_spelled(size_t first, size_t last, int16_t script, std::string& out) const {
    const size_t place = place_of(script);
    return place < kNoPlace &&
           spell_letters(*this, first, last, place, spelling_at(letters_spellings(*this, first, last), place), &out);
}

ScriptText spell_in_script(std::string_view utf8, int16_t script) {
    ScriptText t;
    t.script = script;
    std::string one;
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        char32_t c = 0;
        const bool decoded = decode_utf8(utf8, i, c);
        if (c == 0xFEFF && decoded) continue;
        if (decoded && utf8_to_script(utf8.substr(start, i - start), script, one)) {
            t.bytes += one;
        } else {
            t.bytes.push_back('?');
            ++t.unmapped;
        }
    }
    return t;
}

std::span<const int16_t> enabled_scripts() { return kEnabled; }
int16_t script_count() { return int16_t(kEnabled.size()); }

bool double_byte_script(int16_t script) {
    const Script* s = find_script(script);
    return s && s->double_byte;
}

int16_t script_font(int16_t script) {
    if (script == kScriptRoman) return 1;
    if (!find_script(script)) return -1;
    return int16_t(kFirstScriptFont + kScriptFontSpan * (script - 1));
}

const char* script_name(int16_t script) {
    const Script* s = find_script(script);
    return s ? s->name : "";
}

int16_t font_to_script(int16_t font) {
    if (font < kFirstScriptFont) return kScriptRoman;
    const int16_t script = int16_t((font - kFirstScriptFont) / kScriptFontSpan + 1);
    const bool kept = (font - kFirstScriptFont) % kScriptFontSpan < kScriptFontsKept;
    return kept && find_script(script) ? script : kScriptRoman;
}

bool script_lead_byte(unsigned char byte, int16_t script) {
    switch (script) {
    case kScriptJapanese: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case kScriptTradChinese:
    case kScriptKorean:
    case kScriptSimpChinese: return byte >= 0xA1 && byte <= 0xFE;
    default: return false;
    }
}

bool utf8_to_script(std::string_view utf8, int16_t script, std::string& out) {
    out.clear();
    const ScriptLetters letters(utf8);
    return letters.append_spelled(0, letters.size(), script, out);
}

void append_script_utf8(std::string_view bytes, int16_t script, std::string& out) {
    const Script* s = find_script(script);
    if (!s) s = find_script(kScriptRoman);
    if (s->double_byte) append_double_byte_utf8(bytes, *s, out);
    else append_single_byte_utf8(bytes, s->number, out);
}

std::string script_to_utf8(std::string_view bytes, int16_t script) {
    std::string utf8;
    append_script_utf8(bytes, script, utf8);
    return utf8;
}

char32_t single_byte_code_point(unsigned char byte, int16_t script) {
    if (byte < 0x80 || double_byte_script(script)) return byte;
    const char32_t c = byte_table(find_script(script) ? script : kScriptRoman).high[byte - 0x80];
    return c == kNoCharacter ? mac_roman_to_unicode(byte) : c;
}

std::u32string unspelled_characters(std::string_view utf8) {
    std::u32string found;
    std::string ignored;
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        char32_t c = 0xFFFD;
        const bool decoded = decode_utf8(utf8, i, c);
        if (!decoded) c = 0xFFFD;
        const bool spelled = decoded && std::ranges::any_of(enabled_scripts(), [&](int16_t script) {
            return utf8_to_script(utf8.substr(start, i - start), script, ignored);
        });
        if (!spelled && found.find(c) == std::u32string::npos) found.push_back(c);
    }
    return found;
}

std::string code_point_names(std::u32string_view characters, size_t most) {
    std::string names;
    char name[16];
    for (size_t i = 0; i < characters.size() && i < most; ++i) {
        std::snprintf(name, sizeof name, " U+%04X", unsigned(characters[i]));
        names += name;
    }
    if (characters.size() > most) names += " \xC9";  // an ellipsis
    return names;
}

ScriptText spell_in_a_script(std::string_view utf8) {
    ScriptText best;
    for (int16_t script : enabled_scripts())
        if (utf8_to_script(utf8, script, best.bytes)) {
            best.script = script;
            return best;
        }
    best = spell_in_script(utf8, kScriptRoman);
    for (int16_t script : enabled_scripts().subspan(1)) {
        ScriptText t = spell_in_script(utf8, script);
        if (t.unmapped < best.unmapped) best = std::move(t);
    }
    return best;
}

namespace {

bool spelled_in(std::string_view utf8, int16_t script, std::string& bytes) {
    return utf8_to_script(utf8, script, bytes) || utf8.empty();
}

bool ascii_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void add_piece(std::vector<ScriptPiece>& pieces, bool in_target, std::string_view bytes) {
    if (!pieces.empty() && pieces.back().in_target == in_target) pieces.back().bytes += bytes;
    else pieces.push_back(ScriptPiece{in_target, std::string(bytes)});
}

}  // namespace

std::vector<ScriptPiece> pieces_in_script(std::string_view bytes, int16_t from, int16_t to) {
    if (from == to) return {ScriptPiece{true, std::string(bytes)}};
    const std::string utf8 = script_to_utf8(bytes, from);
    std::string spelled;
    if (spelled_in(utf8, to, spelled)) return {ScriptPiece{true, spelled}};
    std::vector<ScriptPiece> pieces;
    bool in_target = true;
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        const bool space = ascii_space(utf8[i]);
        while (i < utf8.size() && ascii_space(utf8[i]) == space) ++i;
        const std::string_view stretch(utf8.data() + start, i - start);
        if (space) {
            add_piece(pieces, in_target, stretch);
            continue;
        }
        in_target = spelled_in(stretch, to, spelled);
        if (!in_target && !spelled_in(stretch, from, spelled)) return {};
        add_piece(pieces, in_target, spelled);
    }
    return pieces;
}

}  // namespace pf
