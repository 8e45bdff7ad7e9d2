// Word and line breaks.
#include <algorithm>

#include "platform/text/letters.h"
#include "platform/text/text.h"

namespace pf {
namespace {

enum class WordClass { word, blank, other };

constexpr unsigned char kRightQuote = 0xD5;

unsigned char at(const char* text, int32_t i) { return static_cast<unsigned char>(text[i]); }

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_word_char(unsigned char c) { return is_digit(c) || letters::info(c).letter; }
bool is_space(unsigned char c) { return c == ' ' || c == '\t'; }

WordClass word_class(unsigned char c) {
    if (is_word_char(c)) return WordClass::word;
    return is_space(c) ? WordClass::blank : WordClass::other;
}

// An apostrophe between two word characters, or a period between two digits,
// belongs to the word ("don't", "3.5").
bool joins_word(const char* text, int32_t length, int32_t i) {
    if (i <= 0 || i + 1 >= length) return false;
    unsigned char c = at(text, i), before = at(text, i - 1), after = at(text, i + 1);
    if (c == '\'' || c == kRightQuote) return is_word_char(before) && is_word_char(after);
    if (c == '.') return is_digit(before) && is_digit(after);
    return false;
}

bool in_word(const char* text, int32_t length, int32_t i) {
    return is_word_char(at(text, i)) || joins_word(text, length, i);
}

WordRange roman_word(const char* text, int32_t length, int32_t i) {
    WordClass cls = word_class(at(text, i));
    if (cls == WordClass::other && !joins_word(text, length, i)) return {i, i + 1};
    auto same = [&](int32_t k) {
        return cls == WordClass::blank ? is_space(at(text, k)) : in_word(text, length, k);
    };
    int32_t start = i, end = i + 1;
    while (start > 0 && same(start - 1)) --start;
    while (end < length && same(end)) ++end;
    return {start, end};
}

// Each two-byte character of double-byte text is a word of its own.
WordRange double_byte_word(const char* text, int32_t length, int32_t i, int16_t script) {
    int16_t byte_type = character_byte_type(text, i, script);
    if (byte_type == 1) return {i - 1, i + 1};
    if (byte_type == -1) return {i, std::min(i + 2, length)};
    return roman_word(text, length, i);
}

// Words of the other single-byte scripts: runs of the script's letters and
// digits, runs of blanks, or single other characters.
WordRange single_byte_word(const char* text, int32_t length, int32_t i, int16_t script) {
    auto word_char = [&](int32_t k) {
        const int16_t type = character_type(text, k, script);
        return (type & kCharTypeMask) != kCharPunct || (type & kCharClassMask) == kPunctNumber;
    };
    auto blank = [&](int32_t k) { return is_space(at(text, k)); };
    if (!word_char(i) && !blank(i)) return {i, i + 1};
    const bool in_word = word_char(i);
    auto same = [&](int32_t k) { return in_word ? word_char(k) : blank(k); };
    int32_t start = i, end = i + 1;
    while (start > 0 && same(start - 1)) --start;
    while (end < length && same(end)) ++end;
    return {start, end};
}

bool is_line_blank(unsigned char c) { return is_space(c); }

// Start of the unbroken run of non-blank characters holding text[i].
int32_t line_word_start(const char* text, int32_t i) {
    while (i > 0 && !is_line_blank(at(text, i - 1)) && !ends_text_line(at(text, i - 1))) --i;
    return i;
}

int32_t line_word_end(const char* text, int32_t i, int32_t end) {
    while (i < end && !is_line_blank(at(text, i)) && !ends_text_line(at(text, i))) ++i;
    return i;
}

int32_t blanks_end(const char* text, int32_t i, int32_t end) {
    while (i < end && is_line_blank(at(text, i))) ++i;
    return i;
}

// The bytes of the character at text[i]: two for a two-byte character.
int32_t character_length(const char* text, int32_t i, int32_t end, int16_t script) {
    return i + 1 < end && double_byte_script(script) && script_lead_byte(at(text, i), script) ? 2 : 1;
}

// How many bytes of whole characters from `from` fit in `room`; at least one
// character when `must_place`.
int32_t characters_that_fit(const char* text, int32_t from, int32_t end, int32_t room, bool must_place,
                            TextWidthProc width, void* context, int16_t script, int32_t& used) {
    int32_t count = 0;
    used = 0;
    while (from + count < end) {
        const int32_t next = count + character_length(text, from + count, end, script);
        int32_t w = width(text + from, next, context);
        if (w > room && !(must_place && count == 0)) break;
        used = w;
        count = next;
    }
    return count;
}

}  // namespace

WordRange find_word_breaks(const char* text, int32_t length, int32_t offset, bool leading_edge,
                           int16_t script) {
    if (length <= 0) return {offset, offset};
    int32_t i = std::clamp(leading_edge ? offset : offset - 1, 0, length - 1);
    if (double_byte_script(script)) return double_byte_word(text, length, i, script);
    return script == kScriptRoman ? roman_word(text, length, i) : single_byte_word(text, length, i, script);
}

int32_t after_line_end(const char* text, int32_t at, int32_t length) {
    constexpr unsigned char kReturn = 13, kLineFeed = 10;
    return at + 1 < length && text[at] == char(kReturn) && text[at + 1] == char(kLineFeed) ? at + 2 : at + 1;
}

LineBreak styled_line_break(const char* text, int32_t run_start, int32_t run_end, int32_t& width_budget,
                            int32_t& text_offset, TextWidthProc width, void* context, int16_t script) {
    bool begins_line = text_offset == 1;
    int32_t used = 0;
    int32_t pos = run_start;
    auto finish = [&](int32_t offset, LineBreak answer) {
        width_budget -= used;
        text_offset = offset;
        return answer;
    };
    while (pos < run_end) {
        if (ends_text_line(at(text, pos))) return finish(after_line_end(text, pos, run_end), LineBreak::word);
        int32_t word_end = line_word_end(text, pos, run_end);
        int32_t word_width = width(text + pos, word_end - pos, context);
        if (used + word_width > width_budget) {
            int32_t word_start = line_word_start(text, pos);
            if (word_start > 0 || !begins_line) return finish(word_start, LineBreak::word);
            int32_t placed_width = 0;
            int32_t count = characters_that_fit(text, pos, word_end, width_budget - used, pos == 0, width,
                                                context, script, placed_width);
            used += placed_width;
            return finish(pos + count, LineBreak::character);
        }
        used += word_width;
        int32_t after_blanks = blanks_end(text, word_end, run_end);
        if (after_blanks > word_end) used += width(text + word_end, after_blanks - word_end, context);
        pos = after_blanks;
    }
    return finish(run_end, LineBreak::overflow);
}

}  // namespace pf
