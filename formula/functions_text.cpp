// Text operations in bytes and characters.
#include "formula/functions_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "core/number_text.h"
#include "core/string_utils.h"
#include "formula/function_values.h"
#include "platform/text/text.h"

namespace {

constexpr int32_t kMaxText = 255;
constexpr int16_t kFirstByte = -1;
constexpr int16_t kSecondByte = 1;

int32_t length_of(const unsigned char* text) { return text[0]; }

// The class of the byte at the 0-based offset: 0 single, -1 first, 1 second.
int16_t byte_class(const unsigned char* text, int32_t offset, int16_t script) {
    if (offset < 0 || offset >= length_of(text)) return 0;
    int16_t type = pf::character_byte_type(reinterpret_cast<const char*>(text + 1), offset, script);
    return type == 2 ? kFirstByte : type;
}

// Bytes of the character starting at `offset`.
int32_t character_size(const unsigned char* text, int32_t offset, int16_t script) {
    return byte_class(text, offset, script) == kFirstByte && offset + 1 < length_of(text) ? 2 : 1;
}

// The byte offset reached after `characters` characters from `offset`,
// at most the text's length.
int32_t advance_characters(const unsigned char* text, int32_t offset, int32_t characters,
                           int16_t script) {
    for (int32_t n = 0; n < characters && offset < length_of(text); ++n)
        offset += character_size(text, offset, script);
    return std::min(offset, length_of(text));
}

// out = `count` bytes of text from the 0-based `offset`.
void copy_span(const unsigned char* text, int32_t offset, int32_t count, unsigned char* out) {
    count = std::max(0, std::min(count, length_of(text) - offset));
    std::memmove(out + 1, text + 1 + offset, count);
    out[0] = static_cast<unsigned char>(count);
}

void append_bytes(unsigned char* out, const unsigned char* bytes, int32_t count) {
    count = std::max(0, std::min(count, kMaxText - out[0]));
    std::memcpy(out + 1 + out[0], bytes, count);
    out[0] = static_cast<unsigned char>(out[0] + count);
}

void append_text(unsigned char* out, const unsigned char* text) { append_bytes(out, text + 1, text[0]); }

// out = text's first `keep` bytes, then insert, then text from byte `resume`.
void splice(const unsigned char* text, int32_t keep, const unsigned char* insert, int32_t resume,
            unsigned char* out) {
    TextBuffer result = {0};
    append_bytes(result, text + 1, std::min(keep, length_of(text)));
    append_text(result, insert);
    if (resume < length_of(text)) append_bytes(result, text + 1 + resume, length_of(text) - resume);
    std::memcpy(out, result, result[0] + 1);
}

bool bytes_match(const unsigned char* a, const unsigned char* b, int32_t count, bool ignore_case) {
    if (!ignore_case) return std::memcmp(a, b, count) == 0;
    for (int32_t i = 0; i < count; ++i)
        if (extended_tolower(a[i]) != extended_tolower(b[i])) return false;
    return true;
}

// The JIS X 0208 code of a Shift_JIS pair and back.
int32_t jis_of_shift_jis(int32_t b1, int32_t b2) {
    if (b1 >= 0xE0) b1 -= 0x40;  // the upper lead range continues the lower one
    int32_t t = b2 >= 127 ? b2 - 1 : b2;
    return (t >= 158 ? t + 162 : t) + b1 * 512 - 57631;
}

bool valid_jis(int32_t code) {
    int32_t row = code >> 8, cell = code & 0xFF;
    return row >= 0x21 && row <= 0x7E && cell >= 0x21 && cell <= 0x7E;
}

void shift_jis_of_jis(int32_t code, unsigned char* out) {
    int32_t j = code - 8417;
    int32_t b1 = (j / 512 - 127) & 0xFF;
    if (b1 >= 0xA0) b1 += 0x40;
    int32_t r = j % 512;
    if (r >= 127) r += 1;
    if (r >= 159) r -= 162;
    out[0] = 2;
    out[1] = static_cast<unsigned char>(b1);
    out[2] = static_cast<unsigned char>(r);
}

}  // namespace

int32_t text_characters(const unsigned char* text, int16_t script) {
    int32_t count = 0;
    for (int32_t offset = 0; offset < length_of(text); ++count) offset += character_size(text, offset, script);
    return count;
}

void left_bytes(const unsigned char* text, int32_t count, unsigned char* out, int16_t script) {
    int32_t n = std::max(0, std::min(count, length_of(text)));
    if (n > 0 && byte_class(text, n - 1, script) == kFirstByte) n -= 1;
    copy_span(text, 0, n, out);
}

void left_characters(const unsigned char* text, int32_t count, unsigned char* out, int16_t script) {
    copy_span(text, 0, advance_characters(text, 0, count, script), out);
}

void right_bytes(const unsigned char* text, int32_t count, unsigned char* out, int16_t script) {
    int32_t start = std::max(0, length_of(text) - std::max(0, count));  // 0-based
    if (byte_class(text, start, script) == kSecondByte) start += 1;
    copy_span(text, start, length_of(text) - start, out);
}

void right_characters(const unsigned char* text, int32_t count, unsigned char* out, int16_t script) {
    int32_t skipped = std::max(0, text_characters(text, script) - std::max(0, count));
    int32_t start = advance_characters(text, 0, skipped, script);
    copy_span(text, start, length_of(text) - start, out);
}

void middle_bytes(const unsigned char* text, int32_t start, int32_t count, unsigned char* out,
                  int16_t script) {
    int32_t offset = std::max(0, start - 1);
    while (offset < length_of(text) && byte_class(text, offset, script) == kSecondByte) {
        offset += 1;
        count -= 1;
    }
    count = std::min(count, length_of(text) - offset);
    if (count > 0 && byte_class(text, offset + count, script) == kSecondByte) count -= 1;
    if (count > 0) copy_span(text, offset, count, out);
    else out[0] = 0;
}

void middle_characters(const unsigned char* text, int32_t start, int32_t count, unsigned char* out,
                       int16_t script) {
    int32_t from = advance_characters(text, 0, std::max(0, start - 1), script);
    int32_t to = advance_characters(text, from, count, script);
    copy_span(text, from, to - from, out);
}

int32_t FindTextB(const unsigned char* find, const unsigned char* within, int32_t start,
                   bool ignore_case) {
    int32_t last = length_of(within) - length_of(find) + 1;
    for (int32_t p = std::max(1, start); p <= last; ++p)
        if (bytes_match(within + p, find + 1, length_of(find), ignore_case)) return p;
    return 0;
}

int32_t find_characters(const unsigned char* find, const unsigned char* within, int32_t start,
                        bool ignore_case, int16_t script) {
    if (start - 1 > text_characters(within, script)) return 0;
    int32_t last = length_of(within) - length_of(find) + 1;
    int32_t p = advance_characters(within, 0, std::max(0, start - 1), script) + 1;
    for (; p <= last; ++p) {
        if (byte_class(within, p - 1, script) == kSecondByte) continue;
        if (!bytes_match(within + p, find + 1, length_of(find), ignore_case)) continue;
        TextBuffer before;
        copy_span(within, 0, p - 1, before);
        return text_characters(before, script) + 1;
    }
    return 0;
}

void substitute_text(const unsigned char* text, const unsigned char* old_text,
                     const unsigned char* new_text, int32_t instance, unsigned char* out) {
    TextBuffer result;
    std::memcpy(result, text, text[0] + 1);
    // Every pass either moves the search position on or shortens the text,
    // and the position never passes 256: the loop is bounded.
    int32_t position = 1, occurrence = 0;
    while (length_of(old_text) > 0) {
        int32_t found = FindTextB(old_text, result, position, false);
        if (found == 0) break;
        occurrence += 1;
        if (instance != 0 && occurrence != instance) {
            position = found + length_of(old_text);
            continue;
        }
        splice(result, found - 1, new_text, found - 1 + length_of(old_text), result);
        position = found + length_of(new_text);
        if (instance != 0) break;
    }
    std::memcpy(out, result, result[0] + 1);
}

void repeat_text(const unsigned char* text, int32_t count, unsigned char* out) {
    TextBuffer result = {0};
    int32_t copies = length_of(text) == 0 ? 0 : std::min(count, kMaxText / length_of(text));
    for (int32_t i = 0; i < copies; ++i) append_text(result, text);
    std::memcpy(out, result, result[0] + 1);
}

void trim_spaces(const unsigned char* text, unsigned char* out) {
    TextBuffer result = {0};
    bool started = false, space_pending = false;
    for (int32_t i = 1; i <= length_of(text); ++i) {
        if (text[i] == ' ') {
            space_pending = started;
            continue;
        }
        if (space_pending) AppendChar(result, ' ');
        space_pending = false;
        started = true;
        AppendChar(result, text[i]);
    }
    if (space_pending) AppendChar(result, ' ');
    std::memcpy(out, result, result[0] + 1);
}

void drop_control_characters(const unsigned char* text, unsigned char* out) {
    TextBuffer result = {0};
    for (int32_t i = 1; i <= length_of(text); ++i)
        if (text[i] >= 32) AppendChar(result, text[i]);
    std::memcpy(out, result, result[0] + 1);
}

void capitalise_words(const unsigned char* text, unsigned char* out, int16_t script) {
    TextBuffer result;
    std::memcpy(result, text, text[0] + 1);
    const char* bytes = reinterpret_cast<const char*>(text + 1);
    for (int32_t offset = 0; offset < length_of(text);) {
        pf::WordRange word = pf::find_word_breaks(bytes, length_of(text), offset, true, script);
        int32_t first = std::max(word.start, offset);
        if (byte_class(text, first, script) == 0) {
            const std::string upper = character_in_case(std::string_view(bytes + first, 1), true, script);
            if (upper.size() == 1) result[first + 1] = static_cast<unsigned char>(upper[0]);
        }
        offset = std::max(word.end, offset + 1);
    }
    std::memcpy(out, result, result[0] + 1);
}

int16_t replace_bytes(const unsigned char* text, double start, double count,
                      const unsigned char* new_text, unsigned char* out) {
    double s = final_Round(&start), c = final_Round(&count);
    if (s < 1 || c < 0) return kErrValue;
    int32_t keep = clamp_to_int32(s) - 1;
    int32_t resume = clamp_to_int32(std::min(s - 1 + c, 2147483647.0));
    splice(text, keep, new_text, resume, out);
    return 0;
}

int16_t replace_characters(const unsigned char* text, double start, double count,
                           const unsigned char* new_text, unsigned char* out, int16_t script) {
    double s = final_Round(&start), c = final_Round(&count);
    if (s < 1 || c < 0) return kErrValue;
    int32_t keep = advance_characters(text, 0, clamp_to_int32(s) - 1, script);
    int32_t resume = advance_characters(text, keep, clamp_to_int32(c), script);
    splice(text, keep, new_text, resume, out);
    return 0;
}

int16_t character_code(const unsigned char* text, int16_t script, double* code) {
    if (length_of(text) == 0) return kErrTextValue;
    int16_t first = byte_class(text, 0, script);
    if (first == 0) *code = text[1];
    else if (first == kFirstByte && length_of(text) >= 2) *code = jis_of_shift_jis(text[1], text[2]);
    else *code = 32;
    return 0;
}

int16_t character_of_code(double code, unsigned char* out) {
    if (!(code >= 1 && code < 65536)) return kErrValue;
    int32_t n = static_cast<int32_t>(code);
    if (n < 256) {
        out[0] = 1;
        out[1] = static_cast<unsigned char>(n);
        return 0;
    }
    if (!valid_jis(n)) return kErrValue;
    shift_jis_of_jis(n, out);
    return 0;
}

bool texts_exact(const unsigned char* a, const unsigned char* b) { return pf::compare_pstring(a, b) == 0; }

bool plain_ascii(const unsigned char* text) {
    return std::all_of(text + 1, text + 1 + text[0], [](unsigned char c) { return c < 0x80; });
}

int32_t whole_character_bytes(const uint8_t* bytes, int32_t length, int32_t limit, int16_t script) {
    int32_t end = 0;
    while (end < length) {
        const int32_t size = pf::script_lead_byte(bytes[end], script) ? 2 : 1;
        if (end + size > limit) break;
        end += size;
    }
    return std::min(end, length);
}

namespace {

std::string_view bytes_of(const unsigned char* text) {
    return std::string_view(reinterpret_cast<const char*>(text + 1), text[0]);
}

// The bytes of a text of the script cut to at most 255 without splitting a
// character.
void put_whole_characters(std::string_view bytes, int16_t script, unsigned char* out) {
    const int32_t end = whole_character_bytes(reinterpret_cast<const uint8_t*>(bytes.data()), int32_t(bytes.size()),
                                              kMaxText, script);
    std::memcpy(out + 1, bytes.data(), size_t(end));
    out[0] = static_cast<unsigned char>(end);
}

}  // namespace

std::string character_in_case(std::string_view character, bool upper, int16_t script) {
    if (script == pf::kScriptRoman) {
        const auto c = static_cast<unsigned char>(character[0]);
        return std::string(1, char(upper ? pf::to_upper_mac_roman(c) : pf::to_lower_mac_roman(c)));
    }
    const std::string utf8 = pf::script_to_utf8(character, script);
    size_t end = 0;
    char32_t c = 0;
    std::string other, spelled;
    if (pf::decode_utf8(utf8, end, c) && end == utf8.size())
        pf::append_utf8(other, upper ? pf::to_upper_letter(c) : pf::to_lower_letter(c));
    return !other.empty() && pf::utf8_to_script(other, script, spelled) ? spelled : std::string(character);
}

void change_text_case(unsigned char* text, bool upper, int16_t script) {
    if (script == pf::kScriptRoman) {
        if (upper) pf::uppercase_text(reinterpret_cast<char*>(text + 1), text[0]);
        else pf::lowercase_text(reinterpret_cast<char*>(text + 1), text[0]);
        return;
    }
    std::string changed;
    for (int32_t at = 0; at < text[0];) {
        const int32_t size = character_size(text, at, script);
        changed += character_in_case(std::string_view(reinterpret_cast<const char*>(text + 1 + at), size_t(size)),
                                     upper, script);
        at += size;
    }
    put_whole_characters(changed, script, text);
}

int16_t common_script(const unsigned char* text, int16_t script, const unsigned char* other, int16_t other_script) {
    return plain_ascii(text) && !plain_ascii(other) ? other_script : script;
}

int16_t join_texts(const unsigned char* left, int16_t left_script, const unsigned char* right,
                   int16_t right_script, unsigned char* out, int32_t* unspelled) {
    const int16_t script = common_script(left, left_script, right, right_script);
    if (plain_ascii(left) || plain_ascii(right) || left_script == right_script) {
        put_whole_characters(std::string(bytes_of(left)) + std::string(bytes_of(right)), script, out);
        return script;
    }
    const pf::ScriptText spelled = pf::spell_in_a_script(pf::script_to_utf8(bytes_of(left), left_script) +
                                                         pf::script_to_utf8(bytes_of(right), right_script));
    *unspelled += spelled.unmapped;
    put_whole_characters(spelled.bytes, spelled.script, out);
    return spelled.script;
}
