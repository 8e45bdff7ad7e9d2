// Text utilities for the program's Mac Roman text: encodings at the host
// boundary, case mapping, the one comparison order used for lookups, sorts and
// criteria, word and line breaks, character types and scripts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/mac_roman.h"
#include "platform/text/scripts.h"
#include "platform/types.h"

namespace pf {

// ---- Encodings -------------------------------------------------------------
// Strict conversions between any two encodings the system's iconv knows
// ("UTF-8", "UTF-16LE", "CP932" ...): false, with `out` emptied, when the
// input is malformed or cannot be spelled in the target encoding.
bool convert_encoding(std::string_view input, const char* from, const char* to, std::string& out);

// UTF-16 in host order. Characters Mac Roman cannot spell, and unpaired
// surrogates, become `replacement`.
std::u16string mac_roman_to_utf16(std::string_view mac_roman);
std::string utf16_to_mac_roman(std::u16string_view utf16, unsigned char replacement = '?');

// Japanese text in Shift_JIS as the Windows code page 932 defines it (byte 0x5C
// is the backslash, so paths keep their separators).
bool shift_jis_to_utf8(std::string_view shift_jis, std::string& utf8);
bool utf8_to_shift_jis(std::string_view utf8, std::string& shift_jis);

// ---- Case ------------------------------------------------------------------
// Mac Roman case pairs: ASCII letters and the accented letters, Æ/æ, Ø/ø,
// Œ/œ and Ÿ/ÿ. Characters without a partner are left as they are (ß, µ, ı).
unsigned char to_upper_mac_roman(unsigned char c);
unsigned char to_lower_mac_roman(unsigned char c);
void uppercase_text(char* text, int32_t length);
void lowercase_text(char* text, int32_t length);
// The other case of a letter of the installed single-byte scripts' alphabets
// (Latin with its extensions, Greek, Cyrillic); anything else as it is.
char32_t to_upper_letter(char32_t c);
char32_t to_lower_letter(char32_t c);
// The letter without its mark, case kept (é -> e, Ø -> O); other characters
// as they are.
unsigned char strip_diacritic(unsigned char c);

// ---- Comparison ------------------------------------------------------------
// The order, applied in three passes over the whole texts:
//  1. Primary: each character is taken without case and without marks, the
//     ligatures spelled out (Æ, æ -> "ae", Œ, œ -> "oe", ß -> "ss",
//     ﬁ -> "fi", ﬂ -> "fl"); letters thus compare as lower-case ASCII,
//     every other byte by its own value (so blanks and most punctuation come
//     before digits, digits before letters). A text that is a prefix of the
//     other comes first.
//  2. Marks (when marks count): character by character, the unmarked letter
//     comes first; two marked letters order by their Mac Roman lower-case
//     code (a: á à â ä ã å).
//  3. Case (when case counts): character by character, upper case first.
// A last pass by bytes makes the order total, so the full comparison answers
// 0 only for identical texts. The answer is -1, 0 or 1.
struct TextCompare {
    bool case_counts = true;
    bool marks_count = true;
};
constexpr TextCompare kExactOrder{true, true};
constexpr TextCompare kIgnoreCaseAndMarks{false, false};

int compare_text(std::string_view a, std::string_view b, TextCompare how = kExactOrder);
// Equal under the chosen sensitivity: with both off, "Résumé" equals "RESUME"
// and "Straße" equals "STRASSE".
bool equal_text(std::string_view a, std::string_view b, bool case_counts, bool marks_count);

// Length-prefixed strings.
int compare_pstring(const unsigned char* a, const unsigned char* b, TextCompare how = kExactOrder);
bool equal_pstring(const unsigned char* a, const unsigned char* b, bool case_counts, bool marks_count);

// Texts of any script, each with the script that reads its bytes (kUtf8Text
// for UTF-8, a text set in several scripts). The same passes, over
// characters: a text of Roman, or of ASCII alone, is its bytes and compares
// exactly as above. In a text of another script, ASCII and the Mac Roman
// letters are their Roman bytes; every other character takes its place in its
// alphabet from the Unicode collator (the root order; Czech č, ř, š, ž after
// c, r, s, z; ё after е): one the collator ranks alike with such a Roman
// byte spells as that byte in the primary pass ("ů" as "u", "Ａ" as "a"); a
// Latin letter comes after the last of a-z ranked at or before it ("č"
// between "c" and "d"); any other character (Greek, Cyrillic, the double-byte
// scripts, other signs) after every Roman byte, in the collator's order.
// Marks: such a character with a mark weighs more than every Roman marked
// letter; case: by its Unicode case; the last pass puts Roman bytes before the
// other characters, those by code point. Each text thus has one key, so the
// order is total and transitive over texts of every script; the full
// comparison answers 0 only for texts the passes read as the same characters.
constexpr int16_t kUtf8Text = -2;
int compare_text(std::string_view a, int16_t a_script, std::string_view b, int16_t b_script,
                 TextCompare how = kExactOrder);
int compare_pstring(const unsigned char* a, int16_t a_script, const unsigned char* b, int16_t b_script,
                    TextCompare how = kExactOrder);
// A text made ready once for many comparisons (a sort's keys). It may view
// the bytes of a Roman text; a UTF-8 text is always taken as characters.
struct CollationText {
    std::string_view roman;      // a text read as Roman: its bytes
    std::u32string characters;   // any other: its characters as the passes read them
    bool is_roman = true;
};
CollationText collation_text(std::string_view bytes, int16_t script);
int compare_collation_texts(const CollationText& a, const CollationText& b, TextCompare how = kExactOrder);

// ---- Scripts, byte and character types -------------------------------------
// The script of a font number (scripts.h).
int16_t font_to_script(int16_t font_number);
int16_t system_script();
bool script_enabled(int16_t script);
// The script of the keyboard; switching to a script that is not enabled is ignored.
int16_t keyboard_script();
void set_keyboard_script(int16_t script);

// Position of the byte at `offset` within its character: 0 a single-byte
// character, -1 the first and 1 the second byte of a two-byte character
// (only in the double-byte scripts).
int16_t character_byte_type(const char* text, int32_t offset, int16_t script);

// Character type codes: type in the low nibble, class in bits 8-11, and flags.
constexpr int16_t kCharTypeMask = 0x000F;
constexpr int16_t kCharPunct = 0x0000;
constexpr int16_t kCharAscii = 0x0001;
constexpr int16_t kCharEuro = 0x0007;
constexpr int16_t kCharClassMask = 0x0F00;
constexpr int16_t kPunctNormal = 0x0000;
constexpr int16_t kPunctNumber = 0x0100;
constexpr int16_t kPunctSymbol = 0x0200;
constexpr int16_t kPunctBlank = 0x0300;
constexpr int16_t kCharUpper = 0x2000;
constexpr int16_t kCharDoubleByte = int16_t(0x8000);

int16_t character_type(const char* text, int32_t offset, int16_t script);

// ---- Word and line breaks --------------------------------------------------
// The word holding the character at `offset` (the one after it when
// `leading_edge`, else the one before): a run of letters and digits (an
// apostrophe or period between two of them joins the run), a run of blanks,
// or a single other character. [start, end) of that run; (offset, offset) in
// an empty text.
struct WordRange {
    int32_t start = 0;
    int32_t end = 0;
};
WordRange find_word_breaks(const char* text, int32_t length, int32_t offset, bool leading_edge,
                           int16_t script);

// Width of `length` bytes of text in 16.16 fixed point, as drawn in the
// current font.
using TextWidthProc = int32_t (*)(const char* text, int32_t length, void* context);

enum class LineBreak : int16_t { word = 0, character = 1, overflow = 2 };

// Fits the run [run_start, run_end) of `text` on a line with `width_budget`
// (16.16) left. `text_offset` comes in as 1 when the run begins the line (so
// at least one character must be placed) and goes out as the break offset.
// Breaks fall before the first word (a run of characters other than spaces
// and tabs) that does not fit, which may have begun in an earlier run; blanks
// after a word hang past the edge; a line end (a return, a line feed, or a
// return and line feed together) ends the line after itself. A first word wider than
// the line is broken between characters (answer `character`); a run that fits
// whole answers `overflow` with the offset at its end. The budget goes down
// by the width placed. The run is in `script`: a two-byte character is never
// broken.
// Whether a character ends a line of text: a carriage return, or a line feed
// as other programs' texts break their lines.
constexpr bool ends_text_line(unsigned char c) { return c == 13 || c == 10; }
// The offset after the line end at `at` of text of `length` bytes: a return
// and a line feed after it are one line end.
int32_t after_line_end(const char* text, int32_t at, int32_t length);

LineBreak styled_line_break(const char* text, int32_t run_start, int32_t run_end,
                            int32_t& width_budget, int32_t& text_offset, TextWidthProc width,
                            void* context, int16_t script = kScriptRoman);

}  // namespace pf
